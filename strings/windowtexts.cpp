#include "strings/windowtexts.h"

const WindowTexts &windowTexts()
{
    static const WindowTexts table;
    return table;
}
