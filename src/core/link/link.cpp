#include "link.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <cstring>

#include "frame.h"
#include "logging.h"

static_assert(sizeof(Link) > Frame::SendBufferSize, "the send buffer lives in the link");

Link::Link(QObject *parent)
    : QObject(parent)
{
}

Link::~Link() = default;

void Link::setLoggedIn(bool loggedIn)
{
    if (m_loggedIn == loggedIn)
        return;
    m_loggedIn = loggedIn;
    Q_EMIT loggedInChanged(loggedIn);
}

bool Link::sendFrame(quint8 cls, quint8 module, quint8 param, quint8 op, const void *payload, quint16 length)
{
    if (length > Frame::MaxSendPayload) {
        qCDebug(lcLink, "frame refused: payload of %d bytes exceeds %d (class %d module %d param %d)",
                int(length), Frame::MaxSendPayload, cls, module, param);
        return false;
    }
    bool sent = false;
    if (m_socket && m_socket->state() == QAbstractSocket::ConnectedState) {
        const int size = Frame::encode(m_sendBuffer, m_code, cls, module, param, op, payload, length);
        const qint64 written = m_socket->write(reinterpret_cast<const char *>(m_sendBuffer), size);
        m_socket->flush();
        sent = written == size;
    }
    if (op == Frame::Set)
        Q_EMIT setOffered(cls, module, param, static_cast<const uchar *>(payload), length, sent);
    return sent;
}

bool Link::sendModuleFrame(quint8 module, quint8 param, quint8 channel, const void *bytes, quint16 count)
{
    if (count >= Frame::MaxSendPayload) {
        qCDebug(lcLink, "frame refused: payload of %d bytes exceeds %d (module %d param %d)",
                int(count) + 1, Frame::MaxSendPayload, module, param);
        return false;
    }
    uchar payload[Frame::MaxSendPayload];
    payload[0] = channel;
    if (count > 0)
        std::memcpy(payload + 1, bytes, count);
    return sendFrame(Frame::Module, module, param, Frame::Set, payload, quint16(count + 1));
}

void Link::setCurrentSocket(QTcpSocket *socket, quint32 unitId, quint32 ipAddress)
{
    setLoggedIn(false);
    if (m_socket) {
        disconnect(m_readyReadConnection);
        disconnect(m_connectedConnection);
    }
    m_socket = socket;
    m_linkUp = false;
    if (!socket)
        return;
    m_unitId = unitId;
    m_readyReadConnection = connect(socket, &QTcpSocket::readyRead, this, &Link::tcpReadyRead);
    m_connectedConnection = connect(socket, &QTcpSocket::connected, this, &Link::tcpConnected);
    if (socket->state() == QAbstractSocket::ConnectedState) {
        m_linkUp = true;
        return;
    }
    QHostAddress address;
    address.setAddress(ipAddress);
    socket->disconnectFromHost();
    socket->abort();
    qCDebug(lcLink) << "connecting to" << address.toString() << m_controlPort;
    socket->connectToHost(address, m_controlPort, QIODevice::ReadWrite);
}

void Link::socketStateChanged(QTcpSocket *socket, QAbstractSocket::SocketState state)
{
    if (!socket || socket != m_socket)
        return;
    setLoggedIn(false);
    if (state == QAbstractSocket::ConnectedState) {
        if (!m_linkUp) {
            m_linkUp = true;
            Q_EMIT linkUpChanged(true);
        }
        return;
    }
    if (m_linkUp && state == QAbstractSocket::UnconnectedState) {
        m_linkUp = false;
        Q_EMIT linkUpChanged(false);
        Q_EMIT linkLost();
    }
}

void Link::tcpConnected()
{
    m_assembler.clear();
    Q_EMIT connected();
}

void Link::tcpReadyRead()
{
    if (!m_socket || m_socket->bytesAvailable() <= 0)
        return;
    receive(m_socket->readAll());
}

void Link::receive(const QByteArray &bytes)
{
    m_assembler.append(bytes);
    m_assembler.parse([this](quint8 cls, quint8 module, quint8 param, quint8 op, quint16 length,
                             const uchar *payload) { dispatch(cls, module, param, op, length, payload); });
}

void Link::dispatch(quint8 cls, quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload)
{
    switch (cls) {
    case Frame::Firmware:
        Q_EMIT upgradeAck(module, param, op, length, payload);
        break;
    case Frame::System:
        Q_EMIT systemMessage(module, param, op, length, payload);
        break;
    case Frame::Module:
        Q_EMIT moduleMessage(module, param, op, length, payload);
        break;
    default:
        break;
    }
}
