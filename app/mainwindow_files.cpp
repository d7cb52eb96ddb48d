// The database file commands and the XML import.

#include "app/mainwindow.h"
#include "app/resulttableview.h"

#include "formats/database.h"
#include "formats/xmlimport.h"
#include "model/documentchanges.h"
#include "strings/documenttexts.h"
#include "strings/plural.h"
#include "strings/texts.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLocale>
#include <QSignalBlocker>
#include <QStatusBar>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString swbFilter = QStringLiteral("*.swb");

// A database name typed without a suffix gets ".swb".
QString withSwbSuffix(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QStringLiteral(".swb");
}

} // namespace

QString MainWindow::databaseErrorText(const QString &path, const DatabaseResult &result) const
{
    const Texts &t = texts();
    const QString name = QDir::toNativeSeparators(path);
    switch (result.status) {
    case DatabaseResult::Ok:
        break;
    case DatabaseResult::CannotOpen:
        if (!QFileInfo::exists(path))
            return t.fileMissing.arg(name);
        if (!QFileInfo(path).isFile())
            return t.fileNotRegular.arg(name);
        return t.fileCannotRead.arg(name, systemCauseText(result.systemErrno, result.systemError));
    case DatabaseResult::NotRegularFile:
        return t.fileNotRegular.arg(name);
    case DatabaseResult::ChangedWhileReading:
        return t.fileChanged.arg(name);
    case DatabaseResult::NotDatabase:
        return t.fileNotDatabase.arg(name);
    case DatabaseResult::UnsupportedVersion:
        return t.fileUnsupportedVersion.arg(name, QString::number(result.version));
    case DatabaseResult::Damaged:
        if (result.endsEarly)
            return t.fileCutShort.arg(name, QString::number(result.announced),
                                      QString::number(result.complete),
                                      QString::number(result.offset));
        return t.fileDamaged.arg(name, QString::number(result.offset));
    case DatabaseResult::CannotWrite:
        return t.fileCannotWrite.arg(name, systemCauseText(result.systemErrno, result.systemError));
    }
    return QString();
}

namespace {

// The lock's holder put into text (lockText or lockedTarget).
QString holderText(const QString &text, const QString &path, const LockHolder &holder)
{
    return text.arg(QDir::toNativeSeparators(path), holder.application, QString::number(holder.pid),
                    holder.host,
                    QLocale(QLocale::Russian).toString(holder.since, u"dd.MM.yyyy HH:mm"_s));
}

} // namespace

bool MainWindow::loadDatabase(const QString &path, bool atStartUp)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        // A database named by the settings that has gone away is not worth a message.
        if (!atStartUp)
            dialogs()->information(nullptr, texts().noDataTitle,
                                   texts().noDataText + QLatin1Char('\n') +
                                       texts().fileMissing.arg(QDir::toNativeSeparators(path)));
        return false;
    }
    // The lock comes first, so that a file another program holds is not read before the user
    // chose how to open it. The window's own file (a reload) stays as it was opened.
    const bool ownFile = path == databasePath && document.hasFile();
    DatabaseLock lock;
    bool readOnly = ownFile && document.isReadOnly();
    if (!ownFile) {
        const LockResult locked = lock.take(path);
        if (locked.status == LockResult::Held) {
            const DocumentTexts &d = documentTexts();
            const int answer = dialogs()->choose(atStartUp ? nullptr : this, d.lockTitle,
                                                 holderText(d.lockText, path, locked.holder),
                                                 {d.lockReadOnly, d.lockAnyway, d.cancel});
            if (answer != 0 && answer != 1)
                return false;
            readOnly = answer == 0;
        }
    }
    // Anything but a regular file (a folder, a pipe, a device) is refused by the reader, with its
    // message also at start-up: such a file was named on purpose.
    // Read beside the open database, so that a file that cannot be read leaves it untouched.
    const Document::OpenResult result =
        document.open(path, [this, &path](const std::function<void()> &work) {
            runInBackground(texts().opening.arg(QDir::toNativeSeparators(path)), work);
        });
    if (!result.ok()) {
        QString message = databaseErrorText(path, result.database);
        if (!atStartUp)
            message += QLatin1Char(' ') + texts().databaseKept;
        dialogs()->warning(atStartUp ? nullptr : this, texts().openFailedTitle, message);
        return false;
    }
    if (!ownFile)
        document.adoptLock(std::move(lock));
    document.setReadOnly(readOnly);
    history.clear();
    missingFile.clear();
    watchFile();
    reportRulesFile(path, result.rules);
    const DateSpan dates = selectableRange(store);
    setDateRange(dates.from, dates.till);
    rebuildTournamentChoice();
    rememberRecentFile(path);
    updateModifiedMarker();
    return true;
}

