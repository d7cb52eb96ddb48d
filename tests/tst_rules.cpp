// Competition rules: the standings under worked rule sets, and the rules file's good and bad input.
#include "model/competitionrules.h"
#include "pages/analysis.h"
#include "pages/builders.h"
#include "pages/pagerequest.h"
#include "pages/textexport.h"
#include "strings/texts.h"
#include "testsupport.h"

#include <QtTest>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Rules from "W-D-L chain team:points:yyyy-MM-dd ..." (a deduction's date may be left off).
CompetitionRules rules(const QString &text)
{
    const QStringList parts = text.split(u' ');
    CompetitionRules r;
    parsePoints(parts.at(0), r);
    parseTieBreaks(parts.at(1), r.tieBreaks);
    for (const QString &d : parts.mid(2)) {
        const QStringList f = d.split(u':');
        r.deductions.append(
            {f.at(0), f.at(1).toInt(), u"долг"_s, QDate::fromString(f.value(2), Qt::ISODate)});
    }
    return r;
}

} // namespace

class TestRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void standings_data()
    {
        QTest::addColumn<QStringList>("scores");
        QTest::addColumn<QString>("page"); // a short name or a link, as either front end asks
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("till"); // the selection's last day, in January 2020
        // "team|points", with "|taken" where points were taken and "|place" for the race's steps.
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("footnote");

        // A and B level on 4: B has the better goal difference, A won their match. C and D never
        // met.
        const QStringList pair{u"A|B|1|0"_s, u"B|C|3|0"_s, u"A|C|0|0"_s, u"B|D|0|0"_s};
        QTest::newRow("pair, goal difference")
            << pair << u"standings"_s << u"3-1-0 diff,scored"_s << u"31"_s
            << QStringList{u"B|4"_s, u"A|4"_s, u"D|1"_s, u"C|1"_s} << QString();
        QTest::newRow("pair, head-to-head")
            << pair << u"standings"_s << u"3-1-0 h2h-points,h2h-diff,diff,scored"_s << u"31"_s
            << QStringList{u"A|4"_s, u"B|4"_s, u"D|1"_s, u"C|1"_s} << QString();
        // B loses two points from day 3: before it nothing is taken and no column shows.
        QTest::newRow("deduction after its date")
            << pair << u"standings"_s << u"3-1-0 diff B:2:2020-01-03 D:1"_s << u"31"_s
            << QStringList{u"A|4|"_s, u"B|2|2"_s, u"C|1|"_s, u"D|0|1"_s}
            << u"Снято очков: B — 2 (долг, с 03.01.2020); D — 1 (долг)."_s;
        QTest::newRow("deduction before its date")
            << pair << u"standings"_s << u"3-1-0 diff B:2:2020-01-03 D:1"_s << u"02"_s
            << QStringList{u"B|3"_s, u"A|3"_s, u"C|0"_s} << QString();
        // A table ending on the deduction's first day counts it; D, not in the table, is not named.
        QTest::newRow("deduction on its date")
            << pair << u"standings"_s << u"3-1-0 diff B:2:2020-01-03 D:1"_s << u"03"_s
            << QStringList{u"A|4|"_s, u"B|1|2"_s, u"C|1|"_s}
            << u"Снято очков: B — 2 (долг, с 03.01.2020)."_s;

        // Three level on 6 after a cycle among them; the mini-table puts C first and leaves A and B
        // level in everything, and their own match then puts A before B, whose goal difference is
        // best.
        const QStringList cycle{u"A|B|2|0"_s, u"B|C|2|1"_s, u"C|A|3|0"_s,
                                u"A|D|1|0"_s, u"B|D|5|0"_s, u"C|D|1|0"_s};
        QTest::newRow("three, goal difference")
            << cycle << u"standings"_s << u"3-1-0 diff,scored"_s << u"31"_s
            << QStringList{u"B|6"_s, u"C|6"_s, u"A|6"_s, u"D|0"_s} << QString();
        QTest::newRow("three, head-to-head re-split")
            << cycle << u"standings"_s << u"3-1-0 h2h-points,h2h-diff,h2h-scored,diff,scored"_s
            << u"31"_s << QStringList{u"C|6"_s, u"A|6"_s, u"B|6"_s, u"D|0"_s} << QString();

        // X, Y and Z level on 4 among others; among themselves X beat Y, Y-Z and Z-X were draws:
        // 4, 1 and 2 points, while the goal difference ranks them the other way round. Draws
        // counted as wins (or as nothing) leave two of them level, and their draw then leaves it to
        // the difference.
        const QStringList drawn{u"X|Y|1|0"_s, u"Y|Z|0|0"_s, u"Z|X|1|1"_s, u"Y|D|5|0"_s,
                                u"Z|D|0|0"_s, u"D|Z|0|0"_s, u"D|X|3|0"_s};
        QTest::newRow("three, draws among them")
            << drawn << u"standings"_s << u"3-1-0 h2h-points,diff"_s << u"31"_s
            << QStringList{u"D|5"_s, u"X|4"_s, u"Z|4"_s, u"Y|4"_s} << QString();
        // P and Q level on points and goal difference, Q ahead on one count only; the name would
        // put P first.
        const QStringList wins{u"P|Z|1|1"_s, u"P|Z|1|1"_s, u"P|Z|0|0"_s,
                               u"Q|Z|2|0"_s, u"Q|Z|0|1"_s, u"Q|Z|0|1"_s};
        QTest::newRow("wins") << wins << u"standings"_s << u"3-1-0 diff,scored,away-scored,wins"_s
                              << u"31"_s << QStringList{u"Z|9"_s, u"Q|3"_s, u"P|3"_s} << QString();
        const QStringList away{u"P|Z|2|2"_s, u"Z|Q|2|2"_s, u"P|Y|1|0"_s, u"Q|Y|1|0"_s};
        QTest::newRow("away goals")
            << away << u"standings"_s << u"3-1-0 diff,scored,wins,away-scored"_s << u"31"_s
            << QStringList{u"Q|4"_s, u"P|4"_s, u"Z|2"_s, u"Y|0"_s} << QString();
        const QStringList scored{u"P|Z|1|1"_s, u"Q|Z|2|2"_s};
        QTest::newRow("goals scored")
            << scored << u"standings"_s << u"3-1-0 diff,away-scored,wins,scored"_s << u"31"_s
            << QStringList{u"Z|2"_s, u"Q|1"_s, u"P|1"_s} << QString();
        QTest::newRow("name") << scored << u"standings"_s << u"3-1-0 name,scored"_s << u"31"_s
                              << QStringList{u"Z|2"_s, u"P|1"_s, u"Q|1"_s} << QString();

        // An old season: 10:5 (average 2.0) beats 20:14 (1.43) although +5 is less than +6, and a
        // clean sheet beats every average.
        const QStringList old{u"T1|Z|10|5"_s, u"T2|Z|20|14"_s, u"T3|Z|1|0"_s};
        QTest::newRow("goal average")
            << old << u"standings"_s << u"2-1-0 average"_s << u"31"_s
            << QStringList{u"T3|2"_s, u"T1|2"_s, u"T2|2"_s, u"Z|0"_s} << QString();
        // 3:2 is 1.5 and 5:4 only 1.25, though whole numbers would make both 1.
        QTest::newRow("goal average, a fraction")
            << QStringList{u"A|Z|5|4"_s, u"B|Z|3|2"_s} << u"standings"_s << u"2-1-0 average"_s
            << u"31"_s << QStringList{u"B|2"_s, u"A|2"_s, u"Z|0"_s} << QString();
        QTest::newRow("goal difference, same season")
            << old << u"standings"_s << u"2-1-0 diff"_s << u"31"_s
            << QStringList{u"T2|2"_s, u"T1|2"_s, u"T3|2"_s, u"Z|0"_s} << QString();
        // A deduction below zero: the table keeps the ranking order.
        QTest::newRow("below zero") << old << u"standings"_s << u"2-1-0 average Z:3"_s << u"31"_s
                                    << QStringList{u"T3|2|"_s, u"T1|2|"_s, u"T2|2|"_s, u"Z|-3|3"_s}
                                    << u"Снято очков: Z — 3 (долг)."_s;

        // Every page that counts points, on one season: A wins once and loses twice, B draws three
        // times; 3-1-0 puts A (better difference) before B, 2-1-0 puts B before A.
        const QStringList season{u"A|C|5|0"_s, u"B|C|1|1"_s, u"D|A|1|0"_s,
                                 u"B|D|0|0"_s, u"A|D|0|2"_s, u"C|B|2|2"_s};
        const auto both = [&season](const char *page, const QStringList &three,
                                    const QStringList &two) {
            QTest::addRow("%s, 3-1-0", page)
                << season << QString::fromUtf8(page) << u"3-1-0 diff,scored"_s << u"31"_s << three
                << QString();
            QTest::addRow("%s, 2-1-0", page)
                << season << QString::fromUtf8(page) << u"2-1-0 diff,scored"_s << u"31"_s << two
                << QString();
        };
        both("standings", {u"D|7"_s, u"A|3"_s, u"B|3"_s, u"C|2"_s},
             {u"D|5"_s, u"B|3"_s, u"A|2"_s, u"C|2"_s});
        both("home", {u"A|3"_s, u"D|3"_s, u"B|2"_s, u"C|1"_s},
             {u"A|2"_s, u"D|2"_s, u"B|2"_s, u"C|1"_s});
        both("away", {u"D|4"_s, u"B|1"_s, u"C|1"_s, u"A|0"_s},
             {u"D|3"_s, u"B|1"_s, u"C|1"_s, u"A|0"_s});
        both("taf1_2", {u"D|4"_s, u"C|2"_s, u"B|2"_s, u"A|0"_s},
             {u"D|3"_s, u"C|2"_s, u"B|2"_s, u"A|0"_s});
        both("hh01_A\tD", {u"A|0"_s, u"D|6"_s}, {u"A|0"_s, u"D|4"_s});
        // Each team's points and place after each of its match days, teams in final order.
        both("season-race",
             {u"D|3|2"_s, u"D|4|1"_s, u"D|7|1"_s, u"A|3|1"_s, u"A|3|1"_s, u"A|3|2"_s, u"B|1|2"_s,
              u"B|2|3"_s, u"B|3|3"_s, u"C|0|4"_s, u"C|1|3"_s, u"C|2|4"_s},
             {u"D|2|2"_s, u"D|3|1"_s, u"D|5|1"_s, u"B|1|2"_s, u"B|2|3"_s, u"B|3|2"_s, u"A|2|1"_s,
              u"A|2|1"_s, u"A|2|2"_s, u"C|0|4"_s, u"C|1|3"_s, u"C|2|4"_s});
    }

    // Every page that counts points, asked for as the window and the command line ask.
    void standings()
    {
        QFETCH(QStringList, scores);
        QFETCH(QString, page);
        QFETCH(QString, rules);
        QFETCH(QString, till);
        QFETCH(QString, footnote);

        PageRequest request = pageRequest(page);
        QVERIFY(request.entry && request.entry->countsPoints);
        request.filter = everything();
        request.filter.till = QDate(2020, 1, till.toInt());
        request.rules = ::rules(rules);
        TableData table;
        runPage(makeStore(onDays(scores)), request, table);

        const Texts &t = texts();
        qsizetype team = table.headers().indexOf(t.hTeam);
        const bool headToHead = team < 0;
        if (headToHead)
            team = table.headers().indexOf(t.hHome);
        QStringList shown;
        for (int r = 0; r < (headToHead ? 2 : table.rowCount()); ++r) {
            QString line = table.cell(r, int(team));
            for (const QString &header : {t.hPoints, t.hDeducted, t.hPosition})
                if (const qsizetype c = table.headers().indexOf(header); c >= 0)
                    line += u'|' + table.cell(r, int(c)).trimmed();
            shown.append(line);
        }
        QTEST(shown, "rows");
        QCOMPARE(table.footnote(), footnote);
        if (page == u"standings"_s)
            QCOMPARE(table.link(0), u"ta02_"_s + table.cell(0, int(team)));
        if (!footnote.isEmpty())
            QVERIFY(exportText(snapshotOf(table)).endsWith(u"-\n"_s + footnote + u'\n'));
    }

    void raceEndsWhereTheTableStands_data()
    {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("till"); // the selection's last day, in 2020

        QTest::newRow("3-1-0") << u"3-1-0 diff,scored"_s << u"12-31"_s;
        // Taken before the first day, during the season, and after its last match day; the last
        // day's places count what the table takes.
        QTest::newRow("deductions")
            << u"2-1-0 diff,scored T3:4:2019-06-01 T5:2:2020-02-10 T0:3:2020-12-01 T7:1"_s
            << u"12-31"_s;
        QTest::newRow("a deduction after the selection")
            << u"2-1-0 diff,scored T0:3:2020-12-01"_s << u"11-30"_s;
        QTest::newRow("head-to-head") << u"3-1-0 h2h-points,h2h-diff,diff,scored"_s << u"12-31"_s;
        QTest::newRow("average, wins, away goals") << u"3-1-0 average,wins,away"_s << u"12-31"_s;
    }

    // On an irregular season (several matches a day, days a team misses, a first day on which every
    // team plays), every step's points and place are those of the team in the standings of the
    // matches up to the step's day, and of the whole selection on the last day; the race's final
    // order is the table's.
    void raceEndsWhereTheTableStands()
    {
        QFETCH(QString, rules);
        QFETCH(QString, till);

        QList<Match> matches;
        quint32 state = 7;
        const auto next = [&state](quint32 n) {
            state = state * 1103515245u + 12345u;
            return (state >> 16) % n;
        };
        for (int i = 0; i < 160; ++i) {
            const QDate day = QDate(2020, 1, 1).addDays(i < 5 ? 0 : 1 + int(next(60)) * 3);
            const quint32 a = i < 5 ? quint32(2 * i) : next(10);
            const quint32 b = i < 5 ? a + 1 : (a + 1 + next(9)) % 10;
            matches.append(makeMatch(u"m%1.xml"_s.arg(i), day.toString(Qt::ISODate),
                                     u"T%1"_s.arg(a), u"T%1"_s.arg(b), QString::number(next(4)),
                                     QString::number(next(3))));
        }
        const MatchStore store = makeStore(matches);
        MatchFilter filter = everything();
        filter.till = QDate::fromString(u"2020-"_s + till, Qt::ISODate);
        const CompetitionRules r = ::rules(rules);
        const SeasonRace race = seasonRace(store, filter, r);
        const Standings table = teamRecords(store, filter, r);

        QStringList order;
        for (const TeamRecord &team : table.teams)
            order.append(team.name);
        QCOMPARE(race.teams, order);
        QCOMPARE(race.steps.size(), 320);
        const QDate lastDay = race.days.constLast().date;
        for (const RaceStep &step : race.steps) {
            MatchFilter upTo = filter;
            if (step.date < lastDay)
                upTo.till = step.date;
            const Standings then = teamRecords(store, upTo, r);
            qsizetype place = 0;
            while (then.teams.at(place).name != step.team)
                ++place;
            QCOMPARE(step.position, int(place + 1));
            QCOMPARE(qint64(step.points), then.points.at(place));
        }
    }

    // Twenty thousand matches of the same two teams on one day: the race keeps a few records per
    // match, not a table per match. A child process runs it under an address-space limit.
    void raceOfOneDayStaysSmall()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the address sanitizer reserves more address space than the limit allows");
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
        QSKIP("the address sanitizer reserves more address space than the limit allows");
