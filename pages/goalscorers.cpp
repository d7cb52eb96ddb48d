#include "pages/builders.h"
#include "pages/pagecodes.h"

#include "pages/rowtext.h"
#include "strings/stattexts.h"
#include "strings/texts.h"

#include <QStringList>

void calculateGoals(const PageContext &context, PageRows &rows)
{
    const Texts &t = texts();
    const bool considerId = context.params.considerId;
    if (!context.table) {
        const MatchView &m = *context.match;
        for (qsizetype i = 0; i < m.events.size(); ++i) {
            const EventRecord &e = m.events.item(i);
            const EventKind kind = rows.eventKind(m.table, e.texts[EventTypeField]);
            if (kind != EventKind::Goal && kind != EventKind::PenaltyGoal)
                continue;
            // The row of the name and the team (or of the ID), by the texts' numbers.
            const TextId id = e.texts[EventPlayerIdField], name = e.texts[EventPlayerField],
                         team = e.texts[EventTeamField];
            const PersonKey key = personKey(considerId, m.table, id, name, team);
            PageRow *found = rows.index().find(m.table, key.a, key.b);
            if (!found) {
                found = &rows.newRow();
                rows.index().insert(key.a, key.b, found);
            }
            // The row shows the name and team of the last goal counted for it.
            PageRow &row = *found;
            setRowText(row, 0, m.text(name));
            setRowText(row, 1, m.text(team));
            if (considerId)
                setRowText(row, 2, m.text(id));
            row.addCount(0, 1);
            if (kind == EventKind::PenaltyGoal)
                row.addCount(1, 1);
        }
        return;
    }

    const StatTexts &st = statTexts();
    ResultTable &table = *context.table;
    QStringList headers{t.hPlayer, t.hTeam};
    if (considerId)
        headers.append(st.hId);
    headers += {t.hBalls, st.hPenalties};
    // The row's own link, or the player's career.
    table.setMenu({t.menuDetails, st.actionCareer}, {QString(), QString(PageCode::Career)});
    table.prepareTable(headers, 60, int(rows.size()));
    table.setColumnWidth(0, 180);
    table.setColumnWidth(1, 180);
    int r = 0;
    for (const PageRow *row : rows.rows()) {
        int c = 0;
        table.setCell(r, c++, row->text(0));
        table.setCell(r, c++, row->text(1));
        if (considerId)
            table.setCell(r, c++, row->text(2));
        table.setCell(r, c++, paddedCount(row->count(0)));
        table.setCell(r, c++, paddedCount(row->count(1)));
        table.setCell(r, c++,
                      personLink(PageCode::ScorerMatches, considerId, row->text(0), row->text(2)));
        ++r;
    }
    rows.clear();
    table.sortByColumn(considerId ? 3 : 2, Qt::DescendingOrder);
}
