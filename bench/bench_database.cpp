// Database file benchmark: write and read times, file size and peak resident memory, on generated
// results-only matches and on full reports. Each read runs in a fresh child process, so that its
// peak memory is the reader's own.
//
//   bench_database [--results N] [--full N] [--runs R]
#include "bench/benchsupport.h"
#include "bench/generator.h"
#include "model/database.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;

namespace {

// The child: reads the file once and prints "<file ms> <decode ms> <matches> <VmRSS before>
// <VmHWM after>".
int readOnce(const QString &path)
{
    const qint64 before = bench::statusKb("VmRSS");
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    const double fileMs = timer.nsecsElapsed() / 1e6;
    timer.restart();
    MatchStore store;
    QDate from = emptyRangeFrom();
    QDate till = emptyRangeTill();
    if (!readDatabaseBytes(bytes, store, from, till).ok())
        return 1;
    const double decodeMs = timer.nsecsElapsed() / 1e6;
    bench::out() << fileMs << ' ' << decodeMs << ' ' << store.count() << ' ' << before << ' '
                 << bench::statusKb("VmHWM") << Qt::endl;
    return 0;
}

void measure(const QString &label, const GeneratorOptions &options, int runs,
             const QString &directory)
{
    MatchStore store;
    QDate from;
    QDate till;
    generateInto(options, store, from, till);
    const QString path = directory + u"/bench.swb"_s;

    const double writeMs = bench::bestOf(runs, [&] {
        if (!writeDatabase(path, store).ok())
            qFatal("cannot write %s", qPrintable(path));
    });
    const double megabytes = QFileInfo(path).size() / 1e6;

    double bestFile = 1e99;
    double bestDecode = 1e99;
    qint64 before = 0;
    qint64 peak = 0;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {u"--read"_s, path});
        child.waitForFinished(-1);
        const QList<QByteArray> f = child.readAllStandardOutput().simplified().split(' ');
        if (child.exitCode() != 0 || f.size() != 5)
            qFatal("the reading child failed");
        const double total = f.at(0).toDouble() + f.at(1).toDouble();
        if (total < bestFile + bestDecode) {
            bestFile = f.at(0).toDouble();
            bestDecode = f.at(1).toDouble();
        }
        before = f.at(3).toLongLong();
        peak = std::max(peak, f.at(4).toLongLong());
    }
    const double readMs = bestFile + bestDecode;
    bench::out() << label << ": " << store.count() << " matches, file " << megabytes << " MB\n"
                 << "  write " << writeMs << " ms (" << megabytes / writeMs * 1000 << " MB/s)\n"
                 << "  read  " << readMs << " ms (" << megabytes / readMs * 1000 << " MB/s): file "
                 << bestFile << " ms, decoding " << bestDecode << " ms\n"
                 << "  peak resident after reading " << peak / 1024 << " MB (before reading "
                 << before / 1024 << " MB)" << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == u"--read"_s)
        return readOnce(args.at(2));

    const int runs = int(bench::option(args, u"--runs"_s, 3));
    QTemporaryDir directory;
    bench::out().setRealNumberPrecision(4);
    bench::out() << "machine: " << bench::machine() << "\nbest of " << runs << " runs\n";

    GeneratorOptions results;
    results.matches = bench::option(args, u"--results"_s, 200000);
    results.fullReports = false;
    if (results.matches > 0)
        measure(u"results only"_s, results, runs, directory.path());

    GeneratorOptions full;
    full.matches = bench::option(args, u"--full"_s, 50000);
    if (full.matches > 0)
        measure(u"full reports"_s, full, runs, directory.path());
    return 0;
}
