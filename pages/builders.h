#pragma once

#include "model/match.h"
#include "pages/pagerunner.h"

// Match lists: one row per match, each leading to the match's report.
void calculateMatches(const PageContext &context, PageRows &rows);
void stadiumMatches(const PageContext &context, PageRows &rows);
void refereeMatches(const PageContext &context, PageRows &rows);
void coachMatches(const PageContext &context, PageRows &rows);
void playerMatches(const PageContext &context, PageRows &rows);
void teamMatches(const PageContext &context, PageRows &rows);
void goalMatches(const PageContext &context, PageRows &rows);
// The same lists of one person chosen by ID (the link's argument), with "Учитывать ID" on.
void playerMatchesById(const PageContext &context, PageRows &rows);
void goalMatchesById(const PageContext &context, PageRows &rows);
void coachMatchesById(const PageContext &context, PageRows &rows);

// The date as "yyyy<sep>MM<sep>dd" (sep may be empty), as QDate::toString writes it, quickly.
QString dateText(const QDate &date, QStringView separator);

// The link of a person's row to his matches: the page of code by name, or with byId and an ID
// the page that selects by the ID.
QString personLink(QLatin1StringView code, bool byId, const QString &name, const QString &id);

// The shared match row of the drill-down lists and the data checks, keyed by date and teams (as
// numbers, so that no two different matches share a key).
QString matchRowKey(const MatchView &match);
// A date as the match lists show it: yyyy/MM/dd.
QString listDateText(const QDate &date);
PageRow &addMatchRow(PageRows &rows, const MatchView &match, const QString &extra);
bool playsInMatch(const MatchView &match, const QString &name);
bool playsInMatchById(const MatchView &match, const QString &id);
int goalsInMatch(const MatchView &match, const QString &name, bool byId = false);

// Standings and goalscorers.
void calculateTable(const PageContext &context, PageRows &rows);
void calculateGoals(const PageContext &context, PageRows &rows);

// Players and teams.
void calculatePlayers(const PageContext &context, PageRows &rows);
void mergePlayers(PageRows &into, PageRows &later);
void calculateTeams(const PageContext &context, PageRows &rows);
void teamPlayers(const PageContext &context, PageRows &rows);

// Referees, coaches and stadiums.
void calculateReferees(const PageContext &context, PageRows &rows);
void calculateCoaches(const PageContext &context, PageRows &rows);
void calculateStadiums(const PageContext &context, PageRows &rows);

// Data checks.
void verifyPlayers(const PageContext &context, PageRows &rows);
void verifyPlayers2(const PageContext &context, PageRows &rows);
void verifyAttendance(const PageContext &context, PageRows &rows);
