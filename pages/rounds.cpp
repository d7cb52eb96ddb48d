#include "pages/analysis.h"

#include "strings/texts.h"

#include <QHash>

#include <algorithm>

QStringList roundsOf(const MatchStore &store, const QString &tournament)
{
    const bool all = tournament == texts().allTournaments;
    const TextTable &table = store.texts();
    TextId wanted = all ? TextTable::noText : table.find(tournament);
    if (!all && wanted == TextTable::noText)
        return {};
    // The null text is the empty one here, as QString compares them.
    const auto same = [](TextId a, TextId b) {
        return a == b || (a <= TextTable::emptyText && b <= TextTable::emptyText);
    };
    // Each round's earliest date (an undated match counts only while no dated one is known).
    std::vector<TextId> rounds;
    QHash<TextId, qint32> first;
    for (qsizetype i = 0; i < store.count(); ++i) {
        const MatchRecord &r = store.record(i);
        const TextId round = r.texts[RoundField];
        if (round <= TextTable::emptyText || (!all && !same(r.texts[TournamentField], wanted)))
            continue;
        auto it = first.find(round);
        if (it == first.end()) {
            first.insert(round, r.julianDay);
            rounds.push_back(round);
        } else if (r.julianDay != 0 && (*it == 0 || r.julianDay < *it)) {
            *it = r.julianDay;
        }
    }
    std::stable_sort(rounds.begin(), rounds.end(), [&first](TextId a, TextId b) {
        const qint32 da = first.value(a);
        const qint32 db = first.value(b);
        if ((da != 0) != (db != 0))
            return da != 0;
        return da < db;
    });
    QStringList names;
    names.reserve(qsizetype(rounds.size()));
    for (const TextId round : rounds)
        names.append(table.text(round));
    return names;
}
