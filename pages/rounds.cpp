#include "pages/analysis.h"

#include "strings/texts.h"

#include <QHash>

#include <algorithm>

QStringList roundsOf(const MatchStore &store, const QString &tournament)
{
    const bool all = tournament == texts().allTournaments;
    // Each round's earliest date (an undated match counts only while no dated one is known).
    QStringList rounds;
    QHash<QString, QDate> first;
    for (qsizetype i = 0; i < store.count(); ++i) {
        const MatchView m = store.at(i);
        if (m.round.isEmpty() || (!all && m.tournament != tournament))
            continue;
        auto it = first.find(m.round);
        if (it == first.end()) {
            first.insert(m.round, m.date);
            rounds.append(m.round);
        } else if (m.date.isValid() && (!it->isValid() || m.date < *it)) {
            *it = m.date;
        }
    }
    std::stable_sort(rounds.begin(), rounds.end(), [&first](const QString &a, const QString &b) {
        const QDate da = first.value(a);
        const QDate db = first.value(b);
        if (da.isValid() != db.isValid())
            return da.isValid();
        return da < db;
    });
    return rounds;
}
