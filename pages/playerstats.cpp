#include "pages/builders.h"

// Placeholder: these pages are not built yet.
void calculatePlayers(const PageContext &, PageRows &) {}
void calculateTeams(const PageContext &, PageRows &) {}
void teamPlayers(const PageContext &, PageRows &) {}
