#include "pages/builders.h"
#include "statsfixture.h"
#include "strings/texts.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace stats;

namespace {

// The first n visible cells of every row, trimmed and joined with "|".
QStringList leadingCells(const TableData &table, int n)
{
    QStringList result;
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < n; ++c)
            cells.append(table.cell(r, c).trimmed());
        result.append(cells.join(QLatin1Char('|')));
    }
    return result;
}

} // namespace

class TestPlayerStats : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workedExample();
    void eventKinds_data();
    void eventKinds();
    void opponentPenalties_data();
    void opponentPenalties();
    void teamsCountDistinctNames();
    void searchText_data();
    void searchText();
    void considerIdGrouping_data();
    void considerIdGrouping();
    void playersOfTeam_data();
    void playersOfTeam();
};

// Petrov and Ivanov start for A, Sidorov comes on for Petrov, Petrov scores and Ivanov is booked.
void TestPlayerStats::workedExample()
{
    const Texts &t = texts();
    Match m = report(u"m1.xml"_s, u"A"_s, u"B"_s);
    m.edit().players1 = lineup({u"Petrov"_s, u"Ivanov"_s});
    m.edit().events = {substitution(u"A"_s, u"Petrov"_s, u"Sidorov"_s),
                       playerEvent(t.goal, u"A"_s, u"Petrov"_s),
                       playerEvent(t.caution, u"A"_s, u"Ivanov"_s)};

    const TableData players = runOver({m}, calculatePlayers);
    QCOMPARE(players.headers(),
             (QStringList{t.hPlayer, t.hTeam, t.hMatches, t.hRed, t.hSecondYellow, t.hYellow,
                          t.hGoals, t.hPenScored, t.hPenMissed, t.hOwnGoals}));
    QCOMPARE(players.columnWidths(), (QList<int>{120, 120, 70, 70, 70, 70, 70, 70, 70, 70}));
    QCOMPARE(visibleRows(players),
             (QStringList{u"Ivanov|A|1|0|0|1|0|0|0|0"_s, u"Petrov|A|1|0|0|0|1|0|0|0"_s,
                          u"Sidorov|A|1|0|0|0|0|0|0|0"_s}));
    QCOMPARE(links(players), (QStringList{u"pl02_Ivanov"_s, u"pl02_Petrov"_s, u"pl02_Sidorov"_s}));
    QCOMPARE(players.cell(0, 2), u"   1"_s);

    const TableData teams = runOver({m}, calculateTeams);
    QCOMPARE(teams.headers(),
             (QStringList{t.hTeam, t.hPlayersCount, t.hRed, t.hSecondYellow, t.hYellow, t.hGoals,
                          t.hPenScored, t.hPenMissed, t.hOwnGoals, t.hPenOpponent}));
    QCOMPARE(teams.columnWidths(), (QList<int>{120, 80, 80, 80, 80, 80, 80, 80, 80, 80}));
    // B has neither a line-up nor an event: no row.
    QCOMPARE(visibleRows(teams), QStringList{u"A|3|0|0|1|1|0|0|0|0"_s});
    QCOMPARE(links(teams), QStringList{u"te02_A"_s});
}

void TestPlayerStats::eventKinds_data()
{
    const Texts &t = texts();
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("playerRow");
    QTest::addColumn<QStringList>("teamRows");

    QTest::newRow("sending-off") << t.sendingOff << u"X|A|0|1|0|0|0|0|0|0"_s
                                 << QStringList{u"A|0|1|0|0|0|0|0|0|0"_s};
    QTest::newRow("second caution")
        << t.secondCaution << u"X|A|0|0|1|0|0|0|0|0"_s << QStringList{u"A|0|0|1|0|0|0|0|0|0"_s};
    QTest::newRow("caution") << t.caution << u"X|A|0|0|0|1|0|0|0|0"_s
                             << QStringList{u"A|0|0|0|1|0|0|0|0|0"_s};
    QTest::newRow("goal") << t.goal << u"X|A|0|0|0|0|1|0|0|0"_s
                          << QStringList{u"A|0|0|0|0|1|0|0|0|0"_s};
    QTest::newRow("penalty goal: goals and penalties scored")
        << t.penaltyGoal << u"X|A|0|0|0|0|1|1|0|0"_s
        << QStringList{u"A|0|0|0|0|1|1|0|0|0"_s, u"B|0|0|0|0|0|0|0|0|1"_s};
    QTest::newRow("missed penalty: not a goal")
        << t.missedPenalty << u"X|A|0|0|0|0|0|0|1|0"_s
        << QStringList{u"A|0|0|0|0|0|0|1|0|0"_s, u"B|0|0|0|0|0|0|0|0|1"_s};
    QTest::newRow("own goal: not a goal")
        << t.ownGoal << u"X|A|0|0|0|0|0|0|0|1"_s << QStringList{u"A|0|0|0|0|0|0|0|1|0"_s};
    QTest::newRow("unknown kind still lists its player and team")
        << u"Травма"_s << u"X|A|0|0|0|0|0|0|0|0"_s << QStringList{u"A|0|0|0|0|0|0|0|0|0"_s};
    QTest::newRow("case differs: unknown kind")
        << u"гол"_s << u"X|A|0|0|0|0|0|0|0|0"_s << QStringList{u"A|0|0|0|0|0|0|0|0|0"_s};
}

