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
    Match late = makeMatch(u"late"_s, u"2009-03-05"_s, u"B"_s, u"C"_s, u"2"_s, u"2"_s);
    late.edit().stadium = u"S2"_s;
    late.edit().city = u"Town"_s;
    late.edit().coach1 = u"K2"_s;
    late.edit().events = makeEvents({u"P|P1|B"_s, u"O|P5|C"_s, u"M|P6|C"_s});

    Match early = makeMatch(u"early"_s, u"2009-03-01"_s, u"A"_s, u"B"_s, u"1"_s, u"0"_s);
    early.edit().stadium = u"S1"_s;
    early.edit().city = u"City"_s;
    early.edit().referee = u"R1"_s;
    early.edit().coach2 = u"K2"_s;
    early.edit().players1 = lineup({u"P1"_s});
    early.edit().players2 = lineup({u"P2"_s});
    early.edit().events = makeEvents({u"G|P1|A"_s, u"S|P2|B||P3"_s, u"C|P4|B||P7"_s, u"G|P1"_s});

    Match other = makeMatch(u"other"_s, u"2009-03-01"_s, u"C"_s, u"D"_s, u"3"_s, u"4"_s);
    other.edit().stadium = u"S1"_s;
    other.edit().referee = u"R1"_s;
    return makeStore({late, early, other});
}

TableData runLink(const MatchStore &store, const QString &link)
{
    const LinkParts parts = splitLink(link);
    const PageCodeEntry *entry = findPageCode(parts.code);
    return entry ? runBuilder(store, entry->builder, pageArgument(*entry, parts.argument))
                 : TableData();
}

} // namespace

class TestMatchLists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void selection_data();
    void selection();
    void layouts_data();
    void layouts();
    void sameDateAndTeamsShareARow();
    void dateTexts_data();
    void dateTexts();
    void filterBoundsThroughRunner();
};

void TestMatchLists::selection_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("files");

    QTest::newRow("stadium") << u"st02_S1"_s << u"early other"_s;
    QTest::newRow("referee") << u"re02_R1"_s << u"early other"_s;
    QTest::newRow("no referee") << u"re02_"_s << u"late"_s;
    QTest::newRow("coach of either side") << u"co02_K2"_s << u"early late"_s;
    QTest::newRow("team of either side") << u"ta02_B"_s << u"early late"_s;
    QTest::newRow("team in other case") << u"ta02_b"_s << QString();
    QTest::newRow("line-up") << u"pl02_P2"_s << u"early"_s;
    QTest::newRow("came on") << u"pl02_P3"_s << u"early"_s;
    QTest::newRow("second player of a caution") << u"pl02_P7"_s << QString();
    QTest::newRow("scorer, penalty included") << u"go02_P1"_s << u"early late"_s;
    QTest::newRow("own goal only") << u"go02_P5"_s << QString();
    QTest::newRow("missed penalty only") << u"go02_P6"_s << QString();
    QTest::newRow("all matches, argument ignored") << u"ma01_x"_s << u"early other late"_s;
}

void TestMatchLists::selection()
{
    QFETCH(QString, link);
    QFETCH(QString, files);

    // Sorted by date; matches of one day keep their store order.
    const TableData table = runLink(listStore(), link);
    QStringList links;
    for (const QString &file : files.split(u' ', Qt::SkipEmptyParts))
        links.append(u"xm01_"_s + file);
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
                                 << QStringList{u"2009/03/01|A|B|1:0|xm01_early"_s,
                                                u"2009/03/01|C|D|3:4|xm01_other"_s,
                                                u"2009/03/05|B|C|2:2|xm01_late"_s};
    QTest::newRow("goals") << u"go02_P1"_s
                           << QStringList{t.hDate, t.hCity, t.hHome, t.hAway, t.hScore, t.hBalls}
                           << QList<int>{90, 120, 120, 90, 90, 60}
                           << QStringList{u"2009/03/01|City|A|B|1:0|2|xm01_early"_s,
                                          u"2009/03/05|Town|B|C|2:2|1|xm01_late"_s};
}

