#pragma once

#include "model/matchstore.h"
#include "pages/pagerunner.h"
#include "pages/teamrecords.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The analysis pages: report checks, duplicates, head-to-head, home, away and form tables, and
// the course of a season. Builders in the same shape as those of builders.h.

// Report consistency check: one row per problem found in a selected report.
void checkReports(const PageContext &context, PageRows &rows);
// Matches of one date and the same two teams (either order), grouped.
void findDuplicates(const PageContext &context, PageRows &rows);

// Head-to-head: the record of each of two teams against the other, then their matches. The
// argument names both teams, joined by headToHeadSeparator.
void headToHead(const PageContext &context, PageRows &rows);
inline constexpr QChar headToHeadSeparator = u'\t';
QString headToHeadArgument(const QString &team, const QString &opponent);
// The teams that played team in the matches filter selects, in locale-aware order.
QStringList opponentsOf(const MatchStore &store, const MatchFilter &filter, const QString &team);
// Every team of the matches filter selects, in locale-aware order.
QStringList teamsOf(const MatchStore &store, const MatchFilter &filter);

// The standings counting only home (team1) or away (team2) matches, and the standings of each
// team's last N matches (N from the argument, 5 when it gives none) with the results as letters.
void homeTable(const PageContext &context, PageRows &rows);
void awayTable(const PageContext &context, PageRows &rows);
void formTable(const PageContext &context, PageRows &rows);
inline constexpr int defaultFormLength = 5;
// The context menu of a table whose rows are teams (codes: empty = the row's own link, a page
// code = that page, "hh01_" = head-to-head of the row's team with an opponent to choose).
void setTeamMenu(ResultTable &table, bool withStandings);

// The standings' builder over one side of each match (the standings, home and away tables).
void countStandings(const PageContext &context, PageRows &rows, StandingsSide side);
// Writes standings as the standings page shows them; extraHeaders name columns after the points
// (and the deductions), which extraCells fills for each team.
void writeStandings(ResultTable &table, const Standings &standings,
                    const QStringList &extraHeaders = {},
                    const std::function<QStringList(const TeamRecord &)> &extraCells = {});

// The rounds of tournament ("<Все турниры>": of every tournament) in order of their first match
// by date (undated last, then store order); the empty round is left out.
QStringList roundsOf(const MatchStore &store, const QString &tournament);

// The course of a season: each team's points and league position after each of its matches,
// with every match counted that has a score.
struct RaceStep
{
    QString team;
    int number = 0; // 1 for the team's first match
    QDate date;
    QString opponent;
    bool home = true;
    int scored = 0;
    int conceded = 0;
    int points = 0;   // after this match (after every match of its day)
    int position = 0; // in the table of every team of the selection after that day
    QString fileName;
};
struct GoalsDay
{
    QDate date;
    int matches = 0;
    int goals = 0;
    double average = 0; // goals per match of the day
    double running = 0; // goals per match from the first day to this one
};
struct SeasonRace
{
    QStringList teams;     // in the order of the final table
    QList<RaceStep> steps; // team by team in that order, each in match order
    QList<GoalsDay> days;
    int teamCount() const { return int(teams.size()); }
};
// The race of the matches filter selects under rules; it ends where the standings of the same
// selection stand.
SeasonRace seasonRace(const MatchStore &store, const MatchFilter &filter,
                      const CompetitionRules &rules);

// The same figures as table pages.
void calculateSeasonRace(const PageContext &context, PageRows &rows);
void calculateSeasonGoals(const PageContext &context, PageRows &rows);
