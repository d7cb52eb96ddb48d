#pragma once

#include "model/match.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QStringList>

// The dates covered by a set of matches: both null when no match has a date.
struct DateSpan
{
    QDate from;
    QDate till;

    bool isNull() const { return !from.isValid(); }
    // Takes date in; a null date (an undated match) leaves the span alone.
    void widen(const QDate &date);
    void widen(const DateSpan &other);
};

// All matches of the open database, in arrival order, with what follows from them: the sorted set
// of tournament names, the span of their dates, and whether they changed since the file was read
// or written. Nothing here sorts or de-duplicates the matches; the rules of an import are in
// ImportBatch (model/importbatch.h).
class MatchStore
{
public:
    void clear();

    // Appends match, records its tournament (the empty name too) and widens the date span.
    void add(const Match &match);
    // Replaces the match at index with an edited one, recording its tournament and date.
    void replace(qsizetype index, const Match &match);

    qsizetype count() const { return m_matches.size(); }
    bool isEmpty() const { return m_matches.isEmpty(); }
    const QList<Match> &matches() const { return m_matches; }

    // The first match whose file name equals fileName, or null; its index, or -1.
    const Match *find(const QString &fileName) const;
    qsizetype indexOf(const QString &fileName) const;

    // Tournament names in ascending order of UTF-16 code units.
    QStringList tournamentNames() const { return m_tournaments.keys(); }
    // The span of every dated match: it grows as matches are added and never shrinks.
    DateSpan dateSpan() const { return m_span; }

    // True after any add or replace since the store was read or saved (setModified(false)).
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // A file name no match of the store carries: base itself when free, else the first free
    // numberedFileName(base, N) from N = 2; with numbered set, from N = 1 ("new-1", "new-2" …).
    QString unusedFileName(const QString &base, bool numbered = false) const;

    void swap(MatchStore &other) noexcept
    {
        m_matches.swap(other.m_matches);
        m_tournaments.swap(other.m_tournaments);
        std::swap(m_span, other.m_span);
        std::swap(m_modified, other.m_modified);
    }

private:
    void record(const MatchData &match);

    QList<Match> m_matches;
    QMap<QString, int> m_tournaments;
    DateSpan m_span;
    bool m_modified = false;
};

// base with "-N" before its ".xml" ending, if any: "1.xml" -> "1-2.xml", "new" -> "new-2".
QString numberedFileName(const QString &base, int n);

// The empty range the window's date fields start from: 2999-12-31 till 1800-01-01.
QDate emptyRangeFrom();
QDate emptyRangeTill();
// The date range a fresh selection covers: the span of the store's dated matches, or the empty
// range above when none has a date.
DateSpan selectableRange(const MatchStore &store);
