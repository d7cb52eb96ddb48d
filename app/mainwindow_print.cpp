// Printing and PDF: "Печать…" and "Экспорт в PDF…" of the table shown (its caption as the title,
// the rows as shown) or of the report shown (one page).

#include "app/mainwindow.h"
#include "app/printing.h"
#include "app/resulttableview.h"
#include "app/settings.h"

#include "formats/fileio.h"
#include "pages/textexport.h"
#include "strings/archivetexts.h"
#include "strings/texts.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextBrowser>

void MainWindow::buildPrintMenu()
{
    const ArchiveTexts &t = archiveTexts();
    actionPrint = new QAction(t.actionPrint, this);
    actionPrint->setObjectName(QStringLiteral("actionPrint"));
    actionPrint->setShortcut(QKeySequence::Print);
    actionExportPdf = new QAction(t.actionExportPdf, this);
    actionExportPdf->setObjectName(QStringLiteral("actionExportPdf"));
    QAction *before = menuRecent->menuAction();
    menuFile->insertSeparator(before);
    menuFile->insertActions(before, {actionPrint, actionExportPdf});
    menuFile->insertSeparator(before);
    connect(actionPrint, &QAction::triggered, this, &MainWindow::printShown);
    connect(actionExportPdf, &QAction::triggered, this, &MainWindow::exportPdf);
    // Open while a table or a report is shown, not under the season chart.
    connect(menuFile, &QMenu::aboutToShow, this, [this] {
        const bool printable = !table->isHidden() || !text->isHidden();
        actionPrint->setEnabled(printable);
        actionExportPdf->setEnabled(printable);
    });
}

namespace {

// The title of a report: its first two lines, the tournament and the teams with the score.
QString documentTitle(const QTextBrowser *text)
{
    if (!text->documentTitle().isEmpty())
        return text->documentTitle();
    QStringList lines;
    for (QTextBlock block = text->document()->firstBlock(); block.isValid() && lines.size() < 2;
         block = block.next()) {
        const QString line = block.text().simplified();
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines.join(QStringLiteral(", "));
}

} // namespace

void MainWindow::printShown()
{
    const bool isTable = !table->isHidden();
    if (!isTable && text->isHidden())
        return;
    QPrinter printer(QPrinter::HighResolution);
    TableSnapshot snapshot;
    if (isTable) {
        snapshot = shownTable();
        printer.setDocName(caption->text());
        // Chosen before the dialog, so that the user sees it and may change it.
        if (tableWantsLandscape(&printer, snapshot))
            printer.setPageOrientation(QPageLayout::Landscape);
    } else {
        printer.setDocName(documentTitle(text));
    }
    QPrintDialog dialog(&printer, this);
    if (dialogs()->exec(dialog) != QDialog::Accepted)
        return;
    bool printed = false;
    {
        WaitCursor wait;
        printed = isTable ? printTable(&printer, caption->text(), snapshot) > 0
                          : printDocument(&printer, *text->document());
    }
    if (!printed)
        dialogs()->warning(this, archiveTexts().actionPrint, archiveTexts().printFailed);
}

void MainWindow::exportPdf()
{
    const ArchiveTexts &t = archiveTexts();
    const bool isTable = !table->isHidden();
    if (!isTable && text->isHidden())
        return;
    QString path = dialogs()->getSaveFileName(this, texts().chooseFileName, QString(), t.pdfFilter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    int pages = 1;
    QByteArray pdf;
    {
        WaitCursor wait;
        pdf = isTable ? tablePdf(caption->text(), shownTable(), &pages)
                      : documentPdf(*text->document(), documentTitle(text));
    }
    // Written beside the target and then put in its place, so a failed write leaves no torn file.
    const SystemError error = writeFileSafely(path, pdf);
    if (error.isError()) {
        dialogs()->warning(this, texts().saveFailedTitle,
                           texts().fileCannotWrite.arg(QDir::toNativeSeparators(path),
                                                       systemCauseText(error.code, error.text)));
        return;
    }
    statusbar->showMessage(t.pdfDone.arg(QDir::toNativeSeparators(path)).arg(pages), 10000);
}

QString MainWindow::askTableFile(const QString &filter, bool &withCaption)
{
    withCaption = AppSettings::open().value(AppSettings::CaptionLineKey, false).toBool();
    const QString path = dialogs()->getSaveFileNameWithOption(
        this, texts().chooseFileName, QString(), filter, archiveTexts().captionOption, withCaption);
    if (!path.isEmpty())
        AppSettings::open().setValue(AppSettings::CaptionLineKey, withCaption);
    return path;
}