#endif
#endif
        QList<Match> matches;
        for (int i = 0; i < 20000; ++i)
            matches.append(makeMatch(u"m%1.xml"_s.arg(i), u"2020-03-01"_s, u"A"_s, u"B"_s,
                                     QString::number(i % 3), u"1"_s));
        const MatchStore store = makeStore(matches);

        const qint64 used = processStatusKb("VmSize") * 1024;
        QVERIFY(used > 0);

        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            // 256 MB beyond what the process holds; the race used to take 6 GB here.
            const rlim_t limit = rlim_t(used) + (rlim_t(256) << 20);
            const rlimit bound{limit, limit};
            if (setrlimit(RLIMIT_AS, &bound) != 0)
                _exit(2);
            try {
                PageRequest request = pageRequest(u"season-race"_s);
                request.filter = everything();
                TableData table;
                runPage(store, request, table);
                _exit(table.rowCount() == 40000 && table.cell(39999, 7).trimmed() == u"2"_s ? 0
                                                                                            : 3);
            } catch (...) {
                _exit(4);
            }
        }
        int code = -1;
        QCOMPARE(waitpid(child, &code, 0), child);
        QVERIFY(WIFEXITED(code));
        QCOMPARE(WEXITSTATUS(code), 0);
    }

    void rulesFile_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("league"); // the rules of "L": "W-D-L chain deductions"

        using R = RulesFileResult;
        const QString standard = u"3-1-0 diff,scored"_s;
        QTest::newRow("no file") << QByteArray() << int(R::Missing) << QString() << standard;
        QTest::newRow("empty object") << QByteArray("{}") << int(R::Ok) << QString() << standard;
        QTest::newRow("everything")
            << QByteArray(
                   R"({"version": 1, "tournaments": {"L": {"points": {"win": 2},
               "tiebreaks": ["h2h-points", "average"],
               "deductions": [{"team": "A", "points": 3, "reason": "r", "from": "2020-02-29"},
                              {"team": "B", "points": 1}]}}})")
            << int(R::Ok) << QString() << u"2-1-0 h2h-points,average A:3:2020-02-29 B:1:"_s;
        QTest::newRow("unknown criterion")
            << QByteArray(R"({"tournaments": {"L": {"tiebreaks": ["diff", "goals"]}}})")
            << int(R::UnknownCriterion) << u"goals"_s << standard;
        QTest::newRow("not JSON") << QByteArray("{\"tournaments\": ") << int(R::Malformed)
                                  << u"byte"_s << standard;
        QTest::newRow("not an object")
            << QByteArray("[1]") << int(R::Malformed) << u"/"_s << standard;
        QTest::newRow("fractional points")
            << QByteArray(R"({"tournaments": {"L": {"points": {"win": 2.5}}}})") << int(R::BadValue)
            << u"tournaments/L/points/win"_s << standard;
        // Out of every integer type's range: refused before any conversion (undefined behaviour).
        QTest::newRow("points far out of range")
            << QByteArray(R"({"tournaments": {"L": {"points": {"draw": 1.5e116}}}})")
            << int(R::BadValue) << u"tournaments/L/points/draw"_s << standard;
        QTest::newRow("a deduction of 2^63")
            << QByteArray(R"({"tournaments": {"L": {"deductions": [{"team": "A",
               "points": 9223372036854775808}]}}})")
            << int(R::BadValue) << u"tournaments/L/deductions/1/points"_s << standard;
        QTest::newRow("the largest points and deduction")
            << QByteArray(R"({"tournaments": {"L": {"points": {"win": 99, "loss": 0},
               "deductions": [{"team": "A", "points": 999}]}}})")
            << int(R::Ok) << QString() << u"99-1-0 diff,scored A:999:"_s;
        QTest::newRow("larger than any rules file")
            << QByteArray(maxRulesFileBytes + 1, ' ') << int(R::CannotRead) << u"too large"_s
            << standard;
        QTest::newRow("no such date")
            << QByteArray(R"({"tournaments": {"L": {"deductions": [{"team": "A", "points": 1,
               "from": "2021-02-29"}]}}})")
            << int(R::BadValue) << u"tournaments/L/deductions/1/from"_s << standard;
        QTest::newRow("deduction of no one")
            << QByteArray(R"({"tournaments": {"L": {"deductions": [{"points": 1}]}}})")
            << int(R::BadValue) << u"tournaments/L/deductions/1/team"_s << standard;
        QTest::newRow("newer version")
            << QByteArray(R"({"version": 2})") << int(R::BadValue) << u"version"_s << standard;
    }

    // Bad input is reported with where it went wrong, and leaves the standard rules; what is read
    // back after writing is what was read.
    void rulesFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(QString, detail);
        using R = RulesFileResult;

        QTemporaryDir dir;
        const QString path = rulesFilePath(dir.filePath(u"db.swb"_s));
        QVERIFY(bytes.isNull() || writeFile(path, bytes));
        RuleBook book;
        book.setRules(u"other"_s, rules(u"2-1-0 wins"_s));
        const RulesFileResult result = readRulesFile(path, book);
        QCOMPARE(int(result.status), status);
        QVERIFY2(result.detail.contains(detail), qPrintable(result.detail));

        const CompetitionRules read = book.rulesFor(u"L"_s);
        QStringList shown{pointsText(read)};
        QStringList chain;
        for (TieBreak criterion : read.tieBreaks)
            chain.append(tieBreakToken(criterion));
        shown.append(chain.join(u','));
        for (const Deduction &d : read.deductions)
            shown.append(u"%1:%2:%3"_s.arg(d.team).arg(d.points).arg(d.from.toString(Qt::ISODate)));
        QTEST(shown.join(u' '), "league");
        QCOMPARE(book.rulesFor(u"other"_s), CompetitionRules());

        RuleBook again;
        QCOMPARE(int(parseRules(rulesFileBytes(book), again).status), int(R::Ok));
        QVERIFY(again == book);
    }
};

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"
