#include "pages/builders.h"

#include "strings/texts.h"

QString matchRowKey(const MatchData &match)
{
    return QStringLiteral("%1,%2,%3")
        .arg(match.date.toString(QStringLiteral("yyyyMMdd")), match.team1, match.team2);
}

PageRow &addMatchRow(PageRows &rows, const MatchData &match, const QString &extra)
{
    PageRow &row = rows.rowFor(matchRowKey(match));
    row.setText(0, match.date.toString(QStringLiteral("yyyy/MM/dd")));
    row.setText(1, match.city);
    row.setText(2, match.team1);
    row.setText(3, match.team2);
    row.setText(4, scoreText(match));
    row.setText(5, extra);
    return row;
}

bool playsInMatch(const MatchData &match, const QString &name)
{
    for (const PlayerEntry &player : match.players1)
        if (player.name == name)
            return true;
    for (const PlayerEntry &player : match.players2)
        if (player.name == name)
            return true;
    const QString &substitution = texts().substitution;
    for (const MatchEvent &event : match.events)
        if (event.player2 == name && event.type == substitution)
            return true;
    return false;
}

int goalsInMatch(const MatchData &match, const QString &name)
{
    const Texts &t = texts();
    int goals = 0;
    for (const MatchEvent &event : match.events)
        if (event.player == name && (event.type == t.goal || event.type == t.penaltyGoal))
            ++goals;
    return goals;
}

// Placeholder: these pages are not built yet.
void calculateMatches(const PageContext &, PageRows &) {}
void stadiumMatches(const PageContext &, PageRows &) {}
void refereeMatches(const PageContext &, PageRows &) {}
void coachMatches(const PageContext &, PageRows &) {}
void playerMatches(const PageContext &, PageRows &) {}
void teamMatches(const PageContext &, PageRows &) {}
void goalMatches(const PageContext &, PageRows &) {}
