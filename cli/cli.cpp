#include "cli.h"

#include <QCoreApplication>


#include "commands.h"
#include "console.h"
#include "exitcode.h"

namespace {

struct Subcommand
{
    const char *name;
    int (*run)(Console &, const QStringList &);
    const char *synopsis;
};

const Subcommand subcommands[] = {
    {"discover", Commands::discover, "discover [--seconds N] [--json]        units announcing themselves"},
    {"info", Commands::info, "info ADDRESS [--json]                  system information of a unit"},
    {"get", Commands::get, "get ADDRESS [PATH...]                  the unit's state as JSON"},
    {"set", Commands::set, "set ADDRESS PATH=VALUE... | --from F   set values (JSON from F, - for stdin)"},
    {"mute", Commands::mute, "mute ADDRESS CHANNEL...                mute A-D, 1-8 or all"},
    {"unmute", Commands::mute, "unmute ADDRESS CHANNEL...              unmute A-D, 1-8 or all"},
    {"preset", Commands::preset, "preset SUBCOMMAND ADDRESS ...          list, recall, save, rename, delete, export, import"},
    {"backup", Commands::backup, "backup ADDRESS DIR                     information, state and presets to a folder"},
    {"restore", Commands::restore, "restore DIR ADDRESS [--yes]            a backup back onto a unit"},
    {"offline", Commands::offline, "offline to-json FILE | from-json JSON OUT   offline preset files"},
    {"diff", Commands::diff, "diff A B                               differing parameters (files, JSON, units)"},
    {"push", Commands::push, "push FILE ADDRESS [--yes]              send what differs to a unit"},
    {"firmware", Commands::firmware, "firmware ADDRESS FILE --target arm|dsp upload firmware"},
};

} // namespace

Cli::Cli(Console &console)
    : m_console(console)
{
}

QStringList Cli::usage()
{
    QStringList lines;
    for (const Subcommand &s : subcommands)
        lines.append(QStringLiteral("  ") + QLatin1String(s.synopsis));
    return lines;
}

int Cli::run(const QStringList &arguments)
{
    const QString first = arguments.value(1);
    if (first.isEmpty() || first == QLatin1String("--help") || first == QLatin1String("-h")
        || first == QLatin1String("help")) {
        QStringList text{QStringLiteral("Usage: orvalix-cli SUBCOMMAND [options] [arguments]"), QString(),
                         QStringLiteral("Discover, read, set, back up, restore and upgrade units from scripts."),
                         QString(), QStringLiteral("Subcommands:")};
        text += usage();
        text += QStringList{QString(),
                            QStringLiteral("Run 'orvalix-cli SUBCOMMAND --help' for the options of each."),
                            QStringLiteral("Exit codes: 0 done, 1 usage, 2 unit unreachable or timed out, 3 refused "
                                           "by the unit, 4 file error, 5 malformed reply.")};
        if (first.isEmpty()) {
            for (const QString &line : text)
                m_console.note(line);
            return ExitUsage;
        }
        m_console.print(text.join(QLatin1Char('\n')));
        return ExitDone;
    }
    if (first == QLatin1String("--version") || first == QLatin1String("-v")) {
        m_console.print(QStringLiteral("orvalix-cli ") + QCoreApplication::applicationVersion());
        return ExitDone;
    }
    for (const Subcommand &s : subcommands) {
        if (first == QLatin1String(s.name))
            return s.run(m_console, arguments.mid(1));
    }
    m_console.error(QStringLiteral("unknown subcommand '%1'; run 'orvalix-cli --help' for the list").arg(first));
    return ExitUsage;
}
