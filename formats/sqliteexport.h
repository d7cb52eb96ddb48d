#pragma once

#include <QString>

#include <functional>

class MatchStore;

// Reports how far an export has come: matches written out of total; total 0 while the indexes
// are built.
using ExportProgress = std::function<void(qsizetype done, qsizetype total)>;

// Writes the whole store as an SQLite database at path: tables matches, lineups and events with
// their indexes (the layout is in bench/README.md). The file is written beside path and renamed
// over it when complete, so a failed export leaves whatever was there before. Returns an empty
// string on success, else the reason.
QString exportSqlite(const MatchStore &store, const QString &path, const ExportProgress &progress);
