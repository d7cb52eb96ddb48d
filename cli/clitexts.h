#pragma once

#include <QString>

// Every text the command line writes: English, on stderr unless a command's output says
// otherwise. Numbers and names go in through the numbered placeholders with QString::arg.
struct CliTexts
{
    const QString cliUsage = QStringLiteral(
        "Usage:\n"
        "  scorewright-cli import DIR... -o OUT.swb [--into IN.swb]\n"
        "  scorewright-cli info FILE.swb\n"
        "  scorewright-cli page FILE.swb PAGE [--tournament NAME]\n"
        "                  [--round NAME | --up-to-round NAME]\n"
        "                  [--from YYYY-MM-DD] [--till YYYY-MM-DD] [--consider-id]\n"
        "                  [--menu-choice LABEL] [--team NAME --team NAME] [--player NAME]\n"
        "                  [--format text|csv|tsv|html] [--caption] [--links] [-o OUT]\n"
        "  scorewright-cli report FILE.swb MATCH-FILE-NAME [-o OUT.html]\n"
        "  scorewright-cli export FILE.swb --sqlite OUT.sqlite\n"
        "  scorewright-cli export FILE.swb --xml DIR\n"
        "  scorewright-cli import-csv FILE.csv... -o OUT.swb [--into IN.swb] [--tournament NAME]\n"
        "                  [--season-start MM-DD]\n"
        "  scorewright-cli delete FILE.swb MATCH-FILE-NAME... -o OUT.swb\n"
        "  scorewright-cli --help | --version\n"
        "\n"
        "PAGE is a page link such as ta01_ or ta02_TEAM, or one of: %1.\n"
        "fpl1_NAME and fco1_NAME show the players or coaches page for NAME only.\n"
        "head-to-head takes its two teams as --team A --team B (or the link hh01_A<TAB>B);\n"
        "form covers each team's last 5 matches, taf1_N its last N.\n"
        "career takes its player as --player NAME (with --consider-id, his ID).\n"
        "--up-to-round NAME selects that round and every round first played before it.\n"
        "Without --tournament, --from and --till a page covers every match with a date.\n");
    const QString cliVersion = QStringLiteral("scorewright-cli %1\n");
    const QString cliError = QStringLiteral("scorewright-cli: %1\n");
    const QString cliWarning = QStringLiteral("scorewright-cli: warning: %1\n");
    const QString cliHelpHint = QStringLiteral("Try 'scorewright-cli --help'.\n");
    const QString cliNoCommand = QStringLiteral("no command given");
    const QString cliUnknownCommand = QStringLiteral("unknown command '%1'");
    const QString cliUnknownOption = QStringLiteral("unknown option '%1'");
    const QString cliOptionNotHere = QStringLiteral("option %1 does not apply to '%2'");
    const QString cliMissingValue = QStringLiteral("option %1 needs a value");
    const QString cliUnexpectedValue = QStringLiteral("option %1 takes no value");
    const QString cliWrongArguments = QStringLiteral("'%1' takes %2");
    const QString cliImportArguments = QStringLiteral("one or more directories and -o OUT.swb");
    const QString cliFileArgument = QStringLiteral("one database file");
    const QString cliPageArguments = QStringLiteral("a database file and a page");
    const QString cliReportArguments = QStringLiteral("a database file and a match file name");
    const QString cliBadSeasonStart =
        QStringLiteral("--season-start '%1' is not a day of the year of the form MM-DD");
    const QString cliBadDate = QStringLiteral("%1 '%2' is not a date of the form YYYY-MM-DD");
    const QString cliFromAfterTill = QStringLiteral("--from %1 is later than --till %2");
    const QString cliBadFormat = QStringLiteral("unknown format '%1': use text, csv, tsv or html");
    const QString cliUnknownPage = QStringLiteral("unknown page '%1'");
    const QString cliReportPage =
        QStringLiteral("'%1' is the report of one match: use 'scorewright-cli report %2 %3'");
    const QString cliEmptySearch =
        QStringLiteral("'%1' needs the name to search for after the code, as in %1NAME");
    const QString cliNotDirectory = QStringLiteral("'%1' is not a directory");
    const QString cliCannotOpen = QStringLiteral("cannot read '%1': %2");
    const QString cliNotDatabase = QStringLiteral("'%1' is not a Scorewright database");
    const QString cliUnsupportedVersion =
        QStringLiteral("'%1' is a database of format version %2, which this program cannot read");
    const QString cliCutShort = QStringLiteral(
        "'%1' is damaged: it announces %2 matches but ends after %3 of them (reading stopped at "
        "byte %4)");
    const QString cliNotRegular = QStringLiteral("cannot read '%1': it is not a regular file");
    const QString cliNotRegularReason = QStringLiteral("not a regular file");
    const QString cliChanged =
        QStringLiteral("'%1' changed while it was being read: nothing was read, try again");
    const QString cliSameFile =
        QStringLiteral("'%1' is also an input of this command: writing it would destroy it");
    const QString cliDamaged = QStringLiteral("'%1' is damaged: it stops making sense at byte %2");
    const QString cliCannotWrite = QStringLiteral("cannot write '%1': %2");
    const QString cliNoMatches = QStringLiteral("'%1' holds no matches");
    const QString cliNoTournament = QStringLiteral("'%1' has no tournament named '%2'");
    const QString cliUnknownMatch = QStringLiteral("'%1' has no match from the file '%2'");
    const QString cliImportProgress = QStringLiteral("\rReading... %1 files");
    const QString cliImportDone =
        QStringLiteral("%1 files, %2 matches imported in %3 ms; '%4' holds %5 matches\n");
    const QString cliNoReports = QStringLiteral("no XML reports found under %1");
    const QString cliImportDuplicates =
        QStringLiteral("%1 reports skipped: the database holds the same match already\n");
    const QString cliInfoMatches = QStringLiteral("matches: %1\n");
    const QString cliInfoDates = QStringLiteral("dates: %1 .. %2\n");
    const QString cliInfoNoDates = QStringLiteral("dates: none\n");
    const QString cliInfoUndated = QStringLiteral("undated: %1\n");
    const QString cliInfoTournaments = QStringLiteral("tournaments: %1\n");
    const QString cliRulesHelp = QStringLiteral(
        "\n"
        "Standings follow the competition rules kept beside the database in FILE.swb.rules\n"
        "(see the README); without that file: 3-1-0, then goal difference, goals scored, name.\n"
        "  --rules RULES      read the rules from RULES instead\n"
        "  --points W-D-L     points for a win, a draw and a loss, as 2-1-0\n"
        "  --tiebreak LIST    what decides between teams level on points, comma-separated:\n"
        "                     diff (goal difference), average (goals scored / conceded),\n"
        "                     scored, away-scored, wins, h2h-points, h2h-diff, h2h-scored\n"
        "                     (head-to-head among the teams still level), name, points\n"
        "                     (points always decide first)\n");
    const QString cliRulesWarning =
        QStringLiteral("cannot use the rules in '%1': %2; using the standard rules");
    const QString cliRulesMissing = QStringLiteral("no such file");
    const QString cliRulesMalformed = QStringLiteral("not a rules file (%1)");
    const QString cliRulesUnknownCriterion = QStringLiteral("unknown tie-break '%1'");
    const QString cliRulesBadValue = QStringLiteral("bad value at %1");
    const QString cliBadPoints = QStringLiteral(
        "--points '%1' is not of the form WIN-DRAW-LOSS with numbers 0..99, as 2-1-0");
    const QString cliBadTieBreak = QStringLiteral(
        "--tiebreak: unknown criterion '%1'; use diff, average, scored, away-scored, wins, "
        "h2h-points, h2h-diff, h2h-scored, name or points");
    const QString cliHeadToHeadTeams =
        QStringLiteral("'head-to-head' needs two teams: --team NAME --team NAME");
    const QString cliTeamNotHere = QStringLiteral("--team applies to 'head-to-head' only");
    const QString cliCareerPlayer = QStringLiteral("'career' needs --player NAME");
    const QString cliPlayerNotHere = QStringLiteral("--player applies to 'career' only");
    const QString cliRoundTwice = QStringLiteral("give --round or --up-to-round, not both");
    const QString cliExportArguments = QStringLiteral("a database file and --xml DIR");
    const QString cliExportDone = QStringLiteral("%1 reports written to '%2'\n");
    const QString cliExportAltered =
        QStringLiteral("'%1': characters XML cannot hold were left out of its report");
    const QString cliImportCsvArguments = QStringLiteral("one or more CSV files and -o OUT.swb");
    const QString cliCsvMissing = QStringLiteral("'%1' has no column for: %2");
    const QString cliCsvMissingDate = QStringLiteral("date");
    const QString cliCsvMissingHome = QStringLiteral("home team");
    const QString cliCsvMissingAway = QStringLiteral("away team");
    const QString cliCsvMissingGoals = QStringLiteral("goals");
    const QString cliCsvLine = QStringLiteral("%1:%2: line refused: %3\n");
    const QString cliCsvBadDate = QStringLiteral("'%1' is not a date");
    const QString cliCsvNoHome = QStringLiteral("no home team");
    const QString cliCsvNoAway = QStringLiteral("no away team");
    const QString cliCsvBadGoals = QStringLiteral("'%1' is not a score");
    const QString cliCsvUnclosedQuote = QStringLiteral("a quoted cell runs to the end of the file");
    const QString cliCsvDone = QStringLiteral(
        "%1 lines read: %2 matches imported, %3 duplicates skipped, %4 refused; '%5' holds %6 "
        "matches\n");
    // The SQLite export
    const QString cliExportIndexing = QStringLiteral("\rWriting '%1'... indexing\x1b[K");
    const QString cliExportProgress = QStringLiteral("\rWriting '%1'... %2 of %3 matches");
    const QString cliNotRegularOutput =
        QStringLiteral("not a regular file; an SQLite database needs a file of its own");
    const QString cliSqliteDone = QStringLiteral("%1 matches written to '%2' in %3 ms\n");
};

inline const CliTexts &cliTexts()
{
    static const CliTexts table;
    return table;
}
