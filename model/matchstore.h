#pragma once

#include "model/match.h"
#include "model/matchfields.h"
#include "model/storeallocator.h"
#include "model/texttable.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// The dates covered by a set of matches: both null when no match has a date.
struct DateSpan
{
    QDate from;
    QDate till;

    bool isNull() const { return !from.isValid(); }
    // Takes date in; a null date (an undated match) leaves the span alone.
    void widen(const QDate &date);
    void widen(const DateSpan &other);
};

// A line-up entry and an event as the store keeps them: texts by number.
struct LineupEntry
{
    TextId id;
    TextId name;
};

// The texts of an event in the database file's order.
enum EventField : int {
    EventTypeField,
    EventTimeField,
    EventTeamField,
    EventCommentField,
    EventPlayerIdField,
    EventPlayerField,
    EventPlayerId2Field,
    EventPlayer2Field,
    EventFieldCount
};

struct EventRecord
{
    std::array<TextId, EventFieldCount> texts;
};

// One match as the store keeps it: a fixed-size record of text numbers, the date as a Julian day
// (0 for none), and where its line-ups and events lie in the store's shared arrays.
struct MatchRecord
{
    qint32 julianDay;
    FieldArray<MatchField, TextId, TextFieldCount> texts;
    FieldArray<PlainField, PlainTextId, PlainFieldCount> plain;
    quint32 players1;
    quint32 players2;
    quint32 eventCount;
    qint64 lineup; // the first entry of players1; those of players2 follow
    qint64 events;
};

class MatchStore;

template <typename T> using StoreArray = std::vector<T, StoreAllocator<T>>;

// A line-up entry or event seen through the store's texts, with the fields of PlayerEntry and
// MatchEvent as references, so that code reading a match reads the same either way.
struct PlayerView
{
    PlayerView(const TextTable &table, const LineupEntry &entry)
        : id(table.text(entry.id)), name(table.text(entry.name)), entry(entry)
    {}
    const QString &id;
    const QString &name;
    const LineupEntry &entry;
};

struct EventView
{
    EventView(const TextTable &table, const EventRecord &event)
        : time(table.text(event.texts[EventTimeField])),
          type(table.text(event.texts[EventTypeField])),
          comment(table.text(event.texts[EventCommentField])),
          team(table.text(event.texts[EventTeamField])),
          playerid(table.text(event.texts[EventPlayerIdField])),
          player(table.text(event.texts[EventPlayerField])),
          playerid2(table.text(event.texts[EventPlayerId2Field])),
          player2(table.text(event.texts[EventPlayer2Field])), record(event)
    {}
    const QString &time;
    const QString &type;
    const QString &comment;
    const QString &team;
    const QString &playerid;
    const QString &player;
    const QString &playerid2;
    const QString &player2;
    const EventRecord &record;

    MatchEvent toEvent() const
    {
        return {time, type, comment, team, playerid, player, playerid2, player2};
    }
};

// A run of line-up entries or events, iterated as views.
template <typename Item, typename View> class ItemSpan
{
public:
    ItemSpan(const TextTable &table, const Item *first, qsizetype count)
        : m_table(&table), m_first(first), m_count(count)
    {}

    class const_iterator
    {
    public:
        const_iterator(const TextTable *table, const Item *at) : m_table(table), m_at(at) {}
        View operator*() const { return View(*m_table, *m_at); }
        const_iterator &operator++()
        {
            ++m_at;
            return *this;
        }
        bool operator!=(const const_iterator &other) const { return m_at != other.m_at; }
        bool operator==(const const_iterator &other) const { return m_at == other.m_at; }

    private:
        const TextTable *m_table;
        const Item *m_at;
    };

    qsizetype size() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    View at(qsizetype i) const { return View(*m_table, m_first[i]); }
    View operator[](qsizetype i) const { return at(i); }
    const Item &item(qsizetype i) const { return m_first[i]; }
    const_iterator begin() const { return {m_table, m_first}; }
    const_iterator end() const { return {m_table, m_first + m_count}; }

private:
    const TextTable *m_table;
    const Item *m_first;
    qsizetype m_count;
};

