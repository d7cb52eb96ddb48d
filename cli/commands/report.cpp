// report FILE.swb MATCH-FILE-NAME [-o OUT.html]
#include "cli/clihelptexts.h"
#include "cli/clitexts.h"
#include "cli/commands/command.h"
#include "cli/commands/common.h"
#include "model/document.h"
#include "pages/matchreport.h"

using namespace Qt::Literals::StringLiterals;

namespace {

int run(const CommandLine &args)
{
    const CliTexts &t = cliTexts();
    if (args.positional().size() != 2)
        return usageError(t.cliWrongArguments.arg(u"report"_s, t.cliReportArguments));
    const QString &path = args.positional().at(0);
    const QString &fileName = args.positional().at(1);
    if (outputIsAnInput(args.value(u"o"_s), databaseInputs(path)))
        return ExitFailure;
    const Document *document = openForReading(path);
    if (!document)
        return ExitFailure;
    const std::optional<Match> match = document->store().find(fileName);
    if (!match)
        return failure(t.cliUnknownMatch.arg(path, fileName));
    return writeOutput(matchReportHtml(**match).toUtf8(), args.value(u"o"_s));
}

} // namespace

const Command &reportCommand()
{
    const CliHelpTexts &h = cliHelpTexts();
    static const Command command{u"report"_s,
                                 u"FILE.swb MATCH-FILE-NAME [-o OUT.html]"_s,
                                 h.reportSummary,
                                 {QCommandLineOption(u"o"_s, h.reportOut, u"OUT.html"_s)},
                                 run};
    return command;
}
