#include "pages/pagerunner.h"

#include "strings/texts.h"

#include <QElapsedTimer>

namespace {

bool selects(const MatchFilter &filter, bool allTournaments, bool allRounds, const MatchData &match)
{
    if (!match.date.isValid() || match.date < filter.from || match.date > filter.till)
        return false;
    if (!allRounds && match.round != filter.round)
        return false;
    return allTournaments || match.tournament == filter.tournament;
}

} // namespace

MatchFilter::MatchFilter() : tournament(texts().allTournaments), round(texts().allRounds) {}

bool MatchFilter::allTournaments() const
{
    return tournament == texts().allTournaments;
}

bool MatchFilter::allRounds() const
{
    return round == texts().allRounds;
}

bool MatchFilter::passes(const MatchData &match) const
{
    return selects(*this, allTournaments(), allRounds(), match);
}

PageRun runPage(const MatchStore &store, const MatchFilter &filter, PageBuilder builder,
                const PageParams &params, ResultTable &table, const PageProgress &progress)
{
    PageRun run;
    PageRows rows;
    PageContext context;
    context.params = params;
    context.filter = &filter;

    QElapsedTimer timer;
    timer.start();
    const bool all = filter.allTournaments();
    const bool allRounds = filter.allRounds();
    for (const Match &match : store.matches()) {
        const MatchData &m = *match;
        ++run.examined;
        if (selects(filter, all, allRounds, m)) {
            ++run.selected;
            context.match = &m;
            builder(context, rows);
        }
        if (progress && run.examined % 1000 == 0)
            progress(run.examined);
    }
    run.accumulateMs = timer.elapsed();

    if (store.isEmpty())
        return run;
    const MatchData &first = *store.matches().constFirst();
    context.table = &table;
    context.match = &first;
    builder(context, rows);
    run.emitted = true;
    return run;
}
