// The main window: start-up, every command reaching its page, history, sorting, links, progress,
// the text export, and the icons compiled into the program.

#include "tst_gui_mainwindow_fakes.h"

#include "app/resulttableview.h"
#include "app/seasonchart.h"
#include "pages/builders.h"
#include "pages/pagecodes.h"
#include "pages/textexport.h"
#include "strings/texts.h"
#include "testsupport.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QtTest>
#include <QtWidgets>

using namespace Qt::Literals::StringLiterals;

namespace {

// Five reports in two tournaments over three days. "ата" sorts after "Беркут" by code unit but
// before it under a Russian collation.
MatchStore sampleStore()
{
    QList<Match> matches;
    for (const QString &row :
         {u"2020-03-01|ата|Беркут|2|1|Лига"_s, u"2020-03-02|Беркут|Вымпел|0|0|Лига"_s,
          u"2020-03-02|Вымпел|ата|1|3|Лига"_s, u"2020-03-05|ата|Вымпел|1|0|Кубок"_s,
          u"2020-03-05|Беркут|ата|2|2|Кубок"_s}) {
        const QStringList f = row.split(u'|');
        Match m = makeMatch(u"m%1.xml"_s.arg(matches.size() + 1), f[0], f[1], f[2], f[3], f[4]);
        m = withFields(m, u"tournament=%1;stadium=С %2;referee=Судья %3;coach1=Тренер %2"_s.arg(
                              f[5], f[1], f[2]));
        // Attendances whose text order differs from their order as numbers.
        m.edit().attendance =
            QStringList{u"900"_s, u"10000"_s, u"25"_s, u"3000"_s, u"5000"_s}[matches.size()];
        m.edit().players1 = lineup({u"Игрок "_s + f[1]});
        m.edit().events = makeEvents({u"G|Игрок "_s + f[1] + u"|"_s + f[1]});
        matches.append(m);
    }
    return makeStore(matches);
}

// Every row of the widget in display order, its first columns (all by default) joined by '|'.
QStringList widgetLines(const QTableWidget *table, int columns = -1)
{
    QStringList lines;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < (columns < 0 ? table->columnCount() : columns); ++column)
            cells.append(table->item(row, column) ? table->item(row, column)->text() : QString());
        lines.append(cells.join(u'|'));
    }
    return lines;
}

// A page's table of two columns, the first holding cells, the second the row's number.
TableData pageTable(const QStringList &cells)
{
    TableData data;
    data.prepareTable({u"A"_s, u"B"_s}, 60, int(cells.size()));
    for (int r = 0; r < cells.size(); ++r) {
        data.setCell(r, 0, cells.at(r));
        data.setCell(r, 1, QString::number(r));
        data.setCell(r, 2, u"link"_s);
    }
    return data;
}

} // namespace

// The window on the sample database, shown, as `window`; the test fails when it did not open.
#define SAMPLE_WINDOW                                                                              \
    auto window = sampleWindow();                                                                  \
    QVERIFY2(window, "the sample database did not open")

class MainWindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString samplePath;
    FakeDialogs dialogs;

    // The window on the sample database, shown; null when the database did not open or the
    // window never appeared, which the caller's QVERIFY turns into a failure, not a crash.
    std::unique_ptr<MainWindow> sampleWindow()
    {
        dialogs = FakeDialogs();
        auto window = startWindow(samplePath, dialogs);
        window->show();
        if (window->store.count() != 5 || !QTest::qWaitForWindowExposed(window.get()))
            return nullptr;
        return window;
    }
    // A window on a database file of matches; null when it did not open whole.
    std::unique_ptr<MainWindow> windowOn(const QString &name, const QList<Match> &matches)
    {
        const QString path = dir.filePath(name);
        if (!writeDatabase(path, makeStore(matches)).ok())
            return nullptr;
        dialogs = FakeDialogs();
        auto window = startWindow(path, dialogs);
        return window->store.count() == matches.size() ? std::move(window) : nullptr;
    }
    // What the lower area shows: "start", "report" or the code of the table page.
    static QString shown(const MainWindow &w)
    {
        if (!w.table->isHidden())
            return w.currentLink.left(5);
        return w.text->toPlainText().contains(u"Путь к файлу"_s) ? u"start"_s : u"report"_s;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // A collation that differs from code-unit order shows that the table sorts by the latter.
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        QVERIFY(dir.isValid() && QDir(dir.path()).mkpath(u"home"_s));
        isolateSettings(dir.filePath(u"home"_s));
        QVERIFY(testSettings().fileName().startsWith(dir.path()));
        samplePath = dir.filePath(u"sample.swb"_s);
        QVERIFY(writeDatabase(samplePath, sampleStore()).ok());
        QVERIFY(writeFile(dir.filePath(u"damaged.swb"_s), databaseBytes(sampleStore()).left(20)));
    }

    void startUp_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<bool>("demo");    // a demo.swb beside the executable
        QTest::addColumn<QString>("path"); // the database path the window ends with
        QTest::addColumn<int>("matches");
        QTest::addColumn<QString>("message");  // the box shown at start-up
        QTest::addColumn<QString>("argument"); // a database named on the command line
        const QString demo = QCoreApplication::applicationDirPath() + u"/demo.swb"_s;
        const QString lost = dir.filePath(u"lost.swb"_s), damaged = dir.filePath(u"damaged.swb"_s);
        QTest::newRow("demo beside the program")
            << QString() << true << demo << 5 << QString() << QString();
        QTest::newRow("settings win")
            << samplePath << true << samplePath << 5 << QString() << QString();
        QTest::newRow("nothing at all")
            << QString() << false << QString() << 0 << QString() << QString();
        QTest::newRow("a lost file") << lost << false << lost << 0 << QString() << QString();
        // A folder or a pipe is no database, and is named like a damaged file.
        QTest::newRow("a directory")
            << dir.path() << false << QString() << 0 << u"warning"_s << QString();
        // A damaged file is named, and is not the open database: nothing is saved over it.
        QTest::newRow("damaged") << damaged << false << QString() << 0 << u"warning"_s << QString();
        // A file named on the command line wins over the settings; a missing one is named.
        QTest::newRow("command line")
            << lost << false << samplePath << 5 << QString() << samplePath;
        QTest::newRow("command line, lost file")
            << samplePath << false << lost << 0 << QString() << lost;
    }
    void startUp()
    {
        QFETCH(QString, setting);
        QFETCH(bool, demo);
        QFETCH(QString, path);
        QFETCH(int, matches);
        QFETCH(QString, message);
        QFETCH(QString, argument);
        const QString demoPath = QCoreApplication::applicationDirPath() + u"/demo.swb"_s;
        QVERIFY(!demo || QFile::copy(samplePath, demoPath));
        dialogs = FakeDialogs();
        setStartDatabase(setting);
        auto window = argument.isEmpty() ? startWindow(setting, dialogs)
                                         : std::make_unique<MainWindow>(argument, &dialogs);
        QCoreApplication::processEvents(); // the program's window reads once the loop runs
        QFile::remove(demoPath);

        QCOMPARE(window->store.count(), matches);
        QCOMPARE(window->databasePath, path);
        QCOMPARE(shown(*window), u"start"_s);
        QVERIFY(window->text->toPlainText().contains(u"Путь к файлу со статистикой: "_s + path));
        // A file that has gone is named on the start page.
        QCOMPARE(window->text->toPlainText().contains(u"не найден — открыта пустая база"_s),
                 path == dir.filePath(u"lost.swb"_s));
        QCOMPARE(window->dateEditFrom->text(), matches ? u"01.03.2020"_s : u"31.12.2999"_s);
        window->callCalculateTable(); // an empty store says so and stays on the start page
        QCOMPARE(shown(*window), matches ? u"ta01_"_s : u"start"_s);
        QCOMPARE(dialogs.kinds.join(u' '),
                 matches ? QString() : (message + u" information"_s).trimmed());
        if (!message.isEmpty())
            QVERIFY(dialogs.calls.first().text.contains(setting));
        if (!matches)
            QCOMPARE(dialogs.calls.last().title + u'|' + dialogs.calls.last().text,
                     u"Нет данных|Нет данных. Выберите файл с результатами."_s);
        // Closing remembers the database read or the file named and not found; nothing else.
        QVERIFY(window->close());
        QCOMPARE(settingsData(), path.isEmpty() ? setting : path);
    }

    // Every menu command shows exactly the table the core computes; each mode button leads to
    // the same page as its command.
    void pages_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("button"); // the mode button of the page, if it has one
        QTest::addColumn<QString>("code");
        const QStringList codes{PageCode::Standings, PageCode::Teams,   PageCode::Referees,
                                PageCode::Players,   PageCode::Matches, PageCode::Scorers,
                                PageCode::Coaches,   PageCode::Stadiums};
        const QStringList actions{u"Table"_s,   u"Teams"_s, u"Referies"_s, u"Players"_s,
                                  u"Matches"_s, u"Goals"_s, u"Coaches"_s,  u"Stadiums"_s};
        for (int i = 0; i < codes.size(); ++i)
            QTest::newRow(qPrintable(codes[i]))
                << u"actionCalculate"_s + actions[i] << u"pushButton_%1"_s.arg(i + 1) << codes[i];
        QTest::newRow("vpl1_") << u"actionVerifyPlayers"_s << QString()
                               << QString(PageCode::CheckLineups);
        QTest::newRow("vpl2_") << u"actionVerifyPlayers2"_s << QString()
                               << QString(PageCode::CheckIds);
        QTest::newRow("vat1_") << u"actionVerifyAttendance"_s << QString()
                               << QString(PageCode::CheckAttendance);
    }
    void pages()
    {
        QFETCH(QString, action);
        QFETCH(QString, button);
        QFETCH(QString, code);
        SAMPLE_WINDOW;
        if (!button.isEmpty()) {
            QTest::mouseClick(window->findChild<QPushButton *>(button), Qt::LeftButton);
            QCOMPARE(window->currentLink, code);
            window->showStartPage();
        }
        window->findChild<QAction *>(action)->trigger();
        QCOMPARE(window->currentLink, code);
        const TableData expected = runBuilder(window->store, findPageCode(code)->builder);
        QCOMPARE(window->table->horizontalHeaderItem(0)->text(), expected.headers().first());
        QVERIFY(window->table->isColumnHidden(expected.linkColumn()));
        QCOMPARE(widgetLines(window->table), tableLines(expected));
    }

    void history_data()
    {
        // Steps: a link to show, or the buttons "back", "refresh", "start"; then what is shown.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("back toggles") << u"ta01_ go01_ back back"_s << u"ta01_ go01_ ta01_ go01_"_s;
        QTest::newRow("refresh then back")
            << u"ta01_ go01_ refresh back"_s << u"ta01_ go01_ go01_ go01_"_s;
        QTest::newRow("start page leaves history alone")
            << u"ta01_ go01_ start refresh start back"_s
            << u"ta01_ go01_ start go01_ start go01_"_s;
        QTest::newRow("a report and an unknown code")
            << u"back ma01_ xm01_m3.xml zz99_ back"_s << u"start ma01_ report report report"_s;
    }
    void history()
    {
        QFETCH(QString, steps);
        SAMPLE_WINDOW;
        const QHash<QString, QPushButton *> buttons{{u"back"_s, window->pushBack},
                                                    {u"refresh"_s, window->pushRefresh},
                                                    {u"start"_s, window->pushButton_0}};
        QStringList seen;
        for (const QString &step : steps.split(u' ')) {
            if (auto *button = buttons.value(step))
                QTest::mouseClick(button, Qt::LeftButton);
            else
                window->showPage(step, QString());
            seen << shown(*window);
        }
        QTEST(seen.join(u' '), "expected");
        QCOMPARE(dialogs.calls.size(), 0);
    }

    void progressMessages()
    {
        QList<Match> matches;
        for (int i = 0; i < 2500; ++i)
            matches.append(makeMatch(u"f%1.xml"_s.arg(i), u"2021-05-01"_s, u"A"_s, u"B"_s));
        auto window = windowOn(u"many.swb"_s, matches);
        QVERIFY2(window, "the database did not open");
        QSignalSpy spy(window->statusbar, &QStatusBar::messageChanged);
        window->callCalculateTable();
        QStringList messages;
        for (const QList<QVariant> &message : spy)
            messages.append(message.first().toString());
        messages.removeAll(QString());
        messages.last().replace(QRegularExpression(u"\\d+"_s), u"N"_s);
        QCOMPARE(messages,
                 (QStringList{u"Читаем с диска..."_s, u"Читаем из памяти... (1000 файлов)"_s,
                              u"Читаем из памяти... (2000 файлов)"_s, u"Время: N мс."_s}));
    }

    // The table as the user reads it: a header click sorts integers as numbers and text by code
    // unit whatever the locale, equal cells keeping their order; the filter keeps the rows that
    // contain its text and counts them; the caption names the page and its matches.
    void tableTools_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("header"); // sorted ascending by this column, or none
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("rows"); // the first column of the shown rows
        QTest::addColumn<QString>("caption");
        const QString span = u" — все турниры, 01.03.2020–05.03.2020"_s;
        // The standings' first column is the place: Беркут and Вымпел (2nd and 3rd) played as
        // often, ата (1st) more.
        QTest::newRow("equal numbers keep their order")
            << u"ta01_"_s << u"И"_s << QString() << u"   2|   3|   1"_s
            << u"Турнирная таблица"_s + span;
        QTest::newRow("filter, any column, any case")
            << u"ma01_"_s << QString() << u"вымпел"_s << u"2020/03/02|2020/03/02|2020/03/05"_s
            << u"Список матчей"_s + span;
        QTest::newRow("filter after a sort")
            << u"ma01_"_s << u"Гости"_s << u"ата"_s
            << u"2020/03/01|2020/03/05|2020/03/02|2020/03/05"_s << u"Список матчей"_s + span;
        QTest::newRow("drill-down merging namesakes")
            << u"pl02_Игрок ата"_s << QString() << QString() << u"2020/03/01|2020/03/05"_s
            << u"Матчи игрока «Игрок ата»"_s + span +
                   u" (однофамильцы вместе: «Учитывать ID» выключено)"_s;
    }
    void tableTools()
    {
        QFETCH(QString, link);
        QFETCH(QString, header);
        QFETCH(QString, filter);
        QFETCH(QString, rows);
        QFETCH(QString, caption);
        SAMPLE_WINDOW;
        window->showPage(link, QString());
        QTableWidget *table = window->table;
        // Every column shows its header and its cells whole.
        const QFontMetrics metrics = table->fontMetrics();
        for (int column = 0; column < table->columnCount() - 1; ++column) {
            QVERIFY(table->columnWidth(column) >=
                    table->horizontalHeader()->sectionSizeHint(column));
            for (int row = 0; row < table->rowCount(); ++row)
                QVERIFY(metrics.horizontalAdvance(table->item(row, column)->text()) <
                        table->columnWidth(column));
        }
        if (!filter.isEmpty())
            window->rowFilter->setText(filter);
        for (int column = 0; column < table->columnCount() - 1; ++column) {
            if (table->horizontalHeaderItem(column)->text() == header)
                table->sortByColumn(column, Qt::AscendingOrder);
        }
        QStringList shown; // as the exports take them
        for (const QStringList &cells : window->shownTable().rows)
            shown << cells.first();
        QCOMPARE(shown.join(u'|'), rows);
        QCOMPARE(window->caption->text(), caption);
        if (!filter.isEmpty())
            QCOMPARE(window->statusbar->currentMessage(),
                     u"Строк: %1 из 5"_s.arg(rows.count(u'|') + 1));
    }

    // The keyboard reaches the file commands, refresh, back, the filter box and the row under the
    // cursor; a change of the dates or of the ID choice recomputes the page, and the person
    // search without asking again.
    void keysAndFilterChanges_data()
    {
        QTest::addColumn<QString>("steps"); // links shown first, separated by commas
        QTest::addColumn<QString>("input"); // a key sequence, "Return", "from=DATE" or "id"
        // The dialogs asked for, the link shown, the one before, the caption's matches, the focus.
        QTest::addColumn<QString>("expected");
        const QString all = u"все турниры, 01.03.2020–05.03.2020"_s;
        const QString last = u"все турниры, 05.03.2020–05.03.2020"_s;
        QTest::newRow("Ctrl+N") << u"ta01_"_s << u"Ctrl+N"_s << u"save|ta01_||"_s + all + u"|"_s;
        QTest::newRow("Ctrl+O") << u"ta01_"_s << u"Ctrl+O"_s << u"open|ta01_||"_s + all + u"|"_s;
        QTest::newRow("Ctrl+I") << u"ta01_"_s << u"Ctrl+I"_s << u"directory|ta01_|||"_s;
        QTest::newRow("Ctrl+Shift+S")
            << u"ta01_"_s << u"Ctrl+Shift+S"_s << u"save|ta01_||"_s + all + u"|"_s;
        QTest::newRow("Ctrl+S unchanged: no question")
            << u"ta01_"_s << u"Ctrl+S"_s << u"|ta01_||"_s + all + u"|"_s;
        QTest::newRow("F5") << u"ta01_,go01_"_s << u"F5"_s << u"|go01_|go01_|"_s + all + u"|"_s;
        QTest::newRow("Alt+Left") << u"ta01_,go01_"_s << u"Alt+Left"_s
                                  << u"|ta01_|go01_|"_s + all + u"|"_s;
        QTest::newRow("Ctrl+F") << u"ta01_"_s << u"Ctrl+F"_s << u"|ta01_||"_s + all + u"|filter"_s;
        QTest::newRow("Enter follows the row")
            << u"ta01_"_s << u"Return"_s << u"|ta02_ата|ta01_|"_s + all + u"|"_s;
        QTest::newRow("dates") << u"ta01_"_s << u"from=05.03.2020"_s
                               << u"|ta01_|ta01_|"_s + last + u"|"_s;
        // With IDs considered the caption says that namesakes are told apart.
        QTest::newRow("ID choice") << u"ta01_,pl02_Игрок ата"_s << u"id"_s
                                   << u"|pl02_Игрок ата|pl02_Игрок ата|"_s + all +
                                          u" (однофамильцы отдельно: «Учитывать ID» включено)|"_s;
        QTest::newRow("person search not asked again")
            << u"fpl1_"_s << u"from=05.03.2020"_s << u"|fpl1_||"_s + last + u"|"_s;
    }
    void keysAndFilterChanges()
    {
        QFETCH(QString, steps);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        SAMPLE_WINDOW;
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        dialogs.onExec = [](QDialog &dialog) {
            dialog.findChild<QLineEdit *>()->setText(u"ата"_s);
            dialog.accept();
            return int(QDialog::Accepted);
        };
        for (const QString &step : steps.split(u','))
            window->showPage(step, QString());
        dialogs.kinds.clear();
        if (input == u"Return"_s) {
            window->table->setFocus();
            window->table->setCurrentCell(0, 0);
            QTest::keyClick(window->table, Qt::Key_Return);
        } else if (input.startsWith(u"from="_s)) {
            window->dateEditFrom->setDate(QDate::fromString(input.mid(5), u"dd.MM.yyyy"_s));
        } else if (input == u"id"_s) {
            window->checkBoxID->setChecked(true);
        } else {
            QTest::keySequence(window.get(), QKeySequence(input));
        }
        const QString shownCaption =
            window->table->isHidden() ? QString() : window->caption->text();
        QCOMPARE(QStringList({dialogs.kinds.join(u' '), window->currentLink, window->previousLink,
                              shownCaption.section(u" — "_s, 1),
                              window->rowFilter->hasFocus() ? u"filter"_s : QString()})
                     .join(u'|'),
                 expected);
    }

    // The row filter belongs to its page: another page starts with every row, and "Назад", a
    // refresh or a new date bring a page back with its sort, filter and scroll.
    void pageViews_data()
    {
        // Steps, separated by ' ': a link, "sort=COLUMN" (descending), "filter=TEXT", "follow"
        // (Enter on the first shown row), "back", "refresh", "from=DATE", "table" (the menu).
        QTest::addColumn<QString>("steps");
        // The link shown, the filter's text, the sorted column and order, the shown rows' first
        // cells.
        QTest::addColumn<QString>("expected");
        QTest::newRow("a followed row's page is not filtered")
            << u"pl01_ filter=Игрок_ата follow"_s
            << u"pl02_Игрок ата||0 asc|2020/03/01,2020/03/05"_s;
        QTest::newRow("the menu's page is not filtered")
            << u"ma01_ filter=Вымпел table"_s << u"ta01_||9 desc|   1,   2,   3"_s;
        QTest::newRow("back: sort and filter as they were")
            << u"ma01_ sort=1 filter=Беркут follow back"_s
            << u"ma01_|Беркут|1 desc|2020/03/01,2020/03/02,2020/03/05"_s;
        QTest::newRow("back twice: the page left is back too")
            << u"ma01_ filter=Вымпел follow back back"_s << u"xm01_m2.xml|||"_s;
        QTest::newRow("refresh keeps the view")
            << u"ma01_ sort=2 filter=ата refresh"_s
            << u"ma01_|ата|2 desc|2020/03/02,2020/03/05,2020/03/05,2020/03/01"_s;
        QTest::newRow("a new date keeps the view")
            << u"ma01_ sort=3 from=02.03.2020"_s
            << u"ma01_||3 desc|2020/03/05,2020/03/02,2020/03/05,2020/03/02"_s;
    }
    void pageViews()
    {
        QFETCH(QString, steps);
        SAMPLE_WINDOW;
        QTableWidget *table = window->table;
        for (const QString &step : steps.split(u' ')) {
            const QString value = step.section(u'=', 1).replace(u'_', u' ');
            if (step.startsWith(u"sort="_s)) {
                table->sortByColumn(value.toInt(), Qt::DescendingOrder);
            } else if (step.startsWith(u"filter="_s)) {
                window->rowFilter->setText(value);
            } else if (step.startsWith(u"from="_s)) {
                window->dateEditFrom->setDate(QDate::fromString(value, u"dd.MM.yyyy"_s));
            } else if (step == u"follow"_s) {
                for (int row = 0; row < table->rowCount(); ++row) {
                    if (!table->isRowHidden(row)) {
                        window->cellSelected(row, 0);
                        break;
                    }
                }
            } else if (step == u"back"_s) {
                window->back();
            } else if (step == u"refresh"_s) {
                window->refresh();
            } else if (step == u"table"_s) {
                window->callCalculateTable();
            } else {
                window->showPage(step, QString());
            }
        }
        QStringList rows;
        if (!table->isHidden()) {
            for (int row = 0; row < table->rowCount(); ++row)
                if (!table->isRowHidden(row))
                    rows << table->item(row, 0)->text();
        }
        const QHeaderView *header = table->horizontalHeader();
        const QString sort =
            table->isHidden()
                ? QString()
                : u"%1 %2"_s.arg(header->sortIndicatorSection())
                      .arg(header->sortIndicatorOrder() == Qt::AscendingOrder ? u"asc"_s
                                                                              : u"desc"_s);
        QTEST(QStringList({window->currentLink, window->rowFilter->text(), sort, rows.join(u',')})
                  .join(u'|'),
              "expected");
    }

    // The date fields take a date as it is typed over whatever is selected, recompute the page
    // once when editing is finished, and put back text that is no date.
    void dateTyping_data()
    {
        QTest::addColumn<QString>("how"); // "all": Ctrl+A, "word": a double-click, "end": none
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("finish");  // "enter", "leave", "none", "calendar"
        QTest::addColumn<QString>("shown");   // the field's text after
        QTest::addColumn<QString>("caption"); // the dates of the caption after
        const QString was = u"01.03.2020–05.03.2020"_s;
        QTest::newRow("over Ctrl+A, Enter") << u"all"_s << u"04.03.2020"_s << u"enter"_s
                                            << u"04.03.2020"_s << u"01.03.2020–04.03.2020"_s;
        QTest::newRow("over a double-click, leaving the field")
            << u"word"_s << u"30.04.2024"_s << u"leave"_s << u"30.04.2024"_s
            << u"01.03.2020–30.04.2024"_s;
        QTest::newRow("one-digit day and month") << u"all"_s << u"2.3.2020"_s << u"enter"_s
                                                 << u"02.03.2020"_s << u"01.03.2020–02.03.2020"_s;
        QTest::newRow("digits alone") << u"all"_s << u"03032020"_s << u"enter"_s << u"03.03.2020"_s
                                      << u"01.03.2020–03.03.2020"_s;
        QTest::newRow("typing alone recomputes nothing")
            << u"all"_s << u"04.03.2020"_s << u"none"_s << u"04.03.2020"_s << was;
        QTest::newRow("no such day: put back")
            << u"all"_s << u"31.02.2020"_s << u"enter"_s << u"05.03.2020"_s << was;
        QTest::newRow("half a date: put back")
            << u"all"_s << u"04.03."_s << u"enter"_s << u"05.03.2020"_s << was;
        QTest::newRow("letters are not taken") << u"all"_s << u"o4.03.2020"_s << u"enter"_s
                                               << u"04.03.2020"_s << u"01.03.2020–04.03.2020"_s;
        QTest::newRow("picked in the calendar") << u"end"_s << u"02.03.2020"_s << u"calendar"_s
                                                << u"02.03.2020"_s << u"01.03.2020–02.03.2020"_s;
        QTest::newRow("from later than till: said, no empty table")
            << u"all"_s << u"28.02.2020"_s << u"enter"_s << u"28.02.2020"_s
            << u"Дата «С» (01.03.2020) позже даты «По» (28.02.2020)"_s;
    }
    void dateTyping()
    {
        QFETCH(QString, how);
        QFETCH(QString, typed);
        QFETCH(QString, finish);
        SAMPLE_WINDOW;
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->callCalculateMatches();
        DateField *till = window->dateEditTill;
        till->setFocus();
        QVERIFY(till->hasFocus());
        if (how == u"all"_s) {
            QTest::keyClick(till, Qt::Key_A, Qt::ControlModifier);
        } else if (how == u"word"_s) {
            const QPoint year(till->fontMetrics().horizontalAdvance(till->text()) - 4,
                              till->height() / 2);
            QTest::mouseDClick(till, Qt::LeftButton, {}, year);
            QCOMPARE(till->selectedText(), till->text());
        }
        if (finish == u"calendar"_s) {
            till->showCalendar();
            auto *calendar = till->findChild<QCalendarWidget *>();
            QVERIFY(calendar && calendar->isVisible());
            Q_EMIT calendar->clicked(QDate::fromString(typed, u"dd.MM.yyyy"_s));
            QVERIFY(!calendar->isVisible());
        } else {
            QTest::keyClicks(till, typed);
        }
        if (finish == u"enter"_s)
            QTest::keyClick(till, Qt::Key_Return);
        else if (finish == u"leave"_s)
            window->rowFilter->setFocus();
        QTEST(till->text(), "shown");
        const QString caption =
            window->caption->isVisible() ? window->caption->text() : u"<hidden>"_s;
        QTEST(caption.startsWith(u"Дата"_s) ? caption.section(u':', 0, 0)
                                            : caption.section(u", "_s, 1),
              "caption");
        // Reversed dates show no table.
        QCOMPARE(window->table->isHidden(), caption.startsWith(u"Дата"_s));
    }

    // The matches without a date, which every other page leaves out: counted on the start page,
    // listed by their own page under the tournament and round, whatever the dates.
    void undatedMatches_data()
    {
        QTest::addColumn<QString>("tournament");
        QTest::addColumn<QString>("rows"); // the file column
        QTest::newRow("all tournaments") << QString() << u"u1.xml,u2.xml,u3.xml"_s;
        QTest::newRow("one tournament") << u"Лига"_s << u"u1.xml,u3.xml"_s;
        QTest::newRow("none undated there") << u"Кубок"_s << QString();
    }
    void undatedMatches()
    {
        QFETCH(QString, tournament);
        QList<Match> matches = sampleStore().matches();
        for (const QString &spec : {u"u1.xml|Лига"_s, u"u2.xml|Товарищеские"_s, u"u3.xml|Лига"_s}) {
            Match m = makeMatch(spec.section(u'|', 0, 0), QString(), u"ата"_s, u"Беркут"_s);
            m.edit().tournament = spec.section(u'|', 1);
            matches.append(m);
        }
        auto window = windowOn(u"undated.swb"_s, matches);
        QVERIFY2(window, "the database did not open");
        QVERIFY(window->text->toPlainText().contains(u"Без даты: 3 матча"_s));
        if (!tournament.isEmpty())
            window->comboTournaments->setCurrentText(tournament);
        // The start page's count leads to the page.
        window->linkActivated(QUrl(QString(PageCode::Undated)));
        QCOMPARE(window->currentLink, QString(PageCode::Undated));
        QStringList files;
        for (int row = 0; row < window->table->rowCount(); ++row)
            files << window->table->item(row, 5)->text();
        files.sort();
        QTEST(files.join(u','), "rows");
        QVERIFY(window->caption->text().startsWith(u"Матчи без даты — "_s));
        QVERIFY(!window->caption->text().contains(u"2020"_s)); // the dates do not apply
    }

    // A caption far wider than the window is cut, not the window widened; the line under the
    // standings takes no height from the column of mode buttons.
    void windowKeepsItsShape()
    {
        SAMPLE_WINDOW;
        const QSize size = window->size();
        window->showPage(u"pl02_"_s + QString(300, u'Я'), QString());
        QCoreApplication::processEvents();
        QCOMPARE(window->size(), size);
        QVERIFY(window->caption->text().contains(QString(300, u'Я')));
        QCOMPARE(window->caption->toolTip(), window->caption->text());
        window->callCalculateTable();
        QCoreApplication::processEvents();
        QVERIFY(window->footnote->isVisible());
        QCOMPARE(window->size(), size);
        QVERIFY(window->scrollArea->viewport()->height() >=
                window->pushButton_8->geometry().bottom());
    }

    void links_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("how"); // -2: double-click; else the context-menu entry chosen
        QTest::addColumn<bool>("belowLastRow");
        QTest::addColumn<QString>("menuChoice"); // null: no page followed
        QTest::newRow("double-click") << u"ta01_"_s << -2 << false << u""_s;
        QTest::newRow("details") << u"ta01_"_s << 0 << false << u"Подробности"_s;
        QTest::newRow("below the last row") << u"ta01_"_s << 0 << true << QString();
        QTest::newRow("second entry") << u"re01_"_s << 1 << false << u"Матчи с пенальти"_s;
    }
    void links()
    {
        QFETCH(QString, page);
        QFETCH(int, how);
        QFETCH(bool, belowLastRow);
        QFETCH(QString, menuChoice);
        SAMPLE_WINDOW;
        window->showPage(page, QString());
        QTableWidget *table = window->table;
        const QRect cell = table->visualItemRect(table->item(0, 0));
        const QPoint pos(cell.center().x(),
                         belowLastRow ? table->viewport()->height() - 2 : cell.center().y());
        QCOMPARE(table->indexAt(pos).isValid(), !belowLastRow);
        const QString rowLink = table->item(0, table->columnCount() - 1)->text();
        if (how == -2) { // the view follows a double-click only on the cell pressed first
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, pos);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, pos);
        } else {
            dialogs.menuAnswer = how;
            window->contextMenu(pos);
        }
        QCOMPARE(window->currentLink, menuChoice.isNull() ? page : rowLink);
        if (!menuChoice.isNull()) {
            QCOMPARE(dialogs.lastMenu.value(how, menuChoice), menuChoice); // double-click: none
            QCOMPARE(window->currentMenuChoice, menuChoice);
            QCOMPARE(window->previousLink, page);
        }
    }

    // The exports write what the user sees: rows in screen order after a re-sort, columns at
    // their current widths, without the hidden link column.
    void exportFollowsTheScreen()
    {
        SAMPLE_WINDOW;
        window->callCalculateMatches();
        window->table->sortByColumn(2, Qt::DescendingOrder);
        window->table->setColumnWidth(1, 200);
        TableData expected = runBuilder(window->store, calculateMatches);
        expected.resort(2, Qt::DescendingOrder);
        expected.setColumnWidth(1, 200);
        const QString path = dir.filePath(u"export.txt"_s);
        dialogs.fileAnswers = QStringList{path};
        window->saveAsText();
        QCOMPARE(readFile(path), exportText(snapshotOf(expected)).toUtf8()); // whatever the locale
        // The CSV beside it, named with its suffix when the name typed has none.
        dialogs.fileAnswers = QStringList{dir.filePath(u"export"_s)};
        window->saveAsCsv();
        QCOMPARE(readFile(dir.filePath(u"export.csv"_s)), exportCsv(snapshotOf(expected)).toUtf8());
    }

    // The analysis pages in the window: the round choice, the team menu's way to home table and
    // head-to-head, and the chart with its legend.
    void analysisPages()
    {
        QList<Match> matches = sampleStore().matches();
        const QStringList rounds{u"1"_s, u"2"_s, u"2"_s, u"1/2"_s, u"Финал"_s};
        for (int i = 0; i < matches.size(); ++i)
            matches[i].edit().round = rounds.at(i);
        auto window = windowOn(u"rounds.swb"_s, matches);
        QVERIFY2(window, "the database did not open");
        QComboBox *choice = window->comboRounds;
        window->comboTournaments->setCurrentText(u"Лига"_s);
        QStringList items;
        for (int i = 0; i < choice->count(); ++i)
            items << choice->itemText(i);
        QCOMPARE(items, (QStringList{u"<Все туры>"_s, u"1"_s, u"2"_s}));

        window->callCalculateTable();
        choice->setCurrentText(u"2"_s);
        QCOMPARE(widgetLines(window->table, 3),
                 (QStringList{u"   1|ата|1"_s, u"   2|Беркут|1"_s, u"   3|Вымпел|2"_s}));

        const QTableWidget *table = window->table;
        const QPoint first = table->visualItemRect(table->item(0, 0)).center();
        dialogs.menuAnswer = int(window->menuLabels.indexOf(texts().menuHeadToHead));
        dialogs.itemAnswers = QStringList{u"Вымпел"_s};
        window->contextMenu(first);
        QCOMPARE(dialogs.lastItems, QStringList{u"Вымпел"_s}); // ата met only Вымпел in round 2
        QCOMPARE(window->currentLink, u"hh01_ата\tВымпел"_s);
        QCOMPARE(widgetLines(window->table, 5).mid(0, 2),
                 (QStringList{u"|ата|||   1"_s, u"|Вымпел|||   1"_s}));
        window->callCalculateTable();
        dialogs.menuAnswer = int(window->menuLabels.indexOf(texts().menuHome));
        window->contextMenu(first);
        QCOMPARE(window->currentLink, u"tah1_"_s);

        choice->setCurrentIndex(0);
        window->findChild<QAction *>(u"actionSeasonChart"_s)->trigger();
        SeasonChart *chart = window->seasonChart;
        QVERIFY(!chart->isHidden() && window->table->isHidden());
        QCOMPARE(chart->chart(0)->series().size(), 6); // a line and its points a team
        QList<QLegendMarker *> legend;                 // one entry a team: the points have none
        for (QLegendMarker *marker : chart->chart(0)->legend()->markers())
            if (marker->isVisible())
                legend << marker;
        QCOMPARE(legend.size(), 3);
        Q_EMIT legend.at(1)->clicked();
        QCOMPARE(chart->highlighted(), chart->race().teams.at(1));
        QVERIFY(chart->seasonChoice()->isHidden()); // one season: nothing to choose
    }

    // A chart saved under a name typed without the format's extension gets it.
    void chartFileNames_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("png added") << u"savePng"_s << u"season"_s << u"season.png"_s;
        QTest::newRow("png kept, any case") << u"savePng"_s << u"shot.PNG"_s << u"shot.PNG"_s;
        QTest::newRow("another dot") << u"savePng"_s << u"season.v2"_s << u"season.v2.png"_s;
        QTest::newRow("svg added") << u"saveSvg"_s << u"vector"_s << u"vector.svg"_s;
    }
    void chartFileNames()
    {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        SAMPLE_WINDOW;
        window->showPage(QString(PageCode::SeasonChart), QString());
        QTemporaryDir out;
        dialogs.fileAnswers = QStringList{out.filePath(typed)};
        window->seasonChart->findChild<QPushButton *>(button)->click();
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{written});
        QCOMPARE(dialogs.warnings(), QStringList());
    }

    // A tournament of several seasons is drawn one season at a time, the last one first.
    void chartPerSeason()
    {
        // Two double round robins, autumn to spring with a winter break longer than the summer one.
        const QList<Match> matches =
            roundRobin(QDate(2020, 8, 1), 200) + roundRobin(QDate(2021, 8, 1), 200);
        auto window = windowOn(u"seasons.swb"_s, matches);
        QVERIFY2(window, "the database did not open");
        window->showPage(QString(PageCode::SeasonChart), QString());
        QComboBox *season = window->seasonChart->seasonChoice();
        QCOMPARE(season->count(), 2);
        QVERIFY(season->itemText(0).startsWith(u"2020/21 (08.08.2020–"_s));
        QCOMPARE(season->currentIndex(), 1);
        QCOMPARE(window->seasonChart->race().steps.size(), 12); // 6 matches, 2 teams each
        QVERIFY(window->seasonChart->race().steps.first().date.year() >= 2021);
        season->setCurrentIndex(0);
        QVERIFY(window->seasonChart->race().steps.first().date.year() == 2020);
    }
    // A header click orders integers and dates by value and any other column by code unit, and the
    // exports take what the screen shows, without the link column, and the footnote.
    void headerClickOrders_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("sorted"); // the column after an ascending click
        QTest::newRow("integers by value, empty first")
            << QStringList{u"9"_s, u"10"_s, QString(), u" -2"_s} << u"| -2|9|10"_s;
        QTest::newRow("dates of both forms by day")
            << QStringList{u"2020/03/01"_s, u"01.02.2020"_s, u"2019/12/31"_s}
            << u"2019/12/31|01.02.2020|2020/03/01"_s;
        QTest::newRow("integers mixed with dates as text")
            << QStringList{u"5"_s, u"2020/03/01"_s, u"10"_s} << u"10|2020/03/01|5"_s;
        QTest::newRow("names by code unit")
            << QStringList{u"б"_s, u"Я"_s, u"a"_s, u"B"_s} << u"B|a|Я|б"_s;
    }
    void headerClickOrders()
    {
        QFETCH(QStringList, cells);
        QTableWidget table;
        fillResultTable(&table, pageTable(cells));
        table.sortItems(0, Qt::AscendingOrder);
        const TableSnapshot snapshot = resultTableSnapshot(&table, {}, u"note"_s);
        QStringList shown;
        for (const QStringList &row : snapshot.rows)
            shown << row.first();
        QTEST(shown.join(u'|'), "sorted");
        QVERIFY(snapshot.rows.first().size() == 2 && snapshot.footnote == u"note"_s);
    }

    // Every icon is present under ":/icon/images/" at the size its place in the window needs.
    void icons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        QTest::newRow("window") << u"window"_s << 32;
        for (const char *mark :
             {"goal", "pen", "autogoal", "missed", "subs", "yellow", "yellow2", "red"})
            QTest::newRow(mark) << QString::fromLatin1(mark) << 16;
        for (int mode = 0; mode < 9; ++mode)
            QTest::addRow("mode%d", mode) << u"mode%1"_s.arg(mode) << 64;
    }
    void icons()
    {
        QFETCH(QString, name);
        const QImage image(u":/icon/images/%1.png"_s.arg(name));
        QVERIFY2(!image.isNull(), qPrintable(name));
        QTEST(image.width(), "size");
        QTEST(image.height(), "size");
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_gui_mainwindow.moc"
