#include "unitinfo.h"

#include "core/protocol/protocol.h"
#include "core/records/systemtext.h"

bool PresetList::decode(const uchar *payload, int length)
{
    namespace P = Protocol::Presets;
    if (length != P::ListSize)
        return false;
    current = qint8(payload[0]);
    if (current < -1 || current >= Slots)
        current = -1;
    entries.resize(Slots);
    for (int i = 0; i < Slots; ++i) {
        const uchar *entry = payload + 1 + i * (1 + P::NameSize);
        entries[i].used = entry[0] != 0;
        entries[i].name = SystemText::text(entry + 1, P::NameSize);
    }
    return true;
}

QString UnitInfo::armVersionText() const
{
    return SystemText::version(armVersion);
}

QString UnitInfo::dspVersionText() const
{
    return SystemText::dspVersion(dspVersion, dspModel);
}

QString UnitInfo::ipText() const
{
    return SystemText::ipv4(ipAddress);
}

QString UnitInfo::maskText() const
{
    return SystemText::ipv4(subnetMask);
}

QString UnitInfo::gatewayText() const
{
    return SystemText::ipv4(gateway);
}
