// XML import benchmark: files per second over a directory of generated reports, warm cache (the
// first pass only warms it). For comparison it also times the bare directory walk with reading
// every file's bytes, which no parser can beat.
//
//   bench_import [--files N] [--runs R] [--keep DIR]
#include "bench/benchsupport.h"
#include "formats/xmlimport.h"
#include "generator/generator.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int runs = int(bench::option(args, u"--runs"_s, 3));
    GeneratorOptions options;
    options.matches = bench::option(args, u"--files"_s, 10000);

    QTemporaryDir temporary;
    const qsizetype keep = args.indexOf(u"--keep"_s);
    const QString directory =
        keep > 0 && keep + 1 < args.size() ? args.at(keep + 1) : temporary.path();
    QString error;
    if (!writeReports(generateMatches(options), directory, &error))
        qFatal("%s", qPrintable(error));

    qsizetype files = 0;
    qsizetype matches = 0;
    const auto import = [&] {
        MatchStore store;
        const ImportResult result = importDirectory(directory, store);
        files = result.files;
        matches = result.matches;
    };
    import(); // warms the cache
    const bench::Timing importTime = bench::bestOf(runs, import);

    qint64 bytes = 0;
    const bench::Timing walkTime = bench::bestOf(runs, [&] {
        bytes = 0;
        QDirIterator it(directory, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly))
                bytes += file.readAll().size();
        }
    });

    bench::out().setRealNumberPrecision(4);
    bench::out() << "machine: " << bench::machine() << "\nbest of " << runs
                 << " runs after one warm-up; wall clock [processor time]\n"
                 << "import: " << files << " files, " << matches << " matches, " << bytes / 1e6
                 << " MB in " << importTime.wallMs << " ms [" << importTime.cpuMs
                 << " ms]: " << int(files / importTime.wallMs * 1000) << " files/s ["
                 << int(files / importTime.cpuMs * 1000) << " files/s]\n"
                 << "walk and read the bytes only: " << walkTime.wallMs << " ms [" << walkTime.cpuMs
                 << " ms]: " << int(files / walkTime.wallMs * 1000) << " files/s ["
                 << int(files / walkTime.cpuMs * 1000) << " files/s]" << Qt::endl;
    return 0;
}
