#pragma once

#include "model/matchstore.h"

#include <QHash>
#include <QSet>

// Adds the reports of one import to a store under the rules of an import:
// - a report whose content (every field but the file name) equals a match already in the store,
//   or one added earlier in the same import, is a duplicate: it is counted and not added;
// - a report whose file name another match already carries gets a distinct one: the alternative
//   the caller offers (its path under the import folder, say) when that is free, else a numbered
//   one ("1.xml" -> "1-2.xml"), so that every report keeps a report page of its own.
// Matches already in the store are left as they are, equal names included.
class ImportBatch
{
public:
    explicit ImportBatch(MatchStore &store);

    // True when match was added, false for a duplicate.
    bool add(Match match, const QString &alternativeName = QString());

    qsizetype added() const { return m_added; }
    qsizetype duplicates() const { return m_duplicates; }
    // The dates of the matches added.
    DateSpan dateSpan() const { return m_span; }

private:
    QString distinctName(const QString &name, const QString &alternative) const;

    MatchStore &m_store;
    QSet<QString> m_names;
    QMultiHash<size_t, qsizetype> m_content; // content hash -> index in the store
    qsizetype m_added = 0;
    qsizetype m_duplicates = 0;
    DateSpan m_span;
};
