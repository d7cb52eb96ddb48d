// The main window: start-up, every command reaching its page, history, sorting, links, progress,
// the text export and the icons; its file commands and the window as a view of its document (open,
// new, save, save as, the imports, unreadable and unwritable files, the question about unsaved
// changes, two windows on one file, undo and redo, deleting matches, the start page); the report
// editor; printing and PDF, read through the page objects and title and, where pdftotext is
// installed, through the text.

#include "app/mainwindow.h"
#include "app/printing.h"
#include "app/resulttableview.h"
#include "app/seasonchart.h"
#include "app/settings.h"
#include "dialogs/editreport.h"
#include "formats/database.h"
#include "formats/xmlimport.h"
#include "pages/builders.h"
#include "pages/pagecodes.h"
#include "pages/textexport.h"
#include "strings/archivetexts.h"
#include "strings/texts.h"
#include "testsupport.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>

using namespace Qt::Literals::StringLiterals;

// A dialog provider that answers from a script and records what it was asked, and helpers that
// start a window on a given database with settings private to this test process.
class FakeDialogs : public DialogProvider
{
public:
    struct Call
    {
        QString kind, title, text; // kind: "open", "save", "directory", "question", "warning" ...
    };
    // Answers, taken in order; an exhausted list answers "cancelled".
    QStringList fileAnswers;
    QList<QMessageBox::StandardButton> questionAnswers;
    int menuAnswer = -1;
    QStringList lastMenu;
    QList<Call> calls;
    QStringList kinds; // the kind of each call

