// Page benchmark: every page of the dispatch table (accumulate phase and emit into a TableData)
// over generated results-only matches and over full reports, or over a database file, with the
// selection the window starts with (every tournament, the whole date range). Generated matches are
// written to the database format and read back, so that the pages run over the store the program
// has after opening a file.
//
//   bench_pages [--results N] [--full N] [--runs R] [--page NAME] [--file PATH]
#include "bench/benchsupport.h"
#include "formats/database.h"
#include "generator/generator.h"
#include "pages/pagecodes.h"
#include "pages/statpages.h"
#include "pages/tabledata.h"
#include "strings/texts.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

namespace {

void measure(const QString &label, const MatchStore &store, int runs, const QString &only)
{
    MatchFilter filter;
    filter.from = selectableRange(store).from;
    filter.till = selectableRange(store).till;
    filter.tournament = texts().allTournaments;

    bench::out() << label << ", " << store.count() << " matches:\n";
    for (const PageCodeEntry *entry : pageCodes()) {
        if (entry->name.isEmpty() || (!only.isEmpty() && entry->name != only))
            continue;
        qint64 bestAccumulate = std::numeric_limits<qint64>::max();
        int rows = 0;
        // The career is of the first player of the first match's home line-up.
        PageParams params;
        if (entry->builder == playerCareer && !store.isEmpty() && !store.at(0).players1.isEmpty())
            params.argument = store.at(0).players1.at(0).name;
        const bench::Timing total = bench::bestOf(runs, [&] {
            TableData table;
            const PageRun run =
                runPage(store, filter, entry->builder, params, table, {}, entry->merge);
            bestAccumulate = std::min(bestAccumulate, run.accumulateMs);
            rows = table.rowCount();
        });
        bench::out() << "  " << QString(entry->name).leftJustified(17) << ' '
                     << QString::number(total.wallMs, 'f', 1).rightJustified(8) << " ms ["
                     << QString::number(total.cpuMs, 'f', 1).rightJustified(7)
                     << " ms]  (accumulate " << bestAccumulate << " ms, " << rows << " rows)\n";
    }
    bench::out().flush();
}

MatchStore generated(const GeneratorOptions &options)
{
    MatchStore store;
    generateInto(options, store);
    const QByteArray bytes = databaseBytes(store);
    store.clear();
    if (!readDatabaseBytes(bytes, store).ok())
        qFatal("cannot read the database back");
    return store;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int runs = int(bench::option(args, u"--runs"_s, 3));
    const qsizetype at = args.indexOf(u"--page"_s);
    const QString only = at > 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
    bench::out() << "machine: " << bench::machine() << "\nbest of " << runs
                 << " runs; wall clock [processor time]; store read from the database format\n";

    const qsizetype file = args.indexOf(u"--file"_s);
    if (file > 0 && file + 1 < args.size()) {
        MatchStore store;
        if (!readDatabase(args.at(file + 1), store).ok())
            qFatal("cannot read %s", qPrintable(args.at(file + 1)));
        measure(args.at(file + 1), store, runs, only);
        return 0;
    }

    GeneratorOptions results;
    results.matches = bench::option(args, u"--results"_s, 200000);
    results.fullReports = false;
    if (results.matches > 0)
        measure(u"results only"_s, generated(results), runs, only);

    GeneratorOptions full;
    full.matches = bench::option(args, u"--full"_s, 50000);
    if (full.matches > 0)
        measure(u"full reports"_s, generated(full), runs, only);
    return 0;
}
