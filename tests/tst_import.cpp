// The imports: CSV results (dates, header names, layouts, encodings, seasons) and XML reports
// (reading, the duplicate and naming rules, the walk, the export and its round trip).
#include "formats/csvimport.h"
#include "formats/xmlexport.h"
#include "formats/xmlimport.h"
#include "generator/generator.h"
#include "model/importbatch.h"
#include "pages/builders.h"
#include "strings/texts.h"
#include "testsupport.h"

#include <QDirIterator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The date, then every other field that is not null as "name=value" (an empty one as "name="),
// joined by '|'; line-up entries as "p1=id:name", events as "ev=" and their eight fields, null '~'.
// With nullIsEmpty, a null text reads as an empty one, as XML cannot tell them apart.
QString summary(const MatchData &m, bool nullIsEmpty = false)
{
    const auto orNull = [&](const QString &text) {
        return text.isNull() && !nullIsEmpty ? u"~"_s : text;
    };
    QStringList parts;
    if (m.date.isValid())
        parts.append(u"date="_s + m.date.toString(Qt::ISODate));
    for (const auto &[name, field] : textFields) {
        if (!(m.*field).isNull() && !(nullIsEmpty && (m.*field).isEmpty()))
            parts.append(QLatin1StringView(name) + u'=' + m.*field);
    }
    for (const auto &[tag, players] : {std::pair{u"p1="_s, &m.players1}, {u"p2="_s, &m.players2}})
        for (const PlayerEntry &p : *players)
            parts.append(tag + orNull(p.id) + u':' + orNull(p.name));
    for (const MatchEvent &e : m.events)
        parts.append(u"ev="_s + QStringList{orNull(e.type), orNull(e.time), orNull(e.team),
                                            orNull(e.player), orNull(e.playerid), orNull(e.player2),
                                            orNull(e.playerid2), orNull(e.comment)}
                                    .join(u','));
    return parts.join(u'|');
}

// The summaries of matches, null texts read as empty ones.
QStringList summaries(const QList<Match> &matches)
{
    QStringList lines;
    for (const Match &match : matches)
        lines.append(summary(*match, true));
    return lines;
}

// The process's peak resident memory in kB, and the same after setting the peak back to what is
// resident now.
qint64 peakKb()
{
    return processStatusKb("VmHWM");
}
qint64 resetPeakKb()
{
    QFile refs(u"/proc/self/clear_refs"_s);
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
    return peakKb();
}

// Every file under directory, relative to it, sorted.
QStringList filesUnder(const QString &directory)
{
    QStringList files;
    QDirIterator it(directory, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(directory).relativeFilePath(it.next()));
    files.sort();
    return files;
}

// A match whose every text is one of the hostile texts in turn, with every kind of event.
Match hostileMatch(const QString &fileName, int shift)
{
    static const QStringList hostile = {u"<a href=\"x\">&amp;</a> ]]>"_s,
                                        u"'single' \"double\" «ёлочки»"_s,
                                        u"  leading and trailing  "_s,
                                        u"tab\tnew\nline\r\nreturn\r"_s,
                                        u"😀 𝄞 outside the BMP"_s,
                                        u"   "_s,
                                        u"Ракета"_s,
                                        u"&#1056; &lt; <!-- -->"_s};
    const auto text = [&](int i) { return hostile.at((i + shift) % hostile.size()); };
    Match match;
    MatchData &m = match.edit();
    m.fileName = fileName;
    int i = 0;
    for (const auto &[name, field] : textFields)
        m.*field = text(i++);
    m.date = QDate(2024, 2, 29);
    m.players1 = {{text(1), text(2)}, {QString(), text(3)}, {text(4), QString()}};
    m.players2 = {{text(5), text(6)}};
    for (int kind = 0; kind <= int(EventKind::Unknown); ++kind) {
        const QString type =
            kind == int(EventKind::Unknown) ? text(kind) : eventKindText(EventKind(kind));
        m.events.append({text(kind), type, text(kind + 1), text(kind + 2), text(kind + 3),
                         text(kind + 4), text(kind + 5), text(kind + 6)});
    }
    m.events.append(MatchEvent{});
    return match;
}

// A report of "m.xml" whose every field holds a value of its own (the referee's city none).
Match fullReport()
{
    Match match = makeMatch(u"m.xml"_s, u"2020-05-17"_s, QString(), QString());
    MatchData &m = match.edit();
    for (const auto &[name, field] : textFields)
        m.*field = QLatin1StringView(name) + u'!';
    m.refereeCity = QString();
    m.players1 = lineup({u"A#1"_s, u"B#2"_s});
    m.players2 = lineup({u"C#3"_s});
    m.events = makeEvents({u"G|A|T1|1|B|10|2"_s, u"S|C|T2|3|D|60|4"_s});
    for (MatchEvent &event : m.events)
        event.comment = event.time + u'c';
    return match;
}

