// The main window's file commands: open, new, save, save under a name, the XML import, the
// messages for files that cannot be read or written, and the question about unsaved changes.

#include "tst_gui_mainwindow_fakes.h"

#include "strings/texts.h"
#include "testsupport.h"

#include <QComboBox>
#include <QDateEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

MatchStore storeOf(const QStringList &tournaments, const QStringList &dates)
{
    QList<Match> matches;
    for (qsizetype i = 0; i < tournaments.size(); ++i) {
        Match m = makeMatch(u"t%1.xml"_s.arg(i), dates.at(i), u"A"_s, u"B"_s, u"1"_s, u"0"_s);
        m.edit().tournament = tournaments.at(i);
        matches.append(m);
    }
    return makeStore(matches);
}

QStringList comboItems(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class FileCommandsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString basePath; // five matches in two tournaments, 01.02.2015 - 03.02.2015
    FakeDialogs dialogs;

    std::unique_ptr<MainWindow> baseWindow()
    {
        QFile::remove(basePath);
        if (!writeStore(basePath, storeOf({u"Лига"_s, u"Лига"_s, u"Кубок"_s, u"Лига"_s, u"Кубок"_s},
                                          {u"2015-02-01"_s, u"2015-02-02"_s, u"2015-02-02"_s,
                                           u"2015-02-03"_s, u"2015-02-03"_s})))
            return nullptr;
        dialogs = FakeDialogs();
        return startWindow(basePath, dialogs);
    }

    // What the window shows of its database, for "nothing changed" comparisons.
    static QStringList state(const MainWindow &w)
    {
        return {w.databasePath, QString::number(w.store.count()),
                comboItems(w.comboTournaments).join(QLatin1Char('|')), w.dateEditFrom->text(),
                w.dateEditTill->text()};
    }

    // A change that only lives in memory.
    static void changeStore(MainWindow &w)
    {
        w.store.append(makeMatch(u"new.xml"_s, u"2016-01-01"_s, u"C"_s, u"D"_s));
        w.markModified();
    }

private Q_SLOTS:
    void initTestCase();
    void openFailures_data();
    void openFailures();
    void damagedAtStartUp();
    void newThenSave();
    void saveFailureKeepsTheFile();
    void unsavedChanges_data();
    void unsavedChanges();
    void importTree();
    void importNothing_data();
    void importNothing();
};

void FileCommandsTest::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(u"home"_s));
    isolateSettings(dir.filePath(u"home"_s));
    basePath = dir.filePath(u"base.swb"_s);
}

void FileCommandsTest::openFailures_data()
{
    QTest::addColumn<QString>("file");     // name in the temporary directory; empty: cancelled
    QTest::addColumn<QByteArray>("bytes"); // written there first, unless null
    QTest::addColumn<QString>("kind");     // the message box shown, empty for none
    QTest::addColumn<QString>("reason");   // a piece of its text

    const QByteArray database = databaseBytes(storeOf({u"X"_s}, {u"2001-01-01"_s}));
    QTest::newRow("cancelled") << QString() << QByteArray() << QString() << QString();
    QTest::newRow("missing") << u"gone.swb"_s << QByteArray() << u"information"_s << u"не найден"_s;
    QTest::newRow("not a database") << u"text.swb"_s << QByteArray("just some text\n")
                                    << u"warning"_s << u"не является базой"_s;
    QTest::newRow("another version")
        << u"v2.swb"_s << QByteArray::fromHex("f07ba11000000002") << u"warning"_s << u"версии 2"_s;
    QTest::newRow("damaged") << u"cut.swb"_s << database.left(database.size() - 3) << u"warning"_s
                             << u"повреждён"_s;
    QTest::newRow("a directory") << u"folder.swb"_s << QByteArray() << u"warning"_s << u"не файл"_s;
}

// A file that cannot be read is named with its reason, and the open database stays as it was.
void FileCommandsTest::openFailures()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    auto window = baseWindow();
    QVERIFY(window);
    changeStore(*window);
    const QStringList before = state(*window);

    const QString path = file.isEmpty() ? QString() : dir.filePath(file);
    if (!bytes.isNull())
        QVERIFY(writeBytes(path, bytes));
    if (file == u"folder.swb"_s)
        QVERIFY(QDir(dir.path()).mkpath(file));
    dialogs.fileAnswers = QStringList{path};
    dialogs.questionAnswers = {QMessageBox::No}; // let the unsaved change go
    window->openSwb();

    QCOMPARE(state(*window), before);
    QCOMPARE(window->store.count(), 6);
    const QStringList expected = kind.isEmpty() ? QStringList{u"question"_s, u"open"_s}
                                                : QStringList{u"question"_s, u"open"_s, kind};
    QCOMPARE(dialogs.kinds(), expected);
    if (!kind.isEmpty()) {
        const QString message = dialogs.calls.last().text;
        QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
    }
    QVERIFY(window->text->toPlainText().contains(basePath));
}

