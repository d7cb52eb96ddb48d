#include "pages/builders.h"
#include "pages/pagecodes.h"

#include "strings/texts.h"

#include <QStringList>

#include <algorithm>

// Every match list formats one date per row, and the general formatter is the slowest part of the
// overview.
QString dateText(const QDate &date, QStringView separator)
{
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    if (!date.isValid() || year < 1000 || year > 9999) {
        const QString format = QStringLiteral("yyyy%1MM%1dd").arg(separator);
        return date.toString(format);
    }
    QString text(8 + 2 * separator.size(), Qt::Uninitialized);
    QChar *out = text.data();
    const auto put = [&out](int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            out[i] = QChar(u'0' + value % 10);
        out += digits;
    };
    const auto sep = [&out, separator] {
        for (const QChar ch : separator)
            *out++ = ch;
    };
    put(year, 4);
    sep();
    put(month, 2);
    sep();
    put(day, 2);
    return text;
}

QString listDateText(const QDate &date)
{
    return dateText(date, u"/");
}

QString matchRowKey(const MatchView &match)
{
    return numberKey({quint32(match.record.julianDay), keyText(match.textId(Team1Field)),
                      keyText(match.textId(Team2Field))});
}

QString personLink(QLatin1StringView code, bool byId, const QString &name, const QString &id)
{
    if (byId && !id.isEmpty())
        return idPageCode(code) + id;
    return code + name;
}

PageRow &addMatchRow(PageRows &rows, const MatchView &match, const QString &extra)
{
    PageRow &row = rows.rowFor(matchRowKey(match));
    row.setText(0, dateText(match.date, u"/"));
    row.setText(1, match.city);
    row.setText(2, match.team1);
    row.setText(3, match.team2);
    row.setText(4, scoreText(match));
    row.setText(5, extra);
    return row;
}

bool playsInMatch(const MatchView &match, const QString &name)
{
    for (const PlayerView &player : match.players1)
        if (player.name == name)
            return true;
    for (const PlayerView &player : match.players2)
        if (player.name == name)
            return true;
    const QString &substitution = texts().substitution;
    for (const EventView &event : match.events)
        if (event.player2 == name && event.type == substitution)
            return true;
    return false;
}

bool playsInMatchById(const MatchView &match, const QString &id)
{
    for (const PlayerView &player : match.players1)
        if (player.id == id)
            return true;
    for (const PlayerView &player : match.players2)
        if (player.id == id)
            return true;
    const QString &substitution = texts().substitution;
    for (const EventView &event : match.events)
        if (event.playerid2 == id && event.type == substitution)
            return true;
    return false;
}

int goalsInMatch(const MatchView &match, const QString &name, bool byId)
{
    const Texts &t = texts();
    int goals = 0;
    for (const EventView &event : match.events)
        if ((byId ? event.playerid : event.player) == name &&
            (event.type == t.goal || event.type == t.penaltyGoal))
            ++goals;
    return goals;
}

namespace {

using MatchTest = bool (*)(const MatchView &match, const QString &argument);

QString reportLink(const QString &fileName)
{
    return QString(PageCode::Report) + fileName;
}

// The emit phase shared by the drill-down lists: date, city, teams and score, plus the goals
// column on the goals page. Rows come out in creation order; the stable sort by date keeps that
// order for matches of the same day.
void emitDrillDown(const PageContext &context, PageRows &rows, bool withGoals)
{
    const Texts &t = texts();
    ResultTable &table = *context.table;
    QStringList headers{t.hDate, t.hCity, t.hHome, t.hAway, t.hScore};
    if (withGoals)
        headers.append(t.hBalls);
    table.prepareTable(headers, 60, int(rows.size()));
    table.setColumnWidth(0, 90);
    table.setColumnWidth(1, 120);
    table.setColumnWidth(2, 120);
    table.setColumnWidth(3, withGoals ? 90 : 120);
    if (withGoals)
        table.setColumnWidth(4, 90);

    const int linkColumn = int(headers.size());
    int r = 0;
    for (const PageRow *row : rows.rows()) {
        for (int c = 0; c < 5; ++c)
            table.setCell(r, c, row->text(c));
        if (withGoals)
            table.setCell(r, 5, QString::number(row->count(0)));
        table.setCell(r, linkColumn, reportLink(row->text(5)));
        ++r;
    }
    rows.clear();
    table.sortByColumn(0, Qt::AscendingOrder);
}

void drillDown(const PageContext &context, PageRows &rows, MatchTest test)
{
    if (context.table) {
        emitDrillDown(context, rows, false);
        return;
    }
    if (test(*context.match, context.params.argument))
        addMatchRow(rows, *context.match, context.match->fileName);
}

bool atStadium(const MatchView &match, const QString &stadium)
{
    return match.stadium == stadium;
}

bool refereedBy(const MatchView &match, const QString &referee)
{
    return match.referee == referee;
}

bool coachedBy(const MatchView &match, const QString &coach)
{
    return match.coach1 == coach || match.coach2 == coach;
}

bool coachedById(const MatchView &match, const QString &id)
{
    return match.coach1Id == id || match.coach2Id == id;
}

bool playedBy(const MatchView &match, const QString &team)
{
    return match.team1 == team || match.team2 == team;
}

} // namespace