// "fileName|date|team1|team2|goals1|goals2|tournament|referee|attendance|stadium|round|time",
// empty fields at the end left off.
QString csvSummary(const MatchData &m)
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

class TestImport : public QObject
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
        QTEST(csvSummary(*store.matches().at(0)), "match");
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
            matches.append(csvSummary(*match));
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
        QTest::newRow("no separator") << u"0701"_s << 0 << 0;
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
    void workedExample()
    {
        QFile file(QStringLiteral(TESTDATA_DIR "/xml/season/1045.xml"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        bool error = true;
        const Match match = readMatchXml(file, &error);
        QVERIFY(!error);
        QCOMPARE(match->fileName, u"1045.xml"_s);
        QCOMPARE(
            summary(*match),
            u"date=2009-03-14|id=1045|round=12|tournament=Первая лига|team1=Ракета|team1Id=31|"
            "team2=Звезда|team2Id=7|time=19:00|coach1=Смирнов|coach1Id=210|coach2=Кузнецов|"
            "coach2Id=211|stadium=Центральный|stadiumId=5|city=Лесногорск|attendance=12000|"
            "referee=Попов|refereeId=77|refereeCity=Заречный|goals1=2|goals2=1|"
            "p1=1001:Иванов|p1=1002:Орлов|p1=1003:Соколов|p1=1004:Лебедев|p1=1005:Козлов|"
            "p1=1006:Новиков|p1=1007:Морозов|p1=1008:Волков|p1=1009:Алексеев|p1=1010:Егоров|"
            "p1=1011:Павлов|p2=2001:Петров|p2=2002:Зайцев|p2=2003:Семёнов|p2=2004:Голубев|"
            "p2=2005:Виноградов|p2=2006:Богданов|p2=2007:Воробьёв|p2=2008:Фёдоров|"
            "p2=2009:Михайлов|p2=2010:Беляев|p2=2011:Тарасов|"
            "ev=Гол,23,Ракета,Иванов,1001,~,~,~|ev=Замена,60,Звезда,Петров,2001,Сидоров,2012,~"_s);
    }

    // A report is a duplicate only when every field but the file name, null and empty told
    // apart, and every line-up entry and event equal those of a match already there or imported
    // just before.
    void duplicateRule_data()
    {
        QTest::addColumn<Match>("report");
        QTest::addColumn<bool>("duplicate");
        const Match full = fullReport();
        Match other = full;
        other.edit().fileName = u"other.xml"_s;
        QTest::newRow("another file name") << other << true;
        QTest::newRow("the same file") << full << true;
        for (const auto &[name, field] : textFields) {
            Match changed = full;
            changed.edit().*field += u'?';
            QTest::newRow(name) << changed << false;
        }
        const auto row = [&full](const char *name, const std::function<void(MatchData &)> &edit) {
            Match changed = full;
            edit(changed.edit());
            QTest::newRow(name) << changed << false;
        };
        row("empty referee's city, not none", [](MatchData &m) { m.refereeCity = u""_s; });
        row("empty attendance, not none", [](MatchData &m) { m.attendance = QString(); });
        row("a day later", [](MatchData &m) { m.date = m.date.addDays(1); });
        row("undated", [](MatchData &m) { m.date = QDate(); });
        row("home player's ID", [](MatchData &m) { m.players1[1].id = u"9"_s; });
        row("home player's name", [](MatchData &m) { m.players1[1].name = u"Z"_s; });
        row("home player's empty ID", [](MatchData &m) { m.players1[0].id = u""_s; });
        row("away player's ID", [](MatchData &m) { m.players2[0].id = u"9"_s; });
        row("away player's name", [](MatchData &m) { m.players2[0].name = u"Z"_s; });
        row("home players in another order",
            [](MatchData &m) { std::swap(m.players1[0], m.players1[1]); });
        row("a home player more", [](MatchData &m) { m.players1.append(m.players2.at(0)); });
        row("line-ups swapped", [](MatchData &m) { std::swap(m.players1, m.players2); });
        row("an event fewer", [](MatchData &m) { m.events.removeLast(); });
        row("events in another order", [](MatchData &m) { std::swap(m.events[0], m.events[1]); });
        QString MatchEvent::*const eventFields[] = {&MatchEvent::time,      &MatchEvent::type,
                                                    &MatchEvent::comment,   &MatchEvent::team,
                                                    &MatchEvent::playerid,  &MatchEvent::player,
                                                    &MatchEvent::playerid2, &MatchEvent::player2};
        for (int i = 0; i < 8; ++i) {
            Match changed = full;
            changed.edit().events[1].*eventFields[i] += u'?';
            QTest::addRow("event field %d", i) << changed << false;
        }
    }

    void duplicateRule()
    {
        QFETCH(Match, report);
        QFETCH(bool, duplicate);
        // Against a match the store held before the import, and one imported just before.
        MatchStore held = makeStore({fullReport()});
        MatchStore fresh;
        for (MatchStore *store : {&held, &fresh}) {
            ImportBatch batch(*store);
            if (store == &fresh)
                QVERIFY(batch.add(fullReport()));
            QCOMPARE(batch.add(report), !duplicate);
            QCOMPARE(batch.duplicates(), qsizetype(duplicate));
            QCOMPARE(store->count(), duplicate ? 1 : 2);
            if (!duplicate) {
                QVERIFY(store->matches().constLast().sameContent(report));
                QCOMPARE(store->matches().constLast()->fileName, u"m-2.xml"_s);
            }
        }
    }

    // A report whose file name is taken gets its path under the import folder, else that path
    // (or, without one, its name) numbered past every name taken; names taken earlier in the
    // same import count too ('+').
    void namingRule_data()
    {
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        const QString one = u"1.xml"_s, path = u"s2020/1.xml"_s;
        QTest::newRow("free") << QStringList{path} << one << path << one;
        QTest::newRow("taken: its path") << QStringList{one} << one << path << path;
        QTest::newRow("taken in the import: its path")
            << QStringList{u"+1.xml"_s} << one << path << path;
        QTest::newRow("path taken too: the path numbered")
            << QStringList{one, path} << one << path << u"s2020/1-2.xml"_s;
        QTest::newRow("numbered path taken")
            << QStringList{one, u"+s2020/1.xml"_s, u"s2020/1-2.xml"_s, u"1-3.xml"_s} << one << path
            << u"s2020/1-3.xml"_s;
        QTest::newRow("no path: the name numbered")
            << QStringList{one, u"+1-2.xml"_s} << one << QString() << u"1-3.xml"_s;
        QTest::newRow("other extension case, none")
            << QStringList{u"R.XML"_s, u"csv-2"_s} << u"R.XML"_s << QString() << u"R-2.XML"_s;
        QTest::newRow("no extension")
            << QStringList{u"csv-2"_s} << u"csv-2"_s << QString() << u"csv-2-2"_s;
    }

    void namingRule()
    {
        QFETCH(QStringList, taken);
        QFETCH(QString, name);
        QFETCH(QString, path);
        MatchStore store;
        for (const QString &held : taken)
            if (!held.startsWith(u'+'))
                store.add(makeMatch(held, QString(), held, QString()));
        ImportBatch batch(store);
        for (const QString &added : taken)
            if (added.startsWith(u'+'))
                QVERIFY(batch.add(makeMatch(added.mid(1), QString(), added, QString()), path));
        QVERIFY(batch.add(makeMatch(name, QString(), u"new"_s, QString()), path));
        QTEST(store.matches().constLast()->fileName, "expected");
        // What was there keeps its name.
        QStringList names = fieldOfAll(store, &MatchData::fileName);
        names.removeLast();
        names.sort();
        taken.replaceInStrings(u"+"_s, QString()).sort();
        QCOMPARE(names, taken);
    }

    void readReport_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("error");
        QTest::newRow("single values overwritten, lists appended")
            << QByteArray("<all><match id='1' round='3' tournament='T'><team1 id='9'>A</team1>"
                          "<player1 id='1'>P</player1><event type='Гол' time='5'/></match>"
                          "<match id='2' tournament='U'><team1>C</team1><score extra1='0' "
                          "penalties2=''/><player1 id='2'>Q</player1><event type='Замена'/></match>"
                          "</all>")
            << u"id=2|tournament=U|team1=C|extra1=0|penalties2=|p1=1:P|p1=2:Q|"
               "ev=Гол,5,~,~,~,~,~,~|ev=Замена,~,~,~,~,~,~,~"_s
            << false;
        QTest::newRow("player without text adds nothing; the next has no id")
            << QByteArray("<m><player1 id='1'/><player1 id='2'></player1><player1>B</player1>"
                          "<player2 id='7'>C</player2></m>")
            << u"p1=~:B|p2=7:C"_s << false;
        QTest::newRow("empty attribute is empty, absent null; no text keeps the text")
            << QByteArray("<m><stadium id='5' city='X'>S</stadium><stadium attendance=''/>"
                          "<team1 id=''>A</team1></m>")
            << u"team1=A|team1Id=|stadium=S|attendance="_s << false;
        QTest::newRow("text up to a comment or child; names case-sensitive, found when nested")
            << QByteArray("<m><Team1>X</Team1><w><team1>Ab<!--x-->cd</team1></w><MATCH id='3'/>"
                          "<stadium>S<b>x</b>t</stadium></m>")
            << u"team1=Ab|stadium=S"_s << false;
        QTest::newRow("declared entities, character references and CDATA joined")
            << QByteArray("<!DOCTYPE m [<!ENTITY c \"Ракета\">]><m><team1>&c; &amp;&#1056;"
                          "<![CDATA[<c>]]>d</team1></m>")
            << u"team1=Ракета &Р<c>d"_s << false;
        QTest::newRow("namespace prefixes, declared or not; declarations are no values")
            << QByteArray("<r:match xmlns:r='urn:r' r:id='4'><x:team2 x:id='8'>B</x:team2>"
                          "<team1 xmlns:id='urn:id'>A</team1></r:match>")
            << u"id=4|team1=A|team2=B|team2Id=8"_s << false;
        QTest::newRow("event attributes")
            << QByteArray("<m><event type='Пас' time='45+1' team='T' player='A' playerid='1' "
                          "player2='B' playerid2='2' comment='c'/></m>")
            << u"ev=Пас,45+1,T,A,1,B,2,c"_s << false;
        QTest::newRow("a later date that is no day clears the date")
            << QByteArray("<m><date>20090314</date><date>20090230</date></m>") << QString()
            << false;
        QTest::newRow("a date of nine digits is no date")
            << QByteArray("<m><date>200903141</date></m>") << QString() << false;
        QTest::newRow("date of other digits")
            << QByteArray("<m><date>２００９0314</date></m>") << QString() << false;
        // Errors: what was read so far, and one line of debug output.
        QTest::newRow("empty file") << QByteArray() << QString() << true;
        QTest::newRow("premature end")
            << QByteArray("<match id='1'><team1>A</team1><team2>B") << u"id=1|team1=A"_s << true;
        QTest::newRow("an entity expanding to more than 256 characters")
            << "<!DOCTYPE m [<!ENTITY b \"" + QByteArray(200, 'x') +
                   "\"><!ENTITY a \"&b;&b;\">]><m><team1>A</team1><team2>&a;</team2></m>"
            << u"team1=A"_s << true;
        QTest::newRow("invalid UTF-8")
            << QByteArray("<m><team1>A</team1><team2>\xff\xfe</team2></m>") << QString() << true;
        // Cyrillic in an element and an attribute.
        const QString cyrillic = u"tournament=Кубок Ёлки|team1=Ракета"_s;
        QTest::newRow("UTF-8 by default")
            << QByteArray("<match tournament=\"Кубок Ёлки\"><team1>Ракета</team1></match>")
            << cyrillic << false;
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QTest::newRow("UTF-16 with BOM")
            << QByteArray(utf16(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><match tournament="
                                "\"Кубок Ёлки\"><team1>Ракета</team1></match>"_s))
            << cyrillic << false;
        QTest::newRow("windows-1251")
            << QByteArray("<?xml version=\"1.0\" encoding=\"windows-1251\"?>"
                          "<match tournament=\"\xca\xf3\xe1\xee\xea \xa8\xeb\xea\xe8\">"
                          "<team1>\xd0\xe0\xea\xe5\xf2\xe0</team1></match>")
            << cyrillic << false;
        QTest::newRow("KOI8-R")
            << QByteArray("<?xml version=\"1.0\" encoding=\"KOI8-R\"?>"
                          "<match tournament=\"\xeb\xd5\xc2\xcf\xcb \xb3\xcc\xcb\xc9\">"
                          "<team1>\xf2\xc1\xcb\xc5\xd4\xc1</team1></match>")
            << cyrillic << false;

        // Past the bounds of a report: kept as far as the bound, in bounded time and memory.
        QByteArray attributes = "<match><team1>T</team1><event";
        for (int i = 0; i < 100000; ++i)
            attributes += " a" + QByteArray::number(i) + "=''";
        QTest::newRow("100,000 attributes") << attributes + "/></match>" << u"team1=T"_s << true;
        // In UTF-16 the bytes of '<' and '=' stand inside other characters: they are no markup.
        QString sixtyFour = u"\xfeff<match><team1>T</team1><event"_s;
        for (int i = 0; i < maxReportAttributes; ++i)
            sixtyFour += u" a%1='\u3c3d\u3e22'"_s.arg(i);
        QTest::newRow("64 attributes, in UTF-16")
            << QByteArray(
                   QStringEncoder(QStringConverter::Utf16LE).encode(sixtyFour + u"/></match>"_s))
            << u"team1=T|ev=~,~,~,~,~,~,~,~"_s << false;
        QTest::newRow("attribute-list declaration")
            << "<!DOCTYPE match [<!ATTLIST event" + QByteArray(" a CDATA 'x'").repeated(5000) +
                   ">]><match>" + QByteArray("<event/>").repeated(200000) + "</match>"
            << QString() << true;
        QTest::newRow("8 MB of nesting")
            << "<match><team1>Deep</team1>" + QByteArray("<a>").repeated(2800000) << u"team1=Deep"_s
            << true;
        QStringList events(maxReportEvents, u"ev=~,~,~,~,~,~,~,~"_s);
        QTest::newRow("8 MB of events")
            << "<match><team1>T</team1>" + QByteArray("<event/>").repeated(1000000) + "</match>"
            << u"team1=T|"_s + events.join(u'|') << true;
        // The quick reader's edges: what it reads, and what it hands to the general reader.
        QTest::newRow("declaration variants, BOM, spaces inside tags")
            << QByteArray("\xEF\xBB\xBF<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n"
                          "<match id = \"1\" ><team1 id=\"7\"\t>A</team1 ><team2/></match >\n")
            << u"id=1|team1=A|team1Id=7"_s << false;
        QTest::newRow("line breaks normalised in text and attribute values")
            << QByteArray("<match\r\n round='a\r\nb\tc'>\r\n<team1>A\r\nB\rC</team1></match>")
            << u"round=a b c|team1=A\nB\nC"_s << false;
        QTest::newRow("references: predefined, decimal, hexadecimal, past the BMP")
            << QByteArray("<m><team1 id='&lt;&#38;&gt;'>&quot;&apos;&#x41;&#1056;&#x1F600;</team1>"
                          "</m>")
            << u"team1=\"'AР\U0001F600|team1Id=<&>"_s << false;
        QTest::newRow("undeclared entity")
            << QByteArray("<m><team1>&nbsp;</team1></m>") << QString() << true;
        QTest::newRow("reference to no character")
            << QByteArray("<m><team1>A</team1><team2>&#1;</team2></m>") << u"team1=A"_s << true;
        QTest::newRow("control character in text")
            << QByteArray("<m><team1>A</team1><team2>B\x01</team2></m>") << u"team1=A|team2=B"_s
            << true;
        QTest::newRow("end tag of another element")
            << QByteArray("<m><team1>A</team2></m>") << u"team1=A"_s << true;
        QTest::newRow("attribute twice")
            << QByteArray("<m><team1 id='1' id='2'>A</team1></m>") << QString() << true;
        QTest::newRow("text after the root")
            << QByteArray("<m><team1>A</team1></m>x") << u"team1=A"_s << true;
        QTest::newRow("a second root")
            << QByteArray("<m><team1>A</team1></m><m/>") << u"team1=A"_s << true;
        QTest::newRow("]]> in text")
            << QByteArray("<m><team1>A]]>B</team1></m>") << QString() << true;
        QTest::newRow("windows-1251 byte it does not define")
            << QByteArray("<?xml version=\"1.0\" encoding=\"windows-1251\"?>"
                          "<m><team1>\xd0\x98</team1></m>")
            << u"team1=Р\u0098"_s << false;
        QStringList players(maxLineupPlayers, u"p2=~:P"_s);
        QTest::newRow("a line-up past the bound")
            << "<match>" + QByteArray("<player2>P</player2>").repeated(maxLineupPlayers + 1) +
                   "<team1>T</team1></match>"
            << players.join(u'|') << true;
    }

    void readReport()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, error);
        QTemporaryDir dir;
        QFile file(dir.filePath(u"r.xml"_s));
        QVERIFY(writeFile(file.fileName(), xml) && file.open(QIODevice::ReadOnly));
        if (error)
            QTest::ignoreMessage(
                QtDebugMsg, (u'"' + file.fileName() + u"\" file has error"_s).toUtf8().constData());
        bool failed = !error;
        [[maybe_unused]] const qint64 before = resetPeakKb();
        const Match match = readMatchXml(file, &failed);
