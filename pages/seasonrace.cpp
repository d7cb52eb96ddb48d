#include "pages/analysis.h"
#include "pages/pagecodes.h"

#include "pages/builders.h"
#include "pages/tabledata.h"
#include "strings/texts.h"

#include <QHash>

#include <algorithm>

// The course of a season: the standings after every match day, read off the standings page
// itself so that the race ends exactly where the table stands.

namespace {

// Texts of a scored match as the builders keep it.
enum RaceText { RTeam1 = 0, RTeam2, RGoals1, RGoals2, RDate, RFile };

struct RaceMatch
{
    qsizetype index; // in RaceMatches::store
    QDate date;
    QString fileName;
};

// The scored matches of a selection, in a store of their own.
struct RaceMatches
{
    MatchStore store;
    QList<RaceMatch> matches;
};

void keepMatch(PageRows &rows, const MatchView &m, const QString &fileName)
{
    if (m.goals1.isEmpty() && m.goals2.isEmpty())
        return;
    PageRow &row = rows.newRow();
    row.setText(RTeam1, m.team1);
    row.setText(RTeam2, m.team2);
    row.setText(RGoals1, m.goals1);
    row.setText(RGoals2, m.goals2);
    row.setText(RDate, m.date.toString(Qt::ISODate));
    row.setText(RFile, fileName);
}

RaceMatches keptMatches(const PageRows &rows)
{
    RaceMatches kept;
    kept.matches.reserve(rows.size());
    for (const PageRow *row : rows.rows()) {
        Match match;
        MatchData &d = match.edit();
        d.team1 = row->text(RTeam1);
        d.team2 = row->text(RTeam2);
        d.goals1 = row->text(RGoals1);
        d.goals2 = row->text(RGoals2);
        d.date = QDate::fromString(row->text(RDate), Qt::ISODate);
        kept.matches.append(RaceMatch{kept.store.count(), d.date, row->text(RFile)});
        kept.store.add(match);
    }
    return kept;
}

SeasonRace raceOf(const RaceMatches &kept)
{
    SeasonRace race;
    QList<RaceMatch> matches = kept.matches;
    std::stable_sort(matches.begin(), matches.end(),
                     [](const RaceMatch &a, const RaceMatch &b) { return a.date < b.date; });

    // Every team of the selection stands in the table from the first day, without points.
    PageRows running;
    QStringList teams;
    for (const RaceMatch &m : std::as_const(matches)) {
        const MatchView match = kept.store.at(m.index);
        for (const QString &team : {match.team1, match.team2}) {
            PageRow &row = running.rowFor(team);
            if (row.text(0).isEmpty() && !teams.contains(team)) {
                row.setText(0, team);
                teams.append(team);
            }
        }
    }

    QHash<QString, QList<RaceStep>> steps;
    QHash<QString, int> finalPosition;
    qint64 allGoals = 0;
    PageContext context;
    for (qsizetype first = 0; first < matches.size();) {
        const QDate day = matches.at(first).date;
        qsizetype end = first;
        qint64 dayGoals = 0;
        QList<RaceStep *> today;
        for (; end < matches.size() && matches.at(end).date == day; ++end) {
            const MatchView m = kept.store.at(matches.at(end).index);
            context.table = nullptr;
            context.match.set(kept.store, matches.at(end).index);
            calculateTable(context, running);
            const int g1 = scoreNumber(m.goals1);
            const int g2 = scoreNumber(m.goals2);
            dayGoals += g1 + g2;
            for (int side = 0; side < 2; ++side) {
                const QString &team = side == 0 ? m.team1 : m.team2;
                QList<RaceStep> &list = steps[team];
                RaceStep step;
                step.team = team;
                step.number = int(list.size()) + 1;
                step.date = day;
                step.opponent = side == 0 ? m.team2 : m.team1;
                step.home = side == 0;
                step.scored = side == 0 ? g1 : g2;
                step.conceded = side == 0 ? g2 : g1;
                step.fileName = matches.at(end).fileName;
                list.append(step);
            }
        }
        for (qsizetype i = first; i < end; ++i) {
            const MatchView m = kept.store.at(matches.at(i).index);
            for (const QString &team : {m.team1, m.team2}) {
                for (RaceStep &step : steps[team])
                    if (step.date == day)
                        today.append(&step);
            }
        }

        // The table after the day: a copy of the running rows, which the page empties.
        PageRows snapshot = running;
        TableData table;
        context.table = &table;
        calculateTable(context, snapshot);
        const int pointsColumn = int(table.headers().indexOf(texts().hPoints));
        QHash<QString, std::pair<int, int>> standing; // team -> (position, points)
        for (int r = 0; r < table.rowCount(); ++r)
            standing.insert(table.cell(r, 0),
                            {r + 1, table.cell(r, pointsColumn).trimmed().toInt()});
        for (RaceStep *step : std::as_const(today)) {
            step->position = standing.value(step->team).first;
            step->points = standing.value(step->team).second;
        }
        for (auto it = standing.cbegin(); it != standing.cend(); ++it)
            finalPosition.insert(it.key(), it->first);

        allGoals += dayGoals;
        GoalsDay goals;
        goals.date = day;
        goals.matches = int(end - first);
        goals.goals = dayGoals;
        goals.average = double(dayGoals) / goals.matches;
        const qsizetype played = end;
        goals.running = double(allGoals) / double(played);
        race.days.append(goals);
        first = end;
    }

    race.teams = teams;
    std::stable_sort(race.teams.begin(), race.teams.end(),
                     [&finalPosition](const QString &a, const QString &b) {
                         return finalPosition.value(a) < finalPosition.value(b);
                     });
    for (const QString &team : std::as_const(race.teams))
        race.steps.append(steps.value(team));
    return race;
}

QString average(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

SeasonRace seasonRace(const MatchStore &store, const MatchFilter &filter)
{
    const MatchSelection selection(filter, store);
    PageRows rows;
    for (qsizetype i = 0; i < store.count(); ++i) {
        if (selection.selects(store.record(i))) {
            const MatchView match = store.at(i);
            keepMatch(rows, match, match.fileName);
        }
    }
    return raceOf(keptMatches(rows));
}

void calculateSeasonRace(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        keepMatch(rows, *context.match, context.match->fileName);
        return;
    }
    const SeasonRace race = raceOf(keptMatches(rows));
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
    int r = 0;
    for (const RaceStep &step : race.steps) {
        table.setCell(r, 0, step.team);
        table.setCell(r, 1, paddedCount(step.number));
        table.setCell(r, 2, step.date.toString(QStringLiteral("yyyy/MM/dd")));
        table.setCell(r, 3, step.opponent);
        table.setCell(r, 4, step.home ? t.venueHome : t.venueAway);
        table.setCell(r, 5, QStringLiteral("%1:%2").arg(step.scored).arg(step.conceded));
        table.setCell(r, 6, paddedCount(step.points));
        table.setCell(r, 7, paddedCount(step.position));
        table.setCell(r, 8, QString(PageCode::Report) + step.fileName);
        ++r;
    }
}

void calculateSeasonGoals(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        keepMatch(rows, *context.match, context.match->fileName);
        return;
    }
    const SeasonRace race = raceOf(keptMatches(rows));
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
