#include "pages/pagerunner.h"

#include "strings/texts.h"

#include <QElapsedTimer>

namespace {

// The filter in the store's terms: texts as numbers, dates as Julian days.
struct StoreFilter
{
    StoreFilter(const MatchFilter &filter, const TextTable &texts)
        : from(filter.from.isValid() ? filter.from.toJulianDay() : 0),
          till(filter.till.isValid() ? filter.till.toJulianDay() : -1),
          allTournaments(filter.allTournaments()), allRounds(filter.allRounds()),
          tournament(allTournaments ? TextTable::noText : texts.find(filter.tournament)),
          round(allRounds ? TextTable::noText : texts.find(filter.round))
    {
        // A null filter text equals the empty one, as QString compares them.
        if (tournament == TextTable::nullText || tournament == TextTable::emptyText)
            tournament = TextTable::emptyText, nullTournament = true;
        if (round == TextTable::nullText || round == TextTable::emptyText)
            round = TextTable::emptyText, nullRound = true;
    }

    bool selects(const MatchRecord &r) const
    {
        if (r.julianDay == 0 || r.julianDay < from || r.julianDay > till)
            return false;
        if (!allRounds && !sameText(r.texts[RoundField], round, nullRound))
            return false;
        return allTournaments || sameText(r.texts[TournamentField], tournament, nullTournament);
    }

    static bool sameText(TextId id, TextId wanted, bool emptyWanted)
    {
        return id == wanted || (emptyWanted && id == TextTable::nullText);
    }

    qint64 from;
    qint64 till;
    bool allTournaments;
    bool allRounds;
    TextId tournament;
    TextId round;
    bool nullTournament = false;
    bool nullRound = false;
};

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

template <typename M> bool passesFilter(const MatchFilter &filter, const M &match)
{
    if (!match.date.isValid() || match.date < filter.from || match.date > filter.till)
        return false;
    if (!filter.allRounds() && match.round != filter.round)
        return false;
    return filter.allTournaments() || match.tournament == filter.tournament;
}

bool MatchFilter::passes(const MatchView &match) const
{
    return passesFilter(*this, match);
}

bool MatchFilter::passes(const MatchData &match) const
{
    return passesFilter(*this, match);
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
    const StoreFilter selection(filter, store.texts());
    for (qsizetype i = 0; i < store.count(); ++i) {
        ++run.examined;
        if (selection.selects(store.record(i))) {
            ++run.selected;
            context.match.set(store, i);
            builder(context, rows);
        }
        if (progress && run.examined % 1000 == 0)
            progress(run.examined);
    }
    run.accumulateMs = timer.elapsed();

    if (store.isEmpty())
        return run;
    context.table = &table;
    context.match.set(store, 0);
    builder(context, rows);
    run.emitted = true;
    return run;
}
