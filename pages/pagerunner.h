#pragma once

#include "model/competitionrules.h"
#include "model/matchstore.h"
#include "pages/pagerows.h"
#include "pages/resulttable.h"

#include <QDate>
#include <QString>

#include <functional>

// Which matches a page looks at. The tournament text "<Все турниры>" selects every tournament, any
// other text (the empty name included) the matches of exactly that tournament. Both dates are
// inclusive and an undated match is never selected. The round "<Все туры>" selects every round,
// any other text the matches of exactly that round.
struct MatchFilter
{
    MatchFilter();

    QString tournament;
    QDate from;
    QDate till;
    bool considerId = false;
    QString round;

    bool allTournaments() const;
    bool allRounds() const;
    bool passes(const MatchView &match) const;
    bool passes(const MatchData &match) const;
};

// What a builder learns about the request.
struct PageParams
{
    QString menuChoice; // the context-menu entry the page was opened with, else empty
    QString argument;   // the link's argument for the pages that take one
    bool considerId = false;
    CompetitionRules rules; // the rules of the filter's tournament, for the standings
};

// One builder call. In the accumulate phase table is null and match is a selected match; in the
// emit phase table is set and match is to be ignored.
struct PageContext
{
    ResultTable *table = nullptr;
    const MatchView *match = nullptr;
    PageParams params;
    const MatchFilter *filter = nullptr; // the selection the page runs over
};

// A page: called once per selected match (accumulate) and once more with a table (emit).
using PageBuilder = void (*)(const PageContext &context, PageRows &rows);

// Called after every 1000 matches examined with the number examined so far.
using PageProgress = std::function<void(qsizetype examined)>;

struct PageRun
{
    qint64 accumulateMs = 0; // time of the filter pass alone
    qsizetype examined = 0;
    qsizetype selected = 0;
    bool emitted = false; // false when the store is empty: the table was not touched
};

// Runs builder over the matches of store that pass filter, in store order, then (when the store
// holds at least one match) its emit phase into table.
PageRun runPage(const MatchStore &store, const MatchFilter &filter, PageBuilder builder,
                const PageParams &params, ResultTable &table,
                const PageProgress &progress = PageProgress());
