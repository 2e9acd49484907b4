#include "biquad.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

} // namespace

double Biquad::safeFrequency(double freq, double sampleRate)
{
    const double maxFrequency = MaxFrequencyRatio * sampleRate;
    if (!(freq >= MinFrequency)) // also NaN
        return MinFrequency;
    return std::min(freq, maxFrequency);
}

double Biquad::safeQ(double q)
{
    if (!(q >= MinQ))
        return MinQ;
    return std::min(q, MaxQ);
}

double Biquad::safeGainDb(double gainDb)
{
    if (std::isnan(gainDb))
        return 0.0;
    return std::clamp(gainDb, -MaxGainDb, MaxGainDb);
}

Biquad Biquad::firstOrder(Kind kind, double freq, double sampleRate)
{
    if (!(sampleRate > 0.0))
        return Biquad();
    const double f = safeFrequency(freq, sampleRate);
    const double w = 2.0 * Pi * f;
    const double k = w / std::tan(Pi * f / sampleRate);
    Biquad s;
    if (kind == LowPass) {
        s.b0 = w / (w + k);
        s.b1 = s.b0;
    } else {
        s.b0 = k / (w + k);
        s.b1 = -s.b0;
    }
    s.b2 = 0.0;
    s.a1 = (w - k) / (w + k);
    s.a2 = 0.0;
    return s;
}

Biquad Biquad::secondOrder(Kind kind, double freq, double q, double gainDb, double sampleRate)
{
    if (!(sampleRate > 0.0))
        return Biquad();
    const double w0 = 2.0 * Pi * safeFrequency(freq, sampleRate) / sampleRate;
    const double alpha = std::sin(w0) / (2.0 * safeQ(q));
    const double c = std::cos(w0);
    const double a = std::pow(10.0, safeGainDb(gainDb) / 40.0);
    const double rootA = std::sqrt(a);

    double b0, b1, b2, a0, a1, a2;
    switch (kind) {
    case AllPass:
        b0 = 1.0 - alpha;
        b1 = -2.0 * c;
        b2 = 1.0 + alpha;
        a0 = 1.0 + alpha;
        a1 = -2.0 * c;
        a2 = 1.0 - alpha;
        break;
    case HighPass:
        b0 = (1.0 + c) / 2.0;
        b1 = -(1.0 + c);
        b2 = (1.0 + c) / 2.0;
        a0 = 1.0 + alpha;
        a1 = -2.0 * c;
        a2 = 1.0 - alpha;
        break;
    case LowPass:
        b0 = (1.0 - c) / 2.0;
        b1 = 1.0 - c;
        b2 = (1.0 - c) / 2.0;
        a0 = 1.0 + alpha;
        a1 = -2.0 * c;
        a2 = 1.0 - alpha;
        break;
    case Peaking:
        b0 = 1.0 + alpha * a;
        b1 = -2.0 * c;
        b2 = 1.0 - alpha * a;
        a0 = 1.0 + alpha / a;
        a1 = -2.0 * c;
        a2 = 1.0 - alpha / a;
        break;
    case LowShelf:
        b0 = a * ((a + 1.0) - (a - 1.0) * c + 2.0 * rootA * alpha);
        b1 = 2.0 * a * ((a - 1.0) - (a + 1.0) * c);
        b2 = a * ((a + 1.0) - (a - 1.0) * c - 2.0 * rootA * alpha);
        a0 = (a + 1.0) + (a - 1.0) * c + 2.0 * rootA * alpha;
        a1 = -2.0 * ((a - 1.0) + (a + 1.0) * c);
        a2 = (a + 1.0) + (a - 1.0) * c - 2.0 * rootA * alpha;
        break;
    case HighShelf:
        b0 = a * ((a + 1.0) + (a - 1.0) * c + 2.0 * rootA * alpha);
        b1 = -2.0 * a * ((a - 1.0) + (a + 1.0) * c);
        b2 = a * ((a + 1.0) + (a - 1.0) * c - 2.0 * rootA * alpha);
        a0 = (a + 1.0) - (a - 1.0) * c + 2.0 * rootA * alpha;
        a1 = 2.0 * ((a - 1.0) - (a + 1.0) * c);
        a2 = (a + 1.0) - (a - 1.0) * c - 2.0 * rootA * alpha;
        break;
    default:
        return Biquad();
    }

    Biquad s;
    s.b0 = b0 / a0;
    s.b1 = b1 / a0;
    s.b2 = b2 / a0;
    s.a1 = a1 / a0;
    s.a2 = a2 / a0;
    return s;
}
