#include "cli/cli.h"
#include "formats/sqliteexport.h"

#include "cli/clitexts.h"

#include "formats/csvimport.h"
#include "formats/database.h"
#include "formats/fileio.h"
#include "formats/xmlexport.h"
#include "formats/xmlimport.h"
#include "model/competitionrules.h"
#include "model/importbatch.h"
#include "pages/analysis.h"
#include "pages/builders.h"
#include "pages/matchreport.h"
#include "pages/pagecodes.h"
#include "pages/statpages.h"
#include "pages/tabledata.h"
#include "pages/textexport.h"
#include "strings/texts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

bool stderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

void message(const QString &text)
{
    QTextStream err(stderr);
    err << text;
}

int failure(const QString &text)
{
    message(cliTexts().cliError.arg(text));
    return ExitFailure;
}

int usageError(const QString &text)
{
    message(cliTexts().cliError.arg(text) + cliTexts().cliHelpHint);
    return ExitUsage;
}

// The command line after the command word: positional arguments and the options given, with the
// values of those that take one. Options may stand anywhere; "--" ends them.
struct Arguments
{
    QStringList positional;
    QMap<QString, QString> options;
    QStringList teams; // every --team, in order

    bool has(const QString &name) const { return options.contains(name); }
    QString value(const QString &name) const { return options.value(name); }
};

const QStringList valueOptions = {u"-o"_s,     u"--into"_s,        u"--tournament"_s, u"--from"_s,
                                  u"--till"_s, u"--menu-choice"_s, u"--format"_s,     u"--round"_s,
                                  u"--team"_s, u"--up-to-round"_s, u"--player"_s};
// The outputs of 'export', one option per kind of output, each naming the place to write to.
const QStringList exportOutputs = {u"--xml"_s, u"--sqlite"_s};
const QStringList flagOptions = {u"--consider-id"_s, u"--links"_s};
// The options of the competition rules, which only the standings use.
const QStringList rulesOptions = {u"--rules"_s, u"--points"_s, u"--tiebreak"_s};

// Parses arguments for command, accepting only the options in allowed; returns the exit code of a
// usage error, or ExitOk.
int parseArguments(const QStringList &arguments, const QString &command, const QStringList &allowed,
                   Arguments &out)
{
    const CliTexts &t = cliTexts();
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(u'-') || argument == u"-"_s) {
            out.positional.append(argument);
            continue;
        }
        if (argument == u"--"_s) {
            optionsEnded = true;
            continue;
        }
        QString name = argument;
        QString value;
        bool inlineValue = false;
        const qsizetype equals = argument.indexOf(u'=');
        if (argument.startsWith(u"--"_s) && equals > 0) {
            name = argument.left(equals);
            value = argument.mid(equals + 1);
            inlineValue = true;
        }
        const bool takesValue = valueOptions.contains(name) || rulesOptions.contains(name) ||
                                exportOutputs.contains(name);
        if (!takesValue && !flagOptions.contains(name))
            return usageError(t.cliUnknownOption.arg(name));
        if (!allowed.contains(name))
            return usageError(t.cliOptionNotHere.arg(name, command));
        if (takesValue && !inlineValue) {
            if (i + 1 >= arguments.size())
                return usageError(t.cliMissingValue.arg(name));
            value = arguments.at(++i);
        } else if (!takesValue && inlineValue) {
            return usageError(t.cliUnexpectedValue.arg(name));
        }
        out.options.insert(name, value);
        if (name == u"--team"_s)
            out.teams.append(value);
    }
    return ExitOk;
}

// A message for a database that could not be read or written.
QString databaseMessage(const DatabaseResult &result, const QString &path)
{
    const CliTexts &t = cliTexts();
    switch (result.status) {
    case DatabaseResult::Ok:
        break;
    case DatabaseResult::CannotOpen:
        return t.cliCannotOpen.arg(path, result.systemError);
    case DatabaseResult::NotDatabase:
        return t.cliNotDatabase.arg(path);
    case DatabaseResult::UnsupportedVersion:
        return t.cliUnsupportedVersion.arg(path, QString::number(result.version));
    case DatabaseResult::Damaged:
        if (result.endsEarly)
            return t.cliCutShort.arg(path, QString::number(result.announced),
                                     QString::number(result.complete),
                                     QString::number(result.offset));
        return t.cliDamaged.arg(path, QString::number(result.offset));
    case DatabaseResult::NotRegularFile:
        return t.cliNotRegular.arg(path);
    case DatabaseResult::ChangedWhileReading:
        return t.cliChanged.arg(path);
    case DatabaseResult::CannotWrite:
        return t.cliCannotWrite.arg(path, result.systemError);
    }
    return QString();
}

