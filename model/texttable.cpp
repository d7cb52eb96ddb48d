#include "model/texttable.h"

#include <QVarLengthArray>
#include <QtEndian>

#include <cstring>

namespace {

// A fast hash of the big-endian bytes of a text, eight at a time; never 0.
quint32 hashBytes(const uchar *bytes, qsizetype size)
{
    constexpr quint64 multiplier = 0x9E3779B97F4A7C15ull;
    quint64 h = quint64(size) * multiplier;
    while (size >= 8) {
        quint64 v;
        std::memcpy(&v, bytes, 8);
        h = (h ^ v) * multiplier;
        h ^= h >> 29;
        bytes += 8;
        size -= 8;
    }
    if (size > 0) {
        quint64 v = 0;
        std::memcpy(&v, bytes, size_t(size));
        h = (h ^ v) * multiplier;
    }
    h ^= h >> 32;
    const auto hash = quint32(h);
    return hash == 0 ? 1 : hash;
}

bool equalsBigEndian(const QString &text, const uchar *bytes, qsizetype units)
{
    if (text.size() != units)
        return false;
    const char16_t *own = reinterpret_cast<const char16_t *>(text.constData());
    for (qsizetype i = 0; i < units; ++i) {
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
    m_hashes.assign(2, unhashed);
    m_slots.assign(1024, 0);
    m_hashed = 0;
}

void TextTable::swap(TextTable &other) noexcept
{
    m_texts.swap(other.m_texts);
    m_hashes.swap(other.m_hashes);
    m_slots.swap(other.m_slots);
    std::swap(m_hashed, other.m_hashed);
}

TextId TextTable::lookup(const uchar *bigEndian, qsizetype units, quint32 hash) const
{
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const TextId id = m_slots[slot];
        if (id == 0)
            return noText;
        if (m_hashes[id] == hash && equalsBigEndian(m_texts[id], bigEndian, units))
            return id;
    }
}

TextId TextTable::insert(QString &&text, quint32 hash)
{
    const auto id = TextId(m_texts.size());
    m_texts.push_back(std::move(text));
    m_hashes.push_back(hash);
    if (hash == unhashed)
        return id;
    if (2 * (m_hashed + 1) > qsizetype(m_slots.size()))
        grow();
    const size_t mask = m_slots.size() - 1;
    size_t slot = hash & mask;
    while (m_slots[slot] != 0)
        slot = (slot + 1) & mask;
    m_slots[slot] = id;
    ++m_hashed;
    return id;
}

void TextTable::grow()
{
    std::vector<TextId> slots(m_slots.size() * 2, 0);
    const size_t mask = slots.size() - 1;
    for (const TextId id : m_slots) {
        if (id == 0)
            continue;
        size_t slot = m_hashes[id] & mask;
        while (slots[slot] != 0)
            slot = (slot + 1) & mask;
        slots[slot] = id;
    }
    m_slots.swap(slots);
}

TextId TextTable::internBigEndian(const uchar *bytes, qsizetype units)
{
    if (units == 0)
        return emptyText;
    const quint32 hash = hashBytes(bytes, units * 2);
    const TextId found = lookup(bytes, units, hash);
    return found != noText ? found : insert(decodeBigEndian(bytes, units), hash);
}

TextId TextTable::appendBigEndian(const uchar *bytes, qsizetype units)
{
    return units == 0 ? emptyText : insert(decodeBigEndian(bytes, units), unhashed);
}

TextId TextTable::intern(const QString &text)
{
    if (text.isNull())
        return nullText;
    if (text.isEmpty())
        return emptyText;
    BigEndianText bigEndian;
    toBigEndian(text, bigEndian);
    const auto *bytes = reinterpret_cast<const uchar *>(bigEndian.constData());
    const quint32 hash = hashBytes(bytes, text.size() * 2);
    const TextId found = lookup(bytes, text.size(), hash);
    return found != noText ? found : insert(QString(text), hash);
}

TextId TextTable::append(const QString &text)
{
    if (text.isNull())
        return nullText;
    return text.isEmpty() ? emptyText : insert(QString(text), unhashed);
}

TextId TextTable::find(const QString &text) const
{
    if (text.isNull())
        return nullText;
    if (text.isEmpty())
        return emptyText;
    BigEndianText bigEndian;
    toBigEndian(text, bigEndian);
    const auto *bytes = reinterpret_cast<const uchar *>(bigEndian.constData());
    return lookup(bytes, text.size(), hashBytes(bytes, text.size() * 2));
}

std::vector<TextId> TextTable::absorb(TextTable &&other)
{
    std::vector<TextId> ids(other.m_texts.size());
    ids[nullText] = nullText;
    ids[emptyText] = emptyText;
    BigEndianText bigEndian;
    for (size_t id = 2; id < other.m_texts.size(); ++id) {
        QString &text = other.m_texts[id];
        const quint32 hash = other.m_hashes[id];
        TextId found = noText;
        if (hash != unhashed) {
            toBigEndian(text, bigEndian);
            found =
                lookup(reinterpret_cast<const uchar *>(bigEndian.constData()), text.size(), hash);
        }
        ids[id] = found != noText ? found : insert(std::move(text), hash);
    }
    other.clear();
    return ids;
}
