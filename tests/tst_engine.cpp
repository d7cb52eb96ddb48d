#include "pages/builders.h"
#include "pages/pagecodes.h"
#include "pages/pagerunner.h"
#include "pages/tabledata.h"
#include "strings/plural.h"
#include "strings/texts.h"
#include "testsupport.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// A builder that records what it was given: one row per selected match, keyed by file name.
void recordingBuilder(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        PageRow &row = rows.rowFor(context.match->fileName);
        row.setText(0, context.match->fileName);
        row.setText(1, context.params.argument);
        row.addCount(0, 1);
        return;
    }
    context.table->prepareTable({QStringLiteral("file"), QStringLiteral("argument")}, 60,
                                int(rows.size()));
    int r = 0;
    rows.forEach([&](const PageRow &row) {
        context.table->setCell(r, 0, row.text(0));
        context.table->setCell(r, 1, row.text(1));
        context.table->setCell(r, 2, PageCode::Report + row.text(0));
        ++r;
    });
    context.table->sortByColumn(0, Qt::AscendingOrder);
}

Match dated(const QString &fileName, const QDate &date, const QString &tournament = QString())
{
    Match match;
    match.edit().fileName = fileName;
    match.edit().date = date;
    match.edit().tournament = tournament;
    return match;
}

} // namespace

class TestEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableSortsStablyByCodeUnits_data();
    void tableSortsStablyByCodeUnits();
    void rowsKeepCreationOrderAndUniqueKeys();
    void runnerProgressAndEmit();
    void runnerOnEmptyStoreDoesNotEmit();
    void pagesGatheredInParts_data();
    void pagesGatheredInParts();
    void filterSelects_data();
    void filterSelects();
    void pageCodes_data();
    void pageCodes();
    void pluralForms_data();
    void pluralForms();
};

void TestEngine::tableSortsStablyByCodeUnits_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("expected");

    // Upper-case Latin before lower-case, Latin before Cyrillic; "10" before "9" as text.
    QTest::newRow("code units") << QStringList{u"b"_s, u"B"_s, u"Я"_s, u"a"_s, u"A"_s}
                                << int(Qt::AscendingOrder)
                                << QStringList{u"A"_s, u"B"_s, u"a"_s, u"b"_s, u"Я"_s};
    QTest::newRow("text order of numbers")
        << QStringList{u"9"_s, u"10"_s, u"   7"_s, u"  12"_s} << int(Qt::AscendingOrder)
        << QStringList{u"   7"_s, u"  12"_s, u"10"_s, u"9"_s};
    QTest::newRow("descending") << QStringList{u"1"_s, u"3"_s, u"2"_s} << int(Qt::DescendingOrder)
                                << QStringList{u"3"_s, u"2"_s, u"1"_s};
}

void TestEngine::tableSortsStablyByCodeUnits()
{
    QFETCH(QStringList, cells);
    QFETCH(int, order);
    QFETCH(QStringList, expected);

    TableData table;
    table.prepareTable({u"x"_s}, 60, int(cells.size()));
    for (int r = 0; r < cells.size(); ++r) {
        table.setCell(r, 0, cells.at(r));
        table.setCell(r, 1, QString::number(r));
    }
    table.sortByColumn(0, Qt::SortOrder(order));
    QStringList sorted;
    for (int r = 0; r < table.rowCount(); ++r)
        sorted << table.cell(r, 0);
    QCOMPARE(sorted, expected);

    // Equal cells keep the order they were written in, in both directions.
    TableData ties;
    ties.prepareTable({u"x"_s}, 60, 4);
    const QStringList keys{u"b"_s, u"a"_s, u"b"_s, u"a"_s};
    for (int r = 0; r < 4; ++r) {
        ties.setCell(r, 0, keys.at(r));
        ties.setCell(r, 1, QString::number(r));
    }
    ties.sortByColumn(0, Qt::SortOrder(order));
    QStringList links;
    for (int r = 0; r < 4; ++r)
        links << ties.link(r);
    QCOMPARE(links, order == Qt::AscendingOrder ? QStringList({u"1"_s, u"3"_s, u"0"_s, u"2"_s})
                                                : QStringList({u"0"_s, u"2"_s, u"1"_s, u"3"_s}));
}

