#include "app/printing.h"

#include "pages/textexport.h"
#include "strings/archivetexts.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr qreal bodyPoints = 9;
constexpr qreal captionPoints = 12;
constexpr qreal footerPoints = 8;
// A column never takes more than this share of a landscape page: its longer cells wrap.
constexpr qreal widestColumnShare = 0.4;

QFont fontOf(qreal points, bool bold = false)
{
    QFont font;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QPageLayout withOrientation(QPageLayout layout, QPageLayout::Orientation orientation)
{
    layout.setOrientation(orientation);
    return layout;
}

// The table measured for one device, in its pixels before any scaling.
class TableLayout
{
public:
    TableLayout(const QPaintDevice *device, const TableSnapshot &table, qreal widestColumn)
        : table(table), body(fontOf(bodyPoints)), header(fontOf(bodyPoints, true)),
          bodyMetrics(body, device), headerMetrics(header, device)
    {
        padding = bodyMetrics.averageCharWidth();
        lineHeight = bodyMetrics.lineSpacing();
        const qsizetype columnCount = table.headers.size();
        widths.assign(columnCount, 0);
        right = numericColumns(table);
        advances.resize(table.rows.size() * columnCount);
        for (qsizetype c = 0; c < columnCount; ++c) {
            for (const QString &line : table.headers.at(c).split(u'\n'))
                widths[c] = std::max(widths[c], headerMetrics.horizontalAdvance(line));
        }
        for (qsizetype r = 0; r < table.rows.size(); ++r) {
            const QStringList &cells = table.rows.at(r);
            for (qsizetype c = 0; c < columnCount; ++c) {
                const QString &cell = c < cells.size() ? cells.at(c) : QString();
                qreal advance = 0;
                if (cell.contains(u'\n')) {
                    // Several lines: drawn wrapped, as wide as the longest.
                    for (const QString &line : cell.split(u'\n'))
                        widths[c] = std::max(widths[c], bodyMetrics.horizontalAdvance(line));
                    advance = -1;
                } else {
                    advance = bodyMetrics.horizontalAdvance(cell);
                    widths[c] = std::max(widths[c], advance);
                }
                advances[r * columnCount + c] = advance;
            }
        }
        total = 0;
        for (qreal &width : widths) {
            width = std::min(width, widestColumn) + 2 * padding;
            total += width;
        }
        headerHeight = 0;
        for (qsizetype c = 0; c < columnCount; ++c)
            headerHeight = std::max(headerHeight,
                                    cellHeight(headerMetrics, table.headers.at(c), widths[c], -1));
        headerHeight += lineHeight * 0.4;
    }

    // The height of a cell's text in a column of width.
    qreal cellHeight(const QFontMetricsF &metrics, const QString &text, qreal width,
                     qreal advance) const
    {
        if (advance >= 0 && advance <= width - 2 * padding)
            return lineHeight;
        return metrics.boundingRect(QRectF(0, 0, width - 2 * padding, 1e9), Qt::TextWordWrap, text)
            .height();
    }

    qreal rowHeight(qsizetype row) const
    {
        qreal height = lineHeight;
        const qsizetype columnCount = table.headers.size();
        const QStringList &cells = table.rows.at(row);
        for (qsizetype c = 0; c < columnCount && c < cells.size(); ++c) {
            const qreal advance = advances[row * columnCount + c];
            if (advance < 0 || advance > widths[c] - 2 * padding)
                height = std::max(height, cellHeight(bodyMetrics, cells.at(c), widths[c], advance));
        }
        return height + lineHeight * 0.25;
    }

    const TableSnapshot &table;
    QFont body;
    QFont header;
    QFontMetricsF bodyMetrics;
    QFontMetricsF headerMetrics;
    qreal padding = 0;
    qreal lineHeight = 0;
    qreal headerHeight = 0;
    qreal total = 0;
    std::vector<qreal> widths;
    QList<bool> right;           // numbers line up on the right
    std::vector<qreal> advances; // per cell; -1 for a cell of several lines
};

qreal widestColumnOf(const QPagedPaintDevice *device)
{
    const QPageLayout landscape = withOrientation(device->pageLayout(), QPageLayout::Landscape);
    return landscape.paintRectPixels(device->logicalDpiX()).width() * widestColumnShare;
}

// The height of text wrapped to width in font on device.
qreal blockHeight(const QFont &font, const QPaintDevice *device, qreal width, const QString &text)
{
    if (text.isEmpty())
        return 0;
    return QFontMetricsF(font, device)
        .boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, text)
        .height();
}

} // namespace

