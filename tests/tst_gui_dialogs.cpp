#include "app/dialogprovider.h"
#include "app/mainwindow.h"
#include "dialogs/editreport.h"
#include "dialogs/find.h"
#include "model/database.h"
#include "model/matchstore.h"
#include "strings/texts.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

QString field(QWidget &dialog, const char *name)
{
    auto *edit = dialog.findChild<QLineEdit *>(QLatin1StringView(name));
    return edit ? edit->text() : u"<missing>"_s;
}

void setField(QWidget &dialog, const char *name, const QString &text)
{
    if (auto *edit = dialog.findChild<QLineEdit *>(QLatin1StringView(name)))
        edit->setText(text);
}

using Fields = QList<std::pair<const char *, QString>>;
using Script = std::function<void(QDialog &)>;

// A script for a dialog: type the fields, then OK or Cancel.
Script answer(const Fields &fields, bool ok = true)
{
    return [fields, ok](QDialog &dialog) {
        dialog.show();
        for (const auto &[name, text] : fields)
            setField(dialog, name, text);
        if (ok)
            dialog.accept();
        else
            dialog.reject();
    };
}

// Runs action once the next modal dialog is up; gives up after about five seconds.
void whenModal(std::function<void(QWidget *)> action, int attempts = 500)
{
    QTimer::singleShot(10, [action, attempts] {
        if (QWidget *modal = QApplication::activeModalWidget())
            action(modal);
        else if (attempts > 0)
            whenModal(action, attempts - 1);
    });
}

// Answers the window's modal dialogs synchronously, each with the next script; a dialog that a
// script leaves open is cancelled. Titles and messages are recorded.
class ScriptedDialogs : public DialogProvider
{
public:
    QList<Script> scripts;
    QStringList fileAnswers;
    QStringList dialogTitles;
    QStringList warnings;

    QString getOpenFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return nextFile();
    }
    QString getSaveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return nextFile();
    }
    QString getExistingDirectory(QWidget *, const QString &, const QString &) override
    {
        return nextFile();
    }
    QMessageBox::StandardButton question(QWidget *, const QString &, const QString &,
                                         QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override
    {
        return QMessageBox::Yes;
    }
    void information(QWidget *, const QString &, const QString &) override {}
    void warning(QWidget *, const QString &title, const QString &text) override
    {
        warnings << title + u": "_s + text;
    }
    void about(QWidget *, const QString &, const QString &) override {}
    int chooseMenuEntry(QWidget *, const QStringList &, const QPoint &) override { return -1; }
    int exec(QDialog &dialog) override
    {
        dialogTitles << dialog.windowTitle();
        dialog.setResult(QDialog::Rejected);
        if (!scripts.isEmpty())
            scripts.takeFirst()(dialog);
        if (dialog.isVisible())
            dialog.reject();
        return dialog.result();
    }

private:
    QString nextFile() { return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst(); }
};

Match playedMatch(const QString &fileName, const QDate &date, const QString &tournament,
                  const QString &team1, const QString &team2, const QString &goals1,
                  const QString &goals2, const QStringList &players1, const QStringList &players2)
{
    Match match;
    MatchData &m = match.edit();
    m.fileName = fileName;
    m.date = date;
    m.tournament = tournament;
    m.team1 = team1;
    m.team2 = team2;
    m.goals1 = goals1;
    m.goals2 = goals2;
    m.coach1 = u"Тренер "_s + team1;
    m.coach2 = u"Тренер "_s + team2;
    for (const QString &name : players1)
        m.players1.append({QString(), name});
    for (const QString &name : players2)
        m.players2.append({QString(), name});
    return match;
}

// Two league matches and a cup match.
MatchStore leagueStore()
{
    MatchStore store;
    store.append(playedMatch(u"a.xml"_s, QDate(2009, 3, 14), u"Лига"_s, u"Спартак"_s, u"Зенит"_s,
                             u"2"_s, u"1"_s, {u"Иванов"_s, u"Смит"_s}, {u"Петров"_s}));
    store.append(playedMatch(u"b.xml"_s, QDate(2009, 3, 21), u"Лига"_s, u"Зенит"_s, u"Спартак"_s,
                             u"0"_s, u"0"_s, {u"Петров"_s}, {u"Иванов"_s}));
    store.append(playedMatch(u"c.xml"_s, QDate(2009, 4, 1), u"Кубок"_s, u"Динамо"_s, u"Спартак"_s,
                             u"1"_s, u"1"_s, {u"Сидоров"_s}, {u"Иванов"_s}));
    store.addTournament(u"Лига"_s);
    store.addTournament(u"Кубок"_s);
    return store;
}

