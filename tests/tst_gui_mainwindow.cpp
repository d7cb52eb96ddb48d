// The main window: start-up, its command surface, the page dispatcher with its history, the
// result table (filling, sorting, links, context menu) and the text export.

#include "tst_gui_mainwindow_fakes.h"

#include "pages/builders.h"
#include "pages/pagecodes.h"
#include "pages/textexport.h"
#include "strings/texts.h"
#include "testsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Five reports in two tournaments over three days; team names that sort differently by code unit
// ("Беркут" < "ата") than by the locale.
MatchStore sampleStore()
{
    QList<Match> matches;
    const auto add = [&matches](const QString &file, const QString &date, const QString &team1,
                                const QString &team2, const QString &g1, const QString &g2,
                                const QString &tournament) {
        Match m = makeMatch(file, date, team1, team2, g1, g2);
        MatchData &d = m.edit();
        d.tournament = tournament;
        d.round = u"1"_s;
        d.stadium = u"Стадион "_s + team1;
        d.city = u"Город"_s;
        d.referee = u"Судья "_s + team2;
        d.coach1 = u"Тренер "_s + team1;
        d.coach2 = u"Тренер "_s + team2;
        d.players1 = lineup({u"Игрок1 "_s + team1, u"Игрок2 "_s + team1});
        d.players2 = lineup({u"Игрок1 "_s + team2});
        d.events = makeEvents({u"G|Игрок1 "_s + team1 + u"|"_s + team1});
        matches.append(m);
    };
    add(u"m1.xml"_s, u"2020-03-01"_s, u"ата"_s, u"Беркут"_s, u"2"_s, u"1"_s, u"Лига"_s);
    add(u"m2.xml"_s, u"2020-03-02"_s, u"Беркут"_s, u"Вымпел"_s, u"0"_s, u"0"_s, u"Лига"_s);
    add(u"m3.xml"_s, u"2020-03-02"_s, u"Вымпел"_s, u"ата"_s, u"1"_s, u"3"_s, u"Лига"_s);
    add(u"m4.xml"_s, u"2020-03-05"_s, u"ата"_s, u"Вымпел"_s, u"1"_s, u"0"_s, u"Кубок"_s);
    add(u"m5.xml"_s, u"2020-03-05"_s, u"Беркут"_s, u"ата"_s, u"2"_s, u"2"_s, u"Кубок"_s);
    return makeStore(matches);
}

// Every row of the widget in display order, visible cells and the link joined by '|'.
QStringList widgetLines(const QTableWidget *table)
{
    QStringList lines;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem *item = table->item(row, column);
            cells.append(item ? item->text() : QString());
        }
        lines.append(cells.join(QLatin1Char('|')));
    }
    return lines;
}

QStringList widgetHeaders(const QTableWidget *table)
{
    QStringList headers;
    for (int column = 0; column + 1 < table->columnCount(); ++column)
        headers.append(table->horizontalHeaderItem(column)->text());
    return headers;
}

QStringList menuEntries(const QMenu *menu)
{
    QStringList entries;
    for (const QAction *action : menu->actions())
        entries.append(action->isSeparator()
                           ? u"--"_s
                           : (action->menu() ? u">"_s : QString()) + action->text());
    return entries;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString samplePath;
    FakeDialogs dialogs;

    std::unique_ptr<MainWindow> sampleWindow()
    {
        dialogs = FakeDialogs();
        return startWindow(samplePath, dialogs);
    }

private Q_SLOTS:
    void initTestCase();
    void startUp_data();
    void startUp();
    void commandSurface();
    void pagesMatchTheCore_data();
    void pagesMatchTheCore();
    void history_data();
    void history();
    void emptyStoreAsksForData();
    void filterSelectsMatches();
    void runnerReportsProgress();
    void tableSortsByCodeUnits();
    void linksAreFollowed();
    void contextMenu_data();
    void contextMenu();
    void exportFollowsTheScreen();
    void reportPage();
};

void MainWindowTest::initTestCase()
{
    // A locale whose collation differs from plain code-unit order, so that the table's own order
    // is seen to be the plain one.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(u"home"_s));
    isolateSettings(dir.filePath(u"home"_s));
    QVERIFY2(testSettings().fileName().startsWith(dir.path()),
             qPrintable(testSettings().fileName()));
    samplePath = dir.filePath(u"sample.swb"_s);
    QVERIFY(writeStore(samplePath, sampleStore()));
}

