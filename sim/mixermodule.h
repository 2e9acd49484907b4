#pragma once

#include <array>

#include "core/protocol/protocoltypes.h"
#include "core/records/mixerrecord.h"
#include "unitmodule.h"

// The matrix mixer of the virtual unit (module 7): four cross-points per
// output, each switched and with a gain in whole dB. A set names the inputs
// it changes, so one frame serves a single cross-point or a whole row; a set
// naming an input that does not exist is dropped whole.
class MixerModule final : public UnitModule
{
public:
    static constexpr int Outputs = Protocol::count(Protocol::Channels::Outputs);

    bool handle(VirtualUnit &unit, const UnitFrame &frame) override;

    // Readable and settable by tests.
    std::array<MixerOutput, Outputs> outputs{};
};
