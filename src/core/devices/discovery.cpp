#include "discovery.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QNetworkProxy>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <iterator>

#include "core/link/logging.h"

namespace {

constexpr int ReceiveBufferBytes = 2 * 1024 * 1024;

QByteArray fieldBytes(const char *field, int size, int limit = -1)
{
    return broadcastMsg::fieldText(field, size, limit);
}

} // namespace

struct Discovery::Unit
{
    broadcastMsg record;
    QTimer *silence = nullptr;
    bool online = false;
};

Discovery::Discovery(quint16 port, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_watchTimer(new QTimer(this))
{
    connect(m_watchTimer, &QTimer::timeout, this, &Discovery::watchInterfaces);
    m_watchTimer->start(InterfaceWatchMs);
    bind();
}

Discovery::~Discovery()
{
    closeSockets();
    for (Unit *unit : qAsConst(m_units)) {
        unit->silence->disconnect(this);
        delete unit->silence;
    }
    qDeleteAll(m_units);
}

void Discovery::setPort(quint16 port)
{
    m_port = port;
    m_boundPort = 0;
    bind();
}

quint16 Discovery::boundPort() const
{
    return m_listener ? m_listener->localPort() : 0;
}

const broadcastMsg *Discovery::recordAt(int index) const
{
    return index >= 0 && index < m_units.size() ? &m_units.at(index)->record : nullptr;
}

bool Discovery::isOnline(int index) const
{
    return index >= 0 && index < m_units.size() && m_units.at(index)->online;
}

QTimer *Discovery::silenceTimerAt(int index) const
{
    return index >= 0 && index < m_units.size() ? m_units.at(index)->silence : nullptr;
}

int Discovery::indexOfMachineId(quint32 machineid) const
{
    for (int i = 0; i < m_units.size(); ++i) {
        if (m_units.at(i)->record.machineid == machineid)
            return i;
    }
    return -1;
}

int Discovery::indexOfAddress(quint32 ipaddress) const
{
    for (int i = 0; i < m_units.size(); ++i) {
        if (m_units.at(i)->record.ipaddress == ipaddress)
            return i;
    }
    return -1;
}

void Discovery::setSilenceMs(int ms)
{
    m_silenceMs = qMax(ms, 1);
}

QList<QHostAddress> Discovery::broadcastInterfaceAddresses()
{
    QList<QHostAddress> addresses;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &iface : interfaces) {
        const auto flags = iface.flags();
        if (!(flags & (QNetworkInterface::IsUp | QNetworkInterface::IsRunning))
            || (flags & QNetworkInterface::IsLoopBack) || !(flags & QNetworkInterface::CanBroadcast))
            continue;
        const auto entries = iface.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
                addresses.append(entry.ip());
                break;
            }
        }
    }
    return addresses;
}

QList<QHostAddress> Discovery::interfaceAddresses() const
{
    return m_standIns ? *m_standIns : broadcastInterfaceAddresses();
}

void Discovery::setInterfaceAddresses(const QList<QHostAddress> &addresses)
{
    m_standIns = addresses;
    bind();
}

void Discovery::useSystemInterfaces()
{
    m_standIns.reset();
    bind();
}

void Discovery::closeSockets()
{
    while (!m_interfaceSockets.isEmpty())
        delete m_interfaceSockets.takeLast();
    delete m_listener;
    m_listener = nullptr;
}

