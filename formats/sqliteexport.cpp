#include "formats/sqliteexport.h"
#include "model/matchfields.h"

#include "formats/fileio.h"
#include "model/matchstore.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cerrno>

using namespace Qt::Literals::StringLiterals;

namespace {

// The matches table's columns after mid, from the table of a match's fields.
QStringList matchColumns()
{
    QStringList columns;
    for (int k = 0; k < MatchFieldCount; ++k) {
        if (k == matchFieldsBeforeDateColumn)
            columns.append(u"date"_s);
        columns.append(QString(matchFields[k].column));
    }
    return columns;
}

const char *const schema[] = {
    "PRAGMA journal_mode = OFF",
    "PRAGMA synchronous = OFF",
    "CREATE TABLE lineups (mid INTEGER, side INTEGER, ord INTEGER, playerid TEXT, name TEXT, "
    "team TEXT)",
    "CREATE TABLE events (mid INTEGER, ord INTEGER, type TEXT, time TEXT, team TEXT, "
    "playerid TEXT, player TEXT, playerid2 TEXT, player2 TEXT, comment TEXT)",
};

// Built after the rows are in: one sort per index instead of a tree grown row by row.
const char *const indexes[] = {
    "CREATE INDEX matches_date ON matches(date)",
    "CREATE INDEX matches_tournament ON matches(tournament, date)",
    "CREATE INDEX matches_team1 ON matches(team1)",
    "CREATE INDEX matches_team2 ON matches(team2)",
    "CREATE INDEX lineups_mid ON lineups(mid)",
    "CREATE INDEX lineups_name ON lineups(name, team, mid)",
    "CREATE INDEX events_mid ON events(mid)",
    "CREATE INDEX events_type ON events(type)",
    "CREATE INDEX events_player ON events(player, team, type, mid)",
    "CREATE INDEX events_player2 ON events(player2, team, type, mid)",
    "ANALYZE",
};

// Why SQLite failed, in the system's words where SQLite's code stands for one (a full disk is
// "No space left on device", not "database or disk is full Unable to commit transaction").
QString reason(const QSqlError &error)
{
    // SQLite's primary result codes, the low byte of an extended one.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    switch (code) {
    case 8: // SQLITE_READONLY
        return qt_error_string(EROFS);
    case 10: // SQLITE_IOERR
        return qt_error_string(EIO);
    case 13: // SQLITE_FULL
        return qt_error_string(ENOSPC);
    default:
        return error.text();
    }
}

// A null text is SQL's NULL, an empty one ''. An unpaired surrogate becomes U+FFFD: SQLite's
// conversion from UTF-16 would take the character after it along.
QVariant text(const QString &value)
{
    if (value.isNull())
        return QVariant(QMetaType::fromType<QString>());
    const qsizetype size = value.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (!value.at(i).isSurrogate())
            continue;
        if (value.at(i).isHighSurrogate() && i + 1 < size && value.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        QString mended = value;
        for (qsizetype j = i; j < size; ++j) {
            const QChar c = mended.at(j);
            if (c.isHighSurrogate() && j + 1 < size && mended.at(j + 1).isLowSurrogate())
                ++j;
            else if (c.isSurrogate())
                mended[j] = QChar::ReplacementCharacter;
        }
        return QVariant(mended);
    }
    return QVariant(value);
}

QString dateText(const QDate &date)
{
    if (!date.isValid())
        return QString();
    return QString::asprintf("%04d-%02d-%02d", date.year(), date.month(), date.day());
}

class Filler
{
public:
    explicit Filler(QSqlDatabase &db) : m_db(db), m_matches(db), m_lineups(db), m_events(db) {}

