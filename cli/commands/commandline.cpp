#include "cli/clihelptexts.h"
#include "cli/clitexts.h"
#include "cli/commands/command.h"
#include "cli/commands/common.h"

#include <QTextStream>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// How an option is written on the command line: one letter with one dash, a word with two.
QString spelling(const QString &name)
{
    return (name.size() == 1 ? u"-"_s : u"--"_s) + name;
}

const QCommandLineOption &helpOption()
{
    static const QCommandLineOption option({u"h"_s, u"help"_s}, cliHelpTexts().help);
    return option;
}

// The option written as written among options, or null.
const QCommandLineOption *findOption(const QList<QCommandLineOption> &options,
                                     const QString &written)
{
    for (const QCommandLineOption &option : options) {
        const QStringList names = option.names();
        if (std::any_of(names.cbegin(), names.cend(),
                        [&](const QString &name) { return spelling(name) == written; }))
            return &option;
    }
    return nullptr;
}

// The first fault of arguments for command in the program's own words, or nothing. Options are
// spelled as the usage shows them only ("-o", "--into", "--into=X"); an option of another command
// is told apart from one no command has. QCommandLineParser reads more spellings ("--o", "-into")
// and gathers its faults out of order, so the line is checked before it parses it.
QString firstFault(const Command &command, const QStringList &arguments)
{
    const CliTexts &t = cliTexts();
    const QList<QCommandLineOption> own = command.options + QList{helpOption()};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--"_s)
            break;
        if (!argument.startsWith(u'-') || argument == u"-"_s)
            continue;
        QString name = argument;
        const qsizetype equals = argument.indexOf(u'=');
        const bool inlineValue = argument.startsWith(u"--"_s) && equals > 0;
        if (inlineValue)
            name = argument.left(equals);
        const QCommandLineOption *option = findOption(own, name);
        if (!option) {
            const bool elsewhere =
                std::any_of(commands().cbegin(), commands().cend(),
                            [&](const Command *other) { return findOption(other->options, name); });
            return elsewhere ? t.cliOptionNotHere.arg(name, command.name)
                             : t.cliUnknownOption.arg(name);
        }
        const bool takesValue = !option->valueName().isEmpty();
        if (takesValue && !inlineValue) {
            if (i + 1 >= arguments.size())
                return t.cliMissingValue.arg(name);
            ++i;
        } else if (!takesValue && inlineValue) {
            return t.cliUnexpectedValue.arg(name);
        }
    }
    return QString();
}

} // namespace

CommandLine::CommandLine(const Command &command) : m_command(command)
{
    // "-into" is not "-i -n -t -o"; the check above keeps to the spellings of the usage.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOptions(command.options);
    m_parser.addOption(helpOption());
    m_parser.setApplicationDescription(command.summary);
}

std::optional<int> CommandLine::parse(const QStringList &arguments)
{
    if (const QString fault = firstFault(m_command, arguments); !fault.isEmpty())
        return usageError(fault);
    // The program's name stands first, as in argv.
    if (!m_parser.parse(QStringList{u"scorewright-cli"_s} + arguments))
        return usageError(m_parser.errorText());
    if (m_parser.isSet(helpOption())) {
        // QCommandLineParser's help with our usage line instead of the one it makes of argv[0].
        QString help = m_parser.helpText();
        help.replace(0, help.indexOf(u'\n'),
                     cliHelpTexts().usage.arg(m_command.name, m_command.synopsis));
        QTextStream(stdout) << help;
        return ExitOk;
    }
    m_positional = m_parser.positionalArguments();
    return std::nullopt;
}