// The store a command reads its database into. It lives as long as the process, whose end frees
// it at once: destroying a large store record by record took a tenth of a page's run.
MatchStore &lastingStore()
{
    static MatchStore *store = new MatchStore;
    return *store;
}

// Reads path into store; a failure is reported.
bool openDatabase(const QString &path, MatchStore &store)
{
    const DatabaseResult result = readDatabase(path, store);
    if (!result.ok()) {
        failure(databaseMessage(result, path));
        return false;
    }
    return true;
}

// True when -o names standard output: no option, or "-".
bool isStdout(const QString &path)
{
    return path.isEmpty() || path == u"-"_s;
}

// An output that is the same file as one of the inputs would destroy it: refused up front, with
// the input untouched.
bool outputIsAnInput(const QString &out, const QStringList &inputs)
{
    if (isStdout(out))
        return false;
    for (const QString &input : inputs) {
        if (sameFile(out, input)) {
            failure(cliTexts().cliSameFile.arg(out));
            return true;
        }
    }
    return false;
}

// Writes bytes to path (see writeFileSafely: a regular file is replaced atomically, a device or
// pipe written in place), or to stdout for "-" or no path.
int writeOutput(const QByteArray &bytes, const QString &path)
{
    if (isStdout(path)) {
        if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) !=
                size_t(bytes.size()) ||
            std::fflush(stdout) != 0)
            return failure(cliTexts().cliCannotWrite.arg(u"stdout"_s, qt_error_string()));
        return ExitOk;
    }
    const SystemError error = writeFileSafely(path, bytes);
    if (error.isError())
        return failure(cliTexts().cliCannotWrite.arg(path, error.text));
    return ExitOk;
}

QDate parseDate(const QString &text)
{
    static const QRegularExpression form(u"^\\d{4}-\\d{2}-\\d{2}$"_s);
    if (!form.match(text).hasMatch())
        return QDate();
    return QDate::fromString(text, u"yyyy-MM-dd"_s);
}

int import(const QStringList &arguments)
{
    const CliTexts &t = cliTexts();
    Arguments args;
    if (const int code = parseArguments(arguments, u"import"_s, {u"-o"_s, u"--into"_s}, args))
        return code;
    const QString out = args.value(u"-o"_s);
    if (args.positional.isEmpty() || out.isEmpty())
        return usageError(t.cliWrongArguments.arg(u"import"_s, t.cliImportArguments));
    for (const QString &directory : std::as_const(args.positional)) {
        if (!QFileInfo(directory).isDir())
            return failure(t.cliNotDirectory.arg(directory));
    }
    // Fail before a long import when the output cannot be written at all. Updating the database
    // named by --into in place is allowed: the write replaces it atomically.
    const QFileInfo outInfo(out);
    if (!isStdout(out) && (outInfo.isDir() || !QFileInfo(outInfo.absolutePath()).isDir()))
        return failure(
            t.cliCannotWrite.arg(out, qt_error_string(outInfo.isDir() ? EISDIR : ENOENT)));

    MatchStore store;
    if (args.has(u"--into"_s) && !openDatabase(args.value(u"--into"_s), store))
        return ExitFailure;

    // A progress line only where someone watches it.
    const bool terminal = stderrIsTerminal();
    QElapsedTimer shown;
    shown.start();
    qsizetype filesBefore = 0;
    const ImportProgress progress = [&](qsizetype files) {
        if (terminal && shown.elapsed() >= 100) {
            message(t.cliImportProgress.arg(filesBefore + files));
            shown.restart();
        }
    };

    QElapsedTimer timer;
    timer.start();
    ImportResult total;
    for (const QString &directory : std::as_const(args.positional)) {
        const ImportResult result = importDirectory(directory, store, progress);
        for (const auto &[name, error] : result.unreadable)
            message(t.cliWarning.arg(t.cliCannotOpen.arg(
                directory + u'/' + name, error ? qt_error_string(error) : t.cliNotRegularReason)));
        if (result.matches == 0 && result.duplicates == 0 && result.unreadable.isEmpty())
            message(t.cliWarning.arg(t.cliNoReports.arg(directory)));
        total.files += result.files;
        total.matches += result.matches;
        total.duplicates += result.duplicates;
        filesBefore = total.files;
    }
    const qint64 elapsed = timer.elapsed();
    if (terminal)
        message(u"\r\x1b[K"_s);

    if (isStdout(out)) {
        if (const int code = writeOutput(databaseBytes(store), out))
            return code;
    } else if (const DatabaseResult written = writeDatabase(out, store); !written.ok()) {
        return failure(databaseMessage(written, out));
    }
    // The summary goes where the database does not. One arg() call: a path holding "%5" must not
    // be taken for a placeholder.
    QTextStream summary(isStdout(out) ? stderr : stdout);
    summary << t.cliImportDone.arg(QString::number(total.files), QString::number(total.matches),
                                   QString::number(elapsed), out, QString::number(store.count()));
    if (total.duplicates > 0)
        summary << t.cliImportDuplicates.arg(total.duplicates);
    return ExitOk;
}

