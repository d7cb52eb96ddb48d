// info FILE.swb
#include "cli/clihelptexts.h"
#include "cli/clitexts.h"
#include "cli/commands/command.h"
#include "cli/commands/common.h"
#include "model/document.h"

using namespace Qt::Literals::StringLiterals;

namespace {

int run(const CommandLine &args)
{
    const CliTexts &t = cliTexts();
    if (args.positional().size() != 1)
        return usageError(t.cliWrongArguments.arg(u"info"_s, t.cliFileArgument));
    const Document *document = openForReading(args.positional().constFirst());
    if (!document)
        return ExitFailure;
    const MatchStore &store = document->store();
    const DateSpan dates = store.dateSpan();

    qsizetype undated = 0;
    for (qsizetype i = 0; i < store.count(); ++i) {
        if (store.record(i).julianDay == 0)
            ++undated;
    }
    QString text = t.cliInfoMatches.arg(store.count());
    if (undated < store.count())
        text +=
            t.cliInfoDates.arg(dates.from.toString(Qt::ISODate), dates.till.toString(Qt::ISODate));
    else
        text += t.cliInfoNoDates;
    text += t.cliInfoUndated.arg(undated);
    const QStringList tournaments = store.tournamentNames();
    text += t.cliInfoTournaments.arg(tournaments.size());
    for (const QString &name : tournaments)
        text += name + u'\n';
    return writeOutput(text.toUtf8(), QString());
}

} // namespace

const Command &infoCommand()
{
    static const Command command{u"info"_s, u"FILE.swb"_s, cliHelpTexts().infoSummary, {}, run};
    return command;
}