bool sameStore(const MatchStore &a, const MatchStore &b)
{
    if (a.count() != b.count())
        return false;
    for (int i = 0; i < a.count(); ++i) {
        if (!a.matches().at(i).sameRecord(b.matches().at(i)))
            return false;
    }
    return true;
}

// Each row of the window's table as its first columns joined by '|'.
QStringList shownRows(MainWindow &window, int columns)
{
    QStringList rows;
    auto *table = window.findChild<QTableWidget *>(u"table"_s);
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < columns; ++column) {
            QTableWidgetItem *item = table->item(row, column);
            cells << (item ? item->text().trimmed() : QString());
        }
        rows << cells.join(u'|');
    }
    return rows;
}

QString shownReport(MainWindow &window)
{
    return window.findChild<QTextBrowser *>(u"text"_s)->toPlainText();
}

bool tableShown(MainWindow &window)
{
    return window.findChild<QTableWidget *>(u"table"_s)->isVisibleTo(&window);
}

// Double-clicks the row of the shown table whose link is link; false when there is none.
bool openLink(MainWindow &window, const QString &link)
{
    auto *table = window.findChild<QTableWidget *>(u"table"_s);
    for (int row = 0; row < table->rowCount(); ++row) {
        QTableWidgetItem *item = table->item(row, table->columnCount() - 1);
        if (item && item->text() == link) {
            window.cellSelected(row, 0);
            return true;
        }
    }
    return false;
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void editorFillsFromReportLink();
    void editorWithoutReportIsEmpty_data();
    void editorWithoutReportIsEmpty();
    void editorStoresFieldsInPlace();
    void editorOkWithoutChangesKeepsRecord();
    void editorDateTexts_data();
    void editorDateTexts();
    void editorRefusesInvalidDate_data();
    void editorRefusesInvalidDate();
    void editorCompleterIgnoresCase_data();
    void editorCompleterIgnoresCase();
    void findAnswers_data();
    void findAnswers();

    void windowEditsShownReport();
    void windowEditorCancelled();
    void windowAddsReportsFromNothing();
    void windowSearch_data();
    void windowSearch();
    void windowSearchWithoutAnswerKeepsPage_data();
    void windowSearchWithoutAnswerKeepsPage();

private:
    std::unique_ptr<MainWindow> startWindow(const MatchStore &store, ScriptedDialogs &dialogs);
    QTemporaryDir m_dir;
};

void TestDialogs::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

std::unique_ptr<MainWindow> TestDialogs::startWindow(const MatchStore &store,
                                                     ScriptedDialogs &dialogs)
{
    QString path;
    if (!store.isEmpty()) {
        path = m_dir.filePath(u"start.swb"_s);
        if (!writeDatabase(path, store).ok())
            qWarning("cannot write the start database");
    }
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, u"Scorewright"_s,
                       u"Scorewright"_s);
    settings.setValue(u"data"_s, path);
    settings.sync();
    auto window = std::make_unique<MainWindow>(&dialogs);
    window->show();
    return window;
}

