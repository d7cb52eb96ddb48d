#include "pages/builders.h"

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

void accumulate(const MatchData &match, PageRows &rows)
{
    // A report without any score says nothing about the result; counting it as 0:0 would invent
    // a draw.
    if (match.goals1.isEmpty() && match.goals2.isEmpty())
        return;

    PageRow &row1 = rows.rowFor(match.team1);
    PageRow &row2 = rows.rowFor(match.team2);
    if (row1.text(0).isEmpty())
        row1.setText(0, match.team1);
    if (row2.text(0).isEmpty())
        row2.setText(0, match.team2);

    const int g1 = scoreNumber(match.goals1);
    const int g2 = scoreNumber(match.goals2);
    addGoals(row1, Scored, g1);
    addGoals(row1, Conceded, g2);
    addGoals(row2, Scored, g2);
    addGoals(row2, Conceded, g1);
    if (g1 > g2) {
        row1.addCount(Wins, 1);
        row2.addCount(Losses, 1);
    } else if (g1 < g2) {
        row2.addCount(Wins, 1);
        row1.addCount(Losses, 1);
    } else {
        row1.addCount(Draws, 1);
        row2.addCount(Draws, 1);
    }
}

} // namespace

void calculateTable(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        accumulate(*context.match, rows);
        return;
    }

    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable(
        {t.hTeam, t.hGames, t.hWins, t.hDraws, t.hLosses, t.hScored, t.hConceded, t.hPoints}, 60,
        int(rows.size()));
    table.setColumnWidth(0, 180);

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
