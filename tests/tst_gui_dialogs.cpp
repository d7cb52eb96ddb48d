#include "app/dialogprovider.h"
#include "app/mainwindow.h"
#include "dialogs/editreport.h"
#include "dialogs/find.h"
#include "model/database.h"
#include "model/matchstore.h"
#include "strings/texts.h"

#include <QAbstractItemModel>
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

Match sampleMatch(const QString &fileName)
{
    Match match;
    MatchData &m = match.edit();
    m.fileName = fileName;
    m.tournament = u"Премьер-лига"_s;
    m.round = u"5"_s;
    m.team1 = u"Спартак"_s;
    m.team2 = u"Зенит"_s;
    m.team1Id = u"t1"_s;
    m.goals1 = u"2"_s;
    m.goals2 = u"1"_s;
    m.city = u"Москва"_s;
    m.stadium = u"Лужники"_s;
    m.attendance = u"40000"_s;
    m.date = QDate(2009, 3, 14);
    m.time = u"19:00"_s;
    m.referee = u"Петров"_s;
    m.refereeId = u"r7"_s;
    m.refereeCity = u"Казань"_s;
    m.coach1 = u"Карпин"_s;
    m.coach2 = u"Адвокат"_s;
    m.id = u"m1"_s;
    m.players1 = {{u"p1"_s, u"Иванов"_s}, {u"p2"_s, u"Сидоров"_s}};
    m.players2 = {{u"p3"_s, u"Петров"_s}};
    m.events = {{u"12"_s, u"Гол"_s, u"с игры"_s, u"Спартак"_s, u"p1"_s, u"Иванов"_s, {}, {}},
                {u"60"_s, u"Замена"_s, {}, u"Зенит"_s, u"p3"_s, u"Петров"_s, u"p9"_s, u"Козлов"_s}};
    return match;
}

MatchStore sampleStore()
{
    MatchStore store;
    store.append(sampleMatch(u"a.xml"_s));
    Match other = sampleMatch(u"b.xml"_s);
    other.edit().tournament = u"Кубок России"_s;
    store.append(other);
    store.addTournament(u"Премьер-лига"_s);
    store.addTournament(u"Кубок России"_s);
    store.addTournament(u"кубок УЕФА"_s);
    return store;
}

template <typename T> T *child(QWidget &parent, const char *name)
{
    T *widget = parent.findChild<T *>(QLatin1StringView(name));
    if (!widget)
        qWarning("no child %s", name);
    return widget;
}

QString field(QWidget &dialog, const char *name)
{
    QLineEdit *edit = child<QLineEdit>(dialog, name);
    return edit ? edit->text() : u"<missing>"_s;
}

void setField(QWidget &dialog, const char *name, const QString &text)
{
    if (QLineEdit *edit = child<QLineEdit>(dialog, name))
        edit->setText(text);
}

// Runs action once the next modal dialog is up; gives up after about five seconds.
void whenModal(std::function<void(QWidget *)> action, int attempts = 500)
{
    QTimer::singleShot(10, [action, attempts] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal)
            action(modal);
        else if (attempts > 0)
            whenModal(action, attempts - 1);
    });
}

