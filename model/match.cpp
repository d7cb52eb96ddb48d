#include "model/match.h"
#include "model/matchfields.h"

#include "strings/texts.h"

#include <QHashFunctions>

#include <algorithm>
#include <charconv>

namespace {

// Null and empty are different values in the file, so records compare both.
bool same(const QString &a, const QString &b)
{
    return a.isNull() == b.isNull() && a == b;
}

} // namespace

bool operator==(const MatchEvent &a, const MatchEvent &b)
{
    return same(a.time, b.time) && same(a.type, b.type) && same(a.comment, b.comment) &&
           same(a.team, b.team) && same(a.playerid, b.playerid) && same(a.player, b.player) &&
           same(a.playerid2, b.playerid2) && same(a.player2, b.player2);
}

EventKind eventKind(const QString &type)
{
    const Texts &t = texts();
    if (type == t.goal)
        return EventKind::Goal;
    if (type == t.penaltyGoal)
        return EventKind::PenaltyGoal;
    if (type == t.ownGoal)
        return EventKind::OwnGoal;
    if (type == t.missedPenalty)
        return EventKind::MissedPenalty;
    if (type == t.substitution)
        return EventKind::Substitution;
    if (type == t.caution)
        return EventKind::Caution;
    if (type == t.sendingOff)
        return EventKind::SendingOff;
    if (type == t.secondCaution)
        return EventKind::SecondCaution;
    return EventKind::Unknown;
}

QString eventKindText(EventKind kind)
{
    const Texts &t = texts();
    switch (kind) {
    case EventKind::Goal:
        return t.goal;
    case EventKind::PenaltyGoal:
        return t.penaltyGoal;
    case EventKind::OwnGoal:
        return t.ownGoal;
    case EventKind::MissedPenalty:
        return t.missedPenalty;
    case EventKind::Substitution:
        return t.substitution;
    case EventKind::Caution:
        return t.caution;
    case EventKind::SendingOff:
        return t.sendingOff;
    case EventKind::SecondCaution:
        return t.secondCaution;
    case EventKind::Unknown:
        break;
    }
    return QString();
}

Match::Match() : d(new MatchData) {}

bool Match::sameRecord(const Match &other) const
{
    return same(d->fileName, other->fileName) && sameContent(other);
}

bool Match::sameContent(const Match &other) const
{
    const MatchData &a = *d;
    const MatchData &b = *other.d;
    if (&a == &b)
        return true;
    for (const MatchFieldInfo &f : matchFields) {
        if (f.content && !same(a.*f.member, b.*f.member))
            return false;
    }
    return a.date == b.date && a.date.isNull() == b.date.isNull() && a.players1 == b.players1 &&
           a.players2 == b.players2 && a.events == b.events;
}

size_t Match::contentHash() const
{
    return matchContentHash(*d);
}

int scoreNumber(const QString &side)
{
    // Scores are nearly always a digit or two: read those directly, and leave signs, blanks and
    // anything unusual to the general conversion.
    if (!side.isEmpty() && side.size() <= 9) {
        int value = 0;
        bool digits = true;
        for (const QChar c : side) {
            if (c < u'0' || c > u'9') {
                digits = false;
                break;
            }
            value = value * 10 + (c.unicode() - u'0');
        }
        if (digits)
            return value;
    }
    bool ok = false;
    const int value = side.toInt(&ok, 10);
    // A goal count is never negative: "-3" counts as nothing rather than as goals taken away.
    return ok && value > 0 ? value : 0;
}

QString paddedCount(qint64 count)
{
    // One allocation: the pages write a count into nearly every cell.
    char digits[24];
    const qsizetype n = std::to_chars(digits, digits + sizeof digits, count).ptr - digits;
    const qsizetype pad = std::max<qsizetype>(0, 4 - n);
    QString text(pad + n, Qt::Uninitialized);
    QChar *out = text.data();
    std::fill(out, out + pad, QLatin1Char(' '));
    for (qsizetype i = 0; i < n; ++i)
        out[pad + i] = QLatin1Char(digits[i]);
    return text;
}
