#pragma once

#include "model/storeallocator.h"

#include <QHashFunctions>
#include <QString>

#include <vector>

// A text of a store by number: equal texts added through intern() share one number.
using TextId = quint32;

class TextRef;

// Every text of a store, each kept once and referred to by its TextId. Two numbers are fixed: 0 is
// the null text and 1 the empty one, which the database file tells apart.
// - Interned texts (teams, players, referees, minutes …) are looked up by content and added when
//   new; each is one QString, which text() gives.
// - Unique texts are known to differ from one record to the next (file names, match IDs): they are
//   appended as they are, never looked up, and kept as plain characters, which a QString per text
//   would more than triple. Their numbers have the top bit set; view() and string() read them.
class TextTable
{
public:
    static constexpr TextId nullText = 0;
    static constexpr TextId emptyText = 1;
    static constexpr TextId noText = ~TextId(0); // find(): no such text
    static constexpr TextId uniqueBit = TextId(1) << 31;

    TextTable();

    static bool isUnique(TextId id) { return (id & uniqueBit) != 0 && id != noText; }
    // An interned text (null, empty and every number below uniqueBit).
    const QString &text(TextId id) const
    {
        Q_ASSERT(!isUnique(id));
        return m_texts[id];
    }
    // Any text, interned or unique.
    QStringView view(TextId id) const
    {
        if (!isUnique(id))
            return m_texts[id];
        const size_t i = id & ~uniqueBit;
        return QStringView(m_uniqueChars.data() + m_uniqueStarts[i],
                           qsizetype(m_uniqueStarts[i + 1] - m_uniqueStarts[i]));
    }
    QString string(TextId id) const { return isUnique(id) ? view(id).toString() : m_texts[id]; }
    // The number of interned texts; every interned number is below it.
    qsizetype size() const { return qsizetype(m_texts.size()); }

    TextId intern(const QString &text);
    // A text given as big-endian UTF-16 code units, as the database file keeps them.
    TextId internBigEndian(const uchar *bytes, qsizetype units);
    // Adds text as a unique text of its own (null and empty keep their fixed numbers).
    TextId append(const QString &text);
    TextId appendBigEndian(const uchar *bytes, qsizetype units);
    // The number of an interned text equal to text, else noText.
    TextId find(const QString &text) const;

    // Moves every text of other into this table; map turns other's numbers into this table's.
    // Texts other interned are interned here, unique ones appended, all in other's order.
    class NumberMap
    {
    public:
        TextId operator()(TextId id) const
        {
            return isUnique(id) ? TextId(uniqueBit | ((id & ~uniqueBit) + m_uniqueBase))
                                : m_interned[id];
        }

    private:
        friend class TextTable;
        std::vector<TextId> m_interned;
        quint32 m_uniqueBase = 0;
    };
    NumberMap absorb(TextTable &&other);

    void clear();
    void swap(TextTable &other) noexcept;
    // Makes room for unique more unique texts of about uniqueUnits code units in all, and for
    // interned more interned ones.
    void reserve(qsizetype unique, qsizetype uniqueUnits, qsizetype interned);

private:
    TextId insert(QString &&text, quint32 hash, const uchar *bigEndian);
    // The interned text with hash for which same(slot) holds, else noText.
    template <typename Same> TextId lookup(quint32 hash, const Same &same) const;
    TextId lookup(const uchar *bigEndian, qsizetype units, quint32 hash) const;
    TextId lookup(QStringView text, quint32 hash) const;
    void rehash(size_t slots);
    TextId appendUnique(qsizetype units);

    std::vector<QString, StoreAllocator<QString>> m_texts;  // interned, by TextId
    std::vector<quint32, StoreAllocator<quint32>> m_hashes; // by TextId
    // Open addressing by hash; an id of 0 marks a free slot. A slot holds what a look-up compares
    // (the hash, where the text's big-endian bytes lie in m_bigEndian and how many there are), so
    // that finding a text touches nothing but the slot and those bytes, all kept close together.
    struct Slot
    {
        quint32 hash;
        TextId id;
        quint64 place; // offset << 24 | size in bytes; sizes from 2^24 - 1 up are compared by text
    };
    static constexpr quint64 longText = (quint64(1) << 24) - 1;
    std::vector<Slot, StoreAllocator<Slot>> m_slots;
    std::vector<uchar> m_bigEndian; // every interned text, big-endian, one after another
    qsizetype m_hashed = 0;
    // Unique text i is m_uniqueChars[m_uniqueStarts[i], m_uniqueStarts[i + 1]).
    std::vector<char16_t, StoreAllocator<char16_t>> m_uniqueChars;
    std::vector<quint64, StoreAllocator<quint64>> m_uniqueStarts;
};

// A text of a table by number, read as a QString when asked for: the file name and the match ID
// of a stored match, which the table keeps as plain characters.
class TextRef
{
public:
    TextRef(const TextTable &table, TextId id) : m_table(&table), m_id(id) {}

    QString toString() const { return m_table->string(m_id); }
    operator QString() const { return toString(); }
    QStringView view() const { return m_table->view(m_id); }
    TextId id() const { return m_id; }
    bool isNull() const { return m_id == TextTable::nullText; }
    bool isEmpty() const { return view().isEmpty(); }
    qsizetype size() const { return view().size(); }

    friend bool operator==(const TextRef &a, const QString &b) { return a.view() == b; }
    friend bool operator==(const QString &a, const TextRef &b) { return b.view() == a; }
    friend bool operator!=(const TextRef &a, const QString &b) { return !(a == b); }
    friend bool operator!=(const QString &a, const TextRef &b) { return !(b == a); }
    // The hash of the equal QString.
    friend size_t qHash(const TextRef &text, size_t seed = 0) { return ::qHash(text.view(), seed); }

private:
    const TextTable *m_table;
    TextId m_id;
};
