#pragma once

#include <QStringList>

class Console;

// One function per subcommand: the arguments start with the subcommand's
// name, the result is the exit code (exitcode.h).
namespace Commands {

int discover(Console &console, const QStringList &arguments);
int info(Console &console, const QStringList &arguments);
int get(Console &console, const QStringList &arguments);
int set(Console &console, const QStringList &arguments);
// mute and unmute.
int mute(Console &console, const QStringList &arguments);
int preset(Console &console, const QStringList &arguments);
int backup(Console &console, const QStringList &arguments);
int restore(Console &console, const QStringList &arguments);
int offline(Console &console, const QStringList &arguments);
int diff(Console &console, const QStringList &arguments);
int push(Console &console, const QStringList &arguments);
int firmware(Console &console, const QStringList &arguments);

} // namespace Commands
