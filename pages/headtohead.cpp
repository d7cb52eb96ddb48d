#include "pages/analysis.h"
#include "pages/pagecodes.h"

#include "pages/builders.h"
#include "pages/ranking.h"
#include "strings/texts.h"

#include <QSet>

#include <algorithm>
#include <array>

// Head-to-head: every match of two teams against each other.

namespace {

// Counters of a match row, and of a team's record.
enum MatchCount { Goals1 = 0, Goals2, HasScore };
enum Record { Played = 0, Wins, Draws, Losses, Scored, Conceded, RecordSize };

void addRecord(std::array<qint64, RecordSize> &record, int scored, int conceded)
{
    record[Played] += 1;
    record[scored > conceded ? Wins : scored < conceded ? Losses : Draws] += 1;
    record[Scored] += scored;
    record[Conceded] += conceded;
}

QStringList sortedNames(const QSet<QString> &names)
{
    QStringList list(names.cbegin(), names.cend());
    std::sort(list.begin(), list.end(), [](const QString &a, const QString &b) {
        const int c = QString::localeAwareCompare(a, b);
        return c != 0 ? c < 0 : QString::compare(a, b) < 0;
    });
    return list;
}

} // namespace

QString headToHeadArgument(const QString &team, const QString &opponent)
{
    return team + headToHeadSeparator + opponent;
}

void headToHead(const PageContext &context, PageRows &rows)
{
    const QString &argument = context.params.argument;
    const qsizetype cut = argument.indexOf(headToHeadSeparator);
    const QString first = cut < 0 ? argument : argument.left(cut);
    const QString second = cut < 0 ? QString() : argument.mid(cut + 1);

    if (!context.table) {
        const MatchView &m = *context.match;
        if (!(m.team1 == first && m.team2 == second) && !(m.team1 == second && m.team2 == first))
            return;
        // A drill-down row: a match imported twice is listed, and counted, once.
        PageRow &row = addMatchRow(rows, m, context.match->fileName);
        row.setCount(Goals1, scoreNumber(m.goals1));
        row.setCount(Goals2, scoreNumber(m.goals2));
        row.setCount(HasScore, m.goals1.isEmpty() && m.goals2.isEmpty() ? 0 : 1);
        return;
    }

    // The records, counted as the standings count: a match without a score is listed only.
    std::array<qint64, RecordSize> records[2]{};
    for (const PageRow *row : rows.rows()) {
        if (row->count(HasScore) == 0)
            continue;
        const bool firstAtHome = row->text(2) == first;
        const int g1 = row->count(Goals1);
        const int g2 = row->count(Goals2);
        addRecord(records[0], firstAtHome ? g1 : g2, firstAtHome ? g2 : g1);
        addRecord(records[1], firstAtHome ? g2 : g1, firstAtHome ? g1 : g2);
    }

    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable({t.hDate, t.hHome, t.hAway, t.hScore, t.hGames, t.hWins, t.hDraws, t.hLosses,
                        t.hScored, t.hConceded, t.hPoints},
                       40, int(rows.size()) + 2);
    table.setColumnWidth(0, 90);
    table.setColumnWidth(1, 150);
    table.setColumnWidth(2, 150);
    table.setColumnWidth(3, 60);
    // The record rows: an empty date keeps them above the matches, which are sorted by date.
    int r = 0;
    for (const QString &team : {first, second}) {
        for (int c = 0; c < 4; ++c)
            table.setCell(r, c, c == 1 ? team : QString());
        for (int c = Played; c < RecordSize; ++c)
            table.setCell(r, 4 + c, paddedCount(records[r][c]));
        // Points under the tournament's rules; deductions are the table's, not the meetings'.
        TeamRecord record;
        record.wins = records[r][Wins];
        record.draws = records[r][Draws];
        record.losses = records[r][Losses];
        table.setCell(r, 10, paddedCount(pointsOf(record, context.params.rules)));
        table.setCell(r, 11, QString(PageCode::TeamMatches) + team);
        ++r;
    }
    for (const PageRow *row : rows.rows()) {
        for (int c = 0; c < 11; ++c)
            table.setCell(r, c, c < 4 ? row->text(c == 0 ? 0 : c + 1) : QString());
        table.setCell(r, 11, QString(PageCode::Report) + row->text(5));
        ++r;
    }
    rows.clear();
    table.sortByColumn(0, Qt::AscendingOrder);
}

QStringList opponentsOf(const MatchStore &store, const MatchFilter &filter, const QString &team)
{
    const MatchSelection selection(filter, store);
    QSet<QString> names;
    for (qsizetype i = 0; i < store.count(); ++i) {
        if (!selection.selects(store.record(i)))
            continue;
        const MatchView m = store.at(i);
        if (m.team1 == team && m.team2 != team)
            names.insert(m.team2);
        else if (m.team2 == team && m.team1 != team)
            names.insert(m.team1);
    }
    return sortedNames(names);
}

QStringList teamsOf(const MatchStore &store, const MatchFilter &filter)
{
    const MatchSelection selection(filter, store);
    QSet<QString> names;
    for (qsizetype i = 0; i < store.count(); ++i) {
        if (selection.selects(store.record(i))) {
            const MatchView m = store.at(i);
            names.insert(m.team1);
            names.insert(m.team2);
        }
    }
    return sortedNames(names);
}
