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
};
