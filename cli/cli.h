#pragma once

#include <QStringList>

// Exit codes of scorewright-cli.
enum CliExit {
    ExitOk = 0,
    ExitFailure = 1, // a file could not be read or written, or holds nothing to show
    ExitUsage = 2    // the command line itself is wrong
};

// Runs one command line (without the program name) and returns the exit code. Results go to
// stdout or to the -o file, messages to stderr.
int runCli(const QStringList &arguments);
