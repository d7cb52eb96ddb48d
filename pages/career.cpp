#include "pages/statpages.h"

#include "pages/builders.h"
#include "pages/pagecodes.h"
#include "pages/rowtext.h"
#include "strings/stattexts.h"
#include "strings/texts.h"

#include <algorithm>

// A player's career: his appearances and events, one row per tournament and team.

namespace {

enum CareerCount {
    Matches = 0,
    Starts,
    Minutes,
    Goals,
    Penalties,
    Yellow,
    Red,
    FirstDay, // Julian days of the row's first and last match
    LastDay,
    CareerCountSize
};

// The row of a tournament and a team.
PageRow &careerRow(PageRows &rows, const MatchView &m, TextId team)
{
    const TextId tournament = keyText(m.textId(TournamentField));
    PageRow *row = rows.index().find(m.table, tournament, keyText(team));
    if (!row) {
        row = &rows.newRow();
        rows.index().insert(tournament, keyText(team), row);
        row->setText(0, m.tournament);
        row->setText(1, m.text(team));
        row->setCount(FirstDay, m.record.julianDay);
        row->setCount(LastDay, m.record.julianDay);
    }
    row->setCount(FirstDay, std::min<qint64>(row->count(FirstDay), m.record.julianDay));
    row->setCount(LastDay, std::max<qint64>(row->count(LastDay), m.record.julianDay));
    return *row;
}

void accumulateCareer(const MatchView &m, const QString &who, bool byId, PageRows &rows)
{
    const auto isHim = [&](TextId id, TextId name) { return m.text(byId ? id : name) == who; };
    // His appearances: the team, whether he started, and their place in appearanceMinutes' order.
    struct Appearance
    {
        TextId team;
        bool starter;
        size_t place;
    };
    static thread_local std::vector<Appearance> seen;
    seen.clear();
    size_t place = 0;
    for (const auto &[players, team] : {std::pair(&m.players1, m.textId(Team1Field)),
                                        std::pair(&m.players2, m.textId(Team2Field))}) {
        for (qsizetype i = 0; i < players->size(); ++i, ++place) {
            if (isHim(players->item(i).id, players->item(i).name))
                seen.push_back({team, true, place});
        }
    }
    for (qsizetype i = 0; i < m.events.size(); ++i) {
        const EventRecord &e = m.events.item(i);
        const EventKind kind = rows.eventKind(m.table, e.texts[EventTypeField]);
        if (kind == EventKind::Substitution) {
            if (isHim(e.texts[EventPlayerId2Field], e.texts[EventPlayer2Field]))
                seen.push_back({e.texts[EventTeamField], false, place});
            ++place;
            continue;
        }
        if (!isHim(e.texts[EventPlayerIdField], e.texts[EventPlayerField]))
            continue;
        PageRow &row = careerRow(rows, m, e.texts[EventTeamField]);
        if (kind == EventKind::Goal || kind == EventKind::PenaltyGoal)
            row.addCount(Goals, 1);
        if (kind == EventKind::PenaltyGoal)
            row.addCount(Penalties, 1);
        if (kind == EventKind::Caution)
            row.addCount(Yellow, 1);
        if (kind == EventKind::SendingOff || kind == EventKind::SecondCaution)
            row.addCount(Red, 1);
    }
    if (seen.empty())
        return;

    static thread_local std::vector<int> played;
    const bool usable = appearanceMinutes(m, rows, played);
    if (!usable)
        ++rows.tally();
    for (const Appearance &a : seen) {
        PageRow &row = careerRow(rows, m, a.team);
        // A match counts once per row, however often he is named in it.
        const quint64 tag = quint64(m.index()) + 1;
        if (row.tag() != tag) {
            row.setTag(tag);
            row.addCount(Matches, 1);
        }
        if (a.starter)
            row.addCount(Starts, 1);
        if (usable)
            row.addCount(Minutes, played[a.place]);
    }
}

QString dayText(qint64 julianDay)
{
    return julianDay == 0 ? QString() : listDateText(QDate::fromJulianDay(julianDay));
}

void emitCareer(const PageContext &context, PageRows &rows, bool byId)
{
    const Texts &t = texts();
    const StatTexts &st = statTexts();
    QList<const PageRow *> list(rows.rows().cbegin(), rows.rows().cend());
    std::stable_sort(list.begin(), list.end(), [](const PageRow *a, const PageRow *b) {
        if (a->count(FirstDay) != b->count(FirstDay))
            return a->count(FirstDay) < b->count(FirstDay);
        return a->count(LastDay) < b->count(LastDay);
    });

    ResultTable &table = *context.table;
    table.prepareTable({t.hTournament, t.hTeam, st.hFirstMatch, st.hLastMatch, t.hMatches,
                        st.hStarts, st.hMinutes, t.hGoals, st.hPenalties, t.hYellow, t.hRed},
                       60, int(list.size()) + (list.isEmpty() ? 0 : 1));
    table.setColumnWidth(0, 150);
    table.setColumnWidth(1, 150);
    table.setColumnWidth(2, 90);
    table.setColumnWidth(3, 90);
    if (rows.tally() > 0)
        table.setFootnote(st.minutesUnusable.arg(rows.tally()));
    const QString &who = context.params.argument;
    const QString link = personLink(PageCode::PlayerMatches, byId, who, who);
    std::array<qint64, CareerCountSize> total{};
    total[FirstDay] = list.isEmpty() ? 0 : list.first()->count(FirstDay);
    int r = 0;
    const auto writeCounts = [&](const auto &count) {
        table.setCell(r, 4, paddedCount(count(Matches)));
        table.setCell(r, 5, paddedCount(count(Starts)));
        table.setCell(r, 6, paddedCount(count(Minutes)));
        table.setCell(r, 7, paddedCount(count(Goals)));
        table.setCell(r, 8, paddedCount(count(Penalties)));
        table.setCell(r, 9, paddedCount(count(Yellow)));
        table.setCell(r, 10, paddedCount(count(Red)));
        table.setCell(r, 11, link);
    };
    for (const PageRow *row : list) {
        table.setCell(r, 0, row->text(0));
        table.setCell(r, 1, row->text(1));
        table.setCell(r, 2, dayText(row->count(FirstDay)));
        table.setCell(r, 3, dayText(row->count(LastDay)));
        writeCounts([row](int i) { return row->count(i); });
        for (int i = Matches; i <= Red; ++i)
            total[size_t(i)] += row->count(i);
        total[LastDay] = std::max(total[LastDay], row->count(LastDay));
        ++r;
    }
    if (!list.isEmpty()) {
        table.setCell(r, 0, st.total);
        table.setCell(r, 1, QString());
        table.setCell(r, 2, dayText(total[FirstDay]));
        table.setCell(r, 3, dayText(total[LastDay]));
        writeCounts([&total](int i) { return total[size_t(i)]; });
    }
    rows.clear();
}

void career(const PageContext &context, PageRows &rows, bool byId)
{
    if (context.table)
        emitCareer(context, rows, byId);
    else if (!context.params.argument.isEmpty())
        accumulateCareer(*context.match, context.params.argument, byId, rows);
}

} // namespace

void playerCareer(const PageContext &context, PageRows &rows)
{
    career(context, rows, false);
}

void playerCareerById(const PageContext &context, PageRows &rows)
{
    career(context, rows, true);
}

QString careerLink(const QString &rowLink)
{
    const LinkParts parts = splitLink(rowLink);
    const bool byId =
        parts.code == PageCode::PlayerMatchesById || parts.code == PageCode::ScorerMatchesById;
    return QString(byId ? PageCode::CareerById : PageCode::Career) + parts.argument;
}
