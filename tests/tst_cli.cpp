// scorewright-cli run as a separate process, and the match generator its fixtures come from.
#include "formats/database.h"
#include "formats/sqliteexport.h"
#include "formats/xmlexport.h"
#include "formats/xmlimport.h"
#include "generator/generator.h"
#include "model/competitionrules.h"
#include "model/document.h"
#include "testsupport.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest> // QtCore as a whole comes with it

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Run
{
    int code = -1;
    QByteArray out;
    QString err;
};

// Runs the command line, under locale (LC_ALL and LANG) when one is given.
Run runCli(const QStringList &arguments, const QString &locale = {})
{
    QProcess process;
    if (!locale.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LC_ALL"_s, locale);
        environment.insert(u"LANG"_s, locale);
        process.setProcessEnvironment(environment);
    }
    process.start(QStringLiteral(SCOREWRIGHT_CLI), arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

GeneratorOptions smallSeason(qsizetype matches = 0, int teams = 6)
{
    return {11, matches, 1, 1, teams, 2009};
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void commands_data();
    void commands();
    void sameOutputEveryRun_data();
    void sameOutputEveryRun();
    void importRoundTripAndInto();
    void writers_data();
    void writers();
    void windows1251ReportReadsBack();
    void sqliteExport_data();
    void sqliteExport();
    void sqliteColumnsHoldTheirFields();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QByteArray m_fixture; // four matches by hand
    QString m_season; // a generated league of sixteen with full reports, so the checks find faults
};

void TestCli::initTestCase()
{
    QList<Match> matches = {
        makeMatch(u"1.xml"_s, u"2009-03-14"_s, u"Ракета"_s, u"Звезда"_s, u"2"_s, u"1"_s),
        makeMatch(u"2.xml"_s, u"2009-03-15"_s, u"Звезда"_s, u"Ракета"_s, u"0"_s, u"0"_s),
        makeMatch(u"3.xml"_s, u"2009-03-16"_s, u"Ракета"_s, u"Заря"_s, u"1"_s, u"3"_s),
        makeMatch(u"4.xml"_s, QString(), u"Заря"_s, u"Звезда"_s, u"5"_s, u"0"_s)};
    for (Match &match : matches)
        match.edit().tournament = match->fileName == u"3.xml"_s ? u"Кубок"_s : u"Лига"_s;
    m_fixture = databaseBytes(makeStore(matches));
    QVERIFY(QDir().mkpath(path(u"in"_s)) &&
            writeFile(path(u"in/r.xml"_s), "<match><team1>A</team1><team2>B</team2></match>"));
    m_season = path(u"season.swb"_s);
    QVERIFY(writeDatabase(m_season, makeStore(generateMatches(smallSeason(0, 16)))).ok());
}

void TestCli::commands_data()
{
    QTest::addColumn<QByteArray>("content"); // written to DB; empty: the fixture
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out"); // all of stdout
    QTest::addColumn<QString>("err"); // a part of stderr; empty: stderr is empty

    QTest::addColumn<QByteArray>("rules"); // the rules file beside DB; empty: none

    auto row = [](const char *name, const QByteArray &arguments, int code, const QString &out,
                  const QByteArray &err = {}, const QByteArray &content = {},
                  const QByteArray &rules = {}) {
        QTest::newRow(name) << content
                            << QString::fromUtf8(arguments).split(u' ', Qt::SkipEmptyParts) << code
                            << out << QString::fromUtf8(err) << rules;
    };
    // Usage errors exit 2, failures 1; neither writes to stdout nor touches an existing -o file.
    row("nothing", "", 2, {}, "no command");
    row("unknown command", "show", 2, {}, "unknown command 'show'");
    row("unknown option", "info DB --verbose", 2, {}, "unknown option '--verbose'");
    row("option of another command", "info DB --links", 2, {}, "does not apply to 'info'");
    row("missing value", "page DB ta01_ --from", 2, {}, "--from needs a value");
    row("an option spelled otherwise", "page DB ta01_ --o OUT", 2, {}, "unknown option '--o'");
    row("a command's help", "info DB --help", 0,
        u"Usage: scorewright-cli info FILE.swb\nPrints the number of matches, their dates and the "
        "tournaments.\n\nOptions:\n  -h, --help  Show this help and exit.\n"_s);
    row("import without output", "import DIR", 2, {}, "-o OUT.swb");
    row("bad date", "page DB ta01_ --till=2009-02-30 -o OUT", 2, {}, "'2009-02-30' is not a date");
    row("from after till", "page DB ta01_ --from 2009-03-15 --till 2009-03-14", 2, {}, "later");
    row("unknown format", "page DB ta01_ --format xml", 2, {}, "unknown format 'xml'");
    row("unknown page", "page DB zz01_ -o OUT", 2, {}, "unknown page 'zz01_'");
    row("match report as a page", "page DB xm01_1.xml", 2, {}, "report DB 1.xml");
    row("empty search text", "page DB fpl1_", 2, {}, "'fpl1_' needs the name");
    row("head-to-head of one team", "page DB head-to-head --team Заря", 2, {}, "needs two teams");
    row("a team for another page", "page DB standings --team Заря", 2, {}, "'head-to-head' only");
    row("missing file", "info DB.none", 1, {}, "cannot read 'DB.none'");
    row("foreign file", "info DB", 1, {}, "'DB' is not a Scorewright database", "<?xml?><match/>");
    const QByteArray &f = m_fixture;
    row("other version", "info DB", 1, {}, "of format version 2", f.left(7) + '\2' + f.mid(8));
    row("truncated", "info DB", 1, {}, "'DB' is damaged", f.chopped(3));
    row("bytes after the last match", "info DB", 1, {},
        "'DB' is damaged: it stops making sense at byte " + QByteArray::number(f.size()), f + "x");
    row("unknown match", "report DB 9.xml -o OUT", 1, {}, "has no match from the file '9.xml'");
    const QByteArray empty = databaseBytes(MatchStore());
    row("empty database", "page DB standings -o OUT", 1, {}, "'DB' holds no matches", empty);
    row("unwritable output", "page DB matches -o /none/out", 1, {}, "cannot write '/none/out'");
    row("import into a damaged file", "import DIR --into DB -o OUT", 1, {}, "damaged", f.left(20));
    row("head of a file", "info DB", 1, {},
        "'DB' is damaged: it announces 4 matches but ends after 1 of them", f.left(200));
    row("a pipe for a database", "info DB", 1, {}, "cannot read 'DB': it is not a regular file",
        "<fifo>");
    // An output that is an input is refused, however it is named; a device is written in place.
    row("page over its database", "page DB standings -o DB", 1, {}, "is also an input");
    row("page over its database by another path", "page DB standings -o DIR/./LINK", 1, {},
        "is also an input");
    row("page over its rules file", "page DB standings -o DB.rules", 1, {}, "is also an input", {},
        "{}");
    row("report over its database", "report DB 1.xml -o DIR/LINK", 1, {}, "is also an input");
    row("page to a device", "page DB standings -o /dev/null", 0, {});
    row("page to standard output", "page DB matches --format tsv --till 2009-03-14 -o -", 0,
        u"Дата\tХозяева\tГости\tСчёт\n2009/03/14\tРакета\tЗвезда\t2:1\n"_s);
    row("export without an output", "export DB", 2, {}, "a database file and --xml DIR");
    row("export of a damaged file", "export DB --xml DIR/x", 1, {}, "damaged", f.left(20));
    row("export into a file", "export DB --xml OUT", 1, {}, "cannot write");
    row("import-csv without output", "import-csv DB", 2, {}, "one or more CSV files and -o");
    row("import-csv of a file without goals", "import-csv DB -o OUT", 1, {},
        "'DB' has no column for: away team, goals", "Date,Home,Gast\n01/02/2003,A,B\n");

    // The fixture: 1.xml 2009-03-14, 2.xml 03-15, 3.xml 03-16 (Кубок), 4.xml undated.
    row("info", "info DB", 0,
        u"matches: 4\ndates: 2009-03-14 .. 2009-03-16\nundated: 1\ntournaments: 2\nКубок\nЛига\n"_s);
    row("info of an empty file", "info DB", 0,
        u"matches: 0\ndates: none\nundated: 0\ntournaments: 0\n"_s, {}, empty);
    const QString m0 = u"Дата\tХозяева\tГости\tСчёт\tlink\n"_s;
    const QString m1 = u"2009/03/14\tРакета\tЗвезда\t2:1\txm01_1.xml\n"_s;
    const QString m2 = u"2009/03/15\tЗвезда\tРакета\t0:0\txm01_2.xml\n"_s;
    const QString m3 = u"2009/03/16\tРакета\tЗаря\t1:3\txm01_3.xml\n"_s;
    const QByteArray tsv = "page DB matches --format tsv --links ";
    row("default: every dated match", tsv, 0, m0 + m1 + m2 + m3);
    row("one day", tsv + "--tournament Лига --from 2009-03-15 --till=2009-03-15", 0, m0 + m2);
    row("tournament names are exact", tsv + "--tournament лига", 0, m0, "no tournament named");
    row("one round", tsv + "--round 1", 0, m0);
    row("head-to-head", "page DB head-to-head --team Звезда --format=tsv --team Ракета", 0,
        u"Дата\tХозяева\tГости\tСчёт\tИ\tВ\tН\tП\tЗаб.\tПроп.\tО\n"
        "\tЗвезда\t\t\t   2\t   0\t   1\t   1\t   1\t   2\t   1\n"
        "\tРакета\t\t\t   2\t   1\t   1\t   0\t   2\t   1\t   4\n"
        "2009/03/14\tРакета\tЗвезда\t2:1\t\t\t\t\t\t\t\n"
        "2009/03/15\tЗвезда\tРакета\t0:0\t\t\t\t\t\t\t\n"_s);
    row("all tournaments by name", tsv + "--tournament <Все\u00a0турниры>", 0, m0 + m1 + m2 + m3);
    const QString standings =
        u"М,Команда,И,В,Н,П,Заб.,Проп.,Р,О\r\n   1,Ракета,3,1,1,1,3,4,-1,   4\r\n"
        "   2,Заря,1,1,0,0,3,1,+2,   3\r\n   3,Звезда,2,0,1,1,1,2,-1,   1\r\n"_s;
    // The league's rules beside the database: 2-1-0, and a point taken from Ракета on 03-15.
    const QByteArray rules = R"({"tournaments": {"Лига": {"points": {"win": 2}, "deductions":
        [{"team": "Ракета", "points": 1, "from": "2009-03-15"}]}}})";
    const QByteArray league = "page DB standings --format csv --tournament Лига";
    row("rules file, deduction", league, 0,
        u"М,Команда,И,В,Н,П,Заб.,Проп.,Р,О,Снято\r\n   1,Ракета,2,1,1,0,2,1,+1,   2,   1\r\n"
        "   2,Звезда,2,0,1,1,1,2,-1,   1,\r\n"_s,
        {}, {}, rules);
    row("rules file, before the deduction", league + " --till 2009-03-14", 0,
        u"М,Команда,И,В,Н,П,Заб.,Проп.,Р,О\r\n   1,Ракета,1,1,0,0,2,1,+1,   2\r\n"
        "   2,Звезда,1,0,0,1,1,2,-1,   0\r\n"_s,
        {}, {}, rules);
    row("points and tie-breaks for one run",
        "page DB standings --format csv --points 1-1-0 --tiebreak h2h-points,name", 0,
        u"М,Команда,И,В,Н,П,Заб.,Проп.,Р,О\r\n   1,Ракета,3,1,1,1,3,4,-1,   2\r\n"
        "   2,Заря,1,1,0,0,3,1,+2,   1\r\n   3,Звезда,2,0,1,1,1,2,-1,   1\r\n"_s,
        {}, {}, rules);
    // Every page that counts points reads the rules: the home table of the league, 2-1-0 with
    // Ракета's point taken.
    row("rules file, home table", "page DB home --format csv --tournament Лига", 0,
        u"М,Команда,И,В,Н,П,Заб.,Проп.,Р,О,Снято\r\n   1,Ракета,1,1,0,0,2,1,+1,   1,   1\r\n"
        "   2,Звезда,1,0,1,0,0,0,0,   1,\r\n"_s,
        {}, {}, rules);
    row("bad points", "page DB standings --points 3-1", 2, {}, "--points '3-1' is not");
    row("bad tie-break", "page DB standings --tiebreak diff,goals", 2, {}, "criterion 'goals'");
    row("bad rules file", "page DB ta01_ --format csv", 0, standings,
        "warning: cannot use the rules in 'DB.rules': not a rules file", {}, "{");
    row("missing rules file", "page DB ta01_ --format csv --rules DB.none", 0, standings,
        "cannot use the rules in 'DB.none': no such file");
    row("team's matches", "page DB ta02_Заря --format tsv --links", 0,
        u"Дата\tГород\tХозяева\tГости\tСчёт\tlink\n2009/03/16\t\tРакета\tЗаря\t1:3\txm01_3.xml\n"_s);
    const QString rule = QString(72, u'-') + u'\n';
    const QString text =
        u"|              Дата |           Хозяева |             Гости |     Счёт | \n"_s + rule +
        u"|        2009/03/14 |            Ракета |            Звезда |      2:1 | \n"_s;
    // Every input of a command is refused as its output: the reports an import reads, the rules
    // file of the database read; "-" is no file for an SQLite database.
    row("import over one of its reports", "import DIR/in -o DIR/./in/r.xml", 1, {},
        "is also an input");
    row("import over the rules of --into", "import DIR/in --into DB -o DB.rules", 1, {},
        "is also an input", {}, "{}");
    row("report over the rules file", "report DB 1.xml -o DB.rules", 1, {}, "is also an input", {},
        "{}");
    row("export over the rules file", "export DB --sqlite DB.rules", 1, {}, "is also an input", {},
        "{}");
    row("export to standard output", "export DB --sqlite -", 2, {}, "cannot be written to the");
    // A rules file that is no file: refused at once, without waiting or reading without end.
    row("a pipe for a rules file", "page DB ta01_ --format csv", 0, standings,
        "cannot use the rules in 'DB.rules': not a regular file", {}, "<fifo>");
    row("/dev/zero for a rules file", "page DB ta01_ --format csv", 0, standings,
        "cannot use the rules in 'DB.rules': not a regular file", {}, "<zero>");
    row("export into no directory", "export DB --sqlite DIR/none/x.sqlite", 1, {}, "cannot write");
    row("export over its input", "export DB --sqlite DB", 1, {}, "also an input");
    row("export into a device", "export DB --sqlite /dev/null", 1, {}, "not a regular file");
    row("text layout", "page DB matches --till 2009-03-14", 0, rule + text + rule);
    row("caption line, the team's page", "page DB ta02_Заря --format tsv --caption", 0,
        u"Матчи команды «Заря» — все турниры, 14.03.2009–16.03.2009\n"
        "Дата\tГород\tХозяева\tГости\tСчёт\n2009/03/16\t\tРакета\tЗаря\t1:3\n"_s);
    row("caption line of the standings under rules of their own",
        "page DB standings --format csv --tournament Лига --till 2009-03-14 --caption", 0,
        u"\"Турнирная таблица — Лига, 14.03.2009–14.03.2009 (правила: 2-1-0 (до 1995))\"\r\n"
        "М,Команда,И,В,Н,П,Заб.,Проп.,Р,О\r\n   1,Ракета,1,1,0,0,2,1,+1,   2\r\n"
        "   2,Звезда,1,0,0,1,1,2,-1,   0\r\n"_s,
        {}, {}, rules);
    row("bad season start", "import-csv DB -o OUT --season-start 02-29", 2, {},
        "--season-start '02-29' is not a day");
}

