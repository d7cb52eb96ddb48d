#pragma once

#include "model/competitionrules.h"
#include "model/matchstore.h"
#include "pages/pagerows.h"
#include "pages/resulttable.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// Which matches a page looks at. The tournament text "<Все турниры>" selects every tournament, any
// other text (the empty name included) the matches of exactly that tournament. Both dates are
// inclusive and an undated match is never selected. The round "<Все туры>" selects every round,
// any other text the matches of exactly that round, or with upToRound the matches of that round
// and of every round first played before it (roundsOf's order).
struct MatchFilter
{
    MatchFilter();

    QString tournament;
    QDate from;
    QDate till;
    bool considerId = false;
    QString round;
    bool upToRound = false;

    bool allTournaments() const;
    bool allRounds() const;
};

// A filter in a store's terms, made once for a pass over the store: its texts as the store's text
// numbers, its dates as Julian days. It is where the filter's rule is applied: a null text counts
// as the empty one, as QString compares them.
class MatchSelection
{
public:
    MatchSelection(const MatchFilter &filter, const MatchStore &store);

    bool selects(const MatchRecord &r) const
    {
        if (r.julianDay == 0 || r.julianDay < m_from || r.julianDay > m_till)
            return false;
        if (!m_allRounds && !sameText(r.texts[RoundField], m_round) &&
            !(r.texts[RoundField] < m_rounds.size() && m_rounds[r.texts[RoundField]]))
            return false;
        return m_allTournaments || sameText(r.texts[TournamentField], m_tournament);
    }

private:
    static bool sameText(TextId id, TextId wanted)
    {
        return id == wanted || (wanted == TextTable::emptyText && id == TextTable::nullText);
    }

    qint64 m_from;
    qint64 m_till;
    bool m_allTournaments;
    bool m_allRounds;
    TextId m_tournament;
    TextId m_round;
    std::vector<bool> m_rounds; // by text number: the rounds before m_round with upToRound
};

// Puts matches (places in the store) in date order, those of one day in the order they came in:
// in store order when they came in store order, as a page gathers them.
void sortByDay(const MatchStore &store, std::vector<qsizetype> &matches);

// What a builder learns about the request.
struct PageParams
{
    QString menuChoice; // the context-menu entry the page was opened with, else empty
    QString argument;   // the link's argument for the pages that take one
    bool considerId = false;
    CompetitionRules rules; // the rules of the filter's tournament, for the standings
};

// The match a builder is called for: its record at once, the view of every field (*match,
// match->team1) made when first asked for, so that a builder that counts by text numbers alone
// reads no more of the record than it needs.
class MatchHandle
{
public:
    void set(const MatchStore &store, qsizetype index)
    {
        m_store = &store;
        m_index = index;
        m_view.reset();
    }
    const MatchStore &store() const { return *m_store; }
    const MatchRecord &record() const { return m_store->record(m_index); }
    qsizetype index() const { return m_index; }
    const MatchView &operator*() const
    {
        if (!m_view)
            m_view.emplace(*m_store, m_index);
        return *m_view;
    }
    const MatchView *operator->() const { return &**this; }

private:
    const MatchStore *m_store = nullptr;
    qsizetype m_index = 0;
    mutable std::optional<MatchView> m_view;
};

// One builder call. In the accumulate phase table is null and match is a selected match; in the
// emit phase table is set and match is to be ignored (it is the store's first match).
struct PageContext
{
    ResultTable *table = nullptr;
    MatchHandle match;
    PageParams params;
    const MatchFilter *filter = nullptr; // the selection the page runs over
};

// A page: called once per selected match (accumulate) and once more with a table (emit).
using PageBuilder = void (*)(const PageContext &context, PageRows &rows);

// Joins what a page gathered over a later stretch of the matches (later) into what it gathered
// over the stretch before (into), as if one had gathered both in order. A page that has one is
// gathered over a large store on every core, a stretch each.
using PageMerge = void (*)(PageRows &into, PageRows &later);

// Called after every 1000 matches examined with the number examined so far.
using PageProgress = std::function<void(qsizetype examined)>;

struct PageRun
{
    qint64 accumulateMs = 0; // time of the filter pass alone
    qsizetype examined = 0;
    qsizetype selected = 0;
    bool emitted = false; // false when the store is empty: the table was not touched
};

// Runs builder over the matches of store that pass filter, in store order (with merge, in
// stretches on every core, joined in order), then (when the store holds at least one match) its
// emit phase into table. progress is called on the calling thread only.
PageRun runPage(const MatchStore &store, const MatchFilter &filter, PageBuilder builder,
                const PageParams &params, ResultTable &table,
                const PageProgress &progress = PageProgress(), PageMerge merge = nullptr);
