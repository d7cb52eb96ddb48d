// export FILE.swb --xml DIR --sqlite OUT.sqlite: one option per kind of output, each naming the
// place to write to, written in turn.
#include "cli/clihelptexts.h"
#include "cli/clitexts.h"
#include "cli/clitrusttexts.h"
#include "cli/commands/command.h"
#include "cli/commands/common.h"
#include "formats/sqliteexport.h"
#include "formats/xmlexport.h"
#include "model/document.h"

#include <QElapsedTimer>
#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

namespace {

int run(const CommandLine &args)
{
    const CliTexts &t = cliTexts();
    if (args.positional().size() != 1 ||
        (args.value(u"xml"_s).isEmpty() && args.value(u"sqlite"_s).isEmpty()))
        return usageError(t.cliWrongArguments.arg(u"export"_s, t.cliExportArguments));
    const QString &path = args.positional().constFirst();
    // An SQLite database is a file of its own: "-" is no name for it (nor a file named "-").
    if (args.has(u"sqlite"_s) && args.value(u"sqlite"_s) == u"-"_s)
        return usageError(cliTrustTexts().sqliteNotStdout);
    if (args.has(u"sqlite"_s) && outputIsAnInput(args.value(u"sqlite"_s), databaseInputs(path)))
        return ExitFailure;
    const Document *document = openForReading(path);
    if (!document)
        return ExitFailure;
    const MatchStore &store = document->store();
    QList<Match> matches;
    matches.reserve(store.count());
    for (qsizetype i = 0; i < store.count(); ++i)
        matches.append(store.match(i));

    if (args.has(u"xml"_s)) {
        const QString directory = args.value(u"xml"_s);
        const XmlExportResult result = exportXmlReports(matches, directory);
        for (const QString &name : result.altered)
            message(t.cliWarning.arg(t.cliExportAltered.arg(name)));
        // The folder could not be made: nothing was written.
        if (!result.ok() && result.notWritten.isEmpty())
            return failure(t.cliCannotWrite.arg(result.failedPath, result.systemError));
        for (const XmlExportResult::Failure &failed : result.notWritten)
            message(t.cliWarning.arg(t.cliCannotWrite.arg(failed.path, failed.reason)));
        QTextStream(stdout) << t.cliExportDone.arg(QString::number(result.written), directory);
        if (!result.notWritten.isEmpty())
            return failure(cliTrustTexts().xmlNotWritten.arg(
                QString::number(result.notWritten.size()), QString::number(matches.size())));
    }
    if (args.has(u"sqlite"_s)) {
        const QString to = args.value(u"sqlite"_s);
        const bool terminal = stderrIsTerminal();
        QElapsedTimer timer;
        timer.start();
        QElapsedTimer shown;
        shown.start();
        const ExportProgress progress = [&](qsizetype done, qsizetype total) {
            if (!terminal)
                return;
            if (total == 0)
                message(t.cliExportIndexing.arg(to));
            else if (shown.elapsed() >= 100)
                message(t.cliExportProgress.arg(to, QString::number(done), QString::number(total)));
            else
                return;
            shown.restart();
        };
        const SqliteExportResult result = exportSqlite(store, to, progress);
        if (terminal)
            message(u"\r\x1b[K"_s);
        if (!result.ok())
            return failure(t.cliCannotWrite.arg(
                to, result.status == SqliteExportResult::NotRegularFile ? t.cliNotRegularOutput
                                                                        : result.error));
        QTextStream(stdout) << t.cliSqliteDone.arg(QString::number(store.count()), to,
                                                   QString::number(timer.elapsed()));
    }
    return ExitOk;
}

} // namespace

const Command &exportCommand()
{
    const CliHelpTexts &h = cliHelpTexts();
    static const Command command{u"export"_s,
                                 u"FILE.swb [--xml DIR] [--sqlite OUT.sqlite]"_s,
                                 h.exportSummary,
                                 {QCommandLineOption(u"xml"_s, h.exportXml, u"DIR"_s),
                                  QCommandLineOption(u"sqlite"_s, h.exportSqlite, u"OUT.sqlite"_s)},
                                 run};
    return command;
}