void TestCli::commands()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QByteArray, rules);
    // A space and a placeholder in the path: messages must show it as it is.
    const QString db = path(u"db %2.swb"_s), existing = path(u"existing-out.swb"_s);
    const QByteArray dbBytes = content.isEmpty() ? m_fixture : content;
    QFile::remove(db);
    if (dbBytes == "<fifo>")
        QCOMPARE(::mkfifo(QFile::encodeName(db).constData(), 0644), 0);
    else
        QVERIFY(writeFile(db, dbBytes));
    QFile::remove(path(u"link"_s));
    QVERIFY(QFile::link(db, path(u"link"_s)));
    const QString rulesPath = rulesFilePath(db);
    QFile::remove(rulesPath);
    if (rules == "<fifo>")
        QCOMPARE(::mkfifo(QFile::encodeName(rulesPath).constData(), 0644), 0);
    else if (rules == "<zero>")
        QVERIFY(QFile::link(u"/dev/zero"_s, rulesPath));
    else
        QVERIFY(rules.isEmpty() || writeFile(rulesPath, rules));
    const QByteArray report = readFile(path(u"in/r.xml"_s));
    QVERIFY(writeFile(existing, "old"));
    arguments.replaceInStrings(u"LINK"_s, u"link"_s).replaceInStrings(u"DB"_s, db);
    arguments.replaceInStrings(u"OUT"_s, existing);
    arguments.replaceInStrings(u"DIR"_s, m_dir.path()).replaceInStrings(u"\u00a0"_s, u" "_s);
    const Run run = runCli(arguments);
    QCOMPARE(run.code, code);
    QCOMPARE(QString::fromUtf8(run.out), out);
    err.replace(u"DB"_s, db);
    QVERIFY2(err.isEmpty() ? run.err.isEmpty() : run.err.contains(err), qPrintable(run.err));
    QCOMPARE(readFile(existing), QByteArray("old"));
    if (dbBytes != "<fifo>")
        QCOMPARE(readFile(db), dbBytes);
    if (!rules.startsWith('<'))
        QCOMPARE(readFile(rulesPath), rules);
    QCOMPARE(readFile(path(u"in/r.xml"_s)), report);
    QVERIFY(QFileInfo(u"/dev/null"_s).exists() && !QFileInfo(u"/dev/null"_s).isFile());
}