void TestEngine::rowsKeepCreationOrderAndUniqueKeys()
{
    PageRows rows;
    PageRow &first = rows.rowFor(u"x"_s);
    first.addCount(0, 2);
    PageRow &fresh = rows.newRow();
    PageRow &again = rows.rowFor(u"x"_s);
    QCOMPARE(&again, &first);
    QCOMPARE(again.count(0), 2);
    QCOMPARE(again.text(3), u""_s);
    QVERIFY(!again.text(3).isNull());

    // newRow never takes a key that is already there, even one that looks like a counter value.
    rows.rowFor(u"1"_s);
    rows.rowFor(u"2"_s);
    QSet<QString> keys;
    for (int i = 0; i < 5; ++i)
        keys.insert(rows.newRow().key());
    QCOMPARE(keys.size(), 5);
    QVERIFY(!keys.contains(u"1"_s) && !keys.contains(u"2"_s) && !keys.contains(u"x"_s));
    QVERIFY(!keys.contains(fresh.key()));

    QCOMPARE(rows.rows().size(), 9);
    QCOMPARE(rows.rows().at(0), &first);
    QCOMPARE(rows.rows().at(1), &fresh);
}

void TestEngine::runnerProgressAndEmit()
{
    MatchStore store;
    for (int i = 0; i < 2500; ++i)
        store.add(dated(QString::number(i), QDate(2009, 1, 1).addDays(i % 10)));
    MatchFilter filter;
    filter.tournament = texts().allTournaments;
    filter.from = QDate(2009, 1, 1);
    filter.till = QDate(2009, 1, 5);
    PageParams params;
    params.argument = u"arg"_s;

    QList<qsizetype> reported;
    TableData table;
    const PageRun run = runPage(store, filter, recordingBuilder, params, table,
                                [&](qsizetype examined) { reported.append(examined); });
    QCOMPARE(reported, (QList<qsizetype>{1000, 2000}));
    QCOMPARE(run.examined, 2500);
    QCOMPARE(run.selected, 1250);
    QVERIFY(run.emitted);
    QCOMPARE(table.rowCount(), 1250);
    QCOMPARE(table.cell(0, 1), u"arg"_s);
}

void TestEngine::runnerOnEmptyStoreDoesNotEmit()
{
    MatchStore store;
    TableData table;
    table.prepareTable({u"kept"_s}, 60, 1);
    const PageRun run = runPage(store, MatchFilter(), recordingBuilder, PageParams(), table);
    QVERIFY(!run.emitted);
    QCOMPARE(table.headers(), QStringList{u"kept"_s});

    // A store whose matches all fail the filter still shows the headers, without rows.
    store.add(dated(u"a"_s, QDate()));
    MatchFilter filter;
    filter.from = QDate(1800, 1, 1);
    filter.till = QDate(2999, 12, 31);
    const PageRun emptyRun = runPage(store, filter, recordingBuilder, PageParams(), table);
    QVERIFY(emptyRun.emitted);
    QCOMPARE(table.headers(), (QStringList{u"file"_s, u"argument"_s}));
    QCOMPARE(table.rowCount(), 0);
}

void TestEngine::pagesGatheredInParts_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("considerId");
    QTest::newRow("players") << u"players"_s << QString() << false;
    QTest::newRow("players by ID") << u"players"_s << QString() << true;
    QTest::newRow("a search by ID") << u"fpl1_"_s << u"Иван"_s << true;
}

