#include "pages/analysis.h"
#include "pages/pagecodes.h"
#include "pages/seasons.h"
#include "strings/texts.h"
#include "testsupport.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// A match on day `day` of January 2020 from "team1|team2|goals1|goals2", with a file name of its
// own unless one is given.
Match game(int day, const QString &teams, const QString &fields = {})
{
    const QStringList t = teams.split(u'|');
    Match m = makeMatch(u"%1-%2-%3.xml"_s.arg(day).arg(t.value(0), t.value(1)),
                        u"2020-01-%1"_s.arg(day, 2, 10, QLatin1Char('0')), t.value(0), t.value(1),
                        t.value(2), t.value(3));
    return fields.isEmpty() ? m : withFields(m, fields);
}

// Four teams, three match days: B ends first, A second, C third, D last.
const QList<Match> &fourTeams()
{
    static const QList<Match> season{game(1, u"A|B|2|0"_s), game(1, u"C|D|1|1"_s),
                                     game(2, u"A|C|0|1"_s), game(2, u"B|D|3|0"_s),
                                     game(3, u"D|A|2|2"_s), game(3, u"B|C|1|0"_s)};
    return season;
}

// A report of Ракета against Звезда with full line-ups (Р1..Р11, З1..З11), the score
// "goals1:goals2", the events in makeEvent's terse form, and more fields as withFields takes them.
Match report(const QString &score, const QStringList &events, const QString &fields = {})
{
    const QStringList goals = score.split(u':');
    Match m = makeMatch(u"r.xml"_s, u"2020-05-01"_s, u"Ракета"_s, u"Звезда"_s, goals.value(0),
                        goals.value(1));
    QStringList home, away;
    for (int i = 1; i <= 11; ++i) {
        home << u"Р%1"_s.arg(i);
        away << u"З%1"_s.arg(i);
    }
    m.edit().players1 = lineup(home);
    m.edit().players2 = lineup(away);
    m.edit().events = makeEvents(events);
    return fields.isEmpty() ? m : withFields(m, fields);
}

// A double round robin of three teams, a match a week from a week after start, with a pause of
// pause days after the third match (a winter break).
QList<Match> roundRobin(const QDate &start, int pause)
{
    QList<Match> matches;
    QDate day = start;
    for (const QString &pair : {u"A|B"_s, u"B|C"_s, u"C|A"_s, u"B|A"_s, u"C|B"_s, u"A|C"_s}) {
        day = day.addDays(matches.size() == 3 && pause ? pause : 7);
        matches.append(makeMatch(u"%1.xml"_s.arg(day.toString(Qt::ISODate)),
                                 day.toString(Qt::ISODate), pair.section(u'|', 0, 0),
                                 pair.section(u'|', 1), u"1"_s, u"0"_s));
    }
    return matches;
}

} // namespace

class TestAnalysis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reportChecks_data();
    void reportChecks();
    void pages_data();
    void pages();
    void roundsInOrderOfPlay();
    void chartDataIsThePage();
    void seasons_data();
    void seasons();
};

