// Database file benchmark: write and read times, file size and peak resident memory, on generated
// results-only matches and on full reports. Each read runs in a fresh child process, so that its
// peak memory is the reader's own. Times are wall clock, with the processor time in brackets.
//
//   bench_database [--results N] [--full N] [--runs R] [--sharing]
//
// --sharing also times an experimental decoder that shares repeated texts (see SharingDecoder).
#include "bench/benchsupport.h"
#include "bench/generator.h"
#include "model/database.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

using namespace Qt::Literals::StringLiterals;

namespace {

// An experiment, not the program's reader: the same format decoded with repeated texts shared.
// Names of teams, players, cities, referees and the like recur in thousands of records; looking
// each text up by its bytes and sharing one QString saves an allocation and its page faults per
// repeat. It assumes a well-formed file (it checks only the bounds) and shows what the sharing
// would gain.
class SharingDecoder
{
public:
    explicit SharingDecoder(const QByteArray &bytes)
        : m_p(reinterpret_cast<const uchar *>(bytes.constData())), m_end(m_p + bytes.size())
    {}

    bool failed() const { return m_failed; }

    quint32 u32()
    {
        if (m_end - m_p < 4) {
            m_failed = true;
            return 0;
        }
        const quint32 v = qFromBigEndian<quint32>(m_p);
        m_p += 4;
        return v;
    }

    // share: look the text up among those met before (not for texts unique to one record).
    QString string(bool share = true)
    {
        const quint32 length = u32();
        if (m_failed || length == 0xFFFFFFFF)
            return QString();
        if (length > quint32(m_end - m_p) || (length & 1) != 0) {
            m_failed = true;
            return QString();
        }
        const uchar *text = m_p;
        m_p += length;
        if (length == 0)
            return u""_s;
        if (share && length <= 128) {
            const QByteArray key =
                QByteArray::fromRawData(reinterpret_cast<const char *>(text), length);
            auto it = m_shared.constFind(key);
            if (it != m_shared.constEnd())
                return *it;
            return *m_shared.insert(key, decode(text, length));
        }
        return decode(text, length);
    }

private:
    static QString decode(const uchar *text, quint32 length)
    {
        QString s(length / 2, Qt::Uninitialized);
        qFromBigEndian<char16_t>(text, length / 2, s.data());
        return s;
    }

    const uchar *m_p;
    const uchar *m_end;
    bool m_failed = false;
    QHash<QByteArray, QString> m_shared;
};

bool decodeSharing(const QByteArray &bytes, MatchStore &store)
{
    SharingDecoder in(bytes);
    if (in.u32() != databaseMagic || in.u32() != quint32(databaseVersion))
        return false;
    const quint32 n = in.u32();
    for (quint32 i = 0; i < n && !in.failed(); ++i) {
        Match match;
        MatchData &m = match.edit();
        m.fileName = in.string(false);
        m.id = in.string(false);
        m.round = in.string();
        m.tournament = in.string();
        m.goals1 = in.string();
        m.goals2 = in.string();
        m.extra1 = in.string();
        m.extra2 = in.string();
        m.penalties1 = in.string();
        m.penalties2 = in.string();
        m.time = in.string();
        const quint32 day = in.u32();
        m.date = day == 0 ? QDate() : QDate::fromJulianDay(day);
        for (QString *field : {&m.coach1Id, &m.coach1, &m.coach2Id, &m.coach2, &m.team1Id, &m.team1,
                               &m.team2Id, &m.team2, &m.stadiumId, &m.stadium, &m.city,
                               &m.attendance, &m.refereeId, &m.referee, &m.refereeCity})
            *field = in.string();
        for (QList<PlayerEntry> *players : {&m.players1, &m.players2}) {
            const quint32 count = std::min(in.u32(), quint32(64));
            players->reserve(count);
            for (quint32 k = 0; k < count && !in.failed(); ++k) {
                PlayerEntry player;
                player.id = in.string();
                player.name = in.string();
                players->append(player);
            }
        }
        const quint32 events = std::min(in.u32(), quint32(1024));
        m.events.reserve(events);
        for (quint32 k = 0; k < events && !in.failed(); ++k) {
            MatchEvent e;
            e.type = in.string();
            e.time = in.string();
            e.team = in.string();
            e.comment = in.string();
            e.playerid = in.string();
            e.player = in.string();
            e.playerid2 = in.string();
            e.player2 = in.string();
            m.events.append(e);
        }
        store.addTournament(m.tournament);
        store.append(match);
    }
    return !in.failed();
}

// The child: reads the file once and prints the wall and processor milliseconds of reading the
// bytes and of decoding them, the matches read, VmRSS before and VmHWM after, in kB.
int readOnce(const QString &path, bool sharing)
{
    const qint64 before = bench::statusKb("VmRSS");
    QByteArray bytes;
    const bench::Timing file = bench::bestOf(1, [&] {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            bytes = f.readAll();
    });
    MatchStore store;
    bool ok = false;
    const bench::Timing decode = bench::bestOf(1, [&] {
        QDate from = emptyRangeFrom();
        QDate till = emptyRangeTill();
        ok = sharing ? decodeSharing(bytes, store)
                     : readDatabaseBytes(bytes, store, from, till).ok();
    });
    if (!ok)
        return 1;
    bench::out() << file.wallMs << ' ' << file.cpuMs << ' ' << decode.wallMs << ' ' << decode.cpuMs
                 << ' ' << store.count() << ' ' << before << ' ' << bench::statusKb("VmHWM")
                 << Qt::endl;
    return 0;
}

QString rate(double megabytes, const bench::Timing &t)
{
    return u"%1 ms [%2 ms], %3 MB/s [%4 MB/s]"_s.arg(t.wallMs, 0, 'f', 0)
        .arg(t.cpuMs, 0, 'f', 0)
        .arg(megabytes / t.wallMs * 1000, 0, 'f', 0)
        .arg(megabytes / t.cpuMs * 1000, 0, 'f', 0);
}

struct ReadFigures
{
    bench::Timing read;
    bench::Timing file;
    bench::Timing decode;
    qint64 before = 0;
    qint64 peak = 0;
};

// Reads path in runs fresh child processes with the given mode ("--read", "--read-sharing").
// With hugePages the child's malloc is asked to back its heap with transparent huge pages.
ReadFigures readInChildren(const QString &path, int runs, const QString &mode, bool hugePages)
{
    ReadFigures figures;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        if (hugePages) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"GLIBC_TUNABLES"_s, u"glibc.malloc.hugetlb=1"_s);
            child.setProcessEnvironment(environment);
        }
        child.start(QCoreApplication::applicationFilePath(), {mode, path});
        child.waitForFinished(-1);
        const QList<QByteArray> f = child.readAllStandardOutput().simplified().split(' ');
        if (child.exitCode() != 0 || f.size() != 7)
            qFatal("the reading child failed");
        const double wall = f.at(0).toDouble() + f.at(2).toDouble();
        const double cpu = f.at(1).toDouble() + f.at(3).toDouble();
        if (cpu < figures.read.cpuMs) {
            figures.file = {f.at(0).toDouble(), f.at(1).toDouble()};
            figures.decode = {f.at(2).toDouble(), f.at(3).toDouble()};
        }
        figures.read.wallMs = std::min(figures.read.wallMs, wall);
        figures.read.cpuMs = std::min(figures.read.cpuMs, cpu);
        figures.before = f.at(5).toLongLong();
        figures.peak = std::max(figures.peak, f.at(6).toLongLong());
    }
    return figures;
}

