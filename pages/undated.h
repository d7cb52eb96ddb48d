#pragma once

#include "model/matchstore.h"
#include "pages/pagerunner.h"

// The matches without a date, which every other page leaves out: one row per match of the
// filter's tournament and round (its dates do not apply), each leading to the match's report.
void undatedMatches(const PageContext &context, PageRows &rows);

// How many matches of the store have no date.
qsizetype undatedCount(const MatchStore &store);