    using S = const QString &;
    QString getOpenFileName(QWidget *, S c, S, S f) override { return file(u"open", c, f); }
    QString getSaveFileName(QWidget *, S c, S, S f) override { return file(u"save", c, f); }
    QString getExistingDirectory(QWidget *, S c, S) override { return file(u"directory", c, {}); }
    // The save dialog's check box: ticked or cleared when set, else left as the window set it.
    std::optional<bool> saveOptionAnswer;
    QString getSaveFileNameWithOption(QWidget *, S c, S, S f, S, bool &option) override
    {
        if (saveOptionAnswer)
            option = *saveOptionAnswer;
        return file(u"save", c, f);
    }
    QMessageBox::StandardButton question(QWidget *, S title, S text, QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override
    {
        note(u"question", title, text);
        return questionAnswers.isEmpty() ? QMessageBox::Cancel : questionAnswers.takeFirst();
    }
    void information(QWidget *, S title, S text) override { note(u"information", title, text); }
    void warning(QWidget *, S title, S text) override { note(u"warning", title, text); }
    void about(QWidget *, S title, S text) override { note(u"about", title, text); }
    int chooseMenuEntry(QWidget *, const QStringList &labels, const QPoint &) override
    {
        note(u"menu", {}, labels.join(QLatin1Char('|')));
        lastMenu = labels;
        return menuAnswer;
    }
    // Plays the user's part in a dialog and returns its result; unset: the dialog is cancelled.
    std::function<int(QDialog &)> onExec;
    int exec(QDialog &dialog) override
    {
        note(u"dialog", {}, {});
        return onExec ? onExec(dialog) : int(QDialog::Rejected);
    }
    QStringList itemAnswers;
    QStringList lastItems;
    QString chooseItem(QWidget *, S title, S label, const QStringList &items) override
    {
        note(u"item", title, label);
        lastItems = items;
        return itemAnswers.isEmpty() ? QString() : itemAnswers.takeFirst();
    }

    // Answers to the questions with buttons of their own: the index of the button pressed.
    QList<int> choiceAnswers;
    int choose(QWidget *, S title, S text, const QStringList &) override
    {
        note(u"choice", title, text);
        return choiceAnswers.isEmpty() ? -1 : choiceAnswers.takeFirst();
    }

    // The texts of the warnings shown, in order.
    QStringList warnings() const
    {
        QStringList texts;
        for (const Call &call : calls)
            if (call.kind == u"warning")
                texts << call.text;
        return texts;
    }

private:
    void note(QStringView kind, S title, S text)
    {
        calls.append({kind.toString(), title, text});
        kinds.append(kind.toString());
    }
    QString file(QStringView kind, S caption, S filter)
    {
        note(kind, caption, filter);
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};
// Settings under home (a fresh directory): tests running side by side never share settings, and
// none touches the user's.
inline void isolateSettings(const QString &home)
{
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
}

inline QSettings testSettings()
{
    return AppSettings::open();
}

// The settings the next window starts from: "data" set to path, or no key when path is null.
inline void setStartDatabase(const QString &path)
{
    QSettings settings = testSettings();
    settings.clear();
    if (!path.isNull())
        settings.setValue(AppSettings::DataKey, path);
}

inline QString settingsData()
{
    return testSettings().value(AppSettings::DataKey).toString();
}

inline std::unique_ptr<MainWindow> startWindow(const QString &database, FakeDialogs &dialogs)
{
    setStartDatabase(database);
    return std::make_unique<MainWindow>(&dialogs);
}

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

QString field(QWidget &dialog, const char *name)
{
    auto *edit = dialog.findChild<QLineEdit *>(QLatin1StringView(name));
    return edit ? edit->text() : u"<missing>"_s;
}

using Script = std::function<void(QDialog &)>;

// Types the fields, then presses OK or Cancel.
Script answer(const QList<std::pair<const char *, QString>> &fields, bool ok = true)
{
    return [fields, ok](QDialog &dialog) {
        dialog.show();
        for (const auto &[name, text] : fields)
            dialog.findChild<QLineEdit *>(QLatin1StringView(name))->setText(text);
        auto *box = dialog.findChild<QDialogButtonBox *>(u"buttonBox"_s);
        box->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    };
}

// Runs each modal dialog through the next script; notes what each form showed as team 1.
struct ScriptedDialogs : FakeDialogs
{
    QList<Script> scripts;
    QStringList opened;
    int exec(QDialog &dialog) override
    {
        opened << field(dialog, "fTeam1");
        if (!scripts.isEmpty())
            scripts.takeFirst()(dialog);
        return dialog.result();
    }
};

// From "file|date|tournament|team1|team2|goals1|goals2|players1|players2", players split by ','.
Match played(const QString &spec)
{
    const QStringList f = spec.split(u'|');
    Match match = makeMatch(f[0], f[1], f[3], f[4], f[5], f[6]);
    match.edit().tournament = f[2];
    match.edit().players1 = lineup(f[7].split(u','));
    match.edit().players2 = lineup(f[8].split(u','));
    return match;
}

MatchStore leagueStore()
{
    return makeStore({played(u"a.xml|2009-03-14|Лига|Спартак|Зенит|2|1|Иванов,Смит|Петров"_s),
                      played(u"b.xml|2009-03-21|Лига|Зенит|Спартак|0|0|Петров|Иванов"_s),
                      played(u"c.xml|2009-04-01|Кубок|Динамо|Спартак|1|1|Сидоров|Иванов"_s)});
}

bool sameStore(const MatchStore &a, const MatchStore &b)
{
    const QList<Match> x = a.matches(), y = b.matches();
    return std::equal(x.begin(), x.end(), y.begin(), y.end(),
                      [](auto &p, auto &q) { return p.sameRecord(q); });
}

// Each row of the window's table as its first cells, trimmed and joined by '|'; sorted.
QStringList shownRows(const QTableWidget *table, int columns)
{
    QStringList rows = widgetLines(table, columns);
    rows.replaceInStrings(QRegularExpression(u"(^|\\|) +"_s), u"\\1"_s).sort();
    return rows;
}

// Plays a step of the user in the editor's tables, "VERB TABLE [ROW COLUMN TEXT]", TABLE being
// s1, s2 (line-ups) or ev (events): "enter" presses Enter on the last row, "type" types TEXT into
// a cell through its editor and presses Enter, "set" puts TEXT in a cell as a report read from a
// file may hold it, "del" selects ROW and presses Delete, "down" moves ROW down with its button.
void tableStep(QDialog &dialog, const QString &step)
{
    const QStringList words = step.split(u' ');
    const QString name = words.at(1) == u"ev"_s   ? u"fEvents"_s
                         : words.at(1) == u"s1"_s ? u"fSquad1"_s
                                                  : u"fSquad2"_s;
    auto *table = dialog.findChild<QTableWidget *>(name);
    const int row = words.value(2).toInt();
    const int column = words.value(3).toInt();
    const QString text = words.mid(4).join(u' ');
    const QString &verb = words.at(0);
    if (verb == u"enter"_s) {
        table->setCurrentCell(table->rowCount() - 1, 0);
        QTest::keyClick(table, Qt::Key_Return);
    } else if (verb == u"type"_s) {
        table->setCurrentCell(row, column);
        if (!table->indexWidget(table->currentIndex())) // Enter opened the new row's first cell
            table->editItem(table->item(row, column));
        QWidget *editor = table->indexWidget(table->currentIndex());
        QVERIFY(editor);
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            if (combo->isEditable())
                combo->setEditText(text);
            else
                combo->setCurrentIndex(combo->findText(text));
        } else {
            qobject_cast<QLineEdit *>(editor)->setText(text);
        }
        QTest::keyClick(editor, Qt::Key_Return);
    } else if (verb == u"set"_s) {
        table->item(row, column)->setText(text);
    } else if (verb == u"del"_s) {
        table->setCurrentCell(row, 0);
        table->selectRow(row);
        QTest::keyClick(table, Qt::Key_Delete);
    } else if (verb == u"down"_s) {
        table->setCurrentCell(row, 0);
        dialog.findChild<QPushButton *>(name + u"Down"_s)->click();
    }
}

// Line-up entries as "name#id" joined by ',', events as their eight fields joined by ',' and
// joined by ';' (null and empty alike).
QString lineupText(const QList<PlayerEntry> &players)
{
    QStringList entries;
    for (const PlayerEntry &p : players)
        entries << p.name + u'#' + p.id;
    return entries.join(u',');
}
QString eventsText(const QList<MatchEvent> &events)
{
    QStringList entries;
    for (const MatchEvent &e : events)
        entries << QStringList{e.time,     e.type,    e.team,      e.player,
                               e.playerid, e.player2, e.playerid2, e.comment}
                       .join(u',');
    return entries.join(u';');
}

int pageCount(const QByteArray &pdf)
{
    int pages = 0;
    for (auto it = QRegularExpression(u"/Type /Page[^s]"_s).globalMatch(QString::fromLatin1(pdf));
         it.hasNext(); it.next())
        ++pages;
    return pages;
}

bool landscape(const QByteArray &pdf)
{
    const QRegularExpressionMatch box =
        QRegularExpression(u"/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"_s)
            .match(QString::fromLatin1(pdf));
    return box.hasMatch() && box.captured(1).toDouble() > box.captured(2).toDouble();
}

// The document title: a literal string of UTF-16 after its byte order mark.
QString title(const QByteArray &pdf)
{
    qsizetype i = pdf.indexOf("/Title (");
    if (i < 0)
        return u"<none>"_s;
    i += 8;
    QByteArray bytes;
    while (i < pdf.size() && pdf.at(i) != ')') {
        if (pdf.at(i) == '\\')
            ++i;
        bytes += pdf.at(i++);
    }
    if (!bytes.startsWith("\xfe\xff"))
        return QString::fromLatin1(bytes);
    QString text;
    for (qsizetype k = 2; k + 1 < bytes.size(); k += 2)
        text += QChar(char16_t((uchar(bytes.at(k)) << 8) | uchar(bytes.at(k + 1))));
    return text;
}

// The text of each page, or nothing when pdftotext is not installed.
QStringList pageTexts(const QByteArray &pdf)
{
    const QString tool = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (tool.isEmpty())
        return {};
    QTemporaryFile file;
    if (!file.open() || file.write(pdf) != pdf.size())
        return {};
    file.flush();
    QProcess process;
    process.start(tool, {u"-layout"_s, file.fileName(), u"-"_s});
    process.waitForFinished();
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// A table of rows rows ("row-00001" …) and columns columns; long headers make it wide.
TableSnapshot sampleTable(int rows, int columns, bool longHeaders, const QString &footnote)
{
    TableSnapshot table;
    for (int c = 0; c < columns; ++c) {
        table.headers.append(longHeaders ? u"Очень длинный заголовок %1"_s.arg(c)
                                         : u"Столбец %1"_s.arg(c));
        table.widths.append(60);
    }
    for (int r = 1; r <= rows; ++r) {
        QStringList cells{u"row-%1"_s.arg(r, 5, 10, QLatin1Char('0'))};
        for (int c = 1; c < columns; ++c)
            cells.append(QString::number(r * c));
        table.rows.append(cells);
    }
    table.footnote = footnote;
    return table;
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

    QString basePath; // three matches, 01.02.2015 - 03.02.2015, a fresh file for each window

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

    QString m_league = dir.filePath(u"league.swb"_s); // leagueStore() as a database file

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
        QVERIFY(writeDatabase(m_league, leagueStore()).ok());
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
        QTEST(window->caption->text(), "caption");
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
        QTEST(QStringList({dialogs.kinds.join(u' '), window->currentLink, window->previousLink,
                           shownCaption.section(u" — "_s, 1),
                           window->rowFilter->hasFocus() ? u"filter"_s : QString()})
                  .join(u'|'),
              "expected");
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

    // A rules file that cannot be read is reported (tst_document keeps it until the rules change);
    // the dialog's rules reach the standings at once and the file with the next save.
    void rulesFile()
    {
        auto window = baseWindow(false);
        QVERIFY(window);
        const QString rulesPath = rulesFilePath(basePath);
        QVERIFY(writeFile(rulesPath, "{"));
        QVERIFY(window->loadDatabase(basePath, false));
        QCOMPARE(dialogs.kinds, QStringList{u"warning"_s});
        QVERIFY(dialogs.calls.last().text.contains(QDir::toNativeSeparators(rulesPath)));

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
        // A report as the editor stores it (the editor itself is tested below), shown.
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
    // a save then writes the file as it was opened; a redo marks the window changed again.
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

        window->actionRedo->trigger(); // redoing gives what undoing took, as tst_document shows
        QVERIFY(window->isWindowModified());
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

    void editorStoresFieldsInDetachedRecord()
    {
        MatchStore store = leagueStore();
        const Match held = store.matches().at(0); // a copy elsewhere must not see the edit
        store.add(held);                          // a second report of the same name
        FakeDialogs fake; // a refusal, not expected here, must not open a real message box
        EditReport dialog(store, u"a.xml"_s, fake);
        QCOMPARE(field(dialog, "fDate"), u"14.03.2009"_s);
        answer({})(dialog);
        QVERIFY(!dialog.storedChanges());
        answer({{"fTeam1", u"Торпедо"_s}})(dialog);
        Match expected = held;
        expected.edit().team1 = u"Торпедо"_s;
        QVERIFY(store.matches().at(0).sameRecord(expected)); // untouched null texts stay null

        using D = MatchData;
        // clang-format off
        const QList<std::pair<const char *, QString D::*>> fields = {
            {"fChampionship", &D::tournament}, {"fRound", &D::round}, {"fTeam1", &D::team1},
            {"fTeam2", &D::team2}, {"fGoals1", &D::goals1}, {"fGoals2", &D::goals2},
            {"fExtra1", &D::extra1}, {"fExtra2", &D::extra2}, {"fPenalty1", &D::penalties1},
            {"fPenalty2", &D::penalties2}, {"fCity", &D::city}, {"fStadium", &D::stadium},
            {"fAttendance", &D::attendance}, {"fReferee", &D::referee}, {"fTime", &D::time},
            {"fCoach1", &D::coach1}, {"fCoach2", &D::coach2}};
        // clang-format on
        QList<std::pair<const char *, QString>> typed = {{"fDate", u"01.04.2010"_s}};
        expected.edit().date = QDate(2010, 4, 1);
        int n = 0;
        for (const auto &[name, member] : fields) {
            const bool count =
                QByteArray(name).contains("Goals") || QByteArray(name).contains("Extra") ||
                QByteArray(name).contains("Penalty") || QByteArray(name) == "fAttendance";
            typed.append({name, count ? QString::number(++n) : QLatin1StringView(name) + u" *"_s});
            expected.edit().*member = typed.last().second;
        }
        answer(typed)(dialog);
        QCOMPARE(fake.warnings(), QStringList());
        QVERIFY(store.matches().at(0).sameRecord(expected));
        QCOMPARE(held->team1, u"Спартак"_s);
        QVERIFY(store.matches().at(3).sameRecord(held));
    }

    // Dates and counts the pages could not read keep the form open with a message naming them.
    void editorChecksFields_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QDate>("date");
        const QDate held(2009, 3, 14);
        QTest::newRow("empty means no date") << QByteArray("fDate") << QString() << true << QDate();
        QTest::newRow("day.month.year")
            << QByteArray("fDate") << u" 29.02.2008 "_s << true << QDate(2008, 2, 29);
        QTest::newRow("no such day") << QByteArray("fDate") << u"31.02.2009"_s << false << held;
        QTest::newRow("ISO order") << QByteArray("fDate") << u"2009-03-14"_s << false << held;
        QTest::newRow("attendance digits")
            << QByteArray("fAttendance") << u"15800"_s << true << held;
        QTest::newRow("attendance note")
            << QByteArray("fAttendance") << u"15800 (рез.)"_s << false << held;
        QTest::newRow("goals in words") << QByteArray("fGoals2") << u"два"_s << false << held;
        QTest::newRow("signed extra time") << QByteArray("fExtra1") << u"-1"_s << false << held;
        QTest::newRow("shoot-out blank") << QByteArray("fPenalty2") << u" "_s << false << held;
    }
    void editorChecksFields()
    {
        QFETCH(QByteArray, field);
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QDate, date);
        MatchStore store = leagueStore();
        store.setModified(false);
        FakeDialogs fake;
        EditReport dialog(store, u"a.xml"_s, fake);
        // A valid text is the only change; a refused one takes the other edits down with it.
        answer({{"fTeam1", valid ? u"Спартак"_s : u"Торпедо"_s}, {field.constData(), text}})(
            dialog);
        QCOMPARE(dialog.isVisible(), !valid); // a refused text keeps the form open
        QCOMPARE(fake.warnings().filter(text).size(), valid ? 0 : 1); // the refused text is named
        if (!valid)                                                   // the title names the problem
            QCOMPARE(fake.calls.last().title,
                     field == "fDate" ? u"Неверная дата"_s : u"Неверное число"_s);
        QCOMPARE(store.matches().at(0)->team1, u"Спартак"_s);
        QCOMPARE(store.matches().at(0)->date, date);
        QCOMPARE(store.isModified(), valid);
    }

    // The line-up and event tables: rows typed, moved and removed, and the checks before OK, each
    // naming the row and keeping the form open.
    void editorTables_data()
    {
        QTest::addColumn<QString>("steps");      // joined by "; "
        QTest::addColumn<QStringList>("stored"); // players1, players2, events; empty: refused
        QTest::addColumn<QString>("message");
        QTest::newRow("a goal, a card with added time, a substitution from the line-up")
            << u"enter s2; type s2 1 0 Кузнецов; type s2 1 1 77; "
               "enter ev; type ev 0 0 12; type ev 0 1 Гол; type ev 0 2 Спартак; type ev 0 3 "
               "Иванов; "
               "enter ev; type ev 1 0 45+2; type ev 1 1 Предупреждение; type ev 1 2 Зенит; "
               "type ev 1 3 Кузнецов; enter ev; type ev 2 0 60; type ev 2 1 Замена; "
               "type ev 2 2 Зенит; type ev 2 3 Петров; type ev 2 5 Сычёв; type ev 2 6 9; "
               "type ev 2 7 травма"_s
            << QStringList{u"Иванов#,Смит#"_s, u"Петров#,Кузнецов#77"_s,
                           u"12,Гол,Спартак,Иванов,,,,;45+2,Предупреждение,Зенит,Кузнецов,77,,,;"
                           "60,Замена,Зенит,Петров,,Сычёв,9,травма"_s}
            << QString();
        QTest::newRow("rows moved and removed; blank rows left out")
            << u"down s1 0; enter s1; enter s1; del s2 0"_s
            << QStringList{u"Смит#,Иванов#"_s, QString(), QString()} << QString();
        QTest::newRow("another kind stays as typed, for any team")
            << u"enter ev; type ev 0 1 Пас; set ev 0 2 Динамо; type ev 0 0  7 "_s
            << QStringList{u"Иванов#,Смит#"_s, u"Петров#"_s, u" 7 ,Пас,Динамо,,,,,"_s} << QString();
        QTest::newRow("a minute in words")
            << u"enter ev; type ev 0 1 Гол; type ev 0 2 Спартак; enter ev; type ev 1 0 90+"_s
            << QStringList()
            << u"События, строка 2: минута «90+» — не число (добавленное время: «45+2»)."_s;
        QTest::newRow("a goal for a team that did not play")
            << u"enter ev; type ev 0 1 Гол в свои ворота; set ev 0 2 Динамо"_s << QStringList()
            << u"События, строка 1: команда «Динамо» не играла в матче."_s;
        QTest::newRow("a card without a team")
            << u"enter ev; type ev 0 1 Удаление"_s << QStringList()
            << u"События, строка 1: команда «» не играла в матче."_s;
        QTest::newRow("a substitution without the player coming on")
            << u"enter ev; type ev 0 1 Замена; type ev 0 3 Иванов"_s << QStringList()
            << u"События, строка 1: в замене не указан вышедший игрок."_s;
    }

    void editorTables()
    {
        QFETCH(QString, steps);
        QFETCH(QStringList, stored);
        MatchStore store = leagueStore();
        store.setModified(false);
        FakeDialogs fake;
        EditReport dialog(store, u"a.xml"_s, fake);
        dialog.show();
        for (const QString &step : steps.split(u"; "_s))
            tableStep(dialog, step);
        dialog.findChild<QDialogButtonBox *>(u"buttonBox"_s)->button(QDialogButtonBox::Ok)->click();
        QTEST(fake.warnings().join(u'\n'), "message");
        QCOMPARE(dialog.isVisible(), stored.isEmpty());
        QCOMPARE(store.isModified(), !stored.isEmpty());
        const Match first = store.match(0);
        const MatchData &m = *first;
        if (!stored.isEmpty())
            QCOMPARE(
                (QStringList{lineupText(m.players1), lineupText(m.players2), eventsText(m.events)}),
                stored);
        else
            QVERIFY(m.events.isEmpty());
    }

    // The names of the database are offered in any case and by any part, each field from its
    // own kind of name (both teams, both coaches).
    void editorCompletesFromTheDatabase_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("tournament") << QByteArray("fChampionship") << u"КУБОК"_s
                                    << QStringList{u"Кубок"_s, u"кубок УЕФА"_s};
        QTest::newRow("tournament, inside")
            << QByteArray("fChampionship") << u"ига"_s << QStringList{u"Лига"_s};
        QTest::newRow("home team from the away side")
            << QByteArray("fTeam1") << u"ТОРП"_s << QStringList{u"Торпедо"_s};
        QTest::newRow("away team")
            << QByteArray("fTeam2") << u"спар"_s << QStringList{u"Спартак"_s};
        QTest::newRow("referee") << QByteArray("fReferee") << u"ан"_s
                                 << QStringList{u"Иванов С."_s};
        QTest::newRow("stadium") << QByteArray("fStadium") << u"луж"_s << QStringList{u"Лужники"_s};
        QTest::newRow("city, not the stadium") << QByteArray("fCity") << u"луж"_s << QStringList();
        QTest::newRow("second coach from the first's column")
            << QByteArray("fCoach2") << u"сё"_s << QStringList{u"Сёмин"_s};
    }
    void editorCompletesFromTheDatabase()
    {
        QFETCH(QByteArray, field);
        QFETCH(QString, typed);
        MatchStore store = leagueStore();
        Match uefa;
        uefa.edit().tournament = u"кубок УЕФА"_s;
        uefa.edit().referee = u"Иванов С."_s;
        uefa.edit().team2 = u"Торпедо"_s;
        uefa.edit().stadium = u"Лужники"_s;
        uefa.edit().city = u"Москва"_s;
        uefa.edit().coach1 = u"Сёмин"_s;
        store.add(uefa);
        FakeDialogs fake;
        EditReport dialog(store, u"c.xml"_s, fake);
        QCompleter *completer =
            dialog.findChild<QLineEdit *>(QLatin1StringView(field))->completer();
        QVERIFY(completer);
        completer->setCompletionPrefix(typed);
        QStringList found;
        for (int i = 0; completer->setCurrentRow(i); ++i)
            found << completer->currentCompletion();
        found.sort();
        QTEST(found, "offered");
    }

