// page FILE.swb PAGE [options]
#include "cli/clihelptexts.h"
#include "cli/clitexts.h"
#include "cli/commands/command.h"
#include "cli/commands/common.h"
#include "model/competitionrules.h"
#include "model/document.h"
#include "pages/analysis.h"
#include "pages/builders.h"
#include "pages/pagecaption.h"
#include "pages/pagecodes.h"
#include "pages/pagerequest.h"
#include "pages/statpages.h"
#include "pages/tabledata.h"
#include "pages/textexport.h"
#include "strings/texts.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Warns when the rules file at path (named by --rules, or the database's own) could not be used,
// as result says; the standard rules then apply.
void warnAboutRules(const RulesFileResult &result, const QString &path, bool named)
{
    const CliTexts &t = cliTexts();
    QString reason;
    switch (result.status) {
    case RulesFileResult::Ok:
        break;
    case RulesFileResult::Missing:
        // Only a file named by --rules is missed.
        if (named)
            reason = t.cliRulesMissing;
        break;
    case RulesFileResult::CannotRead:
    case RulesFileResult::CannotWrite:
        reason = result.detail;
        break;
    case RulesFileResult::NotRegular:
        reason = t.cliNotRegularReason;
        break;
    case RulesFileResult::Malformed:
        reason = t.cliRulesMalformed.arg(result.detail);
        break;
    case RulesFileResult::UnknownCriterion:
        reason = t.cliRulesUnknownCriterion.arg(result.detail);
        break;
    case RulesFileResult::BadValue:
        reason = t.cliRulesBadValue.arg(result.detail);
        break;
    }
    if (!reason.isEmpty())
        message(t.cliWarning.arg(t.cliRulesWarning.arg(path, reason)));
}

