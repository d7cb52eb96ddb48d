// The pages: dispatch and history, the page runner's window side, the result table and its
// context menu, the text export and the match report.

#include "app/mainwindow.h"
#include "app/resulttableview.h"

#include "app/seasonchart.h"
#include "formats/fileio.h"
#include "pages/builders.h"
#include "pages/matchreport.h"
#include "pages/pagecaption.h"
#include "pages/pagecodes.h"
#include "pages/pagerequest.h"
#include "pages/tabledata.h"
#include "pages/textexport.h"
#include "strings/documenttexts.h"
#include "strings/plural.h"
#include "strings/texts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextBrowser>
#include <QUrl>

#include <algorithm>

void MainWindow::callCalculateGoals()
{
    showPage(QString(PageCode::Scorers), QString());
}

void MainWindow::callCalculateMatches()
{
    showPage(QString(PageCode::Matches), QString());
}

void MainWindow::callCalculateReferies()
{
    showPage(QString(PageCode::Referees), QString());
}

void MainWindow::callCalculateCoaches()
{
    showPage(QString(PageCode::Coaches), QString());
}

void MainWindow::callCalculateTable()
{
    showPage(QString(PageCode::Standings), QString());
}

void MainWindow::callCalculateStadiums()
{
    showPage(QString(PageCode::Stadiums), QString());
}

void MainWindow::callCalculatePlayers()
{
    showPage(QString(PageCode::Players), QString());
}

void MainWindow::callCalculateTeams()
{
    showPage(QString(PageCode::Teams), QString());
}

void MainWindow::callVerifyPlayers()
{
    showPage(QString(PageCode::CheckLineups), QString());
}

void MainWindow::callVerifyPlayers2()
{
    showPage(QString(PageCode::CheckIds), QString());
}

void MainWindow::callVerifyAttendance()
{
    showPage(QString(PageCode::CheckAttendance), QString());
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

void MainWindow::linkActivated(const QUrl &link)
{
    // The start page links to pages; the reports carry no links of their own.
    const QString page = link.toString();
    if (findPageCode(splitLink(page).code))
        showPage(page, QString());
}

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
    const PageView kept = pageViewOf(table, rowFilter);
    showPage(currentLink, currentMenuChoice);
    restorePageView(table, rowFilter, kept);
}

void MainWindow::back()
{
    const PageView wanted = previousView;
    showPage(previousLink, previousMenuChoice);
    restorePageView(table, rowFilter, wanted);
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
    // The same page under the new filter keeps its sort, row filter and scroll.
    const PageView kept = pageViewOf(table, rowFilter);
    // The person search is not asked again: its answer is searched for under the new filter.
    if (entry->kind == PageKind::FindPlayer || entry->kind == PageKind::FindCoach) {
        if (!searchText.isEmpty() && !showReversedDates())
            runTablePage(entry->builder, searchText);
    } else {
        showPage(currentLink, currentMenuChoice);
    }
    restorePageView(table, rowFilter, kept);
}

void MainWindow::showPage(const QString &linkText, const QString &menuChoiceText)
{
    // Copies: callers pass the history members themselves, which change below.
    const QString link = linkText;
    const QString menuChoice = menuChoiceText;
    if (link.size() < 5)
        return;

    // The row filter belongs to the page it was typed on.
    previousView = pageViewOf(table, rowFilter);
    clearRowFilter(rowFilter);
    previousMenuChoice = currentMenuChoice;
    currentMenuChoice = menuChoice;
    previousLink = currentLink;
    currentLink = link;
    menuLabels = QStringList{texts().menuDetails};
    menuCodes = QStringList{QStringLiteral("")};

    const LinkParts parts = splitLink(link);
    const PageCodeEntry *entry = findPageCode(parts.code);
    if (!entry || (entry->kind != PageKind::Report && showReversedDates()))
        return;
    switch (entry->kind) {
    case PageKind::Report:
        showMatchReport(parts.argument);
        break;
    case PageKind::FindPlayer:
    case PageKind::FindCoach:
        findPerson(*entry);
        break;
    case PageKind::Table:
        runTablePage(entry->builder, pageArgument(*entry, parts.argument));
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
    filter.upToRound = checkUpToRound && checkUpToRound->isChecked();
    return filter;
}

void MainWindow::runTablePage(PageBuilder builder, const QString &argument)
{
    // The page shown is the current link's; its builder is the table's, or the find pages'.
    PageRequest request;
    request.entry = findPageCode(splitLink(currentLink).code);
    if (!builder || !request.entry || request.entry->builder != builder)
        return;
    if (store.isEmpty()) {
        dialogs()->information(nullptr, texts().noDataTitle, texts().noDataText);
        return;
    }
    request.argument = argument;
    request.menuChoice = currentMenuChoice;
    request.filter = currentFilter();
    request.rules = rules.rulesFor(request.filter.tournament);

    TableData data;
    data.setMenu(menuLabels, menuCodes);
    PageRun run;
    {
        statusbar->showMessage(texts().readingDisk);
        WaitCursor wait;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const auto progress = [this](qsizetype examined) {
            statusbar->showMessage(texts().progress.arg(texts().readingMemory,
                                                        QString::number(examined),
                                                        pluralWord(examined, nouns().files)));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
        run = ::runPage(store, request, data, progress);
    }
    statusbar->showMessage(texts().elapsed.arg(run.accumulateMs), 2000);
    if (!run.emitted)
        return;
    menuLabels = data.menuLabels();
    menuCodes = data.menuCodes();
    showTable(data);
    // The pages that count points name the rules they count under.
    const bool points = request.entry->countsPoints;
    const CompetitionRules &used = pageParams(request).rules;
    const bool ownRules = points && !used.sameScheme(CompetitionRules());
    showCaption(pageCaption(currentLink, request.filter, searchText,
                            ownRules ? rulesDisplayName(used) : QString()));
    showFootnote(points ? texts().rulesCaption.arg(rulesDisplayName(used)) : QString(),
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

    table->setUpdatesEnabled(false);
    fittedWidths = fillResultTable(table, data);
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
    const std::optional<Match> match = store.find(fileName);
    actionSaveReportXml->setEnabled(match.has_value());
    if (match)
        text->setHtml(matchReportHtml(**match, ReportScore::Full));
}

void MainWindow::contextMenu(const QPoint &pos)
{
    QStringList labels = menuLabels;
    // Rows that lead to reports can be deleted from any match list.
    const bool deletable = !selectedMatches().isEmpty();
    if (deletable)
        labels.append(documentTexts().actionDelete);
    if (labels.isEmpty())
        return;
    const int chosen =
        dialogs()->chooseMenuEntry(this, labels, table->viewport()->mapToGlobal(pos));
    if (chosen < 0 || chosen >= labels.size())
        return;
    if (deletable && chosen == labels.size() - 1) {
        deleteMatches();
        return;
    }
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
    bool withCaption = false;
    QString path = askTableFile(QString(), withCaption);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".txt");

    const TableSnapshot snapshot = shownTable();
    const QString first = withCaption ? textCaptionLine(caption->text()) : QString();

    // UTF-8, as the command line writes it: every name survives, whatever the locale.
    // Written beside the target and then put in its place, so a failed write leaves no torn file.
    const SystemError error = writeFileSafely(path, (first + exportText(snapshot)).toUtf8());
    if (error.isError())
        dialogs()->warning(this, texts().saveFailedTitle,
                           texts().fileCannotWrite.arg(QDir::toNativeSeparators(path),
                                                       systemCauseText(error.code, error.text)));
}
