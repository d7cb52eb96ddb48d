#include "pages/builders.h"
#include "pages/pagecodes.h"
#include "strings/texts.h"
#include "testsupport.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Two matches on 1 March (A-B and C-D), one on 5 March (B-C), stored out of date order.
MatchStore listStore()
{
    Match late = makeMatch(u"late.xml"_s, u"2009-03-05"_s, u"B"_s, u"C"_s, u"2"_s, u"2"_s);
    late.edit().stadium = u"S2"_s;
    late.edit().city = u"Town"_s;
    late.edit().coach1 = u"K2"_s;
    late.edit().events = makeEvents({u"P|P1|B"_s, u"O|P5|C"_s, u"M|P6|C"_s});

    Match early = makeMatch(u"early.xml"_s, u"2009-03-01"_s, u"A"_s, u"B"_s, u"1"_s, u"0"_s);
    early.edit().stadium = u"S1"_s;
    early.edit().city = u"City"_s;
    early.edit().referee = u"R1"_s;
    early.edit().coach1 = u"K1"_s;
    early.edit().coach2 = u"K2"_s;
    early.edit().players1 = lineup({u"P1"_s});
    early.edit().players2 = lineup({u"P2"_s});
    early.edit().events = makeEvents({u"G|P1|A"_s, u"S|P2|B||P3"_s, u"C|P4|B"_s, u"G|P1|A"_s});

    Match other = makeMatch(u"other.xml"_s, u"2009-03-01"_s, u"C"_s, u"D"_s, u"3"_s, u"4"_s);
    other.edit().stadium = u"S1"_s;
    other.edit().referee = u"R1"_s;
    return makeStore({late, early, other});
}

} // namespace

class TestMatchLists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameTests_data();
    void nameTests();
    void drillDownSelects_data();
    void drillDownSelects();
    void layouts_data();
    void layouts();
    void sameDateAndTeamsShareARow();
    void filterBoundsThroughRunner_data();
    void filterBoundsThroughRunner();
};

void TestMatchLists::nameTests_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("plays");
    QTest::addColumn<int>("goals");

    QTest::newRow("home line-up") << QStringList() << u"H1"_s << true << 0;
    QTest::newRow("away line-up") << QStringList() << u"A1"_s << true << 0;
    QTest::newRow("other letter case") << QStringList{u"G|h1"_s} << u"H1"_s << true << 0;
    QTest::newRow("came on") << QStringList{u"S|H1|T||Sub"_s} << u"Sub"_s << true << 0;
    QTest::newRow("second player of another event")
        << QStringList{u"C|X|T||Sub"_s} << u"Sub"_s << false << 0;
    QTest::newRow("only cautioned") << QStringList{u"C|Booked"_s} << u"Booked"_s << false << 0;
    QTest::newRow("goal and penalty goal")
        << QStringList{u"G|H1"_s, u"P|H1"_s, u"G|A1"_s} << u"H1"_s << true << 2;
    QTest::newRow("own goal and missed penalty")
        << QStringList{u"O|Out"_s, u"M|Out"_s} << u"Out"_s << false << 0;
    QTest::newRow("goal of an unnamed player") << QStringList{u"G|"_s} << QString() << false << 1;
}

void TestMatchLists::nameTests()
{
    QFETCH(QStringList, events);
    QFETCH(QString, name);
    QFETCH(bool, plays);
    QFETCH(int, goals);

    Match match = makeMatch(u"m.xml"_s, u"2009-03-01"_s, u"T"_s, u"U"_s);
    match.edit().players1 = lineup({u"H1"_s, u"H2"_s});
    match.edit().players2 = lineup({u"A1"_s});
    match.edit().events = makeEvents(events);
    QCOMPARE(playsInMatch(*match, name), plays);
    QCOMPARE(goalsInMatch(*match, name), goals);
}

