// The main window: start-up, the pages as the core computes them, history, the result table
// (sorting, links, context menu), progress messages and the text export.

#include "tst_gui_mainwindow_fakes.h"

#include "pages/builders.h"
#include "pages/pagecodes.h"
#include "pages/textexport.h"
#include "strings/texts.h"
#include "testsupport.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Five reports in two tournaments over three days. "ата" sorts after "Беркут" by code unit but
// before it under a Russian collation.
MatchStore sampleStore()
{
    QList<Match> matches;
    const QStringList rows{
        u"m1|2020-03-01|ата|Беркут|2|1|Лига"_s, u"m2|2020-03-02|Беркут|Вымпел|0|0|Лига"_s,
        u"m3|2020-03-02|Вымпел|ата|1|3|Лига"_s, u"m4|2020-03-05|ата|Вымпел|1|0|Кубок"_s,
        u"m5|2020-03-05|Беркут|ата|2|2|Кубок"_s};
    for (const QString &row : rows) {
        const QStringList f = row.split(u'|');
        Match m = makeMatch(f[0] + u".xml"_s, f[1], f[2], f[3], f[4], f[5]);
        MatchData &d = m.edit();
        d.tournament = f[6];
        d.stadium = u"Стадион "_s + f[2];
        d.referee = u"Судья "_s + f[3];
        d.coach1 = u"Тренер "_s + f[2];
        d.players1 = lineup({u"Игрок "_s + f[2]});
        d.events = makeEvents({u"G|Игрок "_s + f[2] + u"|"_s + f[2]});
        matches.append(m);
    }
    return makeStore(matches);
}

// Every row of the widget in display order: all cells, the link last, joined by '|'.
QStringList widgetLines(const QTableWidget *table)
{
    QStringList lines;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells.append(table->item(row, column) ? table->item(row, column)->text() : QString());
        lines.append(cells.join(u'|'));
    }
    return lines;
}

QStringList column0(const QTableWidget *table)
{
    QStringList cells;
    for (int row = 0; row < table->rowCount(); ++row)
        cells.append(table->item(row, 0)->text());
    return cells;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString samplePath;
    FakeDialogs dialogs;

    std::unique_ptr<MainWindow> sampleWindow(bool shown = false)
    {
        dialogs = FakeDialogs();
        auto window = startWindow(samplePath, dialogs);
        if (shown) {
            window->show();
            if (!QTest::qWaitForWindowExposed(window.get()))
                return nullptr;
        }
        return window;
    }
    // What the lower area shows: "start", "report" or the code of the table page.
    static QString shown(const MainWindow &w)
    {
        if (!w.table->isHidden())
            return w.currentLink.left(5);
        return w.text->toPlainText().contains(u"Путь к файлу"_s) ? u"start"_s : u"report"_s;
    }

private Q_SLOTS:
    void initTestCase();
    void startUp_data();
    void startUp();
    void pagesMatchTheCore_data();
    void pagesMatchTheCore();
    void history_data();
    void history();
    void filterAndEmptyStore();
    void runnerReportsProgress();
    void tableSortsByPlainText();
    void linksAreFollowed_data();
    void linksAreFollowed();
    void exportFollowsTheScreen();
};

void MainWindowTest::initTestCase()
{
    // A collation that differs from code-unit order shows that the table sorts by the latter.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(u"home"_s));
    isolateSettings(dir.filePath(u"home"_s));
    QVERIFY(testSettings().fileName().startsWith(dir.path()));
    samplePath = dir.filePath(u"sample.swb"_s);
    QVERIFY(writeStore(samplePath, sampleStore()));
}

void MainWindowTest::startUp_data()
{
    QTest::addColumn<QString>("setting"); // "@name" is a file in the temporary directory
    QTest::addColumn<bool>("demo");       // a demo.swb beside the executable
    QTest::addColumn<QString>("path");    // the database path the window ends with
    QTest::addColumn<int>("matches");

    const QString demo = QCoreApplication::applicationDirPath() + u"/demo.swb"_s;
    QTest::newRow("demo beside the program") << QString() << true << demo << 5;
    QTest::newRow("settings win over the demo")
        << u"@sample.swb"_s << true << u"@sample.swb"_s << 5;
    QTest::newRow("nothing at all") << QString() << false << QString() << 0;
    QTest::newRow("a lost file") << u"@lost.swb"_s << false << u"@lost.swb"_s << 0;
    QTest::newRow("a directory") << u"@"_s << false << QString() << 0;
}

