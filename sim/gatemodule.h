#pragma once

#include <array>
#include <functional>

#include "core/protocol/protocoltypes.h"
#include "core/records/gaterecord.h"
#include "unitmodule.h"

// The noise gates (module 2) and feedback suppressors (module 3) of the
// virtual unit's four inputs.
//
// A gate opens while its input's level is at or above the threshold and
// closes once the level has stayed below it for the decay time. The levels
// come from `levelSource` when one is set, else from the unit's input meters
// (the level module), else from a small model of its own in which each input
// wanders around a level of its own, so lamps come and go on a live unit.
class GateModule final : public UnitModule
{
public:
    static constexpr int Inputs = Protocol::count(Protocol::Channels::Inputs);

    GateModule();

    bool handle(VirtualUnit &unit, const UnitFrame &frame) override;
    void tick(VirtualUnit &unit) override;

    // State, readable and settable by tests.
    std::array<GateRecord, Inputs> gates{};
    std::array<bool, Inputs> feedback{};
    std::array<bool, Inputs> open{};
    // The model's input levels in dBFS; tests set them and freeze the model.
    std::array<float, Inputs> level{};
    bool freezeLevels = false;
    // Input level in dBFS of an input, overriding the meters (optional).
    std::function<float(int input)> levelSource;

    // Recomputes the open states from the levels, `elapsedMs` after the
    // last time (every tick does this with its 100 ms).
    void updateOpenStates(int elapsedMs);

private:
    bool handleGate(VirtualUnit &unit, const UnitFrame &frame);
    bool handleFeedback(VirtualUnit &unit, const UnitFrame &frame);
    void modelLevels();

    std::array<int, Inputs> m_belowMs{};
    int m_ticks = 0;
};
