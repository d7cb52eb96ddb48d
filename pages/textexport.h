#pragma once

#include "pages/tabledata.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <memory>

class QIODevice;

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

// The text layouts a table is written in: exportText, exportCsv and exportTsv.
enum class TextLayout { Aligned, Csv, Tsv };

// A result table written as UTF-8 text, byte for byte as the export of the layout writes its
// snapshot, while a builder fills it. Once the builder says its rows come in display order
// (rowsInOrder), each cell is written as soon as those before it in its row are, and no table is
// kept; else the table is kept and written by finish(). The aligned layout with the link column
// always waits for the whole table: that column is as wide as its longest link.
class TableWriter : public ResultTable
{
public:
    // Receives the text in pieces, in order, one piece at a time, though not always on the same
    // thread.
    using Output = std::function<void(const char *data, size_t size)>;
    TableWriter(TextLayout layout, bool withLinks, Output output);

    void prepareTable(const QStringList &headers, int width, int rows) override;
    void setRowCount(int rows) override;
    void setColumnWidth(int column, int width) override;
    void setCell(int row, int column, const QString &text) override;
    void sortByColumn(int column, Qt::SortOrder order) override;
    void setMenu(const QStringList &, const QStringList &) override {}
    void setFootnote(const QString &text) override { m_table.setFootnote(text); }
    void rowsInOrder() override;
    // Many rows are written on every core, each stretch into memory of its own, and handed on
    // in order.
    void fillRows(int rows, const RowFill &fill) override;

    // Writes text as it is (a caption line), before any of the table.
    void writeText(const QString &text);
    // Writes what is left of the table and its end, and hands every byte to the output.
    void finish();

private:
    // A writer of a stretch of a streamed table's rows, its header written, that keeps its bytes.
    struct StretchOf
    {
        const TableWriter &table;
    };
    explicit TableWriter(StretchOf streamed);

    TableData &table(); // the kept table, its rows made on first use
    void writeHeader();
    void putCell(int column, const QString &cell);
    void endRow();
    void writeRow(const QStringList &cells);
    void startRow(int row); // ends the streamed row (and writes the rows skipped) first
    void flush();
    char *room(size_t bytes); // where the next bytes go, with room for bytes more
    void put(const char *bytes, size_t size);
    void putQt(const QString &text);

    TextLayout m_layout;
    bool m_withLinks;
    Output m_output;
    TableData m_table; // headers, widths and footnote; the rows too unless they are streamed
    int m_rows = 0;
    bool m_rowsMade = false;
    bool m_streaming = false;
    int m_columns = 0; // the columns written: the visible ones and the link
    bool m_headerWritten = false;
    int m_current = -1;     // the streamed row being written, or the last one written
    bool m_rowOpen = false; // whether that row is still being written
    int m_next = 0;         // its next cell to write
    QStringList m_cells;    // its cells set before their turn
    QList<int> m_chars;     // aligned: the characters of each column written
    std::unique_ptr<char[]> m_buffer;
    size_t m_size = 0;
    size_t m_capacity = 0;
};