#ifndef __SANITIZE_ADDRESS__
        // One report never takes more than 64 MB, whatever it holds.
        QVERIFY2(peakKb() - before <= 64 * 1024, qPrintable(QString::number(peakKb() - before)));
#endif
        QCOMPARE(failed, error);
        QTEST(summary(*match), "expected");

        // The quick reader and the general one read every document alike.
        if (error)
            QTest::ignoreMessage(QtDebugMsg, "\"r.xml\" file has error");
        bool generalFailed = !error;
        const Match general =
            readMatchXmlBytes(xml, u"r.xml"_s, u"r.xml"_s, &generalFailed, XmlReading::General);
        QCOMPARE(generalFailed, failed);
        QVERIFY(general.sameContent(match));
    }

    // Hidden entries, links to directories, other names and other kinds of file are left out;
    // hostile files are read in part or not at all, in bounded memory, and the walk goes on.
    void walk()
    {
        QTemporaryDir dir;
        QTemporaryDir outside;
        const QString root = dir.path();
        QVERIFY(QDir(root).mkpath(u"sub/deep"_s) && QDir(root).mkpath(u".hiddendir"_s) &&
                QDir(root).mkpath(u"s2019"_s) && QDir(root).mkpath(u"s2020/copy"_s));
        const QByteArray elsewhere = "<match tournament='X'><date>19000101</date></match>";
        QByteArray laughs = "<!DOCTYPE m [<!ENTITY l0 \"lol\">";
        for (int i = 1; i <= 9; ++i)
            laughs += "<!ENTITY l" + QByteArray::number(i) + " \"" +
                      ("&l" + QByteArray::number(i - 1) + ';').repeated(10) + "\">";
        const QList<std::pair<QString, QByteArray>> files{
            {u"a.xml"_s, "<match tournament='Лига'><date>20090314</date></match>"},
            {u"sub/b.xml"_s, "<match><team1>B</team1></match>"},
            {u"sub/deep/c.xml"_s, "<match tournament='Кубок'><date>20010505</date></match>"},
            {u"sub/deep/broken.xml"_s, "<match tournament='Z'><team1>"},
            {u"sub/junk.xml"_s, QByteArray(4096, '\xff')},
            {u"sub/laughs.xml"_s, laughs + "]><match><team2>&l9;</team2></match>"},
            {u"sub/blowup.xml"_s, "<!DOCTYPE m [<!ENTITY a \"" + QByteArray(250, 'x') +
                                      "\">]><match><team2>" + QByteArray("&a;").repeated(100000) +
                                      "</team2></match>"},
            {u"sub/deep.xml"_s, "<match><team1>Deep</team1>" + QByteArray("<a>").repeated(100000) +
                                    QByteArray("</a>").repeated(100000) + "</match>"},
            {u"s2019/1.xml"_s, "<match><team1>A</team1><team2>B</team2></match>"},
            {u"s2020/1.xml"_s, "<match><team1>C</team1><team2>D</team2></match>"},
            {u"s2020/copy/1.xml"_s, "<match><team1>A</team1><team2>B</team2></match>"},
            {u"sub/UPPER.XML"_s, elsewhere},
            {u"Mixed.Xml"_s, elsewhere},
            {u"notes.txt"_s, elsewhere},
            {u".hidden.xml"_s, elsewhere},
            {u".hiddendir/h.xml"_s, elsewhere}};
        for (const auto &[name, bytes] : files)
            QVERIFY(writeFile(root + u'/' + name, bytes));
        QFile big(root + u"/big.xml"_s);
        QVERIFY(big.open(QIODevice::WriteOnly) && big.write("<match><team1>A</team1>") > 0);
        const QByteArray entries = QByteArray("<player1 id='1'>Name</player1>").repeated(10000);
        while (big.size() < 50 * 1024 * 1024)
            QVERIFY(big.write(entries) == entries.size());
        QVERIFY(big.write("<team2>B</team2></match>") > 0);
        big.close();
        QVERIFY(writeFile(outside.filePath(u"x.xml"_s), elsewhere));
        QVERIFY(QFile::link(outside.path(), root + u"/linkdir"_s));
        // A named pipe would block a reader for ever: it is no regular file.
        QCOMPARE(::mkfifo(QFile::encodeName(root + u"/pipe.xml"_s).constData(), 0644), 0);
        QVERIFY(QFile::link(root + u"/pipe.xml"_s, root + u"/sub/pipelink.xml"_s));
        // Names in Latin-1, windows-1251 and UTF-8: each is opened by its bytes and shown readable.
        const QByteArray rawNames[] = {"caf\xe9.xml", "\xcc\xe0\xf2\xf7-1.xml",
                                       "\xd0\x9c\xd0\xb0\xd1\x82\xd1\x87-2.xml"};
        for (const QByteArray &name : rawNames) {
            QFile file;
            const int fd = ::open(QFile::encodeName(root + u'/').append(name).constData(),
                                  O_WRONLY | O_CREAT, 0644);
            QVERIFY(fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFile::AutoCloseHandle));
            QVERIFY(file.write("<match><team1>" + name.toHex() + "</team1></match>") > 0);
        }

        MatchStore store;
        Match held;
        held.edit().team1 = u"held"_s;
        store.add(held);
        for (const char *name : {"deep/broken", "junk", "laughs", "blowup", "big", "sub/deep"})
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QLatin1StringView(name) +
                                                                u".xml\" file has error$"_s));
        const ImportResult result = importDirectory(root, store);
        // Counted: the pipe, its link, notes and the upper-case names too; read: the fifteen
        // reports, of which junk, laughs and blowup hold the same nothing (one added, two
        // duplicates), and so do the two A-B reports; named: the pipe and its link.
        QCOMPARE(QList<qsizetype>({result.files, result.matches, result.errors, result.duplicates}),
                 QList<qsizetype>({20, 12, 4, 3}));
        QCOMPARE(result.unreadable,
                 (QList<std::pair<QString, int>>{{u"pipe.xml"_s, 0}, {u"sub/pipelink.xml"_s, 0}}));
        // Reports of the same file name keep pages of their own: the later one is named by its
        // path.
        QCOMPARE(fieldOfAll(store, &MatchData::fileName).filter(QRegularExpression(u"1\\.xml$"_s)),
                 (QStringList{u"1.xml"_s, u"s2020/1.xml"_s, u"Матч-1.xml"_s}));
        QVERIFY(store.find(u"café.xml"_s) && store.find(u"Матч-2.xml"_s));
        QCOMPARE(store.tournamentNames(), QStringList({QString(), u"Z"_s, u"Кубок"_s, u"Лига"_s}));
        QVERIFY(result.dates.from == QDate(2001, 5, 5) && result.dates.till == QDate(2009, 3, 14));
        const std::optional<Match> cut = store.find(u"big.xml"_s);
        QVERIFY(cut && (*cut)->team1 == u"A"_s && (*cut)->team2.isNull());
        QCOMPARE((*cut)->players1.size(), maxLineupPlayers);
        QCOMPARE((*store.find(u"deep.xml"_s))->team1, u"Deep"_s);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
