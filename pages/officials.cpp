#include "pages/builders.h"

// Placeholder: these pages are not built yet.
void calculateReferees(const PageContext &, PageRows &) {}
void calculateCoaches(const PageContext &, PageRows &) {}
void calculateStadiums(const PageContext &, PageRows &) {}
