// Database file benchmark: write and read times, file size and peak resident memory, on generated
// results-only matches and on full reports. Each read runs in a fresh child process, so that its
// peak memory is the reader's own. Times are wall clock, with the processor time in brackets.
//
//   bench_database [--results N] [--full N] [--runs R]
#include "bench/benchsupport.h"
#include "formats/database.h"
#include "generator/generator.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;

namespace {

// The child: reads the file once with the program's reader and prints the wall and processor
// milliseconds, the matches read, VmRSS before, VmHWM after and VmRSS after (the store and the
// program), in kB.
int readOnce(const QString &path)
{
    const qint64 before = bench::statusKb("VmRSS");
    MatchStore store;
    bool ok = false;
    const bench::Timing read = bench::bestOf(1, [&] { ok = readDatabase(path, store).ok(); });
    if (!ok)
        return 1;
    bench::out() << read.wallMs << ' ' << read.cpuMs << ' ' << store.count() << ' ' << before << ' '
                 << bench::statusKb("VmHWM") << ' ' << bench::statusKb("VmRSS") << Qt::endl;
    return 0;
}

QString rate(double megabytes, const bench::Timing &t)
{
    return u"%1 ms [%2 ms], %3 MB/s [%4 MB/s]"_s.arg(t.wallMs, 0, 'f', 0)
        .arg(t.cpuMs, 0, 'f', 0)
        .arg(megabytes / t.wallMs * 1000, 0, 'f', 0)
        .arg(megabytes / t.cpuMs * 1000, 0, 'f', 0);
}

struct ReadFigures
{
    bench::Timing read;
    qint64 before = 0;
    qint64 peak = 0;
    qint64 after = 0;
};

// Reads path in runs fresh child processes. With hugePages the child's malloc is asked to back its
// heap with transparent huge pages, which shows how much of the rest is page faults.
ReadFigures readInChildren(const QString &path, int runs, bool hugePages)
{
    ReadFigures figures;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        if (hugePages) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"GLIBC_TUNABLES"_s, u"glibc.malloc.hugetlb=1"_s);
            child.setProcessEnvironment(environment);
        }
        child.start(QCoreApplication::applicationFilePath(), {u"--read"_s, path});
        child.waitForFinished(-1);
        const QList<QByteArray> f = child.readAllStandardOutput().simplified().split(' ');
        if (child.exitCode() != 0 || f.size() != 6)
            qFatal("the reading child failed");
        figures.read.wallMs = std::min(figures.read.wallMs, f.at(0).toDouble());
        figures.read.cpuMs = std::min(figures.read.cpuMs, f.at(1).toDouble());
        figures.before = f.at(3).toLongLong();
        figures.peak = std::max(figures.peak, f.at(4).toLongLong());
        figures.after = std::max(figures.after, f.at(5).toLongLong());
    }
    return figures;
}

void printRead(const QString &label, double megabytes, const ReadFigures &f)
{
    const auto share = [megabytes](qint64 kb) {
        return QString::number(kb / 1e3 / megabytes, 'f', 2);
    };
    bench::out() << "  " << label << rate(megabytes, f.read) << "\n"
                 << "        resident: peak " << f.peak / 1024 << " MB (" << share(f.peak)
                 << "x the file), after reading " << f.after / 1024 << " MB (" << share(f.after)
                 << "x), before reading " << f.before / 1024 << " MB\n";
}

void measure(const QString &label, const GeneratorOptions &options, int runs,
             const QString &directory)
{
    MatchStore store;
    generateInto(options, store);
    const QString path = directory + u"/bench.swb"_s;

    const bench::Timing write = bench::bestOf(runs, [&] {
        if (!writeDatabase(path, store).ok())
            qFatal("cannot write %s", qPrintable(path));
    });
    const double megabytes = QFileInfo(path).size() / 1e6;
    bench::out() << label << ": " << store.count() << " matches, file "
                 << QString::number(megabytes, 'f', 1) << " MB\n"
                 << "  write " << rate(megabytes, write) << "\n";
    printRead(u"read  "_s, megabytes, readInChildren(path, runs, false));
    printRead(u"read with malloc on huge pages (GLIBC_TUNABLES=glibc.malloc.hugetlb=1): "_s,
              megabytes, readInChildren(path, runs, true));
    bench::out().flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == u"--read"_s)
        return readOnce(args.at(2));
    // bench_database --file PATH: the figures of reading an existing database file.
    if (args.size() == 4 && args.at(1) == u"--file"_s) {
        const QString path = args.at(2);
        const double megabytes = QFileInfo(path).size() / 1e6;
        printRead(u"read  "_s, megabytes, readInChildren(path, args.at(3).toInt(), false));
        return 0;
    }

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
