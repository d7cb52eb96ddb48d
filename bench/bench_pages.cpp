// Page benchmark: every overview page (accumulate phase and emit into a TableData) over generated
// results-only matches and over full reports, with the selection the window starts with (every
// tournament, the whole date range).
//
//   bench_pages [--results N] [--full N] [--runs R] [--page NAME]
#include "bench/benchsupport.h"
#include "bench/generator.h"
#include "pages/pagecodes.h"
#include "pages/tabledata.h"
#include "strings/texts.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

namespace {

void measure(const QString &label, const GeneratorOptions &options, int runs, const QString &only)
{
    MatchStore store;
    MatchFilter filter;
    filter.from = emptyRangeFrom();
    filter.till = emptyRangeTill();
    generateInto(options, store, filter.from, filter.till);
    filter.tournament = texts().allTournaments;

    bench::out() << label << ", " << store.count() << " matches:\n";
    for (const PageCodeEntry *entry : pageCodes()) {
        if (entry->name.isEmpty() || (!only.isEmpty() && entry->name != only))
            continue;
        double bestAccumulate = 1e99;
        int rows = 0;
        const double total = bench::bestOf(runs, [&] {
            TableData table;
            const PageRun run = runPage(store, filter, entry->builder, PageParams(), table);
            bestAccumulate = std::min(bestAccumulate, double(run.accumulateMs));
            rows = table.rowCount();
        });
        bench::out() << "  " << QString(entry->name).leftJustified(17) << ' '
                     << QString::number(total, 'f', 1).rightJustified(8) << " ms  (accumulate "
                     << bestAccumulate << " ms, " << rows << " rows)\n";
    }
    bench::out().flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int runs = int(bench::option(args, u"--runs"_s, 3));
    const qsizetype at = args.indexOf(u"--page"_s);
    const QString only = at > 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
    bench::out() << "machine: " << bench::machine() << "\nbest of " << runs << " runs\n";

    GeneratorOptions results;
    results.matches = bench::option(args, u"--results"_s, 200000);
    results.fullReports = false;
    if (results.matches > 0)
        measure(u"results only"_s, results, runs, only);

    GeneratorOptions full;
    full.matches = bench::option(args, u"--full"_s, 50000);
    if (full.matches > 0)
        measure(u"full reports"_s, full, runs, only);
    return 0;
}
