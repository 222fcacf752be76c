#include "faqfile.h"

#include "exceptions.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string normaliseLineBreaks(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    const char *const end = bytes.data() + bytes.size();
    const char *run = bytes.data();
    for (const char *p = run; p != end; ++p) {
        if (*p != '\r' && *p != '\n')
            continue;
        text.append(run, p);
        text += "\r\n";
        if (*p == '\r' && p + 1 != end && p[1] == '\n')
            ++p;
        run = p + 1;
    }
    text.append(run, end);
    return text;
}

namespace {

// Whether some CR or LF is not part of a CR LF pair. Two memchr passes, since this runs
// over every loaded file.
bool hasLoneBreak(std::string_view bytes)
{
    const char *const begin = bytes.data();
    const char *const end = begin + bytes.size();
    const auto next = [end](const char *from, char c) {
        const auto size = static_cast<std::size_t>(end - from);
        return static_cast<const char *>(std::memchr(from, c, size));
    };
    for (const char *p = next(begin, '\n'); p != nullptr; p = next(p + 1, '\n')) {
        if (p == begin || p[-1] != '\r')
            return true;
    }
    for (const char *p = next(begin, '\r'); p != nullptr; p = next(p + 1, '\r')) {
        if (p + 1 == end || p[1] != '\n')
            return true;
    }
    return false;
}

} // namespace

std::string_view beforeFirstNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

namespace {

// Closes on every early exit. A close on an error path has nothing to add to the error
// already on its way, so its result is not looked at there.
class FileHandle
{
public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
    ~FileHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    int fd() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

[[noreturn]] void cannotOpen(const std::string &name)
{
    throw EFOpenError("Cannot open file " + name);
}

} // namespace

std::string readFaqFile(const std::string &name, std::size_t capacity)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    FileHandle file(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd() < 0)
        cannotOpen(name);
    struct stat status {};
    if (::fstat(file.fd(), &status) != 0 || !S_ISREG(status.st_mode))
        cannotOpen(name);
    const auto fileSize = static_cast<std::size_t>(std::max<off_t>(status.st_size, 0));
    if (fileSize > capacity)
        throw EInvalidOperation("Text exceeds memo capacity");

    // The size is only a hint (the file may grow, and some files report 0): read until the
    // end, but never more than one byte past the capacity.
    const std::size_t limit =
        capacity == std::numeric_limits<std::size_t>::max() ? capacity : capacity + 1;
    std::string bytes(std::min(std::max<std::size_t>(fileSize + 1, 4096), limit), '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled == limit)
                break;
            bytes.resize(std::min(std::max(filled * 2, filled + 4096), limit));
        }
        const ssize_t got = ::read(file.fd(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            cannotOpen(name);
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    if (filled > capacity)
        throw EInvalidOperation("Text exceeds memo capacity");
    if (::close(file.release()) != 0)
        cannotOpen(name);
    bytes.resize(filled);
    // Most files already break lines with CR LF: hand them over without a second copy.
    if (!hasLoneBreak(bytes))
        return bytes;
    return normaliseLineBreaks(bytes);
}

const SaveCalls &SaveCalls::system()
{
    static const SaveCalls calls{
        [](int fd, const void *data, std::size_t size) -> long { return ::write(fd, data, size); },
        [](int fd) { return ::fsync(fd); },
        [](int fd) { return ::close(fd); },
        [](const char *from, const char *to) { return std::rename(from, to); },
        [](const char *path, int flags, unsigned mode) {
            return ::open(path, flags, static_cast<mode_t>(mode));
        },
        [](int fd, unsigned owner, unsigned group) {
            return ::fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group));
        },
        [](int fd, unsigned mode) { return ::fchmod(fd, static_cast<mode_t>(mode)); },
    };
    return calls;
}

namespace {

[[noreturn]] void cannotCreate(const std::string &name)
{
    throw EFCreateError("Cannot create file " + name);
}

[[noreturn]] void streamWriteError()
{
    throw EWriteError("Stream write error");
}

// Linux gives up on symbolic link chains at this length too.
constexpr int MaxLinks = 40;

// Where the text goes: the file that name leads to once its symbolic links are followed.
struct Target
{
    std::string folder; // "" for the current folder, else ending in '/'
    std::string base;
    std::optional<struct stat> existing;

    std::string path() const { return folder + base; }
};

Target splitPath(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {std::string(), path, std::nullopt};
    return {path.substr(0, slash + 1), path.substr(slash + 1), std::nullopt};
}

Target findTarget(const std::string &name)
{
    std::string path = name;
    for (int links = 0;; ++links) {
        Target target = splitPath(path);
        if (target.base.empty())
            cannotCreate(name);
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0) {
            if (errno != ENOENT)
                cannotCreate(name);
            // A new file, also the missing target of a dangling link: its folder must exist.
            struct stat folder {};
            const std::string folderPath = target.folder.empty() ? "." : target.folder;
            if (::stat(folderPath.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode))
                cannotCreate(name);
            return target;
        }
        if (S_ISREG(status.st_mode)) {
            target.existing = status;
            return target;
        }
        if (!S_ISLNK(status.st_mode) || links == MaxLinks)
            cannotCreate(name);
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length <= 0 || static_cast<std::size_t>(length) == link.size())
            cannotCreate(name);
        link.resize(static_cast<std::size_t>(length));
        path = link.front() == '/' ? link : target.folder + link;
    }
}

