#include "pages/builders.h"

// Placeholder: these pages are not built yet.
void calculateMatches(const PageContext &, PageRows &) {}
void stadiumMatches(const PageContext &, PageRows &) {}
void refereeMatches(const PageContext &, PageRows &) {}
void coachMatches(const PageContext &, PageRows &) {}
void playerMatches(const PageContext &, PageRows &) {}
void teamMatches(const PageContext &, PageRows &) {}
void goalMatches(const PageContext &, PageRows &) {}

QString matchRowKey(const MatchData &)
{
    return QString();
}

PageRow &addMatchRow(PageRows &rows, const MatchData &, const QString &)
{
    return rows.newRow();
}

bool playsInMatch(const MatchData &, const QString &)
{
    return false;
}

int goalsInMatch(const MatchData &, const QString &)
{
    return 0;
}
