// orvalix-cli: units from scripts, without a window.

#include <QCoreApplication>
#include <QLoggingCategory>

#include "cli.h"
#include "console.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvalix-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVALIX_VERSION));
    // The link's debug lines are for the window's log file, not a script's terminal.
    QLoggingCategory::setFilterRules(QStringLiteral("orvalix.*.debug=false"));
    Console console;
    return Cli(console).run(QCoreApplication::arguments());
}
