#include "pages/builders.h"
#include "statsfixture.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace stats;

namespace {

Match coached(int day, const QString &team1, const QString &coach1, const QString &goals1,
              const QString &goals2, const QString &team2, const QString &coach2)
{
    Match m = report(u"m%1.xml"_s.arg(day), team1, team2, day);
    m.edit().coach1 = coach1;
    m.edit().coach2 = coach2;
    m.edit().goals1 = goals1;
    m.edit().goals2 = goals2;
    return m;
}

Match atStadium(int day, const QString &stadium, const QString &city, const QString &attendance)
{
    Match m = report(u"m%1.xml"_s.arg(day), u"A"_s, u"B"_s, day);
    m.edit().stadium = stadium;
    m.edit().city = city;
    m.edit().attendance = attendance;
    return m;
}

} // namespace

class TestOfficials : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stadiumAttendance_data();
    void stadiumAttendance();
    void stadiumsByNameAndCity();
    void referees();
    void refereePenaltyMatches_data();
    void refereePenaltyMatches();
    void coaches_data();
    void coaches();
};

void TestOfficials::stadiumAttendance_data()
{
    QTest::addColumn<QStringList>("attendances");
    QTest::addColumn<QString>("expected"); // Матчей|Зрит(средн)|Зрит(макс)|Зрит(мин)

    QTest::newRow("a match without attendance counts in the average")
        << QStringList{u"1000"_s, QString(), u"2000"_s} << u"3|1000|2000|1000"_s;
    QTest::newRow("none known") << QStringList{QString(), QString()} << u"2|0|0|0"_s;
    QTest::newRow("average rounds down")
        << QStringList{u"1000"_s, u"1001"_s} << u"2|1000|1001|1000"_s;
    QTest::newRow("zero, negative and text are not known")
        << QStringList{u"0"_s, u"-50"_s, u"много"_s, u"900"_s} << u"4|225|900|900"_s;
    QTest::newRow("large crowds do not overflow the total")
        << QStringList{u"2000000000"_s, u"2000000000"_s, u"1000000000"_s}
        << u"3|1666666666|2000000000|1000000000"_s;
}

void TestOfficials::stadiumAttendance()
{
    QFETCH(QStringList, attendances);
    QFETCH(QString, expected);

    QList<Match> matches;
    for (const QString &a : attendances)
        matches.append(atStadium(int(matches.size()) + 1, u"Лужники"_s, u"Москва"_s, a));
    QCOMPARE(visibleRows(runOver(matches, calculateStadiums)),
             QStringList{u"Лужники|Москва|"_s + expected});
}

// Two stadiums of one name in two cities are two rows leading to one list.
void TestOfficials::stadiumsByNameAndCity()
{
    const TableData table = runOver({atStadium(1, u"Центральный"_s, u"Казань"_s, u"7"_s),
                                     atStadium(2, u"Центральный"_s, u"Омск"_s, u"12345"_s)},
                                    calculateStadiums);
    QCOMPARE(visibleRows(table, 2), (QStringList{u"Центральный|Казань"_s, u"Центральный|Омск"_s}));
    QCOMPARE(links(table), (QStringList{u"st02_Центральный"_s, u"st02_Центральный"_s}));
    // Counts fill four characters; longer numbers are written whole.
    QCOMPARE(table.cell(0, 3), u"   7"_s);
    QCOMPARE(table.cell(1, 3), u"12345"_s);
}

void TestOfficials::referees()
{
    const Texts &t = texts();
    Match m1 = report(u"m1.xml"_s, u"A"_s, u"B"_s, 1);
    m1.edit().events = {
        playerEvent(t.caution, u"A"_s, u"X"_s),     playerEvent(t.caution, u"B"_s, u"Y"_s),
        playerEvent(t.sendingOff, u"B"_s, u"Y"_s),  playerEvent(t.secondCaution, u"A"_s, u"Z"_s),
        playerEvent(t.penaltyGoal, u"A"_s, u"X"_s), playerEvent(t.missedPenalty, u"B"_s, u"Y"_s),
        playerEvent(t.goal, u"B"_s, u"Y"_s),        substitution(u"A"_s, u"X"_s, u"W"_s)};
    Match m2 = report(u"m2.xml"_s, u"C"_s, u"D"_s, 2);
    Match m3 = report(u"m3.xml"_s, u"C"_s, u"D"_s, 3);
    for (Match *m : {&m1, &m2, &m3}) {
        m->edit().referee = u"Судьин"_s;
        m->edit().refereeCity = m == &m3 ? u"Омск"_s : u"Пермь"_s;
    }
    Match m4 = report(u"m4.xml"_s, u"C"_s, u"D"_s, 4);

    const TableData table = runOver({m1, m2, m3, m4}, calculateReferees);
    // Most matches first; equal counts keep the order the referees were met in.
    QCOMPARE(visibleRows(table), (QStringList{u"Судьин|Пермь|2|1|1|2|2"_s,
                                              u"Судьин|Омск|1|0|0|0|0"_s, u"||1|0|0|0|0"_s}));
    QCOMPARE(links(table), (QStringList{u"re02_Судьин"_s, u"re02_Судьин"_s, u"re02_"_s}));
    QCOMPARE(table.menuLabels(), (QStringList{t.menuAllMatches, t.menuPenaltyMatches}));
    QCOMPARE(table.menuCodes(), (QStringList{QString(), u"pen"_s}));
}

