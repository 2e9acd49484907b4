// orvalix-unit: a virtual DSP unit on loopback, for demos and tests.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

#include <cstdio>

#include "link/logging.h"
#include "unitannouncer.h"
#include "virtualunit.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvalix-unit"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A virtual loudspeaker-management DSP unit. It accepts one control connection, "
        "keeps its state like a real unit and answers every query the application sends."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption bind(QStringLiteral("bind"),
        QStringLiteral("Loopback address to listen on (default 127.0.0.1)."), QStringLiteral("ADDRESS"),
        QStringLiteral("127.0.0.1"));
    const QCommandLineOption port(QStringLiteral("port"),
        QStringLiteral("TCP port of the control link (default 2699)."), QStringLiteral("PORT"),
        QStringLiteral("2699"));
    const QCommandLineOption password(QStringLiteral("password"),
        QStringLiteral("Login password the unit asks for (default: none)."), QStringLiteral("TEXT"));
    const QCommandLineOption family(QStringLiteral("family"),
        QStringLiteral("Unit family: 1 (96 kHz, input delay, 512-tap FIR) or 2 (48 kHz). Default 1."),
        QStringLiteral("1|2"), QStringLiteral("1"));
    const QCommandLineOption faults(QStringLiteral("faults"),
        QStringLiteral("Fault bits to report: bit 0 DSP, 1 Flash, 2 Temp, 3 DAC (default 0)."),
        QStringLiteral("BITS"), QStringLiteral("0"));
    const QCommandLineOption trace(QStringLiteral("trace"), QStringLiteral("Log every frame received."));
    const QCommandLineOption logFile(QStringLiteral("log-file"),
        QStringLiteral("Also write the log to PATH."), QStringLiteral("PATH"));
    const QCommandLineOption announceTo(QStringLiteral("announce-to"),
        QStringLiteral("Where the status records go, once a second (default 127.0.0.1:6696)."),
        QStringLiteral("ADDRESS:PORT"), QStringLiteral("127.0.0.1:6696"));
    const QCommandLineOption commandPort(QStringLiteral("command-port"),
        QStringLiteral("UDP port on the bind address where commands such as new IP settings are heard "
                       "(default 6001)."),
        QStringLiteral("PORT"), QStringLiteral("6001"));
    const QCommandLineOption machineId(QStringLiteral("machine-id"),
        QStringLiteral("Machine id announced (default: 100000 plus the low 24 bits of the bind address)."),
        QStringLiteral("ID"));
    parser.addOptions({bind, port, password, family, faults, trace, logFile, announceTo, commandPort, machineId});
    parser.process(app);

    VirtualUnit::Options options;
    options.address = QHostAddress(parser.value(bind));
    if (options.address.protocol() != QAbstractSocket::IPv4Protocol) {
        std::fprintf(stderr, "invalid --bind address\n");
        return 1;
    }
    if (!options.address.isLoopback())
        std::fprintf(stderr, "note: %s is not a loopback address\n", qPrintable(options.address.toString()));
    bool ok = false;
    const uint portValue = parser.value(port).toUInt(&ok);
    if (!ok || portValue == 0 || portValue > 65535) {
        std::fprintf(stderr, "invalid --port\n");
        return 1;
    }
    options.port = quint16(portValue);
    options.password = parser.value(password);
    options.family = parser.value(family).toInt(&ok);
    if (!ok || (options.family != 1 && options.family != 2)) {
        std::fprintf(stderr, "invalid --family (1 or 2)\n");
        return 1;
    }
    options.faultBits = quint8(parser.value(faults).toUInt(&ok, 0));
    if (!ok) {
        std::fprintf(stderr, "invalid --faults\n");
        return 1;
    }
    options.trace = parser.isSet(trace);
    if (parser.isSet(logFile))
        Logging::installLogFile(parser.value(logFile));
    if (!options.trace)
        QLoggingCategory::setFilterRules(QStringLiteral("orvalix.link.debug=false"));

    UnitAnnouncer::Options announce;
    announce.bindAddress = options.address;
    {
        const QString target = parser.value(announceTo);
        const int colon = target.lastIndexOf(QLatin1Char(':'));
        announce.announceTo = QHostAddress(target.left(colon));
        const uint value = colon > 0 ? target.mid(colon + 1).toUInt(&ok) : 0;
        if (colon <= 0 || !ok || value == 0 || value > 65535
            || announce.announceTo.protocol() != QAbstractSocket::IPv4Protocol) {
            std::fprintf(stderr, "invalid --announce-to (ADDRESS:PORT)\n");
            return 1;
        }
        announce.announcePort = quint16(value);
        if (!announce.announceTo.isLoopback())
            std::fprintf(stderr, "note: announcing to %s, which is not a loopback address\n",
                         qPrintable(announce.announceTo.toString()));
    }
    const uint commandValue = parser.value(commandPort).toUInt(&ok);
    if (!ok || commandValue > 65535) {
        std::fprintf(stderr, "invalid --command-port\n");
        return 1;
    }
    announce.commandPort = quint16(commandValue);
    if (parser.isSet(machineId)) {
        announce.machineId = parser.value(machineId).toUInt(&ok, 0);
        if (!ok || announce.machineId == 0) {
            std::fprintf(stderr, "invalid --machine-id\n");
            return 1;
        }
    }

    VirtualUnit unit(options);
    if (!unit.start())
        return 1;
    UnitAnnouncer announcer(&unit, announce);
    if (!announcer.start())
        return 1;
    std::printf("orvalix-unit listening on %s:%u (family %d), machine id %u, announcing to %s:%u, "
                "commands on UDP port %u\n",
                qPrintable(options.address.toString()), unit.port(), options.family, announcer.machineId(),
                qPrintable(announce.announceTo.toString()), announce.announcePort, announcer.commandPort());
    std::fflush(stdout);
    return app.exec();
}
