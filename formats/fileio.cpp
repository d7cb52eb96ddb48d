#include "formats/fileio.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A device over a file descriptor that writes straight through and keeps the errno of the first
// failure, which QFile and QSaveFile lose when a buffered write fails at the end.
class DescriptorDevice : public QIODevice
{
public:
    explicit DescriptorDevice(int fd) : m_fd(fd) { open(QIODevice::WriteOnly | Unbuffered); }

    int failure() const { return m_errno; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        qint64 done = 0;
        while (done < size && m_errno == 0) {
            const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
            if (n < 0) {
                if (errno != EINTR)
                    m_errno = errno;
            } else {
                done += n;
            }
        }
        return m_errno == 0 ? size : -1;
    }

private:
    int m_fd;
    int m_errno = 0;
};

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

// Memory for a whole file: one anonymous mapping that asks for huge pages and is populated at
// once, which spares a page fault for every 4 KB of a large file.
class FileBuffer
{
public:
    static constexpr qint64 mapThreshold = 4 * 1024 * 1024;

    explicit FileBuffer(qint64 size) : m_size(size)
    {
        if (size >= mapThreshold) {
            // Huge pages must start on a 2 MiB boundary: map that much more and use the part
            // from the first boundary on.
            const size_t length = size_t(size) + hugePage;
            void *p =
                ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (p != MAP_FAILED) {
                m_map = p;
                m_mapLength = length;
                const auto address = reinterpret_cast<quintptr>(p);
                m_mapped = static_cast<char *>(p) + ((hugePage - address % hugePage) % hugePage);
#ifdef MADV_HUGEPAGE
                ::madvise(m_mapped, size_t(size), MADV_HUGEPAGE);
#endif
                return;
            }
        }
        m_bytes = QByteArray(qsizetype(size), Qt::Uninitialized);
    }
    ~FileBuffer()
    {
        if (m_map)
            ::munmap(m_map, m_mapLength);
    }
    FileBuffer(const FileBuffer &) = delete;
    FileBuffer &operator=(const FileBuffer &) = delete;

    char *data()
    {
        return m_mapped ? m_mapped : m_bytes.data();
    }

    bool release(qint64 from, qint64 till)
    {
        if (!m_mapped)
            return false;
        // Whole huge pages only, so that no page that is still to be read is split or dropped.
        constexpr qint64 page = 2 * 1024 * 1024;
        const qint64 first = (from + page - 1) / page * page;
        const qint64 last = std::min(till, m_size) / page * page;
        if (last > first)
            ::madvise(m_mapped + first, size_t(last - first), MADV_DONTNEED);
        return true;
    }

private:
    static constexpr size_t hugePage = 2 * 1024 * 1024;
    qint64 m_size;
    void *m_map = nullptr;
    size_t m_mapLength = 0;
    char *m_mapped = nullptr;
    QByteArray m_bytes;
};

} // namespace

bool FileContents::release(qint64 from, qint64 till) const
{
    return owner && static_cast<FileBuffer *>(owner.get())->release(from, till);
}

SystemError SystemError::fromErrno(int code)
{
    return SystemError{code, code ? qt_error_string(code) : QString()};
}