void TestDialogs::editorFillsFromReportLink()
{
    MatchStore store = leagueStore();
    store.findForUpdate(u"b.xml"_s)->edit().events = {
        {u"12"_s, u"Гол"_s, u"с игры"_s, u"Зенит"_s, u"p1"_s, u"Петров"_s, {}, {}},
        {u"60"_s, u"Замена"_s, {}, u"Спартак"_s, u"p3"_s, u"Иванов"_s, u"p9"_s, u"Козлов"_s}};
    EditReport dialog(store, u"xm01_b.xml"_s);
    QVERIFY(dialog.editsMatch());
    QCOMPARE(field(dialog, "fChampionship"), u"Лига"_s);
    QCOMPARE(field(dialog, "fTeam1"), u"Зенит"_s);
    QCOMPARE(field(dialog, "fGoals2"), u"0"_s);
    QCOMPARE(field(dialog, "fDate"), u"21.03.2009"_s);
    QCOMPARE(field(dialog, "fCoach2"), u"Тренер Спартак"_s);

    auto *squad2 = dialog.findChild<QTableWidget *>(u"fSquad2"_s);
    QCOMPARE(squad2->rowCount(), 1);
    QCOMPARE(squad2->horizontalHeaderItem(0)->text(), texts().hPlayer);
    QCOMPARE(squad2->item(0, 0)->text(), u"Иванов"_s);

    auto *events = dialog.findChild<QTableWidget *>(u"fEvents"_s);
    QCOMPARE(events->rowCount(), 2);
    QCOMPARE(events->horizontalHeaderItem(5)->text(), texts().hPlayerOff);
    const QStringList substitution = {u"60"_s,      u"Замена"_s, QString(),
                                      u"Спартак"_s, u"Иванов"_s, u"Козлов"_s};
    for (int column = 0; column < 6; ++column) {
        QCOMPARE(events->item(1, column)->text(), substitution.at(column));
        QCOMPARE(events->item(1, column)->flags(), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    }
}

void TestDialogs::editorWithoutReportIsEmpty_data()
{
    QTest::addColumn<QString>("link");
    QTest::newRow("no page yet") << QString();
    QTest::newRow("statistics page") << u"ta01_"_s;
    QTest::newRow("report code in another case") << u"XM01_a.xml"_s;
    QTest::newRow("report of no stored match") << u"xm01_gone.xml"_s;
}

void TestDialogs::editorWithoutReportIsEmpty()
{
    QFETCH(QString, link);
    MatchStore store = leagueStore();
    EditReport dialog(store, link);
    QVERIFY(field(dialog, "fTeam1").isEmpty());
    QCOMPARE(dialog.findChild<QLineEdit *>(u"fChampionship"_s)->completer(), nullptr);

    // OK just closes: there is nothing to store, so not even the date is looked at.
    answer({{"fTeam1", u"Торпедо"_s}, {"fDate", u"31.02.2009"_s}})(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.storedChanges());
    QVERIFY(sameStore(store, leagueStore()));
}

void TestDialogs::editorStoresFieldsInPlace()
{
    MatchStore store = leagueStore();
    store.append(leagueStore().matches().at(0)); // a second report of the same name
    const Match held = store.matches().at(0);    // a copy elsewhere must not see the edit

    const QList<std::pair<const char *, QString MatchData::*>> fields = {
        {"fChampionship", &MatchData::tournament},
        {"fRound", &MatchData::round},
        {"fTeam1", &MatchData::team1},
        {"fTeam2", &MatchData::team2},
        {"fGoals1", &MatchData::goals1},
        {"fGoals2", &MatchData::goals2},
        {"fExtra1", &MatchData::extra1},
        {"fExtra2", &MatchData::extra2},
        {"fPenalty1", &MatchData::penalties1},
        {"fPenalty2", &MatchData::penalties2},
        {"fCity", &MatchData::city},
        {"fStadium", &MatchData::stadium},
        {"fAttendance", &MatchData::attendance},
        {"fReferee", &MatchData::referee},
        {"fTime", &MatchData::time},
        {"fCoach1", &MatchData::coach1},
        {"fCoach2", &MatchData::coach2}};
    Fields typed;
    for (const auto &[name, member] : fields)
        typed.append({name, QLatin1StringView(name) + u" *"_s});
    typed.append({"fDate", u"01.04.2010"_s});
    typed.append({"fGoals1", QString()}); // any text is taken, the empty one too

    EditReport dialog(store, u"xm01_a.xml"_s);
    answer(typed)(dialog);
    QVERIFY(dialog.storedChanges());

    const MatchData &edited = *store.matches().at(0);
    for (const auto &[name, member] : fields) {
        const QString expected =
            qstrcmp(name, "fGoals1") == 0 ? QString() : QLatin1StringView(name) + u" *"_s;
        QCOMPARE(edited.*member, expected);
    }
    QCOMPARE(edited.date, QDate(2010, 4, 1));

    // What the editor does not edit stays, and only the first report of that name changes.
    Match expected = held;
    MatchData &e = expected.edit();
    for (const auto &[name, member] : fields)
        e.*member = edited.*member;
    e.date = edited.date;
    QVERIFY(store.matches().at(0).sameRecord(expected));
    QCOMPARE(held->team1, u"Спартак"_s);
    QCOMPARE(store.matches().at(3)->team1, u"Спартак"_s);
}

void TestDialogs::editorOkWithoutChangesKeepsRecord()
{
    MatchStore store;
    Match sparse;
    sparse.edit().fileName = u"new-1"_s; // every other text null, as a new report has them
    store.append(sparse);
    EditReport dialog(store, u"xm01_new-1"_s);
    answer({})(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.storedChanges());
    // Null stays null: the database file tells null from empty.
    QVERIFY(store.matches().at(0).sameRecord(sparse));
}

void TestDialogs::editorDateTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QDate>("date");
    QTest::newRow("empty means no date") << QString() << true << QDate();
    QTest::newRow("blanks mean no date") << u"   "_s << true << QDate();
    QTest::newRow("day.month.year") << u" 29.02.2008 "_s << true << QDate(2008, 2, 29);
    QTest::newRow("no such day") << u"31.02.2009"_s << false << QDate();
    QTest::newRow("ISO order") << u"2009-03-14"_s << false << QDate();
    QTest::newRow("short year") << u"14.03.09"_s << false << QDate();
}

