#include "limiterrecord.h"

#include <cmath>

#include "wirefloat.h"

namespace {

constexpr int EnableAt = 0;
constexpr int ThresholdAt = 1;
constexpr int RatioAt = 5;
constexpr int AttackAt = 9;
constexpr int DecayAt = 13;
static_assert(DecayAt + 4 == LimiterRecord::Size, "limiter record layout");

// Truncates toward zero and limits to [low, high]; non-finite gives `fallback`.
int wholeInRange(double value, int low, int high, int fallback)
{
    if (!std::isfinite(value))
        return fallback;
    const double truncated = std::trunc(value);
    if (truncated < low)
        return low;
    if (truncated > high)
        return high;
    return int(truncated);
}

} // namespace

void LimiterRecord::encode(uchar *out) const
{
    out[EnableAt] = enable ? 1 : 0;
    WireFloat::write(out + ThresholdAt, threshold);
    WireFloat::write(out + RatioAt, float(ratio));
    WireFloat::write(out + AttackAt, float(attack));
    WireFloat::write(out + DecayAt, float(decay));
}

LimiterRecord LimiterRecord::decode(const uchar *in)
{
    const LimiterRecord defaults;
    LimiterRecord record;
    record.enable = in[EnableAt] != 0;
    const float threshold = WireFloat::read(in + ThresholdAt);
    record.threshold = std::isfinite(threshold) ? clampThreshold(double(threshold)) : defaults.threshold;
    record.ratio = quint8(wholeInRange(double(WireFloat::read(in + RatioAt)), MinRatio, MaxRatio, defaults.ratio));
    record.attack =
        quint16(wholeInRange(double(WireFloat::read(in + AttackAt)), MinAttack, MaxAttack, defaults.attack));
    record.decay = quint16(wholeInRange(double(WireFloat::read(in + DecayAt)), MinDecay, MaxDecay, defaults.decay));
    return record;
}

float LimiterRecord::clampThreshold(double value)
{
    if (std::isnan(value))
        return 0.0f;
    return float(qBound(double(MinThreshold), value, double(MaxThreshold)));
}

quint8 LimiterRecord::clampRatio(double value)
{
    // 0 (or an unreadable entry) means "no compression", the smallest ratio.
    return quint8(wholeInRange(value, MinRatio, MaxRatio, MinRatio));
}

quint16 LimiterRecord::clampAttack(double value)
{
    return quint16(wholeInRange(value, MinAttack, MaxAttack, MinAttack));
}

quint16 LimiterRecord::clampDecay(double value)
{
    return quint16(wholeInRange(value, MinDecay, MaxDecay, MinDecay));
}

bool LimiterRecord::operator==(const LimiterRecord &other) const
{
    return enable == other.enable && threshold == other.threshold && ratio == other.ratio
        && attack == other.attack && decay == other.decay;
}
