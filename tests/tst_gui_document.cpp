// The window as a view of its document: two windows on one file, the questions about the lock
// and about a file changed on disk, undo and redo from the menu, deleting matches, and what the
// start page says about the database.

#include "tst_gui_mainwindow_fakes.h"

#include "testsupport.h"

#include "pages/pagecodes.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class DocumentWindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    int serial = 0;

    // A fresh file of three matches, 01.02.2015 - 03.02.2015, two tournaments.
    QString newBase()
    {
        QList<Match> matches;
        for (const QString &tournament : {u"Лига"_s, u"Кубок"_s, u"Лига"_s}) {
            const QString date = u"2015-02-0%1"_s.arg(matches.size() + 1);
            matches.append(withFields(
                makeMatch(u"t%1.xml"_s.arg(matches.size()), date, u"A"_s, u"B"_s, u"1"_s, u"0"_s),
                u"tournament="_s + tournament));
        }
        const QString path = dir.filePath(u"base%1.swb"_s.arg(++serial));
        return writeDatabase(path, makeStore(matches)).ok() ? path : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid() && QDir(dir.path()).mkpath(u"home"_s));
        isolateSettings(dir.filePath(u"home"_s));
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
        const QByteArray before = contents(path);
        b->store.remove({0});
        b->markModified();
        dialogsB.questionAnswers = {QMessageBox::Yes};
        b->save();
        QCOMPARE(dialogsB.kinds.mid(1), (QStringList{u"question"_s, u"warning"_s, u"save"_s}));
        QCOMPARE(contents(path), before);
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
        const QByteArray saved = contents(path);
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
        QCOMPARE(contents(path), fileHolds == u"A"_s ? saved : databaseBytes(b->matchStore()));
        QCOMPARE(b->isModified(), answer == 3);
        if (answer == 0)
            QCOMPARE(contents(copy), databaseBytes(b->matchStore()));
        if (answer == 2)
            QCOMPARE(b->matchStore().count(), 6);
    }

    // An XML import, a CSV import and a deletion of rows picked from a match list are each one
    // step named in the menu; undoing them all returns to the saved state (no "*") and
    // a save then writes the file as it was opened; redoing gives the changed store back.
    void undoRedo()
    {
        const QString path = newBase();
        const QByteArray opened = contents(path);
        FakeDialogs dialogs;
        auto window = startWindow(path, dialogs);
        QVERIFY(!window->actionUndo->isEnabled());

        dialogs.fileAnswers = QStringList{QStringLiteral(TESTDATA_DIR "/gui/import")};
        window->import();
        QCOMPARE(window->actionUndo->text(), u"Отменить: импорт 3 отчётов"_s);
        QVERIFY(window->isWindowModified());
        const QString csv = dir.filePath(u"one.csv"_s);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write("Date;Home;Away;FT\n01.03.2015;X;Y;2:2\n") > 0);
        file.close();
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
        QCOMPARE(contents(path), opened);

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
        FakeDialogs dialogs;
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
    }

    // The start page tells a new database, an opened one and a missing file apart; a new
    // database is remembered only once it is saved.
    void startPage()
    {
        const QString path = newBase();
        const QString fresh = dir.filePath(u"fresh.swb"_s);
        const QString lost = dir.filePath(u"lost.swb"_s);
        FakeDialogs dialogs;
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
        QCOMPARE(contents(fresh), databaseBytes(window->matchStore()));
        QVERIFY(!window->text->toPlainText().contains(u"не найден"_s));
        QVERIFY(window->close());
        QCOMPARE(settingsData(), fresh);
    }
};

QTEST_MAIN(DocumentWindowTest)
#include "tst_gui_document.moc"
