#pragma once

#include <QString>

// The help of each command (scorewright-cli COMMAND --help): its summary and the line of each
// option. English, as every text of the command line.
struct CliHelpTexts
{
    const QString usage = QStringLiteral("Usage: scorewright-cli %1 %2");
    const QString help = QStringLiteral("Show this help and exit.");

    const QString importSummary = QStringLiteral(
        "Reads every XML report under the directories and writes them as one database.");
    const QString importOut =
        QStringLiteral("Write the database to OUT.swb ('-': standard output).");
    const QString importInto =
        QStringLiteral("Add the reports to the matches of IN.swb (which may be OUT.swb itself).");

    const QString infoSummary =
        QStringLiteral("Prints the number of matches, their dates and the tournaments.");

    const QString pageSummary = QStringLiteral(
        "Writes one page. PAGE is a page link such as ta01_ or ta02_TEAM, or a short name\n"
        "(see scorewright-cli --help).");
    const QString pageTournament = QStringLiteral("Only the matches of tournament NAME.");
    const QString pageRound = QStringLiteral("Only the matches of round NAME.");
    const QString pageUpToRound =
        QStringLiteral("The matches of round NAME and of every round first played before it.");
    const QString pagePlayer =
        QStringLiteral("The player of 'career': his name, or with --consider-id his ID.");
    const QString pageFrom = QStringLiteral("Only the matches on or after this date.");
    const QString pageTill = QStringLiteral("Only the matches on or before this date.");
    const QString pageConsiderId =
        QStringLiteral("Tell people apart by their IDs instead of by name and team.");
    const QString pageMenuChoice = QStringLiteral("The choice of a page's menu, by its label.");
    const QString pageTeam = QStringLiteral("A team of head-to-head (given twice).");
    const QString pageFormat = QStringLiteral(
        "text (aligned, the default), csv (for spreadsheets), tsv or html (a web page with the "
        "caption).");
    const QString pageCaption =
        QStringLiteral("Start the text, csv or tsv output with the page's caption line.");
    const QString pageLinks = QStringLiteral("Add the link of each row as a last column.");
    const QString pageOut = QStringLiteral("Write to OUT instead of the standard output.");
    const QString pageRules = QStringLiteral(
        "Read the rules of the pages that count points from RULES instead of FILE.swb.rules.");
    const QString pagePoints = QStringLiteral("Points for a win, a draw and a loss, as 2-1-0.");
    const QString pageTieBreak = QStringLiteral(
        "What decides between teams level on points, comma-separated (see scorewright-cli "
        "--help).");

    const QString reportSummary = QStringLiteral(
        "Writes the report of one match, named by the file it was read from, as HTML.");
    const QString reportOut = QStringLiteral("Write to OUT.html instead of the standard output.");

    const QString exportSummary = QStringLiteral("Writes the whole database as XML reports or as "
                                                 "an SQLite database (at least one of them).");
    const QString exportXml = QStringLiteral("Write every match as an XML report into DIR.");
    const QString exportSqlite =
        QStringLiteral("Write the database as the SQLite file OUT.sqlite.");

    const QString importCsvSummary =
        QStringLiteral("Reads results files (one match a line) and writes them as one database.");
    const QString importCsvOut = QStringLiteral("Write the database to OUT.swb.");
    const QString importCsvInto = QStringLiteral("Add the matches to those of IN.swb.");
    const QString importCsvTournament = QStringLiteral(
        "The tournament of every match; {season} and {division} in NAME are replaced by the "
        "line's season and division (default: \"{division} {season}\").");
    const QString importCsvSeasonStart = QStringLiteral(
        "The day the seasons start (default 07-01, seasons named 2019/20; 01-01 names them "
        "2019).");
};

inline const CliHelpTexts &cliHelpTexts()
{
    static const CliHelpTexts table;
    return table;
}
