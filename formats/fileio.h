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

// Writes a file through write, which gets a device to write to and returns false on its own
// failure. A regular file (or a new one) is replaced atomically: the bytes go to a temporary file
// beside it that is renamed over it only when complete, so a failure leaves the old file as it
// was; a link to a regular file replaces the link's target. A path that exists and is no regular
// file (a device such as /dev/null, a pipe, a socket) is written in place and never replaced.
// With durable off the new file is not flushed to the disk before the rename, which many small
// files written at once (an export) cannot afford; a crash may then leave the new file empty.
SystemError writeFileSafely(const QString &path, const std::function<bool(QIODevice &)> &write,
                            bool durable = true);
SystemError writeFileSafely(const QString &path, const QByteArray &bytes, bool durable = true);

// True when the two paths name one file (same device and inode; links and "./" resolved).
// False when either does not exist.
bool sameFile(const QString &a, const QString &b);