void MainWindowTest::startUp()
{
    QFETCH(QString, setting);
    QFETCH(bool, demo);
    QFETCH(QString, path);
    QFETCH(int, matches);
    const auto resolve = [this](const QString &v) {
        return v.startsWith(u'@') ? dir.filePath(v.mid(1)) : v;
    };
    const QString demoPath = QCoreApplication::applicationDirPath() + u"/demo.swb"_s;
    if (demo)
        QVERIFY(QFile::copy(samplePath, demoPath));
    dialogs = FakeDialogs();
    auto window = startWindow(resolve(setting), dialogs);
    QFile::remove(demoPath);
    path = resolve(path);

    QCOMPARE(dialogs.calls.size(), 0); // none of this is worth a message
    QCOMPARE(window->store.count(), matches);
    QCOMPARE(window->databasePath, path);
    QCOMPARE(shown(*window), u"start"_s);
    QVERIFY(!window->actionSaveAsText->isEnabled());
    const QString start = window->text->toPlainText();
    QVERIFY(start.contains(u"Путь к файлу со статистикой: "_s + path + u"."_s));
    QVERIFY(start.contains(u"Матчей в базе: %1."_s.arg(matches)));
    QCOMPARE(window->comboTournaments->count(), matches ? 3 : 1);
    QCOMPARE(window->dateEditFrom->text(), matches ? u"01.03.2020"_s : u"31.12.2999"_s);
    QCOMPARE(window->dateEditTill->text(), matches ? u"05.03.2020"_s : u"01.01.1800"_s);

    QVERIFY(window->close()); // closing writes the path, even an empty one
    QCOMPARE(settingsData(), path);
}

void MainWindowTest::pagesMatchTheCore_data()
{
    QTest::addColumn<QString>("trigger"); // an action's or a mode button's object name
    QTest::addColumn<QString>("code");
    const char *const triggers[][2] = {
        {"actionCalculateTable", "ta01_"},    {"pushButton_1", "ta01_"},
        {"actionCalculateTeams", "te01_"},    {"pushButton_2", "te01_"},
        {"actionCalculateReferies", "re01_"}, {"pushButton_3", "re01_"},
        {"actionCalculatePlayers", "pl01_"},  {"pushButton_4", "pl01_"},
        {"actionCalculateMatches", "ma01_"},  {"pushButton_5", "ma01_"},
        {"actionCalculateGoals", "go01_"},    {"pushButton_6", "go01_"},
        {"actionCalculateCoaches", "co01_"},  {"pushButton_7", "co01_"},
        {"actionCalculateStadiums", "st01_"}, {"pushButton_8", "st01_"},
        {"actionVerifyPlayers", "vpl1_"},     {"actionVerifyPlayers2", "vpl2_"},
        {"actionVerifyAttendance", "vat1_"}};
    for (const auto &[trigger, code] : triggers)
        QTest::newRow(trigger) << QString::fromLatin1(trigger) << QString::fromLatin1(code);
}

// Whatever reaches a page, the window shows exactly the table the core computes: headers,
// widths, rows in the same order, links in the hidden last column, the sort indicator.
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
    QCOMPARE(shown(*window), code);
    QVERIFY(window->actionSaveAsText->isEnabled());
    const TableData expected = runBuilder(window->store, findPageCode(code)->builder);
    QTableWidget *table = window->table;
    QStringList headers;
    QList<int> widths;
    for (int column = 0; column < expected.linkColumn(); ++column) {
        headers.append(table->horizontalHeaderItem(column)->text());
        widths.append(table->columnWidth(column));
    }
    QCOMPARE(headers, expected.headers());
    QCOMPARE(widths, expected.columnWidths());
    QCOMPARE(table->columnCount(), expected.columnCount());
    QVERIFY(table->isColumnHidden(expected.linkColumn()));
    QCOMPARE(widgetLines(table), tableLines(expected));
    QCOMPARE(table->horizontalHeader()->sortIndicatorSection(), expected.sortColumn());
    if (table->rowCount() > 0) // cells can be selected, never edited
        QCOMPARE(table->item(0, 0)->flags(), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
}

