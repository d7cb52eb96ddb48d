#include "pages/builders.h"
#include "pages/pagecodes.h"

#include "pages/rowtext.h"
#include "strings/texts.h"

#include <algorithm>
#include <tuple>
#include <vector>

// Data checks: pages that list what looks wrong in the selected reports, so that it can be found
// and corrected in the report editor.

namespace {

// Counters of a name-and-team row of the ID check.
// IDs seen of one name and team: 1 at the first sighting, one more for each later sighting
// whose ID differs from the first.
enum IdCounter { IdsSeen = 0 };
// Texts of a name-and-team row of the ID check.
enum IdText { ReferenceId = 0, Name = 1, Team = 2, FirstId = 3, OtherId = 4 };

// The two match checks show the shared match row and lead to the match's report.
void emitMatchRows(ResultTable &table, PageRows &rows)
{
    const Texts &t = texts();
    table.prepareTable({t.hDate, t.hCity, t.hHome, t.hAway, t.hScore}, 120, int(rows.size()));
    const QString link = QString(PageCode::Report);
    int r = 0;
    for (const PageRow *row : rows.rows()) {
        for (int column = 0; column < 5; ++column)
            table.setCell(r, column, row->text(column));
        table.setCell(r, 5, link + row->text(5));
        ++r;
    }
    rows.clear();
    table.sortByColumn(0, Qt::AscendingOrder);
}

// One sighting of a player for the ID check: the first sighting of a name in a team sets the
// reference ID; every later one with another ID (an empty ID included) is counted and becomes the
// second ID shown.
void sightId(PageRows &rows, const MatchView &m, TextId nameId, TextId idId, TextId teamId)
{
    const QString &name = m.text(nameId), &id = m.text(idId), &team = m.text(teamId);
    // The row of the name and the team, found by their text numbers once it has been met.
    PageRow *found = rows.index().find(m.table, keyText(nameId), keyText(teamId));
    if (!found) {
        found = &rows.newRow();
        rows.index().insert(keyText(nameId), keyText(teamId), found);
    }
    PageRow &row = *found;
    // The tag: the text number of the reference ID, plus one; the same number is the same text.
    if (row.count(IdsSeen) == 0) {
        setRowText(row, ReferenceId, id);
        setRowText(row, Name, name);
        setRowText(row, Team, team);
        setRowText(row, FirstId, id);
        row.setCount(IdsSeen, 1);
        row.setTag(quint64(idId) + 1);
    } else if (row.tag() != quint64(idId) + 1 && id != row.text(ReferenceId)) {
        setRowText(row, OtherId, id);
        row.addCount(IdsSeen, 1);
    }
}

} // namespace

