#include "pages/pagecodes.h"

#include "pages/analysis.h"
#include "pages/builders.h"
#include "pages/statpages.h"
#include "pages/undated.h"

#include <iterator>

namespace {

using namespace Qt::Literals::StringLiterals;

const PageCodeEntry table[] = {
    {PageCode::Report, PageKind::Report, nullptr, true, {}},
    {PageCode::Matches, PageKind::Table, calculateMatches, false, "matches"_L1},
    {PageCode::Stadiums, PageKind::Table, calculateStadiums, false, "stadiums"_L1},
    {PageCode::StadiumMatches, PageKind::Table, stadiumMatches, true, {}},
    {PageCode::Referees, PageKind::Table, calculateReferees, false, "referees"_L1},
    {PageCode::RefereeMatches, PageKind::Table, refereeMatches, true, {}},
    {PageCode::Coaches, PageKind::Table, calculateCoaches, false, "coaches"_L1},
    {PageCode::CoachMatches, PageKind::Table, coachMatches, true, {}},
    {PageCode::Players, PageKind::Table, calculatePlayers, false, "players"_L1, false,
     mergePlayers},
    {PageCode::PlayerMatches, PageKind::Table, playerMatches, true, {}},
    {PageCode::Scorers, PageKind::Table, calculateGoals, false, "scorers"_L1},
    {PageCode::ScorerMatches, PageKind::Table, goalMatches, true, {}},
    {PageCode::Teams, PageKind::Table, calculateTeams, false, "teams"_L1},
    {PageCode::TeamPlayers, PageKind::Table, teamPlayers, true, {}},
    {PageCode::Standings, PageKind::Table, calculateTable, false, "standings"_L1, true},
    {PageCode::TeamMatches, PageKind::Table, teamMatches, true, {}},
    {PageCode::CheckLineups, PageKind::Table, verifyPlayers, false, "check-lineups"_L1},
    {PageCode::CheckIds, PageKind::Table, verifyPlayers2, false, "check-ids"_L1},
    {PageCode::CheckAttendance, PageKind::Table, verifyAttendance, false, "check-attendance"_L1},
    {PageCode::FindPlayer, PageKind::FindPlayer, calculatePlayers, true, {}, false, mergePlayers},
    {PageCode::FindCoach, PageKind::FindCoach, calculateCoaches, true, {}},
    {PageCode::Consistency, PageKind::Table, checkReports, false, "consistency"_L1},
    {PageCode::Duplicates, PageKind::Table, findDuplicates, false, "duplicates"_L1},
    {PageCode::HeadToHead, PageKind::Table, headToHead, true, "head-to-head"_L1, true},
    {PageCode::HomeTable, PageKind::Table, homeTable, false, "home"_L1, true},
    {PageCode::AwayTable, PageKind::Table, awayTable, false, "away"_L1, true},
    {PageCode::FormTable, PageKind::Table, formTable, true, "form"_L1, true},
    {PageCode::SeasonRace, PageKind::Table, calculateSeasonRace, false, "season-race"_L1, true},
    {PageCode::SeasonGoals, PageKind::Table, calculateSeasonGoals, false, "season-goals"_L1},
    {PageCode::SeasonChart, PageKind::Chart, calculateSeasonRace, false, {}, true},
    {PageCode::Undated, PageKind::Table, undatedMatches, false, "undated"_L1},
    {PageCode::PlayerMatchesById, PageKind::Table, playerMatchesById, true, {}},
    {PageCode::ScorerMatchesById, PageKind::Table, goalMatchesById, true, {}},
    {PageCode::CoachMatchesById, PageKind::Table, coachMatchesById, true, {}},
    {PageCode::Career, PageKind::Table, playerCareer, true, "career"_L1},
    {PageCode::CareerById, PageKind::Table, playerCareerById, true, {}},
    {PageCode::Records, PageKind::Table, calculateRecords, false, "records"_L1},
    {PageCode::Runs, PageKind::Table, calculateRuns, false, "runs"_L1},
};

} // namespace

LinkParts splitLink(const QString &link)
{
    if (link.isEmpty())
        return {};
    return {link.left(5), link.mid(5)};
}

const PageCodeEntry *findPageCode(QStringView code)
{
    for (const PageCodeEntry &entry : table) {
        if (code == entry.code)
            return &entry;
    }
    return nullptr;
}

const PageCodeEntry *findPageByName(QStringView name)
{
    for (const PageCodeEntry &entry : table) {
        if (!entry.name.isEmpty() && name == entry.name)
            return &entry;
    }
    return nullptr;
}

QList<const PageCodeEntry *> pageCodes()
{
    QList<const PageCodeEntry *> entries;
    entries.reserve(qsizetype(std::size(table)));
    for (const PageCodeEntry &entry : table)
        entries.append(&entry);
    return entries;
}

QLatin1StringView idPageCode(QLatin1StringView code)
{
    if (code == PageCode::PlayerMatches)
        return PageCode::PlayerMatchesById;
    if (code == PageCode::ScorerMatches)
        return PageCode::ScorerMatchesById;
    if (code == PageCode::CoachMatches)
        return PageCode::CoachMatchesById;
    if (code == PageCode::Career)
        return PageCode::CareerById;
    return code;
}

QString pageArgument(const PageCodeEntry &entry, const QString &linkArgument)
{
    return entry.takesArgument ? linkArgument : QString();
}