// Answers the window's dialogs synchronously from a script: each modal dialog is handed to the
// next script entry, which fills it and presses OK or Cancel (accept()/reject()); the dialog's
// result is the answer. Messages are recorded.
class ScriptedDialogs : public DialogProvider
{
public:
    QList<std::function<void(QDialog &)>> scripts;
    QStringList fileAnswers;
    QStringList dialogTitles;
    QStringList warnings;
    QStringList informations;

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
    void information(QWidget *, const QString &title, const QString &) override
    {
        informations << title;
    }
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

// A script that types fields into the editor and presses OK.
std::function<void(QDialog &)> typeAndOk(const QList<std::pair<const char *, QString>> &fields)
{
    return [fields](QDialog &dialog) {
        dialog.show();
        for (const auto &[name, text] : fields)
            setField(dialog, name, text);
        dialog.accept();
    };
}

std::function<void(QDialog &)> searchFor(const QString &text, bool ok = true)
{
    return [text, ok](QDialog &dialog) {
        dialog.show();
        setField(dialog, "lineEdit", text);
        if (ok)
            dialog.accept();
        else
            dialog.reject();
    };
}

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

// The matches the window tests start from: a league and a cup.
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

// Each row of the shown table as its visible cells joined by '|'.
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
    const int linkColumn = table->columnCount() - 1;
    for (int row = 0; row < table->rowCount(); ++row) {
        QTableWidgetItem *item = table->item(row, linkColumn);
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
    void editorForm();
    void editorFillsFromReportLink();
    void editorWithoutReportIsEmpty_data();
    void editorWithoutReportIsEmpty();
    void editorStoresFieldsInPlace();
    void editorOkWithoutChangesKeepsRecord();
    void editorCancelChangesNothing();
    void editorEditsOnlyFirstOfSameName();
    void editorDateTexts_data();
    void editorDateTexts();
    void editorRefusesInvalidDate_data();
    void editorRefusesInvalidDate();
    void editorCompleterIgnoresCase_data();
    void editorCompleterIgnoresCase();
    void editorRunsModally();
    void unusedReportNames();
    void findAnswers_data();
    void findAnswers();

    void initTestCase();
    void windowEditsShownReport();
    void windowEditorAwayFromReport();
    void windowEditorCancelled();
    void windowEditorRefusesInvalidDate();
    void windowAddsReportsFromNothing();
    void windowSearch_data();
    void windowSearch();
    void windowSearchWithoutAnswerKeepsPage_data();
    void windowSearchWithoutAnswerKeepsPage();

private:
    std::unique_ptr<MainWindow> startWindow(const MatchStore &store, ScriptedDialogs &dialogs);
    QTemporaryDir m_dir;
};

void TestDialogs::editorForm()
{
    MatchStore store;
    EditReport dialog(store, QString());
    QCOMPARE(dialog.objectName(), u"EditReport"_s);
    QCOMPARE(dialog.minimumSize(), QSize(796, 550));
    QCOMPARE(dialog.maximumSize(), QSize(796, 550));
    QCOMPARE(dialog.parentWidget(), nullptr);

    auto *tabs = child<QTabWidget>(dialog, "tabReport");
    QVERIFY(tabs);
    const Texts &t = texts();
    const QStringList titles = {t.tabGeneral, t.tabLineups, t.tabEvents, t.tabComments};
    const QStringList pages = {u"tabGeneral"_s, u"tabSquad"_s, u"tabEvents"_s, u"tabComments"_s};
    QCOMPARE(tabs->count(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(tabs->tabText(i), titles.at(i));
        QCOMPARE(tabs->widget(i)->objectName(), pages.at(i));
    }
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(child<QLineEdit>(dialog, "fAttendance")->geometry(), QRect(510, 190, 121, 20));
    QCOMPARE(child<QTableWidget>(dialog, "fEvents")->geometry(), QRect(10, 40, 751, 351));

    // Unfilled tables as the form has them.
    QCOMPARE(child<QTableWidget>(dialog, "fSquad1")->rowCount(), 11);
    QCOMPARE(child<QTableWidget>(dialog, "fSquad2")->rowCount(), 11);
    QCOMPARE(child<QTableWidget>(dialog, "fEvents")->columnCount(), 5);

    // The keyboard walks the general tab first, then the buttons, then the other tabs.
    const QStringList order = {u"tabReport"_s, u"fChampionship"_s, u"fRound"_s,    u"fTeam1"_s,
                               u"fTeam2"_s,    u"fGoals1"_s,       u"fGoals2"_s,   u"fExtra1"_s,
                               u"fExtra2"_s,   u"fPenalty1"_s,     u"fPenalty2"_s, u"fCity"_s,
                               u"fStadium"_s,  u"fAttendance"_s,   u"fDate"_s,     u"fTime"_s,
                               u"fReferee"_s,  u"buttonBox"_s,     u"fSquad1"_s,   u"fCoach1"_s,
                               u"fSquad2"_s,   u"fCoach2"_s,       u"fEvents"_s,   u"fComments"_s};
    // The widgets named in the order, as the focus chain meets them from the tab widget on.
    QStringList met;
    QWidget *start = child<QWidget>(dialog, "tabReport");
    QWidget *widget = start;
    do {
        if (order.contains(widget->objectName()) && !met.contains(widget->objectName()))
            met << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget && widget != start);
    QCOMPARE(met, order);
}

void TestDialogs::editorFillsFromReportLink()
{
    MatchStore store = sampleStore();
    EditReport dialog(store, u"xm01_a.xml"_s);
    QVERIFY(dialog.editsMatch());
    QCOMPARE(field(dialog, "fChampionship"), u"Премьер-лига"_s);
    QCOMPARE(field(dialog, "fTeam2"), u"Зенит"_s);
    QCOMPARE(field(dialog, "fGoals1"), u"2"_s);
    QCOMPARE(field(dialog, "fDate"), u"14.03.2009"_s);
    QCOMPARE(field(dialog, "fReferee"), u"Петров"_s);
    QCOMPARE(field(dialog, "fCoach2"), u"Адвокат"_s);

    auto *squad1 = child<QTableWidget>(dialog, "fSquad1");
    QCOMPARE(squad1->rowCount(), 2);
    QCOMPARE(squad1->columnCount(), 1);
    QCOMPARE(squad1->horizontalHeaderItem(0)->text(), texts().hPlayer);
    QCOMPARE(squad1->item(1, 0)->text(), u"Сидоров"_s);
    QCOMPARE(child<QTableWidget>(dialog, "fSquad2")->rowCount(), 1);

    auto *events = child<QTableWidget>(dialog, "fEvents");
    QCOMPARE(events->rowCount(), 2);
    QCOMPARE(events->columnCount(), 6);
    QCOMPARE(events->horizontalHeaderItem(5)->text(), texts().hPlayerOff);
    const QStringList substitution = {u"60"_s,    u"Замена"_s, QString(),
                                      u"Зенит"_s, u"Петров"_s, u"Козлов"_s};
    for (int column = 0; column < 6; ++column) {
        QTableWidgetItem *item = events->item(1, column);
        QCOMPARE(item->text(), substitution.at(column));
        QCOMPARE(item->flags(), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
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
    MatchStore store = sampleStore();
    const MatchStore before = store;
    EditReport dialog(store, link);
    QVERIFY(!dialog.editsMatch());
    QVERIFY(field(dialog, "fTeam1").isEmpty());
    QCOMPARE(child<QLineEdit>(dialog, "fChampionship")->completer(), nullptr);

    setField(dialog, "fTeam1", u"Динамо"_s);
    setField(dialog, "fDate", u"31.02.2009"_s); // not even checked: there is nothing to store
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.storedChanges());
    for (int i = 0; i < store.count(); ++i)
        QVERIFY(store.matches().at(i).sameRecord(before.matches().at(i)));
}

void TestDialogs::editorStoresFieldsInPlace()
{
    MatchStore store = sampleStore();
    const Match held = store.matches().at(0); // a copy elsewhere must not see the edit
    EditReport dialog(store, u"xm01_a.xml"_s);

    const char *names[] = {"fChampionship", "fRound",   "fTeam1",      "fTeam2",    "fGoals1",
                           "fGoals2",       "fExtra1",  "fExtra2",     "fPenalty1", "fPenalty2",
                           "fCity",         "fStadium", "fAttendance", "fTime",     "fReferee",
                           "fCoach1",       "fCoach2"};
    for (const char *name : names)
        setField(dialog, name, QLatin1StringView(name) + u" new"_s);
    setField(dialog, "fDate", u"01.04.2010"_s);
    setField(dialog, "fGoals2", u""_s); // any text is accepted, empty included
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.storedChanges());

    const MatchData &m = *store.matches().at(0);
    QCOMPARE(m.tournament, u"fChampionship new"_s);
    QCOMPARE(m.round, u"fRound new"_s);
    QCOMPARE(m.team1, u"fTeam1 new"_s);
    QCOMPARE(m.team2, u"fTeam2 new"_s);
    QCOMPARE(m.goals1, u"fGoals1 new"_s);
    QVERIFY(m.goals2.isEmpty());
    QCOMPARE(m.extra1, u"fExtra1 new"_s);
    QCOMPARE(m.extra2, u"fExtra2 new"_s);
    QCOMPARE(m.penalties1, u"fPenalty1 new"_s);
    QCOMPARE(m.penalties2, u"fPenalty2 new"_s);
    QCOMPARE(m.city, u"fCity new"_s);
    QCOMPARE(m.stadium, u"fStadium new"_s);
    QCOMPARE(m.attendance, u"fAttendance new"_s);
    QCOMPARE(m.time, u"fTime new"_s);
    QCOMPARE(m.referee, u"fReferee new"_s);
    QCOMPARE(m.coach1, u"fCoach1 new"_s);
    QCOMPARE(m.coach2, u"fCoach2 new"_s);
    QCOMPARE(m.date, QDate(2010, 4, 1));

    // What the editor does not show stays as it was.
    const MatchData &old = *held;
    QCOMPARE(m.fileName, old.fileName);
    QCOMPARE(m.id, old.id);
    QCOMPARE(m.team1Id, old.team1Id);
    QCOMPARE(m.refereeId, old.refereeId);
    QCOMPARE(m.refereeCity, old.refereeCity);
    QVERIFY(m.players1 == old.players1);
    QVERIFY(m.players2 == old.players2);
    QVERIFY(m.events == old.events);

    QCOMPARE(held->team1, u"Спартак"_s);
    QCOMPARE(store.count(), 2);
    QCOMPARE(store.matches().at(1)->team1, u"Спартак"_s);
}

void TestDialogs::editorOkWithoutChangesKeepsRecord()
{
    MatchStore store;
    Match sparse;
    sparse.edit().fileName = u"new-1"_s; // every other text null, as a new report has them
    store.append(sparse);
    EditReport dialog(store, u"xm01_new-1"_s);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.storedChanges());
    // Null stays null: the database file tells null from empty.
    QVERIFY(store.matches().at(0).sameRecord(sparse));
    QVERIFY(store.matches().at(0)->team1.isNull());
}

void TestDialogs::editorCancelChangesNothing()
{
    MatchStore store = sampleStore();
    const Match before = store.matches().at(0);
    EditReport dialog(store, u"xm01_a.xml"_s);
    setField(dialog, "fTeam1", u"Динамо"_s);
    dialog.reject();
    QVERIFY(!dialog.storedChanges());
    QVERIFY(store.matches().at(0).sameRecord(before));
}

void TestDialogs::editorEditsOnlyFirstOfSameName()
{
    MatchStore store = sampleStore();
    store.append(sampleMatch(u"a.xml"_s));
    EditReport dialog(store, u"xm01_a.xml"_s);
    setField(dialog, "fTeam1", u"Динамо"_s);
    dialog.accept();
    QCOMPARE(store.matches().at(0)->team1, u"Динамо"_s);
    QCOMPARE(store.matches().at(2)->team1, u"Спартак"_s);
}

void TestDialogs::editorDateTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QDate>("date");
    QTest::newRow("empty means no date") << QString() << true << QDate();
    QTest::newRow("blanks mean no date") << u"   "_s << true << QDate();
    QTest::newRow("day.month.year") << u"14.03.2009"_s << true << QDate(2009, 3, 14);
    QTest::newRow("surrounding blanks") << u" 29.02.2008 "_s << true << QDate(2008, 2, 29);
    QTest::newRow("no such day") << u"31.02.2009"_s << false << QDate();
    QTest::newRow("not a leap year") << u"29.02.2009"_s << false << QDate();
    QTest::newRow("ISO order") << u"2009-03-14"_s << false << QDate();
    QTest::newRow("short year") << u"14.03.09"_s << false << QDate();
    QTest::newRow("words") << u"вчера"_s << false << QDate();
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
    MatchStore store = sampleStore();
    const Match before = store.matches().at(0);
    EditReport dialog(store, u"xm01_a.xml"_s);
    QStringList messages;
    dialog.setMessageSink([&](QWidget *, const QString &message) { messages << message; });
    dialog.show();
    child<QTabWidget>(dialog, "tabReport")->setCurrentIndex(2);
    setField(dialog, "fTeam1", u"Динамо"_s);
    setField(dialog, "fDate", text);