void TestCli::sameOutputEveryRun_data()
{
    QTest::addColumn<QStringList>("arguments");
    const QString pages = u"matches standings scorers players teams referees coaches stadiums "
                          "check-lineups check-ids check-attendance consistency "
                          "home away form season-race season-goals"_s;
    for (const QString &page : pages.split(u' ')) {
        QTest::newRow(qPrintable(page)) << QStringList{u"page"_s, page};
        QTest::newRow(qPrintable(page + u" by ID, links"_s)) << QStringList{
            u"page"_s, page, u"--consider-id"_s, u"--links"_s, u"--format"_s, u"tsv"_s};
    }
    QTest::newRow("report") << QStringList{
        u"report"_s, generateMatches(smallSeason(1, 16)).constFirst()->fileName};
}

void TestCli::sameOutputEveryRun()
{
    QFETCH(QStringList, arguments);
    arguments.insert(1, m_season);
    // The same bytes under every locale: the interface speaks Russian whatever the system does.
    const Run first = runCli(arguments, u"C"_s);
    QCOMPARE(first.code, 0);
    QVERIFY(first.out.count('\n') > 2 || first.out.endsWith("</table>"));
    QCOMPARE(runCli(arguments, u"de_DE.UTF-8"_s).out, first.out);
    // -o writes exactly what stdout shows.
    QCOMPARE(runCli(arguments + QStringList{u"-o"_s, path(u"page.txt"_s)}, u"ru_RU.UTF-8"_s).code,
             0);
    QCOMPARE(readFile(path(u"page.txt"_s)), first.out);
    if (arguments.constFirst() == u"report"_s)
        QVERIFY2(first.out.contains(" 2009 г."), first.out.constData());
}

