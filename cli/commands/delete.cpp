// delete FILE.swb MATCH-FILE-NAME... -o OUT.swb
#include "cli/clitexts.h"
#include "cli/commands/command.h"
#include "cli/commands/common.h"
#include "cli/commands/databasewriting.h"
#include "cli/documentclitexts.h"
#include "model/document.h"
#include "model/documentchanges.h"

#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

namespace {

int run(const CommandLine &args)
{
    const DocumentCliTexts &d = documentCliTexts();
    const QString out = args.value(u"o"_s);
    if (args.positional().size() < 2 || out.isEmpty())
        return usageError(cliTexts().cliWrongArguments.arg(u"delete"_s, d.cliDeleteArguments));
    const QString &path = args.positional().constFirst();
    // The database itself may be replaced (atomically); its rules file may not.
    if (outputIsAnInput(out, {rulesFilePath(path)}))
        return ExitFailure;
    DatabaseLock lock;
    if (!lockForWriting(lock, out))
        return ExitFailure;
    Document document;
    if (!openDocument(path, document))
        return ExitFailure;
    QStringList unknown;
    const QList<qsizetype> indices =
        matchIndices(document.store(), args.positional().mid(1), &unknown);
    if (!unknown.isEmpty()) {
        // A name mistyped is no deletion to pass over: nothing is written.
        for (const QString &name : std::as_const(unknown))
            message(cliTexts().cliError.arg(d.cliDeleteUnknown.arg(path, name)));
        return ExitFailure;
    }
    const qsizetype before = document.store().count();
    RemovedMatches(indices).apply(document);
    if (const int code = writeDocument(document, out))
        return code;
    QTextStream(isStdout(out) ? stderr : stdout)
        << d.cliDeleteDone.arg(QString::number(indices.size()), QString::number(before), out,
                               QString::number(document.store().count()));
    return ExitOk;
}

} // namespace

const Command &deleteCommand()
{
    const DocumentCliTexts &d = documentCliTexts();
    static const Command command{u"delete"_s,
                                 u"FILE.swb MATCH-FILE-NAME... -o OUT.swb"_s,
                                 d.deleteSummary,
                                 {QCommandLineOption(u"o"_s, d.deleteOut, u"OUT.swb"_s)},
                                 run};
    return command;
}
