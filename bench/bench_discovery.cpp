// Discovery at venue scale: N announcing units (records only, one UDP socket
// each, on loopback, in a second thread of this process) against the device
// table on the GUI thread. For N = 50 and 500 it prints the time until all
// are listed, the GUI thread's CPU time per second of steady announcing, and
// how often a unit dropped offline although it kept announcing.
//
//   bench_discovery [N ...] [--steady SECONDS]

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include <sys/resource.h>

#include "core/devices/broadcastmsg.h"
#include "ui/devices/qdevicelist.h"
#include "ui/devices/qdevtable.h"
#include "unitannouncer.h"

namespace {

double threadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop idle for `ms`: CPU time is then only what the events cost.
void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Owns the announcers in the second thread.
class Announcers : public QObject
{
public:
    void start(int count, quint16 port)
    {
        QRandomGenerator rng(count);
        for (int i = 0; i < count; ++i) {
            broadcastMsg record;
            record.machineid = quint32(500000 + i);
            record.ipaddress = (10u << 24) | quint32(i + 1); // 10.0.x.y: shown, never contacted
            broadcastMsg::setFieldText(record.model, broadcastMsg::ModelSize, "OVX-480");
            broadcastMsg::setFieldText(record.ARMFirmware, broadcastMsg::FirmwareSize, "V1.2.3");
            broadcastMsg::setFieldText(record.DSPFirmware, broadcastMsg::FirmwareSize, "V1.0.5");
            broadcastMsg::setFieldText(record.location, broadcastMsg::TextSize, "Stage left rack 3");
            broadcastMsg::setFieldText(record.sn, broadcastMsg::SnSize, QByteArray("SN-") + QByteArray::number(i));
            UnitAnnouncer::Options options;
            options.announcePort = port;
            options.commandPort = 0;
            auto announcer = std::make_unique<UnitAnnouncer>(record, options);
            // Units powered up at different moments announce out of phase.
            UnitAnnouncer *raw = announcer.get();
            QTimer::singleShot(int(rng.bounded(1000)), raw, [raw] { raw->start(); });
            m_announcers.push_back(std::move(announcer));
        }
    }
    void stop() { m_announcers.clear(); }
    int sent() const
    {
        int total = 0;
        for (const auto &a : m_announcers)
            total += a->announcementsSent();
        return total;
    }

private:
    std::vector<std::unique_ptr<UnitAnnouncer>> m_announcers;
};

void run(int count, int steadySeconds)
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        QDevTable::Network network;
        network.discoveryPort = 0;
        network.commandAddress = QHostAddress(QStringLiteral("127.0.0.1"));
        QDevTable table(network, nullptr, nullptr);
        // The device list mirrors the table as in the main window.
        QDeviceList list;
        QObject::connect(&table, &QDevTable::sigAddDev, &list, &QDeviceList::addItem);
        QObject::connect(&table, &QDevTable::sigIpaddr, &list, &QDeviceList::setIpaddr);
        QObject::connect(&table, &QDevTable::sigNetBrowsingState, &list, &QDeviceList::setNetBrowsingState);
        QObject::connect(&table, &QDevTable::sigModel, &list, &QDeviceList::setDeviceModel);
        QObject::connect(&table, &QDevTable::sigPreset, &list, &QDeviceList::setDevicePreset);
        QObject::connect(&table, &QDevTable::sigFault, &list, &QDeviceList::setFaultState);
        table.loadDevices();
        int wentOffline = 0;
        QObject::connect(&table, &QDevTable::sigNetBrowsingState, [&](int, bool online) {
            if (!online)
                ++wentOffline;
        });

        QThread thread;
        Announcers announcers;
        announcers.moveToThread(&thread);
        thread.start();

        const double listingCpuBefore = threadCpuSeconds();
        QElapsedTimer clock;
        clock.start();
        QMetaObject::invokeMethod(&announcers, [&] { announcers.start(count, table.boundDiscoveryPort()); },
                                  Qt::BlockingQueuedConnection);
        {
            QEventLoop loop;
            QObject::connect(&table, &QDevTable::sigAddDev, &loop, [&] {
                if (table.count() >= count)
                    loop.quit();
            });
            QTimer::singleShot(15000, &loop, &QEventLoop::quit);
            if (table.count() < count)
                loop.exec();
        }
        const qint64 listedMs = clock.elapsed();
        const double listingCpu = threadCpuSeconds() - listingCpuBefore;
        const int listed = table.count();

        // Let the start-up burst pass, then measure a steady stretch.
        spin(1500);
        int sentBefore = 0;
        QMetaObject::invokeMethod(&announcers, [&] { sentBefore = announcers.sent(); }, Qt::BlockingQueuedConnection);
        const double guiBefore = threadCpuSeconds();
        const double processBefore = processCpuSeconds();
        QElapsedTimer steady;
        steady.start();
        spin(steadySeconds * 1000);
        const double wall = double(steady.elapsed()) / 1000.0;
        const double guiCpu = threadCpuSeconds() - guiBefore;
        const double processCpu = processCpuSeconds() - processBefore;
        int sentAfter = 0;
        QMetaObject::invokeMethod(&announcers, [&] { sentAfter = announcers.sent(); }, Qt::BlockingQueuedConnection);
        int online = 0;
        for (int i = 0; i < table.count(); ++i)
            online += table.isOnline(i) ? 1 : 0;

        QMetaObject::invokeMethod(&announcers, [&] { announcers.stop(); }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();

        std::printf("N = %d\n", count);
        std::printf("  listed             %d of %d in %lld ms (announcers start within the first 1000 ms)\n",
                    listed, count, static_cast<long long>(listedMs));
        std::printf("  listing CPU        %.1f ms on the GUI thread (%.1f us per new unit: table row, tile, socket, insert)\n",
                    1000.0 * listingCpu, 1e6 * listingCpu / qMax(1, listed));
        std::printf("  steady period      %.1f s, %d records sent (%.0f per second)\n", wall, sentAfter - sentBefore,
                    double(sentAfter - sentBefore) / wall);
        std::printf("  device table CPU   %.1f ms per second = %.2f%% of one core (GUI thread)\n",
                    1000.0 * guiCpu / wall, 100.0 * guiCpu / wall);
        std::printf("  whole process CPU  %.1f ms per second (GUI thread plus the %d announcers)\n",
                    1000.0 * processCpu / wall, count);
        std::printf("  went offline       %d times; online at the end %d of %d%s\n", wentOffline, online, count,
                    wentOffline == 0 && online == count ? " (no flapping)" : " (FLAPPING)");
    }
    QDir::setCurrent(previous);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<int> counts;
    int steadySeconds = 10;
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--steady") && i + 1 < args.size())
            steadySeconds = qMax(1, args.at(++i).toInt());
        else if (args.at(i).toInt() > 0)
            counts.push_back(args.at(i).toInt());
    }
    if (counts.empty())
        counts = {50, 500};
    std::printf("Discovery benchmark: records on loopback, one announcement per unit per second\n");
    for (int count : counts)
        run(count, steadySeconds);
    return 0;
}
