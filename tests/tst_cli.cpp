// scorewright-cli run as a separate process, and the match generator its fixtures come from.
#include "bench/generator.h"
#include "model/database.h"
#include "model/xmlimport.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Run
{
    int code = -1;
    QByteArray out;
    QString err;
};

Run runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(SCOREWRIGHT_CLI), arguments);
    Run run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.code = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

Match fixtureMatch(const QString &file, const QDate &date, const QString &tournament,
                   const QString &team1, const QString &team2, const QString &goals1,
                   const QString &goals2)
{
    Match match;
    MatchData &m = match.edit();
    m.fileName = file;
    m.date = date;
    m.tournament = tournament;
    m.team1 = team1;
    m.team2 = team2;
    m.goals1 = goals1;
    m.goals2 = goals2;
    return match;
}

// Every field of a match as text, null and empty alike: what an XML report can carry.
QStringList fields(const MatchData &m)
{
    QStringList f = {m.fileName,   m.team1,       m.team2,
                     m.team1Id,    m.team2Id,     m.coach1,
                     m.coach2,     m.coach1Id,    m.coach2Id,
                     m.time,       m.goals1,      m.goals2,
                     m.extra1,     m.extra2,      m.penalties1,
                     m.penalties2, m.stadium,     m.stadiumId,
                     m.city,       m.attendance,  m.referee,
                     m.refereeId,  m.refereeCity, m.id,
                     m.round,      m.tournament,  m.date.toString(Qt::ISODate)};
    for (const PlayerEntry &p : m.players1)
        f << u"1"_s << p.id << p.name;
    for (const PlayerEntry &p : m.players2)
        f << u"2"_s << p.id << p.name;
    for (const MatchEvent &e : m.events)
        f << e.time << e.type << e.comment << e.team << e.playerid << e.player << e.playerid2
          << e.player2;
    return f;
}

GeneratorOptions smallSeason()
{
    GeneratorOptions options;
    options.seed = 11;
    options.seasons = 1;
    options.divisions = 1;
    options.teamsPerDivision = 6;
    options.firstYear = 2009;
    return options;
}

// A full league of sixteen, so that even the data checks find something.
GeneratorOptions fullSeason()
{
    GeneratorOptions options = smallSeason();
    options.teamsPerDivision = 16;
    return options;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void usageErrors_data();
    void usageErrors();
    void failures_data();
    void failures();
    void failedOutputKeepsOldFile();

    void info_data();
    void info();
    void importInfoRoundTrip();
    void importInto();

    void pageSelection_data();
    void pageSelection();
    void pageOptions_data();
    void pageOptions();
    void personSearch_data();
    void personSearch();
    void sameOutputEveryRun_data();
    void sameOutputEveryRun();
    void report();

    void generatorIsDeterministic();
    void generatedReportsReadBack_data();
    void generatedReportsReadBack();
    void generatedSeasonIsPlausible();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QString m_fixture; // four matches by hand
    QString m_season;  // a generated season with full reports
    QString m_empty;   // a valid database without matches
};

void TestCli::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QFileInfo(QStringLiteral(SCOREWRIGHT_CLI)).isExecutable());

    MatchStore store;
    const QList<Match> matches = {
        fixtureMatch(u"1.xml"_s, QDate(2009, 3, 14), u"Лига"_s, u"Ракета"_s, u"Звезда"_s, u"2"_s,
                     u"1"_s),
        fixtureMatch(u"2.xml"_s, QDate(2009, 3, 15), u"Лига"_s, u"Звезда"_s, u"Ракета"_s, u"0"_s,
                     u"0"_s),
        fixtureMatch(u"3.xml"_s, QDate(2009, 3, 16), u"Кубок"_s, u"Ракета"_s, u"Заря"_s, u"1"_s,
                     u"3"_s),
        fixtureMatch(u"4.xml"_s, QDate(), u"Лига"_s, u"Заря"_s, u"Звезда"_s, u"5"_s, u"0"_s),
    };
    for (const Match &match : matches) {
        store.append(match);
        store.addTournament(match->tournament);
    }
    m_fixture = path(u"fixture.swb"_s);
    QVERIFY(writeDatabase(m_fixture, store).ok());

    MatchStore season;
    QDate from;
    QDate till;
    generateInto(fullSeason(), season, from, till);
    m_season = path(u"season.swb"_s);
    QVERIFY(writeDatabase(m_season, season).ok());

    m_empty = path(u"empty.swb"_s);
    QVERIFY(writeDatabase(m_empty, MatchStore()).ok());
}

void TestCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    const QString f = u"FILE"_s; // replaced by the fixture's path
    QTest::newRow("nothing") << QStringList() << u"no command"_s;
    QTest::newRow("unknown command") << QStringList{u"show"_s} << u"unknown command 'show'"_s;
    QTest::newRow("unknown option")
        << QStringList{u"info"_s, f, u"--verbose"_s} << u"unknown option '--verbose'"_s;
    QTest::newRow("option of another command")
        << QStringList{u"info"_s, f, u"--links"_s} << u"does not apply to 'info'"_s;
    QTest::newRow("missing value")
        << QStringList{u"page"_s, f, u"ta01_"_s, u"--from"_s} << u"--from needs a value"_s;
    QTest::newRow("flag with value")
        << QStringList{u"page"_s, f, u"ta01_"_s, u"--links=yes"_s} << u"takes no value"_s;
    QTest::newRow("info without file") << QStringList{u"info"_s} << u"one database file"_s;
    QTest::newRow("page without page") << QStringList{u"page"_s, f} << u"a database file"_s;
    QTest::newRow("import without output") << QStringList{u"import"_s, u"."_s} << u"-o OUT.swb"_s;
    QTest::newRow("date with slashes")
        << QStringList{u"page"_s, f, u"ta01_"_s, u"--from"_s, u"2009/03/14"_s}
        << u"--from '2009/03/14' is not a date"_s;
    QTest::newRow("impossible date")
        << QStringList{u"page"_s, f, u"ta01_"_s, u"--till=2009-02-30"_s}
        << u"--till '2009-02-30' is not a date"_s;
    QTest::newRow("from after till")
        << QStringList{u"page"_s,       f,           u"ta01_"_s,     u"--from"_s,
                       u"2009-03-15"_s, u"--till"_s, u"2009-03-14"_s}
        << u"later than"_s;
    QTest::newRow("format") << QStringList{u"page"_s, f, u"ta01_"_s, u"--format"_s, u"xml"_s}
                            << u"unknown format 'xml'"_s;
    QTest::newRow("unknown page") << QStringList{u"page"_s, f, u"zz01_"_s}
                                  << u"unknown page 'zz01_'"_s;
    QTest::newRow("short page") << QStringList{u"page"_s, f, u"ta0"_s} << u"unknown page"_s;
    QTest::newRow("code in wrong case")
        << QStringList{u"page"_s, f, u"TA01_"_s} << u"unknown page"_s;
    QTest::newRow("match report") << QStringList{u"page"_s, f, u"xm01_1.xml"_s}
                                  << u"report FILE 1.xml"_s;
    QTest::newRow("player search without name")
        << QStringList{u"page"_s, f, u"fpl1_"_s} << u"'fpl1_' needs the name"_s;
    QTest::newRow("coach search without name")
        << QStringList{u"page"_s, f, u"fco1_"_s} << u"'fco1_' needs the name"_s;
}

void TestCli::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    arguments.replaceInStrings(u"FILE"_s, m_fixture);
    message.replace(u"FILE"_s, m_fixture);
    const Run run = runCli(arguments);
    QCOMPARE(run.code, 2);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

