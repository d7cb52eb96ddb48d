#pragma once

#include <QList>
#include <QString>

class QTableWidget;
class TableData;
struct TableSnapshot;

// Shows the wait cursor for the lifetime of the guard, so that no early return leaves it set.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// Fills the widget with a page's table: one read-only item per visible cell, the link column
// hidden, the page's sort column marked in the header, the columns fitted to their cells but
// never narrower than the page's own widths. A header click then orders a column by number when
// every non-empty cell is an integer, by date when every one is a date, and otherwise by the
// code-unit order of the texts, as the pages and the command line do. Returns the fitted widths.
QList<int> fillResultTable(QTableWidget *table, const TableData &data);

// What the text and CSV exports write: the visible rows in screen order, the visible columns at
// their current widths, except the last, which stretches on screen and keeps its fitted width.
TableSnapshot resultTableSnapshot(const QTableWidget *table, const QList<int> &fittedWidths,
                                  const QString &footnote);
