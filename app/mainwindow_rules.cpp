// The competition rules: the rules file beside the database, the rules dialog, and the line
// under the standings that names the rules and the points taken.

#include "app/mainwindow.h"

#include "dialogs/completion.h"
#include "dialogs/rulesdialog.h"
#include "pages/pagecodes.h"
#include "strings/documenttexts.h"
#include "strings/texts.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

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

void MainWindow::reportRulesFile(const QString &path, const RulesFileResult &result)
{
    if (result.ok())
        return;
    const QString file = rulesFilePath(path);
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
    history.push(std::make_unique<ChangedRules>(rules, dialog.book()), documentTexts().stepRules);
    // A page on view that counts points follows the new rules at once.
    const PageCodeEntry *shown = findPageCode(splitLink(currentLink).code);
    if (shown && shown->countsPoints)
        refresh();
}