void MainWindowTest::startUp_data()
{
    QTest::addColumn<QString>("setting"); // null: no key at all
    QTest::addColumn<bool>("demo");       // a demo.swb beside the executable
    QTest::addColumn<QString>("path");    // the database path the window ends with
    QTest::addColumn<int>("matches");

    const QString demo = QCoreApplication::applicationDirPath() + u"/demo.swb"_s;
    QTest::newRow("demo beside the program") << QString() << true << demo << 5;
    QTest::newRow("settings win over the demo") << u"@sample"_s << true << u"@sample"_s << 5;
    QTest::newRow("nothing at all") << QString() << false << QString() << 0;
    QTest::newRow("settings name a lost file") << u"@lost.swb"_s << false << u"@lost.swb"_s << 0;
    QTest::newRow("settings name a directory") << u"@"_s << false << QString() << 0;
}

void MainWindowTest::startUp()
{
    QFETCH(QString, setting);
    QFETCH(bool, demo);
    QFETCH(QString, path);
    QFETCH(int, matches);
    const auto resolve = [this](QString value) {
        if (value == u"@sample"_s)
            return samplePath;
        if (value.startsWith(QLatin1Char('@')))
            return dir.filePath(value.mid(1));
        return value;
    };
    setting = resolve(setting);
    path = resolve(path);

    const QString demoPath = QCoreApplication::applicationDirPath() + u"/demo.swb"_s;
    QFile::remove(demoPath);
    if (demo)
        QVERIFY(QFile::copy(samplePath, demoPath));
    dialogs = FakeDialogs();
    auto window = startWindow(setting, dialogs);
    QFile::remove(demoPath);

    QCOMPARE(dialogs.calls.size(), 0); // nothing of this is worth a message
    QCOMPARE(window->store.count(), matches);
    QCOMPARE(window->databasePath, path);
    QVERIFY(window->table->isHidden());
    QVERIFY(!window->text->isHidden());
    QVERIFY(!window->actionSaveAsText->isEnabled());
    const QString start = window->text->toPlainText();
    QVERIFY2(start.contains(u"Путь к файлу со статистикой: "_s + path + u"."_s), qPrintable(start));
    QVERIFY(start.contains(u"Матчей в базе: "_s + QString::number(matches) + u"."_s));
    QCOMPARE(window->comboTournaments->itemText(0), texts().allTournaments);
    QCOMPARE(window->comboTournaments->count(), matches ? 3 : 1);
    QCOMPARE(window->dateEditFrom->text(), matches ? u"01.03.2020"_s : u"31.12.2999"_s);
    QCOMPARE(window->dateEditTill->text(), matches ? u"05.03.2020"_s : u"01.01.1800"_s);

    // Closing writes the path, even an empty one.
    QVERIFY(window->close());
    QCOMPARE(settingsData(), path);
}

