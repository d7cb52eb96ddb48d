#include "app/resulttableview.h"

#include "pages/tabledata.h"
#include "pages/textexport.h"

#include <QApplication>
#include <QDate>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>

#include <algorithm>

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

namespace {

// How a header click orders a column: by number when every non-empty cell is an integer, by date
// when every one is a date, and otherwise by the plain code-unit order of the texts, as the page
// builders and the command line do (Qt's own item compares locale-aware).
enum class ColumnOrder { Text, Number };

// The day of a date written as the pages write it, "2024/03/01", or as "01.03.2024"; read by
// hand, as a large match list holds tens of thousands of them.
bool readDate(QStringView cell, qint64 &day)
{
    if (cell.size() != 10)
        return false;
    const bool yearFirst = cell[4] == u'/' && cell[7] == u'/';
    if (!yearFirst && !(cell[2] == u'.' && cell[5] == u'.'))
        return false;
    const auto number = [cell](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            if (!cell[i].isDigit())
                return -1;
            value = value * 10 + cell[i].digitValue();
        }
        return value;
    };
    const int year = number(yearFirst ? 0 : 6, 4);
    const int month = number(yearFirst ? 5 : 3, 2);
    const int dayOfMonth = number(yearFirst ? 8 : 0, 2);
    const QDate date(year, month, dayOfMonth);
    if (year < 0 || month < 0 || dayOfMonth < 0 || !date.isValid())
        return false;
    day = date.toJulianDay();
    return true;
}

// The value a cell orders by in a Number column: the integer, or the day of a date.
bool readNumber(const QString &cell, qint64 &number)
{
    const QString trimmed = cell.trimmed();
    bool ok = false;
    number = trimmed.toLongLong(&ok);
    return ok || readDate(trimmed, number);
}

// Integers and dates each order by their own value; a column that mixes them, or holds any other
// text, orders by text.
ColumnOrder columnOrder(const TableData &data, int column)
{
    enum { Nothing, Integers, Dates } seen = Nothing;
    for (int row = 0; row < data.rowCount(); ++row) {
        const QString cell = data.row(row).at(column).trimmed();
        if (cell.isEmpty())
            continue;
        bool integer = false;
        cell.toLongLong(&integer);
        qint64 value = 0;
        const bool date = !integer && readNumber(cell, value);
        if (!integer && !date)
            return ColumnOrder::Text;
        const auto kind = integer ? Integers : Dates;
        if (seen != Nothing && seen != kind)
            return ColumnOrder::Text;
        seen = kind;
    }
    return seen == Nothing ? ColumnOrder::Text : ColumnOrder::Number;
}

class TextItem : public QTableWidgetItem
{
public:
    explicit TextItem(const QString &text, ColumnOrder order = ColumnOrder::Text)
        : QTableWidgetItem(text), sortKey(text)
    {
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        numeric = order == ColumnOrder::Number && readNumber(text, number);
        byNumber = order == ColumnOrder::Number;
    }

    bool operator<(const QTableWidgetItem &other) const override
    {
        // The cells are read-only, so the text kept at creation is the text shown; comparing it
        // directly spares two conversions from QVariant per comparison of a large sort.
        if (const auto *item = dynamic_cast<const TextItem *>(&other)) {
            if (byNumber && item->byNumber) {
                // An empty cell comes before every number; equal cells keep their order.
                if (numeric != item->numeric)
                    return item->numeric;
                return numeric && number < item->number;
            }
            return QString::compare(sortKey, item->sortKey) < 0;
        }
        return QString::compare(text(), other.text()) < 0;
    }

private:
    const QString sortKey;
    qint64 number = 0;
    bool numeric = false;
    bool byNumber = false;
};

} // namespace

QList<int> fillResultTable(QTableWidget *table, const TableData &data)
{
    QHeaderView *header = table->horizontalHeader();
    table->setSortingEnabled(false);
    table->clear();
    table->setRowCount(0);
    const int columns = data.columnCount();
    const int rows = data.rowCount();
    const int linkColumn = data.linkColumn();
    table->setColumnCount(columns);
    for (int column = 0; column < linkColumn; ++column) {
        table->setColumnHidden(column, false);
        table->setColumnWidth(column, data.columnWidth(column));
    }
    table->setColumnHidden(linkColumn, true);
    table->setHorizontalHeaderLabels(data.headers());

    // The rows come in display order already. Switching sorting on sorts at once by the header's
    // indicator, so it is switched on while the table is empty and has no indicator; the items
    // then go in unsorted, and the builder's column is shown without sorting again.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    table->setRowCount(rows);

    // Nothing watches single cells while the table is being filled; one repaint follows.
    QAbstractItemModel *model = table->model();
    model->blockSignals(true);
    QList<ColumnOrder> orders;
    for (int column = 0; column < linkColumn; ++column)
        orders.append(columnOrder(data, column));
    for (int row = 0; row < rows; ++row) {
        const QStringList &cells = data.row(row);
        // Every visible cell gets an item, so that sorting treats a cell the builder left unset
        // as an empty text, exactly as the in-memory table does.
        for (int column = 0; column < linkColumn; ++column)
            table->setItem(row, column, new TextItem(cells.at(column), orders.at(column)));
        const QString &link = cells.at(linkColumn);
        if (!link.isNull())
            table->setItem(row, linkColumn, new TextItem(link));
    }
    model->blockSignals(false);

    if (data.isSortingEnabled() && data.sortColumn() >= 0 && data.sortColumn() < linkColumn) {
        const QSignalBlocker blocker(header);
        header->setSortIndicator(data.sortColumn(), data.sortOrder());
    }

    // The columns fit their cells and headers, never narrower than the page's own widths; the
    // last one takes the rest of the width. The text export keeps the fitted widths.
    QList<int> fittedWidths;
    header->setStretchLastSection(false);
    for (int column = 0; column < linkColumn; ++column) {
        table->resizeColumnToContents(column);
        const int width = std::max(table->columnWidth(column), data.columnWidth(column));
        table->setColumnWidth(column, width);
        fittedWidths.append(width);
    }
    header->setStretchLastSection(true);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    return fittedWidths;
}

TableSnapshot resultTableSnapshot(const QTableWidget *table, const QList<int> &fittedWidths,
                                  const QString &footnote)
{
    TableSnapshot snapshot;
    QList<int> columns;
    for (int column = 0; column < table->columnCount(); ++column) {
        if (table->isColumnHidden(column))
            continue;
        columns.append(column);
        const QTableWidgetItem *header = table->horizontalHeaderItem(column);
        snapshot.headers.append(header ? header->text() : QString());
        snapshot.widths.append(table->columnWidth(column));
    }
    // The last column stretches over the rest of the window; the text keeps its fitted width.
    if (!snapshot.widths.isEmpty() && columns.last() < fittedWidths.size())
        snapshot.widths.last() = fittedWidths.at(columns.last());
    snapshot.rows.reserve(table->rowCount());
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->isRowHidden(row))
            continue;
        QStringList cells;
        cells.reserve(columns.size());
        for (int column : std::as_const(columns)) {
            const QTableWidgetItem *item = table->item(row, column);
            cells.append(item ? item->text() : QString());
        }
        snapshot.rows.append(cells);
    }
    snapshot.footnote = footnote;
    return snapshot;
}
