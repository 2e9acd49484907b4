#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

#include "core/presets/presetimage.h"
#include "core/state/locktable.h"

// The two unit families, told apart by the major number of the unit's ARM
// firmware: 1 is the 96 kHz family (input delays, 512-tap FIR, dynamic EQ
// and FIR in its locks and preset files, the LCD page setting); every other
// major number is the 48 kHz family (no input delay, 256-tap FIR, output
// delays of 218 ms on outputs 1-4 and 148 ms on outputs 5-8).
enum class UnitFamily : quint8 { Sharc48k = 0, Sharc96k = 1 };

// Everything an operator can set on a unit, as one value: the DSP records a
// preset carries, and what presets leave out (input sources, calibration
// trims, labels and the unit's own texts, front-panel settings, the all-mute
// and the security locks). Link groups live in the level records
// (LevelRecord::group), which preset images read and write around.
//
// A plain value: copy it, compare it, keep it as undo history. Its defaults
// are those of a unit fresh from a factory reset. Names, ranges and the way
// each setting is limited are in ParameterCatalog, which every reader and
// writer of a UnitState by name goes through.
class UnitState
{
public:
    static constexpr int Inputs = PresetImage::Inputs;
    static constexpr int Outputs = PresetImage::Outputs;
    static constexpr int InputPairs = Inputs / 2;
    // Labels, location and description: at most this many bytes in the
    // unit's 8-bit encoding.
    static constexpr int TextSize = 16;

    enum Source : quint8 { Analog = 0, Aes = 1 };
    // What the unit's display shows: -1 cycles through the pages, 0..5 fix
    // one (model, IP address, location, description, preset, run time).
    static constexpr qint8 LcdPolling = -1;
    static constexpr qint8 LcdLastPage = 5;

    explicit UnitState(UnitFamily family = UnitFamily::Sharc96k);

    UnitFamily family() const { return m_family; }

    // The family a unit with this ARM firmware major number belongs to.
    static UnitFamily familyOfArmMajor(int major);
    // "48k" or "96k".
    static QString familyName(UnitFamily family);
    static PresetImage::Variant presetVariant(UnitFamily family);
    static bool hasInputDelay(UnitFamily family) { return family == UnitFamily::Sharc96k; }
    // The LCD page setting; only 96 kHz units (from ARM V1.4.26 on) offer it.
    static bool hasLcdPage(UnitFamily family) { return family == UnitFamily::Sharc96k; }
    // The family-1 rows of the security page: input delay, dynamic EQ, FIR.
    static bool hasFamilyOneLocks(UnitFamily family) { return family == UnitFamily::Sharc96k; }
    static int maxFirTaps(UnitFamily family);
    static double sampleRate(UnitFamily family);
    // The longest delay of output `output` (0 to 7) and the step it is set in.
    static int outputDelayMaxMs(UnitFamily family, int output);
    static double outputDelayStepMs(UnitFamily family);

    PresetImage dsp;
    // One per input pair (IN A with IN B, IN C with IN D).
    std::array<quint8, InputPairs> inputSources{};
    std::array<float, Inputs> inputTrims{};
    std::array<float, Outputs> outputTrims{};
    std::array<QString, Inputs> inputLabels;
    std::array<QString, Outputs> outputLabels;
    QString location;
    QString description;
    bool panelLock = false;
    qint8 lcdPage = LcdPolling;
    bool allMute = false;
    LockTable locks;

    // Field by field, floats by their bits (as they travel), so that -0 and
    // 0 differ and a NaN equals itself. What the family does not have (input
    // delays, the LCD page and the family-1 locks of a 48 kHz unit) is not
    // compared.
    bool operator==(const UnitState &other) const;
    bool operator!=(const UnitState &other) const { return !(*this == other); }

private:
    UnitFamily m_family;
};
