#include "pages/textexport.h"

#include "pages/tabledata.h"

#include <algorithm>

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

QString csvField(const QString &text)
{
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
