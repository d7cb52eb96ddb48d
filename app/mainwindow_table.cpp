// The table's surroundings and the window's habits: the caption above the table, the row filter,
// the CSV export, the keyboard, the recent files, the modified marker in the title, and the long
// file work that runs beside the window so that it stays painted.

#include "app/elidedlabel.h"
#include "app/mainwindow.h"
#include "app/resulttableview.h"
#include "app/settings.h"

#include "app/seasonchart.h"
#include "formats/fileio.h"
#include "pages/textexport.h"
#include "strings/documenttexts.h"
#include "strings/texts.h"
#include "strings/windowtexts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextBrowser>
#include <QThread>

namespace {

constexpr int recentCount = 8;

// Enter on the table follows the current row, as a double click does.
class EnterFollowsRow : public QObject
{
public:
    EnterFollowsRow(QTableWidget *table, std::function<void(int)> follow)
        : QObject(table), table(table), follow(std::move(follow))
    {
        table->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == table && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && table->currentRow() >= 0) {
                follow(table->currentRow());
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTableWidget *table;
    std::function<void(int)> follow;
};

} // namespace

void MainWindow::buildTableTools()
{
    const Texts &t = texts();

    // The caption and the filter share the row above the table.
    // A long caption is cut to the width there is, never widening the window.
    caption = new ElidedLabel(centralwidget);
    caption->setObjectName(QStringLiteral("caption"));
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    rowFilter = new QLineEdit(centralwidget);
    rowFilter->setObjectName(QStringLiteral("rowFilter"));
    rowFilter->setPlaceholderText(t.filterPlaceholder);
    rowFilter->setClearButtonEnabled(true);
    rowFilter->setMinimumWidth(rowFilter->fontMetrics().horizontalAdvance(t.filterPlaceholder) +
                               40);
    auto *row = new QHBoxLayout();
    row->setContentsMargins(0, 4, 0, 4);
    row->addWidget(caption, 1);
    row->addWidget(rowFilter);
    gridLayout->addLayout(row, 4, 2, 1, 6);
    connect(rowFilter, &QLineEdit::textChanged, this, &MainWindow::applyRowFilter);
    // A header click sorts the rows, which leaves the hidden ones where they were.
    connect(table->model(), &QAbstractItemModel::layoutChanged, this, &MainWindow::applyRowFilter);
    setTabOrder(checkBoxID, rowFilter);
    setTabOrder(rowFilter, table);

    table->setWordWrap(false);
    new EnterFollowsRow(table, [this](int row) { cellSelected(row, 0); });

    // The keyboard, shown in the menus.
    actionNewSwb->setShortcut(QKeySequence::New);
    actionOpenSwb->setShortcut(QKeySequence::Open);
    actionSave->setShortcut(QKeySequence::Save);
    actionSaveAsSwb->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    actionImport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    actionExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    actionExit->setMenuRole(QAction::QuitRole);

    actionSaveAsCsv = new QAction(t.actionSaveAsCsv, this);
    actionSaveAsCsv->setObjectName(QStringLiteral("actionSaveAsCsv"));
    actionSaveAsCsv->setEnabled(false);
    // Beside the text export, the two "Сохранить таблицу…" entries together.
    const QList<QAction *> fileActions = menuFile->actions();
    menuFile->insertAction(fileActions.value(fileActions.indexOf(actionSaveAsText) + 1),
                           actionSaveAsCsv);
    connect(actionSaveAsCsv, &QAction::triggered, this, &MainWindow::saveAsCsv);
    // The CSV export is open exactly when the text export is.
    connect(actionSaveAsText, &QAction::changed, this,
            [this] { actionSaveAsCsv->setEnabled(actionSaveAsText->isEnabled()); });

    menuRecent = new QMenu(t.menuRecent, menuFile);
    menuRecent->setObjectName(QStringLiteral("menuRecent"));
    menuFile->insertMenu(actionExit, menuRecent);
    menuFile->insertSeparator(actionExit);
    rebuildRecentMenu();

    QMenu *menuView = new QMenu(t.menuView, menubar);
    menuView->setObjectName(QStringLiteral("menuView"));
    menubar->insertMenu(menu->menuAction(), menuView);
    const auto addViewAction = [this, menuView](const char *name, const QString &label,
                                                const QKeySequence &keys) {
        QAction *action = menuView->addAction(label);
        action->setObjectName(QLatin1StringView(name));
        action->setShortcut(keys);
        addAction(action);
        return action;
    };
    connect(addViewAction("actionRefresh", t.actionRefresh, QKeySequence::Refresh),
            &QAction::triggered, this, &MainWindow::refresh);
    connect(addViewAction("actionBack", t.actionBack, QKeySequence(Qt::ALT | Qt::Key_Left)),
            &QAction::triggered, this, &MainWindow::back);
    connect(addViewAction("actionFilterRows", t.actionFilterRows, QKeySequence::Find),
            &QAction::triggered, this, [this] {
                rowFilter->setFocus(Qt::ShortcutFocusReason);
                rowFilter->selectAll();
            });
}

void MainWindow::showCaption(const QString &text)
{
    // Only a table has a caption and rows to filter.
    caption->setText(text);
    caption->setVisible(!text.isEmpty());
    rowFilter->setVisible(!text.isEmpty());
}

bool MainWindow::showReversedDates()
{
    const QDate from = dateEditFrom->date();
    const QDate till = dateEditTill->date();
    if (store.isEmpty() || from <= till)
        return false;
    const QString format = QStringLiteral("dd.MM.yyyy");
    const QString message =
        windowTexts().datesReversed.arg(from.toString(format), till.toString(format));
    table->hide();
    seasonChart->hide();
    showFootnote(QString(), QString());
    actionSaveAsText->setEnabled(false);
    actionSaveReportXml->setEnabled(false);
    text->setHtml(QStringLiteral("<p><b>%1</b></p>").arg(message.toHtmlEscaped()));
    text->show();
    caption->setText(message);
    caption->show();
    rowFilter->hide();
    return true;
}

void MainWindow::applyRowFilter()
{
    if (!table->isVisible() && !table->isVisibleTo(this))
        return;
    const QString wanted = rowFilter->text().trimmed();
    const int rows = table->rowCount();
    const int linkColumn = table->columnCount() - 1;
    int shown = 0;
    table->setUpdatesEnabled(false);
    for (int row = 0; row < rows; ++row) {
        bool match = wanted.isEmpty();
        for (int column = 0; !match && column < linkColumn; ++column) {
            const QTableWidgetItem *item = table->item(row, column);
            match = item && item->text().contains(wanted, Qt::CaseInsensitive);
        }
        table->setRowHidden(row, !match);
        shown += match ? 1 : 0;
    }
    table->setUpdatesEnabled(true);
    // The count stays while the filter narrows the rows; other messages (the time a page took)
    // are left alone.
    const QString countPrefix = texts().filterCount.section(QLatin1Char('%'), 0, 0);
    if (!wanted.isEmpty())
        statusbar->showMessage(texts().filterCount.arg(shown).arg(rows));
    else if (statusbar->currentMessage().startsWith(countPrefix))
        statusbar->clearMessage();
}

TableSnapshot MainWindow::shownTable() const
{
    return resultTableSnapshot(table, fittedWidths, footnoteText);
}

void MainWindow::saveAsCsv()
{
    bool withCaption = false;
    QString path = askTableFile(texts().csvFilter, withCaption);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    const QString first = withCaption ? csvCaptionLine(caption->text()) : QString();
    // Written beside the target and then put in its place, so a failed write leaves no torn file.
    const SystemError error = writeFileSafely(path, (first + exportCsv(shownTable())).toUtf8());
    if (error.isError())
        dialogs()->warning(this, texts().saveFailedTitle,
                           texts().fileCannotWrite.arg(QDir::toNativeSeparators(path),
                                                       systemCauseText(error.code, error.text)));
}

void MainWindow::updateModifiedMarker()
{
    const QString &file = openingFile.isEmpty() ? databasePath : openingFile;
    QString name = file.isEmpty() ? texts().untitled : QFileInfo(file).fileName();
    if (document.isReadOnly())
        name = documentTexts().readOnlyTitle.arg(name);
    setWindowTitle(texts().titleWithFile.arg(name, texts().windowTitle));
    setWindowModified(document.isModified());
}

void MainWindow::rememberRecentFile(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QSettings settings = AppSettings::open();
    QStringList recent = settings.value(AppSettings::RecentKey).toStringList();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    while (recent.size() > recentCount)
        recent.removeLast();
    settings.setValue(AppSettings::RecentKey, recent);
    rebuildRecentMenu();
}

void MainWindow::rebuildRecentMenu()
{
    menuRecent->clear();
    const QStringList recent = AppSettings::open().value(AppSettings::RecentKey).toStringList();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent.at(i);
        QAction *action = menuRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QDir::toNativeSeparators(path).replace(QLatin1Char('&'), QStringLiteral("&&"))));
        connect(action, &QAction::triggered, this, [this, path] { openRecentFile(path); });
    }
    menuRecent->setEnabled(!recent.isEmpty());
}

void MainWindow::openRecentFile(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        QSettings settings = AppSettings::open();
        QStringList recent = settings.value(AppSettings::RecentKey).toStringList();
        recent.removeAll(path);
        settings.setValue(AppSettings::RecentKey, recent);
        rebuildRecentMenu();
        dialogs()->warning(this, texts().openFailedTitle,
                           texts().recentMissing.arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!maybeSaveChanges())
        return;
    loadDatabase(path, false);
    showStartPage();
}

void MainWindow::runInBackground(const QString &message, const std::function<void()> &work)
{
    statusbar->showMessage(message);
    {
        WaitCursor wait;
        // The window keeps painting while the work runs; the user's input waits until it is done.
        QEventLoop loop;
        QThread *thread = QThread::create(work);
        connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
        thread->start();
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        thread->wait();
        delete thread;
    }
    statusbar->clearMessage();
}
