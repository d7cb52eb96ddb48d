#pragma once

#include "model/matchstore.h"
#include "pages/pagerunner.h"

#include <QList>
#include <QString>

// The seasons of the matches filter selects, in order. A double round robin meets each home and
// away pairing once a season, so a pairing met again in the same tournament starts the next season;
// the season then begins after the longest pause of the weeks before it (the summer break, not a
// winter one inside the season). A selection without a repeated pairing is one season.
QList<DateSpan> seasonsOf(const MatchStore &store, const MatchFilter &filter);

// A season's name: "2012/13" across the turn of a year, else "2012".
QString seasonName(const DateSpan &season);
