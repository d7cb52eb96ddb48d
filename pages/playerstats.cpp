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
    QString buffer;
    RowIndex &index = rows.index();

    auto sight = [&](TextId id, TextId name, TextId team, Counter counter) {
        const QString &nameText = m.text(name);
        if (!search.isEmpty() && !nameText.contains(search))
            return;
        // The row of personKey(): by the ID's text (the name's without an ID), or by the name
        // and the team. Texts are numbered alike when they are equal, so the numbers find the
        // row the composed key would.
        const TextId a = considerId ? (m.text(id).isEmpty() ? name : id) : name;
        const TextId b = considerId ? 0 : team;
        PageRow *row = index.find(m.table, a, b);
        if (!row) {
            row =
                &rows.rowFor(personKeyInto(buffer, considerId, m.text(id), nameText, m.text(team)));
            index.insert(a, b, row);
        }
        // Only this code sets the two texts: the tag says from which texts they were set last.
        const quint64 tag = quint64(name) << 32 | team;
        if (row->tag() != tag + 1) {
            setRowText(*row, 0, nameText);
            setRowText(*row, 1, m.text(team));
            row->setTag(tag + 1);
        }
        if (counter != NoCounter)
            row->addCount(counter, 1);
    };

    const TextId team1 = m.textId(Team1Field);
    const TextId team2 = m.textId(Team2Field);
    for (qsizetype i = 0; i < m.players1.size(); ++i)
        sight(m.players1.item(i).id, m.players1.item(i).name, team1, Appearances);
    for (qsizetype i = 0; i < m.players2.size(); ++i)
        sight(m.players2.item(i).id, m.players2.item(i).name, team2, Appearances);
    for (qsizetype i = 0; i < m.events.size(); ++i) {
        const EventRecord &e = m.events.item(i);
        const EventKind kind = rows.eventKind(m.table, e.texts[EventTypeField]);
        if (kind == EventKind::Substitution)
            sight(e.texts[EventPlayerId2Field], e.texts[EventPlayer2Field], e.texts[EventTeamField],
                  Appearances);
        else
            sight(e.texts[EventPlayerIdField], e.texts[EventPlayerField], e.texts[EventTeamField],
                  eventCounter(kind));
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

        // A team's row is found by the team's text number; a player's name is added to a team's
        // set once, the first time the two are met together.
        RowIndex &teamRows = rows.index(0);
        RowIndex &named = rows.index(1);
        auto teamRow = [&](TextId team) -> PageRow & {
            PageRow *row = teamRows.find(m.table, team);
            if (!row) {
                row = &rows.rowFor(m.text(team));
                teamRows.insert(team, 0, row);
            }
            // The tag: the text number the team's text was last set from, plus one.
            if (row->tag() != quint64(team) + 1) {
                setRowText(*row, 0, m.text(team));
                row->setTag(quint64(team) + 1);
            }
            return *row;
        };
        auto nameIn = [&](PageRow &row, TextId team, TextId name) {
            if (!named.find(m.table, name, team)) {
                named.insert(name, team, &row);
                addName(row, m.text(name));
            }
        };

        for (const auto &[players, team] : {std::pair(&m.players1, m.textId(Team1Field)),
                                            std::pair(&m.players2, m.textId(Team2Field))}) {
            if (players->isEmpty())
                continue;
            PageRow &row = teamRow(team);
            for (qsizetype i = 0; i < players->size(); ++i)
                nameIn(row, team, players->item(i).name);
        }
        const TextId team1 = m.textId(Team1Field);
        const TextId team2 = m.textId(Team2Field);
        for (qsizetype i = 0; i < m.events.size(); ++i) {
            const EventRecord &e = m.events.item(i);
            const TextId team = e.texts[EventTeamField];
            PageRow &row = teamRow(team);
            const EventKind kind = rows.eventKind(m.table, e.texts[EventTypeField]);
            if (kind == EventKind::Substitution) {
                nameIn(row, team, e.texts[EventPlayer2Field]);
                continue;
            }
            const Counter counter = eventCounter(kind);
            if (counter == NoCounter)
                continue;
            row.addCount(counter, 1);
            // A penalty, scored or missed, is also one of the opponents' penalties for the other
            // team of the match. An event whose team is neither side has no known opponent.
            if (counter == PenaltyGoals || counter == MissedPenalties) {
                const QString &name = m.text(team);
                const bool first = name == m.team1, second = !first && name == m.team2;
                if (first || second)
                    teamRow(first ? team2 : team1).addCount(OpponentPenalties, 1);
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
