#include "pages/pagerunner.h"

#include "pages/analysis.h"
#include "strings/texts.h"

#include <QElapsedTimer>

MatchFilter::MatchFilter() : tournament(texts().allTournaments), round(texts().allRounds) {}

bool MatchFilter::allTournaments() const
{
    return tournament == texts().allTournaments;
}

bool MatchFilter::allRounds() const
{
    return round == texts().allRounds;
}

MatchSelection::MatchSelection(const MatchFilter &filter, const MatchStore &store)
    : m_from(filter.from.isValid() ? filter.from.toJulianDay() : 0),
      m_till(filter.till.isValid() ? filter.till.toJulianDay() : -1),
      m_allTournaments(filter.allTournaments()), m_allRounds(filter.allRounds()),
      m_tournament(m_allTournaments ? TextTable::noText : store.texts().find(filter.tournament)),
      m_round(m_allRounds ? TextTable::noText : store.texts().find(filter.round))
{
    if (!m_allRounds && filter.upToRound) {
        const QStringList rounds = roundsOf(store, filter.tournament);
        const qsizetype last = rounds.indexOf(filter.round);
        for (qsizetype i = 0; i < last; ++i) {
            const TextId id = store.texts().find(rounds.at(i));
            if (id >= m_rounds.size())
                m_rounds.resize(size_t(store.texts().size()));
            m_rounds[id] = true;
        }
    }
    // The null text is looked for as the empty one, which selects both.
    if (m_tournament == TextTable::nullText)
        m_tournament = TextTable::emptyText;
    if (m_round == TextTable::nullText)
        m_round = TextTable::emptyText;
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
    const MatchSelection selection(filter, store);
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