void MainWindowTest::commandSurface()
{
    auto window = sampleWindow();

    const QList<QMenu *> menus =
        window->menubar->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly);
    QStringList titles;
    for (const QAction *action : window->menubar->actions())
        titles.append(action->menu()->objectName() + u"="_s + action->text());
    QCOMPARE(titles,
             (QStringList{u"menuFile=Файл"_s, u"menu=Статистика"_s, u"menu_9=Проверка"_s,
                          u"menu_10=Поиск"_s, u"menu_11=Редактировать"_s, u"menu_2=Справка"_s}));
    QCOMPARE(menuEntries(window->menuFile),
             (QStringList{u"Создать новый swb файл"_s, u"Открыть swb файл"_s, u"Сохранить"_s,
                          u"Сохранить в swb файл"_s, u"Импортировать XML файлы"_s,
                          u"Сохранить таблицу как текст"_s, u"--"_s, u"--"_s, u"Выход"_s}));
    QCOMPARE(menuEntries(window->menu), (QStringList{u">Игроки"_s, u">Команды"_s, u">Матчи"_s,
                                                     u">Стадионы"_s, u">Судьи"_s, u">Тренеры"_s}));
    QCOMPARE(menuEntries(window->menu_4),
             (QStringList{u"Список бомбардиров"_s, u"Статистика по игрокам"_s}));
    QCOMPARE(menuEntries(window->menu_8),
             (QStringList{u"Статистика по командам"_s, u"Турнирная таблица"_s}));
    QCOMPARE(menuEntries(window->menu_9),
             (QStringList{u"В команде не 11 игроков"_s, u"Не указано число зрителей"_s,
                          u"Одна фамилия, но разный ID"_s}));
    QCOMPARE(menuEntries(window->menu_10), (QStringList{u"Найти игрока"_s, u"Найти тренера"_s}));
    QCOMPARE(menuEntries(window->menu_11),
             (QStringList{u"Добавить матч"_s, u"Редактировать матч"_s}));

    // The mode buttons: a column of 72-pixel tiles at steps of 70, each with an icon.
    for (int i = 0; i < 9; ++i) {
        const auto *button = window->findChild<QPushButton *>(u"pushButton_%1"_s.arg(i));
        QVERIFY(button);
        QCOMPARE(button->parentWidget(), window->scrollAreaWidgetContents);
        QCOMPARE(button->geometry(), QRect(7, 2 + 70 * i, 72, 72));
        QVERIFY(!button->icon().isNull());
        QVERIFY(button->text().isEmpty());
    }
    QCOMPARE(window->pushButton_1->toolTip(), u"Турнирная таблица"_s);
    QCOMPARE(window->pushButton_6->toolTip(), u"Список бомбардиров"_s);
    QVERIFY(!window->windowIcon().isNull());

    // Keyboard focus walks the column, the filter row, then the table and the report view.
    const QStringList expected{u"scrollArea"_s,   u"pushButton_0"_s, u"pushButton_1"_s,
                               u"pushButton_2"_s, u"pushButton_3"_s, u"pushButton_4"_s,
                               u"pushButton_5"_s, u"pushButton_6"_s, u"pushButton_7"_s,
                               u"pushButton_8"_s, u"dateEditFrom"_s, u"comboTournaments"_s,
                               u"pushRefresh"_s,  u"pushBack"_s,     u"dateEditTill"_s,
                               u"checkBoxID"_s,   u"table"_s,        u"text"_s};
    QWidget *widget = window->scrollArea;
    QStringList order{widget->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
        widget = widget->nextInFocusChain();
        // Widgets' own children (the date edit's line edit, scroll bars) sit between them.
        while (widget && !expected.contains(widget->objectName()))
            widget = widget->nextInFocusChain();
        QVERIFY(widget);
        order.append(widget->objectName());
    }
    QCOMPARE(order, expected);

    window->about();
    QCOMPARE(dialogs.kinds(), QStringList{u"about"_s});
    QCOMPARE(dialogs.calls.first().title, u"О программе Scorewright"_s);
    QVERIFY(dialogs.calls.first().text.startsWith(u"<h2>Scorewright</h2><p>"_s));
}

void MainWindowTest::pagesMatchTheCore_data()
{
    QTest::addColumn<QString>("trigger"); // an action's or a mode button's object name
    QTest::addColumn<QString>("code");

    const QList<std::pair<const char *, const char *>> triggers = {
        {"actionCalculateTable", "ta01_"},    {"pushButton_1", "ta01_"},
        {"actionCalculateTeams", "te01_"},    {"pushButton_2", "te01_"},
        {"actionCalculateReferies", "re01_"}, {"pushButton_3", "re01_"},
        {"actionCalculatePlayers", "pl01_"},  {"pushButton_4", "pl01_"},
        {"actionCalculateMatches", "ma01_"},  {"pushButton_5", "ma01_"},
        {"actionCalculateGoals", "go01_"},    {"pushButton_6", "go01_"},
        {"actionCalculateCoaches", "co01_"},  {"pushButton_7", "co01_"},
        {"actionCalculateStadiums", "st01_"}, {"pushButton_8", "st01_"},
        {"actionVerifyPlayers", "vpl1_"},     {"actionVerifyPlayers2", "vpl2_"},
        {"actionVerifyAttendance", "vat1_"},
    };
    for (const auto &[trigger, code] : triggers)
        QTest::newRow(trigger) << QString::fromLatin1(trigger) << QString::fromLatin1(code);
}

