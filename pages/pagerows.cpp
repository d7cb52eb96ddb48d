#include "pages/pagerows.h"

PageRow::PageRow(const QString &key) : m_key(key)
{
    // Row texts start empty, not null.
    m_texts.fill(QStringLiteral(""));
}

PageRow &PageRows::rowFor(const QString &key)
{
    std::shared_ptr<PageRow> &slot = m_rows[key];
    if (!slot) {
        slot = std::make_shared<PageRow>(key);
        m_order.append(slot.get());
    }
    return *slot;
}

PageRow &PageRows::newRow()
{
    // The counter belongs to the table: keys are unique within it, and the same run always
    // gives the same keys.
    QString key = QString::number(m_counter);
    while (m_rows.contains(key))
        key = QString::number(++m_counter);
    ++m_counter;
    return rowFor(key);
}

void PageRows::clear()
{
    m_order.clear();
    m_rows.clear();
    m_kept.clear();
    m_state.reset();
    m_index[0] = RowIndex();
    m_index[1] = RowIndex();
    m_kindsTable = nullptr;
    m_kinds.clear();
}

QString personKey(bool considerId, const QString &id, const QString &name, const QString &team)
{
    if (considerId)
        return id.isEmpty() ? name : id;
    return name + QLatin1Char(' ') + team;
}
