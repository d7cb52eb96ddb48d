// The pages: dispatch and history, the page runner's window side, the result table and its
// context menu, the text export and the match report.

#include "app/mainwindow.h"
#include "pages/builders.h"

#include "app/seasonchart.h"
#include "pages/matchreport.h"
#include "pages/pagecaption.h"
#include "pages/pagecodes.h"
#include "pages/tabledata.h"
#include "pages/textexport.h"
#include "strings/texts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextBrowser>

#include <algorithm>

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

// Shows the wait cursor for the lifetime of the guard.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

void MainWindow::callCalculateGoals()
{
    showPage(QStringLiteral("go01_"), QString());
}

void MainWindow::callCalculateMatches()
{
    showPage(QStringLiteral("ma01_"), QString());
}

void MainWindow::callCalculateReferies()
{
    showPage(QStringLiteral("re01_"), QString());
}

void MainWindow::callCalculateCoaches()
{
    showPage(QStringLiteral("co01_"), QString());
}

void MainWindow::callCalculateTable()
{
    showPage(QStringLiteral("ta01_"), QString());
}

void MainWindow::callCalculateStadiums()
{
    showPage(QStringLiteral("st01_"), QString());
}

void MainWindow::callCalculatePlayers()
{
    showPage(QStringLiteral("pl01_"), QString());
}

void MainWindow::callCalculateTeams()
{
    showPage(QStringLiteral("te01_"), QString());
}

void MainWindow::callVerifyPlayers()
{
    showPage(QStringLiteral("vpl1_"), QString());
}

void MainWindow::callVerifyPlayers2()
{
    showPage(QStringLiteral("vpl2_"), QString());
}

void MainWindow::callVerifyAttendance()
{
    showPage(QStringLiteral("vat1_"), QString());
}

void MainWindow::selectMode0()
{
    showStartPage();
}

void MainWindow::selectMode1()
{
    callCalculateTable();
}

void MainWindow::selectMode2()
{
    callCalculateTeams();
}

void MainWindow::selectMode3()
{
    callCalculateReferies();
}

void MainWindow::selectMode4()
{
    callCalculatePlayers();
}

void MainWindow::selectMode5()
{
    callCalculateMatches();
}

void MainWindow::selectMode6()
{
    callCalculateGoals();
}

void MainWindow::selectMode7()
{
    callCalculateCoaches();
}

void MainWindow::selectMode8()
{
    callCalculateStadiums();
}

void MainWindow::linkActivated(const QUrl &) {}

void MainWindow::cellSelected(int row, int column)
{
    if (column < 0)
        return;
    const QTableWidgetItem *link = table->item(row, table->columnCount() - 1);
    if (!link)
        return;
    showPage(link->text(), QString());
}

void MainWindow::refresh()
{
    showPage(currentLink, currentMenuChoice);
}

void MainWindow::back()
{
    showPage(previousLink, previousMenuChoice);
}

void MainWindow::changeTournaments(int index)
{
    if (index >= 0)
        filterChanged();
}

void MainWindow::filterChanged()
{
    if (store.isEmpty())
        return;
    const PageCodeEntry *entry = findPageCode(splitLink(currentLink).code);
    if (!entry || entry->kind == PageKind::Report)
        return;
    // The person search is not asked again: its answer is searched for under the new filter.
    if (entry->kind == PageKind::FindPlayer || entry->kind == PageKind::FindCoach) {
        if (!searchText.isEmpty())
            runPage(entry->builder, searchText);
        return;
    }
    showPage(currentLink, currentMenuChoice);
}

void MainWindow::showPage(const QString &linkText, const QString &menuChoiceText)
{
    // Copies: callers pass the history members themselves, which change below.
    const QString link = linkText;
    const QString menuChoice = menuChoiceText;
    if (link.size() < 5)
        return;

    previousMenuChoice = currentMenuChoice;
    currentMenuChoice = menuChoice;
    previousLink = currentLink;
    currentLink = link;
    menuLabels = QStringList{texts().menuDetails};
    menuCodes = QStringList{QStringLiteral("")};

    const LinkParts parts = splitLink(link);
    const PageCodeEntry *entry = findPageCode(parts.code);
    if (!entry)
        return;
    switch (entry->kind) {
    case PageKind::Report:
        showMatchReport(parts.argument);
        break;
    case PageKind::FindPlayer:
        findPlayer(parts.argument);
        break;
    case PageKind::FindCoach:
        findCoach(parts.argument);
        break;
    case PageKind::Table:
        runPage(entry->builder, pageArgument(*entry, parts.argument));
        break;
    case PageKind::Chart:
        showSeasonChart();
        break;
    }
}

