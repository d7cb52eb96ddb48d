#include "model/xmlimport.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Debug output captured while a report is read.
QStringList capturedMessages;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    capturedMessages.append(message);
}

QString orNull(const QString &text)
{
    return text.isNull() ? u"~"_s : text;
}

// Every field that is not null as "name=value", joined by '|' (an empty but non-null value shows as
// "name="); line-up entries as "p1=id:name", events as "ev=" and their eight fields, null as '~'.
QString summary(const MatchData &m)
{
    QStringList parts;
    const auto field = [&parts](const char *name, const QString &value) {
        if (!value.isNull())
            parts.append(QLatin1StringView(name) + u'=' + value);
    };
    field("id", m.id);
    field("round", m.round);
    field("tournament", m.tournament);
    field("team1", m.team1);
    field("team1Id", m.team1Id);
    field("team2", m.team2);
    field("team2Id", m.team2Id);
    if (m.date.isValid())
        parts.append(u"date="_s + m.date.toString(Qt::ISODate));
    field("time", m.time);
    field("coach1", m.coach1);
    field("coach1Id", m.coach1Id);
    field("coach2", m.coach2);
    field("coach2Id", m.coach2Id);
    field("stadium", m.stadium);
    field("stadiumId", m.stadiumId);
    field("city", m.city);
    field("attendance", m.attendance);
    field("referee", m.referee);
    field("refereeId", m.refereeId);
    field("refereeCity", m.refereeCity);
    field("goals1", m.goals1);
    field("goals2", m.goals2);
    field("extra1", m.extra1);
    field("extra2", m.extra2);
    field("penalties1", m.penalties1);
    field("penalties2", m.penalties2);
    for (const PlayerEntry &p : m.players1)
        parts.append(u"p1="_s + orNull(p.id) + u':' + orNull(p.name));
    for (const PlayerEntry &p : m.players2)
        parts.append(u"p2="_s + orNull(p.id) + u':' + orNull(p.name));
    for (const MatchEvent &e : m.events) {
        parts.append(u"ev="_s + QStringList{orNull(e.type), orNull(e.time), orNull(e.team),
                                            orNull(e.player), orNull(e.playerid), orNull(e.player2),
                                            orNull(e.playerid2), orNull(e.comment)}
                                    .join(u','));
    }
    return parts.join(u'|');
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The "billion laughs": ten levels of entities, each ten references to the one below.
QByteArray billionLaughs()
{
    QByteArray doc = "<?xml version=\"1.0\"?><!DOCTYPE m [<!ENTITY l0 \"lol\">";
    for (int level = 1; level <= 9; ++level) {
        doc += "<!ENTITY l" + QByteArray::number(level) + " \"";
        for (int i = 0; i < 10; ++i)
            doc += "&l" + QByteArray::number(level - 1) + ';';
        doc += "\">";
    }
    return doc + "]><match><team1>A</team1><team2>&l9;</team2></match>";
}

// One entity of 250 characters referenced many times: each reference is within the expansion
// limit, but together they would expand to gigabytes.
QByteArray quadraticBlowup(int references)
{
    QByteArray doc =
        "<!DOCTYPE m [<!ENTITY a \"" + QByteArray(250, 'x') + "\">]><match><team1>A</team1><team2>";
    doc.reserve(doc.size() + references * 3 + 40);
    for (int i = 0; i < references; ++i)
        doc += "&a;";
    return doc + "</team2></match>";
}

// The largest resident size of this process so far, in megabytes.
long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Hostile documents must not take more than this, whatever they hold.
constexpr long memoryCeilingMegabytes = 300;

} // namespace

