// firmware: uploads an image to the unit's ARM or DSP.

#include <QCommandLineOption>
#include <QEventLoop>
#include <QTimer>

#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "core/firmware/firmwareuploader.h"
#include "core/link/link.h"
#include "exitcode.h"
#include "unitsession.h"

int Commands::firmware(Console &console, const QStringList &arguments)
{
    const QCommandLineOption target(QStringLiteral("target"),
                                    QStringLiteral("Which firmware the image is: arm (a .sbin image) or dsp."),
                                    QStringLiteral("arm|dsp"));
    CommandLine line(console, QStringLiteral("firmware"), QStringLiteral("ADDRESS FILE --target arm|dsp"),
                     QStringLiteral("Uploads a firmware image. A progress bar is drawn on a terminal; otherwise "
                                    "the upload is quiet. The unit starts the new firmware itself."),
                     CommandLine::Unit);
    line.addOption(target);
    int code = line.parse(arguments, 2, 2);
    if (code >= 0)
        return code;
    const QString which = line.value(target).toLower();
    if (which != QLatin1String("arm") && which != QLatin1String("dsp"))
        return line.usageError(line.isSet(target)
                                   ? QStringLiteral("--target takes arm or dsp, not '%1'").arg(line.value(target))
                                   : QStringLiteral("firmware needs --target arm or --target dsp"));
    const FirmwareUploader::Target chosen = which == QLatin1String("arm") ? FirmwareUploader::Arm
                                                                          : FirmwareUploader::Dsp;
    const QString path = line.positional().at(1);
    // Read and checked whole before the unit is touched.
    const FirmwareUploader::Image image = FirmwareUploader::readImage(chosen, path);
    switch (image.check) {
    case FirmwareUploader::Check::Ok:
        break;
    case FirmwareUploader::Check::CannotOpen:
        console.error(QStringLiteral("cannot read %1").arg(path));
        return ExitFile;
    case FirmwareUploader::Check::Empty:
        console.error(QStringLiteral("%1 is empty").arg(path));
        return ExitFile;
    case FirmwareUploader::Check::TooLarge:
        console.error(QStringLiteral("%1 is larger than an upload can address (%2 bytes at most)")
                          .arg(path)
                          .arg(FirmwareUploader::MaxImageSize));
        return ExitFile;
    case FirmwareUploader::Check::BadHeader:
        console.error(QStringLiteral("%1 is no ARM image: it does not start with 7F 8C 10 or 7F 8C 20 (third byte "
                                     "is %2); pack a .bin image into a .sbin first")
                          .arg(path)
                          .arg(image.headerByte, 2, 16, QLatin1Char('0')));
        return ExitFile;
    }

    UnitSession session(console, line.common());
    if ((code = session.open(line.positional().at(0))) >= 0)
        return code;
    Link *link = session.client().link();
    TerminalProgress progress(console);
    FirmwareUploader uploader(link, &progress);
    QEventLoop loop;
    FirmwareUploader::Outcome outcome = FirmwareUploader::Outcome::Finished;
    bool ended = false;
    bool silent = false;
    // Every acknowledgement restarts the wait: a unit that stops answering
    // ends the upload instead of leaving it hanging.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    watchdog.setInterval(line.common().timeoutMs);
    QObject::connect(&watchdog, &QTimer::timeout, &loop, [&] {
        silent = true;
        loop.quit();
    });
    QObject::connect(link, &Link::upgradeAck, &watchdog, [&watchdog] { watchdog.start(); });
    QObject::connect(link, &Link::upgradeAck, &uploader, &FirmwareUploader::onUpgradeAck);
    QObject::connect(&uploader, &FirmwareUploader::ended, &loop, [&](FirmwareUploader::Outcome o) {
        outcome = o;
        ended = true;
        loop.quit();
    });
    const QString label = chosen == FirmwareUploader::Arm ? QStringLiteral("ARM firmware")
                                                          : QStringLiteral("DSP firmware");
    if (!uploader.start(chosen, image.bytes, label)) {
        console.error(QStringLiteral("the upload to %1 did not start: the connection is gone").arg(session.address()));
        return ExitUnreachable;
    }
    watchdog.start();
    if (!ended)
        loop.exec();
    progress.finish();
    if (silent) {
        console.error(QStringLiteral("upload to %1: the unit stopped acknowledging blocks; check it before "
                                     "trying again (--timeout waits longer)")
                          .arg(session.address()));
        return ExitUnreachable;
    }
    switch (outcome) {
    case FirmwareUploader::Outcome::Finished:
        return ExitDone;
    case FirmwareUploader::Outcome::LinkLost:
    case FirmwareUploader::Outcome::SendFailed:
        console.error(QStringLiteral("upload to %1: the connection was lost part way; the unit keeps its old "
                                     "firmware until an upload completes")
                          .arg(session.address()));
        return ExitUnreachable;
    case FirmwareUploader::Outcome::Cancelled:
        console.error(QStringLiteral("upload to %1 was cancelled").arg(session.address()));
        return ExitRefused;
    }
    return ExitDone;
}
