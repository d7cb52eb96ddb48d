#include "pages/matchreport.h"

// Placeholder: the report document is not built yet.
QString matchReportHtml(const MatchData &)
{
    return QString();
}
