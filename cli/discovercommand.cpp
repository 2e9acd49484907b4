// discover: listens for the units' status records; never sends.

#include <QCommandLineOption>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "core/devices/discovery.h"
#include "exitcode.h"

namespace {

QString field(const char *bytes, int size, int limit = -1)
{
    return QString::fromLocal8Bit(broadcastMsg::fieldText(bytes, size, limit));
}

// "DSP, Temp" from the fault bits (bit 0 DSP, 1 Flash, 2 Temp, 3 DAC).
QStringList faultNames(quint8 bits)
{
    static const char *const names[] = {"DSP", "Flash", "Temp", "DAC"};
    QStringList out;
    for (int i = 0; i < 4; ++i) {
        if (bits & (1u << i))
            out.append(QLatin1String(names[i]));
    }
    if (bits & 0xF0)
        out.append(QStringLiteral("0x%1").arg(bits & 0xF0, 2, 16, QLatin1Char('0')));
    return out;
}

QJsonObject unitJson(const broadcastMsg &r, bool online)
{
    return QJsonObject{
        {QStringLiteral("address"), broadcastMsg::addressText(r.ipaddress)},
        {QStringLiteral("model"), field(r.model, broadcastMsg::ModelSize)},
        {QStringLiteral("location"), field(r.location, broadcastMsg::TextSize, Discovery::StoredTextBytes)},
        {QStringLiteral("description"), field(r.description, broadcastMsg::TextSize, Discovery::StoredTextBytes)},
        {QStringLiteral("serial"), field(r.sn, broadcastMsg::SnSize)},
        {QStringLiteral("arm_version"), field(r.ARMFirmware, broadcastMsg::FirmwareSize)},
        {QStringLiteral("dsp_version"), field(r.DSPFirmware, broadcastMsg::FirmwareSize)},
        {QStringLiteral("preset"), field(r.presetName, broadcastMsg::TextSize, Discovery::StoredTextBytes)},
        {QStringLiteral("fault"), QJsonArray::fromStringList(faultNames(r.fault))},
        {QStringLiteral("online"), online},
        {QStringLiteral("machine_id"), double(r.machineid)},
        {QStringLiteral("run_seconds"), double(r.runTime)},
    };
}

// Columns padded to their widest cell.
QStringList table(const QVector<QStringList> &rows)
{
    QVector<int> widths(rows.first().size(), 0);
    for (const QStringList &row : rows) {
        for (int c = 0; c < row.size(); ++c)
            widths[c] = qMax(widths[c], row.at(c).size());
    }
    QStringList lines;
    for (const QStringList &row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? row.at(c).leftJustified(widths[c] + 2) : row.at(c);
        lines.append(line);
    }
    return lines;
}

} // namespace

int Commands::discover(Console &console, const QStringList &arguments)
{
    const QCommandLineOption seconds(QStringLiteral("seconds"),
                                     QStringLiteral("How long to listen (default 3; units announce once a second)."),
                                     QStringLiteral("N"), QStringLiteral("3"));
    CommandLine line(console, QStringLiteral("discover"), QString(),
                     QStringLiteral("Lists the units that announce themselves on the network. It only listens on "
                                    "the discovery port; it sends nothing."),
                     CommandLine::DiscoveryPort | CommandLine::Json);
    line.addOption(seconds);
    const int code = line.parse(arguments, 0, 0);
    if (code >= 0)
        return code;
    bool ok = false;
    const double listen = line.value(seconds).toDouble(&ok);
    if (!ok || !(listen > 0) || listen > 3600)
        return line.usageError(QStringLiteral("--seconds takes a number above 0 and up to 3600, not '%1'")
                                   .arg(line.value(seconds)));

    Discovery discovery(line.common().discoveryPort);
    if (!discovery.isListening()) {
        console.error(QStringLiteral("cannot listen on UDP port %1; another program may hold it without sharing "
                                     "(close the window's device list, or pick --discovery-port)")
                          .arg(line.common().discoveryPort));
        return ExitUnreachable;
    }
    QEventLoop loop;
    QTimer::singleShot(int(listen * 1000), &loop, &QEventLoop::quit);
    loop.exec();

    QJsonArray units;
    QVector<QStringList> rows{{QStringLiteral("ADDRESS"), QStringLiteral("MODEL"), QStringLiteral("LOCATION"),
                               QStringLiteral("DESCRIPTION"), QStringLiteral("ARM"), QStringLiteral("DSP"),
                               QStringLiteral("PRESET"), QStringLiteral("FAULT"), QStringLiteral("STATE")}};
    for (int i = 0; i < discovery.count(); ++i) {
        const QJsonObject unit = unitJson(*discovery.recordAt(i), discovery.isOnline(i));
        units.append(unit);
        const QStringList faults = faultNames(discovery.recordAt(i)->fault);
        rows.append({unit.value(QStringLiteral("address")).toString(), unit.value(QStringLiteral("model")).toString(),
                     unit.value(QStringLiteral("location")).toString(),
                     unit.value(QStringLiteral("description")).toString(),
                     unit.value(QStringLiteral("arm_version")).toString(),
                     unit.value(QStringLiteral("dsp_version")).toString(),
                     unit.value(QStringLiteral("preset")).toString(),
                     faults.isEmpty() ? QStringLiteral("-") : faults.join(QLatin1Char(',')),
                     discovery.isOnline(i) ? QStringLiteral("online") : QStringLiteral("offline")});
    }
    if (line.common().json) {
        console.write(QJsonDocument(units).toJson(QJsonDocument::Indented));
    } else if (units.isEmpty()) {
        console.note(QStringLiteral("No unit announced itself within %1 s on UDP port %2.")
                         .arg(listen)
                         .arg(discovery.boundPort()));
    } else {
        for (const QString &l : table(rows))
            console.print(l);
    }
    return ExitDone;
}