void TestAnalysis::reportChecks_data()
{
    QTest::addColumn<Match>("match");
    QTest::addColumn<QStringList>("problems");

    const QStringList none;
    // Ракета 2:1: a goal, an own goal of a Звезда player in added time, Звезда's goal in the 93rd
    // minute; a substitution of a substitute; a booking after a sending-off's minute of the other
    // side.
    QTest::newRow("a sound report")
        << report(u"2:1"_s,
                  {u"G|Р9|Ракета|||23"_s, u"O|З4|Звезда|||45+1"_s, u"S|Р7|Ракета||Р12|60"_s,
                   u"S|Р12|Ракета||Р13|85"_s, u"R|З5|Звезда|||70"_s, u"C|Р3|Ракета|||80"_s,
                   u"G|З10|Звезда|||90+3"_s})
        << none;
    QTest::newRow("own goal under the scorer's team counts for the other")
        << report(u"2:1"_s, {u"G|Р9|Ракета|||23"_s, u"O|Р4|Ракета|||50"_s, u"P|Р10|Ракета|||88"_s})
        << none;
    QTest::newRow("goals missing from the events")
        << report(u"3:1"_s, {u"G|Р9|Ракета|||23"_s, u"C|З3|Звезда|||50"_s})
        << QStringList{u"голы в событиях (1:0) не сходятся со счётом 3:1"_s};
    QTest::newRow("no events at all: nothing to add up") << report(u"3:1"_s, {}) << none;
    // 1:1 after extra time; the shoot-out's kicks, after the 120th minute or without a minute,
    // are no goals.
    const QString shootOut = u"extra1=0;extra2=0;penalties1=4;penalties2=3"_s;
    QTest::newRow("shoot-out kicks are not goals")
        << report(u"1:1"_s,
                  {u"G|Р9|Ракета|||10"_s, u"G|З9|Звезда|||85"_s, u"P|Р10|Ракета|||121"_s,
                   u"M|З8|Звезда|||120+1"_s, u"P|Р11|Ракета"_s, u"P|З2|Звезда"_s},
                  shootOut)
        << none;
    QTest::newRow("shoot-out after a decided match")
        << report(u"2:1"_s, {}, shootOut)
        << QStringList{u"серия пенальти (4:3) после неничейного счёта 2:1"_s};
    QTest::newRow("level shoot-out") << report(u"0:0"_s, {}, u"penalties1=5;penalties2=5"_s)
                                     << QStringList{u"серия пенальти закончилась вничью 5:5"_s};
    QTest::newRow("more extra-time goals than goals")
        << report(u"1:1"_s, {}, u"extra1=2;extra2=1"_s)
        << QStringList{
               u"голов в дополнительное время (2) больше, чем всего (1), у команды «Ракета»"_s};
    QTest::newRow("sent off, then in a later minute")
        << report(u"0:0"_s, {u"R|Р5|Ракета|||45+2"_s, u"C|Р5|Ракета|||46"_s})
        << QStringList{u"Р5 («Ракета») удалён на 45+2', но упомянут в событии на 46'"_s};
    QTest::newRow("sent off in added time, an earlier event listed after")
        << report(u"0:0"_s,
                  {u"Y|Р5|Ракета|||90+3"_s, u"C|Р5|Ракета|||90+1"_s, u"C|Р5|Ракета|||90+3"_s})
        << none;
    // "90+3" comes after "90" and before "91", "90+9" before "90+10".
    QTest::newRow("added time in minute order")
        << report(u"0:0"_s,
                  {u"R|Р5|Ракета|||90+3"_s, u"C|Р5|Ракета|||91"_s, u"R|Р6|Ракета|||90"_s,
                   u"C|Р6|Ракета|||90+1"_s, u"R|Р7|Ракета|||90+10"_s, u"C|Р7|Ракета|||90+9"_s})
        << QStringList{u"Р6 («Ракета») удалён на 90', но упомянут в событии на 90+1'"_s,
                       u"Р5 («Ракета») удалён на 90+3', но упомянут в событии на 91'"_s};
    QTest::newRow("substitutions of players not on the pitch")
        << report(u"0:0"_s,
                  {u"S|Р15|Ракета||Р12|50"_s, u"S|Р7|Ракета||Р13|60"_s, u"S|Р7|Ракета||Р14|70"_s,
                   u"Y|З2|Звезда|||30"_s, u"S|З2|Звезда||З12|75"_s, u"S|З3|Звезда||З1|80"_s})
        << QStringList{u"замена на 50': Р15 («Ракета») уходит, но его нет в стартовом составе"_s,
                       u"замена на 70': Р7 («Ракета») уходит, но уже был заменён"_s,
                       u"замена на 75': З2 («Звезда») уходит, но уже был удалён"_s,
                       u"замена на 80': З1 («Звезда») выходит, но уже играл"_s};
    Match lineups = report(u"0:0"_s, {});
    lineups.edit().players1[10] = PlayerEntry{{}, u"Р1"_s};
    lineups.edit().players2[0] = PlayerEntry{{}, u"Р2"_s};
    lineups.edit().players2.removeLast();
    QTest::newRow("line-ups") << lineups
                              << QStringList{u"Р1 дважды в стартовом составе «Ракета»"_s,
                                             u"в стартовом составе «Звезда» 10 игроков"_s,
                                             u"Р2 в стартовых составах обеих команд"_s};
    // A name is put in as it is: "%2" in it is no placeholder.
    Match placeholder = report(u"0:0"_s, {});
    placeholder.edit().team2 = u"Заря %2"_s;
    placeholder.edit().players2.removeLast();
    QTest::newRow("a placeholder in a team's name")
        << placeholder << QStringList{u"в стартовом составе «Заря %2» 10 игроков"_s};
    Match namesakes = report(u"0:0"_s, {});
    namesakes.edit().players1[1] = PlayerEntry{u"7"_s, u"З1"_s};
    namesakes.edit().players2[0] = PlayerEntry{u"8"_s, u"З1"_s};
    QTest::newRow("namesakes told apart by ID") << namesakes << none;
    Match noLineup = report(u"0:0"_s, {u"S|З3|Звезда||З12|60"_s});
    noLineup.edit().players2.clear();
    QTest::newRow("no line-up: neither its size nor who starts") << noLineup << none;
    QTest::newRow("minutes and teams")
        << report(u"0:0"_s, {u"C|Р5|Ракета|||45'"_s, u"C|Р6|Ракета"_s, u"C|З5|Звезда-2|||10"_s})
        << QStringList{u"событие «Предупреждение»: минута «45'» не число"_s,
                       u"событие «Предупреждение»: минута «» не число"_s,
                       u"событие «Предупреждение» на 10' у команды «Звезда-2», которая не играла "
                       "в матче"_s};
}

