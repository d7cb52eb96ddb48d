#pragma once

// Terse reports and page runs for the statistics page tests.

#include "model/matchstore.h"
#include "pages/pagerunner.h"
#include "pages/tabledata.h"
#include "strings/texts.h"

#include <QMetaType>
#include <QStringList>

namespace stats {

inline PlayerEntry player(const QString &name, const QString &id = QString())
{
    return PlayerEntry{id, name};
}

inline QList<PlayerEntry> lineup(const QStringList &names)
{
    QList<PlayerEntry> list;
    for (const QString &name : names)
        list.append(player(name));
    return list;
}

inline MatchEvent playerEvent(const QString &type, const QString &team, const QString &player,
                              const QString &playerId = QString())
{
    MatchEvent e;
    e.type = type;
    e.team = team;
    e.player = player;
    e.playerid = playerId;
    return e;
}

inline MatchEvent substitution(const QString &team, const QString &off, const QString &on,
                               const QString &onId = QString())
{
    MatchEvent e = playerEvent(texts().substitution, team, off);
    e.player2 = on;
    e.playerid2 = onId;
    return e;
}

// A report between two teams on the given day of January 2020.
inline Match report(const QString &fileName, const QString &team1, const QString &team2,
                    int day = 1)
{
    Match m;
    m.edit().fileName = fileName;
    m.edit().team1 = team1;
    m.edit().team2 = team2;
    m.edit().date = QDate(2020, 1, day);
    return m;
}

// Runs one page over the reports, every report selected.
inline TableData runOver(const QList<Match> &matches, PageBuilder builder,
                         const QString &argument = QString(), bool considerId = false,
                         const QString &menuChoice = QString())
{
    MatchStore store;
    for (const Match &m : matches)
        store.append(m);
    MatchFilter filter;
    filter.from = QDate(1800, 1, 1);
    filter.till = QDate(2999, 12, 31);
    filter.considerId = considerId;
    TableData table;
    runPage(store, filter, builder, PageParams{menuChoice, argument, considerId}, table);
    return table;
}

// The first `columns` cells of every row in display order (all visible ones when negative),
// trimmed so that counts read as plain numbers, joined with "|".
inline QStringList visibleRows(const TableData &table, int columns = -1)
{
    QStringList result;
    const int n = columns < 0 ? table.linkColumn() : columns;
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < n; ++c)
            cells.append(table.cell(r, c).trimmed());
        result.append(cells.join(QLatin1Char('|')));
    }
    return result;
}

inline QStringList links(const TableData &table)
{
    QStringList result;
    for (int r = 0; r < table.rowCount(); ++r)
        result.append(table.link(r));
    return result;
}

} // namespace stats

Q_DECLARE_METATYPE(Match)
