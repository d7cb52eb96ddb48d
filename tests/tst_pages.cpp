// The pages: the engine that runs them, every builder and analysis, the competition rules (the
// standings under worked rule sets, the rules file's good and bad input), the captions, the match
// report, and the exports of a table.
#include "model/competitionrules.h"
#include "pages/analysis.h"
#include "pages/builders.h"
#include "pages/matchreport.h"
#include "pages/pagecaption.h"
#include "pages/pagecodes.h"
#include "pages/pagerequest.h"
#include "pages/seasons.h"
#include "pages/statpages.h"
#include "pages/textexport.h"
#include "strings/plural.h"
#include "strings/stattexts.h"
#include "strings/texts.h"
#include "testsupport.h"

#include <QtTest>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

// One page run: the builder and what the page was opened with.
struct Page
{
    PageBuilder builder = nullptr;
    QString argument = {};
    bool considerId = false;
    QString menuChoice = {};
};
Q_DECLARE_METATYPE(Page)

namespace {

// The match of onDay with more fields set, as withFields takes them.
Match game(int day, const QString &teams, const QString &fields)
{
    return withFields(onDay(day, teams), fields);
}

// Four teams, three match days: B ends first, A second, C third, D last.
const QList<Match> &fourTeams()
{
    static const QList<Match> season{onDay(1, u"A|B|2|0"_s), onDay(1, u"C|D|1|1"_s),
                                     onDay(2, u"A|C|0|1"_s), onDay(2, u"B|D|3|0"_s),
                                     onDay(3, u"D|A|2|2"_s), onDay(3, u"B|C|1|0"_s)};
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

Match sampleMatch()
{
    Match match = withFields(
        makeMatch(u"m"_s, u"2009-03-01"_s, u"Home"_s, u"Away"_s, u"2"_s, u"1"_s),
        u"tournament=League;round=5;extra1=3;penalties1=4;city=Town;stadium=Arena;attendance=1000;"
        "referee=Ref;refereeCity=Ref Town;time=19:00;coach1=Coach H;coach2=Coach A"_s);
    match.edit().players1 = lineup({u"H1"_s, u"H2"_s});
    match.edit().players2 = lineup({u"A1"_s});
    match.edit().events = makeEvents({u"G|H1|Home|||10"_s, u"S|A1|Away||A2|46"_s});
    return match;
}

// Fills a table as a builder that writes its rows in order does, each row's cells last to first.
void fillInOrder(ResultTable &table, const QStringList &headers, const QList<int> &widths,
                 const QList<QStringList> &rows)
{
    table.prepareTable(headers, 60, int(rows.size()));
    for (int c = 0; c < widths.size(); ++c)
        table.setColumnWidth(c, widths.at(c));
    table.rowsInOrder();
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = int(rows.at(r).size()) - 1; c >= 0; --c)
            table.setCell(r, c, rows.at(r).at(c));
    }
}

TableData runLink(const MatchStore &store, const QString &link)
{
    const LinkParts parts = splitLink(link);
    const PageCodeEntry *entry = findPageCode(parts.code);
    return entry ? runBuilder(store, entry->builder, pageArgument(*entry, parts.argument))
                 : TableData();
}

// Rules from "W-D-L chain team:points:yyyy-MM-dd ..." (a deduction's date may be left off).
CompetitionRules rules(const QString &text)
{
    const QStringList parts = text.split(u' ');
    CompetitionRules r;
    parsePoints(parts.at(0), r);
    parseTieBreaks(parts.at(1), r.tieBreaks);
    for (const QString &d : parts.mid(2)) {
        const QStringList f = d.split(u':');
        r.deductions.append(
            {f.at(0), f.at(1).toInt(), u"долг"_s, QDate::fromString(f.value(2), Qt::ISODate)});
    }
    return r;
}

} // namespace

class TestPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void pages_data()
    {
        QTest::addColumn<QList<Match>>("matches");
        QTest::addColumn<Page>("page");
        QTest::addColumn<QStringList>("lines"); // each row's trimmed cells, the link last

        // Standings: points, then goal difference, goals scored and the name in code-unit order.
        QTest::newRow("standings, worked example")
            << onDays({u"A|B|3|1"_s, u"B|C|2|2"_s, u"A|C|0|1"_s}) << Page{calculateTable}
            << QStringList{u"1|C|2|1|1|0|3|2|+1|4|ta02_C"_s, u"2|A|2|1|0|1|3|2|+1|3|ta02_A"_s,
                           u"3|B|2|0|1|1|3|5|-2|1|ta02_B"_s};
        // P and Q level on points: P ahead on goal difference, Q on goals scored.
        QTest::newRow("standings, goal difference before goals scored")
            << onDays({u"P|R|3|0"_s, u"Q|S|5|4"_s}) << Page{calculateTable}
            << QStringList{u"1|P|1|1|0|0|3|0|+3|3|ta02_P"_s, u"2|Q|1|1|0|0|5|4|+1|3|ta02_Q"_s,
                           u"3|S|1|0|0|1|4|5|-1|0|ta02_S"_s, u"4|R|1|0|0|1|0|3|-3|0|ta02_R"_s};
        QTest::newRow("standings, level in everything")
            << onDays({u"b|Z|1|1"_s}) << Page{calculateTable}
            << QStringList{u"1|Z|1|0|1|0|1|1|0|1|ta02_Z"_s, u"2|b|1|0|1|0|1|1|0|1|ta02_b"_s};
        QTest::newRow("standings, no score is no match, half a score is")
            << onDays({u"A|B||"_s, u"C|D|x|1"_s}) << Page{calculateTable}
            << QStringList{u"1|D|1|1|0|0|1|0|+1|3|ta02_D"_s, u"2|C|1|0|0|1|0|1|-1|0|ta02_C"_s};
        QTest::newRow("standings, absurd scores do not wrap")
            << onDays({u"A|B|2000000000|0"_s, u"A|B|2000000000|0"_s}) << Page{calculateTable}
            << QStringList{u"1|A|2|2|0|0|2147483647|0|+2147483647|6|ta02_A"_s,
                           u"2|B|2|0|0|2|0|2147483647|-2147483647|0|ta02_B"_s};

        // Goalscorers: goals and penalty goals count, own goals and missed penalties do not.
        QTest::newRow("scorers, worked example")
            << QList<Match>{onDay(
                   1, u"A|B"_s,
                   {u"G|Petrov|A"_s, u"P|Petrov|A"_s, u"O|Sidorov|B"_s, u"M|Ivanov|B"_s})}
            << Page{calculateGoals} << QStringList{u"Petrov|A|2|1|go02_Petrov"_s};
        const QList<Match> twoTeams{onDay(1, u"A|B"_s, {u"G|Petrov|A|p1"_s}),
                                    onDay(2, u"A|B"_s, {u"G|Petrov|B|p1"_s, u"G|Petrov|B|p1"_s})};
        QTest::newRow("scorers, two teams by name and team")
            << twoTeams << Page{calculateGoals}
            << QStringList{u"Petrov|B|2|0|go02_Petrov"_s, u"Petrov|A|1|0|go02_Petrov"_s};
        QTest::newRow("scorers, two teams, one ID: last team shown")
            << twoTeams << Page{calculateGoals, {}, true}
            << QStringList{u"Petrov|B|p1|3|0|go03_p1"_s};
        QTest::newRow("scorers, IDs considered but absent: by name")
            << QList<Match>{onDay(1, u"A|B"_s, {u"G|Petrov|A"_s}),
                            onDay(2, u"A|B"_s, {u"P|Petrov|B"_s})}
            << Page{calculateGoals, {}, true} << QStringList{u"Petrov|B||2|1|go02_Petrov"_s};

        // An event of the away team B: the same counters on the player's row and on B's row; a
        // penalty, scored or missed, also counts in "Пен(соперн)" of the other team, A.
        const QStringList kinds{u"R|1|0|0|0|0|0|0"_s, u"Y|0|1|0|0|0|0|0"_s,  u"C|0|0|1|0|0|0|0"_s,
                                u"G|0|0|0|1|0|0|0"_s, u"P|0|0|0|1|1|0|0"_s,  u"M|0|0|0|0|0|1|0"_s,
                                u"O|0|0|0|0|0|0|1"_s, u"гол|0|0|0|0|0|0|0"_s};
        for (const QString &kind : kinds) {
            const QString k = kind.section(u'|', 0, 0), counts = kind.section(u'|', 1);
            const QList<Match> one{onDay(1, u"A|B"_s, {k + u"|X|B"_s})};
            QStringList teams{u"B|0|%1|0|te02_B"_s.arg(counts)};
            if (k == u"P"_s || k == u"M"_s)
                teams.prepend(u"A|0|0|0|0|0|0|0|0|1|te02_A"_s);
            QTest::newRow(qPrintable(u"players, kind "_s + k))
                << one << Page{calculatePlayers}
                << QStringList{u"X|B|0|0|0|0|%1|pl02_X"_s.arg(counts)};
            QTest::newRow(qPrintable(u"teams, kind "_s + k))
                << one << Page{calculateTeams} << teams;
        }
        QTest::newRow("teams, home penalty")
            << QList<Match>{onDay(1, u"A|B"_s, {u"P|X|A"_s})} << Page{calculateTeams}
            << QStringList{u"A|0|0|0|0|1|1|0|0|0|te02_A"_s, u"B|0|0|0|0|0|0|0|0|1|te02_B"_s};

        // Petrov and Ivanov start for A, Sidorov comes on for Petrov, Petrov scores, Ivanov is
        // booked; a second match of A repeats Petrov under another ID.
        const QList<Match> example{
            onDay(1, u"A|B"_s, {u"S|Petrov|A||Sidorov"_s, u"G|Petrov|A"_s, u"C|Ivanov|A"_s},
                  {u"Petrov"_s, u"Ivanov"_s}),
            onDay(2, u"C|A"_s, {}, {}, {u"Petrov#9"_s})};
        QTest::newRow("players, worked example")
            << example.mid(0, 1) << Page{calculatePlayers}
            << QStringList{u"Ivanov|A|1|1|0|0|0|0|1|0|0|0|0|pl02_Ivanov"_s,
                           u"Petrov|A|1|1|0|0|0|0|0|1|0|0|0|pl02_Petrov"_s,
                           u"Sidorov|A|1|0|1|0|0|0|0|0|0|0|0|pl02_Sidorov"_s};
        // B has neither a line-up nor an event, so no row; names are counted once, IDs ignored.
        QTest::newRow("teams, worked example")
            << example << Page{calculateTeams} << QStringList{u"A|3|0|0|1|1|0|0|0|0|te02_A"_s};

        // Player 7 is written "Petrov" in one report and "PETROV" in the other. The search is a
        // case-sensitive substring test of each sighting's own name.
        const QList<Match> spelt{
            onDay(1, u"A|X"_s, {u"G|Petrov|A|7"_s, u"C|Ivanov|A"_s}, {u"Ivanov"_s, u"Petrov#7"_s}),
            onDay(2, u"A|X"_s, {u"G|PETROV|A|7"_s}, {u"PETROV#7"_s})};
        QTest::newRow("players, search")
            << spelt << Page{calculatePlayers, u"tro"_s} << QStringList{u"Petrov|A|1|1|0|90"_s};
        QTest::newRow("players, search is case-sensitive")
            << spelt << Page{calculatePlayers, u"Tro"_s} << QStringList{};
        QTest::newRow("players, search by ID keeps the sightings that match")
            << spelt << Page{calculatePlayers, u"tro"_s, true}
            << QStringList{u"Petrov|A|7|1|1|0|90"_s};
        QTest::newRow("players, by ID both spellings")
            << spelt << Page{calculatePlayers, {}, true}
            << QStringList{u"Ivanov|A||1|1|0|90"_s, u"PETROV|A|7|2|2|0|180"_s};
        // Petrov: ID 7 for A, no ID for A, ID 7 for B coming on (the event's team counts, not the
        // line-up's), "Petrow" ID 7 for B.
        const QList<Match> moved{
            onDay(1, u"A|X"_s, {}, {u"Petrov#7"_s}), onDay(2, u"A|X"_s, {}, {u"Petrov"_s}),
            onDay(3, u"X|A"_s, {u"S|Y|B||Petrov||7"_s}), onDay(4, u"B|X"_s, {}, {u"Petrow#7"_s})};
        QTest::newRow("players by name and team")
            << moved << Page{calculatePlayers, u"Pet"_s}
            << QStringList{u"Petrov|A|2"_s, u"Petrov|B|1"_s, u"Petrow|B|1"_s};
        QTest::newRow("players by ID, else by name: last sighting shown")
            << moved << Page{calculatePlayers, u"Pet"_s, true}
            << QStringList{u"Petrov|A||1"_s, u"Petrow|B|7|3"_s};

        // Two Ivanovs of A told apart by ID; Petrov (ID 7) moves from A to B; Sidorov comes on for
        // A.
        const QList<Match> squad{onDay(1, u"A|B"_s, {u"S|Petrov|A||Sidorov"_s, u"G|Ivanov|A|1"_s},
                                       {u"Ivanov#1"_s, u"Ivanov#2"_s, u"Petrov#7"_s},
                                       {u"Smirnov"_s}),
                                 onDay(2, u"B|A"_s, {}, {u"Petrov#7"_s}, {u"Ivanov#1"_s})};
        QTest::newRow("team players, namesakes stay apart by ID")
            << squad << Page{teamPlayers, u"A"_s, true}
            << QStringList{u"Ivanov|A|2|pl02_Ivanov"_s, u"Ivanov|A|1|pl02_Ivanov"_s,
                           u"Sidorov|A|1|pl02_Sidorov"_s};
        QTest::newRow("team players, namesakes merge by name")
            << squad << Page{teamPlayers, u"A"_s}
            << QStringList{u"Ivanov|A|3"_s, u"Petrov|A|1"_s, u"Sidorov|A|1"_s};
        QTest::newRow("team players, moved player under his last team")
            << squad << Page{teamPlayers, u"B"_s, true}
            << QStringList{u"Petrov|B|2"_s, u"Smirnov|B|1"_s};

        // Stadiums: a match without a known attendance counts in the average only.
        const auto crowds = [](const QStringList &attendances) {
            QList<Match> matches;
            for (const QString &a : attendances)
                matches.append(withFields(onDay(int(matches.size()) + 1, u"A|B"_s),
                                          u"stadium=Лужники;city=Москва;attendance="_s + a));
            return matches;
        };
        QTest::newRow("stadiums, worked example")
            << crowds({u"1000"_s, QString(), u"2000"_s}) << Page{calculateStadiums}
            << QStringList{u"Лужники|Москва|3|1000|2000|1000|st02_Лужники"_s};
        QTest::newRow("stadiums, none known")
            << crowds({QString(), QString()}) << Page{calculateStadiums}
            << QStringList{u"Лужники|Москва|2|0|0|0"_s};
        QTest::newRow("stadiums, zero, negative and text are not known")
            << crowds({u"0"_s, u"-50"_s, u"много"_s, u"900"_s}) << Page{calculateStadiums}
            << QStringList{u"Лужники|Москва|4|225|900|900"_s};
        QTest::newRow("stadiums, large crowds do not overflow the total")
            << crowds({u"2000000000"_s, u"2000000000"_s, u"1000000000"_s})
            << Page{calculateStadiums}
            << QStringList{u"Лужники|Москва|3|1666666666|2000000000|1000000000"_s};
        QTest::newRow("stadiums, crowds past any counter saturate")
            << crowds({u"9000000000000000000"_s, u"9000000000000000000"_s})
            << Page{calculateStadiums}
            << QStringList{u"Лужники|Москва|2|4611686018427387903|9000000000000000000|"
                           "9000000000000000000"_s};
        QTest::newRow("stadiums, one huge crowd averages without wrapping")
            << crowds({u"3000000000000000000"_s, QString()}) << Page{calculateStadiums}
            << QStringList{u"Лужники|Москва|2|1500000000000000000|3000000000000000000|"
                           "3000000000000000000"_s};

        // Referees: every booking of both teams, a penalty once whether scored or missed; most
        // matches first, equal counts in the order the referees were met in.
        const Texts &t = texts();
        QList<Match> refereed{onDay(1, u"A|B"_s,
                                    {u"C|X|A"_s, u"C|Y|B"_s, u"R|Y|B"_s, u"Y|Z|A"_s, u"P|X|A"_s,
                                     u"M|Y|B"_s, u"G|Y|B"_s}),
                              onDay(2, u"A|C"_s, {u"M|Z|C"_s}), onDay(3, u"B|C"_s, {u"G|Y|B"_s}),
                              onDay(4, u"A|D"_s, {u"P|X|A"_s})};
        for (int i = 0; i < 3; ++i)
            refereed[i] = withFields(refereed[i], u"referee=Судьин;refereeCity="_s +
                                                      (i == 2 ? u"Омск"_s : u"Пермь"_s));
        QTest::newRow("referees") << refereed << Page{calculateReferees}
                                  << QStringList{u"Судьин|Пермь|2|1|1|2|3|re02_Судьин"_s,
                                                 u"Судьин|Омск|1|0|0|0|0|re02_Судьин"_s,
                                                 u"||1|0|0|0|1|re02_"_s};
        const QStringList all{u"2020/01/01||A|B|:|xm01_m1.xml"_s,
                              u"2020/01/02||A|C|:|xm01_m2.xml"_s,
                              u"2020/01/03||B|C|:|xm01_m3.xml"_s};
        QTest::newRow("referee matches, all")
            << refereed << Page{refereeMatches, u"Судьин"_s, false, t.menuAllMatches} << all;
        QTest::newRow("referee matches, with a penalty")
            << refereed << Page{refereeMatches, u"Судьин"_s, false, t.menuPenaltyMatches}
            << all.mid(0, 2);

        // Coaches: a match without a score is played but has neither a result nor goals; a side
        // without a coach is a nameless row; a search counts only the matching side.
        const QList<Match> season{game(1, u"A|B|2|1"_s, u"coach1=Ivanov;coach2=Petrov"_s),
                                  game(2, u"B|A|0|0"_s, u"coach1=Petrov;coach2=Ivanov"_s),
                                  game(3, u"A|C|0|3"_s, u"coach1=Ivanov;coach2=Smith"_s),
                                  game(4, u"C|A"_s, u"coach1=Smith;coach2=Ivanov"_s),
                                  game(5, u"D|C|1|1"_s, u"coach2=Smith"_s)};
        QTest::newRow("coaches") << season << Page{calculateCoaches}
                                 << QStringList{u"|D|1|0|1|0|1|1|1|co02_"_s,
                                                u"Ivanov|A|4|1|1|1|2|4|4|co02_Ivanov"_s,
                                                u"Petrov|B|2|0|1|1|1|2|1|co02_Petrov"_s,
                                                u"Smith|C|3|1|1|0|4|1|4|co02_Smith"_s};
        QTest::newRow("coaches, absurd scores add up without wrapping")
            << QList<Match>{game(1, u"A|B|2147483647|-5"_s, u"coach1=Ivanov"_s),
                            game(2, u"A|B|2147483647|0"_s, u"coach1=Ivanov"_s)}
            << Page{calculateCoaches}
            << QStringList{u"|B|2|0|0|2|0|4294967294|0|co02_"_s,
                           u"Ivanov|A|2|2|0|0|4294967294|0|6|co02_Ivanov"_s};
        QTest::newRow("coaches, search")
            << season << Page{calculateCoaches, u"ov"_s}
            << QStringList{u"Ivanov|A|4|1|1|1|2|4|4"_s, u"Petrov|B|2|0|1|1|1|2|1"_s};
        const QList<Match> clubs{game(1, u"A|B|1|0"_s, u"coach1=Ivanov;coach1Id=5;coach2=X"_s),
                                 game(2, u"D|C|1|0"_s, u"coach1=Y;coach2=Ivanov;coach2Id=5"_s)};
        QTest::newRow("coaches by ID: one row, last club")
            << clubs << Page{calculateCoaches, {}, true}
            << QStringList{u"Ivanov|C|5|2|1|0|1|1|1|3"_s, u"X|B||1|0|0|1|0|1|0"_s,
                           u"Y|D||1|1|0|0|1|0|3"_s};
        QTest::newRow("coaches by name and team: a row per club")
            << clubs << Page{calculateCoaches}
            << QStringList{u"Ivanov|A|1|1|0|0|1|0|3"_s, u"Ivanov|C|1|0|0|1|0|1|0"_s,
                           u"X|B|1|0|0|1|0|1|0"_s, u"Y|D|1|1|0|0|1|0|3"_s};

        // Checks: line-ups of other than 11 and 11, no attendance given ("0" and text are given).
        const auto sized = [](int home, int away, const QString &attendance) {
            Match m = game(3, u"A|B|2|1"_s, u"city=Тула;attendance="_s + attendance);
            m.edit().players1 = lineup(QStringList(home, u"H"_s));
            m.edit().players2 = lineup(QStringList(away, u"A"_s));
            return QList<Match>{m};
        };
        const QStringList listed{u"2020/01/03|Тула|A|B|2:1|xm01_m3.xml"_s};
        QTest::newRow("check line-ups, 11 and 11")
            << sized(11, 11, {}) << Page{verifyPlayers} << QStringList{};
        QTest::newRow("check line-ups, 11 and 10")
            << sized(11, 10, {}) << Page{verifyPlayers} << listed;
        QTest::newRow("check line-ups, 12 and 11")
            << sized(12, 11, {}) << Page{verifyPlayers} << listed;
        QTest::newRow("check line-ups, both empty")
            << sized(0, 0, {}) << Page{verifyPlayers} << listed;
        // One row per day and pair of teams (in that order), where the first such match came, with
        // the texts of the last; days in order, a day's rows by their first match.
        const auto unchecked = [](const QString &file, int day, const QString &teams,
                                  const QString &city) {
            const QStringList t = teams.split(u'|');
            return withFields(makeMatch(file, u"2020-01-0%1"_s.arg(day), t[0], t[1], t[2], t[3]),
                              u"city="_s + city);
        };
        QTest::newRow("check line-ups, one row per day and pair")
            << QList<Match>{unchecked(u"a.xml"_s, 3, u"A|B|1|0"_s, u"X"_s),
                            unchecked(u"b.xml"_s, 2, u"C|D|0|0"_s, u"Y"_s),
                            unchecked(u"c.xml"_s, 3, u"A|B|2|2"_s, u"Z"_s),
                            unchecked(u"d.xml"_s, 3, u"E|F|3|1"_s, u"W"_s),
                            unchecked(u"e.xml"_s, 3, u"B|A|0|1"_s, u"V"_s)}
            << Page{verifyPlayers}
            << QStringList{
                   u"2020/01/02|Y|C|D|0:0|xm01_b.xml"_s, u"2020/01/03|Z|A|B|2:2|xm01_c.xml"_s,
                   u"2020/01/03|W|E|F|3:1|xm01_d.xml"_s, u"2020/01/03|V|B|A|0:1|xm01_e.xml"_s};
        QList<Match> empty = sized(11, 11, {}); // null there, and empty, not null, here
        empty[0].edit().attendance = u""_s;
        QTest::newRow("check attendance, empty") << empty << Page{verifyAttendance} << listed;
        QTest::newRow("check attendance, zero")
            << sized(11, 11, u"0"_s) << Page{verifyAttendance} << QStringList{};

        // Minutes: A's P1 goes off for S1 at 60, who goes off for S2 at "90+3" (90); P2 is sent off
        // at "45+2" (45); B's Q1 gets his second yellow at 100. With extra time the match lasts
        // 120.
        const Match minutes =
            onDay(1, u"A|B|1|1"_s,
                  {u"S|P1|A||S1|60"_s, u"R|P2|A|||45+2"_s, u"S|S1|A||S2|90+3"_s, u"Y|Q1|B|||100"_s},
                  {u"P1"_s, u"P2"_s, u"P3"_s}, {u"Q1"_s});
        QTest::newRow("players, minutes with extra time")
            << QList<Match>{withFields(minutes, u"extra1=2;extra2=1"_s)} << Page{calculatePlayers}
            << QStringList{u"P1|A|1|1|0|60|0|0|0"_s,  u"P2|A|1|1|0|45|1|0|0"_s,
                           u"P3|A|1|1|0|120|0|0|0"_s, u"Q1|B|1|1|0|100|0|1|0"_s,
                           u"S1|A|1|0|1|30|0|0|0"_s,  u"S2|A|1|0|1|30|0|0|0"_s};
        QTest::newRow("players, minutes in 90")
            << QList<Match>{minutes} << Page{calculatePlayers}
            << QStringList{u"P1|A|1|1|0|60"_s, u"P2|A|1|1|0|45"_s, u"P3|A|1|1|0|90"_s,
                           u"Q1|B|1|1|0|90"_s, u"S1|A|1|0|1|30"_s, u"S2|A|1|0|1|0"_s};
        QTest::newRow("players, a shoot-out means extra time; no events, the full length")
            << QList<Match>{withFields(onDay(1, u"A|B|0|0"_s, {}, {u"X"_s}), u"penalties2=4"_s)}
            << Page{calculatePlayers} << QStringList{u"X|A|1|1|0|120"_s};
        QTest::newRow("players, a substitution without a minute: appearances, no minutes")
            << QList<Match>{onDay(1, u"A|B"_s, {u"S|X|A||Y|?"_s}, {u"X"_s}),
                            onDay(2, u"A|B"_s, {}, {u"X"_s})}
            << Page{calculatePlayers} << QStringList{u"X|A|2|2|0|90"_s, u"Y|A|1|0|1|0"_s};
        // Keys of two texts: "A B" of C and "A" of "B C" are two players; joined by a space they
        // would read the same.
        const QList<Match> joined{
            onDay(1, u"C|B C"_s, {u"G|A B|C"_s, u"P|A|B C"_s}, {u"A B"_s}, {u"A"_s})};
        QTest::newRow("players, names and teams never run together")
            << joined << Page{calculatePlayers} << QStringList{u"A|B C|1"_s, u"A B|C|1"_s};
        QTest::newRow("scorers, names and teams never run together")
            << joined << Page{calculateGoals}
            << QStringList{u"A B|C|1|0|go02_A B"_s, u"A|B C|1|1|go02_A"_s};
        // With IDs considered the link carries the ID, and the list it leads to selects by it.
        const QList<Match> ids{onDay(1, u"A|B|1|0"_s, {u"G|Petrov|A|7"_s}, {u"Petrov#7"_s}),
                               onDay(2, u"A|B|1|0"_s, {u"G|Petrov|A|8"_s}, {u"Petrov#8"_s}),
                               onDay(3, u"C|A"_s, {u"S|X|C||Petrow||7"_s})};
        QTest::newRow("players by ID: the ID column and link")
            << ids << Page{calculatePlayers, {}, true}
            << QStringList{u"Petrov|A|8|1|1|0|90|0|0|0|1|0|0|0|pl03_8"_s,
                           u"Petrow|C|7|2|1|1|90|0|0|0|1|0|0|0|pl03_7"_s};
        QTest::newRow("player matches by ID") << ids << Page{playerMatchesById, u"7"_s}
                                              << QStringList{u"2020/01/01||A|B|1:0|xm01_m1.xml"_s,
                                                             u"2020/01/03||C|A|:|xm01_m3.xml"_s};
        QTest::newRow("scorer matches by ID")
            << ids << Page{goalMatchesById, u"8"_s}
            << QStringList{u"2020/01/02||A|B|1:0|1|xm01_m2.xml"_s};
        QTest::newRow("scorers by ID")
            << ids << Page{calculateGoals, {}, true}
            << QStringList{u"Petrov|A|7|1|0|go03_7"_s, u"Petrov|A|8|1|0|go03_8"_s};
        const QList<Match> coachIds{game(1, u"A|B"_s, u"coach1=Ivanov;coach1Id=5"_s),
                                    game(2, u"C|A"_s, u"coach1=Ivanov;coach1Id=6"_s),
                                    game(3, u"D|A"_s, u"coach1=Ivanov;coach2=Ivanov;coach2Id=5"_s)};
        QTest::newRow("coach matches by ID")
            << coachIds << Page{coachMatchesById, u"5"_s}
            << QStringList{u"2020/01/01||A|B|:|xm01_m1.xml"_s, u"2020/01/03||D|A|:|xm01_m3.xml"_s};

        // A career: Petrov (ID 7) starts for A in the league, comes on at 70 for A in the cup and
        // scores a penalty; as "Petrow" (ID 7) he starts for D; without an ID he starts for A
        // again.
        const QList<Match> career{
            withFields(onDay(1, u"A|B|1|0"_s, {u"G|Petrov|A|7"_s}, {u"Petrov#7"_s}),
                       u"tournament=League"_s),
            withFields(onDay(2, u"A|C|1|0"_s, {u"S|Z|A||Petrov|70|7"_s, u"P|Petrov|A|7||80"_s}),
                       u"tournament=Cup"_s),
            withFields(onDay(3, u"D|B|0|0"_s, {u"C|Petrow|D|7||30"_s}, {u"Petrow#7"_s}),
                       u"tournament=League"_s),
            withFields(onDay(4, u"A|B|0|0"_s, {u"R|Petrov|A|||89"_s}, {u"Petrov"_s}),
                       u"tournament=League"_s)};
        QTest::newRow("career by name")
            << career << Page{playerCareer, u"Petrov"_s}
            << QStringList{u"League|A|2020/01/01|2020/01/04|2|2|179|1|0|0|1|pl02_Petrov"_s,
                           u"Cup|A|2020/01/02|2020/01/02|1|0|20|1|1|0|0|pl02_Petrov"_s,
                           u"Всего||2020/01/01|2020/01/04|3|2|199|2|1|0|1|pl02_Petrov"_s};
        QTest::newRow("career by ID")
            << career << Page{playerCareerById, u"7"_s}
            << QStringList{u"League|A|2020/01/01|2020/01/01|1|1|90|1|0|0|0|pl03_7"_s,
                           u"Cup|A|2020/01/02|2020/01/02|1|0|20|1|1|0|0|pl03_7"_s,
                           u"League|D|2020/01/03|2020/01/03|1|1|90|0|0|1|0|pl03_7"_s,
                           u"Всего||2020/01/01|2020/01/03|3|2|200|2|1|1|0|pl03_7"_s};

        // Records: equal margins go by the winner's goals, then by date; equal values share a
        // place.
        QList<Match> records =
            onDays({u"A|B|3|0"_s, u"C|D|4|1"_s, u"E|F|1|4"_s, u"G|H|2|2"_s, u"I|J|5|2"_s});
        for (const auto &[i, crowd] : {std::pair(0, u"500"_s), std::pair(1, u"500"_s),
                                       std::pair(3, u"100"_s), std::pair(4, u"0"_s)})
            records[i] = withFields(records[i], u"attendance="_s + crowd);
        const StatTexts &st = statTexts();
        const auto record = [](const QString &group, const QString &rest) {
            return group + u'|' + rest + u"|xm01_m"_s + rest.section(u'|', 1, 1).right(1) +
                   u".xml"_s;
        };
        QTest::newRow("records")
            << records << Page{calculateRecords}
            << QStringList{record(st.recordBiggestWins, u"1|2020/01/05|I|J|5:2|3"_s),
                           record(st.recordBiggestWins, u"2|2020/01/02|C|D|4:1|3"_s),
                           record(st.recordBiggestWins, u"2|2020/01/03|E|F|1:4|3"_s),
                           record(st.recordBiggestWins, u"4|2020/01/01|A|B|3:0|3"_s),
                           record(st.recordMostGoals, u"1|2020/01/05|I|J|5:2|7"_s),
                           record(st.recordMostGoals, u"2|2020/01/02|C|D|4:1|5"_s),
                           record(st.recordMostGoals, u"2|2020/01/03|E|F|1:4|5"_s),
                           record(st.recordMostGoals, u"4|2020/01/04|G|H|2:2|4"_s),
                           record(st.recordMostGoals, u"5|2020/01/01|A|B|3:0|3"_s),
                           record(st.recordHighestAttendance, u"1|2020/01/01|A|B|3:0|500"_s),
                           record(st.recordHighestAttendance, u"1|2020/01/02|C|D|4:1|500"_s),
                           record(st.recordHighestAttendance, u"3|2020/01/04|G|H|2:2|100"_s),
                           record(st.recordLowestAttendance, u"1|2020/01/04|G|H|2:2|100"_s),
                           record(st.recordLowestAttendance, u"2|2020/01/01|A|B|3:0|500"_s),
                           record(st.recordLowestAttendance, u"2|2020/01/02|C|D|4:1|500"_s)};

        // Names with two IDs: team and name make the key; rows show the first and the latest other
        // ID and have empty links; the consider-ID flag plays no part.
        const auto petrov = [](int day, const QString &team, const QString &id) {
            return onDay(day, team + u"|X"_s, {}, {u"Petrov#"_s + id});
        };
        QTest::newRow("two IDs, third ID is the second shown")
            << QList<Match>{petrov(1, u"A"_s, u"5"_s), petrov(2, u"A"_s, u"6"_s),
                            petrov(3, u"A"_s, u"7"_s), petrov(4, u"A"_s, u"5"_s)}
            << Page{verifyPlayers2} << QStringList{u"Petrov|A|5|7|"_s};
        QTest::newRow("two IDs, different teams are different players")
            << QList<Match>{petrov(1, u"A"_s, u"5"_s), petrov(2, u"B"_s, u"6"_s)}
            << Page{verifyPlayers2} << QStringList{};
        QTest::newRow("two IDs, no ID then an ID, and an ID then none")
            << QList<Match>{onDay(1, u"A|X"_s, {}, {u"Petrov#"_s, u"Ivanov#5"_s}),
                            onDay(2, u"A|X"_s, {}, {u"Petrov#5"_s, u"Ivanov#"_s})}
            << Page{verifyPlayers2, {}, true} << QStringList{u"Ivanov|A|5||"_s, u"Petrov|A||5|"_s};
        QTest::newRow("two IDs, the same ID in line-up and events")
            << QList<Match>{onDay(1, u"A|X"_s, {u"G|Petrov|A|5"_s, u"S|Ivanov|A||Sidorov||9"_s},
                                  {u"Petrov#5"_s}),
                            petrov(2, u"A"_s, u"5"_s)}
            << Page{verifyPlayers2} << QStringList{};
        // Every event is a sighting of its player, whatever its kind; a substitution also of the
        // player coming on, under the event's own team.
        QTest::newRow("two IDs, events and incoming players are sightings")
            << QList<Match>{onDay(1, u"A|B"_s,
                                  {u"Травма|Petrov|A|55"_s, u"S|Ivanov|B||Sidorov||9"_s},
                                  {u"Petrov#5"_s}, {u"Sidorov#8"_s})}
            << Page{verifyPlayers2} << QStringList{u"Petrov|A|5|55|"_s, u"Sidorov|B|8|9|"_s};

        QTest::newRow("form of the last two") << fourTeams() << Page{formTable, u"2"_s}
                                              << QStringList{u"1|B|2|2|0|0|4|0|+4|6|В В|ta02_B"_s,
                                                             u"2|C|2|1|0|1|1|1|0|3|В П|ta02_C"_s,
                                                             u"3|A|2|0|1|1|2|3|-1|1|П Н|ta02_A"_s,
                                                             u"4|D|2|0|1|1|2|5|-3|1|П Н|ta02_D"_s};
        QTest::newRow("form of five when there are three")
            << fourTeams() << Page{formTable}
            << QStringList{u"1|B|3|2|0|1|4|2|+2|6|П В В"_s, u"2|A|3|1|1|1|4|3|+1|4|В П Н"_s,
                           u"3|C|3|1|1|1|2|2|0|4|Н В П"_s, u"4|D|3|0|2|1|3|6|-3|2|Н П Н"_s};
        QTest::newRow("season race")
            << fourTeams() << Page{calculateSeasonRace}
            << QStringList{u"B|1|2020/01/01|A|г|0:2|0|4"_s, u"B|2|2020/01/02|D|д|3:0|3|2"_s,
                           u"B|3|2020/01/03|C|д|1:0|6|1"_s, u"A|1|2020/01/01|B|д|2:0|3|1"_s,
                           u"A|2|2020/01/02|C|д|0:1|3|3"_s, u"A|3|2020/01/03|D|г|2:2|4|2"_s,
                           u"C|1|2020/01/01|D|д|1:1|1|2"_s, u"C|2|2020/01/02|A|г|1:0|4|1"_s,
                           u"C|3|2020/01/03|B|г|0:1|4|3"_s, u"D|1|2020/01/01|C|г|1:1|1|3"_s,
                           u"D|2|2020/01/02|B|г|0:3|1|4"_s, u"D|3|2020/01/03|A|д|2:2|2|4"_s};
        QTest::newRow("goals per match day")
            << fourTeams() << Page{calculateSeasonGoals}
            << QStringList{u"2020/01/01|2|4|2.00|2.00"_s, u"2020/01/02|2|4|2.00|2.00"_s,
                           u"2020/01/03|2|5|2.50|2.17"_s};

        // A and B: met on day 1 (imported twice), day 4, and day 5 without a score; A also met C.
        const QList<Match> meetings{
            onDay(1, u"A|B|2|0"_s), game(1, u"A|B|2|0"_s, u"fileName=again"_s),
            onDay(2, u"A|C|3|0"_s), onDay(4, u"B|A|1|1"_s), onDay(5, u"B|A"_s)};
        QTest::newRow("head-to-head")
            << meetings << Page{headToHead, u"A\tB"_s}
            << QStringList{u"|A|||2|1|1|0|3|1|4|ta02_A"_s, u"|B|||2|0|1|1|1|3|1|ta02_B"_s,
                           u"2020/01/01|A|B|2:0||||||||xm01_again"_s,
                           u"2020/01/04|B|A|1:1||||||||xm01_m4.xml"_s,
                           u"2020/01/05|B|A|:||||||||xm01_m5.xml"_s};
        QTest::newRow("head-to-head of teams that never met")
            << meetings << Page{headToHead, u"B\tC"_s}
            << QStringList{u"|B|||0|0|0|0|0|0|0"_s, u"|C|||0|0|0|0|0|0|0"_s};

        // Same day and teams in either order, whatever the score; another day or opponent is
        // another match.
        const QList<Match> twice{game(1, u"A|B|2|0"_s, u"fileName=a;tournament=L"_s),
                                 onDay(1, u"C|D|1|1"_s),
                                 game(1, u"B|A|0|2"_s, u"fileName=b;tournament=L"_s),
                                 onDay(1, u"A|C|2|0"_s),
                                 onDay(2, u"A|B|2|0"_s),
                                 game(2, u"D|C|1|1"_s, u"fileName=y"_s),
                                 game(1, u"A|B"_s, u"fileName=c"_s),
                                 game(2, u"C|D|1|1"_s, u"fileName=z"_s),
                                 makeMatch(u"undated"_s, {}, u"A"_s, u"B"_s)};
        QTest::newRow("duplicates")
            << twice << Page{findDuplicates}
            << QStringList{u"1|2020/01/01|A|B|2:0|L|a|xm01_a"_s,
                           u"1|2020/01/01|B|A|0:2|L|b|xm01_b"_s, u"1|2020/01/01|A|B|:||c|xm01_c"_s,
                           u"2|2020/01/02|D|C|1:1||y|xm01_y"_s,
                           u"2|2020/01/02|C|D|1:1||z|xm01_z"_s};
    }

    void pages()
    {
        QFETCH(QList<Match>, matches);
        QFETCH(Page, page);
        QFETCH(QStringList, lines);

        // A row may give only its first cells; the rest of every row is then not compared.
        const int columns = lines.isEmpty() ? -1 : int(lines.first().count(u'|')) + 1;
        const TableData table = runBuilder(makeStore(matches), page.builder, page.argument,
                                           page.considerId, everything(), page.menuChoice);
        QCOMPARE(trimmedLines(table, columns), lines);

        // Chosen by a round that every match is of, the page stays as it is.
        QList<Match> ofRound = matches;
        for (Match &m : ofRound)
            m.edit().round = u"1/8"_s;
        MatchFilter round = everything();
        round.round = u"1/8"_s;
        QCOMPARE(trimmedLines(runBuilder(makeStore(ofRound), page.builder, page.argument,
                                         page.considerId, round, page.menuChoice),
                              columns),
                 lines);
    }

    // Counts fill four characters so that sorting their texts orders the rows; longer numbers are
    // written whole. Two stadiums of one name in two cities are two rows leading to one list. The
    // referees page offers the penalty matches in its menu.
    void paddingAndMenu()
    {
        const QList<Match> matches{
            game(1, u"A|B"_s, u"stadium=Центральный;city=Казань;attendance=7"_s),
            game(2, u"A|B"_s, u"stadium=Центральный;city=Омск;attendance=12345"_s)};
        QCOMPARE(tableLines(runBuilder(makeStore(matches), calculateStadiums)),
                 (QStringList{u"Центральный|Казань|   1|   7|   7|   7|st02_Центральный"_s,
                              u"Центральный|Омск|   1|12345|12345|12345|st02_Центральный"_s}));

        const Texts &t = texts();
        const TableData referees = runBuilder(makeStore(onDays({u"A|B"_s})), calculateReferees);
        QCOMPARE(referees.menuLabels(), (QStringList{t.menuAllMatches, t.menuPenaltyMatches}));
        QCOMPARE(referees.menuCodes(), (QStringList{QString(), u"pen"_s}));

        // The players page names the reports whose minutes it could not read, and offers the
        // career, which follows the row's link: by name, or by ID.
        const TableData players = runBuilder(
            makeStore({onDay(1, u"A|B"_s, {u"S|X|A||Y"_s}, {u"X"_s}),
                       onDay(2, u"A|B"_s, {u"R|X|A"_s}), onDay(3, u"A|B"_s, {u"G|X|A"_s})}),
            calculatePlayers);
        QCOMPARE(players.footnote(), statTexts().minutesUnusable.arg(2));
        QCOMPARE(players.menuCodes(), (QStringList{QString(), QString(PageCode::Career)}));
        QCOMPARE(careerLink(u"pl02_X"_s), u"pc01_X"_s);
        QCOMPARE(careerLink(u"go03_7"_s), u"pc02_7"_s);
        QVERIFY(runBuilder(makeStore({onDay(1, u"A|B"_s, {}, {u"X"_s})}), calculatePlayers)
                    .footnote()
                    .isEmpty());
    }

    void runs_data()
    {
        QTest::addColumn<QString>("team");
        QTest::addColumn<QStringList>("runs"); // kind|length|from|till|going|going from, in order

        // A: won, drew, won, won (a draw breaks the wins, not the unbeaten run); F played once,
        // 0:0. Matches are given out of date order: the runs follow the dates.
        const QString a1 = u"2020/01/01, B"_s, a2 = u"2020/01/02, C"_s, a3 = u"2020/01/03, D"_s,
                      a4 = u"2020/01/04, E"_s, f = u"2020/01/05, G"_s;
        const StatTexts &st = statTexts();
        const auto run = [](const QString &kind, int length, const QString &from,
                            const QString &till, int going, const QString &goingFrom) {
            return QStringList{kind, QString::number(length), from,
                               till, QString::number(going),  goingFrom}
                .join(u'|');
        };
        QTest::newRow("wins broken by a draw, still going")
            << u"A"_s
            << QStringList{
                   run(st.runWins, 2, a3, a4, 2, a3),    run(st.runUnbeaten, 4, a1, a4, 4, a1),
                   run(st.runWinless, 1, a2, a2, 0, {}), run(st.runDefeats, 0, {}, {}, 0, {}),
                   run(st.runScoring, 4, a1, a4, 4, a1), run(st.runCleanSheets, 1, a1, a1, 0, {})};
        QTest::newRow("a team with one match")
            << u"F"_s
            << QStringList{
                   run(st.runWins, 0, {}, {}, 0, {}),    run(st.runUnbeaten, 1, f, f, 1, f),
                   run(st.runWinless, 1, f, f, 1, f),    run(st.runDefeats, 0, {}, {}, 0, {}),
                   run(st.runScoring, 0, {}, {}, 0, {}), run(st.runCleanSheets, 1, f, f, 1, f)};
    }

    void runs()
    {
        QFETCH(QString, team);
        QFETCH(QStringList, runs);

        QList<Match> matches{onDay(4, u"A|E|3|1"_s), onDay(1, u"A|B|2|0"_s), onDay(2, u"C|A|1|1"_s),
                             onDay(3, u"A|D|1|0"_s), onDay(5, u"F|G|0|0"_s), onDay(6, u"H|I"_s)};
        QStringList found;
        for (const QString &line : trimmedLines(runBuilder(makeStore(matches), calculateRuns))) {
            QStringList cells = line.split(u'|');
            if (cells.first() == team)
                found.append(cells.mid(1, 6).join(u'|'));
            // A match without a score is in no run: H and I have no rows.
            QVERIFY(cells.first() != u"H"_s);
        }
        QCOMPARE(found, runs);
    }

    void upToRound_data()
    {
        QTest::addColumn<QString>("round");
        QTest::addColumn<bool>("upTo");
        QTest::addColumn<QStringList>("dates");

        // Round 2 was played first, then round 1, then round 3; a late match of round 1 follows.
        QTest::newRow("exactly round 1")
            << u"1"_s << false << QStringList{u"2020/01/02"_s, u"2020/01/04"_s};
        QTest::newRow("up to round 1: round 2 was played before it")
            << u"1"_s << true << QStringList{u"2020/01/01"_s, u"2020/01/02"_s, u"2020/01/04"_s};
        QTest::newRow("up to the first round played")
            << u"2"_s << true << QStringList{u"2020/01/01"_s};
    }

    void upToRound()
    {
        QFETCH(QString, round);
        QFETCH(bool, upTo);

        // The other tournament's round 3, played first of all, orders nothing here.
        const QList<Match> matches{
            game(4, u"A|D"_s, u"round=1;tournament=L"_s),
            game(3, u"A|C"_s, u"round=3;tournament=L"_s),
            game(1, u"A|B"_s, u"round=2;tournament=L"_s),
            game(2, u"C|D"_s, u"round=1;tournament=L"_s),
            withFields(makeMatch(u"o.xml"_s, u"2019-12-01"_s, u"X"_s, u"Y"_s),
                       u"round=3;tournament=O"_s)};
        MatchFilter filter = everything();
        filter.tournament = u"L"_s;
        filter.round = round;
        filter.upToRound = upTo;
        QStringList found;
        for (const QString &line :
             trimmedLines(runBuilder(makeStore(matches), calculateMatches, {}, false, filter)))
            found.append(line.section(u'|', 0, 0));
        QTEST(found, "dates");
        QCOMPARE(pageCaption(QString(PageCode::Matches), filter, {}, {})
                     .contains(statTexts().captionUpToRound.arg(round)),
                 upTo);
    }

    void matchLists_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("files"); // the matches listed, in order

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
        QTest::newRow("own goal or missed penalty only") << u"go02_P5"_s << QString();
    }

    void matchLists()
    {
        QFETCH(QString, link);

        // Two matches on day 1 (A-B and C-D), one on day 5 (B-C), stored out of date order.
        const MatchStore store =
            makeStore({withFields(onDay(5, u"B|C|2|2"_s, {u"P|P1|B"_s, u"O|P5|C"_s, u"M|P5|C"_s}),
                                  u"fileName=late;stadium=S2;city=Town;coach1=K2"_s),
                       withFields(onDay(1, u"A|B|1|0"_s,
                                        {u"G|P1|A"_s, u"S|P2|B||P3"_s, u"C|P4|B||P7"_s, u"G|P1"_s},
                                        {u"P1"_s}, {u"P2"_s}),
                                  u"fileName=early;stadium=S1;city=City;referee=R1;coach2=K2"_s),
                       game(1, u"C|D|3|4"_s, u"fileName=other;stadium=S1;referee=R1"_s)});

        // Sorted by date; matches of one day keep their store order.
        QStringList rows = tableLines(runLink(store, link));
        QTEST(rows.replaceInStrings(QRegularExpression(u".*xm01_"_s), {}).join(u' '), "files");

        QCOMPARE(tableLines(runLink(store, u"go02_P1"_s)),
                 (QStringList{u"2020/01/01|City|A|B|1:0|2|xm01_early"_s,
                              u"2020/01/05|Town|B|C|2:2|1|xm01_late"_s}));
    }

    void sameDateAndTeamsShareARow()
    {
        // The same match imported twice: the overview lists both, a drill-down list one row that
        // carries the later file's texts and goal count. Reversed teams or another day: other rows.
        const MatchStore store = makeStore(
            {withFields(onDay(1, u"A|B|1|0"_s, {u"G|P1"_s, u"G|P1"_s}), u"fileName=first"_s),
             game(1, u"B|A"_s, u"fileName=rev"_s),
             withFields(onDay(1, u"A|B|2|0"_s, {u"G|P1"_s}), u"fileName=again"_s),
             game(2, u"A|B"_s, u"fileName=next"_s)});

        QCOMPARE(runLink(store, u"ma01_"_s).rowCount(), 4);
        QCOMPARE(trimmedLines(runLink(store, u"ta02_A"_s)),
                 (QStringList{u"2020/01/01||A|B|2:0|xm01_again"_s, u"2020/01/01||B|A|:|xm01_rev"_s,
                              u"2020/01/02||A|B|:|xm01_next"_s}));
        QCOMPARE(tableLines(runLink(store, u"go02_P1"_s)),
                 QStringList{u"2020/01/01||A|B|2:0|1|xm01_again"_s});
    }

    void reportOfAFullMatch()
    {
        QCOMPARE(matchReportHtml(*sampleMatch()),
                 u"<h1 align='center'>League</h1><h2 align='center'>Тур: 5</h2>"
                 "<h2 align='center'>Home - Away - 2:1</h2>"
                 "<p>Town. Arena. 1000 зрителей<br><b>Судья:</b> Ref (Ref Town)<br>"
                 "воскресенье, 1 марта 2009 г. 19:00</p>"
                 "<table border='0' width='100%'><tr><td>H1<br>H2</td><td>A1</td></tr>"
                 "<tr><td><b>Тренер:</b> Coach H</td><td><b>Тренер:</b> Coach A</td></tr></table>"
                 "<table border='0' width='100%'>"
                 "<tr><td>10'</td><td><img src=':/icon/images/goal.png'> Гол</td><td>Home</td>"
                 "<td>H1</td></tr>"
                 "<tr><td>46'</td><td><img src=':/icon/images/subs.png'> Замена</td><td>Away</td>"
                 "<td>A1 - A2</td></tr></table>"_s);
    }

    void reportOddMatches_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("fields");   // extra time and shoot-out
        QTest::addColumn<bool>("fullScore");   // as the window shows it
        QTest::addColumn<QString>("expected"); // a piece the document must contain

        QTest::newRow("three-character round")
            << QString() << u"round=1/8"_s << false << u"<h2 align='center'>Тур: 1/8</h2>"_s;
        QTest::newRow("four-character round")
            << QString() << u"round=1/16"_s << false << u"<h2 align='center'>1/16</h2>"_s;
        QTest::newRow("unknown kind, two players")
            << u"Драка|P|T||Q|5"_s << QString() << false
            << u"<tr><td>5'</td><td>Драка</td><td>T</td><td>P - Q</td></tr></table>"_s;
        const QString both = u"extra1=1;extra2=1;penalties1=4;penalties2=2"_s;
        QTest::newRow("extra time and shoot-out")
            << QString() << both << true << u"Home - Away - 2:1 (д.в. 1:1, пен. 4:2)</h2>"_s;
        QTest::newRow("extra time alone")
            << QString() << u"extra1=0;extra2=1;penalties1=;penalties2="_s << true
            << u"2:1 (д.в. 0:1)</h2>"_s;
        QTest::newRow("shoot-out alone")
            << QString() << u"penalties1=5;penalties2=4;extra1=;extra2="_s << true
            << u"2:1 (пен. 5:4)</h2>"_s;
        QTest::newRow("nothing beyond the score")
            << QString() << u"extra1=;extra2=;penalties1=;penalties2="_s << true
            << u"Home - Away - 2:1</h2>"_s;
        QTest::newRow("command line: the plain score")
            << QString() << both << false << u"Home - Away - 2:1</h2>"_s;
        // An empty field takes its words and punctuation along; an empty line goes altogether.
        QTest::newRow("no attendance") << QString() << u"attendance="_s << false
                                       << u"<p>Town. Arena.<br><b>Судья:</b> Ref (Ref Town)<br>"_s;
        QTest::newRow("no stadium")
            << QString() << u"stadium="_s << false << u"<p>Town. 1000 зрителей<br>"_s;
        QTest::newRow("no stadium or attendance")
            << QString() << u"stadium=;attendance="_s << false << u"<p>Town.<br><b>"_s;
        QTest::newRow("referee without a city")
            << QString() << u"refereeCity="_s << false << u"<b>Судья:</b> Ref<br>воскресенье"_s;
        QTest::newRow("no referee") << QString() << u"referee=;refereeCity=Ref Town"_s << false
                                    << u"1000 зрителей<br>воскресенье, 1 марта 2009 г. 19:00</p>"_s;
        QTest::newRow("no time") << QString() << u"time="_s << false
                                 << u"(Ref Town)<br>воскресенье, 1 марта 2009 г.</p><table"_s;
        QTest::newRow("nothing of the place")
            << QString() << u"city=;stadium=;attendance=;referee=;refereeCity=;time="_s << false
            << u"2:1</h2><p>воскресенье, 1 марта 2009 г.</p><table"_s;
    }

    void reportOddMatches()
    {
        QFETCH(QString, event);
        QFETCH(QString, fields);
        QFETCH(bool, fullScore);
        QFETCH(QString, expected);

        Match match = fields.isEmpty() ? sampleMatch() : withFields(sampleMatch(), fields);
        match.edit().events = makeEvents({event});
        const QString html =
            matchReportHtml(*match, fullScore ? ReportScore::Full : ReportScore::Plain);
        QVERIFY2(html.contains(expected), qPrintable(html));
    }

    void reportValuesAreEscaped()
    {
        // Without a city the paragraph starts with the stadium.
        Match match = withFields(sampleMatch(),
                                 u"city=;tournament=</h1><script>;referee=R & \"Co\";time=%1 %2"_s);
        match.edit().team1 = u"A<b>"_s;
        match.edit().players1 = lineup({u"<i>H1"_s});
        match.edit().events = makeEvents({u"<u>|P<br>|<td>|||9"_s, u"S|Out<s>|A||In<q>"_s});
        const QString html = matchReportHtml(*match);

        for (const QString &piece :
             {u"<h1 align='center'>&lt;/h1&gt;&lt;script&gt;</h1>"_s, u"A&lt;b&gt; - Away"_s,
              u"<p>Arena. 1000"_s, u"R &amp; &quot;Co&quot; (Ref Town)"_s,
              u"<tr><td>&lt;i&gt;H1</td>"_s, u"2009 г. %1 %2</p>"_s,
              u"<td>&lt;u&gt;</td><td>&lt;td&gt;</td><td>P&lt;br&gt;</td>"_s})
            QVERIFY2(html.contains(piece), qPrintable(piece));
        QCOMPARE(html.count(u"<b>"_s), 3); // only the document's own bold labels
        QVERIFY(html.contains(u"In&lt;q&gt;"_s) && !html.contains(u"<q>"_s) &&
                !html.contains(u"<s>"_s));
    }

    void captions_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("tournament"); // empty: every tournament
        QTest::addColumn<QString>("round");      // empty: every round
        QTest::addColumn<bool>("considerId");
        QTest::addColumn<QString>("extra"); // the search text, or the rules' name for the standings
        QTest::addColumn<QString>("caption");
        const QString span = u"01.03.2024–30.10.2024"_s;
        QTest::newRow("standings under their own rules")
            << u"ta01_"_s << u"Высшая лига"_s << QString() << false << u"2-1-0 (до 1995)"_s
            << u"Турнирная таблица — Высшая лига, 01.03.2024–30.10.2024 (правила: 2-1-0 (до 1995))"_s;
        QTest::newRow("a team's matches")
            << u"ta02_Спартак"_s << QString() << QString() << false << QString()
            << u"Матчи команды «Спартак» — все турниры, "_s + span;
        QTest::newRow("person search")
            << u"fpl1_"_s << QString() << QString() << false << u"Кирил"_s
            << u"Игроки: поиск «Кирил» — все турниры, "_s + span;
        QTest::newRow("one round") << u"ma01_"_s << u"Кубок"_s << u"1/8"_s << true << QString()
                                   << u"Список матчей — Кубок, тур 1/8, "_s + span;
        QTest::newRow("scorer chosen by ID, namesakes apart")
            << u"go03_5"_s << QString() << QString() << true << QString()
            << u"Голы игрока «ID 5» — все турниры, "_s + span +
                   u" (однофамильцы отдельно: «Учитывать ID» включено)"_s;
        QTest::newRow("players, namesakes apart")
            << u"pl01_"_s << QString() << QString() << true << QString()
            << u"Статистика по игрокам — все турниры, "_s + span +
                   u" (однофамильцы отдельно: «Учитывать ID» включено)"_s;
        QTest::newRow("players as before without IDs")
            << u"pl01_"_s << QString() << QString() << false << QString()
            << u"Статистика по игрокам — все турниры, "_s + span;
        QTest::newRow("scorer merging namesakes")
            << u"go02_Иванов"_s << QString() << QString() << false << QString()
            << u"Голы игрока «Иванов» — все турниры, "_s + span +
                   u" (однофамильцы вместе: «Учитывать ID» выключено)"_s;
        QTest::newRow("head-to-head")
            << u"hh01_A\tB"_s << QString() << QString() << false << QString()
            << u"Личные встречи: «A» и «B» — все турниры, "_s + span;
        QTest::newRow("unknown code")
            << u"zz99_"_s << QString() << QString() << false << QString() << QString();
    }

    void captions()
    {
        QFETCH(QString, link);
        QFETCH(QString, tournament);
        QFETCH(QString, round);
        QFETCH(bool, considerId);
        QFETCH(QString, extra);
        QFETCH(QString, caption);
        MatchFilter filter;
        filter.tournament = tournament.isEmpty() ? texts().allTournaments : tournament;
        filter.round = round.isEmpty() ? texts().allRounds : round;
        filter.from = QDate(2024, 3, 1);
        filter.till = QDate(2024, 10, 30);
        filter.considerId = considerId;
        const bool standings = link.startsWith(u"ta01_"_s);
        QCOMPARE(
            pageCaption(link, filter, standings ? QString() : extra, standings ? extra : QString()),
            caption);
    }

    void alignedText_data()
    {
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QString>("text");

        QTest::newRow("two columns") << QStringList{u"Игрок"_s, u"Команда"_s} << QList<int>{60, 90}
                                     << QList<QStringList>{{u"A"_s, u"BB"_s}}
                                     << u"---------------------------\n"
                                        "|    Игрок |      Команда | \n"
                                        "---------------------------\n"
                                        "|        A |           BB | \n"
                                        "---------------------------\n"_s;
        QTest::newRow("no rows") << QStringList{u"Игрок"_s} << QList<int>{60}
                                 << QList<QStringList>()
                                 << u"------------\n|    Игрок | \n------------\n------------\n"_s;
        // Headers are cut to their column and lose their line feeds; cells are never cut.
        QTest::newRow("long header, long cell")
            << QStringList{u"Пен(не\nзаб)"_s, u"X"_s} << QList<int>{49, 14}
            << QList<QStringList>{{u"123456789"_s, u"y"_s}}
            << u"----------------\n"
               "| Пен(нез |  X | \n"
               "----------------\n"
               "| 123456789 |  y | \n"
               "----------------\n"_s;
    }

    void alignedText()
    {
        QFETCH(QStringList, headers);
        QFETCH(QList<int>, widths);
        QFETCH(QList<QStringList>, rows);
        QFETCH(QString, text);

        QCOMPARE(exportText(TableSnapshot{headers, widths, rows}), text);
        QCOMPARE(written(TextLayout::Aligned, false,
                         [&](ResultTable &to) { fillInOrder(to, headers, widths, rows); }),
                 text);
    }

    void csvAndTsv_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QString>("tsv");

        QTest::newRow("no rows") << QList<QStringList>() << u"H1,H2\r\n"_s << u"H1\tH2\n"_s;
        QTest::newRow("separators and quotes")
            << QList<QStringList>{{u"a,b"_s, u"say \"hi\""_s}, {u"line\nfeed"_s, u"cr\rx"_s}}
            << u"H1,H2\r\n\"a,b\",\"say \"\"hi\"\"\"\r\n\"line\nfeed\",\"cr\rx\"\r\n"_s
            << u"H1\tH2\na,b\tsay \"hi\"\nline\\nfeed\tcr\\rx\n"_s;
        QTest::newRow("beyond the basic plane") << QList<QStringList>{{u"a😀"_s, u"я"_s}}
                                                << u"H1,H2\r\na😀,я\r\n"_s << u"H1\tH2\na😀\tя\n"_s;
        QTest::newRow("tab and backslash")
            << QList<QStringList>{{u"a\tb"_s, u"C:\\x"_s}} << u"H1,H2\r\na\tb,C:\\x\r\n"_s
            << u"H1\tH2\na\\tb\tC:\\\\x\n"_s;
        // What a spreadsheet would run is made text in CSV; numbers with a sign stay numbers; TSV
        // stays exact.
        QTest::newRow("formula cells")
            << QList<QStringList>{{u"=cmd|' /C calc'!A0"_s, u"+1+1"_s},
                                  {u"-2+3"_s, u"@SUM(A1)"_s},
                                  {u"\tx"_s, u"\r=1"_s},
                                  {u"-3"_s, u"+1.5"_s},
                                  {u"-"_s, u"a=b"_s},
                                  {u"-1,5"_s, u"-1."_s}}
            << u"H1,H2\r\n'=cmd|' /C calc'!A0,'+1+1\r\n'-2+3,'@SUM(A1)\r\n'\tx,\"'\r=1\"\r\n"
               "-3,+1.5\r\n'-,a=b\r\n\"-1,5\",'-1.\r\n"_s
            << u"H1\tH2\n=cmd|' /C calc'!A0\t+1+1\n-2+3\t@SUM(A1)\n\\tx\t\\r=1\n-3\t+1.5\n-\ta=b\n"
               "-1,5\t-1.\n"_s;
    }

    void csvAndTsv()
    {
        QFETCH(QList<QStringList>, rows);
        QFETCH(QString, csv);
        QFETCH(QString, tsv);

        const TableSnapshot table{{u"H1"_s, u"H2"_s}, {60, 60}, rows};
        QCOMPARE(exportCsv(table), csv);
        QCOMPARE(exportTsv(table), tsv);
        const auto fill = [&](ResultTable &to) {
            fillInOrder(to, table.headers, table.widths, rows);
        };
        QCOMPARE(written(TextLayout::Csv, false, fill), csv);
        QCOMPARE(written(TextLayout::Tsv, false, fill), tsv);
    }

    // A long table filled stretch by stretch, perhaps on several threads at once, is written
    // byte for byte as the table kept whole: every row once and in order, the rows a fill leaves
    // unset (the first, the last, some at random) empty, cells set ahead of their turn in place.
    void rowsFilledInStretches_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<bool>("links");

        QTest::newRow("tsv") << int(TextLayout::Tsv) << false;
        QTest::newRow("csv, links") << int(TextLayout::Csv) << true;
        QTest::newRow("aligned") << int(TextLayout::Aligned) << false;
        QTest::newRow("aligned, links (kept whole)") << int(TextLayout::Aligned) << true;
    }

    void rowsFilledInStretches()
    {
        QFETCH(int, layout);
        QFETCH(bool, links);

        constexpr int count = 70001;
        const auto fillAll = [](ResultTable &to) {
            to.prepareTable({u"Номер"_s, u"Команда"_s}, 60, count);
            to.setColumnWidth(1, 100);
            to.rowsInOrder();
            to.fillRows(count, [](ResultTable &part, int begin, int end) {
                for (int r = begin; r < end; ++r) {
                    if (r % 997 == 0 || r == count - 1)
                        continue;
                    part.setCell(r, 2, u"ln"_s + QString::number(r));
                    part.setCell(r, 1, r % 3 ? u"Ракета"_s : u"a,b\tc"_s);
                    part.setCell(r, 0, QString::number(r));
                }
            });
        };
        TableData kept;
        fillAll(kept);
        const TableSnapshot snapshot = snapshotOf(kept, links);
        const QString whole = layout == int(TextLayout::Tsv)   ? exportTsv(snapshot)
                              : layout == int(TextLayout::Csv) ? exportCsv(snapshot)
                                                               : exportText(snapshot);
        QCOMPARE(written(TextLayout(layout), links, fillAll), whole);
    }

    // Pages long enough that the command line makes their rows on every core, a stretch at a
    // time, each stretch starting mid-team or mid-day: the text is still the export of the table
    // the window shows (runBuilder compares them).
    void longPagesWrittenInStretches_data()
    {
        QTest::addColumn<Page>("page");

        QTest::newRow("season race") << Page{calculateSeasonRace};
        QTest::newRow("all matches") << Page{calculateMatches};
        QTest::newRow("line-up check") << Page{verifyPlayers};
    }

    void longPagesWrittenInStretches()
    {
        QFETCH(Page, page);

        // 33,000 matches of 60 teams over 900 days, not in date order; some pairs meet twice a
        // day, which the line-up check shows once.
        static const MatchStore store = [] {
            QList<Match> matches;
            quint32 state = 11;
            const auto next = [&state](quint32 n) {
                state = state * 1103515245u + 12345u;
                return (state >> 16) % n;
            };
            for (int i = 0; i < 33000; ++i) {
                const quint32 a = next(60), b = (a + 1 + next(59)) % 60;
                matches.append(makeMatch(u"m%1.xml"_s.arg(i),
                                         QDate(2015, 7, 1).addDays(next(900)).toString(Qt::ISODate),
                                         u"К%1"_s.arg(a), u"К%1"_s.arg(b), QString::number(next(5)),
                                         QString::number(next(4))));
            }
            return makeStore(matches);
        }();
        const TableData table = runBuilder(store, page.builder);
        QVERIFY(table.rowCount() >= 32768);
    }

    void reportChecks_data()
    {
        QTest::addColumn<Match>("match");
        QTest::addColumn<QStringList>("problems");

        const QStringList none;
        // Ракета 2:1: a goal, an own goal of a Звезда player in added time, Звезда's goal in the
        // 93rd minute; a substitution of a substitute; a booking after a sending-off's minute of
        // the other side.
        QTest::newRow("a sound report")
            << report(u"2:1"_s,
                      {u"G|Р9|Ракета|||23"_s, u"O|З4|Звезда|||45+1"_s, u"S|Р7|Ракета||Р12|60"_s,
                       u"S|Р12|Ракета||Р13|85"_s, u"R|З5|Звезда|||70"_s, u"C|Р3|Ракета|||80"_s,
                       u"G|З10|Звезда|||90+3"_s})
            << none;
        QTest::newRow("own goal under the scorer's team counts for the other")
            << report(u"2:1"_s,
                      {u"G|Р9|Ракета|||23"_s, u"O|Р4|Ракета|||50"_s, u"P|Р10|Ракета|||88"_s})
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
            << report(u"0:0"_s, {u"S|Р15|Ракета||Р12|50"_s, u"S|Р7|Ракета||Р13|60"_s,
                                 u"S|Р7|Ракета||Р14|70"_s, u"Y|З2|Звезда|||30"_s,
                                 u"S|З2|Звезда||З12|75"_s, u"S|З3|Звезда||З1|80"_s})
            << QStringList{
                   u"замена на 50': Р15 («Ракета») уходит, но его нет в стартовом составе"_s,
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
            << QStringList{
                   u"событие «Предупреждение»: минута «45'» не число"_s,
                   u"событие «Предупреждение»: минута «» не число"_s,
                   u"событие «Предупреждение» на 10' у команды «Звезда-2», которая не играла "
                   "в матче"_s};
    }

    void reportChecks()
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

    // The chart's goals of each day come with the race; the goals page counts them on their own.
    void raceDaysAreTheGoalsPage()
    {
        const MatchStore store = makeStore(fourTeams());
        QStringList days;
        for (const GoalsDay &d : seasonRace(store, everything(), CompetitionRules()).days)
            days << u"%1|%2|%3|%4|%5"_s.arg(d.date.toString(u"yyyy/MM/dd"_s))
                        .arg(d.matches)
                        .arg(d.goals)
                        .arg(d.average, 0, 'f', 2)
                        .arg(d.running, 0, 'f', 2);
        QCOMPARE(days, trimmedLines(runBuilder(store, calculateSeasonGoals), 5));
    }

    void roundsInOrderOfPlay()
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

    void seasons_data()
    {
        QTest::addColumn<QStringList>("starts"); // "yyyy-MM-dd" or "yyyy-MM-dd+PAUSE"
        // "again": the first match reported again three days later (or "+N" days); "cup": its teams
        // meet in a cup ten weeks later; "promoted": a new team's match opens the last season, two
        // days before its first.
        QTest::addColumn<QString>("extra");
        QTest::addColumn<QString>("seasons");
        QTest::newRow("one season")
            << QStringList{u"2020-08-01"_s} << QString() << u"2020 08.08.2020–12.09.2020"_s;
        // A pairing met again opens a season, after the summer pause, not the longer winter one.
        QTest::newRow("winter break longer than summer")
            << QStringList{u"2020-08-01+200"_s, u"2021-08-01+200"_s} << QString()
            << u"2020/21 08.08.2020–24.03.2021;2021/22 08.08.2021–24.03.2022"_s;
        QTest::newRow("spring to autumn")
            << QStringList{u"2020-03-01"_s, u"2021-03-01"_s} << QString()
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

    void seasons()
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

    void tableSortsStablyByCodeUnits_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("expected");

        // Upper-case Latin before lower-case, Latin before Cyrillic; "10" before "9" as text.
        QTest::newRow("code units")
            << QStringList{u"b"_s, u"B"_s, u"Я"_s, u"a"_s, u"A"_s} << int(Qt::AscendingOrder)
            << QStringList{u"A"_s, u"B"_s, u"a"_s, u"b"_s, u"Я"_s};
        QTest::newRow("text order of numbers")
            << QStringList{u"9"_s, u"10"_s, u"   7"_s, u"  12"_s} << int(Qt::AscendingOrder)
            << QStringList{u"   7"_s, u"  12"_s, u"10"_s, u"9"_s};
        QTest::newRow("descending")
            << QStringList{u"1"_s, u"3"_s, u"2"_s} << int(Qt::DescendingOrder)
            << QStringList{u"3"_s, u"2"_s, u"1"_s};
    }

    void tableSortsStablyByCodeUnits()
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
        QCOMPARE(links, order == Qt::AscendingOrder
                            ? QStringList({u"1"_s, u"3"_s, u"0"_s, u"2"_s})
                            : QStringList({u"0"_s, u"2"_s, u"1"_s, u"3"_s}));
    }

    void rowsKeepCreationOrderAndUniqueKeys()
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

    void runnerProgressAndEmit()
    {
        MatchStore store;
        for (int i = 0; i < 2500; ++i)
            store.add(makeMatch(QString::number(i),
                                u"2009-01-%1"_s.arg(1 + i % 10, 2, 10, QChar(u'0')), {}, {}));
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

    void runnerOnEmptyStoreDoesNotEmit()
    {
        MatchStore store;
        TableData table;
        table.prepareTable({u"kept"_s}, 60, 1);
        const PageRun run = runPage(store, MatchFilter(), recordingBuilder, PageParams(), table);
        QVERIFY(!run.emitted);
        QCOMPARE(table.headers(), QStringList{u"kept"_s});

        // A store whose matches all fail the filter still shows the headers, without rows.
        store.add(makeMatch(u"a"_s, {}, {}, {}));
        MatchFilter filter;
        filter.from = QDate(1800, 1, 1);
        filter.till = QDate(2999, 12, 31);
        const PageRun emptyRun = runPage(store, filter, recordingBuilder, PageParams(), table);
        QVERIFY(emptyRun.emitted);
        QCOMPARE(table.headers(), (QStringList{u"file"_s, u"argument"_s}));
        QCOMPARE(table.rowCount(), 0);
    }

    void pagesGatheredInParts_data()
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
    void pagesGatheredInParts()
    {
        QFETCH(QString, page);
        QFETCH(QString, argument);
        QFETCH(bool, considerId);
        QList<Match> matches;
        const int n = 12000;
        for (int i = 0; i < n; ++i) {
            const QString team1 = u"Команда %1"_s.arg(i % 7),
                          team2 = u"Команда %1"_s.arg(i % 7 + 7);
            Match match = makeMatch(QString::number(i), u"2009-01-01"_s, team1, team2);
            // Player k joins at match 50 k, plays for team1 or team2 as the store goes on, and from
            // the middle on is written with his first name.
            QStringList names;
            for (int k = 0; k < 40 && 50 * k <= i; k += 1 + i % 3)
                names.append(
                    (i < n / 2 ? u"Игрок %1#%2"_s : u"Игрок %1 Иван#%2"_s).arg(k).arg(k % 30));
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
        const PageCodeEntry *entry =
            findPageByName(page) ? findPageByName(page) : findPageCode(page);
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

    void filterSelects_data()
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

    void filterSelects()
    {
        QFETCH(QString, tournament);
        QFETCH(QDate, date);
        QFETCH(QString, round);

        // The match, and an undated one that holds the texts the filters look for.
        MatchStore store;
        Match match = makeMatch(u"m"_s, date.toString(Qt::ISODate), {}, {});
        match.edit().tournament = tournament;
        match.edit().round = round;
        store.add(match);
        store.add(withFields(makeMatch(u"t"_s, {}, {}, {}), u"tournament=Кубок;round=1/8"_s));
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

    void pageCodes_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("known");
        QTest::addColumn<QString>("argument");

        QTest::newRow("empty") << QString() << false << QString();
        QTest::newRow("overview ignores argument") << u"ma01_junk"_s << true << QString();
        QTest::newRow("drill-down keeps underscores") << u"re02_Попов_2"_s << true << u"Попов_2"_s;
        QTest::newRow("code is case-sensitive") << u"RE02_Попов"_s << false << QString();
    }

    void pageCodes()
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

    void pluralForms_data()
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
        QTest::newRow("11") << qint64(11) << u"11 файлов"_s << u"11 матчей"_s;
        QTest::newRow("14") << qint64(14) << u"14 файлов"_s << u"14 матчей"_s;
        QTest::newRow("21") << qint64(21) << u"21 файл"_s << u"21 матч"_s;
        QTest::newRow("22") << qint64(22) << u"22 файла"_s << u"22 матча"_s;
        QTest::newRow("101") << qint64(101) << u"101 файл"_s << u"101 матч"_s;
        QTest::newRow("111") << qint64(111) << u"111 файлов"_s << u"111 матчей"_s;
        QTest::newRow("-21") << qint64(-21) << u"-21 файл"_s << u"-21 матч"_s;
    }

    void pluralForms()
    {
        QFETCH(qint64, count);
        QFETCH(QString, files);
        QFETCH(QString, matches);
        QCOMPARE(countWithNoun(count, nouns().files), files);
        QCOMPARE(countWithNoun(count, nouns().matches), matches);
    }

    void captionLines_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QString>("tsv");
        QTest::newRow("plain") << u"Бомбардиры — Высшая лига"_s << u"Бомбардиры — Высшая лига\n"_s
                               << u"Бомбардиры — Высшая лига\r\n"_s
                               << u"Бомбардиры — Высшая лига\n"_s;
        QTest::newRow("a comma and quotes make one CSV field")
            << u"Матчи команды «A, \"B\"»"_s << u"Матчи команды «A, \"B\"»\n"_s
            << u"\"Матчи команды «A, \"\"B\"\"»\"\r\n"_s << u"Матчи команды «A, \"B\"»\n"_s;
        QTest::newRow("a tab stays inside the TSV line")
            << u"A\tB"_s << u"A\tB\n"_s << u"A\tB\r\n"_s << u"A\\tB\n"_s;
        QTest::newRow("no caption, no line") << QString() << QString() << QString() << QString();
    }

    void captionLines()
    {
        QFETCH(QString, caption);
        QTEST(textCaptionLine(caption), "text");
        QTEST(csvCaptionLine(caption), "csv");
        QTEST(tsvCaptionLine(caption), "tsv");
    }

    void numericColumns_data()
    {
        QTest::addColumn<QStringList>("column");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("counts, one padded") << QStringList{u"12"_s, u"  0"_s} << true;
        QTest::newRow("differences, scores, percentages, empty cells")
            << QStringList{u"+5"_s, u"-3"_s, u"2:1"_s, u"45.5%"_s, QString()} << true;
        QTest::newRow("one name among numbers") << QStringList{u"12"_s, u"Зенит"_s} << false;
        QTest::newRow("a name starting with a digit") << QStringList{u"1 Мая"_s, u"3"_s} << false;
        QTest::newRow("dates") << QStringList{u"1992/03/07"_s} << false;
    }

    void numericColumns()
    {
        QFETCH(QStringList, column);
        QFETCH(bool, numeric);
        TableSnapshot table;
        table.headers = {u"Команда"_s, u"X"_s};
        for (const QString &cell : column)
            table.rows.append({u"Зенит"_s, cell});
        QCOMPARE(::numericColumns(table), (QList<bool>{false, numeric}));
    }

    void html_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("footnote");
        QTest::addColumn<QStringList>("parts"); // in this order in the page
        QTest::newRow("caption as title and table caption; cells escaped")
            << u"Игроки <b>«A & B»</b>"_s << QString()
            << QStringList{u"<title>Игроки &lt;b&gt;«A &amp; B»&lt;/b&gt;</title>"_s,
                           u"<caption>Игроки &lt;b&gt;«A &amp; B»&lt;/b&gt;</caption>"_s,
                           u"<thead>\n<tr><th>Игрок &lt;1&gt;</th><th class=\"n\">Голы</th>"
                           "</tr>\n</thead>"_s,
                           u"<tr><td>&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;</td>"
                           "<td class=\"n\">12</td></tr>"_s,
                           u"<tr><td>O'Neil &amp;amp;</td><td class=\"n\"></td></tr>"_s,
                           u"</tbody>\n</table>\n</body>"_s};
        QTest::newRow("no caption element without a caption; the footnote escaped after the table")
            << QString() << u"Очки: 2 <за> победу"_s
            << QStringList{u"<title></title>"_s, u"<thead>"_s, u"</table>\n"_s,
                           u"<p>Очки: 2 &lt;за&gt; победу</p>"_s};
    }

    void html()
    {
        QFETCH(QString, caption);
        QFETCH(QString, footnote);
        QFETCH(QStringList, parts);
        TableSnapshot table;
        table.headers = {u"Игрок <1>"_s, u"Голы"_s};
        table.rows = {{u"<script>alert(\"x\")</script>"_s, u"12"_s},
                      {u"O'Neil &amp;"_s, QString()}};
        table.footnote = footnote;
        const QString page = exportHtml(table, caption);
        QVERIFY(page.startsWith(u"<!DOCTYPE html>\n"_s));
        QVERIFY(page.contains(u"<meta charset=\"utf-8\">"_s));
        QCOMPARE(page.contains(u"<caption>"_s), !caption.isEmpty());
        qsizetype from = 0;
        for (const QString &part : parts) {
            const qsizetype at = page.indexOf(part, from);
            QVERIFY2(at >= 0, qPrintable(part));
            from = at + part.size();
        }
        // Nothing of the cells' markup survives.
        QVERIFY(!page.contains(u"<script"_s) && !page.contains(u"<b>"_s));
    }

    void standings_data()
    {
        QTest::addColumn<QStringList>("scores");
        QTest::addColumn<QString>("page"); // a short name or a link, as either front end asks
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("till"); // the selection's last day, in January 2020
        // "team|points", with "|taken" where points were taken and "|place" for the race's steps.
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("footnote");

        // A and B level on 4: B has the better goal difference, A won their match. C and D never
        // met.
        const QStringList pair{u"A|B|1|0"_s, u"B|C|3|0"_s, u"A|C|0|0"_s, u"B|D|0|0"_s};
        QTest::newRow("pair, goal difference")
            << pair << u"standings"_s << u"3-1-0 diff,scored"_s << u"31"_s
            << QStringList{u"B|4"_s, u"A|4"_s, u"D|1"_s, u"C|1"_s} << QString();
        QTest::newRow("pair, head-to-head")
            << pair << u"standings"_s << u"3-1-0 h2h-points,h2h-diff,diff,scored"_s << u"31"_s
            << QStringList{u"A|4"_s, u"B|4"_s, u"D|1"_s, u"C|1"_s} << QString();
        // B loses two points from day 3: before it nothing is taken and no column shows.
        QTest::newRow("deduction after its date")
            << pair << u"standings"_s << u"3-1-0 diff B:2:2020-01-03 D:1"_s << u"31"_s
            << QStringList{u"A|4|"_s, u"B|2|2"_s, u"C|1|"_s, u"D|0|1"_s}
            << u"Снято очков: B — 2 (долг, с 03.01.2020); D — 1 (долг)."_s;
        QTest::newRow("deduction before its date")
            << pair << u"standings"_s << u"3-1-0 diff B:2:2020-01-03 D:1"_s << u"02"_s
            << QStringList{u"B|3"_s, u"A|3"_s, u"C|0"_s} << QString();
        // A table ending on the deduction's first day counts it; D, not in the table, is not named.
        QTest::newRow("deduction on its date")
            << pair << u"standings"_s << u"3-1-0 diff B:2:2020-01-03 D:1"_s << u"03"_s
            << QStringList{u"A|4|"_s, u"B|1|2"_s, u"C|1|"_s}
            << u"Снято очков: B — 2 (долг, с 03.01.2020)."_s;

        // Three level on 6 after a cycle among them; the mini-table puts C first and leaves A and B
        // level in everything, and their own match then puts A before B, whose goal difference is
        // best.
        const QStringList cycle{u"A|B|2|0"_s, u"B|C|2|1"_s, u"C|A|3|0"_s,
                                u"A|D|1|0"_s, u"B|D|5|0"_s, u"C|D|1|0"_s};
        QTest::newRow("three, goal difference")
            << cycle << u"standings"_s << u"3-1-0 diff,scored"_s << u"31"_s
            << QStringList{u"B|6"_s, u"C|6"_s, u"A|6"_s, u"D|0"_s} << QString();
        QTest::newRow("three, head-to-head re-split")
            << cycle << u"standings"_s << u"3-1-0 h2h-points,h2h-diff,h2h-scored,diff,scored"_s
            << u"31"_s << QStringList{u"C|6"_s, u"A|6"_s, u"B|6"_s, u"D|0"_s} << QString();

        // X, Y and Z level on 4 among others; among themselves X beat Y, Y-Z and Z-X were draws:
        // 4, 1 and 2 points, while the goal difference ranks them the other way round. Draws
        // counted as wins (or as nothing) leave two of them level, and their draw then leaves it to
        // the difference.
        const QStringList drawn{u"X|Y|1|0"_s, u"Y|Z|0|0"_s, u"Z|X|1|1"_s, u"Y|D|5|0"_s,
                                u"Z|D|0|0"_s, u"D|Z|0|0"_s, u"D|X|3|0"_s};
        QTest::newRow("three, draws among them")
            << drawn << u"standings"_s << u"3-1-0 h2h-points,diff"_s << u"31"_s
            << QStringList{u"D|5"_s, u"X|4"_s, u"Z|4"_s, u"Y|4"_s} << QString();
        // P and Q level on points and goal difference, Q ahead on one count only; the name would
        // put P first.
        const QStringList wins{u"P|Z|1|1"_s, u"P|Z|1|1"_s, u"P|Z|0|0"_s,
                               u"Q|Z|2|0"_s, u"Q|Z|0|1"_s, u"Q|Z|0|1"_s};
        QTest::newRow("wins") << wins << u"standings"_s << u"3-1-0 diff,scored,away-scored,wins"_s
                              << u"31"_s << QStringList{u"Z|9"_s, u"Q|3"_s, u"P|3"_s} << QString();
        const QStringList away{u"P|Z|2|2"_s, u"Z|Q|2|2"_s, u"P|Y|1|0"_s, u"Q|Y|1|0"_s};
        QTest::newRow("away goals")
            << away << u"standings"_s << u"3-1-0 diff,scored,wins,away-scored"_s << u"31"_s
            << QStringList{u"Q|4"_s, u"P|4"_s, u"Z|2"_s, u"Y|0"_s} << QString();
        const QStringList scored{u"P|Z|1|1"_s, u"Q|Z|2|2"_s};
        QTest::newRow("goals scored")
            << scored << u"standings"_s << u"3-1-0 diff,away-scored,wins,scored"_s << u"31"_s
            << QStringList{u"Z|2"_s, u"Q|1"_s, u"P|1"_s} << QString();
        QTest::newRow("name") << scored << u"standings"_s << u"3-1-0 name,scored"_s << u"31"_s
                              << QStringList{u"Z|2"_s, u"P|1"_s, u"Q|1"_s} << QString();

        // An old season: 10:5 (average 2.0) beats 20:14 (1.43) although +5 is less than +6, and a
        // clean sheet beats every average.
        const QStringList old{u"T1|Z|10|5"_s, u"T2|Z|20|14"_s, u"T3|Z|1|0"_s};
        QTest::newRow("goal average")
            << old << u"standings"_s << u"2-1-0 average"_s << u"31"_s
            << QStringList{u"T3|2"_s, u"T1|2"_s, u"T2|2"_s, u"Z|0"_s} << QString();
        // 3:2 is 1.5 and 5:4 only 1.25, though whole numbers would make both 1.
        QTest::newRow("goal average, a fraction")
            << QStringList{u"A|Z|5|4"_s, u"B|Z|3|2"_s} << u"standings"_s << u"2-1-0 average"_s
            << u"31"_s << QStringList{u"B|2"_s, u"A|2"_s, u"Z|0"_s} << QString();
        QTest::newRow("goal difference, same season")
            << old << u"standings"_s << u"2-1-0 diff"_s << u"31"_s
            << QStringList{u"T2|2"_s, u"T1|2"_s, u"T3|2"_s, u"Z|0"_s} << QString();
        // A deduction below zero: the table keeps the ranking order.
        QTest::newRow("below zero") << old << u"standings"_s << u"2-1-0 average Z:3"_s << u"31"_s
                                    << QStringList{u"T3|2|"_s, u"T1|2|"_s, u"T2|2|"_s, u"Z|-3|3"_s}
                                    << u"Снято очков: Z — 3 (долг)."_s;

        // Every page that counts points, on one season: A wins once and loses twice, B draws three
        // times; 3-1-0 puts A (better difference) before B, 2-1-0 puts B before A.
        const QStringList season{u"A|C|5|0"_s, u"B|C|1|1"_s, u"D|A|1|0"_s,
                                 u"B|D|0|0"_s, u"A|D|0|2"_s, u"C|B|2|2"_s};
        const auto both = [&season](const char *page, const QStringList &three,
                                    const QStringList &two) {
            QTest::addRow("%s, 3-1-0", page)
                << season << QString::fromUtf8(page) << u"3-1-0 diff,scored"_s << u"31"_s << three
                << QString();
            QTest::addRow("%s, 2-1-0", page)
                << season << QString::fromUtf8(page) << u"2-1-0 diff,scored"_s << u"31"_s << two
                << QString();
        };
        both("standings", {u"D|7"_s, u"A|3"_s, u"B|3"_s, u"C|2"_s},
             {u"D|5"_s, u"B|3"_s, u"A|2"_s, u"C|2"_s});
        both("home", {u"A|3"_s, u"D|3"_s, u"B|2"_s, u"C|1"_s},
             {u"A|2"_s, u"D|2"_s, u"B|2"_s, u"C|1"_s});
        both("away", {u"D|4"_s, u"B|1"_s, u"C|1"_s, u"A|0"_s},
             {u"D|3"_s, u"B|1"_s, u"C|1"_s, u"A|0"_s});
        both("taf1_2", {u"D|4"_s, u"C|2"_s, u"B|2"_s, u"A|0"_s},
             {u"D|3"_s, u"C|2"_s, u"B|2"_s, u"A|0"_s});
        both("hh01_A\tD", {u"A|0"_s, u"D|6"_s}, {u"A|0"_s, u"D|4"_s});
        // Each team's points and place after each of its match days, teams in final order.
        both("season-race",
             {u"D|3|2"_s, u"D|4|1"_s, u"D|7|1"_s, u"A|3|1"_s, u"A|3|1"_s, u"A|3|2"_s, u"B|1|2"_s,
              u"B|2|3"_s, u"B|3|3"_s, u"C|0|4"_s, u"C|1|3"_s, u"C|2|4"_s},
             {u"D|2|2"_s, u"D|3|1"_s, u"D|5|1"_s, u"B|1|2"_s, u"B|2|3"_s, u"B|3|2"_s, u"A|2|1"_s,
              u"A|2|1"_s, u"A|2|2"_s, u"C|0|4"_s, u"C|1|3"_s, u"C|2|4"_s});
    }

    // Every page that counts points, asked for as the window and the command line ask.
    void standings()
    {
        QFETCH(QStringList, scores);
        QFETCH(QString, page);
        QFETCH(QString, rules);
        QFETCH(QString, till);
        QFETCH(QString, footnote);

        PageRequest request = pageRequest(page);
        QVERIFY(request.entry && request.entry->countsPoints);
        request.filter = everything();
        request.filter.till = QDate(2020, 1, till.toInt());
        request.rules = ::rules(rules);
        TableData table;
        runPage(makeStore(onDays(scores)), request, table);

        const Texts &t = texts();
        qsizetype team = table.headers().indexOf(t.hTeam);
        const bool headToHead = team < 0;
        if (headToHead)
            team = table.headers().indexOf(t.hHome);
        QStringList shown;
        for (int r = 0; r < (headToHead ? 2 : table.rowCount()); ++r) {
            QString line = table.cell(r, int(team));
            for (const QString &header : {t.hPoints, t.hDeducted, t.hPosition})
                if (const qsizetype c = table.headers().indexOf(header); c >= 0)
                    line += u'|' + table.cell(r, int(c)).trimmed();
            shown.append(line);
        }
        QTEST(shown, "rows");
        QCOMPARE(table.footnote(), footnote);
        if (page == u"standings"_s)
            QCOMPARE(table.link(0), u"ta02_"_s + table.cell(0, int(team)));
        if (!footnote.isEmpty())
            QVERIFY(exportText(snapshotOf(table)).endsWith(u"-\n"_s + footnote + u'\n'));
    }

    void raceEndsWhereTheTableStands_data()
    {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("till"); // the selection's last day
        QTest::addColumn<int>("teams");
        QTest::addColumn<int>("days"); // how many days the matches fall on, at most

        QTest::newRow("3-1-0") << u"3-1-0 diff,scored"_s << u"2020-12-31"_s << 10 << 60;
        // Taken before the first day, during the season, and after its last match day; the last
        // day's places count what the table takes.
        QTest::newRow("deductions")
            << u"2-1-0 diff,scored T3:4:2019-06-01 T5:2:2020-02-10 T0:3:2020-12-01 T7:1"_s
            << u"2020-12-31"_s << 10 << 60;
        QTest::newRow("a deduction after the selection")
            << u"2-1-0 diff,scored T0:3:2020-12-01"_s << u"2020-11-30"_s << 10 << 60;
        QTest::newRow("head-to-head")
            << u"3-1-0 h2h-points,h2h-diff,diff,scored"_s << u"2020-12-31"_s << 10 << 60;
        QTest::newRow("average, wins, away goals")
            << u"3-1-0 average,wins,away"_s << u"2020-12-31"_s << 10 << 60;
        // Most days a match or two among many teams: the few that played move one by one, on
        // the other days the table is made anew.
        QTest::newRow("many teams, few a day")
            << u"3-1-0 diff,scored"_s << u"2023-12-31"_s << 40 << 400;
        QTest::newRow("many teams, few a day, deductions")
            << u"2-1-0 diff,scored T3:4:2019-06-01 T5:2:2020-02-10 T0:3:2021-06-01 T7:1"_s
            << u"2023-12-31"_s << 40 << 400;
        QTest::newRow("many teams, few a day, head-to-head")
            << u"3-1-0 h2h-points,h2h-diff,diff,scored"_s << u"2023-12-31"_s << 40 << 400;
        // Far more days than matches.
        QTest::newRow("years apart") << u"3-1-0 diff,scored"_s << u"2026-12-31"_s << 10 << 700;
    }

    // On an irregular season (several matches a day, days a team misses, a first day on which every
    // team plays), every step's points and place are those of the team in the standings of the
    // matches up to the step's day, and of the whole selection on the last day; the race's final
    // order is the table's.
    void raceEndsWhereTheTableStands()
    {
        QFETCH(QString, rules);
        QFETCH(QString, till);
        QFETCH(int, teams);
        QFETCH(int, days);

        QList<Match> matches;
        quint32 state = 7;
        const auto next = [&state](quint32 n) {
            state = state * 1103515245u + 12345u;
            return (state >> 16) % n;
        };
        const quint32 n = quint32(teams);
        for (int i = 0; i < 160; ++i) {
            const bool firstDay = i < teams / 2;
            const QDate day =
                QDate(2020, 1, 1).addDays(firstDay ? 0 : 1 + int(next(quint32(days))) * 3);
            const quint32 a = firstDay ? quint32(2 * i) : next(n);
            const quint32 b = firstDay ? a + 1 : (a + 1 + next(n - 1)) % n;
            matches.append(makeMatch(u"m%1.xml"_s.arg(i), day.toString(Qt::ISODate),
                                     u"T%1"_s.arg(a), u"T%1"_s.arg(b), QString::number(next(4)),
                                     QString::number(next(3))));
        }
        const MatchStore store = makeStore(matches);
        MatchFilter filter = everything();
        filter.till = QDate::fromString(till, Qt::ISODate);
        const CompetitionRules r = ::rules(rules);
        const SeasonRace race = seasonRace(store, filter, r);
        const Standings table = teamRecords(store, filter, r);

        QStringList order;
        for (const TeamRecord &team : table.teams)
            order.append(team.name);
        QCOMPARE(race.teams, order);
        QCOMPARE(race.steps.size(), 320);
        const QDate lastDay = race.days.constLast().date;
        for (const RaceStep &step : race.steps) {
            MatchFilter upTo = filter;
            if (step.date < lastDay)
                upTo.till = step.date;
            const Standings then = teamRecords(store, upTo, r);
            qsizetype place = 0;
            while (then.teams.at(place).name != step.team)
                ++place;
            QCOMPARE(step.position, int(place + 1));
            QCOMPARE(qint64(step.points), then.points.at(place));
        }
    }

    // Twenty thousand matches of the same two teams on one day: the race keeps a few records per
    // match, not a table per match. A child process runs it under an address-space limit.
    void raceOfOneDayStaysSmall()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer reserves more address space than the limit allows");
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
        QSKIP("the address sanitizer reserves more address space than the limit allows");