void MainWindow::watchFile()
{
    if (!watcher) {
        watcher = new QFileSystemWatcher(this);
        connect(watcher, &QFileSystemWatcher::fileChanged, this, &MainWindow::fileChangedOnDisk);
    }
    if (!watcher->files().isEmpty())
        watcher->removePaths(watcher->files());
    // A file replaced by a rename is watched again under its name.
    if (document.hasFile() && QFileInfo::exists(databasePath))
        watcher->addPath(databasePath);
}

void MainWindow::fileChangedOnDisk()
{
    watchFile();
    if (writingFile || !document.changedOnDisk())
        return; // the window's own save
    const DocumentTexts &d = documentTexts();
    const QString name = QDir::toNativeSeparators(databasePath);
    statusbar->showMessage(QFileInfo::exists(databasePath) ? d.changedNoticed.arg(name)
                                                           : d.removedNoticed.arg(name));
}

void MainWindow::resetDateRange()
{
    const QSignalBlocker blockFrom(dateEditFrom);
    const QSignalBlocker blockTill(dateEditTill);
    dateEditFrom->setDate(emptyRangeFrom());
    dateEditTill->setDate(emptyRangeTill());
}

void MainWindow::setDateRange(const QDate &from, const QDate &till)
{
    // A date field cannot show a null date; it keeps the one it has. Setting the range is no
    // request to recompute the page.
    const QSignalBlocker blockFrom(dateEditFrom);
    const QSignalBlocker blockTill(dateEditTill);
    if (from.isValid())
        dateEditFrom->setDate(from);
    if (till.isValid())
        dateEditTill->setDate(till);
}

void MainWindow::rebuildTournamentChoice()
{
    // Refilling the choice is no request to recompute the page: every caller shows the start page
    // next, and a recomputation here could even open the person search in the middle of a command.
    const QSignalBlocker blocker(comboTournaments);
    comboTournaments->clear();
    comboTournaments->addItem(texts().allTournaments);
    comboTournaments->addItems(store.tournamentNames());
    comboTournaments->setCurrentIndex(0);
    fillRounds();
}

