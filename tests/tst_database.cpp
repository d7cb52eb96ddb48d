#include "formats/database.h"
#include "formats/fileio.h"
#include "testsupport.h"

#include <QDataStream>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The fields in the order the file holds them, the date (nullptr) after the eleventh.
#define F(field) &MatchData::field
// clang-format off
QString MatchData::*const fileFields[] = {
    F(fileName), F(id), F(round), F(tournament), F(goals1), F(goals2), F(extra1), F(extra2),
    F(penalties1), F(penalties2), F(time), nullptr, F(coach1Id), F(coach1), F(coach2Id), F(coach2),
    F(team1Id), F(team1), F(team2Id), F(team2), F(stadiumId), F(stadium), F(city), F(attendance),
    F(refereeId), F(referee), F(refereeCity)};
// clang-format on
#undef F

// The file format written by hand with QDataStream, independently of the writer under test.
QByteArray independentBytes(const QList<Match> &matches)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_0);
    out << qint32(0xF07BA110) << qint32(1) << qint32(matches.size());
    for (const Match &match : matches) {
        for (QString MatchData::*field : fileFields)
            field ? out << (*match).*field : out << match->date;
        for (const QList<PlayerEntry> *players : {&match->players1, &match->players2}) {
            out << qint32(players->size());
            for (const PlayerEntry &p : *players)
                out << p.id << p.name;
        }
        out << qint32(match->events.size());
        for (const MatchEvent &e : match->events)
            out << e.type << e.time << e.team << e.comment << e.playerid << e.player << e.playerid2
                << e.player2;
    }
    return bytes;
}

// Every field set, one empty and one null; below 100 texts recur across matches (only the file
// name and the ID are unique).
Match fullMatch(int n)
{
    Match match;
    MatchData &m = match.edit();
    for (int i = 0; i < 27; ++i)
        if (fileFields[i])
            m.*fileFields[i] = u"Поле%1-%2"_s.arg(i).arg(i < 2 || n >= 100 ? n : n % 3);
    m.extra1 = u""_s;
    m.coach2 = QString();
    m.date = QDate(2009, 3, 14).addDays(n);
    m.players1 = {{u"1001"_s, u"Иванов"_s}, {QString(), u""_s}, {u""_s, QString()}};
    m.players2 = {{u"2001"_s, u"Петров"_s}};
    m.events = {MatchEvent{u"23"_s, u"Гол"_s, QString(), u""_s, u"1001"_s, u"Иванов"_s, u"i2"_s,
                           u"Ракета"_s}};
    return match;
}

// A record whose null, empty and set fields, line-up entries and events vary with n, so that the
// texts each share of a parallel read meets first, and their numbers, differ from share to share.
Match variedMatch(int n)
{
    Match match;
    MatchData &m = match.edit();
    const auto text = [n](int field) {
        const int kind = (n * 7 + field * 3) % 11;
        return kind == 0   ? QString()
               : kind == 1 ? u""_s
                           : u"Т%1-%2"_s.arg(field).arg(n % (kind * 5));
    };
    for (int i = 0; i < 27; ++i)
        if (fileFields[i])
            m.*fileFields[i] = text(i);
    m.date = n % 13 ? QDate(2009, 3, 14).addDays(n % 400) : QDate();
    for (int i = 0; i < n % 4; ++i)
        m.players1.append({text(i + 30), text(i + 31)});
    for (int i = 0; i < n % 5; ++i)
        m.events.append(MatchEvent{text(i + 40), text(i + 41), text(i + 42), text(i + 43),
                                   text(i + 44), text(i + 45), text(i + 46), text(i + 47)});
    return match;
}

// What a failed read must leave exactly as it was.
const QList<Match> sentinel{fullMatch(100), Match()};

// Reads bytes over the sentinel store; a failed read that changed the store or the dates reports
// status -1.
DatabaseResult readOver(const QByteArray &bytes)
{
    MatchStore store = makeStore(sentinel);
    DatabaseResult result = readDatabaseBytes(bytes, store);
    if (!result.ok() &&
        (databaseBytes(store) != databaseBytes(makeStore(sentinel)) ||
         store.tournamentNames() != makeStore(sentinel).tournamentNames() ||
         store.dateSpan().from != makeStore(sentinel).dateSpan().from || !store.isModified()))
        result.status = DatabaseResult::Status(-1);
    return result;
}