#endif
#endif
        QList<Match> matches;
        for (int i = 0; i < 20000; ++i)
            matches.append(makeMatch(u"m%1.xml"_s.arg(i), u"2020-03-01"_s, u"A"_s, u"B"_s,
                                     QString::number(i % 3), u"1"_s));
        const MatchStore store = makeStore(matches);

        const qint64 used = processStatusKb("VmSize") * 1024;
        QVERIFY(used > 0);

        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            // 256 MB beyond what the process holds; the race used to take 6 GB here.
            const rlim_t limit = rlim_t(used) + (rlim_t(256) << 20);
            const rlimit bound{limit, limit};
            if (setrlimit(RLIMIT_AS, &bound) != 0)
                _exit(2);
            try {
                PageRequest request = pageRequest(u"season-race"_s);
                request.filter = everything();
                TableData table;
                runPage(store, request, table);
                _exit(table.rowCount() == 40000 && table.cell(39999, 7).trimmed() == u"2"_s ? 0
                                                                                            : 3);
            } catch (...) {
                _exit(4);
            }
        }
        int code = -1;
        QCOMPARE(waitpid(child, &code, 0), child);
        QVERIFY(WIFEXITED(code));
        QCOMPARE(WEXITSTATUS(code), 0);
    }

    void rulesFile_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("league"); // the rules of "L": "W-D-L chain deductions"

        using R = RulesFileResult;
        const QString standard = u"3-1-0 diff,scored"_s;
        QTest::newRow("no file") << QByteArray() << int(R::Missing) << QString() << standard;
        QTest::newRow("empty object") << QByteArray("{}") << int(R::Ok) << QString() << standard;
        QTest::newRow("everything")
            << QByteArray(
                   R"({"version": 1, "tournaments": {"L": {"points": {"win": 2},
               "tiebreaks": ["h2h-points", "average"],
               "deductions": [{"team": "A", "points": 3, "reason": "r", "from": "2020-02-29"},
                              {"team": "B", "points": 1}]}}})")
            << int(R::Ok) << QString() << u"2-1-0 h2h-points,average A:3:2020-02-29 B:1:"_s;
        QTest::newRow("unknown criterion")
            << QByteArray(R"({"tournaments": {"L": {"tiebreaks": ["diff", "goals"]}}})")
            << int(R::UnknownCriterion) << u"goals"_s << standard;
        QTest::newRow("not JSON") << QByteArray("{\"tournaments\": ") << int(R::Malformed)
                                  << u"byte"_s << standard;
        QTest::newRow("not an object")
            << QByteArray("[1]") << int(R::Malformed) << u"/"_s << standard;
        QTest::newRow("fractional points")
            << QByteArray(R"({"tournaments": {"L": {"points": {"win": 2.5}}}})") << int(R::BadValue)
            << u"tournaments/L/points/win"_s << standard;
        // Out of every integer type's range: refused before any conversion (undefined behaviour).
        QTest::newRow("points far out of range")
            << QByteArray(R"({"tournaments": {"L": {"points": {"draw": 1.5e116}}}})")
            << int(R::BadValue) << u"tournaments/L/points/draw"_s << standard;
        QTest::newRow("a deduction of 2^63")
            << QByteArray(R"({"tournaments": {"L": {"deductions": [{"team": "A",
               "points": 9223372036854775808}]}}})")
            << int(R::BadValue) << u"tournaments/L/deductions/1/points"_s << standard;
        QTest::newRow("the largest points and deduction")
            << QByteArray(R"({"tournaments": {"L": {"points": {"win": 99, "loss": 0},
               "deductions": [{"team": "A", "points": 999}]}}})")
            << int(R::Ok) << QString() << u"99-1-0 diff,scored A:999:"_s;
        QTest::newRow("larger than any rules file")
            << QByteArray(maxRulesFileBytes + 1, ' ') << int(R::CannotRead) << u"too large"_s
            << standard;
        QTest::newRow("no such date")
            << QByteArray(R"({"tournaments": {"L": {"deductions": [{"team": "A", "points": 1,
               "from": "2021-02-29"}]}}})")
            << int(R::BadValue) << u"tournaments/L/deductions/1/from"_s << standard;
        QTest::newRow("deduction of no one")
            << QByteArray(R"({"tournaments": {"L": {"deductions": [{"points": 1}]}}})")
            << int(R::BadValue) << u"tournaments/L/deductions/1/team"_s << standard;
        QTest::newRow("newer version")
            << QByteArray(R"({"version": 2})") << int(R::BadValue) << u"version"_s << standard;
    }

    // Bad input is reported with where it went wrong, and leaves the standard rules; what is read
    // back after writing is what was read.
    void rulesFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(QString, detail);
        using R = RulesFileResult;

        QTemporaryDir dir;
        const QString path = rulesFilePath(dir.filePath(u"db.swb"_s));
        QVERIFY(bytes.isNull() || writeFile(path, bytes));
        RuleBook book;
        book.setRules(u"other"_s, rules(u"2-1-0 wins"_s));
        const RulesFileResult result = readRulesFile(path, book);
        QCOMPARE(int(result.status), status);
        QVERIFY2(result.detail.contains(detail), qPrintable(result.detail));

        const CompetitionRules read = book.rulesFor(u"L"_s);
        QStringList shown{pointsText(read)};
        QStringList chain;
        for (TieBreak criterion : read.tieBreaks)
            chain.append(tieBreakToken(criterion));
        shown.append(chain.join(u','));
        for (const Deduction &d : read.deductions)
            shown.append(u"%1:%2:%3"_s.arg(d.team).arg(d.points).arg(d.from.toString(Qt::ISODate)));
        QTEST(shown.join(u' '), "league");
        QCOMPARE(book.rulesFor(u"other"_s), CompetitionRules());

        RuleBook again;
        QCOMPARE(int(parseRules(rulesFileBytes(book), again).status), int(R::Ok));
        QVERIFY(again == book);
    }
};

QTEST_GUILESS_MAIN(TestPages)
#include "tst_pages.moc"
