#include "strings/texts.h"

#include <cerrno>

const Texts &texts()
{
    static const Texts table;
    return table;
}

QString systemCauseText(int errorNumber, const QString &systemText)
{
    const Texts &t = texts();
    switch (errorNumber) {
    case ENOENT:
        return t.causeMissing;
    case EACCES:
    case EPERM:
        return t.causeNoPermission;
    case ENOSPC:
    case EDQUOT:
        return t.causeNoSpace;
    case EROFS:
        return t.causeReadOnly;
    case EISDIR:
        return t.causeIsDirectory;
    default:
        return systemText;
    }
}