void TestCli::failures_data()
{
    QTest::addColumn<QByteArray>("content"); // written to the database path; null: no file
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    MatchStore store;
    store.append(
        fixtureMatch(u"1.xml"_s, QDate(2009, 3, 14), u"Лига"_s, u"A"_s, u"B"_s, u"1"_s, u"0"_s));
    const QByteArray good = databaseBytes(store);
    QByteArray version2 = good;
    version2[7] = 2;
    QByteArray trailing = good + QByteArray("x");

    const QString db = u"DB"_s;
    QTest::newRow("missing file") << QByteArray() << QStringList{u"info"_s, db} << u"cannot read"_s;
    QTest::newRow("foreign file") << QByteArray("<?xml version=\"1.0\"?>\n<match/>\n")
                                  << QStringList{u"info"_s, db}
                                  << u"is not a Scorewright database"_s;
    QTest::newRow("other version")
        << version2 << QStringList{u"page"_s, db, u"ta01_"_s} << u"format version 2"_s;
    QTest::newRow("truncated") << good.left(good.size() - 3) << QStringList{u"info"_s, db}
                               << u"damaged"_s;
    QTest::newRow("bytes after the last match")
        << trailing << QStringList{u"info"_s, db}
        << u"stops making sense at byte %1"_s.arg(good.size());
    QTest::newRow("only the magic") << good.left(4) << QStringList{u"info"_s, db} << u"damaged"_s;
    QTest::newRow("unknown match")
        << good << QStringList{u"report"_s, db, u"2.xml"_s} << u"no match from the file '2.xml'"_s;
    QTest::newRow("empty database")
        << databaseBytes(MatchStore()) << QStringList{u"page"_s, db, u"standings"_s}
        << u"holds no matches"_s;
    QTest::newRow("unwritable output")
        << good << QStringList{u"page"_s, db, u"matches"_s, u"-o"_s, u"/nonexistent/dir/out.txt"_s}
        << u"cannot write '/nonexistent/dir/out.txt'"_s;
    QTest::newRow("output is a directory")
        << good << QStringList{u"report"_s, db, u"1.xml"_s, u"-o"_s, u"/tmp"_s}
        << u"cannot write '/tmp'"_s;
    QTest::newRow("import from a file")
        << good << QStringList{u"import"_s, db, u"-o"_s, u"OUT"_s} << u"is not a directory"_s;
    QTest::newRow("import into a damaged file")
        << good.left(20) << QStringList{u"import"_s, u"DIR"_s, u"--into"_s, db, u"-o"_s, u"OUT"_s}
        << u"damaged"_s;
    QTest::newRow("import to an unwritable place")
        << good << QStringList{u"import"_s, u"DIR"_s, u"-o"_s, u"/nonexistent/dir/out.swb"_s}
        << u"cannot write"_s;
}

void TestCli::failures()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    // Paths that look like placeholders must come out as they are.
    const QString db = path(u"failure %2.swb"_s);
    const QString out = path(u"failure-out.swb"_s);
    QFile::remove(db);
    QFile::remove(out);
    if (!content.isNull()) {
        QFile file(db);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    arguments.replaceInStrings(u"DB"_s, db);
    arguments.replaceInStrings(u"OUT"_s, out);
    arguments.replaceInStrings(u"DIR"_s, m_dir.path());
    const Run run = runCli(arguments);
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    if (run.err.contains(u"failure "_s))
        QVERIFY2(run.err.contains(db), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QVERIFY(!QFile::exists(out));
}

void TestCli::failedOutputKeepsOldFile()
{
    // A command that fails after its output file was named leaves that file as it was.
    const QString out = path(u"kept.html"_s);
    QFile file(out);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("old");
    file.close();
    QCOMPARE(runCli({u"report"_s, m_fixture, u"missing.xml"_s, u"-o"_s, out}).code, 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old"));
}

void TestCli::info_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fixture") << u"fixture"_s
                             << u"matches: 4\ndates: 2009-03-14 .. 2009-03-16\nundated: 1\n"
                                "tournaments: 2\nКубок\nЛига\n"_s;
    QTest::newRow("empty") << u"empty"_s
                           << u"matches: 0\ndates: none\nundated: 0\ntournaments: 0\n"_s;
}

void TestCli::info()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);
    const Run run = runCli({u"info"_s, file == u"empty"_s ? m_empty : m_fixture});
    QCOMPARE(run.code, 0);
    QCOMPARE(QString::fromUtf8(run.out), expected);
}

