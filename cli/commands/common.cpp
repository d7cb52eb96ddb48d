#include "cli/commands/common.h"

#include "cli/clitexts.h"
#include "formats/database.h"
#include "formats/fileio.h"
#include "model/competitionrules.h"
#include "model/document.h"
#include "pages/pagecodes.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

bool stderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

void message(const QString &text)
{
    QTextStream err(stderr);
    err << text;
}

int failure(const QString &text)
{
    message(cliTexts().cliError.arg(text));
    return ExitFailure;
}

int usageError(const QString &text)
{
    message(cliTexts().cliError.arg(text) + cliTexts().cliHelpHint);
    return ExitUsage;
}

QString databaseMessage(const DatabaseResult &result, const QString &path)
{
    const CliTexts &t = cliTexts();
    switch (result.status) {
    case DatabaseResult::Ok:
        break;
    case DatabaseResult::CannotOpen:
        return t.cliCannotOpen.arg(path, result.systemError);
    case DatabaseResult::NotDatabase:
        return t.cliNotDatabase.arg(path);
    case DatabaseResult::UnsupportedVersion:
        return t.cliUnsupportedVersion.arg(path, QString::number(result.version));
    case DatabaseResult::Damaged:
        if (result.endsEarly)
            return t.cliCutShort.arg(path, QString::number(result.announced),
                                     QString::number(result.complete),
                                     QString::number(result.offset));
        return t.cliDamaged.arg(path, QString::number(result.offset));
    case DatabaseResult::NotRegularFile:
        return t.cliNotRegular.arg(path);
    case DatabaseResult::ChangedWhileReading:
        return t.cliChanged.arg(path);
    case DatabaseResult::CannotWrite:
        return t.cliCannotWrite.arg(path, result.systemError);
    }
    return QString();
}

const Document *openForReading(const QString &path)
{
    static Document *const document = new Document;
    const Document::OpenResult result = document->openReadOnly(path);
    if (!result.ok()) {
        failure(databaseMessage(result.database, path));
        return nullptr;
    }
    return document;
}

bool isStdout(const QString &path)
{
    return path.isEmpty() || path == u"-"_s;
}

bool outputIsAnInput(const QString &out, const QStringList &inputs)
{
    if (isStdout(out))
        return false;
    for (const QString &input : inputs) {
        if (sameFile(out, input)) {
            failure(cliTexts().cliSameFile.arg(out));
            return true;
        }
    }
    return false;
}

QStringList databaseInputs(const QString &path)
{
    return {path, rulesFilePath(path)};
}

bool outputIsAReport(const QString &out, const QStringList &directories)
{
    // The import reads every file ending in ".xml" under the directories.
    const QFileInfo info(out);
    if (isStdout(out) || !info.exists() || !info.canonicalFilePath().endsWith(u".xml"_s))
        return false;
    const QString file = info.canonicalFilePath();
    for (const QString &directory : directories) {
        const QString root = QFileInfo(directory).canonicalFilePath();
        if (!root.isEmpty() && file.startsWith(root == u"/"_s ? root : root + u'/')) {
            failure(cliTexts().cliSameFile.arg(out));
            return true;
        }
    }
    return false;
}

int writeOutput(const QByteArray &bytes, const QString &path)
{
    if (isStdout(path)) {
        if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) !=
                size_t(bytes.size()) ||
            std::fflush(stdout) != 0)
            return failure(cliTexts().cliCannotWrite.arg(u"stdout"_s, qt_error_string()));
        return ExitOk;
    }
    const SystemError error = writeFileSafely(path, bytes);
    if (error.isError())
        return failure(cliTexts().cliCannotWrite.arg(path, error.text));
    return ExitOk;
}

QDate parseDate(const QString &text)
{
    static const QRegularExpression form(u"^\\d{4}-\\d{2}-\\d{2}$"_s);
    if (!form.match(text).hasMatch())
        return QDate();
    return QDate::fromString(text, u"yyyy-MM-dd"_s);
}

QString pageNames()
{
    QStringList names;
    for (const PageCodeEntry *entry : pageCodes()) {
        if (!entry->name.isEmpty())
            names.append(QString(entry->name));
    }
    return names.join(u", "_s);
}
