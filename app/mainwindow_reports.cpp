// Reports in and out: "Экспортировать отчёты в XML" (the matches of the current selection),
// "Сохранить отчёт как XML" (the report shown) and "Импортировать CSV файл" (with its choices).

#include "app/mainwindow.h"
#include "app/resulttableview.h"

#include "dialogs/csvimportdialog.h"
#include "dialogs/editreport.h"
#include "formats/csvimport.h"
#include "formats/fileio.h"
#include "formats/xmlexport.h"
#include "model/documentchanges.h"
#include "model/importbatch.h"
#include "pages/pagecodes.h"
#include "strings/documenttexts.h"
#include "strings/plural.h"
#include "strings/texts.h"
#include "strings/windowtexts.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStatusBar>

namespace {

// How many refused lines the message lists before it only counts the rest.
constexpr qsizetype listedRefusals = 20;

QString refusalText(const CsvLineProblem &problem)
{
    const Texts &t = texts();
    switch (problem.reason) {
    case CsvRefusal::BadDate:
        return t.csvBadDate.arg(problem.text);
    case CsvRefusal::NoHomeTeam:
        return t.csvNoHome;
    case CsvRefusal::NoAwayTeam:
        return t.csvNoAway;
    case CsvRefusal::BadGoals:
        return t.csvBadGoals.arg(problem.text);
    case CsvRefusal::UnclosedQuote:
        break;
    }
    return t.csvUnclosedQuote;
}

} // namespace

void MainWindow::buildReportsMenu()
{
    const Texts &t = texts();
    const auto action = [this](const char *name, const QString &caption) {
        auto *created = new QAction(caption, this);
        created->setObjectName(QLatin1StringView(name));
        return created;
    };
    actionImportCsv = action("actionImportCsv", t.actionImportCsv);
    actionExportXml = action("actionExportXml", t.actionExportXml);
    actionSaveReportXml = action("actionSaveReportXml", t.actionSaveReportXml);
    actionSaveReportXml->setEnabled(false);
    // After the XML import, in the order import, export, save.
    menuFile->insertActions(actionSaveAsText,
                            {actionImportCsv, actionExportXml, actionSaveReportXml});
    connect(actionImportCsv, &QAction::triggered, this, &MainWindow::importCsv);
    connect(actionExportXml, &QAction::triggered, this, &MainWindow::exportXml);
    connect(actionSaveReportXml, &QAction::triggered, this, &MainWindow::saveReportXml);
}

void MainWindow::exportXml()
{
    const Texts &t = texts();
    const MatchFilter filter = currentFilter();
    const MatchSelection selection(filter, store);
    QList<Match> matches;
    for (qsizetype i = 0; i < store.count(); ++i) {
        if (selection.selects(store.record(i)))
            matches.append(store.match(i));
    }
    if (matches.isEmpty()) {
        dialogs()->information(this, t.actionExportXml, t.exportNothing);
        return;
    }
    const QString directory = dialogs()->getExistingDirectory(
        this, t.exportDirectoryCaption, QFileInfo(databasePath).absolutePath());
    if (directory.isEmpty())
        return;
    // Reports already in the folder are replaced only when the user says so.
    qsizetype replaced = 0;
    for (const Match &match : std::as_const(matches)) {
        const QString relative = exportRelativePath(match->fileName);
        if (!relative.isEmpty() && QFileInfo::exists(QDir(directory).filePath(relative)))
            ++replaced;
    }
    if (replaced > 0) {
        const WindowTexts &w = windowTexts();
        const QMessageBox::StandardButton answer =
            dialogs()->question(this, w.exportReplaceTitle,
                                w.exportReplaceText.arg(QDir::toNativeSeparators(directory),
                                                        countWithNoun(replaced, nouns().reports),
                                                        QString::number(matches.size())),
                                QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel);
        if (answer != QMessageBox::Yes)
            return;
    }
    const XmlExportResult result = [&] {
        WaitCursor wait;
        return exportXmlReports(matches, directory);
    }();
    if (!result.ok()) {
        dialogs()->warning(
            this, t.exportFailedTitle,
            t.exportFailed.arg(QDir::toNativeSeparators(result.failedPath), result.systemError));
        return;
    }
    QString summary =
        t.exportDone.arg(QString::number(result.written), QDir::toNativeSeparators(directory));
    if (!result.altered.isEmpty())
        summary += t.exportAltered.arg(result.altered.size());
    statusbar->showMessage(summary, 10000);
}

