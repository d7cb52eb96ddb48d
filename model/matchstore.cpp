#include "model/matchstore.h"

#include <QSet>

#include <algorithm>

namespace {

// Every text of a match stands once in the field table and once in the file order, and each row
// of the table names a member of its own: a field left out or given twice does not compile.
template <typename Key> constexpr bool eachTextOnce(Key key)
{
    int seen[MatchFieldCount] = {};
    for (int k = 0; k < MatchFieldCount; ++k) {
        const FieldKey f = key(k);
        ++seen[f.isPlain ? TextFieldCount + int(f.plain) : int(f.text)];
    }
    for (const int n : seen) {
        if (n != 1)
            return false;
    }
    return true;
}
static_assert(eachTextOnce([](int k) { return matchFields[k].key; }));
static_assert(eachTextOnce([](int k) { return matchFileOrder[k]; }));

constexpr bool membersApart()
{
    for (int k = 0; k < MatchFieldCount; ++k) {
        for (int j = k + 1; j < MatchFieldCount; ++j) {
            if (matchFields[k].member == matchFields[j].member)
                return false;
        }
    }
    return true;
}
static_assert(membersApart());

} // namespace

void DateSpan::widen(const QDate &date)
{
    if (!date.isValid())
        return;
    if (!from.isValid() || date < from)
        from = date;
    if (!till.isValid() || date > till)
        till = date;
}

void DateSpan::widen(const DateSpan &other)
{
    widen(other.from);
    widen(other.till);
}

Match MatchView::toMatch() const
{
    Match match;
    MatchData &m = match.edit();
    for (const MatchFieldInfo &f : matchFields)
        m.*f.member = f.key.isPlain ? table.string(record.plain[f.key.plain])
                                    : table.text(record.texts[f.key.text]);
    m.date = date;
    const auto players = [](const PlayerSpan &span, QList<PlayerEntry> &into) {
        into.reserve(span.size());
        for (const PlayerView &p : span)
            into.append(PlayerEntry{p.id, p.name});
    };
    players(players1, m.players1);
    players(players2, m.players2);
    m.events.reserve(events.size());
    for (const EventView &e : events)
        m.events.append(e.toEvent());
    return match;
}

MatchStore::MatchStore() = default;

void MatchStore::clear()
{
    m_texts.clear();
    m_records.clear();
    m_lineups.clear();
    m_events.clear();
    m_tournaments.clear();
    m_lastTournament = TextTable::noText;
    m_span = DateSpan();
    m_modified = false;
}

void MatchStore::swap(MatchStore &other) noexcept
{
    m_texts.swap(other.m_texts);
    m_records.swap(other.m_records);
    m_lineups.swap(other.m_lineups);
    m_events.swap(other.m_events);
    m_tournaments.swap(other.m_tournaments);
    std::swap(m_lastTournament, other.m_lastTournament);
    std::swap(m_span, other.m_span);
    std::swap(m_modified, other.m_modified);
}

void MatchStore::note(const MatchRecord &record)
{
    const TextId tournament = record.texts[TournamentField];
    if (tournament != m_lastTournament) {
        m_tournaments.insert(tournament);
        m_lastTournament = tournament;
    }
    if (record.julianDay != 0) {
        const QDate date = QDate::fromJulianDay(record.julianDay);
        if (!m_span.from.isValid() || date < m_span.from)
            m_span.from = date;
        if (!m_span.till.isValid() || date > m_span.till)
            m_span.till = date;
    }
    m_modified = true;
}

void MatchStore::noteRecords()
{
    for (const MatchRecord &record : m_records)
        note(record);
}

void MatchStore::addRecord(const MatchRecord &record)
{
    m_records.push_back(record);
    note(record);
}

MatchRecord MatchStore::recordOf(const Match &match)
{
    const MatchData &m = *match;
    MatchRecord r{};
    const auto intern = [this](const QString &text) { return m_texts.intern(text); };
    for (const MatchFieldInfo &f : matchFields) {
        if (f.key.isPlain)
            r.plain[f.key.plain] = m_texts.append(m.*f.member);
        else
            r.texts[f.key.text] = intern(m.*f.member);
    }
    r.julianDay = m.date.isValid() ? qint32(m.date.toJulianDay()) : 0;
    r.lineup = qint64(m_lineups.size());
    r.players1 = quint32(m.players1.size());
    r.players2 = quint32(m.players2.size());
    for (const QList<PlayerEntry> *players : {&m.players1, &m.players2}) {
        for (const PlayerEntry &p : *players)
            m_lineups.push_back(LineupEntry{intern(p.id), intern(p.name)});
    }
    r.events = qint64(m_events.size());
    r.eventCount = quint32(m.events.size());
    for (const MatchEvent &e : m.events) {
        EventRecord event;
        event.texts[EventTypeField] = intern(e.type);
        event.texts[EventTimeField] = intern(e.time);
        event.texts[EventTeamField] = intern(e.team);
        event.texts[EventCommentField] = intern(e.comment);
        event.texts[EventPlayerIdField] = intern(e.playerid);
        event.texts[EventPlayerField] = intern(e.player);
        event.texts[EventPlayerId2Field] = intern(e.playerid2);
        event.texts[EventPlayer2Field] = intern(e.player2);
        m_events.push_back(event);
    }
    return r;
}