void printRead(const QString &label, double megabytes, const ReadFigures &f)
{
    bench::out() << "  " << label << rate(megabytes, f.read) << "\n"
                 << "        of which reading the bytes " << f.file.wallMs << " ms ["
                 << f.file.cpuMs << " ms], decoding " << f.decode.wallMs << " ms ["
                 << f.decode.cpuMs << " ms]\n"
                 << "        peak resident after reading " << f.peak / 1024
                 << " MB (before reading " << f.before / 1024 << " MB)\n";
}

void measure(const QString &label, const GeneratorOptions &options, int runs,
             const QString &directory, bool sharing)
{
    MatchStore store;
    QDate from;
    QDate till;
    generateInto(options, store, from, till);
    const QString path = directory + u"/bench.swb"_s;

    const bench::Timing write = bench::bestOf(runs, [&] {
        if (!writeDatabase(path, store).ok())
            qFatal("cannot write %s", qPrintable(path));
    });
    const double megabytes = QFileInfo(path).size() / 1e6;
    bench::out() << label << ": " << store.count() << " matches, file "
                 << QString::number(megabytes, 'f', 1) << " MB\n"
                 << "  write " << rate(megabytes, write) << "\n";
    printRead(u"read  "_s, megabytes, readInChildren(path, runs, u"--read"_s, false));
    printRead(u"read with malloc on huge pages (GLIBC_TUNABLES=glibc.malloc.hugetlb=1): "_s,
              megabytes, readInChildren(path, runs, u"--read"_s, true));
    if (sharing) {
        printRead(u"read, experiment sharing repeated texts: "_s, megabytes,
                  readInChildren(path, runs, u"--read-sharing"_s, false));
        printRead(u"read, experiment sharing repeated texts, huge pages: "_s, megabytes,
                  readInChildren(path, runs, u"--read-sharing"_s, true));
    }
    bench::out().flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == u"--read"_s)
        return readOnce(args.at(2), false);
    if (args.size() == 3 && args.at(1) == u"--read-sharing"_s)
        return readOnce(args.at(2), true);

    const int runs = int(bench::option(args, u"--runs"_s, 3));
    const bool sharing = args.contains(u"--sharing"_s);
    QTemporaryDir directory;
    bench::out().setRealNumberPrecision(4);
    bench::out() << "machine: " << bench::machine() << "\nbest of " << runs
                 << " runs; wall clock [processor time]\n";

    GeneratorOptions results;
    results.matches = bench::option(args, u"--results"_s, 200000);
    results.fullReports = false;
    if (results.matches > 0)
        measure(u"results only"_s, results, runs, directory.path(), sharing);

    GeneratorOptions full;
    full.matches = bench::option(args, u"--full"_s, 50000);
    if (full.matches > 0)
        measure(u"full reports"_s, full, runs, directory.path(), sharing);
    return 0;
}
