#pragma once

#include <QtGlobal>

// One channel of a compressor/limiter (input limiter, module 5; output
// limiter, module 11): the page's mirror, the set payload after the channel
// byte, and the limiter record of preset files. Inputs and outputs share the
// layout, so a record copies across unchanged.
//
// Wire layout, 17 bytes, little-endian: enable u8, threshold f32 (dB),
// ratio f32, attack f32 (ms), decay f32 (ms). Ratio, attack and decay are
// whole numbers carried as floats.
struct LimiterRecord
{
    static constexpr int Size = 17;

    static constexpr float MinThreshold = -120.0f;
    static constexpr float MaxThreshold = 24.0f;
    static constexpr int MinRatio = 1;
    static constexpr int MaxRatio = 100;
    static constexpr int MinAttack = 1;
    static constexpr int MaxAttack = 1000;
    static constexpr int MinDecay = 5;
    static constexpr int MaxDecay = 1000;

    bool enable = false;
    float threshold = 0.0f;
    quint8 ratio = 2;
    quint16 attack = 1;
    quint16 decay = 5;

    // `out` and `in` hold Size bytes.
    void encode(uchar *out) const;
    // Floats for whole-number fields are truncated toward zero; every field
    // is limited to its range, and a NaN or infinite float from the unit
    // gives that field's default instead of an undefined conversion.
    static LimiterRecord decode(const uchar *in);

    // The operator's entries, limited the way the page's fields limit them.
    static float clampThreshold(double value);
    static quint8 clampRatio(double value);
    static quint16 clampAttack(double value);
    static quint16 clampDecay(double value);

    bool operator==(const LimiterRecord &other) const;
    bool operator!=(const LimiterRecord &other) const { return !(*this == other); }
};