    void windowEditsShownReport()
    {
        ScriptedDialogs dialogs;
        auto window = startWindow(m_league, dialogs);
        QVERIFY2(!window->matchStore().isEmpty(), "the database did not open");
        const Script torpedo = answer({{"fTeam1", u"Торпедо"_s}, {"fGoals1", u"3"_s}});
        dialogs.scripts << answer({{"fTeam1", u"Торпедо"_s}}, false) << torpedo;
        window->callCalculateMatches();
        dialogs.questionAnswers << QMessageBox::Cancel;
        window->editReport(); // not a report page: adding a match is offered instead, declined
        QCOMPARE(dialogs.calls.last().title, u"Отчёт не открыт"_s);
        window->cellSelected(0, 0); // the first match, a.xml
        dialogs.questionAnswers << QMessageBox::No;
        window->editReport(); // Cancel with a change asks first; "No" keeps the form
        QCOMPARE(dialogs.calls.size(), 2);
        QCOMPARE(dialogs.calls.last().title, u"Закрыть без сохранения?"_s);
        QCOMPARE(dialogs.opened, (QStringList{u"Спартак"_s}));
        QVERIFY(!window->isModified());
        QVERIFY(sameStore(window->matchStore(), leagueStore()));

        window->editReport();
        QVERIFY(window->isModified());
        QVERIFY(window->findChild<QTextBrowser *>(u"text"_s)->toPlainText().contains(u"Торпедо"_s));
        window->callCalculateMatches();
        QVERIFY(shownRows(window->table, 5).join(u'\n').contains(u"Торпедо|Зенит|3:1"_s));
        window->callCalculateTable();
        QVERIFY(shownRows(window->table, 10).join(u'\n').contains(u"|Торпедо|1|1|0|0|3|1|+2|3"_s));

        // Accepted, the offer opens an empty form whose OK adds the match.
        dialogs.questionAnswers << QMessageBox::Yes;
        dialogs.scripts << answer({{"fTeam1", u"Ростов"_s}});
        window->editReport();
        QCOMPARE(dialogs.opened.last(), QString());
        QCOMPARE(window->matchStore().count(), 4);
        QCOMPARE(window->matchStore().matches().last()->team1, u"Ростов"_s);
    }

