#pragma once

#include <QStringList>
#include <Qt>

#include <functional>

// What a page builder writes its emit phase into: a grid of text cells with one hidden last column
// that holds each row's link, plus the entries of the table's context menu.
class ResultTable
{
public:
    virtual ~ResultTable() = default;

    // Clears the table and makes it headers.size() visible columns of the given width, plus the
    // hidden link column, with rows empty rows and sorting off.
    virtual void prepareTable(const QStringList &headers, int width, int rows) = 0;
    virtual void setRowCount(int rows) = 0;
    virtual void setColumnWidth(int column, int width) = 0;
    virtual void setCell(int row, int column, const QString &text) = 0;
    // Switches sorting on and sorts once by column.
    virtual void sortByColumn(int column, Qt::SortOrder order) = 0;
    // Replaces the context-menu entries; only the labels are shown.
    virtual void setMenu(const QStringList &labels, const QStringList &codes) = 0;
    // A line shown under the table (and written after it in a text export); prepareTable clears
    // it. Tables that cannot show one ignore it.
    virtual void setFootnote(const QString & /*text*/) {}
    // Says, after prepareTable, that the rows will be written in display order, each complete
    // before the next begins and each cell set once, and that any sort after leaves them where
    // they are: a table that writes text out may then write each row at once instead of keeping
    // them all.
    virtual void rowsInOrder() {}

    // Sets the rows from 0 to rows, after rowsInOrder, instead of setCell: fill(table, begin,
    // end) sets the cells of the rows from begin to end in table. A table that writes its rows out
    // may split them into stretches and fill each on a thread of its own, into a table of its
    // own; fill must then change nothing that another call reads or changes. Else fill is called
    // once, with this table.
    using RowFill = std::function<void(ResultTable &table, int begin, int end)>;
    virtual void fillRows(int rows, const RowFill &fill) { fill(*this, 0, rows); }
};
