// The main window's file commands and the window as a view of its document: open, new, save,
// save as, the XML import, unreadable and unwritable files, the question about unsaved changes,
// two windows on one file (the lock, a file changed on disk), undo and redo from the menu,
// deleting matches, and what the start page says about the database.

#include "tst_gui_mainwindow_fakes.h"

#include "testsupport.h"

#include "formats/xmlimport.h"
#include "pages/pagecodes.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::Literals::StringLiterals;

class FileCommandsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString basePath; // three matches, 01.02.2015 - 03.02.2015, a fresh file for each window
    FakeDialogs dialogs;

    int serial = 0;

    // A fresh file of three matches, 01.02.2015 - 03.02.2015, two tournaments; named t0.xml to
    // t2.xml, or all three t.xml.
    QString newBase(bool sameNames = false)
    {
        QList<Match> matches;
        for (const QString &tournament : {u"Лига"_s, u"Кубок"_s, u"Лига"_s}) {
            const QString date = u"2015-02-0%1"_s.arg(matches.size() + 1);
            const QString name = sameNames ? u"t.xml"_s : u"t%1.xml"_s.arg(matches.size());
            matches.append(withFields(makeMatch(name, date, u"A"_s, u"B"_s, u"1"_s, u"0"_s),
                                      u"tournament="_s + tournament));
        }
        const QString path = dir.filePath(u"base%1.swb"_s.arg(++serial));
        return writeDatabase(path, makeStore(matches)).ok() ? path : QString();
    }
    // A window on a fresh base file of same-named matches; with a change only in memory when
    // changed.
    std::unique_ptr<MainWindow> baseWindow(bool changed)
    {
        basePath = newBase(true);
        if (basePath.isEmpty())
            return nullptr;
        dialogs = FakeDialogs();
        auto window = startWindow(basePath, dialogs);
        if (window->matchStore().isEmpty())
            return nullptr;
        if (changed) {
            window->store.add(makeMatch(u"new.xml"_s, u"2016-01-01"_s, u"C"_s, u"D"_s));
            window->markModified();
        }
        return window;
    }
    // What the window shows of its database, for "nothing changed" comparisons.
    static QString state(const MainWindow &w)
    {
        return w.databasePath + u'|' + QString::number(w.store.count()) + w.dateEditFrom->text() +
               w.comboTournaments->itemText(2) + w.text->toPlainText().section(u'\n', 1, 1);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid() && QDir(dir.path()).mkpath(u"home"_s));
        isolateSettings(dir.filePath(u"home"_s));
    }

    void openFailures_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // the file's contents; null: no file
        QTest::addColumn<QString>("kind");     // the message box shown
        QTest::addColumn<QString>("reason");   // a piece of its text
        const QByteArray database = databaseBytes(makeStore({makeMatch(u"x.xml"_s, {}, {}, {})}));
        QTest::newRow("missing") << QByteArray() << u"information"_s << u"не найден"_s;
        QTest::newRow("not a database")
            << QByteArray("just some text\n") << u"warning"_s << u"не является базой"_s;
        QTest::newRow("damaged") << database.left(database.size() - 3) << u"warning"_s
                                 << u"повреждён"_s;
    }
    // A file that cannot be read is named with its reason; the open database stays as it was.
    void openFailures()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        auto window = baseWindow(true);
        QVERIFY(window);
        const QString before = state(*window);
        const QString path = dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(bytes.isNull() || writeFile(path, bytes));
        dialogs.fileAnswers = QStringList{path};
        dialogs.questionAnswers = {QMessageBox::No}; // let the unsaved change go
        window->openSwb();

        QCOMPARE(state(*window), before);
        QCOMPARE(dialogs.kinds, (QStringList{u"question"_s, u"open"_s, kind}));
        const QString message = dialogs.calls.last().text;
        QVERIFY2(message.contains(QDir::toNativeSeparators(path)) && message.contains(reason),
                 qPrintable(message));
    }

    void saveAndSaveAs()
    {
        // The first save of a database without a file asks for its name.
        dialogs = FakeDialogs();
        auto window = startWindow(QString(), dialogs);
        window->store.add(makeMatch(u"new.xml"_s, u"2016-01-01"_s, u"C"_s, u"D"_s));
        window->markModified();
        // The title carries the modified marker until the save; a name typed without a suffix
        // gets ".swb".
        QVERIFY(window->isWindowModified());
        const QString named = dir.filePath(u"named.swb"_s);
        const QString bad = dir.filePath(u"no/such/dir/out.swb"_s);
        const QString good = dir.filePath(u"copy.swb"_s);
        dialogs.fileAnswers = QStringList{dir.filePath(u"named"_s), bad, good};
        window->save();
        QCOMPARE(window->databasePath, named);
        QCOMPARE(readFile(named), databaseBytes(window->store));
        QVERIFY(!window->isModified() && !window->isWindowModified());
        QVERIFY(window->windowTitle().startsWith(u"named.swb[*]"_s));
        // Save as: a failure names the file and keeps the database where it was; a success
        // moves it and leaves the old file alone.
        window->markModified();
        const QByteArray saved = readFile(named);
        window->saveAsSwb();
        QCOMPARE(dialogs.calls.last().kind, u"warning"_s);
        QVERIFY(dialogs.calls.last().text.contains(QDir::toNativeSeparators(bad)));
        QCOMPARE(window->databasePath, named);
        QVERIFY(window->isModified() && window->isWindowModified());
        window->saveAsSwb();
        QCOMPARE(window->databasePath, good);
        QCOMPARE(readFile(good), databaseBytes(window->store));
        QCOMPARE(readFile(named), saved);
        QCOMPARE(dialogs.kinds, (QStringList{u"save"_s, u"save"_s, u"warning"_s, u"save"_s}));
        // The files saved lead the recent files; one that has gone is dropped with a message.
        const QList<QAction *> recent = window->menuRecent->actions();
        QCOMPARE(recent.size(), 2);
        QVERIFY(recent.at(0)->text().endsWith(QDir::toNativeSeparators(good)));
        QVERIFY(QFile::remove(good));
        recent.at(0)->trigger();
        QCOMPARE(dialogs.kinds.last(), u"warning"_s);
        QCOMPARE(window->menuRecent->actions().size(), 1);
    }

    // The command goes on unless the answer is Cancel or saving fails; only Yes saves.
    void unsavedChanges_data()
    {
        QTest::addColumn<QString>("command"); // close, new, open
        QTest::addColumn<int>("answer");      // 0: nothing changed, no question
        QTest::addColumn<bool>("saveFails");
        const int yes = QMessageBox::Yes, no = QMessageBox::No, cancel = QMessageBox::Cancel;
        QTest::newRow("close unchanged") << u"close"_s << 0 << false;
        QTest::newRow("close, yes") << u"close"_s << yes << false;
        QTest::newRow("close, no") << u"close"_s << no << false;
        QTest::newRow("close, cancel") << u"close"_s << cancel << false;
        QTest::newRow("close, yes, save fails") << u"close"_s << yes << true;
        QTest::newRow("new, yes") << u"new"_s << yes << false;
        QTest::newRow("new, cancel") << u"new"_s << cancel << false;
        QTest::newRow("open, no") << u"open"_s << no << false;
        QTest::newRow("open, yes, save fails") << u"open"_s << yes << true;
    }
    void unsavedChanges()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(bool, saveFails);
        const bool proceeds = answer != QMessageBox::Cancel && !saveFails;
        auto window = baseWindow(answer != 0);
        QVERIFY(window);
        const QByteArray before = readFile(basePath);
        if (saveFails) // the file has gone: saving asks for a name, and writing there fails
            QVERIFY(QFile::remove(basePath));
        const QString other = dir.filePath(u"other.swb"_s);
        QVERIFY(writeDatabase(other, makeStore({makeMatch(u"z.xml"_s, {}, {}, {})})).ok());
        setStartDatabase(u"marker"_s);
        dialogs.questionAnswers = {QMessageBox::StandardButton(answer)};
        const QString bad = dir.filePath(u"no/such/dir/x.swb"_s);
        dialogs.fileAnswers = saveFails ? QStringList{bad, other} : QStringList{other};

        bool closed = false;
        if (command == u"close"_s)
            closed = window->close();
        else if (command == u"new"_s)
            window->newSwb();
        else
            window->openSwb();

        QCOMPARE(dialogs.kinds.contains(u"question"_s), answer != 0);
        QCOMPARE(dialogs.kinds.contains(u"warning"_s), saveFails);
        if (command == u"close"_s) {
            QCOMPARE(closed, proceeds);
            // The settings are written only when the window really closes.
            QCOMPARE(settingsData(), proceeds ? basePath : u"marker"_s);
        } else {
            QCOMPARE(window->databasePath == other, proceeds);
        }
        if (!saveFails)
            QCOMPARE(readFile(basePath) != before, answer == QMessageBox::Yes);
        if (!proceeds)
            QVERIFY(window->isModified() && window->store.count() == 4);
    }

    // A rules file that cannot be read is reported and kept as it is until the rules change; the
    // dialog's rules reach the standings at once and the file with the next save.
    void rulesFile()
    {
        auto window = baseWindow(false);
        QVERIFY(window);
        const QString rulesPath = rulesFilePath(basePath);
        QVERIFY(writeFile(rulesPath, "{"));
        QVERIFY(window->loadDatabase(basePath, false));
        QCOMPARE(dialogs.kinds, QStringList{u"warning"_s});
        QVERIFY(dialogs.calls.last().text.contains(QDir::toNativeSeparators(rulesPath)));
        window->markModified();
        QVERIFY(window->writeTo(basePath));
        QCOMPARE(readFile(rulesPath), QByteArray("{"));

        window->comboTournaments->setCurrentText(u"Лига"_s);
        window->callCalculateTable();
        QCOMPARE(window->footnote->text(), u"Правила: 3-1-0, разница мячей"_s);
        dialogs.onExec = [](QDialog &dialog) {
            auto *preset = dialog.findChild<QComboBox *>(u"preset"_s);
            Q_EMIT preset->activated(preset->findText(u"2-1-0 (до 1995)"_s));
            dialog.findChild<QPushButton *>(u"addDeduction"_s)->click();
            QTableWidget *deductions = dialog.findChild<QTableWidget *>(u"deductions"_s);
            deductions->item(0, 0)->setText(u"A"_s);
            dialog.accept(); // no points yet: a message, and the dialog stays
            if (dialog.result() == QDialog::Accepted)
                return int(QDialog::Rejected);
            deductions->item(0, 1)->setText(u"1"_s);
            deductions->item(0, 2)->setText(u"долг"_s);
            dialog.accept();
            return dialog.result();
        };
        window->editRules();
        QCOMPARE(dialogs.kinds.mid(1), (QStringList{u"dialog"_s, u"warning"_s}));
        QVERIFY(window->isModified());
        QCOMPARE(window->table->horizontalHeaderItem(10)->text(), u"Снято"_s);
        QCOMPARE(window->table->item(0, 9)->text(), u"   3"_s); // two wins at 2, one taken
        QCOMPARE(window->footnote->text(),
                 u"Правила: 2-1-0 (до 1995)\nСнято очков: A — 1 (долг)."_s);

        QVERIFY(window->writeTo(basePath));
        RuleBook saved;
        QVERIFY(readRulesFile(rulesPath, saved).status == RulesFileResult::Ok);
        QCOMPARE(saved.rulesFor(u"Лига"_s).win, 2);
        QCOMPARE(saved.rulesFor(u"Лига"_s).deductedFrom(u"A"_s, QDate()), 1);
    }

    void importTree()
    {
        auto window = baseWindow(false);
        QVERIFY(window);
        QSignalSpy messages(window->statusbar, &QStatusBar::messageChanged);
        dialogs.fileAnswers = QStringList{QStringLiteral(TESTDATA_DIR "/gui/import")};
        window->import();

        QCOMPARE(dialogs.kinds, QStringList{u"directory"_s});
        // Two reports below, one beside an undated one; capital ".XML", other files and hidden
        // folders are not read, but every visible file is counted.
        QCOMPARE(window->store.count(), 6);
        QCOMPARE(window->comboTournaments->count(), 4); // "<Все турниры>", Кубок, Лига, Первенство
        QCOMPARE(window->comboTournaments->itemText(3), u"Первенство"_s);
        QCOMPARE(window->dateEditFrom->date(), QDate(2010, 5, 10));
        QCOMPARE(window->dateEditTill->date(), QDate(2015, 2, 3));
        QVERIFY(window->isModified() && window->isWindowModified());

        QStringList texts;
        for (const QList<QVariant> &message : messages)
            texts.append(message.first().toString());
        texts.removeAll(QString());
        texts.removeAll(u"Читаем с диска... (0 файлов)"_s); // only when a folder comes first
        QCOMPARE(texts, QStringList{u"Читаем с диска... (5 файлов)"_s});
    }

    // A report typed whole in the editor is shown, counted, saved, and exported as XML that reads
    // back as the same match; the selection exports file by file; CSV results come in with a
    // summary in the status bar and the refused lines named.
    void reportsInAndOut()
    {
        auto window = baseWindow(false);
        QVERIFY(window);
        // A report as the editor stores it (the editor itself is tst_gui_dialogs'), shown.
        Match report = makeMatch(u"new-1"_s, u"2015-02-10"_s, u"Ракета"_s, u"Звезда"_s, u"1"_s);
        report.edit().events = makeEvents({u"G|Иванов|Ракета|1"_s, u"S|Петров|Звезда|2|Сидоров"_s});
        window->store.add(report);
        window->markModified();
        window->catchUpWithReport(u"new-1"_s);
        window->showPage(PageCode::Report + u"new-1"_s, QString());
        dialogs.questionAnswers = {QMessageBox::Yes};
        window->save();
        MatchStore reopened;
        QVERIFY(readDatabase(basePath, reopened).ok());
        QVERIFY(reopened.find(u"new-1"_s) && reopened.find(u"new-1"_s)->sameRecord(report));

        const QString one = dir.filePath(u"one.xml"_s);
        dialogs.fileAnswers = QStringList{one};
        window->saveReportXml();
        QFile file(one);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(readMatchXml(file).sameContent(report));

        const QString all = dir.filePath(u"all"_s);
        dialogs.fileAnswers = QStringList{all};
        window->exportXml();
        QCOMPARE(QDir(all).entryList(QDir::Files),
                 (QStringList{u"new-1.xml"_s, u"t-2.xml"_s, u"t-3.xml"_s, u"t.xml"_s}));

        const QString csv = dir.filePath(u"results.csv"_s);
        QVERIFY(writeFile(csv, "Date;Home;Away;FT\n01.03.2015;A;B;2:2\n02.03.2015;A;;1:0\n"
                               "01.03.2015;A;B;2:2\n"));
        dialogs = FakeDialogs();
        dialogs.fileAnswers = QStringList{csv};
        // The import's choices: the tournament named with its season, which starts in January.
        dialogs.onExec = [](QDialog &choices) {
            choices.findChild<QLineEdit *>(u"tournament"_s)->setText(u"Кубок {season}"_s);
            choices.findChild<QDateEdit *>(u"seasonStart"_s)->setDate(QDate(2001, 1, 1));
            return int(QDialog::Accepted);
        };
        window->importCsv();
        QCOMPARE(window->store.count(), 5);
        QCOMPARE(window->store.find(u"results.csv-2"_s).value()->tournament, u"Кубок 2015"_s);
        QCOMPARE(window->statusbar->currentMessage(),
                 u"«results.csv»: прочитано строк 3, добавлено матчей 1, повторов 1, отклонено "
                 "строк 1."_s);
        QCOMPARE(dialogs.kinds, (QStringList{u"open"_s, u"dialog"_s, u"warning"_s}));
        QVERIFY(dialogs.calls.last().text.endsWith(u"строка 3: нет гостей"_s));
        QCOMPARE(window->dateEditTill->date(), QDate(2015, 3, 1));
    }

    // A second window on a held file is told who holds it and opens it as the user chooses;
    // read-only never writes over the file.
    void secondWindow_data()
    {
        QTest::addColumn<int>("answer"); // 0 read-only, 1 anyway, -1 closed
        QTest::newRow("read-only") << 0;
        QTest::newRow("anyway") << 1;
        QTest::newRow("cancelled") << -1;
    }
    void secondWindow()
    {
        QFETCH(int, answer);
        const QString path = newBase();
        FakeDialogs dialogsA;
        FakeDialogs dialogsB;
        auto a = startWindow(path, dialogsA);
        QVERIFY(a->openDocument().isLocked());
        QVERIFY(dialogsA.kinds.isEmpty());
        dialogsB.choiceAnswers = {answer};
        auto b = startWindow(path, dialogsB);
        QCOMPARE(dialogsB.kinds.value(0), u"choice"_s);
        const QString question = dialogsB.calls.first().text;
        QVERIFY2(question.contains(QString::number(QCoreApplication::applicationPid())) &&
                     question.contains(QDir::toNativeSeparators(path)),
                 qPrintable(question));
        QCOMPARE(b->matchStore().count(), answer < 0 ? 0 : 3);
        QCOMPARE(b->openDocument().isReadOnly(), answer == 0);
        QCOMPARE(b->windowTitle().contains(u"только чтение"_s), answer == 0);
        QVERIFY(!b->openDocument().isLocked());
        if (answer != 0)
            return;
        // Saving over the file is refused with a word and a name for a copy asked.
        const QByteArray before = readFile(path);
        b->store.remove({0});
        b->markModified();
        dialogsB.questionAnswers = {QMessageBox::Yes};
        b->save();
        QCOMPARE(dialogsB.kinds.mid(1), (QStringList{u"question"_s, u"warning"_s, u"save"_s}));
        QCOMPARE(readFile(path), before);
        // The first window closing lets the lock go; the next window takes it silently.
        a.reset();
        FakeDialogs dialogsC;
        auto c = startWindow(path, dialogsC);
        QVERIFY(dialogsC.kinds.isEmpty() && c->openDocument().isLocked());
    }

    // Window B saves over a file that window A changed since B read it: B asks, and does what
    // the answer says.
    void changedOnDisk_data()
    {
        QTest::addColumn<int>("answer"); // save as, overwrite, reload, cancel
        QTest::addColumn<QString>("fileHolds");
        QTest::newRow("save as") << 0 << u"A"_s;
        QTest::newRow("overwrite") << 1 << u"B"_s;
        QTest::newRow("reload") << 2 << u"A"_s;
        QTest::newRow("cancel") << 3 << u"A"_s;
    }
    void changedOnDisk()
    {
        QFETCH(int, answer);
        QFETCH(QString, fileHolds);
        const QString path = newBase();
        FakeDialogs dialogsA;
        FakeDialogs dialogsB;
        auto a = startWindow(path, dialogsA);
        dialogsB.choiceAnswers = {1}; // open anyway
        auto b = startWindow(path, dialogsB);
        dialogsA.fileAnswers = QStringList{QStringLiteral(TESTDATA_DIR "/gui/import")};
        a->import();
        dialogsA.questionAnswers = {QMessageBox::Yes};
        a->save();
        const QByteArray saved = readFile(path);
        QCOMPARE(a->matchStore().count(), 6);

        b->store.add(makeMatch(u"b.xml"_s, u"2016-01-01"_s, u"C"_s, u"D"_s));
        b->markModified();
        QTRY_VERIFY(b->statusbar->currentMessage().contains(u"изменён другой программой"_s));
        const QString copy = dir.filePath(u"copy%1.swb"_s.arg(serial));
        dialogsB.choiceAnswers = {answer};
        dialogsB.fileAnswers = QStringList{copy};
        dialogsB.questionAnswers = {QMessageBox::Yes};
        dialogsB.kinds.clear();
        b->save();
        QCOMPARE(dialogsB.kinds.mid(0, 2), (QStringList{u"question"_s, u"choice"_s}));
        QCOMPARE(readFile(path), fileHolds == u"A"_s ? saved : databaseBytes(b->matchStore()));
        QCOMPARE(b->isModified(), answer == 3);
        if (answer == 0)
            QCOMPARE(readFile(copy), databaseBytes(b->matchStore()));
        if (answer == 2)
            QCOMPARE(b->matchStore().count(), 6);
    }

    // An XML import, a CSV import and a deletion of rows picked from a match list are each one
    // step named in the menu; undoing them all returns to the saved state (no "*") and
    // a save then writes the file as it was opened; redoing gives the changed store back.
    void undoRedo()
    {
        const QString path = newBase();
        const QByteArray opened = readFile(path);
        dialogs = FakeDialogs();
        auto window = startWindow(path, dialogs);
        QVERIFY(!window->actionUndo->isEnabled());

        dialogs.fileAnswers = QStringList{QStringLiteral(TESTDATA_DIR "/gui/import")};
        window->import();
        QCOMPARE(window->actionUndo->text(), u"Отменить: импорт 3 отчётов"_s);
        QVERIFY(window->isWindowModified());
        const QString csv = dir.filePath(u"one.csv"_s);
        QVERIFY(writeFile(csv, "Date;Home;Away;FT\n01.03.2015;X;Y;2:2\n"));
        dialogs.fileAnswers = QStringList{csv};
        dialogs.onExec = [](QDialog &) { return int(QDialog::Accepted); };
        window->importCsv();
        dialogs.onExec = nullptr;
        QCOMPARE(window->actionUndo->text(), u"Отменить: импорт 1 матча из «one.csv»"_s);

        // The match list, sorted as shown; rows 0 and 2 picked, and a row of another page kind
        // is no report: only report rows count.
        window->callCalculateMatches();
        QTableWidget *table = window->table;
        const int rows = table->rowCount();
        QVERIFY(rows >= 5);
        table->clearSelection();
        table->setSelectionMode(QAbstractItemView::MultiSelection);
        table->selectRow(0);
        table->selectRow(2);
        const int linkColumn = table->columnCount() - 1;
        const QStringList picked{splitLink(table->item(0, linkColumn)->text()).argument,
                                 splitLink(table->item(2, linkColumn)->text()).argument};
        dialogs.questionAnswers = {QMessageBox::Yes};
        dialogs.kinds.clear();
        window->deleteMatches();
        QCOMPARE(dialogs.kinds, QStringList{u"question"_s});
        QVERIFY(dialogs.calls.last().text.contains(u"2 матча"_s));
        QCOMPARE(window->matchStore().count(), 5);
        for (const QString &name : picked)
            QCOMPARE(window->matchStore().indexOf(name), -1);
        QCOMPARE(window->actionUndo->text(), u"Отменить: удаление 2 матчей"_s);
        QCOMPARE(table->rowCount(), rows - 2); // the page follows

        const QByteArray changed = databaseBytes(window->matchStore());
        window->actionUndo->trigger();
        QCOMPARE(window->matchStore().count(), 7);
        QCOMPARE(window->actionRedo->text(), u"Повторить: удаление 2 матчей"_s);
        window->actionUndo->trigger();
        QCOMPARE(window->matchStore().count(), 6);
        window->actionUndo->trigger();
        QCOMPARE(window->matchStore().count(), 3);
        QCOMPARE(window->comboTournaments->count(), 3); // the imported tournament has gone
        QVERIFY(!window->isModified() && !window->isWindowModified());
        QVERIFY(!window->actionUndo->isEnabled());
        window->save(); // unchanged: written without a question
        QCOMPARE(readFile(path), opened);

        for (int step = 0; step < 3; ++step)
            window->actionRedo->trigger();
        QVERIFY(window->isWindowModified());
        QCOMPARE(databaseBytes(window->matchStore()), changed);
        // Ctrl+Z is the undo action's key; Ctrl+Y and Ctrl+Shift+Z redo.
        QCOMPARE(window->actionUndo->shortcut(), QKeySequence(QKeySequence::Undo));
        QVERIFY(window->actionRedo->shortcuts().contains(QKeySequence(u"Ctrl+Y"_s)));
        QVERIFY(window->actionRedo->shortcuts().contains(QKeySequence(u"Ctrl+Shift+Z"_s)));
    }

    // The report shown is deleted with its own question; nothing deletable says so.
    void deleteReportShown()
    {
        const QString path = newBase();
        dialogs = FakeDialogs();
        auto window = startWindow(path, dialogs);
        window->deleteMatches(); // the start page: nothing to delete
        QCOMPARE(dialogs.kinds, QStringList{u"information"_s});
        window->showPage(PageCode::Report + u"t1.xml"_s, QString());
        dialogs.questionAnswers = {QMessageBox::No, QMessageBox::Yes};
        window->deleteMatches();
        QCOMPARE(window->matchStore().count(), 3);
        window->deleteMatches();
        QVERIFY(dialogs.calls.last().text.contains(u"1 матч?"_s));
        QCOMPARE(window->matchStore().indexOf(u"t1.xml"_s), -1);
        QVERIFY(window->text->toPlainText().contains(u"Путь к файлу"_s)); // back at the start

        // Of a filtered list only the rows shown go, whatever else the selection holds.
        window->callCalculateMatches();
        window->rowFilter->setText(u"/03"_s);
        window->table->selectAll();
        dialogs.questionAnswers = {QMessageBox::Yes};
        window->deleteMatches();
        QCOMPARE(window->matchStore().count(), 1);
        QCOMPARE(window->matchStore().at(0).fileName, u"t0.xml"_s);
    }

    // The start page tells a new database, an opened one and a missing file apart; a new
    // database is remembered only once it is saved.
    void startPage()
    {
        const QString path = newBase();
        const QString fresh = dir.filePath(u"fresh.swb"_s);
        const QString lost = dir.filePath(u"lost.swb"_s);
        dialogs = FakeDialogs();
        auto window = startWindow(lost, dialogs);
        QVERIFY(window->text->toPlainText().contains(u"не найден"_s));

        dialogs.fileAnswers = QStringList{fresh};
        window->newSwb();
        QString page = window->text->toPlainText();
        QVERIFY2(!page.contains(u"не найден"_s) && page.contains(u"Новая база"_s),
                 qPrintable(page));
        QVERIFY(window->close());
        QCOMPARE(settingsData(), lost); // the new database was never saved

        window = startWindow(path, dialogs);
        page = window->text->toPlainText();
        QVERIFY(!page.contains(u"не найден"_s) && !page.contains(u"Новая база"_s));
        dialogs.fileAnswers = QStringList{fresh};
        window->newSwb();
        window->store.add(makeMatch(u"n.xml"_s, u"2020-01-01"_s, u"A"_s, u"B"_s));
        window->markModified();
        dialogs.questionAnswers = {QMessageBox::Yes};
        dialogs.kinds.clear();
        window->save(); // to the name given when it was made, without asking for it again
        QCOMPARE(dialogs.kinds, QStringList{u"question"_s});
        QCOMPARE(readFile(fresh), databaseBytes(window->matchStore()));
        QVERIFY(!window->text->toPlainText().contains(u"не найден"_s));
        QVERIFY(window->close());
        QCOMPARE(settingsData(), fresh);
    }
};

QTEST_MAIN(FileCommandsTest)
#include "tst_gui_filecommands.moc"
