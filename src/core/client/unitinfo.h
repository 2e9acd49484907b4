#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

#include "core/link/firmware.h"
#include "core/state/unitstate.h"

// One preset slot of the unit's store as its list reports it.
struct PresetSlotInfo
{
    bool used = false;
    QString name;
};

// The unit's preset store: its slots and the one last recalled.
struct PresetList
{
    static constexpr int Slots = 32;

    int current = -1; // -1: none recalled since the store changed
    QVector<PresetSlotInfo> entries = QVector<PresetSlotInfo>(Slots);

    // Reads the list report (current slot, then 32 x used flag and 16-byte
    // name); false, changing nothing, for a report of another length.
    bool decode(const uchar *payload, int length);
};

// What a unit says about itself over the control link.
struct UnitInfo
{
    QString model;
    QString serial;
    firmware armVersion;
    firmware dspVersion;
    quint8 dspModel = 0;
    quint16 channelConfig = 0; // low byte inputs, high byte outputs
    qint32 deviceId = 0;
    // Network settings, first octet in the top byte. The control link does
    // not carry the MAC address; the unit's discovery record does
    // (Discovery), so `mac` stays empty here.
    quint32 ipAddress = 0;
    quint32 subnetMask = 0;
    quint32 gateway = 0;
    QString mac;
    QString location;
    QString description;
    PresetList presets;

    UnitFamily family() const { return UnitState::familyOfArmMajor(armVersion.major); }
    // "V1.2.3"; the DSP version with the DSP model's suffix, as the settings page shows it.
    QString armVersionText() const;
    QString dspVersionText() const;
    QString ipText() const;
    QString maskText() const;
    QString gatewayText() const;
};
