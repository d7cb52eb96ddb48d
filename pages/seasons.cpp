#include "pages/seasons.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace {

// How far before a repeated pairing the season's first day is looked for, and the shortest pause
// taken for a break between seasons.
constexpr qint64 lookBackDays = 75;
constexpr qint64 shortestBreak = 14;
// A pairing met again within this many days is the same fixture twice (a duplicate report, a
// replay), not a new season.
constexpr qint64 sameFixtureDays = 60;

struct Meeting
{
    qint32 day;
    TextId tournament;
    TextId home;
    TextId away;
};

// A home team and an away team in a tournament: a cup tie of two league teams is no repeat.
using Pairing = std::pair<quint64, TextId>;

Pairing pairing(const Meeting &m)
{
    return {(quint64(m.home) << 32) | m.away, m.tournament};
}

} // namespace

QList<DateSpan> seasonsOf(const MatchStore &store, const MatchFilter &filter)
{
    const MatchSelection selection(filter, store);
    std::vector<Meeting> meetings;
    for (qsizetype i = 0; i < store.count(); ++i) {
        const MatchRecord &r = store.record(i);
        if (selection.selects(r))
            meetings.push_back(
                {r.julianDay, r.texts[TournamentField], r.texts[Team1Field], r.texts[Team2Field]});
    }
    std::stable_sort(meetings.begin(), meetings.end(),
                     [](const Meeting &a, const Meeting &b) { return a.day < b.day; });
    QList<DateSpan> seasons;
    if (meetings.empty())
        return seasons;

    const auto close = [&](size_t first, size_t last) {
        seasons.append(
            {QDate::fromJulianDay(meetings[first].day), QDate::fromJulianDay(meetings[last].day)});
    };
    size_t start = 0;
    QHash<Pairing, qint32> met; // pairing: the day it was met this season
    for (size_t i = 0; i < meetings.size(); ++i) {
        const auto seen = met.constFind(pairing(meetings[i]));
        if (seen == met.constEnd()) {
            met.insert(pairing(meetings[i]), meetings[i].day);
            continue;
        }
        if (meetings[i].day - *seen < sameFixtureDays)
            continue;
        // The longest pause in the weeks before the repeat opens the new season.
        size_t next = i;
        qint64 longest = 0;
        for (size_t j = i; j > start && meetings[i].day - meetings[j].day <= lookBackDays; --j) {
            const qint64 pause = meetings[j].day - meetings[j - 1].day;
            if (pause > longest) {
                longest = pause;
                next = j;
            }
        }
        if (longest < shortestBreak)
            next = i;
        close(start, next - 1);
        start = next;
        met.clear();
        for (size_t j = start; j <= i; ++j)
            met.insert(pairing(meetings[j]), meetings[j].day);
    }
    close(start, meetings.size() - 1);
    return seasons;
}

QString seasonName(const DateSpan &season)
{
    const int first = season.from.year();
    const int last = season.till.year();
    if (first == last)
        return QString::number(first);
    return QStringLiteral("%1/%2").arg(first).arg(last % 100, 2, 10, QLatin1Char('0'));
}
