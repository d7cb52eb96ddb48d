// import-csv FILE.csv... -o OUT.swb [--into IN.swb] [--tournament NAME]
#include "cli/clihelptexts.h"
#include "cli/clitexts.h"
#include "cli/commands/command.h"
#include "cli/commands/common.h"
#include "formats/csvimport.h"
#include "formats/database.h"
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
    if (outputIsAnInput(out, args.positional()))
        return ExitFailure;
    MatchStore store;
    if (args.has(u"into"_s) && !openDatabase(args.value(u"into"_s), store))
        return ExitFailure;
    CsvImportOptions options;
    options.tournament = args.value(u"tournament"_s);

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
    const DatabaseResult written = writeDatabase(out, store);
    if (!written.ok())
        return failure(databaseMessage(written, out));
    QTextStream(stdout) << t.cliCsvDone.arg(
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
        u"FILE.csv... -o OUT.swb [--into IN.swb] [--tournament NAME]"_s,
        h.importCsvSummary,
        {QCommandLineOption(u"o"_s, h.importCsvOut, u"OUT.swb"_s),
         QCommandLineOption(u"into"_s, h.importCsvInto, u"IN.swb"_s),
         QCommandLineOption(u"tournament"_s, h.importCsvTournament, u"NAME"_s)},
        run};
    return command;
}
