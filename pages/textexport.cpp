#include "pages/textexport.h"

#include "pages/tabledata.h"

#include "model/shares.h"

#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace {

// The characters a column of the aligned layout is wide: width / 7, never negative.
int columnChars(int width)
{
    return std::max(width / 7, 0);
}

void appendSeparator(QString &out, const QList<int> &chars)
{
    out += QLatin1Char('-');
    for (int c : chars) {
        out += QString(c, QLatin1Char('-'));
        out += QLatin1StringView("---");
    }
    out += QLatin1Char('\n');
}

// A number as written, sign and decimal part included: "-3", "+2", "1.5".
bool isPlainNumber(QStringView text)
{
    qsizetype i = text.startsWith(u'-') || text.startsWith(u'+') ? 1 : 0;
    const qsizetype digitsFrom = i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80)
        ++i;
    if (i == digitsFrom)
        return false;
    if (i < text.size() && (text[i] == u'.' || text[i] == u',')) {
        const qsizetype fraction = ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80)
            ++i;
        if (i == fraction)
            return false;
    }
    return i == text.size();
}

// A cell a spreadsheet would take for a formula (=, +, -, @, or a tab or carriage return before
// one) is made text with a leading apostrophe; numbers stay numbers.
QString spreadsheetSafe(const QString &text)
{
    if (text.isEmpty())
        return text;
    const QChar first = text.front();
    const bool formula = first == u'=' || first == u'+' || first == u'-' || first == u'@' ||
                         first == u'\t' || first == u'\r';
    return formula && !isPlainNumber(text) ? QChar(u'\'') + text : text;
}

QString csvField(const QString &cell)
{
    const QString text = spreadsheetSafe(cell);
    const bool quote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                       text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!quote)
        return text;
    QString field = text;
    field.replace(QLatin1Char('"'), QLatin1StringView("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

void appendCsvLine(QString &out, const QStringList &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        out += csvField(fields.at(i));
    }
    out += QLatin1StringView("\r\n");
}

QString tsvField(const QString &text)
{
    QString field;
    field.reserve(text.size());
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case '\t':
            field += QLatin1StringView("\\t");
            break;
        case '\n':
            field += QLatin1StringView("\\n");
            break;
        case '\r':
            field += QLatin1StringView("\\r");
            break;
        case '\\':
            field += QLatin1StringView("\\\\");
            break;
        default:
            field += ch;
        }
    }
    return field;
}

void appendTsvLine(QString &out, const QStringList &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += QLatin1Char('\t');
        out += tsvField(fields.at(i));
    }
    out += QLatin1Char('\n');
}

} // namespace

TableSnapshot snapshotOf(const TableData &table, bool withLinks)
{
    TableSnapshot snapshot;
    const int visible = int(table.headers().size());
    const int columns = withLinks ? visible + 1 : visible;
    snapshot.headers = table.headers();
    snapshot.widths = table.columnWidths();
    snapshot.rows.reserve(table.rowCount());
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList cells;
        cells.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            const QString text = table.cell(r, c);
            cells.append(text.isNull() ? QStringLiteral("") : text);
        }
        snapshot.rows.append(cells);
    }
    snapshot.footnote = table.footnote();
    if (withLinks) {
        // The hidden column has no width of its own: make it as wide as its longest text, so
        // that a text export of it stays aligned.
        const QString header = QStringLiteral("link");
        qsizetype longest = header.size();
        for (const QStringList &cells : std::as_const(snapshot.rows))
            longest = std::max(longest, cells.constLast().size());
        snapshot.headers.append(header);
        snapshot.widths.append(int(std::min<qsizetype>(longest, 100000)) * 7);
    }
    return snapshot;
}