void TestOfficials::refereePenaltyMatches_data()
{
    const Texts &t = texts();
    QTest::addColumn<QString>("menuChoice");
    QTest::addColumn<QStringList>("links");

    const QStringList all{u"xm01_scored.xml"_s, u"xm01_missed.xml"_s, u"xm01_none.xml"_s};
    QTest::newRow("all matches") << t.menuAllMatches << all;
    QTest::newRow("details") << t.menuDetails << all;
    QTest::newRow("matches with a penalty")
        << t.menuPenaltyMatches << QStringList{u"xm01_scored.xml"_s, u"xm01_missed.xml"_s};
}

void TestOfficials::refereePenaltyMatches()
{
    QFETCH(QString, menuChoice);
    QFETCH(QStringList, links);

    const Texts &t = texts();
    Match scored = report(u"scored.xml"_s, u"A"_s, u"B"_s, 1);
    scored.edit().events = {playerEvent(t.penaltyGoal, u"B"_s, u"Y"_s)};
    Match missed = report(u"missed.xml"_s, u"A"_s, u"C"_s, 2);
    missed.edit().events = {playerEvent(t.missedPenalty, u"C"_s, u"Z"_s)};
    Match none = report(u"none.xml"_s, u"B"_s, u"C"_s, 3);
    none.edit().events = {playerEvent(t.goal, u"B"_s, u"Y"_s)};
    Match other = report(u"other.xml"_s, u"A"_s, u"D"_s, 4);
    other.edit().events = {playerEvent(t.penaltyGoal, u"A"_s, u"X"_s)};
    for (Match *m : {&scored, &missed, &none})
        m->edit().referee = u"Судьин"_s;

    const TableData table =
        runOver({scored, missed, none, other}, refereeMatches, u"Судьин"_s, false, menuChoice);
    QCOMPARE(stats::links(table), links);
}

void TestOfficials::coaches_data()
{
    QTest::addColumn<QList<Match>>("matches");
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("considerId");
    QTest::addColumn<QStringList>("rows"); // Тренер|Команда|И|В|Н|П|Заб.|Проп.|О

    const QList<Match> season{
        coached(1, u"A"_s, u"Ivanov"_s, u"2"_s, u"1"_s, u"B"_s, u"Petrov"_s),
        coached(2, u"B"_s, u"Petrov"_s, u"0"_s, u"0"_s, u"A"_s, u"Ivanov"_s),
        coached(3, u"A"_s, u"Ivanov"_s, u"0"_s, u"3"_s, u"C"_s, u"Smith"_s),
        // No score recorded: played, but neither a result nor goals.
        coached(4, u"C"_s, u"Smith"_s, QString(), QString(), u"A"_s, u"Ivanov"_s),
        // No coach for D: a nameless row.
        coached(5, u"D"_s, QString(), u"1"_s, u"1"_s, u"C"_s, u"Smith"_s)};
    QTest::newRow("results, goals and points")
        << season << QString() << false
        << QStringList{u"|D|1|0|1|0|1|1|1"_s, u"Ivanov|A|4|1|1|1|2|4|4"_s,
                       u"Petrov|B|2|0|1|1|1|2|1"_s, u"Smith|C|3|1|1|0|4|1|4"_s};
    QTest::newRow("search counts only the matching side")
        << season << u"ov"_s << false
        << QStringList{u"Ivanov|A|4|1|1|1|2|4|4"_s, u"Petrov|B|2|0|1|1|1|2|1"_s};
    QTest::newRow("search is case-sensitive") << season << u"OV"_s << false << QStringList{};

    Match atA = coached(1, u"A"_s, u"Ivanov"_s, u"1"_s, u"0"_s, u"B"_s, u"X"_s);
    atA.edit().coach1Id = u"5"_s;
    Match atC = coached(2, u"D"_s, u"Y"_s, u"1"_s, u"0"_s, u"C"_s, u"Ivanov"_s);
    atC.edit().coach2Id = u"5"_s;
    QTest::newRow("by ID: one row, last club")
        << QList<Match>{atA, atC} << QString() << true
        << QStringList{u"Ivanov|C|2|1|0|1|1|1|3"_s, u"X|B|1|0|0|1|0|1|0"_s, u"Y|D|1|1|0|0|1|0|3"_s};
    QTest::newRow("by name and team: a row per club")
        << QList<Match>{atA, atC} << QString() << false
        << QStringList{u"Ivanov|A|1|1|0|0|1|0|3"_s, u"Ivanov|C|1|0|0|1|0|1|0"_s,
                       u"X|B|1|0|0|1|0|1|0"_s, u"Y|D|1|1|0|0|1|0|3"_s};
}

void TestOfficials::coaches()
{
    QFETCH(QList<Match>, matches);
    QFETCH(QString, search);
    QFETCH(bool, considerId);
    QFETCH(QStringList, rows);

    const TableData table = runOver(matches, calculateCoaches, search, considerId);
    QCOMPARE(visibleRows(table), rows);
    for (int r = 0; r < table.rowCount(); ++r)
        QCOMPARE(table.link(r), u"co02_"_s + table.cell(r, 0));
}

QTEST_GUILESS_MAIN(TestOfficials)
#include "tst_officials.moc"