// Records arrive as broadcasts on every interface; one listener on the
// any-address hears them all (and also what units on loopback send), where a
// socket bound to an interface address would miss broadcasts on some
// platforms. The interface sockets share its port; broadcasts are not
// delivered to them, so no record is heard twice.
void Discovery::bind()
{
    closeSockets();
    m_boundInterfaces = interfaceAddresses();
    // Asked for "any free port": keep the one chosen the first time, so a
    // rebind does not move the listener away from whoever was told its port.
    const quint16 port = m_port != 0 ? m_port : m_boundPort;
    auto open = [this](const QHostAddress &address, quint16 port) -> QUdpSocket * {
        auto *socket = new QUdpSocket(this);
        // Units are on the local network; a system proxy must never sit between.
        socket->setProxy(QNetworkProxy::NoProxy);
        if (!socket->bind(address, port, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
            qCDebug(lcDevices) << "cannot listen for status records on" << address.toString() << port << ":"
                               << socket->errorString();
            delete socket;
            return nullptr;
        }
        // Units powered up together announce in step; a few hundred records
        // arriving in one burst must not overflow the default buffer.
        socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, ReceiveBufferBytes);
        connect(socket, &QUdpSocket::readyRead, this, &Discovery::readPending);
        return socket;
    };
    m_listener = open(QHostAddress(QHostAddress::AnyIPv4), port);
    // The watch binds again on its next tick.
    m_bindFailed = !m_listener;
    if (!m_listener)
        return;
    m_boundPort = m_listener->localPort();
    // An interface whose socket cannot be bound is still heard through the
    // listener; only the command skips it.
    for (const QHostAddress &address : qAsConst(m_boundInterfaces)) {
        if (QUdpSocket *socket = open(address, m_boundPort))
            m_interfaceSockets.append(socket);
    }
}

void Discovery::watchInterfaces()
{
    if (m_bindFailed || interfaceAddresses() != m_boundInterfaces)
        bind();
}

void Discovery::readPending()
{
    auto *signalled = qobject_cast<QUdpSocket *>(sender());
    QList<QUdpSocket *> sockets;
    if (signalled && (signalled == m_listener || m_interfaceSockets.contains(signalled))) {
        sockets.append(signalled);
    } else {
        if (m_listener)
            sockets.append(m_listener);
        sockets += m_interfaceSockets;
    }
    // Several units may have announced since the last turn of the event loop;
    // each datagram is one unit's record and all of them count.
    Q_EMIT batchStarted();
    // Within limits: a socket that was read from signals again on the next
    // turn while it still holds datagrams.
    const int known = m_units.size();
    int taken = 0;
    for (QUdpSocket *socket : sockets) {
        while (taken < DatagramsPerTurn && m_units.size() - known < NewUnitsPerTurn
               && socket->hasPendingDatagrams()) {
            processDatagram(socket->receiveDatagram().data());
            ++taken;
        }
    }
    Q_EMIT batchFinished();
}

Discovery::Unit *Discovery::makeUnit(const broadcastMsg &record)
{
    auto *unit = new Unit;
    unit->record = record;
    unit->silence = new QTimer(this);
    unit->silence->setSingleShot(true);
    QTimer *timer = unit->silence;
    connect(timer, &QTimer::timeout, this, [this, timer] { silenceEnded(timer); });
    m_units.append(unit);
    return unit;
}

int Discovery::addUnit(const broadcastMsg &record, bool online)
{
    Unit *unit = makeUnit(record);
    unit->online = online;
    if (online)
        unit->silence->start(m_silenceMs);
    const int index = m_units.size() - 1;
    Q_EMIT unitAdded(index);
    return index;
}

void Discovery::removeAt(int index)
{
    if (index < 0 || index >= m_units.size())
        return;
    Unit *unit = m_units.takeAt(index);
    unit->silence->disconnect(this);
    delete unit->silence;
    delete unit;
    if (m_units.size() < MaxKnownUnits)
        m_capReported = false;
}

void Discovery::noteSignOfLife(int index)
{
    if (index >= 0 && index < m_units.size())
        m_units.at(index)->silence->start(m_silenceMs);
}