QString exportText(const TableSnapshot &table)
{
    QList<int> chars;
    chars.reserve(table.headers.size());
    for (qsizetype i = 0; i < table.headers.size(); ++i)
        chars.append(columnChars(table.widths.value(i)));

    QString out;
    appendSeparator(out, chars);
    out += QLatin1StringView("| ");
    for (qsizetype i = 0; i < chars.size(); ++i) {
        QString header = table.headers.at(i);
        header.remove(QLatin1Char('\n'));
        out += header.rightJustified(chars.at(i), QLatin1Char(' '), true);
        out += QLatin1StringView(" | ");
    }
    out += QLatin1Char('\n');
    appendSeparator(out, chars);
    for (const QStringList &cells : table.rows) {
        out += QLatin1StringView("| ");
        for (qsizetype i = 0; i < chars.size(); ++i) {
            out += cells.value(i).rightJustified(chars.at(i), QLatin1Char(' '));
            out += QLatin1StringView(" | ");
        }
        out += QLatin1Char('\n');
    }
    appendSeparator(out, chars);
    if (!table.footnote.isEmpty())
        out += table.footnote + QLatin1Char('\n');
    return out;
}

namespace {

// The header line, then one line per row, each written by appendLine.
QString exportLines(const TableSnapshot &table, void (*appendLine)(QString &, const QStringList &))
{
    QString out;
    appendLine(out, table.headers);
    for (const QStringList &cells : table.rows)
        appendLine(out, cells);
    return out;
}

} // namespace

QString exportCsv(const TableSnapshot &table)
{
    return exportLines(table, appendCsvLine);
}

QString exportTsv(const TableSnapshot &table)
{
    return exportLines(table, appendTsvLine);
}

QList<bool> numericColumns(const TableSnapshot &table)
{
    // Counts padded on the left for the aligned layout count too.
    const auto numeric = [](const QString &cell) {
        const QStringView text = QStringView(cell).trimmed();
        if (text.isEmpty())
            return true;
        const QChar first = text.front();
        if (!first.isDigit() && first != u'+' && first != u'-')
            return false;
        return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
            return c.isDigit() || c == u'+' || c == u'-' || c == QChar(0x2013) || c == u':' ||
                   c == u'.' || c == u',' || c == u'%' || c == u' ';
        });
    };
    QList<bool> columns(table.headers.size(), true);
    for (const QStringList &cells : table.rows) {
        for (qsizetype c = 0; c < columns.size() && c < cells.size(); ++c)
            columns[c] = columns[c] && numeric(cells.at(c));
    }
    return columns;
}

QString textCaptionLine(const QString &caption)
{
    return caption.isEmpty() ? QString() : caption + QLatin1Char('\n');
}

QString csvCaptionLine(const QString &caption)
{
    return caption.isEmpty() ? QString() : csvField(caption) + QLatin1StringView("\r\n");
}

QString tsvCaptionLine(const QString &caption)
{
    return caption.isEmpty() ? QString() : tsvField(caption) + QLatin1Char('\n');
}

QString exportHtml(const TableSnapshot &table, const QString &caption)
{
    const QList<bool> numeric = numericColumns(table);
    const QString title = caption.toHtmlEscaped();
    QString out =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<title>%1</title>\n<style>\n"
                       "body { font-family: sans-serif; font-size: 10pt; }\n"
                       "table { border-collapse: collapse; }\n"
                       "caption { font-weight: bold; font-size: 120%; text-align: left; "
                       "padding-bottom: 0.5em; }\n"
                       "th, td { padding: 0.15em 0.6em; border-bottom: 1px solid #d0d0d0; "
                       "text-align: left; vertical-align: top; white-space: pre-line; }\n"
                       "th { background: #e8e8e8; border-bottom-color: #000; }\n"
                       ".n { text-align: right; }\n"
                       "thead { display: table-header-group; }\n"
                       "tr { page-break-inside: avoid; }\n"
                       "</style>\n</head>\n<body>\n<table>\n")
            .arg(title);
    if (!caption.isEmpty())
        out += QLatin1StringView("<caption>") + title + QLatin1StringView("</caption>\n");
    const auto appendRow = [&](const QStringList &cells, QLatin1StringView tag) {
        out += QLatin1StringView("<tr>");
        for (qsizetype c = 0; c < table.headers.size(); ++c) {
            out += QLatin1Char('<');
            out += tag;
            if (numeric.at(c))
                out += QLatin1StringView(" class=\"n\"");
            out += QLatin1Char('>');
            out += cells.value(c).toHtmlEscaped();
            out += QLatin1StringView("</");
            out += tag;
            out += QLatin1Char('>');
        }
        out += QLatin1StringView("</tr>\n");
    };
    out += QLatin1StringView("<thead>\n");
    appendRow(table.headers, QLatin1StringView("th"));
    out += QLatin1StringView("</thead>\n<tbody>\n");
    for (const QStringList &cells : table.rows)
        appendRow(cells, QLatin1StringView("td"));
    out += QLatin1StringView("</tbody>\n</table>\n");
    if (!table.footnote.isEmpty())
        out +=
            QLatin1StringView("<p>") + table.footnote.toHtmlEscaped() + QLatin1StringView("</p>\n");
    out += QLatin1StringView("</body>\n</html>\n");
    return out;
}