int info(const QStringList &arguments)
{
    const CliTexts &t = cliTexts();
    Arguments args;
    if (const int code = parseArguments(arguments, u"info"_s, {}, args))
        return code;
    if (args.positional.size() != 1)
        return usageError(t.cliWrongArguments.arg(u"info"_s, t.cliFileArgument));
    MatchStore &store = lastingStore();
    if (!openDatabase(args.positional.constFirst(), store))
        return ExitFailure;
    const DateSpan dates = store.dateSpan();

    qsizetype undated = 0;
    for (qsizetype i = 0; i < store.count(); ++i) {
        if (store.record(i).julianDay == 0)
            ++undated;
    }
    QString text = t.cliInfoMatches.arg(store.count());
    if (undated < store.count())
        text +=
            t.cliInfoDates.arg(dates.from.toString(Qt::ISODate), dates.till.toString(Qt::ISODate));
    else
        text += t.cliInfoNoDates;
    text += t.cliInfoUndated.arg(undated);
    const QStringList tournaments = store.tournamentNames();
    text += t.cliInfoTournaments.arg(tournaments.size());
    for (const QString &name : tournaments)
        text += name + u'\n';
    return writeOutput(text.toUtf8(), QString());
}

// The rules of tournament from the rules file at path (named by --rules, or the database's own);
// a file that cannot be used is a warning, and the standard rules apply.
CompetitionRules readRules(const QString &path, const QString &tournament, bool named)
{
    const CliTexts &t = cliTexts();
    RuleBook book;
    const RulesFileResult result = readRulesFile(path, book);
    QString reason;
    switch (result.status) {
    case RulesFileResult::Ok:
        break;
    case RulesFileResult::Missing:
        // Only a file named by --rules is missed.
        if (named)
            reason = t.cliRulesMissing;
        break;
    case RulesFileResult::CannotRead:
    case RulesFileResult::CannotWrite:
        reason = result.detail;
        break;
    case RulesFileResult::Malformed:
        reason = t.cliRulesMalformed.arg(result.detail);
        break;
    case RulesFileResult::UnknownCriterion:
        reason = t.cliRulesUnknownCriterion.arg(result.detail);
        break;
    case RulesFileResult::BadValue:
        reason = t.cliRulesBadValue.arg(result.detail);
        break;
    }
    if (!reason.isEmpty())
        message(t.cliWarning.arg(t.cliRulesWarning.arg(path, reason)));
    return book.rulesFor(tournament);
}

QString pageNames()
{
    QStringList names;
    for (const PageCodeEntry *entry : pageCodes()) {
        if (!entry->name.isEmpty())
            names.append(QString(entry->name));
    }
    return names.join(u", "_s);
}

