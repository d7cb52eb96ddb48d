#include "model/database.h"

#include <QDataStream>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(Match)

namespace {

// Hex of a length-prefixed UTF-16BE string, as the file holds it.
QByteArray str(const QString &text)
{
    if (text.isNull())
        return "ffffffff";
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_0);
    out << text;
    return bytes.toHex();
}

QByteArray repeat(const QByteArray &hex, int times)
{
    return hex.repeated(times);
}

QByteArray unhex(const QByteArray &hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

// Writes the file format by hand with QDataStream, independently of the writer under test.
QByteArray independentBytes(const QList<Match> &matches)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_0);
    out << qint32(0xF07BA110) << qint32(1) << qint32(matches.size());
    for (const Match &match : matches) {
        const MatchData &m = *match;
        out << m.fileName << m.id << m.round << m.tournament << m.goals1 << m.goals2 << m.extra1
            << m.extra2 << m.penalties1 << m.penalties2 << m.time << m.date << m.coach1Id
            << m.coach1 << m.coach2Id << m.coach2 << m.team1Id << m.team1 << m.team2Id << m.team2
            << m.stadiumId << m.stadium << m.city << m.attendance << m.refereeId << m.referee
            << m.refereeCity;
        for (const QList<PlayerEntry> *players : {&m.players1, &m.players2}) {
            out << qint32(players->size());
            for (const PlayerEntry &p : *players)
                out << p.id << p.name;
        }
        out << qint32(m.events.size());
        for (const MatchEvent &e : m.events)
            out << e.type << e.time << e.team << e.comment << e.playerid << e.player << e.playerid2
                << e.player2;
    }
    return bytes;
}

// A match whose every field holds a different value, null and empty ones included.
Match fullMatch(int n)
{
    Match match;
    MatchData &m = match.edit();
    const QString k = QString::number(n);
    m.fileName = k + u".xml"_s;
    m.team1 = u"Ракета"_s + k;
    m.team2 = u"Звезда"_s;
    m.team1Id = u"t1"_s;
    m.team2Id = u""_s;
    m.coach1 = u"Смирнов"_s;
    m.coach2 = QString();
    m.coach1Id = u"c1"_s;
    m.coach2Id = u"c2"_s;
    m.date = QDate(2009, 3, 14).addDays(n);
    m.time = u"19:00"_s;
    m.goals1 = u"2"_s;
    m.goals2 = u"1"_s;
    m.extra1 = u""_s;
    m.penalties2 = u"p2"_s;
    m.stadium = u"Центральный"_s;
    m.stadiumId = u"s"_s;
    m.city = u"Лесногорск"_s;
    m.attendance = u"12000"_s;
    m.referee = u"Попов"_s;
    m.refereeId = u"r"_s;
    m.refereeCity = u"Заречный"_s;
    m.id = u"id"_s + k;
    m.round = u"12"_s;
    m.tournament = n % 2 ? u"Кубок"_s : u"Первая лига"_s;
    m.players1 = {{u"1001"_s, u"Иванов"_s}, {QString(), u""_s}, {u""_s, QString()}};
    m.players2 = {{u"2001"_s, u"Петров"_s}};
    m.events = {
        MatchEvent{u"23"_s, u"Гол"_s, QString(), u"Ракета"_s, u"1001"_s, u"Иванов"_s, QString(),
                   QString()},
        MatchEvent{u"60"_s, u"Замена"_s, u""_s, u"Звезда"_s, u"2001"_s, u"Петров"_s, u"2012"_s,
                   u"Сидоров"_s},
        MatchEvent{u"90+2"_s, u"Пас пяткой"_s, u"c"_s, u"t"_s, u"i"_s, u"p"_s, u"i2"_s, u"p2"_s},
    };
    return match;
}

Match dated(const QString &fileName, const QDate &date)
{
    Match match;
    match.edit().fileName = fileName;
    match.edit().date = date;
    match.edit().tournament = fileName;
    return match;
}

