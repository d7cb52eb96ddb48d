// scorewright-gen: writes a generated set of XML match reports, or a database file, for tests,
// benchmarks and the demonstration database.
#include "formats/database.h"
#include "generator/generator.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

namespace {

const auto usage =
    u"usage: scorewright-gen [--seed N] [--matches N] [--seasons N] [--divisions N]\n"
    "                       [--teams N] [--first-year YYYY] [--results-only]\n"
    "                       [--no-faults] (DIR | --swb FILE)\n"
    "Writes invented match reports as XML files under DIR, or a database FILE.\n"_s;

int fail(const QString &message, int code)
{
    QTextStream(stderr) << "scorewright-gen: " << message << '\n';
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    GeneratorOptions options;
    QString directory;
    QString swb;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        const auto number = [&](auto &target, qint64 minimum) {
            if (i + 1 >= args.size())
                return false;
            bool ok = false;
            const qint64 value = args.at(++i).toLongLong(&ok);
            if (!ok || value < minimum || value > 100'000'000)
                return false;
            target = static_cast<std::remove_reference_t<decltype(target)>>(value);
            return true;
        };
        bool ok = true;
        if (arg == "--help"_L1) {
            QTextStream(stdout) << usage;
            return 0;
        } else if (arg == "--seed"_L1) {
            ok = number(options.seed, 0);
        } else if (arg == "--matches"_L1) {
            ok = number(options.matches, 0);
        } else if (arg == "--seasons"_L1) {
            ok = number(options.seasons, 0);
        } else if (arg == "--divisions"_L1) {
            ok = number(options.divisions, 0);
        } else if (arg == "--teams"_L1) {
            ok = number(options.teamsPerDivision, 2);
        } else if (arg == "--first-year"_L1) {
            ok = number(options.firstYear, 1801);
        } else if (arg == "--results-only"_L1) {
            options.fullReports = false;
        } else if (arg == "--no-faults"_L1) {
            options.faults = false;
        } else if (arg == "--swb"_L1) {
            ok = i + 1 < args.size();
            if (ok)
                swb = args.at(++i);
        } else if (arg.startsWith(u'-') || !directory.isEmpty()) {
            ok = false;
        } else {
            directory = arg;
        }
        if (!ok)
            return fail(u"bad argument %1\n"_s.arg(arg) + usage, 2);
    }
    if (directory.isEmpty() == swb.isEmpty())
        return fail(u"give either a directory or --swb FILE\n"_s + usage, 2);

    const QList<Match> matches = generateMatches(options);
    if (!swb.isEmpty()) {
        MatchStore store;
        for (const Match &match : matches)
            store.add(match);
        const DatabaseResult result = writeDatabase(swb, store);
        if (!result.ok())
            return fail(u"cannot write %1: %2"_s.arg(swb, result.systemError), 1);
    } else {
        QString error;
        if (!QDir().mkpath(directory) || !writeReports(matches, directory, &error))
            return fail(error.isEmpty() ? u"cannot create %1"_s.arg(directory) : error, 1);
    }
    QTextStream(stderr) << matches.size() << " matches\n";
    return 0;
}
