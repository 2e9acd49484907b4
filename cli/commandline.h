#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include "exitcode.h"

class Console;

// The options every subcommand that talks to units shares.
struct CommonOptions
{
    QString password;
    quint16 port = 2699;
    quint16 discoveryPort = 6696;
    int timeoutMs = 5000;
    bool json = false;
    bool yes = false;
};

// One subcommand's parser: its synopsis, its own options and the common
// ones it takes, and --help.
class CommandLine
{
public:
    enum Common : unsigned {
        Password = 1u << 0,
        Port = 1u << 1,
        DiscoveryPort = 1u << 2,
        Timeout = 1u << 3,
        Json = 1u << 4,
        Yes = 1u << 5,
        Unit = Password | Port | Timeout,
    };

    CommandLine(Console &console, const QString &name, const QString &arguments, const QString &description,
                unsigned common);

    void addOption(const QCommandLineOption &option) { m_parser.addOption(option); }

    // Parses `arguments` (the subcommand's name first). Returns -1 to go
    // on; otherwise the exit code to end with (--help: 0, errors: 1, with
    // the message and a pointer to --help on standard error).
    int parse(const QStringList &arguments, int minPositional, int maxPositional = -1);

    const QStringList &positional() const { return m_positional; }
    const CommonOptions &common() const { return m_common; }
    bool isSet(const QCommandLineOption &option) const { return m_parser.isSet(option); }
    QString value(const QCommandLineOption &option) const { return m_parser.value(option); }
    QString name() const { return m_name; }

    // "Run 'orvalix-cli NAME --help' ..." after a usage message.
    int usageError(const QString &message) const;

private:
    Console &m_console;
    QString m_name;
    QString m_arguments;
    unsigned m_commonFlags;
    QCommandLineParser m_parser;
    QCommandLineOption m_password;
    QCommandLineOption m_port;
    QCommandLineOption m_discoveryPort;
    QCommandLineOption m_timeout;
    QCommandLineOption m_json;
    QCommandLineOption m_yes;
    QStringList m_positional;
    CommonOptions m_common;
};
