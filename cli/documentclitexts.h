#pragma once

#include <QString>

// The command line's texts about the database it replaces: the lock, a file changed under it,
// and the delete command.
struct DocumentCliTexts
{
    const QString cliLocked = QStringLiteral(
        "%1 is in use by %2 (process %3 on %4) since %5; it was not replaced. Try again when that "
        "program has closed it.");
    const QString cliChangedMeanwhile =
        QStringLiteral("%1 was changed by another program while this command ran; it was not "
                       "replaced, so that neither change is lost. Run the command again.");
    const QString cliRulesNotWritten = QStringLiteral(
        "cannot write the rules file '%1': %2 (the database '%3' was written, without its rules)");
    const QString cliDeleteArguments = QStringLiteral("FILE.swb MATCH-FILE-NAME... -o OUT.swb");
    const QString cliDeleteUnknown = QStringLiteral("%1 holds no match with the file name %2");
    const QString cliDeleteDone = QStringLiteral("Deleted %1 of %2 matches; %3 holds %4.\n");
    const QString deleteSummary = QStringLiteral(
        "Writes the database without the matches of the file names given (as the report command "
        "names them). A name no match carries is an error, and nothing is written.");
    const QString deleteOut =
        QStringLiteral("Write the database to OUT.swb (FILE.swb itself to update it).");
};

inline const DocumentCliTexts &documentCliTexts()
{
    static const DocumentCliTexts texts;
    return texts;
}
