#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The largest text the text area takes, in bytes.
inline constexpr std::size_t MemoCapacity = 64 * 1024 * 1024;

// Every CR LF, lone CR and lone LF becomes CR LF; nothing else changes.
std::string normaliseLineBreaks(std::string_view bytes);

// The part of text before its first NUL byte (all of it when it has none).
std::string_view beforeFirstNul(std::string_view text);

// Reads a regular file and normalises its line breaks. NUL bytes are kept, because a load
// compares the whole result with the current text before cutting it at the first NUL.
// Throws EFOpenError "Cannot open file <name>" when name is not a readable regular file,
// EInvalidOperation "Text exceeds memo capacity" when the file holds more than capacity
// bytes; never reads more than capacity + 1 bytes.
std::string readFaqFile(const std::string &name, std::size_t capacity = MemoCapacity);

// The system calls a save makes after it has accepted its target, so that tests can make
// them fail part-way. Each returns -1 and sets errno on failure, as the system's do.
struct SaveCalls
{
    long (*write)(int fd, const void *data, std::size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char *from, const char *to);
    // Opens the new file, the target when it is written in place, and the folder to flush.
    int (*open)(const char *path, int flags, unsigned mode);
    // Give the new file the target's owner and group, and then its permission bits.
    int (*fchown)(int fd, unsigned owner, unsigned group);
    int (*fchmod)(int fd, unsigned mode);

    static const SaveCalls &system();
};

// Writes text to the file name without ever leaving it half written: the bytes go to a new
// file beside it, which then replaces it. A symbolic link is followed. Throws EFCreateError
// "Cannot create file <name>" when the target cannot be written at all, EWriteError "Stream
// write error" when writing fails part-way; the old file is then as it was, unless only the
// flush of the folder failed after the new file took its place. Only a file
// that has other hard links, whose owner cannot be kept, or whose folder takes no new file
// is written in place, and then holds what was written.
void saveFaqFile(const std::string &name, std::string_view text,
                 const SaveCalls &calls = SaveCalls::system());
