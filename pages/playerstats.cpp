#include "pages/builders.h"
#include "pages/pagecodes.h"

#include "pages/analysis.h"
#include "pages/rowtext.h"
#include "pages/statpages.h"
#include "strings/stattexts.h"
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
    Starts = 9,
    Minutes = 10,
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
// only the sightings whose name contains it (case-sensitive) are counted. With minutes each
// appearance adds its minutes (appearanceMinutes); a report whose minutes cannot be read adds
// none and one to the rows' tally.
void accumulatePlayers(const MatchView &m, const QString &search, bool considerId, bool minutes,
                       PageRows &rows)
{
    RowIndex &index = rows.index();
    static thread_local std::vector<int> played;
    const bool usable = minutes && appearanceMinutes(m, rows, played);
    if (minutes && !usable)
        ++rows.tally();
    size_t appearance = 0;
    auto addMinutes = [&](PageRow *row) {
        if (usable && row)
            row->addCount(Minutes, played[appearance]);
        ++appearance;
    };

    auto sight = [&](TextId id, TextId name, TextId team, Counter counter) -> PageRow * {
        const QString &nameText = m.text(name);
        if (!search.isEmpty() && !nameText.contains(search))
            return nullptr;
        // The row of the name and the team (or of the ID), by the texts' numbers.
        const PersonKey key = personKey(considerId, m.table, id, name, team);
        PageRow *row = index.find(m.table, key.a, key.b);
        if (!row) {
            row = &rows.newRow();
            index.insert(key.a, key.b, row);
        }
        // Only this code sets the texts: the tag says from which texts they were set last.
        const quint64 tag = quint64(name) << 32 | team;
        if (row->tag() != tag + 1) {
            setRowText(*row, 0, nameText);
            setRowText(*row, 1, m.text(team));
            // With considerId the row is the ID's (or, without one, the name's): one ID text.
            if (considerId)
                setRowText(*row, 2, m.text(id));
            row->setTag(tag + 1);
        }
        if (counter != NoCounter)
            row->addCount(counter, 1);
        return row;
    };

    const TextId team1 = m.textId(Team1Field);
    const TextId team2 = m.textId(Team2Field);
    for (const auto &[players, team] :
         {std::pair(&m.players1, team1), std::pair(&m.players2, team2)}) {
        for (qsizetype i = 0; i < players->size(); ++i) {
            const LineupEntry &p = players->item(i);
            PageRow *row = sight(p.id, p.name, team, Appearances);
            if (row)
                row->addCount(Starts, 1);
            addMinutes(row);
        }
    }
    for (qsizetype i = 0; i < m.events.size(); ++i) {
        const EventRecord &e = m.events.item(i);
        const EventKind kind = rows.eventKind(m.table, e.texts[EventTypeField]);
        if (kind == EventKind::Substitution)
            addMinutes(sight(e.texts[EventPlayerId2Field], e.texts[EventPlayer2Field],
                             e.texts[EventTeamField], Appearances));
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

int matchLength(const MatchView &m)
{
    const bool extraTime = !m.extra1.isEmpty() || !m.extra2.isEmpty() || !m.penalties1.isEmpty() ||
                           !m.penalties2.isEmpty();
    return extraTime ? 120 : 90;
}

bool appearanceMinutes(const MatchView &m, PageRows &rows, std::vector<int> &minutes)
{
    // Who is on the pitch: name and team of each appearance, the minute he came on and the one
    // he went off (-1 while he has not).
    struct OnPitch
    {
        TextId name;
        TextId team;
        int from;
        int until;
    };
    static thread_local std::vector<OnPitch> pitch;
    pitch.clear();
    minutes.clear();
    for (const auto &[players, team] : {std::pair(&m.players1, m.textId(Team1Field)),
                                        std::pair(&m.players2, m.textId(Team2Field))}) {
        for (qsizetype i = 0; i < players->size(); ++i)
            pitch.push_back({keyText(players->item(i).name), keyText(team), 0, -1});
    }
    for (qsizetype i = 0; i < m.events.size(); ++i) {
        const EventRecord &e = m.events.item(i);
        const EventKind kind = rows.eventKind(m.table, e.texts[EventTypeField]);
        if (kind != EventKind::Substitution && kind != EventKind::SendingOff &&
            kind != EventKind::SecondCaution)
            continue;
        const int minute = rows.minute(m.table, e.texts[EventTimeField]);
        if (minute < 0)
            return false;
        // The player going off: the first of his name and team on the pitch who came on no
        // later (of his name in any team when his team has none).
        const TextId name = keyText(e.texts[EventPlayerField]);
        const TextId team = keyText(e.texts[EventTeamField]);
        OnPitch *off = nullptr;
        for (OnPitch &p : pitch) {
            if (p.until >= 0 || p.name != name || p.from > minute)
                continue;
            if (p.team == team) {
                off = &p;
                break;
            }
            if (!off)
                off = &p;
        }
        if (off)
            off->until = minute;
        if (kind == EventKind::Substitution)
            pitch.push_back({keyText(e.texts[EventPlayer2Field]), team, minute, -1});
    }
    const int length = matchLength(m);
    for (const OnPitch &p : pitch) {
        const int from = std::min(p.from, length);
        const int until = p.until < 0 ? length : std::min(p.until, length);
        minutes.push_back(std::max(0, until - from));
    }
    return true;
}

void calculatePlayers(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        accumulatePlayers(*context.match, context.params.argument, context.params.considerId, true,
                          rows);
        return;
    }

    const Texts &t = texts();
    const StatTexts &st = statTexts();
    const bool withId = context.params.considerId;
    ResultTable &table = *context.table;
    QStringList headers{t.hPlayer, t.hTeam};
    if (withId)
        headers.append(st.hId);
    headers += {t.hMatches, st.hStarts, st.hSubstitute, st.hMinutes,  t.hRed,     t.hSecondYellow,
                t.hYellow,  t.hGoals,   t.hPenScored,   t.hPenMissed, t.hOwnGoals};
    // The row's own link, or the player's career.
    table.setMenu({t.menuDetails, st.actionCareer}, {QString(), QString(PageCode::Career)});
    table.prepareTable(headers, 70, int(rows.size()));
    table.setColumnWidth(0, 120);
    table.setColumnWidth(1, 120);
    if (rows.tally() > 0)
        table.setFootnote(st.minutesUnusable.arg(rows.tally()));
    int r = 0;
    for (const PageRow *row : rows.rows()) {
        int c = 0;
        table.setCell(r, c++, row->text(0));
        table.setCell(r, c++, row->text(1));
        if (withId)
            table.setCell(r, c++, row->text(2));
        table.setCell(r, c++, countCell(*row, Appearances));
        table.setCell(r, c++, countCell(*row, Starts));
        table.setCell(r, c++, paddedCount(row->count(Appearances) - row->count(Starts)));
        table.setCell(r, c++, countCell(*row, Minutes));
        table.setCell(r, c++, countCell(*row, SendingsOff));
        table.setCell(r, c++, countCell(*row, SecondCautions));
        table.setCell(r, c++, countCell(*row, Cautions));
        table.setCell(r, c++, paddedCount(qint64(row->count(Goals)) + row->count(PenaltyGoals)));
        table.setCell(r, c++, countCell(*row, PenaltyGoals));
        table.setCell(r, c++, countCell(*row, MissedPenalties));
        table.setCell(r, c++, countCell(*row, OwnGoals));
        table.setCell(r, c++,
                      personLink(PageCode::PlayerMatches, withId, row->text(0), row->text(2)));
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
        accumulatePlayers(*context.match, QString(), context.params.considerId, false, rows);
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
