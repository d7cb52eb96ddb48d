#include "cli/cli.h"

#include "cli/clitexts.h"
#include "cli/commands/command.h"
#include "cli/commands/common.h"

#include <QTextStream>

using namespace Qt::Literals::StringLiterals;

const QList<const Command *> &commands()
{
    // One line per command, in the order of the usage text.
    static const QList<const Command *> table = {
        &importCommand(), &infoCommand(),   &pageCommand(),
        &reportCommand(), &exportCommand(), &importCsvCommand(),
    };
    return table;
}

namespace {

const Command *findCommand(const QString &name)
{
    for (const Command *command : commands()) {
        if (command->name == name)
            return command;
    }
    return nullptr;
}

} // namespace

int runCli(const QStringList &arguments)
{
    const CliTexts &t = cliTexts();
    if (arguments.isEmpty()) {
        message(t.cliError.arg(t.cliNoCommand) + t.cliUsage.arg(pageNames()));
        return ExitUsage;
    }
    const QString &command = arguments.constFirst();
    if (command == u"--help"_s || command == u"-h"_s || command == u"help"_s) {
        // "help COMMAND" is that command's --help.
        if (command == u"help"_s && arguments.size() == 2) {
            if (const Command *named = findCommand(arguments.at(1))) {
                CommandLine line(*named);
                return *line.parse({u"--help"_s});
            }
        }
        QTextStream(stdout) << t.cliUsage.arg(pageNames()) << t.cliRulesHelp;
        return ExitOk;
    }
    if (command == u"--version"_s) {
        QTextStream(stdout) << t.cliVersion.arg(QStringLiteral(SCOREWRIGHT_VERSION));
        return ExitOk;
    }
    const Command *found = findCommand(command);
    if (!found)
        return usageError(t.cliUnknownCommand.arg(command));
    CommandLine line(*found);
    if (const std::optional<int> code = line.parse(arguments.mid(1)))
        return *code;
    return found->run(line);
}