// A page gathered over a large store on every core, a stretch each, gives what one pass over it
// gives: every count of every player (some first met late, some moving between teams and
// renamed as the store goes on), the texts he was last seen with, the reports whose minutes
// cannot be read.
void TestEngine::pagesGatheredInParts()
{
    QFETCH(QString, page);
    QFETCH(QString, argument);
    QFETCH(bool, considerId);
    QList<Match> matches;
    const int n = 12000;
    for (int i = 0; i < n; ++i) {
        const QString team1 = u"Команда %1"_s.arg(i % 7), team2 = u"Команда %1"_s.arg(i % 7 + 7);
        Match match = makeMatch(QString::number(i), u"2009-01-01"_s, team1, team2);
        // Player k joins at match 50 k, plays for team1 or team2 as the store goes on, and from
        // the middle on is written with his first name.
        QStringList names;
        for (int k = 0; k < 40 && 50 * k <= i; k += 1 + i % 3)
            names.append((i < n / 2 ? u"Игрок %1#%2"_s : u"Игрок %1 Иван#%2"_s).arg(k).arg(k % 30));
        match.edit().players1 = lineup(names.mid(0, names.size() / 2));
        match.edit().players2 = lineup(names.mid(names.size() / 2));
        const QString scorer = match->players1.value(0).name;
        match.edit().events = makeEvents(
            {u"G|%1|%2|%3||%4"_s.arg(scorer, team1, match->players1.value(0).id).arg(i % 90),
             u"S|%1|%2||Запасной|%3"_s.arg(scorer, team1, i % 11 ? u"60"_s : u"?"_s),
             u"%1|Игрок 3|%2|3"_s.arg(u"CRYPMO"_s.at(i % 6), team2)});
        matches.append(match);
    }
    const MatchStore store = makeStore(matches);
    const PageCodeEntry *entry = findPageByName(page) ? findPageByName(page) : findPageCode(page);
    QVERIFY(entry && entry->merge);
    PageParams params;
    params.argument = argument;
    params.considerId = considerId;
    TableData inParts, inOne;
    runPage(store, everything(), entry->builder, params, inParts, {}, entry->merge);
    runPage(store, everything(), entry->builder, params, inOne);
    QVERIFY(inOne.rowCount() >= 10);
    QCOMPARE(tableLines(inParts), tableLines(inOne));
    QCOMPARE(inParts.footnote(), inOne.footnote());
}

void TestEngine::filterSelects_data()
{
    QTest::addColumn<QString>("tournament");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("round");
    // The filters over March 2009 that select the match: c the cup's, a every tournament's,
    // r the cup's round 1/8, R round 1/8 of every tournament, e the empty tournament name's,
    // n the empty round of every tournament.
    QTest::addColumn<QString>("selectedBy");

    const QString cup = u"Кубок"_s, eighth = u"1/8"_s;
    QTest::newRow("on the from date") << cup << QDate(2009, 3, 1) << eighth << u"carR"_s;
    QTest::newRow("on the till date") << cup << QDate(2009, 3, 31) << eighth << u"carR"_s;
    QTest::newRow("a day before") << cup << QDate(2009, 2, 28) << eighth << QString();
    QTest::newRow("a day after") << cup << QDate(2009, 4, 1) << eighth << QString();
    QTest::newRow("undated") << cup << QDate() << eighth << QString();
    QTest::newRow("other case") << u"кубок"_s << QDate(2009, 3, 10) << eighth << u"aR"_s;
    QTest::newRow("same round, other tournament")
        << u"Лига"_s << QDate(2009, 3, 10) << eighth << u"aR"_s;
    QTest::newRow("other round") << cup << QDate(2009, 3, 10) << u"1/4"_s << u"ca"_s;
    QTest::newRow("no round") << cup << QDate(2009, 3, 10) << QString() << u"can"_s;
    QTest::newRow("no tournament, empty round")
        << QString() << QDate(2009, 3, 10) << u""_s << u"aen"_s;
    QTest::newRow("empty tournament") << u""_s << QDate(2009, 3, 10) << eighth << u"aRe"_s;
}