void TestCli::importRoundTripAndInto()
{
    // The reports of the season m_season holds, exported: importing them gives the same database.
    const QList<Match> matches = generateMatches(smallSeason(0, 16));
    const QString reports = path(u"reports"_s), out = path(u"imported %5.swb"_s);
    const Run exported = runCli({u"export"_s, m_season, u"--xml"_s, reports});
    QCOMPARE(QString::fromUtf8(exported.out),
             u"%1 reports written to '%2'\n"_s.arg(matches.size()).arg(reports));
    QVERIFY(writeFile(reports + u"/notes.txt"_s, "")); // counted as a file, not read
    const Run import = runCli({u"import"_s, reports, u"-o"_s, out});
    QCOMPARE(import.code, 0);
    const QString n = QString::number(matches.size()), files = QString::number(matches.size() + 1);
    QCOMPARE(QString::fromUtf8(import.out).remove(QRegularExpression(u" in \\d+ ms"_s)),
             u"%1 files, %2 matches imported; '%3' holds %2 matches\n"_s.arg(files, n, out));
    QCOMPARE(runCli({u"info"_s, out}).out, runCli({u"info"_s, m_season}).out);
    MatchStore store;
    QVERIFY(readDatabase(out, store).ok());
    QCOMPARE(store.count(), matches.size());
    for (const Match &match : matches) {
        const std::optional<Match> read = store.find(match->fileName);
        QVERIFY2(read && read->sameRecord(match), qPrintable(match->fileName));
    }

    // CSV results: every line a match or a refusal on stderr naming its line.
    const QString csv = path(u"results.csv"_s), results = path(u"results.swb"_s);
    QVERIFY(writeFile(csv, "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG\nE0,09/08/2019,A,B,4,1\n"
                           "E0,10/08/2019,C,,0,0\nE0,09/08/2019,A,B,4,1\n"));
    const Run csvRun = runCli({u"import-csv"_s, csv, u"-o"_s, results, u"--tournament"_s, u"T"_s});
    QCOMPARE(csvRun.code, 0);
    QCOMPARE(QString::fromUtf8(csvRun.out),
             u"3 lines read: 1 matches imported, 1 duplicates skipped, 1 refused; '%1' holds 1 "
             "matches\ntext encoding: UTF-8\n"_s.arg(results));
    QCOMPARE(csvRun.err, u"%1:3: line refused: no away team\n"_s.arg(csv));
    QCOMPARE(runCli({u"info"_s, results}).out,
             QByteArray("matches: 1\ndates: 2019-08-09 .. 2019-08-09\nundated: 0\n"
                        "tournaments: 1\nT\n"));

    // --into appends to what the file held, even the file being written.
    const QString into = path(u"into.swb"_s);
    QVERIFY(writeFile(into, m_fixture));
    QCOMPARE(runCli({u"import"_s, u"--into"_s, into, reports, u"-o"_s, into}).code, 0);
    MatchStore appended;
    QVERIFY(readDatabase(into, appended).ok());
    QCOMPARE(appended.count(), 4 + matches.size());
    QCOMPARE(appended.matches().at(0)->fileName, u"1.xml"_s);
    QCOMPARE(appended.tournamentNames(), (QStringList{u"Высшая лига"_s, u"Кубок"_s, u"Лига"_s}));
}

