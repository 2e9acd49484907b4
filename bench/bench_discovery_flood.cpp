// A discovery flood: one loopback sender fires status records with random
// machine ids as fast as it can (100 000 by default) at a device table wired
// to a device list as the main window wires them. Prints how long the table
// took to drain the burst, how many units it took (at most the cap), the
// longest the GUI thread went without turning its event loop, and the
// process's memory before and after.
//
//   bench_discovery_flood [RECORDS]

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "core/devices/broadcastmsg.h"
#include "ui/common/prompt.h"
#include "ui/devices/qdevicelist.h"
#include "ui/devices/qdevtable.h"

namespace {

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

class ClosingPrompt final : public Prompt
{
public:
    using Prompt::ask;
    int ask(QWidget *, Icon, const QString &, const QString &, const QStringList &, int) override { return -1; }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString existingDirectory(QWidget *, const QString &, const QString &) override { return {}; }
};

// Sends `count` records with random ids from 127.0.0.1 to the listener.
void flood(quint16 port, int count, std::atomic<int> *sent, std::atomic<bool> *done)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    QRandomGenerator rng(4711);
    broadcastMsg record;
    record.ipaddress = 0x7F000001;
    broadcastMsg::setFieldText(record.model, broadcastMsg::ModelSize, "FLOOD");
    for (int i = 0; i < count; ++i) {
        record.machineid = rng.generate();
        const QByteArray bytes = record.encode();
        if (::sendto(fd, bytes.constData(), size_t(bytes.size()), 0, reinterpret_cast<sockaddr *>(&to), sizeof to)
            == bytes.size())
            ++*sent;
    }
    ::close(fd);
    *done = true;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int records = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());

    ClosingPrompt prompt;
    QDevTable::Network network;
    network.discoveryPort = 0;
    network.commandAddress = QHostAddress(QHostAddress::LocalHost);
    network.commandPort = 9;
    network.controlPort = 9;
    QDevTable table(network, &prompt, nullptr);
    QDeviceList list;
    QObject::connect(&table, &QDevTable::sigAddDev, &list, &QDeviceList::addItem);
    QObject::connect(&table, &QDevTable::sigNetBrowsingState, &list, &QDeviceList::setNetBrowsingState);
    QObject::connect(&table, &QDevTable::sigModel, &list, &QDeviceList::setDeviceModel);
    list.resize(300, 600);
    list.show();
    table.loadDevices();

    QElapsedTimer turn;
    turn.start();
    qint64 longestTurn = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { longestTurn = qMax(longestTurn, turn.restart()); });
    watch.start(5);

    const qint64 before = residentKb();
    std::atomic<int> sent{0};
    std::atomic<bool> done{false};
    QElapsedTimer clock;
    clock.start();
    std::thread sender(flood, table.boundDiscoveryPort(), records, &sent, &done);
    // Drained: the sender is done and nothing new arrived for half a second.
    bool senderDone = false;
    int lastCount = -1;
    QElapsedTimer quiet;
    quiet.start();
    while (!senderDone || quiet.elapsed() < 500) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!senderDone && done) {
            sender.join();
            senderDone = true;
        }
        if (table.count() != lastCount) {
            lastCount = table.count();
            quiet.restart();
        }
    }
    const qint64 drained = clock.elapsed() - 500;
    if (!senderDone)
        sender.join();
    const qint64 after = residentKb();

    std::printf("records sent: %d from one loopback socket\n", sent.load());
    std::printf("units known: %d (cap %d), device list tiles: %d\n", table.count(), QDevTable::MaxKnownUnits,
                list.count());
    std::printf("burst drained in %lld ms; longest event-loop turn: %lld ms\n", drained, longestTurn);
    std::printf("memory: %lld kB before, %lld kB after (%+lld kB)\n", before, after, after - before);
    return table.count() <= QDevTable::MaxKnownUnits ? 0 : 1;
}
