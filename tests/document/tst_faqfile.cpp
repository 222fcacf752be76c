#include "document/exceptions.h"
#include "document/faqfile.h"
#include "tests/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Which call of a save the seam below makes fail.
enum class Fault { None, Write, FileFlush, Close, Rename, Create, Owner, Mode, FolderFlush };

Fault g_fault = Fault::None;
int g_error = 0;
bool g_wroteSome = false;
QStringList g_writtenTo;

bool isFolder(int fd)
{
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
}

int fail(Fault fault, int error)
{
    if (g_fault != fault)
        return 0;
    errno = error;
    return -1;
}

SaveCalls faultyCalls()
{
    SaveCalls calls = SaveCalls::system();
    calls.write = [](int fd, const void *data, std::size_t size) -> long {
        g_writtenTo.append(QFileInfo(QStringLiteral("/proc/self/fd/%1").arg(fd)).symLinkTarget());
        if (g_fault == Fault::Write) {
            // Half of it reaches the disk, then the disk is full.
            if (!std::exchange(g_wroteSome, true))
                return SaveCalls::system().write(fd, data, size / 2);
            errno = ENOSPC;
            return -1;
        }
        return SaveCalls::system().write(fd, data, size);
    };
    calls.fsync = [](int fd) {
        if (fail(isFolder(fd) ? Fault::FolderFlush : Fault::FileFlush, EIO) != 0)
            return -1;
        return SaveCalls::system().fsync(fd);
    };
    calls.close = [](int fd) {
        // Like the system's: the descriptor is gone even when close reports an error.
        const int closed = SaveCalls::system().close(fd);
        return fail(Fault::Close, EIO) != 0 ? -1 : closed;
    };
    calls.rename = [](const char *from, const char *to) {
        return fail(Fault::Rename, EIO) != 0 ? -1 : SaveCalls::system().rename(from, to);
    };
    calls.open = [](const char *path, int flags, unsigned mode) {
        if ((flags & O_CREAT) && fail(Fault::Create, g_error) != 0)
            return -1;
        return SaveCalls::system().open(path, flags, mode);
    };
    calls.fchown = [](int fd, unsigned owner, unsigned group) {
        return fail(Fault::Owner, EPERM) != 0 ? -1 : SaveCalls::system().fchown(fd, owner, group);
    };
    calls.fchmod = [](int fd, unsigned mode) {
        return fail(Fault::Mode, EIO) != 0 ? -1 : SaveCalls::system().fchmod(fd, mode);
    };
    return calls;
}

// The message of the E that f throws; anything else thrown, or nothing, fails the compare.
template <typename E>
QString failure(const std::function<void()> &f)
{
    try {
        f();
    } catch (const E &e) {
        return QString::fromUtf8(e.what());
    } catch (const std::exception &e) {
        return QStringLiteral("another exception: ") + QString::fromUtf8(e.what());
    }
    return QStringLiteral("no exception");
}

QStringList folderEntries(const QString &folder = QStringLiteral("."))
{
    const auto all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    return QDir(folder).entryList(all, QDir::Name);
}

