#include "presetimage.h"

#include <cmath>
#include <cstring>

#include "core/records/wirefloat.h"

namespace {

using Layout = PresetImage::Layout;

constexpr int In = PresetImage::Inputs;
constexpr int Out = PresetImage::Outputs;
constexpr int Bands = PresetImage::FilterBands;

// The 48 kHz image: inputs, then the matrix and the generator, then the
// outputs.
constexpr Layout Layout48k{
    /*gate*/ 0,
    /*inputLevel*/ 52,
    /*feedback*/ 76,
    /*inputFilterHead*/ 80,
    /*inputFilterBands*/ 136,
    /*inputLimiter*/ 840,
    /*deq*/ -1,
    /*inputDelay*/ -1,
    /*mixer*/ 908,
    /*generator*/ 980,
    /*outputLevel*/ 990,
    /*fir*/ -1,
    /*outputFilterHead*/ 1038,
    /*outputFilterBands*/ 1150,
    /*outputLimiter*/ 2558,
    /*outputDelay*/ 2694,
    /*size*/ PresetImage::Size48k,
};

// The 96 kHz image: the dynamic EQ and input delays follow the input
// limiters, and the FIR records sit between the output levels and the
// output filters.
constexpr Layout Layout96k{
    /*gate*/ 0,
    /*inputLevel*/ 52,
    /*feedback*/ 76,
    /*inputFilterHead*/ 80,
    /*inputFilterBands*/ 136,
    /*inputLimiter*/ 840,
    /*deq*/ 908,
    /*inputDelay*/ 1280,
    /*mixer*/ 1296,
    /*generator*/ 1368,
    /*outputLevel*/ 1378,
    /*fir*/ 1426,
    /*outputFilterHead*/ 17954,
    /*outputFilterBands*/ 18066,
    /*outputLimiter*/ 19474,
    /*outputDelay*/ 19610,
    /*size*/ PresetImage::Size96k,
};

// Each block ends where the next begins.
static_assert(Layout48k.inputLevel == Layout48k.gate + In * PresetImage::GateSize, "48K layout");
static_assert(Layout48k.feedback == Layout48k.inputLevel + In * PresetImage::LevelSize, "48K layout");
static_assert(Layout48k.inputFilterHead == Layout48k.feedback + In * PresetImage::FeedbackSize, "48K layout");
static_assert(Layout48k.inputFilterBands == Layout48k.inputFilterHead + In * PresetImage::FilterHeadSize,
              "48K layout");
static_assert(Layout48k.inputLimiter == Layout48k.inputFilterBands + In * Bands * PresetImage::FilterBandSize,
              "48K layout");
static_assert(Layout48k.mixer == Layout48k.inputLimiter + In * PresetImage::LimiterSize, "48K layout");
static_assert(Layout48k.generator == Layout48k.mixer + Out * PresetImage::MixerRowSize, "48K layout");
static_assert(Layout48k.outputLevel == Layout48k.generator + PresetImage::GeneratorSize, "48K layout");
static_assert(Layout48k.outputFilterHead == Layout48k.outputLevel + Out * PresetImage::LevelSize, "48K layout");
static_assert(Layout48k.outputFilterBands == Layout48k.outputFilterHead + Out * PresetImage::FilterHeadSize,
              "48K layout");
static_assert(Layout48k.outputLimiter == Layout48k.outputFilterBands + Out * Bands * PresetImage::FilterBandSize,
              "48K layout");
static_assert(Layout48k.outputDelay == Layout48k.outputLimiter + Out * PresetImage::LimiterSize, "48K layout");
static_assert(Layout48k.size == Layout48k.outputDelay + Out * PresetImage::DelaySize, "48K layout");

static_assert(Layout96k.inputLimiter == Layout48k.inputLimiter, "the inputs are laid out alike");
static_assert(Layout96k.deq == Layout96k.inputLimiter + In * PresetImage::LimiterSize, "96K layout");
static_assert(Layout96k.inputDelay == Layout96k.deq + In * PresetImage::DeqBands * PresetImage::DeqSize,
              "96K layout");
static_assert(Layout96k.mixer == Layout96k.inputDelay + In * PresetImage::DelaySize, "96K layout");
static_assert(Layout96k.generator == Layout96k.mixer + Out * PresetImage::MixerRowSize, "96K layout");
static_assert(Layout96k.outputLevel == Layout96k.generator + PresetImage::GeneratorSize, "96K layout");
static_assert(Layout96k.fir == Layout96k.outputLevel + Out * PresetImage::LevelSize, "96K layout");
static_assert(Layout96k.outputFilterHead == Layout96k.fir + Out * PresetImage::FirSize, "96K layout");
static_assert(Layout96k.outputFilterBands == Layout96k.outputFilterHead + Out * PresetImage::FilterHeadSize,
              "96K layout");
static_assert(Layout96k.outputLimiter == Layout96k.outputFilterBands + Out * Bands * PresetImage::FilterBandSize,
              "96K layout");
static_assert(Layout96k.outputDelay == Layout96k.outputLimiter + Out * PresetImage::LimiterSize, "96K layout");
static_assert(Layout96k.size == Layout96k.outputDelay + Out * PresetImage::DelaySize, "96K layout");

// Filter head record: the two pass sections.
constexpr int HpEnableAt = 0;
constexpr int HpTypeAt = 1;
constexpr int HpSlopeAt = 2;
constexpr int HpFreqAt = 3;
constexpr int LpEnableAt = 7;
constexpr int LpTypeAt = 8;
constexpr int LpSlopeAt = 9;
constexpr int LpFreqAt = 10;
static_assert(LpFreqAt + 4 == PresetImage::FilterHeadSize, "filter head record");

// Filter band record.
constexpr int BandEnableAt = 0;
constexpr int BandTypeAt = 1;
constexpr int BandFreqAt = 2;
constexpr int BandGainAt = 6;
constexpr int BandQAt = 10;
static_assert(BandQAt + 1 == PresetImage::FilterBandSize, "filter band record");

// Mixer row: four gains (i8), four enables, the generator switch.
constexpr int MixGainAt = 0;
constexpr int MixEnableAt = 4;
constexpr int MixGeneratorAt = 8;
static_assert(MixGeneratorAt + 1 == PresetImage::MixerRowSize, "mixer row");

// Generator record.
constexpr int GenMuteAt = 0;
constexpr int GenFreqAt = 1;
constexpr int GenGainAt = 5;
constexpr int GenSourceAt = 9;
static_assert(GenSourceAt + 1 == PresetImage::GeneratorSize, "generator record");

// What the filter selectors and the response know.
constexpr quint8 MaxSectionType = 2;
constexpr quint8 MaxSlope = 5;
constexpr quint8 MaxBandType = FilterChannel::AllPass90;
constexpr quint8 MaxQIndex = QTableSize - 1;

// A frequency kept as whole Hz; false for what a u16 cannot hold.
bool wholeHz(float value, quint16 *out)
{
    if (!std::isfinite(value) || value < 0.0f || value >= 65536.0f)
        return false;
    *out = quint16(value);
    return true;
}

void writeFilterHead(uchar *out, const FilterChannel &f)
{
    out[HpEnableAt] = f.hpEnable ? 1 : 0;
    out[HpTypeAt] = f.hpType;
    out[HpSlopeAt] = f.hpSlope;
    WireFloat::write(out + HpFreqAt, float(f.hpFreq));
    out[LpEnableAt] = f.lpEnable ? 1 : 0;
    out[LpTypeAt] = f.lpType;
    out[LpSlopeAt] = f.lpSlope;
    WireFloat::write(out + LpFreqAt, float(f.lpFreq));
}

using SkippedParts = QVector<PresetImage::SkippedPart>;

void skip(SkippedParts *skipped, bool output, int channel, int part)
{
    if (skipped)
        skipped->append({output, channel, part});
}

void readFilterHead(const uchar *in, FilterChannel *f, SkippedParts *skipped, bool output, int channel)
{
    quint16 hz = 0;
    if (in[HpTypeAt] <= MaxSectionType && in[HpSlopeAt] <= MaxSlope && wholeHz(WireFloat::read(in + HpFreqAt), &hz)) {
        f->hpEnable = in[HpEnableAt] ? 1 : 0;
        f->hpType = in[HpTypeAt];
        f->hpSlope = in[HpSlopeAt];
        f->hpFreq = hz;
    } else {
        skip(skipped, output, channel, PresetImage::SkippedPart::HighPass);
    }
    if (in[LpTypeAt] <= MaxSectionType && in[LpSlopeAt] <= MaxSlope && wholeHz(WireFloat::read(in + LpFreqAt), &hz)) {
        f->lpEnable = in[LpEnableAt] ? 1 : 0;
        f->lpType = in[LpTypeAt];
        f->lpSlope = in[LpSlopeAt];
        f->lpFreq = hz;
    } else {
        skip(skipped, output, channel, PresetImage::SkippedPart::LowPass);
    }
}

void writeFilterBand(uchar *out, const FilterChannel &f, int band)
{
    const size_t b = size_t(band);
    out[BandEnableAt] = f.bandEnable[b] ? 1 : 0;
    out[BandTypeAt] = f.bandType[b];
    WireFloat::write(out + BandFreqAt, float(f.bandFreq[b]));
    WireFloat::write(out + BandGainAt, f.bandGain[b]);
    out[BandQAt] = f.bandQIndex[b];
}

void readFilterBand(const uchar *in, FilterChannel *f, int band, SkippedParts *skipped, bool output, int channel)
{
    const size_t b = size_t(band);
    const float gain = WireFloat::read(in + BandGainAt);
    quint16 hz = 0;
    if (in[BandTypeAt] > MaxBandType || in[BandQAt] > MaxQIndex || !std::isfinite(gain)
        || !wholeHz(WireFloat::read(in + BandFreqAt), &hz)) {
        skip(skipped, output, channel, band);
        return;
    }
    f->bandEnable[b] = in[BandEnableAt] ? 1 : 0;
    f->bandType[b] = in[BandTypeAt];
    f->bandFreq[b] = hz;
    f->bandGain[b] = gain;
    f->bandQIndex[b] = in[BandQAt];
}

void writeMixerRow(uchar *out, const MixerOutput &mix, bool generator)
{
    for (int i = 0; i < MixerOutput::InputCount; ++i) {
        out[MixGainAt + i] = uchar(mix.gain[size_t(i)]);
        out[MixEnableAt + i] = mix.enable[size_t(i)] ? 1 : 0;
    }
    out[MixGeneratorAt] = generator ? 1 : 0;
}

void readMixerRow(const uchar *in, MixerOutput *mix, bool *generator)
{
    mix->decodeGains(in + MixGainAt);
    mix->decodeEnables(in + MixEnableAt);
    *generator = in[MixGeneratorAt] != 0;
}

void writeGenerator(uchar *out, const GeneratorRecord &g)
{
    out[GenMuteAt] = g.mute ? 1 : 0;
    WireFloat::write(out + GenFreqAt, float(g.frequency));
    WireFloat::write(out + GenGainAt, g.gain);
    out[GenSourceAt] = g.source;
}

void readGenerator(const uchar *in, GeneratorRecord *g)
{
    g->mute = in[GenMuteAt] != 0;
    float value = 0.0f;
    if (GeneratorRecord::decodeFloat(in + GenFreqAt, &value))
        g->frequency = GeneratorRecord::wholeFrequency(double(value));
    if (GeneratorRecord::decodeFloat(in + GenGainAt, &value))
        g->gain = qBound(float(GeneratorRecord::MinGain), value, float(GeneratorRecord::MaxGain));
    if (in[GenSourceAt] < GeneratorRecord::SourceCount)
        g->source = in[GenSourceAt];
}

// A delay as the pages take it: not a number keeps what was there, and a
// delay is never negative (the pages limit the top to their ranges).
void readDelay(const uchar *in, float *ms)
{
    const float value = WireFloat::read(in);
    if (std::isfinite(value))
        *ms = qMax(0.0f, value);
}

} // namespace