int page(const QStringList &arguments)
{
    const CliTexts &t = cliTexts();
    Arguments args;
    if (const int code = parseArguments(
            arguments, u"page"_s,
            QStringList{u"--tournament"_s, u"--from"_s, u"--till"_s, u"--consider-id"_s,
                        u"--menu-choice"_s, u"--format"_s, u"--links"_s, u"-o"_s, u"--round"_s,
                        u"--team"_s, u"--up-to-round"_s, u"--player"_s} +
                rulesOptions,
            args))
        return code;
    if (args.positional.size() != 2)
        return usageError(t.cliWrongArguments.arg(u"page"_s, t.cliPageArguments));
    const QString &path = args.positional.at(0);
    const QString &link = args.positional.at(1);
    if (outputIsAnInput(args.value(u"-o"_s), {path, args.value(u"--rules"_s), rulesFilePath(path)}))
        return ExitFailure;

    // The page: a short name or a link as the window follows it.
    const PageCodeEntry *entry = findPageByName(link);
    QString argument;
    if (!entry) {
        const LinkParts parts = splitLink(link);
        if (parts.code.size() == 5)
            entry = findPageCode(parts.code);
        if (!entry)
            return usageError(t.cliUnknownPage.arg(link) + u'\n' + t.cliUsage.arg(pageNames()));
        argument = pageArgument(*entry, parts.argument);
    }
    if (entry->kind == PageKind::Report)
        return usageError(t.cliReportPage.arg(link, path, splitLink(link).argument));
    if (entry->builder == headToHead) {
        if (!args.teams.isEmpty())
            argument = args.teams.join(headToHeadSeparator);
        if (argument.count(headToHeadSeparator) != 1)
            return usageError(t.cliHeadToHeadTeams);
    } else if (!args.teams.isEmpty()) {
        return usageError(t.cliTeamNotHere);
    }
    // The career takes its player by --player: his name, or with --consider-id his ID.
    if (entry->builder == playerCareer || entry->builder == playerCareerById) {
        if (args.has(u"--player"_s)) {
            argument = args.value(u"--player"_s);
            if (args.has(u"--consider-id"_s))
                entry = findPageCode(QString(PageCode::CareerById));
        }
        if (argument.isEmpty())
            return usageError(t.cliCareerPlayer);
    } else if (args.has(u"--player"_s)) {
        return usageError(t.cliPlayerNotHere);
    }
    if (args.has(u"--round"_s) && args.has(u"--up-to-round"_s))
        return usageError(t.cliRoundTwice);
    if ((entry->kind == PageKind::FindPlayer || entry->kind == PageKind::FindCoach) &&
        argument.isEmpty())
        return usageError(t.cliEmptySearch.arg(QString(entry->code)));

    const QString format = args.has(u"--format"_s) ? args.value(u"--format"_s) : u"text"_s;
    if (format != u"text"_s && format != u"csv"_s && format != u"tsv"_s)
        return usageError(t.cliBadFormat.arg(format));
    QDate fromOption;
    QDate tillOption;
    for (const auto &[option, date] :
         {std::pair{u"--from"_s, &fromOption}, std::pair{u"--till"_s, &tillOption}}) {
        if (!args.has(option))
            continue;
        *date = parseDate(args.value(option));
        if (!date->isValid())
            return usageError(t.cliBadDate.arg(option, args.value(option)));
    }
    if (fromOption.isValid() && tillOption.isValid() && fromOption > tillOption)
        return usageError(t.cliFromAfterTill.arg(args.value(u"--from"_s), args.value(u"--till"_s)));

    CompetitionRules overrides;
    if (args.has(u"--points"_s) && !parsePoints(args.value(u"--points"_s), overrides))
        return usageError(t.cliBadPoints.arg(args.value(u"--points"_s)));
    QString badToken;
    if (args.has(u"--tiebreak"_s) &&
        !parseTieBreaks(args.value(u"--tiebreak"_s), overrides.tieBreaks, &badToken))
        return usageError(t.cliBadTieBreak.arg(badToken));

    MatchStore &store = lastingStore();
    MatchFilter filter;
    if (!openDatabase(path, store))
        return ExitFailure;
    filter.from = selectableRange(store).from;
    filter.till = selectableRange(store).till;
    if (store.isEmpty())
        return failure(t.cliNoMatches.arg(path));
    if (fromOption.isValid())
        filter.from = fromOption;
    if (tillOption.isValid())
        filter.till = tillOption;
    filter.tournament =
        args.has(u"--tournament"_s) ? args.value(u"--tournament"_s) : texts().allTournaments;
    if (!filter.allTournaments() && !store.tournamentNames().contains(filter.tournament))
        message(t.cliWarning.arg(t.cliNoTournament.arg(path, filter.tournament)));
    filter.considerId = args.has(u"--consider-id"_s);
    if (args.has(u"--round"_s))
        filter.round = args.value(u"--round"_s);
    if (args.has(u"--up-to-round"_s)) {
        filter.round = args.value(u"--up-to-round"_s);
        filter.upToRound = true;
    }

    PageParams params;
    params.menuChoice = args.value(u"--menu-choice"_s);
    params.argument = argument;
    params.considerId = filter.considerId;
    if (entry->builder == calculateTable) {
        const bool named = args.has(u"--rules"_s);
        params.rules = readRules(named ? args.value(u"--rules"_s) : rulesFilePath(path),
                                 filter.tournament, named);
        if (args.has(u"--points"_s)) {
            params.rules.win = overrides.win;
            params.rules.draw = overrides.draw;
            params.rules.loss = overrides.loss;
        }
        if (args.has(u"--tiebreak"_s))
            params.rules.tieBreaks = overrides.tieBreaks;
    }
    // The table and its snapshot last as long as the process, as the store does: freeing tens of
    // thousands of cells one by one only delays the exit.
    static TableData *const lastingTable = new TableData;
    static TableSnapshot *const lastingSnapshot = new TableSnapshot;
    TableData &table = *lastingTable;
    runPage(store, filter, entry->builder, params, table);

    TableSnapshot &snapshot = *lastingSnapshot;
    snapshot = snapshotOf(table, args.has(u"--links"_s));
    const QString text = format == u"csv"_s   ? exportCsv(snapshot)
                         : format == u"tsv"_s ? exportTsv(snapshot)
                                              : exportText(snapshot);
    return writeOutput(text.toUtf8(), args.value(u"-o"_s));
}

