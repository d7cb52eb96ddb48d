#include "model/database.h"

#include "model/fileio.h"

#include <QBuffer>
#include <QHash>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr quint32 nullStringLength = 0xFFFFFFFF;
// The smallest possible sizes, used to reject counts that the remaining bytes cannot hold.
constexpr qint64 minPlayerSize = 2 * 4;
constexpr qint64 minEventSize = 8 * 4;
constexpr qint64 minMatchSize = 26 * 4 + 4 + 3 * 4;

// A bounds-checked cursor over the file's bytes. The first failure sticks; later reads return
// empty values and consume nothing.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_data(reinterpret_cast<const uchar *>(bytes.constData())), m_size(bytes.size())
    {}
    // The bytes from from up to (not including) till, offsets still counted from the start.
    Reader(const QByteArray &bytes, qint64 from, qint64 till)
        : m_data(reinterpret_cast<const uchar *>(bytes.constData())), m_size(till), m_pos(from)
    {}

    bool failed() const { return m_failed; }
    qint64 offset() const { return m_failed ? m_failOffset : m_pos; }
    qint64 remaining() const { return m_size - m_pos; }
    bool atEnd() const { return m_pos == m_size; }

    quint32 u32()
    {
        if (m_failed || remaining() < 4) {
            m_endedEarly = m_endedEarly || !m_failed;
            fail();
            return 0;
        }
        const quint32 value = qFromBigEndian<quint32>(m_data + m_pos);
        m_pos += 4;
        return value;
    }

    // A string that recurs across records (a team, a referee, a player, an event kind): equal
    // texts share one allocation, which saves most of the memory and most of the time of a read.
    QString string()
    {
        const QByteArrayView raw = rawString();
        if (raw.isEmpty())
            return m_lastWasNull ? QString() : QStringLiteral("");
        // Most texts repeat one met a moment ago (the teams, the minutes, the event kinds, a
        // player of the line-up in the events): a small table of recent texts answers those from
        // memory still in the cache, before the pool is asked.
        Recent &recent = m_recent[recentSlot(raw)];
        if (recent.size == raw.size() &&
            std::memcmp(recent.data, raw.data(), size_t(raw.size())) == 0)
            return recent.text;
        auto it = m_pool.constFind(raw);
        if (it == m_pool.cend())
            it = m_pool.insert(raw, decode(raw));
        recent.data = raw.data();
        recent.size = raw.size();
        recent.text = it.value();
        return it.value();
    }

    // A string that is different in every record (the file name, the match ID).
    QString uniqueString()
    {
        const QByteArrayView raw = rawString();
        if (raw.isEmpty())
            return m_lastWasNull ? QString() : QStringLiteral("");
        return decode(raw);
    }

    // A Julian day in years 1 to 9999, or 0 for no date; anything else no writer produces.
    QDate date()
    {
        const qint64 start = m_pos;
        const quint32 day = u32();
        if (day == 0)
            return QDate();
        static const qint64 first = QDate(1, 1, 1).toJulianDay();
        static const qint64 last = QDate(9999, 12, 31).toJulianDay();
        if (qint64(day) < first || qint64(day) > last) {
            failAt(start);
            return QDate();
        }
        return QDate::fromJulianDay(day);
    }

    // A list count, rejected when the remaining bytes cannot hold that many items.
    quint32 count(qint64 minItemSize)
    {
        const qint64 start = m_pos;
        const quint32 n = u32();
        if (!m_failed && qint64(n) * minItemSize > remaining()) {
            failAt(start);
            m_endedEarly = true;
            return 0;
        }
        return n;
    }

    // True when the failure was running out of bytes rather than a value no writer makes.
    bool endedEarly() const { return m_endedEarly; }

    // The UTF-16 bytes of the next string; empty for a null or empty one (m_lastWasNull tells).
    QByteArrayView rawString()
    {
        const qint64 start = m_pos;
        const quint32 length = u32();
        m_lastWasNull = m_failed || length == nullStringLength;
        if (m_lastWasNull)
            return {};
        if ((length & 1) != 0 || length > remaining()) {
            m_endedEarly = (length & 1) == 0 && length != nullStringLength;
            failAt(start);
            m_lastWasNull = true;
            return {};
        }
        const QByteArrayView raw(m_data + m_pos, length);
        m_pos += length;
        return raw;
    }

    static QString decode(QByteArrayView raw)
    {
        const qsizetype units = raw.size() / 2;
        QString text(units, Qt::Uninitialized);
        qFromBigEndian<char16_t>(raw.data(), units, text.data());
        return text;
    }

    void failAt(qint64 offset)
    {
        if (!m_failed) {
            m_failed = true;
            m_failOffset = offset;
        }
    }

