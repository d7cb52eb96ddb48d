#pragma once

#include "model/match.h"

#include <QString>

// How the score line reads: the plain score, or with the extra time and the shoot-out in
// brackets as the editor words them ("3:3 (д.в. 1:1, пен. 4:2)").
enum class ReportScore { Plain, Full };

// The report of one match as the HTML document the report view shows. Every value taken from the
// match is escaped, so a name like "A<b>" shows as written. The command line writes the plain
// score, the window the full one.
QString matchReportHtml(const MatchData &match, ReportScore score = ReportScore::Plain);
