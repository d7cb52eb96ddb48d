// The window benchmark: the players page over 50,000 generated full reports as the user waits for
// it — the filter pass, the emit, filling the table widget and sorting it, and the paint after.
//
//   QT_QPA_PLATFORM=offscreen bench_window [--full N] [--runs R]
//
// The database is written to a temporary file and opened the way the program opens its last file;
// the settings live in a temporary directory, so the user's own are never touched.
#include "app/mainwindow.h"
#include "app/settings.h"
#include "bench/benchsupport.h"
#include "formats/database.h"
#include "generator/generator.h"

#include <QApplication>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char *argv[])
{
    QTemporaryDir directory;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(directory.path()));
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(AppSettings::Name);
    QCoreApplication::setApplicationName(AppSettings::Name);
    const QStringList args = app.arguments();

    GeneratorOptions full;
    full.matches = bench::option(args, u"--full"_s, 50000);
    MatchStore store;
    generateInto(full, store);
    const QString path = directory.path() + u"/bench.swb"_s;
    if (!writeDatabase(path, store).ok())
        qFatal("cannot write %s", qPrintable(path));
    AppSettings::open().setValue(AppSettings::DataKey, path);

    MainWindow window;
    window.show();
    QApplication::processEvents();
    const int runs = int(bench::option(args, u"--runs"_s, 3));
    const bench::Timing players = bench::bestOf(runs, [&] {
        window.callCalculatePlayers();
        QApplication::processEvents(); // the table paints
    });
    const QTableWidget *table = window.findChild<QTableWidget *>(u"table"_s);
    bench::out() << "machine: " << bench::machine() << "\nbest of " << runs
                 << " runs; wall clock [processor time]\n"
                 << "players page over " << window.matchStore().count() << " full reports, "
                 << (table ? table->rowCount() : 0) << " rows: " << players.wallMs << " ms ["
                 << players.cpuMs << " ms]\n";
    return 0;
}
