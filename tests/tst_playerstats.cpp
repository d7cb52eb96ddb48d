#include "pages/builders.h"
#include "statsfixture.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace stats;

class TestPlayerStats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExample();
    void eventKinds_data();
    void eventKinds();
    void opponentPenalties_data();
    void opponentPenalties();
    void searchText_data();
    void searchText();
    void considerIdGrouping_data();
    void considerIdGrouping();
    void playersOfTeam_data();
    void playersOfTeam();
};

// Petrov and Ivanov start for A, Sidorov comes on for Petrov, Petrov scores, Ivanov is booked; a
// second match of A repeats Petrov under another ID.
void TestPlayerStats::workedExample()
{
    const Texts &t = texts();
    Match m = report(u"m1.xml"_s, u"A"_s, u"B"_s, 1);
    m.edit().players1 = lineup({u"Petrov"_s, u"Ivanov"_s});
    m.edit().events = {substitution(u"A"_s, u"Petrov"_s, u"Sidorov"_s),
                       playerEvent(t.goal, u"A"_s, u"Petrov"_s),
                       playerEvent(t.caution, u"A"_s, u"Ivanov"_s)};
    Match again = report(u"m2.xml"_s, u"C"_s, u"A"_s, 2);
    again.edit().players2 = {player(u"Petrov"_s, u"9"_s)};

    const TableData players = runOver({m}, calculatePlayers);
    QCOMPARE(visibleRows(players),
             (QStringList{u"Ivanov|A|1|0|0|1|0|0|0|0"_s, u"Petrov|A|1|0|0|0|1|0|0|0"_s,
                          u"Sidorov|A|1|0|0|0|0|0|0|0"_s}));
    QCOMPARE(links(players), (QStringList{u"pl02_Ivanov"_s, u"pl02_Petrov"_s, u"pl02_Sidorov"_s}));
    QCOMPARE(players.cell(0, 2), u"   1"_s);

    // B has neither a line-up nor an event, so no row; names are counted once, IDs ignored.
    const TableData teams = runOver({m, again}, calculateTeams);
    QCOMPARE(visibleRows(teams), QStringList{u"A|3|0|0|1|1|0|0|0|0"_s});
    QCOMPARE(links(teams), QStringList{u"te02_A"_s});
}

void TestPlayerStats::eventKinds_data()
{
    const Texts &t = texts();
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("counts"); // Красная|Ж+Кр|Жёлтая|Голы|Пен(заб)|Пен(не заб)|Автогол

    QTest::newRow("sending-off") << t.sendingOff << u"1|0|0|0|0|0|0"_s;
    QTest::newRow("second caution") << t.secondCaution << u"0|1|0|0|0|0|0"_s;
    QTest::newRow("caution") << t.caution << u"0|0|1|0|0|0|0"_s;
    QTest::newRow("goal") << t.goal << u"0|0|0|1|0|0|0"_s;
    QTest::newRow("penalty goal") << t.penaltyGoal << u"0|0|0|1|1|0|0"_s;
    QTest::newRow("missed penalty") << t.missedPenalty << u"0|0|0|0|0|1|0"_s;
    QTest::newRow("own goal") << t.ownGoal << u"0|0|0|0|0|0|1"_s;
    QTest::newRow("unknown kind, still listed") << u"гол"_s << u"0|0|0|0|0|0|0"_s;
}

// The same counters on the player's row and on the row of the event's team.
void TestPlayerStats::eventKinds()
{
    QFETCH(QString, type);
    QFETCH(QString, counts);

    Match m = report(u"m1.xml"_s, u"A"_s, u"B"_s);
    m.edit().events = {playerEvent(type, u"A"_s, u"X"_s)};
    QCOMPARE(visibleRows(runOver({m}, calculatePlayers)), QStringList{u"X|A|0|"_s + counts});
    QCOMPARE(visibleRows(runOver({m}, calculateTeams), 9).first(), u"A|0|"_s + counts);
}

