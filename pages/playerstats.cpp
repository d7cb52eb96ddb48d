#include "pages/builders.h"
#include "pages/pagecodes.h"

#include "pages/analysis.h"
#include "pages/rowtext.h"
#include "strings/texts.h"

// Players, teams and the players of one team: all three are built from the same sightings of
// players in the line-ups and events of the selected matches.

namespace {

// Row counters shared by the player and team rows.
enum Counter {
    Appearances = 0,
    SendingsOff = 1,
    SecondCautions = 2,
    Cautions = 3,
    Goals = 4,
    PenaltyGoals = 5,
    MissedPenalties = 6,
    OwnGoals = 7,
    OpponentPenalties = 8,
    NoCounter = -1
};

// The counter an event adds to; NoCounter for substitutions and unknown kinds.
Counter eventCounter(EventKind kind)
{
    switch (kind) {
    case EventKind::Goal:
        return Goals;
    case EventKind::Caution:
        return Cautions;
    case EventKind::PenaltyGoal:
        return PenaltyGoals;
    case EventKind::MissedPenalty:
        return MissedPenalties;
    case EventKind::OwnGoal:
        return OwnGoals;
    case EventKind::SendingOff:
        return SendingsOff;
    case EventKind::SecondCaution:
        return SecondCautions;
    case EventKind::Substitution:
    case EventKind::Unknown:
        break;
    }
    return NoCounter;
}

// One row per player: every line-up entry and substitution is an appearance of its player,
// every other event a sighting of its player that may add to one counter. With a search text
// only the sightings whose name contains it (case-sensitive) are counted.
void accumulatePlayers(const MatchView &m, const QString &search, bool considerId, PageRows &rows)
{
    const Texts &t = texts();
    QString buffer;

    auto sight = [&](const QString &id, const QString &name, const QString &team, Counter counter) {
        if (!search.isEmpty() && !name.contains(search))
            return;
        PageRow &row = rows.rowFor(personKeyInto(buffer, considerId, id, name, team));
        setRowText(row, 0, name);
        setRowText(row, 1, team);
        if (counter != NoCounter)
            row.addCount(counter, 1);
    };

    for (const PlayerView &p : m.players1)
        sight(p.id, p.name, m.team1, Appearances);
    for (const PlayerView &p : m.players2)
        sight(p.id, p.name, m.team2, Appearances);
    for (const EventView &e : m.events) {
        if (e.type == t.substitution)
            sight(e.playerid2, e.player2, e.team, Appearances);
        else
            sight(e.playerid, e.player, e.team, eventCounter(eventKind(e.type)));
    }
}

// Adds a player's name to a team's set of names, as the set's own copy.
void addName(PageRow &row, const QString &name)
{
    QMap<QString, int> &names = row.names();
    const auto at = names.lowerBound(name);
    if (at == names.end() || at.key() != name)
        names.insert(at, ownCopy(name), 0);
}

QString countCell(const PageRow &row, int counter)
{
    return paddedCount(row.count(counter));
}

} // namespace

void calculatePlayers(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        accumulatePlayers(*context.match, context.params.argument, context.params.considerId, rows);
        return;
    }

    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable({t.hPlayer, t.hTeam, t.hMatches, t.hRed, t.hSecondYellow, t.hYellow,
                        t.hGoals, t.hPenScored, t.hPenMissed, t.hOwnGoals},
                       70, int(rows.size()));
    table.setColumnWidth(0, 120);
    table.setColumnWidth(1, 120);
    const QString link = QString(PageCode::PlayerMatches);
    int r = 0;
    for (const PageRow *row : rows.rows()) {
        table.setCell(r, 0, row->text(0));
        table.setCell(r, 1, row->text(1));
        table.setCell(r, 2, countCell(*row, Appearances));
        table.setCell(r, 3, countCell(*row, SendingsOff));
        table.setCell(r, 4, countCell(*row, SecondCautions));
        table.setCell(r, 5, countCell(*row, Cautions));
        table.setCell(r, 6, paddedCount(qint64(row->count(Goals)) + row->count(PenaltyGoals)));
        table.setCell(r, 7, countCell(*row, PenaltyGoals));
        table.setCell(r, 8, countCell(*row, MissedPenalties));
        table.setCell(r, 9, countCell(*row, OwnGoals));
        table.setCell(r, 10, link + row->text(0));
        ++r;
    }
    rows.clear();
    table.sortByColumn(0, Qt::AscendingOrder);
}