PresetImage::PresetImage()
{
    for (auto &channel : deq) {
        for (int b = 0; b < DeqBands; ++b)
            channel[size_t(b)] = DeqBand::defaults(b);
    }
}

const PresetImage::Layout &PresetImage::layout(Variant variant)
{
    return variant == Sharc48k ? Layout48k : Layout96k;
}

bool PresetImage::variantOfSize(qint64 size, Variant *variant)
{
    Variant found;
    if (size == Size48k)
        found = Sharc48k;
    else if (size == Size96k)
        found = Sharc96k;
    else
        return false;
    if (variant)
        *variant = found;
    return true;
}

float PresetImage::clamp48kOutputDelay(int output, float ms)
{
    const float limit = output < Outputs / 2 ? Max48kFrontDelay : Max48kRearDelay;
    return ms > limit ? limit : ms;
}

QByteArray PresetImage::pack(Variant variant) const
{
    const Layout &l = layout(variant);
    const bool full = variant == Sharc96k;
    QByteArray data(l.size, '\0');
    auto *out = reinterpret_cast<uchar *>(data.data());

    for (int c = 0; c < In; ++c) {
        const size_t i = size_t(c);
        gates[i].encode(out + l.gate + c * GateSize);
        inputLevels[i].encode(out + l.inputLevel + c * LevelSize);
        out[l.feedback + c] = feedback[i] ? 1 : 0;
        writeFilterHead(out + l.inputFilterHead + c * FilterHeadSize, inputFilters[i]);
        for (int b = 0; b < Bands; ++b)
            writeFilterBand(out + l.inputFilterBands + (c * Bands + b) * FilterBandSize, inputFilters[i], b);
        inputLimiters[i].encode(out + l.inputLimiter + c * LimiterSize);
        if (full) {
            for (int b = 0; b < DeqBands; ++b)
                deq[i][size_t(b)].encode(out + l.deq + (c * DeqBands + b) * DeqSize);
            WireFloat::write(out + l.inputDelay + c * DelaySize, inputDelays[i]);
        }
    }

    writeGenerator(out + l.generator, generator);
    for (int o = 0; o < Out; ++o) {
        const size_t i = size_t(o);
        writeMixerRow(out + l.mixer + o * MixerRowSize, mixer[i], generator.output[i]);
        outputLevels[i].encode(out + l.outputLevel + o * LevelSize);
        writeFilterHead(out + l.outputFilterHead + o * FilterHeadSize, outputFilters[i]);
        for (int b = 0; b < Bands; ++b)
            writeFilterBand(out + l.outputFilterBands + (o * Bands + b) * FilterBandSize, outputFilters[i], b);
        outputLimiters[i].encode(out + l.outputLimiter + o * LimiterSize);
        if (full)
            fir[i].encode(out + l.fir + o * FirSize);
        // A 48 kHz unit has shorter output lines than it could be told.
        const float delay = full ? outputDelays[i] : clamp48kOutputDelay(o, outputDelays[i]);
        WireFloat::write(out + l.outputDelay + o * DelaySize, delay);
    }
    return data;
}