// Whatever reaches a page, the window shows exactly the table the core computes: same headers,
// widths, rows in the same order, same links.
void MainWindowTest::pagesMatchTheCore()
{
    QFETCH(QString, trigger);
    QFETCH(QString, code);
    auto window = sampleWindow();

    if (auto *action = window->findChild<QAction *>(trigger))
        action->trigger();
    else
        QTest::mouseClick(window->findChild<QPushButton *>(trigger), Qt::LeftButton);

    QCOMPARE(window->currentLink, code);
    QVERIFY(!window->table->isHidden());
    QVERIFY(window->text->isHidden());
    QVERIFY(window->actionSaveAsText->isEnabled());

    const TableData expected = runBuilder(window->store, findPageCode(code)->builder);
    QVERIFY(!expected.headers().isEmpty());
    QCOMPARE(widgetHeaders(window->table), expected.headers());
    QCOMPARE(window->table->columnCount(), expected.columnCount());
    QVERIFY(window->table->isColumnHidden(expected.linkColumn()));
    for (int column = 0; column < expected.linkColumn(); ++column)
        QCOMPARE(window->table->columnWidth(column), expected.columnWidth(column));
    QCOMPARE(widgetLines(window->table), tableLines(expected));
    QVERIFY(window->table->isSortingEnabled());
    QCOMPARE(window->table->horizontalHeader()->sortIndicatorSection(), expected.sortColumn());

    // Cells can be selected, never edited.
    if (window->table->rowCount() > 0)
        QCOMPARE(window->table->item(0, 0)->flags(), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
}

void MainWindowTest::history_data()
{
    // Steps: a page code to show, "back", "refresh", "start" (the start-page button); after each,
    // the page on screen ("start" or its code).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("back toggles between the last two")
        << QStringList{u"ta01_"_s, u"go01_"_s, u"back"_s, u"back"_s}
        << QStringList{u"ta01_"_s, u"go01_"_s, u"ta01_"_s, u"go01_"_s};
    QTest::newRow("refresh makes the page its own previous")
        << QStringList{u"ta01_"_s, u"go01_"_s, u"refresh"_s, u"back"_s}
        << QStringList{u"ta01_"_s, u"go01_"_s, u"go01_"_s, u"go01_"_s};
    QTest::newRow("the start page leaves history alone")
        << QStringList{u"ta01_"_s, u"go01_"_s, u"start"_s, u"refresh"_s, u"start"_s, u"back"_s}
        << QStringList{u"ta01_"_s, u"go01_"_s, u"start"_s, u"go01_"_s, u"start"_s, u"go01_"_s};
    QTest::newRow("nothing to go back to")
        << QStringList{u"back"_s, u"refresh"_s, u"ma01_"_s, u"back"_s}
        << QStringList{u"start"_s, u"start"_s, u"ma01_"_s, u"ma01_"_s};
    QTest::newRow("a report page in the history")
        << QStringList{u"ma01_"_s, u"xm01_m3.xml"_s, u"back"_s, u"back"_s}
        << QStringList{u"ma01_"_s, u"xm01_"_s, u"ma01_"_s, u"xm01_"_s};
}

void MainWindowTest::history()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, shown);
    auto window = sampleWindow();

    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QString &step = steps.at(i);
        if (step == u"back"_s)
            QTest::mouseClick(window->pushBack, Qt::LeftButton);
        else if (step == u"refresh"_s)
            QTest::mouseClick(window->pushRefresh, Qt::LeftButton);
        else if (step == u"start"_s)
            QTest::mouseClick(window->pushButton_0, Qt::LeftButton);
        else
            window->showPage(step, QString());

        QString onScreen = u"start"_s;
        if (!window->table->isHidden())
            onScreen = window->currentLink.left(5);
        else if (!window->text->toPlainText().contains(u"Путь к файлу"_s))
            onScreen = u"xm01_"_s;
        QVERIFY2(onScreen == shown.at(i),
                 qPrintable(u"step %1 (%2): %3"_s.arg(i).arg(step, onScreen)));
        if (onScreen == u"start"_s)
            QVERIFY(!window->actionSaveAsText->isEnabled());
    }
    QCOMPARE(dialogs.calls.size(), 0);
}

void MainWindowTest::emptyStoreAsksForData()
{
    dialogs = FakeDialogs();
    auto window = startWindow(QString(), dialogs);
    window->callCalculateTable();
    QCOMPARE(dialogs.kinds(), QStringList{u"information"_s});
    QCOMPARE(dialogs.calls.first().title, u"Нет данных"_s);
    QCOMPARE(dialogs.calls.first().text, u"Нет данных. Выберите файл с результатами."_s);
    QVERIFY(window->table->isHidden()); // the start page stays
    window->refresh();
    QCOMPARE(dialogs.calls.size(), 2);
}

