#include "formats/csvimport.h"
#include "model/importbatch.h"
#include "pages/builders.h"
#include "testsupport.h"

#include <QStringEncoder>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// "fileName|date|team1|team2|goals1|goals2|tournament|referee|attendance|stadium|round|time",
// empty fields at the end left off.
QString summary(const MatchData &m)
{
    QStringList parts{m.fileName,   m.date.toString(Qt::ISODate),
                      m.team1,      m.team2,
                      m.goals1,     m.goals2,
                      m.tournament, m.referee,
                      m.attendance, m.stadium,
                      m.round,      m.time};
    while (!parts.isEmpty() && parts.constLast().isEmpty())
        parts.removeLast();
    return parts.join(u'|');
}

const QDate today(2026, 12, 7);

// Imports csv as the file x.csv into store, on the day above.
CsvImportResult importInto(MatchStore &store, const QByteArray &csv, CsvImportOptions options = {})
{
    ImportBatch batch(store);
    options.today = today;
    return importCsvData(csv, u"x.csv"_s, batch, options);
}

} // namespace

class TestCsvImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("dd/mm/yy, this century") << u"10/08/19"_s << QDate(2019, 8, 10);
        QTest::newRow("dd/mm/yy, this year") << u"31/12/26"_s << QDate(2026, 12, 31);
        QTest::newRow("dd/mm/yy, next year is last century") << u"01/01/27"_s << QDate(1927, 1, 1);
        QTest::newRow("dd/mm/yyyy") << u"14/06/2018"_s << QDate(2018, 6, 14);
        QTest::newRow("d/m/yyyy") << u"8/9/1888"_s << QDate(1888, 9, 8);
        QTest::newRow("yyyy-mm-dd") << u"2018-06-14"_s << QDate(2018, 6, 14);
        QTest::newRow("dd.mm.yyyy, spaces around") << u" 29.02.2024 "_s << QDate(2024, 2, 29);
        QTest::newRow("yyyy-m-d") << u"2018-6-4"_s << QDate(2018, 6, 4);
        QTest::newRow("no such day") << u"29.02.2023"_s << QDate();
        QTest::newRow("yy-mm-dd") << u"18-06-14"_s << QDate();
        QTest::newRow("three-digit year") << u"14/06/201"_s << QDate();
        QTest::newRow("mixed separators") << u"14/06.2018"_s << QDate();
        QTest::newRow("letters") << u"14 Jun 2018"_s << QDate();
        QTest::newRow("signs") << u"+1/-2/2018"_s << QDate();
    }

    void dates()
    {
        QFETCH(QString, text);
        QTEST(parseCsvDate(text, today), "date");
    }

    // Each header name read in place of the usual one gives the same match; every value of the
    // line differs, so a name read as another column shows.
    void headerNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("replaces");
        QTest::addColumn<QString>("match");
        // The tournament: the division and the season of the date.
        const QString usual = u"x.csv-2|2019-03-02|H|A|3|1|T 2018/19|R|500|S|7|15:00"_s;
        const QString aliases[][2] = {
            {u"Дата"_s, u"Date"_s},        {u"Home Team"_s, u"HomeTeam"_s},
            {u"home"_s, u"HomeTeam"_s},    {u"team1"_s, u"HomeTeam"_s},
            {u"Хозяева"_s, u"HomeTeam"_s}, {u"away_team"_s, u"AwayTeam"_s},
            {u"away"_s, u"AwayTeam"_s},    {u"visitor"_s, u"AwayTeam"_s},
            {u"team2"_s, u"AwayTeam"_s},   {u"Гости"_s, u"AwayTeam"_s},
            {u"HomeGoals"_s, u"FTHG"_s},   {u"hgoal"_s, u"FTHG"_s},
            {u"goals1"_s, u"FTHG"_s},      {u"AwayGoals"_s, u"FTAG"_s},
            {u"vgoal"_s, u"FTAG"_s},       {u"goals2"_s, u"FTAG"_s},
            {u"division"_s, u"Div"_s},     {u"competition"_s, u"Div"_s},
            {u"Tournament"_s, u"Div"_s},   {u"Турнир"_s, u"Div"_s},
            {u"Судья"_s, u"Referee"_s},    {u"Зрители"_s, u"Attendance"_s},
            {u"stadium"_s, u"Venue"_s},    {u"Стадион"_s, u"Venue"_s},
            {u"Wk"_s, u"Round"_s},         {u"Тур"_s, u"Round"_s},
            {u"Время"_s, u"Time"_s}};
        for (const auto &[name, replaces] : aliases)
            QTest::newRow(qPrintable(name)) << name << replaces << usual;
        // The score in one cell: the goal pair's cells become a score and an unknown column.
        for (const QString &name : {u"FT"_s, u"score"_s, u"Счёт"_s, u"счет"_s})
            QTest::newRow(qPrintable(name)) << name << u"FTHG,FTAG"_s << usual;
        QTest::newRow("Season") << u"Season"_s << u"Div"_s
                                << QString(usual).replace(u"|T 2018/19|"_s, u"|x T|"_s);
    }

    void headerNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, replaces);
        QStringList header = u"Date,HomeTeam,AwayTeam,FTHG,FTAG,Div,Referee,Attendance,Venue,"
                             "Round,Time"_s.split(u',');
        QStringList line = u"02/03/2019,H,A,3,1,T,R,500,S,7,15:00"_s.split(u',');
        const qsizetype at = header.indexOf(replaces.section(u',', 0, 0));
        header[at] = name;
        if (replaces.contains(u',')) {
            header[at + 1] = u"HTAG"_s;
            line[at] = u"3-1"_s;
            line[at + 1] = u"0"_s;
        }
        MatchStore store;
        const CsvImportResult result =
            importInto(store, (header.join(u',') + u'\n' + line.join(u',') + u'\n').toUtf8());
        QCOMPARE(result.added, 1);
        QTEST(summary(*store.matches().at(0)), "match");
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("tournament");
        QTest::addColumn<QStringList>("matches");
        QTest::addColumn<QStringList>("refused");
        QTest::addColumn<QList<qsizetype>>("counts"); // lines, blank, duplicates, missing

        QTest::newRow("results archive layout")
            << QByteArray("Div,Date,Time,HomeTeam,AwayTeam,FTHG,FTAG,FTR,HTHG,HTAG,HTR,Referee,"
                          "Attendance\n"
                          "E0,09/08/2019,20:00,Liverpool,Norwich,4,1,H,4,0,H,M Oliver,\"53,333\"\n"
                          "E0,10/08/19,12:30,West Ham,Man City,0,5,A,0,1,A,M Dean,NA\n")
            << QString()
            << QStringList{u"x.csv-2|2019-08-09|Liverpool|Norwich|4|1|E0 2019/20|M Oliver|53333|||20:00"_s,
                           u"x.csv-3|2019-08-10|West Ham|Man City|0|5|E0 2019/20|M Dean||||12:30"_s}
            << QStringList() << QList<qsizetype>{2, 0, 0, 0};
        QTest::newRow("the Season column names the season; the goal pair before the score")
            << QByteArray("Date,Season,home,visitor,FT,hgoal,vgoal,tier\n"
                          "1888-09-08,1888,Bolton Wanderers,Derby County,3-6,3,6,1\n")
            << QString()
            << QStringList{u"x.csv-2|1888-09-08|Bolton Wanderers|Derby County|3|6|x 1888"_s}
            << QStringList() << QList<qsizetype>{1, 0, 0, 0};
        QTest::newRow("score column, header case, spaces and underscores, Wk and Venue")
            << QByteArray("DATE,Home_Team,AWAY TEAM,score,Wk,Venue,competition,Unknown\n"
                          "2018-06-14,A,B,2:1,1,Arena,Cup,?\n2018-06-15,C,D,3-0,2,,Cup\n"
                          "2018-06-16,E,F, 1 \xe2\x80\x93 1 ,3,,Cup\n")
            << QString()
            << QStringList{u"x.csv-2|2018-06-14|A|B|2|1|Cup 2017/18|||Arena|1"_s,
                           u"x.csv-3|2018-06-15|C|D|3|0|Cup 2017/18||||2"_s,
                           u"x.csv-4|2018-06-16|E|F|1|1|Cup 2017/18||||3"_s}
            << QStringList() << QList<qsizetype>{3, 0, 0, 0};
        const QString russian = u"Турнир;Дата;Хозяева;Гости;Счёт;Стадион\r\n"
                                "ЧМ;16.06.2018;Франция;Австралия;2:1;Казань Арена\r\n"_s;
        const QStringList russianMatch{
            u"x.csv-2|2018-06-16|Франция|Австралия|2|1|ЧМ 2017/18|||Казань Арена"_s};
        QTest::newRow("Russian headers, semicolons, UTF-8 with BOM")
            << "\xEF\xBB\xBF" + russian.toUtf8() << QString() << russianMatch << QStringList()
            << QList<qsizetype>{1, 0, 0, 0};
        QTest::newRow("windows-1251")
            << QByteArray(QStringEncoder("windows-1251").encode(russian)) << QString()
            << russianMatch << QStringList() << QList<qsizetype>{1, 0, 0, 0};
        QTest::newRow("RFC 4180 quoting; line numbers count the breaks inside quotes; CR ends")
            << QByteArray("Date,Home,Away,HomeGoals,AwayGoals,Stadium\r"
                          "01/02/2003,\"Team, A\",\"Say \"\"B\"\"\",1,0,\"Line one\nline two\"\r"
                          "02/02/2003,C,D,0,0,\"S\"\"\"\n")
            << QString()
            << QStringList{u"x.csv-2|2003-02-01|Team, A|Say \"B\"|1|0|x 2002/03|||Line one\nline two"_s,
                           u"x.csv-4|2003-02-02|C|D|0|0|x 2002/03|||S\""_s}
            << QStringList() << QList<qsizetype>{2, 0, 0, 0};
        QTest::newRow("bad lines named, blank lines passed over, duplicates counted")
            << QByteArray("Date,HomeTeam,AwayTeam,FTHG,FTAG\n"
                          "31/02/2019,A,B,1,0\n"
                          ",A,B,1,0\n"
                          "01/03/2019,,B,1,0\n"
                          "01/03/2019,A,NA,1,0\n"
                          ",,,,\n"
                          "01/03/2019,A,B,x,0\n"
                          "01/03/2019,A,B,,\n"
                          "01/03/2019,A,B,1,0\n"
                          "\n"
                          "01/03/2019,A,B,1,0\n"
                          "01/03/2019,A,B,-1,0\n"
                          "02/03/2019,A,\"B\n")
            << QString() << QStringList{u"x.csv-9|2019-03-01|A|B|1|0|x 2018/19"_s}
            << QStringList{u"2 date 31/02/2019"_s, u"3 date "_s,     u"4 home "_s,
                           u"5 away "_s,           u"7 goals x-0"_s, u"8 goals -"_s,
                           u"12 goals -1-0"_s,     u"13 quote "_s}
            << QList<qsizetype>{10, 2, 1, 0};
        QTest::newRow("--tournament names every match")
            << QByteArray("Div,Date,Home,Away,FT\nE0,01/03/2019,A,B,1-0\n") << u"Лига"_s
            << QStringList{u"x.csv-2|2019-03-01|A|B|1|0|Лига"_s} << QStringList()
            << QList<qsizetype>{1, 0, 0, 0};
        QTest::newRow("no date, no home team")
            << QByteArray("Day,Away,FTHG,FTAG\n1,2,3,4\n") << QString() << QStringList()
            << QStringList() << QList<qsizetype>{0, 0, 0, 3};
        QTest::newRow("half a goal pair and no score")
            << QByteArray("Date,HomeTeam,AwayTeam,FTHG,HTAG\n") << QString() << QStringList()
            << QStringList() << QList<qsizetype>{0, 0, 0, 8};
    }

    void read()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, tournament);
        MatchStore store;
        CsvImportOptions options;
        options.tournament = tournament;
        const CsvImportResult result = importInto(store, csv, options);
        QStringList matches;
        for (const Match &match : store.matches())
            matches.append(summary(*match));
        QTEST(matches, "matches");
        const char *reasons[] = {"date", "home", "away", "goals", "quote"};
        QStringList refused;
        for (const CsvLineProblem &problem : result.refused)
            refused.append(u"%1 %2 %3"_s.arg(problem.line)
                               .arg(QLatin1StringView(reasons[int(problem.reason)]), problem.text));
        QTEST(refused, "refused");
        QTEST((QList<qsizetype>{result.lines, result.blank, result.duplicates,
                                qsizetype(result.missing)}),
              "counts");
        QCOMPARE(result.added, store.count());
    }

    // The encoding is the whole file's: one stray byte does not make a UTF-8 file windows-1251,
    // and its line is named; UTF-16 is read by its byte order mark.
    void encodings_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QList<qsizetype>>("badLines");
        QTest::addColumn<QStringList>("homeTeams");
        const QString text = u"Date,Home,Away,FT\n01/02/2003,Спартак,Зенит,1-0\n"
                             "02/02/2003,Спартак,Рёбра,2-0\n03/02/2003,Спартак,Зенит,3-0\n"_s;
        const QStringList teams{u"Спартак"_s, u"Спартак"_s, u"Спартак"_s};
        QByteArray oneBad = text.toUtf8();
        oneBad.insert(oneBad.indexOf("Спартак,Рёбра") + 4, '\xff');
        QTest::newRow("UTF-8 with one stray byte: UTF-8, the line named")
            << oneBad << int(CsvEncoding::Utf8) << QList<qsizetype>{3}
            << QStringList{u"Спартак"_s, u"Сп\ufffdартак"_s, u"Спартак"_s};
        QTest::newRow("windows-1251 as a whole, a pair in it well-formed UTF-8 (Рё)")
            << QByteArray(QStringEncoder("windows-1251").encode(text))
            << int(CsvEncoding::Windows1251) << QList<qsizetype>() << teams;
        QByteArray utf16le("\xff\xfe");
        QByteArray utf16be("\xfe\xff");
        for (const QChar c : text) {
            utf16le += char(c.unicode() & 0xff);
            utf16le += char(c.unicode() >> 8);
            utf16be += char(c.unicode() >> 8);
            utf16be += char(c.unicode() & 0xff);
        }
        QTest::newRow("UTF-16LE") << utf16le << int(CsvEncoding::Utf16LE) << QList<qsizetype>()
                                  << teams;
        QTest::newRow("UTF-16BE") << utf16be << int(CsvEncoding::Utf16BE) << QList<qsizetype>()
                                  << teams;
        QTest::newRow("a byte order mark keeps UTF-8 whatever follows; a lone CR ends a line")
            << QByteArray("\xEF\xBB\xBF"
                          "Date,Home,Away,FT\r01/02/2003,\xC0\xC1,B,1-0\r\n02/02/2003,\xE0,B,1-0\n")
            << int(CsvEncoding::Utf8) << QList<qsizetype>{2, 3}
            << QStringList{u"\ufffd\ufffd"_s, u"\ufffd"_s};
    }

    void encodings()
    {
        QFETCH(QByteArray, csv);
        MatchStore store;
        const CsvImportResult result = importInto(store, csv);
        QTEST(int(result.encoding), "encoding");
        QTEST(result.badByteLines, "badLines");
        QTEST(fieldOfAll(store, &MatchData::team1), "homeTeams");
    }

    // A large file is read part by part: records with line breaks inside quotes, across the
    // parts' ends, are read whole and their lines counted as in a small one.
    void largeFileInParts()
    {
        QByteArray csv("Date,Home,Away,FT,Venue\n");
        constexpr int matches = 60000; // about 10 MB: more than one part
        const QByteArray padding(120, 'x');
        for (int i = 0; i < matches; ++i)
            csv += "01/02/2003,A" + QByteArray::number(i) + ",B,1-0,\"" + padding + "\nNorth \"\"" +
                   QByteArray::number(i) + "\"\"\"\n";
        QVERIFY(csv.size() > 9 * 1024 * 1024);
        MatchStore store;
        const CsvImportResult result = importInto(store, csv);
        QCOMPARE(result.lines, matches);
        QVERIFY(result.refused.isEmpty() && result.blank == 0);
        QCOMPARE(store.count(), matches);
        const Match last = store.matches().constLast();
        QCOMPARE(last->fileName, u"x.csv-%1"_s.arg(2 + 2 * (matches - 1)));
        QCOMPARE(last->stadium,
                 QString::fromLatin1(padding) + u"\nNorth \"%1\""_s.arg(matches - 1));
    }

    void seasonStart_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("month"); // 0: refused
        QTest::addColumn<int>("day");
        QTest::newRow("July 1") << u"07-01"_s << 7 << 1;
        QTest::newRow("one digit each") << u"1-1"_s << 1 << 1;
        QTest::newRow("last day of the year") << u" 12-31 "_s << 12 << 31;
        QTest::newRow("February 29 is not in every year") << u"02-29"_s << 0 << 0;
        QTest::newRow("no month 13") << u"13-01"_s << 0 << 0;
        QTest::newRow("no June 31") << u"06-31"_s << 0 << 0;
        QTest::newRow("no separator") << u"0701"_s << 0 << 0;
        QTest::newRow("another separator") << u"07/01"_s << 0 << 0;
        QTest::newRow("three digits") << u"007-01"_s << 0 << 0;
        QTest::newRow("a whole date") << u"2019-07-01"_s << 0 << 0;
        QTest::newRow("empty") << QString() << 0 << 0;
    }

    void seasonStart()
    {
        QFETCH(QString, text);
        QFETCH(int, month);
        QFETCH(int, day);
        const std::optional<SeasonStart> start = parseSeasonStart(text);
        QCOMPARE(start.has_value(), month != 0);
        if (start)
            QVERIFY((*start == SeasonStart{month, day}));
    }

    // The tournament of each line, for a file named x.csv.
    void seasons_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("tournaments");
        const QByteArray dated = "Date,HomeTeam,AwayTeam,FTHG,FTAG\n"
                                 "30/06/2019,A,B,1,0\n01/07/2019,A,B,1,0\n"
                                 "31/12/1999,A,B,1,0\n01/01/2000,A,B,1,0\n";
        QTest::newRow("July to June: June 30 ends a season, July 1 starts one")
            << dated << QString() << QString()
            << QStringList{u"x 2018/19"_s, u"x 2019/20"_s, u"x 1999/00"_s, u"x 1999/00"_s};
        QTest::newRow("calendar years")
            << dated << QString() << u"01-01"_s
            << QStringList{u"x 2019"_s, u"x 2019"_s, u"x 1999"_s, u"x 2000"_s};
        QTest::newRow("a start on August 15")
            << QByteArray("Date,HomeTeam,AwayTeam,FTHG,FTAG\n"
                          "14/08/2019,A,B,1,0\n15/08/2019,A,B,1,0\n")
            << QString() << u"08-15"_s << QStringList{u"x 2018/19"_s, u"x 2019/20"_s};
        QTest::newRow("the Season column as written; its empty cell leaves it to the date")
            << QByteArray("Date,Season,HomeTeam,AwayTeam,FTHG,FTAG\n"
                          "1964-05-01,1963-64,A,B,1,0\n1964-05-02,,A,B,1,0\n")
            << QString() << u"01-01"_s << QStringList{u"x 1963-64"_s, u"x 1964"_s};
        const QByteArray divisions = "Div,Date,HomeTeam,AwayTeam,FTHG,FTAG\n"
                                     "E0,01/08/2019,A,B,1,0\n,02/08/2019,A,B,1,0\n"
                                     "{season},03/08/2019,A,B,1,0\n";
        QTest::newRow("the division column, else the file name; taken as written")
            << divisions << QString() << QString()
            << QStringList{u"E0 2019/20"_s, u"x 2019/20"_s, u"{season} 2019/20"_s};
        QTest::newRow("{season} and {division} in a name of one's own")
            << divisions << u"Лига {season} ({division}) {season}"_s << u"01-01"_s
            << QStringList{u"Лига 2019 (E0) 2019"_s, u"Лига 2019 (x) 2019"_s,
                           u"Лига 2019 ({season}) 2019"_s};
        QTest::newRow("a name without braces names every line")
            << divisions << u"Кубок {сезон}"_s << QString()
            << QStringList{u"Кубок {сезон}"_s, u"Кубок {сезон}"_s, u"Кубок {сезон}"_s};
    }

    void seasons()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, pattern);
        QFETCH(QString, start);
        MatchStore store;
        CsvImportOptions options;
        options.tournament = pattern;
        if (!start.isEmpty())
            options.seasonStart = parseSeasonStart(start).value();
        importInto(store, csv, options);
        QTEST(fieldOfAll(store, &MatchData::tournament), "tournaments");
    }

    // Two groups of a real tournament in two layouts and encodings: every line a match, and the
    // final tables as published.
    void realSeason_data()
    {
        QTest::addColumn<QString>("tournament");
        QTest::addColumn<QStringList>("table");
        QTest::newRow("group A") << u"WC2018 A 2017/18"_s
                                 << QStringList{u"1|Uruguay|3|3|0|0|5|0|+5|9"_s,
                                                u"2|Russia|3|2|0|1|8|4|+4|6"_s,
                                                u"3|Saudi Arabia|3|1|0|2|2|7|-5|3"_s,
                                                u"4|Egypt|3|0|0|3|2|6|-4|0"_s};
        QTest::newRow("group B, level on points and goal difference")
            << u"WC2018 B 2017/18"_s
            << QStringList{u"1|Spain|3|1|2|0|6|5|+1|5"_s, u"2|Portugal|3|1|2|0|5|4|+1|5"_s,
                           u"3|Iran|3|1|1|1|2|2|0|4"_s, u"4|Morocco|3|0|1|2|2|4|-2|1"_s};
        QTest::newRow("group C, windows-1251")
            << u"ЧМ-2018 C"_s
            << QStringList{u"1|Франция|3|2|1|0|3|1|+2|7"_s, u"2|Дания|3|1|2|0|2|1|+1|5"_s,
                           u"3|Перу|3|1|0|2|2|2|0|3"_s, u"4|Австралия|3|0|1|2|2|5|-3|1"_s};
        QTest::newRow("group D") << u"ЧМ-2018 D"_s
                                 << QStringList{u"1|Хорватия|3|3|0|0|7|1|+6|9"_s,
                                                u"2|Аргентина|3|1|1|1|3|5|-2|4"_s,
                                                u"3|Нигерия|3|1|0|2|3|4|-1|3"_s,
                                                u"4|Исландия|3|0|1|2|2|5|-3|1"_s};
    }

    void realSeason()
    {
        QFETCH(QString, tournament);
        MatchStore store;
        ImportBatch batch(store);
        // The second file keeps its division names as they are.
        for (const auto &[name, pattern] : {std::pair{"wc2018-groups-ab.csv", u""_s},
                                            std::pair{"wc2018-groups-cd.csv", u"{division}"_s}}) {
            CsvImportOptions options;
            options.tournament = pattern;
            const CsvImportResult result = importCsvFile(
                QStringLiteral(TESTDATA_DIR "/csv/") + QLatin1StringView(name), batch, options);
            QVERIFY(result.ok() && result.refused.isEmpty() && result.lines == 12);
        }
        QCOMPARE(store.count(), 24);
        MatchFilter filter = everything();
        filter.tournament = tournament;
        QTEST(trimmedLines(runBuilder(store, calculateTable, QString(), false, filter), 10),
              "table");
    }
};

QTEST_GUILESS_MAIN(TestCsvImport)
#include "tst_csvimport.moc"