using PlayerSpan = ItemSpan<LineupEntry, PlayerView>;
using EventSpan = ItemSpan<EventRecord, EventView>;

// One match of a store as it reads: every field of MatchData under its name, the texts as
// references into the store (valid while the store is unchanged), the line-ups and events as
// spans of views. Reading a field costs nothing beyond what it reads; textId() gives an interned
// text's number, equal for equal texts.
struct MatchView
{
    MatchView(const MatchStore &store, qsizetype index);

    const MatchStore &store;
    const MatchRecord &record;
    const TextTable &table;
    const TextRef fileName; // file name and match ID: plain texts, read when asked for
    const QString &team1;
    const QString &team2;
    const QString &team1Id;
    const QString &team2Id;
    const QString &coach1;
    const QString &coach2;
    const QString &coach1Id;
    const QString &coach2Id;
    const QDate date;
    const QString &time;
    const QString &goals1;
    const QString &goals2;
    const QString &extra1;
    const QString &extra2;
    const QString &penalties1;
    const QString &penalties2;
    const QString &stadium;
    const QString &stadiumId;
    const QString &city;
    const QString &attendance;
    const QString &referee;
    const QString &refereeId;
    const QString &refereeCity;
    const TextRef id;
    const QString &round;
    const QString &tournament;
    const PlayerSpan players1;
    const PlayerSpan players2;
    const EventSpan events;

    TextId textId(MatchField field) const { return record.texts[field]; }
    // The match's place in its store.
    qsizetype index() const;
    const QString &text(TextId id) const { return table.text(id); }
    // The match as a value of its own, independent of the store.
    Match toMatch() const;
};

// All matches of the open database, in arrival order, with what follows from them: the sorted set
// of tournament names, the span of their dates, and whether they changed since the file was read
// or written. Nothing here sorts or de-duplicates the matches; the rules of an import are in
// ImportBatch (model/importbatch.h).
//
// Matches are kept as fixed-size records of text numbers; the texts live once each in the store's
// TextTable, the line-ups and events of every match in two shared arrays.
class MatchStore
{
public:
    MatchStore();

    void clear();

    // Appends match, records its tournament (the empty name too) and widens the date span.
    void add(const Match &match);
    // Replaces the match at index with an edited one, recording its tournament and date.
    void replace(qsizetype index, const Match &match);
    // Removes the matches at indices (ascending, each once). Their line-ups and events stay unused
    // in the shared arrays until the store is read again; the tournaments and the date span
    // follow the matches left.
    void remove(const QList<qsizetype> &indices);
    // The inverse of remove(): afterwards matches[k] stands at indices[k] (ascending, each at
    // most the count reached so far), the other matches in their order around them.
    void insert(const QList<qsizetype> &indices, const QList<Match> &matches);

    qsizetype count() const { return qsizetype(m_records.size()); }
    bool isEmpty() const { return m_records.empty(); }

    MatchView at(qsizetype index) const { return MatchView(*this, index); }
    const MatchRecord &record(qsizetype index) const { return m_records[size_t(index)]; }
    const TextTable &texts() const { return m_texts; }
    // The match at index as a value of its own.
    Match match(qsizetype index) const;
    // Every match as a value of its own, in order: as much memory again as the store.
    QList<Match> matches() const;

    // The first match whose file name equals fileName, or nothing; its index, or -1.
    std::optional<Match> find(const QString &fileName) const;
    qsizetype indexOf(const QString &fileName) const;

    // True when the match at index equals match in every field but the file name.
    bool sameContent(qsizetype index, const Match &match) const;

    // Tournament names in ascending order of UTF-16 code units.
    QStringList tournamentNames() const;
    // The span of every dated match: it grows as matches are added and shrinks only when some
    // are removed.
    DateSpan dateSpan() const { return m_span; }

