#include "pages/builders.h"

// Placeholder: these pages are not built yet.
void verifyPlayers(const PageContext &, PageRows &) {}
void verifyPlayers2(const PageContext &, PageRows &) {}
void verifyAttendance(const PageContext &, PageRows &) {}
