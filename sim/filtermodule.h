#pragma once

#include <array>

#include "core/protocol/protocoltypes.h"
#include "core/records/filterchannel.h"
#include "unitmodule.h"

// The filter modules of the virtual unit: module 4 (four inputs) and module
// 10 (eight outputs), one FilterChannel record per channel. Queries are
// answered with reports of the exact lengths; sets are stored as the unit
// stores them (frequencies truncated to whole Hz); copy (param 4) and reset
// (param 5) act on the records of both modules.
class FilterModule final : public UnitModule
{
public:
    static constexpr int Inputs = Protocol::count(Protocol::Channels::Inputs);
    static constexpr int Outputs = Protocol::count(Protocol::Channels::Outputs);

    bool handle(VirtualUnit &unit, const UnitFrame &frame) override;

    // The records, readable and settable by tests.
    std::array<FilterChannel, Inputs> inputs;
    std::array<FilterChannel, Outputs> outputs;

    // The record of `channel` of module 4 or 10, or null.
    FilterChannel *record(quint8 module, int channel);

private:
    void report(VirtualUnit &unit, quint8 module, quint8 param, const FilterChannel &r, quint8 channel, int band);
    void set(quint8 module, quint8 param, const QByteArray &payload);
    void copy(const QByteArray &payload, quint8 module);
};
