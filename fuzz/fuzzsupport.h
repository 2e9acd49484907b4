#pragma once

// Shared set-up of the fuzz targets: one application object on the offscreen
// platform, a scratch working directory (cfg.dat, device.db and friends land
// there, never in the source tree), quiet logging, and a prompt that answers
// every box with "closed" and every file dialog with "cancelled".

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "ui/common/prompt.h"

namespace FuzzSupport {

inline void dropMessages(QtMsgType, const QMessageLogContext &, const QString &) {}

// Creates the application once. GUI targets need widgets; the others get the
// same object, which costs nothing per input.
inline QApplication *application()
{
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // The debug lines of a resynchronising link ("PacketHeader Error!!!")
        // would dominate the run time.
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
        qInstallMessageHandler(dropMessages);
        static int argc = 1;
        static char name[] = "orvalix-fuzz";
        static char *argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return app;
}

// A fresh temporary directory made the working directory for the whole run.
inline QString scratchDir()
{
    static QTemporaryDir *dir = [] {
        auto *d = new QTemporaryDir;
        QDir::setCurrent(d->path());
        QDir(d->path()).mkpath(QStringLiteral("translations"));
        return d;
    }();
    return dir->path();
}

inline void writeFile(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), qint64(size));
}

// Stops the run with a message libFuzzer shows next to the crashing input.
#define FUZZ_CHECK(condition)                                                                                  \
    do {                                                                                                       \
        if (!(condition)) {                                                                                    \
            fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);                     \
            std::abort();                                                                                      \
        }                                                                                                      \
    } while (false)

class ClosingPrompt final : public Prompt
{
public:
    using Prompt::ask;
    int ask(QWidget *, Icon, const QString &, const QString &, const QStringList &, int) override { return -1; }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString existingDirectory(QWidget *, const QString &, const QString &) override { return {}; }
};

} // namespace FuzzSupport
