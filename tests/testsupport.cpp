#include "testsupport.h"

#include "strings/texts.h"

Match makeMatch(const QString &fileName, const QString &date, const QString &team1,
                const QString &team2, const QString &goals1, const QString &goals2)
{
    Match match;
    MatchData &m = match.edit();
    m.fileName = fileName;
    m.date = QDate::fromString(date, Qt::ISODate);
    m.team1 = team1;
    m.team2 = team2;
    m.goals1 = goals1;
    m.goals2 = goals2;
    return match;
}

MatchEvent makeEvent(const QString &spec)
{
    const QStringList parts = spec.split(QLatin1Char('|'));
    const Texts &t = texts();
    const QString kind = parts.value(0);
    static const QList<std::pair<QString, const QString *>> letters = {
        {QStringLiteral("G"), &t.goal},         {QStringLiteral("P"), &t.penaltyGoal},
        {QStringLiteral("O"), &t.ownGoal},      {QStringLiteral("M"), &t.missedPenalty},
        {QStringLiteral("S"), &t.substitution}, {QStringLiteral("C"), &t.caution},
        {QStringLiteral("R"), &t.sendingOff},   {QStringLiteral("Y"), &t.secondCaution},
    };
    MatchEvent event;
    event.type = kind;
    for (const auto &[letter, text] : letters)
        if (kind == letter)
            event.type = *text;
    event.player = parts.value(1);
    event.team = parts.value(2);
    event.playerid = parts.value(3);
    event.player2 = parts.value(4);
    event.time = parts.value(5);
    return event;
}

QList<MatchEvent> makeEvents(const QStringList &specs)
{
    QList<MatchEvent> events;
    for (const QString &spec : specs)
        events.append(makeEvent(spec));
    return events;
}

QList<PlayerEntry> lineup(const QStringList &names)
{
    QList<PlayerEntry> players;
    for (const QString &name : names)
        players.append(PlayerEntry{QString(), name});
    return players;
}

MatchStore makeStore(const QList<Match> &matches)
{
    MatchStore store;
    for (const Match &match : matches) {
        store.append(match);
        store.addTournament(match->tournament);
    }
    return store;
}

MatchFilter everything()
{
    MatchFilter filter;
    filter.from = QDate(1800, 1, 1);
    filter.till = QDate(2999, 12, 31);
    return filter;
}

TableData runBuilder(const MatchStore &store, PageBuilder builder, const QString &argument,
                     bool considerId, const MatchFilter &filter)
{
    PageParams params;
    params.argument = argument;
    params.considerId = considerId;
    TableData table;
    runPage(store, filter, builder, params, table);
    return table;
}

QStringList tableLines(const TableData &table)
{
    QStringList lines;
    for (int r = 0; r < table.rowCount(); ++r)
        lines.append(table.row(r).join(QLatin1Char('|')));
    return lines;
}

QStringList columnOf(const TableData &table, int column)
{
    QStringList cells;
    for (int r = 0; r < table.rowCount(); ++r)
        cells.append(table.cell(r, column));
    return cells;
}