int run(const CommandLine &args)
{
    const CliTexts &t = cliTexts();
    if (args.positional().size() != 2)
        return usageError(t.cliWrongArguments.arg(u"page"_s, t.cliPageArguments));
    const QString &path = args.positional().at(0);
    const QString &link = args.positional().at(1);
    if (outputIsAnInput(args.value(u"o"_s),
                        databaseInputs(path) + QStringList{args.value(u"rules"_s)}))
        return ExitFailure;

    // The page: a short name or a link as the window follows it.
    PageRequest request = pageRequest(link);
    const PageCodeEntry *entry = request.entry;
    if (!entry)
        return usageError(t.cliUnknownPage.arg(link) + u'\n' + t.cliUsage.arg(pageNames()));
    QString &argument = request.argument;
    if (entry->kind == PageKind::Report)
        return usageError(t.cliReportPage.arg(link, path, splitLink(link).argument));
    const QStringList teams = args.values(u"team"_s);
    if (entry->builder == headToHead) {
        if (!teams.isEmpty())
            argument = teams.join(headToHeadSeparator);
        if (argument.count(headToHeadSeparator) != 1)
            return usageError(t.cliHeadToHeadTeams);
    } else if (!teams.isEmpty()) {
        return usageError(t.cliTeamNotHere);
    }
    // The career takes its player by --player: his name, or with --consider-id his ID.
    if (entry->builder == playerCareer || entry->builder == playerCareerById) {
        if (args.has(u"player"_s)) {
            argument = args.value(u"player"_s);
            if (args.has(u"consider-id"_s))
                entry = findPageCode(QString(PageCode::CareerById));
        }
        if (argument.isEmpty())
            return usageError(t.cliCareerPlayer);
    } else if (args.has(u"player"_s)) {
        return usageError(t.cliPlayerNotHere);
    }
    if (args.has(u"round"_s) && args.has(u"up-to-round"_s))
        return usageError(t.cliRoundTwice);
    if ((entry->kind == PageKind::FindPlayer || entry->kind == PageKind::FindCoach) &&
        argument.isEmpty())
        return usageError(t.cliEmptySearch.arg(QString(entry->code)));

    const QString format = args.has(u"format"_s) ? args.value(u"format"_s) : u"text"_s;
    if (format != u"text"_s && format != u"csv"_s && format != u"tsv"_s && format != u"html"_s)
        return usageError(t.cliBadFormat.arg(format));
    QDate fromOption;
    QDate tillOption;
    for (const auto &[option, date] :
         {std::pair{u"from"_s, &fromOption}, std::pair{u"till"_s, &tillOption}}) {
        if (!args.has(option))
            continue;
        *date = parseDate(args.value(option));
        if (!date->isValid())
            return usageError(t.cliBadDate.arg(u"--"_s + option, args.value(option)));
    }
    if (fromOption.isValid() && tillOption.isValid() && fromOption > tillOption)
        return usageError(t.cliFromAfterTill.arg(args.value(u"from"_s), args.value(u"till"_s)));

    CompetitionRules overrides;
    if (args.has(u"points"_s) && !parsePoints(args.value(u"points"_s), overrides))
        return usageError(t.cliBadPoints.arg(args.value(u"points"_s)));
    QString badToken;
    if (args.has(u"tiebreak"_s) &&
        !parseTieBreaks(args.value(u"tiebreak"_s), overrides.tieBreaks, &badToken))
        return usageError(t.cliBadTieBreak.arg(badToken));

    const Document *document = openForReading(path);
    if (!document)
        return ExitFailure;
    const MatchStore &store = document->store();
    MatchFilter filter;
    filter.from = selectableRange(store).from;
    filter.till = selectableRange(store).till;
    if (store.isEmpty())
        return failure(t.cliNoMatches.arg(path));
    if (fromOption.isValid())
        filter.from = fromOption;
    if (tillOption.isValid())
        filter.till = tillOption;
    filter.tournament =
        args.has(u"tournament"_s) ? args.value(u"tournament"_s) : texts().allTournaments;
    if (!filter.allTournaments() && !store.tournamentNames().contains(filter.tournament))
        message(t.cliWarning.arg(t.cliNoTournament.arg(path, filter.tournament)));
    filter.considerId = args.has(u"consider-id"_s);
    if (args.has(u"round"_s))
        filter.round = args.value(u"round"_s);
    if (args.has(u"up-to-round"_s)) {
        filter.round = args.value(u"up-to-round"_s);
        filter.upToRound = true;
    }

    request.menuChoice = args.value(u"menu-choice"_s);
    request.filter = filter;
    // The rules file is read only for the pages that count points.
    if (entry->countsPoints) {
        // The database's own rules came with it; --rules names others.
        const bool named = args.has(u"rules"_s);
        RuleBook namedBook;
        const RulesFileResult read =
            named ? readRulesFile(args.value(u"rules"_s), namedBook) : document->rulesFileResult();
        warnAboutRules(read, named ? args.value(u"rules"_s) : rulesFilePath(path), named);
        request.rules = (named ? namedBook : document->rules()).rulesFor(filter.tournament);
        if (args.has(u"points"_s)) {
            request.rules.win = overrides.win;
            request.rules.draw = overrides.draw;
            request.rules.loss = overrides.loss;
        }
        if (args.has(u"tiebreak"_s))
            request.rules.tieBreaks = overrides.tieBreaks;
    }
    // The caption as the window shows it above the table.
    const bool ownRules = entry->countsPoints && !request.rules.sameScheme({});
    const bool search = entry->kind == PageKind::FindPlayer || entry->kind == PageKind::FindCoach;
    const QString caption =
        format == u"html"_s || args.has(u"caption"_s)
            ? pageCaption(QString(entry->code) + argument, filter, search ? argument : QString(),
                          ownRules ? rulesDisplayName(request.rules) : QString())
            : QString();
    // The table and its snapshot last as long as the process, as the store does: freeing tens of
    // thousands of cells one by one only delays the exit.
    if (format == u"html"_s) {
        static TableData *const lastingTable = new TableData;
        static TableSnapshot *const lastingSnapshot = new TableSnapshot;
        runPage(store, request, *lastingTable);
        *lastingSnapshot = snapshotOf(*lastingTable, args.has(u"links"_s));
        return writeOutput(exportHtml(*lastingSnapshot, caption).toUtf8(), args.value(u"o"_s));
    }

    // The text layouts are written as the page makes its rows: to the standard output in pieces,
    // to a file all at once, as a failed page must not leave half a file.
    const QString out = args.value(u"o"_s);
    const bool toStdout = isStdout(out);
    QByteArray bytes;
    bool written = true;
    const auto output = [&](const char *data, size_t size) {
        if (!toStdout)
            bytes.append(data, qsizetype(size));
        else if (written)
            written = std::fwrite(data, 1, size, stdout) == size;
    };
    const TextLayout layout = format == u"csv"_s   ? TextLayout::Csv
                              : format == u"tsv"_s ? TextLayout::Tsv
                                                   : TextLayout::Aligned;
    static TableWriter *lastingWriter = nullptr;
    lastingWriter = new TableWriter(layout, args.has(u"links"_s), output);
    TableWriter &writer = *lastingWriter;
    writer.writeText(layout == TextLayout::Csv   ? csvCaptionLine(caption)
                     : layout == TextLayout::Tsv ? tsvCaptionLine(caption)
                                                 : textCaptionLine(caption));
    runPage(store, request, writer);
    writer.finish();
    if (!toStdout)
        return writeOutput(bytes, out);
    if (!written || std::fflush(stdout) != 0)
        return failure(cliTexts().cliCannotWrite.arg(u"stdout"_s, qt_error_string()));
    return ExitOk;
}

} // namespace

const Command &pageCommand()
{
    const CliHelpTexts &h = cliHelpTexts();
    static const Command command{
        u"page"_s,
        u"FILE.swb PAGE [options]"_s,
        h.pageSummary,
        {QCommandLineOption(u"tournament"_s, h.pageTournament, u"NAME"_s),
         QCommandLineOption(u"round"_s, h.pageRound, u"NAME"_s),
         QCommandLineOption(u"up-to-round"_s, h.pageUpToRound, u"NAME"_s),
         QCommandLineOption(u"from"_s, h.pageFrom, u"YYYY-MM-DD"_s),
         QCommandLineOption(u"till"_s, h.pageTill, u"YYYY-MM-DD"_s),
         QCommandLineOption(u"consider-id"_s, h.pageConsiderId),
         QCommandLineOption(u"menu-choice"_s, h.pageMenuChoice, u"LABEL"_s),
         QCommandLineOption(u"team"_s, h.pageTeam, u"NAME"_s),
         QCommandLineOption(u"player"_s, h.pagePlayer, u"NAME"_s),
         QCommandLineOption(u"format"_s, h.pageFormat, u"text|csv|tsv|html"_s),
         QCommandLineOption(u"caption"_s, h.pageCaption),
         QCommandLineOption(u"links"_s, h.pageLinks),
         QCommandLineOption(u"o"_s, h.pageOut, u"OUT"_s),
         QCommandLineOption(u"rules"_s, h.pageRules, u"RULES"_s),
         QCommandLineOption(u"points"_s, h.pagePoints, u"W-D-L"_s),
         QCommandLineOption(u"tiebreak"_s, h.pageTieBreak, u"LIST"_s)},
        run};
    return command;
}
