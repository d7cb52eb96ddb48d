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
    m_minutesTable = nullptr;
    m_minutes.clear();
    m_tally = 0;
}

int eventMinute(QStringView time)
{
    qsizetype i = 0;
    while (i < time.size() && time[i] == QLatin1Char(' '))
        ++i;
    int minute = -1;
    for (; i < time.size() && time[i] >= QLatin1Char('0') && time[i] <= QLatin1Char('9'); ++i)
        minute = std::min(999, std::max(minute, 0) * 10 + (time[i].unicode() - u'0'));
    return minute;
}
