#include "model/texttable.h"

#include <QSysInfo>
#include <QVarLengthArray>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

quint64 load8(const uchar *bytes)
{
    quint64 v;
    std::memcpy(&v, bytes, 8);
    return v;
}

// Eight bytes of host-order UTF-16 as the same code units read in big-endian order, and back.
quint64 swapUnits(quint64 v)
{
    if (QSysInfo::ByteOrder == QSysInfo::BigEndian)
        return v;
    return ((v & 0x00FF00FF00FF00FFull) << 8) | ((v >> 8) & 0x00FF00FF00FF00FFull);
}

quint32 mixHash(quint64 a, quint64 b, quint64 c, qsizetype size);

// A fast hash of the big-endian bytes of a text; never 0. It reads the first sixteen and the last
// eight bytes and the size, whatever the length: texts that agree in all of those only share a
// chain of slots.
quint32 hashBytes(const uchar *bytes, qsizetype size)
{
    quint64 a = 0, b = 0, c = 0;
    if (size >= 8) {
        a = load8(bytes);
        c = load8(bytes + size - 8);
        if (size >= 16)
            b = load8(bytes + 8);
    } else {
        std::memcpy(&a, bytes, size_t(size));
    }
    return mixHash(a, b, c, size);
}

// hashBytes() of the big-endian bytes of text, read from its own host-order units.
quint32 hashUnits(QStringView text)
{
    const auto *bytes = reinterpret_cast<const uchar *>(text.utf16());
    const qsizetype size = text.size() * 2;
    quint64 a = 0, b = 0, c = 0;
    if (size >= 8) {
        a = swapUnits(load8(bytes));
        c = swapUnits(load8(bytes + size - 8));
        if (size >= 16)
            b = swapUnits(load8(bytes + 8));
    } else {
        std::memcpy(&a, bytes, size_t(size));
        a = swapUnits(a);
    }
    return mixHash(a, b, c, size);
}

quint32 mixHash(quint64 a, quint64 b, quint64 c, qsizetype size)
{
    quint64 h = (a ^ 0x9E3779B97F4A7C15ull) * 0xBF58476D1CE4E5B9ull;
    h ^= (b + quint64(size)) * 0x94D049BB133111EBull;
    h ^= ((c >> 7) | (c << 57)) * 0xD6E8FEB86659FD93ull;
    h ^= h >> 31;
    h *= 0x9E3779B97F4A7C15ull;
    h ^= h >> 32;
    const auto hash = quint32(h);
    return hash == 0 ? 1 : hash;
}

// memcmp() == 0, without a call for the short texts that make up nearly all of a database.
bool sameBytes(const uchar *a, const uchar *b, size_t size)
{
    if (size > 16)
        return std::memcmp(a, b, size) == 0;
    if (size >= 8) // the first eight bytes and the last eight, overlapping below sixteen
        return load8(a) == load8(b) && load8(a + size - 8) == load8(b + size - 8);
    quint64 x = 0, y = 0;
    std::memcpy(&x, a, size);
    std::memcpy(&y, b, size);
    return x == y;
}

bool equalsBigEndian(QStringView text, const uchar *bytes, qsizetype units)
{
    if (text.size() != units)
        return false;
    const char16_t *own = reinterpret_cast<const char16_t *>(text.constData());
    qsizetype i = 0;
    // Four code units at a time: swap the bytes of each and compare with the text's own.
    for (; i + 4 <= units; i += 4) {
        quint64 theirs, ours;
        std::memcpy(&theirs, bytes + 2 * i, 8);
        std::memcpy(&ours, own + i, 8);
        if (swapUnits(theirs) != ours)
            return false;
    }
    for (; i < units; ++i) {
        if (own[i] != char16_t((bytes[2 * i] << 8) | bytes[2 * i + 1]))
            return false;
    }
    return true;
}

QString decodeBigEndian(const uchar *bytes, qsizetype units)
{
    QString text(units, Qt::Uninitialized);
    qFromBigEndian<char16_t>(bytes, units, text.data());
    return text;
}

using BigEndianText = QVarLengthArray<char16_t, 128>;