void MainWindowTest::history_data()
{
    // Steps: a link to show, or the buttons "back", "refresh", "start"; after each, what is
    // shown.
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
    QTest::newRow("a report and an unknown code")
        << QStringList{u"ma01_"_s, u"xm01_m3.xml"_s, u"zz99_"_s, u"back"_s}
        << QStringList{u"ma01_"_s, u"report"_s, u"report"_s, u"report"_s};
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
        QCOMPARE(this->shown(*window) + u" after "_s + step, shown.at(i) + u" after "_s + step);
        QCOMPARE(window->actionSaveAsText->isEnabled(), !window->table->isHidden());
    }
    QCOMPARE(dialogs.calls.size(), 0);
}

void MainWindowTest::filterAndEmptyStore()
{
    auto window = sampleWindow();
    window->callCalculateMatches();
    QCOMPARE(window->table->rowCount(), 5);
    // Choosing a tournament re-runs the page; the dates wait for "Обновить"; bounds are
    // inclusive.
    window->comboTournaments->setCurrentText(u"Кубок"_s);
    QCOMPARE(window->table->rowCount(), 2);
    window->dateEditTill->setDate(QDate(2020, 3, 4));
    QCOMPARE(window->table->rowCount(), 2);
    window->comboTournaments->setCurrentIndex(0);
    QCOMPARE(window->table->rowCount(), 3);
    window->dateEditFrom->setDate(QDate(2020, 3, 2));
    window->refresh();
    QCOMPARE(window->table->rowCount(), 2);

    // An empty store: every page request says so, and the screen stays as it was.
    auto empty = startWindow(QString(), dialogs);
    empty->callCalculateTable();
    empty->refresh();
    QCOMPARE(dialogs.kinds(), (QStringList{u"information"_s, u"information"_s}));
    QCOMPARE(dialogs.calls.first().title, u"Нет данных"_s);
    QCOMPARE(dialogs.calls.first().text, u"Нет данных. Выберите файл с результатами."_s);
    QCOMPARE(shown(*empty), u"start"_s);
}

void MainWindowTest::runnerReportsProgress()
{
    QList<Match> matches;
    for (int i = 0; i < 2500; ++i)
        matches.append(makeMatch(u"f%1.xml"_s.arg(i), u"2021-05-01"_s, u"A"_s, u"B"_s));
    const QString path = dir.filePath(u"many.swb"_s);
    QVERIFY(writeStore(path, makeStore(matches)));
    auto window = startWindow(path, dialogs);

    QSignalSpy spy(window->statusbar, &QStatusBar::messageChanged);
    window->callCalculateTable();
    QStringList messages;
    for (const QList<QVariant> &message : spy)
        messages.append(message.first().toString());
    messages.removeAll(QString());
    QCOMPARE(messages.size(), 4);
    QCOMPARE(messages.mid(0, 3),
             (QStringList{u"Читаем с диска..."_s, u"Читаем из памяти... (1000 файлов)"_s,
                          u"Читаем из памяти... (2000 файлов)"_s}));
    QVERIFY(QRegularExpression(u"^Время: \\d+ мс\\.$"_s).match(messages.last()).hasMatch());
}

// A click on a header sorts by plain code-unit order (capitals first), whatever the locale
// says; a second click reverses it.
void MainWindowTest::tableSortsByPlainText()
{
    auto window = sampleWindow(true);
    QVERIFY(window);
    window->callCalculateTable();
    QHeaderView *header = window->table->horizontalHeader();
    const QPoint teamHeader(header->sectionViewportPosition(0) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, teamHeader);
    const QStringList first = column0(window->table);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, teamHeader);
    QStringList ascending{u"Беркут"_s, u"Вымпел"_s, u"ата"_s};
    if (first != ascending)
        std::reverse(ascending.begin(), ascending.end());
    QCOMPARE(first, ascending);
    std::reverse(ascending.begin(), ascending.end());
    QCOMPARE(column0(window->table), ascending);
}