bool MainWindow::maybeSaveChanges()
{
    if (!document.isModified())
        return true;
    const QMessageBox::StandardButton answer = dialogs()->question(
        this, texts().saveChangesTitle, texts().saveChangesText,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        return saveCurrent();
    return answer == QMessageBox::No;
}

bool MainWindow::writeTo(const QString &path)
{
    const DocumentTexts &d = documentTexts();
    const Document::Runner run = [this, &path](const std::function<void()> &work) {
        // The watcher's news of this very write is no news.
        writingFile = true;
        runInBackground(texts().saving.arg(QDir::toNativeSeparators(path)), work);
        writingFile = false;
    };
    if (path != databasePath || !document.hasFile()) {
        // A new file: nobody else may hold it, and the rules go with the database.
        DatabaseLock lock;
        const LockResult locked = lock.take(path);
        if (locked.status == LockResult::Held &&
            dialogs()->choose(this, d.lockTitle, holderText(d.lockedTarget, path, locked.holder),
                              {d.changedOverwrite, d.cancel}) != 0)
            return false;
        const Document::SaveResult result = document.saveAs(path, run);
        if (result.status != Document::SaveResult::DatabaseFailed)
            document.adoptLock(std::move(lock));
        return finishSave(result, path);
    }
    if (document.isReadOnly()) {
        dialogs()->warning(this, texts().saveFailedTitle,
                           d.readOnlySave.arg(QDir::toNativeSeparators(path)));
        return saveUnderNewName();
    }
    Document::SaveResult result = document.save(false, run);
    if (result.status == Document::SaveResult::ChangedOnDisk) {
        const int answer = dialogs()->choose(
            this, d.changedTitle, d.changedText.arg(QDir::toNativeSeparators(path)),
            {d.changedSaveAs, d.changedOverwrite, d.changedReload, d.cancel});
        if (answer == 0)
            return saveUnderNewName();
        if (answer == 2) {
            // The other program's file wins; this window's changes are dropped.
            loadDatabase(path, false);
            showStartPage();
            return false;
        }
        if (answer != 1)
            return false;
        result = document.save(true, run);
    }
    return finishSave(result, path);
}

bool MainWindow::finishSave(const Document::SaveResult &result, const QString &path)
{
    if (result.status == Document::SaveResult::DatabaseFailed) {
        const DatabaseResult &written = result.database;
        dialogs()->warning(
            this, texts().saveFailedTitle,
            texts().fileCannotWrite.arg(QDir::toNativeSeparators(path),
                                        systemCauseText(written.systemErrno, written.systemError)) +
                QLatin1Char(' ') + texts().fileKept);
        updateModifiedMarker();
        return false;
    }
    missingFile.clear();
    watchFile();
    rememberRecentFile(path);
    if (result.status == Document::SaveResult::RulesFailed) {
        // The database is saved; the rules are not, so the next save tries them again.
        markModified();
        dialogs()->warning(this, texts().saveFailedTitle,
                           texts().rulesSaveFailed.arg(QDir::toNativeSeparators(result.rulesFile),
                                                       result.rulesError));
        return true;
    }
    history.setClean();
    updateModifiedMarker();
    statusbar->showMessage(texts().saved.arg(QDir::toNativeSeparators(path)), 3000);
    return true;
}

bool MainWindow::saveCurrent()
{
    // A database without a file of its own yet is saved under a name the user chooses, unless
    // that name was chosen when it was created.
    if (!hasOwnTarget())
        return saveUnderNewName();
    return writeTo(databasePath);
}

bool MainWindow::hasOwnTarget() const
{
    if (databasePath.isEmpty())
        return false;
    if (document.hasFile())
        return QFileInfo(databasePath).isFile();
    return missingFile.isEmpty();
}

bool MainWindow::saveUnderNewName()
{
    const QString path = withSwbSuffix(
        dialogs()->getSaveFileName(this, texts().chooseFileName, QString(), swbFilter));
    if (path.isEmpty())
        return false;
    return writeTo(path);
}

void MainWindow::newSwb()
{
    if (!maybeSaveChanges())
        return;
    const QString path = withSwbSuffix(
        dialogs()->getSaveFileName(this, texts().chooseFileName, QString(), swbFilter));
    if (path.isEmpty())
        return;
    document.unlock();
    document.reset(path);
    history.clear();
    missingFile.clear();
    watchFile();
    rebuildTournamentChoice();
    resetDateRange();
    showStartPage();
}

void MainWindow::openSwb()
{
    if (!maybeSaveChanges())
        return;
    const QString path =
        dialogs()->getOpenFileName(this, texts().chooseFileName, QString(), swbFilter);
    if (path.isEmpty())
        return;
    loadDatabase(path, false);
    showStartPage();
}

void MainWindow::save()
{
    if (!hasOwnTarget()) {
        saveUnderNewName();
        return;
    }
    // Nothing changed: the file is written again without a question.
    if (!document.isModified()) {
        writeTo(databasePath);
        return;
    }
    const QMessageBox::StandardButton answer =
        dialogs()->question(this, texts().saveChangesTitle, texts().saveChangesText,
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
    if (answer == QMessageBox::Yes)
        writeTo(databasePath);
}

void MainWindow::saveAsSwb()
{
    saveUnderNewName();
}

void MainWindow::import()
{
    const QString directory =
        dialogs()->getExistingDirectory(this, texts().chooseDirectory, databasePath);
    if (!directory.isEmpty()) {
        const auto status = [this](qsizetype files) {
            return texts().progress.arg(texts().readingDisk, QString::number(files),
                                        pluralWord(files, nouns().files));
        };
        ImportResult result;
        const qsizetype before = store.count();
        {
            WaitCursor wait;
            result = importDirectory(
                QFileInfo(directory).absoluteFilePath(), store, [this, &status](qsizetype files) {
                    statusbar->showMessage(status(files));
                    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                });
        }
        if (!result.directory)
            dialogs()->warning(this, texts().importFailedTitle,
                               texts().directoryMissing.arg(QDir::toNativeSeparators(directory)));
        if (!result.unreadable.isEmpty()) {
            // Nothing is skipped without a word: the first few unreadable reports by name.
            QStringList lines;
            for (const auto &[name, error] :
                 std::as_const(result.unreadable)
                     .first(std::min<qsizetype>(result.unreadable.size(), 10)))
                lines << texts().unreadableReport.arg(
                    QDir::toNativeSeparators(name),
                    error ? systemCauseText(error, qt_error_string(error))
                          : texts().notRegularReason);
            if (result.unreadable.size() > lines.size())
                lines << texts().moreUnreadable.arg(result.unreadable.size() - lines.size());
            dialogs()->warning(this, texts().importFailedTitle,
                               texts().unreadableReports.arg(result.unreadable.size()) +
                                   QLatin1Char('\n') + lines.join(QLatin1Char('\n')));
        }
        // One step of the undo history, however many reports came in.
        if (store.count() > before)
            history.push(
                std::make_unique<AppendedMatches>(before),
                documentTexts().stepImport.arg(documentTexts().reports(store.count() - before)));
        // The dates shown widen to the reports imported; a narrower choice made before stays.
        DateSpan dates{dateEditFrom->date(), dateEditTill->date()};
        dates.widen(result.dates);
        setDateRange(dates.from, dates.till);
        rebuildTournamentChoice();
        QString summary = status(result.files);
        if (result.duplicates > 0)
            summary += QLatin1String(" ") + texts().importDuplicates.arg(result.duplicates);
        showStartPage();
        statusbar->showMessage(summary, result.duplicates > 0 ? 10000 : 2000);
        return;
    }
    showStartPage();
}
