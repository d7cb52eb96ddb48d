#include "pages/analysis.h"
#include "pages/pagecodes.h"

#include "pages/builders.h"
#include "strings/plural.h"
#include "strings/texts.h"

#include <QHash>

#include <algorithm>
#include <limits>
#include <optional>
#include <tuple>
#include <vector>

// The report consistency check and the possible duplicates: data checks that read a report
// against itself and against the other selected reports.

namespace {

// Texts of a problem row.
enum ProblemText { PDate = 0, PTeam1, PTeam2, PScore, PProblem, PFile };

QString dateCell(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

// A minute as an order: "90+3" after "90" and before "91". Empty for a text that is not a number
// with an optional "+N".
std::optional<qint64> minuteKey(const QString &text)
{
    qint64 base = -1;
    qint64 added = -1;
    qint64 *part = &base;
    for (const QChar ch : text) {
        if (ch == u'+' && part == &base && base >= 0) {
            part = &added;
            continue;
        }
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
        *part = std::min<qint64>(std::max<qint64>(*part, 0) * 10 + (ch.unicode() - u'0'), 99999);
    }
    if (base < 0 || (part == &added && added < 0))
        return std::nullopt;
    return base * 100000 + std::max<qint64>(added, 0);
}

std::optional<int> number(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Texts read from one store: the store keeps each text once, so two are equal exactly when they
// are the same text (or both empty, the null one beside the empty one).
bool sameStoredText(const QString &a, const QString &b)
{
    const bool same = a.size() == b.size() && (a.constData() == b.constData() || a.isEmpty());
    Q_ASSERT(same == (a == b));
    return same;
}

bool samePlayer(const QString &idA, const QString &nameA, const QString &idB, const QString &nameB)
{
    if (!idA.isEmpty() && !idB.isEmpty())
        return sameStoredText(idA, idB);
    return sameStoredText(nameA, nameB);
}

// What one side's players have done so far, as the events are read in minute order.
struct Player
{
    QString id;
    QString name;
    bool played = false;  // in the line-up or came on
    bool onPitch = false; // played and neither replaced nor sent off
    bool replaced = false;
    bool sentOff = false;
    bool reported = false; // a later event after the sending-off was reported
    qint64 sentOffAt = 0;
    QString sentOffMinute;
};

struct Side
{
    QString team;
    bool hasLineup = false;
    QList<Player> players;

    Player &find(const QString &id, const QString &name)
    {
        for (Player &p : players)
            if (samePlayer(p.id, p.name, id, name))
                return p;
        Player player;
        player.id = id;
        player.name = name;
        players.append(player);
        return players.last();
    }
};

// The checks of one match, read through its view in the store.
class MatchCheck
{
public:
    explicit MatchCheck(const MatchView &match) : m(match) {}

    QStringList run()
    {
        const Texts &t = texts();
        const std::optional<int> p1 = number(m.penalties1);
        const std::optional<int> p2 = number(m.penalties2);
        shootOut = !m.penalties1.isEmpty() || !m.penalties2.isEmpty();
        checkScore();
        if (shootOut && g1 && g2) {
            if (*g1 != *g2)
                problems << t.problemShootoutNotLevel.arg(m.penalties1, m.penalties2, m.goals1,
                                                          m.goals2);
            else if (p1 && p2 && *p1 == *p2)
                problems << t.problemShootoutLevel.arg(m.penalties1, m.penalties2);
        }
        checkLineups();
        checkEvents();
        return problems;
    }

private:
    int sideOf(const QString &team) const { return team == m.team1 ? 0 : team == m.team2 ? 1 : -1; }

    // A kick of the penalty shoot-out: a penalty after the 120th minute, or without a minute, in
    // a match with a shoot-out. It is no goal of the match.
    bool isKick(const EventView &e, EventKind kind) const
    {
        if (!shootOut || (kind != EventKind::PenaltyGoal && kind != EventKind::MissedPenalty))
            return false;
        const std::optional<qint64> key = minuteKey(e.time);
        return e.time.isEmpty() || (key && *key >= 120 * 100000);
    }

    void checkScore()
    {
        const Texts &t = texts();
        g1 = number(m.goals1);
        g2 = number(m.goals2);
        const std::optional<int> extra[2] = {number(m.extra1), number(m.extra2)};
        const std::optional<int> goals[2] = {g1, g2};
        const QString *teams[2] = {&m.team1, &m.team2};
        for (int s = 0; s < 2; ++s) {
            if (extra[s] && goals[s] && *extra[s] > *goals[s])
                problems << t.problemExtraExceeds.arg(*extra[s]).arg(*goals[s]).arg(*teams[s]);
        }
        // Reports that give no events at all say nothing about the goals.
        if (!g1 || !g2 || m.events.isEmpty())
            return;
        int counted[2] = {0, 0};
        for (const EventView &e : m.events) {
            const EventKind kind = eventKind(e.type);
            const int side = sideOf(e.team);
            if (side < 0 || isKick(e, kind))
                continue;
            if (kind == EventKind::Goal || kind == EventKind::PenaltyGoal)
                ++counted[side];
            else if (kind == EventKind::OwnGoal)
                ++counted[1 - side];
        }
        if (counted[0] != *g1 || counted[1] != *g2)
            problems << t.problemScore.arg(counted[0]).arg(counted[1]).arg(*g1).arg(*g2);
    }

    void checkLineups()
    {
        const Texts &t = texts();
        const PlayerSpan *lineups[2] = {&m.players1, &m.players2};
        for (int s = 0; s < 2; ++s) {
            const PlayerSpan &lineup = *lineups[s];
            sides[s].team = s == 0 ? m.team1 : m.team2;
            sides[s].hasLineup = !lineup.isEmpty();
            if (!lineup.isEmpty() && lineup.size() != 11)
                // One arg() call: a "%2" in a team's name is text, not a placeholder.
                problems << t.problemLineupSize.arg(sides[s].team,
                                                    countWithNoun(lineup.size(), nouns().players));
            for (const PlayerView &p : lineup) {
                Player &player = sides[s].find(p.id, p.name);
                if (player.played) {
                    problems << t.problemTwiceInLineup.arg(p.name, sides[s].team);
                    continue;
                }
                player.played = true;
                player.onPitch = true;
            }
        }
        for (const PlayerView &p : m.players1) {
            for (const PlayerView &q : m.players2) {
                if (samePlayer(p.id, p.name, q.id, q.name)) {
                    problems << t.problemBothLineups.arg(p.name);
                    break;
                }
            }
        }
    }

    void checkEvents()
    {
        const Texts &t = texts();
        // Events in minute order, those of one minute in report order; kicks without a minute
        // come last.
        struct Timed
        {
            qint64 key;
            qsizetype event; // its place in the match's events
            EventKind kind;
        };
        QList<Timed> timed;
        for (qsizetype i = 0; i < m.events.size(); ++i) {
            const EventView e = m.events.at(i);
            const EventKind kind = eventKind(e.type);
            const std::optional<qint64> key = minuteKey(e.time);
            const bool kick = isKick(e, kind);
            if (!key && !(kick && e.time.isEmpty()))
                problems << t.problemBadMinute.arg(e.type, e.time);
            const int side = sideOf(e.team);
            if (side < 0)
                problems << t.problemForeignTeam.arg(e.type, e.time, e.team);
            if (side >= 0 && (key || kick))
                timed.append({key ? *key : std::numeric_limits<qint64>::max(), i, kind});
        }
        std::stable_sort(timed.begin(), timed.end(),
                         [](const Timed &a, const Timed &b) { return a.key < b.key; });

        for (const Timed &item : std::as_const(timed)) {
            const EventView e = m.events.at(item.event);
            Side &side = sides[sideOf(e.team)];
            if (item.kind == EventKind::Substitution) {
                substitute(side, e);
                continue;
            }
            if (e.player.isEmpty() && e.playerid.isEmpty())
                continue;
            Player &p = side.find(e.playerid, e.player);
            if (p.sentOff && item.key > p.sentOffAt && !p.reported) {
                problems << t.problemSentOffLater.arg(e.player, side.team, p.sentOffMinute, e.time);
                p.reported = true;
            }
            if ((item.kind == EventKind::SendingOff || item.kind == EventKind::SecondCaution) &&
                !p.sentOff) {
                p.sentOff = true;
                p.played = true;
                p.onPitch = false;
                p.sentOffAt = item.key;
                p.sentOffMinute = e.time;
            }
        }
    }

    void substitute(Side &side, const EventView &e)
    {
        const Texts &t = texts();
        if (!e.player.isEmpty() || !e.playerid.isEmpty()) {
            Player &off = side.find(e.playerid, e.player);
            if (off.sentOff)
                problems << t.problemOffSentOff.arg(e.time, e.player, side.team);
            else if (off.replaced)
                problems << t.problemOffAlreadyReplaced.arg(e.time, e.player, side.team);
            else if (!off.onPitch && side.hasLineup)
                problems << t.problemOffNotInLineup.arg(e.time, e.player, side.team);
            off.played = true;
            off.onPitch = false;
            off.replaced = true;
        }
        if (!e.player2.isEmpty() || !e.playerid2.isEmpty()) {
            Player &on = side.find(e.playerid2, e.player2);
            if (on.played)
                problems << t.problemOnAlreadyPlayed.arg(e.time, e.player2, side.team);
            on.played = true;
            on.onPitch = true;
        }
    }

    const MatchView &m;
    bool shootOut = false;
    std::optional<int> g1;
    std::optional<int> g2;
    Side sides[2];
    QStringList problems;
};

void emitProblems(ResultTable &table, PageRows &rows)
{
    const Texts &t = texts();
    table.prepareTable({t.hDate, t.hHome, t.hAway, t.hScore, t.hProblem}, 120, int(rows.size()));
    table.setColumnWidth(0, 90);
    table.setColumnWidth(1, 150);
    table.setColumnWidth(2, 150);
    table.setColumnWidth(3, 60);
    table.setColumnWidth(4, 600);
    int r = 0;
    for (const PageRow *row : rows.rows()) {
        for (int c = PDate; c <= PProblem; ++c)
            table.setCell(r, c, row->text(c));
        table.setCell(r, 5, QString(PageCode::Report) + row->text(PFile));
        ++r;
    }
    rows.clear();
    table.sortByColumn(0, Qt::AscendingOrder);
}

// A team's text number as the comparison of texts sees it: the null text is the empty one.
TextId sameText(TextId id)
{
    return id == TextTable::nullText ? TextTable::emptyText : id;
}

} // namespace

void checkReports(const PageContext &context, PageRows &rows)
{
    if (context.table) {
        emitProblems(*context.table, rows);
        return;
    }
    const MatchView &m = *context.match;
    const QStringList problems = MatchCheck(m).run();
    for (const QString &problem : problems) {
        PageRow &row = rows.newRow();
        row.setText(PDate, dateCell(m.date));
        row.setText(PTeam1, m.team1);
        row.setText(PTeam2, m.team2);
        row.setText(PScore, scoreText(m));
        row.setText(PProblem, problem);
        row.setText(PFile, context.match->fileName);
    }
}

void findDuplicates(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        // Kept by place; grouped once, in the emit phase.
        rows.kept().push_back(context.match.index());
        return;
    }

    // A match by its day and its two teams in either order (by text number: equal texts have
    // equal numbers), then its place in the store.
    struct Entry
    {
        qint64 day;
        TextId low;
        TextId high;
        qsizetype index;
        bool operator<(const Entry &o) const
        {
            return std::tie(day, low, high, index) < std::tie(o.day, o.low, o.high, o.index);
        }
        bool sameMatch(const Entry &o) const
        {
            return day == o.day && low == o.low && high == o.high;
        }
    };
    const MatchStore &store = context.match.store();
    std::vector<Entry> entries;
    entries.reserve(rows.kept().size());
    for (const qsizetype i : rows.kept()) {
        const MatchRecord &r = store.record(i);
        const TextId a = sameText(r.texts[Team1Field]);
        const TextId b = sameText(r.texts[Team2Field]);
        entries.push_back({r.julianDay, std::min(a, b), std::max(a, b), i});
    }
    rows.clear();
    std::sort(entries.begin(), entries.end());

    // Groups of two or more, by date and then in the order their first match came.
    struct Group
    {
        QString date; // ISO
        size_t begin;
        size_t end;
    };
    std::vector<Group> groups;
    qsizetype shown = 0;
    for (size_t begin = 0; begin < entries.size();) {
        size_t end = begin + 1;
        while (end < entries.size() && entries[end].sameMatch(entries[begin]))
            ++end;
        if (end - begin > 1) {
            groups.push_back(
                {store.at(entries[begin].index).date.toString(Qt::ISODate).left(10), begin, end});
            shown += qsizetype(end - begin);
        }
        begin = end;
    }
    std::sort(groups.begin(), groups.end(), [&entries](const Group &a, const Group &b) {
        if (a.date != b.date)
            return a.date < b.date;
        return entries[a.begin].index < entries[b.begin].index;
    });

    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable({t.hGroup, t.hDate, t.hHome, t.hAway, t.hScore, t.hTournament, t.hFile}, 120,
                       int(shown));
    table.setColumnWidth(0, 60);
    table.setColumnWidth(1, 90);
    table.setColumnWidth(4, 60);
    table.setColumnWidth(6, 160);
    int r = 0;
    int number = 0;
    for (const Group &group : groups) {
        ++number;
        const QString date = dateCell(QDate::fromString(group.date, Qt::ISODate));
        for (size_t k = group.begin; k < group.end; ++k) {
            const MatchView m = store.at(entries[k].index);
            const QString fileName = m.fileName;
            table.setCell(r, 0, paddedCount(number));
            table.setCell(r, 1, date);
            table.setCell(r, 2, m.team1);
            table.setCell(r, 3, m.team2);
            table.setCell(r, 4, scoreText(m));
            table.setCell(r, 5, m.tournament);
            table.setCell(r, 6, fileName);
            table.setCell(r, 7, QString(PageCode::Report) + fileName);
            ++r;
        }
    }
    table.sortByColumn(0, Qt::AscendingOrder);
}
