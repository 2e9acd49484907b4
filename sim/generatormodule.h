#pragma once

#include "core/records/generatorrecord.h"
#include "unitmodule.h"

// The test-signal generator of the virtual unit (module 8). Source,
// frequency, gain and mute are global (no channel byte); param 1 switches
// the signal onto an output.
//
// feedLevel() tells what the generator puts on an output, so the output
// meters of the unit can show it.
class GeneratorModule final : public UnitModule
{
public:
    bool handle(VirtualUnit &unit, const UnitFrame &frame) override;

    // Readable and settable by tests.
    GeneratorRecord generator;

    // The generator's level on `output` in dBFS, or NaN when it does not feed
    // that output (not routed, or muted).
    float feedLevel(int output) const;

private:
    void report(VirtualUnit &unit, quint8 param, int output);
};
