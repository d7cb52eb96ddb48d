#pragma once

#include "model/competitionrules.h"
#include "model/texttable.h"
#include "pages/ranking.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <vector>

class MatchStore;
struct MatchRecord;
struct MatchFilter;

// Which side of a match the standings count.
enum class StandingsSide { Both, Home, Away };

// The results of matches counted per team, teams in the order they were first met. A team is found
// by its text number in the store, and by its name across stores (a null and an empty name are one
// team, as they read the same).
class TeamTally
{
public:
    // Meetings (what each team did against each opponent) are kept only when asked for: the
    // head-to-head criteria need them.
    explicit TeamTally(bool keepMeetings = false) : m_keepMeetings(keepMeetings) {}

    // Counts a match of store from its record alone. A match without any score says nothing about
    // the result and is left out; counting it as 0:0 would invent a draw.
    void add(const MatchStore &store, const MatchRecord &record, StandingsSide side);
    // The index of a team, created (with an empty record) when it is new.
    qsizetype team(const TextTable &table, TextId id);
    // One side's result: team scored against opponent (indices from team()).
    void addResult(qsizetype team, qsizetype opponent, qint64 scored, qint64 conceded, bool away);

    // The teams with at least one result counted, in the order they were first met, and the
    // meetings among them (indices into that list; empty unless kept).
    QList<TeamRecord> teams() const;
    QList<Meeting> meetings() const;
    const TeamRecord &record(qsizetype team) const { return m_teams.at(team); }
    // The number of teams met, counted or not.
    qsizetype teamsMet() const { return m_teams.size(); }
    // What team did against opponent (both indices from team()), when meetings are kept.
    Meeting meeting(qsizetype team, qsizetype opponent) const
    {
        return m_meetings.value(quint64(team) << 32 | quint64(opponent));
    }

private:
    bool m_keepMeetings;
    QList<TeamRecord> m_teams; // every team met, counted or not
    std::vector<bool> m_counted;
    QHash<QString, qsizetype> m_byName;
    const TextTable *m_table = nullptr;
    std::vector<qint32> m_byText; // index + 1 by text number, 0 when not met yet
    QHash<quint64, Meeting> m_meetings;
};

// True when rules need the meetings between teams.
bool usesHeadToHead(const CompetitionRules &rules);

// A table as it stands: the records (deductions as of a date taken off) in ranking order.
struct Standings
{
    CompetitionRules rules;
    QDate asOf;              // deductions that start later are not taken (invalid: every one)
    QList<TeamRecord> teams; // in ranking order
    QList<qint64> points;    // of each team, deductions taken off
    bool anyDeducted = false;
};

// The standings of the teams of tally under rules, with the deductions that start on or before
// asOf.
Standings standingsOf(const TeamTally &tally, const CompetitionRules &rules, const QDate &asOf);

// The team records of the matches filter selects, counted for side, under rules, as of the
// filter's last day: what the standings, the home, away and form tables and the season race count.
Standings teamRecords(const MatchStore &store, const MatchFilter &filter,
                      const CompetitionRules &rules, StandingsSide side = StandingsSide::Both);