void TestMatchLists::drillDownSelects_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("stadium") << u"st02_S1"_s << QStringList{u"early.xml"_s, u"other.xml"_s};
    QTest::newRow("referee") << u"re02_R1"_s << QStringList{u"early.xml"_s, u"other.xml"_s};
    QTest::newRow("no referee") << u"re02_"_s << QStringList{u"late.xml"_s};
    QTest::newRow("coach of either side")
        << u"co02_K2"_s << QStringList{u"early.xml"_s, u"late.xml"_s};
    QTest::newRow("team of either side")
        << u"ta02_B"_s << QStringList{u"early.xml"_s, u"late.xml"_s};
    QTest::newRow("team in other case") << u"ta02_b"_s << QStringList();
    QTest::newRow("substitute") << u"pl02_P3"_s << QStringList{u"early.xml"_s};
    QTest::newRow("cautioned only") << u"pl02_P4"_s << QStringList();
    QTest::newRow("scorer") << u"go02_P1"_s << QStringList{u"early.xml"_s, u"late.xml"_s};
    QTest::newRow("own goal only") << u"go02_P5"_s << QStringList();
    QTest::newRow("missed penalty only") << u"go02_P6"_s << QStringList();
    QTest::newRow("all matches") << u"ma01_"_s
                                 << QStringList{u"early.xml"_s, u"other.xml"_s, u"late.xml"_s};
}

void TestMatchLists::drillDownSelects()
{
    QFETCH(QString, link);
    QFETCH(QStringList, files);

    const LinkParts parts = splitLink(link);
    const PageCodeEntry *entry = findPageCode(parts.code);
    QVERIFY(entry);
    const TableData table =
        runBuilder(listStore(), entry->builder, pageArgument(*entry, parts.argument));
    QStringList links;
    for (const QString &file : std::as_const(files))
        links.append(u"xm01_"_s + file);
    // Sorted by date; matches of one day keep their store order.
    QCOMPARE(columnOf(table, table.linkColumn()), links);
}

void TestMatchLists::layouts_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QStringList>("lines");

    const Texts &t = texts();
    QTest::newRow("all matches") << u"ma01_"_s << QStringList{t.hDate, t.hHome, t.hAway, t.hScore}
                                 << QList<int>{120, 120, 120, 60}
                                 << QStringList{u"2009/03/01|A|B|1:0|xm01_early.xml"_s,
                                                u"2009/03/01|C|D|3:4|xm01_other.xml"_s,
                                                u"2009/03/05|B|C|2:2|xm01_late.xml"_s};
    QTest::newRow("stadium") << u"st02_S2"_s
                             << QStringList{t.hDate, t.hCity, t.hHome, t.hAway, t.hScore}
                             << QList<int>{90, 120, 120, 120, 60}
                             << QStringList{u"2009/03/05|Town|B|C|2:2|xm01_late.xml"_s};
    QTest::newRow("goals") << u"go02_P1"_s
                           << QStringList{t.hDate, t.hCity, t.hHome, t.hAway, t.hScore, t.hBalls}
                           << QList<int>{90, 120, 120, 90, 90, 60}
                           << QStringList{u"2009/03/01|City|A|B|1:0|2|xm01_early.xml"_s,
                                          u"2009/03/05|Town|B|C|2:2|1|xm01_late.xml"_s};
    QTest::newRow("nothing selected")
        << u"st02_Nowhere"_s << QStringList{t.hDate, t.hCity, t.hHome, t.hAway, t.hScore}
        << QList<int>{90, 120, 120, 120, 60} << QStringList();
}

void TestMatchLists::layouts()
{
    QFETCH(QString, link);
    QFETCH(QStringList, headers);
    QFETCH(QList<int>, widths);
    QFETCH(QStringList, lines);

    const LinkParts parts = splitLink(link);
    const PageCodeEntry *entry = findPageCode(parts.code);
    QVERIFY(entry);
    const TableData table = runBuilder(listStore(), entry->builder, parts.argument);
    QCOMPARE(table.headers(), headers);
    QCOMPARE(table.columnWidths(), widths);
    QCOMPARE(tableLines(table), lines);
    QVERIFY(table.isSortingEnabled());
    QCOMPARE(table.sortColumn(), 0);
    QCOMPARE(table.sortOrder(), Qt::AscendingOrder);
}

