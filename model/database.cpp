#include "model/database.h"

#include "model/fileio.h"

#include <QBuffer>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
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

    // The next text, interned into table (equal texts share one number), or, with unique set,
    // appended as a number of its own (file names and match IDs differ from record to record).
    TextId text(TextTable &table, bool unique = false)
    {
        const QByteArrayView raw = rawString();
        if (raw.isEmpty())
            return m_lastWasNull ? TextTable::nullText : TextTable::emptyText;
        const auto *bytes = reinterpret_cast<const uchar *>(raw.data());
        return unique ? table.appendBigEndian(bytes, raw.size() / 2)
                      : table.internBigEndian(bytes, raw.size() / 2);
    }

    // A Julian day in years 1 to 9999, or 0 for no date; anything else no writer produces.
    qint32 julianDay()
    {
        const qint64 start = m_pos;
        const quint32 day = u32();
        if (day == 0)
            return 0;
        static const qint64 first = QDate(1, 1, 1).toJulianDay();
        static const qint64 last = QDate(9999, 12, 31).toJulianDay();
        if (qint64(day) < first || qint64(day) > last) {
            failAt(start);
            return 0;
        }
        return qint32(day);
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
};

// Reads one match record into store: its texts into the store's table, its line-ups and events
// onto the shared arrays, then the record. Returns false, adding no record, when in fails.
bool readMatch(Reader &in, MatchStore &store)
{
    TextTable &table = store.textTable();
    MatchRecord r;
    r.texts[FileNameField] = in.text(table, true);
    r.texts[IdField] = in.text(table, true);
    for (int field = RoundField; field <= TimeField; ++field)
        r.texts[size_t(field)] = in.text(table);
    r.julianDay = in.julianDay();
    for (int field = Coach1IdField; field < MatchFieldCount; ++field)
        r.texts[size_t(field)] = in.text(table);
    std::vector<LineupEntry> &lineups = store.lineups();
    r.lineup = qint64(lineups.size());
    for (quint32 *side : {&r.players1, &r.players2}) {
        const quint32 n = in.count(minPlayerSize);
        for (quint32 i = 0; i < n && !in.failed(); ++i) {
            const TextId id = in.text(table);
            lineups.push_back(LineupEntry{id, in.text(table)});
        }
        *side = n;
    }
    std::vector<EventRecord> &events = store.eventRecords();
    r.events = qint64(events.size());
    r.eventCount = in.count(minEventSize);
    for (quint32 i = 0; i < r.eventCount && !in.failed(); ++i) {
        EventRecord event;
        for (TextId &id : event.texts)
            id = in.text(table);
        events.push_back(event);
    }
    if (in.failed())
        return false;
    store.addRecord(r);
    return true;
}

// Steps over one match record as readMatch reads it, with the same checks, decoding nothing;
// counts its line-up entries and events.
void skipMatch(Reader &in, qint64 &lineupEntries, qint64 &events)
{
    for (int field = FileNameField; field <= TimeField; ++field)
        in.rawString();
    in.julianDay();
    for (int field = Coach1IdField; field < MatchFieldCount; ++field)
        in.rawString();
    for (int side = 0; side < 2; ++side) {
        const quint32 n = in.count(minPlayerSize);
        for (quint32 i = 0; i < n && !in.failed(); ++i) {
            in.rawString();
            in.rawString();
        }
        lineupEntries += n;
    }
    const quint32 n = in.count(minEventSize);
    for (quint32 i = 0; i < n && !in.failed(); ++i) {
        for (int k = 0; k < 8; ++k)
            in.rawString();
    }
    events += n;
}

// Below this size a file is read on one thread: starting threads would cost more than it saves.
constexpr qsizetype parallelReadBytes = 256 * 1024;

// Reads the n records that follow in into store on every core: a quick pass finds where each
// record begins (and checks the whole file as the reader does), then each core decodes a share of
// the records into a store of its own, and the shares are appended in file order. Returns false,
// consuming nothing of in and adding nothing to store, when the quick pass finds the file damaged;
// the caller then reads it on one thread to say where.
//
// With release given, each core hands the bytes it has decoded back to the system as it goes, so
// that the file and the store it becomes are hardly ever in memory together.
using ReleaseBytes = std::function<void(qint64 from, qint64 till)>;

