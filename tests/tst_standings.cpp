#include "pages/builders.h"
#include "testsupport.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestStandings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void standings_data();
    void standings();
    void goalscorers_data();
    void goalscorers();
    void personKeys();
};

void TestStandings::standings_data()
{
    QTest::addColumn<QStringList>("matches"); // "team1|team2|goals1|goals2"
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("three teams") << QStringList{u"A|B|3|1"_s, u"B|C|2|2"_s, u"A|C|0|1"_s}
                                 << QStringList{u"C|2|1|1|0|3|2|   4|ta02_C"_s,
                                                u"A|2|1|0|1|3|2|   3|ta02_A"_s,
                                                u"B|2|0|1|1|3|5|   1|ta02_B"_s};
    // All on 3 points: goal difference first (Y), then goals scored (Z before X).
    QTest::newRow("level on points")
        << QStringList{u"X|Y|1|0"_s, u"Y|Z|3|0"_s, u"Z|X|2|0"_s}
        << QStringList{u"Y|2|1|0|1|3|1|   3|ta02_Y"_s, u"Z|2|1|0|1|2|3|   3|ta02_Z"_s,
                       u"X|2|1|0|1|1|2|   3|ta02_X"_s};
    // Then the name in code-unit order: capitals before small letters.
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
    QTest::newRow("empty name") << QStringList{u"|B|0|0"_s}
                                << QStringList{u"|1|0|1|0|0|0|   1|ta02_"_s,
                                               u"B|1|0|1|0|0|0|   1|ta02_B"_s};
    QTest::newRow("absurd scores do not wrap")
        << QStringList{u"A|B|2000000000|0"_s, u"A|B|2000000000|0"_s}
        << QStringList{u"A|2|2|0|0|2147483647|0|   6|ta02_A"_s,
                       u"B|2|0|0|2|0|2147483647|   0|ta02_B"_s};
}

void TestStandings::standings()
{
    QFETCH(QStringList, matches);
    QFETCH(QStringList, lines);

    QList<Match> store;
    for (const QString &spec : std::as_const(matches)) {
        const QStringList p = spec.split(u'|');
        store.append(makeMatch(u"m"_s, u"2009-03-01"_s, p[0], p[1], p[2], p[3]));
    }
    const TableData table = runBuilder(makeStore(store), calculateTable);
    QCOMPARE(tableLines(table), lines);
    QCOMPARE(table.columnWidths(), (QList<int>{180, 60, 60, 60, 60, 60, 60, 60}));
}

void TestStandings::goalscorers_data()
{
    QTest::addColumn<QStringList>("matches"); // each the events of one match, ';'-separated
    QTest::addColumn<bool>("considerId");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("goals and penalties count, own goals do not")
        << QStringList{u"G|Petrov|A;P|Petrov|A;O|Sidorov|B;M|Ivanov|B"_s} << false
        << QStringList{u"Petrov|A|   2|go02_Petrov"_s};
    QTest::newRow("most goals first")
        << QStringList{u"G|Ivanov|A"_s, u"G|Petrov|B;G|Petrov|B"_s} << false
        << QStringList{u"Petrov|B|   2|go02_Petrov"_s, u"Ivanov|A|   1|go02_Ivanov"_s};
    QTest::newRow("two teams, IDs not considered")
        << QStringList{u"G|Petrov|A|p1"_s, u"G|Petrov|B|p1"_s} << false
        << QStringList{u"Petrov|A|   1|go02_Petrov"_s, u"Petrov|B|   1|go02_Petrov"_s};
    QTest::newRow("two teams, one ID: last team shown")
        << QStringList{u"G|Petrov|A|p1"_s, u"G|Petrov|B|p1"_s} << true
        << QStringList{u"Petrov|B|   2|go02_Petrov"_s};
    QTest::newRow("IDs considered but absent: by name")
        << QStringList{u"G|Petrov|A"_s, u"P|Petrov|B"_s} << true
        << QStringList{u"Petrov|B|   2|go02_Petrov"_s};
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

    QList<Match> store;
    for (const QString &events : std::as_const(matches)) {
        store.append(makeMatch(u"m"_s, u"2009-03-01"_s, u"A"_s, u"B"_s));
        store.last().edit().events = makeEvents(events.split(u';'));
    }
    const TableData table = runBuilder(makeStore(store), calculateGoals, QString(), considerId);
    QCOMPARE(tableLines(table), lines);
    QCOMPARE(table.columnWidths(), (QList<int>{180, 180, 60}));
}

void TestStandings::personKeys()
{
    QCOMPARE(personKey(true, u"p7"_s, u"N"_s, u"T"_s), u"p7"_s);
    QCOMPARE(personKey(true, QString(), u"N"_s, u"T"_s), u"N"_s);
    QCOMPARE(personKey(false, u"p7"_s, u"N"_s, u"T"_s), u"N T"_s);
    QCOMPARE(personKey(false, QString(), u"N"_s, QString()), u"N "_s);
}

QTEST_GUILESS_MAIN(TestStandings)
#include "tst_standings.moc"
