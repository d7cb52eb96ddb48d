#include "pages/builders.h"
#include "pages/pagecodes.h"

#include "pages/analysis.h"
#include "pages/ranking.h"
#include "strings/texts.h"

#include <QStringList>

#include <algorithm>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

enum Count { Wins, Draws, Losses, Scored, Conceded, AwayScored };

// Goal totals come from report text: an absurd score must not wrap a counter round to negative.
void addGoals(PageRow &row, int count, qint64 goals)
{
    const qint64 sum = qint64(row.count(count)) + goals;
    const qint64 low = std::numeric_limits<qint32>::min();
    const qint64 high = std::numeric_limits<qint32>::max();
    row.setCount(count, qint32(std::clamp(sum, low, high)));
}

// What a team did against one opponent, kept in the row's name map under the kind's letter
// followed by the opponent's name, for the head-to-head criteria.
enum MeetingKind : char16_t {
    MeetWins = u'w',
    MeetDraws = u'd',
    MeetLosses = u'l',
    MeetScored = u's',
    MeetConceded = u'c'
};

void addMeeting(PageRow &row, char16_t kind, const QString &opponent, qint64 value)
{
    int &stored = row.names()[QChar(kind) + opponent];
    stored = int(std::clamp(qint64(stored) + value, qint64(std::numeric_limits<qint32>::min()),
                            qint64(std::numeric_limits<qint32>::max())));
}

void addMeetings(PageRow &row, const QString &opponent, int scored, int conceded)
{
    addMeeting(row,
               scored > conceded   ? MeetWins
               : scored < conceded ? MeetLosses
                                   : MeetDraws,
               opponent, 1);
    addMeeting(row, MeetScored, opponent, scored);
    addMeeting(row, MeetConceded, opponent, conceded);
}

bool usesHeadToHead(const CompetitionRules &rules)
{
    return std::any_of(rules.tieBreaks.cbegin(), rules.tieBreaks.cend(), isHeadToHead);
}

// One side's result: the row of team, created with its name.
void addResult(PageRow &row, const QString &team, const QString &opponent, int scored, int conceded,
               bool away, bool meetings)
{
    if (row.text(0).isEmpty())
        row.setText(0, team);
    addGoals(row, Scored, scored);
    addGoals(row, Conceded, conceded);
    if (away)
        addGoals(row, AwayScored, scored);
    if (meetings)
        addMeetings(row, opponent, scored, conceded);
    row.addCount(scored > conceded ? Wins : scored < conceded ? Losses : Draws, 1);
}

// The records of the rows, in the rows' order, and their meetings when rules need them.
void collect(const PageRows &rows, const CompetitionRules &rules, const QDate &asOf,
             QList<TeamRecord> &teams, QList<Meeting> &meetings)
{
    QHash<QString, qsizetype> index;
    for (const PageRow *row : rows.rows()) {
        TeamRecord team;
        team.name = row->text(0);
        team.wins = row->count(Wins);
        team.draws = row->count(Draws);
        team.losses = row->count(Losses);
        team.scored = row->count(Scored);
        team.conceded = row->count(Conceded);
        team.awayScored = row->count(AwayScored);
        team.deducted = rules.deductedFrom(team.name, asOf);
        index.insert(team.name, teams.size());
        teams.append(team);
    }
    if (!usesHeadToHead(rules))
        return;
    for (qsizetype i = 0; i < teams.size(); ++i) {
        QHash<qsizetype, Meeting> byOpponent;
        const QMap<QString, int> &names = rows.rows().at(i)->names();
        for (auto it = names.cbegin(); it != names.cend(); ++it) {
            const qsizetype opponent = index.value(it.key().mid(1), -1);
            if (opponent < 0)
                continue;
            Meeting &m = byOpponent[opponent];
            m.team = i;
            m.opponent = opponent;
            switch (it.key().at(0).unicode()) {
            case MeetWins:
                m.wins += it.value();
                break;
            case MeetDraws:
                m.draws += it.value();
                break;
            case MeetLosses:
                m.losses += it.value();
                break;
            case MeetScored:
                m.scored += it.value();
                break;
            default:
                m.conceded += it.value();
            }
        }
        for (const Meeting &m : std::as_const(byOpponent))
            meetings.append(m);
    }
}

// The footnote naming the deductions that apply to the teams in the table.
QString deductionsFootnote(const QList<TeamRecord> &teams, const CompetitionRules &rules,
                           const QDate &asOf)
{
    const Texts &t = texts();
    QStringList items;
    for (const Deduction &d : rules.deductions) {
        const bool inTable = std::any_of(teams.cbegin(), teams.cend(),
                                         [&d](const TeamRecord &r) { return r.name == d.team; });
        if (!inTable || (d.from.isValid() && asOf.isValid() && d.from > asOf))
            continue;
        QStringList details;
        if (!d.reason.isEmpty())
            details.append(d.reason);
        if (d.from.isValid())
            details.append(t.deductionSince.arg(d.from.toString(u"dd.MM.yyyy"_s)));
        QString item = t.deductionItem.arg(d.team, QString::number(d.points));
        if (!details.isEmpty())
            item += t.deductionDetails.arg(details.join(u", "_s));
        items.append(item);
    }
    return items.isEmpty() ? QString() : t.deductionsFootnote.arg(items.join(u"; "_s));
}

} // namespace

