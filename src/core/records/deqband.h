#pragma once

#include <QtGlobal>

#include <array>

// One band of the dynamic equaliser (module 16): the page's mirror, the set
// payload after the channel and band bytes, and, three bands per input, the
// dynamic-EQ record of preset files.
//
// Wire layout, 31 bytes, little-endian: bypass u8, type u8, freq f32 (Hz),
// gain f32 (dB, a magnitude: the sign follows from the mode), q f32,
// threshold f32 (dB), attack f32 (ms), release f32 (ms), ratio f32, mode u8.
struct DeqBand
{
    static constexpr int Size = 31;
    static constexpr int BandsPerChannel = 3;
    static constexpr int ChannelSize = Size * BandsPerChannel;

    enum Type : quint8 { Peq = 0, LowShelf = 1, HighShelf = 2 };
    enum Mode : quint8 { BoostBelow = 1, CutAbove = 2 };

    static constexpr float MinFreq = 20.0f;
    static constexpr float MaxFreq = 20000.0f;
    static constexpr float MaxGain = 12.0f;
    static constexpr float MinQ = 0.27f;
    static constexpr float MaxQ = 15.0f;
    static constexpr float MinThreshold = -90.0f;
    static constexpr float MaxThreshold = 12.0f;
    static constexpr float MinTime = 1.0f; // attack and release, ms
    static constexpr float MaxTime = 2895.0f;
    static constexpr float MinRatio = 1.0f;
    static constexpr float MaxRatio = 100.0f;
    // Shelves are drawn with this Q whatever their own Q says; the stored Q
    // travels unchanged.
    static constexpr float ShelfQ = 0.71f;

    quint8 bypass = 1;
    quint8 type = Peq;
    float freq = 100.0f;
    float gain = 0.0f;
    float q = 6.0f;
    float threshold = 0.0f;
    float attack = 1.0f;
    float release = 1.0f;
    float ratio = 1.0f;
    quint8 mode = BoostBelow;

    // The defaults of band 0..2 (100, 300 and 500 Hz).
    static DeqBand defaults(int band);

    // `out` and `in` hold Size bytes.
    void encode(uchar *out) const;
    std::array<uchar, Size> bytes() const;
    // Reads a band from the unit or a file. Every field is brought into its
    // range: a NaN or infinite float gives the field's default, a finite one
    // is limited to the range (the gain as a magnitude), attack and release
    // keep whole milliseconds, an unknown type gives "PEQ" and an unknown
    // mode "Boost Below". So a record that passes through here is one the
    // page can show and the graph can draw.
    static DeqBand decode(const uchar *in, int band = 0);

    // The signed gain the graph draws: +gain below, -gain above.
    float signedGain() const { return mode == CutAbove ? -gain : gain; }
    // The Q the graph draws.
    float drawnQ() const { return type == Peq ? q : ShelfQ; }

    // Byte for byte, as the page compares records.
    bool operator==(const DeqBand &other) const { return bytes() == other.bytes(); }
    bool operator!=(const DeqBand &other) const { return !(*this == other); }
};
