#include "pages/pagecodes.h"

#include "pages/analysis.h"
#include "pages/builders.h"

#include <iterator>

namespace {

using namespace Qt::Literals::StringLiterals;

const PageCodeEntry table[] = {
    {"xm01_"_L1, PageKind::Report, nullptr, true, {}},
    {"ma01_"_L1, PageKind::Table, calculateMatches, false, "matches"_L1},
    {"st01_"_L1, PageKind::Table, calculateStadiums, false, "stadiums"_L1},
    {"st02_"_L1, PageKind::Table, stadiumMatches, true, {}},
    {"re01_"_L1, PageKind::Table, calculateReferees, false, "referees"_L1},
    {"re02_"_L1, PageKind::Table, refereeMatches, true, {}},
    {"co01_"_L1, PageKind::Table, calculateCoaches, false, "coaches"_L1},
    {"co02_"_L1, PageKind::Table, coachMatches, true, {}},
    {"pl01_"_L1, PageKind::Table, calculatePlayers, false, "players"_L1},
    {"pl02_"_L1, PageKind::Table, playerMatches, true, {}},
    {"go01_"_L1, PageKind::Table, calculateGoals, false, "scorers"_L1},
    {"go02_"_L1, PageKind::Table, goalMatches, true, {}},
    {"te01_"_L1, PageKind::Table, calculateTeams, false, "teams"_L1},
    {"te02_"_L1, PageKind::Table, teamPlayers, true, {}},
    {"ta01_"_L1, PageKind::Table, calculateTable, false, "standings"_L1},
    {"ta02_"_L1, PageKind::Table, teamMatches, true, {}},
    {"vpl1_"_L1, PageKind::Table, verifyPlayers, false, "check-lineups"_L1},
    {"vpl2_"_L1, PageKind::Table, verifyPlayers2, false, "check-ids"_L1},
    {"vat1_"_L1, PageKind::Table, verifyAttendance, false, "check-attendance"_L1},
    {"fpl1_"_L1, PageKind::FindPlayer, calculatePlayers, true, {}},
    {"fco1_"_L1, PageKind::FindCoach, calculateCoaches, true, {}},
    {"vrp1_"_L1, PageKind::Table, checkReports, false, "consistency"_L1},
    {"vdp1_"_L1, PageKind::Table, findDuplicates, false, "duplicates"_L1},
    {"hh01_"_L1, PageKind::Table, headToHead, true, "head-to-head"_L1},
    {"tah1_"_L1, PageKind::Table, homeTable, false, "home"_L1},
    {"taa1_"_L1, PageKind::Table, awayTable, false, "away"_L1},
    {"taf1_"_L1, PageKind::Table, formTable, true, "form"_L1},
    {"sr01_"_L1, PageKind::Table, calculateSeasonRace, false, "season-race"_L1},
    {"sg01_"_L1, PageKind::Table, calculateSeasonGoals, false, "season-goals"_L1},
    {"sc01_"_L1, PageKind::Chart, calculateSeasonRace, false, {}},
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

QString pageArgument(const PageCodeEntry &entry, const QString &linkArgument)
{
    return entry.takesArgument ? linkArgument : QString();
}
