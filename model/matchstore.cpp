#include "model/matchstore.h"

const Match *MatchStore::find(const QString &fileName) const
{
    for (const Match &match : m_matches) {
        if (match->fileName == fileName)
            return &match;
    }
    return nullptr;
}

Match *MatchStore::findForUpdate(const QString &fileName)
{
    for (qsizetype i = 0; i < m_matches.size(); ++i) {
        if (m_matches.at(i)->fileName == fileName)
            return &m_matches[i];
    }
    return nullptr;
}

void widenDateRange(QDate &from, QDate &till, const QDate &date)
{
    if (!date.isValid())
        return;
    if (!from.isValid() || date < from)
        from = date;
    if (!till.isValid() || date > till)
        till = date;
}

QDate emptyRangeFrom()
{
    return QDate(2999, 12, 31);
}

QDate emptyRangeTill()
{
    return QDate(1800, 1, 1);
}