    dialog.accept();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.at(0).contains(text));
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.result() != QDialog::Accepted);
    QVERIFY(store.matches().at(0).sameRecord(before));
    QCOMPARE(child<QTabWidget>(dialog, "tabReport")->currentIndex(), 0);

    // Emptying the field is the way to say "no date".
    setField(dialog, "fDate", QString());
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(store.matches().at(0)->team1, u"Динамо"_s);
    QVERIFY(store.matches().at(0)->date.isNull());
}

void TestDialogs::editorCompleterIgnoresCase_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("offered");
    QTest::newRow("lower case") << u"кубок"_s << QStringList{u"Кубок России"_s, u"кубок УЕФА"_s};
    QTest::newRow("upper case") << u"КУБОК Р"_s << QStringList{u"Кубок России"_s};
    QTest::newRow("beginning only") << u"лига"_s << QStringList();
    QTest::newRow("other") << u"п"_s << QStringList{u"Премьер-лига"_s};
}

void TestDialogs::editorCompleterIgnoresCase()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, offered);
    MatchStore store = sampleStore();
    EditReport dialog(store, u"xm01_b.xml"_s);
    QCompleter *completer = child<QLineEdit>(dialog, "fChampionship")->completer();
    QVERIFY(completer);
    completer->setCompletionPrefix(typed);
    QStringList found;
    QAbstractItemModel *model = completer->completionModel();
    for (int row = 0; row < model->rowCount(); ++row)
        found << model->index(row, 0).data().toString();
    QCOMPARE(found, offered);
}

