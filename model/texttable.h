#pragma once

#include "model/storeallocator.h"

#include <QString>

#include <vector>

// A text of a store by number: equal texts added through intern() share one number.
using TextId = quint32;

// Every text of a store, each kept once and referred to by its TextId. Two numbers are fixed: 0 is
// the null text and 1 the empty one, which the database file tells apart. Texts are interned
// (looked up by content, added when new) or appended as they are when they are known to differ
// from one record to the next (file names, match IDs): those are never looked up by content.
class TextTable
{
public:
    static constexpr TextId nullText = 0;
    static constexpr TextId emptyText = 1;
    static constexpr TextId noText = ~TextId(0); // find(): no such text

    TextTable();

    const QString &text(TextId id) const { return m_texts[id]; }
    qsizetype size() const { return qsizetype(m_texts.size()); }

    TextId intern(const QString &text);
    // A text given as big-endian UTF-16 code units, as the database file keeps them.
    TextId internBigEndian(const uchar *bytes, qsizetype units);
    // Adds text as a number of its own, not to be found by content.
    TextId append(const QString &text);
    TextId appendBigEndian(const uchar *bytes, qsizetype units);
    // The number of an interned text equal to text, else noText.
    TextId find(const QString &text) const;

    // Moves every text of other into this table: other's numbers, in order, become the returned
    // ones. Texts other interned are interned here, appended ones appended.
    std::vector<TextId> absorb(TextTable &&other);

    void clear();
    void swap(TextTable &other) noexcept;
    // Makes room for texts more texts, interned of them at most.
    void reserve(qsizetype texts, qsizetype interned);

private:
    static constexpr quint32 unhashed = 0; // m_hashes of an appended text (hashes are never 0)

    TextId insert(QString &&text, quint32 hash, const uchar *bigEndian);
    TextId lookup(const uchar *bigEndian, qsizetype units, quint32 hash) const;
    void rehash(size_t slots);

    std::vector<QString, StoreAllocator<QString>> m_texts;
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
};