namespace {

enum class Escape { None, Tsv, Csv };

// Writes text in UTF-8 at out, with TSV's escapes, and returns the end; null for a text the quick
// way does not write as the export does: one with a surrogate (left to Qt's conversion), or a CSV
// field that needs quotes. out has room for three bytes per code unit.
char *putUtf8(char *out, QStringView text, Escape escape)
{
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c < 0x80) {
            if (escape == Escape::Tsv && (c == '\t' || c == '\n' || c == '\r' || c == '\\')) {
                *out++ = '\\';
                *out++ = c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : '\\';
                continue;
            }
            if (escape == Escape::Csv && (c == ',' || c == '"' || c == '\r' || c == '\n'))
                return nullptr;
            *out++ = char(c);
        } else if (c < 0x800) {
            *out++ = char(0xc0 | (c >> 6));
            *out++ = char(0x80 | (c & 0x3f));
        } else if (c >= 0xd800 && c <= 0xdfff) {
            return nullptr;
        } else {
            *out++ = char(0xe0 | (c >> 12));
            *out++ = char(0x80 | ((c >> 6) & 0x3f));
            *out++ = char(0x80 | (c & 0x3f));
        }
    }
    return out;
}

} // namespace

char *TableWriter::room(size_t bytes)
{
    if (m_size + bytes > m_capacity) {
        m_capacity = std::max(2 * m_capacity, m_size + bytes + (size_t(1) << 16));
        std::unique_ptr<char[]> bigger(new char[m_capacity]);
        std::copy_n(m_buffer.get(), m_size, bigger.get());
        m_buffer = std::move(bigger);
    }
    return m_buffer.get() + m_size;
}

void TableWriter::put(const char *bytes, size_t size)
{
    std::copy_n(bytes, size, room(size));
    m_size += size;
}

void TableWriter::putQt(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    put(bytes.constData(), size_t(bytes.size()));
}

TableWriter::TableWriter(TextLayout layout, bool withLinks, Output output)
    : m_layout(layout), m_withLinks(withLinks), m_output(std::move(output))
{}

void TableWriter::prepareTable(const QStringList &headers, int width, int rows)
{
    m_table.prepareTable(headers, width, 0);
    m_rows = std::max(rows, 0);
    m_rowsMade = false;
    m_streaming = false;
}

TableData &TableWriter::table()
{
    if (!m_rowsMade) {
        m_table.setRowCount(m_rows);
        m_rowsMade = true;
    }
    return m_table;
}

void TableWriter::setRowCount(int rows)
{
    m_rows = std::max(rows, m_streaming ? m_current + 1 : 0);
    if (m_rowsMade)
        m_table.setRowCount(m_rows);
}

void TableWriter::setColumnWidth(int column, int width)
{
    m_table.setColumnWidth(column, width);
}