void TestEngine::filterSelects()
{
    QFETCH(QString, tournament);
    QFETCH(QDate, date);
    QFETCH(QString, round);

    // The match, and an undated one that holds the texts the filters look for.
    MatchStore store;
    Match match = dated(u"m"_s, date, tournament);
    match.edit().round = round;
    store.add(match);
    Match named = dated(u"t"_s, QDate(), u"Кубок"_s);
    named.edit().round = u"1/8"_s;
    store.add(named);
    const QString all = texts().allTournaments, allRounds = texts().allRounds;
    const std::tuple<QChar, QString, QString> filters[] = {
        {u'c', u"Кубок"_s, allRounds}, {u'a', all, allRounds},   {u'r', u"Кубок"_s, u"1/8"_s},
        {u'R', all, u"1/8"_s},         {u'e', u""_s, allRounds}, {u'n', all, u""_s}};
    QString selectedBy;
    for (const auto &[name, wantedTournament, wantedRound] : filters) {
        MatchFilter filter;
        filter.tournament = wantedTournament;
        filter.round = wantedRound;
        filter.from = QDate(2009, 3, 1);
        filter.till = QDate(2009, 3, 31);
        const MatchSelection selection(filter, store);
        QVERIFY(!selection.selects(store.record(1)));
        if (selection.selects(store.record(0)))
            selectedBy += name;
    }
    QTEST(selectedBy, "selectedBy");
}

void TestEngine::pageCodes_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("argument");

    QTest::newRow("empty") << QString() << false << QString();
    QTest::newRow("overview ignores argument") << u"ma01_junk"_s << true << QString();
    QTest::newRow("drill-down keeps underscores") << u"re02_Попов_2"_s << true << u"Попов_2"_s;
    QTest::newRow("code is case-sensitive") << u"RE02_Попов"_s << false << QString();
}

void TestEngine::pageCodes()
{
    QFETCH(QString, link);
    QFETCH(QString, argument);

    const LinkParts parts = splitLink(link);
    QCOMPARE(parts.code + parts.argument, link);
    const PageCodeEntry *entry = findPageCode(parts.code);
    QTEST(entry != nullptr, "known");
    if (entry)
        QCOMPARE(pageArgument(*entry, parts.argument), argument);
}

void TestEngine::pluralForms_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("matches");

    // The last digit decides, except that 11-14 (in any hundred) take the third form.
    QTest::newRow("0") << qint64(0) << u"0 файлов"_s << u"0 матчей"_s;
    QTest::newRow("1") << qint64(1) << u"1 файл"_s << u"1 матч"_s;
    QTest::newRow("2") << qint64(2) << u"2 файла"_s << u"2 матча"_s;
    QTest::newRow("4") << qint64(4) << u"4 файла"_s << u"4 матча"_s;
    QTest::newRow("5") << qint64(5) << u"5 файлов"_s << u"5 матчей"_s;
    QTest::newRow("10") << qint64(10) << u"10 файлов"_s << u"10 матчей"_s;
    QTest::newRow("11") << qint64(11) << u"11 файлов"_s << u"11 матчей"_s;
    QTest::newRow("12") << qint64(12) << u"12 файлов"_s << u"12 матчей"_s;
    QTest::newRow("14") << qint64(14) << u"14 файлов"_s << u"14 матчей"_s;
    QTest::newRow("15") << qint64(15) << u"15 файлов"_s << u"15 матчей"_s;
    QTest::newRow("21") << qint64(21) << u"21 файл"_s << u"21 матч"_s;
    QTest::newRow("22") << qint64(22) << u"22 файла"_s << u"22 матча"_s;
    QTest::newRow("25") << qint64(25) << u"25 файлов"_s << u"25 матчей"_s;
    QTest::newRow("101") << qint64(101) << u"101 файл"_s << u"101 матч"_s;
    QTest::newRow("111") << qint64(111) << u"111 файлов"_s << u"111 матчей"_s;
    QTest::newRow("112") << qint64(112) << u"112 файлов"_s << u"112 матчей"_s;
    QTest::newRow("1004") << qint64(1004) << u"1004 файла"_s << u"1004 матча"_s;
    QTest::newRow("28824") << qint64(28824) << u"28824 файла"_s << u"28824 матча"_s;
    QTest::newRow("-21") << qint64(-21) << u"-21 файл"_s << u"-21 матч"_s;
}

void TestEngine::pluralForms()
{
    QFETCH(qint64, count);
    QFETCH(QString, files);
    QFETCH(QString, matches);
    QCOMPARE(countWithNoun(count, nouns().files), files);
    QCOMPARE(countWithNoun(count, nouns().matches), matches);
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
