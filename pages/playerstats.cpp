#include "pages/builders.h"
#include "pages/pagecodes.h"

#include "pages/analysis.h"
#include "pages/rowtext.h"
#include "pages/statpages.h"
#include "strings/stattexts.h"
#include "strings/texts.h"

#include <array>

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

// The players of a run, each found by the text numbers of his key (personKey) in a table of their
// own, without composing a key or making a row; his texts are read only when he is written out.
class PlayerTally
{
public:
    struct Player
    {
        quint64 key;
        TextId name; // the texts he was last seen with
        TextId team;
        TextId id;
        std::array<qint64, Minutes + 1> counts{};
    };

    Player &find(PersonKey person) { return find(quint64(person.a) << 32 | person.b); }
    Player &find(quint64 key)
    {
        if (2 * (players.size() + 1) > m_slots.size()) {
            // Half full at most: a look-up mostly finds its player at the first slot.
            m_slots.assign(std::max<size_t>(1024, 2 * m_slots.size()), 0);
            for (size_t i = 0; i < players.size(); ++i)
                *slot(players[i].key) = quint32(i + 1);
        }
        quint32 *at = slot(key);
        if (*at == 0) {
            players.push_back(Player{key, TextTable::noText, TextTable::noText, 0});
            *at = quint32(players.size());
        }
        return players[*at - 1];
    }
    void reserve(size_t n) { players.reserve(n); }
    // Adds the players of a tally of later matches, as if they had been counted here.
    void add(const PlayerTally &later)
    {
        for (const Player &their : later.players) {
            Player &own = find(their.key);
            for (size_t c = 0; c < own.counts.size(); ++c)
                own.counts[c] += their.counts[c];
            own.name = their.name;
            own.team = their.team;
            own.id = their.id;
        }
    }

    // Whether the name text holds search, worked out once per name.
    bool holds(const TextTable &table, TextId name, const QString &search)
    {
        if (name >= m_holds.size())
            m_holds.resize(std::max<size_t>(name + 1, size_t(table.size())), -1);
        if (m_holds[name] < 0)
            m_holds[name] = table.text(name).contains(search) ? 1 : 0;
        return m_holds[name] == 1;
    }

    // Large tables take memory in huge pages: a page fault for every 4 KB of them would cost more
    // than the counting.
    StoreArray<Player> players; // in the order they were first seen

private:
    // The slot of key: the one holding its player (his place plus one), or the empty one where
    // he goes.
    quint32 *slot(quint64 key)
    {
        const size_t mask = m_slots.size() - 1;
        const quint64 hash = key * 0x9E3779B97F4A7C15ull;
        for (size_t i = size_t(hash ^ (hash >> 29)) & mask;; i = (i + 1) & mask) {
            if (m_slots[i] == 0 || players[m_slots[i] - 1].key == key)
                return &m_slots[i];
        }
    }

    StoreArray<quint32> m_slots;
    std::vector<qint8> m_holds;
};

