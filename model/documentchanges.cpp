#include "model/documentchanges.h"

#include "model/document.h"

#include <QSet>

void AppendedMatches::apply(Document &document)
{
    if (m_matches.isEmpty())
        return; // the first time: the matches are in the store already
    MatchStore &store = document.store();
    for (const Match &match : std::as_const(m_matches))
        store.add(match);
    m_matches.clear();
    Q_EMIT document.contentChanged();
}

void AppendedMatches::revert(Document &document)
{
    MatchStore &store = document.store();
    QList<qsizetype> indices;
    for (qsizetype i = m_from; i < store.count(); ++i) {
        indices.append(i);
        m_matches.append(store.match(i));
    }
    store.remove(indices);
    Q_EMIT document.contentChanged();
}

void ReplacedMatch::apply(Document &document)
{
    // The edited match is in the store already the first time.
    if (m_applied)
        document.store().replace(m_index, m_after);
    m_applied = true;
    Q_EMIT document.contentChanged();
}

void ReplacedMatch::revert(Document &document)
{
    document.store().replace(m_index, m_before);
    Q_EMIT document.contentChanged();
}

void RemovedMatches::apply(Document &document)
{
    MatchStore &store = document.store();
    m_matches.clear();
    for (const qsizetype i : std::as_const(m_indices))
        m_matches.append(store.match(i));
    store.remove(m_indices);
    Q_EMIT document.contentChanged();
}

void RemovedMatches::revert(Document &document)
{
    document.store().insert(m_indices, m_matches);
    m_matches.clear();
    Q_EMIT document.contentChanged();
}

void ChangedRules::apply(Document &document)
{
    document.setRules(m_after);
}

void ChangedRules::revert(Document &document)
{
    document.setRules(m_before);
}

QList<qsizetype> matchIndices(const MatchStore &store, const QStringList &names,
                              QStringList *unknown)
{
    const QSet<QString> wanted(names.cbegin(), names.cend());
    QSet<QString> found;
    QList<qsizetype> indices;
    for (qsizetype i = 0; i < store.count(); ++i) {
        const QString name = store.at(i).fileName;
        if (wanted.contains(name)) {
            indices.append(i);
            found.insert(name);
        }
    }
    if (unknown) {
        for (const QString &name : names) {
            if (!found.contains(name) && !unknown->contains(name))
                unknown->append(name);
        }
    }
    return indices;
}