void TestPlayerStats::eventKinds()
{
    QFETCH(QString, type);
    QFETCH(QString, playerRow);
    QFETCH(QStringList, teamRows);

    Match m = report(u"m1.xml"_s, u"A"_s, u"B"_s);
    m.edit().events = {playerEvent(type, u"A"_s, u"X"_s)};
    QCOMPARE(visibleRows(runOver({m}, calculatePlayers)), QStringList{playerRow});
    QCOMPARE(visibleRows(runOver({m}, calculateTeams)), teamRows);
}

void TestPlayerStats::opponentPenalties_data()
{
    const Texts &t = texts();
    QTest::addColumn<QList<MatchEvent>>("events");
    QTest::addColumn<QStringList>("teamRows"); // team|Пен(заб)|Пен(не заб)|Пен(соперн)

    QTest::newRow("away penalty credits the home team")
        << QList<MatchEvent>{playerEvent(t.penaltyGoal, u"B"_s, u"X"_s)}
        << QStringList{u"B|1|0|0"_s, u"A|0|0|1"_s};
    QTest::newRow("both sides") << QList<MatchEvent>{playerEvent(t.penaltyGoal, u"A"_s, u"X"_s),
                                                     playerEvent(t.missedPenalty, u"B"_s, u"Y"_s),
                                                     playerEvent(t.missedPenalty, u"B"_s, u"Y"_s)}
                                << QStringList{u"A|1|0|2"_s, u"B|0|2|1"_s};
    QTest::newRow("team of neither side has no opponent")
        << QList<MatchEvent>{playerEvent(t.penaltyGoal, u"C"_s, u"X"_s)}
        << QStringList{u"C|1|0|0"_s};
    QTest::newRow("other events create no opponent row")
        << QList<MatchEvent>{playerEvent(t.goal, u"A"_s, u"X"_s),
                             playerEvent(t.caution, u"A"_s, u"X"_s),
                             substitution(u"A"_s, u"X"_s, u"Z"_s)}
        << QStringList{u"A|0|0|0"_s};
}

void TestPlayerStats::opponentPenalties()
{
    QFETCH(QList<MatchEvent>, events);
    QFETCH(QStringList, teamRows);

    Match m = report(u"m1.xml"_s, u"A"_s, u"B"_s);
    m.edit().events = events;
    const TableData table = runOver({m}, calculateTeams);
    QStringList rows;
    for (int r = 0; r < table.rowCount(); ++r) {
        rows.append(QStringList{table.cell(r, 0), table.cell(r, 6).trimmed(),
                                table.cell(r, 7).trimmed(), table.cell(r, 9).trimmed()}
                        .join(QLatin1Char('|')));
    }
    rows.sort();
    teamRows.sort();
    QCOMPARE(rows, teamRows);
    // A row made for the opponent carries its name, so its link leads somewhere.
    for (int r = 0; r < table.rowCount(); ++r)
        QCOMPARE(table.link(r), u"te02_"_s + table.cell(r, 0));
}

// "Игроков" counts distinct names over all matches, whatever their IDs.
void TestPlayerStats::teamsCountDistinctNames()
{
    Match m1 = report(u"m1.xml"_s, u"A"_s, u"B"_s, 1);
    m1.edit().players1 = {player(u"Petrov"_s, u"1"_s), player(u"Ivanov"_s)};
    Match m2 = report(u"m2.xml"_s, u"A"_s, u"B"_s, 2);
    m2.edit().players1 = {player(u"Petrov"_s, u"2"_s)};
    m2.edit().events = {substitution(u"A"_s, u"Petrov"_s, u"Ivanov"_s)};
    Match m3 = report(u"m3.xml"_s, u"C"_s, u"A"_s, 3);
    m3.edit().players2 = {player(u"Sidorov"_s)};

    QCOMPARE(leadingCells(runOver({m1, m2, m3}, calculateTeams), 2), (QStringList{u"A|3"_s}));
}

