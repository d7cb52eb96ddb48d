#pragma once

#include "model/competitionrules.h"

#include <QList>
#include <QString>

// One team's totals over the matches of a table.
struct TeamRecord
{
    QString name;
    qint64 wins = 0;
    qint64 draws = 0;
    qint64 losses = 0;
    qint64 scored = 0;
    qint64 conceded = 0;
    qint64 awayScored = 0;
    qint64 deducted = 0; // points taken by the league
};

// What team did against opponent, summed over their matches (indices into the team list).
struct Meeting
{
    qsizetype team = 0;
    qsizetype opponent = 0;
    qint64 wins = 0;
    qint64 draws = 0;
    qint64 losses = 0;
    qint64 scored = 0;
    qint64 conceded = 0;
};

// Points of a record under rules, the deducted points taken off.
qint64 pointsOf(const TeamRecord &team, const CompetitionRules &rules);

// What decides between teams level on points under rules, in order, ending with the name.
QList<TieBreak> rankingChain(const CompetitionRules &rules);
// How a criterion that looks at one team at a time (not a head-to-head one) orders a and b:
// positive when a ranks before b, 0 when they are level under it.
int compareOn(TieBreak criterion, const TeamRecord &a, const TeamRecord &b);
// For a criterion compareOn orders by one number per team (neither the goal average nor the name):
// that number, the larger ranking first, so that compareOn is the sign of the difference.
qint64 criterionValue(TieBreak criterion, const TeamRecord &team);

// The order of teams under rules, as indices into teams: points first, then the tie-break chain,
// then the name. The head-to-head criteria form blocks of consecutive entries in the chain: a
// block is applied to the mini-table of the matches among the teams still level, and re-applied
// to any smaller group it leaves level before the chain goes on. meetings is only consulted by
// head-to-head criteria and may be empty otherwise.
QList<qsizetype> rankTeams(const QList<TeamRecord> &teams, const QList<Meeting> &meetings,
                           const CompetitionRules &rules);