// The commands that replace a database: delete, and the lock every writer of a database takes,
// the window's as well, so that a second writer refuses naming the holder instead of losing an
// update.
void TestCli::writers_data()
{
    QTest::addColumn<QString>("arguments"); // DB the fixture, NEW a fresh name, DIR one report,
                                            // CSV one result line
    QTest::addColumn<bool>("locked");       // this process holds DB's lock
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");     // a part of stderr; PID this process
    QTest::addColumn<QString>("written"); // the matches of the file written, "" DB unchanged
    QTest::newRow("delete two in place")
        << u"delete DB 3.xml 1.xml -o DB"_s << false << 0 << QString() << u"2.xml 4.xml"_s;
    QTest::newRow("delete into another file")
        << u"delete DB 2.xml -o NEW"_s << false << 0 << QString() << u"1.xml 3.xml 4.xml"_s;
    QTest::newRow("delete the undated one")
        << u"delete DB 4.xml -o DB"_s << false << 0 << QString() << u"1.xml 2.xml 3.xml"_s;
    QTest::newRow("delete a name no match has")
        << u"delete DB 1.xml 9.xml -o DB"_s << false << 1
        << u"holds no match with the file name 9.xml"_s << QString();
    QTest::newRow("delete without names")
        << u"delete DB -o DB"_s << false << 2 << u"takes"_s << QString();
    QTest::newRow("delete, lock held")
        << u"delete DB 1.xml -o DB"_s << true << 1 << u"(process PID on"_s << QString();
    QTest::newRow("import into itself, lock held")
        << u"import --into DB DIR -o DB"_s << true << 1 << u"in use by"_s << QString();
    QTest::newRow("import-csv into itself, lock held")
        << u"import-csv CSV --into DB -o DB"_s << true << 1 << u"in use by"_s << QString();
    QTest::newRow("import elsewhere, lock held") << u"import --into DB DIR -o NEW"_s << true << 0
                                                 << QString() << u"1.xml 2.xml 3.xml 4.xml r.xml"_s;
    QTest::newRow("import into itself") << u"import --into DB DIR -o DB"_s << false << 0
                                        << QString() << u"1.xml 2.xml 3.xml 4.xml r.xml"_s;
}

