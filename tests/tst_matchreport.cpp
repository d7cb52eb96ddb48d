#include "pages/matchreport.h"
#include "strings/texts.h"
#include "testsupport.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

Match sampleMatch()
{
    Match match = makeMatch(u"m"_s, u"2009-03-01"_s, u"Home"_s, u"Away"_s, u"2"_s, u"1"_s);
    MatchData &m = match.edit();
    m.tournament = u"League"_s;
    m.round = u"5"_s;
    m.extra1 = u"3"_s;
    m.penalties1 = u"4"_s;
    m.city = u"Town"_s;
    m.stadium = u"Arena"_s;
    m.attendance = u"1000"_s;
    m.referee = u"Ref"_s;
    m.refereeCity = u"Ref Town"_s;
    m.time = u"19:00"_s;
    m.players1 = lineup({u"H1"_s, u"H2"_s});
    m.players2 = lineup({u"A1"_s});
    m.coach1 = u"Coach H"_s;
    m.coach2 = u"Coach A"_s;
    m.events = makeEvents({u"G|H1|Home|||10"_s, u"S|A1|Away||A2|46"_s});
    return match;
}

} // namespace

class TestMatchReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void fullMatch();
    void oddMatches_data();
    void oddMatches();
    void valuesAreEscaped();
};

void TestMatchReport::fullMatch()
{
    QCOMPARE(matchReportHtml(*sampleMatch()),
             u"<h1 align='center'>League</h1><h2 align='center'>Тур: 5</h2>"
             "<h2 align='center'>Home - Away - 2:1</h2>"
             "<p>Town. Arena. 1000 зрителей<br><b>Судья:</b> Ref (Ref Town)<br>"
             "Sunday, 1 March 2009 19:00</p>"
             "<table border='0' width='100%'><tr><td>H1<br>H2</td><td>A1</td></tr>"
             "<tr><td><b>Тренер:</b> Coach H</td><td><b>Тренер:</b> Coach A</td></tr></table>"
             "<table border='0' width='100%'>"
             "<tr><td>10'</td><td><img src=':/icon/images/goal.png'> Гол</td><td>Home</td>"
             "<td>H1</td></tr>"
             "<tr><td>46'</td><td><img src=':/icon/images/subs.png'> Замена</td><td>Away</td>"
             "<td>A1 - A2</td></tr></table>"_s);
}

void TestMatchReport::oddMatches_data()
{
    QTest::addColumn<QString>("round");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("expected"); // a piece the document must contain

    const auto known = [](const QString &icon, const QString &type) {
        return u"<tr><td>5'</td><td><img src=':/icon/images/%1.png'> %2</td><td>T</td><td>P</td>"
               "</tr></table>"_s.arg(icon, type);
    };
    const Texts &t = texts();
    QTest::newRow("empty round") << QString() << QString() << u"</h1><h2 align='center'></h2>"_s;
    QTest::newRow("three-character round")
        << u"1/8"_s << QString() << u"<h2 align='center'>Тур: 1/8</h2>"_s;
    QTest::newRow("four-character round")
        << u"1/16"_s << QString() << u"<h2 align='center'>1/16</h2>"_s;
    QTest::newRow("own goal") << u"1"_s << u"O|P|T|||5"_s << known(u"autogoal"_s, t.ownGoal);
    QTest::newRow("second caution")
        << u"1"_s << u"Y|P|T|||5"_s << known(u"yellow2"_s, t.secondCaution);
    // A second player on a known kind other than a substitution is not shown.
    QTest::newRow("caution") << u"1"_s << u"C|P|T||Q|5"_s << known(u"yellow"_s, t.caution);
    QTest::newRow("unknown kind")
        << u"1"_s << u"Травма|P|T|||5"_s
        << u"<tr><td>5'</td><td>Травма</td><td>T</td><td>P</td></tr></table>"_s;
    QTest::newRow("unknown kind, two players")
        << u"1"_s << u"Драка|P|T||Q|5"_s
        << u"<tr><td>5'</td><td>Драка</td><td>T</td><td>P - Q</td></tr></table>"_s;
}

void TestMatchReport::oddMatches()
{
    QFETCH(QString, round);
    QFETCH(QString, event);
    QFETCH(QString, expected);

    Match match = sampleMatch();
    match.edit().round = round;
    match.edit().events = makeEvents({event});
    const QString html = matchReportHtml(*match);
    QVERIFY2(html.contains(expected), qPrintable(html));
}

void TestMatchReport::valuesAreEscaped()
{
    Match match = sampleMatch();
    MatchData &m = match.edit();
    m.city.clear(); // the paragraph then starts with the stadium
    m.team1 = u"A<b>"_s;
    m.tournament = u"</h1><script>"_s;
    m.referee = u"R & \"Co\""_s;
    m.players1 = lineup({u"<i>H1"_s});
    m.time = u"%1 %2"_s;
    m.events = makeEvents({u"<u>|P<br>|<td>|||9"_s});
    const QString html = matchReportHtml(*match);

    for (const QString &piece :
         {u"<h1 align='center'>&lt;/h1&gt;&lt;script&gt;</h1>"_s, u"A&lt;b&gt; - Away"_s,
          u"<p>Arena. 1000"_s, u"R &amp; &quot;Co&quot; (Ref Town)"_s,
          u"<tr><td>&lt;i&gt;H1</td>"_s, u"2009 %1 %2</p>"_s,
          u"<td>&lt;u&gt;</td><td>&lt;td&gt;</td><td>P&lt;br&gt;</td>"_s})
        QVERIFY2(html.contains(piece), qPrintable(piece));
    QCOMPARE(html.count(u"<b>"_s), 3); // only the document's own bold labels
}

QTEST_GUILESS_MAIN(TestMatchReport)
#include "tst_matchreport.moc"
