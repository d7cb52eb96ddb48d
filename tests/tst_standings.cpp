#include "pages/builders.h"
#include "strings/texts.h"
#include "testsupport.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Matches from "team1|team2|goals1|goals2", all on one day, file names m0, m1 ...
MatchStore scores(const QStringList &specs)
{
    QList<Match> matches;
    for (const QString &spec : specs) {
        const QStringList p = spec.split(QLatin1Char('|'));
        matches.append(makeMatch(u"m%1"_s.arg(matches.size()), u"2009-03-01"_s, p.value(0),
                                 p.value(1), p.value(2), p.value(3)));
    }
    return makeStore(matches);
}

// One match per entry of specs, each carrying the events of one "event;event;..." text.
MatchStore withEvents(const QStringList &specs)
{
    QList<Match> matches;
    for (const QString &spec : specs) {
        Match match = makeMatch(u"m%1"_s.arg(matches.size()), u"2009-03-01"_s, u"A"_s, u"B"_s);
        match.edit().events = makeEvents(spec.split(QLatin1Char(';')));
        matches.append(match);
    }
    return makeStore(matches);
}

} // namespace

class TestStandings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void standings_data();
    void standings();
    void standingsLayoutAndHeaderSort();
    void goalscorers_data();
    void goalscorers();
    void personKeys_data();
    void personKeys();
};

void TestStandings::standings_data()
{
    QTest::addColumn<QStringList>("matches");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("three teams") << QStringList{u"A|B|3|1"_s, u"B|C|2|2"_s, u"A|C|0|1"_s}
                                 << QStringList{u"C|2|1|1|0|3|2|   4|ta02_C"_s,
                                                u"A|2|1|0|1|3|2|   3|ta02_A"_s,
                                                u"B|2|0|1|1|3|5|   1|ta02_B"_s};
    // All three on 3 points: goal difference first (Y +2), then goals scored (Z 2, X 1).
    QTest::newRow("level on points")
        << QStringList{u"X|Y|1|0"_s, u"Y|Z|3|0"_s, u"Z|X|2|0"_s}
        << QStringList{u"Y|2|1|0|1|3|1|   3|ta02_Y"_s, u"Z|2|1|0|1|2|3|   3|ta02_Z"_s,
                       u"X|2|1|0|1|1|2|   3|ta02_X"_s};
    // Then by name in code-unit order: capitals before small letters.
    QTest::newRow("level in everything")
        << QStringList{u"b|Z|1|1"_s}
        << QStringList{u"Z|1|0|1|0|1|1|   1|ta02_Z"_s, u"b|1|0|1|0|1|1|   1|ta02_b"_s};
    QTest::newRow("no score is no match")
        << QStringList{u"A|B||"_s, u"C|D|1|0"_s}
        << QStringList{u"C|1|1|0|0|1|0|   3|ta02_C"_s, u"D|1|0|0|1|0|1|   0|ta02_D"_s};
    QTest::newRow("one side missing or not a number")
        << QStringList{u"A|B|2|"_s, u"C|D|x|1"_s}
        << QStringList{u"A|1|1|0|0|2|0|   3|ta02_A"_s, u"D|1|1|0|0|1|0|   3|ta02_D"_s,
                       u"C|1|0|0|1|0|1|   0|ta02_C"_s, u"B|1|0|0|1|0|2|   0|ta02_B"_s};
    QTest::newRow("team against itself")
        << QStringList{u"A|A|1|0"_s} << QStringList{u"A|2|1|0|1|1|1|   3|ta02_A"_s};
    QTest::newRow("empty team name")
        << QStringList{u"|B|0|0"_s}
        << QStringList{u"|1|0|1|0|0|0|   1|ta02_"_s, u"B|1|0|1|0|0|0|   1|ta02_B"_s};
    QTest::newRow("names differing in case")
        << QStringList{u"A|a|1|0"_s}
        << QStringList{u"A|1|1|0|0|1|0|   3|ta02_A"_s, u"a|1|0|0|1|0|1|   0|ta02_a"_s};
    QTest::newRow("absurd scores do not wrap")
        << QStringList{u"A|B|2000000000|0"_s, u"A|B|2000000000|0"_s}
        << QStringList{u"A|2|2|0|0|2147483647|0|   6|ta02_A"_s,
                       u"B|2|0|0|2|0|2147483647|   0|ta02_B"_s};
}

void TestStandings::standings()
{
    QFETCH(QStringList, matches);
    QFETCH(QStringList, lines);

    QCOMPARE(tableLines(runBuilder(scores(matches), calculateTable)), lines);
}

