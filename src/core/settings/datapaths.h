#pragma once

#include <QString>

// Where the application's data folders ("translations/", "image/") are.
// The run folder layout wins: when the folder exists in the working
// directory it is used as a relative path, exactly as before (operators keep
// customised logos and language lists next to cfg.dat and device.db).
// Otherwise the installed copy under <prefix>/share/orvalix is used, found
// from the executable's own location so a relocated install still works.
class DataPaths
{
public:
    // "<name>/" when it exists under `workingDir`, else the installed
    // "<appDir>/../share/orvalix/<name>/" when that exists, else "<name>/"
    // (so messages and lookups keep naming the familiar relative folder).
    static QString folder(const QString &name, const QString &workingDir, const QString &appDir);

    // The same for the current working directory and executable.
    static QString folder(const QString &name);
    static QString translations() { return folder(QStringLiteral("translations")); }
    static QString images() { return folder(QStringLiteral("image")); }

    // The installed data folder for an executable in `appDir`.
    static QString installedDataDir(const QString &appDir);

    // A run folder holds "translations/" beside the application's files
    // (build/bin, or an operator's customised copy of one).
    static bool isRunFolder(const QString &dir);

    // The folder whose cfg.dat and device.db the application uses. Started
    // from a run folder (`appDir` or `workingDir` is one) it keeps
    // `workingDir`, as it always has; otherwise it is `userDataDir`, so an
    // installed program started from a menu or any terminal folder always
    // sees the same files.
    static QString workingDirectory(const QString &workingDir, const QString &appDir, const QString &userDataDir);

    // Makes that folder the current directory before anything is read,
    // creating the per-user folder (QStandardPaths::AppDataLocation, so the
    // application name must be set) when it is the one chosen. When it
    // cannot be created the working directory stays, with a warning, and the
    // program still starts. Returns the folder now current.
    static QString enterWorkingDirectory(const QString &appDir);

    // The executable's folder before the application object exists (the
    // link behind /proc/self/exe, else `argv0`).
    static QString executableDir(const char *argv0);
};
