#include "virtualunit.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "core/link/frame.h"
#include "core/link/logging.h"
#include "core/protocol/protocol.h"
#include "delaymodule.h"
#include "deqmodule.h"
#include "filtermodule.h"
#include "firmodule.h"
#include "firmwaremodule.h"
#include "gatemodule.h"
#include "generatormodule.h"
#include "levelmodule.h"
#include "limitermodule.h"
#include "mixermodule.h"
#include "presetmodule.h"
#include "securitymodule.h"
#include "systemmodule.h"

namespace {

constexpr int MaxKeptFrames = 20000;

} // namespace

VirtualUnit::VirtualUnit(const Options &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_server(new QTcpServer(this))
    , m_tickTimer(new QTimer(this))
    , m_dripTimer(new QTimer(this))
    , m_meterTimer(new QTimer(this))
{
    qRegisterMetaType<UnitFrame>();
    auto system = std::make_unique<SystemModule>(options);
    m_system = system.get();
    m_modules.push_back(std::move(system));
    addModule(std::make_unique<LevelModule>());
    addModule(std::make_unique<LimiterModule>());
    addModule(std::make_unique<FilterModule>());
    addModule(std::make_unique<GateModule>());
    addModule(std::make_unique<DelayModule>(options.unitFamily()));
    addModule(std::make_unique<MixerModule>());
    addModule(std::make_unique<GeneratorModule>());
    addModule(std::make_unique<DeqModule>());
    addModule(std::make_unique<FirModule>(options.unitFamily()));
    addModule(std::make_unique<PresetModule>());
    addModule(std::make_unique<SecurityModule>(options.unitFamily()));
    addModule(std::make_unique<FirmwareModule>());
    connect(m_server, &QTcpServer::newConnection, this, &VirtualUnit::acceptClient);
    connect(m_tickTimer, &QTimer::timeout, this, &VirtualUnit::tick);
    m_dripTimer->setInterval(0);
    connect(m_dripTimer, &QTimer::timeout, this, &VirtualUnit::dripOneByte);
    connect(m_meterTimer, &QTimer::timeout, this, &VirtualUnit::streamMeters);
    m_clock.start();
}

VirtualUnit::~VirtualUnit()
{
    stop();
}

bool VirtualUnit::start()
{
    if (!m_server->listen(m_options.address, m_options.port)) {
        qCWarning(lcUnit) << "cannot listen on" << m_options.address.toString() << m_options.port << ":"
                          << m_server->errorString();
        return false;
    }
    m_tickTimer->start(100);
    return true;
}

void VirtualUnit::stop()
{
    m_tickTimer->stop();
    m_meterTimer->stop();
    dropClient();
    m_server->close();
}

bool VirtualUnit::isListening() const
{
    return m_server->isListening();
}

quint16 VirtualUnit::port() const
{
    return m_server->isListening() ? m_server->serverPort() : m_options.port;
}

bool VirtualUnit::hasClient() const
{
    return m_client && m_client->state() == QAbstractSocket::ConnectedState;
}

quint32 VirtualUnit::uptimeSeconds() const
{
    return quint32(m_clock.elapsed() / 1000);
}

void VirtualUnit::addModule(std::unique_ptr<UnitModule> module)
{
    m_modules.push_back(std::move(module));
}

void VirtualUnit::acceptClient()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        // One control connection at a time: a new controller replaces the old.
        // abort() emits disconnected(), whose handler clears m_client.
        if (QTcpSocket *previous = m_client) {
            previous->abort();
            previous->deleteLater();
        }
        m_client = socket;
        m_assembler.clear();
        // Nothing queued for the previous controller goes to this one.
        m_drip.clear();
        m_dripAt = 0;
        if (m_byteByByte)
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, &VirtualUnit::readClient);
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (m_client == socket) {
                m_client = nullptr;
                Q_EMIT clientDisconnected();
            }
            socket->deleteLater();
        });
        if (m_options.trace)
            qCInfo(lcUnit) << "controller connected from" << socket->peerAddress().toString();
        for (auto &module : m_modules)
            module->connected(*this);
        Q_EMIT clientConnected();
    }
}

