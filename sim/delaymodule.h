#pragma once

#include <array>

#include "core/protocol/protocoltypes.h"
#include "unitmodule.h"

// The delay lines of the virtual unit: module 6 (inputs, family 1 only) and
// module 12 (outputs). Family 1 delays inputs up to 1000 ms and outputs up to
// 2000 ms; the other family has no input delay (module 6 goes unanswered)
// and shorter output lines (218 ms on outputs 1 to 4, 148 ms on 5 to 8) set
// in even hundredths of a millisecond. Sets outside the range are pulled in.
class DelayModule final : public UnitModule
{
public:
    static constexpr int Inputs = Protocol::count(Protocol::Channels::Inputs);
    static constexpr int Outputs = Protocol::count(Protocol::Channels::Outputs);

    explicit DelayModule(Protocol::Family family);

    bool handle(VirtualUnit &unit, const UnitFrame &frame) override;

    // Milliseconds, readable and settable by tests.
    std::array<float, Inputs> inputs{};
    std::array<float, Outputs> outputs{};

    bool hasInputDelay() const;
    // What the unit keeps when told `ms` for output `output` (-1: an input).
    float stored(int output, float ms) const;

private:
    Protocol::Family m_family;
};
