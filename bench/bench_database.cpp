// Database file benchmark: write and read times, file size and peak resident memory, on generated
// results-only matches and on full reports. Each read runs in a fresh child process, so that its
// peak memory is the reader's own. Times are wall clock, with the processor time in brackets.
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

// The child: reads the file once and prints the wall and processor milliseconds of reading the
// bytes and of decoding them, the matches read, VmRSS before and VmHWM after, in kB.
int readOnce(const QString &path)
{
    const qint64 before = bench::statusKb("VmRSS");
    QByteArray bytes;
    const bench::Timing file = bench::bestOf(1, [&] {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            bytes = f.readAll();
    });
    MatchStore store;
    bool ok = false;
    const bench::Timing decode = bench::bestOf(1, [&] {
        QDate from = emptyRangeFrom();
        QDate till = emptyRangeTill();
        ok = readDatabaseBytes(bytes, store, from, till).ok();
    });
    if (!ok)
        return 1;
    bench::out() << file.wallMs << ' ' << file.cpuMs << ' ' << decode.wallMs << ' ' << decode.cpuMs
                 << ' ' << store.count() << ' ' << before << ' ' << bench::statusKb("VmHWM")
                 << Qt::endl;
    return 0;
}

QString rate(double megabytes, const bench::Timing &t)
{
    return u"%1 ms [%2 ms], %3 MB/s [%4 MB/s]"_s.arg(t.wallMs, 0, 'f', 0)
        .arg(t.cpuMs, 0, 'f', 0)
        .arg(megabytes / t.wallMs * 1000, 0, 'f', 0)
        .arg(megabytes / t.cpuMs * 1000, 0, 'f', 0);
}

void measure(const QString &label, const GeneratorOptions &options, int runs,
             const QString &directory)
{
    MatchStore store;
    QDate from;
    QDate till;
    generateInto(options, store, from, till);
    const QString path = directory + u"/bench.swb"_s;

    const bench::Timing write = bench::bestOf(runs, [&] {
        if (!writeDatabase(path, store).ok())
            qFatal("cannot write %s", qPrintable(path));
    });
    const double megabytes = QFileInfo(path).size() / 1e6;

    bench::Timing read;
    bench::Timing file;
    bench::Timing decode;
    qint64 before = 0;
    qint64 peak = 0;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {u"--read"_s, path});
        child.waitForFinished(-1);
        const QList<QByteArray> f = child.readAllStandardOutput().simplified().split(' ');
        if (child.exitCode() != 0 || f.size() != 7)
            qFatal("the reading child failed");
        const double wall = f.at(0).toDouble() + f.at(2).toDouble();
        const double cpu = f.at(1).toDouble() + f.at(3).toDouble();
        if (cpu < read.cpuMs) {
            file = {f.at(0).toDouble(), f.at(1).toDouble()};
            decode = {f.at(2).toDouble(), f.at(3).toDouble()};
        }
        read.wallMs = std::min(read.wallMs, wall);
        read.cpuMs = std::min(read.cpuMs, cpu);
        before = f.at(5).toLongLong();
        peak = std::max(peak, f.at(6).toLongLong());
    }
    bench::out() << label << ": " << store.count() << " matches, file "
                 << QString::number(megabytes, 'f', 1) << " MB\n"
                 << "  write " << rate(megabytes, write) << "\n"
                 << "  read  " << rate(megabytes, read) << "\n"
                 << "        of which reading the bytes " << file.wallMs << " ms [" << file.cpuMs
                 << " ms], decoding " << decode.wallMs << " ms [" << decode.cpuMs << " ms]\n"
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
    bench::out() << "machine: " << bench::machine() << "\nbest of " << runs
                 << " runs; wall clock [processor time]\n";

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
