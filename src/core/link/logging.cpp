#include "logging.h"

#include <QDateTime>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>

#include <cstdio>

Q_LOGGING_CATEGORY(lcLink, "orvalix.link")
Q_LOGGING_CATEGORY(lcDevices, "orvalix.devices")
Q_LOGGING_CATEGORY(lcPages, "orvalix.pages")
Q_LOGGING_CATEGORY(lcPresets, "orvalix.presets")
Q_LOGGING_CATEGORY(lcUnit, "orvalix.unit")

namespace {

QFile *logFile = nullptr;
QtMessageHandler previousHandler = nullptr;
QMutex logMutex;

void fileHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        QMutexLocker locker(&logMutex);
        if (logFile) {
            const QByteArray line = QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss.zzz ")).toUtf8()
                + QByteArray(context.category ? context.category : "default") + ": " + message.toUtf8() + '\n';
            logFile->write(line);
            logFile->flush();
        }
    }
    if (previousHandler)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

namespace Logging {

bool installLogFile(const QString &path)
{
    auto *file = new QFile(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        std::fprintf(stderr, "cannot open log file %s\n", qPrintable(path));
        delete file;
        return false;
    }
    QMutexLocker locker(&logMutex);
    delete logFile;
    logFile = file;
    static bool installed = false;
    if (!installed) {
        previousHandler = qInstallMessageHandler(fileHandler);
        installed = true;
    }
    return true;
}

} // namespace Logging
