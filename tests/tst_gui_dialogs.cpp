#include "dialogs/editreport.h"
#include "testsupport.h"
#include "tst_gui_mainwindow_fakes.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::Literals::StringLiterals;

namespace {

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
QStringList shownRows(MainWindow &window, int columns)
{
    const QAbstractItemModel *model = window.findChild<QTableWidget *>(u"table"_s)->model();
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < columns; ++column)
            cells << model->index(row, column).data().toString().trimmed();
        rows << cells.join(u'|');
    }
    rows.sort();
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

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_league = m_dir.filePath(u"league.swb"_s); // leagueStore() as a database file

private Q_SLOTS:
    void initTestCase()
    {
        isolateSettings(m_dir.path());
        QVERIFY(writeDatabase(m_league, leagueStore()).ok());
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
        QFETCH(QStringList, offered);
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
        QCOMPARE(found, offered);
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
        QVERIFY(shownRows(*window, 5).join(u'\n').contains(u"Торпедо|Зенит|3:1"_s));
        window->callCalculateTable();
        QVERIFY(shownRows(*window, 10).join(u'\n').contains(u"|Торпедо|1|1|0|0|3|1|+2|3"_s));

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
        QCOMPARE(shownRows(*window, 1).size(), 2);

        dialogs.fileAnswers << m_dir.filePath(u"typed.swb"_s);
        window->saveAsSwb();
        dialogs.choiceAnswers = {0}; // the file is this window's: the second opens it read-only
        QVERIFY(sameStore(startWindow(m_dir.filePath(u"typed.swb"_s), dialogs)->matchStore(),
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
        const QStringList standings = shownRows(*window, 3);
        dialogs.scripts << answer({{"lineEdit", text}}, !text.isNull());
        window->callFindPlayer();
        QVERIFY(dialogs.scripts.isEmpty());                                  // asked
        QCOMPARE(shownRows(*window, 3), text.isEmpty() ? standings : found); // empty: page stays
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_gui_dialogs.moc"
