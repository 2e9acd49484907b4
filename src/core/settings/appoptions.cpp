#include "appoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

#include <cstdio>

bool AppOptions::parsePort(const QString &text, quint16 *port)
{
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value == 0 || value > 65535)
        return false;
    *port = quint16(value);
    return true;
}

AppOptions AppOptions::parse(const QStringList &arguments, bool *exitNow, int *exitCode)
{
    AppOptions options;
    *exitNow = false;
    *exitCode = 0;

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Control application for networked loudspeaker-management DSP units."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption connect(QStringLiteral("connect"),
        QStringLiteral("Choose the unit at ADDRESS at start-up (added by hand if it does not announce itself within 3 s)."),
        QStringLiteral("ADDRESS"));
    const QCommandLineOption controlPort(QStringLiteral("control-port"),
        QStringLiteral("TCP port of the units' control link (default 2699)."), QStringLiteral("PORT"));
    const QCommandLineOption discoveryPort(QStringLiteral("discovery-port"),
        QStringLiteral("UDP port the units' status records arrive on (default 6696)."), QStringLiteral("PORT"));
    const QCommandLineOption commandAddress(QStringLiteral("command-address"),
        QStringLiteral("Destination address of UDP commands such as new IP settings (default 255.255.255.255)."),
        QStringLiteral("ADDRESS"));
    const QCommandLineOption commandPort(QStringLiteral("command-port"),
        QStringLiteral("Destination UDP port of commands (default 6001)."), QStringLiteral("PORT"));
    const QCommandLineOption logFile(QStringLiteral("log-file"),
        QStringLiteral("Also write the debug log to PATH."), QStringLiteral("PATH"));
    parser.addOptions({connect, controlPort, discoveryPort, commandAddress, commandPort, logFile});

    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        *exitNow = true;
        *exitCode = 1;
        return options;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::printf("%s", qPrintable(parser.helpText()));
        *exitNow = true;
        return options;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        *exitNow = true;
        return options;
    }

    auto fail = [&](const QString &message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        *exitNow = true;
        *exitCode = 1;
    };
    if (parser.isSet(controlPort) && !parsePort(parser.value(controlPort), &options.controlPort))
        fail(QStringLiteral("invalid --control-port"));
    if (parser.isSet(discoveryPort) && !parsePort(parser.value(discoveryPort), &options.discoveryPort))
        fail(QStringLiteral("invalid --discovery-port"));
    if (parser.isSet(commandPort) && !parsePort(parser.value(commandPort), &options.commandPort))
        fail(QStringLiteral("invalid --command-port"));
    if (parser.isSet(commandAddress)) {
        options.commandAddress = parser.value(commandAddress);
        if (QHostAddress(options.commandAddress).protocol() != QAbstractSocket::IPv4Protocol)
            fail(QStringLiteral("invalid --command-address"));
    }
    if (parser.isSet(connect)) {
        options.connectAddress = parser.value(connect);
        if (QHostAddress(options.connectAddress).protocol() != QAbstractSocket::IPv4Protocol)
            fail(QStringLiteral("invalid --connect address"));
    }
    options.logFile = parser.value(logFile);
    return options;
}
