#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextCodec>

#include "core/link/logging.h"
#include "core/settings/appoptions.h"
#include "core/settings/datapaths.h"
#include "core/settings/localconfig.h"
#include "ui/resources/resources.h"
#include "ui/window/mainwindow.h"

int main(int argc, char *argv[])
{
    // --help and --version only print: answer them before a window system is
    // needed, so they also work on a console without a display.
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "-v" || arg == "--version") {
            QCoreApplication console(argc, argv);
            QCoreApplication::setApplicationName(QStringLiteral("orvalix"));
            QCoreApplication::setApplicationVersion(QStringLiteral(ORVALIX_VERSION));
            bool exitNow = false;
            int exitCode = 0;
            AppOptions::parse(QCoreApplication::arguments(), &exitNow, &exitCode);
            return exitCode;
        }
    }

    // cfg.dat and device.db are read relative to the working directory, the
    // first of them just below: choose it before anything is read. A relative
    // --log-file still means the folder the program was started from.
    QCoreApplication::setApplicationName(QStringLiteral("orvalix"));
    const QString startDir = QDir::currentPath();
    DataPaths::enterWorkingDirectory(DataPaths::executableDir(argv[0]));

    // Must be decided before the application object exists.
    if (LocalConfig::readHighDpiScaling())
        QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    else
        QCoreApplication::setAttribute(Qt::AA_DisableHighDpiScaling);

    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVALIX_VERSION));

    bool exitNow = false;
    int exitCode = 0;
    const AppOptions options = AppOptions::parse(QCoreApplication::arguments(), &exitNow, &exitCode);
    if (exitNow)
        return exitCode;
    if (!options.logFile.isEmpty())
        Logging::installLogFile(QDir(startDir).absoluteFilePath(options.logFile));

    if (QTextCodec *codec = QTextCodec::codecForName("GB2312"))
        QTextCodec::setCodecForLocale(codec);
    Resources::applyStyleSheet(&app);

    mainWindow window(options);
    window.show();
    return app.exec();
}
