#pragma once

#include "pages/pagerunner.h"

#include <QString>

// The line shown above a page's table: what the page lists and over which matches, as in
// "Матчи команды «Спартак» — Высшая лига, 01.03.2024–30.10.2024". link is the page's link (code
// and argument); search is the text of a person search. rulesName, when not empty, names the
// rules the standings follow. A drill-down of a player that merges namesakes says so.
QString pageCaption(const QString &link, const MatchFilter &filter, const QString &search = {},
                    const QString &rulesName = {});
