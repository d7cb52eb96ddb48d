#include "pages/analysis.h"
#include "pages/pagecodes.h"

#include "pages/builders.h"
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

// How many teams hold each place of an order fixed in advance (a Fenwick tree).
class PlaceCounts
{
public:
    explicit PlaceCounts(size_t places) : m_tree(places + 1, 0) {}
    void add(size_t place, qint64 delta)
    {
        for (size_t i = place + 1; i < m_tree.size(); i += i & (~i + 1))
            m_tree[i] += delta;
    }
    // Teams in places 0 .. place - 1.
    qint64 before(size_t place) const
    {
        qint64 sum = 0;
        for (size_t i = place; i > 0; i -= i & (~i + 1))
            sum += m_tree[i];
        return sum;
    }

private:
    std::vector<qint64> m_tree;
};

// A team's record as it stood at the end of a day.
struct Snapshot
{
    TeamRecord record;
    qint64 points;
    qsizetype team;
};

// A team that played on a day, and where it stood after the day.
struct Played
{
    qsizetype team;
    size_t snapshot;
    qint64 levelAhead; // under head-to-head rules: teams level on points ranked before it
};

SeasonRace raceOf(const MatchStore &store, std::vector<qsizetype> matches,
                  const CompetitionRules &rules, const QDate &till, bool withSteps)
{
    const TextTable &t = store.texts();
    SeasonRace race;
    // In date order, matches of one day in store order (they come in store order).
    {
        std::vector<std::pair<qint64, qsizetype>> byDay;
        byDay.reserve(matches.size());
        for (const qsizetype m : matches)
            byDay.emplace_back(store.record(m).julianDay, m);
        std::sort(byDay.begin(), byDay.end());
        for (size_t i = 0; i < byDay.size(); ++i)
            matches[i] = byDay[i].second;
    }
    if (matches.empty())
        return race;

    // The goals of each day need nothing else.
    if (!withSteps) {
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
    TeamTally tally(headToHead);
    std::vector<size_t> stepsOf; // per team, then where its steps begin
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

    // Each team's steps, team by team in the order they were met, kept small: the texts are
    // made once, at the end.
    struct Step
    {
        size_t match; // in matches
        qsizetype opponent;
        qint64 points;
        qint64 position;
        int scored;
        int conceded;
        bool home;
    };
    std::vector<Step> steps(withSteps ? 2 * matches.size() : 0);
    std::vector<size_t> filled(size_t(teamCount), 0);
    for (size_t i = 0, begin = 0; i < stepsOf.size(); ++i)
        begin += std::exchange(stepsOf[i], begin);
    std::vector<QString> fileNames(withSteps ? matches.size() : 0);

    // The teams that have deductions, and what is taken from each so far.
    std::vector<qsizetype> deducted;
    std::vector<qint64> taken(size_t(teamCount), 0);
    for (qsizetype i = 0; i < teamCount; ++i) {
        const QString &name = tally.record(i).name;
        if (std::any_of(rules.deductions.cbegin(), rules.deductions.cend(),
                        [&name](const Deduction &d) { return d.team == name; }))
            deducted.push_back(i);
    }

    // First the days in order, noting each team's record after every day it changed and the
    // teams that played; then the places of those records in the ranking order, once.
    std::vector<Snapshot> snapshots;
    snapshots.reserve(size_t(teamCount) + 2 * matches.size());
    std::vector<size_t> current(static_cast<size_t>(teamCount));
    for (qsizetype i = 0; i < teamCount; ++i) {
        current[size_t(i)] = snapshots.size();
        snapshots.push_back({tally.record(i), 0, i});
    }
    std::vector<Played> played;
    std::vector<size_t> dayEnds;   // per day: where its snapshots and its players end
    std::vector<size_t> dayFirsts; // per day: its first match
    std::vector<size_t> playedEnds;
    std::vector<qint64> lastPlayed(size_t(teamCount), -1);
    QHash<qint64, QSet<qsizetype>> byPoints; // under head-to-head rules: who stands on what
    if (headToHead) {
        for (qsizetype i = 0; i < teamCount; ++i)
            byPoints[0].insert(i);
    }
    const auto note = [&](qsizetype team) {
        TeamRecord record = tally.record(team);
        record.deducted = taken[size_t(team)];
        const qint64 points = pointsOf(record, rules);
        if (headToHead) {
            const qint64 before = snapshots[current[size_t(team)]].points;
            if (before != points) {
                byPoints[before].remove(team);
                byPoints[points].insert(team);
            }
        }
        current[size_t(team)] = snapshots.size();
        snapshots.push_back({record, points, team});
    };

    qint64 allGoals = 0;
    qsizetype counted = 0;
    for (size_t first = 0; first < matches.size();) {
        const qint64 day = store.record(matches[first]).julianDay;
        const QDate date = QDate::fromJulianDay(day);
        const size_t playedFrom = played.size();
        size_t end = first;
        qint64 dayGoals = 0;
        for (; end < matches.size() && store.record(matches[end]).julianDay == day; ++end) {
            const MatchRecord &r = store.record(matches[end]);
            const qsizetype team1 = tally.team(t, r.texts[Team1Field]);
            const qsizetype team2 = tally.team(t, r.texts[Team2Field]);
            const int g1 = scoreNumber(t.text(r.texts[Goals1Field]));
            const int g2 = scoreNumber(t.text(r.texts[Goals2Field]));
            dayGoals += g1 + g2;
            tally.addResult(team1, team2, g1, g2, false);
            tally.addResult(team2, team1, g2, g1, true);
            for (const qsizetype team : {team1, team2}) {
                if (lastPlayed[size_t(team)] != day) {
                    lastPlayed[size_t(team)] = day;
                    played.push_back({team, 0, 0});
                }
            }
            if (!withSteps)
                continue;
            for (int side = 0; side < 2; ++side) {
                const qsizetype team = side == 0 ? team1 : team2;
                steps[stepsOf[size_t(team)] + filled[size_t(team)]++] = {
                    end,      side == 0 ? team2 : team1, 0,
                    0,        side == 0 ? g1 : g2,       side == 0 ? g2 : g1,
                    side == 0};
            }
        }

        // The places only matter to the steps; the goals need none of it.
        if (withSteps) {
            // Deductions as of the day; the last day reaches to the end of the selection, as the
            // table does.
            const bool lastDay = end == matches.size();
            const QDate asOf = lastDay && till.isValid() && till > date ? till : date;
            for (const qsizetype team : deducted) {
                const qint64 now = rules.deductedFrom(tally.record(team).name, asOf);
                if (now != taken[size_t(team)]) {
                    taken[size_t(team)] = now;
                    if (lastPlayed[size_t(team)] != day)
                        note(team);
                }
            }
            for (size_t i = playedFrom; i < played.size(); ++i)
                note(played[i].team);
            for (size_t i = playedFrom; i < played.size(); ++i)
                played[i].snapshot = current[size_t(played[i].team)];

            // Under head-to-head rules the teams level on points are ranked among themselves, over
            // their own matches, as the standings rank them.
            if (headToHead) {
                QHash<qint64, QHash<qsizetype, qsizetype>>
                    ranked; // points -> team -> rank in group
                for (size_t i = playedFrom; i < played.size(); ++i) {
                    const qint64 points = snapshots[played[i].snapshot].points;
                    auto it = ranked.find(points);
                    if (it == ranked.end()) {
                        const QSet<qsizetype> &level = byPoints[points];
                        const QList<qsizetype> group(level.cbegin(), level.cend());
                        QList<TeamRecord> records;
                        QList<Meeting> meetings;
                        for (qsizetype a = 0; a < group.size(); ++a) {
                            TeamRecord record = tally.record(group.at(a));
                            record.deducted = taken[size_t(group.at(a))];
                            records.append(record);
                            for (qsizetype b = 0; b < group.size(); ++b) {
                                Meeting m = tally.meeting(group.at(a), group.at(b));
                                if (m.wins + m.draws + m.losses == 0)
                                    continue;
                                m.team = a;
                                m.opponent = b;
                                meetings.append(m);
                            }
                        }
                        QHash<qsizetype, qsizetype> order;
                        const QList<qsizetype> ranks = rankTeams(records, meetings, rules);
                        for (qsizetype k = 0; k < ranks.size(); ++k)
                            order.insert(group.at(ranks.at(k)), k);
                        it = ranked.insert(points, order);
                    }
                    played[i].levelAhead = it->value(played[i].team);
                }
            }
        }
        dayFirsts.push_back(first);
        dayEnds.push_back(snapshots.size());
        playedEnds.push_back(played.size());

        allGoals += dayGoals;
        counted += qsizetype(end - first);
        GoalsDay goals;
        goals.date = date;
        goals.matches = int(end - first);
        goals.goals = int(dayGoals);
        goals.average = double(dayGoals) / goals.matches;
        goals.running = double(allGoals) / double(counted);
        race.days.append(goals);
        first = end;
    }

    // The final order is the standings' own.
    const Standings table =
        standingsOf(tally, rules, till.isValid() ? till : race.days.constLast().date);
    for (const TeamRecord &team : table.teams)
        race.teams.append(team.name);
    if (!withSteps)
        return race;

    // The places: every record noted above in the ranking order (under head-to-head rules by
    // points alone), then the days replayed, each team moving from its old record to its new.
    const QList<TieBreak> chain = headToHead ? QList<TieBreak>() : rankingChain(rules);
    std::vector<size_t> byRank(snapshots.size());
    for (size_t i = 0; i < byRank.size(); ++i)
        byRank[i] = i;
    std::stable_sort(byRank.begin(), byRank.end(), [&](size_t a, size_t b) {
        const Snapshot &x = snapshots[a];
        const Snapshot &y = snapshots[b];
        if (x.points != y.points)
            return x.points > y.points;
        for (const TieBreak criterion : chain) {
            if (const int c = compareOn(criterion, x.record, y.record))
                return c > 0;
        }
        return false;
    });
    std::vector<size_t> place(snapshots.size());
    std::vector<size_t> firstOfPoints(snapshots.size()); // the first place with the same points
    for (size_t i = 0; i < byRank.size(); ++i) {
        place[byRank[i]] = i;
        const bool samePoints =
            i > 0 && snapshots[byRank[i]].points == snapshots[byRank[i - 1]].points;
        firstOfPoints[byRank[i]] = samePoints ? firstOfPoints[byRank[i - 1]] : i;
    }

    PlaceCounts counts(snapshots.size());
    std::vector<size_t> at(static_cast<size_t>(teamCount));
    for (qsizetype i = 0; i < teamCount; ++i) {
        at[size_t(i)] = place[size_t(i)];
        counts.add(at[size_t(i)], 1);
    }
    std::vector<size_t> done(stepsOf.begin(), stepsOf.end());
    size_t snapshot = size_t(teamCount);
    size_t next = 0;
    for (size_t d = 0; d < dayEnds.size(); ++d) {
        for (; snapshot < dayEnds[d]; ++snapshot) {
            const size_t team = size_t(snapshots[snapshot].team);
            counts.add(at[team], -1);
            at[team] = place[snapshot];
            counts.add(at[team], 1);
        }
        const qint64 day = store.record(matches[dayFirsts[d]]).julianDay;
        for (; next < playedEnds[d]; ++next) {
            const Played &p = played[next];
            const size_t s = p.snapshot;
            const qint64 position = headToHead ? counts.before(firstOfPoints[s]) + p.levelAhead + 1
                                               : counts.before(place[s]) + 1;
            const size_t team = size_t(p.team);
            const size_t last = stepsOf[team] + filled[team];
            for (size_t &k = done[team];
                 k < last && store.record(matches[steps[k].match]).julianDay == day; ++k) {
                steps[k].points = snapshots[s].points;
                steps[k].position = position;
            }
        }
    }

    // The steps as the page and the chart read them, team by team in the final order; a match's
    // file name is made once for its two steps.
    QHash<QString, qsizetype> teamOf;
    for (qsizetype i = 0; i < teamCount; ++i)
        teamOf.insert(tally.record(i).name, i);
    race.steps.reserve(qsizetype(steps.size()));
    for (const QString &team : std::as_const(race.teams)) {
        const size_t i = size_t(teamOf.value(team));
        for (size_t k = stepsOf[i]; k < stepsOf[i] + filled[i]; ++k) {
            const Step &step = steps[k];
            const MatchRecord &r = store.record(matches[step.match]);
            QString &fileName = fileNames[step.match];
            if (fileName.isNull())
                fileName = t.string(r.plain[PlainField::FileName]);
            RaceStep out;
            out.team = team;
            out.number = int(k - stepsOf[i]) + 1;
            out.date = QDate::fromJulianDay(r.julianDay);
            out.opponent = tally.record(step.opponent).name;
            out.home = step.home;
            out.scored = step.scored;
            out.conceded = step.conceded;
            out.points = int(step.points);
            out.position = int(step.position);
            out.fileName = fileName;
            race.steps.append(out);
        }
    }
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
    return raceOf(store, scoredMatches(store, filter), rules, filter.till, true);
}

void calculateSeasonRace(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        keepMatch(context, rows);
        return;
    }
    const SeasonRace race =
        raceOf(context.match.store(), std::move(rows.kept()), context.params.rules,
               context.filter ? context.filter->till : QDate(), true);
    rows.clear();

    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable(
        {t.hTeam, t.hNumber, t.hDate, t.hOpponent, t.hVenue, t.hScore, t.hPoints, t.hPosition}, 50,
        int(race.steps.size()));
    table.setColumnWidth(0, 160);
    table.setColumnWidth(2, 90);
    table.setColumnWidth(3, 160);
    // Team by team in the order of the final table, each team's matches in order; not sorted.
    // Two rows per match: the texts that repeat (counts, dates, scores) are made once each.
    std::vector<QString> counts;
    const auto count = [&counts](qint64 n) -> QString {
        if (n < 0 || n >= 10000)
            return paddedCount(n);
        if (size_t(n) >= counts.size())
            counts.resize(size_t(n) + 1);
        QString &text = counts[size_t(n)];
        if (text.isNull())
            text = paddedCount(n);
        return text;
    };
    QHash<qint64, QString> dates;
    QHash<quint64, QString> scores;
    int r = 0;
    for (const RaceStep &step : race.steps) {
        QString &date = dates[step.date.toJulianDay()];
        if (date.isNull())
            date = dateText(step.date, u"/");
        QString &score = scores[quint64(quint32(step.scored)) << 32 | quint32(step.conceded)];
        if (score.isNull())
            score = QString::number(step.scored) + u':' + QString::number(step.conceded);
        QString link;
        link.reserve(int(PageCode::Report.size() + step.fileName.size()));
        link += PageCode::Report;
        link += step.fileName;
        table.setCell(r, 0, step.team);
        table.setCell(r, 1, count(step.number));
        table.setCell(r, 2, date);
        table.setCell(r, 3, step.opponent);
        table.setCell(r, 4, step.home ? t.venueHome : t.venueAway);
        table.setCell(r, 5, score);
        table.setCell(r, 6, count(step.points));
        table.setCell(r, 7, count(step.position));
        table.setCell(r, 8, link);
        ++r;
    }
}

void calculateSeasonGoals(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        keepMatch(context, rows);
        return;
    }
    const SeasonRace race =
        raceOf(context.match.store(), std::move(rows.kept()), context.params.rules,
               context.filter ? context.filter->till : QDate(), false);
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
