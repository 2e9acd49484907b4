#include "datapaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

namespace {
Q_LOGGING_CATEGORY(lcDataPaths, "orvalix.settings")
}

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

bool DataPaths::isRunFolder(const QString &dir)
{
    return !dir.isEmpty() && QFileInfo(QDir(dir).filePath(QStringLiteral("translations"))).isDir();
}

QString DataPaths::workingDirectory(const QString &workingDir, const QString &appDir, const QString &userDataDir)
{
    if (isRunFolder(appDir) || isRunFolder(workingDir) || userDataDir.isEmpty())
        return workingDir;
    return userDataDir;
}

QString DataPaths::enterWorkingDirectory(const QString &appDir)
{
    const QString current = QDir::currentPath();
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString chosen = workingDirectory(current, appDir, userData);
    if (chosen == current)
        return current;
    if (!QDir().mkpath(chosen) || !QDir::setCurrent(chosen)) {
        qCWarning(lcDataPaths).noquote() << "cannot use the data folder" << chosen << "- keeping files in" << current;
        return current;
    }
    return QDir::currentPath();
}

QString DataPaths::executableDir(const char *argv0)
{
    const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    if (!exe.isEmpty())
        return QFileInfo(exe).path();
    return argv0 ? QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath() : QString();
}
