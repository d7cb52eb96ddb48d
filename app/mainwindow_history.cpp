// The undo history of the open database in the "Редактировать" menu, and deleting matches.

#include "app/mainwindow.h"

#include "model/documentchanges.h"
#include "pages/pagecodes.h"
#include "strings/documenttexts.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextBrowser>

#include <algorithm>

void MainWindow::buildHistoryMenu()
{
    const DocumentTexts &d = documentTexts();
    QUndoStack &stack = history.stack();
    actionUndo = new QAction(d.undo, this);
    actionUndo->setObjectName(QStringLiteral("actionUndo"));
    actionUndo->setShortcut(QKeySequence::Undo);
    actionRedo = new QAction(d.redo, this);
    actionRedo->setObjectName(QStringLiteral("actionRedo"));
    actionRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    actionDeleteMatch = new QAction(d.actionDelete, this);
    actionDeleteMatch->setObjectName(QStringLiteral("actionDeleteMatch"));
    actionDeleteMatch->setShortcut(QKeySequence::Delete);
    QAction *first = menu_11->actions().value(0);
    menu_11->insertAction(first, actionUndo);
    menu_11->insertAction(first, actionRedo);
    menu_11->insertSeparator(first);
    menu_11->addAction(actionDeleteMatch);

    // The actions name the step they take back or make again.
    const auto update = [this, &stack] {
        const DocumentTexts &t = documentTexts();
        actionUndo->setEnabled(stack.canUndo());
        actionUndo->setText(stack.canUndo() ? t.undoStep.arg(stack.undoText()) : t.undo);
        actionRedo->setEnabled(stack.canRedo());
        actionRedo->setText(stack.canRedo() ? t.redoStep.arg(stack.redoText()) : t.redo);
    };
    connect(&stack, &QUndoStack::indexChanged, this, update);
    connect(&stack, &QUndoStack::cleanChanged, this, update);
    update();
    connect(actionUndo, &QAction::triggered, this, &MainWindow::undo);
    connect(actionRedo, &QAction::triggered, this, &MainWindow::redo);
    connect(actionDeleteMatch, &QAction::triggered, this, &MainWindow::deleteMatches);
}

void MainWindow::undo()
{
    if (!history.stack().canUndo())
        return;
    history.stack().undo();
    catchUpWithHistory();
}

void MainWindow::redo()
{
    if (!history.stack().canRedo())
        return;
    history.stack().redo();
    catchUpWithHistory();
}

void MainWindow::catchUpWithHistory()
{
    // The dates widen to the matches there are; the tournament chosen stays when it still is.
    DateSpan dates{dateEditFrom->date(), dateEditTill->date()};
    dates.widen(store.dateSpan());
    setDateRange(dates.from, dates.till);
    const QString chosen = comboTournaments->currentText();
    rebuildTournamentChoice();
    {
        const QSignalBlocker blocker(comboTournaments);
        comboTournaments->setCurrentIndex(std::max(0, comboTournaments->findText(chosen)));
    }
    fillRounds(true);
    updateModifiedMarker();
    const LinkParts link = splitLink(currentLink);
    if (link.code == PageCode::Report) {
        if (store.indexOf(link.argument) >= 0)
            refresh();
        else
            showStartPage();
    } else if (!table->isHidden()) {
        refresh();
    } else {
        showStartPage();
    }
}

QStringList MainWindow::selectedMatches() const
{
    QStringList names;
    const LinkParts shown = splitLink(currentLink);
    if (table->isHidden()) {
        if (shown.code == PageCode::Report && !text->isHidden())
            names.append(shown.argument);
        return names;
    }
    // Rows of any match list: those whose link leads to a report.
    QList<int> rows;
    for (const QTableWidgetItem *item : table->selectedItems()) {
        if (!rows.contains(item->row()) && !table->isRowHidden(item->row()))
            rows.append(item->row());
    }
    std::sort(rows.begin(), rows.end());
    const int linkColumn = table->columnCount() - 1;
    for (const int row : std::as_const(rows)) {
        const QTableWidgetItem *cell = table->item(row, linkColumn);
        if (!cell)
            continue;
        const LinkParts link = splitLink(cell->text());
        if (link.code == PageCode::Report && !names.contains(link.argument))
            names.append(link.argument);
    }
    return names;
}

void MainWindow::deleteMatches()
{
    const DocumentTexts &d = documentTexts();
    const QStringList names = selectedMatches();
    const QList<qsizetype> indices = matchIndices(store, names);
    if (indices.isEmpty()) {
        dialogs()->information(this, d.deleteTitle, d.deleteNothing);
        return;
    }
    if (dialogs()->question(this, d.deleteTitle, d.deleteQuestion.arg(d.matches(indices.size())),
                            QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::No) != QMessageBox::Yes)
        return;
    history.push(std::make_unique<RemovedMatches>(indices),
                 d.stepDelete.arg(d.matchesOf(indices.size())));
    catchUpWithHistory();
    statusbar->showMessage(d.deleted.arg(d.matches(indices.size())), 5000);
}