int openDescriptors()
{
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    return int(descriptors.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

ino_t inodeOf(const QString &name)
{
    struct stat status {};
    return ::stat(QFile::encodeName(name).constData(), &status) == 0 ? status.st_ino : 0;
}

mode_t modeOf(const QString &name)
{
    struct stat status {};
    return ::stat(QFile::encodeName(name).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// A CR LF text holding every byte that is neither NUL nor a line break.
QByteArray everyByte()
{
    QByteArray line;
    for (int c = 1; c < 256; ++c) {
        if (c != '\r' && c != '\n')
            line += char(c);
    }
    return line + "\r\n" + line.right(40) + "\r\n";
}

const QByteArray oldText("old title\r\n--- and an old answer, longer than the new text\r\n");
const QByteArray newText("T\r\nnew");

} // namespace

class TestFaqFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void read_data();
    void read();
    void readRefuses_data();
    void readRefuses();

    void saveWritesTheBytes_data();
    void saveWritesTheBytes();
    void saveKeepsPermissionBitsAndOwner();
    void saveFollowsLinks_data();
    void saveFollowsLinks();
    void saveRefuses_data();
    void saveRefuses();
    void saveFailsPartWay_data();
    void saveFailsPartWay();
    void saveInPlace_data();
    void saveInPlace();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_oldCurrent;
};

void TestFaqFile::init()
{
    g_fault = Fault::None;
    g_error = 0;
    g_wroteSome = false;
    g_writtenTo.clear();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Every name is given relative to the folder, so messages show it exactly as given.
    m_oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestFaqFile::cleanup()
{
    QDir::setCurrent(m_oldCurrent);
    m_dir.reset();
}

void TestFaqFile::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("shown"); // before the first NUL

    QTest::newRow("CR LF kept byte for byte") << everyByte() << everyByte() << everyByte();
    QTest::newRow("LF") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb") << QByteArray("a\r\n\r\nb");
    QTest::newRow("CR before CR LF") << QByteArray("a\r\r\nb") << QByteArray("a\r\n\r\nb") << QByteArray("a\r\n\r\nb");
    QTest::newRow("no final break kept") << QByteArray("a\r\nb") << QByteArray("a\r\nb") << QByteArray("a\r\nb");
    QTest::newRow("NUL kept, shown cut") << QByteArray("a\nb\0c\n", 6) << QByteArray("a\r\nb\0c\r\n", 8)
                                          << QByteArray("a\r\nb");
    QTest::newRow("NUL first") << QByteArray("\0a", 2) << QByteArray("\0a", 2) << QByteArray();
    QTest::newRow("empty file") << QByteArray() << QByteArray() << QByteArray();
}

void TestFaqFile::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, shown);

    writeFile(QStringLiteral("faq.txt"), file);
    // A file of exactly the capacity is taken.
    const std::string read = readFaqFile("faq.txt", std::size_t(file.size()));
    QCOMPARE(QByteArray::fromStdString(read), text);
    QCOMPARE(QByteArray::fromStdString(normaliseLineBreaks(file.toStdString())), text);
    const std::string_view cut = beforeFirstNul(read);
    QCOMPARE(QByteArray(cut.data(), qsizetype(cut.size())), shown);
}

void TestFaqFile::readRefuses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qsizetype>("capacity");
    QTest::addColumn<QString>("message");

    const qsizetype memo = qsizetype(MemoCapacity);
    QTest::newRow("missing file") << QStringLiteral("no such.txt") << memo
                                  << QStringLiteral("Cannot open file no such.txt");
    QTest::newRow("folder") << QStringLiteral("folder") << memo << QStringLiteral("Cannot open file folder");
    QTest::newRow("FIFO, without waiting for a writer")
        << QStringLiteral("fifo") << memo << QStringLiteral("Cannot open file fifo");
    QTest::newRow("one byte over capacity")
        << QStringLiteral("faq.txt") << qsizetype(oldText.size() - 1) << QStringLiteral("Text exceeds memo capacity");
    QTest::newRow("huge file, never read whole")
        << QStringLiteral("huge.txt") << memo << QStringLiteral("Text exceeds memo capacity");
}

void TestFaqFile::readRefuses()
{
    QFETCH(QString, name);
    QFETCH(qsizetype, capacity);
    QFETCH(QString, message);

    QVERIFY(QDir().mkdir(QStringLiteral("folder")));
    QCOMPARE(::mkfifo("fifo", 0600), 0);
    writeFile(QStringLiteral("faq.txt"), oldText);
    // Sparse: a gigabyte on paper, nothing on disk.
    QFile huge(QStringLiteral("huge.txt"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(1) << 30));

    const auto load = [&] { readFaqFile(name.toStdString(), std::size_t(capacity)); };
    if (message.startsWith(QLatin1String("Cannot")))
        QCOMPARE(failure<EFOpenError>(load), message);
    else
        QCOMPARE(failure<EInvalidOperation>(load), message);
}

void TestFaqFile::saveWritesTheBytes_data()
{
    QTest::addColumn<QByteArray>("old"); // empty: no file yet
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("new file") << QByteArray() << newText;
    QTest::newRow("over a longer file") << oldText << newText;
    QTest::newRow("every byte back as loaded") << oldText << everyByte();
    QTest::newRow("empty text") << oldText << QByteArray();
}

