#include "pages/analysis.h"
#include "pages/pagecodes.h"

#include "pages/builders.h"
#include "pages/tabledata.h"
#include "strings/texts.h"

#include <QHash>

#include <algorithm>

// Home and away tables and the form table: the standings' own counting and ranking over a part
// of each team's matches.

namespace {

// Texts and counters of a form row: one row per scored match, in the order the matches came.
enum FormText { FormTeam1 = 0, FormTeam2 = 1, FormGoals1 = 2, FormGoals2 = 3, FormDate = 4 };

int formLength(const QString &argument)
{
    bool ok = false;
    const int n = argument.toInt(&ok);
    return ok && n > 0 ? n : defaultFormLength;
}

QString resultLetter(int scored, int conceded)
{
    const Texts &t = texts();
    return scored > conceded ? t.formWin : scored < conceded ? t.formLoss : t.formDraw;
}

void emitForm(const PageContext &context, PageRows &rows)
{
    // Each team's scored matches in date order (matches of one day in the order they came).
    QList<const PageRow *> matches(rows.rows().cbegin(), rows.rows().cend());
    std::stable_sort(matches.begin(), matches.end(), [](const PageRow *a, const PageRow *b) {
        return a->text(FormDate) < b->text(FormDate);
    });
    QHash<QString, QList<const PageRow *>> byTeam;
    QStringList teams;
    for (const PageRow *m : std::as_const(matches)) {
        for (const QString &team : {m->text(FormTeam1), m->text(FormTeam2)}) {
            auto it = byTeam.find(team);
            if (it == byTeam.end()) {
                it = byTeam.insert(team, {});
                teams.append(team);
            }
            if (it->isEmpty() || it->constLast() != m)
                it->append(m);
        }
    }

    // The last N of each, counted for that team's side alone.
    const int n = formLength(context.params.argument);
    PageRows standings;
    QHash<QString, QString> letters;
    for (const QString &team : std::as_const(teams)) {
        const QList<const PageRow *> &played = byTeam[team];
        QStringList form;
        for (qsizetype i = std::max<qsizetype>(0, played.size() - n); i < played.size(); ++i) {
            const PageRow &m = *played.at(i);
            Match match;
            MatchData &d = match.edit();
            d.team1 = m.text(FormTeam1);
            d.team2 = m.text(FormTeam2);
            d.goals1 = m.text(FormGoals1);
            d.goals2 = m.text(FormGoals2);
            const bool home = d.team1 == team;
            addToStandings(d, standings, home ? StandingsSide::Home : StandingsSide::Away,
                           context.params.rules);
            const int g1 = scoreNumber(d.goals1);
            const int g2 = scoreNumber(d.goals2);
            form.append(home ? resultLetter(g1, g2) : resultLetter(g2, g1));
        }
        letters.insert(team, form.join(u' '));
    }
    rows.clear();

    // The standings as they are, with the letters in a column of their own after the points.
    TableData ranked;
    PageContext inner = context;
    inner.table = &ranked;
    calculateTable(inner, standings);
    ResultTable &table = *context.table;
    QStringList headers = ranked.headers();
    headers.append(texts().hForm);
    const int formColumn = ranked.linkColumn();
    table.prepareTable(headers, 60, ranked.rowCount());
    for (int c = 0; c < formColumn; ++c)
        table.setColumnWidth(c, ranked.columnWidth(c));
    table.setColumnWidth(formColumn, 130);
    for (int r = 0; r < ranked.rowCount(); ++r) {
        for (int c = 0; c < formColumn; ++c)
            table.setCell(r, c, ranked.cell(r, c));
        table.setCell(r, formColumn, letters.value(ranked.cell(r, 0)));
        table.setCell(r, formColumn + 1, ranked.link(r));
    }
    table.setMenu(ranked.menuLabels(), ranked.menuCodes());
    if (ranked.isSortingEnabled())
        table.sortByColumn(ranked.sortColumn(), ranked.sortOrder());
}

} // namespace

void homeTable(const PageContext &context, PageRows &rows)
{
    if (!context.table)
        addToStandings(context.match, rows, StandingsSide::Home, context.params.rules);
    else
        calculateTable(context, rows);
}

void awayTable(const PageContext &context, PageRows &rows)
{
    if (!context.table)
        addToStandings(context.match, rows, StandingsSide::Away, context.params.rules);
    else
        calculateTable(context, rows);
}

void formTable(const PageContext &context, PageRows &rows)
{
    if (context.table) {
        emitForm(context, rows);
        return;
    }
    const MatchView &m = *context.match;
    if (m.goals1.isEmpty() && m.goals2.isEmpty())
        return;
    PageRow &row = rows.newRow();
    row.setText(FormTeam1, m.team1);
    row.setText(FormTeam2, m.team2);
    row.setText(FormGoals1, m.goals1);
    row.setText(FormGoals2, m.goals2);
    row.setText(FormDate, m.date.toString(Qt::ISODate));
}

void setTeamMenu(ResultTable &table, bool withStandings)
{
    const Texts &t = texts();
    QStringList labels{t.menuDetails};
    QStringList codes{QString()};
    if (withStandings) {
        labels << t.menuHome << t.menuAway << t.menuForm;
        codes << QString(PageCode::HomeTable) << QString(PageCode::AwayTable)
              << QString(PageCode::FormTable);
    }
    labels << t.menuHeadToHead;
    codes << QString(PageCode::HeadToHead);
    table.setMenu(labels, codes);
}
