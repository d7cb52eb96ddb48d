#include "formats/database.h"

#include "formats/fileio.h"
#include "model/shares.h"

#include <QBuffer>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <future>
#include <vector>

namespace {

constexpr quint32 nullStringLength = 0xFFFFFFFF;

// A bounds-checked cursor over the file's bytes, or over a window of them: the bytes [from, till)
// of a file that runs to limit, with offsets counted from the start of the file. The first failure
// sticks; later reads return empty values and consume nothing. A read that runs past the window
// but not past limit fails with needsMore(): the caller moves the window and reads again.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : Reader(reinterpret_cast<const uchar *>(bytes.constData()), 0, bytes.size(), bytes.size())
    {}
    // window holds the bytes from offset from on.
    Reader(const uchar *window, qint64 from, qint64 till, qint64 limit)
        : m_window(window), m_base(from), m_size(till), m_limit(limit), m_pos(from)
    {}

    bool failed() const { return m_failed; }
    bool needsMore() const { return m_needsMore; }
    qint64 offset() const { return m_failed ? m_failOffset : m_pos; }
    qint64 remaining() const { return m_size - m_pos; }
    bool atEnd() const { return m_pos == m_limit; }

    quint32 u32()
    {
        if (m_failed)
            return 0;
        if (remaining() < 4) {
            runOut(4);
            return 0;
        }
        const quint32 value = qFromBigEndian<quint32>(at());
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
        if (!m_failed && qint64(n) * minItemSize > m_limit - m_pos) {
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
            if ((length & 1) == 0 && length <= m_limit - m_pos)
                m_needsMore = true;
            else
                m_endedEarly = (length & 1) == 0;
            failAt(start);
            m_lastWasNull = true;
            return {};
        }
        const QByteArrayView raw(at(), length);
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
    // Fewer than need bytes left in the window.
    void runOut(qint64 need)
    {
        if (need <= m_limit - m_pos)
            m_needsMore = true;
        else
            m_endedEarly = true;
        failAt(m_pos);
    }

    const uchar *at() const { return m_window + (m_pos - m_base); }

    const uchar *m_window; // the byte at offset m_base
    qint64 m_base;
    qint64 m_size;
    qint64 m_limit;
    qint64 m_pos;
    qint64 m_failOffset = 0;
    bool m_failed = false;
    bool m_lastWasNull = false;
    bool m_endedEarly = false;
    bool m_needsMore = false;
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

// Where readMatch puts what it decodes: into a store's arrays, made room for beforehand, from a
// given place on, so that each core fills its share of the file in place, with texts numbered in
// a table of its own.
class ShareSink
{
public:
    ShareSink(MatchStore &store, TextTable &table, qint64 record, qint64 lineup, qint64 event)
        : m_store(store), m_table(table), m_at{record, lineup, event}
    {}

    TextTable &table() { return m_table; }
    qint64 recordAt() const { return m_at.record; }
    qint64 lineupAt() const { return m_at.lineup; }
    qint64 eventAt() const { return m_at.event; }
    // False, writing nothing, past the room made.
    bool lineup(const LineupEntry &entry)
    {
        if (size_t(m_at.lineup) >= m_store.lineups().size())
            return false;
        m_store.lineups()[size_t(m_at.lineup++)] = entry;
        return true;
    }
    bool event(const EventRecord &event)
    {
        if (size_t(m_at.event) >= m_store.events().size())
            return false;
        m_store.events()[size_t(m_at.event++)] = event;
        return true;
    }
    bool record(const MatchRecord &record)
    {
        if (size_t(m_at.record) >= m_store.records().size())
            return false;
        m_store.records()[size_t(m_at.record++)] = record;
        return true;
    }

    // Where the next record goes, and putting it back there: a record read in part is read
    // again. (The plain texts it appended stay in the table, unused.)
    struct Place
    {
        qint64 record, lineup, event;
    };
    Place place() const { return m_at; }
    void rewind(const Place &place) { m_at = place; }

private:
    StoreFiller m_store;
    TextTable &m_table;
    Place m_at;
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

// What the records before a place in the file hold: how many line-up entries and events.
struct Counts
{
    qint64 lineups = 0;
    qint64 events = 0;
};

// Steps over one match record as readMatch reads it, with the same checks, decoding nothing;
// adds what it holds to counts.
class RecordSkipper
{
public:
    RecordSkipper(Reader &in, Counts &counts) : in(in), counts(counts) {}

    void date() { in.julianDay(); }
    void text(MatchField) { in.rawString(); }
    void plainText(PlainField) { in.rawString(); }
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

// Where a reader takes the file's bytes from: memory that holds the whole file, or the file
// itself, read a window at a time into a buffer of the reader's own.
class ByteSource
{
public:
    explicit ByteSource(const QByteArray &bytes) : m_bytes(&bytes), m_size(bytes.size()) {}
    explicit ByteSource(const FileReader &file) : m_file(&file), m_size(file.size()) {}

    qint64 size() const { return m_size; }
    bool inMemory() const { return m_bytes != nullptr; }

    // A window that holds at least the bytes [from, till) (in memory: all from from on).
    struct Window
    {
        const uchar *data = nullptr; // null when the file no longer holds the bytes
        qint64 from = 0, till = 0;
    };
    Window window(qint64 from, qint64 till, std::vector<uchar> &buffer) const
    {
        if (m_bytes)
            return {reinterpret_cast<const uchar *>(m_bytes->constData()) + from, from, m_size};
        // At least a byte, so that even no bytes read are somewhere.
        if (buffer.size() < size_t(till - from) || buffer.empty())
            buffer.resize(std::max<size_t>(1, size_t(till - from)));
        if (!m_file->read(from, till, reinterpret_cast<char *>(buffer.data())))
            return {};
        return {buffer.data(), from, till};
    }
    // The whole file in memory; false when the file no longer holds what it did.
    bool wholeFile(QByteArray &bytes) const
    {
        if (m_bytes) {
            bytes = *m_bytes;
            return true;
        }
        bytes = QByteArray(qsizetype(m_size), Qt::Uninitialized);
        return m_file->read(0, m_size, bytes.data());
    }
    // False when the file holds more now than it did when it was opened.
    bool unchanged() const { return m_bytes || !m_file->grew(); }

private:
    const QByteArray *m_bytes = nullptr;
    const FileReader *m_file = nullptr;
    qint64 m_size;
};

// Below this size a file is read on one thread: starting threads would cost more than it saves.
constexpr qsizetype parallelReadBytes = 256 * 1024;
// How much of a file a thread reads into memory of its own at once (twice as much for a record
// that is longer).
constexpr qint64 windowBytes = 1024 * 1024;
// The smallest record: its texts, all null, the date and the three list counts.
constexpr qint64 smallestRecord = (MatchFieldCount + 4) * 4;

// Reads records from a source a window at a time: step() has one record visited over the window;
// when the record runs past the window's end, the window moves to the record's start (twice as
// large when the record began it already), the visit is undone and made again.
class WindowedReader
{
public:
    explicit WindowedReader(const ByteSource &source) : m_source(source) {}

    Reader &in() { return m_in; }
    // Starts at offset from; false when the file no longer holds it.
    bool look(qint64 from)
    {
        const ByteSource::Window w =
            m_source.window(from, std::min(m_source.size(), from + m_bytes), m_buffer);
        m_start = from;
        m_in = Reader(w.data, w.from, w.till, m_source.size());
        return w.data != nullptr;
    }
    // False when the file no longer holds what it did.
    template <typename Visit, typename Undo> bool step(const Visit &visit, const Undo &undo)
    {
        while (true) {
            const qint64 start = m_in.offset();
            visit(m_in);
            if (!m_in.needsMore())
                return true;
            undo();
            if (start == m_start)
                m_bytes *= 2;
            if (!look(start))
                return false;
        }
    }

private:
    const ByteSource &m_source;
    std::vector<uchar> m_buffer;
    qint64 m_bytes = windowBytes;
    qint64 m_start = 0;
    Reader m_in{nullptr, 0, 0, 0};
};

enum class ReadOutcome { Read, Damaged, Unreadable };

// Where a share of the records begins or ends: its offset, its first record, and how many line-up
// entries and events come before it.
struct SharePlace
{
    ReadOutcome outcome = ReadOutcome::Read;
    qint64 offset = 0;
    qint64 record = 0;
    Counts before;

    bool operator==(const SharePlace &o) const
    {
        return offset == o.offset && record == o.record && before.lineups == o.before.lineups &&
               before.events == o.before.events;
    }
};

// Reads the n records from offset begin on into store on every core. Each core decodes a share of
// the file, in file order, straight into its stretch of the store's arrays, with texts numbered in
// a table of its own; those tables join the store's in file order. A share ends at the first
// record that begins at or past the share's part of the file. The first share is read from the
// start at once; where the others begin, and how much comes before them, the last core finds by
// stepping over the records (with the checks the reader makes, decoding nothing) before it
// decodes its own share, so the shares are sized for the first cores to take more. The arrays are
// made room for as much as the file could hold, which takes no memory until it is written.
// Damaged leaves store empty: the caller then reads the file on one thread to say where.
ReadOutcome readInParallel(const ByteSource &source, qint64 begin, quint32 n, MatchStore &store)
{
    const int shares = QThread::idealThreadCount();
    if (shares < 2 || source.size() < parallelReadBytes)
        return ReadOutcome::Damaged;
    const qint64 end = source.size(), bytes = end - begin;
    // Share k ends where share k + 1's part begins. Stepping over a record costs about a third of
    // decoding it: with the parts p(k + 1) = (1 - r) p(k) + t of the file, every core that waits
    // for the steps to reach its share finishes about when the first does.
    constexpr double r = 0.35;
    const double t = r / (1 - std::pow(1 - r, shares));
    std::vector<qint64> partStart{begin};
    for (int k = 1; k < shares; ++k) {
        const double part = (1 - r) * double(partStart.back() - begin) / double(bytes) + t;
        partStart.push_back(begin + qint64(std::min(1.0, part) * double(bytes)));
    }

    StoreFiller filler(store);
    try {
        filler.records().resize(size_t(std::min<qint64>(n, bytes / smallestRecord)));
        filler.lineups().resize(size_t(bytes / (2 * textBytes)));
        filler.events().resize(size_t(bytes / (EventFieldCount * textBytes)));
    } catch (const std::bad_alloc &) {
        store.clear();
        return ReadOutcome::Damaged;
    }
    std::vector<TextTable> tables(static_cast<size_t>(shares - 1));
    // Room for as many texts as a share could hold (a file name and a match ID per record; far
    // fewer interned texts, most of which recur).
    for (int k = 0; k < shares; ++k) {
        const qint64 share =
            (k + 1 < shares ? partStart[size_t(k) + 1] : end) - partStart[size_t(k)];
        TextTable &table = k == 0 ? filler.table() : tables[size_t(k) - 1];
        table.reserve(PlainFieldCount * (share / smallestRecord), share / 2, share / 64, share / 2);
    }
    std::vector<std::promise<SharePlace>> startsGiven(static_cast<size_t>(shares));
    std::vector<SharePlace> starts(static_cast<size_t>(shares)), ends(starts.size());
    starts[0].offset = begin;

    // Steps over the records up to the start of every later share, and tells each where it is.
    const auto findStarts = [&](WindowedReader &scan) {
        SharePlace at{ReadOutcome::Read, begin, 0, Counts()};
        if (!scan.look(begin))
            at.outcome = ReadOutcome::Unreadable;
        for (int k = 1; k < shares; ++k) {
            while (at.outcome == ReadOutcome::Read && at.record < n &&
                   scan.in().offset() < partStart[size_t(k)]) {
                const Counts before = at.before;
                if (!scan.step([&](Reader &r) { skipMatch(r, at.before); },
                               [&] { at.before = before; }))
                    at.outcome = ReadOutcome::Unreadable;
                else if (scan.in().failed())
                    at.outcome = ReadOutcome::Damaged;
                else
                    ++at.record;
            }
            at.offset = scan.in().offset();
            startsGiven[size_t(k)].set_value(at);
        }
    };
    const auto decode = [&](int k) {
        WindowedReader window(source);
        if (k == shares - 1)
            findStarts(window);
        SharePlace &from = starts[size_t(k)], &till = ends[size_t(k)];
        if (k > 0)
            from = startsGiven[size_t(k)].get_future().get();
        till.outcome = from.outcome;
        if (from.outcome != ReadOutcome::Read)
            return;
        if (!window.look(from.offset)) {
            till.outcome = ReadOutcome::Unreadable;
            return;
        }
        ShareSink sink(store, k == 0 ? filler.table() : tables[size_t(k) - 1], from.record,
                       from.before.lineups, from.before.events);
        const bool last = k == shares - 1;
        Reader &in = window.in();
        while (sink.recordAt() < qint64(n) && (last || in.offset() < partStart[size_t(k) + 1])) {
            const ShareSink::Place place = sink.place();
            if (!window.step([&](Reader &r) { readMatch(r, sink); }, [&] { sink.rewind(place); })) {
                till.outcome = ReadOutcome::Unreadable;
                return;
            }
            if (in.failed()) {
                till.outcome = ReadOutcome::Damaged;
                return;
            }
        }
        till = {ReadOutcome::Read, in.offset(), sink.recordAt(),
                Counts{sink.lineupAt(), sink.eventAt()}};
        // The last share ends with the file; every other where the next begins.
        if (last && (till.record != qint64(n) || till.offset != end))
            till.outcome = ReadOutcome::Damaged;
    };
    runShares(shares, decode);
    ReadOutcome outcome = ReadOutcome::Read;
    for (int k = 0; k < shares; ++k) {
        const ReadOutcome o = ends[size_t(k)].outcome;
        if (o == ReadOutcome::Unreadable ||
            (o == ReadOutcome::Damaged && outcome == ReadOutcome::Read))
            outcome = o;
        // A share that ends elsewhere than the next begins: the file changed between the steps
        // over it and its reading, or the two disagree.
        if (o == ReadOutcome::Read && k + 1 < shares && !(ends[size_t(k)] == starts[size_t(k) + 1]))
            outcome = source.inMemory() ? ReadOutcome::Damaged : ReadOutcome::Unreadable;
    }
    if (outcome != ReadOutcome::Read) {
        store.clear();
        return outcome;
    }
    filler.records().resize(n);
    filler.lineups().resize(size_t(ends.back().before.lineups));
    filler.events().resize(size_t(ends.back().before.events));
    // The texts of the later shares join the store's table in file order; their numbers in the
    // share's stretch of the arrays are turned into the store's.
    for (int k = 1; k < shares; ++k) {
        const TextTable::NumberMap ids = filler.table().absorb(std::move(tables[size_t(k) - 1]));
        const SharePlace &from = starts[size_t(k)], &till = ends[size_t(k)];
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
    return ReadOutcome::Read;
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

DatabaseResult readContents(const ByteSource &source, MatchStore &store)
{
    DatabaseResult result;
    const qint64 size = source.size();
    std::vector<uchar> buffer;
    const qint64 headSize = std::min<qint64>(size, 12);
    const ByteSource::Window head = source.window(0, headSize, buffer);
    if (!head.data) {
        result.status = DatabaseResult::ChangedWhileReading;
        return result;
    }
    // Fewer bytes than the magic: a database cut short if they begin it, else some other file.
    static const uchar magicBytes[4] = {0xF0, 0x7B, 0xA1, 0x10};
    if (size < 4) {
        if (std::memcmp(head.data, magicBytes, size_t(size)) == 0) {
            result.status = DatabaseResult::Damaged;
            result.offset = 0;
            result.endsEarly = true;
        } else {
            result.status = DatabaseResult::NotDatabase;
        }
        return result;
    }
    // Some other kind of file, however large, is told by its first bytes without reading it all.
    Reader in(head.data, 0, headSize, headSize);
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
    const ReadOutcome outcome =
        in.failed() ? ReadOutcome::Damaged : readInParallel(source, in.offset(), n, fresh);
    QByteArray whole;
    if (outcome == ReadOutcome::Damaged && !in.failed()) {
        // A small file, or one damaged somewhere: read on one thread, which says where.
        if (!source.wholeFile(whole)) {
            result.status = DatabaseResult::ChangedWhileReading;
            return result;
        }
        in = Reader(reinterpret_cast<const uchar *>(whole.constData()) + headSize, headSize,
                    whole.size(), whole.size());
        StoreSink sink(fresh);
        for (quint32 i = 0; i < n && readMatch(in, sink); ++i) {
        }
        // Nothing follows the last record; bytes left over mean a count was damaged.
        if (!in.failed() && !in.atEnd())
            in.failAt(in.offset());
    }
    if (outcome == ReadOutcome::Unreadable || !source.unchanged()) {
        result.status = DatabaseResult::ChangedWhileReading;
        return result;
    }
    if (in.failed()) {
        result.status = DatabaseResult::Damaged;
        result.offset = in.offset();
        result.endsEarly = in.endedEarly();
        // The count as the header gives it, also when it is more than the file can hold.
        result.announced = size >= 12 ? n : 0;
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
    return readContents(ByteSource(bytes), store);
}

DatabaseResult readDatabase(const QString &path, MatchStore &store)
{
    DatabaseResult result;
    const FileReader file(path);
    switch (file.status()) {
    case FileContents::Ok:
        return readContents(ByteSource(file), store);
    case FileContents::NotRegular:
        result.status = DatabaseResult::NotRegularFile;
        result.systemErrno = file.error().code;
        break;
    default:
        result.status = DatabaseResult::CannotOpen;
        result.systemError = file.error().text;
        result.systemErrno = file.error().code;
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