void TestDialogs::editorDateTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QDate, date);
    QDate parsed(1900, 1, 1);
    QCOMPARE(EditReport::parseDate(text, &parsed), valid);
    if (valid)
        QCOMPARE(parsed, date);
}

void TestDialogs::editorRefusesInvalidDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("no such day") << u"31.02.2009"_s;
    QTest::newRow("ISO order") << u"2009-03-14"_s;
}

void TestDialogs::editorRefusesInvalidDate()
{
    QFETCH(QString, text);
    MatchStore store = leagueStore();
    EditReport dialog(store, u"xm01_a.xml"_s);
    QStringList messages;
    dialog.setMessageSink([&](QWidget *, const QString &message) { messages << message; });
    dialog.findChild<QTabWidget *>(u"tabReport"_s)->setCurrentIndex(2);

    answer({{"fTeam1", u"Торпедо"_s}, {"fDate", text}})(dialog);
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.at(0).contains(text));
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.result() != QDialog::Accepted);
    QVERIFY(sameStore(store, leagueStore()));
    QCOMPARE(dialog.findChild<QTabWidget *>(u"tabReport"_s)->currentIndex(), 0);

    // Emptying the field is the way to say "no date".
    answer({{"fDate", QString()}})(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(store.matches().at(0)->team1, u"Торпедо"_s);
    QVERIFY(store.matches().at(0)->date.isNull());
}

void TestDialogs::editorCompleterIgnoresCase_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("offered");
    QTest::newRow("lower case") << u"кубок"_s << QStringList{u"Кубок"_s, u"кубок УЕФА"_s};
    QTest::newRow("upper case") << u"КУБОК У"_s << QStringList{u"кубок УЕФА"_s};
    QTest::newRow("beginning only") << u"ига"_s << QStringList();
}

void TestDialogs::editorCompleterIgnoresCase()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, offered);
    MatchStore store = leagueStore();
    store.addTournament(u"кубок УЕФА"_s);
    EditReport dialog(store, u"xm01_c.xml"_s);
    QCompleter *completer = dialog.findChild<QLineEdit *>(u"fChampionship"_s)->completer();
    QVERIFY(completer);
    completer->setCompletionPrefix(typed);
    QStringList found;
    for (int row = 0; row < completer->completionModel()->rowCount(); ++row)
        found << completer->completionModel()->index(row, 0).data().toString();
    QCOMPARE(found, offered);
}

void TestDialogs::findAnswers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("answer");
    QTest::newRow("surname part") << u"ов"_s << true << u"ов"_s;
    QTest::newRow("blanks are kept") << u"  "_s << true << u"  "_s;
    QTest::newRow("cancel") << u"ов"_s << false << QString();
}