void TestFaqFile::saveWritesTheBytes()
{
    QFETCH(QByteArray, old);
    QFETCH(QByteArray, text);

    if (!old.isEmpty())
        writeFile(QStringLiteral("faq.txt"), old);
    saveFaqFile("faq.txt", text.toStdString(), faultyCalls());

    QCOMPARE(readFile(QStringLiteral("faq.txt")), text);
    QCOMPARE(folderEntries(), QStringList{QStringLiteral("faq.txt")});
    // The bytes went to a hidden file beside the target, never into the target itself.
    for (const QString &written : std::as_const(g_writtenTo)) {
        const QFileInfo info(written);
        QCOMPARE(info.absolutePath(), QFileInfo(m_dir->path()).canonicalFilePath());
        QVERIFY2(info.fileName().startsWith(QLatin1Char('.')), qPrintable(written));
    }
}

void TestFaqFile::saveKeepsPermissionBitsAndOwner()
{
    const mode_t oldMask = ::umask(027);
    saveFaqFile("new.txt", newText.toStdString(), faultyCalls());
    ::umask(oldMask);
    QCOMPARE(modeOf(QStringLiteral("new.txt")), mode_t(0640));

    // Bits the umask would take away are kept all the same.
    writeFile(QStringLiteral("faq.txt"), oldText);
    QCOMPARE(::chmod("faq.txt", 0604), 0);
    const bool root = ::geteuid() == 0;
    if (root)
        QCOMPARE(::chown("faq.txt", 12345, 12346), 0);
    saveFaqFile("faq.txt", newText.toStdString(), faultyCalls());
    QCOMPARE(readFile(QStringLiteral("faq.txt")), newText);
    QCOMPARE(modeOf(QStringLiteral("faq.txt")), mode_t(0604));
    if (root) {
        const QFileInfo info(QStringLiteral("faq.txt"));
        QCOMPARE(info.ownerId(), 12345u);
        QCOMPARE(info.groupId(), 12346u);
    }
}

void TestFaqFile::saveFollowsLinks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("links"); // pairs: link, what it points to
    QTest::addColumn<QString>("target");

    QTest::newRow("link to a file") << QStringLiteral("link.txt")
                                    << QStringList{QStringLiteral("link.txt"), QStringLiteral("faq.txt")}
                                    << QStringLiteral("faq.txt");
    QTest::newRow("dangling link, relative to its own folder")
        << QStringLiteral("sub/link.txt") << QStringList{QStringLiteral("sub/link.txt"), QStringLiteral("made.txt")}
        << QStringLiteral("sub/made.txt");
    QTest::newRow("chain of links across folders")
        << QStringLiteral("one.txt")
        << QStringList{QStringLiteral("one.txt"), QStringLiteral("sub/two.txt"), QStringLiteral("sub/two.txt"),
                       QStringLiteral("../faq.txt")}
        << QStringLiteral("faq.txt");
}

void TestFaqFile::saveFollowsLinks()
{
    QFETCH(QString, name);
    QFETCH(QStringList, links);
    QFETCH(QString, target);

    QVERIFY(QDir().mkdir(QStringLiteral("sub")));
    writeFile(QStringLiteral("faq.txt"), oldText);
    for (qsizetype i = 0; i < links.size(); i += 2)
        QCOMPARE(::symlink(qPrintable(links[i + 1]), qPrintable(links[i])), 0);

    saveFaqFile(name.toStdString(), newText.toStdString(), faultyCalls());
    QCOMPARE(readFile(target), newText);
    for (qsizetype i = 0; i < links.size(); i += 2)
        QCOMPARE(QFileInfo(links[i]).symLinkTarget(),
                 QDir::cleanPath(QFileInfo(links[i]).absoluteDir().absoluteFilePath(links[i + 1])));
}

void TestFaqFile::saveRefuses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("createError"); // the folder's answer to a new file, 0: none

    QTest::newRow("missing folder") << QStringLiteral("nowhere/faq.txt") << 0;
    QTest::newRow("target is a folder") << QStringLiteral("folder") << 0;
    QTest::newRow("target is a FIFO") << QStringLiteral("fifo") << 0;
    QTest::newRow("read-only target, also for root") << QStringLiteral("readonly.txt") << 0;
    QTest::newRow("link loop") << QStringLiteral("loop.txt") << 0;
    QTest::newRow("new file in a folder that refuses it") << QStringLiteral("new.txt") << int(EACCES);
}

