#pragma once

#include <array>

#include "core/protocol/protocoltypes.h"
#include "core/records/limiterrecord.h"
#include "unitmodule.h"

// The input and output compressor/limiters of the virtual unit (modules 5
// and 11). A channel's level report pairs the level entering the limiter (the
// channel's level meter) with the level leaving it, so the gain reduction a
// controller derives is exactly what the static curve takes off: above the
// threshold the output rises by 1/ratio, flat from a ratio of 100.
class LimiterModule final : public UnitModule
{
public:
    static constexpr int Inputs = Protocol::count(Protocol::Channels::Inputs);
    static constexpr int Outputs = Protocol::count(Protocol::Channels::Outputs);

    bool handle(VirtualUnit &unit, const UnitFrame &frame) override;
    void tick(VirtualUnit &unit) override;

    // State, readable and settable by tests.
    std::array<LimiterRecord, Inputs> inputs{};
    std::array<LimiterRecord, Outputs> outputs{};

    // The level (dB) leaving the limiter of an input or output for `level` entering it.
    int compress(bool input, int channel, int level) const;

    void restoreDefaults();

private:
    int m_seenConfigResets = 0;
};