void TestCli::writers()
{
    QFETCH(QString, arguments);
    QFETCH(bool, locked);
    QFETCH(int, code);
    QFETCH(QString, err);
    QFETCH(QString, written);
    const QString db = path(u"writers.swb"_s), fresh = path(u"writers-new.swb"_s);
    const QString reports = path(u"writers-reports"_s), csv = path(u"writers.csv"_s);
    QFile::remove(fresh);
    QFile::remove(rulesFilePath(fresh));
    QVERIFY(writeFile(db, m_fixture));
    const QByteArray rules = R"({"tournaments": {"Лига": {"points": {"win": 2}}}})";
    QVERIFY(writeFile(rulesFilePath(db), rules));
    QVERIFY(writeFile(csv, "Date;Home;Away;FT\n01.03.2015;A;B;2:2\n"));
    QVERIFY(
        exportXmlReports({makeMatch(u"r.xml"_s, u"2010-01-01"_s, u"A"_s, u"B"_s)}, reports).ok());
    DatabaseLock lock;
    QVERIFY(!locked || lock.take(db).locked());

    QStringList args = arguments.split(u' ');
    args.replaceInStrings(u"DB"_s, db).replaceInStrings(u"NEW"_s, fresh);
    args.replaceInStrings(u"DIR"_s, reports).replaceInStrings(u"CSV"_s, csv);
    const Run run = runCli(args);
    QCOMPARE(run.code, code);
    err.replace(u"PID"_s, QString::number(QCoreApplication::applicationPid()));
    QVERIFY2(err.isEmpty() ? !run.err.contains(u"error"_s) : run.err.contains(err),
             qPrintable(run.err));
    const QString target = args.contains(fresh) ? fresh : db;
    if (written.isEmpty()) {
        QCOMPARE(readFile(db), m_fixture);
        QVERIFY(!QFile::exists(fresh));
        return;
    }
    MatchStore store;
    QVERIFY(readDatabase(target, store).ok());
    QCOMPARE(fieldOfAll(store, &MatchData::fileName).join(u' '), written);
    QCOMPARE(readFile(db) == m_fixture, target != db);
    // The rules go with the matches to a new name.
    RuleBook book;
    QCOMPARE(readRulesFile(rulesFilePath(target), book).status, RulesFileResult::Ok);
    QCOMPARE(book.rulesFor(u"Лига"_s).win, 2);
}