MatchStore storeOf(const QList<Match> &matches)
{
    MatchStore store;
    for (const Match &match : matches) {
        store.append(match);
        store.addTournament(match->tournament);
    }
    return store;
}

// A store that a failed read must leave exactly as it was.
MatchStore sentinelStore()
{
    return storeOf({dated(u"sentinel-1"_s, QDate(1995, 5, 5)), fullMatch(7)});
}

void verifySentinel(const MatchStore &store)
{
    const MatchStore expected = sentinelStore();
    QCOMPARE(store.count(), expected.count());
    for (qsizetype i = 0; i < store.count(); ++i)
        QVERIFY(store.matches().at(i).sameRecord(expected.matches().at(i)));
    QCOMPARE(store.tournamentNames(), expected.tournamentNames());
}

// A small valid file with every kind of item in it.
QByteArray smallFile()
{
    return databaseBytes(storeOf({fullMatch(1), dated(u"b"_s, QDate(2001, 2, 3)), Match()}));
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void byteLayout_data()
    {
        QTest::addColumn<QList<Match>>("matches");
        QTest::addColumn<QByteArray>("hex");

        const QByteArray nul = "ffffffff";
        const QByteArray noLists = repeat("00000000", 3);
        QTest::newRow("empty store") << QList<Match>() << QByteArray("f07ba110 00000001 00000000");
        QTest::newRow("all-null record") << QList<Match>{Match()}
                                         << "f07ba110 00000001 00000001" + repeat(nul, 11) +
                                                "00000000" + repeat(nul, 15) + noLists;

        Match abc;
        abc.edit().fileName = u"abc"_s;
        abc.edit().date = QDate(2000, 1, 1);
        abc.edit().id = u""_s;
        QTest::newRow("text, empty text and a date")
            << QList<Match>{abc}
            << "f07ba110 00000001 00000001 0000000600610062 0063 00000000" + repeat(nul, 9) +
                   "00256859" + repeat(nul, 15) + noLists;

        Match lists;
        lists.edit().players1 = {{u"7"_s, u"Ян"_s}, {QString(), u""_s}};
        lists.edit().events = {
            MatchEvent{u"t"_s, u"y"_s, u"c"_s, u"m"_s, u"i"_s, u"p"_s, u"j"_s, u"q"_s}};
        // Players: id before name. Event: type, time, team, comment, playerid, player,
        // playerid2, player2.
        QTest::newRow("two players and one event")
            << QList<Match>{lists}
            << "f07ba110 00000001 00000001" + repeat(nul, 11) + "00000000" + repeat(nul, 15) +
                   "00000002" + str(u"7"_s) + str(u"Ян"_s) + nul + "00000000" + "00000000" +
                   "00000001" + str(u"y"_s) + str(u"t"_s) + str(u"m"_s) + str(u"c"_s) +
                   str(u"i"_s) + str(u"p"_s) + str(u"j"_s) + str(u"q"_s);
    }

    void byteLayout()
    {
        QFETCH(QList<Match>, matches);
        QFETCH(QByteArray, hex);
        const QByteArray expected = unhex(hex);
        const QByteArray bytes = databaseBytes(storeOf(matches));
        QCOMPARE(bytes.toHex(' '), expected.toHex(' '));

        // And back into the same records, the dates left alone when nothing is dated.
        MatchStore store = sentinelStore();
        QDate from = emptyRangeFrom();
        QDate till = emptyRangeTill();
        QVERIFY(readDatabaseBytes(bytes, store, from, till).ok());
        QCOMPARE(store.count(), matches.size());
        for (qsizetype i = 0; i < matches.size(); ++i)
            QVERIFY(store.matches().at(i).sameRecord(matches.at(i)));
        if (matches.isEmpty() || !matches.first()->date.isValid()) {
            QCOMPARE(from, emptyRangeFrom());
            QCOMPARE(till, emptyRangeTill());
        }
    }

    void independentWriterAndFileRoundTrip()
    {
        const QList<Match> matches{fullMatch(1), fullMatch(2), Match(), fullMatch(3)};
        const QByteArray independent = independentBytes(matches);
        QCOMPARE(databaseBytes(storeOf(matches)).toHex(' '), independent.toHex(' '));

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"made-elsewhere.swb"_s);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(independent), independent.size());
        }
        MatchStore store;
        QDate from = emptyRangeFrom();
        QDate till = emptyRangeTill();
        QVERIFY(readDatabase(path, store, from, till).ok());
        QCOMPARE(store.count(), matches.size());
        for (qsizetype i = 0; i < matches.size(); ++i)
            QVERIFY2(store.matches().at(i).sameRecord(matches.at(i)),
                     qPrintable(QString::number(i)));
        QCOMPARE(store.tournamentNames(), QStringList({QString(), u"Кубок"_s, u"Первая лига"_s}));
        QCOMPARE(from, QDate(2009, 3, 15));
        QCOMPARE(till, QDate(2009, 3, 17));

        // Written to a file and read again: the same records, null and empty kept apart.
        const QString again = dir.filePath(u"again.swb"_s);
        QVERIFY(writeDatabase(again, store).ok());
        MatchStore reread;
        QVERIFY(readDatabase(again, reread, from, till).ok());
        for (qsizetype i = 0; i < matches.size(); ++i)
            QVERIFY(reread.matches().at(i).sameRecord(matches.at(i)));
        QFile file(again);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), independent);
    }

    void dateWidening_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("till");
        QTest::addColumn<QDate>("expectedFrom");
        QTest::addColumn<QDate>("expectedTill");

        const QDate first(1998, 7, 1);
        const QDate last(2004, 5, 30);
        QTest::newRow("empty range") << emptyRangeFrom() << emptyRangeTill() << first << last;
        QTest::newRow("inside") << QDate(2000, 1, 1) << QDate(2000, 12, 31) << first << last;
        QTest::newRow("from already earlier")
            << QDate(1990, 1, 1) << QDate(2000, 12, 31) << QDate(1990, 1, 1) << last;
        QTest::newRow("till already later")
            << QDate(2000, 1, 1) << QDate(2010, 1, 1) << first << QDate(2010, 1, 1);
    }

    void dateWidening()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, till);
        QFETCH(QDate, expectedFrom);
        QFETCH(QDate, expectedTill);
        // The undated match widens nothing: a null from-date would select no match at all.
        const QByteArray bytes = databaseBytes(storeOf({
            dated(u"a"_s, QDate(2001, 1, 1)),
            dated(u"b"_s, QDate(2004, 5, 30)),
            dated(u"undated"_s, QDate()),
            dated(u"c"_s, QDate(1998, 7, 1)),
        }));
        MatchStore store;
        QVERIFY(readDatabaseBytes(bytes, store, from, till).ok());
        QCOMPARE(from, expectedFrom);
        QCOMPARE(till, expectedTill);
    }

    void readingReplaces()
    {
        QList<Match> seven;
        for (int i = 0; i < 7; ++i)
            seven.append(dated(u"old%1"_s.arg(i), QDate(1990, 1, 1 + i)));
        MatchStore store = storeOf(seven);
        QList<Match> five;
        for (int i = 0; i < 5; ++i)
            five.append(dated(u"new%1"_s.arg(i), QDate(2000, 1, 1 + i)));
        QDate from = emptyRangeFrom();
        QDate till = emptyRangeTill();
        QVERIFY(readDatabaseBytes(databaseBytes(storeOf(five)), store, from, till).ok());
        QCOMPARE(store.count(), 5);
        for (int i = 0; i < 5; ++i)
            QVERIFY(store.matches().at(i).sameRecord(five.at(i)));
        QCOMPARE(store.tournamentNames(),
                 QStringList({u"new0"_s, u"new1"_s, u"new2"_s, u"new3"_s, u"new4"_s}));
    }

    void rejected_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("offset");

        const QByteArray valid = smallFile();
        QTest::newRow("wrong magic") << unhex("f07ba111 00000001 00000000")
                                     << int(DatabaseResult::NotDatabase) << qint64(-1);
        QTest::newRow("text file")
            << QByteArray("Hello, world\n") << int(DatabaseResult::NotDatabase) << qint64(-1);
        QTest::newRow("two foreign bytes")
            << QByteArray("PK") << int(DatabaseResult::NotDatabase) << qint64(-1);
        QTest::newRow("empty file") << QByteArray() << int(DatabaseResult::Damaged) << qint64(0);
        QTest::newRow("version 2") << unhex("f07ba110 00000002 00000000")
                                   << int(DatabaseResult::UnsupportedVersion) << qint64(-1);
        QTest::newRow("a byte after the last record")
            << valid + '\0' << int(DatabaseResult::Damaged) << qint64(valid.size());
        QByteArray odd = databaseBytes(storeOf({Match()}));
        qToBigEndian(quint32(3), odd.data() + 12);
        QTest::newRow("odd string length") << odd << int(DatabaseResult::Damaged) << qint64(12);
    }

    void rejected()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(qint64, offset);
        MatchStore store = sentinelStore();
        QDate from(2000, 1, 1);
        QDate till(2000, 2, 2);
        const DatabaseResult result = readDatabaseBytes(bytes, store, from, till);
        QCOMPARE(int(result.status), status);
        if (offset >= 0)
            QCOMPARE(result.offset, offset);
        if (result.status == DatabaseResult::UnsupportedVersion)
            QCOMPARE(result.version, quint32(bytes.at(7)));
        verifySentinel(store);
        QCOMPARE(from, QDate(2000, 1, 1));
        QCOMPARE(till, QDate(2000, 2, 2));
    }

    void everyTruncationIsDamaged()
    {
        const QByteArray valid = smallFile();
        for (qsizetype size = 0; size < valid.size(); ++size) {
            MatchStore store = sentinelStore();
            QDate from(2000, 1, 1);
            QDate till(2000, 2, 2);
            const DatabaseResult result = readDatabaseBytes(valid.left(size), store, from, till);
            QVERIFY2(result.status == DatabaseResult::Damaged, qPrintable(QString::number(size)));
            QVERIFY(result.offset >= 0 && result.offset <= size);
            verifySentinel(store);
            QCOMPARE(from, QDate(2000, 1, 1));
            QCOMPARE(till, QDate(2000, 2, 2));
        }
    }

    void randomByteFlips()
    {
        const QByteArray valid = smallFile();
        QRandomGenerator random(20261206);
        int readOk = 0;
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes = valid;
            const int flips = 1 + int(random.bounded(3));
            bool header = false;
            for (int i = 0; i < flips; ++i) {
                const qsizetype at = random.bounded(int(bytes.size()));
                bytes[at] = char(bytes.at(at) ^ (1 << random.bounded(8)));
                header = header || at < 8;
            }
            MatchStore store = sentinelStore();
            QDate from(2000, 1, 1);
            QDate till(2000, 2, 2);
            const DatabaseResult result = readDatabaseBytes(bytes, store, from, till);
            if (result.ok()) {
                ++readOk;
                continue;
            }
            if (!header)
                QCOMPARE(int(result.status), int(DatabaseResult::Damaged));
            verifySentinel(store);
            QCOMPARE(from, QDate(2000, 1, 1));
            QCOMPARE(till, QDate(2000, 2, 2));
        }
        // Flips inside the text of strings leave a readable file: both outcomes occur.
        QVERIFY(readOk > 0);
        QVERIFY(readOk < 3000);
    }

    void hugeCounts_data()
    {
        QTest::addColumn<int>("at");
        QTest::addColumn<quint32>("value");

        // Offsets in a file of one all-null record: the match count at 8, the first string at
        // 12, the three list counts at 120, 124 and 128.
        QTest::newRow("match count 2^32-1") << 8 << 0xFFFFFFFFu;
        QTest::newRow("match count 2") << 8 << 2u;
        QTest::newRow("string length 2^32-2") << 12 << 0xFFFFFFFEu;
        QTest::newRow("players1 count") << 120 << 0x7FFFFFFFu;
        QTest::newRow("players2 count") << 124 << 0xFFFFFFFFu;
        QTest::newRow("event count") << 128 << 0x10000000u;
    }

    void hugeCounts()
    {
        QFETCH(int, at);
        QFETCH(quint32, value);
        QByteArray bytes = databaseBytes(storeOf({Match()}));
        QCOMPARE(bytes.size(), 132);
        qToBigEndian(value, bytes.data() + at);
        MatchStore store = sentinelStore();
        QDate from(2000, 1, 1);
        QDate till(2000, 2, 2);
        const DatabaseResult result = readDatabaseBytes(bytes, store, from, till);
        QCOMPARE(int(result.status), int(DatabaseResult::Damaged));
        QCOMPARE(result.offset, qint64(at));
        verifySentinel(store);
    }

    void cannotOpen()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        MatchStore store = sentinelStore();
        QDate from(2000, 1, 1);
        QDate till(2000, 2, 2);
        for (const QString &path : {dir.filePath(u"missing.swb"_s), dir.path()}) {
            const DatabaseResult result = readDatabase(path, store, from, till);
            QCOMPARE(int(result.status), int(DatabaseResult::CannotOpen));
            QVERIFY(!result.systemError.isEmpty());
        }
        verifySentinel(store);
    }

    void largeForeignFileIsNotReadWhole()
    {
        // A sparse 3 GB file that is no database: rejected by its first bytes.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"film.mkv"_s);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("\x1a\x45\xdf\xa3");
            QVERIFY(file.resize(qint64(3) << 30));
        }
        MatchStore store = sentinelStore();
        QDate from(2000, 1, 1);
        QDate till(2000, 2, 2);
        const DatabaseResult result = readDatabase(path, store, from, till);
        QCOMPARE(int(result.status), int(DatabaseResult::NotDatabase));
        verifySentinel(store);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        QVERIFY(usage.ru_maxrss < 300 * 1024);
    }

    void cannotWrite_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing directory") << u"no/such/dir/x.swb"_s;
        QTest::newRow("below a file") << u"file/x.swb"_s;
        QTest::newRow("a directory") << u"dir"_s;
    }

    void cannotWrite()
    {
        QFETCH(QString, path);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkdir(u"dir"_s));
        {
            QFile file(dir.filePath(u"file"_s));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const DatabaseResult result = writeDatabase(dir.filePath(path), sentinelStore());
        QCOMPARE(int(result.status), int(DatabaseResult::CannotWrite));
        QVERIFY(!result.systemError.isEmpty());
        QVERIFY(QFileInfo(dir.filePath(u"dir"_s)).isDir());
        QCOMPARE(QFileInfo(dir.filePath(u"file"_s)).size(), 0);
    }

    void failedWriteKeepsTheOldFile()
    {
        // A file-size limit makes the write fail part-way, whoever runs the test.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(u"data.swb"_s);
        const QByteArray old = databaseBytes(sentinelStore());
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(old), old.size());
        }
        QList<Match> many;
        for (int i = 0; i < 200; ++i)
            many.append(fullMatch(i));
        const MatchStore big = storeOf(many);
        QVERIFY(databaseBytes(big).size() > 64 * 1024);

        rlimit previous{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = previous;
        limited.rlim_cur = 16 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const DatabaseResult result = writeDatabase(path, big);
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(int(result.status), int(DatabaseResult::CannotWrite));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList(u"data.swb"_s));
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
