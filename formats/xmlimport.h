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
// Which reader reads a report. Most reports are plain UTF-8 or windows-1251 elements, attributes
// and text, which a quick reader of its own reads; it hands anything else to the general XML
// reader. General: the general reader always (to hold the two against each other).
enum class XmlReading { Quick, General };

// The same over the bytes of a report (at most maxReportBytes are looked at); fileName is the
// match's file name, path the name the debug line gives.
Match readMatchXmlBytes(const QByteArray &bytes, const QString &fileName, const QString &path,
                        bool *error = nullptr, XmlReading reading = XmlReading::Quick);

// A match report is a few kilobytes; a file beyond this size is no report and is not read whole.
inline constexpr qint64 maxReportBytes = 8 * 1024 * 1024;

// Bounds no real report comes near. A report past one is a document with an error, kept as far as
// the bound: elements nested deeper, or with more attributes, end the document where they start;
// players and events past their number are left out. An attribute-list declaration (which lets a
// short document give thousands of attributes to every element) ends the document too.
inline constexpr int maxReportDepth = 32;
inline constexpr int maxReportAttributes = 64;
inline constexpr int maxLineupPlayers = 100;
inline constexpr int maxReportEvents = 500;

// Called during a directory walk with the number of files counted so far: at every directory
// met and after every report read, whenever that number is a multiple of 100 (0 included).
using ImportProgress = std::function<void(qsizetype files)>;

struct ImportResult
{
    qsizetype files = 0;      // every file met, report or not (directories are not files)
    qsizetype matches = 0;    // reports read and added
    qsizetype errors = 0;     // of those, documents with an XML error (added as far as read)
    qsizetype duplicates = 0; // reports equal to a match already there, not added
    DateSpan dates;           // the dates of the reports added
    bool directory = true;    // false when the path given is no directory: nothing was walked
    // Every "*.xml" entry that could not be read, with the error number (0 for an entry that is no
    // regular file: a pipe, a device), so that nothing is skipped without a word.
    QList<std::pair<QString, int>> unreadable;
};

// Walks directory and everything below it (hidden entries left out, links to directories not
// followed, each directory's entries in the order of their names' bytes), reads every file whose
// name ends in ".xml" (case-sensitive) and adds its match to store in walk order under the rules
// of an ImportBatch: a duplicate is skipped, and a report whose file name is taken is named by its
// path under directory. Names are opened by their bytes, whatever their encoding; a name that is
// not UTF-8 is shown decoded as windows-1251 (or Latin-1). Entries that cannot be read are counted,
// named in `unreadable` and skipped. The walk always runs to its end.
ImportResult importDirectory(const QString &directory, MatchStore &store,
                             const ImportProgress &progress = ImportProgress());
