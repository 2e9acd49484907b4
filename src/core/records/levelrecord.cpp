#include "levelrecord.h"

#include <cmath>

#include "wirefloat.h"

namespace {

constexpr int GainAt = 0;
constexpr int MuteAt = 4;
constexpr int InvertAt = 5;
static_assert(InvertAt + 1 == LevelRecord::FileSize, "level record layout");

} // namespace

void LevelRecord::encode(uchar *out) const
{
    WireFloat::write(out + GainAt, gain);
    out[MuteAt] = mute ? 1 : 0;
    out[InvertAt] = invert ? 1 : 0;
}

LevelRecord LevelRecord::decode(const uchar *in)
{
    LevelRecord record;
    record.gain = clampGain(WireFloat::read(in + GainAt));
    record.mute = in[MuteAt] != 0;
    record.invert = in[InvertAt] != 0;
    return record;
}

float LevelRecord::clampGain(float gain)
{
    if (std::isnan(gain))
        return 0.0f;
    return qBound(MinGain, gain, MaxGain);
}

bool LevelRecord::operator==(const LevelRecord &other) const
{
    return gain == other.gain && mute == other.mute && invert == other.invert && group == other.group;
}
