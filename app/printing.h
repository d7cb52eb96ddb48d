#pragma once

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;
class QTextDocument;
struct TableSnapshot;

// Tables and reports on paper or in PDF: one painter over the pages of a printer or a PDF writer.

// Whether the table's columns at their natural widths are wider than a portrait page of device,
// so that the table is better printed in landscape.
bool tableWantsLandscape(QPagedPaintDevice *device, const TableSnapshot &table);

// Paints the table on device's pages from the first: the caption as the title of the first page,
// the header row at the top of every page, the rows in their order, the footnote after the last,
// "Страница N из M" at the foot of every page. Columns take their natural widths (a very long
// column wraps its cells); a table wider than the page is scaled to its width. Returns the number
// of pages, or 0 when the device could not be painted on.
int printTable(QPagedPaintDevice *device, const QString &caption, const TableSnapshot &table);

// Paints the document (a match report) on one page of device, scaled down when it is longer than
// the page. False when the device could not be painted on.
bool printDocument(QPagedPaintDevice *device, const QTextDocument &document);

// The same as PDF files in memory: A4, 15 mm margins, the table in landscape when it is wide;
// title becomes the document's title. Empty when painting failed.
QByteArray tablePdf(const QString &caption, const TableSnapshot &table, int *pages = nullptr);
QByteArray documentPdf(const QTextDocument &document, const QString &title);
