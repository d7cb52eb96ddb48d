#include "model/importbatch.h"

ImportBatch::ImportBatch(MatchStore &store) : m_store(store)
{
    m_names.reserve(store.count());
    m_content.reserve(store.count());
    for (qsizetype i = 0; i < store.count(); ++i) {
        const MatchView match = store.at(i);
        m_names.insert(match.fileName);
        m_content.insert(matchContentHash(match), i);
    }
}

bool ImportBatch::add(Match match, const QString &alternativeName)
{
    const size_t hash = match.contentHash();
    for (auto it = m_content.constFind(hash); it != m_content.cend() && it.key() == hash; ++it) {
        if (m_store.sameContent(it.value(), match)) {
            ++m_duplicates;
            return false;
        }
    }
    if (m_names.contains(match->fileName))
        match.edit().fileName = distinctName(match->fileName, alternativeName);
    m_names.insert(match->fileName);
    m_content.insert(hash, m_store.count());
    m_store.add(match);
    m_span.widen(match->date);
    ++m_added;
    return true;
}

QString ImportBatch::distinctName(const QString &name, const QString &alternative) const
{
    if (!alternative.isEmpty() && !m_names.contains(alternative))
        return alternative;
    const QString base = alternative.isEmpty() ? name : alternative;
    for (int n = 2;; ++n) {
        const QString numbered = numberedFileName(base, n);
        if (!m_names.contains(numbered))
            return numbered;
    }
}