    // True after any add or replace since the store was read or saved (setModified(false)).
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // A file name no match of the store carries: base itself when free, else the first free
    // numberedFileName(base, N) from N = 2; with numbered set, from N = 1 ("new-1", "new-2" …).
    QString unusedFileName(const QString &base, bool numbered = false) const;

    void swap(MatchStore &other) noexcept;

private:
    // The database reader and writer (formats/database.cpp) fill and read the arrays through it:
    // a small store record by record (texts, line-ups and events first, then addRecord() with the
    // record that refers to them), a large one by making the arrays ready for the whole file,
    // filling them on every core, then noteRecords().
    friend class StoreFiller;
    friend struct MatchView;

    void addRecord(const MatchRecord &record);
    // After the arrays were filled directly: records the tournaments and dates of every match.
    void noteRecords();

    MatchRecord recordOf(const Match &match);
    void note(const MatchRecord &record);
    // Notes every record afresh, after some were removed.
    void renote();

    TextTable m_texts;
    StoreArray<MatchRecord> m_records;
    StoreArray<LineupEntry> m_lineups;
    StoreArray<EventRecord> m_events;
    QSet<TextId> m_tournaments;
    TextId m_lastTournament = TextTable::noText;
    DateSpan m_span;
    bool m_modified = false;
};

inline MatchView::MatchView(const MatchStore &store, qsizetype index)
    : store(store), record(store.record(index)), table(store.texts()),
      fileName(table, record.plain[PlainField::FileName]),
      team1(table.text(record.texts[Team1Field])), team2(table.text(record.texts[Team2Field])),
      team1Id(table.text(record.texts[Team1IdField])),
      team2Id(table.text(record.texts[Team2IdField])),
      coach1(table.text(record.texts[Coach1Field])), coach2(table.text(record.texts[Coach2Field])),
      coach1Id(table.text(record.texts[Coach1IdField])),
      coach2Id(table.text(record.texts[Coach2IdField])),
      date(record.julianDay == 0 ? QDate() : QDate::fromJulianDay(record.julianDay)),
      time(table.text(record.texts[TimeField])), goals1(table.text(record.texts[Goals1Field])),
      goals2(table.text(record.texts[Goals2Field])), extra1(table.text(record.texts[Extra1Field])),
      extra2(table.text(record.texts[Extra2Field])),
      penalties1(table.text(record.texts[Penalties1Field])),
      penalties2(table.text(record.texts[Penalties2Field])),
      stadium(table.text(record.texts[StadiumField])),
      stadiumId(table.text(record.texts[StadiumIdField])),
      city(table.text(record.texts[CityField])),
      attendance(table.text(record.texts[AttendanceField])),
      referee(table.text(record.texts[RefereeField])),
      refereeId(table.text(record.texts[RefereeIdField])),
      refereeCity(table.text(record.texts[RefereeCityField])),
      id(table, record.plain[PlainField::Id]), round(table.text(record.texts[RoundField])),
      tournament(table.text(record.texts[TournamentField])),
      players1(table, store.m_lineups.data() + record.lineup, record.players1),
      players2(table, store.m_lineups.data() + record.lineup + record.players1, record.players2),
      events(table, store.m_events.data() + record.events, record.eventCount)
{}

inline qsizetype MatchView::index() const
{
    return &record - &store.record(0);
}

// base with "-N" before its ".xml" ending, if any: "1.xml" -> "1-2.xml", "new" -> "new-2".
QString numberedFileName(const QString &base, int n);

// The empty range the window's date fields start from: 2999-12-31 till 1800-01-01.
QDate emptyRangeFrom();
QDate emptyRangeTill();
// The date range a fresh selection covers: the span of the store's dated matches, or the empty
// range above when none has a date.
DateSpan selectableRange(const MatchStore &store);