namespace {

// A match as the standings see it: the teams and the score, and for a stored match the table
// whose numbers the teams' ids are (null for a match of its own).
struct ScoredMatch
{
    const TextTable *table;
    TextId team1Id;
    TextId team2Id;
    const QString &team1;
    const QString &team2;
    const QString &goals1;
    const QString &goals2;
};

// A team's row: by the team's text number once it has been met, when there is one.
PageRow &teamRow(PageRows &rows, const TextTable *table, TextId id, const QString &team)
{
    if (!table)
        return rows.rowFor(team);
    PageRow *row = rows.index().find(*table, id);
    if (!row) {
        row = &rows.rowFor(team);
        rows.index().insert(id, 0, row);
    }
    return *row;
}

void addMatchToStandings(const ScoredMatch &match, PageRows &rows, StandingsSide side,
                         const CompetitionRules &rules)
{
    // A report without any score says nothing about the result; counting it as 0:0 would invent
    // a draw.
    if (match.goals1.isEmpty() && match.goals2.isEmpty())
        return;
    const int g1 = scoreNumber(match.goals1);
    const int g2 = scoreNumber(match.goals2);
    const bool meetings = usesHeadToHead(rules);
    if (side != StandingsSide::Away)
        addResult(teamRow(rows, match.table, match.team1Id, match.team1), match.team1, match.team2,
                  g1, g2, false, meetings);
    if (side != StandingsSide::Home)
        addResult(teamRow(rows, match.table, match.team2Id, match.team2), match.team2, match.team1,
                  g2, g1, true, meetings);
}

} // namespace

void addToStandings(const MatchHandle &match, PageRows &rows, StandingsSide side,
                    const CompetitionRules &rules)
{
    // From the record alone: the standings read six of its texts.
    const MatchRecord &r = match.record();
    const TextTable &t = match.store().texts();
    const TextId team1 = r.texts[Team1Field], team2 = r.texts[Team2Field];
    addMatchToStandings({&t, team1, team2, t.text(team1), t.text(team2),
                         t.text(r.texts[Goals1Field]), t.text(r.texts[Goals2Field])},
                        rows, side, rules);
}

void addToStandings(const MatchData &match, PageRows &rows, StandingsSide side,
                    const CompetitionRules &rules)
{
    addMatchToStandings({nullptr, 0, 0, match.team1, match.team2, match.goals1, match.goals2}, rows,
                        side, rules);
}

void calculateTable(const PageContext &context, PageRows &rows)
{
    const CompetitionRules &rules = context.params.rules;
    if (!context.table) {
        addToStandings(context.match, rows, StandingsSide::Both, rules);
        return;
    }

    const Texts &t = texts();
    ResultTable &table = *context.table;
    const QDate asOf = context.filter ? context.filter->till : QDate();
    QList<TeamRecord> teams;
    QList<Meeting> meetings;
    collect(rows, rules, asOf, teams, meetings);
    rows.clear();
    const bool anyDeducted = std::any_of(teams.cbegin(), teams.cend(),
                                         [](const TeamRecord &r) { return r.deducted != 0; });

    QStringList headers{t.hTeam,   t.hGames,  t.hWins,     t.hDraws,
                        t.hLosses, t.hScored, t.hConceded, t.hPoints};
    if (anyDeducted)
        headers.append(t.hDeducted);
    table.prepareTable(headers, 60, int(teams.size()));
    table.setColumnWidth(0, 180);
    setTeamMenu(table, true);

    // Written in ranking order; the stable sort by the points column then keeps that order among
    // teams level on points.
    int r = 0;
    bool negative = false;
    for (qsizetype i : rankTeams(teams, meetings, rules)) {
        const TeamRecord &team = teams.at(i);
        const qint64 points = pointsOf(team, rules);
        negative = negative || points < 0;
        table.setCell(r, 0, team.name);
        table.setCell(r, 1, QString::number(team.wins + team.draws + team.losses));
        table.setCell(r, 2, QString::number(team.wins));
        table.setCell(r, 3, QString::number(team.draws));
        table.setCell(r, 4, QString::number(team.losses));
        table.setCell(r, 5, QString::number(team.scored));
        table.setCell(r, 6, QString::number(team.conceded));
        table.setCell(r, 7, paddedCount(points));
        if (anyDeducted)
            table.setCell(r, 8, team.deducted ? paddedCount(team.deducted) : QString());
        table.setCell(r, int(headers.size()), QString(PageCode::TeamMatches) + team.name);
        ++r;
    }
    if (anyDeducted)
        table.setFootnote(deductionsFootnote(teams, rules, asOf));
    // Padded texts of negative numbers do not sort as numbers: a table with a team below zero
    // stays in the order it was written.
    if (!negative)
        table.sortByColumn(7, Qt::DescendingOrder);
}