void toBigEndian(const QString &text, BigEndianText &out)
{
    out.resize(text.size());
    qToBigEndian<char16_t>(text.utf16(), text.size(), out.data());
}

} // namespace

TextTable::TextTable()
{
    clear();
}

void TextTable::clear()
{
    m_texts.clear();
    m_hashes.clear();
    m_texts.push_back(QString());
    m_texts.push_back(QStringLiteral(""));
    m_hashes.assign(2, 0);
    m_slots.assign(1024, Slot{0, 0, 0});
    m_bigEndian.clear();
    m_hashed = 0;
    m_plainChars.clear();
    m_plainStarts.assign(1, 0);
}

void TextTable::reserve(qsizetype plain, qsizetype plainUnits, qsizetype interned,
                        qsizetype internedUnits)
{
    m_plainStarts.reserve(m_plainStarts.size() + size_t(plain));
    m_plainChars.reserve(m_plainChars.size() + size_t(plainUnits));
    m_texts.reserve(m_texts.size() + size_t(interned));
    m_hashes.reserve(m_hashes.size() + size_t(interned));
    m_bigEndian.reserve(m_bigEndian.size() + 2 * size_t(internedUnits));
}

void TextTable::swap(TextTable &other) noexcept
{
    m_texts.swap(other.m_texts);
    m_hashes.swap(other.m_hashes);
    m_slots.swap(other.m_slots);
    m_bigEndian.swap(other.m_bigEndian);
    std::swap(m_hashed, other.m_hashed);
    m_plainChars.swap(other.m_plainChars);
    m_plainStarts.swap(other.m_plainStarts);
}

template <typename Same> TextId TextTable::lookup(quint32 hash, const Same &same) const
{
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot &at = m_slots[slot];
        if (at.id == 0)
            return noText;
        if (at.hash == hash && same(at))
            return at.id;
    }
}

TextId TextTable::lookup(const uchar *bigEndian, qsizetype units, quint32 hash) const
{
    return lookup(hash, [&](const Slot &at) {
        const quint64 size = at.place & longText;
        return size != longText
                   ? size == quint64(units) * 2 &&
                         sameBytes(m_bigEndian.data() + (at.place >> 24), bigEndian, size_t(size))
                   : equalsBigEndian(m_texts[at.id], bigEndian, units);
    });
}

TextId TextTable::lookup(QStringView text, quint32 hash) const
{
    return lookup(hash, [&](const Slot &at) {
        const quint64 size = at.place & longText;
        return size != longText
                   ? size == quint64(text.size()) * 2 &&
                         equalsBigEndian(text, m_bigEndian.data() + (at.place >> 24), text.size())
                   : QStringView(m_texts[at.id]) == text;
    });
}

TextId TextTable::insert(QString &&text, quint32 hash, const uchar *bigEndian)
{
    const auto id = TextId(m_texts.size());
    if (id >= noText)
        throw std::length_error("too many texts");
    m_texts.push_back(std::move(text));
    m_hashes.push_back(hash);
    if (2 * (m_hashed + 1) > qsizetype(m_slots.size()))
        rehash(m_slots.size() * 2);
    const size_t mask = m_slots.size() - 1;
    size_t slot = hash & mask;
    while (m_slots[slot].id != 0)
        slot = (slot + 1) & mask;
    const auto size = quint64(m_texts[id].size()) * 2;
    quint64 place = longText;
    if (size < longText) {
        place = quint64(m_bigEndian.size()) << 24 | size;
        m_bigEndian.insert(m_bigEndian.end(), bigEndian, bigEndian + size);
    }
    m_slots[slot] = Slot{hash, id, place};
    ++m_hashed;
    return id;
}

void TextTable::rehash(size_t count)
{
    std::vector<Slot, StoreAllocator<Slot>> slots(count, Slot{0, 0, 0});
    const size_t mask = slots.size() - 1;
    for (const Slot &at : m_slots) {
        if (at.id == 0)
            continue;
        size_t slot = at.hash & mask;
        while (slots[slot].id != 0)
            slot = (slot + 1) & mask;
        slots[slot] = at;
    }
    m_slots.swap(slots);
}