class TestXmlImport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // Writes bytes to a file of the given name, reads it back as a report and collects what went
    // to the debug output.
    Match read(const QByteArray &bytes, bool *error = nullptr, QStringList *messages = nullptr,
               const QString &name = u"report.xml"_s)
    {
        const QString path = m_dir.filePath(name);
        if (!writeFile(path, bytes))
            qFatal("cannot write a test file");
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot open a test file");
        capturedMessages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
        const Match match = readMatchXml(file, error);
        qInstallMessageHandler(previous);
        if (!file.isOpen())
            qFatal("the reader closed the file");
        if (messages)
            *messages = capturedMessages;
        return match;
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void workedExample()
    {
        QFile file(QStringLiteral(TESTDATA_DIR "/xml/season/1045.xml"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        bool error = true;
        const Match match = readMatchXml(file, &error);
        QVERIFY(!error);
        const MatchData &m = *match;
        QCOMPARE(m.fileName, u"1045.xml"_s);
        QStringList players1;
        for (const PlayerEntry &p : m.players1)
            players1.append(p.id + u':' + p.name);
        QCOMPARE(players1.size(), 11);
        QCOMPARE(players1.first(), u"1001:Иванов"_s);
        QCOMPARE(players1.last(), u"1011:Павлов"_s);
        QCOMPARE(m.players2.size(), 11);
        QCOMPARE(m.players2.at(1).name, u"Зайцев"_s);
        QCOMPARE(m.players2.at(10).id, u"2011"_s);
        // The rest of the record, line-ups left out.
        MatchData rest = m;
        rest.players1.clear();
        rest.players2.clear();
        QCOMPARE(summary(rest),
                 u"id=1045|round=12|tournament=Первая лига|team1=Ракета|team1Id=31|team2=Звезда|"
                 "team2Id=7|date=2009-03-14|time=19:00|coach1=Смирнов|coach1Id=210|"
                 "coach2=Кузнецов|coach2Id=211|stadium=Центральный|stadiumId=5|city=Лесногорск|"
                 "attendance=12000|referee=Попов|refereeId=77|refereeCity=Заречный|goals1=2|"
                 "goals2=1|ev=Гол,23,Ракета,Иванов,1001,~,~,~|"
                 "ev=Замена,60,Звезда,Петров,2001,Сидоров,2012,~"_s);
    }

    void tokenRules_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("expected");

        QTest::newRow("no root element name is required")
            << QByteArray("<report><team1 id='1'>A</team1><team2>B</team2></report>")
            << u"team1=A|team1Id=1|team2=B"_s;
        QTest::newRow("two match elements: single values overwritten, lists appended")
            << QByteArray("<all><match id='1' round='3' tournament='T'><team1 id='9'>A</team1>"
                          "<player1 id='1'>P</player1><event type='Гол' time='5'/></match>"
                          "<match id='2' tournament='U'><team1>C</team1>"
                          "<player1 id='2'>Q</player1><event type='Замена'/></match></all>")
            << u"id=2|tournament=U|team1=C|p1=1:P|p1=2:Q|ev=Гол,5,~,~,~,~,~,~|"
               "ev=Замена,~,~,~,~,~,~,~"_s;
        QTest::newRow("a repeated element without text keeps the text, resets attributes")
            << QByteArray("<m><stadium id='5' city='X' attendance='9'>S</stadium>"
                          "<stadium attendance='10'/></m>")
            << u"stadium=S|attendance=10"_s;
        QTest::newRow("empty attribute is empty, absent is null")
            << QByteArray("<m><team1 id=''>A</team1><score goals1='' goals2='0'/></m>")
            << u"team1=A|team1Id=|goals1=|goals2=0"_s;
        QTest::newRow("player without text adds nothing; without id an entry with no id")
            << QByteArray("<m><player1 id='1'/><player1 id='2'></player1><player1>B</player1>"
                          "<player2 id='7'>C</player2></m>")
            << u"p1=~:B|p2=7:C"_s;
        QTest::newRow("text up to the first comment")
            << QByteArray("<m><team1>Ab<!--x-->cd</team1><player1 id='1'>P<!--x-->Q</player1></m>")
            << u"team1=Ab|p1=1:P"_s;
        QTest::newRow("text up to the first child element")
            << QByteArray("<m><stadium>Central<b>x</b>tail</stadium><referee>R<?pi x?>S</referee>"
                          "</m>")
            << u"stadium=Central|referee=R"_s;
        QTest::newRow("whitespace between elements is not text")
            << QByteArray("<match>\n  <team1>A</team1>\n  <team2>B</team2>\n</match>")
            << u"team1=A|team2=B"_s;
        QTest::newRow("whitespace-only text is kept as written")
            << QByteArray("<m><team1>  </team1><coach1> Ivanov </coach1></m>")
            << u"team1=  |coach1= Ivanov "_s;
        QTest::newRow("entities and CDATA are part of the text")
            << QByteArray("<m><team1>A&amp;B&#1056;<![CDATA[<c>]]>d</team1></m>")
            << u"team1=A&BР<c>d"_s;
        QTest::newRow("names are case-sensitive; known elements inside unknown ones are read")
            << QByteArray("<m><Team1>X</Team1><wrap><team1>Y</team1></wrap><MATCH id='3'/></m>")
            << u"team1=Y"_s;
        QTest::newRow("text of match, score and event is ignored")
            << QByteArray("<match id='1'>text<score goals1='1'>2</score><event type='E'>e</event>"
                          "</match>")
            << u"id=1|goals1=1|ev=E,~,~,~,~,~,~,~"_s;
        QTest::newRow("declared namespace prefixes")
            << QByteArray("<r:match xmlns:r='urn:r' r:id='4'><r:team1 id='1'>A</r:team1>"
                          "</r:match>")
            << u"id=4|team1=A|team1Id=1"_s;
        QTest::newRow("undeclared prefixes and a default namespace")
            << QByteArray("<match xmlns='urn:m'><x:team2 x:id='8'>B</x:team2></match>")
            << u"team2=B|team2Id=8"_s;
        QTest::newRow("a namespace declaration is no attribute value")
            << QByteArray("<m><team1 xmlns:id='urn:id'>A</team1></m>") << u"team1=A"_s;
        QTest::newRow("event attributes; unknown kind kept")
            << QByteArray("<m><event type='Пас' time='45+1' team='T' player='A' playerid='1' "
                          "player2='B' playerid2='2' comment='c'/></m>")
            << u"ev=Пас,45+1,T,A,1,B,2,c"_s;
        QTest::newRow("pending player id is set again at every player element")
            << QByteArray("<m><player1 id='5'/><player2>B</player2></m>") << u"p2=~:B"_s;
        QTest::newRow("date and kick-off time")
            << QByteArray("<m><date time='19:00'>20090314</date></m>")
            << u"date=2009-03-14|time=19:00"_s;
        QTest::newRow("date with separators is no date")
            << QByteArray("<m><date>2009-03-14</date></m>") << QString();
        QTest::newRow("date that is no day is no date")
            << QByteArray("<m><date>20090230</date></m>") << QString();
        QTest::newRow("date of other digits is no date")
            << QByteArray("<m><date>２００９0314</date></m>") << QString();
        QTest::newRow("a later date with bad text clears the date")
            << QByteArray("<m><date>20090314</date><date>soon</date></m>") << QString();
        QTest::newRow("no report at all")
            << QByteArray("<html><body>hi</body></html>") << QString();
    }

    void tokenRules()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, expected);
        bool error = true;
        QStringList messages;
        const Match match = read(xml, &error, &messages, u"r.xml"_s);
        QCOMPARE(summary(*match), expected);
        QCOMPARE(match->fileName, u"r.xml"_s);
        QVERIFY(!error);
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(u'\n')));
    }

    void errors_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty file") << QByteArray() << QString();
        // Text cut off by the end of the file never arrives as data.
        QTest::newRow("premature end keeps what was read")
            << QByteArray("<match id='1'><team1>A</team1><team2>B") << u"id=1|team1=A"_s;
        QTest::newRow("mismatched tag")
            << QByteArray("<match><team1>A</team2><team2>B</team2></match>") << u"team1=A"_s;
        QTest::newRow("second root element")
            << QByteArray("<match><team1>A</team1></match><match><team2>B</team2></match>")
            << u"team1=A"_s;
        QTest::newRow("binary junk")
            << QByteArray("\x00\x01\xff\xfe garbage \x80", 16) << QString();
        QTest::newRow("unsupported encoding")
            << QByteArray("<?xml version='1.0' encoding='x-none'?><m><team1>A</team1></m>")
            << QString();
        QTest::newRow("invalid UTF-8")
            << QByteArray("<m><team1>A</team1><team2>\xff\xfe</team2></m>") << QString();
        QTest::newRow("undeclared entity")
            << QByteArray("<m><team1>A</team1><team2>&x;</team2>") << u"team1=A"_s;
        QTest::newRow("billion laughs") << billionLaughs() << u"team1=A"_s;
        // Expanded, a million references would take a gigabyte.
        QTest::newRow("quadratic blowup") << quadraticBlowup(1000000) << QString();
    }

    void errors()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, expected);
        bool error = false;
        QStringList messages;
        const Match match = read(xml, &error, &messages, u"bad.xml"_s);
        QVERIFY(error);
        QCOMPARE(messages, QStringList(u'"' + path(u"bad.xml"_s) + u"\" file has error"_s));
        QCOMPARE(summary(*match), expected);
        QCOMPARE(match->fileName, u"bad.xml"_s);
        QVERIFY(peakMegabytes() < memoryCeilingMegabytes);
    }

    void smallDocumentsMayDeclareEntities()
    {
        bool error = true;
        const Match match = read("<!DOCTYPE m [<!ENTITY club \"Ракета\">]>"
                                 "<m><team1>&club; &club;</team1></m>",
                                 &error);
        QVERIFY(!error);
        QCOMPARE(match->team1, u"Ракета Ракета"_s);
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("team");
        QTest::addColumn<QString>("tournament");

        const QString russian = u"<?xml version=\"1.0\" encoding=\"%1\"?>"
                                "<match tournament=\"Кубок Ёлки\"><team1>Ракета</team1></match>"_s;
        QTest::newRow("UTF-8 by default")
            << QByteArray("<match tournament=\"Кубок Ёлки\"><team1>Ракета</team1></match>")
            << u"Ракета"_s << u"Кубок Ёлки"_s;
        QTest::newRow("UTF-8 with BOM")
            << QByteArray("\xef\xbb\xbf") + russian.arg(u"UTF-8"_s).toUtf8() << u"Ракета"_s
            << u"Кубок Ёлки"_s;
        QStringEncoder le(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QTest::newRow("UTF-16 little-endian with BOM")
            << QByteArray(le(russian.arg(u"UTF-16"_s))) << u"Ракета"_s << u"Кубок Ёлки"_s;
        QStringEncoder be(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom);
        QTest::newRow("UTF-16 big-endian with BOM")
            << QByteArray(be(russian.arg(u"UTF-16"_s))) << u"Ракета"_s << u"Кубок Ёлки"_s;
        // Single-byte encodings written out byte by byte, independent of any codec.
        QTest::newRow("windows-1251")
            << QByteArray("<?xml version=\"1.0\" encoding=\"windows-1251\"?>"
                          "<match tournament=\"\xca\xf3\xe1\xee\xea \xa8\xeb\xea\xe8\">"
                          "<team1>\xd0\xe0\xea\xe5\xf2\xe0</team1></match>")
            << u"Ракета"_s << u"Кубок Ёлки"_s;
        QTest::newRow("KOI8-R")
            << QByteArray("<?xml version=\"1.0\" encoding=\"KOI8-R\"?>"
                          "<match tournament=\"\xeb\xd5\xc2\xcf\xcb \xb3\xcc\xcb\xc9\">"
                          "<team1>\xf2\xc1\xcb\xc5\xd4\xc1</team1></match>")
            << u"Ракета"_s << u"Кубок Ёлки"_s;
        QTest::newRow("ISO-8859-1")
            << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                          "<match tournament=\"Coupe Soci\xe9t\xe9\"><team1>M\xfcller \xc7"
                          "a</team1>"
                          "</match>")
            << u"Müller Ça"_s << u"Coupe Société"_s;
    }

    void encodings()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, team);
        QFETCH(QString, tournament);
        bool error = true;
        const Match match = read(xml, &error);
        QVERIFY(!error);
        QCOMPARE(match->team1, team);
        QCOMPARE(match->tournament, tournament);
    }

    void hugeFileIsReadOnlyInPart()
    {
        // A well-formed 50 MB document of line-up entries: only its first part is read.
        const QString bigPath = path(u"big.xml"_s);
        {
            QFile file(bigPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<match><team1>A</team1>");
            const QByteArray block = QByteArray("<player1 id='1'>Name</player1>").repeated(10000);
            while (file.size() < 50 * 1024 * 1024)
                QVERIFY(file.write(block) == block.size());
            file.write("<team2>B</team2></match>");
        }
        QFile file(bigPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        capturedMessages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
        bool error = false;
        const Match match = readMatchXml(file, &error);
        qInstallMessageHandler(previous);
        QVERIFY(error);
        QCOMPARE(capturedMessages, QStringList(u'"' + bigPath + u"\" file has error"_s));
        QCOMPARE(match->team1, u"A"_s);
        QVERIFY(match->team2.isNull());
        const qsizetype entryBytes = qsizetype(sizeof("<player1 id='1'>Name</player1>") - 1);
        QVERIFY(match->players1.size() > 0);
        QVERIFY(match->players1.size() <= maxReportBytes / entryBytes);
        QFile::remove(bigPath);
        QVERIFY(peakMegabytes() < memoryCeilingMegabytes);
    }

    void deepNesting()
    {
        const int depth = 100000;
        QByteArray xml = QByteArray("<a>").repeated(depth) + "<team1>Deep</team1>" +
                         QByteArray("</a>").repeated(depth);
        bool error = true;
        const Match match = read(xml, &error);
        QVERIFY(!error);
        QCOMPARE(match->team1, u"Deep"_s);
    }

    void importWalk()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString root = dir.path();
        QVERIFY(QDir(root).mkpath(u"sub/deep"_s));
        QVERIFY(QDir(root).mkpath(u".hiddendir"_s));
        QVERIFY(QDir(root).mkpath(u"dir.xml"_s));
        QTemporaryDir outside;
        QVERIFY(outside.isValid());

        const auto report = [](const char *tournament, const char *date) {
            QByteArray xml = "<match";
            if (tournament)
                xml += QByteArray(" tournament='") + tournament + '\'';
            xml += "><team1>A</team1>";
            if (date)
                xml += QByteArray("<date>") + date + "</date>";
            return xml + "</match>";
        };
        QVERIFY(writeFile(root + u"/a.xml"_s, report("Лига", "20090314")));
        QVERIFY(writeFile(root + u"/sub/b.xml"_s, report(nullptr, nullptr)));
        QVERIFY(writeFile(root + u"/sub/deep/c.xml"_s, report("Кубок", "20010505")));
        QVERIFY(writeFile(root + u"/sub/deep/broken.xml"_s, "<match tournament='Z'><team1>"));
        QVERIFY(writeFile(root + u"/sub/UPPER.XML"_s, report("X", "19000101")));
        QVERIFY(writeFile(root + u"/Mixed.Xml"_s, report("X", "19000101")));
        QVERIFY(writeFile(root + u"/notes.txt"_s, "text"));
        QVERIFY(writeFile(root + u"/.hidden.xml"_s, report("X", "19000101")));
        QVERIFY(writeFile(root + u"/.hiddendir/h.xml"_s, report("X", "19000101")));
        QVERIFY(writeFile(outside.path() + u"/x.xml"_s, report("X", "19000101")));
        QVERIFY(QFile::link(outside.path(), root + u"/linkdir"_s));
        // A named pipe would block a reader for ever; it is no regular file.
        QCOMPARE(::mkfifo(QFile::encodeName(root + u"/pipe.xml"_s).constData(), 0644), 0);
        QVERIFY(QFile::link(root + u"/pipe.xml"_s, root + u"/sub/pipelink.xml"_s));
        // Unreadable, unless the tests run with the rights to read anything.
        QVERIFY(writeFile(root + u"/locked.xml"_s, report("L", "19990101")));
        QVERIFY(QFile::setPermissions(root + u"/locked.xml"_s, QFileDevice::WriteOwner));
        const bool lockedReadable = QFile(root + u"/locked.xml"_s).open(QIODevice::ReadOnly);

        MatchStore store;
        store.append(Match());
        QDate from(2005, 1, 1);
        QDate till(2005, 12, 31);
        capturedMessages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
        const ImportResult result = importDirectory(root, store, from, till);
        qInstallMessageHandler(previous);

        // a, b, c, broken, UPPER, Mixed, notes, locked, pipelink: the pipe itself is no file.
        QCOMPARE(result.files, 9);
        QCOMPARE(result.matches, lockedReadable ? 5 : 4);
        QCOMPARE(result.errors, 1);
        QVERIFY(result.directory);
        QCOMPARE(store.count(), result.matches + 1);
        QStringList names;
        for (const Match &match : store.matches())
            names.append(match->fileName);
        QCOMPARE(names.takeFirst(), QString());
        names.sort();
        QStringList expectedNames{u"a.xml"_s, u"b.xml"_s, u"broken.xml"_s, u"c.xml"_s};
        if (lockedReadable)
            expectedNames.append(u"locked.xml"_s);
        QCOMPARE(names, expectedNames);
        QStringList tournaments{QString(), u"Z"_s, u"Кубок"_s, u"Лига"_s};
        if (lockedReadable)
            tournaments.insert(1, u"L"_s);
        QCOMPARE(store.tournamentNames(), tournaments);
        QCOMPARE(from, lockedReadable ? QDate(1999, 1, 1) : QDate(2001, 5, 5));
        QCOMPARE(till, QDate(2009, 3, 14));
        QCOMPARE(capturedMessages,
                 QStringList(u'"' + root + u"/sub/deep/broken.xml\" file has error"_s));

        // A second import of the same tree appends every report again.
        const ImportResult again = importDirectory(root, store, from, till);
        QCOMPARE(again.matches, result.matches);
        QCOMPARE(store.count(), 2 * result.matches + 1);
    }

    void hostileFilesDoNotStopTheWalk()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(dir.filePath(u"junk.xml"_s), QByteArray(4096, '\xff')));
        QVERIFY(writeFile(dir.filePath(u"laughs.xml"_s), billionLaughs()));
        QVERIFY(writeFile(dir.filePath(u"blowup.xml"_s), quadraticBlowup(100000)));
        QVERIFY(writeFile(dir.filePath(u"deep.xml"_s), QByteArray("<a>").repeated(100000)));
        QVERIFY(writeFile(dir.filePath(u"good.xml"_s),
                          "<match tournament='T'><date>20200202</date></match>"));
        MatchStore store;
        QDate from = emptyRangeFrom();
        QDate till = emptyRangeTill();
        capturedMessages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
        const ImportResult result = importDirectory(dir.path(), store, from, till);
        qInstallMessageHandler(previous);
        QCOMPARE(result.files, 5);
        QCOMPARE(result.matches, 5);
        QCOMPARE(result.errors, 4);
        QCOMPARE(capturedMessages.size(), 4);
        QCOMPARE(store.tournamentNames(), QStringList({QString(), u"T"_s}));
        QCOMPARE(from, QDate(2020, 2, 2));
        QCOMPARE(till, QDate(2020, 2, 2));
    }

    void importFixtures()
    {
        MatchStore store;
        QDate from = emptyRangeFrom();
        QDate till = emptyRangeTill();
        const ImportResult result =
            importDirectory(QStringLiteral(TESTDATA_DIR "/xml"), store, from, till);
        QCOMPARE(result.files, 3);
        QCOMPARE(result.matches, 2);
        QCOMPARE(store.tournamentNames(), QStringList({u"Кубок"_s, u"Первая лига"_s}));
        QCOMPARE(from, QDate(2009, 3, 14));
        QCOMPARE(till, QDate(2010, 5, 2));
        const Match *cup = store.find(u"2001.xml"_s);
        QVERIFY(cup);
        QCOMPARE(summary(**cup), u"id=2001|round=1/8|tournament=Кубок|team1=Звезда|team1Id=7|"
                                 "team2=Ракета|team2Id=31|date=2010-05-02|time=15:00|goals1=1|"
                                 "goals2=1|extra1=0|extra2=0|penalties1=4|penalties2=3"_s);
    }

    void importMissingDirectory()
    {
        MatchStore store;
        QDate from = emptyRangeFrom();
        QDate till = emptyRangeTill();
        int calls = 0;
        const ImportResult result = importDirectory(path(u"no-such-dir"_s), store, from, till,
                                                    [&calls](qsizetype) { ++calls; });
        QVERIFY(!result.directory);
        QCOMPARE(result.files, 0);
        QCOMPARE(calls, 0);
        QVERIFY(store.isEmpty());
        QCOMPARE(from, emptyRangeFrom());
    }

    void importProgress_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QList<qsizetype>>("expected");

        QStringList reports;
        for (int i = 0; i < 250; ++i)
            reports.append(u"r%1.xml"_s.arg(i));
        QTest::newRow("every hundredth report") << reports << QList<qsizetype>{100, 200};
        QStringList others;
        for (int i = 0; i < 200; ++i)
            others.append(u"r%1.txt"_s.arg(i));
        QTest::newRow("other files are not checked") << others << QList<qsizetype>{};
        QTest::newRow("directories at a count of 0")
            << QStringList{u"a/"_s, u"b/"_s, u"b/c/"_s} << QList<qsizetype>{0, 0, 0};
    }

    void importProgress()
    {
        QFETCH(QStringList, files);
        QFETCH(QList<qsizetype>, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QString &name : files) {
            if (name.endsWith(u'/'))
                QVERIFY(QDir(dir.path()).mkpath(name));
            else
                QVERIFY(writeFile(dir.filePath(name), "<match/>"));
        }
        MatchStore store;
        QDate from = emptyRangeFrom();
        QDate till = emptyRangeTill();
        QList<qsizetype> calls;
        importDirectory(dir.path(), store, from, till,
                        [&calls](qsizetype count) { calls.append(count); });
        QCOMPARE(calls, expected);
    }
};

QTEST_GUILESS_MAIN(TestXmlImport)
#include "tst_xmlimport.moc"
