#include "formats/database.h"

#include "formats/fileio.h"

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

    // The next text, interned into table (equal texts share one number).
    TextId text(TextTable &table)
    {
        const QByteArrayView raw = rawString();
        if (raw.isEmpty())
            return m_lastWasNull ? TextTable::nullText : TextTable::emptyText;
        return table.internBigEndian(reinterpret_cast<const uchar *>(raw.data()), raw.size() / 2);
    }
    // The next text appended to table as a plain text of its own (file names and match IDs
    // differ from record to record).
    PlainTextId plainText(TextTable &table)
    {
        const QByteArrayView raw = rawString();
        if (raw.isEmpty())
            return m_lastWasNull ? TextTable::nullPlain : TextTable::emptyPlain;
        return table.appendBigEndian(reinterpret_cast<const uchar *>(raw.data()), raw.size() / 2);
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

} // namespace

// The one way into a store's arrays, for the reader and the writer below.
class StoreFiller
{
public:
    explicit StoreFiller(MatchStore &store) : m_store(store) {}

    TextTable &table() { return m_store.m_texts; }
    StoreArray<MatchRecord> &records() { return m_store.m_records; }
    StoreArray<LineupEntry> &lineups() { return m_store.m_lineups; }
    StoreArray<EventRecord> &events() { return m_store.m_events; }
    void addRecord(const MatchRecord &record) { m_store.addRecord(record); }
    void noteRecords() { m_store.noteRecords(); }

    static const LineupEntry *lineups(const MatchStore &store, const MatchRecord &record)
    {
        return store.m_lineups.data() + record.lineup;
    }
    static const EventRecord *events(const MatchStore &store, const MatchRecord &record)
    {
        return store.m_events.data() + record.events;
    }

private:
    MatchStore &m_store;
};

namespace {

// Where readMatch puts what it decodes: at the end of a store, growing it.
class StoreSink
{
public:
    explicit StoreSink(MatchStore &store) : m_store(store) {}

    TextTable &table() { return m_store.table(); }
    qint64 lineupAt() { return qint64(m_store.lineups().size()); }
    qint64 eventAt() { return qint64(m_store.events().size()); }
    bool lineup(const LineupEntry &entry)
    {
        m_store.lineups().push_back(entry);
        return true;
    }
    bool event(const EventRecord &event)
    {
        m_store.events().push_back(event);
        return true;
    }
    bool record(const MatchRecord &record)
    {
        m_store.addRecord(record);
        return true;
    }

private:
    StoreFiller m_store;
};

// Where readMatch puts what it decodes: into a stretch of a store's arrays made ready for it, so
// that each core fills its share of the file in place, with texts numbered in a table of its own.
class ShareSink
{
public:
    ShareSink(MatchStore &store, TextTable &table, qint64 record, qint64 lineup, qint64 event,
              qint64 recordEnd, qint64 lineupEnd, qint64 eventEnd)
        : m_store(store), m_table(table), m_record(record), m_lineup(lineup), m_event(event),
          m_recordEnd(recordEnd), m_lineupEnd(lineupEnd), m_eventEnd(eventEnd)
    {}

