#pragma once

// What the commands share: messages, opening the database, writing an output.

#include "cli/cli.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

class Document;
struct DatabaseResult;

bool stderrIsTerminal();
void message(const QString &text);
// Says "scorewright-cli: text" and returns ExitFailure.
int failure(const QString &text);
// Says "scorewright-cli: text" with the hint to --help and returns ExitUsage.
int usageError(const QString &text);

// A message for a database that could not be read or written.
QString databaseMessage(const DatabaseResult &result, const QString &path);

// Opens the database at path and its rules read-only for a command that only reads them; null, the
// failure reported, when the database cannot be read. The document lives as long as the process,
// whose end frees it at once: destroying a large store record by record took a tenth of a page's
// run.
const Document *openForReading(const QString &path);

// True when -o names standard output: no option, or "-".
bool isStdout(const QString &path);
// An output that is the same file as one of the inputs would destroy it: refused up front (and
// said so), with the input untouched.
bool outputIsAnInput(const QString &out, const QStringList &inputs);
// The files a command reads of the database at path: the database and its rules file.
QStringList databaseInputs(const QString &path);
// True (and said so) when out is an existing report under one of the directories an import
// reads, however it is named: writing it would destroy an input.
bool outputIsAReport(const QString &out, const QStringList &directories);

// Writes bytes to path (see writeFileSafely: a regular file is replaced atomically, a device or
// pipe written in place), or to stdout for "-" or no path.
int writeOutput(const QByteArray &bytes, const QString &path);

// A date of the form YYYY-MM-DD, or an invalid date.
QDate parseDate(const QString &text);
// The short names of the pages, comma-separated, for the usage text.
QString pageNames();
