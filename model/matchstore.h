#pragma once

#include "model/match.h"

#include <QList>
#include <QMap>
#include <QStringList>

// All matches of the open database, in arrival order, and the sorted set of tournament names.
// Nothing here sorts or de-duplicates the matches; two matches may share a file name.
class MatchStore
{
public:
    void clearMatches() { m_matches.clear(); }
    void clearTournaments() { m_tournaments.clear(); }
    void clear()
    {
        clearMatches();
        clearTournaments();
    }

    void append(const Match &match) { m_matches.append(match); }
    void addTournament(const QString &name) { m_tournaments.insert(name, 0); }

    qsizetype count() const { return m_matches.size(); }
    bool isEmpty() const { return m_matches.isEmpty(); }
    const QList<Match> &matches() const { return m_matches; }

    // The first match whose file name equals fileName, or null.
    const Match *find(const QString &fileName) const;
    // The same match for writing: detached from every other copy, keeping its position.
    Match *findForUpdate(const QString &fileName);

    // Tournament names in ascending order of UTF-16 code units.
    QStringList tournamentNames() const { return m_tournaments.keys(); }
    qsizetype tournamentCount() const { return m_tournaments.size(); }

    void swap(MatchStore &other) noexcept
    {
        m_matches.swap(other.m_matches);
        m_tournaments.swap(other.m_tournaments);
    }

private:
    QList<Match> m_matches;
    QMap<QString, int> m_tournaments;
};

// Widens [from, till] so that it covers date. Undated matches (a null date) leave it alone: a null
// bound would select nothing, and undated matches are never selected anyway.
void widenDateRange(QDate &from, QDate &till, const QDate &date);

// The empty range the filter starts from: 2999-12-31 till 1800-01-01.
QDate emptyRangeFrom();
QDate emptyRangeTill();