    TextTable &table() { return m_table; }
    qint64 lineupAt() const { return m_lineup; }
    qint64 eventAt() const { return m_event; }
    // False, writing nothing, past the end of the stretch (which the scan of the file rules out).
    bool lineup(const LineupEntry &entry)
    {
        if (m_lineup >= m_lineupEnd)
            return false;
        m_store.lineups()[size_t(m_lineup++)] = entry;
        return true;
    }
    bool event(const EventRecord &event)
    {
        if (m_event >= m_eventEnd)
            return false;
        m_store.events()[size_t(m_event++)] = event;
        return true;
    }
    bool record(const MatchRecord &record)
    {
        if (m_record >= m_recordEnd)
            return false;
        m_store.records()[size_t(m_record++)] = record;
        return true;
    }
    bool full() const
    {
        return m_record == m_recordEnd && m_lineup == m_lineupEnd && m_event == m_eventEnd;
    }

private:
    StoreFiller m_store;
    TextTable &m_table;
    qint64 m_record, m_lineup, m_event;
    qint64 m_recordEnd, m_lineupEnd, m_eventEnd;
};

// The layout of one match record, the one place that knows it: the 26 texts in matchFileOrder
// with the date after the first matchFieldsBeforeDate of them; then each line-up, a count and an
// ID and a name per player; then the events, a count and the eight texts of each in EventField
// order. Reading, stepping over and writing a record are visitors of it, with
//   date(), text(MatchField), plainText(PlainField), count(list, smallest item in bytes) -> n,
//   ok(), lineupText(0 for the ID, 1 for the name), lineupDone(), eventText(EventField),
//   eventDone().
enum class RecordList { Players1, Players2, Events };
constexpr qint64 textBytes = 4; // the smallest text: a null one, its length alone

template <typename Visitor> void walkRecord(Visitor &v)
{
    for (int k = 0; k < MatchFieldCount; ++k) {
        if (k == matchFieldsBeforeDate)
            v.date();
        const FieldKey key = matchFileOrder[k];
        if (key.isPlain)
            v.plainText(key.plain);
        else
            v.text(key.text);
    }
    for (const RecordList list : {RecordList::Players1, RecordList::Players2}) {
        const quint32 n = v.count(list, 2 * textBytes);
        for (quint32 i = 0; i < n && v.ok(); ++i) {
            v.lineupText(0);
            v.lineupText(1);
            v.lineupDone();
        }
    }
    const quint32 n = v.count(RecordList::Events, EventFieldCount * textBytes);
    for (quint32 i = 0; i < n && v.ok(); ++i) {
        for (int k = 0; k < EventFieldCount; ++k)
            v.eventText(EventField(k));
        v.eventDone();
    }
}

// Reads one match record into sink: its texts into the sink's table, its line-ups and events,
// then the record that refers to them. Returns false, adding no record, when in fails.
template <typename Sink> class RecordReader
{
public:
    RecordReader(Reader &in, Sink &sink) : in(in), sink(sink), table(sink.table()) {}

    void date() { r.julianDay = in.julianDay(); }
    void text(MatchField field) { r.texts[field] = in.text(table); }
    void plainText(PlainField field) { r.plain[field] = in.plainText(table); }
    quint32 count(RecordList list, qint64 smallestItem)
    {
        const quint32 n = in.count(smallestItem);
        switch (list) {
        case RecordList::Players1:
            r.lineup = sink.lineupAt();
            r.players1 = n;
            break;
        case RecordList::Players2:
            r.players2 = n;
            break;
        case RecordList::Events:
            r.events = sink.eventAt();
            r.eventCount = n;
            break;
        }
        return n;
    }
    bool ok() const { return !in.failed(); }
    void lineupText(int k) { (k == 0 ? entry.id : entry.name) = in.text(table); }
    void lineupDone()
    {
        if (!sink.lineup(entry))
            in.failAt(in.offset());
    }
    void eventText(EventField field) { event.texts[field] = in.text(table); }
    void eventDone()
    {
        if (!sink.event(event))
            in.failAt(in.offset());
    }

    bool read()
    {
        walkRecord(*this);
        if (in.failed())
            return false;
        if (!sink.record(r)) {
            in.failAt(in.offset());
            return false;
        }
        return true;
    }

private:
    Reader &in;
    Sink &sink;
    TextTable &table;
    MatchRecord r{};
    LineupEntry entry{};
    EventRecord event{};
};

template <typename Sink> bool readMatch(Reader &in, Sink &sink)
{
    return RecordReader<Sink>(in, sink).read();
}

// What the records before a place in the file hold: how many line-up entries and events, and how
// many code units of plain texts (file names, match IDs).
struct Counts
{
    qint64 lineups = 0;
    qint64 events = 0;
    qint64 plainUnits = 0;
};

// Steps over one match record as readMatch reads it, with the same checks, decoding nothing;
// adds what it holds to counts.
class RecordSkipper
{
public:
    RecordSkipper(Reader &in, Counts &counts) : in(in), counts(counts) {}

