// The database file commands and the XML import.

#include "app/mainwindow.h"
#include "app/resulttableview.h"

#include "formats/database.h"
#include "formats/xmlimport.h"
#include "strings/plural.h"
#include "strings/texts.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QStatusBar>

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
    // Anything but a regular file (a folder, a pipe, a device) is refused by the reader, with its
    // message also at start-up: such a file was named on purpose.
    // Read beside the open database, so that a file that cannot be read leaves it untouched.
    MatchStore loaded;
    DatabaseResult result;
    runInBackground(texts().opening.arg(QDir::toNativeSeparators(path)),
                    [&result, &path, &loaded] { result = readDatabase(path, loaded); });
    if (!result.ok()) {
        QString message = databaseErrorText(path, result);
        if (!atStartUp)
            message += QLatin1Char(' ') + texts().databaseKept;
        dialogs()->warning(atStartUp ? nullptr : this, texts().openFailedTitle, message);
        return false;
    }

    store.swap(loaded);
    databasePath = path;
    loadRules(path);
    const DateSpan dates = selectableRange(store);
    setDateRange(dates.from, dates.till);
    rebuildTournamentChoice();
    rememberRecentFile(path);
    updateModifiedMarker();
    return true;
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
    if (!store.isModified())
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
    bool removeOldRules = false;
    const std::unique_ptr<QSaveFile> rulesFile = prepareRulesFile(path, removeOldRules);
    DatabaseResult result;
    runInBackground(texts().saving.arg(QDir::toNativeSeparators(path)),
                    [this, &result, &path] { result = writeDatabase(path, store); });
    if (!result.ok()) {
        dialogs()->warning(
            this, texts().saveFailedTitle,
            texts().fileCannotWrite.arg(QDir::toNativeSeparators(path),
                                        systemCauseText(result.systemErrno, result.systemError)) +
                QLatin1Char(' ') + texts().fileKept);
        return false;
    }
    store.setModified(false);
    finishRulesFile(rulesFile.get(), path, removeOldRules);
    rememberRecentFile(path);
    updateModifiedMarker();
    statusbar->showMessage(texts().saved.arg(QDir::toNativeSeparators(path)), 3000);
    return true;
}

bool MainWindow::saveCurrent()
{
    if (databasePath.isEmpty() || !QFileInfo(databasePath).isFile())
        return saveUnderNewName();
    return writeTo(databasePath);
}

bool MainWindow::saveUnderNewName()
{
    const QString path = withSwbSuffix(
        dialogs()->getSaveFileName(this, texts().chooseFileName, QString(), swbFilter));
    if (path.isEmpty())
        return false;
    const QString previous = databasePath;
    databasePath = path; // the title names the new file once it is written
    if (!writeTo(path)) {
        databasePath = previous;
        updateModifiedMarker();
        return false;
    }
    return true;
}

void MainWindow::newSwb()
{
    if (!maybeSaveChanges())
        return;
    const QString path = withSwbSuffix(
        dialogs()->getSaveFileName(this, texts().chooseFileName, QString(), swbFilter));
    if (path.isEmpty())
        return;
    databasePath = path;
    store.clear();
    clearRules();
    rulesChanged = true; // rules left beside a file of that name belong to the database replaced
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
    // A database without a file yet is saved under a name the user chooses.
    if (databasePath.isEmpty() || !QFileInfo(databasePath).isFile()) {
        saveUnderNewName();
        return;
    }
    // Nothing changed: the file is written again without a question.
    if (!store.isModified()) {
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
