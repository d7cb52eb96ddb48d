#include "pages/analysis.h"
#include "pages/pagecodes.h"

#include "pages/builders.h"
#include "pages/rowtext.h"
#include "strings/texts.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <utility>
#include <vector>

// The course of a season: a running table updated match by match, each team's place worked out
// once per match day for the teams that played that day, so that time and memory grow with the
// matches and not with their square. The race ends exactly where the standings' table stands.

namespace {

bool hasScore(const TextTable &t, const MatchRecord &r)
{
    return !t.text(r.texts[Goals1Field]).isEmpty() || !t.text(r.texts[Goals2Field]).isEmpty();
}

// The teams in ranking order, kept in blocks, so that moving a team costs about a block's length
// and the number of blocks, however many teams there are.
class RankedTeams
{
public:
    // The number of leading teams that pass test, which holds for a prefix of the order.
    template <typename Test> size_t countWhile(Test test) const
    {
        size_t count = 0;
        for (const std::vector<qint32> &block : m_blocks) {
            if (!test(block.back()))
                return count + size_t(std::partition_point(block.begin(), block.end(), test) -
                                      block.begin());
            count += block.size();
        }
        return count;
    }
    void insert(size_t place, qint32 team)
    {
        ++m_size;
        if (m_blocks.empty())
            m_blocks.emplace_back();
        size_t b = 0;
        for (; b + 1 < m_blocks.size() && place > m_blocks[b].size(); ++b)
            place -= m_blocks[b].size();
        std::vector<qint32> &block = m_blocks[b];
        block.insert(block.begin() + qsizetype(place), team);
        if (block.size() > 2 * blockSize) {
            std::vector<qint32> tail(block.begin() + blockSize, block.end());
            block.resize(blockSize);
            m_blocks.insert(m_blocks.begin() + qsizetype(b) + 1, std::move(tail));
        }
    }
    // The teams in this order, all of them.
    void assign(const std::vector<qint32> &order)
    {
        m_size = order.size();
        m_blocks.resize((order.size() + blockSize - 1) / blockSize);
        for (size_t b = 0; b < m_blocks.size(); ++b) {
            const auto from = order.begin() + qsizetype(b * blockSize);
            m_blocks[b].assign(from,
                               from + qsizetype(std::min(blockSize, order.size() - b * blockSize)));
        }
    }
    size_t size() const { return m_size; }
    // Calls visit(place, team) for every team, in order.
    template <typename Visit> void forEach(Visit visit) const
    {
        size_t place = 0;
        for (const std::vector<qint32> &block : m_blocks) {
            for (const qint32 team : block)
                visit(place++, team);
        }
    }
    void erase(size_t place)
    {
        --m_size;
        size_t b = 0;
        for (; place >= m_blocks[b].size(); ++b)
            place -= m_blocks[b].size();
        m_blocks[b].erase(m_blocks[b].begin() + qsizetype(place));
        if (m_blocks[b].empty())
            m_blocks.erase(m_blocks.begin() + qsizetype(b));
    }

private:
    static constexpr size_t blockSize = 256;
    std::vector<std::vector<qint32>> m_blocks;
    size_t m_size = 0;
};

// One match of a team, kept small: the texts are made when it is written.
struct Step
{
    quint32 match;    // in RaceSteps::matches
    quint32 day;      // counted from 0
    PlainTextId file; // the match's file name
    quint32 opponent;
    qint32 points;
    qint32 position;
    qint32 scored;
    qint32 conceded;
    bool home;
};

// The steps of a race, team by team in the order the teams were met, each team's in match order.
struct RaceSteps
{
    std::vector<qsizetype> matches; // in the store, in date order
    StoreArray<Step> steps;         // huge pages, and no clearing before it is filled
    std::vector<size_t> begin;      // per team: where its steps begin
    std::vector<size_t> count;      // per team: how many
    std::vector<qint32> order;      // the teams in the order of the final table
    TeamTally tally;
};

SeasonRace raceOf(const MatchStore &store, std::vector<qsizetype> matches,
                  const CompetitionRules &rules, const QDate &till, RaceSteps *out)
{
    const TextTable &t = store.texts();
    SeasonRace race;
    sortByDay(store, matches);
    if (matches.empty())
        return race;

    // The goals of each day need nothing else.
    if (!out) {
        qint64 allGoals = 0;
        for (size_t first = 0, end = 0; first < matches.size(); first = end) {
            const qint64 day = store.record(matches[first]).julianDay;
            qint64 dayGoals = 0;
            for (end = first; end < matches.size() && store.record(matches[end]).julianDay == day;
                 ++end) {
                const MatchRecord &r = store.record(matches[end]);
                dayGoals += scoreNumber(t.text(r.texts[Goals1Field])) +
                            scoreNumber(t.text(r.texts[Goals2Field]));
            }
            allGoals += dayGoals;
            GoalsDay goals;
            goals.date = QDate::fromJulianDay(day);
            goals.matches = int(end - first);
            goals.goals = int(dayGoals);
            goals.average = double(dayGoals) / goals.matches;
            goals.running = double(allGoals) / double(end);
            race.days.append(goals);
        }
        return race;
    }

    // Every team of the selection stands in the table from the first day, without points.
    const bool headToHead = usesHeadToHead(rules);
    TeamTally &tally = out->tally;
    tally = TeamTally(headToHead);
    std::vector<size_t> &stepsOf = out->begin; // per team, then where its steps begin
    for (qsizetype m : matches) {
        const MatchRecord &r = store.record(m);
        for (const qsizetype team :
             {tally.team(t, r.texts[Team1Field]), tally.team(t, r.texts[Team2Field])}) {
            if (size_t(team) >= stepsOf.size())
                stepsOf.resize(size_t(team) + 1, 0);
            ++stepsOf[size_t(team)];
        }
    }
    const qsizetype teamCount = tally.teamsMet();

    StoreArray<Step> &steps = out->steps;
    steps.resize(2 * matches.size());
    std::vector<size_t> &filled = out->count;
    filled.assign(size_t(teamCount), 0);
    for (size_t i = 0, begin = 0; i < stepsOf.size(); ++i)
        begin += std::exchange(stepsOf[i], begin);

    // The teams that have deductions, and what is taken from each so far.
    std::vector<qsizetype> deducted;
    std::vector<qint64> taken(size_t(teamCount), 0);
    for (qsizetype i = 0; i < teamCount; ++i) {
        const QString &name = tally.record(i).name;
        if (std::any_of(rules.deductions.cbegin(), rules.deductions.cend(),
                        [&name](const Deduction &d) { return d.team == name; }))
            deducted.push_back(i);
    }

    // Each team's standing as the ranking compares it (under head-to-head rules the points
    // alone): its points, a number per criterion of the chain, the larger first (the name's is
    // minus its place among the names, the goal average's is compared from the goals), and last
    // minus when it was noted, so that teams level on everything keep the order they came to it
    // in.
    const QList<TieBreak> chain = headToHead ? QList<TieBreak>() : rankingChain(rules);
    const size_t width = 2 + size_t(chain.size());
    std::vector<qint64> nameKey(static_cast<size_t>(teamCount));
    {
        std::vector<qint32> byName(static_cast<size_t>(teamCount));
        for (qsizetype i = 0; i < teamCount; ++i)
            byName[size_t(i)] = qint32(i);
        std::sort(byName.begin(), byName.end(), [&tally](qint32 a, qint32 b) {
            return QString::compare(tally.record(a).name, tally.record(b).name) < 0;
        });
        for (size_t i = 0; i < byName.size(); ++i)
            nameKey[size_t(byName[i])] = -qint64(i);
    }
    std::vector<qint64> standing(width * size_t(teamCount));
    std::vector<TeamRecord> averaged(chain.contains(TieBreak::GoalAverage) ? size_t(teamCount) : 0);
    qint64 noted = 0;
    const auto setStanding = [&](qsizetype team, const TeamRecord &record, qint64 points) {
        qint64 *key = standing.data() + width * size_t(team);
        *key++ = points;
        for (const TieBreak criterion : chain)
            *key++ = criterion == TieBreak::Name ? nameKey[size_t(team)]
                                                 : criterionValue(criterion, record);
        *key = -noted++;
        if (!averaged.empty())
            averaged[size_t(team)] = record;
    };
    const bool byAverage = !averaged.empty();
    const auto before = [&](qint32 a, qint32 b) {
        const qint64 *x = standing.data() + width * size_t(a);
        const qint64 *y = standing.data() + width * size_t(b);
        if (!byAverage) {
            for (size_t k = 0; k < width; ++k) {
                if (x[k] != y[k])
                    return x[k] > y[k];
            }
            return false;
        }
        if (x[0] != y[0])
            return x[0] > y[0];
        for (qsizetype k = 0; k < chain.size(); ++k) {
            if (chain.at(k) == TieBreak::GoalAverage) {
                if (const int c =
                        compareOn(TieBreak::GoalAverage, averaged[size_t(a)], averaged[size_t(b)]))
                    return c > 0;
            } else if (x[k + 1] != y[k + 1]) {
                return x[k + 1] > y[k + 1];
            }
        }
        return x[width - 1] > y[width - 1];
    };
    const auto pointsOfTeam = [&](qsizetype team) { return standing[width * size_t(team)]; };
    RankedTeams ranked;
    {
        std::vector<qint32> order(static_cast<size_t>(teamCount));
        for (qsizetype i = 0; i < teamCount; ++i) {
            setStanding(i, tally.record(i), 0);
            order[size_t(i)] = qint32(i);
        }
        std::sort(order.begin(), order.end(), before);
        for (size_t i = 0; i < order.size(); ++i)
            ranked.insert(i, order[i]);
    }
    const auto placeOf = [&](qint32 team) {
        return ranked.countWhile([&](qint32 other) { return before(other, team); });
    };

    // Scores are read from few distinct texts: each is read once.
    std::vector<int> scores;
    const auto score = [&scores, &t](TextId id) {
        if (id >= scores.size())
            scores.resize(std::max<size_t>(id + 1, size_t(t.size())), -1);
        if (scores[id] < 0)
            scores[id] = scoreNumber(t.text(id));
        return scores[id];
    };
    std::vector<qint32> played;                                // the teams that played on the day
    std::vector<std::pair<size_t, qint32>> daySteps;           // and their steps of the day
    std::vector<qint64> ahead(static_cast<size_t>(teamCount)); // and where they stood after it
    std::vector<qint64> lastPlayed(static_cast<size_t>(teamCount), -1);
    QHash<qint64, QSet<qsizetype>> byPoints; // under head-to-head rules: who stands on what
    // and whom each team has met, each opponent once; and a group's members, by their place in it
    std::vector<std::vector<qint32>> opponents(headToHead ? size_t(teamCount) : 0);
    std::vector<qint32> inGroup(headToHead ? size_t(teamCount) : 0, -1);
    if (headToHead) {
        for (qsizetype i = 0; i < teamCount; ++i)
            byPoints[0].insert(i);
    }
    // A team's record changed: it stands anew.
    const auto restand = [&](qint32 team) {
        TeamRecord record = tally.record(team);
        record.deducted = taken[size_t(team)];
        const qint64 points = pointsOf(record, rules);
        const qint64 old = pointsOfTeam(team);
        if (headToHead && old != points) {
            byPoints[old].remove(team);
            byPoints[points].insert(team);
        }
        setStanding(team, record, points);
    };
    // The teams whose record changed on a day move to their new places, in the order given (the
    // order they stand in when level on everything else). A few among many move one by one; else
    // those that stayed keep their order and the movers, sorted, are merged in, in one pass, which
    // gives the places of all (dense).
    std::vector<qint32> movers, stayed, dense;
    std::vector<char> moving(static_cast<size_t>(teamCount), 0);
    const auto move = [&]() {
        dense.clear();
        if (movers.size() * 16 < ranked.size()) {
            for (const qint32 team : movers) {
                ranked.erase(placeOf(team));
                restand(team);
                ranked.insert(placeOf(team), team);
            }
            return;
        }
        for (const qint32 team : movers)
            moving[size_t(team)] = 1;
        stayed.clear();
        ranked.forEach([&](size_t, qint32 team) {
            if (!moving[size_t(team)])
                stayed.push_back(team);
        });
        for (const qint32 team : movers) {
            restand(team);
            moving[size_t(team)] = 0;
        }
        std::sort(movers.begin(), movers.end(), before);
        dense.resize(stayed.size() + movers.size());
        std::merge(stayed.begin(), stayed.end(), movers.begin(), movers.end(), dense.begin(),
                   before);
        ranked.assign(dense);
    };

    qint64 allGoals = 0;
    qsizetype counted = 0;
    for (size_t first = 0; first < matches.size();) {
        const qint64 day = store.record(matches[first]).julianDay;
        const QDate date = QDate::fromJulianDay(day);
        played.clear();
        daySteps.clear();
        size_t end = first;
        qint64 dayGoals = 0;
        for (; end < matches.size() && store.record(matches[end]).julianDay == day; ++end) {
            const MatchRecord &r = store.record(matches[end]);
            const qsizetype team1 = tally.team(t, r.texts[Team1Field]);
            const qsizetype team2 = tally.team(t, r.texts[Team2Field]);
            const int g1 = score(r.texts[Goals1Field]);
            const int g2 = score(r.texts[Goals2Field]);
            dayGoals += g1 + g2;
            if (headToHead) {
                const Meeting met = tally.meeting(team1, team2);
                if (met.wins + met.draws + met.losses == 0) {
                    opponents[size_t(team1)].push_back(qint32(team2));
                    if (team2 != team1)
                        opponents[size_t(team2)].push_back(qint32(team1));
                }
            }
            tally.addResult(team1, team2, g1, g2, false);
            tally.addResult(team2, team1, g2, g1, true);
            for (const qsizetype team : {team1, team2}) {
                if (lastPlayed[size_t(team)] != day) {
                    lastPlayed[size_t(team)] = day;
                    played.push_back(qint32(team));
                }
            }
            for (int side = 0; side < 2; ++side) {
                const qsizetype team = side == 0 ? team1 : team2;
                const size_t k = stepsOf[size_t(team)] + filled[size_t(team)]++;
                steps[k] = {quint32(end),
                            quint32(race.days.size()),
                            r.plain[PlainField::FileName],
                            quint32(side == 0 ? team2 : team1),
                            0,
                            0,
                            side == 0 ? g1 : g2,
                            side == 0 ? g2 : g1,
                            side == 0};
                daySteps.emplace_back(k, qint32(team));
            }
        }

        // Deductions as of the day; the last day reaches to the end of the selection, as the
        // table does.
        const bool lastDay = end == matches.size();
        const QDate asOf = lastDay && till.isValid() && till > date ? till : date;
        movers.clear();
        for (const qsizetype team : deducted) {
            const qint64 now = rules.deductedFrom(tally.record(team).name, asOf);
            if (now != taken[size_t(team)]) {
                taken[size_t(team)] = now;
                if (lastPlayed[size_t(team)] != day)
                    movers.push_back(qint32(team));
            }
        }
        movers.insert(movers.end(), played.begin(), played.end());
        move();

        // The places after the day. Under head-to-head rules the teams level on points are
        // ranked among themselves, over their own matches, as the standings rank them.
        for (size_t place = 0; !headToHead && place < dense.size(); ++place)
            ahead[size_t(dense[place])] = qint64(place);
        QHash<qint64, QHash<qsizetype, qsizetype>> levels; // points -> team -> rank in group
        for (const qint32 team : played) {
            const qint64 points = pointsOfTeam(team);
            if (!headToHead) {
                if (dense.empty())
                    ahead[size_t(team)] = qint64(placeOf(team));
                continue;
            }
            const qint64 above = qint64(
                ranked.countWhile([&](qint32 other) { return pointsOfTeam(other) > points; }));
            const QSet<qsizetype> &level = byPoints[points];
            if (level.size() == 1) { // nobody to be level with
                ahead[size_t(team)] = above;
                continue;
            }
            auto it = levels.find(points);
            if (it == levels.end()) {
                const QList<qsizetype> group(level.cbegin(), level.cend());
                for (qsizetype a = 0; a < group.size(); ++a)
                    inGroup[size_t(group.at(a))] = qint32(a);
                // The meetings among the group, from each member's opponents.
                QList<TeamRecord> records;
                QList<Meeting> meetings;
                for (qsizetype a = 0; a < group.size(); ++a) {
                    TeamRecord record = tally.record(group.at(a));
                    record.deducted = taken[size_t(group.at(a))];
                    records.append(record);
                    for (const qint32 opponent : opponents[size_t(group.at(a))]) {
                        if (inGroup[size_t(opponent)] < 0)
                            continue;
                        Meeting m = tally.meeting(group.at(a), opponent);
                        m.team = a;
                        m.opponent = inGroup[size_t(opponent)];
                        meetings.append(m);
                    }
                }
                for (const qsizetype member : group)
                    inGroup[size_t(member)] = -1;
                QHash<qsizetype, qsizetype> order;
                const QList<qsizetype> ranks = rankTeams(records, meetings, rules);
                for (qsizetype k = 0; k < ranks.size(); ++k)
                    order.insert(group.at(ranks.at(k)), k);
                it = levels.insert(points, order);
            }
            ahead[size_t(team)] = above + it->value(team);
        }
        for (const auto &[k, team] : daySteps) {
            steps[k].points = qint32(pointsOfTeam(team));
            steps[k].position = qint32(ahead[size_t(team)] + 1);
        }

        allGoals += dayGoals;
        counted += qsizetype(end - first);
        GoalsDay goalsDay;
        goalsDay.date = date;
        goalsDay.matches = int(end - first);
        goalsDay.goals = int(dayGoals);
        goalsDay.average = double(dayGoals) / goalsDay.matches;
        goalsDay.running = double(allGoals) / double(counted);
        race.days.append(goalsDay);
        first = end;
    }

    // The final order is the standings' own.
    const Standings table =
        standingsOf(tally, rules, till.isValid() ? till : race.days.constLast().date);
    for (const TeamRecord &team : table.teams)
        race.teams.append(team.name);

    // The teams in the final order.
    QHash<QString, qint32> teamOf;
    for (qsizetype i = 0; i < teamCount; ++i)
        teamOf.insert(tally.record(i).name, qint32(i));
    out->order.clear();
    for (const QString &team : std::as_const(race.teams))
        out->order.push_back(teamOf.value(team));
    out->matches = std::move(matches);
    return race;
}

// The scored matches of a selection, by their place in the store.
std::vector<qsizetype> scoredMatches(const MatchStore &store, const MatchFilter &filter)
{
    std::vector<qsizetype> matches;
    const MatchSelection selection(filter, store);
    for (qsizetype i = 0; i < store.count(); ++i) {
        const MatchRecord &r = store.record(i);
        if (selection.selects(r) && hasScore(store.texts(), r))
            matches.push_back(i);
    }
    return matches;
}

void keepMatch(const PageContext &context, PageRows &rows)
{
    if (hasScore(context.match.store().texts(), context.match.record()))
        rows.kept().push_back(context.match.index());
}

QString average(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

SeasonRace seasonRace(const MatchStore &store, const MatchFilter &filter,
                      const CompetitionRules &rules)
{
    RaceSteps steps;
    SeasonRace race = raceOf(store, scoredMatches(store, filter), rules, filter.till, &steps);
    // A match's file name is made once for its two steps.
    const TextTable &t = store.texts();
    std::vector<QString> fileNames(steps.matches.size());
    race.steps.reserve(qsizetype(steps.steps.size()));
    for (size_t i = 0; i < steps.order.size(); ++i) {
        const size_t team = size_t(steps.order[i]);
        for (size_t k = steps.begin[team]; k < steps.begin[team] + steps.count[team]; ++k) {
            const Step &step = steps.steps[k];
            const MatchRecord &r = store.record(steps.matches[step.match]);
            QString &fileName = fileNames[step.match];
            if (fileName.isNull())
                fileName = t.string(r.plain[PlainField::FileName]);
            RaceStep out;
            out.team = race.teams.at(qsizetype(i));
            out.number = int(k - steps.begin[team]) + 1;
            out.date = QDate::fromJulianDay(r.julianDay);
            out.opponent = steps.tally.record(step.opponent).name;
            out.home = step.home;
            out.scored = step.scored;
            out.conceded = step.conceded;
            out.points = step.points;
            out.position = step.position;
            out.fileName = fileName;
            race.steps.append(out);
        }
    }
    return race;
}

void calculateSeasonRace(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        keepMatch(context, rows);
        return;
    }
    const MatchStore &store = context.match.store();
    RaceSteps steps;
    const SeasonRace race = raceOf(store, std::move(rows.kept()), context.params.rules,
                                   context.filter ? context.filter->till : QDate(), &steps);
    rows.clear();

    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable(
        {t.hTeam, t.hNumber, t.hDate, t.hOpponent, t.hVenue, t.hScore, t.hPoints, t.hPosition}, 50,
        int(steps.steps.size()));
    table.setColumnWidth(0, 160);
    table.setColumnWidth(2, 90);
    table.setColumnWidth(3, 160);
    table.rowsInOrder();
    // Team by team in the order of the final table, each team's matches in order; not sorted.
    std::vector<int> firstRow(steps.order.size() + 1, 0); // per team in that order
    for (size_t i = 0; i < steps.order.size(); ++i)
        firstRow[i + 1] = firstRow[i] + int(steps.count[size_t(steps.order[i])]);
    // Two rows per match: the texts that repeat (counts, dates, scores) are made once each; the
    // counts and dates, which every stretch of rows meets, before the rows.
    qint64 largest = 0;
    for (const Step &step : steps.steps)
        largest = std::max({largest, qint64(step.points), qint64(step.position)});
    for (const size_t n : steps.count)
        largest = std::max(largest, qint64(n));
    const CountTexts counts(largest + 1);
    std::vector<QString> dates;
    dates.reserve(size_t(race.days.size()));
    for (const GoalsDay &day : std::as_const(race.days))
        dates.push_back(dateText(day.date, u"/"));
    const TextTable &texts = store.texts();
    table.fillRows(firstRow.back(), [&](ResultTable &part, int begin, int end) {
        QString other;
        const auto count = [&counts, &other](qint64 n) -> const QString & {
            return counts.text(n, other);
        };
        QHash<quint64, QString> scores;
        QString link = PageCode::Report;
        size_t i =
            size_t(std::upper_bound(firstRow.begin(), firstRow.end(), begin) - firstRow.begin()) -
            1;
        for (int r = begin; r < end; ++i) {
            const size_t team = size_t(steps.order[i]);
            const QString &name = race.teams.at(qsizetype(i));
            for (size_t n = size_t(r - firstRow[i]); n < steps.count[team] && r < end; ++n, ++r) {
                const Step &step = steps.steps[steps.begin[team] + n];
                link.resize(PageCode::Report.size());
                link += texts.view(step.file);
                QString &score =
                    scores[quint64(quint32(step.scored)) << 32 | quint32(step.conceded)];
                if (score.isNull())
                    score = QString::number(step.scored) + u':' + QString::number(step.conceded);
                part.setCell(r, 0, name);
                part.setCell(r, 1, count(qint64(n) + 1));
                part.setCell(r, 2, dates[step.day]);
                part.setCell(r, 3, steps.tally.record(step.opponent).name);
                part.setCell(r, 4, step.home ? t.venueHome : t.venueAway);
                part.setCell(r, 5, score);
                part.setCell(r, 6, count(step.points));
                part.setCell(r, 7, count(step.position));
                part.setCell(r, 8, link);
            }
        }
    });
}

void calculateSeasonGoals(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        keepMatch(context, rows);
        return;
    }
    const SeasonRace race =
        raceOf(context.match.store(), std::move(rows.kept()), context.params.rules,
               context.filter ? context.filter->till : QDate(), nullptr);
    rows.clear();

    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable({t.hDate, t.hMatches, t.hGoals, t.hGoalsPerMatch, t.hRunningAverage}, 70,
                       int(race.days.size()));
    table.setColumnWidth(0, 90);
    int r = 0;
    for (const GoalsDay &day : race.days) {
        table.setCell(r, 0, day.date.toString(QStringLiteral("yyyy/MM/dd")));
        table.setCell(r, 1, paddedCount(day.matches));
        table.setCell(r, 2, paddedCount(day.goals));
        table.setCell(r, 3, average(day.average));
        table.setCell(r, 4, average(day.running));
        table.setCell(r, 5, QString());
        ++r;
    }
    table.sortByColumn(0, Qt::AscendingOrder);
}
