#pragma once

// Small helpers for the statistics page tests: building reports in a line, running a page over
// them and reading the table back as plain rows.

#include "model/matchstore.h"
#include "pages/pagerunner.h"
#include "pages/tabledata.h"
#include "strings/texts.h"

#include <QMetaType>
#include <QStringList>

#include <initializer_list>

namespace stats {

inline PlayerEntry player(const QString &name, const QString &id = QString())
{
    return PlayerEntry{id, name};
}

// An event of one player (goal, caution ...): type, team, player and the player's ID.
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

// A substitution: off goes off, on comes on.
inline MatchEvent substitution(const QString &team, const QString &off, const QString &on,
                               const QString &onId = QString())
{
    MatchEvent e = playerEvent(texts().substitution, team, off);
    e.player2 = on;
    e.playerid2 = onId;
    return e;
}

// A dated report between two teams; every other field is set by the caller through edit().
inline Match report(const QString &fileName, const QString &team1, const QString &team2,
                    int day = 1)
{
    Match m;
    MatchData &d = m.edit();
    d.fileName = fileName;
    d.team1 = team1;
    d.team2 = team2;
    d.date = QDate(2020, 1, 1).addDays(day - 1);
    return m;
}

inline QList<PlayerEntry> lineup(std::initializer_list<QString> names)
{
    QList<PlayerEntry> list;
    for (const QString &name : names)
        list.append(player(name));
    return list;
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
    PageParams params;
    params.argument = argument;
    params.considerId = considerId;
    params.menuChoice = menuChoice;
    TableData table;
    runPage(store, filter, builder, params, table);
    return table;
}

// The visible cells of every row in display order, each row joined with "|" and every cell
// trimmed, so that counts read as plain numbers.
inline QStringList visibleRows(const TableData &table)
{
    QStringList result;
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table.linkColumn(); ++c)
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

// Lists of reports as a column of data-driven tests.
Q_DECLARE_METATYPE(Match)
