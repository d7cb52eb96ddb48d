#include "model/document.h"

#include "formats/fileio.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <sys/stat.h>

FileIdentity FileIdentity::of(const QString &path)
{
    FileIdentity identity;
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return identity;
    identity.device = quint64(info.st_dev);
    identity.inode = quint64(info.st_ino);
    identity.size = qint64(info.st_size);
    identity.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return identity;
}

bool FileIdentity::operator==(const FileIdentity &other) const
{
    return device == other.device && inode == other.inode && size == other.size &&
           modifiedNs == other.modifiedNs;
}

QString lockFilePath(const QString &databasePath)
{
    const QFileInfo info(databasePath);
    return info.absolutePath() + QLatin1StringView("/.") + info.fileName() +
           QLatin1StringView(".lock");
}

DatabaseLock::DatabaseLock() = default;
DatabaseLock::~DatabaseLock() = default;
DatabaseLock::DatabaseLock(DatabaseLock &&other) noexcept = default;
DatabaseLock &DatabaseLock::operator=(DatabaseLock &&other) noexcept = default;

namespace {

void runWork(const Document::Runner &run, const std::function<void()> &work)
{
    if (run)
        run(work);
    else
        work();
}

} // namespace

LockResult DatabaseLock::take(const QString &databasePath)
{
    LockResult result;
    const QString file = lockFilePath(databasePath);
    if (m_lock && m_path == file && m_lock->isLocked())
        return result;
    release();
    auto lock = std::make_unique<QLockFile>(file);
    // A window holds its database for hours: only a dead holder makes a lock stale, never age.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        m_path = file;
        return result;
    }
    if (lock->error() != QLockFile::LockFailedError) {
        result.status = LockResult::Unavailable;
        return result;
    }
    result.status = LockResult::Held;
    lock->getLockInfo(&result.holder.pid, &result.holder.host, &result.holder.application);
    result.holder.since = QFileInfo(file).lastModified();
    return result;
}

void DatabaseLock::release()
{
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
    m_path.clear();
}

bool DatabaseLock::isHeld() const
{
    return m_lock && m_lock->isLocked();
}

Document::Document(QObject *parent) : QObject(parent) {}

Document::~Document() = default;

void Document::setRules(const RuleBook &rules)
{
    if (rules == m_rules)
        return;
    m_rules = rules;
    Q_EMIT contentChanged();
}

void Document::setModified(bool modified)
{
    m_store.setModified(modified);
    if (modified == m_modified)
        return;
    m_modified = modified;
    Q_EMIT modifiedChanged(modified);
}

LockResult Document::lock()
{
    if (m_path.isEmpty()) {
        LockResult none;
        none.status = LockResult::Unavailable;
        return none;
    }
    return m_lock.take(m_path);
}

void Document::adoptLock(DatabaseLock &&lock)
{
    m_lock = std::move(lock);
}

void Document::unlock()
{
    m_lock.release();
}

bool Document::isLocked() const
{
    return m_lock.isHeld();
}

Document::OpenResult Document::open(const QString &path, const Runner &run)
{
    OpenResult result;
    FileIdentity identity;
    MatchStore loaded;
    RuleBook rules;
    runWork(run, [&] {
        // The identity comes first: a file replaced while it is read then shows as changed.
        identity = FileIdentity::of(path);
        result.database = readDatabase(path, loaded);
        if (result.database.ok())
            result.rules = readRulesFile(rulesFilePath(path), rules);
    });
    if (!result.database.ok())
        return result;

    m_store.swap(loaded);
    m_identity = identity;
    m_rules = rules;
    m_savedRules = rules;
    m_rulesFileStale = false;
    m_rulesResult = result.rules;
    m_readOnly = false;
    const bool moved = path != m_path;
    m_path = path;
    setModified(false);
    if (moved)
        Q_EMIT pathChanged(m_path);
    Q_EMIT contentChanged();
    return result;
}

Document::OpenResult Document::openReadOnly(const QString &path, const Runner &run)
{
    const OpenResult result = open(path, run);
    if (result.ok())
        m_readOnly = true;
    return result;
}

void Document::reset(const QString &path)
{
    m_store.clear();
    m_identity = FileIdentity();
    m_rules.clear();
    m_savedRules.clear();
    m_rulesFileStale = true;
    m_rulesResult = RulesFileResult{RulesFileResult::Missing, QString()};
    m_readOnly = false;
    const bool moved = path != m_path;
    m_path = path;
    setModified(false);
    if (moved)
        Q_EMIT pathChanged(m_path);
    Q_EMIT contentChanged();
}

bool Document::changedOnDisk() const
{
    return hasFile() && FileIdentity::of(m_path) != m_identity;
}

Document::SaveResult Document::save(bool overwrite, const Runner &run)
{
    SaveResult result;
    if (m_readOnly) {
        result.status = SaveResult::ReadOnly;
        return result;
    }
    if (!overwrite && changedOnDisk()) {
        result.status = SaveResult::ChangedOnDisk;
        return result;
    }
    // The rules file stays as it is unless the rules were changed here: one the program could not
    // read is kept for the user to mend.
    return write(m_path, m_rulesFileStale || m_rules != m_savedRules, run);
}

Document::SaveResult Document::saveAs(const QString &newPath, const Runner &run)
{
    const bool moved = newPath != m_path;
    SaveResult result = write(newPath, true, run);
    if (result.status == SaveResult::DatabaseFailed)
        return result;
    if (moved) {
        m_lock.release();
        m_path = newPath;
        m_readOnly = false;
        Q_EMIT pathChanged(m_path);
    }
    return result;
}

Document::SaveResult Document::write(const QString &path, bool rulesToo, const Runner &run)
{
    SaveResult result;
    runWork(run, [&] { result.database = writeDatabase(path, m_store); });
    if (!result.database.ok()) {
        result.status = SaveResult::DatabaseFailed;
        return result;
    }
    m_identity = FileIdentity::of(path);
    m_rulesFileStale = false;
    if (rulesToo) {
        const QString file = rulesFilePath(path);
        result.rulesFile = file;
        if (m_rules.isEmpty()) {
            QFile old(file);
            if (old.exists() && !old.remove())
                result.rulesError = old.errorString();
        } else if (const SystemError error = writeFileSafely(file, rulesFileBytes(m_rules));
                   error.isError()) {
            result.rulesError = error.text;
        }
        if (!result.rulesError.isEmpty()) {
            // The next save tries the rules again.
            m_rulesFileStale = true;
            result.status = SaveResult::RulesFailed;
        } else {
            m_savedRules = m_rules;
        }
    }
    if (result.ok())
        setModified(false);
    return result;
}
