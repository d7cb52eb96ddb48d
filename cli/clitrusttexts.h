#pragma once

#include <QString>

// Texts of the command line about hostile or damaged input and careful output. English, as every
// text of the command line; numbers and names go in through one arg() call each.
struct CliTrustTexts
{
    const QString sqliteNotStdout = QStringLiteral(
        "--sqlite needs a file: an SQLite database cannot be written to the standard output");
};

inline const CliTrustTexts &cliTrustTexts()
{
    static const CliTrustTexts table;
    return table;
}
