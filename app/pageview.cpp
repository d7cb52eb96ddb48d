#include "app/pageview.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>

PageView pageViewOf(const QTableWidget *table, const QLineEdit *filter)
{
    PageView view;
    view.filter = filter->text();
    view.table = !table->isHidden();
    if (!view.table)
        return view;
    const QHeaderView *header = table->horizontalHeader();
    view.sortColumn = header->sortIndicatorSection();
    view.sortOrder = int(header->sortIndicatorOrder());
    view.scroll = table->verticalScrollBar()->value();
    view.horizontalScroll = table->horizontalScrollBar()->value();
    return view;
}

void restorePageView(QTableWidget *table, QLineEdit *filter, const PageView &view)
{
    if (table->isHidden() || !view.table) {
        clearRowFilter(filter);
        return;
    }
    const QHeaderView *header = table->horizontalHeader();
    const int linkColumn = table->columnCount() - 1;
    if (view.sortColumn >= 0 && view.sortColumn < linkColumn &&
        (view.sortColumn != header->sortIndicatorSection() ||
         view.sortOrder != int(header->sortIndicatorOrder())))
        table->sortByColumn(view.sortColumn, Qt::SortOrder(view.sortOrder));
    // Setting the text filters the rows (the window listens to the box).
    filter->setText(view.filter);
    // The scroll ranges follow the new rows only once the view has laid them out.
    table->doItemsLayout();
    table->verticalScrollBar()->setValue(view.scroll);
    table->horizontalScrollBar()->setValue(view.horizontalScroll);
}

void clearRowFilter(QLineEdit *filter)
{
    const QSignalBlocker blocker(filter);
    filter->clear();
}
