#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include "core/protocol/protocoltypes.h"
#include "unitmodule.h"
#include "virtualunit.h"

// Class-2 messages of the virtual unit: login, status and settings, channel
// labels, code number and the security page's own lock.
class SystemModule final : public UnitModule
{
public:
    static constexpr int Inputs = Protocol::count(Protocol::Channels::Inputs);
    static constexpr int Outputs = Protocol::count(Protocol::Channels::Outputs);

    explicit SystemModule(const VirtualUnit::Options &options);

    bool handle(VirtualUnit &unit, const UnitFrame &frame) override;
    void connected(VirtualUnit &unit) override;
    void tick(VirtualUnit &unit) override;

    // State, readable and settable by tests.
    QByteArray model = "OVX-480";
    QByteArray serial = "CN-0000-1A2B-07xx";
    quint8 armVersion[3] = {1, 2, 3};
    quint8 dspVersion[3] = {1, 0, 5};
    quint8 dspModel = 0;
    quint16 channelConfig = 0x0804; // low byte inputs, high byte outputs
    quint32 totalTimeBase = 3 * 86400 + 7 * 3600;
    quint32 bootCount = 42;
    float temperature = 41.5f;
    QByteArray location = "Main hall";
    QByteArray description = "Left array";
    quint32 ipAddress = 0x7F000001;
    quint32 subnetMask = 0xFF000000;
    quint32 gateway = 0x7F000001;
    quint8 faultBits = 0;
    QByteArray currentPresetName = "Default"; // announced while no named preset slot is in use
    bool allMute = false;
    float dspLoad[2] = {23.5f, 31.0f};
    quint8 panelLock = 0;
    qint8 lcdPage = -1;
    qint32 deviceId = 1001;
    quint16 codeNumber[3] = {12345, 678, 2};
    QByteArray inputLabels[Inputs];
    QByteArray outputLabels[Outputs];
    QString password;
    bool loggedIn = false;
    // Fault: every login attempt is rejected, whatever the password.
    bool rejectLogins = false;
    QByteArray factoryRecord;
    int factoryResets = 0;
    int configResets = 0;

    quint32 runTime(const VirtualUnit &unit) const { return unit.uptimeSeconds() + runTimeOffset; }
    quint32 runTimeOffset = 0;

    // The keyword the calibration dialog sends through the login message to
    // reset the unit's configuration.
    static QByteArray systemResetKeyword();

    void restoreFactoryDefaults();

private:
    bool handleStatus(VirtualUnit &unit, const UnitFrame &frame);
    bool handleLabels(VirtualUnit &unit, const UnitFrame &frame);
    void sendLoginReport(VirtualUnit &unit);

    int m_ticks = 0;
};
