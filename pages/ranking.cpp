#include "pages/ranking.h"

#include <QHash>

#include <algorithm>

namespace {

int sign(qint64 value)
{
    return value > 0 ? 1 : value < 0 ? -1 : 0;
}

// Goals scored per goal conceded, compared without rounding: a team that conceded nothing ranks
// above every team that conceded, and two such teams are level.
int compareAverage(const TeamRecord &a, const TeamRecord &b)
{
    if (a.conceded == 0 || b.conceded == 0)
        return sign(qint64(a.conceded == 0) - qint64(b.conceded == 0));
    // Counts stay within 32 bits, so the products fit.
    return sign(a.scored * b.conceded - b.scored * a.conceded);
}

// A team's results against the others of a group.
struct MiniRecord
{
    qint64 points = 0;
    qint64 difference = 0;
    qint64 scored = 0;
};

class Ranker
{
public:
    Ranker(const QList<TeamRecord> &teams, const QList<Meeting> &meetings,
           const CompetitionRules &rules)
        : m_teams(teams), m_rules(rules), m_chain(rankingChain(rules))
    {
        for (const Meeting &meeting : meetings)
            m_meetings[meeting.team].append(&meeting);
    }

    QList<qsizetype> rank()
    {
        QList<qsizetype> all(m_teams.size());
        for (qsizetype i = 0; i < all.size(); ++i)
            all[i] = i;
        // Points decide first.
        splitBy(
            all,
            [this](qsizetype a, qsizetype b) {
                return sign(pointsOf(m_teams.at(a), m_rules) - pointsOf(m_teams.at(b), m_rules));
            },
            [this](QList<qsizetype> &level) { order(level, 0); });
        return m_out;
    }

private:
    // Sorts group by compare (positive: the first ranks before the second), then hands each run
    // of teams level under it to next; a lone team goes straight to the result.
    template <typename Compare, typename Next>
    void splitBy(QList<qsizetype> &group, Compare compare, Next next)
    {
        std::stable_sort(group.begin(), group.end(),
                         [&compare](qsizetype a, qsizetype b) { return compare(a, b) > 0; });
        qsizetype start = 0;
        while (start < group.size()) {
            qsizetype end = start + 1;
            while (end < group.size() && compare(group.at(start), group.at(end)) == 0)
                ++end;
            QList<qsizetype> level = group.mid(start, end - start);
            if (level.size() == 1)
                m_out.append(level.constFirst());
            else
                next(level);
            start = end;
        }
    }

    int compare(TieBreak criterion, qsizetype a, qsizetype b) const
    {
        return compareOn(criterion, m_teams.at(a), m_teams.at(b));
    }

    // The mini-table of group: each team's results in the matches among the group's teams.
    QHash<qsizetype, MiniRecord> miniTable(const QList<qsizetype> &group) const
    {
        QHash<qsizetype, MiniRecord> table;
        for (qsizetype team : group) {
            MiniRecord &record = table[team];
            for (const Meeting *m : m_meetings.value(team)) {
                if (!group.contains(m->opponent))
                    continue;
                record.points +=
                    m->wins * m_rules.win + m->draws * m_rules.draw + m->losses * m_rules.loss;
                record.difference += m->scored - m->conceded;
                record.scored += m->scored;
            }
        }
        return table;
    }

    // Orders a group level on everything before m_chain[k].
    void order(QList<qsizetype> &group, qsizetype k)
    {
        if (k >= m_chain.size()) {
            m_out.append(group);
            return;
        }
        const TieBreak criterion = m_chain.at(k);
        if (!isHeadToHead(criterion)) {
            splitBy(
                group,
                [this, criterion](qsizetype a, qsizetype b) { return compare(criterion, a, b); },
                [this, k](QList<qsizetype> &level) { order(level, k + 1); });
            return;
        }

        // A block of head-to-head criteria, applied to the mini-table of this group.
        qsizetype end = k;
        while (end < m_chain.size() && isHeadToHead(m_chain.at(end)))
            ++end;
        const QHash<qsizetype, MiniRecord> mini = miniTable(group);
        const auto compareMini = [this, &mini, k, end](qsizetype a, qsizetype b) {
            const MiniRecord &ra = mini[a];
            const MiniRecord &rb = mini[b];
            for (qsizetype i = k; i < end; ++i) {
                int result = 0;
                switch (m_chain.at(i)) {
                case TieBreak::HeadToHeadPoints:
                    result = sign(ra.points - rb.points);
                    break;
                case TieBreak::HeadToHeadDifference:
                    result = sign(ra.difference - rb.difference);
                    break;
                default:
                    result = sign(ra.scored - rb.scored);
                }
                if (result != 0)
                    return result;
            }
            return 0;
        };
        const qsizetype size = group.size();
        splitBy(group, compareMini, [this, k, end, size](QList<qsizetype> &level) {
            // A smaller group still level meets the block again over its own matches; a group
            // the block did not split at all goes on down the chain.
            order(level, level.size() < size ? k : end);
        });
    }

    const QList<TeamRecord> &m_teams;
    const CompetitionRules &m_rules;
    QList<TieBreak> m_chain;
    QHash<qsizetype, QList<const Meeting *>> m_meetings;
    QList<qsizetype> m_out;
};

} // namespace

QList<TieBreak> rankingChain(const CompetitionRules &rules)
{
    QList<TieBreak> chain;
    for (TieBreak criterion : rules.tieBreaks) {
        if (criterion == TieBreak::Points)
            continue;
        chain.append(criterion);
        if (criterion == TieBreak::Name)
            break;
    }
    if (chain.isEmpty() || chain.constLast() != TieBreak::Name)
        chain.append(TieBreak::Name);
    return chain;
}

int compareOn(TieBreak criterion, const TeamRecord &a, const TeamRecord &b)
{
    switch (criterion) {
    case TieBreak::GoalAverage:
        return compareAverage(a, b);
    case TieBreak::Name:
        return -QString::compare(a.name, b.name);
    default:
        return sign(criterionValue(criterion, a) - criterionValue(criterion, b));
    }
}

qint64 criterionValue(TieBreak criterion, const TeamRecord &team)
{
    switch (criterion) {
    case TieBreak::GoalDifference:
        return team.scored - team.conceded;
    case TieBreak::Scored:
        return team.scored;
    case TieBreak::AwayScored:
        return team.awayScored;
    case TieBreak::Wins:
        return team.wins;
    default:
        return 0;
    }
}

qint64 pointsOf(const TeamRecord &team, const CompetitionRules &rules)
{
    return team.wins * rules.win + team.draws * rules.draw + team.losses * rules.loss -
           team.deducted;
}

QList<qsizetype> rankTeams(const QList<TeamRecord> &teams, const QList<Meeting> &meetings,
                           const CompetitionRules &rules)
{
    return Ranker(teams, meetings, rules).rank();
}
