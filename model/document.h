#pragma once

#include "formats/database.h"
#include "model/competitionrules.h"
#include "model/matchstore.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLockFile;

// Which file a path named when it was last read or written: enough to tell that another process
// has since replaced it (a new inode) or rewritten it in place (size or modification time).
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1; // -1: there was no file
    qint64 modifiedNs = 0;

    bool exists() const { return size >= 0; }
    static FileIdentity of(const QString &path);
    bool operator==(const FileIdentity &other) const;
    bool operator!=(const FileIdentity &other) const { return !(*this == other); }
};

// The lock a program holding a database keeps beside it: hidden, ".NAME.swb.lock".
QString lockFilePath(const QString &databasePath);

// Who holds the lock of a database, as its lock file says.
struct LockHolder
{
    qint64 pid = 0;
    QString host;
    QString application;
    QDateTime since; // when the lock was taken (the lock file's time), local time
};

struct LockResult
{
    enum Status {
        Locked,     // this process holds the lock now (also when it held it already)
        Held,       // another living process holds it: holder says who
        Unavailable // no lock can be made there (a read-only folder): nobody can hold one
    };
    Status status = Locked;
    LockHolder holder;

    bool locked() const { return status == Locked; }
};

// The lock of the database at path for as long as the object lives. A lock left by a process
// that has died is taken over; a living holder's lock never goes stale by age.
class DatabaseLock
{
public:
    DatabaseLock();
    ~DatabaseLock();
    DatabaseLock(DatabaseLock &&other) noexcept;
    DatabaseLock &operator=(DatabaseLock &&other) noexcept;

    LockResult take(const QString &databasePath);
    void release();
    bool isHeld() const;
    const QString &path() const { return m_path; }

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
};

// An open database: its matches, the file they come from, the competition rules kept beside it,
// whether they differ from the file, and which file that was on disk. The window is a view of a
// document; the command line opens, changes and saves one. Reading and writing go through the
// safe reader and writer; the rules file travels with the database.
class Document : public QObject
{
    Q_OBJECT

public:
    explicit Document(QObject *parent = nullptr);
    // How the file work is run: the window runs it in a worker thread while it stays painted.
    // The document changes only on the caller's thread, after the work.
    using Runner = std::function<void(const std::function<void()> &work)>;
    ~Document() override;

    MatchStore &store() { return m_store; }
    const MatchStore &store() const { return m_store; }
    // Where the database is kept; empty for a new one not yet saved.
    const QString &path() const { return m_path; }
    // True once the database was read from path or written there.
    bool hasFile() const { return m_identity.exists(); }

    const RuleBook &rules() const { return m_rules; }
    // The rules file's state when the database was opened (Ok or Missing when it was read).
    RulesFileResult rulesFileResult() const { return m_rulesResult; }
    void setRules(const RuleBook &rules);

    // The database differs from its file. Whoever changes it says so; the window's undo history
    // clears it when it returns to the saved state.
    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    // A read-only document never writes over its own file (Save As is allowed and ends it).
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // The lock of path() (see DatabaseLock); Unavailable for a document without a path.
    LockResult lock();
    // A lock taken before the database was opened becomes the document's.
    void adoptLock(DatabaseLock &&lock);
    void unlock();
    bool isLocked() const;

    struct OpenResult
    {
        DatabaseResult database;
        RulesFileResult rules; // only when the database was read
        bool ok() const { return database.ok(); }
    };
    // Reads the database at path and its rules file. On failure the document stays as it was;
    // the lock is not touched (take it for the new path first where one is wanted).
    OpenResult open(const QString &path, const Runner &run = {});
    // Opens path as open() does, for reading only: save() then refuses to write over it. No lock
    // is taken, as open() takes none.
    OpenResult openReadOnly(const QString &path, const Runner &run = {});
    // An empty database, to be saved under path when given; rules left beside a file of that name
    // belong to the database it replaces, so the first save writes (or removes) them.
    void reset(const QString &path = QString());

    struct SaveResult
    {
        enum Status {
            Saved,
            ChangedOnDisk, // another process changed the file since it was read or saved: unwritten
            ReadOnly,      // opened read-only: unwritten
            DatabaseFailed, // database says why; the old file is intact
            RulesFailed     // the database was written, its rules file not: rulesError says why
        };
        Status status = Saved;
        DatabaseResult database;
        QString rulesFile;
        QString rulesError;
        bool ok() const { return status == Saved; }
    };
    // Writes the database to path() and its rules file when the rules differ from it. Unless
    // overwrite is set, a file that another process changed since is left alone.
    SaveResult save(bool overwrite = false, const Runner &run = {});
    // Writes the database and its rules to newPath, which the document then names (also after
    // RulesFailed). The rules always go with it; no rules means no rules file there.
    SaveResult saveAs(const QString &newPath, const Runner &run = {});
    // The file at path() is no longer the one read or last written (changed, replaced, removed).
    bool changedOnDisk() const;

Q_SIGNALS:
    void modifiedChanged(bool modified);
    // The matches or the rules changed (an edit, an import, an undo, a file read).
    void contentChanged();
    void pathChanged(const QString &path);

private:
    SaveResult write(const QString &path, bool rulesToo, const Runner &run);

    MatchStore m_store;
    QString m_path;
    FileIdentity m_identity;
    RuleBook m_rules;
    // The rules as the file beside path() holds them, as far as the program knows. A file it
    // could not read counts as holding the standard rules, so it is overwritten only when the
    // rules are changed here.
    RuleBook m_savedRules;
    bool m_rulesFileStale = false; // the file beside path() is not this database's
    RulesFileResult m_rulesResult;
    bool m_modified = false;
    bool m_readOnly = false;
    DatabaseLock m_lock;
};