void MatchStore::add(const Match &match)
{
    addRecord(recordOf(match));
}

void MatchStore::replace(qsizetype index, const Match &match)
{
    // The edited match's line-ups and events go to the end of the shared arrays; the old ones
    // stay unused until the store is read again.
    const MatchRecord record = recordOf(match);
    m_records[size_t(index)] = record;
    note(record);
}

void MatchStore::remove(const QList<qsizetype> &indices)
{
    if (indices.isEmpty())
        return;
    StoreArray<MatchRecord> kept;
    kept.reserve(m_records.size() - size_t(indices.size()));
    qsizetype next = 0;
    for (qsizetype i = 0; i < count(); ++i) {
        if (next < indices.size() && indices.at(next) == i)
            ++next;
        else
            kept.push_back(m_records[size_t(i)]);
    }
    m_records.swap(kept);
    renote();
}

void MatchStore::insert(const QList<qsizetype> &indices, const QList<Match> &matches)
{
    if (indices.isEmpty())
        return;
    StoreArray<MatchRecord> merged;
    merged.reserve(m_records.size() + size_t(indices.size()));
    size_t old = 0;
    for (qsizetype k = 0; k < indices.size(); ++k) {
        while (qsizetype(merged.size()) < indices.at(k) && old < m_records.size())
            merged.push_back(m_records[old++]);
        merged.push_back(recordOf(matches.at(k)));
    }
    while (old < m_records.size())
        merged.push_back(m_records[old++]);
    m_records.swap(merged);
    renote();
}

void MatchStore::renote()
{
    m_tournaments.clear();
    m_lastTournament = TextTable::noText;
    m_span = DateSpan();
    noteRecords();
    m_modified = true;
}

Match MatchStore::match(qsizetype index) const
{
    return at(index).toMatch();
}

QList<Match> MatchStore::matches() const
{
    QList<Match> all;
    all.reserve(count());
    for (qsizetype i = 0; i < count(); ++i)
        all.append(match(i));
    return all;
}

std::optional<Match> MatchStore::find(const QString &fileName) const
{
    const qsizetype i = indexOf(fileName);
    if (i < 0)
        return std::nullopt;
    return match(i);
}

qsizetype MatchStore::indexOf(const QString &fileName) const
{
    for (qsizetype i = 0; i < count(); ++i) {
        if (m_texts.view(m_records[size_t(i)].plain[PlainField::FileName]) == fileName)
            return i;
    }
    return -1;
}

bool MatchStore::sameContent(qsizetype index, const Match &match) const
{
    return at(index).toMatch().sameContent(match);
}

QStringList MatchStore::tournamentNames() const
{
    QStringList names;
    names.reserve(m_tournaments.size());
    for (const TextId id : m_tournaments)
        names.append(m_texts.text(id));
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

QString MatchStore::unusedFileName(const QString &base, bool numbered) const
{
    QSet<QString> taken;
    taken.reserve(count());
    for (const MatchRecord &record : m_records)
        taken.insert(m_texts.string(record.plain[PlainField::FileName]));
    if (!numbered && !taken.contains(base))
        return base;
    for (int n = numbered ? 1 : 2;; ++n) {
        const QString name = numberedFileName(base, n);
        if (!taken.contains(name))
            return name;
    }
}

QString numberedFileName(const QString &base, int n)
{
    const QLatin1StringView xml(".xml");
    const qsizetype stem = base.endsWith(xml, Qt::CaseInsensitive) ? base.size() - 4 : base.size();
    return base.left(stem) + QLatin1Char('-') + QString::number(n) + base.mid(stem);
}

QDate emptyRangeFrom()
{
    return QDate(2999, 12, 31);
}

QDate emptyRangeTill()
{
    return QDate(1800, 1, 1);
}

DateSpan selectableRange(const MatchStore &store)
{
    const DateSpan span = store.dateSpan();
    return span.isNull() ? DateSpan{emptyRangeFrom(), emptyRangeTill()} : span;
}