void calculateMatches(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        // Every selected match gets its own row, duplicates included: kept by its place in the
        // store, its texts are written once, in the emit phase.
        rows.kept().push_back(context.match->index());
        return;
    }

    const Texts &t = texts();
    const MatchStore &store = context.match->store;
    ResultTable &table = *context.table;
    std::vector<qsizetype> &kept = rows.kept();
    table.prepareTable({t.hDate, t.hHome, t.hAway, t.hScore}, 60, int(kept.size()));
    for (int c = 0; c < 3; ++c)
        table.setColumnWidth(c, 120);
    // Written in the order of the date column, which the table's stable sort then keeps: dates
    // of four-digit years sort as their texts do; any other date is ordered by its text.
    const auto plainYear = [&store](qsizetype i) {
        const int year = store.at(i).date.year();
        return year >= 1000 && year <= 9999;
    };
    if (std::all_of(kept.begin(), kept.end(), plainYear)) {
        std::stable_sort(kept.begin(), kept.end(), [&store](qsizetype a, qsizetype b) {
            return store.record(a).julianDay < store.record(b).julianDay;
        });
        table.rowsInOrder();
    } else {
        std::stable_sort(kept.begin(), kept.end(), [&store](qsizetype a, qsizetype b) {
            return dateText(store.at(a).date, u"/") < dateText(store.at(b).date, u"/");
        });
    }
    table.fillRows(int(kept.size()), [&store, &kept](ResultTable &part, int begin, int end) {
        for (int r = begin; r < end; ++r) {
            const MatchView match = store.at(kept[size_t(r)]);
            part.setCell(r, 0, dateText(match.date, u"/"));
            part.setCell(r, 1, match.team1);
            part.setCell(r, 2, match.team2);
            part.setCell(r, 3, scoreText(match));
            part.setCell(r, 4, reportLink(match.fileName));
        }
    });
    rows.clear();
    table.sortByColumn(0, Qt::AscendingOrder);
}

void stadiumMatches(const PageContext &context, PageRows &rows)
{
    drillDown(context, rows, atStadium);
}

// True when a penalty was scored or missed in the match.
static bool hasPenalty(const MatchView &match)
{
    const Texts &t = texts();
    for (const EventView &event : match.events)
        if (event.type == t.penaltyGoal || event.type == t.missedPenalty)
            return true;
    return false;
}

void refereeMatches(const PageContext &context, PageRows &rows)
{
    // Opened with the referee page's "Матчи с пенальти" entry, the list keeps only the matches
    // with a penalty; every other entry shows all of the referee's matches.
    if (!context.table && context.params.menuChoice == texts().menuPenaltyMatches &&
        !hasPenalty(*context.match))
        return;
    drillDown(context, rows, refereedBy);
}

void coachMatches(const PageContext &context, PageRows &rows)
{
    drillDown(context, rows, coachedBy);
}

void coachMatchesById(const PageContext &context, PageRows &rows)
{
    drillDown(context, rows, coachedById);
}

void playerMatches(const PageContext &context, PageRows &rows)
{
    drillDown(context, rows, playsInMatch);
}

void playerMatchesById(const PageContext &context, PageRows &rows)
{
    drillDown(context, rows, playsInMatchById);
}

void teamMatches(const PageContext &context, PageRows &rows)
{
    drillDown(context, rows, playedBy);
}

namespace {

void goalMatchesOf(const PageContext &context, PageRows &rows, bool byId)
{
    if (context.table) {
        emitDrillDown(context, rows, true);
        return;
    }
    const int goals = goalsInMatch(*context.match, context.params.argument, byId);
    if (goals == 0)
        return;
    // A later match with the same date and teams replaces the count, as it replaces the texts.
    addMatchRow(rows, *context.match, context.match->fileName).setCount(0, goals);
}

} // namespace

void goalMatches(const PageContext &context, PageRows &rows)
{
    goalMatchesOf(context, rows, false);
}

void goalMatchesById(const PageContext &context, PageRows &rows)
{
    goalMatchesOf(context, rows, true);
}