void TestPlayerStats::searchText_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("considerId");
    QTest::addColumn<QStringList>("expected"); // Игрок|Команда|Матчей|..|..|..|Голы

    QTest::newRow("substring anywhere")
        << u"ов"_s << false
        << QStringList{u"Иванов|Спартак|1|0|0|1|0"_s, u"Петров|Спартак|1|0|0|0|1"_s,
                       u"Сидоров|Спартак|1|0|0|0|0"_s, u"Смирнов|Динамо|1|0|0|0|0"_s};
    QTest::newRow("case is respected") << u"иванов"_s << false << QStringList{};
    QTest::newRow("middle of a name")
        << u"тро"_s << false << QStringList{u"Петров|Спартак|1|0|0|0|1"_s};
    QTest::newRow("blank finds the name with a blank")
        << u" "_s << false << QStringList{u"Ван Дейк|Динамо|1|0|0|0|0"_s};
    QTest::newRow("only matching sightings count")
        << u"ов"_s << true
        << QStringList{u"Иванов|Спартак|1|0|0|1|0"_s, u"Петров|Спартак|1|0|0|0|1"_s,
                       u"Сидоров|Спартак|1|0|0|0|0"_s, u"Смирнов|Динамо|1|0|0|0|0"_s};
    QTest::newRow("no search: both spellings under one ID")
        << QString() << true
        << QStringList{u"Ван Дейк|Динамо|1|0|0|0|0"_s, u"Иванов|Спартак|1|0|0|1|0"_s,
                       u"ПЕТРОВ|Спартак|2|0|0|0|2"_s, u"Сидоров|Спартак|1|0|0|0|0"_s,
                       u"Смирнов|Динамо|1|0|0|0|0"_s};
}

// Player 7 is written "Петров" in one report and "ПЕТРОВ" in the other.
void TestPlayerStats::searchText()
{
    QFETCH(QString, search);
    QFETCH(bool, considerId);
    QFETCH(QStringList, expected);

    const Texts &t = texts();
    Match m1 = report(u"m1.xml"_s, u"Спартак"_s, u"Динамо"_s, 1);
    m1.edit().players1 = {player(u"Иванов"_s), player(u"Петров"_s, u"7"_s)};
    m1.edit().players2 = {player(u"Смирнов"_s), player(u"Ван Дейк"_s)};
    m1.edit().events = {playerEvent(t.goal, u"Спартак"_s, u"Петров"_s, u"7"_s),
                        playerEvent(t.caution, u"Спартак"_s, u"Иванов"_s),
                        substitution(u"Спартак"_s, u"Иванов"_s, u"Сидоров"_s)};
    Match m2 = report(u"m2.xml"_s, u"Спартак"_s, u"Зенит"_s, 2);
    m2.edit().players1 = {player(u"ПЕТРОВ"_s, u"7"_s)};
    m2.edit().events = {playerEvent(t.goal, u"Спартак"_s, u"ПЕТРОВ"_s, u"7"_s)};

    const TableData table = runOver({m1, m2}, calculatePlayers, search, considerId);
    QCOMPARE(leadingCells(table, 7), expected);
    QCOMPARE(table.headers().size(), 10);
}

void TestPlayerStats::considerIdGrouping_data()
{
    QTest::addColumn<QList<Match>>("matches");
    QTest::addColumn<bool>("considerId");
    QTest::addColumn<QStringList>("expected"); // Игрок|Команда|Матчей

    Match withId = report(u"m1.xml"_s, u"A"_s, u"X"_s, 1);
    withId.edit().players1 = {player(u"Petrov"_s, u"7"_s)};
    Match withoutId = report(u"m2.xml"_s, u"A"_s, u"X"_s, 2);
    withoutId.edit().players1 = {player(u"Petrov"_s)};
    QTest::newRow("with and without ID: two rows")
        << QList<Match>{withId, withoutId} << true << QStringList{u"Petrov|A|1"_s, u"Petrov|A|1"_s};
    QTest::newRow("by name and team: one row")
        << QList<Match>{withId, withoutId} << false << QStringList{u"Petrov|A|2"_s};

    Match moved = report(u"m3.xml"_s, u"B"_s, u"X"_s, 3);
    moved.edit().players1 = {player(u"Petrov"_s, u"7"_s)};
    QTest::newRow("moved, by name and team: a row per team")
        << QList<Match>{withId, moved} << false << QStringList{u"Petrov|A|1"_s, u"Petrov|B|1"_s};
    QTest::newRow("moved, by ID: one row under the last team")
        << QList<Match>{withId, moved} << true << QStringList{u"Petrov|B|2"_s};

    Match respelt = report(u"m4.xml"_s, u"A"_s, u"X"_s, 4);
    respelt.edit().players1 = {player(u"Petrow"_s, u"7"_s)};
    QTest::newRow("spellings under one ID: last one shown")
        << QList<Match>{withId, respelt} << true << QStringList{u"Petrow|A|2"_s};

    Match namesakes = report(u"m5.xml"_s, u"A"_s, u"X"_s, 5);
    namesakes.edit().players1 = {player(u"Ivanov"_s, u"1"_s), player(u"Ivanov"_s, u"2"_s)};
    QTest::newRow("namesakes by ID: two rows")
        << QList<Match>{namesakes} << true << QStringList{u"Ivanov|A|1"_s, u"Ivanov|A|1"_s};
    QTest::newRow("namesakes by name: one row of two appearances")
        << QList<Match>{namesakes} << false << QStringList{u"Ivanov|A|2"_s};

    // An event's team is its own, not the team of the line-up.
    Match sub = report(u"m6.xml"_s, u"A"_s, u"B"_s, 6);
    sub.edit().players1 = {player(u"Petrov"_s, u"7"_s)};
    sub.edit().events = {substitution(u"B"_s, u"Y"_s, u"Petrov"_s, u"7"_s)};
    QTest::newRow("substitution uses the event's team, by name")
        << QList<Match>{sub} << false << QStringList{u"Petrov|A|1"_s, u"Petrov|B|1"_s};
    QTest::newRow("substitution uses the event's team, by ID")
        << QList<Match>{sub} << true << QStringList{u"Petrov|B|2"_s};
}

