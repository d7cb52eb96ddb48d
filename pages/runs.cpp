#include "pages/statpages.h"

#include "pages/builders.h"
#include "pages/pagecodes.h"
#include "pages/rowtext.h"
#include "strings/stattexts.h"
#include "strings/texts.h"

#include <algorithm>
#include <vector>

// Runs: each team's matches with a score over the selection in date order, and the longest
// unbroken runs of six kinds of result in them, with the runs still going after the last match.

namespace {

struct TeamMatch
{
    TextId team;
    qint32 day;
    qsizetype match;
    qint64 scored;
    qint64 conceded;
    TextId opponent;
};

enum RunKind { Wins, Unbeaten, Winless, Defeats, Scoring, CleanSheets, RunKinds };

bool continues(RunKind kind, const TeamMatch &m)
{
    switch (kind) {
    case Wins:
        return m.scored > m.conceded;
    case Unbeaten:
        return m.scored >= m.conceded;
    case Winless:
        return m.scored <= m.conceded;
    case Defeats:
        return m.scored < m.conceded;
    case Scoring:
        return m.scored > 0;
    case CleanSheets:
        return m.conceded == 0;
    case RunKinds:
        break;
    }
    return false;
}

// A run as the places of its first and last match in the team's list; empty when length is 0.
struct Run
{
    qsizetype length = 0;
    qsizetype first = 0;
    qsizetype last = 0;
};

} // namespace

void calculateRuns(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        rows.kept().push_back(context.match->index());
        return;
    }

    const Texts &t = texts();
    const StatTexts &st = statTexts();
    const MatchStore &store = context.match->store;
    const TextTable &names = store.texts();
    NumberCache score(names, scoreNumber);
    // Team by team (in order of their names), each in date order, same-day matches in store
    // order: the scored matches are put in date order, then counted out by the team's place.
    std::vector<qsizetype> &kept = rows.kept();
    kept.erase(std::remove_if(kept.begin(), kept.end(),
                              [&](qsizetype i) {
                                  const MatchRecord &r = store.record(i);
                                  return names.text(r.texts[Goals1Field]).isEmpty() &&
                                         names.text(r.texts[Goals2Field]).isEmpty();
                              }),
               kept.end());
    sortByDay(store, kept);
    std::vector<TextId> teamOrder;
    std::vector<qint32> place(size_t(names.size()), -1);
    for (const qsizetype i : kept) {
        const MatchRecord &r = store.record(i);
        for (const TextId team : {keyText(r.texts[Team1Field]), keyText(r.texts[Team2Field])}) {
            if (place[team] < 0) {
                place[team] = 0;
                teamOrder.push_back(team);
            }
        }
    }
    std::sort(teamOrder.begin(), teamOrder.end(), [&names](TextId a, TextId b) {
        return QString::compare(names.text(a), names.text(b)) < 0;
    });
    std::vector<size_t> start(teamOrder.size() + 1, 0); // per team: where its matches go
    for (size_t k = 0; k < teamOrder.size(); ++k)
        place[teamOrder[k]] = qint32(k);
    for (const qsizetype i : kept) {
        const MatchRecord &r = store.record(i);
        ++start[size_t(place[keyText(r.texts[Team1Field])]) + 1];
        ++start[size_t(place[keyText(r.texts[Team2Field])]) + 1];
    }
    for (size_t k = 1; k < start.size(); ++k)
        start[k] += start[k - 1];
    StoreArray<TeamMatch> list; // huge pages: a page fault costs as much as writing 4 KB
    list.resize(2 * kept.size());
    for (const qsizetype i : kept) {
        const MatchRecord &r = store.record(i);
        const qint64 g1 = score(r.texts[Goals1Field]), g2 = score(r.texts[Goals2Field]);
        const TextId team1 = keyText(r.texts[Team1Field]), team2 = keyText(r.texts[Team2Field]);
        list[start[size_t(place[team1])]++] = {team1, r.julianDay, i, g1, g2, team2};
        list[start[size_t(place[team2])]++] = {team2, r.julianDay, i, g2, g1, team1};
    }

    const QString kindNames[RunKinds] = {st.runWins,    st.runUnbeaten, st.runWinless,
                                         st.runDefeats, st.runScoring,  st.runCleanSheets};
    qsizetype teams = 0;
    for (size_t k = 0; k < list.size(); ++k)
        teams += k == 0 || list[k].team != list[k - 1].team;

    ResultTable &table = *context.table;
    table.prepareTable({t.hTeam, st.hRun, st.hLength, st.hFrom, st.hTill, st.hGoing, st.hGoingFrom},
                       60, int(teams * RunKinds));
    table.setColumnWidth(0, 150);
    table.setColumnWidth(1, 110);
    for (const int c : {3, 4, 6})
        table.setColumnWidth(c, 200);
    const auto matchText = [&](const TeamMatch &m) {
        return st.runMatch.arg(listDateText(QDate::fromJulianDay(m.day)), names.text(m.opponent));
    };
    int r = 0;
    for (size_t begin = 0; begin < list.size();) {
        size_t end = begin;
        while (end < list.size() && list[end].team == list[begin].team)
            ++end;
        const QString &team = names.text(list[begin].team);
        for (int kind = 0; kind < RunKinds; ++kind) {
            Run longest, current;
            for (size_t k = begin; k < end; ++k) {
                if (!continues(RunKind(kind), list[k])) {
                    current = Run();
                    continue;
                }
                if (current.length == 0)
                    current.first = qsizetype(k);
                current.last = qsizetype(k);
                ++current.length;
                // The first of equally long runs is kept.
                if (current.length > longest.length)
                    longest = current;
            }
            table.setCell(r, 0, team);
            table.setCell(r, 1, kindNames[kind]);
            table.setCell(r, 2, paddedCount(longest.length));
            table.setCell(r, 3,
                          longest.length ? matchText(list[size_t(longest.first)]) : QString());
            table.setCell(r, 4, longest.length ? matchText(list[size_t(longest.last)]) : QString());
            table.setCell(r, 5, paddedCount(current.length));
            table.setCell(r, 6,
                          current.length ? matchText(list[size_t(current.first)]) : QString());
            table.setCell(r, 7, QString(PageCode::TeamMatches) + team);
            ++r;
        }
        begin = end;
    }
    rows.clear();
    table.sortByColumn(0, Qt::AscendingOrder);
}
