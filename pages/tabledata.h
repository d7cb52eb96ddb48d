#pragma once

#include "pages/resulttable.h"

#include <QList>
#include <QStringList>

// A result table in memory: what the CLI prints, what the tests inspect, and what the window's
// table widget is filled from. Rows are kept in display order.
class TableData : public ResultTable
{
public:
    void prepareTable(const QStringList &headers, int width, int rows) override;
    void setRowCount(int rows) override;
    void setColumnWidth(int column, int width) override;
    void setCell(int row, int column, const QString &text) override;
    void sortByColumn(int column, Qt::SortOrder order) override;
    void setMenu(const QStringList &labels, const QStringList &codes) override;
    void setFootnote(const QString &text) override { m_footnote = text; }

    // Headers of the visible columns; columnCount() is one more (the hidden link column).
    const QStringList &headers() const { return m_headers; }
    int columnCount() const { return int(m_headers.size()) + 1; }
    int linkColumn() const { return int(m_headers.size()); }
    int rowCount() const { return int(m_rows.size()); }
    int columnWidth(int column) const { return m_widths.value(column); }
    const QList<int> &columnWidths() const { return m_widths; }

    // The text of a cell; a cell never set reads as a null text.
    QString cell(int row, int column) const;
    QString link(int row) const { return cell(row, linkColumn()); }
    const QStringList &row(int row) const { return m_rows.at(row); }

    bool isSortingEnabled() const { return m_sortingEnabled; }
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    const QStringList &menuLabels() const { return m_menuLabels; }
    const QStringList &menuCodes() const { return m_menuCodes; }
    const QString &footnote() const { return m_footnote; }

    // Sorts again by another column, as a click on a header does: a stable sort on the plain
    // (code-unit) comparison of the cell texts.
    void resort(int column, Qt::SortOrder order);

private:
    QStringList m_headers;
    QList<int> m_widths;
    QList<QStringList> m_rows; // each row holds columnCount() cells; null = no cell
    QStringList m_menuLabels;
    QStringList m_menuCodes;
    QString m_footnote;
    bool m_sortingEnabled = false;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
