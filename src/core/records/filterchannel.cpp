#include "filterchannel.h"

#include <QtEndian>

#include <cstring>

namespace {

// Field offsets of the record.
constexpr int BandEnableAt = 0;
constexpr int BandTypeAt = 16;
constexpr int BandQIndexAt = 32;
constexpr int BandFreqAt = 48;
constexpr int BandGainAt = 80;
constexpr int HpTypeAt = 144;
constexpr int HpSlopeAt = 145;
constexpr int HpFreqAt = 146;
constexpr int HpEnableAt = 148;
constexpr int LpTypeAt = 149;
constexpr int LpSlopeAt = 150;
constexpr int LpFreqAt = 152;
constexpr int LpEnableAt = 154;
constexpr int ReservedAt = 155;

static_assert(BandTypeAt == BandEnableAt + FilterChannel::BandCount, "record layout");
static_assert(BandQIndexAt == BandTypeAt + FilterChannel::BandCount, "record layout");
static_assert(BandFreqAt == BandQIndexAt + FilterChannel::BandCount, "record layout");
static_assert(BandGainAt == BandFreqAt + 2 * FilterChannel::BandCount, "record layout");
static_assert(HpTypeAt == BandGainAt + 4 * FilterChannel::BandCount, "record layout");
static_assert(ReservedAt + 1 == FilterChannel::Size, "record layout");

void writeFloat(uchar *p, float v)
{
    quint32 bits;
    std::memcpy(&bits, &v, sizeof bits);
    qToLittleEndian<quint32>(bits, p);
}

float readFloat(const uchar *p)
{
    const quint32 bits = qFromLittleEndian<quint32>(p);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

} // namespace

const std::array<float, QTableSize> qTable{
    0.50f, 0.53f, 0.56f, 0.59f, 0.63f, 0.67f, 0.71f, 0.75f, 0.79f, 0.84f, 0.89f, 0.94f, 1.00f,
    1.06f, 1.12f, 1.19f, 1.26f, 1.30f, 1.40f, 1.50f, 1.60f, 1.70f, 1.80f, 1.90f, 2.00f, 2.10f,
    2.20f, 2.40f, 2.50f, 2.70f, 2.80f, 3.00f, 3.20f, 3.40f, 3.60f, 3.80f, 4.00f, 4.20f, 4.50f,
    4.80f, 5.00f, 5.30f, 5.70f, 6.00f, 6.30f, 6.70f, 7.10f, 7.60f, 8.00f, 8.50f, 9.00f, 9.50f,
    10.10f, 10.70f, 11.30f, 12.00f, 12.70f, 13.50f, 14.00f, 15.00f, 16.00f, 17.00f, 18.00f, 19.00f, 20.00f,
};

FilterChannel::FilterChannel()
{
    bandEnable.fill(1);
    bandType.fill(Peq);
    bandQIndex.fill(DefaultQIndex);
    for (int b = 0; b < BandCount; ++b)
        bandFreq[size_t(b)] = quint16(defaultBandFrequencies[size_t(b)]);
    bandGain.fill(0.0f);
}

void FilterChannel::encode(uchar *out) const
{
    std::memset(out, 0, Size);
    for (int b = 0; b < BandCount; ++b) {
        const size_t i = size_t(b);
        out[BandEnableAt + b] = bandEnable[i];
        out[BandTypeAt + b] = bandType[i];
        out[BandQIndexAt + b] = bandQIndex[i];
        qToLittleEndian<quint16>(bandFreq[i], out + BandFreqAt + 2 * b);
        writeFloat(out + BandGainAt + 4 * b, bandGain[i]);
    }
    out[HpTypeAt] = hpType;
    out[HpSlopeAt] = hpSlope;
    qToLittleEndian<quint16>(hpFreq, out + HpFreqAt);
    out[HpEnableAt] = hpEnable;
    out[LpTypeAt] = lpType;
    out[LpSlopeAt] = lpSlope;
    qToLittleEndian<quint16>(lpFreq, out + LpFreqAt);
    out[LpEnableAt] = lpEnable;
}

FilterChannel FilterChannel::decode(const uchar *in)
{
    FilterChannel r;
    for (int b = 0; b < BandCount; ++b) {
        const size_t i = size_t(b);
        r.bandEnable[i] = in[BandEnableAt + b];
        r.bandType[i] = in[BandTypeAt + b];
        r.bandQIndex[i] = in[BandQIndexAt + b];
        r.bandFreq[i] = qFromLittleEndian<quint16>(in + BandFreqAt + 2 * b);
        r.bandGain[i] = readFloat(in + BandGainAt + 4 * b);
    }
    r.hpType = in[HpTypeAt];
    r.hpSlope = in[HpSlopeAt];
    r.hpFreq = qFromLittleEndian<quint16>(in + HpFreqAt);
    r.hpEnable = in[HpEnableAt];
    r.lpType = in[LpTypeAt];
    r.lpSlope = in[LpSlopeAt];
    r.lpFreq = qFromLittleEndian<quint16>(in + LpFreqAt);
    r.lpEnable = in[LpEnableAt];
    return r;
}

float FilterChannel::bandQ(int band) const
{
    const size_t i = size_t(band);
    if (bandType[i] == LowShelf || bandType[i] == HighShelf)
        return ShelfQ;
    // An index beyond the table (from a corrupt file) draws with the last Q.
    return qTable[qMin<size_t>(bandQIndex[i], qTable.size() - 1)];
}

FilterChannelParams FilterChannel::responseParams() const
{
    FilterChannelParams p;
    p.highPass.bypass = hpEnable == 0;
    p.highPass.type = hpType;
    p.highPass.slope = hpSlope;
    p.highPass.freq = hpFreq;
    p.lowPass.bypass = lpEnable == 0;
    p.lowPass.type = lpType;
    p.lowPass.slope = lpSlope;
    p.lowPass.freq = lpFreq;
    for (int b = 0; b < BandCount; ++b) {
        const size_t i = size_t(b);
        FilterBand &band = p.bands[i];
        band.bypass = bandEnable[i] == 0;
        band.type = bandType[i];
        band.freq = bandFreq[i];
        band.gain = bandGain[i];
        band.q = bandQ(b);
    }
    return p;
}

bool FilterChannel::operator==(const FilterChannel &o) const
{
    // Compared as the bytes they travel as, so that two NaN gains from the
    // same file count as equal and -0.0 differs from 0.0, as on the wire.
    uchar a[Size];
    uchar b[Size];
    encode(a);
    o.encode(b);
    return std::memcmp(a, b, Size) == 0;
}
