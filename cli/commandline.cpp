#include "commandline.h"

#include <QCoreApplication>

#include "console.h"
#include "core/settings/appoptions.h"

CommandLine::CommandLine(Console &console, const QString &name, const QString &arguments,
                         const QString &description, unsigned common)
    : m_console(console)
    , m_name(name)
    , m_arguments(arguments)
    , m_commonFlags(common)
    , m_password(QStringLiteral("password"),
                 QStringLiteral("Login password of the unit (default: the ORVALIX_PASSWORD environment variable, "
                                "else none)."),
                 QStringLiteral("TEXT"))
    , m_port(QStringLiteral("port"), QStringLiteral("TCP port of the unit's control link (default 2699)."),
             QStringLiteral("PORT"), QStringLiteral("2699"))
    , m_discoveryPort(QStringLiteral("discovery-port"),
                      QStringLiteral("UDP port the units announce themselves on (default 6696)."),
                      QStringLiteral("PORT"), QStringLiteral("6696"))
    , m_timeout(QStringLiteral("timeout"),
                QStringLiteral("Seconds to wait for the unit to connect or answer (default 5)."),
                QStringLiteral("SECONDS"), QStringLiteral("5"))
    , m_json(QStringLiteral("json"), QStringLiteral("Print JSON instead of a table."))
    , m_yes(QStringLiteral("yes"), QStringLiteral("Do not ask before changing the unit."))
{
    m_parser.setApplicationDescription(description);
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addHelpOption();
    if (m_commonFlags & Password)
        m_parser.addOption(m_password);
    if (m_commonFlags & Port)
        m_parser.addOption(m_port);
    if (m_commonFlags & DiscoveryPort)
        m_parser.addOption(m_discoveryPort);
    if (m_commonFlags & Timeout)
        m_parser.addOption(m_timeout);
    if (m_commonFlags & Json)
        m_parser.addOption(m_json);
    if (m_commonFlags & Yes)
        m_parser.addOption(m_yes);
}

int CommandLine::usageError(const QString &message) const
{
    m_console.error(message);
    m_console.note(QStringLiteral("Run 'orvalix-cli %1 --help' for its arguments.").arg(m_name));
    return ExitUsage;
}

int CommandLine::parse(const QStringList &arguments, int minPositional, int maxPositional)
{
    // The parser takes the first entry as the program; the subcommand name
    // stands there.
    QStringList forParser = arguments;
    forParser[0] = QStringLiteral("orvalix-cli ") + m_name;
    if (!m_parser.parse(forParser))
        return usageError(m_parser.errorText());
    if (m_parser.isSet(QStringLiteral("help"))) {
        QString help = m_parser.helpText();
        help.replace(QStringLiteral("[options]"), QStringLiteral("[options] ") + m_arguments);
        m_console.write(help.toUtf8());
        return ExitDone;
    }
    m_positional = m_parser.positionalArguments();
    if (m_positional.size() < minPositional)
        return usageError(QStringLiteral("%1 needs %2").arg(m_name, m_arguments));
    if (maxPositional >= 0 && m_positional.size() > maxPositional)
        return usageError(QStringLiteral("too many arguments for %1 (it takes %2)").arg(m_name, m_arguments));

    if (m_commonFlags & Password) {
        m_common.password = m_parser.isSet(m_password) ? m_parser.value(m_password)
                                                        : qEnvironmentVariable("ORVALIX_PASSWORD");
    }
    if ((m_commonFlags & Port) && !AppOptions::parsePort(m_parser.value(m_port), &m_common.port))
        return usageError(QStringLiteral("--port takes a port number from 1 to 65535, not '%1'")
                              .arg(m_parser.value(m_port)));
    if ((m_commonFlags & DiscoveryPort) && !AppOptions::parsePort(m_parser.value(m_discoveryPort), &m_common.discoveryPort))
        return usageError(QStringLiteral("--discovery-port takes a port number from 1 to 65535, not '%1'")
                              .arg(m_parser.value(m_discoveryPort)));
    if (m_commonFlags & Timeout) {
        bool ok = false;
        const double seconds = m_parser.value(m_timeout).toDouble(&ok);
        if (!ok || !(seconds > 0) || seconds > 3600)
            return usageError(QStringLiteral("--timeout takes seconds above 0 and up to 3600, not '%1'")
                                  .arg(m_parser.value(m_timeout)));
        m_common.timeoutMs = qMax(1, int(seconds * 1000));
    }
    m_common.json = (m_commonFlags & Json) && m_parser.isSet(m_json);
    m_common.yes = (m_commonFlags & Yes) && m_parser.isSet(m_yes);
    return -1;
}