void TestCli::importInfoRoundTrip()
{
    const QList<Match> matches = generateMatches(smallSeason());
    const QString reports = path(u"reports"_s);
    QString error;
    QVERIFY2(writeReports(matches, reports, &error), qPrintable(error));
    // Files that are no reports are counted, not read.
    QFile other(reports + u"/notes.txt"_s);
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();

    const QString out = path(u"imported %5.swb"_s);
    const Run import = runCli({u"import"_s, reports, u"-o"_s, out});
    QCOMPARE(import.code, 0);
    QVERIFY2(import.out.startsWith(QString::number(matches.size() + 1).toUtf8() + " files, " +
                                   QString::number(matches.size()).toUtf8() + " matches"),
             import.out.constData());
    QVERIFY2(import.out.endsWith(
                 u"; '%1' holds %2 matches\n"_s.arg(out, QString::number(matches.size())).toUtf8()),
             import.out.constData());

    // What info says is what the generated matches hold.
    QDate from = emptyRangeFrom();
    QDate till = emptyRangeTill();
    qsizetype undated = 0;
    QStringList tournaments;
    for (const Match &match : matches) {
        widenDateRange(from, till, match->date);
        undated += match->date.isValid() ? 0 : 1;
        if (!tournaments.contains(match->tournament))
            tournaments.append(match->tournament);
    }
    std::sort(tournaments.begin(), tournaments.end());
    const QString expected =
        u"matches: %1\ndates: %2 .. %3\nundated: %4\ntournaments: %5\n%6\n"_s.arg(matches.size())
            .arg(from.toString(Qt::ISODate), till.toString(Qt::ISODate))
            .arg(undated)
            .arg(tournaments.size())
            .arg(tournaments.join(u'\n'));
    const Run info = runCli({u"info"_s, out});
    QCOMPARE(info.code, 0);
    QCOMPARE(QString::fromUtf8(info.out), expected);

    // Every match came through the XML files whole.
    MatchStore store;
    QVERIFY(readDatabase(out, store, from, till).ok());
    QCOMPARE(store.count(), matches.size());
    for (const Match &match : matches) {
        const Match *read = store.find(match->fileName);
        QVERIFY(read);
        QCOMPARE(fields(**read), fields(*match));
    }
}

void TestCli::importInto()
{
    const QString reports = path(u"into"_s);
    GeneratorOptions options = smallSeason();
    options.matches = 5;
    QString error;
    QVERIFY2(writeReports(generateMatches(options), reports, &error), qPrintable(error));

    // Importing into the file it writes appends to what the file held.
    const QString out = path(u"into.swb"_s);
    QVERIFY(QFile::copy(m_fixture, out));
    QCOMPARE(runCli({u"import"_s, reports, u"--into"_s, out, u"-o"_s, out}).code, 0);
    QCOMPARE(runCli({u"import"_s, u"--into"_s, out, reports, u"-o"_s, out}).code, 0);
    MatchStore store;
    QDate from;
    QDate till;
    QVERIFY(readDatabase(out, store, from, till).ok());
    QCOMPARE(store.count(), 4 + 5 + 5);
    QCOMPARE(store.matches().at(0)->fileName, u"1.xml"_s);
    QCOMPARE(store.tournamentNames(), (QStringList{u"Высшая лига"_s, u"Кубок"_s, u"Лига"_s}));
}

void TestCli::pageSelection_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("files"); // the matches listed, by file name

    // The fixture: 1.xml 2009-03-14, 2.xml 03-15, 3.xml 03-16 (Кубок), 4.xml undated.
    QTest::newRow("default: every dated match")
        << QStringList() << QStringList{u"1.xml"_s, u"2.xml"_s, u"3.xml"_s};
    QTest::newRow("from is inclusive")
        << QStringList{u"--from"_s, u"2009-03-15"_s} << QStringList{u"2.xml"_s, u"3.xml"_s};
    QTest::newRow("till is inclusive")
        << QStringList{u"--till"_s, u"2009-03-15"_s} << QStringList{u"1.xml"_s, u"2.xml"_s};
    QTest::newRow("one day") << QStringList{u"--from=2009-03-15"_s, u"--till=2009-03-15"_s}
                             << QStringList{u"2.xml"_s};
    QTest::newRow("outside the data") << QStringList{u"--from"_s, u"2010-01-01"_s} << QStringList();
    QTest::newRow("tournament") << QStringList{u"--tournament"_s, u"Лига"_s}
                                << QStringList{u"1.xml"_s, u"2.xml"_s};
    QTest::newRow("tournament and dates")
        << QStringList{u"--tournament"_s, u"Лига"_s, u"--from"_s, u"2009-03-15"_s}
        << QStringList{u"2.xml"_s};
    QTest::newRow("tournament in another case")
        << QStringList{u"--tournament"_s, u"лига"_s} << QStringList();
    QTest::newRow("all tournaments by name") << QStringList{u"--tournament"_s, u"<Все турниры>"_s}
                                             << QStringList{u"1.xml"_s, u"2.xml"_s, u"3.xml"_s};
}

