// import DIR... -o OUT.swb [--into IN.swb]
#include "cli/clihelptexts.h"
#include "cli/clitexts.h"
#include "cli/commands/command.h"
#include "cli/commands/common.h"
#include "formats/database.h"
#include "formats/xmlimport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <cerrno>

using namespace Qt::Literals::StringLiterals;

namespace {

int run(const CommandLine &args)
{
    const CliTexts &t = cliTexts();
    const QString out = args.value(u"o"_s);
    if (args.positional().isEmpty() || out.isEmpty())
        return usageError(t.cliWrongArguments.arg(u"import"_s, t.cliImportArguments));
    for (const QString &directory : args.positional()) {
        if (!QFileInfo(directory).isDir())
            return failure(t.cliNotDirectory.arg(directory));
    }
    // Fail before a long import when the output cannot be written at all. Updating the database
    // named by --into in place is allowed: the write replaces it atomically.
    const QFileInfo outInfo(out);
    if (!isStdout(out) && (outInfo.isDir() || !QFileInfo(outInfo.absolutePath()).isDir()))
        return failure(
            t.cliCannotWrite.arg(out, qt_error_string(outInfo.isDir() ? EISDIR : ENOENT)));

    MatchStore store;
    if (args.has(u"into"_s) && !openDatabase(args.value(u"into"_s), store))
        return ExitFailure;

    // A progress line only where someone watches it.
    const bool terminal = stderrIsTerminal();
    QElapsedTimer shown;
    shown.start();
    qsizetype filesBefore = 0;
    const ImportProgress progress = [&](qsizetype files) {
        if (terminal && shown.elapsed() >= 100) {
            message(t.cliImportProgress.arg(filesBefore + files));
            shown.restart();
        }
    };

    QElapsedTimer timer;
    timer.start();
    ImportResult total;
    for (const QString &directory : args.positional()) {
        const ImportResult result = importDirectory(directory, store, progress);
        for (const auto &[name, error] : result.unreadable)
            message(t.cliWarning.arg(t.cliCannotOpen.arg(
                directory + u'/' + name, error ? qt_error_string(error) : t.cliNotRegularReason)));
        if (result.matches == 0 && result.duplicates == 0 && result.unreadable.isEmpty())
            message(t.cliWarning.arg(t.cliNoReports.arg(directory)));
        total.files += result.files;
        total.matches += result.matches;
        total.duplicates += result.duplicates;
        filesBefore = total.files;
    }
    const qint64 elapsed = timer.elapsed();
    if (terminal)
        message(u"\r\x1b[K"_s);

    if (isStdout(out)) {
        if (const int code = writeOutput(databaseBytes(store), out))
            return code;
    } else if (const DatabaseResult written = writeDatabase(out, store); !written.ok()) {
        return failure(databaseMessage(written, out));
    }
    // The summary goes where the database does not. One arg() call: a path holding "%5" must not
    // be taken for a placeholder.
    QTextStream summary(isStdout(out) ? stderr : stdout);
    summary << t.cliImportDone.arg(QString::number(total.files), QString::number(total.matches),
                                   QString::number(elapsed), out, QString::number(store.count()));
    if (total.duplicates > 0)
        summary << t.cliImportDuplicates.arg(total.duplicates);
    return ExitOk;
}

} // namespace

const Command &importCommand()
{
    const CliHelpTexts &h = cliHelpTexts();
    static const Command command{u"import"_s,
                                 u"DIR... -o OUT.swb [--into IN.swb]"_s,
                                 h.importSummary,
                                 {QCommandLineOption(u"o"_s, h.importOut, u"OUT.swb"_s),
                                  QCommandLineOption(u"into"_s, h.importInto, u"IN.swb"_s)},
                                 run};
    return command;
}