void TableWriter::setCell(int row, int column, const QString &text)
{
    if (!m_streaming) {
        table().setCell(row, column, text);
        return;
    }
    // A row before the one being filled is written already, and so is each cell before the
    // next one to write.
    if (row < m_current || row >= m_rows || column < 0 || column >= m_table.columnCount())
        return;
    if (row > m_current)
        startRow(row);
    if (column < m_next) {
        Q_ASSERT(!"a streamed cell set twice");
        return;
    }
    if (column > m_next) {
        m_cells[column] = text;
        return;
    }
    putCell(m_next++, text);
    // Cells set ahead of their turn follow.
    while (m_next < m_cells.size() && !m_cells.at(m_next).isNull()) {
        putCell(m_next, m_cells.at(m_next));
        m_cells[m_next++] = QString();
    }
}

void TableWriter::sortByColumn(int column, Qt::SortOrder order)
{
    // Streamed rows are in display order already.
    if (!m_streaming)
        table().sortByColumn(column, order);
}

void TableWriter::rowsInOrder()
{
    if (m_layout == TextLayout::Aligned && m_withLinks)
        return;
    m_streaming = !m_rowsMade;
    m_headerWritten = false;
    m_current = -1;
    m_rowOpen = false;
    m_next = 0;
    m_cells = QStringList(m_table.columnCount(), QString());
}

TableWriter::TableWriter(StretchOf streamed)
    : m_layout(streamed.table.m_layout), m_withLinks(streamed.table.m_withLinks),
      m_table(streamed.table.m_table), m_streaming(true), m_columns(streamed.table.m_columns),
      m_headerWritten(true), m_cells(streamed.table.m_cells), m_chars(streamed.table.m_chars)
{}

void TableWriter::fillRows(int rows, const RowFill &fill)
{
    // Stretches of rows are made on every core, each into memory of its own, and handed on in
    // order; a core ahead of its turn waits, so that no more than a stretch a core waits in
    // memory. A stretch is long enough that handing it on costs next to nothing beside making it.
    constexpr int stretch = 4096;
    rows = std::min(rows, m_rows);
    const int shares = std::min(QThread::idealThreadCount(), rows / (4 * stretch));
    if (!m_streaming || m_current >= 0 || shares < 2) {
        fill(*this, 0, rows);
        return;
    }
    writeHeader();
    flush();
    const int stretches = (rows + stretch - 1) / stretch;
    std::mutex handing;
    std::condition_variable turn;
    int next = 0; // the stretch whose turn it is
    runShares(shares, [&](int k) {
        TableWriter part(StretchOf{*this}); // keeps its bytes until their turn
        for (int s = k; s < stretches; s += shares) {
            const int begin = s * stretch;
            const int end = std::min(rows, begin + stretch);
            part.m_rows = end;
            part.m_current = begin - 1;
            part.m_rowOpen = false;
            part.m_next = int(part.m_cells.size());
            fill(part, begin, end);
            part.startRow(end); // ends the last row, and writes those left unset
            std::unique_lock<std::mutex> lock(handing);
            turn.wait(lock, [&] { return next == s; });
            m_output(part.m_buffer.get(), part.m_size);
            part.m_size = 0;
            ++next;
            turn.notify_all();
        }
    });
    m_current = rows - 1;
    m_rowOpen = false;
    m_next = int(m_cells.size());
}

void TableWriter::writeText(const QString &text)
{
    putQt(text);
}

void TableWriter::writeHeader()
{
    m_headerWritten = true;
    QStringList headers = m_table.headers();
    QString out;
    m_columns = int(headers.size()) + (m_withLinks ? 1 : 0);
    switch (m_layout) {
    case TextLayout::Tsv:
    case TextLayout::Csv:
        if (m_withLinks)
            headers.append(QStringLiteral("link"));
        (m_layout == TextLayout::Tsv ? appendTsvLine : appendCsvLine)(out, headers);
        break;
    case TextLayout::Aligned: {
        TableSnapshot snapshot;
        snapshot.headers = headers;
        snapshot.widths = m_table.columnWidths();
        if (m_withLinks) {
            // As snapshotOf makes the link column: as wide as its longest text.
            const TableData &kept = table();
            qsizetype longest = 4;
            for (int r = 0; r < kept.rowCount(); ++r)
                longest = std::max(longest, kept.row(r).constLast().size());
            snapshot.headers.append(QStringLiteral("link"));
            snapshot.widths.append(int(std::min<qsizetype>(longest, 100000)) * 7);
        }
        out = exportText(snapshot);
        // The header lines alone: the text of no rows ends with one more separator.
        out.chop(out.size() - out.lastIndexOf(QLatin1Char('\n'), -2) - 1);
        m_chars.clear();
        for (qsizetype i = 0; i < snapshot.headers.size(); ++i)
            m_chars.append(columnChars(snapshot.widths.value(i)));
        break;
    }
    }
    putQt(out);
}

