#include "cli/commands/databasewriting.h"

#include "cli/commands/common.h"
#include "cli/documentclitexts.h"
#include "formats/fileio.h"
#include "model/document.h"

#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

bool lockForWriting(DatabaseLock &lock, const QString &out)
{
    const QFileInfo info(out);
    if (info.exists() && !info.isFile())
        return true;
    const LockResult result = lock.take(out);
    // Where no lock can be made (a read-only folder) the write fails on its own.
    if (result.status != LockResult::Held)
        return true;
    const LockHolder &holder = result.holder;
    failure(documentCliTexts().cliLocked.arg(out, holder.application, QString::number(holder.pid),
                                             holder.host,
                                             holder.since.toString(u"yyyy-MM-dd HH:mm:ss"_s)));
    return false;
}

bool openDocument(const QString &path, Document &document)
{
    const Document::OpenResult result = document.open(path);
    if (!result.ok())
        failure(databaseMessage(result.database, path));
    return result.ok();
}

int writeDocument(Document &document, const QString &out)
{
    if (isStdout(out))
        return writeOutput(databaseBytes(document.store()), out);
    Document::SaveResult result;
    if (document.hasFile() && sameFile(out, document.path())) {
        result = document.save();
    } else {
        result.database = writeDatabase(out, document.store());
        if (!result.database.ok())
            result.status = Document::SaveResult::DatabaseFailed;
        // The rules travel with the matches to the new name. Without rules of its own the
        // command leaves a rules file already there alone: it may have been written for the
        // database being made.
        if (result.database.ok() && !document.rules().isEmpty() && QFileInfo(out).isFile()) {
            const QString rules = rulesFilePath(out);
            if (const SystemError error = writeFileSafely(rules, rulesFileBytes(document.rules()));
                error.isError())
                return failure(documentCliTexts().cliRulesNotWritten.arg(rules, error.text, out));
        }
    }
    switch (result.status) {
    case Document::SaveResult::ChangedOnDisk:
        return failure(documentCliTexts().cliChangedMeanwhile.arg(out));
    case Document::SaveResult::DatabaseFailed:
        return failure(databaseMessage(result.database, out));
    default:
        return ExitOk;
    }
}
