#include "pages/pagecaption.h"

#include "pages/pagecodes.h"
#include "strings/texts.h"

#include <QStringList>

namespace {

QString subject(const QString &code, const QString &argument, const QString &search)
{
    const Texts &t = texts();
    const auto is = [&code](const char *c) { return code == QLatin1StringView(c); };
    if (is("ma01_"))
        return t.actionMatches;
    if (is("st01_"))
        return t.actionStadiums;
    if (is("st02_"))
        return t.captionStadiumMatches.arg(argument);
    if (is("re01_"))
        return t.actionReferees;
    if (is("re02_"))
        return t.captionRefereeMatches.arg(argument);
    if (is("co01_"))
        return t.actionCoaches;
    if (is("co02_"))
        return t.captionCoachMatches.arg(argument);
    if (is("pl01_"))
        return t.actionPlayers;
    if (is("pl02_"))
        return t.captionPlayerMatches.arg(argument);
    if (is("go01_"))
        return t.actionGoals;
    if (is("go02_"))
        return t.captionPlayerGoals.arg(argument);
    if (is("te01_"))
        return t.actionTeams;
    if (is("te02_"))
        return t.captionTeamPlayers.arg(argument);
    if (is("ta01_"))
        return t.actionTable;
    if (is("ta02_"))
        return t.captionTeamMatches.arg(argument);
    if (is("vpl1_"))
        return t.actionVerifyPlayers;
    if (is("vpl2_"))
        return t.actionVerifyPlayers2;
    if (is("vat1_"))
        return t.actionVerifyAttendance;
    if (is("fpl1_"))
        return t.captionFindPlayer.arg(search);
    if (is("fco1_"))
        return t.captionFindCoach.arg(search);
    if (is("vrp1_"))
        return t.actionCheckReports;
    if (is("vdp1_"))
        return t.actionDuplicates;
    if (is("hh01_")) {
        const QStringList teams = argument.split(QLatin1Char('\t'));
        return t.captionHeadToHead.arg(teams.value(0), teams.value(1));
    }
    if (is("tah1_"))
        return t.actionHomeTable;
    if (is("taa1_"))
        return t.actionAwayTable;
    if (is("taf1_"))
        return t.captionForm.arg(argument.isEmpty() ? QStringLiteral("5") : argument);
    if (is("sr01_"))
        return t.actionSeasonRace;
    if (is("sc01_"))
        return t.actionSeasonChart;
    if (is("sg01_"))
        return t.actionSeasonGoals;
    return QString();
}

} // namespace

QString pageCaption(const QString &link, const MatchFilter &filter, const QString &search,
                    const QString &rulesName)
{
    const Texts &t = texts();
    const LinkParts parts = splitLink(link);
    QString caption = subject(parts.code, parts.argument, search);
    if (caption.isEmpty())
        return caption;

    QStringList scope{filter.allTournaments() ? t.captionAllTournaments : filter.tournament};
    if (!filter.allRounds())
        scope.append(t.captionRound.arg(filter.round));
    const QString format = QStringLiteral("dd.MM.yyyy");
    scope.append(t.captionDates.arg(filter.from.toString(format), filter.till.toString(format)));
    caption = t.captionScope.arg(caption, scope.join(QStringLiteral(", ")));
    if (!rulesName.isEmpty())
        caption += t.captionRules.arg(rulesName);
    const bool playerDrillDown =
        parts.code == QLatin1StringView("pl02_") || parts.code == QLatin1StringView("go02_");
    if (playerDrillDown && !filter.considerId)
        caption += t.captionNamesakes;
    return caption;
}
