#pragma once

#include <QtGlobal>

#include <array>

#include "core/protocol/protocoltypes.h"
#include "core/records/levelrecord.h"
#include "unitmodule.h"

// The input and output level modules of the virtual unit (modules 1 and 9):
// gain, mute, polarity, link groups, calibration trims, the input-pair
// sources and the level meters.
//
// Signal model: each input carries a programme that wanders around a level
// of its own (`programme`, dBFS). An input's meter reads programme + gain +
// trim; an output is fed by its enabled matrix cross-points (the loudest,
// after the input limiter and the cross-point gain), or by input (o mod 4)
// when the unit has no matrix, and reads that + gain + trim. A muted channel
// reads the floor, as does an output nothing is routed to.
//
// Link groups: a mute, invert or gain set for a grouped channel applies to
// every channel of that group; the controller learns the others from its
// next poll.
class LevelModule final : public UnitModule
{
public:
    static constexpr int Inputs = Protocol::count(Protocol::Channels::Inputs);
    static constexpr int Outputs = Protocol::count(Protocol::Channels::Outputs);
    static constexpr int Floor = -100;
    static constexpr int Ceiling = 24;

    LevelModule();

    bool handle(VirtualUnit &unit, const UnitFrame &frame) override;
    void tick(VirtualUnit &unit) override;

    // State, readable and settable by tests.
    std::array<LevelRecord, Inputs> inputs{};
    std::array<LevelRecord, Outputs> outputs{};
    std::array<float, Inputs> inputTrim{};
    std::array<float, Outputs> outputTrim{};
    std::array<quint8, 2> sources{};
    std::array<float, Inputs> programme{};
    // Stops the programme from wandering (tests set `programme` themselves).
    bool freezeProgramme = false;

    // Meter readings in dB, as the unit reports them.
    int inputMeter(int input) const;
    int outputMeter(const VirtualUnit &unit, int output) const;

    void restoreDefaults();

private:
    bool handleSet(quint8 module, const UnitFrame &frame);
    void sendReport(VirtualUnit &unit, quint8 module, const UnitFrame &frame);
    void wander();

    int m_ticks = 0;
    int m_seenConfigResets = 0;
};