void TestMatchLists::layouts()
{
    QFETCH(QString, link);
    QFETCH(QStringList, headers);
    QFETCH(QList<int>, widths);
    QFETCH(QStringList, lines);

    const TableData table = runLink(listStore(), link);
    QCOMPARE(table.headers(), headers);
    QCOMPARE(table.columnWidths(), widths);
    QCOMPARE(tableLines(table), lines);
}

void TestMatchLists::sameDateAndTeamsShareARow()
{
    // The same match imported twice: the overview lists both, a drill-down list one row that
    // carries the later file's texts and goal count. Reversed teams or another day: other rows.
    Match first = makeMatch(u"first"_s, u"2009-03-01"_s, u"A"_s, u"B"_s, u"1"_s, u"0"_s);
    first.edit().events = makeEvents({u"G|P1"_s, u"G|P1"_s});
    Match again = makeMatch(u"again"_s, u"2009-03-01"_s, u"A"_s, u"B"_s, u"2"_s, u"0"_s);
    again.edit().events = makeEvents({u"G|P1"_s});
    const MatchStore store =
        makeStore({first, makeMatch(u"rev"_s, u"2009-03-01"_s, u"B"_s, u"A"_s), again,
                   makeMatch(u"next"_s, u"2009-03-02"_s, u"A"_s, u"B"_s)});

    QCOMPARE(runLink(store, u"ma01_"_s).rowCount(), 4);
    QCOMPARE(columnOf(runLink(store, u"ta02_A"_s), 5),
             (QStringList{u"xm01_again"_s, u"xm01_rev"_s, u"xm01_next"_s}));
    QCOMPARE(tableLines(runLink(store, u"go02_P1"_s)),
             QStringList{u"2009/03/01||A|B|2:0|1|xm01_again"_s});
}

void TestMatchLists::dateTexts_data()
{
    QTest::addColumn<QDate>("date");
    QTest::newRow("ordinary") << QDate(2009, 3, 1);
    QTest::newRow("range bounds") << QDate(1800, 1, 1);
    QTest::newRow("last day") << QDate(2999, 12, 31);
    QTest::newRow("three-digit year") << QDate(999, 10, 5);
    QTest::newRow("five-digit year") << QDate(10000, 1, 1);
    QTest::newRow("undated") << QDate();
}

void TestMatchLists::dateTexts()
{
    QFETCH(QDate, date);

    Match match = makeMatch(u"m"_s, QString(), u"A"_s, u"B"_s);
    match.edit().date = date;
    QCOMPARE(matchRowKey(*match), date.toString(u"yyyyMMdd"_s) + u",A,B"_s);
    PageRows rows;
    QCOMPARE(addMatchRow(rows, *match, QString()).text(0), date.toString(u"yyyy/MM/dd"_s));
}

void TestMatchLists::filterBoundsThroughRunner()
{
    QList<Match> matches;
    for (const QString &date : {u"2009-02-28"_s, u"2009-03-01"_s, u"2009-03-10"_s, u"2009-03-31"_s,
                                u"2009-04-01"_s, QString()})
        matches.append(makeMatch(date.isEmpty() ? u"undated"_s : date, date, u"A"_s, u"B"_s));
    matches[2].edit().tournament = u"Кубок"_s;
    const MatchStore store = makeStore(matches);

    MatchFilter filter;
    filter.from = QDate(2009, 3, 1);
    filter.till = QDate(2009, 3, 31);
    filter.tournament = texts().allTournaments;
    const auto files = [&] {
        return columnOf(runBuilder(store, calculateMatches, QString(), false, filter), 4);
    };
    QCOMPARE(files(),
             (QStringList{u"xm01_2009-03-01"_s, u"xm01_2009-03-10"_s, u"xm01_2009-03-31"_s}));
    filter.tournament = u"Кубок"_s;
    QCOMPARE(files(), QStringList{u"xm01_2009-03-10"_s});
    filter.tournament = u"кубок"_s;
    QCOMPARE(files(), QStringList());
}

QTEST_GUILESS_MAIN(TestMatchLists)
#include "tst_matchlists.moc"
