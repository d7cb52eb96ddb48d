#include "pages/builders.h"
#include "statsfixture.h"
#include "strings/texts.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace stats;

namespace {

Match coached(const QString &fileName, int day, const QString &team1, const QString &coach1,
              const QString &goals1, const QString &goals2, const QString &team2,
              const QString &coach2)
{
    Match m = report(fileName, team1, team2, day);
    MatchData &d = m.edit();
    d.coach1 = coach1;
    d.coach2 = coach2;
    d.goals1 = goals1;
    d.goals2 = goals2;
    return m;
}

Match atStadium(const QString &fileName, int day, const QString &stadium, const QString &city,
                const QString &attendance)
{
    Match m = report(fileName, u"A"_s, u"B"_s, day);
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
    void stadiumRows();
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
    QTest::newRow("none known") << QStringList{QString(), u""_s} << u"2|0|0|0"_s;
    QTest::newRow("average drops the remainder")
        << QStringList{u"1000"_s, u"1500"_s} << u"2|1250|1500|1000"_s;
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
        matches.append(atStadium(u"m%1.xml"_s.arg(matches.size()), int(matches.size()) + 1,
                                 u"Лужники"_s, u"Москва"_s, a));
    const TableData table = runOver(matches, calculateStadiums);
    QCOMPARE(visibleRows(table), QStringList{u"Лужники|Москва|"_s + expected});
}

void TestOfficials::stadiumRows()
{
    const Texts &t = texts();
    // Two stadiums of one name in two cities are two rows leading to one list; each row shows
    // the city of its last match.
    const TableData table =
        runOver({atStadium(u"m1.xml"_s, 1, u"Центральный"_s, u"Казань"_s, u"7"_s),
                 atStadium(u"m2.xml"_s, 2, u"Центральный"_s, u"Волгоград"_s, u"12345"_s),
                 atStadium(u"m3.xml"_s, 3, u"Арена"_s, u"Казань"_s, QString())},
                calculateStadiums);
    QCOMPARE(table.headers(), (QStringList{t.hStadium, t.hCity, t.hMatches, t.hAttendanceAvg,
                                           t.hAttendanceMax, t.hAttendanceMin}));
    QCOMPARE(table.columnWidths(), (QList<int>{180, 180, 90, 90, 90, 90}));
    QCOMPARE(visibleRows(table),
             (QStringList{u"Арена|Казань|1|0|0|0"_s, u"Центральный|Казань|1|7|7|7"_s,
                          u"Центральный|Волгоград|1|12345|12345|12345"_s}));
    QCOMPARE(links(table),
             (QStringList{u"st02_Арена"_s, u"st02_Центральный"_s, u"st02_Центральный"_s}));
    // Counts are padded to four characters; longer numbers are written whole.
    QCOMPARE(table.cell(1, 3), u"   7"_s);
    QCOMPARE(table.cell(2, 3), u"12345"_s);
}

void TestOfficials::referees()
{
    const Texts &t = texts();
    Match m1 = report(u"m1.xml"_s, u"A"_s, u"B"_s, 1);
    m1.edit().referee = u"Судьин"_s;
    m1.edit().refereeCity = u"Пермь"_s;
    m1.edit().events = {
        playerEvent(t.caution, u"A"_s, u"X"_s),     playerEvent(t.caution, u"B"_s, u"Y"_s),
        playerEvent(t.sendingOff, u"B"_s, u"Y"_s),  playerEvent(t.secondCaution, u"A"_s, u"Z"_s),
        playerEvent(t.penaltyGoal, u"A"_s, u"X"_s), playerEvent(t.missedPenalty, u"B"_s, u"Y"_s),
        playerEvent(t.goal, u"B"_s, u"Y"_s),        playerEvent(t.ownGoal, u"B"_s, u"Y"_s),
        substitution(u"A"_s, u"X"_s, u"W"_s)};
    Match m2 = report(u"m2.xml"_s, u"C"_s, u"D"_s, 2);
    m2.edit().referee = u"Судьин"_s;
    m2.edit().refereeCity = u"Пермь"_s;
    Match m3 = report(u"m3.xml"_s, u"C"_s, u"D"_s, 3);
    m3.edit().referee = u"Судьин"_s;
    m3.edit().refereeCity = u"Омск"_s;
    Match m4 = report(u"m4.xml"_s, u"C"_s, u"D"_s, 4);

    const TableData table = runOver({m1, m2, m3, m4}, calculateReferees);
    QCOMPARE(table.headers(), (QStringList{t.hReferee, t.hCity, t.hPlayed, t.hRed, t.hSecondYellow,
                                           t.hYellow, t.hPenalties}));
    QCOMPARE(table.columnWidths(), (QList<int>{180, 180, 60, 60, 60, 60, 60}));
    // Sorted by matches, most first; equal counts keep the order the referees were met in.
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
    QTest::addColumn<QStringList>("files");

    QTest::newRow("all matches") << t.menuAllMatches
                                 << QStringList{u"scored.xml"_s, u"missed.xml"_s, u"none.xml"_s};
    QTest::newRow("details") << t.menuDetails
                             << QStringList{u"scored.xml"_s, u"missed.xml"_s, u"none.xml"_s};
    QTest::newRow("no choice") << QString()
                               << QStringList{u"scored.xml"_s, u"missed.xml"_s, u"none.xml"_s};
    QTest::newRow("matches with a penalty")
        << t.menuPenaltyMatches << QStringList{u"scored.xml"_s, u"missed.xml"_s};
}

void TestOfficials::refereePenaltyMatches()
{
    QFETCH(QString, menuChoice);
    QFETCH(QStringList, files);

    const Texts &t = texts();
    Match scored = report(u"scored.xml"_s, u"A"_s, u"B"_s, 1);
    scored.edit().events = {playerEvent(t.goal, u"A"_s, u"X"_s),
                            playerEvent(t.penaltyGoal, u"B"_s, u"Y"_s)};
    Match missed = report(u"missed.xml"_s, u"A"_s, u"C"_s, 2);
    missed.edit().events = {playerEvent(t.missedPenalty, u"C"_s, u"Z"_s)};
    Match none = report(u"none.xml"_s, u"B"_s, u"C"_s, 3);
    none.edit().events = {playerEvent(t.goal, u"B"_s, u"Y"_s),
                          playerEvent(t.ownGoal, u"C"_s, u"Z"_s)};
    Match other = report(u"other.xml"_s, u"A"_s, u"D"_s, 4);
    other.edit().events = {playerEvent(t.penaltyGoal, u"A"_s, u"X"_s)};
    for (Match *m : {&scored, &missed, &none})
        m->edit().referee = u"Судьин"_s;
    other.edit().referee = u"Другой"_s;

    const TableData table =
        runOver({scored, missed, none, other}, refereeMatches, u"Судьин"_s, false, menuChoice);
    QStringList expected;
    for (const QString &file : files)
        expected.append(u"xm01_"_s + file);
    QCOMPARE(links(table), expected);
}

void TestOfficials::coaches_data()
{
    QTest::addColumn<QList<Match>>("matches");
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("considerId");
    QTest::addColumn<QStringList>("expected"); // Тренер|Команда|И|В|Н|П|Заб.|Проп.|О

    const QList<Match> season{
        coached(u"m1.xml"_s, 1, u"A"_s, u"Ivanov"_s, u"2"_s, u"1"_s, u"B"_s, u"Petrov"_s),
        coached(u"m2.xml"_s, 2, u"B"_s, u"Petrov"_s, u"0"_s, u"0"_s, u"A"_s, u"Ivanov"_s),
        coached(u"m3.xml"_s, 3, u"A"_s, u"Ivanov"_s, u"0"_s, u"3"_s, u"C"_s, u"Smith"_s)};
    QTest::newRow("results, goals and points")
        << season << QString() << false
        << QStringList{u"Ivanov|A|3|1|1|1|2|4|4"_s, u"Petrov|B|2|0|1|1|1|2|1"_s,
                       u"Smith|C|1|1|0|0|3|0|3"_s};
    QTest::newRow("search counts only the matching side")
        << season << u"ov"_s << false
        << QStringList{u"Ivanov|A|3|1|1|1|2|4|4"_s, u"Petrov|B|2|0|1|1|1|2|1"_s};
    QTest::newRow("search is case-sensitive") << season << u"OV"_s << false << QStringList{};

    QTest::newRow("no score: played, but no result")
        << QList<Match>{coached(u"m1.xml"_s, 1, u"A"_s, u"Ivanov"_s, QString(), u""_s, u"B"_s,
                                u"Petrov"_s)}
        << QString() << false
        << QStringList{u"Ivanov|A|1|0|0|0|0|0|0"_s, u"Petrov|B|1|0|0|0|0|0|0"_s};
    QTest::newRow("one side given: the other reads 0")
        << QList<Match>{coached(u"m1.xml"_s, 1, u"A"_s, u"Ivanov"_s, u"2"_s, QString(), u"B"_s,
                                u"Petrov"_s)}
        << QString() << false
        << QStringList{u"Ivanov|A|1|1|0|0|2|0|3"_s, u"Petrov|B|1|0|0|1|0|2|0"_s};
    QTest::newRow("no coach: one nameless row per team")
        << QList<Match>{coached(u"m1.xml"_s, 1, u"A"_s, u"Ivanov"_s, u"1"_s, u"1"_s, u"B"_s,
                                QString()),
                        coached(u"m2.xml"_s, 2, u"A"_s, u"Ivanov"_s, u"1"_s, u"0"_s, u"C"_s,
                                QString())}
        << QString() << false
        << QStringList{u"|B|1|0|1|0|1|1|1"_s, u"|C|1|0|0|1|0|1|0"_s, u"Ivanov|A|2|1|1|0|2|1|4"_s};

    Match atA = coached(u"m1.xml"_s, 1, u"A"_s, u"Ivanov"_s, u"1"_s, u"0"_s, u"B"_s, u"X"_s);
    atA.edit().coach1Id = u"5"_s;
    Match atC = coached(u"m2.xml"_s, 2, u"D"_s, u"Y"_s, u"1"_s, u"0"_s, u"C"_s, u"Ivanov"_s);
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
    QFETCH(QStringList, expected);

    const TableData table = runOver(matches, calculateCoaches, search, considerId);
    QCOMPARE(table.headers().size(), 9);
    QCOMPARE(visibleRows(table), expected);
    for (int r = 0; r < table.rowCount(); ++r)
        QCOMPARE(table.link(r), u"co02_"_s + table.cell(r, 0));
}

QTEST_GUILESS_MAIN(TestOfficials)
#include "tst_officials.moc"
