#pragma once

#include <QByteArray>

#include <array>

#include "core/protocol/protocoltypes.h"
#include "core/records/firchannel.h"
#include "unitmodule.h"

// The output FIR filters of the virtual unit (module 17): one 2066-byte
// record per output, kept byte for byte as the controller sent it and
// reported back in the 2067-byte report. Family-1 units run up to 512 taps
// at 96 kHz, the others 256 taps at 48 kHz; a record with more taps than the
// unit runs is refused. Clear (param 2) restores the defaults, with the
// coefficients their parameters design to at the unit's rate.
class FirModule final : public UnitModule
{
public:
    static constexpr int Outputs = Protocol::count(Protocol::Channels::Outputs);

    explicit FirModule(Protocol::Family family);

    bool handle(VirtualUnit &unit, const UnitFrame &frame) override;

    int maxTaps() const { return m_maxTaps; }
    double sampleRate() const { return m_sampleRate; }
    // The record a cleared output holds.
    QByteArray defaultRecord() const;

    // The records as stored (FirChannel::Size bytes each), readable and
    // settable by tests.
    std::array<QByteArray, Outputs> records;

private:
    int m_maxTaps;
    double m_sampleRate;
};
