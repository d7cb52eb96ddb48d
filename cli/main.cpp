#include "cli/cli.h"

#include <QCoreApplication>

// Sanitizer builds bring their own allocator, which the setting does not reach.
#if defined(Q_OS_LINUX) && defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#define SCOREWRIGHT_HUGE_PAGES
#endif

#ifdef SCOREWRIGHT_HUGE_PAGES
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

// A database of a few hundred thousand matches is some million small strings. Allocated from
// ordinary 4 KB pages, the first touch of every page costs a page fault, and on virtual machines
// those faults take most of the time of reading a file (5 to 8 times the decoding itself). glibc
// can back its heap with transparent huge pages, but only reads the setting at start-up: so the
// program starts itself once more with the setting added. Where the exec fails it simply goes on.
static void preferHugePages(char *argv[])
{
    const char *tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::strstr(tunables, "glibc.malloc.hugetlb"))
        return;
    std::string value = "glibc.malloc.hugetlb=1";
    if (tunables && *tunables)
        value = std::string(tunables) + ':' + value;
    if (setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0)
        return;
    execv("/proc/self/exe", argv);
    // Still here: run with the ordinary heap; the variable only matters to a new process.
}
#endif

int main(int argc, char *argv[])
{
#ifdef SCOREWRIGHT_HUGE_PAGES
    preferHugePages(argv);
#endif
    QCoreApplication app(argc, argv);
    return runCli(app.arguments().mid(1));
}
