#pragma once

#include <QHash>
#include <QMap>
#include <QString>

#include <array>
#include <limits>
#include <memory>

// One accumulated result row: six texts and ten counters chosen by the builder, the key it is
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

    QMap<QString, int> &names() { return m_names; }
    const QMap<QString, int> &names() const { return m_names; }

private:
    std::array<QString, 6> m_texts;
    std::array<qint64, 10> m_counts{};
    QString m_key;
    QMap<QString, int> m_names;
};

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
    template <typename F> void forEach(F &&visit) const
    {
        for (PageRow *row : m_order)
            visit(*row);
    }

private:
    QHash<QString, std::shared_ptr<PageRow>> m_rows;
    QList<PageRow *> m_order;
    quint64 m_counter = 0;
};

// The text under which records of one person are grouped: with considerId the ID (or the name
// when there is no ID), otherwise the name and the team separated by one space.
QString personKey(bool considerId, const QString &id, const QString &name, const QString &team);
