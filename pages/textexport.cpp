#include "pages/textexport.h"

#include "pages/tabledata.h"

// Placeholder: the export layouts are not built yet.
TableSnapshot snapshotOf(const TableData &, bool)
{
    return {};
}

QString exportText(const TableSnapshot &)
{
    return QString();
}

QString exportCsv(const TableSnapshot &)
{
    return QString();
}

QString exportTsv(const TableSnapshot &)
{
    return QString();
}
