// import-csv FILE.csv... -o OUT.swb [--into IN.swb] [--tournament NAME] [--season-start MM-DD]
#include "cli/clihelptexts.h"
#include "cli/clitexts.h"
#include "cli/commands/command.h"
#include "cli/commands/common.h"
#include "cli/commands/databasewriting.h"
#include "formats/csvimport.h"
#include "formats/database.h"
#include "model/document.h"
#include "model/importbatch.h"

#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

namespace {

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

int run(const CommandLine &args)
{
    const CliTexts &t = cliTexts();
    const QString out = args.value(u"o"_s);
    if (args.positional().isEmpty() || out.isEmpty())
        return usageError(t.cliWrongArguments.arg(u"import-csv"_s, t.cliImportCsvArguments));
    // Updating the database named by --into in place is allowed: it is replaced atomically.
    std::optional<SeasonStart> seasonStart = SeasonStart();
    if (args.has(u"season-start"_s)) {
        seasonStart = parseSeasonStart(args.value(u"season-start"_s));
        if (!seasonStart)
            return usageError(t.cliBadSeasonStart.arg(args.value(u"season-start"_s)));
    }
    if (outputIsAnInput(out, args.positional()))
        return ExitFailure;
    // The output's lock is held from before --into is read until the output is written.
    DatabaseLock lock;
    if (!isStdout(out) && !lockForWriting(lock, out))
        return ExitFailure;
    Document document;
    MatchStore &store = document.store();
    if (args.has(u"into"_s) && !openDocument(args.value(u"into"_s), document))
        return ExitFailure;
    CsvImportOptions options;
    options.tournament = args.value(u"tournament"_s);
    options.seasonStart = *seasonStart;

    ImportBatch batch(store);
    qsizetype lines = 0;
    qsizetype refused = 0;
    for (const QString &path : args.positional()) {
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
    if (const int code = writeDocument(document, out))
        return code;
    // The summary goes where the database does not.
    QTextStream(isStdout(out) ? stderr : stdout) << t.cliCsvDone.arg(
        QString::number(lines), QString::number(batch.added()), QString::number(batch.duplicates()),
        QString::number(refused), out, QString::number(store.count()));
    return ExitOk;
}

} // namespace

const Command &importCsvCommand()
{
    const CliHelpTexts &h = cliHelpTexts();
    static const Command command{
        u"import-csv"_s,
        u"FILE.csv... -o OUT.swb [--into IN.swb] [--tournament NAME] [--season-start MM-DD]"_s,
        h.importCsvSummary,
        {QCommandLineOption(u"o"_s, h.importCsvOut, u"OUT.swb"_s),
         QCommandLineOption(u"into"_s, h.importCsvInto, u"IN.swb"_s),
         QCommandLineOption(u"tournament"_s, h.importCsvTournament, u"NAME"_s),
         QCommandLineOption(u"season-start"_s, h.importCsvSeasonStart, u"MM-DD"_s)},
        run};
    return command;
}