void TestAnalysis::reportChecks()
{
    QFETCH(Match, match);
    QFETCH(QStringList, problems);

    const TableData table = runBuilder(makeStore({match}), checkReports);
    QStringList found;
    for (int r = 0; r < table.rowCount(); ++r) {
        QCOMPARE(table.row(r).mid(0, 4),
                 (QStringList{u"2020/05/01"_s, match->team1, match->team2, scoreText(*match)}));
        QCOMPARE(table.link(r), u"xm01_r.xml"_s);
        found << table.cell(r, 4);
    }
    QCOMPARE(found, problems);
}

void TestAnalysis::pages_data()
{
    QTest::addColumn<QList<Match>>("matches");
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("round");     // empty: every round
    QTest::addColumn<QStringList>("lines"); // trimmed cells, only as many as the first line gives

    QTest::newRow("form of the last two")
        << fourTeams() << u"taf1_2"_s << QString()
        << QStringList{u"1|B|2|2|0|0|4|0|+4|6|В В|ta02_B"_s, u"2|C|2|1|0|1|1|1|0|3|В П|ta02_C"_s,
                       u"3|A|2|0|1|1|2|3|-1|1|П Н|ta02_A"_s, u"4|D|2|0|1|1|2|5|-3|1|П Н|ta02_D"_s};
    QTest::newRow("form of five when there are three")
        << fourTeams() << u"taf1_"_s << QString()
        << QStringList{u"1|B|3|2|0|1|4|2|+2|6|П В В"_s, u"2|A|3|1|1|1|4|3|+1|4|В П Н"_s,
                       u"3|C|3|1|1|1|2|2|0|4|Н В П"_s, u"4|D|3|0|2|1|3|6|-3|2|Н П Н"_s};
    QTest::newRow("season race")
        << fourTeams() << u"sr01_"_s << QString()
        << QStringList{u"B|1|2020/01/01|A|г|0:2|0|4"_s, u"B|2|2020/01/02|D|д|3:0|3|2"_s,
                       u"B|3|2020/01/03|C|д|1:0|6|1"_s, u"A|1|2020/01/01|B|д|2:0|3|1"_s,
                       u"A|2|2020/01/02|C|д|0:1|3|3"_s, u"A|3|2020/01/03|D|г|2:2|4|2"_s,
                       u"C|1|2020/01/01|D|д|1:1|1|2"_s, u"C|2|2020/01/02|A|г|1:0|4|1"_s,
                       u"C|3|2020/01/03|B|г|0:1|4|3"_s, u"D|1|2020/01/01|C|г|1:1|1|3"_s,
                       u"D|2|2020/01/02|B|г|0:3|1|4"_s, u"D|3|2020/01/03|A|д|2:2|2|4"_s};
    QTest::newRow("goals per match day")
        << fourTeams() << u"sg01_"_s << QString()
        << QStringList{u"2020/01/01|2|4|2.00|2.00"_s, u"2020/01/02|2|4|2.00|2.00"_s,
                       u"2020/01/03|2|5|2.50|2.17"_s};
    QTest::newRow("standings of one round")
        << QList<Match>{game(1, u"A|B|2|0"_s, u"round=1"_s), game(8, u"A|C|0|1"_s, u"round=2"_s),
                        game(9, u"C|D|1|1"_s, u"round=1"_s)}
        << u"ta01_"_s << u"1"_s
        << QStringList{u"1|A|1|1|0|0|2|0|+2|3"_s, u"2|C|1|0|1|0|1|1|0|1"_s,
                       u"3|D|1|0|1|0|1|1|0|1"_s, u"4|B|1|0|0|1|0|2|-2|0"_s};

    // A and B: met on day 1 (imported twice), day 4, and day 5 without a score; A also met C.
    const QList<Match> meetings{game(1, u"A|B|2|0"_s), game(1, u"A|B|2|0"_s, u"fileName=again"_s),
                                game(2, u"A|C|3|0"_s), game(4, u"B|A|1|1"_s), game(5, u"B|A"_s)};
    QTest::newRow("head-to-head") << meetings << u"hh01_A\tB"_s << QString()
                                  << QStringList{u"|A|||2|1|1|0|3|1|4|ta02_A"_s,
                                                 u"|B|||2|0|1|1|1|3|1|ta02_B"_s,
                                                 u"2020/01/01|A|B|2:0||||||||xm01_again"_s,
                                                 u"2020/01/04|B|A|1:1||||||||xm01_4-B-A.xml"_s,
                                                 u"2020/01/05|B|A|:||||||||xm01_5-B-A.xml"_s};
    QTest::newRow("head-to-head of teams that never met")
        << meetings << u"hh01_B\tC"_s << QString()
        << QStringList{u"|B|||0|0|0|0|0|0|0"_s, u"|C|||0|0|0|0|0|0|0"_s};

    // Same day and teams in either order, whatever the score; another day or opponent is another
    // match.
    const QList<Match> twice{game(1, u"A|B|2|0"_s, u"fileName=a;tournament=L"_s),
                             game(1, u"C|D|1|1"_s),
                             game(1, u"B|A|0|2"_s, u"fileName=b;tournament=L"_s),
                             game(1, u"A|C|2|0"_s),
                             game(2, u"A|B|2|0"_s),
                             game(2, u"D|C|1|1"_s, u"fileName=y"_s),
                             game(1, u"A|B"_s, u"fileName=c"_s),
                             game(2, u"C|D|1|1"_s, u"fileName=z"_s),
                             makeMatch(u"undated"_s, {}, u"A"_s, u"B"_s)};
    QTest::newRow("duplicates") << twice << u"vdp1_"_s << QString()
                                << QStringList{u"1|2020/01/01|A|B|2:0|L|a|xm01_a"_s,
                                               u"1|2020/01/01|B|A|0:2|L|b|xm01_b"_s,
                                               u"1|2020/01/01|A|B|:||c|xm01_c"_s,
                                               u"2|2020/01/02|D|C|1:1||y|xm01_y"_s,
                                               u"2|2020/01/02|C|D|1:1||z|xm01_z"_s};
}

