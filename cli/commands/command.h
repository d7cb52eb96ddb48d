#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One command of scorewright-cli: its word, its options and how it runs. A new command is a
// source file in cli/commands/ defining one of these and a line in the table of cli/cli.cpp.
struct Command
{
    QString name;     // the command word, as "page"
    QString synopsis; // what follows the word in its usage line, as "FILE.swb PAGE [options]"
    QString summary;  // one sentence under the usage line of its --help
    QList<QCommandLineOption> options; // without --help, which every command has
    int (*run)(const class CommandLine &args) = nullptr;
};

// The command line after the command word, as read by QCommandLineParser for one command. Options
// are named without their dashes: "o", "into", "team".
class CommandLine
{
public:
    explicit CommandLine(const Command &command);

    // Reads arguments. On a fault of the command line, or --help, returns the exit code to end
    // with, having said why or printed the help; nothing when the command is to run.
    std::optional<int> parse(const QStringList &arguments);

    const Command &command() const { return m_command; }
    const QStringList &positional() const { return m_positional; }
    bool has(const QString &option) const { return m_parser.isSet(option); }
    QString value(const QString &option) const { return m_parser.value(option); }
    QStringList values(const QString &option) const { return m_parser.values(option); }

private:
    const Command &m_command;
    QCommandLineParser m_parser;
    QStringList m_positional;
};

// The commands, in the order of the usage text.
const QList<const Command *> &commands();

// The table's entries, one function per file of cli/commands/.
const Command &importCommand();
const Command &infoCommand();
const Command &pageCommand();
const Command &reportCommand();
const Command &exportCommand();
const Command &importCsvCommand();