void TestPlayerStats::opponentPenalties_data()
{
    const Texts &t = texts();
    QTest::addColumn<QList<MatchEvent>>("events");
    QTest::addColumn<QStringList>("rows"); // Команда|Пен(соперн), in order of creation

    QTest::newRow("each side credits the other")
        << QList<MatchEvent>{playerEvent(t.missedPenalty, u"B"_s, u"Y"_s),
                             playerEvent(t.missedPenalty, u"B"_s, u"Y"_s),
                             playerEvent(t.penaltyGoal, u"A"_s, u"X"_s)}
        << QStringList{u"A|2"_s, u"B|1"_s};
    QTest::newRow("a team of neither side has no opponent")
        << QList<MatchEvent>{playerEvent(t.penaltyGoal, u"C"_s, u"X"_s)} << QStringList{u"C|0"_s};
    QTest::newRow("other events make no opponent row")
        << QList<MatchEvent>{playerEvent(t.goal, u"A"_s, u"X"_s),
                             substitution(u"A"_s, u"X"_s, u"Z"_s)}
        << QStringList{u"A|0"_s};
}

void TestPlayerStats::opponentPenalties()
{
    QFETCH(QList<MatchEvent>, events);
    QFETCH(QStringList, rows);

    Match m = report(u"m1.xml"_s, u"A"_s, u"B"_s);
    m.edit().events = events;
    const TableData table = runOver({m}, calculateTeams);
    QStringList actual;
    for (int r = 0; r < table.rowCount(); ++r) {
        actual.append(table.cell(r, 0) + u'|' + table.cell(r, 9).trimmed());
        // A row made for the opponent carries its name, so its link leads somewhere.
        QCOMPARE(table.link(r), u"te02_"_s + table.cell(r, 0));
    }
    QCOMPARE(actual, rows);
}

void TestPlayerStats::searchText_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("considerId");
    QTest::addColumn<QStringList>("rows"); // Игрок|Команда|Матчей|Красная|Ж+Кр|Жёлтая|Голы

    QTest::newRow("substring anywhere")
        << u"ов"_s << false
        << QStringList{u"Иванов|Спартак|1|0|0|1|0"_s, u"Петров|Спартак|1|0|0|0|1"_s,
                       u"Сидоров|Спартак|1|0|0|0|0"_s};
    QTest::newRow("case is respected") << u"иванов"_s << false << QStringList{};
    QTest::newRow("a blank") << u" "_s << false << QStringList{u"Ван Дейк|Динамо|1|0|0|0|0"_s};
    QTest::newRow("by ID, only the sightings that match")
        << u"Петров"_s << true << QStringList{u"Петров|Спартак|1|0|0|0|1"_s};
    QTest::newRow("by ID, no search: both spellings")
        << QString() << true
        << QStringList{u"Ван Дейк|Динамо|1|0|0|0|0"_s, u"Иванов|Спартак|1|0|0|1|0"_s,
                       u"ПЕТРОВ|Спартак|2|0|0|0|2"_s, u"Сидоров|Спартак|1|0|0|0|0"_s};
}

// Player 7 is written "Петров" in one report and "ПЕТРОВ" in the other.
void TestPlayerStats::searchText()
{
    QFETCH(QString, search);
    QFETCH(bool, considerId);
    QFETCH(QStringList, rows);

    const Texts &t = texts();
    Match m1 = report(u"m1.xml"_s, u"Спартак"_s, u"Динамо"_s, 1);
    m1.edit().players1 = {player(u"Иванов"_s), player(u"Петров"_s, u"7"_s)};
    m1.edit().players2 = {player(u"Ван Дейк"_s)};
    m1.edit().events = {playerEvent(t.goal, u"Спартак"_s, u"Петров"_s, u"7"_s),
                        playerEvent(t.caution, u"Спартак"_s, u"Иванов"_s),
                        substitution(u"Спартак"_s, u"Иванов"_s, u"Сидоров"_s)};
    Match m2 = report(u"m2.xml"_s, u"Спартак"_s, u"Зенит"_s, 2);
    m2.edit().players1 = {player(u"ПЕТРОВ"_s, u"7"_s)};
    m2.edit().events = {playerEvent(t.goal, u"Спартак"_s, u"ПЕТРОВ"_s, u"7"_s)};

    QCOMPARE(visibleRows(runOver({m1, m2}, calculatePlayers, search, considerId), 7), rows);
}