private:
    void fail() { failAt(m_pos); }

    const uchar *m_data;
    qint64 m_size;
    qint64 m_pos = 0;
    qint64 m_failOffset = 0;
    bool m_failed = false;
    bool m_lastWasNull = false;
    bool m_endedEarly = false;
    struct Recent
    {
        const char *data = nullptr;
        qsizetype size = -1;
        QString text;
    };
    static size_t recentSlot(QByteArrayView raw)
    {
        // The length and the last character tell most texts of a match apart.
        const auto *end = reinterpret_cast<const uchar *>(raw.data() + raw.size());
        const uchar beforeLast = raw.size() > 2 ? end[-3] : 0;
        return (size_t(raw.size()) * 31 + end[-1] * 7 + beforeLast) & (recentSlots - 1);
    }
    static constexpr size_t recentSlots = 256;

    QHash<QByteArrayView, QString> m_pool; // views into the bytes being read
    std::array<Recent, recentSlots> m_recent{};
};

void readPlayers(Reader &in, QList<PlayerEntry> &players)
{
    const quint32 n = in.count(minPlayerSize);
    players.reserve(n);
    for (quint32 i = 0; i < n && !in.failed(); ++i) {
        PlayerEntry player;
        player.id = in.string();
        player.name = in.string();
        players.append(player);
    }
}

void readMatch(Reader &in, MatchData &m)
{
    m.fileName = in.uniqueString();
    m.id = in.uniqueString();
    m.round = in.string();
    m.tournament = in.string();
    m.goals1 = in.string();
    m.goals2 = in.string();
    m.extra1 = in.string();
    m.extra2 = in.string();
    m.penalties1 = in.string();
    m.penalties2 = in.string();
    m.time = in.string();
    m.date = in.date();
    m.coach1Id = in.string();
    m.coach1 = in.string();
    m.coach2Id = in.string();
    m.coach2 = in.string();
    m.team1Id = in.string();
    m.team1 = in.string();
    m.team2Id = in.string();
    m.team2 = in.string();
    m.stadiumId = in.string();
    m.stadium = in.string();
    m.city = in.string();
    m.attendance = in.string();
    m.refereeId = in.string();
    m.referee = in.string();
    m.refereeCity = in.string();
    readPlayers(in, m.players1);
    readPlayers(in, m.players2);
    const quint32 n = in.count(minEventSize);
    m.events.reserve(n);
    for (quint32 i = 0; i < n && !in.failed(); ++i) {
        MatchEvent event;
        event.type = in.string();
        event.time = in.string();
        event.team = in.string();
        event.comment = in.string();
        event.playerid = in.string();
        event.player = in.string();
        event.playerid2 = in.string();
        event.player2 = in.string();
        m.events.append(event);
    }
}

// Steps over one match record as readMatch reads it, with the same checks, decoding nothing.
void skipMatch(Reader &in)
{
    for (int i = 0; i < 11; ++i)
        in.rawString();
    in.date();
    for (int i = 0; i < 16; ++i)
        in.rawString();
    for (int side = 0; side < 2; ++side) {
        const quint32 n = in.count(minPlayerSize);
        for (quint32 i = 0; i < n && !in.failed(); ++i) {
            in.rawString();
            in.rawString();
        }
    }
    const quint32 n = in.count(minEventSize);
    for (quint32 i = 0; i < n && !in.failed(); ++i) {
        for (int k = 0; k < 8; ++k)
            in.rawString();
    }
}

// Below this size a file is read on one thread: starting threads would cost more than it saves.
constexpr qsizetype parallelReadBytes = 256 * 1024;

