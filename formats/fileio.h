#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;

// What the system said about a file it could not read or write: errno and its own words.
struct SystemError
{
    int code = 0; // errno; 0 for no error
    QString text; // the system's description, "No space left on device"

    bool isError() const { return code != 0; }
    static SystemError fromErrno(int code);
};

// A whole file read into memory.
struct FileContents
{
    enum Status {
        Ok,
        CannotOpen, // error says why
        NotRegular, // a directory, pipe, socket or device: nothing was read from it
        Changed,    // the file shrank or grew while it was read
        Unwanted    // its first bytes were not wanted: bytes holds just those
    };
    Status status = Ok;
    SystemError error;
    QByteArray bytes; // may refer to memory that owner keeps: keep the two together
    std::shared_ptr<void> owner;
    bool cut = false; // readFileStart: the file holds more than was read

    // Gives the memory of bytes[from, till) back to the system (as far as whole pages of it go)
    // when the bytes are in memory of their own: a reader that is done with a stretch of a large
    // file keeps the process small. Those bytes must not be read again. Returns false, releasing
    // nothing, when the bytes share memory with anything else.
    bool release(qint64 from, qint64 till) const;

    bool ok() const { return status == Ok; }
};

// Reads the regular file at path whole. A pipe or device named by path is refused without
// blocking; a file that changes size while it is read is reported instead of returned in part.
// Large files are read into memory that asks for huge pages, so that reading costs no more than a
// mapping of the file would, yet a file truncated by another process cannot crash the reader.
// With wanted given, the file's first headSize bytes (fewer in a shorter file) are shown to it
// first, so that a large file of another kind is turned away without reading it all.
FileContents readWholeFile(const QString &path,
                           const std::function<bool(const QByteArray &head)> &wanted = {},
                           qsizetype headSize = 4);

// Reads at most limit bytes from the start of the regular file at path (its bytes, as the file
// system has them), refusing anything else without blocking as readWholeFile does; cut tells a
// longer file. For files that are small when they are what they should be (a report, a rules
// file): a huge one cannot take the memory.
FileContents readFileStart(const QByteArray &path, qint64 limit);

// A regular file open for reading at any offset, for a reader that takes a large file a piece
// at a time into memory of its own instead of whole: no copy of the whole file is ever made, and
// a file that another program cuts short meanwhile is told by a read that comes up short (a
// mapping of the file would crash the reader instead). Reads from several threads at once are
// safe. A pipe or device named by path is refused without blocking, as readWholeFile does.
class FileReader
{
public:
    explicit FileReader(const QString &path);
    ~FileReader();
    FileReader(const FileReader &) = delete;
    FileReader &operator=(const FileReader &) = delete;

    // Ok, CannotOpen or NotRegular, with error saying why.
    FileContents::Status status() const { return m_status; }
    const SystemError &error() const { return m_error; }
    // The size when the file was opened.
    qint64 size() const { return m_size; }
    // Reads the bytes [from, till) into dest; false when the file no longer holds them all or the
    // system fails to read them.
    bool read(qint64 from, qint64 till, char *dest) const;
    // True when the file holds more than size() bytes now.
    bool grew() const;

private:
    int m_fd = -1;
    qint64 m_size = 0;
    FileContents::Status m_status = FileContents::Ok;
    SystemError m_error;
};

// Writes a file through write, which gets a device to write to and returns false on its own
// failure. A regular file (or a new one) is replaced atomically (see FileReplacement), so a
// failure leaves the old file as it was; its permissions are kept. A path that exists and is no
// regular file (a device such as /dev/null, a pipe, a socket) is written in place and never
// replaced. With durable off the new file is not flushed to the disk before the rename, which
// many small files written at once (an export) cannot afford; a crash may then leave the new file
// empty. With followNamedLink off, a link at path is replaced like any file instead of having its
// target replaced (an export into a folder others can write to).
SystemError writeFileSafely(const QString &path, const std::function<bool(QIODevice &)> &write,
                            bool durable = true, bool followNamedLink = true);
SystemError writeFileSafely(const QString &path, const QByteArray &bytes, bool durable = true,
                            bool followNamedLink = true);

// The new version of a file, written beside it and put in its place when complete. Its
// directory is opened once, and everything after goes through that handle without following a
// link: a link planted at the name, or in place of the directory, while the file is written
// cannot lead the write anywhere else. The new file is unnamed until committed (O_TMPFILE), so a
// process killed meanwhile leaves nothing behind; where the file system cannot do that it is a
// hidden temporary ".NAME.PID.N.swtmp", and those of processes no longer running are removed
// the next time a file is written there. A link named by path (checked once, at the start)
// keeps being a link: its target is replaced. An existing device, pipe or socket is written in
// place.
class FileReplacement
{
public:
    enum Use {
        Write,       // written through descriptor()
        OtherLibrary // opened by temporaryPath() (SQLite): the new file has a name while it is
                     // written, and a device, pipe or socket is refused (notRegular) unopened
    };
    // With clearStale, the folder is looked through for temporaries of writers no longer running.
    explicit FileReplacement(const QString &path, Use use = Write, bool clearStale = true,
                             bool followNamedLink = true);
    ~FileReplacement(); // a replacement not committed is dropped
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    bool ok() const { return m_failure == 0; }
    SystemError error() const { return SystemError::fromErrno(m_failure); }
    // The descriptor to write the new contents to (or the device itself when inPlace).
    int descriptor() const { return m_fd; }
    bool inPlace() const { return m_inPlace; }
    bool notRegular() const { return m_notRegular; }
    // A path by which another library (SQLite) can open the new file, while it is not committed.
    QString temporaryPath() const;
    // Puts the new file in place of the old, with the old one's permissions; failure, when not
    // 0, is the errno of a failed write, and the new file is dropped instead.
    SystemError commit(bool durable, int failure = 0);

private:
    int begin(const QByteArray &native, bool followLink);
    void closeAll();

    QString m_path;
    QByteArray m_directory;
    QByteArray m_name;      // in the directory
    QByteArray m_temporary; // the new file's name while it has one, else empty
    QByteArray m_procPath;  // the unnamed new file as /proc shows it
    int m_dirfd = -1;
    int m_fd = -1;
    int m_failure = 0;
    bool m_inPlace = false;
    Use m_use = Write;
    bool m_clearStale = true;
    bool m_followNamedLink = true;
    bool m_notRegular = false;
    unsigned m_mode = 0;
    unsigned m_owner = unsigned(-1);
    unsigned m_group = unsigned(-1);
};

// For tests: called with the path being written, after the new contents are written and before
// they are put in place (a test plants a link there to show it is not followed). Empty: none.
void setBeforeCommitHookForTesting(std::function<void(const QString &path)> hook);

// True when the two paths name one file (same device and inode; links and "./" resolved).
// False when either does not exist.
bool sameFile(const QString &a, const QString &b);
