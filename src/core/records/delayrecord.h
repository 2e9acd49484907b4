#pragma once

#include <QString>
#include <QtGlobal>

// The delay of one input or output channel (modules 6 and 12): the page's
// mirror, the body of the param-1 messages (4 bytes after the channel byte:
// milliseconds as f32) and the delay part of preset files.
//
// Also the rules the delay pages show and quantise delays by, kept here so
// they are tested without widgets.
struct DelayRecord
{
    static constexpr int WireSize = 4;

    static constexpr int InputMaxMs = 1000;
    static constexpr int OutputMaxMs = 2000;
    // The 48 kHz units: outputs 1 to 4 and 5 to 8 have shorter lines, set in
    // steps of 0.02 ms (one sample at 48 kHz is 0.0208 ms; the unit rounds to
    // even hundredths).
    static constexpr int ReducedFrontMaxMs = 218;
    static constexpr int ReducedRearMaxMs = 148;
    static constexpr int ReducedFrontOutputs = 4;

    // Speed of sound used for the distance fields.
    static constexpr double MetresPerSecond = 340.0;
    static constexpr double FeetPerMetre = 3.2808;

    float ms = 0.0f;

    void encode(uchar *out) const;
    // False (and the record unchanged) for NaN or infinities.
    bool decode(const uchar *in);

    // The longest delay of output `output` (0 to 7).
    static int outputMaxMs(int output, bool reducedRange);

    static double metres(double ms);
    static double feet(double ms);
    // "%0.3f" of the distances.
    static QString metresText(double ms);
    static QString feetText(double ms);

    // Reduced range: a value on an odd hundredth goes up to the next even
    // one (12.35 becomes 12.36, 12.34 stays).
    static double snapToEvenHundredths(double ms);

    bool operator==(const DelayRecord &other) const { return ms == other.ms; }
    bool operator!=(const DelayRecord &other) const { return !(*this == other); }
};