void TestAnalysis::pages()
{
    QFETCH(QList<Match>, matches);
    QFETCH(QString, link);
    QFETCH(QString, round);
    QFETCH(QStringList, lines);

    MatchFilter filter = everything();
    if (!round.isEmpty())
        filter.round = round;
    const LinkParts parts = splitLink(link);
    const PageCodeEntry *entry = findPageCode(parts.code);
    QVERIFY(entry);
    const TableData table = runBuilder(makeStore(matches), entry->builder,
                                       pageArgument(*entry, parts.argument), false, filter);
    const int columns = lines.isEmpty() ? -1 : int(lines.first().count(u'|')) + 1;
    QCOMPARE(trimmedLines(table, columns), lines);
}

void TestAnalysis::roundsInOrderOfPlay()
{
    // Stored out of order; the empty round is left out; an undated round comes last.
    const MatchStore store = makeStore(
        {game(9, u"A|B"_s, u"round=2;tournament=L"_s),
         game(1, u"A|B"_s, u"round=1/8;tournament=C"_s),
         game(3, u"A|B"_s, u"round=1;tournament=L"_s),
         withFields(makeMatch(u"u"_s, {}, u"A"_s, u"B"_s), u"round=9;tournament=L"_s),
         game(4, u"A|B"_s, u"tournament=L"_s), game(12, u"A|B"_s, u"round=1;tournament=L"_s)});
    QCOMPARE(roundsOf(store, u"L"_s), (QStringList{u"1"_s, u"2"_s, u"9"_s}));
    QCOMPARE(roundsOf(store, texts().allTournaments),
             (QStringList{u"1/8"_s, u"1"_s, u"2"_s, u"9"_s}));
}

