#include "pages/tabledata.h"

#include <algorithm>

void TableData::prepareTable(const QStringList &headers, int width, int rows)
{
    m_headers = headers;
    m_widths = QList<int>(headers.size(), width);
    m_rows.clear();
    m_footnote.clear();
    m_sortingEnabled = false;
    m_sortColumn = -1;
    m_sortOrder = Qt::AscendingOrder;
    setRowCount(rows);
}

void TableData::setRowCount(int rows)
{
    rows = std::max(rows, 0);
    if (rows < m_rows.size()) {
        m_rows.resize(rows);
        return;
    }
    m_rows.reserve(rows);
    while (m_rows.size() < rows)
        m_rows.append(QStringList(columnCount(), QString()));
}

void TableData::setColumnWidth(int column, int width)
{
    if (column >= 0 && column < m_widths.size())
        m_widths[column] = width;
}

void TableData::setCell(int row, int column, const QString &text)
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= columnCount())
        return;
    // Every cell that is set has a text, even an empty one; unset cells stay null.
    m_rows[row][column] = text.isNull() ? QStringLiteral("") : text;
}

QString TableData::cell(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= columnCount())
        return QString();
    return m_rows.at(row).at(column);
}

void TableData::sortByColumn(int column, Qt::SortOrder order)
{
    // A stable sort: rows equal in the sort column keep the order the builder wrote them in.
    m_sortingEnabled = true;
    resort(column, order);
}

void TableData::resort(int column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    if (column < 0 || column >= columnCount())
        return;
    if (order == Qt::AscendingOrder) {
        std::stable_sort(m_rows.begin(), m_rows.end(),
                         [column](const QStringList &a, const QStringList &b) {
                             return QString::compare(a.at(column), b.at(column)) < 0;
                         });
    } else {
        std::stable_sort(m_rows.begin(), m_rows.end(),
                         [column](const QStringList &a, const QStringList &b) {
                             return QString::compare(b.at(column), a.at(column)) < 0;
                         });
    }
}

void TableData::setMenu(const QStringList &labels, const QStringList &codes)
{
    m_menuLabels = labels;
    m_menuCodes = codes;
}