MatchFilter MainWindow::currentFilter() const
{
    MatchFilter filter;
    filter.tournament = comboTournaments->currentText();
    filter.from = dateEditFrom->date();
    filter.till = dateEditTill->date();
    filter.considerId = checkBoxID->isChecked();
    filter.round = comboRounds->currentText();
    return filter;
}

void MainWindow::runPage(PageBuilder builder, const QString &argument)
{
    if (!builder)
        return;
    if (store.isEmpty()) {
        dialogs()->information(nullptr, texts().noDataTitle, texts().noDataText);
        return;
    }

    PageParams params;
    params.menuChoice = currentMenuChoice;
    params.argument = argument;
    params.considerId = checkBoxID->isChecked();
    params.rules = rules.rulesFor(currentFilter().tournament);

    TableData data;
    data.setMenu(menuLabels, menuCodes);
    PageRun run;
    {
        statusbar->showMessage(texts().readingDisk);
        WaitCursor wait;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const auto progress = [this](qsizetype examined) {
            statusbar->showMessage(texts().progress.arg(texts().readingMemory,
                                                        QString::number(examined), texts().files));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
        run = ::runPage(store, currentFilter(), builder, params, data, progress);
    }
    statusbar->showMessage(texts().elapsed.arg(run.accumulateMs), 2000);
    if (!run.emitted)
        return;
    menuLabels = data.menuLabels();
    menuCodes = data.menuCodes();
    showTable(data);
    const bool ownRules = builder == calculateTable && !params.rules.sameScheme(CompetitionRules());
    showCaption(pageCaption(currentLink, currentFilter(), searchText,
                            ownRules ? rulesDisplayName(params.rules) : QString()));
    showFootnote(builder == calculateTable
                     ? texts().rulesCaption.arg(rulesDisplayName(params.rules))
                     : QString(),
                 data.footnote());
}

void MainWindow::showTable(const TableData &data)
{
    WaitCursor wait;
    actionSaveAsText->setEnabled(true);
    actionSaveReportXml->setEnabled(false);
    table->show();
    text->hide();
    seasonChart->hide();

    QHeaderView *header = table->horizontalHeader();
    table->setUpdatesEnabled(false);
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
    fittedWidths.clear();
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
    applyRowFilter();
    table->setUpdatesEnabled(true);
    table->viewport()->update();
}

void MainWindow::showMatchReport(const QString &fileName)
{
    actionSaveAsText->setEnabled(false);
    table->hide();
    seasonChart->hide();
    text->show();
    showFootnote(QString(), QString());
    showCaption(QString());
    text->clear();
    const Match *match = store.find(fileName);
    actionSaveReportXml->setEnabled(match != nullptr);
    if (match)
        text->setHtml(matchReportHtml(**match, ReportScore::Full));
}

void MainWindow::contextMenu(const QPoint &pos)
{
    const QStringList labels = menuLabels;
    if (labels.isEmpty())
        return;
    const int chosen =
        dialogs()->chooseMenuEntry(this, labels, table->viewport()->mapToGlobal(pos));
    if (chosen < 0 || chosen >= labels.size())
        return;
    const QTableWidgetItem *item = table->itemAt(pos);
    if (!item)
        return;
    const QTableWidgetItem *link = table->item(item->row(), table->columnCount() - 1);
    if (!link || followMenuCode(menuCodes.value(chosen), link->text()))
        return;
    showPage(link->text(), labels.at(chosen));
}

void MainWindow::saveAsText()
{
    const QString path =
        dialogs()->getSaveFileName(this, texts().chooseFileName, QString(), QString());
    if (path.isEmpty())
        return;

    const TableSnapshot snapshot = shownTable();

    // Written beside the target and then put in its place, so a failed write leaves no torn file.
    QSaveFile file(path);
    const QByteArray bytes = exportText(snapshot).toLocal8Bit();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || file.write(bytes) != bytes.size() ||
        !file.commit()) {
        dialogs()->warning(this, texts().saveFailedTitle,
                           texts().fileCannotWrite.arg(path, file.errorString()));
    }
}
