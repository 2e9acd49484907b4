#include "faultcycle.h"

#include <QTimer>

#include "core/link/logging.h"
#include "systemmodule.h"
#include "unitannouncer.h"
#include "virtualunit.h"

namespace {

constexpr FaultCycle::Fault Order[] = {
    FaultCycle::Fault::Silence,       FaultCycle::Fault::CloseMidFrame, FaultCycle::Fault::Garbage,
    FaultCycle::Fault::ByteByByte,    FaultCycle::Fault::LongerReports, FaultCycle::Fault::ShorterReports,
    FaultCycle::Fault::WrongOp,       FaultCycle::Fault::AddressChange, FaultCycle::Fault::DropAcks,
};
constexpr int GarbageBytes = 7;
constexpr int DropEvery = 3;

} // namespace

FaultCycle::FaultCycle(VirtualUnit *unit, UnitAnnouncer *announcer, int stepMs, QObject *parent)
    : QObject(parent)
    , m_unit(unit)
    , m_announcer(announcer)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(stepMs);
    connect(m_timer, &QTimer::timeout, this, &FaultCycle::step);
}

FaultCycle::~FaultCycle()
{
    stop();
}

void FaultCycle::start()
{
    m_timer->start();
}

void FaultCycle::setStepMs(int ms)
{
    m_timer->setInterval(ms);
}

void FaultCycle::stop()
{
    m_timer->stop();
    if (m_current != Fault::None)
        apply(m_current, false);
    m_current = Fault::None;
}

QString FaultCycle::name(Fault fault)
{
    switch (fault) {
    case Fault::None: return QStringLiteral("none");
    case Fault::Silence: return QStringLiteral("silence");
    case Fault::CloseMidFrame: return QStringLiteral("close-mid-frame");
    case Fault::Garbage: return QStringLiteral("garbage");
    case Fault::ByteByByte: return QStringLiteral("byte-by-byte");
    case Fault::LongerReports: return QStringLiteral("long-reports");
    case Fault::ShorterReports: return QStringLiteral("short-reports");
    case Fault::WrongOp: return QStringLiteral("wrong-op");
    case Fault::AddressChange: return QStringLiteral("address-change");
    case Fault::DropAcks: return QStringLiteral("drop-acks");
    }
    return QString();
}

void FaultCycle::apply(Fault fault, bool on)
{
    switch (fault) {
    case Fault::None:
        break;
    case Fault::Silence:
        m_unit->setSilent(on);
        if (m_announcer)
            m_announcer->setAnnouncing(!on);
        break;
    case Fault::CloseMidFrame:
        if (on)
            m_unit->closeMidFrame();
        break;
    case Fault::Garbage:
        m_unit->setGarbageBetweenFrames(on ? GarbageBytes : 0);
        break;
    case Fault::ByteByByte:
        m_unit->setByteByByte(on);
        break;
    case Fault::LongerReports:
    case Fault::ShorterReports:
    case Fault::WrongOp: {
        const auto damage = fault == Fault::LongerReports ? VirtualUnit::ReportFault::LongerByOne
            : fault == Fault::ShorterReports              ? VirtualUnit::ReportFault::ShorterByOne
                                                          : VirtualUnit::ReportFault::WrongOp;
        m_unit->setReportFault(on ? damage : VirtualUnit::ReportFault::None);
        break;
    }
    case Fault::AddressChange:
        if (on) {
            m_homeAddress = m_unit->system().ipAddress;
            // The next address on loopback, where no unit listens.
            m_unit->system().ipAddress = m_homeAddress + 1;
        } else if (m_homeAddress != 0) {
            m_unit->system().ipAddress = m_homeAddress;
        }
        break;
    case Fault::DropAcks:
        m_unit->setDropEveryNthAck(on ? DropEvery : 0);
        break;
    }
}

void FaultCycle::step()
{
    // Fault, then a fault-free step, then the next fault.
    if (m_current != Fault::None) {
        apply(m_current, false);
        m_current = Fault::None;
    } else {
        m_current = Order[m_next];
        m_next = (m_next + 1) % int(sizeof Order / sizeof Order[0]);
        apply(m_current, true);
        ++m_applied;
    }
    qCInfo(lcUnit) << "fault:" << name(m_current);
    Q_EMIT faultChanged(m_current);
}