void VirtualUnit::readClient()
{
    if (!m_client)
        return;
    m_assembler.append(m_client->readAll());
    m_assembler.parse([this](quint8 cls, quint8 module, quint8 param, quint8 op, quint16 length,
                             const uchar *payload) {
        UnitFrame frame;
        frame.cls = cls;
        frame.module = module;
        frame.param = param;
        frame.op = op;
        frame.code = m_assembler.currentCode();
        frame.payload = QByteArray(reinterpret_cast<const char *>(payload), length);
        handleFrame(frame);
    });
}

void VirtualUnit::handleFrame(const UnitFrame &frame)
{
    if (m_options.trace) {
        qCInfo(lcUnit, "rx class %d module %d param %d op %d len %d: %s", frame.cls, frame.module, frame.param,
               frame.op, int(frame.payload.size()), frame.payload.left(32).toHex(' ').constData());
    }
    if (m_received.size() >= MaxKeptFrames)
        m_received.erase(m_received.begin(), m_received.begin() + MaxKeptFrames / 2);
    m_received.append(frame);
    Q_EMIT frameReceived(frame);
    for (auto &module : m_modules) {
        if (module->handle(*this, frame))
            break;
    }
}

QList<UnitFrame> VirtualUnit::receivedMatching(quint8 cls, quint8 module, quint8 param, int op) const
{
    QList<UnitFrame> out;
    for (const UnitFrame &f : m_received) {
        if (f.cls == cls && f.module == module && f.param == param && (op < 0 || f.op == op))
            out.append(f);
    }
    return out;
}

namespace {

// The preset transfer replies that let the controller take its next step.
bool isTransferAck(quint8 cls, quint8 module, quint8 param, quint8 op)
{
    if (op != Frame::Report)
        return false;
    if (cls == Frame::Firmware)
        return true;
    return cls == Frame::Module && module == Frame::Presets
        && (param == Protocol::Presets::ExportAllBlock || param == Protocol::Presets::ImportAllBlock
            || param == Protocol::Presets::ExportChunk || param == Protocol::Presets::ImportChunk);
}

} // namespace

void VirtualUnit::sendFrame(quint8 cls, quint8 module, quint8 param, quint8 op, const QByteArray &payload)
{
    if (payload.size() > 0xFFFF)
        return;
    if (m_dropEveryNth > 0 && !m_silent && hasClient() && isTransferAck(cls, module, param, op) && shouldDropAck())
        return;
    QByteArray body = payload;
    quint8 sentOp = op;
    const bool damageable = op == Frame::Report
        && (cls == Frame::Module || (cls == Frame::System && module != Frame::Login));
    if (damageable) {
        switch (m_reportFault) {
        case ReportFault::None:
            break;
        case ReportFault::ShorterByOne:
            if (!body.isEmpty()) {
                body.chop(1);
                break;
            }
            Q_FALLTHROUGH(); // nothing to take away from an empty report
        case ReportFault::LongerByOne:
            if (body.size() < 0xFFFF)
                body.append('\0');
            break;
        case ReportFault::WrongOp:
            sentOp = Frame::Set;
            break;
        }
    }
    QByteArray frame(body.size() + Frame::Overhead, '\0');
    Frame::encode(reinterpret_cast<uchar *>(frame.data()), 0, cls, module, param, sentOp, body.constData(),
                  quint16(body.size()));
    if (!m_silent && hasClient())
        ++m_framesSent;
    sendRaw(frame);
}

void VirtualUnit::sendRaw(const QByteArray &bytes)
{
    if (m_silent || !hasClient())
        return;
    if (m_garbage <= 0) {
        writeToClient(bytes);
        return;
    }
    QByteArray out(m_garbage, '\0');
    for (char &byte : out) {
        // xorshift32: varied, repeatable garbage.
        m_garbageSeed ^= m_garbageSeed << 13;
        m_garbageSeed ^= m_garbageSeed >> 17;
        m_garbageSeed ^= m_garbageSeed << 5;
        byte = char(m_garbageSeed & 0xFF);
        if (uchar(byte) == 0x82)
            byte = char(0x28);
    }
    writeToClient(out + bytes);
}

