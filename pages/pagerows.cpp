#include "pages/pagerows.h"

PageRow::PageRow(const QString &key) : m_key(key)
{
    // Row texts start empty, not null.
    m_texts.fill(QStringLiteral(""));
}

PageRow &PageRows::rowFor(const QString &key)
{
    std::shared_ptr<PageRow> &slot = m_rows[key];
    if (!slot)
        slot = std::make_shared<PageRow>(key);
    else
        slot->setKey(key);
    return *slot;
}

PageRow &PageRows::newRow()
{
    // One counter for the whole process: keys stay unique within a table whatever it holds.
    static quint64 counter = 0;
    QString key = QString::number(counter);
    while (m_rows.contains(key))
        key = QString::number(++counter);
    ++counter;
    return rowFor(key);
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