void FileCommandsTest::damagedAtStartUp()
{
    const QString path = dir.filePath(u"broken.swb"_s);
    const QByteArray database = databaseBytes(storeOf({u"X"_s}, {u"2001-01-01"_s}));
    QVERIFY(writeBytes(path, database.left(20)));
    dialogs = FakeDialogs();
    auto window = startWindow(path, dialogs);

    QCOMPARE(dialogs.kinds(), QStringList{u"warning"_s});
    QVERIFY(dialogs.calls.first().text.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(window->store.count(), 0);
    // The damaged file is not the open database: nothing will be saved over it.
    QCOMPARE(window->databasePath, QString());
    QCOMPARE(contents(path), database.left(20));
}

void FileCommandsTest::newThenSave()
{
    auto window = baseWindow();
    QVERIFY(window);
    const QString path = dir.filePath(u"fresh.swb"_s);
    dialogs.fileAnswers = QStringList{path};
    window->newSwb();

    QCOMPARE(window->databasePath, path);
    QCOMPARE(window->store.count(), 0);
    QCOMPARE(comboItems(window->comboTournaments), QStringList{u"<Все турниры>"_s});
    QCOMPARE(window->dateEditFrom->text(), u"31.12.2999"_s);
    QCOMPARE(window->dateEditTill->text(), u"01.01.1800"_s);
    QVERIFY(window->text->toPlainText().contains(u"Матчей в базе: 0."_s));
    QVERIFY(!QFile::exists(path)); // nothing is written yet

    // The first save of a database without a file asks for its name; later saves ask first, and
    // only Yes writes.
    changeStore(*window);
    const QString named = dir.filePath(u"named.swb"_s);
    dialogs.calls.clear();
    dialogs.fileAnswers = QStringList{named};
    window->save();
    QCOMPARE(window->databasePath, named);
    QCOMPARE(contents(named), databaseBytes(window->store));
    QVERIFY(!window->isModified());

    changeStore(*window);
    const QByteArray before = contents(named);
    dialogs.questionAnswers = {QMessageBox::No, QMessageBox::Yes};
    window->save();
    QCOMPARE(contents(named), before);
    window->save();
    QCOMPARE(contents(named), databaseBytes(window->store));
    QCOMPARE(dialogs.kinds(), (QStringList{u"save"_s, u"question"_s, u"question"_s}));
    QCOMPARE(dialogs.calls.last().title, u"Сохранить изменения"_s);
    QCOMPARE(dialogs.calls.last().text, u"Сохранить изменения?"_s);
}

void FileCommandsTest::saveFailureKeepsTheFile()
{
    auto window = baseWindow();
    QVERIFY(window);
    changeStore(*window);
    const QString bad = dir.filePath(u"no/such/dir/out.swb"_s);
    dialogs.fileAnswers = QStringList{bad};
    window->saveAsSwb();

    QCOMPARE(dialogs.kinds(), (QStringList{u"save"_s, u"warning"_s}));
    QVERIFY(dialogs.calls.last().text.contains(QDir::toNativeSeparators(bad)));
    QCOMPARE(window->databasePath, basePath);
    QVERIFY(window->isModified());

    // Saved under a good name, the database moves there and the old file stays as it was.
    const QByteArray old = contents(basePath);
    const QString good = dir.filePath(u"copy.swb"_s);
    dialogs.fileAnswers = QStringList{good};
    window->saveAsSwb();
    QCOMPARE(window->databasePath, good);
    QCOMPARE(contents(good), databaseBytes(window->store));
    QCOMPARE(contents(basePath), old);
}

void FileCommandsTest::unsavedChanges_data()
{
    QTest::addColumn<QString>("command"); // close, new, open
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("hasFile"); // the database has been saved before
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs"); // answer of the file-name dialog when saving asks one
    QTest::addColumn<bool>("proceeds");
    QTest::addColumn<bool>("saved");

    const int yes = QMessageBox::Yes, no = QMessageBox::No, cancel = QMessageBox::Cancel;
    const QString bad = u"no/such/dir/x.swb"_s;
    QTest::newRow("close unchanged")
        << u"close"_s << false << true << 0 << QString() << true << false;
    QTest::newRow("close, save") << u"close"_s << true << true << yes << QString() << true << true;
    QTest::newRow("close, discard")
        << u"close"_s << true << true << no << QString() << true << false;
    QTest::newRow("close, cancel")
        << u"close"_s << true << true << cancel << QString() << false << false;
    QTest::newRow("close, save without file, name cancelled")
        << u"close"_s << true << false << yes << QString() << false << false;
    QTest::newRow("close, save without file, write fails")
        << u"close"_s << true << false << yes << bad << false << false;
    QTest::newRow("new, cancel") << u"new"_s << true << true << cancel << QString() << false
                                 << false;
    QTest::newRow("open, discard") << u"open"_s << true << true << no << QString() << true << false;
}

void FileCommandsTest::unsavedChanges()
{
    QFETCH(QString, command);
    QFETCH(bool, changed);
    QFETCH(bool, hasFile);
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, proceeds);
    QFETCH(bool, saved);

    auto window = baseWindow();
    QVERIFY(window);
    if (!hasFile) {
        dialogs.fileAnswers = QStringList{dir.filePath(u"unsaved.swb"_s)};
        window->newSwb();
        dialogs.calls.clear();
    }
    if (changed)
        changeStore(*window);
    const QByteArray before = contents(basePath);
    const QString pathBefore = window->databasePath;
    const QString other = dir.filePath(u"other.swb"_s);
    QVERIFY(writeStore(other, storeOf({u"Z"_s}, {u"2000-01-01"_s})));
    setStartDatabase(u"marker"_s);

    dialogs.questionAnswers = {QMessageBox::StandardButton(answer)};
    if (!saveAs.isNull())
        dialogs.fileAnswers.append(dir.filePath(saveAs));
    else if (!hasFile && answer == QMessageBox::Yes)
        dialogs.fileAnswers.append(QString()); // the file-name dialog is cancelled
    if (command != u"close"_s)
        dialogs.fileAnswers.append(other);

    bool closed = false;
    if (command == u"close"_s)
        closed = window->close();
    else if (command == u"new"_s)
        window->newSwb();
    else
        window->openSwb();

    QCOMPARE(dialogs.kinds().contains(u"question"_s), changed);
    if (command == u"close"_s) {
        QCOMPARE(closed, proceeds);
        // The settings are written only when the window really closes.
        QCOMPARE(settingsData(), proceeds ? window->databasePath : u"marker"_s);
    } else {
        QCOMPARE(window->databasePath != pathBefore, proceeds);
    }
    if (hasFile)
        QCOMPARE(contents(basePath) != before, saved);
    if (!proceeds) {
        QCOMPARE(window->store.count(), hasFile ? 6 : 1);
        QVERIFY(window->isModified());
    }
}

