#include "model/xmlimport.h"

#include <QDirIterator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The date, then every other field that is not null as "name=value" (an empty one as "name="),
// joined by '|'; line-up entries as "p1=id:name", events as "ev=" and their eight fields, null '~'.
QString summary(const MatchData &m)
{
    const auto orNull = [](const QString &text) { return text.isNull() ? u"~"_s : text; };
    QStringList parts;
    if (m.date.isValid())
        parts.append(u"date="_s + m.date.toString(Qt::ISODate));
#define F(field) std::pair(#field, &MatchData::field)
    for (const auto &[name, field] :
         {F(id),         F(round),    F(tournament), F(team1),       F(team1Id),
          F(team2),      F(team2Id),  F(time),       F(coach1),      F(coach1Id),
          F(coach2),     F(coach2Id), F(stadium),    F(stadiumId),   F(city),
          F(attendance), F(referee),  F(refereeId),  F(refereeCity), F(goals1),
          F(goals2),     F(extra1),   F(extra2),     F(penalties1),  F(penalties2)}) {
        if (!(m.*field).isNull())
            parts.append(QLatin1StringView(name) + u'=' + m.*field);
    }
#undef F
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

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestXmlImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        QTest::newRow("ISO-8859-1")
            << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                          "<match tournament=\"Soci\xe9t\xe9\"><team1>M\xfcller</team1></match>")
            << u"tournament=Société|team1=Müller"_s << false;
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
        const Match match = readMatchXml(file, &failed);
        QCOMPARE(failed, error);
        QTEST(summary(*match), "expected");
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
            {u"sub/deep.xml"_s, QByteArray("<a>").repeated(100000) + "<team1>Deep</team1>" +
                                    QByteArray("</a>").repeated(100000)},
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

        MatchStore store;
        Match held;
        held.edit().team1 = u"held"_s;
        store.add(held);
        for (const char *name : {"deep/broken", "junk", "laughs", "blowup", "big"})
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QLatin1StringView(name) +
                                                                u".xml\" file has error$"_s));
        const ImportResult result = importDirectory(root, store);
        // Counted: pipelink, notes and the upper-case names too; read: the twelve reports, of which
        // junk, laughs and blowup hold the same nothing (one added, two duplicates), and so do the
        // two A-B reports.
        QCOMPARE(QList<qsizetype>({result.files, result.matches, result.errors, result.duplicates}),
                 QList<qsizetype>({16, 9, 3, 3}));
        // Reports of the same file name keep pages of their own: the later one is named by its
        // path.
        QStringList names;
        for (const Match &match : store.matches())
            names << match->fileName;
        names = names.filter(QRegularExpression(u"1\\.xml$"_s));
        QVERIFY2(
            names.size() == 2 && names.at(0) == u"1.xml"_s &&
                QRegularExpression(u"^s20(19|20)/(copy/)?1\\.xml$"_s).match(names.at(1)).hasMatch(),
            qPrintable(names.join(u' ')));
        QCOMPARE(store.tournamentNames(), QStringList({QString(), u"Z"_s, u"Кубок"_s, u"Лига"_s}));
        QVERIFY(result.dates.from == QDate(2001, 5, 5) && result.dates.till == QDate(2009, 3, 14));
        const Match *cut = store.find(u"big.xml"_s);
        QVERIFY(cut && (*cut)->team1 == u"A"_s && (*cut)->team2.isNull());
        QVERIFY((*cut)->players1.size() > 0 && (*cut)->players1.size() <= maxReportBytes / 30);
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
        QVERIFY(!missing.directory && missing.files == 0 && store.count() == 10);
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
        QStringList walked, imported;
        for (QDirIterator it(dir.filePath(u"sub"_s), QDir::Files); it.hasNext();)
            walked.append(QFileInfo(it.next()).completeBaseName());
        for (const Match &match : store.matches())
            imported.append(match->team1);
        QCOMPARE(imported, walked);
    }
};

QTEST_GUILESS_MAIN(TestXmlImport)
#include "tst_xmlimport.moc"
