#pragma once

// Terse matches, events and page runs for the tests.

#include "model/match.h"
#include "model/matchstore.h"
#include "pages/pagerunner.h"
#include "pages/tabledata.h"
#include "pages/textexport.h"

#include <QMetaType>
#include <QStringList>

#include <array>
#include <functional>

// A match with a file name, a date written "yyyy-MM-dd" (empty: undated), two teams and a score.
Match makeMatch(const QString &fileName, const QString &date, const QString &team1,
                const QString &team2, const QString &goals1 = QString(),
                const QString &goals2 = QString());

// Every text field of a match but its file name, with its name.
extern const std::array<std::pair<const char *, QString MatchData::*>, 25> textFields;

// An event from "kind|player|team|playerid|player2|time|playerid2"; trailing fields may be left
// off. The kind is one letter for the known kinds (G goal, P penalty goal, O own goal, M missed
// penalty, S substitution, C caution, R sending-off, Y second caution) or any other text as it is.
MatchEvent makeEvent(const QString &spec);
QList<MatchEvent> makeEvents(const QStringList &specs);

// Line-up entries written "name" or "name#id".
QList<PlayerEntry> lineup(const QStringList &names);

// The match with text fields set from "field=value;field=value", each field by its own name.
Match withFields(Match match, const QString &fields);

MatchStore makeStore(const QList<Match> &matches);
// One field of every match in the store, in store order.
QStringList fieldOfAll(const MatchStore &store, QString MatchData::*field);

// A match on the given day of January 2020, named "m<day>.xml", from "team1|team2|goals1|goals2",
// with its events and line-ups in the terse forms of makeEvent and lineup.
Match onDay(int day, const QString &teams, const QStringList &events = {},
            const QStringList &players1 = {}, const QStringList &players2 = {});
// Matches on days 1, 2, ... from their "team1|team2|goals1|goals2".
QList<Match> onDays(const QStringList &teams);
// A double round robin of A, B and C, each won 1:0 by the home team, a match a week from a week
// after start, with a pause of pause days after the third match (a winter break).
QList<Match> roundRobin(const QDate &start, int pause);

// A whole file's bytes (empty when it cannot be read), and a file made of bytes.
QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);
// A figure of /proc/self/status in kB, such as "VmHWM" or "VmSize"; 0 when it cannot be read.
qint64 processStatusKb(const QByteArray &field);

// A filter that selects every dated match of every tournament.
MatchFilter everything();

// Runs builder over store through runPage and returns the finished table.
// The text a TableWriter of layout writes of what fill puts in it.
QString written(TextLayout layout, bool links, const std::function<void(ResultTable &)> &fill);
TableData runBuilder(const MatchStore &store, PageBuilder builder,
                     const QString &argument = QString(), bool considerId = false,
                     const MatchFilter &filter = everything(),
                     const QString &menuChoice = QString());

// Each row of table in display order as its cells joined by '|', the link cell last.
QStringList tableLines(const TableData &table);
// The same with every cell trimmed, so that padded counts read as plain numbers; only the first
// `columns` cells when that is not negative.
QStringList trimmedLines(const TableData &table, int columns = -1);

Q_DECLARE_METATYPE(Match)