void MainWindowTest::filterSelectsMatches()
{
    auto window = sampleWindow();
    window->callCalculateMatches();
    QCOMPARE(window->table->rowCount(), 5);

    // Choosing a tournament re-runs the page; dates and the ID box wait for "Обновить".
    window->comboTournaments->setCurrentText(u"Кубок"_s);
    QCOMPARE(window->table->rowCount(), 2);
    window->dateEditTill->setDate(QDate(2020, 3, 4));
    QCOMPARE(window->table->rowCount(), 2);
    window->comboTournaments->setCurrentIndex(0);
    QCOMPARE(window->table->rowCount(), 3); // both bounds inclusive: 1 and 2 March
    window->dateEditFrom->setDate(QDate(2020, 3, 2));
    window->refresh();
    QCOMPARE(window->table->rowCount(), 2);
}

void MainWindowTest::runnerReportsProgress()
{
    QList<Match> matches;
    for (int i = 0; i < 2500; ++i)
        matches.append(
            makeMatch(u"f%1.xml"_s.arg(i), u"2021-05-01"_s, u"A"_s, u"B"_s, u"1"_s, u"0"_s));
    const QString path = dir.filePath(u"many.swb"_s);
    QVERIFY(writeStore(path, makeStore(matches)));
    dialogs = FakeDialogs();
    auto window = startWindow(path, dialogs);

    QSignalSpy messages(window->statusbar, &QStatusBar::messageChanged);
    window->callCalculateTable();
    QStringList texts;
    for (const QList<QVariant> &message : messages)
        texts.append(message.first().toString());
    texts.removeAll(QString());
    QCOMPARE(texts.size(), 4);
    QCOMPARE(texts.mid(0, 3),
             (QStringList{u"Читаем с диска..."_s, u"Читаем из памяти... (1000 файлов)"_s,
                          u"Читаем из памяти... (2000 файлов)"_s}));
    QVERIFY2(QRegularExpression(u"^Время: \\d+ мс\\.$"_s).match(texts.last()).hasMatch(),
             qPrintable(texts.last()));
}

void MainWindowTest::tableSortsByCodeUnits()
{
    auto window = sampleWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->callCalculateTable();
    QTableWidget *table = window->table;
    const auto teams = [table] {
        QStringList list;
        for (int row = 0; row < table->rowCount(); ++row)
            list.append(table->item(row, 0)->text());
        return list;
    };

    // A click on the team header sorts by it; capital Cyrillic letters come before small ones,
    // whatever the locale says. A second click reverses the order.
    QHeaderView *header = table->horizontalHeader();
    const QPoint teamHeader(header->sectionViewportPosition(0) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, teamHeader);
    const QStringList first = teams();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, teamHeader);
    const QStringList second = teams();
    const QStringList ascending{u"Беркут"_s, u"Вымпел"_s, u"ата"_s};
    const QStringList descending{u"ата"_s, u"Вымпел"_s, u"Беркут"_s};
    QVERIFY2((first == ascending && second == descending) ||
                 (first == descending && second == ascending),
             qPrintable(first.join(u',') + u" / "_s + second.join(u',')));
}

void MainWindowTest::linksAreFollowed()
{
    auto window = sampleWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->callCalculateTable();
    QTableWidget *table = window->table;
    const int row = int(table->findItems(u"Вымпел"_s, Qt::MatchExactly).first()->row());

    // A double-click on a team leads to its matches, and one on a match to its report.
    const QRect cell = table->visualItemRect(table->item(row, 0));
    // The view follows a double-click only on the cell that was pressed first.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(window->currentLink, u"ta02_Вымпел"_s);
    QCOMPARE(table->rowCount(), 3);
    table->sortByColumn(0, Qt::AscendingOrder);
    const QString link = table->item(0, table->columnCount() - 1)->text();
    window->cellSelected(0, 1);
    QCOMPARE(window->currentLink, link);
    QVERIFY(link.startsWith(u"xm01_"_s));
    QVERIFY(table->isHidden());

    // Row -1 or column -1 (a click beside the cells) leads nowhere.
    window->back();
    window->cellSelected(0, -1);
    window->cellSelected(-1, 0);
    QCOMPARE(window->currentLink, u"ta02_Вымпел"_s);
}

void MainWindowTest::contextMenu_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("belowLastRow");
    QTest::addColumn<QStringList>("menu");
    QTest::addColumn<QString>("menuChoice"); // null: no page followed

    const QStringList details{u"Подробности"_s};
    const QStringList referees{u"Все матчи"_s, u"Матчи с пенальти"_s};
    QTest::newRow("details") << u"ta01_"_s << 0 << false << details << u"Подробности"_s;
    QTest::newRow("closed without a choice") << u"ta01_"_s << -1 << false << details << QString();
    QTest::newRow("below the last row") << u"ta01_"_s << 0 << true << details << QString();
    QTest::newRow("referee page, second entry")
        << u"re01_"_s << 1 << false << referees << u"Матчи с пенальти"_s;
}