bool tableWantsLandscape(QPagedPaintDevice *device, const TableSnapshot &table)
{
    const TableLayout layout(device, table, widestColumnOf(device));
    const QPageLayout portrait = withOrientation(device->pageLayout(), QPageLayout::Portrait);
    return layout.total > portrait.paintRectPixels(device->logicalDpiX()).width();
}

int printTable(QPagedPaintDevice *device, const QString &caption, const TableSnapshot &table)
{
    const TableLayout layout(device, table, widestColumnOf(device));
    const QFont captionFont = fontOf(captionPoints, true);
    const QFont footerFont = fontOf(footerPoints);
    const qreal pageWidth = device->width();
    const qreal pageHeight = device->height();
    const qreal scale = layout.total > pageWidth ? pageWidth / layout.total : 1.0;
    // Everything but the page numbers is laid out in the table's own units.
    const qreal width = pageWidth / scale;
    const qreal footerHeight = QFontMetricsF(footerFont, device).lineSpacing() * 1.8;
    const qreal bottom = (pageHeight - footerHeight) / scale;
    const qreal captionHeight = blockHeight(captionFont, device, width, caption);
    const qreal captionGap = captionHeight > 0 ? layout.lineHeight : 0;
    const qreal footnoteHeight = blockHeight(layout.body, device, width, table.footnote);

    // The first row of each page.
    std::vector<qsizetype> pageStarts{0};
    std::vector<qreal> heights(table.rows.size());
    qreal y = captionHeight + captionGap + layout.headerHeight;
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        heights[r] = layout.rowHeight(r);
        if (y + heights[r] > bottom && r > pageStarts.back()) {
            pageStarts.push_back(r);
            y = layout.headerHeight;
        }
        y += heights[r];
    }
    const bool footnotePage = footnoteHeight > 0 && y + layout.lineHeight + footnoteHeight > bottom;
    const int pages = int(pageStarts.size()) + (footnotePage ? 1 : 0);

    QPainter painter;
    if (!painter.begin(device))
        return 0;
    const QPen rowLine(QColor(0xd0, 0xd0, 0xd0), 0);
    const QPen text(Qt::black);
    const auto drawHeader = [&](qreal top) {
        painter.fillRect(QRectF(0, top, layout.total, layout.headerHeight),
                         QColor(0xe8, 0xe8, 0xe8));
        painter.setFont(layout.header);
        qreal x = 0;
        for (qsizetype c = 0; c < table.headers.size(); ++c) {
            const Qt::Alignment align =
                (layout.right[c] ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
            painter.drawText(QRectF(x + layout.padding, top, layout.widths[c] - 2 * layout.padding,
                                    layout.headerHeight),
                             int(align) | Qt::TextWordWrap, table.headers.at(c));
            x += layout.widths[c];
        }
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLine(QPointF(0, top + layout.headerHeight),
                         QPointF(layout.total, top + layout.headerHeight));
        painter.setPen(text);
        painter.setFont(layout.body);
        return top + layout.headerHeight;
    };
    const auto drawFooter = [&](int page) {
        painter.save();
        painter.resetTransform();
        painter.setFont(footerFont);
        painter.drawText(QRectF(0, pageHeight - footerHeight, pageWidth, footerHeight),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         archiveTexts().pageNumber.arg(page).arg(pages));
        painter.restore();
    };

    const qreal ascent = layout.bodyMetrics.ascent();
    const qreal rowGap = layout.lineHeight * 0.125;
    const qsizetype columnCount = table.headers.size();
    for (qsizetype p = 0; p < qsizetype(pageStarts.size()); ++p) {
        if (p > 0)
            device->newPage();
        painter.resetTransform();
        painter.scale(scale, scale);
        y = 0;
        if (p == 0 && captionHeight > 0) {
            painter.setFont(captionFont);
            painter.drawText(QRectF(0, 0, width, captionHeight), Qt::TextWordWrap, caption);
            y = captionHeight + captionGap;
        }
        y = drawHeader(y);
        const qsizetype end =
            p + 1 < qsizetype(pageStarts.size()) ? pageStarts[p + 1] : table.rows.size();
        for (qsizetype r = pageStarts[p]; r < end; ++r) {
            const QStringList &cells = table.rows.at(r);
            qreal x = 0;
            for (qsizetype c = 0; c < columnCount && c < cells.size(); ++c) {
                const qreal advance = layout.advances[r * columnCount + c];
                const qreal room = layout.widths[c] - 2 * layout.padding;
                if (advance >= 0 && advance <= room) {
                    // One line: drawn at its baseline, the quick way.
                    const qreal left = layout.right[c]
                                           ? x + layout.widths[c] - layout.padding - advance
                                           : x + layout.padding;
                    painter.drawText(QPointF(left, y + rowGap + ascent), cells.at(c));
                } else {
                    painter.drawText(QRectF(x + layout.padding, y + rowGap, room, heights[r]),
                                     Qt::TextWordWrap |
                                         (layout.right[c] ? Qt::AlignRight : Qt::AlignLeft),
                                     cells.at(c));
                }
                x += layout.widths[c];
            }
            y += heights[r];
            painter.setPen(rowLine);
            painter.drawLine(QPointF(0, y), QPointF(layout.total, y));
            painter.setPen(text);
        }
        if (p + 1 == qsizetype(pageStarts.size()) && footnoteHeight > 0) {
            if (footnotePage) {
                drawFooter(int(p) + 1);
                device->newPage();
                y = 0;
            } else {
                y += layout.lineHeight;
            }
            painter.drawText(QRectF(0, y, width, footnoteHeight), Qt::TextWordWrap, table.footnote);
            drawFooter(pages);
        } else {
            drawFooter(int(p) + 1);
        }
    }
    painter.end();
    return pages;
}

