#pragma once

#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpSocket>

#include <memory>
#include <vector>

#include "core/link/frameassembler.h"
#include "core/protocol/protocoltypes.h"
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

    Protocol::Family unitFamily() const { return family == 1 ? Protocol::Family::Hz96k : Protocol::Family::Hz48k; }
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
        sendFrame(cls, module, param, Frame::Report, payload);
    }
    void sendRaw(const QByteArray &bytes);

    SystemModule &system() { return *m_system; }
    void addModule(std::unique_ptr<UnitModule> module);
    // The module of type T, or null (tests reach the unit's state this way).
    template <class T>
    T *findModule() const
    {
        for (const auto &module : m_modules) {
            if (auto *found = dynamic_cast<T *>(module.get()))
                return found;
        }
        return nullptr;
    }

    // What the unit was sent, oldest first (bounded; the oldest are dropped).
    const QList<UnitFrame> &received() const { return m_received; }
    void clearReceived() { m_received.clear(); }
    QList<UnitFrame> receivedMatching(quint8 cls, quint8 module, quint8 param, int op = -1) const;

    // Faults.
    void setSilent(bool silent) { m_silent = silent; }
    bool isSilent() const { return m_silent; }
    void dropClient();

    // Further faults; each stays until switched off. See also
    // system().rejectLogins (every password refused) and system().ipAddress
    // (the address the announcer puts in the status record).
    //
    // Sends the first half of a report and closes the connection.
    void closeMidFrame();
    // `count` bytes of garbage before every frame (0: none). The garbage never
    // holds the head's first byte, so the next frame is found again after
    // exactly `count` resynchronising steps.
    void setGarbageBetweenFrames(int count);
    int garbageBetweenFrames() const { return m_garbage; }
    // Every frame leaves one byte per write, one write per turn of the event
    // loop, with Nagle off: the controller sees frames cut at every byte.
    void setByteByByte(bool on);
    bool isByteByByte() const { return m_byteByByte; }
    // Damages every report of classes 2 and 3 except the login report (so
    // the controller stays logged in and keeps polling): one byte too many
    // (a zero appended), one too few, or op 1 in place of 0x80.
    enum class ReportFault { None, LongerByOne, ShorterByOne, WrongOp };
    void setReportFault(ReportFault fault) { m_reportFault = fault; }
    ReportFault reportFault() const { return m_reportFault; }
    // Drops every n-th acknowledgement of a transfer (0: none): the firmware
    // block acknowledgements (class 1) and the preset transfer replies that
    // carry the next step (module 32, params 6, 7, 12 and 15). The unit
    // applies it itself in sendFrame(); modules need not call shouldDropAck().
    void setDropEveryNthAck(int n);
    int dropEveryNthAck() const { return m_dropEveryNth; }
    // Counts one acknowledgement; true when this one is to be dropped.
    bool shouldDropAck();
    int acksDropped() const { return m_acksDropped; }
    // Sends the meter reports (levels and limiters, inputs and outputs)
    // unasked every `intervalMs` (0: only when asked, as a real unit does).
    void setMeterStream(int intervalMs);

    // What went out to controllers since the unit started.
    quint64 framesSent() const { return m_framesSent; }
    quint64 bytesSent() const { return m_bytesSent; }

Q_SIGNALS:
    void clientConnected();
    void clientDisconnected();
    void frameReceived(const UnitFrame &frame);

private:
    void acceptClient();
    void readClient();
    void handleFrame(const UnitFrame &frame);
    void tick();
    void dripOneByte();
    void streamMeters();
    void writeToClient(const QByteArray &bytes);

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

    int m_garbage = 0;
    quint32 m_garbageSeed = 0x2545F491u;
    bool m_byteByByte = false;
    QByteArray m_drip;
    int m_dripAt = 0;
    QTimer *m_dripTimer;
    ReportFault m_reportFault = ReportFault::None;
    int m_dropEveryNth = 0;
    int m_acksSeen = 0;
    int m_acksDropped = 0;
    QTimer *m_meterTimer;
    quint64 m_framesSent = 0;
    quint64 m_bytesSent = 0;
};

Q_DECLARE_METATYPE(UnitFrame)
