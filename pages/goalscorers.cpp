#include "pages/builders.h"
#include "pages/pagecodes.h"

#include "strings/texts.h"

#include <QStringList>

void calculateGoals(const PageContext &context, PageRows &rows)
{
    const Texts &t = texts();
    if (!context.table) {
        const bool considerId = context.params.considerId;
        const MatchView &m = *context.match;
        for (qsizetype i = 0; i < m.events.size(); ++i) {
            const EventRecord &e = m.events.item(i);
            const EventKind kind = rows.eventKind(m.table, e.texts[EventTypeField]);
            if (kind != EventKind::Goal && kind != EventKind::PenaltyGoal)
                continue;
            const EventView event = m.events.at(i);
            // The row of personKey(), found by the texts' numbers once it has been met.
            const TextId id = e.texts[EventPlayerIdField], name = e.texts[EventPlayerField],
                         team = e.texts[EventTeamField];
            const TextId a = considerId ? (event.playerid.isEmpty() ? name : id) : name;
            const TextId b = considerId ? 0 : team;
            PageRow *found = rows.index().find(m.table, a, b);
            if (!found) {
                found =
                    &rows.rowFor(personKey(considerId, event.playerid, event.player, event.team));
                rows.index().insert(a, b, found);
            }
            // The row shows the name and team of the last goal counted for it.
            PageRow &row = *found;
            row.setText(0, event.player);
            row.setText(1, event.team);
            row.addCount(0, 1);
        }
        return;
    }

    ResultTable &table = *context.table;
    table.prepareTable({t.hPlayer, t.hTeam, t.hBalls}, 60, int(rows.size()));
    table.setColumnWidth(0, 180);
    table.setColumnWidth(1, 180);
    int r = 0;
    for (const PageRow *row : rows.rows()) {
        table.setCell(r, 0, row->text(0));
        table.setCell(r, 1, row->text(1));
        table.setCell(r, 2, paddedCount(row->count(0)));
        table.setCell(r, 3, QString(PageCode::ScorerMatches) + row->text(0));
        ++r;
    }
    rows.clear();
    table.sortByColumn(2, Qt::DescendingOrder);
}