    void date() { in.julianDay(); }
    void text(MatchField) { in.rawString(); }
    void plainText(PlainField) { counts.plainUnits += in.rawString().size() / 2; }
    quint32 count(RecordList list, qint64 smallestItem)
    {
        const quint32 n = in.count(smallestItem);
        (list == RecordList::Events ? counts.events : counts.lineups) += n;
        return n;
    }
    bool ok() const { return !in.failed(); }
    void lineupText(int) { in.rawString(); }
    void lineupDone() {}
    void eventText(EventField) { in.rawString(); }
    void eventDone() {}

private:
    Reader &in;
    Counts &counts;
};

void skipMatch(Reader &in, Counts &counts)
{
    RecordSkipper skipper(in, counts);
    walkRecord(skipper);
}

// Below this size a file is read on one thread: starting threads would cost more than it saves.
constexpr qsizetype parallelReadBytes = 256 * 1024;

// Reads the n records that follow in into store on every core: a quick pass steps over every
// record (with the checks the reader makes) to find where each core's share begins and how much
// it holds; then each core decodes its share straight into its stretch of the store's arrays,
// with texts numbered in a table of its own, and those tables join the store's in file order.
// Returns false, consuming nothing of in and leaving store empty, when the quick pass finds the
// file damaged; the caller then reads it on one thread to say where.
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
    // Where each share begins: at the first record from its part of the bytes on (shares of
    // about equal bytes, in file order), with how many records, line-up entries and events come
    // before it. The records must end where the file does, which the scan checks.
    struct Start
    {
        qint64 offset;
        qint64 record;
        Counts before;
    };
    const int shares = threads;
    const qint64 begin = in.offset(), end = bytes.size();
    Reader scan = in;
    std::vector<Start> starts;
    Counts counts;
    for (quint32 i = 0; i < n && !scan.failed(); ++i) {
        while (qsizetype(starts.size()) < shares &&
               scan.offset() >= begin + (end - begin) * qint64(starts.size()) / shares)
            starts.push_back({scan.offset(), qint64(i), counts});
        skipMatch(scan, counts);
    }
    if (scan.failed() || !scan.atEnd())
        return false;
    while (qsizetype(starts.size()) <= shares)
        starts.push_back({scan.offset(), qint64(n), counts});

