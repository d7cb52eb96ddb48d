#include "testsupport.h"

#include "pages/textexport.h"
#include "strings/texts.h"

#include <QFile>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

#define F(field) std::pair(#field, &MatchData::field)
const std::array<std::pair<const char *, QString MatchData::*>, 25> textFields{
    F(id),     F(round),      F(tournament), F(team1),     F(team1Id),     F(team2),   F(team2Id),
    F(time),   F(coach1),     F(coach1Id),   F(coach2),    F(coach2Id),    F(stadium), F(stadiumId),
    F(city),   F(attendance), F(referee),    F(refereeId), F(refereeCity), F(goals1),  F(goals2),
    F(extra1), F(extra2),     F(penalties1), F(penalties2)};
#undef F

Match makeMatch(const QString &fileName, const QString &date, const QString &team1,
                const QString &team2, const QString &goals1, const QString &goals2)
{
    Match match;
    MatchData &m = match.edit();
    m.fileName = fileName;
    m.date = QDate::fromString(date, Qt::ISODate);
    m.team1 = team1;
    m.team2 = team2;
    m.goals1 = goals1;
    m.goals2 = goals2;
    return match;
}

MatchEvent makeEvent(const QString &spec)
{
    const QStringList p = spec.split(QLatin1Char('|'));
    const Texts &t = texts();
    const QString *known[] = {&t.goal,         &t.penaltyGoal, &t.ownGoal,    &t.missedPenalty,
                              &t.substitution, &t.caution,     &t.sendingOff, &t.secondCaution};
    const qsizetype k = p[0].size() == 1 ? QStringLiteral("GPOMSCRY").indexOf(p[0]) : -1;
    const QString type = k < 0 ? p[0] : *known[k];
    return {p.value(5), type, {}, p.value(2), p.value(3), p.value(1), p.value(6), p.value(4)};
}

QList<MatchEvent> makeEvents(const QStringList &specs)
{
    QList<MatchEvent> events;
    for (const QString &spec : specs)
        events.append(makeEvent(spec));
    return events;
}

QList<PlayerEntry> lineup(const QStringList &names)
{
    QList<PlayerEntry> players;
    for (const QString &name : names)
        players.append(PlayerEntry{name.section(u'#', 1), name.section(u'#', 0, 0)});
    return players;
}

Match withFields(Match match, const QString &fields)
{
    static const QHash<QString, QString MatchData::*> members{
        {u"fileName"_s, &MatchData::fileName},       {u"coach1"_s, &MatchData::coach1},
        {u"coach2"_s, &MatchData::coach2},           {u"coach1Id"_s, &MatchData::coach1Id},
        {u"coach2Id"_s, &MatchData::coach2Id},       {u"time"_s, &MatchData::time},
        {u"extra1"_s, &MatchData::extra1},           {u"penalties1"_s, &MatchData::penalties1},
        {u"extra2"_s, &MatchData::extra2},           {u"penalties2"_s, &MatchData::penalties2},
        {u"stadium"_s, &MatchData::stadium},         {u"city"_s, &MatchData::city},
        {u"attendance"_s, &MatchData::attendance},   {u"referee"_s, &MatchData::referee},
        {u"refereeCity"_s, &MatchData::refereeCity}, {u"round"_s, &MatchData::round},
        {u"tournament"_s, &MatchData::tournament}};
    for (const QString &field : fields.split(u';')) {
        const auto member = members.value(field.section(u'=', 0, 0));
        if (!member)
            qFatal("withFields: no field %s", qPrintable(field));
        match.edit().*member = field.section(u'=', 1);
    }
    return match;
}

MatchStore makeStore(const QList<Match> &matches)
{
    MatchStore store;
    for (const Match &match : matches)
        store.add(match);
    return store;
}

Match onDay(int day, const QString &teams, const QStringList &events, const QStringList &players1,
            const QStringList &players2)
{
    const QStringList t = teams.split(u'|');
    Match m = makeMatch(u"m%1.xml"_s.arg(day), u"2020-01-%1"_s.arg(day, 2, 10, QLatin1Char('0')),
                        t.value(0), t.value(1), t.value(2), t.value(3));
    m.edit().events = makeEvents(events);
    m.edit().players1 = lineup(players1);
    m.edit().players2 = lineup(players2);
    return m;
}

QList<Match> onDays(const QStringList &teams)
{
    QList<Match> matches;
    for (const QString &t : teams)
        matches.append(onDay(int(matches.size()) + 1, t));
    return matches;
}

QList<Match> roundRobin(const QDate &start, int pause)
{
    QList<Match> matches;
    QDate day = start;
    for (const QString &pair : {u"A|B"_s, u"B|C"_s, u"C|A"_s, u"B|A"_s, u"C|B"_s, u"A|C"_s}) {
        day = day.addDays(matches.size() == 3 && pause ? pause : 7);
        matches.append(makeMatch(u"%1.xml"_s.arg(day.toString(Qt::ISODate)),
                                 day.toString(Qt::ISODate), pair.section(u'|', 0, 0),
                                 pair.section(u'|', 1), u"1"_s, u"0"_s));
    }
    return matches;
}

QStringList fieldOfAll(const MatchStore &store, QString MatchData::*field)
{
    QStringList values;
    for (const Match &match : store.matches())
        values.append((*match).*field);
    return values;
}

MatchFilter everything()
{
    MatchFilter filter;
    filter.from = QDate(1800, 1, 1);
    filter.till = QDate(2999, 12, 31);
    return filter;
}

QString written(TextLayout layout, bool links, const std::function<void(ResultTable &)> &fill)
{
    QByteArray out;
    TableWriter writer(layout, links, [&out](const char *data, size_t size) {
        out.append(data, qsizetype(size));
    });
    fill(writer);
    writer.finish();
    return QString::fromUtf8(out);
}

TableData runBuilder(const MatchStore &store, PageBuilder builder, const QString &argument,
                     bool considerId, const MatchFilter &filter, const QString &menuChoice)
{
    PageParams params;
    params.menuChoice = menuChoice;
    params.argument = argument;
    params.considerId = considerId;
    TableData table;
    runPage(store, filter, builder, params, table);
    // What the command line writes as the page goes is, byte for byte, the export of its table.
    for (const TextLayout layout : {TextLayout::Aligned, TextLayout::Csv, TextLayout::Tsv}) {
        for (const bool links : {false, true}) {
            const TableSnapshot shown = snapshotOf(table, links);
            QTest::qCompare(
                written(layout, links,
                        [&](ResultTable &to) { runPage(store, filter, builder, params, to); }),
                layout == TextLayout::Csv   ? exportCsv(shown)
                : layout == TextLayout::Tsv ? exportTsv(shown)
                                            : exportText(shown),
                "written", "exported", __FILE__, __LINE__);
        }
    }
    return table;
}

QStringList tableLines(const TableData &table)
{
    QStringList lines;
    for (int r = 0; r < table.rowCount(); ++r)
        lines.append(table.row(r).join(QLatin1Char('|')));
    return lines;
}

QStringList trimmedLines(const TableData &table, int columns)
{
    QStringList lines;
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList cells = table.row(r).mid(0, columns);
        for (QString &cell : cells)
            cell = cell.trimmed();
        lines.append(cells.join(QLatin1Char('|')));
    }
    return lines;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

qint64 processStatusKb(const QByteArray &field)
{
    for (const QByteArray &line : readFile(u"/proc/self/status"_s).split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}
