// CPU use of the application while it sits idle on a page, connected to a
// unit that answers its polling.
//
// Method: the virtual unit runs as a separate process (orvalix-unit) on a
// loopback address, so its work is not counted. This process builds the
// main window (offscreen, 1024 x 600), connects the link to the unit, opens
// a page, lets it settle for two seconds and then runs the event loop for
// the measuring time. CPU time is getrusage(RUSAGE_SELF) user + system over
// that time; the figure is that time as a share of one core.
//
// Usage: bench_idle_cpu [seconds per page, default 20]

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>

#include "core/link/link.h"
#include "ui/common/prompt.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/qsetup.h"
#include "ui/window/mainwindow.h"

namespace {

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitFor(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        runFor(10);
    }
    return true;
}

// A loopback address of this run's own, and a port free on it.
QHostAddress loopbackAddress()
{
    const quint32 pid = quint32(QCoreApplication::applicationPid());
    return QHostAddress((127u << 24) | ((1 + (pid >> 8) % 250) << 16) | ((pid & 0xFF) << 8) | 200u);
}

quint16 freePort(const QHostAddress &address)
{
    QTcpServer probe;
    if (!probe.listen(address, 0))
        return 0;
    return probe.serverPort();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "orvalix.*.debug=false");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 20;

    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());

    const QHostAddress address = loopbackAddress();
    const quint16 port = freePort(address);
    if (port == 0) {
        std::fprintf(stderr, "no free port on %s\n", qPrintable(address.toString()));
        return 1;
    }
    QProcess unit;
    unit.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    unit.start(QStringLiteral(ORVALIX_UNIT_PATH),
               {QStringLiteral("--bind"), address.toString(), QStringLiteral("--port"), QString::number(port)});
    if (!unit.waitForStarted(5000) || !waitFor([&] { return unit.canReadLine(); }, 5000)) {
        std::fprintf(stderr, "orvalix-unit did not start\n");
        return 1;
    }

    AppOptions options;
    options.controlPort = port;
    options.discoveryPort = 0;
    options.commandAddress = address.toString();
    QSettings settings(scratch.filePath(QStringLiteral("store.ini")), QSettings::IniFormat);
    mainWindow window(options, Prompt::standard(), &settings);
    window.resize(1024, 600);
    window.show();

    QTcpSocket socket;
    window.link()->setCurrentSocket(&socket, 1, address.toIPv4Address());
    if (!waitFor([&] { return window.link()->isLoggedIn(); }, 5000)) {
        std::fprintf(stderr, "no login from the unit\n");
        return 1;
    }
    quint64 reports = 0;
    QObject::connect(window.link(), &Link::systemMessage, [&reports] { ++reports; });
    QObject::connect(window.link(), &Link::moduleMessage, [&reports] { ++reports; });

    std::printf("Idle CPU of the application, connected to orvalix-unit on %s:%u\n",
                qPrintable(address.toString()), port);
    std::printf("method: getrusage(RUSAGE_SELF) user+sys of this process over %d s per page, after 2 s to\n"
                "settle; the unit runs as a child process and is not counted; offscreen, 1024 x 600.\n",
                seconds);
    FuncWidget *pages = window.funcWidget();
    const struct
    {
        const char *name;
        QWidget *page;
    } cases[] = {
        {"Settings", pages->setup()},
        {"In Level", pages->stack()->widget(0)},
    };
    double worst = 0.0;
    for (const auto &c : cases) {
        pages->pageButton(c.page)->click();
        runFor(2000);
        reports = 0;
        const double cpuStart = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        runFor(seconds * 1000);
        const double cpu = cpuSeconds() - cpuStart;
        const double elapsed = wall.elapsed() / 1000.0;
        const double share = 100.0 * cpu / elapsed;
        worst = qMax(worst, share);
        std::printf("  page %-9s %6.3f s CPU in %6.2f s = %5.2f %% of one core; %llu reports handled (%.0f/s)\n",
                    c.name, cpu, elapsed, share, static_cast<unsigned long long>(reports),
                    double(reports) / elapsed);
    }
    std::printf("worst page: %.2f %% of one core (target: under 3 %%)\n", worst);

    window.link()->setCurrentSocket(nullptr, 0, 0);
    unit.terminate();
    if (!unit.waitForFinished(3000))
        unit.kill();
    return 0;
}