enum WriterSituation {
    LinkAtName,
    FolderSwapped,
    PrivateFile,
    ReadOnlyFile,
    NewFile,
    NamedLink,
    LinkNotFollowed,
    StaleTemporary
};

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void byteLayout_data()
    {
        QTest::addColumn<QList<Match>>("matches");
        QTest::addColumn<QByteArray>("hex");
        const QByteArray head = "f07ba110 00000001 00000001";
        const QByteArray nul = "ffffffff";
        const QByteArray nullRecord = nul.repeated(11) + "00000000" + nul.repeated(15);
        QTest::newRow("empty store") << QList<Match>() << QByteArray("f07ba110 00000001 00000000");
        QTest::newRow("all-null record")
            << QList<Match>{Match()} << head + nullRecord + "00000000 00000000 00000000";
        Match abc;
        abc.edit().fileName = u"abc"_s;
        abc.edit().id = u""_s;
        abc.edit().date = QDate(2000, 1, 1);
        QTest::newRow("text, empty text and a date")
            << QList<Match>{abc}
            << head + "00000006 006100620063 00000000" + nul.repeated(9) + "00256859" +
                   nul.repeated(15) + "00000000 00000000 00000000";
        Match lists;
        lists.edit().players1 = {{u"7"_s, u"Ян"_s}, {QString(), u""_s}};
        lists.edit().events = {
            MatchEvent{u"t"_s, u"y"_s, u"c"_s, u"m"_s, u"i"_s, u"p"_s, u"j"_s, u"q"_s}};
        // Players: id, name. Event: type, time, team, comment, playerid, player, playerid2,
        // player2.
        QTest::newRow("players and an event")
            << QList<Match>{lists}
            << head + nullRecord + "00000002 00000002 0037 00000004 042f 043d ffffffff 00000000" +
                   "00000000 00000001 00000002 0079 00000002 0074 00000002 006d 00000002 0063" +
                   "00000002 0069 00000002 0070 00000002 006a 00000002 0071";
    }

    void byteLayout()
    {
        QFETCH(QList<Match>, matches);
        QFETCH(QByteArray, hex);
        QCOMPARE(databaseBytes(makeStore(matches)).toHex(' '), QByteArray::fromHex(hex).toHex(' '));
    }

    // Read from a file made elsewhere, texts shared between records, edited and written again.
    void fileRoundTrip()
    {
        QList<Match> matches{Match()};
        for (int n = 1; n <= 30; ++n)
            matches.append(fullMatch(n));
        const QByteArray independent = independentBytes(matches);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"made-elsewhere.swb"_s);
        QVERIFY(writeFile(path, independent));
        // Reading replaces the store, its dates (the undated record left out) and its modified
        // state.
        MatchStore store = makeStore(sentinel);
        QVERIFY(store.isModified());
        QVERIFY(readDatabase(path, store).ok());
        QVERIFY(store.dateSpan().from == QDate(2009, 3, 15) &&
                store.dateSpan().till == QDate(2009, 4, 13) && !store.isModified());
        QCOMPARE(store.tournamentNames(),
                 QStringList({QString(), u"Поле3-0"_s, u"Поле3-1"_s, u"Поле3-2"_s}));
        const DatabaseResult missing = readDatabase(path + u'~', store);
        QVERIFY(missing.status == DatabaseResult::CannotOpen && !missing.systemError.isEmpty());
        QCOMPARE(databaseBytes(store), independent);
        // Records share their recurring texts: an edited copy must keep its change to itself.
        Match copy = store.matches().at(1);
        copy.edit().team1[0] = u'Ж';
        copy.edit().players1[0].name[0] = u'Ж';
        copy.edit().events[0].type[0] = u'Ж';
        QCOMPARE(copy->team1 + copy->players1.at(0).name + copy->events.at(0).type,
                 u"Жоле17-1ЖвановЖол"_s);
        QVERIFY(writeDatabase(path, store).ok());

        // A failed write leaves the file as it was; a file-size limit makes it fail part-way,
        // whoever runs the test.
        const auto handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
        const rlimit limited{rlim_t(independent.size()), previous.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const DatabaseResult overLimit =
            writeDatabase(path, makeStore(QList<Match>(100, fullMatch(1))));
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, handler);
        const DatabaseResult onDirectory = writeDatabase(dir.path(), store);
        for (const DatabaseResult &failed : {overLimit, onDirectory})
            QVERIFY(failed.status == DatabaseResult::CannotWrite && !failed.systemError.isEmpty());
        QCOMPARE(readFile(path), independent);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void rejected_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<bool>("endsEarly");
        const auto patched = [](int at, quint32 value) {
            QByteArray bytes = databaseBytes(makeStore({Match()}));
            qToBigEndian(value, bytes.data() + at);
            return bytes;
        };
        const int damaged = DatabaseResult::Damaged;
        const int foreign = DatabaseResult::NotDatabase;
        QTest::newRow("wrong magic")
            << QByteArray::fromHex("f07ba111") << foreign << qint64(-1) << false;
        QTest::newRow("two foreign bytes") << QByteArray("PK") << foreign << qint64(-1) << false;
        QTest::newRow("no bytes") << QByteArray() << damaged << qint64(0) << true;
        QTest::newRow("version 2")
            << QByteArray::fromHex("f07ba110 00000002 00000000")
            << int(DatabaseResult::UnsupportedVersion) << qint64(-1) << false;
        QTest::newRow("trailing byte") << patched(8, 1) + '\0' << damaged << qint64(132) << false;
        QTest::newRow("odd string length") << patched(12, 3) << damaged << qint64(12) << false;
        // Dates no writer makes: Julian days before year 1 or after 9999.
        QTest::newRow("Julian day 1") << patched(56, 1) << damaged << qint64(56) << false;
        QTest::newRow("Julian day of year 10000")
            << patched(56, 5373485) << damaged << qint64(56) << false;
        // Counts no file of this size can hold are refused before anything is allocated: the file
        // ends before what it announces.
        QTest::newRow("match count") << patched(8, 0xFFFFFFFF) << damaged << qint64(132) << true;
        QTest::newRow("string length") << patched(12, 0xFFFFFFFE) << damaged << qint64(12) << true;
        QTest::newRow("players2 count")
            << patched(124, 0x10000000) << damaged << qint64(124) << true;
        QTest::newRow("event count past the end")
            << patched(128, 1) << damaged << qint64(128) << true;
        // Large files are read on every core; damage is still found where one thread finds it.
        const int n = 5000;
        const QByteArray large = databaseBytes(makeStore(QList<Match>(n, fullMatch(1))));
        const qint64 last = 12 + (large.size() - 12) / n * (n - 1);
        QByteArray oddName = large;
        qToBigEndian(quint32(3), oddName.data() + last);
        // Blank records are 120 bytes, the date 44 bytes in.
        QByteArray lateDate = databaseBytes(makeStore(QList<Match>(n, Match())));
        qToBigEndian(quint32(1), lateDate.data() + 12 + 120 * (n - 1) + 44);
        QTest::newRow("large file") << large << int(DatabaseResult::Ok) << qint64(-1) << false;
        // Each core numbers the texts it meets first; the numbers must join up in file order.
        QList<Match> varied;
        for (int i = 0; i < n; ++i)
            varied.append(variedMatch(i));
        QTest::newRow("large file, texts new in every share")
            << databaseBytes(makeStore(varied)) << int(DatabaseResult::Ok) << qint64(-1) << false;
        QTest::newRow("large, trailing byte")
            << large + '\0' << damaged << qint64(large.size()) << false;
        QTest::newRow("large, last name odd") << oddName << damaged << last << false;
        QTest::newRow("large, last Julian day 1")
            << lateDate << damaged << qint64(12 + 120 * (n - 1) + 44) << false;
        QTest::newRow("large, cut") << large.left(last + 2) << damaged << last << true;
        // A record in the middle announces more events than the rest of the file holds.
        const qint64 middle = 12 + 120 * (n / 2) + 116;
        QByteArray manyEvents = databaseBytes(makeStore(QList<Match>(n, Match())));
        qToBigEndian(quint32(20000), manyEvents.data() + middle);
        QTest::newRow("large, event count past the end") << manyEvents << damaged << middle << true;
        QByteArray oneMore = large;
        qToBigEndian(quint32(n + 1), oneMore.data() + 8);
        QTest::newRow("large, one match more announced")
            << oneMore << damaged << qint64(large.size()) << true;
        // A file is read a megabyte at a time: a record longer than that is read whole as well.
        QList<Match> longOne(n, fullMatch(1));
        longOne[n / 2].edit().referee = QString(700000, u'Ж');
        QTest::newRow("large, one record longer than a megabyte")
            << databaseBytes(makeStore(longOne)) << int(DatabaseResult::Ok) << qint64(-1) << false;
    }

    void rejected()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        const DatabaseResult result = readOver(bytes);
        QCOMPARE(int(result.status), status);
        QTEST(result.offset, "offset");
        QTEST(result.endsEarly, "endsEarly");
        QCOMPARE(result.version, status == DatabaseResult::UnsupportedVersion ? 2u : 0u);
        MatchStore store;
        QVERIFY(!result.ok() ||
                (readDatabaseBytes(bytes, store).ok() && databaseBytes(store) == bytes));
        // From a file, which is read a window at a time, the same verdict and the same matches.
        QTemporaryDir dir;
        const QString path = dir.filePath(u"read.swb"_s);
        QVERIFY(writeFile(path, bytes));
        MatchStore fromFile = makeStore(sentinel);
        const DatabaseResult again = readDatabase(path, fromFile);
        QCOMPARE(int(again.status), status);
        QVERIFY(again.offset == result.offset && again.endsEarly == result.endsEarly &&
                again.announced == result.announced && again.complete == result.complete);
        QCOMPARE(databaseBytes(fromFile), result.ok() ? bytes : databaseBytes(makeStore(sentinel)));
    }

    // The safe writer: whatever is planted while it writes, nothing lands outside the folder
    // named; the old file's mode is kept; a device is written in place; a temporary left by a
    // killed writer is cleared.
    void safeWriter_data()
    {
        QTest::addColumn<int>("situation");
        QTest::addColumn<int>("mode"); // the target's mode afterwards; 0: not checked
        QTest::newRow("a link planted at the name while writing") << int(LinkAtName) << 0644;
        QTest::newRow("the folder swapped for a link while writing") << int(FolderSwapped) << 0644;
        QTest::newRow("a private file stays private") << int(PrivateFile) << 0600;
        QTest::newRow("a read-only file stays read-only") << int(ReadOnlyFile) << 0444;
        QTest::newRow("a new file gets the mode new files get") << int(NewFile) << 0640;
        QTest::newRow("a link named by the user: its target replaced") << int(NamedLink) << 0;
        QTest::newRow("a link where links are not followed: replaced")
            << int(LinkNotFollowed) << 0640;
        QTest::newRow("a stale temporary of a dead writer removed") << int(StaleTemporary) << 0;
    }

    void safeWriter()
    {
        QFETCH(int, situation);
        QFETCH(int, mode);
        QTemporaryDir base;
        const QString dir = base.filePath(u"out"_s), outside = base.filePath(u"outside"_s);
        QVERIFY(QDir().mkpath(dir) && QDir().mkpath(outside));
        const QString target = dir + u"/file.swb"_s, victim = outside + u"/victim"_s;
        QVERIFY(writeFile(victim, "victim"));
        const QByteArray native = QFile::encodeName(target);
        if (situation != NewFile && situation != NamedLink && situation != LinkNotFollowed)
            QVERIFY(writeFile(target, "old"));
        if (situation == PrivateFile || situation == ReadOnlyFile)
            QCOMPARE(::chmod(native.constData(), mode_t(mode)), 0);
        if (situation == NamedLink || situation == LinkNotFollowed)
            QVERIFY(QFile::link(victim, target));
        QString staleName;
        if (situation == StaleTemporary) {
            // A process that has ended, as a killed writer has.
            const pid_t child = ::fork();
            if (child == 0)
                ::_exit(0);
            QVERIFY(child > 0 && ::waitpid(child, nullptr, 0) == child);
            staleName = u".file.swb.%1.ab12.swtmp"_s.arg(child);
            QVERIFY(writeFile(dir + u'/' + staleName, "stale") &&
                    writeFile(dir + u"/.file.swb.keep"_s, "not ours"));
        }
        const mode_t mask = ::umask(027);
        setBeforeCommitHookForTesting([&](const QString &) {
            if (situation == LinkAtName) {
                QFile::remove(target);
                QFile::link(victim, target);
            } else if (situation == FolderSwapped) {
                QDir().rename(dir, dir + u"-moved"_s);
                QFile::link(outside, dir);
            }
        });
        const SystemError error =
            writeFileSafely(target, QByteArray("new"), true, situation != LinkNotFollowed);
        setBeforeCommitHookForTesting({});
        ::umask(mask);
        QVERIFY2(!error.isError(), qPrintable(error.text));

        QCOMPARE(readFile(victim), QByteArray(situation == NamedLink ? "new" : "victim"));
        QCOMPARE(QDir(outside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"victim"_s});
        const QString written = situation == FolderSwapped ? dir + u"-moved/file.swb"_s : target;
        QCOMPARE(readFile(written), QByteArray("new"));
        QCOMPARE(QFileInfo(target).isSymLink(), situation == NamedLink);
        struct stat info;
        QCOMPARE(::lstat(QFile::encodeName(written).constData(), &info), 0);
        if (mode != 0)
            QCOMPARE(int(info.st_mode & 07777), mode);
        // Nothing else is left beside the file: no temporary, the stale one gone, others kept.
        QStringList expected{u"file.swb"_s};
        if (situation == StaleTemporary)
            expected.prepend(u".file.swb.keep"_s);
        QCOMPARE(
            QDir(QFileInfo(written).absolutePath())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                           QDir::Name),
            expected);
    }

    // A device is written in place and stays a device.
    void safeWriterDevice()
    {
        QVERIFY(!writeFileSafely(u"/dev/null"_s, QByteArray("x")).isError());
        QVERIFY(QFileInfo(u"/dev/null"_s).exists() && !QFileInfo(u"/dev/null"_s).isFile());
    }

    // No file, or a file another program rewrites while it is read: refused or told, never a
    // crash or a hang, and the store is left alone.
    void unsteadyFiles()
    {
        QTemporaryDir dir;
        const QString pipe = dir.filePath(u"pipe.swb"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
        MatchStore store = makeStore(sentinel);
        for (const QString &path : {pipe, dir.path()})
            QCOMPARE(readDatabase(path, store).status, DatabaseResult::NotRegularFile);

        const QString path = dir.filePath(u"big.swb"_s);
        const QByteArray bytes = databaseBytes(makeStore(QList<Match>(40000, fullMatch(1))));
        QVERIFY(writeDatabase(path, makeStore(QList<Match>(40000, fullMatch(1)))).ok());
        std::atomic<bool> done{false};
        std::thread shrinker([&] {
            const QByteArray native = QFile::encodeName(path);
            for (int i = 0; !done; ++i)
                (void)::truncate(native.constData(), i % 2 ? bytes.size() / 3 : bytes.size());
        });
        QSet<int> seen;
        for (int round = 0; round < 20; ++round) {
            MatchStore read = makeStore(sentinel);
            const DatabaseResult result = readDatabase(path, read);
            seen.insert(result.status);
            QVERIFY(result.ok() || result.status == DatabaseResult::Damaged ||
                    result.status == DatabaseResult::ChangedWhileReading);
            QVERIFY(result.ok() || read.count() == sentinel.size());
        }
        done = true;
        shrinker.join();
        QVERIFY(!seen.contains(DatabaseResult::CannotOpen));
    }

    // The store keeps each text once: equal texts share a number however they arrive, null and
    // empty stay apart, and texts appended as unique are never found by content.
    void textNumbers()
    {
        TextTable table;
        const QString a = u"Жук"_s;
        const QByteArray bigEndian = QByteArray::fromHex("0416 0443 043a");
        const auto *bytes = reinterpret_cast<const uchar *>(bigEndian.constData());
        const TextId id = table.intern(a);
        QCOMPARE(table.internBigEndian(bytes, 3), id);
        QCOMPARE(table.intern(QString(a.constData(), a.size())), id);
        // Texts of every length a hash reads differently: from the file's bytes and from a
        // QString they find the same number.
        for (int length = 1; length <= 20; ++length) {
            const QString text = u"Жёлтая карточка, 90+3"_s.left(length);
            QByteArray raw(length * 2, Qt::Uninitialized);
            qToBigEndian<char16_t>(text.utf16(), length, raw.data());
            const TextId first = table.intern(text);
            QCOMPARE(
                table.internBigEndian(reinterpret_cast<const uchar *>(raw.constData()), length),
                first);
            QCOMPARE(table.find(text), first);
        }
        QCOMPARE(table.intern(QString()), TextTable::nullText);
        QCOMPARE(table.intern(u""_s), TextTable::emptyText);
        QVERIFY(table.text(TextTable::nullText).isNull() &&
                !table.text(TextTable::emptyText).isNull());
        const PlainTextId unique = table.append(u"Жук-2"_s);
        QCOMPARE(table.find(u"Жук-2"_s), TextTable::noText);
        QCOMPARE(table.string(unique), u"Жук-2"_s);
        // A plain number past the last (a slip, or damage) reads as the empty text, not beyond.
        QVERIFY(table.string(PlainTextId{unique.n + 1}) == u""_s && table.view({~0u}).isEmpty());

        // Another table's texts join in its order, equal ones merged, plain ones after this
        // table's own.
        TextTable other;
        const TextId b = other.intern(u"Оса"_s), c = other.intern(a);
        const PlainTextId d = other.append(a), e = other.append(u"Оса-2"_s);
        const TextTable::NumberMap ids = table.absorb(std::move(other));
        QCOMPARE(ids(c), id);
        QVERIFY(ids(b) > id && ids(d).n > unique.n && ids(e).n > ids(d).n);
        QCOMPARE(table.text(ids(b)), u"Оса"_s);
        QCOMPARE(table.string(ids(d)) + table.string(ids(e)) + table.string(unique),
                 a + u"Оса-2Жук-2"_s);
        QCOMPARE(table.find(u"Оса"_s), ids(b));
    }

    void truncatedOrFlippedBytes()
    {
        const QByteArray valid = databaseBytes(makeStore({fullMatch(1), Match()}));
        for (qsizetype size = 0; size < valid.size(); ++size) {
            // Cut short anywhere: damaged, and told as a file that ends before its matches do.
            const DatabaseResult cut = readOver(valid.left(size));
            QVERIFY2(cut.status == DatabaseResult::Damaged && cut.endsEarly &&
                         cut.announced == (size >= 12 ? 2u : 0u) && cut.complete <= 1,
                     qPrintable(QString::number(size)));
        }
        QRandomGenerator random(20261206);
        int readOk = 0;
        for (int round = 0; round < 2000; ++round) {
            QByteArray bytes = valid;
            for (int flips = 1 + int(random.bounded(3)); flips > 0; --flips)
                bytes[random.bounded(int(bytes.size()))] ^= char(1 << random.bounded(8));
            const DatabaseResult result = readOver(bytes);
            readOk += result.ok();
            QVERIFY2(result.status >= 0, qPrintable(QString::number(round)));
        }
        // Flips inside the text of strings leave a readable file: both outcomes occur.
        QVERIFY(readOk > 0 && readOk < 2000);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
