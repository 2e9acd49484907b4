#include "datapaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString DataPaths::installedDataDir(const QString &appDir)
{
    return QDir::cleanPath(appDir + QStringLiteral("/../share/orvalix"));
}

QString DataPaths::folder(const QString &name, const QString &workingDir, const QString &appDir)
{
    const QString relative = name + QLatin1Char('/');
    if (QFileInfo(QDir(workingDir).filePath(name)).isDir())
        return relative;
    if (!appDir.isEmpty()) {
        const QString installed = installedDataDir(appDir) + QLatin1Char('/') + name;
        if (QFileInfo(installed).isDir())
            return installed + QLatin1Char('/');
    }
    return relative;
}

QString DataPaths::folder(const QString &name)
{
    // applicationDirPath() needs the application object; without one (early
    // start-up, some tests) only the working directory is consulted.
    const QString appDir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    return folder(name, QDir::currentPath(), appDir);
}