    void windowAddsSeparateReports()
    {
        ScriptedDialogs dialogs;
        auto window = startWindow(QString(), dialogs);
        dialogs.scripts << answer({{"fTeam1", u"Ростов"_s}, {"fDate", u"01.05.2010"_s}})
                        << answer({}, false)
                        << answer({{"fTeam1", u"Крылья"_s}, {"fDate", u"08.05.2010"_s}});
        window->addReport();
        window->addReport(); // cancelled: adds nothing, the page stays
        QVERIFY(window->findChild<QTextBrowser *>(u"text"_s)->toPlainText().contains(u"Ростов"_s));
        window->addReport();
        QCOMPARE(dialogs.opened, (QStringList{QString(), QString(), QString()}));
        const QList<Match> &matches = window->matchStore().matches();
        QCOMPARE(matches.size(), 2);
        QCOMPARE(matches.at(0)->fileName + matches.at(1)->fileName, u"new-1new-2"_s);
        QCOMPARE(window->matchStore().tournamentNames(), QStringList{QString()});
        window->callCalculateMatches(); // the date filter caught up with both
        QCOMPARE(shownRows(window->table, 1).size(), 2);

        dialogs.fileAnswers << dir.filePath(u"typed.swb"_s);
        window->saveAsSwb();
        dialogs.choiceAnswers = {0}; // the file is this window's: the second opens it read-only
        QVERIFY(sameStore(startWindow(dir.filePath(u"typed.swb"_s), dialogs)->matchStore(),
                          window->matchStore()));
    }