void MainWindow::saveReportXml()
{
    const Texts &t = texts();
    const LinkParts link = splitLink(currentLink);
    const std::optional<Match> found =
        link.code == PageCode::Report ? store.find(link.argument) : std::nullopt;
    if (!found)
        return;
    const Match match = *found;
    QString name = QFileInfo(exportRelativePath(match->fileName)).fileName();
    if (name.isEmpty())
        name = unusedReportName(store) + QStringLiteral(".xml");
    const QString path = dialogs()->getSaveFileName(
        this, t.actionSaveReportXml, QFileInfo(databasePath).absolutePath() + u'/' + name,
        t.xmlFilter);
    if (path.isEmpty())
        return;
    bool dropped = false;
    const QByteArray bytes = matchXml(*match, false, &dropped);
    if (const SystemError error = writeFileSafely(path, bytes); error.isError()) {
        dialogs()->warning(this, t.exportFailedTitle,
                           t.exportFailed.arg(QDir::toNativeSeparators(path),
                                              systemCauseText(error.code, error.text)));
        return;
    }
    QString summary = t.exportDone.arg(1).arg(QDir::toNativeSeparators(path));
    if (dropped)
        summary += t.exportAltered.arg(1);
    statusbar->showMessage(summary, 10000);
}

void MainWindow::importCsv()
{
    const Texts &t = texts();
    const QString path = dialogs()->getOpenFileName(
        this, t.csvCaption, QFileInfo(databasePath).absolutePath(), t.csvOpenFilter);
    if (path.isEmpty())
        return;
    const QString shown = QDir::toNativeSeparators(path);
    const qsizetype before = store.count();
    CsvImportDialog choices(QFileInfo(path).fileName(), this);
    if (dialogs()->exec(choices) != QDialog::Accepted)
        return;
    ImportBatch batch(store);
    const CsvImportResult result = [&] {
        WaitCursor wait;
        return importCsvFile(path, batch, choices.options());
    }();
    if (!result.opened) {
        dialogs()->warning(this, t.csvFailedTitle,
                           t.csvCannotRead.arg(shown, result.systemError.isEmpty()
                                                          ? t.notRegularReason
                                                          : result.systemError));
        return;
    }
    if (result.missing != CsvMissingNothing) {
        QStringList missing;
        for (const auto &[flag, name] : {std::pair{CsvMissingDate, &t.csvMissingDate},
                                         std::pair{CsvMissingHomeTeam, &t.csvMissingHome},
                                         std::pair{CsvMissingAwayTeam, &t.csvMissingAway},
                                         std::pair{CsvMissingGoals, &t.csvMissingGoals}}) {
            if (result.missing & flag)
                missing.append(*name);
        }
        dialogs()->warning(this, t.csvFailedTitle,
                           t.csvMissing.arg(shown, missing.join(QStringLiteral(", "))));
        return;
    }
    // One step of the undo history for the whole file.
    if (store.count() > before)
        history.push(
            std::make_unique<AppendedMatches>(before),
            documentTexts().stepImportCsv.arg(documentTexts().matchesOf(store.count() - before),
                                              QFileInfo(path).fileName()));
    DateSpan dates{dateEditFrom->date(), dateEditTill->date()};
    dates.widen(batch.dateSpan());
    setDateRange(dates.from, dates.till);
    rebuildTournamentChoice();
    showStartPage();
    statusbar->showMessage(t.csvDone.arg(
        QFileInfo(path).fileName(), QString::number(result.lines), QString::number(result.added),
        QString::number(result.duplicates), QString::number(result.refused.size())));
    if (!result.refused.isEmpty()) {
        QStringList lines;
        for (qsizetype i = 0; i < result.refused.size() && i < listedRefusals; ++i) {
            const CsvLineProblem &problem = result.refused.at(i);
            lines.append(t.csvLine.arg(problem.line).arg(refusalText(problem)));
        }
        if (result.refused.size() > listedRefusals)
            lines.append(t.csvRefusedMore.arg(result.refused.size() - listedRefusals));
        dialogs()->warning(this, t.csvRefusedTitle, t.csvRefusedText.arg(shown, lines.join(u'\n')));
    }
}
