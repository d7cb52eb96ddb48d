#pragma once

#include <QString>

#include <functional>

class MatchStore;

// Reports how far an export has come: matches written out of total; total 0 while the indexes
// are built.
using ExportProgress = std::function<void(qsizetype done, qsizetype total)>;

// Writes the whole store as an SQLite database at path: tables matches, lineups and events with
// their indexes (the layout is in bench/README.md). The file is written beside path and renamed
// over it when complete, so a failed export leaves whatever was there before.
struct SqliteExportResult
{
    enum Status {
        Ok,
        NotRegularFile, // path names a device, pipe or directory: an SQLite file needs its own
        Failed          // error says why (the system's or SQLite's words)
    };
    Status status = Ok;
    QString error;

    bool ok() const { return status == Ok; }
};

SqliteExportResult exportSqlite(const MatchStore &store, const QString &path,
                                const ExportProgress &progress);
