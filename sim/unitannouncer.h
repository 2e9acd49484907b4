#pragma once

#include <QHostAddress>
#include <QObject>

#include "core/devices/broadcastmsg.h"

class QTimer;
class QUdpSocket;
class VirtualUnit;

// How a unit announces itself.
struct UnitAnnouncerOptions
{
    // Where the status records go. A real unit broadcasts them; the virtual
    // one stays on loopback unless told otherwise.
    QHostAddress announceTo = QHostAddress(QStringLiteral("127.0.0.1"));
    quint16 announcePort = 6696;
    // Where commands are heard (0: any free port, see commandPort()).
    QHostAddress bindAddress = QHostAddress(QStringLiteral("127.0.0.1"));
    quint16 commandPort = 6001;
    quint32 machineId = 0; // 0: derived from the bind address
    int intervalMs = 1000;
};

// The UDP side of a unit: sends its 140-byte status record at a steady
// interval and obeys the IP-settings command (2) addressed to its machine id
// by changing the address it reports. The control link keeps listening where
// it is, so after such a command the unit is announced at an address nothing
// answers on, as a real unit would be until the PC's network follows.
class UnitAnnouncer : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(UnitAnnouncer)

public:
    using Options = UnitAnnouncerOptions;

    // Announces `unit` from its system state (model, versions, times, ...).
    UnitAnnouncer(VirtualUnit *unit, const Options &options, QObject *parent = nullptr);
    // Announces `record` as it is (only the address changes on command):
    // many cheap units for benchmarks and tests.
    UnitAnnouncer(const broadcastMsg &record, const Options &options, QObject *parent = nullptr);
    ~UnitAnnouncer() override;

    static quint32 defaultMachineId(const QHostAddress &address);

    // Binds the command socket, announces once and then every interval.
    bool start();
    void stop();
    // Pauses or resumes the announcements (commands are still obeyed).
    void setAnnouncing(bool on);
    bool isAnnouncing() const;
    void announceNow();

    quint32 machineId() const { return m_machineId; }
    quint16 commandPort() const;
    int announcementsSent() const { return m_sent; }
    broadcastMsg currentRecord() const;

Q_SIGNALS:
    void ipSettingsReceived(quint32 ipaddress, quint32 subnetMask, quint32 gateway);

private:
    void readCommands();
    void handleCommand(const QByteArray &datagram);

    VirtualUnit *m_unit = nullptr;
    broadcastMsg m_record;
    Options m_options;
    quint32 m_machineId;
    QUdpSocket *m_socket;
    QTimer *m_timer;
    int m_sent = 0;
};
