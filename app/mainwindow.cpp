#include "app/mainwindow.h"

#include "app/seasonchart.h"
#include "app/settings.h"
#include "pages/pagecodes.h"
#include "pages/undated.h"
#include "strings/documenttexts.h"
#include "strings/plural.h"
#include "strings/texts.h"
#include "strings/windowtexts.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpacerItem>
#include <QStatusBar>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTimer>

namespace {

QAction *newAction(QMainWindow *window, const char *objectName, const QString &caption)
{
    auto *action = new QAction(caption, window);
    action->setObjectName(QLatin1StringView(objectName));
    return action;
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    init(nullptr);
}

MainWindow::MainWindow(DialogProvider *dialogs, QWidget *parent) : QMainWindow(parent)
{
    init(dialogs);
}

MainWindow::MainWindow(const QString &startFile, DialogProvider *dialogs, QWidget *parent)
    : QMainWindow(parent)
{
    init(dialogs, startFile, true);
}

MainWindow::~MainWindow()
{
    // A date field losing the focus as the window goes finishes its editing: no page then.
    for (DateField *field : {dateEditFrom, dateEditTill})
        disconnect(field, nullptr, this, nullptr);
}

void MainWindow::setDialogProvider(DialogProvider *dialogs)
{
    dialogProvider = dialogs;
}

DialogProvider *MainWindow::dialogs() const
{
    if (dialogProvider)
        return dialogProvider;
    return &standardDialogs;
}

void MainWindow::init(DialogProvider *dialogs, const QString &startFile, bool deferred)
{
    dialogProvider = dialogs;
    buildForm();
    buildMenus();
    buildRulesMenu();
    buildModeButtons();
    buildAnalysis();
    buildTableTools();
    buildReportsMenu();
    buildPrintMenu();
    connectSignals();

    buildHistoryMenu();
    connect(&document, &Document::modifiedChanged, this, &MainWindow::updateModifiedMarker);

    QString startPath = startFile.isEmpty()
                            ? AppSettings::open().value(AppSettings::DataKey).toString()
                            : QFileInfo(startFile).absoluteFilePath();
    if (startPath.isEmpty()) {
        const QString directory = QCoreApplication::applicationDirPath();
        const QString demo = directory + QStringLiteral("/demo.swb");
        if (!directory.isEmpty() && QFileInfo::exists(demo))
            startPath = demo;
    }

    resetDateRange();
    rebuildTournamentChoice();
    openingFile = startPath;
    const auto openStartDatabase = [this, startPath] {
        openingFile.clear();
        // The named file was not read: it is not the open database, so nothing is saved over it.
        // A file that merely is not there any more keeps its name, as the start page shows.
        if (!startPath.isEmpty() && !loadDatabase(startPath, true) &&
            !QFileInfo::exists(startPath)) {
            document.reset(startPath);
            missingFile = startPath;
        }
        showStartPage();
    };

    centreWindow();
    if (!deferred) {
        openStartDatabase();
        return;
    }
    // The window shows first and reads the database while it is painted, with the file named in
    // the status bar.
    showStartPage();
    QTimer::singleShot(0, this, openStartDatabase);
}

void MainWindow::buildForm()
{
    setObjectName(QStringLiteral("MainWindow"));
    resize(1011, 709);
    setMinimumHeight(655);
    setMaximumHeight(6000);
    setWindowIcon(QIcon(QStringLiteral(":/icon/images/window.png")));
    setIconSize(QSize(32, 32));
    setWindowTitle(texts().windowTitle);

    centralwidget = new QWidget(this);
    centralwidget->setObjectName(QStringLiteral("centralwidget"));
    horizontalLayout = new QHBoxLayout(centralwidget);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    gridLayout = new QGridLayout();
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    gridLayout->setVerticalSpacing(0);
    horizontalLayout->addLayout(gridLayout);

    gridLayout->addItem(new QSpacerItem(5, 5, QSizePolicy::Fixed, QSizePolicy::Minimum), 0, 0);
    gridLayout->addItem(new QSpacerItem(88, 5, QSizePolicy::Fixed, QSizePolicy::Minimum), 0, 1);
    gridLayout->addItem(new QSpacerItem(5, 5, QSizePolicy::Fixed, QSizePolicy::Minimum), 0, 8);

    scrollArea = new QScrollArea(centralwidget);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    scrollArea->setMinimumSize(88, 440);
    scrollArea->setLineWidth(1);
    scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea->setWidgetResizable(true);
    scrollArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scrollAreaWidgetContents = new QWidget();
    scrollAreaWidgetContents->setObjectName(QStringLiteral("scrollAreaWidgetContents"));
    scrollAreaWidgetContents->setGeometry(0, 0, 86, 641);
    // The buttons are placed by hand, so the column needs its full height to scroll.
    scrollAreaWidgetContents->setMinimumHeight(641);
    scrollArea->setWidget(scrollAreaWidgetContents);
    // Down to the window's foot, beside the table's footnote too, so that no line under the
    // table takes height from the buttons.
    gridLayout->addWidget(scrollArea, 1, 1, 7, 1);

    label = new QLabel(texts().fromLabel, centralwidget);
    label->setObjectName(QStringLiteral("label"));
    label->setFixedWidth(30);
    gridLayout->addWidget(label, 1, 2);

    const auto makeDateEdit = [this](const char *name, const QDate &date) {
        // Typing a date recomputes the page once, when editing is finished.
        auto *edit = new DateField(date, centralwidget);
        edit->setObjectName(QLatin1StringView(name));
        connect(edit, &DateField::dateRefused, this, [this](const QString &typed) {
            statusbar->showMessage(windowTexts().dateNotRead.arg(typed), 8000);
        });
        return edit;
    };
    dateEditFrom = makeDateEdit("dateEditFrom", QDate(2800, 1, 1));
    gridLayout->addWidget(dateEditFrom, 1, 3);

    comboTournaments = new QComboBox(centralwidget);
    comboTournaments->setObjectName(QStringLiteral("comboTournaments"));
    comboTournaments->setEditable(false);
    // A long tournament name never widens the window.
    comboTournaments->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    comboTournaments->setMinimumContentsLength(20);
    gridLayout->addWidget(comboTournaments, 1, 4);

    pushRefresh = new QPushButton(texts().refresh, centralwidget);
    pushRefresh->setObjectName(QStringLiteral("pushRefresh"));
    pushRefresh->setMaximumWidth(100);
    gridLayout->addWidget(pushRefresh, 1, 5);

    pushBack = new QPushButton(texts().back, centralwidget);
    pushBack->setObjectName(QStringLiteral("pushBack"));
    pushBack->setMaximumWidth(100);
    gridLayout->addWidget(pushBack, 1, 6);

    gridLayout->addItem(new QSpacerItem(20, 6, QSizePolicy::Minimum, QSizePolicy::Fixed), 2, 3);

    label_2 = new QLabel(texts().tillLabel, centralwidget);
    label_2->setObjectName(QStringLiteral("label_2"));
    gridLayout->addWidget(label_2, 3, 2);

    dateEditTill = makeDateEdit("dateEditTill", QDate(1800, 1, 1));
    gridLayout->addWidget(dateEditTill, 3, 3);

    checkBoxID = new QCheckBox(texts().considerId, centralwidget);
    checkBoxID->setObjectName(QStringLiteral("checkBoxID"));
    checkBoxID->setChecked(false);
    gridLayout->addWidget(checkBoxID, 3, 4);

    gridLayout->addItem(new QSpacerItem(20, 6, QSizePolicy::Minimum, QSizePolicy::Fixed), 4, 3);

    table = new QTableWidget(centralwidget);
    table->setObjectName(QStringLiteral("table"));
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    gridLayout->addWidget(table, 5, 2, 1, 6);

    text = new QTextBrowser(centralwidget);
    text->setObjectName(QStringLiteral("text"));
    text->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Reports carry no links of their own; a click must never replace the shown document.
    text->setOpenLinks(false);
    gridLayout->addWidget(text, 6, 2, 1, 6);

    setCentralWidget(centralwidget);

    menubar = new QMenuBar(this);
    menubar->setObjectName(QStringLiteral("menubar"));
    setMenuBar(menubar);
    statusbar = new QStatusBar(this);
    statusbar->setObjectName(QStringLiteral("statusbar"));
    setStatusBar(statusbar);
}

void MainWindow::buildMenus()
{
    const Texts &t = texts();
    actionExit = newAction(this, "actionExit", t.actionExit);
    actionCalculateTable = newAction(this, "actionCalculateTable", t.actionTable);
    actionCalculateGoals = newAction(this, "actionCalculateGoals", t.actionGoals);
    actionCalculateReferies = newAction(this, "actionCalculateReferies", t.actionReferees);
    actionCalculateMatches = newAction(this, "actionCalculateMatches", t.actionMatches);
    actionSaveAsText = newAction(this, "actionSaveAsText", t.actionSaveAsText);
    actionImport = newAction(this, "actionImport", t.actionImport);
    actionAbout = newAction(this, "actionAbout", t.actionAbout);
    actionCalculateCoaches = newAction(this, "actionCalculateCoaches", t.actionCoaches);
    actionCalculateStadiums = newAction(this, "actionCalculateStadiums", t.actionStadiums);
    actionCalculatePlayers = newAction(this, "actionCalculatePlayers", t.actionPlayers);
    actionCalculateTeams = newAction(this, "actionCalculateTeams", t.actionTeams);
    actionVerifyPlayers = newAction(this, "actionVerifyPlayers", t.actionVerifyPlayers);
    actionVerifyAttendance = newAction(this, "actionVerifyAttendance", t.actionVerifyAttendance);
    actionVerifyPlayers2 = newAction(this, "actionVerifyPlayers2", t.actionVerifyPlayers2);
    actionFindPlayer = newAction(this, "actionFindPlayer", t.actionFindPlayer);
    actionFindCoach = newAction(this, "actionFindCoach", t.actionFindCoach);
    actionSaveAsSwb = newAction(this, "actionSaveAsSwb", t.actionSaveAs);
    actionOpenSwb = newAction(this, "actionOpenSwb", t.actionOpen);
    actionAddReport = newAction(this, "actionAddReport", t.actionAddReport);
    actionEditReport = newAction(this, "actionEditReport", t.actionEditReport);
    actionNewSwb = newAction(this, "actionNewSwb", t.actionNew);
    actionSave = newAction(this, "actionSave", t.actionSave);

    const auto newMenu = [](QWidget *parent, const char *name, const QString &title) {
        auto *m = new QMenu(title, parent);
        m->setObjectName(QLatin1StringView(name));
        return m;
    };

    menuFile = newMenu(menubar, "menuFile", t.menuFile);
    menuFile->addAction(actionNewSwb);
    menuFile->addAction(actionOpenSwb);
    menuFile->addAction(actionSave);
    menuFile->addAction(actionSaveAsSwb);
    menuFile->addAction(actionImport);
    menuFile->addAction(actionSaveAsText);
    menuFile->addSeparator();
    menuFile->addAction(actionExit);

    menu = newMenu(menubar, "menu", t.menuStatistics);
    menu_4 = newMenu(menu, "menu_4", t.menuPlayers);
    menu_4->addAction(actionCalculateGoals);
    menu_4->addAction(actionCalculatePlayers);
    menu_8 = newMenu(menu, "menu_8", t.menuTeams);
    menu_8->addAction(actionCalculateTeams);
    menu_8->addAction(actionCalculateTable);
    menu_3 = newMenu(menu, "menu_3", t.menuMatches);
    menu_3->addAction(actionCalculateMatches);
    menu_7 = newMenu(menu, "menu_7", t.menuStadiums);
    menu_7->addAction(actionCalculateStadiums);
    menu_5 = newMenu(menu, "menu_5", t.menuReferees);
    menu_5->addAction(actionCalculateReferies);
    menu_6 = newMenu(menu, "menu_6", t.menuCoaches);
    menu_6->addAction(actionCalculateCoaches);
    for (QMenu *sub : {menu_4, menu_8, menu_3, menu_7, menu_5, menu_6})
        menu->addMenu(sub);

    menu_9 = newMenu(menubar, "menu_9", t.menuCheck);
    menu_9->addAction(actionVerifyPlayers);
    menu_9->addAction(actionVerifyAttendance);
    menu_9->addAction(actionVerifyPlayers2);

    menu_10 = newMenu(menubar, "menu_10", t.menuSearch);
    menu_10->addAction(actionFindPlayer);
    menu_10->addAction(actionFindCoach);

    menu_11 = newMenu(menubar, "menu_11", t.menuEdit);
    menu_11->addAction(actionAddReport);
    menu_11->addAction(actionEditReport);

    menu_2 = newMenu(menubar, "menu_2", t.menuHelp);
    menu_2->addAction(actionAbout);

    for (QMenu *top : {menuFile, menu, menu_9, menu_10, menu_11, menu_2})
        menubar->addMenu(top);
}

void MainWindow::buildModeButtons()
{
    const Texts &t = texts();
    QPushButton **buttons[] = {&pushButton_0, &pushButton_1, &pushButton_2,
                               &pushButton_3, &pushButton_4, &pushButton_5,
                               &pushButton_6, &pushButton_7, &pushButton_8};
    const QString toolTips[] = {t.modeStart,    t.actionTable, t.modeTeams,
                                t.modeReferees, t.modePlayers, t.modeMatches,
                                t.actionGoals,  t.modeCoaches, t.modeStadiums};
    for (int i = 0; i < 9; ++i) {
        auto *button = new QPushButton(scrollAreaWidgetContents);
        button->setObjectName(QStringLiteral("pushButton_%1").arg(i));
        button->setGeometry(7, 2 + 70 * i, 72, 72);
        button->setFixedSize(72, 72);
        button->setIcon(QIcon(QStringLiteral(":/icon/images/mode%1.png").arg(i)));
        button->setIconSize(QSize(64, 64));
        button->setToolTip(toolTips[i]);
        *buttons[i] = button;
    }

    QWidget *order[] = {
        scrollArea,   pushButton_0, pushButton_1, pushButton_2, pushButton_3, pushButton_4,
        pushButton_5, pushButton_6, pushButton_7, pushButton_8, dateEditFrom, comboTournaments,
        pushRefresh,  pushBack,     dateEditTill, checkBoxID,   table,        text};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void MainWindow::connectSignals()
{
    connect(actionExit, &QAction::triggered, this, &QWidget::close);
    connect(actionCalculateTable, &QAction::triggered, this, &MainWindow::callCalculateTable);
    connect(actionCalculateGoals, &QAction::triggered, this, &MainWindow::callCalculateGoals);
    connect(actionCalculateReferies, &QAction::triggered, this, &MainWindow::callCalculateReferies);
    connect(actionCalculateMatches, &QAction::triggered, this, &MainWindow::callCalculateMatches);
    connect(actionSaveAsText, &QAction::triggered, this, &MainWindow::saveAsText);
    connect(actionImport, &QAction::triggered, this, &MainWindow::import);
    connect(actionAbout, &QAction::triggered, this, &MainWindow::about);
    connect(actionCalculateCoaches, &QAction::triggered, this, &MainWindow::callCalculateCoaches);
    connect(actionCalculateStadiums, &QAction::triggered, this, &MainWindow::callCalculateStadiums);
    connect(actionCalculatePlayers, &QAction::triggered, this, &MainWindow::callCalculatePlayers);
    connect(actionCalculateTeams, &QAction::triggered, this, &MainWindow::callCalculateTeams);
    connect(actionVerifyPlayers, &QAction::triggered, this, &MainWindow::callVerifyPlayers);
    connect(actionVerifyAttendance, &QAction::triggered, this, &MainWindow::callVerifyAttendance);
    connect(actionVerifyPlayers2, &QAction::triggered, this, &MainWindow::callVerifyPlayers2);
    connect(actionFindPlayer, &QAction::triggered, this, &MainWindow::callFindPlayer);
    connect(actionFindCoach, &QAction::triggered, this, &MainWindow::callFindCoach);
    connect(actionSaveAsSwb, &QAction::triggered, this, &MainWindow::saveAsSwb);
    connect(actionOpenSwb, &QAction::triggered, this, &MainWindow::openSwb);
    connect(actionAddReport, &QAction::triggered, this, &MainWindow::addReport);
    connect(actionEditReport, &QAction::triggered, this, &MainWindow::editReport);
    connect(actionNewSwb, &QAction::triggered, this, &MainWindow::newSwb);
    connect(actionSave, &QAction::triggered, this, &MainWindow::save);

    connect(pushButton_0, &QPushButton::clicked, this, &MainWindow::selectMode0);
    connect(pushButton_1, &QPushButton::clicked, this, &MainWindow::selectMode1);
    connect(pushButton_2, &QPushButton::clicked, this, &MainWindow::selectMode2);
    connect(pushButton_3, &QPushButton::clicked, this, &MainWindow::selectMode3);
    connect(pushButton_4, &QPushButton::clicked, this, &MainWindow::selectMode4);
    connect(pushButton_5, &QPushButton::clicked, this, &MainWindow::selectMode5);
    connect(pushButton_6, &QPushButton::clicked, this, &MainWindow::selectMode6);
    connect(pushButton_7, &QPushButton::clicked, this, &MainWindow::selectMode7);
    connect(pushButton_8, &QPushButton::clicked, this, &MainWindow::selectMode8);

    connect(text, &QTextBrowser::anchorClicked, this, &MainWindow::linkActivated);
    connect(table, &QTableWidget::cellDoubleClicked, this, &MainWindow::cellSelected);
    connect(pushRefresh, &QPushButton::clicked, this, &MainWindow::refresh);
    connect(pushBack, &QPushButton::clicked, this, &MainWindow::back);
    connect(comboTournaments, &QComboBox::currentIndexChanged, this,
            &MainWindow::changeTournaments);
    connect(table, &QTableWidget::customContextMenuRequested, this, &MainWindow::contextMenu);
    // The dates and the ID choice recompute the shown page, as the tournament choice does.
    connect(dateEditFrom, &DateField::dateChanged, this, &MainWindow::filterChanged);
    connect(dateEditTill, &DateField::dateChanged, this, &MainWindow::filterChanged);
    connect(checkBoxID, &QCheckBox::toggled, this, &MainWindow::filterChanged);
}

void MainWindow::centreWindow()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(QPoint((available.left() + available.right()) / 2,
                            (available.top() + available.bottom()) / 2));
    move(frame.topLeft());
}

void MainWindow::showStartPage()
{
    // The page tells a database read from its file from a new one and from a file not found.
    const DocumentTexts &d = documentTexts();
    const QString shownPath =
        QDir::toNativeSeparators(openingFile.isEmpty() ? databasePath : openingFile)
            .toHtmlEscaped();
    QString html = texts().startPage.arg(shownPath, QString::number(store.count()));
    if (!openingFile.isEmpty()) {
        // The database named at start-up is still being read: nothing to say about it yet.
    } else if (document.hasFile()) {
        if (document.isReadOnly())
            html += d.startReadOnly;
    } else if (!missingFile.isEmpty() && missingFile == databasePath) {
        html += texts().startPageMissing.arg(shownPath);
    } else if (!databasePath.isEmpty()) {
        html += d.startNewNamed.arg(shownPath);
    } else {
        html += d.startNew;
    }
    // The pages leave undated matches out; their own page is a click away.
    if (const qsizetype undated = undatedCount(store))
        html += windowTexts().startPageUndated.arg(QString(PageCode::Undated),
                                                   countWithNoun(undated, nouns().matches));
    text->setHtml(html);
    showCaption(QString());
    updateModifiedMarker();
    actionSaveAsText->setEnabled(false);
    actionSaveReportXml->setEnabled(false);
    text->show();
    table->hide();
    showFootnote(QString(), QString());
    seasonChart->hide();
}

void MainWindow::about()
{
    dialogs()->about(this, texts().aboutTitle,
                     texts().aboutText.arg(QStringLiteral(SCOREWRIGHT_VERSION)));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!maybeSaveChanges()) {
        event->ignore();
        return;
    }
    writeSettings();
    event->accept();
}

void MainWindow::writeSettings() const
{
    // Only a database read from its file or saved is remembered, or the file named and not found:
    // a new one never saved would come back as a missing file.
    const QString remembered = document.hasFile() ? databasePath : missingFile;
    if (remembered.isEmpty())
        return;
    QSettings settings = AppSettings::open();
    settings.setValue(AppSettings::DataKey, remembered);
    settings.sync();
}