TextId TextTable::internBigEndian(const uchar *bytes, qsizetype units)
{
    if (units == 0)
        return emptyText;
    const quint32 hash = hashBytes(bytes, units * 2);
    const TextId found = lookup(bytes, units, hash);
    return found != noText ? found : insert(decodeBigEndian(bytes, units), hash, bytes);
}

// The most plain texts a table holds: every number fits a quint32, also after absorb().
constexpr size_t maxPlainTexts = 0xFFFFFFF0u;

// Makes room for a plain text of units code units at the end of the characters; its number.
PlainTextId TextTable::appendPlain(qsizetype units)
{
    const size_t index = m_plainStarts.size() - 1;
    if (index >= maxPlainTexts)
        throw std::length_error("too many texts");
    m_plainChars.resize(m_plainChars.size() + size_t(units));
    m_plainStarts.push_back(m_plainChars.size());
    return PlainTextId{quint32(index + 2)};
}

PlainTextId TextTable::appendBigEndian(const uchar *bytes, qsizetype units)
{
    if (units == 0)
        return emptyPlain;
    const PlainTextId id = appendPlain(units);
    qFromBigEndian<char16_t>(bytes, units, m_plainChars.data() + m_plainChars.size() - units);
    return id;
}

TextId TextTable::intern(const QString &text)
{
    if (text.isNull())
        return nullText;
    if (text.isEmpty())
        return emptyText;
    const quint32 hash = hashUnits(text);
    const TextId found = lookup(text, hash);
    if (found != noText)
        return found;
    BigEndianText bigEndian;
    toBigEndian(text, bigEndian);
    return insert(QString(text), hash, reinterpret_cast<const uchar *>(bigEndian.constData()));
}

PlainTextId TextTable::append(const QString &text)
{
    if (text.isNull())
        return nullPlain;
    if (text.isEmpty())
        return emptyPlain;
    const PlainTextId id = appendPlain(text.size());
    std::copy(text.utf16(), text.utf16() + text.size(),
              m_plainChars.data() + m_plainChars.size() - text.size());
    return id;
}

TextId TextTable::find(const QString &text) const
{
    if (text.isNull())
        return nullText;
    if (text.isEmpty())
        return emptyText;
    return lookup(text, hashUnits(text));
}

TextTable::NumberMap TextTable::absorb(TextTable &&other)
{
    NumberMap map;
    map.m_interned.resize(other.m_texts.size());
    map.m_interned[nullText] = nullText;
    map.m_interned[emptyText] = emptyText;
    // Where other keeps each text's big-endian bytes, by number: its texts are compared and
    // copied as those bytes, as a file's are.
    std::vector<quint64> places(other.m_texts.size(), longText);
    for (const Slot &at : other.m_slots) {
        if (at.id != 0)
            places[at.id] = at.place;
    }
    reserve(other.plainCount(), qsizetype(other.m_plainChars.size()), other.size(),
            qsizetype(other.m_bigEndian.size() / 2));
    BigEndianText bigEndian;
    for (size_t id = 2; id < other.m_texts.size(); ++id) {
        QString &text = other.m_texts[id];
        const quint32 hash = other.m_hashes[id];
        const quint64 place = places[id];
        const uchar *bytes = other.m_bigEndian.data() + (place >> 24);
        if (place == longText) {
            toBigEndian(text, bigEndian);
            bytes = reinterpret_cast<const uchar *>(bigEndian.constData());
        }
        TextId found = lookup(bytes, text.size(), hash);
        if (found == noText)
            found = insert(std::move(text), hash, bytes);
        map.m_interned[id] = found;
    }
    const size_t base = m_plainStarts.size() - 1;
    if (base + other.m_plainStarts.size() >= maxPlainTexts)
        throw std::length_error("too many texts");
    map.m_plainBase = quint32(base);
    const quint64 offset = m_plainChars.size();
    m_plainChars.insert(m_plainChars.end(), other.m_plainChars.begin(), other.m_plainChars.end());
    for (size_t i = 1; i < other.m_plainStarts.size(); ++i)
        m_plainStarts.push_back(offset + other.m_plainStarts[i]);
    other.clear();
    return map;
}