void VirtualUnit::writeToClient(const QByteArray &bytes)
{
    m_bytesSent += quint64(bytes.size());
    if (!m_byteByByte) {
        m_client->write(bytes);
        return;
    }
    m_drip.append(bytes);
    if (!m_dripTimer->isActive())
        m_dripTimer->start();
}

void VirtualUnit::dripOneByte()
{
    if (!hasClient() || m_dripAt >= m_drip.size()) {
        m_drip.clear();
        m_dripAt = 0;
        m_dripTimer->stop();
        return;
    }
    m_client->write(m_drip.constData() + m_dripAt, 1);
    m_client->flush();
    if (++m_dripAt >= m_drip.size()) {
        m_drip.clear();
        m_dripAt = 0;
        m_dripTimer->stop();
    }
}

void VirtualUnit::setByteByByte(bool on)
{
    m_byteByByte = on;
    if (m_client)
        m_client->setSocketOption(QAbstractSocket::LowDelayOption, on ? 1 : 0);
    if (!on && m_dripAt < m_drip.size() && hasClient()) {
        // What is already queued still goes out, in order.
        m_client->write(m_drip.constData() + m_dripAt, m_drip.size() - m_dripAt);
    }
    if (!on) {
        m_drip.clear();
        m_dripAt = 0;
        m_dripTimer->stop();
    }
}

void VirtualUnit::setGarbageBetweenFrames(int count)
{
    m_garbage = qMax(count, 0);
}

void VirtualUnit::setDropEveryNthAck(int n)
{
    m_dropEveryNth = qMax(n, 0);
    m_acksSeen = 0;
}

bool VirtualUnit::shouldDropAck()
{
    if (m_dropEveryNth <= 0)
        return false;
    if (++m_acksSeen < m_dropEveryNth)
        return false;
    m_acksSeen = 0;
    ++m_acksDropped;
    return true;
}

void VirtualUnit::setMeterStream(int intervalMs)
{
    if (intervalMs > 0)
        m_meterTimer->start(intervalMs);
    else
        m_meterTimer->stop();
}

void VirtualUnit::streamMeters()
{
    if (!hasClient() || m_silent)
        return;
    // As if the controller had asked: input and output levels, then the
    // limiters' input and gain-reduction levels.
    static const quint8 queries[][2] = {{Frame::InLevel, 1}, {Frame::OutLevel, 1}, {Frame::InLimiter, 4},
                                        {Frame::OutLimiter, 4}};
    for (const auto &query : queries) {
        UnitFrame frame;
        frame.cls = Frame::Module;
        frame.module = query[0];
        frame.param = query[1];
        frame.op = Frame::Query;
        for (auto &module : m_modules) {
            if (module->handle(*this, frame))
                break;
        }
    }
}

void VirtualUnit::closeMidFrame()
{
    if (!hasClient())
        return;
    QTcpSocket *client = m_client;
    m_client = nullptr;
    m_drip.clear();
    m_dripAt = 0;
    m_dripTimer->stop();
    // Half of an input meter report, then an orderly close: the controller
    // receives the partial frame before the end of the stream.
    const QByteArray meters(4, char(-100));
    QByteArray frame(meters.size() + Frame::Overhead, '\0');
    Frame::encode(reinterpret_cast<uchar *>(frame.data()), 0, Frame::Module, Frame::InLevel, 1, Frame::Report,
                  meters.constData(), quint16(meters.size()));
    client->write(frame.left(frame.size() / 2));
    client->flush();
    client->disconnectFromHost();
    Q_EMIT clientDisconnected();
}

void VirtualUnit::dropClient()
{
    m_drip.clear();
    m_dripAt = 0;
    m_dripTimer->stop();
    if (m_client) {
        QTcpSocket *client = m_client;
        m_client = nullptr;
        client->abort();
        client->deleteLater();
        Q_EMIT clientDisconnected();
    }
}

void VirtualUnit::tick()
{
    for (auto &module : m_modules)
        module->tick(*this);
}
