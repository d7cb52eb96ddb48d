#pragma once

#include <QList>
#include <QStringList>

class QIODevice;
class TableData;

// The visible part of a result table as the user sees it: visible columns in column order, their
// widths in pixels, and the rows in display order. A missing cell is an empty text.
struct TableSnapshot
{
    QStringList headers;
    QList<int> widths;
    QList<QStringList> rows;
    QString footnote = QString(); // written under the aligned text when there is one
};

// The visible columns of a table with their current widths, rows in display order.
TableSnapshot snapshotOf(const TableData &table, bool withLinks = false);

// The aligned plain-text layout: each column is width / 7 characters wide, headers are cut to fit,
// cells never are.
QString exportText(const TableSnapshot &table);
// RFC 4180 comma-separated values, CRLF line ends. For spreadsheets: a cell beginning with '=',
// '+', '-', '@', a tab or a carriage return that is not a plain number ("-3", "+1.5") gets a
// leading apostrophe, so that it is shown as text and never run as a formula.
QString exportCsv(const TableSnapshot &table);
// One tab-separated line per row; tab, line feed, carriage return and backslash are escaped.
QString exportTsv(const TableSnapshot &table);
