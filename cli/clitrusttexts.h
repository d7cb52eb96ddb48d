#pragma once

#include <QString>

// Texts of the command line about hostile or damaged input and careful output. English, as every
// text of the command line; numbers and names go in through one arg() call each.
struct CliTrustTexts
{
    const QString sqliteNotStdout = QStringLiteral(
        "--sqlite needs a file: an SQLite database cannot be written to the standard output");
    // import-csv: the encoding each file was read in, under the summary; lines with bad bytes.
    const QString csvEncoding = QStringLiteral("text encoding: %1\n");
    const QString csvFileEncoding = QStringLiteral("%1 %2");
    const QString csvBadBytes = QStringLiteral(
        "'%1': bytes that are not UTF-8 on line %2, read as the replacement character U+FFFD");
    const QString csvBadBytesLines = QStringLiteral(
        "'%1': bytes that are not UTF-8 on lines %2, read as the replacement character U+FFFD");
    const QString csvBadBytesMore = QStringLiteral("%1 and %2 more lines");
    // export --xml: the reports that could not be written, each named above the summary.
    const QString xmlNotWritten =
        QStringLiteral("%1 of %2 reports could not be written (named above)");
};

inline const CliTrustTexts &cliTrustTexts()
{
    static const CliTrustTexts table;
    return table;
}
