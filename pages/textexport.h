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
// RFC 4180 comma-separated values, CRLF line ends.
QString exportCsv(const TableSnapshot &table);
// One tab-separated line per row; tab, line feed, carriage return and backslash are escaped.
QString exportTsv(const TableSnapshot &table);

// Whether each column holds numbers (scores, differences, percentages included) in every non-empty
// cell, so that it lines up on the right.
QList<bool> numericColumns(const TableSnapshot &table);

// The line a saved table may start with, so that it says what it lists: the caption as a line of
// text, as a CSV record of one field, or as a TSV line; nothing for an empty caption.
QString textCaptionLine(const QString &caption);
QString csvCaptionLine(const QString &caption);
QString tsvCaptionLine(const QString &caption);

// A standalone HTML page (UTF-8) of the table under its caption, every text escaped; the header
// repeats on every printed page and the footnote follows the table.
QString exportHtml(const TableSnapshot &table, const QString &caption);
