#pragma once

#include <QDate>
#include <QHashFunctions>
#include <QList>
#include <QSharedData>
#include <QString>

#include <cstddef>

// One player of a starting line-up.
struct PlayerEntry
{
    QString id;
    QString name;

    friend bool operator==(const PlayerEntry &a, const PlayerEntry &b)
    {
        return a.id.isNull() == b.id.isNull() && a.name.isNull() == b.name.isNull() &&
               a.id == b.id && a.name == b.name;
    }
};

// One event of a match. `type` holds the event kind as its Russian text (see EventKind).
struct MatchEvent
{
    QString time;
    QString type;
    QString comment;
    QString team;
    QString playerid;
    QString player;
    QString playerid2;
    QString player2;

    friend bool operator==(const MatchEvent &a, const MatchEvent &b);
};

// The eight known event kinds. Anything else in MatchEvent::type is an event of no known kind.
enum class EventKind {
    Goal,
    PenaltyGoal,
    OwnGoal,
    MissedPenalty,
    Substitution,
    Caution,
    SendingOff,
    SecondCaution,
    Unknown
};

// The kind of an event type text; Unknown for any text that is not one of the eight.
EventKind eventKind(const QString &type);
// The text of a known kind (empty for Unknown).
QString eventKindText(EventKind kind);

// Every field of a match report, in the record's own order. Every value but the date is the text
// the report gave; a null QDate stands for a report without a date.
struct MatchData : QSharedData
{
    QString fileName;
    QString team1;
    QString team2;
    QString team1Id;
    QString team2Id;
    QString coach1;
    QString coach2;
    QString coach1Id;
    QString coach2Id;
    QDate date;
    QString time;
    QString goals1;
    QString goals2;
    QString extra1;
    QString extra2;
    QString penalties1;
    QString penalties2;
    QString stadium;
    QString stadiumId;
    QString city;
    QString attendance;
    QString referee;
    QString refereeId;
    QString refereeCity;
    QString id;
    QString round;
    QString tournament;
    QList<PlayerEntry> players1;
    QList<PlayerEntry> players2;
    QList<MatchEvent> events;
};

// A match report as a value: copying costs one reference count, and the first write through
// edit() detaches the copy. Fields are read as match->team1 and written as match.edit().team1.
class Match
{
public:
    Match();

    const MatchData *operator->() const { return d.constData(); }
    const MatchData &operator*() const { return *d; }
    MatchData &edit() { return *d; }

    // True when both records hold the same values, null and empty strings told apart, as the
    // database file keeps them.
    bool sameRecord(const Match &other) const;
    // The same, file name left out: two reports of one match read from different files.
    bool sameContent(const Match &other) const;
    // A hash that equal contents share.
    size_t contentHash() const;

private:
    QSharedDataPointer<MatchData> d;
};

// The hash of Match::contentHash() for anything with the fields of MatchData (a stored match's
// view too): enough fields to tell nearly all different matches apart; sameContent() decides.
template <typename M> size_t matchContentHash(const M &m)
{
    const size_t seed = qHashMulti(0, m.team1, m.team2, m.date.toJulianDay(), m.goals1, m.goals2,
                                   m.tournament, m.round, m.id, m.stadium, m.referee);
    return qHashMulti(seed, m.players1.size(), m.players2.size(), m.events.size());
}

// "goals1:goals2"; extra time and shoot-out are not part of it.
template <typename M> QString scoreText(const M &match)
{
    return match.goals1 + QLatin1Char(':') + match.goals2;
}
// One side of a score as a number: a side that is not a decimal integer, or is below zero, reads 0.
int scoreNumber(const QString &side);
// A count as a table cell: right-aligned in four characters, longer numbers written whole.
QString paddedCount(qint64 count);
