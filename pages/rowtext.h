#pragma once

#include "pages/pagerows.h"

#include <QString>
#include <QStringView>

#include "model/texttable.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

// Helpers for the statistics builders' hot loops. Row texts and keys are kept as the row's own
// copies rather than shared with the match that supplied them: a look-up then compares against
// memory the row keeps warm instead of a string somewhere in a match met long ago, and assigning
// the same text again costs a comparison, not two reference-count updates on cold memory.

// A copy of text with storage of its own.
inline QString ownCopy(const QString &text)
{
    return QString(text.constData(), text.size());
}

// Exact, case-sensitive equality, as QString's operator== but inline: the hot loops compare a few
// short texts per sighting.
inline bool sameText(const QString &a, const QString &b)
{
    return a.size() == b.size() &&
           std::memcmp(a.constData(), b.constData(), size_t(a.size()) * sizeof(QChar)) == 0;
}

// Sets text i of row to text unless it already reads the same.
inline void setRowText(PageRow &row, int i, const QString &text)
{
    if (!sameText(row.text(i), text))
        row.setText(i, ownCopy(text));
}

// Makes buffer hold the concatenation of the parts, reusing its storage: once the row table has
// its own copy of a key, looking it up again allocates nothing. (Assigning or appending to an empty
// buffer would share the part's storage instead, and the next key would then have to allocate.)
inline const QString &keyInto(QString &buffer, QStringView a, QLatin1StringView separator = {},
                              QStringView b = {}, QLatin1StringView end = {})
{
    const qsizetype size = a.size() + separator.size() + b.size() + end.size();
    buffer.resize(size);
    QChar *out = buffer.data();
    out = std::copy(a.begin(), a.end(), out);
    for (char c : separator)
        *out++ = QLatin1Char(c);
    out = std::copy(b.begin(), b.end(), out);
    for (char c : end)
        *out++ = QLatin1Char(c);
    return buffer;
}

// The texts of counts as paddedCount writes them, each made once: a long table repeats few.
class CountTexts
{
public:
    CountTexts() = default;
    // With the texts of the counts below made (up to 10,000) made at once, for text().
    explicit CountTexts(qint64 made)
    {
        while (qint64(m_texts.size()) < std::min<qint64>(made, common))
            m_texts.push_back(paddedCount(qint64(m_texts.size())));
    }

    const QString &operator()(qint64 n)
    {
        if (n < 0 || n >= common)
            return m_other = paddedCount(n);
        if (size_t(n) >= m_texts.size())
            m_texts.resize(size_t(n) + 1);
        QString &text = m_texts[size_t(n)];
        if (text.isNull())
            text = paddedCount(n);
        return text;
    }
    // The text of n if it was made, else made into other; changes nothing, so that several
    // threads may read at once.
    const QString &text(qint64 n, QString &other) const
    {
        if (n >= 0 && size_t(n) < m_texts.size() && !m_texts[size_t(n)].isNull())
            return m_texts[size_t(n)];
        return other = paddedCount(n);
    }

private:
    static constexpr qint64 common = 10000;
    std::vector<QString> m_texts;
    QString m_other;
};

// Numbers read from texts, each distinct text read once: scores and attendances repeat a lot.
template <typename Read> class NumberCache
{
public:
    NumberCache(const TextTable &texts, Read read)
        : m_texts(texts), m_read(read), m_values(size_t(texts.size()), unknown)
    {}
    qint64 operator()(TextId id)
    {
        if (m_values[id] == unknown)
            m_values[id] = m_read(m_texts.text(id));
        return m_values[id];
    }

private:
    static constexpr qint64 unknown = std::numeric_limits<qint64>::min();
    const TextTable &m_texts;
    Read m_read;
    std::vector<qint64> m_values;
};