// One player per key: every line-up entry and substitution is an appearance of its player,
// every other event a sighting of its player that may add to one counter. With a search text
// only the sightings whose name contains it (case-sensitive) are counted. With minutes each
// appearance adds its minutes (appearanceMinutes); a report whose minutes cannot be read adds
// none and one to the rows' tally.
void accumulatePlayers(const MatchView &m, const QString &search, bool considerId, bool minutes,
                       PageRows &rows)
{
    PlayerTally &tally = rows.state<PlayerTally>();
    // Room for one player per text at most, in memory that takes no pages until used.
    if (tally.players.empty())
        tally.reserve(size_t(m.table.size()));
    static thread_local std::vector<int> played;
    const bool usable = minutes && appearanceMinutes(m, rows, played);
    if (minutes && !usable)
        ++rows.tally();
    size_t appearance = 0;
    auto addMinutes = [&](PlayerTally::Player *player) {
        if (usable && player)
            player->counts[Minutes] += played[appearance];
        ++appearance;
    };

    auto sight = [&](TextId id, TextId name, TextId team,
                     Counter counter) -> PlayerTally::Player * {
        if (!search.isEmpty() && !tally.holds(m.table, name, search))
            return nullptr;
        const PersonKey key = personKey(considerId, m.table, id, name, team);
        PlayerTally::Player &player = tally.find(key);
        // He is shown with the texts he was last seen with. (Only a name or team that differs
        // shows: the ID shown is his key's, or empty.)
        player.name = name;
        player.team = team;
        player.id = id;
        if (counter != NoCounter)
            ++player.counts[counter];
        return &player;
    };

    const TextId team1 = m.textId(Team1Field);
    const TextId team2 = m.textId(Team2Field);
    for (const auto &[players, team] :
         {std::pair(&m.players1, team1), std::pair(&m.players2, team2)}) {
        for (qsizetype i = 0; i < players->size(); ++i) {
            const LineupEntry &p = players->item(i);
            PlayerTally::Player *player = sight(p.id, p.name, team, Appearances);
            if (player)
                ++player->counts[Starts];
            addMinutes(player);
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

void mergePlayers(PageRows &into, PageRows &later)
{
    into.state<PlayerTally>().add(later.state<PlayerTally>());
    into.tally() += later.tally();
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
    const auto &players = rows.state<PlayerTally>().players;
    const TextTable &names = context.match.store().texts();
    table.prepareTable(headers, 70, int(players.size()));
    table.setColumnWidth(0, 120);
    table.setColumnWidth(1, 120);
    if (rows.tally() > 0)
        table.setFootnote(st.minutesUnusable.arg(rows.tally()));
    // Written in the order of the name column, which the table's stable sort then keeps.
    std::vector<quint32> order(players.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = quint32(i);
    std::stable_sort(order.begin(), order.end(), [&](quint32 a, quint32 b) {
        return QString::compare(names.text(players[a].name), names.text(players[b].name)) < 0;
    });
    table.rowsInOrder();
    CountTexts text;
    int r = 0;
    for (const quint32 i : order) {
        const PlayerTally::Player &player = players[i];
        const auto count = [&player](Counter counter) { return player.counts[counter]; };
        const QString &name = names.text(player.name);
        int c = 0;
        table.setCell(r, c++, name);
        table.setCell(r, c++, names.text(player.team));
        if (withId)
            table.setCell(r, c++, names.text(player.id));
        table.setCell(r, c++, text(count(Appearances)));
        table.setCell(r, c++, text(count(Starts)));
        table.setCell(r, c++, text(count(Appearances) - count(Starts)));
        table.setCell(r, c++, text(count(Minutes)));
        table.setCell(r, c++, text(count(SendingsOff)));
        table.setCell(r, c++, text(count(SecondCautions)));
        table.setCell(r, c++, text(count(Cautions)));
        table.setCell(r, c++, text(count(Goals) + count(PenaltyGoals)));
        table.setCell(r, c++, text(count(PenaltyGoals)));
        table.setCell(r, c++, text(count(MissedPenalties)));
        table.setCell(r, c++, text(count(OwnGoals)));
        table.setCell(r, c++,
                      personLink(PageCode::PlayerMatches, withId, name, names.text(player.id)));
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
    const TextTable &names = context.match.store().texts();
    QList<const PlayerTally::Player *> selected;
    for (const PlayerTally::Player &player : rows.state<PlayerTally>().players) {
        if (names.text(player.team) == team)
            selected.append(&player);
    }

    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable({t.hPlayer, t.hTeam, t.hMatches}, 60, int(selected.size()));
    table.setColumnWidth(0, 120);
    table.setColumnWidth(1, 120);
    const QString link = QString(PageCode::PlayerMatches);
    int r = 0;
    for (const PlayerTally::Player *player : selected) {
        table.setCell(r, 0, names.text(player->name));
        table.setCell(r, 1, names.text(player->team));
        table.setCell(r, 2, paddedCount(player->counts[Appearances]));
        table.setCell(r, 3, link + names.text(player->name));
        ++r;
    }
    rows.clear();
    table.sortByColumn(0, Qt::AscendingOrder);
}
