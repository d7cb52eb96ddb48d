// The analysis pages in the window: the round choice, the menu entries of the checks, the
// head-to-head, the home, away and form tables and the course of the season, and the chart.

#include "app/mainwindow.h"

#include "app/seasonchart.h"
#include "pages/analysis.h"
#include "pages/pagecodes.h"
#include "pages/pagerequest.h"
#include "pages/seasons.h"
#include "pages/statpages.h"
#include "strings/plural.h"
#include "strings/stattexts.h"
#include "strings/texts.h"
#include "strings/windowtexts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextBrowser>

#include <algorithm>

namespace {

QAction *addPageAction(QMenu *menu, const char *objectName, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1StringView(objectName));
    return action;
}

} // namespace

void MainWindow::buildAnalysis()
{
    const Texts &t = texts();

    // The round choice shares the tournament's cell of the filter row.
    comboRounds = new QComboBox(centralwidget);
    comboRounds->setObjectName(QStringLiteral("comboRounds"));
    comboRounds->setEditable(false);
    comboRounds->setMinimumContentsLength(10);
    comboRounds->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    gridLayout->removeWidget(comboTournaments);
    checkUpToRound = new QCheckBox(statTexts().upToRound, centralwidget);
    checkUpToRound->setObjectName(QStringLiteral("checkUpToRound"));
    checkUpToRound->setEnabled(false);
    auto *choices = new QHBoxLayout();
    choices->addWidget(comboTournaments, 3);
    choices->addWidget(comboRounds, 1);
    choices->addWidget(checkUpToRound);
    gridLayout->addLayout(choices, 1, 4);
    setTabOrder(comboTournaments, comboRounds);
    fillRounds();
    // Connected before the tournament's own recomputation, so that the page sees the new rounds.
    connect(comboTournaments, &QComboBox::currentIndexChanged, this, [this] { fillRounds(); });
    connect(comboRounds, &QComboBox::currentIndexChanged, this, &MainWindow::changeTournaments);
    // "Up to" means something only with a round chosen.
    connect(comboRounds, &QComboBox::currentIndexChanged, this,
            [this](int index) { checkUpToRound->setEnabled(index > 0); });
    connect(checkUpToRound, &QCheckBox::toggled, this, [this] {
        if (comboRounds->currentIndex() > 0)
            filterChanged();
    });

    seasonChart = new SeasonChart(
        [this](const QString &caption, const QString &filter) {
            return dialogs()->getSaveFileName(this, caption, QString(), filter);
        },
        centralwidget);
    seasonChart->setFailureSink([this](const QString &path) {
        const QFileInfo folder(QFileInfo(path).absolutePath());
        const QString cause = !folder.exists()       ? texts().causeMissing
                              : !folder.isWritable() ? texts().causeNoPermission
                                                     : QString();
        const QString name = QDir::toNativeSeparators(path);
        dialogs()->warning(this, texts().saveFailedTitle,
                           cause.isEmpty() ? windowTexts().chartSaveFailed.arg(name)
                                           : texts().fileCannotWrite.arg(name, cause));
    });
    seasonChart->hide();
    // In the table's cell: only one of the two is ever shown.
    gridLayout->addWidget(seasonChart, 5, 2, 1, 6);

    const auto page = [this](const QString &link) {
        return [this, link] { showPage(link, QString()); };
    };
    menu_8->addSeparator();
    connect(addPageAction(menu_8, "actionHomeTable", t.actionHomeTable), &QAction::triggered, this,
            page(QString(PageCode::HomeTable)));
    connect(addPageAction(menu_8, "actionAwayTable", t.actionAwayTable), &QAction::triggered, this,
            page(QString(PageCode::AwayTable)));
    QMenu *form = menu_8->addMenu(t.menuForm);
    form->setObjectName(QStringLiteral("menuForm"));
    for (const int n : {3, 5, 6, 10}) {
        QAction *action = form->addAction(t.actionFormLast.arg(countWithNoun(n, nouns().matches)));
        action->setObjectName(QStringLiteral("actionForm%1").arg(n));
        connect(action, &QAction::triggered, this, page(PageCode::FormTable + QString::number(n)));
    }
    connect(addPageAction(menu_8, "actionHeadToHead", t.actionHeadToHead), &QAction::triggered,
            this, [this] { chooseHeadToHead(QString()); });

    connect(addPageAction(menu_3, "actionUndated", windowTexts().actionUndated),
            &QAction::triggered, this, page(QString(PageCode::Undated)));

    menu->addSeparator();
    connect(addPageAction(menu, "actionSeasonChart", t.actionSeasonChart), &QAction::triggered,
            this, page(QString(PageCode::SeasonChart)));
    connect(addPageAction(menu, "actionSeasonRace", t.actionSeasonRace), &QAction::triggered, this,
            page(QString(PageCode::SeasonRace)));
    connect(addPageAction(menu, "actionSeasonGoals", t.actionSeasonGoals), &QAction::triggered,
            this, page(QString(PageCode::SeasonGoals)));
    connect(addPageAction(menu, "actionRecords", statTexts().actionRecords), &QAction::triggered,
            this, page(QString(PageCode::Records)));
    connect(addPageAction(menu, "actionRuns", statTexts().actionRuns), &QAction::triggered, this,
            page(QString(PageCode::Runs)));

    menu_9->addSeparator();
    connect(addPageAction(menu_9, "actionCheckReports", t.actionCheckReports), &QAction::triggered,
            this, page(QString(PageCode::Consistency)));
    connect(addPageAction(menu_9, "actionDuplicates", t.actionDuplicates), &QAction::triggered,
            this, page(QString(PageCode::Duplicates)));
}

