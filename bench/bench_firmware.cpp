// Firmware upload speed: a 4 MiB image to the virtual unit over loopback, one
// acknowledgement round trip per 1024-byte block. Three set-ups: the upload
// procedure alone against an in-process unit, the whole window (menu
// procedure and the shared progress dialog) against an in-process unit, and
// the window against orvalix-unit running as a child process. Prints MB/s
// and the mean round trip per block; the target is at least 5 MB/s.
//
//   bench_firmware [RUNS]

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "core/firmware/firmwareimage.h"
#include "core/firmware/firmwareuploader.h"
#include "core/link/link.h"
#include "firmwaremodule.h"
#include "ui/common/prompt.h"
#include "ui/pages/firmwareupload.h"
#include "ui/window/mainwindow.h"
#include "virtualunit.h"

namespace {

constexpr int ImageSize = 4 << 20;
constexpr double TargetMBps = 5.0;

class FilePrompt final : public Prompt
{
public:
    QString path;
    int asked = 0;
    using Prompt::ask;
    int ask(QWidget *, Icon, const QString &, const QString &, const QStringList &, int) override
    {
        ++asked;
        return 0;
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return path; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString existingDirectory(QWidget *, const QString &, const QString &) override { return {}; }
};

bool waitFor(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

QHostAddress loopbackAddress(quint32 n)
{
    const quint32 pid = quint32(QCoreApplication::applicationPid());
    return QHostAddress((127u << 24) | ((1 + (pid >> 8) % 250) << 16) | ((pid & 0xFF) << 8) | n);
}

quint16 freePort(const QHostAddress &address)
{
    QTcpServer probe;
    return probe.listen(address, 0) ? probe.serverPort() : 0;
}

struct Result
{
    double seconds = 0;
    bool ok = false;
};

void report(const char *name, const std::vector<Result> &runs, int blocks)
{
    std::vector<double> times;
    for (const Result &r : runs) {
        if (r.ok)
            times.push_back(r.seconds);
    }
    if (times.empty()) {
        std::printf("  %-38s FAILED\n", name);
        return;
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const double mbps = ImageSize / median / 1e6;
    std::printf("  %-38s %7.2f MB/s  mean round trip %6.1f us  (median of %zu; best %.3f s)  %s\n", name, mbps,
                median / blocks * 1e6, times.size(), times.front(),
                mbps >= TargetMBps ? "meets 5 MB/s" : "BELOW 5 MB/s");
}

// The upload procedure alone: link, uploader, unit, no widgets involved.
Result uploadAlone(const QByteArray &image, quint32 addressIndex)
{
    VirtualUnit::Options options;
    options.address = loopbackAddress(addressIndex);
    options.port = 0;
    VirtualUnit unit(options);
    if (!unit.start())
        return {};
    Link link;
    link.setControlPort(unit.port());
    QTcpSocket socket;
    link.setCurrentSocket(&socket, 1, options.address.toIPv4Address());
    if (!waitFor([&] { return socket.state() == QAbstractSocket::ConnectedState && unit.hasClient(); }, 5000))
        return {};
    FirmwareUploader uploader(&link);
    QObject::connect(&link, &Link::upgradeAck, &uploader, &FirmwareUploader::onUpgradeAck);
    QElapsedTimer timer;
    timer.start();
    uploader.start(FirmwareUploader::Arm, image, QString());
    const bool done = waitFor([&] { return !uploader.isActive(); }, 120000);
    Result result{timer.nsecsElapsed() / 1e9, false};
    const FirmwareModule *firmware = unit.findModule<FirmwareModule>();
    result.ok = done && firmware->isComplete(1) && firmware->image(1) == image;
    link.setCurrentSocket(nullptr, 0, 0);
    return result;
}

// The window's menu procedure with its progress dialog, against a unit on
// `address`:`port`; `complete` says whether the unit has the whole image.
Result uploadThroughWindow(const QString &path, const QHostAddress &address, quint16 port,
                           const std::function<bool()> &complete)
{
    FilePrompt prompt;
    prompt.path = path;
    AppOptions options;
    options.controlPort = port;
    QSettings settings(QDir::current().filePath(QStringLiteral("bench.ini")), QSettings::IniFormat);
    mainWindow window(options, &prompt, &settings);
    QTcpSocket socket;
    window.link()->setCurrentSocket(&socket, 1, address.toIPv4Address());
    if (!waitFor([&] { return window.link()->isLoggedIn(); }, 5000))
        return {};
    QElapsedTimer timer;
    timer.start();
    window.armUpdateClicked();
    FirmwareUploader *uploader = window.firmwareUpload()->uploader();
    const bool done = waitFor([&] { return !uploader->isActive(); }, 120000);
    Result result{timer.nsecsElapsed() / 1e9, false};
    result.ok = done && prompt.asked == 0 && (!complete || waitFor(complete, 5000));
    window.link()->setCurrentSocket(nullptr, 0, 0);
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "orvalix.*.debug=false");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;

    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    QByteArray body(ImageSize - FirmwareImage::HeadSize - FirmwareImage::TailSize, '\0');
    for (int i = 0; i < body.size(); ++i)
        body[i] = char((i * 131 + (i >> 10)) & 0xFF);
    const QByteArray image = FirmwareImage::pack(body);
    const QString path = scratch.filePath(QStringLiteral("bench.sbin"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const int blocks = ImageSize / FirmwareUploader::BlockSize;
    std::printf("Firmware upload of %d bytes (%d blocks of 1024) over loopback, %d runs each\n", ImageSize, blocks,
                runs);

    std::vector<Result> alone, window, child;
    for (int i = 0; i < runs; ++i)
        alone.push_back(uploadAlone(image, quint32(10 + i)));
    report("uploader alone, unit in-process", alone, blocks);

    for (int i = 0; i < runs; ++i) {
        VirtualUnit::Options options;
        options.address = loopbackAddress(quint32(40 + i));
        options.port = 0;
        VirtualUnit unit(options);
        if (!unit.start()) {
            window.push_back({});
            continue;
        }
        const FirmwareModule *firmware = unit.findModule<FirmwareModule>();
        window.push_back(uploadThroughWindow(path, options.address, unit.port(), [&] {
            return firmware->isComplete(1) && firmware->image(1) == image;
        }));
    }
    report("window + progress dialog, in-process", window, blocks);

    const QHostAddress address = loopbackAddress(200);
    const quint16 port = freePort(address);
    QProcess unit;
    unit.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    unit.start(QStringLiteral(ORVALIX_UNIT_PATH),
               {QStringLiteral("--bind"), address.toString(), QStringLiteral("--port"), QString::number(port),
                QStringLiteral("--announce-to"), address.toString() + QStringLiteral(":9")});
    if (port == 0 || !unit.waitForStarted(5000) || !waitFor([&] { return unit.canReadLine(); }, 5000)) {
        std::fprintf(stderr, "orvalix-unit did not start\n");
    } else {
        for (int i = 0; i < runs; ++i)
            child.push_back(uploadThroughWindow(path, address, port, nullptr));
        report("window + progress dialog, child unit", child, blocks);
    }
    unit.terminate();
    if (!unit.waitForFinished(3000))
        unit.kill();
    return 0;
}
