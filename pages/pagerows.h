#pragma once

#include "model/match.h"
#include "model/texttable.h"

#include <QHash>
#include <QMap>
#include <QString>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

// One accumulated result row: six texts and twelve counters chosen by the builder, the key it is
// stored under, and a set of distinct names some pages collect.
class PageRow
{
public:
    explicit PageRow(const QString &key);

    const QString &text(int i) const { return m_texts[i]; }
    void setText(int i, const QString &text) { m_texts[i] = text; }
    // Counters add up figures taken from report text (goals, crowds): they saturate at the ends
    // of their range instead of wrapping round, so no sum can turn negative.
    qint64 count(int i) const { return m_counts[i]; }
    void setCount(int i, qint64 value) { m_counts[i] = value; }
    void addCount(int i, qint64 value)
    {
        if (__builtin_add_overflow(m_counts[i], value, &m_counts[i]))
            m_counts[i] =
                value > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    }

    const QString &key() const { return m_key; }

    // A number the builder keeps with the row, 0 at first: the text numbers its texts were last
    // set from, say, so that setting them again from the same texts can be skipped.
    quint64 tag() const { return m_tag; }
    void setTag(quint64 tag) { m_tag = tag; }

    QMap<QString, int> &names() { return m_names; }
    const QMap<QString, int> &names() const { return m_names; }

private:
    // The tag and the first counters share a cache line: a sighting reads the one and adds to
    // one of the others.
    quint64 m_tag = 0;
    std::array<qint64, 12> m_counts{};
    std::array<QString, 6> m_texts;
    QString m_key;
    QMap<QString, int> m_names;
};

// A shortcut from texts of a store, by their numbers, to rows: a builder that keys its rows by
// texts (a team, a player and his team) finds a row it has met before without composing or
// hashing the key. Entries belong to one store's texts; another store's empty the index.
class RowIndex
{
public:
    // The row noted for the texts a and b of table, or null.
    PageRow *find(const TextTable &table, TextId a, TextId b = 0)
    {
        if (&table != m_table) {
            m_table = &table;
            m_slots.assign(1024, Slot{0, nullptr});
            m_used = 0;
        }
        const quint64 key = quint64(a) << 32 | b;
        const size_t mask = m_slots.size() - 1;
        for (size_t i = slotOf(key) & mask;; i = (i + 1) & mask) {
            if (!m_slots[i].row)
                return nullptr;
            if (m_slots[i].key == key)
                return m_slots[i].row;
        }
    }
    // Notes row for a and b, after find() for them came back empty.
    void insert(TextId a, TextId b, PageRow *row)
    {
        if (2 * (m_used + 1) > m_slots.size()) {
            std::vector<Slot> old(m_slots.size() * 2, Slot{0, nullptr});
            old.swap(m_slots);
            for (const Slot &slot : old) {
                if (slot.row)
                    place(slot);
            }
        }
        place(Slot{quint64(a) << 32 | b, row});
        ++m_used;
    }

private:
    struct Slot
    {
        quint64 key;
        PageRow *row;
    };
    static size_t slotOf(quint64 key)
    {
        key *= 0x9E3779B97F4A7C15ull;
        return size_t(key ^ (key >> 29));
    }
    void place(const Slot &slot)
    {
        const size_t mask = m_slots.size() - 1;
        size_t i = slotOf(slot.key) & mask;
        while (m_slots[i].row)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }

    const TextTable *m_table = nullptr;
    std::vector<Slot> m_slots;
    size_t m_used = 0;
};

// The minute an event time text gives: its leading decimal digits, so that added time counts as
// the minute it was added to ("90+3" is 90); -1 when the text does not begin with a digit.
// Minutes above 999 read as 999.
int eventMinute(QStringView time);

// The rows of one page run, by key. Rows live on the heap so that a reference to one stays good
// while others are added. They are visited in the order they were created, so that the same
// matches always give the same table, rows equal in the sort column included.
class PageRows
{
public:
    // The row stored under key, created with initial values when there is none.
    PageRow &rowFor(const QString &key);
    // A new row under a key no other row of this table has.
    PageRow &newRow();