void TestDialogs::editorRunsModally()
{
    MatchStore store = sampleStore();
    EditReport dialog(store, u"xm01_a.xml"_s);
    whenModal([](QWidget *modal) {
        if (auto *edit = modal->findChild<QLineEdit *>(u"fStadium"_s))
            edit->setText(u"Открытие"_s);
        if (auto *box = modal->findChild<QDialogButtonBox *>(u"buttonBox"_s))
            box->button(QDialogButtonBox::Ok)->click();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(store.matches().at(0)->stadium, u"Открытие"_s);
}

void TestDialogs::unusedReportNames()
{
    MatchStore store;
    QCOMPARE(unusedReportName(store), u"new-1"_s);
    Match match;
    match.edit().fileName = u"new-1"_s;
    store.append(match);
    match.edit().fileName = u"new-3"_s;
    store.append(match);
    QCOMPARE(unusedReportName(store), u"new-2"_s);
    match.edit().fileName = u"new-2"_s;
    store.append(match);
    QCOMPARE(unusedReportName(store), u"new-4"_s);
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

void TestDialogs::findAnswers()
{
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QString, answer);
    QWidget parent;
    Find dialog(&parent);
    QCOMPARE(dialog.objectName(), u"Find"_s);
    QCOMPARE(dialog.size(), QSize(373, 88));
    QCOMPARE(dialog.parentWidget(), &parent);
    auto *edit = child<QLineEdit>(dialog, "lineEdit");
    QVERIFY(edit->text().isEmpty());

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

void TestDialogs::windowEditsShownReport()
{
    ScriptedDialogs dialogs;
    auto window = startWindow(leagueStore(), dialogs);
    window->callCalculateMatches();
    QVERIFY(openLink(*window, u"xm01_a.xml"_s));
    QVERIFY(shownReport(*window).contains(u"Спартак"_s));

    // Going to the start page keeps the report as the page the editor works on.
    window->selectMode0();
    QString openedWith;
    dialogs.scripts << [&openedWith](QDialog &dialog) {
        openedWith = field(dialog, "fTeam1");
        typeAndOk({{"fTeam1", u"Торпедо"_s}, {"fGoals1", u"3"_s}})(dialog);
    };
    window->editReport();
    QCOMPARE(dialogs.dialogTitles, QStringList{u"Редактировать отчёт"_s});
    QCOMPARE(openedWith, u"Спартак"_s);
    QVERIFY(window->isModified());
    QVERIFY(!tableShown(*window));
    QVERIFY(shownReport(*window).contains(u"Торпедо"_s));
    QVERIFY(shownReport(*window).contains(u"3:1"_s));

    // The report page became the previous page as well: back shows it again.
    window->back();
    QVERIFY(shownReport(*window).contains(u"Торпедо"_s));

    window->callCalculateMatches();
    QVERIFY(shownRows(*window, 5).join(u'\n').contains(u"Торпедо|Зенит|3:1"_s));
    window->callCalculateTable();
    const QStringList standings = shownRows(*window, 8);
    QVERIFY(standings.contains(u"Торпедо|1|1|0|0|3|1|3"_s));
    QVERIFY(standings.contains(u"Спартак|2|0|2|0|1|1|2"_s));
}

void TestDialogs::windowEditorAwayFromReport()
{
    ScriptedDialogs dialogs;
    const MatchStore start = leagueStore();
    auto window = startWindow(start, dialogs);
    for (int step = 0; step < 2; ++step) {
        // First with no page since start-up, then with a statistics page.
        QString openedWith = u"<not opened>"_s;
        dialogs.scripts << [&openedWith](QDialog &dialog) {
            openedWith = field(dialog, "fTeam1");
            typeAndOk({{"fTeam1", u"Торпедо"_s}})(dialog);
        };
        window->editReport();
        QCOMPARE(openedWith, QString());
        if (step == 0)
            window->callCalculateTable();
    }
    QVERIFY(!window->isModified());
    for (int i = 0; i < start.count(); ++i)
        QVERIFY(window->matchStore().matches().at(i).sameRecord(start.matches().at(i)));
    QCOMPARE(shownRows(*window, 1).size(), 3); // the standings stay on screen
}

void TestDialogs::windowEditorCancelled()
{
    ScriptedDialogs dialogs;
    const MatchStore start = leagueStore();
    auto window = startWindow(start, dialogs);
    window->callCalculateMatches();
    QVERIFY(openLink(*window, u"xm01_b.xml"_s));
    dialogs.scripts << [](QDialog &dialog) {
        setField(dialog, "fTeam1", u"Торпедо"_s);
        dialog.reject();
    };
    window->editReport();
    QVERIFY(!window->isModified());
    QVERIFY(window->matchStore().matches().at(1).sameRecord(start.matches().at(1)));
    QVERIFY(!shownReport(*window).contains(u"Торпедо"_s));
}

void TestDialogs::windowEditorRefusesInvalidDate()
{
    ScriptedDialogs dialogs;
    const MatchStore start = leagueStore();
    auto window = startWindow(start, dialogs);
    window->callCalculateMatches();
    QVERIFY(openLink(*window, u"xm01_a.xml"_s));
    bool stayedOpen = false;
    dialogs.scripts << [&stayedOpen](QDialog &dialog) {
        typeAndOk({{"fTeam1", u"Торпедо"_s}, {"fDate", u"31.02.2009"_s}})(dialog);
        stayedOpen = dialog.isVisible();
    };
    window->editReport();
    QVERIFY(stayedOpen);
    QCOMPARE(dialogs.warnings.size(), 1);
    QVERIFY(dialogs.warnings.at(0).startsWith(texts().badDateTitle));
    QVERIFY(dialogs.warnings.at(0).contains(u"31.02.2009"_s));
    QVERIFY(!window->isModified());
    QVERIFY(window->matchStore().matches().at(0).sameRecord(start.matches().at(0)));
}

void TestDialogs::windowAddsReportsFromNothing()
{
    ScriptedDialogs dialogs;
    auto window = startWindow(MatchStore(), dialogs);
    QCOMPARE(window->matchStore().count(), 0);

    dialogs.scripts << typeAndOk({{"fChampionship", u"Новый кубок"_s},
                                  {"fTeam1", u"Ростов"_s},
                                  {"fTeam2", u"Крылья"_s},
                                  {"fGoals1", u"2"_s},
                                  {"fGoals2", u"0"_s},
                                  {"fDate", u"01.05.2010"_s}});
    window->addReport();
    QCOMPARE(dialogs.dialogTitles, QStringList{u"Новый отчёт"_s});
    QVERIFY(window->isModified());
    QVERIFY(shownReport(*window).contains(u"Ростов"_s));

    // A second report is a report of its own, also when the user cancels its editor.
    dialogs.scripts << [](QDialog &dialog) { dialog.reject(); };
    window->addReport();
    QCOMPARE(window->matchStore().count(), 2);
    QVERIFY(!shownReport(*window).contains(u"Ростов"_s));

    window->refresh(); // the empty report of the second match
    dialogs.scripts << [](QDialog &dialog) {
        // Opens on the second report, not on the first one.
        if (field(dialog, "fTeam1").isEmpty())
            typeAndOk({{"fChampionship", u"Новый кубок"_s},
                       {"fTeam1", u"Крылья"_s},
                       {"fTeam2", u"Ростов"_s},
                       {"fGoals1", u"1"_s},
                       {"fGoals2", u"1"_s},
                       {"fDate", u"08.05.2010"_s}})(dialog);
    };
    window->editReport();
    const QList<Match> &matches = window->matchStore().matches();
    QCOMPARE(matches.at(0)->team1, u"Ростов"_s);
    QCOMPARE(matches.at(1)->team1, u"Крылья"_s);
    QVERIFY(matches.at(0)->fileName != matches.at(1)->fileName);

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
    QCOMPARE(reread.count(), 2);
    for (int i = 0; i < 2; ++i)
        QVERIFY(reread.matches().at(i).sameRecord(matches.at(i)));
    QCOMPARE(reread.tournamentNames(), QStringList{u"Новый кубок"_s});
}

void TestDialogs::windowSearch_data()
{
    QTest::addColumn<bool>("coaches");
    QTest::addColumn<QString>("tournament");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found"); // name|team|matches, in the page's order

    QTest::newRow("players: part of a surname")
        << false << QString() << u"ов"_s
        << QStringList{u"Иванов|Спартак|3"_s, u"Петров|Зенит|2"_s, u"Сидоров|Динамо|1"_s};
    QTest::newRow("players: case is respected")
        << false << QString() << u"иванов"_s << QStringList();
    QTest::newRow("players: tournament filter")
        << false << u"Кубок"_s << u"ов"_s
        << QStringList{u"Иванов|Спартак|1"_s, u"Сидоров|Динамо|1"_s};
    QTest::newRow("players: blanks are a text") << false << QString() << u" "_s << QStringList();
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

    dialogs.scripts << searchFor(text);
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
    dialogs.scripts << [&reopenedWith](QDialog &dialog) {
        reopenedWith = field(dialog, "lineEdit");
        dialog.reject();
    };
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
    dialogs.scripts << searchFor(QString(), ok);
    window->callFindPlayer();
    QCOMPARE(dialogs.dialogTitles.size(), 1);
    QVERIFY(tableShown(*window));
    QCOMPARE(shownRows(*window, 8), standings);
    QVERIFY(dialogs.informations.isEmpty());

    // The search was recorded in the history all the same: back leads to the standings.
    window->back();
    QCOMPARE(shownRows(*window, 8), standings);
}

QTEST_MAIN(TestDialogs)
#include "tst_gui_dialogs.moc"