int report(const QStringList &arguments)
{
    const CliTexts &t = cliTexts();
    Arguments args;
    if (const int code = parseArguments(arguments, u"report"_s, {u"-o"_s}, args))
        return code;
    if (args.positional.size() != 2)
        return usageError(t.cliWrongArguments.arg(u"report"_s, t.cliReportArguments));
    const QString &path = args.positional.at(0);
    const QString &fileName = args.positional.at(1);
    if (outputIsAnInput(args.value(u"-o"_s), {path}))
        return ExitFailure;
    MatchStore &store = lastingStore();
    if (!openDatabase(path, store))
        return ExitFailure;
    const std::optional<Match> match = store.find(fileName);
    if (!match)
        return failure(t.cliUnknownMatch.arg(path, fileName));
    return writeOutput(matchReportHtml(**match).toUtf8(), args.value(u"-o"_s));
}

// export FILE.swb --xml DIR: one output option per kind of output, each written in turn.
int exportReports(const QStringList &arguments)
{
    const CliTexts &t = cliTexts();
    Arguments args;
    if (const int code = parseArguments(arguments, u"export"_s, exportOutputs, args))
        return code;
    const bool anyOutput = std::any_of(exportOutputs.cbegin(), exportOutputs.cend(),
                                       [&](const QString &o) { return !args.value(o).isEmpty(); });
    if (args.positional.size() != 1 || !anyOutput)
        return usageError(t.cliWrongArguments.arg(u"export"_s, t.cliExportArguments));
    const QString &path = args.positional.constFirst();
    if (args.has(u"--sqlite"_s) && outputIsAnInput(args.value(u"--sqlite"_s), {path}))
        return ExitFailure;
    MatchStore &store = lastingStore();
    if (!openDatabase(path, store))
        return ExitFailure;
    QList<Match> matches;
    matches.reserve(store.count());
    for (qsizetype i = 0; i < store.count(); ++i)
        matches.append(store.match(i));

    if (args.has(u"--xml"_s)) {
        const QString directory = args.value(u"--xml"_s);
        const XmlExportResult result = exportXmlReports(matches, directory);
        for (const QString &name : result.altered)
            message(t.cliWarning.arg(t.cliExportAltered.arg(name)));
        if (!result.ok())
            return failure(t.cliCannotWrite.arg(result.failedPath, result.systemError));
        QTextStream(stdout) << t.cliExportDone.arg(QString::number(result.written), directory);
    }
    if (args.has(u"--sqlite"_s)) {
        const QString to = args.value(u"--sqlite"_s);
        const bool terminal = stderrIsTerminal();
        QElapsedTimer timer;
        timer.start();
        QElapsedTimer shown;
        shown.start();
        const ExportProgress progress = [&](qsizetype done, qsizetype total) {
            if (!terminal)
                return;
            if (total == 0)
                message(t.cliExportIndexing.arg(to));
            else if (shown.elapsed() >= 100)
                message(t.cliExportProgress.arg(to).arg(done).arg(total));
            else
                return;
            shown.restart();
        };
        const QString error = exportSqlite(store, to, progress);
        if (terminal)
            message(u"\r\x1b[K"_s);
        if (!error.isEmpty())
            return failure(t.cliCannotWrite.arg(to, error));
        QTextStream(stdout) << t.cliSqliteDone.arg(QString::number(store.count()), to,
                                                   QString::number(timer.elapsed()));
    }
    return ExitOk;
}