void FileCommandsTest::importTree()
{
    auto window = baseWindow();
    QVERIFY(window);
    dialogs.fileAnswers = QStringList{dir.filePath(u"empty.swb"_s)};
    window->newSwb();
    window->callCalculateMatches(); // a page to come back to; the empty store only says so
    dialogs.calls.clear();

    QSignalSpy messages(window->statusbar, &QStatusBar::messageChanged);
    const QString tree = QStringLiteral(TESTDATA_DIR "/gui/import");
    dialogs.fileAnswers = QStringList{tree};
    window->import();

    QCOMPARE(dialogs.kinds(), QStringList{u"directory"_s});
    QCOMPARE(dialogs.calls.first().title, u"Выберите директорий"_s);
    // Two reports below, one beside an undated one; capital ".XML", other files and hidden
    // folders are not read, but every visible file is counted.
    QCOMPARE(window->store.count(), 3);
    QCOMPARE(comboItems(window->comboTournaments),
             (QStringList{u"<Все турниры>"_s, u"Кубок"_s, u"Первенство"_s}));
    QCOMPARE(window->dateEditFrom->date(), QDate(2010, 5, 10));
    QCOMPARE(window->dateEditTill->date(), QDate(2011, 1, 2));
    QVERIFY(window->isModified());
    QVERIFY(window->table->isHidden());
    QVERIFY(window->text->toPlainText().contains(u"Матчей в базе: 3."_s));

    QStringList texts;
    for (const QList<QVariant> &message : messages)
        texts.append(message.first().toString());
    texts.removeAll(QString());
    // Progress at 0 appears only when the walk meets a folder first: file-system order.
    QVERIFY(!texts.isEmpty());
    for (const QString &text : std::as_const(texts))
        QVERIFY2(text == u"Читаем с диска... (0 файлов)"_s ||
                     text == u"Читаем с диска... (5 файлов)"_s,
                 qPrintable(text));
    QCOMPARE(texts.last(), u"Читаем с диска... (5 файлов)"_s);

    // Importing again appends every report a second time.
    dialogs.fileAnswers = QStringList{tree};
    window->import();
    QCOMPARE(window->store.count(), 6);
}

void FileCommandsTest::importNothing_data()
{
    QTest::addColumn<QString>("answer"); // the directory chosen, empty when cancelled
    QTest::addColumn<QStringList>("asked");
    QTest::newRow("cancelled") << QString() << QStringList{u"directory"_s};
    QTest::newRow("a folder that has gone")
        << u"gone/away"_s << QStringList{u"directory"_s, u"warning"_s};
}

void FileCommandsTest::importNothing()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, asked);
    auto window = baseWindow();
    QVERIFY(window);
    window->callCalculateTable();
    const QStringList before = state(*window);
    const QString directory = answer.isEmpty() ? QString() : dir.filePath(answer);
    dialogs.fileAnswers = QStringList{directory};
    window->import();

    QCOMPARE(dialogs.kinds(), asked);
    if (!directory.isEmpty())
        QVERIFY(dialogs.calls.last().text.contains(QDir::toNativeSeparators(directory)));
    QCOMPARE(state(*window), before);
    QVERIFY(!window->isModified());
    QVERIFY(window->table->isHidden()); // the start page is shown all the same
}

QTEST_MAIN(FileCommandsTest)
#include "tst_gui_filecommands.moc"
