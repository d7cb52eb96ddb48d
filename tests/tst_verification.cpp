#include "pages/builders.h"
#include "statsfixture.h"
#include "strings/texts.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace stats;

namespace {

QList<PlayerEntry> numbered(int count)
{
    QList<PlayerEntry> list;
    for (int i = 0; i < count; ++i)
        list.append(player(u"P%1"_s.arg(i)));
    return list;
}

// A report whose line-ups name one player with the given IDs: Petrov of A.
Match petrov(const QString &fileName, int day, const QString &team, const QString &id)
{
    Match m = report(fileName, team, u"X"_s, day);
    m.edit().players1 = {player(u"Petrov"_s, id)};
    return m;
}

} // namespace

class TestVerification : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineupSizes_data();
    void lineupSizes();
    void missingAttendance_data();
    void missingAttendance();
    void namesWithTwoIds_data();
    void namesWithTwoIds();
};

void TestVerification::lineupSizes_data()
{
    QTest::addColumn<int>("home");
    QTest::addColumn<int>("away");
    QTest::addColumn<bool>("listed");

    QTest::newRow("11 and 11") << 11 << 11 << false;
    QTest::newRow("11 and 10") << 11 << 10 << true;
    QTest::newRow("10 and 10") << 10 << 10 << true;
    QTest::newRow("both empty") << 0 << 0 << true;
}

void TestVerification::lineupSizes()
{
    QFETCH(int, home);
    QFETCH(int, away);
    QFETCH(bool, listed);

    Match m = report(u"m1.xml"_s, u"A"_s, u"B"_s, 3);
    m.edit().city = u"Тула"_s;
    m.edit().goals1 = u"2"_s;
    m.edit().goals2 = u"1"_s;
    m.edit().players1 = numbered(home);
    m.edit().players2 = numbered(away);

    const TableData table = runOver({m}, verifyPlayers);
    if (listed) {
        QCOMPARE(visibleRows(table), QStringList{u"2020/01/03|Тула|A|B|2:1"_s});
        QCOMPARE(links(table), QStringList{u"xm01_m1.xml"_s});
    } else {
        QCOMPARE(table.rowCount(), 0);
    }
}

void TestVerification::missingAttendance_data()
{
    QTest::addColumn<QString>("attendance");
    QTest::addColumn<bool>("listed");

    QTest::newRow("absent") << QString() << true;
    QTest::newRow("zero is given") << u"0"_s << false;
    QTest::newRow("text is given") << u"много"_s << false;
}

void TestVerification::missingAttendance()
{
    QFETCH(QString, attendance);
    QFETCH(bool, listed);

    Match m = report(u"m1.xml"_s, u"A"_s, u"B"_s);
    m.edit().attendance = attendance;
    const TableData table = runOver({m}, verifyAttendance);
    QCOMPARE(table.rowCount(), listed ? 1 : 0);
}

void TestVerification::namesWithTwoIds_data()
{
    const Texts &t = texts();
    QTest::addColumn<QList<Match>>("matches");
    QTest::addColumn<QStringList>("expected"); // Фамилия|Команда|ID1|ID2

    QTest::newRow("third ID is the second shown")
        << QList<Match>{petrov(u"m1.xml"_s, 1, u"A"_s, u"5"_s),
                        petrov(u"m2.xml"_s, 2, u"A"_s, u"6"_s),
                        petrov(u"m3.xml"_s, 3, u"A"_s, u"7"_s),
                        petrov(u"m4.xml"_s, 4, u"A"_s, u"5"_s)}
        << QStringList{u"Petrov|A|5|7"_s};
    QTest::newRow("different teams are different players")
        << QList<Match>{petrov(u"m1.xml"_s, 1, u"A"_s, u"5"_s),
                        petrov(u"m2.xml"_s, 2, u"B"_s, u"6"_s)}
        << QStringList{};
    QTest::newRow("no ID, then an ID") << QList<Match>{petrov(u"m1.xml"_s, 1, u"A"_s, QString()),
                                                       petrov(u"m2.xml"_s, 2, u"A"_s, u"5"_s)}
                                       << QStringList{u"Petrov|A||5"_s};

    Match consistent = petrov(u"m1.xml"_s, 1, u"A"_s, u"5"_s);
    consistent.edit().events = {playerEvent(t.goal, u"A"_s, u"Petrov"_s, u"5"_s),
                                substitution(u"A"_s, u"Ivanov"_s, u"Sidorov"_s, u"9"_s)};
    QTest::newRow("same ID in line-up and events")
        << QList<Match>{consistent, petrov(u"m2.xml"_s, 2, u"A"_s, u"5"_s)} << QStringList{};

    // Every event is a sighting of its player, whatever its kind; a substitution also of the
    // player coming on, under the event's own team.
    Match events = report(u"m3.xml"_s, u"A"_s, u"B"_s, 3);
    events.edit().players1 = {player(u"Petrov"_s, u"5"_s)};
    events.edit().players2 = {player(u"Sidorov"_s, u"8"_s)};
    events.edit().events = {playerEvent(u"Травма"_s, u"A"_s, u"Petrov"_s, u"55"_s),
                            substitution(u"B"_s, u"Ivanov"_s, u"Sidorov"_s, u"9"_s)};
    QTest::newRow("events and incoming players are sightings")
        << QList<Match>{events} << QStringList{u"Petrov|A|5|55"_s, u"Sidorov|B|8|9"_s};
}

void TestVerification::namesWithTwoIds()
{
    QFETCH(QList<Match>, matches);
    QFETCH(QStringList, expected);

    const Texts &t = texts();
    // The consider-ID flag plays no part.
    for (bool considerId : {false, true}) {
        const TableData table = runOver(matches, verifyPlayers2, QString(), considerId);
        QCOMPARE(table.headers(), (QStringList{t.hSurname, t.hTeam, t.hId1, t.hId2}));
        // Only the shown rows are in the table: no empty rows are left over.
        QCOMPARE(visibleRows(table), expected);
        for (int r = 0; r < table.rowCount(); ++r) {
            QVERIFY(table.hasCell(r, table.linkColumn()));
            QCOMPARE(table.link(r), QString(u""_s));
        }
    }
}

QTEST_GUILESS_MAIN(TestVerification)
#include "tst_verification.moc"