void TestPlayerStats::considerIdGrouping()
{
    QFETCH(QList<Match>, matches);
    QFETCH(bool, considerId);
    QFETCH(QStringList, expected);

    QCOMPARE(leadingCells(runOver(matches, calculatePlayers, QString(), considerId), 3), expected);
}

void TestPlayerStats::playersOfTeam_data()
{
    QTest::addColumn<QString>("team");
    QTest::addColumn<bool>("considerId");
    QTest::addColumn<QStringList>("expected");

    // Two Ivanovs of A told apart by ID; Petrov (ID 7) moves from A to B; Sidorov comes on for A.
    QTest::newRow("namesakes stay apart by ID")
        << u"A"_s << true << QStringList{u"Ivanov|A|2"_s, u"Ivanov|A|1"_s, u"Sidorov|A|1"_s};
    QTest::newRow("namesakes merge by name")
        << u"A"_s << false << QStringList{u"Ivanov|A|3"_s, u"Petrov|A|1"_s, u"Sidorov|A|1"_s};
    QTest::newRow("moved player under his last team")
        << u"B"_s << true << QStringList{u"Petrov|B|2"_s, u"Smirnov|B|1"_s};
    QTest::newRow("by name, each team keeps its appearances")
        << u"B"_s << false << QStringList{u"Petrov|B|1"_s, u"Smirnov|B|1"_s};
    QTest::newRow("unknown team") << u"C"_s << true << QStringList{};
    QTest::newRow("case differs") << u"a"_s << false << QStringList{};
}

void TestPlayerStats::playersOfTeam()
{
    QFETCH(QString, team);
    QFETCH(bool, considerId);
    QFETCH(QStringList, expected);

    const Texts &t = texts();
    Match m1 = report(u"m1.xml"_s, u"A"_s, u"B"_s, 1);
    m1.edit().players1 = {player(u"Ivanov"_s, u"1"_s), player(u"Ivanov"_s, u"2"_s),
                          player(u"Petrov"_s, u"7"_s)};
    m1.edit().players2 = {player(u"Smirnov"_s)};
    m1.edit().events = {substitution(u"A"_s, u"Petrov"_s, u"Sidorov"_s),
                        playerEvent(t.goal, u"A"_s, u"Ivanov"_s, u"1"_s)};
    Match m2 = report(u"m2.xml"_s, u"B"_s, u"A"_s, 2);
    m2.edit().players1 = {player(u"Petrov"_s, u"7"_s)};
    m2.edit().players2 = {player(u"Ivanov"_s, u"1"_s)};

    const TableData table = runOver({m1, m2}, teamPlayers, team, considerId);
    QCOMPARE(table.headers(), (QStringList{t.hPlayer, t.hTeam, t.hMatches}));
    QCOMPARE(table.columnWidths(), (QList<int>{120, 120, 60}));
    QCOMPARE(visibleRows(table), expected);
    for (int r = 0; r < table.rowCount(); ++r)
        QCOMPARE(table.link(r), u"pl02_"_s + table.cell(r, 0));
}

QTEST_GUILESS_MAIN(TestPlayerStats)
#include "tst_playerstats.moc"
