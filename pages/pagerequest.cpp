#include "pages/pagerequest.h"

PageRequest pageRequest(const QString &nameOrLink)
{
    PageRequest request;
    request.entry = findPageByName(nameOrLink);
    if (request.entry)
        return request;
    const LinkParts parts = splitLink(nameOrLink);
    if (parts.code.size() == 5)
        request.entry = findPageCode(parts.code);
    if (request.entry)
        request.argument = pageArgument(*request.entry, parts.argument);
    return request;
}

PageParams pageParams(const PageRequest &request)
{
    PageParams params;
    params.menuChoice = request.menuChoice;
    params.argument = request.argument;
    params.considerId = request.filter.considerId;
    if (request.entry && request.entry->countsPoints)
        params.rules = request.rules;
    return params;
}

PageRun runPage(const MatchStore &store, const PageRequest &request, ResultTable &table,
                const PageProgress &progress)
{
    if (!request.entry || !request.entry->builder)
        return {};
    return runPage(store, request.filter, request.entry->builder, pageParams(request), table,
                   progress, request.entry->merge);
}
