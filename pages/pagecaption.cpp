#include "pages/pagecaption.h"

#include "pages/pagecodes.h"
#include "strings/plural.h"
#include "strings/stattexts.h"
#include "strings/texts.h"
#include "strings/windowtexts.h"

#include <QStringList>

namespace {

QString subject(const QString &code, const QString &argument, const QString &search)
{
    const Texts &t = texts();
    const auto is = [&code](QLatin1StringView c) { return code == c; };
    if (is(PageCode::Matches))
        return t.actionMatches;
    if (is(PageCode::Stadiums))
        return t.actionStadiums;
    if (is(PageCode::StadiumMatches))
        return t.captionStadiumMatches.arg(argument);
    if (is(PageCode::Referees))
        return t.actionReferees;
    if (is(PageCode::RefereeMatches))
        return t.captionRefereeMatches.arg(argument);
    if (is(PageCode::Coaches))
        return t.actionCoaches;
    if (is(PageCode::CoachMatches))
        return t.captionCoachMatches.arg(argument);
    if (is(PageCode::Players))
        return t.actionPlayers;
    if (is(PageCode::PlayerMatches))
        return t.captionPlayerMatches.arg(argument);
    if (is(PageCode::Scorers))
        return t.actionGoals;
    if (is(PageCode::ScorerMatches))
        return t.captionPlayerGoals.arg(argument);
    if (is(PageCode::Teams))
        return t.actionTeams;
    if (is(PageCode::TeamPlayers))
        return t.captionTeamPlayers.arg(argument);
    if (is(PageCode::Standings))
        return t.actionTable;
    if (is(PageCode::TeamMatches))
        return t.captionTeamMatches.arg(argument);
    if (is(PageCode::CheckLineups))
        return t.actionVerifyPlayers;
    if (is(PageCode::CheckIds))
        return t.actionVerifyPlayers2;
    if (is(PageCode::CheckAttendance))
        return t.actionVerifyAttendance;
    if (is(PageCode::FindPlayer))
        return t.captionFindPlayer.arg(search);
    if (is(PageCode::FindCoach))
        return t.captionFindCoach.arg(search);
    if (is(PageCode::Consistency))
        return t.actionCheckReports;
    if (is(PageCode::Duplicates))
        return t.actionDuplicates;
    if (is(PageCode::HeadToHead)) {
        const QStringList teams = argument.split(QLatin1Char('\t'));
        return t.captionHeadToHead.arg(teams.value(0), teams.value(1));
    }
    if (is(PageCode::HomeTable))
        return t.actionHomeTable;
    if (is(PageCode::AwayTable))
        return t.actionAwayTable;
    if (is(PageCode::FormTable)) {
        bool number = false;
        const int length = argument.toInt(&number);
        return t.captionForm.arg(argument.isEmpty() ? countWithNoun(5, nouns().matches)
                                 : number           ? countWithNoun(length, nouns().matches)
                                                    : argument);
    }
    if (is(PageCode::SeasonRace))
        return t.actionSeasonRace;
    if (is(PageCode::SeasonChart))
        return t.actionSeasonChart;
    if (is(PageCode::SeasonGoals))
        return t.actionSeasonGoals;
    if (is(PageCode::Undated))
        return windowTexts().captionUndated;
    const StatTexts &st = statTexts();
    const QString byId = st.captionById.arg(argument);
    if (is(PageCode::PlayerMatchesById))
        return t.captionPlayerMatches.arg(byId);
    if (is(PageCode::ScorerMatchesById))
        return t.captionPlayerGoals.arg(byId);
    if (is(PageCode::CoachMatchesById))
        return t.captionCoachMatches.arg(byId);
    if (is(PageCode::Career))
        return st.captionCareer.arg(argument);
    if (is(PageCode::CareerById))
        return st.captionCareer.arg(byId);
    if (is(PageCode::Records))
        return st.actionRecords;
    if (is(PageCode::Runs))
        return st.actionRuns;
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
        scope.append(
            (filter.upToRound ? statTexts().captionUpToRound : t.captionRound).arg(filter.round));
    const QString format = QStringLiteral("dd.MM.yyyy");
    // The undated matches are listed whatever the dates.
    if (parts.code != PageCode::Undated)
        scope.append(
            t.captionDates.arg(filter.from.toString(format), filter.till.toString(format)));
    caption = t.captionScope.arg(caption, scope.join(QStringLiteral(", ")));
    if (!rulesName.isEmpty())
        caption += t.captionRules.arg(rulesName);
    const bool playerDrillDown =
        parts.code == PageCode::PlayerMatches || parts.code == PageCode::ScorerMatches;
    if (playerDrillDown && !filter.considerId)
        caption += t.captionNamesakes;
    // With IDs considered, every page of people says that namesakes are told apart.
    const bool people =
        playerDrillDown || parts.code == PageCode::Players || parts.code == PageCode::Scorers ||
        parts.code == PageCode::Coaches || parts.code == PageCode::CoachMatches ||
        parts.code == PageCode::FindPlayer || parts.code == PageCode::FindCoach ||
        parts.code == PageCode::TeamPlayers || parts.code == PageCode::Career ||
        parts.code == PageCode::CareerById || parts.code == PageCode::PlayerMatchesById ||
        parts.code == PageCode::ScorerMatchesById || parts.code == PageCode::CoachMatchesById;
    if (people && filter.considerId)
        caption += statTexts().captionNamesakesApart;
    return caption;
}