void TableWriter::putCell(int column, const QString &cell)
{
    if (column >= m_columns)
        return;
    const size_t units = size_t(cell.size());
    switch (m_layout) {
    case TextLayout::Tsv:
    case TextLayout::Csv: {
        const bool tsv = m_layout == TextLayout::Tsv;
        if (column > 0)
            put(tsv ? "\t" : ",", 1);
        char *out = room(3 * units);
        const char16_t first = cell.isEmpty() ? 0 : cell.front().unicode();
        const bool formula = !tsv && (first == u'=' || first == u'+' || first == u'-' ||
                                      first == u'@' || first == u'\t' || first == u'\r');
        char *end = formula ? nullptr : putUtf8(out, cell, tsv ? Escape::Tsv : Escape::Csv);
        if (end)
            m_size = size_t(end - m_buffer.get());
        else
            putQt(tsv ? tsvField(cell) : csvField(cell));
        break;
    }
    case TextLayout::Aligned: {
        const size_t chars = size_t(m_chars.at(column));
        const size_t pad = units < chars ? chars - units : 0;
        char *out = room(pad + 3 * units + 5);
        if (column == 0)
            out = std::copy_n("| ", 2, out);
        out = std::fill_n(out, pad, ' ');
        if (char *end = putUtf8(out, cell, Escape::None)) {
            m_size = size_t(std::copy_n(" | ", 3, end) - m_buffer.get());
        } else {
            m_size = size_t(out - m_buffer.get());
            putQt(cell);
            put(" | ", 3);
        }
        break;
    }
    }
}

void TableWriter::endRow()
{
    if (m_layout == TextLayout::Aligned && m_columns == 0)
        put("| ", 2);
    if (m_layout == TextLayout::Csv)
        put("\r\n", 2);
    else
        put("\n", 1);
    if (m_size >= (size_t(1) << 16) && m_output)
        flush();
}

void TableWriter::writeRow(const QStringList &cells)
{
    for (int c = 0; c < m_columns; ++c)
        putCell(c, cells.at(c));
    endRow();
}

void TableWriter::startRow(int row)
{
    if (!m_headerWritten) {
        writeHeader();
    } else if (m_rowOpen) {
        // The cells of the row left unset are empty.
        for (; m_next < m_cells.size(); ++m_next) {
            putCell(m_next, m_cells.at(m_next));
            m_cells[m_next] = QString();
        }
        endRow();
    }
    const QStringList empty(m_table.columnCount(), QString());
    for (int r = m_current + 1; r < row; ++r)
        writeRow(empty);
    m_current = row;
    m_rowOpen = true;
    m_next = 0;
}

void TableWriter::finish()
{
    if (m_streaming) {
        startRow(m_rows);
        m_streaming = false;
    } else {
        writeHeader();
        const TableData &kept = table();
        for (int r = 0; r < kept.rowCount(); ++r)
            writeRow(kept.row(r));
    }
    if (m_layout == TextLayout::Aligned) {
        QString out;
        appendSeparator(out, m_chars);
        if (!m_table.footnote().isEmpty())
            out += m_table.footnote() + QLatin1Char('\n');
        putQt(out);
    }
    flush();
}

void TableWriter::flush()
{
    if (m_size == 0)
        return;
    m_output(m_buffer.get(), m_size);
    m_size = 0;
}