void TestAnalysis::chartDataIsThePage()
{
    // The chart draws seasonRace(); the table page shows the same figures.
    const MatchStore store = makeStore(fourTeams());
    const SeasonRace race = seasonRace(store, everything(), CompetitionRules());
    QCOMPARE(race.teams, (QStringList{u"B"_s, u"A"_s, u"C"_s, u"D"_s}));
    const TableData table = runBuilder(store, calculateSeasonRace);
    QCOMPARE(table.rowCount(), race.steps.size());
    for (int r = 0; r < table.rowCount(); ++r) {
        const RaceStep &step = race.steps.at(r);
        QCOMPARE(table.cell(r, 0), step.team);
        QCOMPARE(table.cell(r, 6).trimmed().toInt(), step.points);
        QCOMPARE(table.cell(r, 7).trimmed().toInt(), step.position);
    }
    QCOMPARE(race.days.constLast().running, 13.0 / 6);
    QCOMPARE(opponentsOf(store, everything(), u"A"_s), (QStringList{u"B"_s, u"C"_s, u"D"_s}));
}

void TestAnalysis::seasons_data()
{
    QTest::addColumn<QStringList>("starts"); // "yyyy-MM-dd" or "yyyy-MM-dd+PAUSE"
    // "again": the first match reported again three days later (or "+N" days); "cup": its teams
    // meet in a cup ten weeks later; "promoted": a new team's match opens the last season, two
    // days before its first.
    QTest::addColumn<QString>("extra");
    QTest::addColumn<QString>("seasons");
    QTest::newRow("one season") << QStringList{u"2020-08-01"_s} << QString()
                                << u"2020 08.08.2020–12.09.2020"_s;
    // A pairing met again opens a season, after the summer pause, not the longer winter one.
    QTest::newRow("winter break longer than summer")
        << QStringList{u"2020-08-01+200"_s, u"2021-08-01+200"_s} << QString()
        << u"2020/21 08.08.2020–24.03.2021;2021/22 08.08.2021–24.03.2022"_s;
    QTest::newRow("spring to autumn") << QStringList{u"2020-03-01"_s, u"2021-03-01"_s} << QString()
                                      << u"2020 08.03.2020–12.04.2020;2021 08.03.2021–12.04.2021"_s;
    QTest::newRow("a fixture reported twice")
        << QStringList{u"2020-08-01"_s} << u"again"_s << u"2020 08.08.2020–12.09.2020"_s;
    // Within 60 days a pairing met again is the same fixture; on the 60th day a new season.
    QTest::newRow("the same pairing 59 days later")
        << QStringList{u"2020-08-01"_s} << u"again+59"_s << u"2020 08.08.2020–06.10.2020"_s;
    QTest::newRow("the same pairing 60 days later")
        << QStringList{u"2020-08-01"_s} << u"again+60"_s
        << u"2020 08.08.2020–12.09.2020;2020 07.10.2020–07.10.2020"_s;
    QTest::newRow("a cup tie of two league teams")
        << QStringList{u"2020-08-01"_s} << u"cup"_s << u"2020 08.08.2020–17.10.2020"_s;
    // The season starts before its first repeated pairing, after the pause.
    QTest::newRow("a promoted team opens the season")
        << QStringList{u"2020-08-01+200"_s, u"2021-08-01+200"_s} << u"promoted"_s
        << u"2020/21 08.08.2020–24.03.2021;2021/22 06.08.2021–24.03.2022"_s;
}

void TestAnalysis::seasons()
{
    QFETCH(QStringList, starts);
    QFETCH(QString, extra);
    QList<Match> matches;
    for (const QString &start : starts)
        matches << roundRobin(QDate::fromString(start.section(u'+', 0, 0), Qt::ISODate),
                              start.section(u'+', 1).toInt());
    if (!extra.isEmpty()) {
        const bool promoted = extra == u"promoted"_s;
        Match added = promoted ? matches.at(6) : matches.first();
        added.edit().fileName = extra + u".xml"_s;
        const int days = extra.contains(u'+') ? extra.section(u'+', 1).toInt()
                         : promoted           ? -2
                         : extra == u"cup"_s  ? 70
                                              : 3;
        added.edit().date = added->date.addDays(days);
        if (promoted)
            added.edit().team2 = u"D"_s;
        if (extra == u"cup"_s)
            added.edit().tournament = u"Кубок"_s;
        matches << added;
    }
    const MatchStore store = makeStore(matches);
    MatchFilter filter;
    filter.from = QDate(2000, 1, 1);
    filter.till = QDate(2030, 1, 1);
    QStringList found;
    for (const DateSpan &season : seasonsOf(store, filter))
        found << seasonName(season) + u' ' + season.from.toString(u"dd.MM.yyyy"_s) + u'–' +
                     season.till.toString(u"dd.MM.yyyy"_s);
    QTEST(found.join(u';'), "seasons");
}

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
