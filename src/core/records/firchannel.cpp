#include "firchannel.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

#include "core/dsp/firdesign.h"
#include "wirefloat.h"

namespace {

constexpr int ExternalAt = 0;
constexpr int TapsAt = 1;
constexpr int TypeAt = 3;
constexpr int LowFreqAt = 4;
constexpr int HighFreqAt = 8;
constexpr int WindowAt = 12;
constexpr int BetaAt = 13;
constexpr int EnableAt = 17;
constexpr int CoefficientsAt = 18;
static_assert(EnableAt + 1 == FirChannel::HeaderSize, "FIR header layout");
static_assert(CoefficientsAt + 4 * FirChannel::MaxTaps == FirChannel::Size, "FIR record layout");
static_assert(FirChannel::Size == 2066, "FIR record size");

} // namespace

FirChannel FirChannel::designedDefaults(double sampleRate)
{
    FirChannel r;
    FirDesignParams params;
    params.taps = r.taps;
    params.firType = r.firType;
    params.lowFreq = double(r.lowFreq);
    params.highFreq = double(r.highFreq);
    params.window = r.window;
    params.kaiserBeta = double(r.kaiserBeta);
    params.sampleRate = sampleRate;
    std::array<double, MaxTaps> designed{};
    const int n = FirDesign::design(params, designed.data());
    std::array<float, MaxTaps> single{};
    for (int i = 0; i < n; ++i)
        single[size_t(i)] = float(designed[size_t(i)]);
    r.setDesignCoefficients(single.data(), n);
    return r;
}

void FirChannel::encodeHeader(uchar *out) const
{
    out[ExternalAt] = external;
    qToLittleEndian<quint16>(taps, out + TapsAt);
    out[TypeAt] = firType;
    WireFloat::write(out + LowFreqAt, lowFreq);
    WireFloat::write(out + HighFreqAt, highFreq);
    out[WindowAt] = window;
    WireFloat::write(out + BetaAt, kaiserBeta);
    out[EnableAt] = enable;
}

void FirChannel::encode(uchar *out) const
{
    encodeHeader(out);
    for (int i = 0; i < MaxTaps; ++i)
        WireFloat::write(out + CoefficientsAt + 4 * i, coefficients[size_t(i)]);
}

QByteArray FirChannel::toBytes() const
{
    QByteArray out(Size, '\0');
    encode(reinterpret_cast<uchar *>(out.data()));
    return out;
}

QByteArray FirChannel::headerBytes() const
{
    QByteArray out(HeaderSize, '\0');
    encodeHeader(reinterpret_cast<uchar *>(out.data()));
    return out;
}

FirChannel FirChannel::decodeHeader(const uchar *in)
{
    FirChannel r;
    r.external = in[ExternalAt];
    r.taps = qFromLittleEndian<quint16>(in + TapsAt);
    r.firType = in[TypeAt];
    r.lowFreq = WireFloat::read(in + LowFreqAt);
    r.highFreq = WireFloat::read(in + HighFreqAt);
    r.window = in[WindowAt];
    r.kaiserBeta = WireFloat::read(in + BetaAt);
    r.enable = in[EnableAt];
    return r;
}

FirChannel FirChannel::decode(const uchar *in)
{
    FirChannel r = decodeHeader(in);
    for (int i = 0; i < MaxTaps; ++i)
        r.coefficients[size_t(i)] = WireFloat::read(in + CoefficientsAt + 4 * i);
    return r;
}

FirChannel FirChannel::normalised() const
{
    const FirChannel d;
    FirChannel r = *this;
    r.external = external ? 1 : 0;
    if (r.external)
        r.firType = External;
    else if (firType < LowPass || firType > BandPass)
        r.firType = d.firType;
    r.taps = qMin(taps, quint16(MaxTaps));
    auto frequency = [](float value, float fallback) {
        return std::isfinite(value) ? qBound(MinFreq, value, MaxFreq) : fallback;
    };
    r.lowFreq = frequency(lowFreq, d.lowFreq);
    r.highFreq = frequency(highFreq, d.highFreq);
    if (window < MinWindow || window > MaxWindow)
        r.window = d.window;
    r.kaiserBeta = float(WireFloat::truncateBounded(kaiserBeta, 0, MaxKaiserBeta, int(d.kaiserBeta)));
    r.enable = enable ? 1 : 0;
    for (float &c : r.coefficients) {
        if (!std::isfinite(c))
            c = 0.0f;
    }
    return r;
}

void FirChannel::setDesignCoefficients(const float *designOrder, int count)
{
    coefficients.fill(0.0f);
    const int n = qBound(0, count, int(MaxTaps));
    for (int i = 0; i < n; ++i)
        coefficients[size_t(n - 1 - i)] = designOrder[i];
}

void FirChannel::designCoefficients(float *out) const
{
    const int n = qMin(int(taps), int(MaxTaps));
    for (int i = 0; i < n; ++i)
        out[i] = coefficients[size_t(n - 1 - i)];
}

bool FirChannel::operator==(const FirChannel &other) const
{
    uchar a[Size];
    uchar b[Size];
    encode(a);
    other.encode(b);
    return std::memcmp(a, b, Size) == 0;
}