void calculateTeams(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        const MatchView &m = *context.match;
        const Texts &t = texts();

        // A team's row is looked up once per match, not once per player or event, and is created
        // only when something of that team is met.
        PageRow *row1 = nullptr;
        PageRow *row2 = nullptr;
        auto teamRow = [&](const QString &team) -> PageRow & {
            if (team == m.team1) {
                if (!row1)
                    row1 = &rows.rowFor(m.team1);
                return *row1;
            }
            if (team == m.team2) {
                if (!row2)
                    row2 = &rows.rowFor(m.team2);
                return *row2;
            }
            return rows.rowFor(team);
        };

        if (!m.players1.isEmpty()) {
            PageRow &row = teamRow(m.team1);
            setRowText(row, 0, m.team1);
            for (const PlayerView &p : m.players1)
                addName(row, p.name);
        }
        if (!m.players2.isEmpty()) {
            PageRow &row = teamRow(m.team2);
            setRowText(row, 0, m.team2);
            for (const PlayerView &p : m.players2)
                addName(row, p.name);
        }
        for (const EventView &e : m.events) {
            PageRow &row = teamRow(e.team);
            setRowText(row, 0, e.team);
            if (e.type == t.substitution) {
                addName(row, e.player2);
                continue;
            }
            const Counter counter = eventCounter(eventKind(e.type));
            if (counter == NoCounter)
                continue;
            row.addCount(counter, 1);
            // A penalty, scored or missed, is also one of the opponents' penalties for the other
            // team of the match. An event whose team is neither side has no known opponent.
            if (counter == PenaltyGoals || counter == MissedPenalties) {
                const QString *opponent = nullptr;
                if (e.team == m.team1)
                    opponent = &m.team2;
                else if (e.team == m.team2)
                    opponent = &m.team1;
                if (opponent) {
                    PageRow &other = teamRow(*opponent);
                    setRowText(other, 0, *opponent);
                    other.addCount(OpponentPenalties, 1);
                }
            }
        }
        return;
    }

    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable({t.hTeam, t.hPlayersCount, t.hRed, t.hSecondYellow, t.hYellow, t.hGoals,
                        t.hPenScored, t.hPenMissed, t.hOwnGoals, t.hPenOpponent},
                       80, int(rows.size()));
    table.setColumnWidth(0, 120);
    setTeamMenu(table, false);
    const QString link = QString(PageCode::TeamPlayers);
    int r = 0;
    for (const PageRow *row : rows.rows()) {
        table.setCell(r, 0, row->text(0));
        table.setCell(r, 1, paddedCount(row->names().size()));
        table.setCell(r, 2, countCell(*row, SendingsOff));
        table.setCell(r, 3, countCell(*row, SecondCautions));
        table.setCell(r, 4, countCell(*row, Cautions));
        table.setCell(r, 5, paddedCount(qint64(row->count(Goals)) + row->count(PenaltyGoals)));
        table.setCell(r, 6, countCell(*row, PenaltyGoals));
        table.setCell(r, 7, countCell(*row, MissedPenalties));
        table.setCell(r, 8, countCell(*row, OwnGoals));
        table.setCell(r, 9, countCell(*row, OpponentPenalties));
        table.setCell(r, 10, link + row->text(0));
        ++r;
    }
    rows.clear();
    table.sortByColumn(0, Qt::AscendingOrder);
}

void teamPlayers(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        // Every sighting counts here; the team is chosen at the end, by each player's last team.
        accumulatePlayers(*context.match, QString(), context.params.considerId, rows);
        return;
    }

    // One table row per player row of the team, so that two players who share a name (told
    // apart by their IDs) stay two rows.
    const QString &team = context.params.argument;
    QList<const PageRow *> selected;
    for (const PageRow *row : rows.rows()) {
        if (row->text(1) == team)
            selected.append(row);
    }

    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable({t.hPlayer, t.hTeam, t.hMatches}, 60, int(selected.size()));
    table.setColumnWidth(0, 120);
    table.setColumnWidth(1, 120);
    const QString link = QString(PageCode::PlayerMatches);
    int r = 0;
    for (const PageRow *row : selected) {
        table.setCell(r, 0, row->text(0));
        table.setCell(r, 1, row->text(1));
        table.setCell(r, 2, countCell(*row, Appearances));
        table.setCell(r, 3, link + row->text(0));
        ++r;
    }
    rows.clear();
    table.sortByColumn(0, Qt::AscendingOrder);
}