void TestStandings::standingsLayoutAndHeaderSort()
{
    const Texts &t = texts();
    Match penalties = makeMatch(u"p"_s, u"2009-03-01"_s, u"P"_s, u"Q"_s, u"1"_s, u"1"_s);
    penalties.edit().extra1 = u"2"_s;
    penalties.edit().penalties1 = u"5"_s;
    penalties.edit().penalties2 = u"4"_s;
    MatchStore store = scores({u"A|B|9|0"_s, u"C|D|10|0"_s});
    store.append(penalties);

    TableData table = runBuilder(store, calculateTable);
    QCOMPARE(table.headers(), (QStringList{t.hTeam, t.hGames, t.hWins, t.hDraws, t.hLosses,
                                           t.hScored, t.hConceded, t.hPoints}));
    QCOMPARE(table.columnWidths(), (QList<int>{180, 60, 60, 60, 60, 60, 60, 60}));
    QCOMPARE(table.sortColumn(), 7);
    QCOMPARE(table.sortOrder(), Qt::DescendingOrder);
    // Extra time and the shoot-out leave a level score a draw.
    QVERIFY(tableLines(table).contains(u"P|1|0|1|0|1|1|   1|ta02_P"_s));

    // Other columns are plain numbers and sort as text, as a header click does.
    table.resort(5, Qt::AscendingOrder);
    QCOMPARE(columnOf(table, 5).mid(0, 6),
             (QStringList{u"0"_s, u"0"_s, u"1"_s, u"1"_s, u"10"_s, u"9"_s}));
}

void TestStandings::goalscorers_data()
{
    QTest::addColumn<QStringList>("matches");
    QTest::addColumn<bool>("considerId");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("goals and penalties count, own goals do not")
        << QStringList{u"G|Petrov|A;P|Petrov|A;O|Sidorov|B;M|Ivanov|B"_s} << false
        << QStringList{u"Petrov|A|   2|go02_Petrov"_s};
    QTest::newRow("most goals first")
        << QStringList{u"G|Ivanov|A"_s, u"G|Petrov|B;G|Petrov|B"_s} << false
        << QStringList{u"Petrov|B|   2|go02_Petrov"_s, u"Ivanov|A|   1|go02_Ivanov"_s};
    QTest::newRow("two teams without IDs: two rows")
        << QStringList{u"G|Petrov|A|p1"_s, u"G|Petrov|B|p1"_s} << false
        << QStringList{u"Petrov|A|   1|go02_Petrov"_s, u"Petrov|B|   1|go02_Petrov"_s};
    QTest::newRow("two teams with one ID: one row, last team")
        << QStringList{u"G|Petrov|A|p1"_s, u"G|Petrov|B|p1"_s} << true
        << QStringList{u"Petrov|B|   2|go02_Petrov"_s};
    QTest::newRow("IDs considered but absent: grouped by name")
        << QStringList{u"G|Petrov|A"_s, u"P|Petrov|B"_s, u"G|Ivanov|B"_s} << true
        << QStringList{u"Petrov|B|   2|go02_Petrov"_s, u"Ivanov|B|   1|go02_Ivanov"_s};
    QTest::newRow("one name, two IDs")
        << QStringList{u"G|Petrov|A|p1;G|Petrov|A|p2"_s} << true
        << QStringList{u"Petrov|A|   1|go02_Petrov"_s, u"Petrov|A|   1|go02_Petrov"_s};
    QTest::newRow("no team") << QStringList{u"G|Petrov"_s} << false
                             << QStringList{u"Petrov||   1|go02_Petrov"_s};
}

void TestStandings::goalscorers()
{
    QFETCH(QStringList, matches);
    QFETCH(bool, considerId);
    QFETCH(QStringList, lines);

    const TableData table = runBuilder(withEvents(matches), calculateGoals, QString(), considerId);
    const Texts &t = texts();
    QCOMPARE(table.headers(), (QStringList{t.hPlayer, t.hTeam, t.hBalls}));
    QCOMPARE(table.columnWidths(), (QList<int>{180, 180, 60}));
    QCOMPARE(tableLines(table), lines);
}

void TestStandings::personKeys_data()
{
    QTest::addColumn<bool>("considerId");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("team");
    QTest::addColumn<QString>("key");

    QTest::newRow("ID") << true << u"p7"_s << u"T"_s << u"p7"_s;
    QTest::newRow("ID considered, none given") << true << QString() << u"T"_s << u"Name"_s;
    QTest::newRow("name and team") << false << u"p7"_s << u"T"_s << u"Name T"_s;
    QTest::newRow("name without team") << false << QString() << QString() << u"Name "_s;
}

void TestStandings::personKeys()
{
    QFETCH(bool, considerId);
    QFETCH(QString, id);
    QFETCH(QString, team);
    QFETCH(QString, key);

    QCOMPARE(personKey(considerId, id, u"Name"_s, team), key);
}

QTEST_GUILESS_MAIN(TestStandings)
#include "tst_standings.moc"