void TestCli::windows1251ReportReadsBack()
{
    // In windows-1251 a character the encoding lacks is written as a reference (escaping and
    // UTF-8 are the round trip's in tst_import).
    Match match = generateMatches(smallSeason(7)).constFirst();
    match.edit().fileName = u"report.xml"_s;
    match.edit().team1 = u"Ёлки € 😀 ✓"_s;
    QVERIFY(writeFile(path(match->fileName), reportXml(*match, true)));
    QFile file(path(match->fileName));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(readMatchXml(file).sameRecord(match));
}

// The rows of a query, cells joined by tabs; or, named, each cell as "column=value" but where the
// value is the column's name, joined by spaces.
QStringList queryRows(const QString &database, const QString &statement, bool named = false)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"check"_s);
        db.setDatabaseName(database);
        if (!db.open())
            return {u"cannot open"_s};
        QSqlQuery query(db);
        if (!query.exec(statement))
            return {u"query failed"_s};
        while (query.next()) {
            QStringList cells;
            for (int i = 0; i < query.record().count(); ++i) {
                const QString name = query.record().fieldName(i);
                const QString value = query.isNull(i) ? u"NULL"_s : query.value(i).toString();
                if (!named)
                    cells.append(value);
                else if (value != name)
                    cells.append(name + u'=' + value);
            }
            rows.append(cells.join(named ? u' ' : u'\t'));
        }
    }
    QSqlDatabase::removeDatabase(u"check"_s);
    return rows;
}

void TestCli::sqliteExport_data()
{
    QTest::addColumn<QString>("query");    // a file of bench/sql, or a statement
    QTest::addColumn<QString>("expected"); // a page's tsv rows, or rows joined by '|'
    QTest::addColumn<bool>("ordered");     // false: the page orders ties its own way

    QTest::newRow("standings") << u"standings.sql"_s << u"page standings"_s << true;
    QTest::newRow("players") << u"players.sql"_s << u"page players"_s << false;
    QTest::newRow("line-ups and events")
        << u"SELECT count(DISTINCT mid), min(ord), max(side), count(*) = count(team) FROM lineups "
           "UNION ALL SELECT count(DISTINCT mid), min(ord), 0, count(*) = count(type) FROM events"_s
        << u"271\t0\t2\t1|271\t0\t0\t1"_s << true;
}

