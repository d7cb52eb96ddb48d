#include "formats/fileio.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <cerrno>
#include <cstring>
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

FileContents readWholeFile(const QString &path,
                           const std::function<bool(const QByteArray &head)> &wanted,
                           qsizetype headSize)
{
    FileContents result;
    // O_NONBLOCK: opening a pipe with no writer would otherwise wait for ever.
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.status = FileContents::CannotOpen;
        result.error = SystemError::fromErrno(errno);
        return result;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        result.status = FileContents::CannotOpen;
        result.error = SystemError::fromErrno(errno);
        ::close(fd);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.status = FileContents::NotRegular;
        result.error = SystemError::fromErrno(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
        ::close(fd);
        return result;
    }
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

SystemError writeFileSafely(const QString &path, const std::function<bool(QIODevice &)> &write,
                            bool durable)
{
    const QByteArray native = nativePath(path);
    struct stat info;
    const bool exists = ::stat(native.constData(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode))
        return SystemError::fromErrno(EISDIR);
    if (exists && !S_ISREG(info.st_mode)) {
        // A device, pipe or socket: written in place, never replaced by a regular file.
        const int fd = ::open(native.constData(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            return SystemError::fromErrno(errno);
        DescriptorDevice device(fd);
        const bool written = write(device);
        const int failure = device.failure();
        ::close(fd);
        if (failure != 0)
            return SystemError::fromErrno(failure);
        return written ? SystemError() : SystemError::fromErrno(EIO);
    }

    // A link to a regular file keeps being a link: its target is replaced.
    const QString target = exists ? QFileInfo(path).canonicalFilePath() : path;
    const QByteArray nativeTarget = nativePath(target);
    const qsizetype slash = nativeTarget.lastIndexOf('/');
    QByteArray temporary = (slash >= 0 ? nativeTarget.left(slash + 1) : QByteArray()) + '.' +
                           nativeTarget.mid(slash + 1) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return SystemError::fromErrno(errno);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    // The new file gets the old one's permissions, or those a newly created file would get.
    mode_t mode = 0;
    if (exists) {
        mode = info.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int failure = ::fchmod(fd, mode) == 0 ? 0 : errno;
    if (failure == 0) {
        DescriptorDevice device(fd);
        const bool written = write(device);
        failure = device.failure();
        if (failure == 0 && !written)
            failure = EIO;
    }
    if (failure == 0 && durable && ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && ::rename(temporary.constData(), nativeTarget.constData()) != 0)
        failure = errno;
    if (failure != 0)
        ::unlink(temporary.constData());
    return SystemError::fromErrno(failure);
}

SystemError writeFileSafely(const QString &path, const QByteArray &bytes, bool durable)
{
    return writeFileSafely(
        path, [&bytes](QIODevice &device) { return device.write(bytes) == bytes.size(); }, durable);
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat first;
    struct stat second;
    return ::stat(nativePath(a).constData(), &first) == 0 &&
           ::stat(nativePath(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}