// The real modal loop, answered from a timer.
void TestDialogs::findAnswers()
{
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QString, answer);
    QWidget parent;
    Find dialog(&parent);
    QCOMPARE(dialog.size(), QSize(373, 88));
    QVERIFY(field(dialog, "lineEdit").isEmpty());

    whenModal([typed, ok](QWidget *modal) {
        if (auto *line = modal->findChild<QLineEdit *>(u"lineEdit"_s))
            line->setText(typed);
        if (auto *box = modal->findChild<QDialogButtonBox *>(u"buttonBox"_s))
            box->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
    QCOMPARE(dialog.exec(), ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(dialog.searchText(), answer);
    QCOMPARE(dialog.searchText().isNull(), answer.isNull());
}

void TestDialogs::windowEditsShownReport()
{
    ScriptedDialogs dialogs;
    auto window = startWindow(leagueStore(), dialogs);

    // No report shown yet: the editor is empty and OK changes nothing.
    QString openedWith = u"<not opened>"_s;
    dialogs.scripts << [&openedWith](QDialog &dialog) {
        openedWith = field(dialog, "fTeam1");
        answer({{"fTeam1", u"Торпедо"_s}})(dialog);
    };
    window->editReport();
    QCOMPARE(openedWith, QString());
    QVERIFY(!window->isModified());
    QVERIFY(sameStore(window->matchStore(), leagueStore()));

    window->callCalculateMatches();
    QVERIFY(openLink(*window, u"xm01_a.xml"_s));
    window->selectMode0(); // the start page leaves the report as the page to edit
    dialogs.scripts << answer({});
    window->editReport(); // OK without a change shows the report again
    QVERIFY(!window->isModified());
    QVERIFY(shownReport(*window).contains(u"Спартак"_s));
    window->selectMode0();
    dialogs.scripts << [&openedWith](QDialog &dialog) {
        openedWith = field(dialog, "fTeam1");
        answer({{"fTeam1", u"Торпедо"_s}, {"fGoals1", u"3"_s}})(dialog);
    };
    window->editReport();
    QCOMPARE(dialogs.dialogTitles.last(), u"Редактировать отчёт"_s);
    QCOMPARE(openedWith, u"Спартак"_s);
    QVERIFY(window->isModified());
    QVERIFY(!tableShown(*window));
    QVERIFY(shownReport(*window).contains(u"Торпедо"_s));
    QVERIFY(shownReport(*window).contains(u"3:1"_s));

    window->callCalculateMatches();
    QVERIFY(shownRows(*window, 5).join(u'\n').contains(u"Торпедо|Зенит|3:1"_s));
    window->callCalculateTable();
    const QStringList standings = shownRows(*window, 8);
    QVERIFY(standings.contains(u"Торпедо|1|1|0|0|3|1|3"_s));
    QVERIFY(standings.contains(u"Спартак|2|0|2|0|1|1|2"_s));
}

void TestDialogs::windowEditorCancelled()
{
    ScriptedDialogs dialogs;
    auto window = startWindow(leagueStore(), dialogs);
    window->callCalculateMatches();
    QVERIFY(openLink(*window, u"xm01_b.xml"_s));
    dialogs.scripts << answer({{"fTeam1", u"Торпедо"_s}}, false);
    window->editReport();
    QVERIFY(!window->isModified());
    QVERIFY(sameStore(window->matchStore(), leagueStore()));
    QVERIFY(!shownReport(*window).contains(u"Торпедо"_s));
}

void TestDialogs::windowAddsReportsFromNothing()
{
    ScriptedDialogs dialogs;
    auto window = startWindow(MatchStore(), dialogs);

    dialogs.scripts << answer({{"fChampionship", u"Новый кубок"_s},
                               {"fTeam1", u"Ростов"_s},
                               {"fTeam2", u"Крылья"_s},
                               {"fGoals1", u"2"_s},
                               {"fGoals2", u"0"_s},
                               {"fDate", u"01.05.2010"_s}});
    window->addReport();
    QCOMPARE(dialogs.dialogTitles, QStringList{u"Новый отчёт"_s});
    QVERIFY(window->isModified());
    QVERIFY(shownReport(*window).contains(u"Ростов"_s));

    // A second report is one of its own, also when its editor is cancelled: refreshing its page
    // and editing it do not lead back to the first.
    dialogs.scripts << answer({}, false);
    window->addReport();
    QCOMPARE(window->matchStore().count(), 2);
    QVERIFY(!shownReport(*window).contains(u"Ростов"_s));
    window->refresh();
    QString openedWith = u"<not opened>"_s;
    dialogs.scripts << [&openedWith](QDialog &dialog) {
        openedWith = field(dialog, "fTeam1");
        answer({{"fChampionship", u"Новый кубок"_s},
                {"fTeam1", u"Крылья"_s},
                {"fTeam2", u"Ростов"_s},
                {"fGoals1", u"1"_s},
                {"fGoals2", u"1"_s},
                {"fDate", u"08.05.2010"_s}})(dialog);
    };
    window->editReport();
    QCOMPARE(openedWith, QString());
    const QList<Match> &matches = window->matchStore().matches();
    QCOMPARE(matches.at(0)->team1, u"Ростов"_s);
    QCOMPARE(matches.at(1)->team1, u"Крылья"_s);

    // The filter caught up: the new tournament can be chosen and both dates are selected.
    auto *combo = window->findChild<QComboBox *>(u"comboTournaments"_s);
    QVERIFY(combo->findText(u"Новый кубок"_s) > 0);
    window->callCalculateMatches();
    QCOMPARE(shownRows(*window, 1).size(), 2);
    window->callCalculateTable();
    QVERIFY(shownRows(*window, 8).contains(u"Ростов|2|1|1|0|3|1|4"_s));

    // Saved and read again, the typed reports come back unchanged.
    const QString path = m_dir.filePath(u"typed.swb"_s);
    dialogs.fileAnswers << path;
    window->saveAsSwb();
    QVERIFY(!window->isModified());
    MatchStore reread;
    QDate from, till;
    QVERIFY(readDatabase(path, reread, from, till).ok());
    QVERIFY(sameStore(reread, window->matchStore()));
}

void TestDialogs::windowSearch_data()
{
    QTest::addColumn<bool>("coaches");
    QTest::addColumn<QString>("tournament");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found"); // name|team|matches, sorted

    QTest::newRow("players: part of a surname")
        << false << QString() << u"ов"_s
        << QStringList{u"Иванов|Спартак|3"_s, u"Петров|Зенит|2"_s, u"Сидоров|Динамо|1"_s};
    QTest::newRow("players: case is respected")
        << false << QString() << u"иванов"_s << QStringList();
    QTest::newRow("players: tournament filter")
        << false << u"Кубок"_s << u"ов"_s
        << QStringList{u"Иванов|Спартак|1"_s, u"Сидоров|Динамо|1"_s};
    QTest::newRow("coaches: part of a name")
        << true << QString() << u"Зен"_s << QStringList{u"Тренер Зенит|Зенит|2"_s};
    QTest::newRow("coaches: tournament filter") << true << u"Кубок"_s << u"Зен"_s << QStringList();
}

void TestDialogs::windowSearch()
{
    QFETCH(bool, coaches);
    QFETCH(QString, tournament);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    ScriptedDialogs dialogs;
    auto window = startWindow(leagueStore(), dialogs);
    if (!tournament.isEmpty()) {
        auto *combo = window->findChild<QComboBox *>(u"comboTournaments"_s);
        combo->setCurrentIndex(combo->findText(tournament));
    }

    dialogs.scripts << answer({{"lineEdit", text}});
    if (coaches)
        window->callFindCoach();
    else
        window->callFindPlayer();
    QCOMPARE(dialogs.dialogTitles, QStringList{coaches ? u"Найти тренера"_s : u"Найти игрока"_s});
    QVERIFY(tableShown(*window));
    auto *table = window->findChild<QTableWidget *>(u"table"_s);
    QCOMPARE(table->horizontalHeaderItem(0)->text(), coaches ? texts().hCoach : texts().hPlayer);
    QStringList rows = shownRows(*window, 3);
    rows.sort();
    QCOMPARE(rows, found);

    // Refreshing the page asks again, with an empty field.
    QString reopenedWith = u"<not opened>"_s;
    dialogs.scripts <<
        [&reopenedWith](QDialog &dialog) { reopenedWith = field(dialog, "lineEdit"); };
    window->refresh();
    QCOMPARE(dialogs.dialogTitles.size(), 2);
    QCOMPARE(reopenedWith, QString());
}

void TestDialogs::windowSearchWithoutAnswerKeepsPage_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK with an empty field") << true;
    QTest::newRow("Cancel") << false;
}

void TestDialogs::windowSearchWithoutAnswerKeepsPage()
{
    QFETCH(bool, ok);
    ScriptedDialogs dialogs;
    auto window = startWindow(leagueStore(), dialogs);
    window->callCalculateTable();
    const QStringList standings = shownRows(*window, 8);
    dialogs.scripts << answer({{"lineEdit", QString()}}, ok);
    window->callFindPlayer();
    QCOMPARE(dialogs.dialogTitles.size(), 1);
    QVERIFY(tableShown(*window));
    QCOMPARE(shownRows(*window, 8), standings);
}

QTEST_MAIN(TestDialogs)
#include "tst_gui_dialogs.moc"
