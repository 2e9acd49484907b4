#pragma once

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

#include <array>

#include "core/records/deqband.h"
#include "core/records/filterchannel.h"
#include "core/records/firchannel.h"
#include "core/records/gaterecord.h"
#include "core/records/generatorrecord.h"
#include "core/records/levelrecord.h"
#include "core/records/limiterrecord.h"
#include "core/records/mixerrecord.h"

// The complete parameter state of the function pages as an offline preset
// file (".pst1", made and loaded without a unit) carries it.
//
// There are two layouts, one per processor variant, told apart by nothing
// but their size: the 48 kHz image (2726 bytes) and the 96 kHz image
// (19642 bytes), which adds the input delays, the dynamic EQ and the FIR
// records and places the output-side blocks differently. No header, magic
// number or checksum: the unit's own editor never wrote one, and files in the
// field must keep loading.
//
// Whole-number settings the pages keep as integers (gate threshold, attack
// and decay, limiter ratio, attack and decay, filter and generator
// frequencies) are widened to f32 on file and truncated toward zero when
// read back.
struct PresetImage
{
    enum Variant : quint8 { Sharc48k = 0, Sharc96k = 1 };

    static constexpr int Inputs = 4;
    static constexpr int Outputs = 8;
    static constexpr int DeqBands = DeqBand::BandsPerChannel;
    static constexpr int FilterBands = FilterChannel::BandCount;

    static constexpr int Size48k = 2726;
    static constexpr int Size96k = 19642;

    // Sizes of the records on file.
    static constexpr int GateSize = GateRecord::WireSize;
    static constexpr int LevelSize = LevelRecord::FileSize;
    static constexpr int FeedbackSize = 1;
    static constexpr int FilterHeadSize = 14;
    static constexpr int FilterBandSize = 11;
    static constexpr int LimiterSize = LimiterRecord::Size;
    static constexpr int MixerRowSize = 9;
    static constexpr int GeneratorSize = 10;
    static constexpr int DeqSize = DeqBand::Size;
    static constexpr int FirSize = FirChannel::Size;
    static constexpr int DelaySize = 4;

    // Where each block starts; -1 for blocks the layout does not have.
    struct Layout
    {
        int gate;
        int inputLevel;
        int feedback;
        int inputFilterHead;
        int inputFilterBands;
        int inputLimiter;
        int deq;
        int inputDelay;
        int mixer;
        int generator;
        int outputLevel;
        int fir;
        int outputFilterHead;
        int outputFilterBands;
        int outputLimiter;
        int outputDelay;
        int size;
    };
    static const Layout &layout(Variant variant);

    // The output delays of a 48 kHz unit: 218 ms on outputs 0 to 3, 148 ms
    // on outputs 4 to 7.
    static constexpr float Max48kFrontDelay = 218.0f;
    static constexpr float Max48kRearDelay = 148.0f;

    std::array<GateRecord, Inputs> gates{};
    std::array<LevelRecord, Inputs> inputLevels{};
    std::array<bool, Inputs> feedback{};
    std::array<FilterChannel, Inputs> inputFilters;
    std::array<LimiterRecord, Inputs> inputLimiters{};
    std::array<std::array<DeqBand, DeqBands>, Inputs> deq;
    std::array<float, Inputs> inputDelays{};
    // Each output's cross-points; whether the generator feeds an output is
    // GeneratorRecord::output, which the file keeps in the mixer row.
    std::array<MixerOutput, Outputs> mixer{};
    GeneratorRecord generator;
    std::array<LevelRecord, Outputs> outputLevels{};
    std::array<FirChannel, Outputs> fir;
    std::array<FilterChannel, Outputs> outputFilters;
    std::array<LimiterRecord, Outputs> outputLimiters{};
    std::array<float, Outputs> outputDelays{};

    // Every record at its default.
    PresetImage();

    static int sizeOf(Variant variant) { return layout(variant).size; }
    // The variant an image of `size` bytes holds; false for any other size.
    static bool variantOfSize(qint64 size, Variant *variant);

    // The whole image; every byte is written.
    QByteArray pack(Variant variant) const;
    QByteArray pack48k() const { return pack(Sharc48k); }
    QByteArray pack96k() const { return pack(Sharc96k); }

    // Loads an image over this state, taking each value as a reply from the
    // unit would be taken: flags are true when non-zero, whole numbers are
    // truncated, values are limited the way the records limit replies, and a
    // filter section or band a page could not show (unknown type, slope or
    // Q index, a frequency that is not a number) keeps what this state held.
    // What the layout does not carry (the 48 kHz image has no input delay,
    // dynamic EQ or FIR; no image has link groups) is left as it is.
    // Returns false, changing nothing, when the size is neither layout's.
    // The parts left out are added to `skipped`, in file order.
    struct SkippedPart
    {
        static constexpr int HighPass = -1;
        static constexpr int LowPass = -2;
        bool output = false;
        int channel = 0;
        int part = HighPass; // a filter band 0-15, or HighPass, LowPass
        // The stable parameter name: "in.A.hpf", "out.3.peq.5".
        QByteArray path() const;
        bool operator==(const SkippedPart &other) const
        {
            return output == other.output && channel == other.channel && part == other.part;
        }
    };
    bool unpack(const QByteArray &data, Variant *variant = nullptr, QVector<SkippedPart> *skipped = nullptr);

    // What the 48 kHz image stores for `ms` on output `output`.
    static float clamp48kOutputDelay(int output, float ms);
};
