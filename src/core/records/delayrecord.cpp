#include "delayrecord.h"

#include <cmath>

#include "wirefloat.h"

static_assert(DelayRecord::WireSize == sizeof(float), "delay record layout");

void DelayRecord::encode(uchar *out) const
{
    WireFloat::write(out, ms);
}

bool DelayRecord::decode(const uchar *in)
{
    const float value = WireFloat::read(in);
    if (!std::isfinite(value))
        return false;
    ms = value;
    return true;
}

int DelayRecord::outputMaxMs(int output, bool reducedRange)
{
    if (!reducedRange)
        return OutputMaxMs;
    return output < ReducedFrontOutputs ? ReducedFrontMaxMs : ReducedRearMaxMs;
}

double DelayRecord::metres(double ms)
{
    return ms * MetresPerSecond / 1000.0;
}

double DelayRecord::feet(double ms)
{
    return metres(ms) * FeetPerMetre;
}

QString DelayRecord::metresText(double ms)
{
    return QString::asprintf("%0.3f", metres(ms));
}

QString DelayRecord::feetText(double ms)
{
    return QString::asprintf("%0.3f", feet(ms));
}

double DelayRecord::snapToEvenHundredths(double ms)
{
    if (!std::isfinite(ms))
        return ms;
    // Round to hundredths first (halves upward) so a float that lands just
    // below an even hundredth is not pushed up by another step.
    const double hundredths = std::floor(ms * 100.0 + 0.5);
    const bool odd = std::fmod(hundredths, 2.0) != 0.0;
    return (odd ? hundredths + 1.0 : hundredths) / 100.0;
}