// Root passes every access check, so for root a file that nobody may write counts as
// read-only, as the user would expect from its permission bits.
bool isWritable(const Target &target)
{
    if (::faccessat(AT_FDCWD, target.path().c_str(), W_OK, AT_EACCESS) != 0)
        return false;
    return ::geteuid() != 0 || (target.existing->st_mode & 0222) != 0;
}

bool writeAll(int fd, std::string_view text, const SaveCalls &calls)
{
    while (!text.empty()) {
        const long written = calls.write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Writes, flushes and closes fd, closing it also when a step fails.
bool writeAndClose(FileHandle &file, std::string_view text, const SaveCalls &calls)
{
    if (!writeAll(file.fd(), text, calls) || calls.fsync(file.fd()) != 0)
        return false;
    // Whatever close returns, the descriptor is gone.
    return calls.close(file.release()) == 0;
}

void writeInPlace(const std::string &name, const Target &target, std::string_view text,
                  const SaveCalls &calls)
{
    FileHandle file(calls.open(target.path().c_str(),
                               O_WRONLY | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0));
    if (file.fd() < 0)
        cannotCreate(name);
    if (!writeAndClose(file, text, calls))
        streamWriteError();
}

// The new file beside the target; removed again unless it was renamed over the target.
class NewFile
{
public:
    explicit NewFile(const Target &target) : m_target(target) {}
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;
    ~NewFile() { discard(); }

    // errno tells why when it returns false.
    bool create(unsigned mode, const SaveCalls &calls)
    {
        std::minstd_rand generator(static_cast<unsigned>(
            std::chrono::steady_clock::now().time_since_epoch().count() ^ ::getpid()));
        // Cut a long name so that the new file's stays within the folder's name limit.
        const std::string base = m_target.base.substr(0, 200);
        for (int attempt = 0; attempt < 100; ++attempt) {
            char suffix[16];
            std::snprintf(suffix, sizeof suffix, ".%08x~", static_cast<unsigned>(generator()));
            m_path = m_target.folder + "." + base + suffix;
            const int fd = calls.open(m_path.c_str(),
                                      O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode);
            if (fd >= 0) {
                m_file.emplace(fd);
                return true;
            }
            if (errno != EEXIST)
                break;
        }
        m_path.clear();
        return false;
    }

    FileHandle &file() { return *m_file; }

    bool replaceTarget(const SaveCalls &calls)
    {
        if (calls.rename(m_path.c_str(), m_target.path().c_str()) != 0)
            return false;
        m_path.clear();
        return true;
    }

    void discard()
    {
        m_file.reset();
        // Only our own leftover goes; if even that fails, the error being reported already
        // says the save did not happen.
        if (!m_path.empty())
            ::unlink(m_path.c_str());
        m_path.clear();
    }

private:
    const Target &m_target;
    std::string m_path;
    std::optional<FileHandle> m_file;
};

// Makes the rename itself last. File systems that cannot flush a folder say EINVAL; the
// rename then stands as well as that file system allows.
bool flushFolder(const Target &target, const SaveCalls &calls)
{
    const std::string folder = target.folder.empty() ? "." : target.folder;
    FileHandle handle(calls.open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
    if (handle.fd() < 0)
        return false;
    const bool flushed = calls.fsync(handle.fd()) == 0 || errno == EINVAL;
    return calls.close(handle.release()) == 0 && flushed;
}

bool isPermissionError(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

} // namespace

void saveFaqFile(const std::string &name, std::string_view text, const SaveCalls &calls)
{
    const Target target = findTarget(name);
    if (target.existing && !isWritable(target))
        cannotCreate(name);
    // Replacing the file would cut it loose from its other names.
    if (target.existing && target.existing->st_nlink > 1)
        return writeInPlace(name, target, text, calls);

    NewFile file(target);
    // A new target gets what the umask allows; an existing one's bits are copied below.
    if (!file.create(target.existing ? 0600 : 0666, calls)) {
        if (!isPermissionError(errno))
            streamWriteError();
        if (!target.existing)
            cannotCreate(name);
        return writeInPlace(name, target, text, calls);
    }

    if (target.existing) {
        const struct stat &old = *target.existing;
        struct stat created {};
        if (::fstat(file.file().fd(), &created) != 0)
            streamWriteError();
        if (created.st_uid != old.st_uid || created.st_gid != old.st_gid) {
            if (calls.fchown(file.file().fd(), old.st_uid, old.st_gid) != 0) {
                file.discard();
                return writeInPlace(name, target, text, calls);
            }
        }
        // After the owner: changing the owner clears the set-user-ID bit.
        if (calls.fchmod(file.file().fd(), old.st_mode & 07777) != 0)
            streamWriteError();
    }

    if (!writeAndClose(file.file(), text, calls) || !file.replaceTarget(calls))
        streamWriteError();
    if (!flushFolder(target, calls))
        streamWriteError();
}