    QString run(const MatchStore &store, const ExportProgress &progress)
    {
        const QStringList columns = matchColumns();
        if (!exec(u"CREATE TABLE matches (mid INTEGER PRIMARY KEY, %1 TEXT)"_s.arg(
                columns.join(u" TEXT, "_s))))
            return m_error;
        for (const char *statement : schema) {
            if (!exec(QString::fromLatin1(statement)))
                return m_error;
        }
        if (!m_db.transaction())
            return reason(m_db.lastError());
        if (!prepare(m_matches, u"INSERT INTO matches (mid, %1) VALUES (?%2)"_s.arg(
                                    columns.join(u", "_s), u", ?"_s.repeated(columns.size()))) ||
            !prepare(m_lineups, u"INSERT INTO lineups VALUES (?, ?, ?, ?, ?, ?)"_s) ||
            !prepare(m_events, u"INSERT INTO events VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s))
            return m_error;
        const qsizetype total = store.count();
        qsizetype mid = 0;
        for (qsizetype i = 0; i < total; ++i) {
            ++mid;
            if (!insert(mid, *store.match(i)))
                return m_error;
            if (progress && mid % 1000 == 0)
                progress(mid, total);
        }
        if (!m_db.commit())
            return reason(m_db.lastError());
        if (progress)
            progress(total, 0);
        for (const char *statement : indexes) {
            if (!exec(QString::fromLatin1(statement)))
                return m_error;
        }
        return QString();
    }

private:
    bool exec(const QString &statement)
    {
        QSqlQuery query(m_db);
        if (query.exec(statement))
            return true;
        m_error = reason(query.lastError());
        return false;
    }

    bool prepare(QSqlQuery &query, const QString &statement)
    {
        if (query.prepare(statement))
            return true;
        m_error = reason(query.lastError());
        return false;
    }

    bool step(QSqlQuery &query)
    {
        if (query.exec())
            return true;
        m_error = reason(query.lastError());
        return false;
    }

    bool insert(qsizetype mid, const MatchData &m)
    {
        m_matches.bindValue(0, mid);
        int column = 1;
        for (int k = 0; k < MatchFieldCount; ++k) {
            if (k == matchFieldsBeforeDateColumn)
                m_matches.bindValue(column++, text(dateText(m.date)));
            m_matches.bindValue(column++, text(m.*matchFields[k].member));
        }
        if (!step(m_matches))
            return false;

        for (int side = 1; side <= 2; ++side) {
            const QList<PlayerEntry> &players = side == 1 ? m.players1 : m.players2;
            const QVariant team = text(side == 1 ? m.team1 : m.team2);
            for (qsizetype ord = 0; ord < players.size(); ++ord) {
                m_lineups.bindValue(0, mid);
                m_lineups.bindValue(1, side);
                m_lineups.bindValue(2, ord);
                m_lineups.bindValue(3, text(players.at(ord).id));
                m_lineups.bindValue(4, text(players.at(ord).name));
                m_lineups.bindValue(5, team);
                if (!step(m_lineups))
                    return false;
            }
        }

        for (qsizetype ord = 0; ord < m.events.size(); ++ord) {
            const MatchEvent &e = m.events.at(ord);
            m_events.bindValue(0, mid);
            m_events.bindValue(1, ord);
            int column = 2;
            for (const QString *field : {&e.type, &e.time, &e.team, &e.playerid, &e.player,
                                         &e.playerid2, &e.player2, &e.comment})
                m_events.bindValue(column++, text(*field));
            if (!step(m_events))
                return false;
        }
        return true;
    }

    QSqlDatabase &m_db;
    QSqlQuery m_matches;
    QSqlQuery m_lineups;
    QSqlQuery m_events;
    QString m_error;
};

} // namespace

SqliteExportResult exportSqlite(const MatchStore &store, const QString &requested,
                                const ExportProgress &progress)
{
    // Through the safe writer: the new file takes the old one's place (and permissions) when
    // complete. A device or pipe is never replaced by a file; a link to a file replaces its
    // target.
    FileReplacement replacement(requested, FileReplacement::OtherLibrary);
    if (replacement.notRegular())
        return {SqliteExportResult::NotRegularFile, QString()};
    if (!replacement.ok())
        return {SqliteExportResult::Failed, replacement.error().text};
    const QString temporaryPath = replacement.temporaryPath();

    const QString connection = u"scorewright-export-"_s + temporaryPath;
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, connection);
        db.setDatabaseName(temporaryPath);
        if (!db.isValid())
            error = db.lastError().text();
        else if (!db.open())
            error = reason(db.lastError());
        else {
            {
                Filler filler(db);
                error = filler.run(store, progress);
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    const SystemError committed = replacement.commit(true, error.isEmpty() ? 0 : EIO);
    if (!error.isEmpty())
        return {SqliteExportResult::Failed, error};
    if (committed.isError())
        return {SqliteExportResult::Failed, committed.text};
    return {};
}
