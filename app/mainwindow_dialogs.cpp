// The commands that open the report editor and the person search.

#include "app/mainwindow.h"

#include "dialogs/editreport.h"
#include "dialogs/find.h"
#include "model/documentchanges.h"
#include "pages/pagecodes.h"
#include "strings/documenttexts.h"
#include "strings/texts.h"
#include "strings/windowtexts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QSignalBlocker>
#include <QTextBrowser>

#include <algorithm>

void MainWindow::addReport()
{
    // Each typed report gets a file name of its own, so that its report page, its editor and its
    // rows in the match lists never lead to another report typed earlier. The report joins the
    // store only on OK.
    runReportEditor(texts().newReportTitle, unusedReportName(store));
}

void MainWindow::editReport()
{
    // The editor edits the report on show; on any other page its form edits nothing.
    const LinkParts link = splitLink(currentLink);
    const bool reportShown = !text->isHidden() && link.code == PageCode::Report;
    if (!reportShown || !store.find(link.argument)) {
        // Nothing to edit: an empty form would only drop what is typed into it.
        if (dialogs()->question(this, windowTexts().noReportTitle, windowTexts().noReportText,
                                QMessageBox::Yes | QMessageBox::Cancel,
                                QMessageBox::Yes) == QMessageBox::Yes)
            addReport();
        return;
    }
    runReportEditor(texts().editReportTitle,
                    link.argument.isNull() ? QStringLiteral("") : link.argument);
}

void MainWindow::runReportEditor(const QString &title, const QString &fileName)
{
    // The editor writes into the store; what it changed becomes one step of the undo history.
    const qsizetype countBefore = store.count();
    const qsizetype index = store.indexOf(fileName);
    const Match before = index >= 0 ? store.match(index) : Match();
    EditReport dialog(store, fileName, *dialogs());
    dialog.setWindowTitle(title);
    if (dialogs()->exec(dialog) != QDialog::Accepted || !dialog.editsMatch())
        return;
    if (dialog.storedChanges()) {
        if (index >= 0 && store.count() == countBefore)
            history.push(std::make_unique<ReplacedMatch>(index, before, store.match(index)),
                         documentTexts().stepEdit);
        else
            history.push(std::make_unique<AppendedMatches>(countBefore), documentTexts().stepAdd);
        catchUpWithReport(fileName);
        updateModifiedMarker();
    }
    // OK shows the report again, also when nothing changed.
    showPage(PageCode::Report + fileName, QString());
}

void MainWindow::catchUpWithReport(const QString &fileName)
{
    // The filter catches up with an edited report, as it does after an import: its date widens
    // the date range and a new tournament joins the choice, so the statistics pages can select it.
    const std::optional<Match> match = store.find(fileName);
    if (!match)
        return;
    DateSpan dates{dateEditFrom->date(), dateEditTill->date()};
    dates.widen((*match)->date);
    setDateRange(dates.from, dates.till);
    const QString tournament = (*match)->tournament;
    if (comboTournaments->findText(tournament) < 0) {
        const QString chosen = comboTournaments->currentText();
        rebuildTournamentChoice();
        const QSignalBlocker blocker(comboTournaments);
        comboTournaments->setCurrentIndex(std::max(0, comboTournaments->findText(chosen)));
    }
    fillRounds(true);
}

void MainWindow::callFindPlayer()
{
    showPage(QString(PageCode::FindPlayer), QString());
}

void MainWindow::callFindCoach()
{
    showPage(QString(PageCode::FindCoach), QString());
}

// The person search of the code's entry: the link's argument is not used, the search text is
// always asked for, also when the page is refreshed or reached by going back.
void MainWindow::findPerson(const PageCodeEntry &entry)
{
    searchText = QString();
    Find dialog(this);
    dialog.setWindowTitle(entry.kind == PageKind::FindCoach ? texts().actionFindCoach
                                                            : texts().actionFindPlayer);
    if (dialogs()->exec(dialog) == QDialog::Accepted)
        searchText = dialog.searchText();
    if (!searchText.isEmpty())
        runTablePage(entry.builder, searchText);
}