#ifdef __SANITIZE_ADDRESS__
        const long limitKb = 1200 * 1024; // the sanitizer's shadow memory and quarantine
#else
        const long limitKb = 300 * 1024;
#endif
        QVERIFY(usage.ru_maxrss < limitKb);

        const ImportResult missing = importDirectory(root + u"/none"_s, store);
        QVERIFY(!missing.directory && missing.files == 0 && store.count() == 13);
    }

    // Reports go out named by their file names, never outside the folder, never over each
    // other, never through a link; a file already there is replaced, others are left alone.
    void exportNames_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("plain, with folders")
            << QStringList{u"1.xml"_s, u"2020/1.xml"_s, u"new-1"_s}
            << QStringList{u"1.xml"_s, u"2020/1.xml"_s, u"new-1.xml"_s};
        QTest::newRow("climbing out and absolute")
            << QStringList{u"../x"_s, u"../../y.xml"_s, u"/etc/passwd"_s, u"a/../b"_s, u"//c//d"_s}
            << QStringList{u"a/b.xml"_s, u"c/d.xml"_s, u"etc/passwd.xml"_s, u"x.xml"_s, u"y.xml"_s};
        QTest::newRow("empty, dots and hidden: new-N past the names wanted")
            << QStringList{QString(), u".hidden"_s, u"./.."_s, u"new-1.xml"_s}
            << QStringList{u"_hidden.xml"_s, u"new-1.xml"_s, u"new-2.xml"_s, u"new-3.xml"_s};
        QTest::newRow("control characters, NUL and backslash")
            << QStringList{u"a\tb\x01.xml"_s, QString(u"n\0l"_s), u"c\\d"_s, u"e\x7f"_s}
            << QStringList{u"a_b_.xml"_s, u"c_d.xml"_s, u"e_.xml"_s, u"n_l.xml"_s};
        QTest::newRow("same names, a file where a folder is wanted")
            << QStringList{u"a.xml"_s,   u"a.xml"_s, u"a.xml/b.xml"_s,
                           u"f/g.xml"_s, u"f"_s,     u"f.xml"_s}
            << QStringList{u"a-2.xml"_s, u"a-3.xml/b.xml"_s, u"a.xml"_s,
                           u"f-2.xml"_s, u"f.xml"_s,         u"f/g.xml"_s};
        QTest::newRow("entries already there: a file replaced, a folder and a link passed by")
            << QStringList{u"old.xml"_s, u"taken.xml"_s, u"link/x.xml"_s, u"linkfile.xml"_s}
            << QStringList{u"link-2/x.xml"_s, u"linkfile-2.xml"_s, u"old.xml"_s, u"taken-2.xml"_s};
    }

    void exportNames()
    {
        QFETCH(QStringList, names);
        QTemporaryDir dir;
        QTemporaryDir outside;
        const QString out = dir.filePath(u"out/deeper"_s);
        QVERIFY(QDir().mkpath(out + u"/taken.xml"_s));
        QVERIFY(writeFile(out + u"/old.xml"_s, "<match/>") &&
                writeFile(out + u"/keep.txt"_s, "k") &&
                writeFile(out + u"/taken.xml/inner.txt"_s, "i"));
        QVERIFY(QFile::link(outside.path(), out + u"/link"_s));
        QVERIFY(QFile::link(outside.filePath(u"t.xml"_s), out + u"/linkfile.xml"_s));
        QList<Match> matches;
        for (const QString &name : names)
            matches.append(makeMatch(name, QString(), QString::number(matches.size()), name));

        const XmlExportResult result = exportXmlReports(matches, out);
        QVERIFY2(result.ok(), qPrintable(result.failedPath));
        QCOMPARE(result.written, names.size());
        QStringList files = filesUnder(out);
        for (const QString &prefab :
             {u"link"_s, u"linkfile.xml"_s, u"old.xml"_s, u"keep.txt"_s, u"taken.xml/inner.txt"_s})
            files.removeAll(prefab);
        if (readFile(out + u"/old.xml"_s) != "<match/>")
            files.append(u"old.xml"_s);
        files.sort();
        QTEST(files, "files");
        QCOMPARE(readFile(out + u"/keep.txt"_s), QByteArray("k"));
        QCOMPARE(filesUnder(outside.path()), QStringList());
        QCOMPARE(filesUnder(dir.path()).filter(u"out/deeper/"_s).size(),
                 filesUnder(dir.path()).size());
        // Each file holds its own match: team2 carries the name.
        MatchStore back;
        importDirectory(out, back);
        QStringList teams = fieldOfAll(back, &MatchData::team2);
        for (const QString &name : names)
            QVERIFY2(teams.removeOne(name) || name.contains(QChar(0)) || name.contains(u'\x01') ||
                         name.contains(u'\x7f'),
                     qPrintable(name));
    }

    // A report that cannot be written (here: over a file-size limit) is named and the others are
    // written; a name too long for a file system is shortened, two such names kept apart.
    void exportGoesOn()
    {
        QTemporaryDir dir;
        const QString longName = QString(200, u'я') + u".xml"_s;
        QList<Match> matches{makeMatch(u"a.xml"_s, QString(), u"A"_s, u"1"_s),
                             makeMatch(u"big.xml"_s, QString(), u"B"_s, u"2"_s),
                             makeMatch(longName, QString(), u"C"_s, u"3"_s),
                             makeMatch(QString(200, u'я') + u"б.xml"_s, QString(), u"D"_s, u"4"_s)};
        for (int i = 0; i < 200; ++i)
            matches[1].edit().players1.append({QString::number(i), u"Игрок"_s});
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
        const rlimit limited{rlim_t(4000), previous.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const XmlExportResult result = exportXmlReports(matches, dir.path());
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, handler);

        QCOMPARE(result.written, 3);
        QCOMPARE(result.notWritten.size(), 1);
        QCOMPARE(result.notWritten.at(0).fileName, u"big.xml"_s);
        QCOMPARE(result.notWritten.at(0).reason, qt_error_string(EFBIG));
        const QStringList files = filesUnder(dir.path());
        QCOMPARE(files.size(), 3);
        for (const QString &file : files) // room left for a number ("-12") under 255 bytes
            QVERIFY2(file.toUtf8().size() <= 240, qPrintable(file));
        // The two long names differ in their marks: neither needed a number.
        QCOMPARE(files.filter(QRegularExpression(u"-\\d+\\.xml$"_s)), QStringList());
        MatchStore back;
        importDirectory(dir.path(), back);
        QStringList teams = fieldOfAll(back, &MatchData::team1);
        teams.sort();
        QCOMPARE(teams, (QStringList{u"A"_s, u"C"_s, u"D"_s}));
    }

    // Importing an export gives back the same matches, every field, entry and event in order,
    // null and empty texts alike; characters XML cannot hold are left out, and named.
    void roundTrip_data()
    {
        QTest::addColumn<QList<Match>>("matches");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("altered");
        GeneratorOptions options;
        options.seed = 5;
        options.matches = 400;
        const QList<Match> generated = generateMatches(options);
        QTest::newRow("generated seasons") << generated << summaries(generated) << QStringList();
        QList<Match> hostile;
        for (int shift = 0; shift < 8; ++shift)
            hostile.append(hostileMatch(u"h%1.xml"_s.arg(shift), shift));
        QTest::newRow("hostile texts") << hostile << summaries(hostile) << QStringList();
        QTest::newRow("control characters, unpaired surrogates, U+FFFE left out")
            << QList<Match>{withFields(makeMatch(u"c.xml"_s, u"2001-02-03"_s,
                                                 u"A\x01"
                                                 "B\x1f\x0b"_s,
                                                 QString(u"C\0D"_s)),
                                       u"referee=\xd800R\xdc00\xfffe\xffff"_s)}
            << QStringList{u"date=2001-02-03|team1=AB|team2=CD|referee=R"_s}
            << QStringList{u"c.xml"_s};
    }

    void roundTrip()
    {
        QFETCH(QList<Match>, matches);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        const XmlExportResult result = exportXmlReports(matches, dir.path());
        QVERIFY(result.ok() && result.written == matches.size());
        QTEST(result.altered, "altered");
        MatchStore back;
        const ImportResult imported = importDirectory(dir.path(), back);
        QCOMPARE(imported.matches + imported.duplicates, matches.size());
        QStringList found = summaries(back.matches());
        found.sort();
        expected.sort();
        QCOMPARE(found, expected);
    }

    void progressAndOrder()
    {
        // More reports than one batch read on every core: they still arrive in walk order.
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
        for (int i = 0; i < 1150; ++i)
            QVERIFY(writeFile(dir.filePath(u"sub/r%1.xml"_s.arg(i)),
                              "<match><team1>r" + QByteArray::number(i) + "</team1></match>"));
        MatchStore store;
        QList<qsizetype> calls;
        importDirectory(dir.path(), store, [&calls](qsizetype n) { calls.append(n); });
        QList<qsizetype> hundreds;
        for (qsizetype n = 0; n <= 1100; n += 100)
            hundreds.append(n);
        QCOMPARE(calls, hundreds);
        QStringList walked;
        for (QDirIterator it(dir.filePath(u"sub"_s), QDir::Files); it.hasNext();)
            walked.append(QFileInfo(it.next()).completeBaseName());
        walked.sort(); // a folder is walked in the order of its names' bytes
        QCOMPARE(fieldOfAll(store, &MatchData::team1), walked);
    }
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