void TestCli::sqliteExport()
{
    QFETCH(QString, query);
    QFETCH(QString, expected);
    QFETCH(bool, ordered);
    const QString out = path(u"export.sqlite"_s);
    QVERIFY(writeFile(out, "old")); // replaced whole
    const Run run = runCli({u"export"_s, m_season, u"--sqlite"_s, out});
    QCOMPARE(run.code, 0);
    QVERIFY2(run.out.startsWith("271 matches written"), run.out.constData());

    if (query.endsWith(u".sql"_s))
        query = QString::fromUtf8(readFile(u"%1/%2"_s.arg(QStringLiteral(SQL_DIR), query)));
    QStringList rows;
    if (expected.startsWith(u"page "_s)) {
        // The page's numbers are padded to a width; the query gives them bare.
        const Run page = runCli({u"page"_s, m_season, expected.mid(5), u"--format"_s, u"tsv"_s});
        rows = QString::fromUtf8(page.out).split(u'\n', Qt::SkipEmptyParts);
        // The query does not answer the players' minutes: that column is left out.
        const qsizetype minutes =
            rows.isEmpty() ? -1 : rows.first().split(u'\t').indexOf(u"Мин."_s);
        if (!rows.isEmpty())
            rows.removeFirst();
        for (QString &row : rows) {
            QStringList cells = row.split(u'\t');
            if (minutes >= 0)
                cells.removeAt(minutes);
            row = cells.join(u'\t');
        }
        rows.replaceInStrings(QRegularExpression(u"(^|\t) +"_s), u"\\1"_s);
    } else {
        rows = expected.split(u'|');
    }
    QStringList got = queryRows(out, query);
    QVERIFY(rows.size() > 1);
    if (!ordered) {
        rows.sort();
        got.sort();
    }
    QCOMPARE(got, rows);
}

// Every column holds its own field: each value names its column (an empty one is ''), and a
// match of nothing but nulls, undated, leaves every column NULL.
void TestCli::sqliteColumnsHoldTheirFields()
{
    Match named;
    MatchData &m = named.edit();
    for (const auto &[column, field] : textFields)
        m.*field = QString::fromLatin1(column);
    m.fileName = u"fileName"_s;
    m.extra2 = u""_s;
    m.date = QDate(2020, 5, 7);
    m.players1 = lineup({u"name1a#playerid1a"_s, u"name1b#playerid1b"_s});
    m.players2 = lineup({u"name2a#playerid2a"_s});
    m.events = {MatchEvent{u"time"_s, u"type"_s, u"comment"_s, u"team"_s, u"playerid"_s,
                           u"player"_s, u"playerid2"_s, u"player2"_s}};
    const QString out = path(u"columns.sqlite"_s);
    QVERIFY(exportSqlite(makeStore({named, Match()}), out, {}).ok());

    QStringList rows;
    for (const QString &table : {u"matches"_s, u"lineups"_s, u"events"_s}) {
        for (const QString &row : queryRows(out, u"SELECT * FROM "_s + table, true))
            rows.append(table + u": "_s + row);
    }
    QCOMPARE(rows, (QStringList{
                       u"matches: mid=1 date=2020-05-07 extra2="_s,
                       u"matches: mid=2 "_s +
                           (u"fileName id round tournament date time team1 team1Id team2 team2Id "
                            "goals1 goals2 extra1 extra2 penalties1 penalties2 coach1 coach1Id "
                            "coach2 coach2Id stadium stadiumId city attendance referee "
                            "refereeId refereeCity"_s)
                               .replace(QRegularExpression(u"(\\w+)"_s), u"\\1=NULL"_s),
                       u"lineups: mid=1 side=1 ord=0 playerid=playerid1a name=name1a team=team1"_s,
                       u"lineups: mid=1 side=1 ord=1 playerid=playerid1b name=name1b team=team1"_s,
                       u"lineups: mid=1 side=2 ord=0 playerid=playerid2a name=name2a team=team2"_s,
                       u"events: mid=1 ord=0"_s}));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
