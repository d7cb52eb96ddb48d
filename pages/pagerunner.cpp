#include "pages/pagerunner.h"

#include "model/shares.h"
#include "pages/analysis.h"
#include "strings/texts.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <atomic>

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

namespace {

// Below this many matches a page is gathered on one thread.
constexpr qsizetype parallelMatches = 10000;

} // namespace

PageRun runPage(const MatchStore &store, const MatchFilter &filter, PageBuilder builder,
                const PageParams &params, ResultTable &table, const PageProgress &progress,
                PageMerge merge)
{
    PageRun run;
    QElapsedTimer timer;
    timer.start();
    const MatchSelection selection(filter, store);
    const int parts =
        merge && store.count() >= parallelMatches ? std::max(1, QThread::idealThreadCount()) : 1;
    std::vector<PageRows> rows(static_cast<size_t>(parts));
    std::vector<qsizetype> selected(rows.size(), 0);
    std::atomic<qsizetype> examined{0};
    // Part k gathers the matches [count * k / parts, count * (k + 1) / parts).
    const auto gather = [&](int k) {
        PageContext context;
        context.params = params;
        context.filter = &filter;
        const qsizetype from = store.count() * k / parts, till = store.count() * (k + 1) / parts;
        for (qsizetype i = from; i < till; ++i) {
            if (selection.selects(store.record(i))) {
                ++selected[size_t(k)];
                context.match.set(store, i);
                builder(context, rows[size_t(k)]);
            }
            if ((i - from + 1) % 1000 == 0) {
                const qsizetype all = examined += 1000;
                if (k == 0 && progress)
                    progress(all);
            }
        }
    };
    runShares(parts, gather);
    for (int k = 1; k < parts; ++k)
        merge(rows[0], rows[size_t(k)]);
    run.examined = store.count();
    for (const qsizetype n : selected)
        run.selected += n;
    run.accumulateMs = timer.elapsed();

    if (store.isEmpty())
        return run;
    PageContext context;
    context.params = params;
    context.filter = &filter;
    context.table = &table;
    context.match.set(store, 0);
    builder(context, rows[0]);
    run.emitted = true;
    return run;
}

void sortByDay(const MatchStore &store, std::vector<qsizetype> &matches)
{
    const auto dayOf = [&store](qsizetype m) { return store.record(m).julianDay; };
    const auto byDay = [&dayOf](qsizetype a, qsizetype b) { return dayOf(a) < dayOf(b); };
    if (matches.empty())
        return;
    // Seasons span far fewer days than they have matches: they are counted out by day, in time
    // that grows with the matches; a selection spread thin over the centuries is sorted.
    const auto [first, last] = std::minmax_element(matches.begin(), matches.end(), byDay);
    const qint64 firstDay = dayOf(*first);
    const quint64 days = quint64(dayOf(*last) - firstDay) + 1;
    if (days > 4 * quint64(matches.size()) + 1024) {
        std::stable_sort(matches.begin(), matches.end(), byDay);
        return;
    }
    std::vector<size_t> start(size_t(days) + 1, 0); // per day: where its matches go
    for (const qsizetype m : matches)
        ++start[size_t(dayOf(m) - firstDay) + 1];
    for (size_t d = 1; d < start.size(); ++d)
        start[d] += start[d - 1];
    std::vector<qsizetype> sorted(matches.size());
    for (const qsizetype m : matches)
        sorted[start[size_t(dayOf(m) - firstDay)]++] = m;
    matches = std::move(sorted);
}
