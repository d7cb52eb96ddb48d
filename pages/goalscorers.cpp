#include "pages/builders.h"

// Placeholder: these pages are not built yet.
void calculateGoals(const PageContext &, PageRows &) {}