void MainWindowTest::linksAreFollowed_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("how"); // "double-click", or the context-menu entry chosen
    QTest::addColumn<bool>("belowLastRow");
    QTest::addColumn<QStringList>("menu");   // entries offered
    QTest::addColumn<QString>("menuChoice"); // null: no page followed
    const QStringList details{u"Подробности"_s};
    QTest::newRow("double-click") << u"ta01_"_s << u"double-click"_s << false << QStringList()
                                  << QString(u""_s);
    QTest::newRow("details") << u"ta01_"_s << u"0"_s << false << details << u"Подробности"_s;
    QTest::newRow("menu closed") << u"ta01_"_s << u"-1"_s << false << details << QString();
    QTest::newRow("below the last row") << u"ta01_"_s << u"0"_s << true << details << QString();
    QTest::newRow("referee page, second entry")
        << u"re01_"_s << u"1"_s << false << QStringList{u"Все матчи"_s, u"Матчи с пенальти"_s}
        << u"Матчи с пенальти"_s;
}

void MainWindowTest::linksAreFollowed()
{
    QFETCH(QString, page);
    QFETCH(QString, how);
    QFETCH(bool, belowLastRow);
    QFETCH(QStringList, menu);
    QFETCH(QString, menuChoice);
    auto window = sampleWindow(true);
    QVERIFY(window);
    window->showPage(page, QString());
    QTableWidget *table = window->table;
    const int last = table->rowCount() - 1;
    const QRect cell = table->visualItemRect(table->item(0, 0));
    const QPoint pos(cell.center().x(),
                     belowLastRow ? table->visualItemRect(table->item(last, 0)).bottom() + 20
                                  : cell.center().y());
    const QString rowLink = table->item(0, table->columnCount() - 1)->text();

    if (how == u"double-click"_s) {
        // The view follows a double-click only on the cell that was pressed first.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, pos);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, pos);
    } else {
        dialogs.menuAnswer = how.toInt();
        window->contextMenu(pos);
        QCOMPARE(dialogs.lastMenu, menu);
    }
    if (menuChoice.isNull()) {
        QCOMPARE(window->currentLink, page);
        return;
    }
    QCOMPARE(window->currentLink, rowLink);
    QCOMPARE(window->currentMenuChoice, menuChoice);
    QCOMPARE(window->previousLink, page);
    QCOMPARE(window->menuLabels, QStringList{u"Подробности"_s}); // reset for the new page
}

// The export writes what the user sees: rows in the order on screen after a re-sort, columns at
// their current widths, the hidden link column left out.
void MainWindowTest::exportFollowsTheScreen()
{
    auto window = sampleWindow();
    window->callCalculateMatches();
    window->table->sortByColumn(2, Qt::DescendingOrder);
    window->table->setColumnWidth(1, 200);
    TableData expected = runBuilder(window->store, calculateMatches);
    expected.resort(2, Qt::DescendingOrder);
    expected.setColumnWidth(1, 200);

    const QString path = dir.filePath(u"export.txt"_s);
    dialogs.fileAnswers = QStringList{path};
    window->saveAsText();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), exportText(snapshotOf(expected)).toLocal8Bit());
    QCOMPARE(dialogs.calls.first().title, u"Выберите имя файла"_s);

    // Unwritable: a message naming the file.
    const QString unwritable = dir.filePath(u"no/such/dir/export.txt"_s);
    dialogs.fileAnswers = QStringList{unwritable};
    window->saveAsText();
    QCOMPARE(dialogs.calls.last().kind, u"warning"_s);
    QVERIFY(dialogs.calls.last().text.contains(unwritable));
}

QTEST_MAIN(MainWindowTest)
#include "tst_gui_mainwindow.moc"
