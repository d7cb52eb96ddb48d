#pragma once

#include <QString>

class QLineEdit;
class QTableWidget;

// How a page was left: the sort the user chose, the row filter's text and where the rows were
// scrolled to, so that "Назад" (and a recomputation of the same page) brings it back as it was.
struct PageView
{
    int sortColumn = -1;
    int sortOrder = 0; // Qt::SortOrder
    QString filter;
    int scroll = 0;
    int horizontalScroll = 0;
    bool table = false; // false: the page had no table (start page, report, chart)
};

PageView pageViewOf(const QTableWidget *table, const QLineEdit *filter);
// The sort, the filter text and the scroll of view, on the table just shown.
void restorePageView(QTableWidget *table, QLineEdit *filter, const PageView &view);
// Empties the filter box without filtering: the next page starts with every row.
void clearRowFilter(QLineEdit *filter);