QByteArray PresetImage::SkippedPart::path() const
{
    const QByteArray path = output ? QByteArray("out.") + QByteArray::number(channel + 1)
                                   : QByteArray("in.") + QByteArray(1, char('A' + channel));
    if (part == HighPass)
        return path + ".hpf";
    if (part == LowPass)
        return path + ".lpf";
    return path + ".peq." + QByteArray::number(part + 1);
}

bool PresetImage::unpack(const QByteArray &data, Variant *variant, QVector<SkippedPart> *skipped)
{
    Variant found;
    if (!variantOfSize(data.size(), &found))
        return false;
    if (variant)
        *variant = found;
    const Layout &l = layout(found);
    const bool full = found == Sharc96k;
    const auto *in = reinterpret_cast<const uchar *>(data.constData());

    for (int c = 0; c < In; ++c) {
        const size_t i = size_t(c);
        gates[i] = GateRecord::decode(in + l.gate + c * GateSize);
        const quint8 group = inputLevels[i].group;
        inputLevels[i] = LevelRecord::decode(in + l.inputLevel + c * LevelSize);
        inputLevels[i].group = group;
        feedback[i] = in[l.feedback + c] != 0;
        readFilterHead(in + l.inputFilterHead + c * FilterHeadSize, &inputFilters[i], skipped, false, c);
        for (int b = 0; b < Bands; ++b)
            readFilterBand(in + l.inputFilterBands + (c * Bands + b) * FilterBandSize, &inputFilters[i], b, skipped,
                           false, c);
        inputLimiters[i] = LimiterRecord::decode(in + l.inputLimiter + c * LimiterSize);
        if (full) {
            for (int b = 0; b < DeqBands; ++b)
                deq[i][size_t(b)] = DeqBand::decode(in + l.deq + (c * DeqBands + b) * DeqSize, b);
            readDelay(in + l.inputDelay + c * DelaySize, &inputDelays[i]);
        }
    }

    readGenerator(in + l.generator, &generator);
    for (int o = 0; o < Out; ++o) {
        const size_t i = size_t(o);
        bool fed = false;
        readMixerRow(in + l.mixer + o * MixerRowSize, &mixer[i], &fed);
        generator.output[i] = fed;
        const quint8 group = outputLevels[i].group;
        outputLevels[i] = LevelRecord::decode(in + l.outputLevel + o * LevelSize);
        outputLevels[i].group = group;
        readFilterHead(in + l.outputFilterHead + o * FilterHeadSize, &outputFilters[i], skipped, true, o);
        for (int b = 0; b < Bands; ++b)
            readFilterBand(in + l.outputFilterBands + (o * Bands + b) * FilterBandSize, &outputFilters[i], b, skipped,
                           true, o);
        outputLimiters[i] = LimiterRecord::decode(in + l.outputLimiter + o * LimiterSize);
        // Stored as they come; the FIR page shows a record through its own
        // checks, as it does a record from the unit.
        if (full)
            fir[i] = FirChannel::decode(in + l.fir + o * FirSize);
        readDelay(in + l.outputDelay + o * DelaySize, &outputDelays[i]);
    }
    return true;
}
