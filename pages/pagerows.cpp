#include "pages/pagerows.h"

#include <cstring>

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
    } else if (slot->key().size() != key.size() ||
               std::memcmp(slot->key().constData(), key.constData(),
                           size_t(key.size()) * sizeof(QChar)) != 0) {
        // Assign only when it differs: sharing the caller's text would make a key buffer that
        // the caller reuses detach (allocate) on every look-up.
        slot->setKey(key);
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
}

const PageRow *PageRows::find(const QString &key) const
{
    const auto it = m_rows.constFind(key);
    return it == m_rows.cend() ? nullptr : it->get();
}

QString personKey(bool considerId, const QString &id, const QString &name, const QString &team)
{
    if (considerId)
        return id.isEmpty() ? name : id;
    return name + QLatin1Char(' ') + team;
}
