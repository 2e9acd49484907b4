#include "deqband.h"

#include <cmath>

#include "wirefloat.h"

namespace {

constexpr int BypassAt = 0;
constexpr int TypeAt = 1;
constexpr int FreqAt = 2;
constexpr int GainAt = 6;
constexpr int QAt = 10;
constexpr int ThresholdAt = 14;
constexpr int AttackAt = 18;
constexpr int ReleaseAt = 22;
constexpr int RatioAt = 26;
constexpr int ModeAt = 30;
static_assert(ModeAt + 1 == DeqBand::Size, "dynamic EQ band layout");

constexpr float DefaultFrequencies[DeqBand::BandsPerChannel] = {100.0f, 300.0f, 500.0f};

float bounded(float value, float low, float high, float fallback)
{
    if (!std::isfinite(value))
        return fallback;
    return qBound(low, value, high);
}

// Attack and release are whole milliseconds.
float wholeTime(float value, float fallback)
{
    if (!std::isfinite(value))
        return fallback;
    return float(WireFloat::truncateBounded(value, int(DeqBand::MinTime), int(DeqBand::MaxTime), int(fallback)));
}

} // namespace

DeqBand DeqBand::defaults(int band)
{
    DeqBand b;
    b.freq = DefaultFrequencies[qBound(0, band, BandsPerChannel - 1)];
    return b;
}

void DeqBand::encode(uchar *out) const
{
    out[BypassAt] = bypass;
    out[TypeAt] = type;
    WireFloat::write(out + FreqAt, freq);
    WireFloat::write(out + GainAt, gain);
    WireFloat::write(out + QAt, q);
    WireFloat::write(out + ThresholdAt, threshold);
    WireFloat::write(out + AttackAt, attack);
    WireFloat::write(out + ReleaseAt, release);
    WireFloat::write(out + RatioAt, ratio);
    out[ModeAt] = mode;
}

std::array<uchar, DeqBand::Size> DeqBand::bytes() const
{
    std::array<uchar, Size> out;
    encode(out.data());
    return out;
}

DeqBand DeqBand::decode(const uchar *in, int band)
{
    const DeqBand d = defaults(band);
    DeqBand b;
    b.bypass = in[BypassAt] ? 1 : 0;
    b.type = in[TypeAt] <= HighShelf ? in[TypeAt] : d.type;
    b.freq = bounded(WireFloat::read(in + FreqAt), MinFreq, MaxFreq, d.freq);
    const float gain = WireFloat::read(in + GainAt);
    b.gain = std::isfinite(gain) ? qMin(std::fabs(gain), MaxGain) : d.gain;
    b.q = bounded(WireFloat::read(in + QAt), MinQ, MaxQ, d.q);
    b.threshold = bounded(WireFloat::read(in + ThresholdAt), MinThreshold, MaxThreshold, d.threshold);
    b.attack = wholeTime(WireFloat::read(in + AttackAt), d.attack);
    b.release = wholeTime(WireFloat::read(in + ReleaseAt), d.release);
    b.ratio = bounded(WireFloat::read(in + RatioAt), MinRatio, MaxRatio, d.ratio);
    b.mode = (in[ModeAt] == BoostBelow || in[ModeAt] == CutAbove) ? in[ModeAt] : d.mode;
    return b;
}
