#pragma once

#include "model/storeallocator.h"

#include <QHashFunctions>
#include <QString>

#include <vector>

// An interned text of a store by number: equal texts added through intern() share one number.
using TextId = quint32;

// A plain text of a store by number: the file name or the match ID of one match, kept as it came
// and never shared. A type of its own, so that it cannot be read as an interned text: the two
// kinds are numbered apart, and one read as the other gives a wrong text or none.
struct PlainTextId
{
    // 0 the null text, 1 the empty one, from 2 on the plain texts in order. No initialiser: the
    // store's arrays are made room for without writing (model/storeallocator.h).
    quint32 n;

    friend bool operator==(PlainTextId a, PlainTextId b) { return a.n == b.n; }
    friend bool operator!=(PlainTextId a, PlainTextId b) { return a.n != b.n; }
};

class TextRef;

// Every text of a store. Two numbers of each kind are fixed: 0 is the null text and 1 the empty
// one, which the database file tells apart.
// - Interned texts (teams, players, referees, minutes …) are looked up by content and added when
//   new, each kept once and referred to by its TextId; each is one QString, which text() gives.
// - Plain texts are known to differ from one record to the next (file names, match IDs): they are
//   appended as they are, never looked up, and kept as plain characters, which a QString per text
//   would more than triple. view() and string() read them by PlainTextId and check the number: one
//   out of range (a slip, or a number from elsewhere) reads as the empty text, never past the end.
class TextTable
{
public:
    static constexpr TextId nullText = 0;
    static constexpr TextId emptyText = 1;
    static constexpr TextId noText = ~TextId(0); // find(): no such text
    static constexpr PlainTextId nullPlain{0};
    static constexpr PlainTextId emptyPlain{1};

    TextTable();

    // An interned text (null, empty and every number below size()).
    const QString &text(TextId id) const
    {
        Q_ASSERT(id < m_texts.size());
        return m_texts[id];
    }
    // A plain text; null for nullPlain, empty for emptyPlain and for a number out of range.
    QStringView view(PlainTextId id) const
    {
        const size_t i = size_t(id.n) - 2;
        if (id.n < 2 || i + 1 >= m_plainStarts.size())
            return id.n == 0 ? QStringView() : QStringView(u"");
        return QStringView(m_plainChars.data() + m_plainStarts[i],
                           qsizetype(m_plainStarts[i + 1] - m_plainStarts[i]));
    }
    QString string(PlainTextId id) const
    {
        return id == nullPlain    ? QString()
               : id == emptyPlain ? m_texts[emptyText]
                                  : view(id).toString();
    }
    qsizetype plainCount() const { return qsizetype(m_plainStarts.size()) - 1; }
    // The number of interned texts; every interned number is below it.
    qsizetype size() const { return qsizetype(m_texts.size()); }

    TextId intern(const QString &text);
    // A text given as big-endian UTF-16 code units, as the database file keeps them.
    TextId internBigEndian(const uchar *bytes, qsizetype units);
    // Adds text as a plain text of its own (null and empty keep their fixed numbers).
    PlainTextId append(const QString &text);
    PlainTextId appendBigEndian(const uchar *bytes, qsizetype units);
    // The number of an interned text equal to text, else noText.
    TextId find(const QString &text) const;

    // Moves every text of other into this table; map turns other's numbers into this table's.
    // Texts other interned are interned here, plain ones appended, all in other's order.
    class NumberMap
    {
    public:
        TextId operator()(TextId id) const { return m_interned[id]; }
        PlainTextId operator()(PlainTextId id) const
        {
            return id.n < 2 ? id : PlainTextId{id.n + m_plainBase};
        }

    private:
        friend class TextTable;
        std::vector<TextId> m_interned;
        quint32 m_plainBase = 0;
    };
    NumberMap absorb(TextTable &&other);

    void clear();
    void swap(TextTable &other) noexcept;
    // Makes room for plain more plain texts of plainUnits code units in all, and for interned
    // more interned ones of internedUnits: a table that will grow large then takes its memory
    // in huge pages rather than a page fault every 4 KB, and copies nothing as it grows. Room
    // not used costs addresses only.
    void reserve(qsizetype plain, qsizetype plainUnits, qsizetype interned,
                 qsizetype internedUnits);

private:
    TextId insert(QString &&text, quint32 hash, const uchar *bigEndian);
    // The interned text with hash for which same(slot) holds, else noText.
    template <typename Same> TextId lookup(quint32 hash, const Same &same) const;
    TextId lookup(const uchar *bigEndian, qsizetype units, quint32 hash) const;
    TextId lookup(QStringView text, quint32 hash) const;
    void rehash(size_t slots);
    PlainTextId appendPlain(qsizetype units);

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
    std::vector<uchar, StoreAllocator<uchar>> m_bigEndian; // every interned text, big-endian
    qsizetype m_hashed = 0;
    // Plain text i (numbered i + 2) is m_plainChars[m_plainStarts[i], m_plainStarts[i + 1]).
    std::vector<char16_t, StoreAllocator<char16_t>> m_plainChars;
    std::vector<quint64, StoreAllocator<quint64>> m_plainStarts;
};

// A text of a table by number, read as a QString when asked for: the file name and the match ID
// of a stored match, which the table keeps as plain characters.
class TextRef
{
public:
    TextRef(const TextTable &table, PlainTextId id) : m_table(&table), m_id(id) {}

    QString toString() const { return m_table->string(m_id); }
    operator QString() const { return toString(); }
    QStringView view() const { return m_table->view(m_id); }
    PlainTextId id() const { return m_id; }
    bool isNull() const { return m_id == TextTable::nullPlain; }
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
    PlainTextId m_id;
};