void TestCli::pageSelection()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, files);
    const Run run = runCli(
        QStringList{u"page"_s, m_fixture, u"matches"_s, u"--format"_s, u"tsv"_s, u"--links"_s} +
        options);
    QCOMPARE(run.code, 0);
    QStringList lines = QString::fromUtf8(run.out).split(u'\n');
    QCOMPARE(lines.takeLast(), QString()); // the output ends with a line end
    QCOMPARE(lines.takeFirst(), u"Дата\tХозяева\tГости\tСчёт\tlink"_s);
    QStringList listed;
    for (const QString &line : std::as_const(lines))
        listed.append(line.section(u'\t', -1).mid(5));
    QCOMPARE(listed, files);
}

void TestCli::pageOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("line"); // a line the output holds

    const QString f = u"FILE"_s;
    QTest::newRow("standings by name")
        << QStringList{u"page"_s, f, u"standings"_s, u"--format=tsv"_s}
        << u"Ракета\t3\t1\t1\t1\t3\t4\t   4"_s;
    QTest::newRow("standings by code, csv")
        << QStringList{u"page"_s, f, u"ta01_"_s, u"--format"_s, u"csv"_s}
        << u"Звезда,2,0,1,1,1,2,   1\r"_s;
    QTest::newRow("an overview code ignores its argument")
        << QStringList{u"page"_s, f, u"ta01_Звезда"_s, u"--format"_s, u"tsv"_s}
        << u"Заря\t1\t1\t0\t0\t3\t1\t   3"_s;
    QTest::newRow("team's matches with its argument")
        << QStringList{u"page"_s, f, u"ta02_Заря"_s, u"--format"_s, u"tsv"_s, u"--links"_s}
        << u"2009/03/16\t\tРакета\tЗаря\t1:3\txm01_3.xml"_s;
    QTest::newRow("text layout")
        << QStringList{u"page"_s, f, u"matches"_s, u"--till"_s, u"2009-03-14"_s}
        << u"|        2009/03/14 |            Ракета |            Звезда |      2:1 | "_s;
}

void TestCli::pageOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, line);
    arguments.replaceInStrings(u"FILE"_s, m_fixture);
    const Run run = runCli(arguments);
    QCOMPARE(run.code, 0);
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n');
    QVERIFY2(lines.contains(line), run.out.constData());
}

void TestCli::personSearch_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    const Match first = generateMatches(fullSeason()).constFirst();
    QTest::newRow("player") << u"fpl1_"_s << first->players1.constFirst().name;
    QTest::newRow("coach") << u"fco1_"_s << first->coach1;
}

void TestCli::personSearch()
{
    // The search pages show only the people whose name holds the text.
    QFETCH(QString, code);
    QFETCH(QString, name);
    const Run run = runCli({u"page"_s, m_season, code + name, u"--format"_s, u"tsv"_s});
    QCOMPARE(run.code, 0);
    QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() >= 2);
    lines.removeFirst();
    for (const QString &line : std::as_const(lines))
        QVERIFY2(line.section(u'\t', 0, 0).contains(name), qPrintable(line));
    const Run all = runCli({u"page"_s, m_season, code == u"fpl1_"_s ? u"players"_s : u"coaches"_s,
                            u"--format"_s, u"tsv"_s});
    QVERIFY(all.out.count('\n') > lines.size() + 1);
}

void TestCli::sameOutputEveryRun_data()
{
    QTest::addColumn<QStringList>("options");
    for (const QString &page :
         {u"matches"_s, u"standings"_s, u"scorers"_s, u"players"_s, u"teams"_s, u"referees"_s,
          u"coaches"_s, u"stadiums"_s, u"check-lineups"_s, u"check-ids"_s, u"check-attendance"_s}) {
        QTest::newRow(qPrintable(page)) << QStringList{page};
        QTest::newRow(qPrintable(page + u" by ID, links"_s))
            << QStringList{page, u"--consider-id"_s, u"--links"_s, u"--format"_s, u"tsv"_s};
    }
}

