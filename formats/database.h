#pragma once

#include "model/matchstore.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// What became of reading or writing a database file.
struct DatabaseResult
{
    enum Status {
        Ok,
        CannotOpen,         // the file could not be opened or read
        NotDatabase,        // the magic number is wrong: some other kind of file
        UnsupportedVersion, // a database of a format version this program does not know
        Damaged,            // truncated or inconsistent; offset says where reading stopped
        CannotWrite,        // the file could not be written; the old file is untouched
        NotRegularFile,     // a directory, pipe, socket or device: nothing was read
        ChangedWhileReading // another program changed the file while it was read
    };

    Status status = Ok;
    qint64 offset = -1; // Damaged: the byte offset at which the file stopped making sense
    // Damaged: true when the file simply ends too early, before the last of the `announced`
    // matches its header counts (`complete` of them were whole).
    bool endsEarly = false;
    quint32 announced = 0;
    quint32 complete = 0;
    quint32 version = 0; // UnsupportedVersion: the version the file declares
    QString systemError; // CannotOpen, CannotWrite: the system's own words
    int systemErrno = 0; // and the error number they stand for, when known

    bool ok() const { return status == Ok; }
};

inline constexpr quint32 databaseMagic = 0xF07BA110;
inline constexpr qint32 databaseVersion = 1;

// Reads the database file into store, replacing all it held; the store then counts as unmodified.
// The file is read whole and checked as it is read: on any failure the store is left exactly as it
// was.
DatabaseResult readDatabase(const QString &path, MatchStore &store);
// The same over bytes already in memory.
DatabaseResult readDatabaseBytes(const QByteArray &bytes, MatchStore &store);

// Writes the whole store to path. The file is replaced atomically: a failed write leaves the
// previous file as it was.
DatabaseResult writeDatabase(const QString &path, const MatchStore &store);
// Writes the database format to an open device (no atomic replacement); false on a write error.
bool writeDatabaseTo(QIODevice &device, const MatchStore &store);
// The whole file as bytes.
QByteArray databaseBytes(const MatchStore &store);