    qsizetype size() const { return m_order.size(); }
    void clear();

    // Every row, in the order of creation.
    const QList<PageRow *> &rows() const { return m_order; }
    // Matches a builder keeps by their place in the store, for lists that show every match.
    std::vector<qsizetype> &kept() { return m_kept; }

    // State of a builder's own type for the run, made on first use: a builder that counts into
    // typed records rather than rows keeps them here. clear() drops it.
    template <typename T, typename... Args> T &state(Args &&...args)
    {
        if (!m_state)
            m_state = std::make_shared<T>(std::forward<Args>(args)...);
        return *static_cast<T *>(m_state.get());
    }

    // Two shortcuts to rows by text numbers for the builder's use; clear() empties them too.
    RowIndex &index(int which = 0) { return m_index[which]; }

    // The kind of the event type text type of table, worked out once per distinct text.
    EventKind eventKind(const TextTable &table, TextId type)
    {
        if (&table != m_kindsTable) {
            m_kindsTable = &table;
            m_kinds.clear();
        }
        if (type >= m_kinds.size())
            m_kinds.resize(std::max<size_t>(type + 1, size_t(table.size())), -1);
        if (m_kinds[type] < 0)
            m_kinds[type] = qint8(::eventKind(table.text(type)));
        return EventKind(m_kinds[type]);
    }
    // The minute of the event time text time of table: its leading decimal digits ("45+2" is 45),
    // or -1 when it does not begin with one; worked out once per distinct text.
    int minute(const TextTable &table, TextId time)
    {
        if (&table != m_minutesTable) {
            m_minutesTable = &table;
            m_minutes.clear();
        }
        if (time >= m_minutes.size())
            m_minutes.resize(std::max<size_t>(time + 1, size_t(table.size())), -2);
        if (m_minutes[time] == -2)
            m_minutes[time] = qint16(::eventMinute(table.text(time)));
        return m_minutes[time];
    }
    // A count the builder keeps for the whole page (reports passed over, say); clear() zeroes it.
    qint64 &tally() { return m_tally; }

    template <typename F> void forEach(F &&visit) const
    {
        for (PageRow *row : m_order)
            visit(*row);
    }

private:
    QHash<QString, std::shared_ptr<PageRow>> m_rows;
    QList<PageRow *> m_order;
    quint64 m_counter = 0;
    RowIndex m_index[2];
    std::vector<qsizetype> m_kept;
    std::shared_ptr<void> m_state;
    const TextTable *m_kindsTable = nullptr;
    std::vector<qint8> m_kinds;
    const TextTable *m_minutesTable = nullptr;
    std::vector<qint16> m_minutes;
    qint64 m_tally = 0;
};

// A row key made of numbers (text numbers, a Julian day): each number is two code units, so two
// different lists of numbers never give the same key, whatever the texts hold. The null text is
// keyed as the empty one, as QString compares them.
inline quint32 keyText(TextId id)
{
    return id == TextTable::nullText ? TextTable::emptyText : id;
}
inline const QString &numberKeyInto(QString &buffer, std::initializer_list<quint32> numbers)
{
    buffer.resize(qsizetype(2 * numbers.size()));
    QChar *out = buffer.data();
    for (const quint32 n : numbers) {
        *out++ = QChar(char16_t(n >> 16));
        *out++ = QChar(char16_t(n & 0xffff));
    }
    return buffer;
}
inline QString numberKey(std::initializer_list<quint32> numbers)
{
    QString key;
    numberKeyInto(key, numbers);
    return key;
}

// The texts under which records of one person are grouped, as text numbers: with considerId the
// ID (or the name when there is no ID), otherwise the name and the team.
struct PersonKey
{
    TextId a;
    TextId b;
};
inline PersonKey personKey(bool considerId, const TextTable &table, TextId id, TextId name,
                           TextId team)
{
    // An ID and a name are told apart by the second number, even when their texts are equal.
    if (considerId)
        return table.text(id).isEmpty() ? PersonKey{keyText(name), 0} : PersonKey{id, 1};
    return {keyText(name), keyText(team)};
}
