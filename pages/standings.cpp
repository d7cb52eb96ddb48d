#include "pages/builders.h"
#include "pages/pagecodes.h"

#include "pages/analysis.h"
#include "pages/ranking.h"
#include "strings/standingstexts.h"
#include "strings/texts.h"

#include <QStringList>

#include <algorithm>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace {

// The footnote naming the deductions that apply to the teams in the table.
QString deductionsFootnote(const QList<TeamRecord> &teams, const CompetitionRules &rules,
                           const QDate &asOf)
{
    const Texts &t = texts();
    QStringList items;
    for (const Deduction &d : rules.deductions) {
        const bool inTable = std::any_of(teams.cbegin(), teams.cend(),
                                         [&d](const TeamRecord &r) { return r.name == d.team; });
        if (!inTable || (d.from.isValid() && asOf.isValid() && d.from > asOf))
            continue;
        QStringList details;
        if (!d.reason.isEmpty())
            details.append(d.reason);
        if (d.from.isValid())
            details.append(t.deductionSince.arg(d.from.toString(u"dd.MM.yyyy"_s)));
        QString item = t.deductionItem.arg(d.team, QString::number(d.points));
        if (!details.isEmpty())
            item += t.deductionDetails.arg(details.join(u", "_s));
        items.append(item);
    }
    return items.isEmpty() ? QString() : t.deductionsFootnote.arg(items.join(u"; "_s));
}

} // namespace

void writeStandings(ResultTable &table, const Standings &standings, const QStringList &extraHeaders,
                    const std::function<QStringList(const TeamRecord &)> &extraCells)
{
    const Texts &t = texts();
    const StandingsTexts &st = standingsTexts();
    QStringList headers{st.hPlace, t.hTeam,   t.hGames,    t.hWins,        t.hDraws,
                        t.hLosses, t.hScored, t.hConceded, st.hDifference, t.hPoints};
    const int pointsColumn = int(headers.size()) - 1;
    if (standings.anyDeducted)
        headers.append(t.hDeducted);
    const int extraColumn = int(headers.size());
    headers.append(extraHeaders);
    table.prepareTable(headers, 60, int(standings.teams.size()));
    table.setColumnWidth(0, 40);
    table.setColumnWidth(1, 180);
    for (int c = extraColumn; c < headers.size(); ++c)
        table.setColumnWidth(c, 130);
    setTeamMenu(table, true);

    // Written in ranking order, the place with it; the stable sort by the points column then keeps
    // that order among teams level on points.
    bool negative = false;
    for (int r = 0; r < standings.teams.size(); ++r) {
        const TeamRecord &team = standings.teams.at(r);
        const qint64 points = standings.points.at(r);
        const qint64 difference = team.scored - team.conceded;
        negative = negative || points < 0;
        table.setCell(r, 0, paddedCount(r + 1));
        table.setCell(r, 1, team.name);
        table.setCell(r, 2, QString::number(team.wins + team.draws + team.losses));
        table.setCell(r, 3, QString::number(team.wins));
        table.setCell(r, 4, QString::number(team.draws));
        table.setCell(r, 5, QString::number(team.losses));
        table.setCell(r, 6, QString::number(team.scored));
        table.setCell(r, 7, QString::number(team.conceded));
        table.setCell(r, 8,
                      difference > 0 ? u'+' + QString::number(difference)
                                     : QString::number(difference));
        table.setCell(r, pointsColumn, paddedCount(points));
        if (standings.anyDeducted)
            table.setCell(r, pointsColumn + 1,
                          team.deducted ? paddedCount(team.deducted) : QString());
        if (extraCells) {
            const QStringList extra = extraCells(team);
            for (int c = 0; c < extra.size(); ++c)
                table.setCell(r, extraColumn + c, extra.at(c));
        }
        table.setCell(r, int(headers.size()), QString(PageCode::TeamMatches) + team.name);
    }
    if (standings.anyDeducted)
        table.setFootnote(deductionsFootnote(standings.teams, standings.rules, standings.asOf));
    // Padded texts of negative numbers do not sort as numbers: a table with a team below zero
    // stays in the order it was written.
    if (!negative)
        table.sortByColumn(pointsColumn, Qt::DescendingOrder);
}

void countStandings(const PageContext &context, PageRows &rows, StandingsSide side)
{
    const CompetitionRules &rules = context.params.rules;
    TeamTally &tally = rows.state<TeamTally>(usesHeadToHead(rules));
    if (!context.table) {
        tally.add(context.match.store(), context.match.record(), side);
        return;
    }
    const Standings standings =
        standingsOf(tally, rules, context.filter ? context.filter->till : QDate());
    rows.clear();
    writeStandings(*context.table, standings);
}

void calculateTable(const PageContext &context, PageRows &rows)
{
    countStandings(context, rows, StandingsSide::Both);
}
