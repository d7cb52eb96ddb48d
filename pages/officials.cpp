#include "pages/builders.h"
#include "pages/pagecodes.h"

#include "pages/rowtext.h"
#include "strings/stattexts.h"
#include "strings/texts.h"

#include <algorithm>
#include <limits>

// Referees, coaches and stadiums: one row per person or place of the selected matches. The row
// shows the name and city (or team) of the last match that touched it; its link carries the name
// alone, which is what the match lists select by.

namespace {

// Referee row counters.
enum RefereeCounter {
    RefereeMatches = 0,
    RefereeSendingsOff = 1,
    RefereeSecondCautions = 2,
    RefereeCautions = 3,
    RefereePenalties = 4
};

// Coach row counters.
enum CoachCounter {
    CoachMatches = 0,
    CoachWins = 1,
    CoachDraws = 2,
    CoachLosses = 3,
    CoachScored = 4,
    CoachConceded = 5
};

// Stadium row counters.
enum StadiumCounter { StadiumMatches = 0, StadiumTotal = 1, StadiumHighest = 2, StadiumLowest = 3 };

// The attendance of a match; 0 when it is not given, not a number, or below zero.
qint64 attendanceOf(const MatchView &match)
{
    bool ok = false;
    const qint64 value = match.attendance.toLongLong(&ok, 10);
    return ok && value > 0 ? value : 0;
}

// Highest and lowest keep 0 while no attendance is known.
void noteExtremes(PageRow &row, qint64 a)
{
    if (row.count(StadiumHighest) < a || row.count(StadiumHighest) == 0)
        row.setCount(StadiumHighest, a);
    if (row.count(StadiumLowest) > a || row.count(StadiumLowest) == 0)
        row.setCount(StadiumLowest, a);
}

// One coach's side of a match: the sighting's row, its name, team (and ID), one more match.
PageRow *coachRow(PageRows &rows, const MatchView &m, const QString &search, bool considerId,
                  MatchField idField, MatchField coachField, MatchField teamField)
{
    const TextId id = m.textId(idField), coach = m.textId(coachField), team = m.textId(teamField);
    if (!search.isEmpty() && !m.text(coach).contains(search))
        return nullptr;
    const PersonKey key = personKey(considerId, m.table, id, coach, team);
    PageRow *row = rows.index().find(m.table, key.a, key.b);
    if (!row) {
        row = &rows.newRow();
        rows.index().insert(key.a, key.b, row);
    }
    setRowText(*row, 0, m.text(coach));
    setRowText(*row, 1, m.text(team));
    if (considerId)
        setRowText(*row, 2, m.text(id));
    row->addCount(CoachMatches, 1);
    return row;
}

void addResult(PageRow *row, int scored, int conceded)
{
    if (!row)
        return;
    row->addCount(CoachScored, scored);
    row->addCount(CoachConceded, conceded);
    if (scored > conceded)
        row->addCount(CoachWins, 1);
    else if (scored < conceded)
        row->addCount(CoachLosses, 1);
    else
        row->addCount(CoachDraws, 1);
}

} // namespace

void calculateReferees(const PageContext &context, PageRows &rows)
{
    const Texts &t = texts();
    if (!context.table) {
        const MatchView &m = *context.match;
        QString buffer;
        PageRow &row = rows.rowFor(numberKeyInto(
            buffer, {keyText(m.textId(RefereeField)), keyText(m.textId(RefereeCityField))}));
        setRowText(row, 0, m.referee);
        setRowText(row, 1, m.refereeCity);
        row.addCount(RefereeMatches, 1);
        // Every booking and penalty of the match counts, for both teams.
        for (const EventView &e : m.events) {
            if (e.type == t.caution)
                row.addCount(RefereeCautions, 1);
            else if (e.type == t.penaltyGoal || e.type == t.missedPenalty)
                row.addCount(RefereePenalties, 1);
            else if (e.type == t.sendingOff)
                row.addCount(RefereeSendingsOff, 1);
            else if (e.type == t.secondCaution)
                row.addCount(RefereeSecondCautions, 1);
        }
        return;
    }

    ResultTable &table = *context.table;
    // The second entry opens the referee's list restricted to matches with a penalty.
    table.setMenu({t.menuAllMatches, t.menuPenaltyMatches}, {QString(), QStringLiteral("pen")});
    table.prepareTable(
        {t.hReferee, t.hCity, t.hPlayed, t.hRed, t.hSecondYellow, t.hYellow, t.hPenalties}, 60,
        int(rows.size()));
    table.setColumnWidth(0, 180);
    table.setColumnWidth(1, 180);
    const QString link = QString(PageCode::RefereeMatches);
    int r = 0;
    for (const PageRow *row : rows.rows()) {
        table.setCell(r, 0, row->text(0));
        table.setCell(r, 1, row->text(1));
        table.setCell(r, 2, paddedCount(row->count(RefereeMatches)));
        table.setCell(r, 3, paddedCount(row->count(RefereeSendingsOff)));
        table.setCell(r, 4, paddedCount(row->count(RefereeSecondCautions)));
        table.setCell(r, 5, paddedCount(row->count(RefereeCautions)));
        table.setCell(r, 6, paddedCount(row->count(RefereePenalties)));
        table.setCell(r, 7, link + row->text(0));
        ++r;
    }
    rows.clear();
    table.sortByColumn(2, Qt::DescendingOrder);
}

