#include "generatorrecord.h"

#include <cmath>

#include "wirefloat.h"

static_assert(GeneratorRecord::FrequencySize == sizeof(float) && GeneratorRecord::GainSize == sizeof(float),
              "generator record layout");

void GeneratorRecord::encodeFloat(uchar *out, float value)
{
    WireFloat::write(out, value);
}

bool GeneratorRecord::decodeFloat(const uchar *in, float *value)
{
    const float v = WireFloat::read(in);
    if (!std::isfinite(v))
        return false;
    *value = v;
    return true;
}

quint16 GeneratorRecord::wholeFrequency(double hz)
{
    if (std::isnan(hz) || hz <= 0.0)
        return 0;
    if (hz >= 65535.0)
        return 65535;
    return quint16(std::trunc(hz));
}

int GeneratorRecord::boundGain(int dB)
{
    return qBound(MinGain, dB, MaxGain);
}
