#pragma once

#include <QAbstractSocket>
#include <QObject>
#include <QPointer>
#include <QTcpSocket>

#include "frameassembler.h"



// The control link to the current unit: the only way frames are sent, and the
// place where received bytes are reassembled and dispatched by class.
class Link : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(Link)

public:
    static constexpr quint16 DefaultControlPort = 2699;

    explicit Link(QObject *parent = nullptr);
    ~Link() override;

    quint16 code() const { return m_code; }
    void setCode(quint16 code) { m_code = code; }

    quint16 controlPort() const { return m_controlPort; }
    void setControlPort(quint16 port) { m_controlPort = port; }

    QTcpSocket *currentSocket() const { return m_socket; }
    quint32 currentUnitId() const { return m_unitId; }
    bool isLinkUp() const { return m_linkUp; }
    bool isLoggedIn() const { return m_loggedIn; }
    void setLoggedIn(bool loggedIn);

    // Frames go out only while the current socket is connected; otherwise
    // they are dropped. Returns whether the frame was written.
    bool sendFrame(quint8 cls, quint8 module, quint8 param, quint8 op, const void *payload, quint16 length);
    bool sendModuleFrame(quint8 module, quint8 param, quint8 channel, const void *bytes, quint16 count);
    bool sendQuery(quint8 cls, quint8 module, quint8 param) { return sendFrame(cls, module, param, 0, nullptr, 0); }
    bool sendChannelQuery(quint8 module, quint8 param, quint8 channel)
    {
        return sendFrame(3, module, param, 0, &channel, 1);
    }

    // Makes `socket` the current one (nullptr: none). Connects it to the unit
    // at `ipAddress` (first octet most significant) unless already connected.
    void setCurrentSocket(QTcpSocket *socket, quint32 unitId, quint32 ipAddress);

    // A state change of some unit's socket, as reported by the device table.
    void socketStateChanged(QTcpSocket *socket, QAbstractSocket::SocketState state);

    // Feeds received bytes through reassembly and dispatch (what readyRead does).
    void receive(const QByteArray &bytes);
    void clearReceiveBuffer() { m_assembler.clear(); }

Q_SIGNALS:
    void upgradeAck(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);
    void systemMessage(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);
    void moduleMessage(quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);
    void loggedInChanged(bool loggedIn);
    void linkUpChanged(bool up);
    // Emitted when the link to the current unit is lost (was up, now unconnected).
    void linkLost();
    void connected();
    // Every set frame handed to sendFrame() within the length limit, after
    // it went out (`written`) or was dropped for want of a connected unit:
    // what the operator changed, whether or not a unit took it.
    void setOffered(quint8 cls, quint8 module, quint8 param, const uchar *payload, quint16 length, bool written);

private:
    void tcpConnected();
    void tcpReadyRead();
    void dispatch(quint8 cls, quint8 module, quint8 param, quint8 op, quint16 length, const uchar *payload);

    QPointer<QTcpSocket> m_socket;
    QMetaObject::Connection m_readyReadConnection;
    QMetaObject::Connection m_connectedConnection;
    FrameAssembler m_assembler;
    uchar m_sendBuffer[4096];
    quint16 m_code = 1;
    quint16 m_controlPort = DefaultControlPort;
    quint32 m_unitId = 0;
    bool m_linkUp = false;
    bool m_loggedIn = false;
};
