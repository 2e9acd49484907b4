#include "filterresponse.h"

#include <cfloat>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

// Second-order stage Q values by type (Bessel, Butterworth, Link-Riley) and
// slope index 1..5 (orders 2, 3, 4, 6, 8); order 1 has none.
constexpr float StageQ[3][5][4] = {
    {{0.5773f}, {0.6910f}, {0.5219f, 0.8055f}, {0.5103f, 0.6112f, 1.0234f}, {0.5060f, 1.2258f, 0.7109f, 0.5596f}},
    {{0.7071f}, {1.0f}, {0.5412f, 1.3065f}, {0.5177f, 0.7071f, 1.9320f}, {0.5098f, 0.6013f, 0.8999f, 2.5628f}},
    {{0.5f}, {0.6f}, {0.71f, 0.71f}, {0.5f, 1.0f, 1.0f}, {0.54f, 1.34f, 0.54f, 1.34f}},
};

// e^-jw and e^-2jw at every grid frequency, computed once: they depend on
// nothing but the grid. Each frequency is cut to 0.1 Hz first, as the curve
// has always been drawn (a no-op for the present grid values).
struct GridPhasors
{
    alignas(32) double cos1[ResponseGridSize];
    alignas(32) double sin1[ResponseGridSize];
    alignas(32) double cos2[ResponseGridSize];
    alignas(32) double sin2[ResponseGridSize];

    GridPhasors()
    {
        const ResponseCurve &grid = responseGrid();
        for (int i = 0; i < ResponseGridSize; ++i) {
            const double w = std::trunc(10.0 * grid[size_t(i)]) * Pi / (5.0 * FilterResponse::SampleRate);
            cos1[i] = std::cos(w);
            sin1[i] = std::sin(w);
            cos2[i] = std::cos(2.0 * w);
            sin2[i] = std::sin(2.0 * w);
        }
    }
};

const GridPhasors &gridPhasors()
{
    static const GridPhasors phasors;
    return phasors;
}

// Stages are multiplied as |H|^2 and the product renormalised every so many
// stages, so the whole curve costs one logarithm per point. With every factor
// kept within the normal single-precision range, eight factors cannot leave
// the double range.
constexpr int StagesPerProduct = 8;

} // namespace

int FilterResponse::stageQs(int type, int slope, float q[4])
{
    if (type < 0 || type > 2 || slope < 0 || slope >= int(sectionOrder.size()))
        return 0;
    const int count = sectionOrder[size_t(slope)] / 2;
    for (int k = 0; k < count; ++k)
        q[k] = StageQ[type][slope - 1][k];
    return count;
}

int FilterResponse::sectionStages(Biquad::Kind kind, int type, int slope, double freq, Biquad *out)
{
    if ((kind != Biquad::HighPass && kind != Biquad::LowPass) || type < 0 || type > 2 || slope < 0
        || slope >= int(sectionOrder.size()))
        return 0;
    float q[4];
    const int secondOrder = stageQs(type, slope, q);
    int count = 0;
    for (int k = 0; k < secondOrder; ++k)
        out[count++] = Biquad::secondOrder(kind, freq, q[k], 0.0, SampleRate);
    const int order = sectionOrder[size_t(slope)];
    if (order == 1 || order == 3)
        out[count++] = Biquad::firstOrder(kind, freq, SampleRate);
    return count;
}

bool FilterResponse::bandStage(int type, double freq, double gainDb, double q, Biquad *out)
{
    if (type < 0 || type > 2)
        return false;
    *out = Biquad::secondOrder(Biquad::Kind(Biquad::Peaking + type), freq, q, gainDb, SampleRate);
    return true;
}

int FilterResponse::channelStages(const FilterChannelParams &params, Biquad *out)
{
    int count = 0;
    if (!params.highPass.bypass && params.highPass.shown)
        count += sectionStages(Biquad::HighPass, params.highPass.type, params.highPass.slope,
                               params.highPass.freq, out + count);
    if (!params.lowPass.bypass && params.lowPass.shown)
        count += sectionStages(Biquad::LowPass, params.lowPass.type, params.lowPass.slope, params.lowPass.freq,
                               out + count);
    const int bands = params.bandCount < FilterMaxBands ? params.bandCount : FilterMaxBands;
    for (int b = 0; b < bands; ++b) {
        const FilterBand &band = params.bands[size_t(b)];
        if (!band.bypass && band.shown && bandStage(band.type, band.freq, band.gain, band.q, out + count))
            ++count;
    }
    return count;
}

void FilterResponse::sum(const Biquad *stages, int count, ResponseCurve &out)
{
    const GridPhasors &p = gridPhasors();
    alignas(32) double product[ResponseGridSize];
    int exponent[ResponseGridSize];
    for (int i = 0; i < ResponseGridSize; ++i) {
        product[i] = 1.0;
        exponent[i] = 0;
    }

    for (int first = 0; first < count; first += StagesPerProduct) {
        if (first > 0) {
            for (int i = 0; i < ResponseGridSize; ++i) {
                int e;
                product[i] = std::frexp(product[i], &e);
                exponent[i] += e;
            }
        }
        const int last = first + StagesPerProduct < count ? first + StagesPerProduct : count;
        for (int s = first; s < last; ++s) {
            const double b0 = stages[s].b0, b1 = stages[s].b1, b2 = stages[s].b2;
            const double a1 = stages[s].a1, a2 = stages[s].a2;
            for (int i = 0; i < ResponseGridSize; ++i) {
                const double nr = b0 + b1 * p.cos1[i] + b2 * p.cos2[i];
                const double ni = b1 * p.sin1[i] + b2 * p.sin2[i];
                const double dr = 1.0 + a1 * p.cos1[i] + a2 * p.cos2[i];
                const double di = a1 * p.sin1[i] + a2 * p.sin2[i];
                double h2 = (nr * nr + ni * ni) / (dr * dr + di * di);
                // A zero or overflowing stage (only reachable at the limits
                // of the coefficient clamps) must not turn the curve into
                // -inf or NaN; NaN fails the first test and lands on FLT_MIN.
                h2 = h2 >= double(FLT_MIN) ? (h2 <= double(FLT_MAX) ? h2 : double(FLT_MAX)) : double(FLT_MIN);
                product[i] *= double(float(h2));
            }
        }
    }

    const double dbPerBinaryExponent = 10.0 * std::log10(2.0);
    for (int i = 0; i < ResponseGridSize; ++i)
        out[size_t(i)] = 10.0 * std::log10(product[i]) + exponent[i] * dbPerBinaryExponent;
}

void FilterResponse::stageResponse(const Biquad &stage, ResponseCurve &out)
{
    sum(&stage, 1, out);
}

void FilterResponse::compute(const FilterChannelParams &params, ResponseCurve &out)
{
    Biquad stages[MaxStages];
    const int count = channelStages(params, stages);
    sum(stages, count, out);
}
