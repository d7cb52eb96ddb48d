#include "strings/texts.h"

const Texts &texts()
{
    static const Texts table;
    return table;
}