namespace {

// Opens path for reading when it is a regular file, without blocking on a pipe; -1 with result
// saying why otherwise. info is the file's.
int openRegular(const QByteArray &native, FileContents &result, struct stat &info)
{
    // O_NONBLOCK: opening a pipe with no writer would otherwise wait for ever.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.status = FileContents::CannotOpen;
        result.error = SystemError::fromErrno(errno);
        return -1;
    }
    if (::fstat(fd, &info) != 0) {
        result.status = FileContents::CannotOpen;
        result.error = SystemError::fromErrno(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        result.status = FileContents::NotRegular;
        result.error = SystemError::fromErrno(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

FileReader::FileReader(const QString &path)
{
    FileContents opened;
    struct stat info;
    m_fd = openRegular(nativePath(path), opened, info);
    m_status = opened.status;
    m_error = opened.error;
    if (m_fd >= 0) {
        m_size = info.st_size;
        ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
}

FileReader::~FileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FileReader::read(qint64 from, qint64 till, char *dest) const
{
    if (m_fd < 0 || from < 0 || till > m_size)
        return false;
    while (from < till) {
        const ssize_t n = ::pread(m_fd, dest, size_t(till - from), off_t(from));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        from += n;
        dest += n;
    }
    return true;
}

bool FileReader::grew() const
{
    char extra;
    ssize_t n;
    do {
        n = ::pread(m_fd, &extra, 1, off_t(m_size));
    } while (n < 0 && errno == EINTR);
    return n != 0;
}

FileContents readFileStart(const QByteArray &native, qint64 limit)
{
    FileContents result;
    struct stat info;
    const int fd = openRegular(native, result, info);
    if (fd < 0)
        return result;
    // One byte more than the limit tells a longer file, even one that grew since fstat.
    QByteArray bytes(qsizetype(std::min<qint64>(info.st_size, limit) + 1), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.status = FileContents::CannotOpen;
            result.error = SystemError::fromErrno(errno);
            ::close(fd);
            return result;
        }
        if (n == 0)
            break;
        done += n;
    }
    ::close(fd);
    result.cut = done > limit;
    bytes.truncate(qsizetype(std::min<qint64>(done, limit)));
    result.bytes = bytes;
    return result;
}

FileContents readWholeFile(const QString &path,
                           const std::function<bool(const QByteArray &head)> &wanted,
                           qsizetype headSize)
{
    FileContents result;
    struct stat info;
    const int fd = openRegular(nativePath(path), result, info);
    if (fd < 0)
        return result;
    const qint64 size = info.st_size;
    if (size > qint64(std::numeric_limits<qsizetype>::max() / 2)) {
        result.status = FileContents::CannotOpen;
        result.error = SystemError::fromErrno(EFBIG);
        ::close(fd);
        return result;
    }
    if (wanted) {
        QByteArray head(qsizetype(std::min<qint64>(headSize, size)), Qt::Uninitialized);
        const ssize_t n = ::pread(fd, head.data(), size_t(head.size()), 0);
        if (n >= 0 && !wanted(head.left(n))) {
            result.status = FileContents::Unwanted;
            result.bytes = head.left(n);
            ::close(fd);
            return result;
        }
    }
    // Read one byte more than announced: a file that grew is noticed as well as one that shrank.
    auto buffer = std::make_shared<FileBuffer>(size);
    char *data = buffer->data();
    qint64 done = 0;
    char extra = 0;
    bool grew = false;
    while (true) {
        char *target = done < size ? data + done : &extra;
        const size_t want = done < size ? size_t(size - done) : 1;
        const ssize_t n = ::read(fd, target, want);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            result.status = FileContents::CannotOpen;
            result.error = SystemError::fromErrno(errno);
            ::close(fd);
            return result;
        }
        if (n == 0)
            break;
        if (done >= size) {
            grew = true;
            break;
        }
        done += n;
    }
    ::close(fd);
    if (done != size || grew) {
        result.status = FileContents::Changed;
        return result;
    }
    result.bytes = QByteArray::fromRawData(data, qsizetype(size));
    result.owner = std::move(buffer);
    return result;
}

namespace {

std::function<void(const QString &)> &beforeCommitHook()
{
    static std::function<void(const QString &)> hook;
    return hook;
}

// Temporary files of this program beside a target: ".NAME.PID.RANDOM.swtmp", NAME shortened so
// that the whole stays within the file system's limit for a name.
constexpr char temporarySuffix[] = ".swtmp";

QByteArray temporaryName(const QByteArray &name)
{
    static quint32 counter = 0;
    const quint32 random = quint32(::getpid()) * 2654435761u ^ quint32(::time(nullptr)) ^
                           (++counter * 40503u) ^ quint32(quintptr(&counter));
    return '.' + name.left(180) + '.' + QByteArray::number(::getpid()) + '.' +
           QByteArray::number(random % 0xffffffu, 16) + temporarySuffix;
}

// Removes the temporaries left in the directory by processes that no longer run (killed while
// writing).
void removeStaleTemporaries(int dirfd)
{
    const int copy = ::openat(dirfd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (copy < 0)
        return;
    DIR *dir = ::fdopendir(copy);
    if (!dir) {
        ::close(copy);
        return;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith('.') || !name.endsWith(temporarySuffix))
            continue;
        // ".NAME.PID.RANDOM.swtmp": the process is the second field from the end.
        const QList<QByteArray> fields = name.chopped(int(sizeof temporarySuffix) - 1).split('.');
        if (fields.size() < 4)
            continue;
        bool isNumber = false;
        const qint64 pid = fields.at(fields.size() - 2).toLongLong(&isNumber);
        if (!isNumber || pid <= 0 || pid == ::getpid() ||
            !(::kill(pid_t(pid), 0) != 0 && errno == ESRCH))
            continue;
        struct stat info;
        if (::fstatat(dirfd, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid())
            ::unlinkat(dirfd, name.constData(), 0);
    }
    ::closedir(dir);
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

void setBeforeCommitHookForTesting(std::function<void(const QString &path)> hook)
{
    beforeCommitHook() = std::move(hook);
}

FileReplacement::FileReplacement(const QString &path, Use use, bool clearStale,
                                 bool followNamedLink)
    : m_path(path), m_use(use), m_clearStale(clearStale), m_followNamedLink(followNamedLink)
{
    m_failure = begin(nativePath(path), true);
    if (m_failure != 0)
        closeAll();
}

FileReplacement::~FileReplacement()
{
    closeAll();
}

void FileReplacement::closeAll()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty() && m_dirfd >= 0)
        ::unlinkat(m_dirfd, m_temporary.constData(), 0);
    m_temporary.clear();
    if (m_dirfd >= 0)
        ::close(m_dirfd);
    m_dirfd = -1;
}

int FileReplacement::begin(const QByteArray &native, bool followLink)
{
    if (native.isEmpty())
        return ENOENT;
    if (native.endsWith('/'))
        return EISDIR;
    const qsizetype slash = native.lastIndexOf('/');
    const QByteArray directory = slash < 0    ? QByteArray(".")
                                 : slash == 0 ? QByteArray("/")
                                              : native.left(slash);
    m_name = native.mid(slash + 1);
    m_directory = directory;
    if (m_name == "." || m_name == "..")
        return EISDIR;
    m_dirfd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_dirfd < 0)
        return errno;
    struct stat info;
    const bool exists = ::fstatat(m_dirfd, m_name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT)
        return errno;
    if (exists && S_ISLNK(info.st_mode) && m_followNamedLink) {
        // A link the user named keeps being a link: its target is replaced, found once here.
        // Whatever is put in place of a link later is not followed.
        const QByteArray target =
            nativePath(QFileInfo(QFile::decodeName(native)).canonicalFilePath());
        if (!target.isEmpty()) {
            if (!followLink)
                return ELOOP;
            ::close(m_dirfd);
            m_dirfd = -1;
            return begin(target, false);
        }
    }
    // Any other link (a dangling one, or any at all when links are not followed) is replaced by
    // the new file.
    if (exists && S_ISDIR(info.st_mode))
        return EISDIR;
    if (exists && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
        // A device, pipe or socket: written in place, never replaced by a regular file.
        if (m_use == OtherLibrary) {
            m_notRegular = true;
            return EINVAL;
        }
        m_fd = ::openat(m_dirfd, m_name.constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
        if (m_fd < 0)
            return errno;
        m_inPlace = true;
        return 0;
    }
    // The new file gets the old one's permissions, or those a newly created file gets.
    m_mode = exists && S_ISREG(info.st_mode) ? info.st_mode & 07777 : newFileMode();
    if (exists && S_ISREG(info.st_mode)) {
        m_owner = info.st_uid;
        m_group = info.st_gid;
    }
    if (m_clearStale)
        removeStaleTemporaries(m_dirfd);
#ifdef O_TMPFILE
    // Unnamed until complete: a process killed while writing leaves nothing behind. (SQLite
    // resolves the /proc link of an unnamed file to a name of its own and writes there.)
    if (m_use == Write)
        m_fd = ::openat(m_dirfd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (m_fd >= 0) {
        m_procPath = "/proc/self/fd/" + QByteArray::number(m_fd);
        if (::access(m_procPath.constData(), F_OK) == 0)
            return 0;
        ::close(m_fd);
        m_fd = -1;
        m_procPath.clear();
    }
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = temporaryName(m_name);
        m_fd = ::openat(m_dirfd, name.constData(),
                        O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (m_fd >= 0) {
            m_temporary = name;
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

QString FileReplacement::temporaryPath() const
{
    if (!m_procPath.isEmpty())
        return QFile::decodeName(m_procPath);
    if (m_temporary.isEmpty())
        return QString();
    // The directory by its descriptor where the system offers that: the path it was opened by
    // may lead elsewhere by now.
    const QByteArray byDescriptor = "/proc/self/fd/" + QByteArray::number(m_dirfd);
    if (::access(byDescriptor.constData(), F_OK) == 0)
        return QFile::decodeName(byDescriptor + '/' + m_temporary);
    return QFile::decodeName(m_directory + '/' + m_temporary);
}

SystemError FileReplacement::commit(bool durable, int failure)
{
    if (m_failure != 0)
        return SystemError::fromErrno(m_failure);
    if (m_inPlace) {
        closeAll();
        return SystemError::fromErrno(failure);
    }
    if (failure == 0 && ::fchmod(m_fd, m_mode) != 0)
        failure = errno;
    if (failure == 0 && m_owner != unsigned(-1) &&
        (m_owner != ::geteuid() || m_group != ::getegid()))
        (void)!::fchown(m_fd, m_owner, m_group); // only root may; anyone else makes it theirs
    if (failure == 0 && durable && ::fsync(m_fd) != 0)
        failure = errno;
    if (failure == 0 && beforeCommitHook())
        beforeCommitHook()(m_path);
    if (failure == 0 && m_temporary.isEmpty()) {
        // Give the unnamed file a temporary name, then rename it over the target: a link cannot
        // replace an existing name.
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray name = temporaryName(m_name);
            if (::linkat(AT_FDCWD, m_procPath.constData(), m_dirfd, name.constData(),
                         AT_SYMLINK_FOLLOW) == 0) {
                m_temporary = name;
                break;
            }
            if (errno != EEXIST) {
                failure = errno;
                break;
            }
        }
        if (failure == 0 && m_temporary.isEmpty())
            failure = EEXIST;
    }
    if (failure == 0 &&
        ::renameat(m_dirfd, m_temporary.constData(), m_dirfd, m_name.constData()) != 0)
        failure = errno;
    if (failure == 0) {
        m_temporary.clear();
        if (durable)
            ::fsync(m_dirfd);
    }
    if (::close(m_fd) != 0 && failure == 0)
        failure = errno;
    m_fd = -1;
    closeAll();
    return SystemError::fromErrno(failure);
}

SystemError writeFileSafely(const QString &path, const std::function<bool(QIODevice &)> &write,
                            bool durable, bool followNamedLink)
{
    // Many files written into one folder (an export) would read the folder once for each.
    FileReplacement replacement(path, FileReplacement::Write, durable, followNamedLink);
    if (!replacement.ok())
        return replacement.error();
    int failure = 0;
    {
        DescriptorDevice device(replacement.descriptor());
        const bool written = write(device);
        failure = device.failure();
        if (failure == 0 && !written)
            failure = EIO;
    }
    return replacement.commit(durable, failure);
}

SystemError writeFileSafely(const QString &path, const QByteArray &bytes, bool durable,
                            bool followNamedLink)
{
    return writeFileSafely(
        path, [&bytes](QIODevice &device) { return device.write(bytes) == bytes.size(); }, durable,
        followNamedLink);
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat first;
    struct stat second;
    return ::stat(nativePath(a).constData(), &first) == 0 &&
           ::stat(nativePath(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}
