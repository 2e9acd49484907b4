#pragma once

#include <QObject>
#include <QString>

class QTimer;
class UnitAnnouncer;
class VirtualUnit;

// Takes a virtual unit through its faults in turn, each for one step, with a
// fault-free step after each so the controller can recover: the soak run's
// misbehaving unit (orvalix-unit --fault-cycle).
class FaultCycle : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(FaultCycle)

public:
    enum class Fault {
        None,
        Silence,        // no reply and no status record
        CloseMidFrame,  // half a frame, then the connection closes
        Garbage,        // garbage between frames
        ByteByByte,     // frames cut into single bytes
        LongerReports,  // every report one byte too long
        ShorterReports, // every report one byte too short
        WrongOp,        // reports with op 1
        AddressChange,  // status records name an address where nothing answers
        DropAcks,       // every third transfer acknowledgement lost
    };

    // `announcer` may be null (then silence is the link's only).
    FaultCycle(VirtualUnit *unit, UnitAnnouncer *announcer, int stepMs, QObject *parent = nullptr);
    ~FaultCycle() override;

    void start();
    void stop();
    void setStepMs(int ms);

    Fault current() const { return m_current; }
    int faultsApplied() const { return m_applied; }
    static QString name(Fault fault);
    // Switches one fault on or off by hand.
    void apply(Fault fault, bool on);

Q_SIGNALS:
    void faultChanged(FaultCycle::Fault fault);

private:
    void step();

    VirtualUnit *m_unit;
    UnitAnnouncer *m_announcer;
    QTimer *m_timer;
    Fault m_current = Fault::None;
    int m_next = 0;
    int m_applied = 0;
    quint32 m_homeAddress = 0;
};
