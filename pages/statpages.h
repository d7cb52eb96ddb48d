#pragma once

#include "pages/pagerunner.h"

#include <vector>

// The statistics pages beyond the overview: a player's career, records and runs.

// A player's career: one row per tournament and team he played for, in date order, and a total.
// The argument is the player's name; playerCareerById's is his ID.
void playerCareer(const PageContext &context, PageRows &rows);
void playerCareerById(const PageContext &context, PageRows &rows);
// The biggest wins, the highest-scoring matches, the highest and lowest attendances.
void calculateRecords(const PageContext &context, PageRows &rows);
// Each team's longest runs of results and those still going at the end of the selection.
void calculateRuns(const PageContext &context, PageRows &rows);

// Minutes played. A match lasts 90 minutes, 120 when it went to extra time (an extra-time or
// shoot-out score is given).
int matchLength(const MatchView &m);
// The minutes of each appearance in m, in the order of line-up 1, line-up 2, then the players
// coming on in substitutions in event order. A starter plays from 0 and a substitute from the
// minute he came on, each until he is substituted or sent off or the match ends; a minute is
// its leading number ("90+3" is 90). False when a substitution or sending-off has no minute.
bool appearanceMinutes(const MatchView &m, PageRows &rows, std::vector<int> &minutes);

// The career page of the person whose matches rowLink lists (a players' or scorers' row).
QString careerLink(const QString &rowLink);
