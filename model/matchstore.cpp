#include "model/matchstore.h"

#include <QSet>

void DateSpan::widen(const QDate &date)
{
    if (!date.isValid())
        return;
    if (!from.isValid() || date < from)
        from = date;
    if (!till.isValid() || date > till)
        till = date;
}

void DateSpan::widen(const DateSpan &other)
{
    widen(other.from);
    widen(other.till);
}

void MatchStore::clear()
{
    m_matches.clear();
    m_tournaments.clear();
    m_span = DateSpan();
    m_modified = false;
}

void MatchStore::record(const MatchData &match)
{
    m_tournaments.insert(match.tournament, 0);
    m_span.widen(match.date);
    m_modified = true;
}

void MatchStore::add(const Match &match)
{
    m_matches.append(match);
    record(*match);
}

void MatchStore::replace(qsizetype index, const Match &match)
{
    m_matches[index] = match;
    record(*match);
}

const Match *MatchStore::find(const QString &fileName) const
{
    const qsizetype i = indexOf(fileName);
    return i < 0 ? nullptr : &m_matches.at(i);
}

qsizetype MatchStore::indexOf(const QString &fileName) const
{
    for (qsizetype i = 0; i < m_matches.size(); ++i) {
        if (m_matches.at(i)->fileName == fileName)
            return i;
    }
    return -1;
}

QString MatchStore::unusedFileName(const QString &base, bool numbered) const
{
    QSet<QString> taken;
    taken.reserve(m_matches.size());
    for (const Match &match : m_matches)
        taken.insert(match->fileName);
    if (!numbered && !taken.contains(base))
        return base;
    for (int n = numbered ? 1 : 2;; ++n) {
        const QString name = numberedFileName(base, n);
        if (!taken.contains(name))
            return name;
    }
}

QString numberedFileName(const QString &base, int n)
{
    const QLatin1StringView xml(".xml");
    const qsizetype stem = base.endsWith(xml, Qt::CaseInsensitive) ? base.size() - 4 : base.size();
    return base.left(stem) + QLatin1Char('-') + QString::number(n) + base.mid(stem);
}

QDate emptyRangeFrom()
{
    return QDate(2999, 12, 31);
}

QDate emptyRangeTill()
{
    return QDate(1800, 1, 1);
}

DateSpan selectableRange(const MatchStore &store)
{
    const DateSpan span = store.dateSpan();
    return span.isNull() ? DateSpan{emptyRangeFrom(), emptyRangeTill()} : span;
}