bool readInParallel(const QByteArray &bytes, Reader &in, quint32 n, MatchStore &store,
                    const ReleaseBytes &release)
{
    const int threads = QThread::idealThreadCount();
    if (threads < 2 || bytes.size() < parallelReadBytes)
        return false;
    Reader scan = in;
    std::vector<qint64> starts;
    starts.reserve(size_t(std::min<qint64>(n, scan.remaining() / minMatchSize)) + 1);
    qint64 lineupEntries = 0, events = 0;
    for (quint32 i = 0; i < n && !scan.failed(); ++i) {
        starts.push_back(scan.offset());
        skipMatch(scan, lineupEntries, events);
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
    std::vector<MatchStore> parts(static_cast<size_t>(shares));
    std::vector<char> failed(static_cast<size_t>(shares), 0);
    const auto decode = [&](int k) {
        const size_t first = bounds[size_t(k)], last = std::max(first, bounds[size_t(k) + 1]);
        Reader share(bytes, starts[first], starts[last]);
        // The first share goes straight into the store, sized for the whole file.
        MatchStore &part = k == 0 ? store : parts[size_t(k)];
        if (k == 0)
            part.reserve(qsizetype(n), lineupEntries, events);
        constexpr qint64 releaseStep = 8 * 1024 * 1024;
        qint64 released = starts[first];
        for (size_t i = first; i < last; ++i) {
            if (!readMatch(share, part))
                break;
            if (release && share.offset() - released >= releaseStep) {
                release(released, share.offset());
                released = share.offset();
            }
        }
        failed[size_t(k)] = share.failed();
    };
    std::vector<std::thread> helpers;
    for (int k = 1; k < shares; ++k)
        helpers.emplace_back(decode, k);
    decode(0);
    for (std::thread &helper : helpers)
        helper.join();
    if (std::find(failed.begin(), failed.end(), 1) != failed.end()) {
        store.clear();
        return false;
    }
    for (int k = 1; k < shares; ++k)
        store.append(std::move(parts[size_t(k)]));
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

void writeMatch(Writer &out, const MatchStore &store, const MatchRecord &r)
{
    const TextTable &table = store.texts();
    for (int field = FileNameField; field <= TimeField; ++field)
        out.string(table.text(r.texts[size_t(field)]));
    out.u32(quint32(r.julianDay));
    for (int field = Coach1IdField; field < MatchFieldCount; ++field)
        out.string(table.text(r.texts[size_t(field)]));
    const LineupEntry *lineup = store.lineups().data() + r.lineup;
    for (const quint32 players : {r.players1, r.players2}) {
        out.u32(players);
        for (quint32 i = 0; i < players; ++i, ++lineup) {
            out.string(table.text(lineup->id));
            out.string(table.text(lineup->name));
        }
    }
    out.u32(r.eventCount);
    const EventRecord *event = store.eventRecords().data() + r.events;
    for (quint32 i = 0; i < r.eventCount; ++i, ++event) {
        for (const TextId id : event->texts)
            out.string(table.text(id));
    }
}

} // namespace

namespace {

DatabaseResult readContents(const QByteArray &bytes, MatchStore &store, const ReleaseBytes &release)
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
    if (!in.failed() && !readInParallel(bytes, in, n, fresh, release)) {
        for (quint32 i = 0; i < n && readMatch(in, fresh); ++i) {
        }
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

} // namespace

DatabaseResult readDatabaseBytes(const QByteArray &bytes, MatchStore &store)
{
    return readContents(bytes, store, ReleaseBytes());
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
        return readContents(file.bytes, store,
                            [&file](qint64 from, qint64 till) { file.release(from, till); });
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
    for (qsizetype i = 0; i < store.count(); ++i)
        writeMatch(out, store, store.record(i));
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
