#pragma once

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpSocket>

#include <memory>
#include <vector>

#include "link/frameassembler.h"
#include "unitmodule.h"

class QTcpServer;

class QTimer;
class SystemModule;

// How a virtual unit starts.
struct VirtualUnitOptions
{
    QHostAddress address = QHostAddress(QStringLiteral("127.0.0.1"));
    quint16 port = 2699;
    QString password;       // empty: no login password
    int family = 1;         // 1: 96 kHz family; 2: the 48 kHz family
    quint8 faultBits = 0;
    bool trace = false;
};

// The stand-in for the hardware unit: accepts one control connection, keeps
// its state like a real unit, answers queries and stores sets.
class VirtualUnit : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(VirtualUnit)

public:
    using Options = VirtualUnitOptions;

    explicit VirtualUnit(const Options &options = Options(), QObject *parent = nullptr);
    ~VirtualUnit() override;

    bool start();
    void stop();
    bool isListening() const;
    quint16 port() const;
    QHostAddress address() const { return m_options.address; }
    const Options &options() const { return m_options; }

    bool hasClient() const;
    // Seconds since the unit started.
    quint32 uptimeSeconds() const;

    // Sends a frame to the connected controller (nothing when none).
    void sendFrame(quint8 cls, quint8 module, quint8 param, quint8 op, const QByteArray &payload);
    void sendReport(quint8 cls, quint8 module, quint8 param, const QByteArray &payload)
    {
        sendFrame(cls, module, param, 0x80, payload);
    }
    void sendRaw(const QByteArray &bytes);

    SystemModule &system() { return *m_system; }
    void addModule(std::unique_ptr<UnitModule> module);

    // What the unit was sent, oldest first (bounded; the oldest are dropped).
    const QList<UnitFrame> &received() const { return m_received; }
    void clearReceived() { m_received.clear(); }
    QList<UnitFrame> receivedMatching(quint8 cls, quint8 module, quint8 param, int op = -1) const;

    // Faults.
    void setSilent(bool silent) { m_silent = silent; }
    bool isSilent() const { return m_silent; }
    void dropClient();

Q_SIGNALS:
    void clientConnected();
    void clientDisconnected();
    void frameReceived(const UnitFrame &frame);

private:
    void acceptClient();
    void readClient();
    void handleFrame(const UnitFrame &frame);
    void tick();

    Options m_options;
    QTcpServer *m_server;
    QPointer<QTcpSocket> m_client;
    QTimer *m_tickTimer;
    FrameAssembler m_assembler;
    QElapsedTimer m_clock;
    SystemModule *m_system = nullptr;
    std::vector<std::unique_ptr<UnitModule>> m_modules;
    QList<UnitFrame> m_received;
    bool m_silent = false;
};

Q_DECLARE_METATYPE(UnitFrame)
