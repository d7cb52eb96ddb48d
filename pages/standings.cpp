#include "pages/builders.h"

// Placeholder: these pages are not built yet.
void calculateTable(const PageContext &, PageRows &) {}
