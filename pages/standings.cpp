#include "pages/builders.h"

#include "pages/analysis.h"
#include "strings/texts.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace {

enum Count { Wins, Draws, Losses, Scored, Conceded };

// Goal totals come from report text: an absurd score must not wrap a counter round to negative.
void addGoals(PageRow &row, int count, qint64 goals)
{
    const qint64 sum = qint64(row.count(count)) + goals;
    const qint64 low = std::numeric_limits<qint32>::min();
    const qint64 high = std::numeric_limits<qint32>::max();
    row.setCount(count, qint32(std::clamp(sum, low, high)));
}

qint64 points(const PageRow &row)
{
    return 3 * qint64(row.count(Wins)) + row.count(Draws);
}

qint64 goalDifference(const PageRow &row)
{
    return qint64(row.count(Scored)) - row.count(Conceded);
}

// Points, then goal difference, then goals scored, then the name in code-unit order.
bool ranksBefore(const PageRow *a, const PageRow *b)
{
    if (points(*a) != points(*b))
        return points(*a) > points(*b);
    if (goalDifference(*a) != goalDifference(*b))
        return goalDifference(*a) > goalDifference(*b);
    if (a->count(Scored) != b->count(Scored))
        return a->count(Scored) > b->count(Scored);
    return QString::compare(a->text(0), b->text(0)) < 0;
}

// One side's result: row of team, created with its name.
void addResult(PageRows &rows, const QString &team, int scored, int conceded)
{
    PageRow &row = rows.rowFor(team);
    if (row.text(0).isEmpty())
        row.setText(0, team);
    addGoals(row, Scored, scored);
    addGoals(row, Conceded, conceded);
    row.addCount(scored > conceded ? Wins : scored < conceded ? Losses : Draws, 1);
}

} // namespace

void addToStandings(const MatchData &match, PageRows &rows, StandingsSide side)
{
    // A report without any score says nothing about the result; counting it as 0:0 would invent
    // a draw.
    if (match.goals1.isEmpty() && match.goals2.isEmpty())
        return;
    const int g1 = scoreNumber(match.goals1);
    const int g2 = scoreNumber(match.goals2);
    if (side != StandingsSide::Away)
        addResult(rows, match.team1, g1, g2);
    if (side != StandingsSide::Home)
        addResult(rows, match.team2, g2, g1);
}

void calculateTable(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        addToStandings(*context.match, rows, StandingsSide::Both);
        return;
    }

    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable(
        {t.hTeam, t.hGames, t.hWins, t.hDraws, t.hLosses, t.hScored, t.hConceded, t.hPoints}, 60,
        int(rows.size()));
    table.setColumnWidth(0, 180);
    setTeamMenu(table, true);

    // Written in ranking order; the stable sort by the points column then keeps that order among
    // teams level on points.
    QList<PageRow *> ranked = rows.rows();
    std::stable_sort(ranked.begin(), ranked.end(), ranksBefore);
    int r = 0;
    for (const PageRow *row : std::as_const(ranked)) {
        const qint64 played = qint64(row->count(Wins)) + row->count(Draws) + row->count(Losses);
        table.setCell(r, 0, row->text(0));
        table.setCell(r, 1, QString::number(played));
        table.setCell(r, 2, QString::number(row->count(Wins)));
        table.setCell(r, 3, QString::number(row->count(Draws)));
        table.setCell(r, 4, QString::number(row->count(Losses)));
        table.setCell(r, 5, QString::number(row->count(Scored)));
        table.setCell(r, 6, QString::number(row->count(Conceded)));
        table.setCell(r, 7, paddedCount(points(*row)));
        table.setCell(r, 8, QStringLiteral("ta02_") + row->text(0));
        ++r;
    }
    rows.clear();
    table.sortByColumn(7, Qt::DescendingOrder);
}