void TestFaqFile::saveRefuses()
{
    QFETCH(QString, name);
    QFETCH(int, createError);

    QVERIFY(QDir().mkdir(QStringLiteral("folder")));
    QCOMPARE(::mkfifo("fifo", 0600), 0);
    writeFile(QStringLiteral("readonly.txt"), oldText);
    QCOMPARE(::chmod("readonly.txt", 0444), 0);
    QCOMPARE(::symlink("loop.txt", "loop.txt"), 0);
    g_fault = createError != 0 ? Fault::Create : Fault::None;
    g_error = createError;
    const QStringList before = folderEntries();

    const auto save = [&] { saveFaqFile(name.toStdString(), newText.toStdString(), faultyCalls()); };
    QCOMPARE(failure<EFCreateError>(save), QStringLiteral("Cannot create file ") + name);
    QCOMPARE(folderEntries(), before);
    QCOMPARE(readFile(QStringLiteral("readonly.txt")), oldText);
}

void TestFaqFile::saveFailsPartWay_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("oldKept");

    QTest::newRow("write fails part-way") << Fault::Write << 0 << true;
    QTest::newRow("flush fails") << Fault::FileFlush << 0 << true;
    QTest::newRow("close fails") << Fault::Close << 0 << true;
    QTest::newRow("rename fails") << Fault::Rename << 0 << true;
    QTest::newRow("permission bits cannot be set") << Fault::Mode << 0 << true;
    // A full disk is no reason to write in place.
    QTest::newRow("no room for the new file") << Fault::Create << int(ENOSPC) << true;
    QTest::newRow("quota reached by the new file") << Fault::Create << int(EDQUOT) << true;
    // The new file has already replaced the old one; it may not last a crash.
    QTest::newRow("folder flush fails") << Fault::FolderFlush << 0 << false;
}

void TestFaqFile::saveFailsPartWay()
{
    QFETCH(Fault, fault);
    QFETCH(int, error);
    QFETCH(bool, oldKept);

    writeFile(QStringLiteral("faq.txt"), oldText);
    g_fault = fault;
    g_error = error;
    const int descriptors = openDescriptors();

    const auto save = [&] { saveFaqFile("faq.txt", newText.toStdString(), faultyCalls()); };
    QCOMPARE(failure<EWriteError>(save), QStringLiteral("Stream write error"));
    QCOMPARE(readFile(QStringLiteral("faq.txt")), oldKept ? oldText : newText);
    QCOMPARE(folderEntries(), QStringList{QStringLiteral("faq.txt")});
    QCOMPARE(openDescriptors(), descriptors);
}

void TestFaqFile::saveInPlace_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("hardLink");

    QTest::newRow("second hard link") << Fault::None << 0 << true;
    QTest::newRow("folder refuses a new file") << Fault::Create << int(EACCES) << false;
    QTest::newRow("folder on a read-only file system") << Fault::Create << int(EROFS) << false;
    QTest::newRow("owner cannot be kept") << Fault::Owner << 0 << false;
}

void TestFaqFile::saveInPlace()
{
    QFETCH(Fault, fault);
    QFETCH(int, error);
    QFETCH(bool, hardLink);

    writeFile(QStringLiteral("faq.txt"), oldText);
    QCOMPARE(::chmod("faq.txt", 0604), 0);
    if (hardLink)
        QCOMPARE(::link("faq.txt", "other.txt"), 0);
    if (fault == Fault::Owner) {
        // Only root can hand a file to someone else, and only then does a save have to.
        if (::geteuid() != 0)
            QSKIP("needs root to give the file another owner");
        QCOMPARE(::chown("faq.txt", 12345, 12345), 0);
    }
    g_fault = fault;
    g_error = error;
    const ino_t inode = inodeOf(QStringLiteral("faq.txt"));
    const QStringList before = folderEntries();

    saveFaqFile("faq.txt", newText.toStdString(), faultyCalls());
    QCOMPARE(readFile(QStringLiteral("faq.txt")), newText);
    QCOMPARE(inodeOf(QStringLiteral("faq.txt")), inode);
    QCOMPARE(modeOf(QStringLiteral("faq.txt")), mode_t(0604));
    QCOMPARE(folderEntries(), before);
    if (hardLink)
        QCOMPARE(readFile(QStringLiteral("other.txt")), newText);
}

QTEST_APPLESS_MAIN(TestFaqFile)
#include "tst_faqfile.moc"