    void windowFindsPlayers_data()
    {
        QTest::addColumn<QString>("text");      // null: Cancel
        QTest::addColumn<QStringList>("found"); // name|team|matches, sorted
        QTest::newRow("part of a surname")
            << u"ов"_s
            << QStringList{u"Иванов|Спартак|3"_s, u"Петров|Зенит|2"_s, u"Сидоров|Динамо|1"_s};
        QTest::newRow("empty answer") << u""_s << QStringList();
        QTest::newRow("cancel") << QString() << QStringList();
    }
    void windowFindsPlayers()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        ScriptedDialogs dialogs;
        auto window = startWindow(m_league, dialogs);
        QVERIFY2(!window->matchStore().isEmpty(), "the database did not open");
        window->callCalculateTable();
        const QStringList standings = shownRows(window->table, 3);
        dialogs.scripts << answer({{"lineEdit", text}}, !text.isNull());
        window->callFindPlayer();
        QVERIFY(dialogs.scripts.isEmpty()); // asked
        QCOMPARE(shownRows(window->table, 3),
                 text.isEmpty() ? standings : found); // empty: page stays
    }

    void printTable_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("longHeaders");
        QTest::addColumn<QString>("footnote");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<int>("minPages");
        QTest::addColumn<int>("maxPages");
        QTest::newRow("one row") << 1 << 3 << false << QString() << false << 1 << 1;
        QTest::newRow("no rows, a footnote")
            << 0 << 3 << false << u"Очки: 3-1-0"_s << false << 1 << 1;
        // About 50 rows a page: many pages, never a page per row.
        QTest::newRow("a long table")
            << 1200 << 4 << false << u"Очки: 3-1-0"_s << false << 15 << 40;
        QTest::newRow("wide: landscape") << 60 << 9 << true << QString() << true << 1 << 3;
        QTest::newRow("wider than landscape: scaled, as many rows a page or more")
            << 300 << 30 << true << QString() << true << 1 << 8;
    }

    void printTable()
    {
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(bool, longHeaders);
        QFETCH(QString, footnote);
        const QString caption = u"Таблица «Высшая лига», 01.03.2024–30.10.2024"_s;
        const TableSnapshot table = sampleTable(rows, columns, longHeaders, footnote);
        int pages = 0;
        const QByteArray pdf = tablePdf(caption, table, &pages);
        QVERIFY(pdf.startsWith("%PDF-"));
        QCOMPARE(pageCount(pdf), pages);
        QFETCH(int, minPages);
        QFETCH(int, maxPages);
        QVERIFY2(pages >= minPages && pages <= maxPages, qPrintable(QString::number(pages)));
        QTEST(landscape(pdf), "landscape");
        QCOMPARE(title(pdf), caption);

        const QStringList texts = pageTexts(pdf);
        if (texts.isEmpty())
            QSKIP("pdftotext is not installed: the pages' text is not read");
        QCOMPARE(texts.size(), pages);
        QVERIFY(texts.constFirst().contains(caption));
        int next = 1; // every row once, in order, across the page breaks
        for (int p = 0; p < pages; ++p) {
            const QString &page = texts.at(p);
            if (p > 0)
                QVERIFY(!page.contains(caption));
            // The header on every page but one that holds the footnote alone.
            QVERIFY2(page.contains(table.headers.constFirst()) ||
                         (p > 0 && p == pages - 1 && !footnote.isEmpty()),
                     qPrintable(u"no header on page %1"_s.arg(p + 1)));
            // The page number at the foot, below the last row.
            const qsizetype number = page.indexOf(archiveTexts().pageNumber.arg(p + 1).arg(pages));
            QVERIFY(number > page.lastIndexOf(u"row-"_s));
            static const QRegularExpression rowKey(u"row-(\\d{5})"_s);
            for (auto it = rowKey.globalMatch(page); it.hasNext();)
                QCOMPARE(it.next().captured(1).toInt(), next++);
        }
        QCOMPARE(next, rows + 1);
        if (!footnote.isEmpty())
            QVERIFY(texts.constLast().contains(footnote));
    }

    // A report is one page however long: scaled down, never cut.
    void printReport_data()
    {
        QTest::addColumn<int>("paragraphs");
        QTest::newRow("three pages long") << 150;
    }

    void printReport()
    {
        QFETCH(int, paragraphs);
        QString html = u"<h2>Ракета — Звезда 2:1</h2>"_s;
        for (int i = 1; i <= paragraphs; ++i)
            html += u"<p>событие %1</p>"_s.arg(i);
        QTextDocument document;
        document.setHtml(html);
        const QByteArray pdf = documentPdf(document, u"Ракета — Звезда"_s);
        QCOMPARE(pageCount(pdf), 1);
        QCOMPARE(title(pdf), u"Ракета — Звезда"_s);
        const QStringList texts = pageTexts(pdf);
        if (!texts.isEmpty())
            QVERIFY(texts.constFirst().contains(u"событие %1"_s.arg(paragraphs)));
    }

    // The window prints and writes what it shows: the caption, the rows the filter keeps, the
    // report; and its table saves start with the caption when asked, the choice remembered.
    void printWindow()
    {
        QList<Match> matches;
        for (int i = 0; i < 40; ++i)
            matches.append(
                makeMatch(u"m%1"_s.arg(i), u"2020-03-%1"_s.arg(1 + i % 28, 2, 10, QLatin1Char('0')),
                          i % 2 ? u"Ракета"_s : u"Звезда"_s, u"Гость %1"_s.arg(i), u"1"_s, u"0"_s));
        const QString database = dir.filePath(u"db.swb"_s);
        QVERIFY(writeDatabase(database, makeStore(matches)).ok());
        FakeDialogs dialogs;
        auto window = startWindow(database, dialogs);
        QCOMPARE(window->matchStore().count(), 40);
        window->callCalculateMatches();
        window->findChild<QLineEdit *>(u"rowFilter"_s)->setText(u"Ракета"_s);
        const QString caption = window->findChild<QLabel *>(u"caption"_s)->text();
        QVERIFY(!caption.isEmpty());

        const QString pdfPath = dir.filePath(u"matches"_s);
        dialogs.fileAnswers = QStringList{pdfPath};
        window->findChild<QAction *>(u"actionExportPdf"_s)->trigger();
        const QByteArray pdf = readFile(pdfPath + u".pdf"_s);
        QCOMPARE(title(pdf), caption);
        const QStringList texts = pageTexts(pdf);
        if (!texts.isEmpty()) {
            QCOMPARE(texts.join(u'\n').count(u"Ракета"_s), 20);
            QVERIFY(!texts.join(u'\n').contains(u"Звезда"_s));
        }

        // "Печать…": the dialog's printer, sent to a PDF file.
        const QString printed = dir.filePath(u"printed.pdf"_s);
        dialogs.onExec = [&](QDialog &dialog) {
            auto *print = qobject_cast<QPrintDialog *>(&dialog);
            if (!print)
                return int(QDialog::Rejected);
            print->printer()->setOutputFormat(QPrinter::PdfFormat);
            print->printer()->setOutputFileName(printed);
            return int(QDialog::Accepted);
        };
        window->findChild<QAction *>(u"actionPrint"_s)->trigger();
        QCOMPARE(pageCount(readFile(printed)), 1);

        // The caption line: asked for, remembered, cleared.
        const QString csv = dir.filePath(u"t.csv"_s);
        const QString txt = dir.filePath(u"t.txt"_s);
        const auto startOf = [](const QString &path) { return QString::fromUtf8(readFile(path)); };
        dialogs.saveOptionAnswer = true;
        dialogs.fileAnswers = QStringList{csv};
        window->findChild<QAction *>(u"actionSaveAsCsv"_s)->trigger();
        QVERIFY(startOf(csv).startsWith(csvCaptionLine(caption) + u"Дата"_s));
        dialogs.saveOptionAnswer.reset();
        dialogs.fileAnswers = QStringList{txt};
        window->saveAsText();
        QVERIFY(startOf(txt).startsWith(caption + u"\n-"_s));
        dialogs.saveOptionAnswer = false;
        dialogs.fileAnswers = QStringList{csv};
        window->findChild<QAction *>(u"actionSaveAsCsv"_s)->trigger();
        QVERIFY(startOf(csv).startsWith(u"Дата"_s));

        // A report: one page, named after its first line.
        window->findChild<QLineEdit *>(u"rowFilter"_s)->clear();
        window->cellSelected(0, 0);
        QVERIFY(window->findChild<QTableWidget *>(u"table"_s)->isHidden());
        dialogs.fileAnswers = QStringList{dir.filePath(u"report.pdf"_s)};
        window->findChild<QAction *>(u"actionExportPdf"_s)->trigger();
        const QByteArray reportPdf = readFile(dir.filePath(u"report.pdf"_s));
        QCOMPARE(pageCount(reportPdf), 1);
        QVERIFY(title(reportPdf).contains(u"Гость"_s));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_gui_mainwindow.moc"
