#pragma once

#include "model/matchstore.h"

#include <QDate>
#include <QString>

#include <functional>

class QFile;

// Reads one XML match report from a file the caller has opened. Never fails: a document with an
// error yields what was read up to the error, and one line on the debug output.
Match readMatchXml(QFile &file);

// Called during a directory walk with the number of files counted so far.
using ImportProgress = std::function<void(qsizetype files)>;

struct ImportResult
{
    qsizetype files = 0;   // every file met, report or not
    qsizetype matches = 0; // reports read and appended
};

// Walks directory and everything below it (hidden entries and links to directories left out),
// reads every file whose name ends in ".xml" and appends its match to store, adding its tournament
// and widening [from, till] to its date.
ImportResult importDirectory(const QString &directory, MatchStore &store, QDate &from, QDate &till,
                             const ImportProgress &progress = ImportProgress());
