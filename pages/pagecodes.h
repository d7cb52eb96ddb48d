#pragma once

#include "pages/pagerunner.h"

#include <QLatin1StringView>
#include <QString>

// Every page code, named once; the table in pagecodes.cpp maps them to what they lead to.
namespace PageCode {
inline constexpr QLatin1StringView Report{"xm01_"};
inline constexpr QLatin1StringView Matches{"ma01_"};
inline constexpr QLatin1StringView Stadiums{"st01_"};
inline constexpr QLatin1StringView StadiumMatches{"st02_"};
inline constexpr QLatin1StringView Referees{"re01_"};
inline constexpr QLatin1StringView RefereeMatches{"re02_"};
inline constexpr QLatin1StringView Coaches{"co01_"};
inline constexpr QLatin1StringView CoachMatches{"co02_"};
inline constexpr QLatin1StringView Players{"pl01_"};
inline constexpr QLatin1StringView PlayerMatches{"pl02_"};
inline constexpr QLatin1StringView Scorers{"go01_"};
inline constexpr QLatin1StringView ScorerMatches{"go02_"};
inline constexpr QLatin1StringView Teams{"te01_"};
inline constexpr QLatin1StringView TeamPlayers{"te02_"};
inline constexpr QLatin1StringView Standings{"ta01_"};
inline constexpr QLatin1StringView TeamMatches{"ta02_"};
inline constexpr QLatin1StringView CheckLineups{"vpl1_"};
inline constexpr QLatin1StringView CheckIds{"vpl2_"};
inline constexpr QLatin1StringView CheckAttendance{"vat1_"};
inline constexpr QLatin1StringView FindPlayer{"fpl1_"};
inline constexpr QLatin1StringView FindCoach{"fco1_"};
inline constexpr QLatin1StringView Consistency{"vrp1_"};
inline constexpr QLatin1StringView Duplicates{"vdp1_"};
inline constexpr QLatin1StringView HeadToHead{"hh01_"};
inline constexpr QLatin1StringView HomeTable{"tah1_"};
inline constexpr QLatin1StringView AwayTable{"taa1_"};
inline constexpr QLatin1StringView FormTable{"taf1_"};
inline constexpr QLatin1StringView SeasonRace{"sr01_"};
inline constexpr QLatin1StringView SeasonGoals{"sg01_"};
inline constexpr QLatin1StringView SeasonChart{"sc01_"};
inline constexpr QLatin1StringView Undated{"ud01_"};
// A person's pages chosen by ID rather than by name ("Учитывать ID" on).
inline constexpr QLatin1StringView PlayerMatchesById{"pl03_"};
inline constexpr QLatin1StringView ScorerMatchesById{"go03_"};
inline constexpr QLatin1StringView CoachMatchesById{"co03_"};
inline constexpr QLatin1StringView Career{"pc01_"};
inline constexpr QLatin1StringView CareerById{"pc02_"};
inline constexpr QLatin1StringView Records{"rc01_"};
inline constexpr QLatin1StringView Runs{"rn01_"};
} // namespace PageCode

// The code of the page that selects a person by ID where code selects him by name (player,
// scorer and coach matches, the career); code itself for any other.
QLatin1StringView idPageCode(QLatin1StringView code);

// A link is a five-character page code followed by an optional argument.
struct LinkParts
{
    QString code;
    QString argument;
};
LinkParts splitLink(const QString &link);

// What a page code leads to.
enum class PageKind {
    Table,      // a builder run over the filtered matches
    Report,     // the report of one match, found by file name in the whole store
    FindPlayer, // the person search, then the players page restricted to the answer
    FindCoach,  // the person search, then the coaches page restricted to the answer
    Chart       // the window draws the season's course; elsewhere the builder's table stands in
};

struct PageCodeEntry
{
    QLatin1StringView code;
    PageKind kind;
    PageBuilder builder;       // for Table, FindPlayer and FindCoach
    bool takesArgument;        // false: any argument in the link is ignored
    QLatin1StringView name;    // the overview pages' short name on the command line, else empty
    bool countsPoints = false; // true: the page counts points under the tournament's rules
    PageMerge merge = nullptr; // set: the page is gathered on every core over a large store
};

// The entry of a page code (exact, case-sensitive), or null for an unknown code.
const PageCodeEntry *findPageCode(QStringView code);
// The entry whose short name is name ("standings", "players" ...), or null.
const PageCodeEntry *findPageByName(QStringView name);
// Every entry, in the table's order.
QList<const PageCodeEntry *> pageCodes();

// The argument a page receives from a link: the link's own for codes that take one, else empty.
QString pageArgument(const PageCodeEntry &entry, const QString &linkArgument);
