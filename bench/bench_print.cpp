// The print benchmark: the matches page of generated results as a PDF, the header on every page,
// and one match report on one page.
//
//   QT_QPA_PLATFORM=offscreen bench_print [--matches N] [--runs R] [-o OUT.pdf]
//
// Reports the pages and the time of laying out and writing the PDF in memory.
#include "app/printing.h"
#include "bench/benchsupport.h"
#include "generator/generator.h"
#include "pages/builders.h"
#include "pages/matchreport.h"
#include "pages/pagerunner.h"
#include "pages/tabledata.h"
#include "pages/textexport.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    GeneratorOptions options;
    options.matches = bench::option(args, u"--matches"_s, 12000);
    options.fullReports = false;
    options.faults = false; // every match dated, so every one is a row
    MatchStore store;
    generateInto(options, store);
    MatchFilter filter;
    filter.from = QDate(1, 1, 1);
    filter.till = QDate(9999, 12, 31);
    TableData table;
    runPage(store, filter, calculateMatches, PageParams(), table);
    const TableSnapshot snapshot = snapshotOf(table);
    const QString caption = u"Матчи — все турниры"_s;

    const int runs = int(bench::option(args, u"--runs"_s, 3));
    int pages = 0;
    QByteArray pdf;
    const bench::Timing timing =
        bench::bestOf(runs, [&] { pdf = tablePdf(caption, snapshot, &pages); });

    GeneratorOptions one;
    one.matches = 1;
    MatchStore reportStore;
    generateInto(one, reportStore);
    QTextDocument report;
    report.setHtml(matchReportHtml(*reportStore.matches().constFirst(), ReportScore::Full));
    QByteArray reportPdf;
    const bench::Timing reportTiming =
        bench::bestOf(runs, [&] { reportPdf = documentPdf(report, u"report"_s); });

    const int at = args.indexOf(u"-o"_s);
    if (at > 0 && at + 1 < args.size()) {
        QFile out(args.at(at + 1));
        if (out.open(QIODevice::WriteOnly))
            out.write(pdf);
    }
    bench::out() << "machine: " << bench::machine() << "\nbest of " << runs
                 << " runs; wall clock [processor time]\n"
                 << "matches page, " << snapshot.rows.size() << " rows: " << pages << " pages, "
                 << pdf.size() / 1024 << " KiB of PDF in " << timing.wallMs << " ms ["
                 << timing.cpuMs << " ms]\n"
                 << "a full match report: " << reportPdf.count("/Type /Page\n") << " page, "
                 << reportTiming.wallMs << " ms [" << reportTiming.cpuMs << " ms]\n";
    return 0;
}