// Reads the n records that follow in on every core: a quick pass finds where each record begins
// (and checks the whole file as the reader does), then each core decodes a share of the records
// with texts interned per share. Returns false, consuming nothing of in, when the quick pass finds
// the file damaged; the caller then reads it on one thread to say where.
bool readInParallel(const QByteArray &bytes, Reader &in, quint32 n, QList<Match> &matches)
{
    const int threads = QThread::idealThreadCount();
    if (threads < 2 || bytes.size() < parallelReadBytes)
        return false;
    Reader scan = in;
    std::vector<qint64> starts;
    starts.reserve(size_t(std::min<qint64>(n, scan.remaining() / minMatchSize)) + 1);
    for (quint32 i = 0; i < n && !scan.failed(); ++i) {
        starts.push_back(scan.offset());
        skipMatch(scan);
    }
    if (scan.failed() || !scan.atEnd())
        return false;
    starts.push_back(scan.offset());

    // Shares of about equal bytes, in file order.
    const int shares = threads;
    std::vector<size_t> bounds{0};
    for (int k = 1; k < shares; ++k) {
        const qint64 target = starts.front() + (starts.back() - starts.front()) * k / shares;
        bounds.push_back(
            size_t(std::lower_bound(starts.begin(), starts.end() - 1, target) - starts.begin()));
    }
    bounds.push_back(n);
    std::vector<QList<Match>> parts(static_cast<size_t>(shares));
    std::vector<char> failed(static_cast<size_t>(shares), 0);
    const auto decode = [&](int k) {
        const size_t first = bounds[size_t(k)], last = std::max(first, bounds[size_t(k) + 1]);
        Reader share(bytes, starts[first], starts[last]);
        QList<Match> &part = parts[size_t(k)];
        part.reserve(qsizetype(last - first));
        for (size_t i = first; i < last; ++i) {
            Match match;
            readMatch(share, match.edit());
            part.append(match);
        }
        failed[size_t(k)] = share.failed();
    };
    std::vector<std::thread> helpers;
    for (int k = 1; k < shares; ++k)
        helpers.emplace_back(decode, k);
    decode(0);
    for (std::thread &helper : helpers)
        helper.join();
    if (std::find(failed.begin(), failed.end(), 1) != failed.end())
        return false;
    matches.reserve(n);
    for (const QList<Match> &part : parts)
        matches.append(part);
    in = scan;
    return true;
}

// Collects the output in a buffer and hands it to the device in large pieces.
class Writer
{
public:
    explicit Writer(QIODevice &device) : m_device(device) { m_buffer.reserve(chunk + 4096); }

    void u32(quint32 value)
    {
        char bytes[4];
        qToBigEndian(value, bytes);
        m_buffer.append(bytes, 4);
        flushIfFull();
    }

    void string(const QString &text)
    {
        if (text.isNull()) {
            u32(nullStringLength);
            return;
        }
        const qsizetype units = text.size();
        u32(quint32(units * 2));
        const qsizetype at = m_buffer.size();
        m_buffer.resize(at + units * 2);
        qToBigEndian<char16_t>(text.utf16(), units, m_buffer.data() + at);
        flushIfFull();
    }

    void date(const QDate &date) { u32(date.isValid() ? quint32(date.toJulianDay()) : 0); }

    bool finish()
    {
        flush();
        return m_ok;
    }

private:
    static constexpr qsizetype chunk = 1 << 20;

    void flushIfFull()
    {
        if (m_buffer.size() >= chunk)
            flush();
    }
    void flush()
    {
        if (m_ok && !m_buffer.isEmpty() && m_device.write(m_buffer) != m_buffer.size())
            m_ok = false;
        m_buffer.clear();
    }

    QIODevice &m_device;
    QByteArray m_buffer;
    bool m_ok = true;
};

void writePlayers(Writer &out, const QList<PlayerEntry> &players)
{
    out.u32(quint32(players.size()));
    for (const PlayerEntry &player : players) {
        out.string(player.id);
        out.string(player.name);
    }
}

void writeMatch(Writer &out, const MatchData &m)
{
    out.string(m.fileName);
    out.string(m.id);
    out.string(m.round);
    out.string(m.tournament);
    out.string(m.goals1);
    out.string(m.goals2);
    out.string(m.extra1);
    out.string(m.extra2);
    out.string(m.penalties1);
    out.string(m.penalties2);
    out.string(m.time);
    out.date(m.date);
    out.string(m.coach1Id);
    out.string(m.coach1);
    out.string(m.coach2Id);
    out.string(m.coach2);
    out.string(m.team1Id);
    out.string(m.team1);
    out.string(m.team2Id);
    out.string(m.team2);
    out.string(m.stadiumId);
    out.string(m.stadium);
    out.string(m.city);
    out.string(m.attendance);
    out.string(m.refereeId);
    out.string(m.referee);
    out.string(m.refereeCity);
    writePlayers(out, m.players1);
    writePlayers(out, m.players2);
    out.u32(quint32(m.events.size()));
    for (const MatchEvent &event : m.events) {
        out.string(event.type);
        out.string(event.time);
        out.string(event.team);
        out.string(event.comment);
        out.string(event.playerid);
        out.string(event.player);
        out.string(event.playerid2);
        out.string(event.player2);
    }
}

} // namespace