void TestCli::sameOutputEveryRun()
{
    QFETCH(QStringList, options);
    const QStringList arguments = QStringList{u"page"_s, m_season} + options;
    const Run first = runCli(arguments);
    QCOMPARE(first.code, 0);
    QVERIFY(first.out.count('\n') > 2);
    QCOMPARE(runCli(arguments).out, first.out);

    // -o writes exactly what stdout shows.
    const QString out = path(u"page.txt"_s);
    QCOMPARE(runCli(arguments + QStringList{u"-o"_s, out}).code, 0);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), first.out);
}

void TestCli::report()
{
    const Run run = runCli({u"report"_s, m_fixture, u"3.xml"_s});
    QCOMPARE(run.code, 0);
    const QString html = QString::fromUtf8(run.out);
    QVERIFY(html.contains(u"Ракета"_s));
    QVERIFY(html.contains(u"Заря"_s));
    QVERIFY(!html.contains(u"Звезда"_s));
}

void TestCli::generatorIsDeterministic()
{
    GeneratorOptions options = smallSeason();
    const QList<Match> a = generateMatches(options);
    const QList<Match> b = generateMatches(options);
    QCOMPARE(a.size(), b.size());
    for (qsizetype i = 0; i < a.size(); ++i)
        QVERIFY(a.at(i).sameRecord(b.at(i)));

    options.seed = 12;
    const QList<Match> c = generateMatches(options);
    bool differs = c.size() != a.size();
    for (qsizetype i = 0; !differs && i < a.size(); ++i)
        differs = !a.at(i).sameRecord(c.at(i));
    QVERIFY(differs);

    options.matches = 7;
    QCOMPARE(generateMatches(options).size(), 7);
}

void TestCli::generatedReportsReadBack_data()
{
    QTest::addColumn<bool>("windows1251");
    QTest::newRow("UTF-8") << false;
    QTest::newRow("windows-1251") << true;
}

void TestCli::generatedReportsReadBack()
{
    QFETCH(bool, windows1251);
    Match match = generateMatches(smallSeason()).constFirst();
    // Characters that must be escaped survive too.
    match.edit().team1 = u"A & <B> \"C\""_s;
    match.edit().events.first().comment = u"x<y"_s;
    const QString name = path(u"report.xml"_s);
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(reportXml(*match, windows1251));
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList expected = fields(*match);
    expected[0] = u"report.xml"_s;
    QCOMPARE(fields(*readMatchXml(file)), expected);
}

void TestCli::generatedSeasonIsPlausible()
{
    GeneratorOptions options = smallSeason();
    options.faults = false;
    const QList<Match> matches = generateMatches(options);
    // Six clubs home and away, then a cup of 32 clubs made up with amateurs.
    QCOMPARE(matches.size(), 6 * 5 + 31);
    QHash<QString, int> homeGames;
    for (const Match &match : matches) {
        const MatchData &m = *match;
        QVERIFY(m.date.isValid());
        QCOMPARE(m.players1.size(), 11);
        QCOMPARE(m.players2.size(), 11);
        QVERIFY(!m.attendance.isEmpty());
        int goals[2] = {0, 0};
        for (const MatchEvent &e : m.events) {
            const EventKind kind = eventKind(e.type);
            QVERIFY(kind != EventKind::Unknown);
            const bool first = e.team == m.team1;
            if (kind == EventKind::Goal || kind == EventKind::PenaltyGoal)
                ++goals[first ? 0 : 1];
            else if (kind == EventKind::OwnGoal)
                ++goals[first ? 1 : 0];
        }
        // The events add up to the score, extra time included.
        QCOMPARE(goals[0], scoreNumber(m.goals1) + scoreNumber(m.extra1));
        QCOMPARE(goals[1], scoreNumber(m.goals2) + scoreNumber(m.extra2));
        if (m.tournament == u"Кубок"_s) {
            // A cup tie is decided: in regular time, extra time or on penalties.
            const bool level = m.goals1 == m.goals2;
            QCOMPARE(!m.extra1.isEmpty(), level);
            if (level && m.extra1 == m.extra2)
                QVERIFY(!m.penalties1.isEmpty() && m.penalties1 != m.penalties2);
        } else {
            ++homeGames[m.team1];
            QVERIFY(m.extra1.isEmpty() && m.penalties1.isEmpty());
        }
    }
    QCOMPARE(homeGames.size(), 6);
    for (const int games : std::as_const(homeGames))
        QCOMPARE(games, 5);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
