#pragma once

#include "pages/pagerunner.h"

#include <QLatin1StringView>
#include <QString>

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
    PageBuilder builder;    // for Table, FindPlayer and FindCoach
    bool takesArgument;     // false: any argument in the link is ignored
    QLatin1StringView name; // the overview pages' short name on the command line, else empty
};

// The entry of a page code (exact, case-sensitive), or null for an unknown code.
const PageCodeEntry *findPageCode(QStringView code);
// The entry whose short name is name ("standings", "players" ...), or null.
const PageCodeEntry *findPageByName(QStringView name);
// Every entry, in the table's order.
QList<const PageCodeEntry *> pageCodes();

// The argument a page receives from a link: the link's own for codes that take one, else empty.
QString pageArgument(const PageCodeEntry &entry, const QString &linkArgument);