void MainWindow::fillRounds(bool keepChoice)
{
    const QSignalBlocker blocker(comboRounds);
    const QString chosen = comboRounds->currentText();
    comboRounds->clear();
    comboRounds->addItem(texts().allRounds);
    comboRounds->addItems(roundsOf(store, comboTournaments->currentText()));
    comboRounds->setCurrentIndex(keepChoice ? std::max(0, comboRounds->findText(chosen)) : 0);
    checkUpToRound->setEnabled(comboRounds->currentIndex() > 0);
}

void MainWindow::showSeasonChart()
{
    const Texts &t = texts();
    if (store.isEmpty()) {
        dialogs()->information(nullptr, t.noDataTitle, t.noDataText);
        return;
    }
    PageRequest request = pageRequest(QString(PageCode::SeasonChart));
    request.filter = currentFilter();
    request.rules = rules.rulesFor(request.filter.tournament);
    const MatchFilter &filter = request.filter;
    QStringList title{filter.tournament};
    if (!filter.allRounds())
        title.append(filter.round);
    title.append(QStringLiteral("%1 – %2").arg(filter.from.toString(QStringLiteral("dd.MM.yyyy")),
                                               filter.till.toString(QStringLiteral("dd.MM.yyyy"))));
    // A tournament of several seasons is drawn season by season, each under the rules.
    const CompetitionRules rules = pageParams(request).rules;
    seasonChart->setSeasons(
        seasonsOf(store, filter),
        [this, filter, rules](const DateSpan &season) {
            MatchFilter one = filter;
            if (!season.isNull()) {
                one.from = std::max(filter.from, season.from);
                one.till = std::min(filter.till, season.till);
            }
            return seasonRace(store, one, rules);
        },
        title.join(QStringLiteral(", ")));
    actionSaveAsText->setEnabled(false);
    actionSaveReportXml->setEnabled(false);
    table->hide();
    text->hide();
    showCaption(QString());
    seasonChart->show();
}

void MainWindow::chooseHeadToHead(const QString &team)
{
    const Texts &t = texts();
    if (store.isEmpty()) {
        dialogs()->information(nullptr, t.noDataTitle, t.noDataText);
        return;
    }
    const MatchFilter filter = currentFilter();
    QString first = team;
    if (first.isEmpty()) {
        const QStringList teams = teamsOf(store, filter);
        if (teams.isEmpty())
            return;
        first = dialogs()->chooseItem(this, t.chooseTeamTitle, t.chooseFirstTeam, teams);
        if (first.isEmpty())
            return;
    }
    const QStringList opponents = opponentsOf(store, filter, first);
    if (opponents.isEmpty()) {
        dialogs()->information(this, t.chooseTeamTitle, t.noOpponents.arg(first));
        return;
    }
    const QString second =
        dialogs()->chooseItem(this, t.chooseTeamTitle, t.chooseOpponent.arg(first), opponents);
    if (!second.isEmpty())
        showPage(PageCode::HeadToHead + headToHeadArgument(first, second), QString());
}

bool MainWindow::followMenuCode(const QString &code, const QString &rowLink)
{
    if (code == QString(PageCode::HeadToHead)) {
        chooseHeadToHead(splitLink(rowLink).argument);
        return true;
    }
    if (code == QString(PageCode::Career)) {
        showPage(careerLink(rowLink), QString());
        return true;
    }
    if (code.size() != 5 || !findPageCode(code))
        return false;
    // A page of its own, not of the row: the menu entry is no menu choice for it.
    showPage(code, QString());
    return true;
}