QString csvMissingText(unsigned missing)
{
    const CliTexts &t = cliTexts();
    QStringList names;
    for (const auto &[flag, name] : {std::pair{CsvMissingDate, &t.cliCsvMissingDate},
                                     std::pair{CsvMissingHomeTeam, &t.cliCsvMissingHome},
                                     std::pair{CsvMissingAwayTeam, &t.cliCsvMissingAway},
                                     std::pair{CsvMissingGoals, &t.cliCsvMissingGoals}}) {
        if (missing & flag)
            names.append(*name);
    }
    return names.join(u", "_s);
}

QString csvRefusalText(const CsvLineProblem &problem)
{
    const CliTexts &t = cliTexts();
    switch (problem.reason) {
    case CsvRefusal::BadDate:
        return t.cliCsvBadDate.arg(problem.text);
    case CsvRefusal::NoHomeTeam:
        return t.cliCsvNoHome;
    case CsvRefusal::NoAwayTeam:
        return t.cliCsvNoAway;
    case CsvRefusal::BadGoals:
        return t.cliCsvBadGoals.arg(problem.text);
    case CsvRefusal::UnclosedQuote:
        break;
    }
    return t.cliCsvUnclosedQuote;
}

int importCsv(const QStringList &arguments)
{
    const CliTexts &t = cliTexts();
    Arguments args;
    if (const int code = parseArguments(arguments, u"import-csv"_s,
                                        {u"-o"_s, u"--into"_s, u"--tournament"_s}, args))
        return code;
    const QString out = args.value(u"-o"_s);
    if (args.positional.isEmpty() || out.isEmpty())
        return usageError(t.cliWrongArguments.arg(u"import-csv"_s, t.cliImportCsvArguments));
    // Updating the database named by --into in place is allowed: it is replaced atomically.
    if (outputIsAnInput(out, args.positional))
        return ExitFailure;
    MatchStore store;
    if (args.has(u"--into"_s) && !openDatabase(args.value(u"--into"_s), store))
        return ExitFailure;
    CsvImportOptions options;
    options.tournament = args.value(u"--tournament"_s);

    ImportBatch batch(store);
    qsizetype lines = 0;
    qsizetype refused = 0;
    for (const QString &path : std::as_const(args.positional)) {
        const CsvImportResult result = importCsvFile(path, batch, options);
        if (!result.opened)
            return failure(t.cliCannotOpen.arg(
                path, result.systemError.isEmpty() ? t.cliNotRegularReason : result.systemError));
        if (result.missing != CsvMissingNothing)
            return failure(t.cliCsvMissing.arg(path, csvMissingText(result.missing)));
        QString problems;
        for (const CsvLineProblem &problem : result.refused)
            problems +=
                t.cliCsvLine.arg(path, QString::number(problem.line), csvRefusalText(problem));
        message(problems);
        lines += result.lines;
        refused += result.refused.size();
    }
    const DatabaseResult written = writeDatabase(out, store);
    if (!written.ok())
        return failure(databaseMessage(written, out));
    QTextStream(stdout) << t.cliCsvDone.arg(
        QString::number(lines), QString::number(batch.added()), QString::number(batch.duplicates()),
        QString::number(refused), out, QString::number(store.count()));
    return ExitOk;
}

} // namespace

int runCli(const QStringList &arguments)
{
    const CliTexts &t = cliTexts();
    if (arguments.isEmpty()) {
        message(t.cliError.arg(t.cliNoCommand) + t.cliUsage.arg(pageNames()));
        return ExitUsage;
    }
    const QString &command = arguments.constFirst();
    const QStringList rest = arguments.mid(1);
    if (command == u"--help"_s || command == u"-h"_s || command == u"help"_s) {
        QTextStream(stdout) << t.cliUsage.arg(pageNames()) << t.cliRulesHelp;
        return ExitOk;
    }
    if (command == u"--version"_s) {
        QTextStream(stdout) << t.cliVersion.arg(QStringLiteral(SCOREWRIGHT_VERSION));
        return ExitOk;
    }
    if (command == u"import"_s)
        return import(rest);
    if (command == u"info"_s)
        return info(rest);
    if (command == u"page"_s)
        return page(rest);
    if (command == u"report"_s)
        return report(rest);
    if (command == u"export"_s)
        return exportReports(rest);
    if (command == u"import-csv"_s)
        return importCsv(rest);
    return usageError(t.cliUnknownCommand.arg(command));
}
