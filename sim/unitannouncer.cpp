#include "unitannouncer.h"

#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>
#include <QtEndian>

#include "core/link/logging.h"
#include "presetmodule.h"
#include "systemmodule.h"
#include "virtualunit.h"

namespace {

constexpr int CommandHeaderSize = 12;
constexpr quint8 SetIpCommand = 2;
constexpr quint32 SetIpPayloadSize = 12;

QByteArray versionText(const quint8 (&version)[3])
{
    return QStringLiteral("V%1.%2.%3").arg(version[0]).arg(version[1]).arg(version[2]).toLatin1();
}

} // namespace

UnitAnnouncer::UnitAnnouncer(VirtualUnit *unit, const Options &options, QObject *parent)
    : QObject(parent)
    , m_unit(unit)
    , m_options(options)
    , m_machineId(options.machineId ? options.machineId : defaultMachineId(options.bindAddress))
    , m_socket(new QUdpSocket(this))
    , m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, &UnitAnnouncer::announceNow);
    connect(m_socket, &QUdpSocket::readyRead, this, &UnitAnnouncer::readCommands);
}

UnitAnnouncer::UnitAnnouncer(const broadcastMsg &record, const Options &options, QObject *parent)
    : UnitAnnouncer(static_cast<VirtualUnit *>(nullptr), options, parent)
{
    m_record = record;
    if (options.machineId == 0 && record.machineid != 0)
        m_machineId = record.machineid;
    m_record.machineid = m_machineId;
}

UnitAnnouncer::~UnitAnnouncer() = default;

quint32 UnitAnnouncer::defaultMachineId(const QHostAddress &address)
{
    // Distinct for every loopback address a test or a demo picks.
    return 100000 + (address.toIPv4Address() & 0xFFFFFF);
}

bool UnitAnnouncer::start()
{
    if (m_socket->state() != QAbstractSocket::BoundState
        && !m_socket->bind(m_options.bindAddress, m_options.commandPort)) {
        qCWarning(lcUnit) << "cannot listen for commands on" << m_options.bindAddress.toString()
                          << m_options.commandPort << ":" << m_socket->errorString();
        return false;
    }
    announceNow();
    m_timer->start(m_options.intervalMs);
    return true;
}

void UnitAnnouncer::stop()
{
    m_timer->stop();
    m_socket->close();
}

void UnitAnnouncer::setAnnouncing(bool on)
{
    if (on && !m_timer->isActive()) {
        announceNow();
        m_timer->start(m_options.intervalMs);
    } else if (!on) {
        m_timer->stop();
    }
}

bool UnitAnnouncer::isAnnouncing() const
{
    return m_timer->isActive();
}

quint16 UnitAnnouncer::commandPort() const
{
    return m_socket->state() == QAbstractSocket::BoundState ? m_socket->localPort() : m_options.commandPort;
}

broadcastMsg UnitAnnouncer::currentRecord() const
{
    if (!m_unit)
        return m_record;
    const SystemModule &system = m_unit->system();
    broadcastMsg record;
    record.machineid = m_machineId;
    record.ipaddress = system.ipAddress;
    record.runTime = system.runTime(*m_unit);
    record.totalTime = system.totalTimeBase + record.runTime;
    record.statusFlag = m_unit->hasClient() ? 1 : 0;
    broadcastMsg::setFieldText(record.sn, broadcastMsg::SnSize, system.serial);
    broadcastMsg::setFieldText(record.model, broadcastMsg::ModelSize, system.model);
    broadcastMsg::setFieldText(record.ARMFirmware, broadcastMsg::FirmwareSize, versionText(system.armVersion));
    broadcastMsg::setFieldText(record.DSPFirmware, broadcastMsg::FirmwareSize, versionText(system.dspVersion));
    broadcastMsg::setFieldText(record.location, broadcastMsg::TextSize, system.location);
    broadcastMsg::setFieldText(record.description, broadcastMsg::TextSize, system.description);
    // The tiles show what was recalled last; a unit with no preset in use
    // (or one without a name) announces its own default name.
    const PresetModule *presets = m_unit->findModule<PresetModule>();
    const QByteArray presetName = presets ? presets->currentName() : QByteArray();
    broadcastMsg::setFieldText(record.presetName, broadcastMsg::TextSize,
                               presetName.isEmpty() ? system.currentPresetName : presetName);
    record.fault = system.faultBits;
    return record;
}

void UnitAnnouncer::announceNow()
{
    if (m_socket->state() != QAbstractSocket::BoundState)
        return;
    if (m_socket->writeDatagram(currentRecord().encode(), m_options.announceTo, m_options.announcePort)
        == broadcastMsg::Size)
        ++m_sent;
}

void UnitAnnouncer::readCommands()
{
    while (m_socket->hasPendingDatagrams())
        handleCommand(m_socket->receiveDatagram().data());
}

void UnitAnnouncer::handleCommand(const QByteArray &datagram)
{
    if (datagram.size() < CommandHeaderSize)
        return;
    const auto *p = reinterpret_cast<const uchar *>(datagram.constData());
    const quint32 target = qFromLittleEndian<quint32>(p);
    const quint8 command = p[4];
    const quint32 length = qFromLittleEndian<quint32>(p + 8);
    // Commands go to every unit on the segment; only the named one obeys.
    if (target != m_machineId || command != SetIpCommand || length != SetIpPayloadSize
        || datagram.size() < CommandHeaderSize + int(SetIpPayloadSize))
        return;
    const quint32 address = qFromLittleEndian<quint32>(p + 12);
    const quint32 mask = qFromLittleEndian<quint32>(p + 16);
    const quint32 gateway = qFromLittleEndian<quint32>(p + 20);
    if (m_unit) {
        SystemModule &system = m_unit->system();
        system.ipAddress = address;
        system.subnetMask = mask;
        system.gateway = gateway;
    } else {
        m_record.ipaddress = address;
    }
    qCInfo(lcUnit, "new IP settings: %s mask %s gateway %s", qPrintable(broadcastMsg::addressText(address)),
           qPrintable(broadcastMsg::addressText(mask)), qPrintable(broadcastMsg::addressText(gateway)));
    Q_EMIT ipSettingsReceived(address, mask, gateway);
    // Let the PC see the new address without waiting for the next second.
    announceNow();
}
