// orvalix-unit: a virtual DSP unit on loopback, for demos and tests.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

#include <cstdio>

#include "faultcycle.h"
#include "core/link/logging.h"
#include "systemmodule.h"
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
    const QCommandLineOption fault(QStringLiteral("fault"),
        QStringLiteral("Misbehave from the start (repeatable): silence (no reply on the control link; status records go on), garbage[=BYTES], bytes (every frame cut "
                       "into single bytes), long-reports, short-reports, wrong-op, drop-acks=N (every n-th "
                       "firmware or preset transfer acknowledgement lost), reject-password."),
        QStringLiteral("FAULT"));
    const QCommandLineOption faultCycle(QStringLiteral("fault-cycle"),
        QStringLiteral("Go through every fault in turn, each for MS milliseconds with a fault-free stretch after "
                       "it (silence, close mid-frame, garbage, single bytes, damaged reports, another address, "
                       "lost acknowledgements)."),
        QStringLiteral("MS"));
    const QCommandLineOption meterStream(QStringLiteral("meter-stream"),
        QStringLiteral("Send the level and limiter meters unasked every MS milliseconds."), QStringLiteral("MS"));
    parser.addOptions({bind, port, password, family, faults, trace, logFile, announceTo, commandPort, machineId,
                       fault, faultCycle, meterStream});
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
    for (const QString &value : parser.values(fault)) {
        const QString name = value.section(QLatin1Char('='), 0, 0);
        const QString argument = value.section(QLatin1Char('='), 1);
        const int number = argument.toInt(&ok);
        if (name == QLatin1String("silence")) {
            unit.setSilent(true);
        } else if (name == QLatin1String("garbage")) {
            unit.setGarbageBetweenFrames(argument.isEmpty() ? 7 : (ok && number > 0 ? number : -1));
            if (unit.garbageBetweenFrames() <= 0) {
                std::fprintf(stderr, "invalid --fault garbage=BYTES\n");
                return 1;
            }
        } else if (name == QLatin1String("bytes")) {
            unit.setByteByByte(true);
        } else if (name == QLatin1String("long-reports")) {
            unit.setReportFault(VirtualUnit::ReportFault::LongerByOne);
        } else if (name == QLatin1String("short-reports")) {
            unit.setReportFault(VirtualUnit::ReportFault::ShorterByOne);
        } else if (name == QLatin1String("wrong-op")) {
            unit.setReportFault(VirtualUnit::ReportFault::WrongOp);
        } else if (name == QLatin1String("drop-acks") && ok && number > 0) {
            unit.setDropEveryNthAck(number);
        } else if (name == QLatin1String("reject-password")) {
            unit.system().rejectLogins = true;
        } else {
            std::fprintf(stderr, "invalid --fault %s\n", qPrintable(value));
            return 1;
        }
    }
    if (parser.isSet(meterStream)) {
        const int ms = parser.value(meterStream).toInt(&ok);
        if (!ok || ms <= 0) {
            std::fprintf(stderr, "invalid --meter-stream\n");
            return 1;
        }
        unit.setMeterStream(ms);
    }
    if (!unit.start())
        return 1;
    UnitAnnouncer announcer(&unit, announce);
    if (!announcer.start())
        return 1;
    FaultCycle cycle(&unit, &announcer, 1000);
    if (parser.isSet(faultCycle)) {
        const int ms = parser.value(faultCycle).toInt(&ok);
        if (!ok || ms <= 0) {
            std::fprintf(stderr, "invalid --fault-cycle\n");
            return 1;
        }
        cycle.setStepMs(ms);
        cycle.start();
    }
    std::printf("orvalix-unit listening on %s:%u (family %d), machine id %u, announcing to %s:%u, "
                "commands on UDP port %u\n",
                qPrintable(options.address.toString()), unit.port(), options.family, announcer.machineId(),
                qPrintable(announce.announceTo.toString()), announce.announcePort, announcer.commandPort());
    std::fflush(stdout);
    return app.exec();
}