    // Room for every record, line-up entry and event of the file; each share fills its stretch.
    StoreFiller filler(store);
    filler.records().resize(n);
    filler.lineups().resize(size_t(counts.lineups));
    filler.events().resize(size_t(counts.events));
    std::vector<TextTable> tables(static_cast<size_t>(shares - 1));
    // Each record has two texts of its own (its file name and match ID); the others recur.
    filler.table().reserve(PlainFieldCount * qsizetype(n), counts.plainUnits, 4096);
    for (int k = 1; k < shares; ++k) {
        const Start &from = starts[size_t(k)], &till = starts[size_t(k) + 1];
        tables[size_t(k) - 1].reserve(PlainFieldCount * (till.record - from.record),
                                      till.before.plainUnits - from.before.plainUnits, 4096);
    }
    std::vector<char> failed(static_cast<size_t>(shares), 0);
    const auto decode = [&](int k) {
        const Start &from = starts[size_t(k)], &till = starts[size_t(k) + 1];
        Reader share(bytes, from.offset, till.offset);
        ShareSink sink(store, k == 0 ? filler.table() : tables[size_t(k) - 1], from.record,
                       from.before.lineups, from.before.events, till.record, till.before.lineups,
                       till.before.events);
        // Every few megabytes all that the share has decoded so far is handed back: the system
        // frees whole pages only, and a page that straddles two steps goes with the later one.
        constexpr qint64 releaseStep = 2 * 1024 * 1024;
        qint64 released = from.offset;
        for (qint64 i = from.record; i < till.record; ++i) {
            if (!readMatch(share, sink))
                break;
            if (release && share.offset() - released >= releaseStep) {
                release(from.offset, share.offset());
                released = share.offset();
            }
        }
        failed[size_t(k)] = share.failed() || !sink.full();
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
    // The texts of the later shares join the store's table in file order; their numbers in the
    // share's stretch of the arrays are turned into the store's.
    for (int k = 1; k < shares; ++k) {
        const TextTable::NumberMap ids = filler.table().absorb(std::move(tables[size_t(k) - 1]));
        const Start &from = starts[size_t(k)], &till = starts[size_t(k) + 1];
        for (qint64 i = from.record; i < till.record; ++i) {
            MatchRecord &record = filler.records()[size_t(i)];
            for (TextId &id : record.texts)
                id = ids(id);
            for (PlainTextId &id : record.plain)
                id = ids(id);
        }
        for (qint64 i = from.before.lineups; i < till.before.lineups; ++i) {
            LineupEntry &entry = filler.lineups()[size_t(i)];
            entry = LineupEntry{ids(entry.id), ids(entry.name)};
        }
        for (qint64 i = from.before.events; i < till.before.events; ++i) {
            for (TextId &id : filler.events()[size_t(i)].texts)
                id = ids(id);
        }
    }
    filler.noteRecords();
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

    // The interned text numbered id of table, null or not.
    void text(const TextTable &table, TextId id)
    {
        if (id == TextTable::nullText)
            u32(nullStringLength);
        else
            text(table.text(id));
    }
    void text(const TextTable &table, PlainTextId id)
    {
        if (id == TextTable::nullPlain)
            u32(nullStringLength);
        else
            text(table.view(id));
    }

    bool finish()
    {
        flush();
        return m_ok;
    }

private:
    static constexpr qsizetype chunk = 1 << 20;

    void text(QStringView text)
    {
        const qsizetype units = text.size();
        u32(quint32(units * 2));
        const qsizetype at = m_buffer.size();
        m_buffer.resize(at + units * 2);
        qToBigEndian<char16_t>(text.utf16(), units, m_buffer.data() + at);
        flushIfFull();
    }
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

// Writes one match record of store.
class RecordWriter
{
public:
    RecordWriter(Writer &out, const MatchStore &store, const MatchRecord &r)
        : out(out), table(store.texts()), r(r), lineup(StoreFiller::lineups(store, r)),
          event(StoreFiller::events(store, r))
    {}

    void date() { out.u32(quint32(r.julianDay)); }
    void text(MatchField field) { out.text(table, r.texts[field]); }
    void plainText(PlainField field) { out.text(table, r.plain[field]); }
    quint32 count(RecordList list, qint64)
    {
        const quint32 n = list == RecordList::Players1   ? r.players1
                          : list == RecordList::Players2 ? r.players2
                                                         : r.eventCount;
        out.u32(n);
        return n;
    }
    bool ok() const { return true; }
    void lineupText(int k) { out.text(table, k == 0 ? lineup->id : lineup->name); }
    void lineupDone() { ++lineup; }
    void eventText(EventField field) { out.text(table, event->texts[field]); }
    void eventDone() { ++event; }

private:
    Writer &out;
    const TextTable &table;
    const MatchRecord &r;
    const LineupEntry *lineup;
    const EventRecord *event;
};

void writeMatch(Writer &out, const MatchStore &store, const MatchRecord &r)
{
    RecordWriter writer(out, store, r);
    walkRecord(writer);
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
        StoreSink sink(fresh);
        for (quint32 i = 0; i < n && readMatch(in, sink); ++i) {
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