void TestPlayerStats::considerIdGrouping_data()
{
    QTest::addColumn<bool>("considerId");
    QTest::addColumn<QStringList>("rows"); // Игрок|Команда|Матчей

    // Petrov: ID 7 for A, no ID for A, ID 7 for B (coming on), "Petrow" ID 7 for B.
    QTest::newRow("by name and team")
        << false << QStringList{u"Petrov|A|2"_s, u"Petrov|B|1"_s, u"Petrow|B|1"_s};
    QTest::newRow("by ID, else by name: last sighting shown")
        << true << QStringList{u"Petrov|A|1"_s, u"Petrow|B|3"_s};
}

void TestPlayerStats::considerIdGrouping()
{
    QFETCH(bool, considerId);
    QFETCH(QStringList, rows);

    Match m1 = report(u"m1.xml"_s, u"A"_s, u"X"_s, 1);
    m1.edit().players1 = {player(u"Petrov"_s, u"7"_s)};
    Match m2 = report(u"m2.xml"_s, u"A"_s, u"X"_s, 2);
    m2.edit().players1 = {player(u"Petrov"_s)};
    // The event's own team counts, not the line-up's.
    Match m3 = report(u"m3.xml"_s, u"X"_s, u"A"_s, 3);
    m3.edit().events = {substitution(u"B"_s, u"Y"_s, u"Petrov"_s, u"7"_s)};
    Match m4 = report(u"m4.xml"_s, u"B"_s, u"X"_s, 4);
    m4.edit().players1 = {player(u"Petrow"_s, u"7"_s)};

    QCOMPARE(visibleRows(runOver({m1, m2, m3, m4}, calculatePlayers, QString(), considerId), 3),
             rows);
}

void TestPlayerStats::playersOfTeam_data()
{
    QTest::addColumn<QString>("team");
    QTest::addColumn<bool>("considerId");
    QTest::addColumn<QStringList>("rows");

    // Two Ivanovs of A told apart by ID; Petrov (ID 7) moves from A to B; Sidorov comes on for A.
    QTest::newRow("namesakes stay apart by ID")
        << u"A"_s << true << QStringList{u"Ivanov|A|2"_s, u"Ivanov|A|1"_s, u"Sidorov|A|1"_s};
    QTest::newRow("namesakes merge by name")
        << u"A"_s << false << QStringList{u"Ivanov|A|3"_s, u"Petrov|A|1"_s, u"Sidorov|A|1"_s};
    QTest::newRow("moved player under his last team")
        << u"B"_s << true << QStringList{u"Petrov|B|2"_s, u"Smirnov|B|1"_s};
    QTest::newRow("unknown team") << u"C"_s << true << QStringList{};
}

void TestPlayerStats::playersOfTeam()
{
    QFETCH(QString, team);
    QFETCH(bool, considerId);
    QFETCH(QStringList, rows);

    Match m1 = report(u"m1.xml"_s, u"A"_s, u"B"_s, 1);
    m1.edit().players1 = {player(u"Ivanov"_s, u"1"_s), player(u"Ivanov"_s, u"2"_s),
                          player(u"Petrov"_s, u"7"_s)};
    m1.edit().players2 = {player(u"Smirnov"_s)};
    m1.edit().events = {substitution(u"A"_s, u"Petrov"_s, u"Sidorov"_s),
                        playerEvent(texts().goal, u"A"_s, u"Ivanov"_s, u"1"_s)};
    Match m2 = report(u"m2.xml"_s, u"B"_s, u"A"_s, 2);
    m2.edit().players1 = {player(u"Petrov"_s, u"7"_s)};
    m2.edit().players2 = {player(u"Ivanov"_s, u"1"_s)};

    const TableData table = runOver({m1, m2}, teamPlayers, team, considerId);
    QCOMPARE(table.headers().size(), 3);
    QCOMPARE(visibleRows(table), rows);
    for (int r = 0; r < table.rowCount(); ++r)
        QCOMPARE(table.link(r), u"pl02_"_s + table.cell(r, 0));
}

QTEST_GUILESS_MAIN(TestPlayerStats)
#include "tst_playerstats.moc"
