#pragma once

#include "model/match.h"

#include <QString>

// The report of one match as the HTML document the report view shows. Every value taken from the
// match is escaped, so a name like "A<b>" shows as written.
QString matchReportHtml(const MatchData &match);
