#include "dialogs/editreport.h"
#include "dialogs/find.h"
#include "model/matchstore.h"
#include "strings/texts.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <functional>

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

QTEST_MAIN(TestDialogs)
#include "tst_gui_dialogs.moc"
