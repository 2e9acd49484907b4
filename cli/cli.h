#pragma once

#include <QString>
#include <QStringList>

class Console;

// orvalix-cli: verbs as subcommands, results on standard output, messages
// on standard error, exit codes from exitcode.h. Runs on a
// QCoreApplication; nothing here needs a display.
class Cli
{
public:
    explicit Cli(Console &console);

    // `arguments` as main() gets them, the program first.
    int run(const QStringList &arguments);

    // The subcommands with a line each, as the usage text lists them.
    static QStringList usage();

private:
    Console &m_console;
};
