#include "pages/statpages.h"

#include "pages/builders.h"
#include "pages/pagecodes.h"
#include "pages/rowtext.h"
#include "strings/stattexts.h"
#include "strings/texts.h"

#include <algorithm>
#include <vector>

// Records of the selection: the biggest wins, the highest-scoring matches, the highest and the
// lowest attendances, ten of each, under their captions in one table.

namespace {

constexpr qsizetype recordCount = 10;

struct Candidate
{
    qsizetype match;
    qint64 value;  // what the record is about: margin, goals, attendance
    qint64 second; // the next thing compared: the winner's goals
    qint32 day;
};

// The attendance of a match; 0 when it is not given, not a number, or below zero.
qint64 attendanceOf(const QString &text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    return ok && value > 0 ? value : 0;
}

} // namespace

void calculateRecords(const PageContext &context, PageRows &rows)
{
    if (!context.table) {
        rows.kept().push_back(context.match->index());
        return;
    }

    const Texts &t = texts();
    const StatTexts &st = statTexts();
    const MatchStore &store = context.match->store;
    const TextTable &texts = store.texts();
    NumberCache attendance(texts, attendanceOf);
    NumberCache score(texts, scoreNumber);
    std::vector<Candidate> wins, goals, crowds;
    for (std::vector<Candidate> *list : {&wins, &goals, &crowds})
        list->reserve(rows.kept().size());
    for (const qsizetype i : rows.kept()) {
        const MatchRecord &m = store.record(i);
        if (const qint64 a = attendance(m.texts[AttendanceField]))
            crowds.push_back({i, a, 0, m.julianDay});
        const TextId goals1 = m.texts[Goals1Field], goals2 = m.texts[Goals2Field];
        if (texts.text(goals1).isEmpty() && texts.text(goals2).isEmpty())
            continue;
        const qint64 g1 = score(goals1), g2 = score(goals2);
        goals.push_back({i, g1 + g2, 0, m.julianDay});
        if (g1 != g2)
            wins.push_back({i, std::abs(g1 - g2), std::max(g1, g2), m.julianDay});
    }

    // Largest first (or smallest with ascending), the earlier match first among equals.
    const auto top = [](std::vector<Candidate> &list, bool ascending) {
        const auto before = [ascending](const Candidate &a, const Candidate &b) {
            if (a.value != b.value)
                return ascending ? a.value < b.value : a.value > b.value;
            if (a.second != b.second)
                return a.second > b.second;
            if (a.day != b.day)
                return a.day < b.day;
            return a.match < b.match;
        };
        const auto end = list.begin() + std::min<qsizetype>(recordCount, qsizetype(list.size()));
        std::partial_sort(list.begin(), end, list.end(), before);
        list.erase(end, list.end());
    };
    top(wins, false);
    top(goals, false);
    std::vector<Candidate> lowest = crowds;
    top(crowds, false);
    top(lowest, true);

    const std::pair<const QString *, const std::vector<Candidate> *> groups[] = {
        {&st.recordBiggestWins, &wins},
        {&st.recordMostGoals, &goals},
        {&st.recordHighestAttendance, &crowds},
        {&st.recordLowestAttendance, &lowest}};
    int count = 0;
    for (const auto &group : groups)
        count += int(group.second->size());

    ResultTable &table = *context.table;
    table.prepareTable({st.hRecord, st.hPlace, t.hDate, t.hHome, t.hAway, t.hScore, st.hValue}, 60,
                       count);
    table.setColumnWidth(0, 180);
    table.setColumnWidth(2, 90);
    table.setColumnWidth(3, 150);
    table.setColumnWidth(4, 150);
    int r = 0;
    for (const auto &[caption, list] : groups) {
        // Equal values share a place: 1, 2, 2, 4.
        int place = 0;
        for (size_t k = 0; k < list->size(); ++k) {
            const Candidate &c = (*list)[k];
            if (k == 0 || c.value != (*list)[k - 1].value || c.second != (*list)[k - 1].second)
                place = int(k) + 1;
            const MatchView m = store.at(c.match);
            table.setCell(r, 0, *caption);
            table.setCell(r, 1, QString::number(place));
            table.setCell(r, 2, listDateText(m.date));
            table.setCell(r, 3, m.team1);
            table.setCell(r, 4, m.team2);
            table.setCell(r, 5, scoreText(m));
            table.setCell(r, 6, paddedCount(c.value));
            table.setCell(r, 7, QString(PageCode::Report) + m.fileName.toString());
            ++r;
        }
    }
    rows.clear();
}
