#pragma once

#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>

// IEEE-754 single precision, little-endian, the way every module record
// carries its floats. Values read back are checked by the callers: a unit or
// a file may hand over NaN or infinities.
namespace WireFloat {

inline void write(uchar *out, float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian<quint32>(bits, out);
}

inline float read(const uchar *in)
{
    const quint32 bits = qFromLittleEndian<quint32>(in);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Whole part of a received value, limited to [lowest, highest]; NaN gives
// `fallback`. The unit carries whole numbers as floats and the page keeps
// them truncated toward zero.
inline int truncateBounded(float value, int lowest, int highest, int fallback)
{
    if (std::isnan(value))
        return fallback;
    const double whole = std::trunc(static_cast<double>(value));
    if (whole < lowest)
        return lowest;
    if (whole > highest)
        return highest;
    return static_cast<int>(whole);
}

} // namespace WireFloat
