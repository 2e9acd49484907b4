#pragma once

// The whole chain of one output, directly: per grid point, complex arithmetic
// on every stage, a sine and cosine per FIR tap, the delays as phasors. No
// tables or caches shared with the shipped code; tests and the benchmark use
// it as the oracle for SystemResponse.

#include <algorithm>
#include <complex>
#include <vector>

#include "core/presets/presetimage.h"
#include "dspreference.h"

namespace ChainReference {

using Complex = std::complex<double>;
using DspReference::Pi;

inline Complex stage(const DspReference::Coefficients &c, double f, double fs)
{
    const double w = 2 * Pi * f / fs;
    const Complex z1 = std::polar(1.0, -w), z2 = std::polar(1.0, -2 * w);
    return (c.b0 + c.b1 * z1 + c.b2 * z2) / (1.0 + c.a1 * z1 + c.a2 * z2);
}

inline Complex section(bool lowPass, int type, int slope, double freq, double f)
{
    static const int orders[6] = {1, 2, 3, 4, 6, 8};
    const int n = orders[slope];
    Complex h = 1;
    for (int k = 0; k < n / 2; ++k)
        h *= stage(DspReference::secondOrder(lowPass ? 2 : 1, freq, DspReference::stageQ(type, n)[k], 0), f, 192000);
    if (n == 1 || n == 3)
        h *= stage(DspReference::firstOrder(lowPass, freq), f, 192000);
    return h;
}

inline Complex filter(const FilterChannel &c, double f)
{
    Complex h = 1;
    if (c.hpEnable)
        h *= section(false, c.hpType, c.hpSlope, c.hpFreq, f);
    if (c.lpEnable)
        h *= section(true, c.lpType, c.lpSlope, c.lpFreq, f);
    for (int b = 0; b < 16; ++b) {
        if (!c.bandEnable[size_t(b)])
            continue;
        const double freq = c.bandFreq[size_t(b)];
        const int type = c.bandType[size_t(b)];
        if (type <= 2) {
            h *= stage(DspReference::secondOrder(type + 3, freq, c.bandQ(b), c.bandGain[size_t(b)]), f, 192000);
        } else if (type == 3) {
            h *= stage(DspReference::secondOrder(0, freq, c.bandQ(b), 0), f, 192000);
        } else if (type == 4) {
            const double t = std::tan(Pi * freq / 192000), a = (t - 1) / (t + 1);
            h *= stage({a, 1, 0, a, 0}, f, 192000);
        }
    }
    return h;
}

inline Complex fir(const FirChannel &c, int maxTaps, double fs, double f)
{
    if (!c.enable)
        return 1;
    float h[FirChannel::MaxTaps];
    c.designCoefficients(h);
    const int taps = std::min(int(c.taps), maxTaps);
    Complex sum = 0;
    for (int n = 0; n < taps; ++n)
        sum += double(h[n]) * std::polar(1.0, -2 * Pi * f * n / fs);
    return sum;
}

inline Complex delay(double ms, double f)
{
    return std::polar(1.0, -2 * Pi * f * ms / 1000);
}

inline double level(const LevelRecord &l)
{
    return l.mute ? 0 : (l.invert ? -1 : 1) * std::pow(10.0, l.gain / 20);
}

// Output `o` fed by input `source` (or every input for -1) at `f` Hz, as a
// 96 kHz unit (`family96k`) or a 48 kHz one plays it.
inline Complex outputAt(const PresetImage &s, int o, int source, bool family96k, double f)
{
    const double fs = family96k ? 96000 : 48000;
    const int taps = family96k ? 512 : 256;
    Complex in = 0;
    for (int i = 0; i < 4; ++i) {
        if ((source >= 0 && source != i) || !s.mixer[size_t(o)].enable[size_t(i)])
            continue;
        in += level(s.inputLevels[size_t(i)]) * std::pow(10.0, s.mixer[size_t(o)].gain[size_t(i)] / 20.0)
            * filter(s.inputFilters[size_t(i)], f) * delay(family96k ? s.inputDelays[size_t(i)] : 0, f);
    }
    return in * level(s.outputLevels[size_t(o)]) * filter(s.outputFilters[size_t(o)], f)
        * fir(s.fir[size_t(o)], taps, fs, f) * delay(s.outputDelays[size_t(o)], f);
}

inline std::vector<Complex> output(const PresetImage &s, int o, int source, bool family96k)
{
    std::vector<Complex> out(DspReference::GridSize);
    for (int k = 0; k < DspReference::GridSize; ++k)
        out[size_t(k)] = outputAt(s, o, source, family96k, DspReference::gridFrequency(k));
    return out;
}

// Group delay in ms by the phase difference across +-0.01 % of `f`.
inline double groupDelayMs(const PresetImage &s, int o, int source, bool family96k, double f)
{
    const double d = f * 1e-4;
    const Complex ratio = outputAt(s, o, source, family96k, f + d) / outputAt(s, o, source, family96k, f - d);
    return -std::arg(ratio) / (2 * Pi * 2 * d) * 1000;
}

inline double db(Complex h)
{
    return 10 * std::log10(std::norm(h));
}

} // namespace ChainReference
