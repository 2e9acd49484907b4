// Backup speed: `orvalix-cli backup` of a 96 kHz virtual unit with all 32
// preset slots used, over loopback, against the same slot copies made
// through the window's preset page (its Export button, slot by slot) in the
// same run. The command line also reads the unit's information and its
// whole state, which the page does not. Prints time and bytes per second of
// each; the target is under 1 s and no slower than the page.
//
// Links orvalix_ui for the reference only: the page is the window's.
//
//   bench_backup [RUNS]

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "cli.h"
#include "console.h"
#include "core/link/link.h"
#include "presetmodule.h"
#include "ui/common/prompt.h"
#include "ui/pages/qpreset.h"
#include "virtualunit.h"

namespace {

constexpr double TargetSeconds = 1.0;

class FilePrompt final : public Prompt
{
public:
    QString path;
    using Prompt::ask;
    int ask(QWidget *, Icon, const QString &, const QString &, const QStringList &, int) override { return 0; }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return path; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return path; }
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

qint64 folderBytes(const QString &path)
{
    qint64 total = 0;
    for (const QFileInfo &info : QDir(path).entryInfoList(QDir::Files))
        total += info.size();
    return total;
}

struct Result
{
    double seconds = -1;
    qint64 bytes = 0;
};

// The unit with every slot saved from a state that differs per slot.
void fillSlots(VirtualUnit &unit)
{
    PresetModule &presets = *unit.findModule<PresetModule>();
    for (int s = 0; s < PresetModule::Slots; ++s) {
        presets.save(unit, s);
        presets.rename(s, QByteArray("Show ") + QByteArray::number(s + 1));
    }
}

Result cliInProcess(VirtualUnit &unit, const QString &dir)
{
    Console console;
    QElapsedTimer timer;
    timer.start();
    const int code = Cli(console).run({QStringLiteral("orvalix-cli"), QStringLiteral("backup"),
                                       unit.address().toString(), dir, QStringLiteral("--port"),
                                       QString::number(unit.port())});
    Result r;
    if (code == 0) {
        r.seconds = timer.nsecsElapsed() / 1e9;
        r.bytes = folderBytes(dir);
    }
    waitFor([&] { return !unit.hasClient(); }, 2000);
    return r;
}

Result cliProcess(VirtualUnit &unit, const QString &dir)
{
    QProcess process;
    QEventLoop loop;
    // The unit lives in this process: its event loop turns while waiting.
    QObject::connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop,
                     &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(ORVALIX_CLI_PATH),
                  {QStringLiteral("backup"), unit.address().toString(), dir, QStringLiteral("--port"),
                   QString::number(unit.port())});
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    Result r;
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) {
        r.seconds = timer.nsecsElapsed() / 1e9;
        r.bytes = folderBytes(dir);
    } else {
        std::fprintf(stderr, "%s", process.readAllStandardError().constData());
    }
    waitFor([&] { return !unit.hasClient(); }, 2000);
    return r;
}

Result page(VirtualUnit &unit, const QString &dir)
{
    Link link;
    QTcpSocket socket;
    FilePrompt prompt;
    QPreset preset(&link);
    preset.setPrompt(&prompt);
    preset.timer()->stop();
    QObject::connect(&link, &Link::moduleMessage, &preset,
                     [&preset](quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload) {
                         if (module == preset.moduleId())
                             preset.onMessage(param, op, length, payload);
                     });
    preset.show();
    link.setControlPort(unit.port());
    link.setCurrentSocket(&socket, 1, unit.address().toIPv4Address());
    Result r;
    if (!waitFor([&] { return socket.state() == QAbstractSocket::ConnectedState && unit.hasClient(); }, 5000))
        return r;
    // The page learns the used slots from its poll.
    for (int i = 0; i < QPreset::PollTicks; ++i)
        preset.timeOut20ms();
    if (!waitFor([&] { return preset.isUsed(QPreset::Slots - 1); }, 5000))
        return r;

    QElapsedTimer timer;
    timer.start();
    for (int s = 0; s < QPreset::Slots; ++s) {
        prompt.path = QDir(dir).filePath(QStringLiteral("slot-%1.pst1").arg(s + 1, 2, 10, QLatin1Char('0')));
        preset.slotButton(s, QPreset::ExportButton)->click();
        if (!waitFor([&] { return preset.transfer() == QPreset::Transfer::None && QFileInfo::exists(prompt.path); },
                     10000))
            return r;
    }
    r.seconds = timer.nsecsElapsed() / 1e9;
    r.bytes = folderBytes(dir);
    link.setCurrentSocket(nullptr, 0, 0);
    socket.abort();
    waitFor([&] { return !unit.hasClient(); }, 2000);
    return r;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "orvalix.*.debug=false");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, atoi(argv[1])) : 5;

    VirtualUnit::Options options;
    options.address = loopbackAddress(41);
    options.port = 0;
    options.family = 1;
    VirtualUnit unit(options);
    if (!unit.start()) {
        std::fprintf(stderr, "the virtual unit did not start\n");
        return 1;
    }
    fillSlots(unit);

    struct Setup
    {
        const char *name;
        Result (*run)(VirtualUnit &, const QString &);
        std::vector<double> seconds;
        qint64 bytes = 0;
    };
    Setup setups[] = {
        {"page, 32 slot exports (reference)", page, {}, 0},
        {"orvalix-cli backup, in-process", cliInProcess, {}, 0},
        {"orvalix-cli backup, child process", cliProcess, {}, 0},
    };
    for (int run = 0; run < runs; ++run) {
        for (Setup &s : setups) {
            QTemporaryDir dir;
            const Result r = s.run(unit, dir.path());
            if (r.seconds < 0) {
                std::fprintf(stderr, "%s: failed\n", s.name);
                return 1;
            }
            s.seconds.push_back(r.seconds);
            s.bytes = r.bytes;
        }
    }

    std::printf("backup of a 96 kHz virtual unit, 32 slots used, over loopback; median of %d runs\n", runs);
    const double reference = median(setups[0].seconds);
    for (const Setup &s : setups) {
        const double t = median(s.seconds);
        std::printf("  %-38s %8.1f ms  %9lld bytes  %7.2f MB/s  %5.2fx the page's time\n", s.name, t * 1e3,
                    static_cast<long long>(s.bytes), s.bytes / t / 1e6, t / reference);
    }
    const double cli = median(setups[1].seconds);
    const double child = median(setups[2].seconds);
    std::printf("target: under %.1f s and no slower than the page: %s\n", TargetSeconds,
                child < TargetSeconds && cli <= reference * 1.0 ? "met" : "NOT met");
    return 0;
}
