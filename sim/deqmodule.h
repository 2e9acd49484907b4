#pragma once

#include <array>

#include "core/protocol/protocoltypes.h"
#include "core/records/deqband.h"
#include "unitmodule.h"

// The dynamic equaliser of the virtual unit (module 16): three bands on each
// of the four inputs. A band set (param 1) is stored as the unit keeps it,
// every field within its range; queries get the 33-byte report; copy
// (param 2, source and input mask) and reset (param 3) act on whole channels.
class DeqModule final : public UnitModule
{
public:
    static constexpr int Inputs = Protocol::count(Protocol::Channels::Inputs);
    static constexpr int Bands = DeqBand::BandsPerChannel;

    DeqModule();

    bool handle(VirtualUnit &unit, const UnitFrame &frame) override;

    // The bands, readable and settable by tests.
    std::array<std::array<DeqBand, Bands>, Inputs> bands;

    void resetChannel(int channel);
};
