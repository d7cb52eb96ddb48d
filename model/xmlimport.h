#pragma once

#include "model/matchstore.h"

#include <QDate>
#include <QString>

#include <functional>

class QFile;

// Reads one XML match report from a file the caller has opened (the file is not closed). Never
// fails: a document with an error yields what was read up to the error, one line on the debug
// output ("<path>" file has error), and *error set to true when error is given. Only the first
// maxReportBytes of a file are read; a longer file counts as a document with an error.
Match readMatchXml(QFile &file, bool *error = nullptr);

// A match report is a few kilobytes; a file beyond this size is no report and is not read whole.
inline constexpr qint64 maxReportBytes = 8 * 1024 * 1024;

// Called during a directory walk with the number of files counted so far: at every directory
// met and after every report read, whenever that number is a multiple of 100 (0 included).
using ImportProgress = std::function<void(qsizetype files)>;

struct ImportResult
{
    qsizetype files = 0;      // every file met, report or not
    qsizetype matches = 0;    // reports read and added
    qsizetype errors = 0;     // of those, documents with an XML error (added as far as read)
    qsizetype duplicates = 0; // reports equal to a match already there, not added
    DateSpan dates;           // the dates of the reports added
    bool directory = true;    // false when the path given is no directory: nothing was walked
};

// Walks directory and everything below it (hidden entries left out, links to directories not
// followed), reads every file whose name ends in ".xml" (case-sensitive) and adds its match to
// store in walk order under the rules of an ImportBatch: a duplicate is skipped, and a report
// whose file name is taken is named by its path under directory. Files that cannot be opened, and
// entries that are no regular file, are counted and skipped. The walk always runs to its end.
ImportResult importDirectory(const QString &directory, MatchStore &store,
                             const ImportProgress &progress = ImportProgress());