void TestMatchLists::sameDateAndTeamsShareARow()
{
    // The same match imported twice: the overview lists both, the drill-down lists one row that
    // carries the later file's texts and goal count.
    Match first = makeMatch(u"first.xml"_s, u"2009-03-01"_s, u"A"_s, u"B"_s, u"1"_s, u"0"_s);
    first.edit().events = makeEvents({u"G|P1|A"_s});
    Match again = makeMatch(u"again.xml"_s, u"2009-03-01"_s, u"A"_s, u"B"_s, u"2"_s, u"0"_s);
    again.edit().events = makeEvents({u"G|P1|A"_s, u"G|P1|A"_s});
    // Same teams the other way round, or another day: different matches.
    const Match reversed = makeMatch(u"rev.xml"_s, u"2009-03-01"_s, u"B"_s, u"A"_s);
    const Match nextDay = makeMatch(u"next.xml"_s, u"2009-03-02"_s, u"A"_s, u"B"_s);
    const MatchStore store = makeStore({first, reversed, again, nextDay});

    QCOMPARE(matchRowKey(*first), u"20090301,A,B"_s);
    QCOMPARE(runBuilder(store, calculateMatches).rowCount(), 4);
    QCOMPARE(columnOf(runBuilder(store, teamMatches, u"A"_s), 5),
             (QStringList{u"xm01_again.xml"_s, u"xm01_rev.xml"_s, u"xm01_next.xml"_s}));
    QCOMPARE(tableLines(runBuilder(store, goalMatches, u"P1"_s)),
             QStringList{u"2009/03/01||A|B|2:0|2|xm01_again.xml"_s});
}

void TestMatchLists::filterBoundsThroughRunner_data()
{
    QTest::addColumn<QString>("tournament");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("every tournament")
        << texts().allTournaments << QStringList{u"from"_s, u"cup"_s, u"till"_s};
    QTest::newRow("empty choice") << QString() << QStringList{u"from"_s, u"cup"_s, u"till"_s};
    QTest::newRow("exact name") << u"Кубок"_s << QStringList{u"cup"_s};
    QTest::newRow("other letter case") << u"кубок"_s << QStringList();
}

void TestMatchLists::filterBoundsThroughRunner()
{
    QFETCH(QString, tournament);
    QFETCH(QStringList, files);

    Match cup = makeMatch(u"cup"_s, u"2009-03-10"_s, u"A"_s, u"B"_s);
    cup.edit().tournament = u"Кубок"_s;
    const MatchStore store = makeStore({
        makeMatch(u"before"_s, u"2009-02-28"_s, u"A"_s, u"B"_s),
        makeMatch(u"from"_s, u"2009-03-01"_s, u"A"_s, u"B"_s),
        cup,
        makeMatch(u"till"_s, u"2009-03-31"_s, u"A"_s, u"B"_s),
        makeMatch(u"after"_s, u"2009-04-01"_s, u"A"_s, u"B"_s),
        makeMatch(u"undated"_s, QString(), u"A"_s, u"B"_s),
    });
    MatchFilter filter;
    filter.tournament = tournament;
    filter.from = QDate(2009, 3, 1);
    filter.till = QDate(2009, 3, 31);
    const TableData table = runBuilder(store, calculateMatches, QString(), false, filter);
    QStringList links;
    for (const QString &file : std::as_const(files))
        links.append(u"xm01_"_s + file);
    QCOMPARE(columnOf(table, table.linkColumn()), links);
}

QTEST_GUILESS_MAIN(TestMatchLists)
#include "tst_matchlists.moc"