DatabaseResult readDatabaseBytes(const QByteArray &bytes, MatchStore &store)
{
    DatabaseResult result;
    // Fewer bytes than the magic: a database cut short if they begin it, else some other file.
    static const char magicBytes[4] = {'\xF0', '\x7B', '\xA1', '\x10'};
    if (bytes.size() < 4) {
        if (std::memcmp(bytes.constData(), magicBytes, size_t(bytes.size())) == 0) {
            result.status = DatabaseResult::Damaged;
            result.offset = 0;
            result.endsEarly = true;
        } else {
            result.status = DatabaseResult::NotDatabase;
        }
        return result;
    }
    Reader in(bytes);
    if (in.u32() != databaseMagic) {
        result.status = DatabaseResult::NotDatabase;
        return result;
    }
    const quint32 version = in.u32();
    if (in.failed()) {
        result.status = DatabaseResult::Damaged;
        result.offset = in.offset();
        result.endsEarly = true;
        return result;
    }
    if (version != quint32(databaseVersion)) {
        result.status = DatabaseResult::UnsupportedVersion;
        result.version = version;
        return result;
    }

    MatchStore fresh;
    // Matches are read one by one, so a count larger than the file holds costs nothing up front:
    // reading as far as the bytes go tells how many of them are whole.
    const quint32 n = in.u32();
    QList<Match> matches;
    if (!in.failed() && readInParallel(bytes, in, n, matches)) {
        for (const Match &match : std::as_const(matches))
            fresh.add(match);
    }
    for (quint32 i = quint32(fresh.count()); i < n && !in.failed(); ++i) {
        Match match;
        MatchData &m = match.edit();
        readMatch(in, m);
        if (in.failed())
            break;
        fresh.add(match);
    }
    // Nothing follows the last record; bytes left over mean a count was damaged.
    if (!in.failed() && !in.atEnd())
        in.failAt(in.offset());
    if (in.failed()) {
        result.status = DatabaseResult::Damaged;
        result.offset = in.offset();
        result.endsEarly = in.endedEarly();
        // The count as the header gives it, also when it is more than the file can hold.
        result.announced = bytes.size() >= 12 ? qFromBigEndian<quint32>(bytes.constData() + 8) : 0;
        result.complete = quint32(fresh.count());
        return result;
    }

    fresh.setModified(false);
    store.swap(fresh);
    return result;
}

DatabaseResult readDatabase(const QString &path, MatchStore &store)
{
    DatabaseResult result;
    // Some other kind of file, however large, is told by its first bytes without reading it all.
    const FileContents file = readWholeFile(path, [](const QByteArray &head) {
        return head.size() < 4 || qFromBigEndian<quint32>(head.constData()) == databaseMagic;
    });
    switch (file.status) {
    case FileContents::Ok:
        return readDatabaseBytes(file.bytes, store);
    case FileContents::CannotOpen:
        result.status = DatabaseResult::CannotOpen;
        result.systemError = file.error.text;
        result.systemErrno = file.error.code;
        break;
    case FileContents::NotRegular:
        result.status = DatabaseResult::NotRegularFile;
        result.systemErrno = file.error.code;
        break;
    case FileContents::Changed:
        result.status = DatabaseResult::ChangedWhileReading;
        break;
    case FileContents::Unwanted:
        result.status = DatabaseResult::NotDatabase;
        break;
    }
    return result;
}

bool writeDatabaseTo(QIODevice &device, const MatchStore &store)
{
    Writer out(device);
    out.u32(databaseMagic);
    out.u32(quint32(databaseVersion));
    out.u32(quint32(store.count()));
    for (const Match &match : store.matches())
        writeMatch(out, *match);
    return out.finish();
}

DatabaseResult writeDatabase(const QString &path, const MatchStore &store)
{
    DatabaseResult result;
    const SystemError error = writeFileSafely(
        path, [&store](QIODevice &device) { return writeDatabaseTo(device, store); });
    if (error.isError()) {
        result.status = DatabaseResult::CannotWrite;
        result.systemError = error.text;
        result.systemErrno = error.code;
    }
    return result;
}

QByteArray databaseBytes(const MatchStore &store)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeDatabaseTo(buffer, store);
    return bytes;
}
