#pragma once

#include <QString>
#include <QStringList>

// What the command line can change. Defaults are the product's own; tests and
// demos override the ports and addresses to stay on loopback.
struct AppOptions
{
    quint16 controlPort = 2699;
    quint16 discoveryPort = 6696;
    QString commandAddress = QStringLiteral("255.255.255.255");
    quint16 commandPort = 6001;
    QString connectAddress;
    QString logFile;

    // Parses the application's arguments; on --help or --version prints and
    // sets `exitNow`. Unknown options are reported on stderr and end the run.
    static AppOptions parse(const QStringList &arguments, bool *exitNow, int *exitCode);
    // A port given on a command line: 1 to 65535; `port` is left alone otherwise.
    static bool parsePort(const QString &text, quint16 *port);
};
