#pragma once

#include <QByteArray>
#include <QFlags>
#include <QHostAddress>
#include <QList>
#include <QObject>

#include <optional>

#include "broadcastmsg.h"

class QTimer;
class QUdpSocket;

// What the PC knows of the units on the network from their 140-byte status
// records: one entry per unit (its record, whether it is heard, its silence
// timer), kept up to date by a UDP listener. Units announce themselves; this
// only listens and never sends.
//
// Entries come from the records heard, and from whoever owns the list
// (stored units, units added by hand: addUnit()). A known unit's records are
// merged field by field into its entry; a unit not heard for silenceMs() is
// offline until its next record. Indexes are positions in the list, the
// same as the device table's rows.
//
// The listener is bound to the any-address, where broadcasts arrive on every
// platform. Beside it, each broadcast-capable interface gets a socket bound to
// its address and the same port: what a unit sends to that address arrives
// there, and the device table's command to the units goes out through them,
// one per interface.
//
// Usable alone, without widgets: listen for a few seconds, then read the
// entries.
class Discovery : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(Discovery)

public:
    static constexpr quint16 DefaultPort = 6696;
    static constexpr int SilenceMs = 3000;
    static constexpr int InterfaceWatchMs = 1000;
    // What is kept and shown of a location or description.
    static constexpr int StoredTextBytes = 16;
    // The listener faces the LAN: records of units not yet known are taken
    // only while fewer than this many units are known, so a flood of made-up
    // machine ids cannot exhaust memory or the window. Units already known,
    // and units added with addUnit() are not limited.
    static constexpr int MaxKnownUnits = 1024;
    // Datagrams evaluated per turn of the event loop, and of those at most
    // so many that make a new entry; the rest wait in the socket for the
    // next turn, so a burst never freezes the program.
    static constexpr int DatagramsPerTurn = 256;
    static constexpr int NewUnitsPerTurn = 4;

    // The fields a merged record changed.
    enum Change : quint32 {
        Address = 1u << 0,
        Model = 1u << 1,
        ArmFirmware = 1u << 2,
        DspFirmware = 1u << 3,
        Location = 1u << 4,
        Description = 1u << 5,
        Serial = 1u << 6,
        StatusFlag = 1u << 7,
        Fault = 1u << 8,
        PresetName = 1u << 9,
    };
    Q_DECLARE_FLAGS(Changes, Change)
    Q_FLAG(Changes)

    // Listens on `port` (0: any free port, see boundPort()) from the start.
    explicit Discovery(quint16 port = DefaultPort, QObject *parent = nullptr);
    ~Discovery() override;

    quint16 port() const { return m_port; }
    // Rebinds the listener.
    void setPort(quint16 port);
    bool isListening() const { return m_listener != nullptr; }
    // The port the listener is bound to (the chosen one when asked for 0).
    quint16 boundPort() const;
    // The any-address listener (null when not bound).
    QUdpSocket *listener() const { return m_listener; }
    // One socket per broadcast-capable interface, bound to its address and
    // boundPort(), in the order of interfaceAddresses().
    QList<QUdpSocket *> interfaceSockets() const { return m_interfaceSockets; }

    // The first IPv4 address of every interface that is up or running, not
    // loopback, and can broadcast.
    static QList<QHostAddress> broadcastInterfaceAddresses();
    // The interfaces in use: the system's, or the stand-ins given.
    QList<QHostAddress> interfaceAddresses() const;
    // Stand-ins for the system's interfaces (tests and demos give loopback
    // addresses); rebinds. The system's again after useSystemInterfaces().
    void setInterfaceAddresses(const QList<QHostAddress> &addresses);
    void useSystemInterfaces();

    int count() const { return m_units.size(); }
    const broadcastMsg *recordAt(int index) const;
    bool isOnline(int index) const;
    QTimer *silenceTimerAt(int index) const;
    int indexOfMachineId(quint32 machineid) const;
    int indexOfAddress(quint32 ipaddress) const;

    int silenceMs() const { return m_silenceMs; }
    void setSilenceMs(int ms);

    // Appends an entry the listener did not make (offline unless `online`,
    // which times its silence from now); returns its index. Not capped.
    int addUnit(const broadcastMsg &record, bool online = false);
    void removeAt(int index);
    // Some other sign of life (traffic on the unit's control link).
    void noteSignOfLife(int index);

    // Evaluates one received datagram as the listener does.
    void processDatagram(const QByteArray &datagram);

public Q_SLOTS:
    // What the listener does when datagrams are waiting.
    void readPending();
    // Every InterfaceWatchMs: rebinds when the interfaces or their addresses
    // changed, or when the listener could not be bound.
    void watchInterfaces();

Q_SIGNALS:
    // A new entry: a unit heard for the first time (online, followed by
    // onlineChanged(index, true)) or one given to addUnit().
    void unitAdded(int index);
    // A known unit's record was merged; `changes` names the fields that
    // differed. The run and total times are always taken.
    void unitChanged(int index, Discovery::Changes changes);
    void onlineChanged(int index, bool online);
    // Around the datagrams taken in one turn of the event loop, so whoever
    // stores what they bring can group the writes.
    void batchStarted();
    void batchFinished();

private:
    struct Unit;

    void bind();
    Changes merge(Unit &unit, const broadcastMsg &in);
    void silenceEnded(QTimer *timer);
    Unit *makeUnit(const broadcastMsg &record);

    void closeSockets();

    quint16 m_port;
    quint16 m_boundPort = 0;
    int m_silenceMs = SilenceMs;
    bool m_capReported = false;
    bool m_bindFailed = false;
    std::optional<QList<QHostAddress>> m_standIns;
    // The interfaces as they were at the last bind.
    QList<QHostAddress> m_boundInterfaces;
    QUdpSocket *m_listener = nullptr;
    QList<QUdpSocket *> m_interfaceSockets;
    QList<Unit *> m_units;
    QTimer *m_watchTimer;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Discovery::Changes)