void MainWindowTest::contextMenu()
{
    QFETCH(QString, page);
    QFETCH(int, choice);
    QFETCH(bool, belowLastRow);
    QFETCH(QStringList, menu);
    QFETCH(QString, menuChoice);
    auto window = sampleWindow();
    window->resize(1011, 709);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->showPage(page, QString());
    QTableWidget *table = window->table;
    QVERIFY(table->rowCount() > 0);

    const QRect cell = table->visualItemRect(table->item(0, 0));
    const QPoint pos =
        belowLastRow
            ? QPoint(cell.center().x(),
                     table->visualItemRect(table->item(table->rowCount() - 1, 0)).bottom() + 20)
            : cell.center();
    const QString rowLink = table->item(0, table->columnCount() - 1)->text();
    dialogs.menuAnswer = choice;
    window->contextMenu(pos);

    QCOMPARE(dialogs.lastMenu, menu);
    if (menuChoice.isNull()) {
        QCOMPARE(window->currentLink, page);
    } else {
        QCOMPARE(window->currentLink, rowLink);
        QCOMPARE(window->currentMenuChoice, menuChoice);
        QCOMPARE(window->previousLink, page);
        // The menu entries go back to the default for the new page.
        QCOMPARE(window->menuLabels, QStringList{u"Подробности"_s});
    }
}

// The export writes what the user sees: rows in the order on screen after a re-sort, columns at
// their current widths, the hidden link column left out.
void MainWindowTest::exportFollowsTheScreen()
{
    auto window = sampleWindow();
    window->callCalculateMatches();
    QTableWidget *table = window->table;
    table->sortByColumn(2, Qt::DescendingOrder);
    table->setColumnWidth(1, 200);

    TableData expected = runBuilder(window->store, calculateMatches);
    expected.resort(2, Qt::DescendingOrder);
    expected.setColumnWidth(1, 200);
    const QByteArray wanted = exportText(snapshotOf(expected)).toLocal8Bit();
    QVERIFY(wanted.count('\n') == 5 + 4);

    const QString path = dir.filePath(u"export.txt"_s);
    dialogs.fileAnswers = QStringList{path};
    window->saveAsText();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), wanted);
    QCOMPARE(dialogs.calls.first().title, u"Выберите имя файла"_s);
    QCOMPARE(dialogs.calls.first().text, QString()); // no file filter

    // Cancelled: nothing written. Unwritable: a message naming the file.
    QVERIFY(QFile::remove(path));
    window->saveAsText();
    QVERIFY(!QFile::exists(path));
    const QString unwritable = dir.filePath(u"no/such/dir/export.txt"_s);
    dialogs.fileAnswers = QStringList{unwritable};
    window->saveAsText();
    QCOMPARE(dialogs.calls.last().kind, u"warning"_s);
    QVERIFY(dialogs.calls.last().text.contains(unwritable));
}

void MainWindowTest::reportPage()
{
    auto window = sampleWindow();
    window->callCalculateTable();
    QVERIFY(window->actionSaveAsText->isEnabled());
    window->showPage(u"xm01_m4.xml"_s, QString());
    QVERIFY(window->table->isHidden());
    QVERIFY(!window->actionSaveAsText->isEnabled());
    const QString report = window->text->toPlainText();
    QVERIFY2(report.contains(u"ата - Вымпел - 1:0"_s), qPrintable(report));
    // The event icons come from the program's resources.
    QVERIFY(!window->text->document()
                 ->resource(QTextDocument::ImageResource, QUrl(u":/icon/images/goal.png"_s))
                 .isNull());

    // A report is found whatever the filter says; an unknown one leaves the view empty.
    window->comboTournaments->setCurrentText(u"Лига"_s);
    window->showPage(u"xm01_m4.xml"_s, QString());
    QVERIFY(window->text->toPlainText().contains(u"Кубок"_s));
    window->showPage(u"xm01_nothing.xml"_s, QString());
    QVERIFY(window->text->toPlainText().isEmpty());
    QVERIFY(window->table->isHidden());
}

QTEST_MAIN(MainWindowTest)
#include "tst_gui_mainwindow.moc"