void calculateCoaches(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        const MatchView &m = *context.match;
        const QString &search = context.params.argument;
        const bool considerId = context.params.considerId;
        PageRow *row1 =
            coachRow(rows, m, search, considerId, Coach1IdField, Coach1Field, Team1Field);
        PageRow *row2 =
            coachRow(rows, m, search, considerId, Coach2IdField, Coach2Field, Team2Field);
        // A match without a recorded score counts as played, but not as a result: reading it
        // as 0:0 would invent a draw.
        if (m.goals1.isEmpty() && m.goals2.isEmpty())
            return;
        const int g1 = scoreNumber(m.goals1);
        const int g2 = scoreNumber(m.goals2);
        addResult(row1, g1, g2);
        addResult(row2, g2, g1);
        return;
    }

    const Texts &t = texts();
    const bool considerId = context.params.considerId;
    ResultTable &table = *context.table;
    QStringList headers{t.hCoach, t.hTeam};
    if (considerId)
        headers.append(statTexts().hId);
    headers += {t.hGames, t.hWins, t.hDraws, t.hLosses, t.hScored, t.hConceded, t.hPoints};
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
        table.setCell(r, c++, paddedCount(row->count(CoachMatches)));
        table.setCell(r, c++, paddedCount(row->count(CoachWins)));
        table.setCell(r, c++, paddedCount(row->count(CoachDraws)));
        table.setCell(r, c++, paddedCount(row->count(CoachLosses)));
        table.setCell(r, c++, paddedCount(row->count(CoachScored)));
        table.setCell(r, c++, paddedCount(row->count(CoachConceded)));
        table.setCell(r, c++,
                      paddedCount(3 * qint64(row->count(CoachWins)) + row->count(CoachDraws)));
        table.setCell(r, c++,
                      personLink(PageCode::CoachMatches, considerId, row->text(0), row->text(2)));
        ++r;
    }
    rows.clear();
    table.sortByColumn(0, Qt::AscendingOrder);
}

void calculateStadiums(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        const MatchView &m = *context.match;
        QString buffer;
        PageRow &row = rows.rowFor(
            numberKeyInto(buffer, {keyText(m.textId(StadiumField)), keyText(m.textId(CityField))}));
        setRowText(row, 0, m.stadium);
        setRowText(row, 1, m.city);
        row.addCount(StadiumMatches, 1);
        const qint64 a = attendanceOf(m);
        if (a != 0) {
            row.addCount(StadiumTotal, a);
            noteExtremes(row, a);
        }
        return;
    }

    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable(
        {t.hStadium, t.hCity, t.hMatches, t.hAttendanceAvg, t.hAttendanceMax, t.hAttendanceMin}, 90,
        int(rows.size()));
    table.setColumnWidth(0, 180);
    table.setColumnWidth(1, 180);
    const QString link = QString(PageCode::StadiumMatches);
    int r = 0;
    for (const PageRow *row : rows.rows()) {
        // Matches without an attendance count in the divisor: they are matches at the stadium.
        const qint64 matches = row->count(StadiumMatches);
        const qint64 average = matches > 0 ? row->count(StadiumTotal) / matches : 0;
        table.setCell(r, 0, row->text(0));
        table.setCell(r, 1, row->text(1));
        table.setCell(r, 2, paddedCount(matches));
        table.setCell(r, 3, paddedCount(average));
        table.setCell(r, 4, paddedCount(row->count(StadiumHighest)));
        table.setCell(r, 5, paddedCount(row->count(StadiumLowest)));
        table.setCell(r, 6, link + row->text(0));
        ++r;
    }
    rows.clear();
    table.sortByColumn(0, Qt::AscendingOrder);
}
