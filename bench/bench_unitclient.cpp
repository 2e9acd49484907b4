// Reading the complete state of a 96 kHz virtual unit through UnitClient
// over loopback: time per read and frames each way, with queries kept
// outstanding in a window, against the same queries asked one at a time
// in the same process.

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTextStream>

#include "core/client/stateframes.h"
#include "core/client/unitclient.h"
#include "virtualunit.h"

namespace {

struct Figures
{
    double msPerRead = 0.0;
    double sentPerRead = 0.0;
    double receivedPerRead = 0.0;
    bool ok = true;
};

Figures measure(UnitClient &client, int window, int reads)
{
    client.setWindow(window);
    // One read first, so that both runs start from a warm connection.
    client.readState(nullptr);
    client.resetCounts();
    QElapsedTimer timer;
    timer.start();
    Figures f;
    for (int i = 0; i < reads; ++i) {
        // The family stays known between reads; every read asks for the whole state.
        if (!client.readState(nullptr)) {
            QTextStream(stderr) << "read failed: " << client.errorText() << '\n';
            f.ok = false;
            return f;
        }
    }
    f.msPerRead = double(timer.nsecsElapsed()) / 1e6 / reads;
    f.sentPerRead = double(client.framesSent()) / reads;
    f.receivedPerRead = double(client.framesReceived()) / reads;
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("orvalix.*.debug=false"));
    const int reads = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 50;

    VirtualUnit::Options options;
    options.address = QHostAddress(QStringLiteral("127.0.93.1"));
    options.port = 0;
    options.family = 1;
    VirtualUnit unit(options);
    if (!unit.start()) {
        QTextStream(stderr) << "the virtual unit cannot listen on " << options.address.toString() << '\n';
        return 1;
    }
    UnitClient client;
    if (!client.connectToUnit(unit.address(), unit.port())) {
        QTextStream(stderr) << client.errorText() << '\n';
        return 1;
    }

    QTextStream out(stdout);
    out << "complete state of a 96 kHz unit: " << StateFrames::stateQueries(UnitFamily::Sharc96k).size()
        << " queries, " << reads << " reads each\n";
    const Figures pipelined = measure(client, UnitClient::DefaultWindow, reads);
    const Figures single = measure(client, 1, qMax(1, reads / 5));
    if (!pipelined.ok || !single.ok)
        return 1;
    out << QStringLiteral("pipelined (window %1): %2 ms per read, %3 frames sent, %4 received\n")
               .arg(UnitClient::DefaultWindow)
               .arg(pipelined.msPerRead, 0, 'f', 2)
               .arg(pipelined.sentPerRead, 0, 'f', 0)
               .arg(pipelined.receivedPerRead, 0, 'f', 0);
    out << QStringLiteral("reference (one at a time): %1 ms per read, %2 frames sent, %3 received\n")
               .arg(single.msPerRead, 0, 'f', 2)
               .arg(single.sentPerRead, 0, 'f', 0)
               .arg(single.receivedPerRead, 0, 'f', 0);
    out << QStringLiteral("ratio: pipelined reads take %1 of the reference's time; target under 100 ms: %2\n")
               .arg(pipelined.msPerRead / single.msPerRead, 0, 'f', 3)
               .arg(pipelined.msPerRead < 100.0 ? QStringLiteral("met") : QStringLiteral("missed"));
    return 0;
}
