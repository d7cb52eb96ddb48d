#pragma once

#include "model/competitionrules.h"
#include "pages/pagecodes.h"
#include "pages/pagerunner.h"

#include <QString>

// A request for a page, as the window and the command line both make it.
struct PageRequest
{
    const PageCodeEntry *entry = nullptr; // null: no such page
    QString argument;       // the link's argument (for pages that take one), or the search text
    QString menuChoice;     // the context-menu entry the page was opened with, else empty
    MatchFilter filter;     // the selection, "Учитывать ID" included
    CompetitionRules rules; // the rules of the filter's tournament
};

// The request of a page named by its short name ("standings") or by a link as the window follows
// it ("taf1_3"); the entry is null for neither. Filter, rules and menu choice are left to the
// caller.
PageRequest pageRequest(const QString &nameOrLink);

// What the request's builder is given. Only the pages that count points (see the page table) get
// the request's rules; every other page gets the standard ones.
PageParams pageParams(const PageRequest &request);

// Runs the request's builder over the matches of its filter into table (see runPage above).
PageRun runPage(const MatchStore &store, const PageRequest &request, ResultTable &table,
                const PageProgress &progress = PageProgress());
