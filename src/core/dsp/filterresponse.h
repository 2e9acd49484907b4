#pragma once

#include <array>
#include <cstddef>

#include "biquad.h"
#include "responsegrid.h"

// What decides the curve of one high-pass or low-pass section.
struct FilterSection
{
    bool bypass = true;
    bool shown = true;  // false: hidden by a security lock, left out of the curve
    int type = 0;       // 0 Bessel, 1 Butterworth, 2 Link-Riley
    int slope = 0;      // 0..5 = -6, -12, -18, -24, -36, -48 dB/oct
    float freq = 20.0f; // Hz
};

// What decides the curve of one parametric band.
struct FilterBand
{
    bool bypass = false;
    bool shown = true;
    int type = 0;      // 0 peaking, 1 low shelf, 2 high shelf; others draw nothing
    float freq = 1000.0f;
    float gain = 0.0f; // dB
    float q = 6.0f;    // the Q value itself, not an index
};

constexpr int FilterMaxBands = 16;

// Where the sixteen bands of a channel start out.
constexpr std::array<float, FilterMaxBands> defaultBandFrequencies{
    40, 60, 80, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000, 2000, 3000, 4000};

// One channel's filter chain as the response sees it.
struct FilterChannelParams
{
    FilterChannelParams()
    {
        for (std::size_t b = 0; b < bands.size(); ++b)
            bands[b].freq = defaultBandFrequencies[b];
    }

    FilterSection highPass;
    FilterSection lowPass{true, true, 0, 0, 20000.0f};
    std::array<FilterBand, FilterMaxBands> bands;
    int bandCount = FilterMaxBands; // bands from this index on are left out
};

// Filter order of a high-pass or low-pass section by slope index.
constexpr std::array<int, 6> sectionOrder{1, 2, 3, 4, 6, 8};

// Magnitude responses of filter chains at the grid frequencies, in dB. The
// model runs at 192 kHz whatever the unit's own rate, which keeps the
// bilinear transform's cramping near Nyquist far above the audible range.
//
// Everything here is cheap enough to recompute the whole curve on every
// setter call and every mouse-move step of a drag.
class FilterResponse
{
public:
    static constexpr double SampleRate = 192000.0;
    static constexpr int MaxSectionStages = 5;
    static constexpr int MaxStages = 2 * MaxSectionStages + FilterMaxBands;

    // Q values of the second-order stages of a section (n / 2 of them for
    // order n); returns how many were written, 0 for a type or slope outside
    // the tables.
    static int stageQs(int type, int slope, float q[4]);

    // The stages of a high-pass (kind Biquad::HighPass) or low-pass
    // (Biquad::LowPass) section, ignoring its bypass and shown flags. Returns
    // how many were written (at most MaxSectionStages); 0 for a type or slope
    // outside the tables, which therefore draws nothing.
    static int sectionStages(Biquad::Kind kind, int type, int slope, double freq, Biquad *out);

    // The stage of a band of type 0..2; false for other types.
    static bool bandStage(int type, double freq, double gainDb, double q, Biquad *out);

    // Every stage that contributes to the channel's curve, in the order
    // high-pass, low-pass, bands. `out` must hold MaxStages entries.
    static int channelStages(const FilterChannelParams &params, Biquad *out);

    // The summed response of `count` stages. Each stage contributes
    // 20 log10 |H| with |H|^2 rounded to single precision (kept within the
    // normal single-precision range, so a stage never yields -inf).
    static void sum(const Biquad *stages, int count, ResponseCurve &out);

    // One stage's response alone.
    static void stageResponse(const Biquad &stage, ResponseCurve &out);

    // The whole channel: the sum of channelStages().
    static void compute(const FilterChannelParams &params, ResponseCurve &out);
};