bool printDocument(QPagedPaintDevice *device, const QTextDocument &document)
{
    // Laid out at the screen's resolution for a page's width, then scaled onto the device, as
    // Qt's own printing of a document does.
    const std::unique_ptr<QTextDocument> copy(document.clone());
    copy->setDefaultFont(document.defaultFont());
    const QRectF page = device->pageLayout().paintRect(QPageLayout::Point);
    constexpr qreal screenDpi = 96;
    copy->setPageSize(QSizeF());
    copy->setTextWidth(page.width() * screenDpi / 72);
    const QSizeF size = copy->documentLayout()->documentSize();
    const qreal toDevice = device->width() / copy->textWidth();
    const qreal scale =
        std::min(toDevice, size.height() > 0 ? device->height() / size.height() : toDevice);
    QPainter painter;
    if (!painter.begin(device))
        return false;
    painter.scale(scale, scale);
    copy->drawContents(&painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return true;
}

namespace {

// A PDF writer into buffer: A4 with margins of 15 mm.
std::unique_ptr<QPdfWriter> pdfWriter(QBuffer &buffer, const QString &title)
{
    auto writer = std::make_unique<QPdfWriter>(&buffer);
    writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    writer->setResolution(600);
    writer->setTitle(title);
    writer->setCreator(QStringLiteral("Scorewright"));
    return writer;
}

} // namespace

QByteArray tablePdf(const QString &caption, const TableSnapshot &table, int *pages)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        const std::unique_ptr<QPdfWriter> writer = pdfWriter(buffer, caption);
        if (tableWantsLandscape(writer.get(), table))
            writer->setPageOrientation(QPageLayout::Landscape);
        const int printed = printTable(writer.get(), caption, table);
        if (pages)
            *pages = printed;
        if (printed == 0)
            return QByteArray();
    }
    return buffer.data();
}

QByteArray documentPdf(const QTextDocument &document, const QString &title)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        const std::unique_ptr<QPdfWriter> writer = pdfWriter(buffer, title);
        if (!printDocument(writer.get(), document))
            return QByteArray();
    }
    return buffer.data();
}