void verifyPlayers(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        // Only a match whose two line-ups both hold exactly eleven players is passed over; the
        // others are kept by place and written once, in the emit phase.
        const MatchRecord &r = context.match.record();
        if (r.players1 != 11 || r.players2 != 11)
            rows.kept().push_back(context.match.index());
        return;
    }

    // One row per date and teams (by text number, the null text as the empty one), where the
    // first such match came, with the texts of the last; rows in date order, then in that order.
    // The matches are put in date order, and each day's are grouped on their own.
    struct Entry
    {
        TextId team1;
        TextId team2;
        qsizetype index;
        bool operator<(const Entry &o) const
        {
            return std::tie(team1, team2, index) < std::tie(o.team1, o.team2, o.index);
        }
    };
    const auto sameText = [](TextId id) {
        return id == TextTable::nullText ? TextTable::emptyText : id;
    };
    const MatchStore &store = context.match.store();
    std::vector<qsizetype> &kept = rows.kept();
    sortByDay(store, kept);
    std::vector<std::pair<qsizetype, qsizetype>> shown; // first and last match of each row
    std::vector<Entry> entries;                         // of one day
    for (size_t first = 0, next = 0; first < kept.size(); first = next) {
        const qint64 day = store.record(kept[first]).julianDay;
        entries.clear();
        for (next = first; next < kept.size() && store.record(kept[next]).julianDay == day;
             ++next) {
            const MatchRecord &r = store.record(kept[next]);
            entries.push_back(
                {sameText(r.texts[Team1Field]), sameText(r.texts[Team2Field]), kept[next]});
        }
        std::sort(entries.begin(), entries.end());
        const size_t dayBegins = shown.size();
        for (size_t begin = 0; begin < entries.size();) {
            size_t end = begin + 1;
            while (end < entries.size() && entries[end].team1 == entries[begin].team1 &&
                   entries[end].team2 == entries[begin].team2)
                ++end;
            shown.emplace_back(entries[begin].index, entries[end - 1].index);
            begin = end;
        }
        std::sort(shown.begin() + qsizetype(dayBegins), shown.end());
    }
    rows.clear();
    // The table sorts by the date text at the end, stably: a date of a four-digit year sorts as
    // its day does, any other by its text, so the rows go in by first match and the sort orders
    // them.
    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable({t.hDate, t.hCity, t.hHome, t.hAway, t.hScore}, 120, int(shown.size()));
    const QString link = QString(PageCode::Report);
    const auto plainYear = [&store](const auto &match) {
        const int year = QDate::fromJulianDay(store.record(match.first).julianDay).year();
        return year >= 1000 && year <= 9999;
    };
    if (std::all_of(shown.begin(), shown.end(), plainYear))
        table.rowsInOrder();
    table.fillRows(int(shown.size()), [&](ResultTable &part, int begin, int end) {
        for (int row = begin; row < end; ++row) {
            const MatchView m = store.at(shown[size_t(row)].second);
            part.setCell(row, 0, dateText(m.date, u"/"));
            part.setCell(row, 1, m.city);
            part.setCell(row, 2, m.team1);
            part.setCell(row, 3, m.team2);
            part.setCell(row, 4, scoreText(m));
            part.setCell(row, 5, link + m.fileName);
        }
    });
    table.sortByColumn(0, Qt::AscendingOrder);
}

void verifyAttendance(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        const MatchView &m = *context.match;
        // "0" or a text that is not a number is an attendance given, if oddly.
        if (m.attendance.isEmpty())
            addMatchRow(rows, m, context.match->fileName);
        return;
    }
    emitMatchRows(*context.table, rows);
}

void verifyPlayers2(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        const MatchView &m = *context.match;
        for (qsizetype i = 0; i < m.players1.size(); ++i)
            sightId(rows, m, m.players1.item(i).name, m.players1.item(i).id, m.textId(Team1Field));
        for (qsizetype i = 0; i < m.players2.size(); ++i)
            sightId(rows, m, m.players2.item(i).name, m.players2.item(i).id, m.textId(Team2Field));
        for (qsizetype i = 0; i < m.events.size(); ++i) {
            const EventRecord &e = m.events.item(i);
            const TextId team = e.texts[EventTeamField];
            sightId(rows, m, e.texts[EventPlayerField], e.texts[EventPlayerIdField], team);
            if (rows.eventKind(m.table, e.texts[EventTypeField]) == EventKind::Substitution)
                sightId(rows, m, e.texts[EventPlayer2Field], e.texts[EventPlayerId2Field], team);
        }
        return;
    }

    const Texts &t = texts();
    ResultTable &table = *context.table;
    table.prepareTable({t.hSurname, t.hTeam, t.hId1, t.hId2}, 120, int(rows.size()));
    // Only the names met with more than one ID are shown, in the order they were first met.
    int shown = 0;
    for (const PageRow *row : rows.rows()) {
        if (row->count(IdsSeen) > 1)
            ++shown;
    }
    table.setRowCount(shown);
    int r = 0;
    for (const PageRow *row : rows.rows()) {
        if (row->count(IdsSeen) <= 1)
            continue;
        table.setCell(r, 0, row->text(Name));
        table.setCell(r, 1, row->text(Team));
        table.setCell(r, 2, row->text(FirstId));
        table.setCell(r, 3, row->text(OtherId));
        // No link: the row leads nowhere.
        table.setCell(r, 4, QString());
        ++r;
    }
    rows.clear();
    table.sortByColumn(0, Qt::AscendingOrder);
}
