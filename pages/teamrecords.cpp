#include "pages/teamrecords.h"

#include "model/matchstore.h"
#include "pages/pagerunner.h"

#include <algorithm>
#include <limits>

namespace {

// Goal totals come from report text: an absurd score must not take a total past what the ranking's
// products of two totals can hold.
void addClamped(qint64 &total, qint64 value)
{
    total = std::clamp(total + value, qint64(std::numeric_limits<qint32>::min()),
                       qint64(std::numeric_limits<qint32>::max()));
}

} // namespace

bool usesHeadToHead(const CompetitionRules &rules)
{
    return std::any_of(rules.tieBreaks.cbegin(), rules.tieBreaks.cend(), isHeadToHead);
}

qsizetype TeamTally::team(const TextTable &table, TextId id)
{
    if (&table != m_table) {
        m_table = &table;
        m_byText.assign(size_t(table.size()), 0);
    }
    if (id >= m_byText.size())
        m_byText.resize(size_t(id) + 1, 0);
    qint32 &slot = m_byText[id];
    if (slot == 0) {
        const QString &name = table.text(id);
        auto it = m_byName.constFind(name);
        if (it == m_byName.cend()) {
            TeamRecord record;
            record.name = name;
            it = m_byName.insert(name, m_teams.size());
            m_teams.append(record);
            m_counted.push_back(false);
        }
        slot = qint32(*it + 1);
    }
    return slot - 1;
}

void TeamTally::addResult(qsizetype team, qsizetype opponent, qint64 scored, qint64 conceded,
                          bool away)
{
    TeamRecord &r = m_teams[team];
    m_counted[size_t(team)] = true;
    addClamped(r.scored, scored);
    addClamped(r.conceded, conceded);
    if (away)
        addClamped(r.awayScored, scored);
    (scored > conceded ? r.wins : scored < conceded ? r.losses : r.draws) += 1;
    if (!m_keepMeetings)
        return;
    Meeting &m = m_meetings[quint64(team) << 32 | quint64(opponent)];
    m.team = team;
    m.opponent = opponent;
    (scored > conceded ? m.wins : scored < conceded ? m.losses : m.draws) += 1;
    addClamped(m.scored, scored);
    addClamped(m.conceded, conceded);
}

void TeamTally::add(const MatchStore &store, const MatchRecord &record, StandingsSide side)
{
    const TextTable &t = store.texts();
    const QString &goals1 = t.text(record.texts[Goals1Field]);
    const QString &goals2 = t.text(record.texts[Goals2Field]);
    if (goals1.isEmpty() && goals2.isEmpty())
        return;
    const int g1 = scoreNumber(goals1);
    const int g2 = scoreNumber(goals2);
    const qsizetype team1 =
        side != StandingsSide::Away || m_keepMeetings ? team(t, record.texts[Team1Field]) : -1;
    const qsizetype team2 =
        side != StandingsSide::Home || m_keepMeetings ? team(t, record.texts[Team2Field]) : -1;
    if (side != StandingsSide::Away)
        addResult(team1, team2, g1, g2, false);
    if (side != StandingsSide::Home)
        addResult(team2, team1, g2, g1, true);
}

QList<TeamRecord> TeamTally::teams() const
{
    QList<TeamRecord> teams;
    teams.reserve(m_teams.size());
    for (qsizetype i = 0; i < m_teams.size(); ++i) {
        if (m_counted[size_t(i)])
            teams.append(m_teams.at(i));
    }
    return teams;
}

QList<Meeting> TeamTally::meetings() const
{
    // From every team met to its place among the counted ones.
    std::vector<qsizetype> place(m_teams.size(), -1);
    qsizetype next = 0;
    for (size_t i = 0; i < place.size(); ++i) {
        if (m_counted[i])
            place[i] = next++;
    }
    QList<Meeting> meetings;
    for (Meeting m : m_meetings) {
        m.team = place[size_t(m.team)];
        m.opponent = place[size_t(m.opponent)];
        if (m.team >= 0 && m.opponent >= 0)
            meetings.append(m);
    }
    return meetings;
}

Standings standingsOf(const TeamTally &tally, const CompetitionRules &rules, const QDate &asOf)
{
    QList<TeamRecord> teams = tally.teams();
    for (TeamRecord &team : teams)
        team.deducted = rules.deductedFrom(team.name, asOf);
    const QList<Meeting> meetings = usesHeadToHead(rules) ? tally.meetings() : QList<Meeting>();

    Standings standings;
    standings.rules = rules;
    standings.asOf = asOf;
    standings.teams.reserve(teams.size());
    standings.points.reserve(teams.size());
    for (qsizetype i : rankTeams(teams, meetings, rules)) {
        const TeamRecord &team = teams.at(i);
        standings.teams.append(team);
        standings.points.append(pointsOf(team, rules));
        standings.anyDeducted = standings.anyDeducted || team.deducted != 0;
    }
    return standings;
}

Standings teamRecords(const MatchStore &store, const MatchFilter &filter,
                      const CompetitionRules &rules, StandingsSide side)
{
    TeamTally tally(usesHeadToHead(rules));
    const MatchSelection selection(filter, store);
    for (qsizetype i = 0; i < store.count(); ++i) {
        const MatchRecord &record = store.record(i);
        if (selection.selects(record))
            tally.add(store, record, side);
    }
    return standingsOf(tally, rules, filter.till);
}