void Discovery::processDatagram(const QByteArray &datagram)
{
    broadcastMsg record;
    if (!broadcastMsg::decode(datagram, &record))
        return;
    const int index = indexOfMachineId(record.machineid);
    if (index >= 0) {
        Unit &unit = *m_units.at(index);
        const Changes changes = merge(unit, record);
        Q_EMIT unitChanged(index, changes);
        // Whoever heard of the change may have removed the unit meanwhile.
        if (index < m_units.size() && m_units.at(index) == &unit && !unit.online) {
            unit.online = true;
            Q_EMIT onlineChanged(index, true);
        }
        return;
    }
    if (m_units.size() >= MaxKnownUnits) {
        if (!m_capReported) {
            m_capReported = true;
            qCDebug(lcDevices, "%d units known: status records of further units are ignored", int(m_units.size()));
        }
        return;
    }
    // What is shown and stored of a location or description is its first 16
    // bytes; keep the copy the same, so the next identical record compares
    // equal.
    broadcastMsg::setFieldText(record.location, broadcastMsg::TextSize,
                               fieldBytes(record.location, broadcastMsg::TextSize, StoredTextBytes));
    broadcastMsg::setFieldText(record.description, broadcastMsg::TextSize,
                               fieldBytes(record.description, broadcastMsg::TextSize, StoredTextBytes));
    // A unit heard once and never again must still go offline, so its
    // silence is timed from the record that made the entry.
    const int added = addUnit(record, true);
    if (added < m_units.size() && m_units.at(added)->online)
        Q_EMIT onlineChanged(added, true);
}

Discovery::Changes Discovery::merge(Unit &unit, const broadcastMsg &in)
{
    broadcastMsg &stored = unit.record;
    unit.silence->start(m_silenceMs);
    Changes changes;

    if (in.ipaddress != stored.ipaddress) {
        stored.ipaddress = in.ipaddress;
        changes |= Address;
    }
    const QByteArray model = fieldBytes(in.model, broadcastMsg::ModelSize);
    if (model != fieldBytes(stored.model, broadcastMsg::ModelSize)) {
        std::copy(std::begin(in.model), std::end(in.model), std::begin(stored.model));
        changes |= Model;
    }
    const QByteArray arm = fieldBytes(in.ARMFirmware, broadcastMsg::FirmwareSize);
    if (arm != fieldBytes(stored.ARMFirmware, broadcastMsg::FirmwareSize)) {
        std::copy(std::begin(in.ARMFirmware), std::end(in.ARMFirmware), std::begin(stored.ARMFirmware));
        changes |= ArmFirmware;
    }
    const QByteArray dsp = fieldBytes(in.DSPFirmware, broadcastMsg::FirmwareSize);
    if (dsp != fieldBytes(stored.DSPFirmware, broadcastMsg::FirmwareSize)) {
        std::copy(std::begin(in.DSPFirmware), std::end(in.DSPFirmware), std::begin(stored.DSPFirmware));
        changes |= DspFirmware;
    }
    const QByteArray location = fieldBytes(in.location, broadcastMsg::TextSize, StoredTextBytes);
    if (location != fieldBytes(stored.location, broadcastMsg::TextSize)) {
        broadcastMsg::setFieldText(stored.location, broadcastMsg::TextSize, location);
        changes |= Location;
    }
    const QByteArray description = fieldBytes(in.description, broadcastMsg::TextSize, StoredTextBytes);
    if (description != fieldBytes(stored.description, broadcastMsg::TextSize)) {
        broadcastMsg::setFieldText(stored.description, broadcastMsg::TextSize, description);
        changes |= Description;
    }
    const QByteArray sn = fieldBytes(in.sn, broadcastMsg::SnSize);
    if (sn != fieldBytes(stored.sn, broadcastMsg::SnSize)) {
        std::copy(std::begin(in.sn), std::end(in.sn), std::begin(stored.sn));
        changes |= Serial;
    }
    if (in.statusFlag != stored.statusFlag) {
        stored.statusFlag = in.statusFlag;
        changes |= StatusFlag;
    }
    if (in.fault != stored.fault) {
        stored.fault = in.fault;
        changes |= Fault;
    }
    const QByteArray preset = fieldBytes(in.presetName, broadcastMsg::TextSize);
    if (preset != fieldBytes(stored.presetName, broadcastMsg::TextSize)) {
        std::copy(std::begin(in.presetName), std::end(in.presetName), std::begin(stored.presetName));
        changes |= PresetName;
    }
    stored.runTime = in.runTime;
    stored.totalTime = in.totalTime;
    return changes;
}

void Discovery::silenceEnded(QTimer *timer)
{
    for (int i = 0; i < m_units.size(); ++i) {
        Unit *unit = m_units.at(i);
        if (unit->silence != timer)
            continue;
        unit->silence->stop();
        unit->online = false;
        Q_EMIT onlineChanged(i, false);
        return;
    }
}
