// The competition rules: the rules file beside the database, the rules dialog, and the line
// under the standings that names the rules and the points taken.

#include "app/mainwindow.h"

#include "dialogs/completion.h"
#include "dialogs/rulesdialog.h"
#include "pages/pagecodes.h"
#include "strings/texts.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>

void MainWindow::buildRulesMenu()
{
    const Texts &t = texts();
    actionRules = new QAction(t.actionRules, this);
    actionRules->setObjectName(QStringLiteral("actionRules"));
    menuTournament = new QMenu(t.menuTournament, menubar);
    menuTournament->setObjectName(QStringLiteral("menuTournament"));
    menuTournament->addAction(actionRules);
    menubar->insertMenu(menu_2->menuAction(), menuTournament);
    connect(actionRules, &QAction::triggered, this, &MainWindow::editRules);

    footnote = new QLabel(centralwidget);
    footnote->setObjectName(QStringLiteral("footnote"));
    footnote->setWordWrap(true);
    footnote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    footnote->hide();
    gridLayout->addWidget(footnote, 7, 2, 1, 6);
}

void MainWindow::showFootnote(const QString &caption, const QString &text)
{
    footnoteText = text;
    QStringList lines;
    for (const QString &line : {caption, text}) {
        if (!line.isEmpty())
            lines.append(line);
    }
    footnote->setText(lines.join(QLatin1Char('\n')));
    footnote->setVisible(!lines.isEmpty());
}

void MainWindow::clearRules()
{
    rules.clear();
    rulesChanged = false;
}

void MainWindow::loadRules(const QString &path)
{
    clearRules();
    const QString file = rulesFilePath(path);
    const RulesFileResult result = readRulesFile(file, rules);
    if (result.ok())
        return;
    const Texts &t = texts();
    QString reason;
    switch (result.status) {
    case RulesFileResult::Malformed:
        reason = t.rulesMalformed.arg(result.detail);
        break;
    case RulesFileResult::UnknownCriterion:
        reason = t.rulesUnknownCriterion.arg(result.detail);
        break;
    case RulesFileResult::BadValue:
        reason = t.rulesBadValue.arg(result.detail);
        break;
    default:
        reason = t.rulesCannotRead.arg(result.detail);
    }
    dialogs()->warning(this, t.rulesFileTitle,
                       t.rulesFileText.arg(QDir::toNativeSeparators(file), reason));
}

std::unique_ptr<QSaveFile> MainWindow::prepareRulesFile(const QString &path, bool &removeOld)
{
    removeOld = false;
    // The file of the open database stays as it is unless the rules were changed here: one the
    // program could not read is kept for the user to mend.
    if (path == databasePath && !rulesChanged)
        return nullptr;
    const QString file = rulesFilePath(path);
    if (rules.isEmpty()) {
        removeOld = QFile::exists(file);
        return nullptr;
    }
    auto saveFile = std::make_unique<QSaveFile>(file);
    const QByteArray bytes = rulesFileBytes(rules);
    // A failure shows when the file is committed.
    if (saveFile->open(QIODevice::WriteOnly))
        saveFile->write(bytes);
    return saveFile;
}

void MainWindow::finishRulesFile(QSaveFile *file, const QString &path, bool removeOld)
{
    const QString name = rulesFilePath(path);
    bool ok = true;
    QString error;
    if (file) {
        ok = file->isOpen() && file->commit();
        error = file->errorString();
    } else if (removeOld) {
        QFile old(name);
        ok = old.remove();
        error = old.errorString();
    }
    if (ok) {
        rulesChanged = false;
        return;
    }
    // The database is saved; the rules stay marked as changed so that the next save tries again.
    markModified();
    dialogs()->warning(this, texts().saveFailedTitle,
                       texts().rulesSaveFailed.arg(QDir::toNativeSeparators(name), error));
}

void MainWindow::editRules()
{
    QStringList tournaments = store.tournamentNames();
    for (const QString &name : rules.tournaments()) {
        if (!tournaments.contains(name))
            tournaments.append(name);
    }
    if (tournaments.isEmpty()) {
        dialogs()->information(this, texts().rulesTitle, texts().rulesNoTournament);
        return;
    }
    RulesDialog dialog(rules, tournaments, comboTournaments->currentText(), this);
    dialog.setTeamNames([this](const QString &tournament) {
        return namesIn(store, {Team1Field, Team2Field}, tournament);
    });
    dialog.setMessageSink([this](QWidget *parent, const QString &message) {
        dialogs()->warning(parent, texts().badDeductionTitle, message);
    });
    if (dialogs()->exec(dialog) != QDialog::Accepted || dialog.book() == rules)
        return;
    rules = dialog.book();
    rulesChanged = true;
    markModified();
    // The standings on view follow the new rules at once.
    if (splitLink(currentLink).code == PageCode::Standings)
        refresh();
}
