#include "pages/undated.h"

#include "pages/pagecodes.h"
#include "strings/texts.h"

void undatedMatches(const PageContext &context, PageRows &rows)
{
    // The filter selects dated matches only: the undated ones are read in the emit phase.
    if (!context.table)
        return;
    rows.clear();
    const Texts &t = texts();
    const MatchStore &store = context.match.store();
    const MatchFilter filter = context.filter ? *context.filter : MatchFilter();
    std::vector<qsizetype> kept;
    for (qsizetype i = 0; i < store.count(); ++i) {
        if (store.record(i).julianDay != 0)
            continue;
        const MatchView match = store.at(i);
        if ((filter.allTournaments() || match.tournament == filter.tournament) &&
            (filter.allRounds() || match.round == filter.round))
            kept.push_back(i);
    }
    ResultTable &table = *context.table;
    table.prepareTable({t.hTournament, t.hRound, t.hHome, t.hAway, t.hScore, t.hFile}, 60,
                       int(kept.size()));
    for (const int c : {0, 2, 3, 5})
        table.setColumnWidth(c, 120);
    int r = 0;
    for (const qsizetype i : kept) {
        const MatchView match = store.at(i);
        table.setCell(r, 0, match.tournament);
        table.setCell(r, 1, match.round);
        table.setCell(r, 2, match.team1);
        table.setCell(r, 3, match.team2);
        table.setCell(r, 4, scoreText(match));
        table.setCell(r, 5, match.fileName);
        table.setCell(r, 6, QString(PageCode::Report) + match.fileName);
        ++r;
    }
    table.sortByColumn(0, Qt::AscendingOrder);
}

qsizetype undatedCount(const MatchStore &store)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < store.count(); ++i)
        count += store.record(i).julianDay == 0 ? 1 : 0;
    return count;
}
