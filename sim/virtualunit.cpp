#include "virtualunit.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "link/frame.h"
#include "link/logging.h"
#include "systemmodule.h"

namespace {

constexpr int MaxKeptFrames = 20000;

} // namespace

VirtualUnit::VirtualUnit(const Options &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_server(new QTcpServer(this))
    , m_tickTimer(new QTimer(this))
{
    qRegisterMetaType<UnitFrame>();
    auto system = std::make_unique<SystemModule>(options);
    m_system = system.get();
    m_modules.push_back(std::move(system));
    connect(m_server, &QTcpServer::newConnection, this, &VirtualUnit::acceptClient);
    connect(m_tickTimer, &QTimer::timeout, this, &VirtualUnit::tick);
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

void VirtualUnit::sendFrame(quint8 cls, quint8 module, quint8 param, quint8 op, const QByteArray &payload)
{
    if (payload.size() > 0xFFFF)
        return;
    QByteArray frame(payload.size() + Frame::Overhead, '\0');
    Frame::encode(reinterpret_cast<uchar *>(frame.data()), 0, cls, module, param, op, payload.constData(),
                  quint16(payload.size()));
    sendRaw(frame);
}

void VirtualUnit::sendRaw(const QByteArray &bytes)
{
    if (m_silent || !hasClient())
        return;
    m_client->write(bytes);
}

void VirtualUnit::dropClient()
{
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
