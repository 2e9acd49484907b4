#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>

// One output's FIR filter (module 17): the page's mirror, the set payload
// after the channel byte, and the FIR record of preset files.
//
// Wire layout, 2066 bytes, little-endian:
//   external u8 | taps u16 | firType u8 | lowFreq f32 | highFreq f32 |
//   window u8 | kaiserBeta f32 | enable u8 | 512 x f32 coefficients
// The first 18 bytes are the header, which is also the whole content of a
// ".chFIR" design file. The unit runs the coefficients backwards: the record
// holds the last tap first, and only the first `taps` entries are used.
struct FirChannel
{
    static constexpr int HeaderSize = 18;
    static constexpr int MaxTaps = 512;
    static constexpr int Size = HeaderSize + 4 * MaxTaps;

    enum Type : quint8 { LowPass = 1, HighPass = 2, BandPass = 3, External = 4 };

    static constexpr float MinFreq = 20.0f;
    static constexpr float MaxFreq = 20000.0f;
    static constexpr int MinWindow = 1;
    static constexpr int MaxWindow = 7;
    static constexpr int MaxKaiserBeta = 10;

    quint8 external = 0;
    quint16 taps = 256;
    quint8 firType = BandPass;
    float lowFreq = 500.0f;
    float highFreq = 5000.0f;
    quint8 window = 1;
    float kaiserBeta = 10.0f;
    quint8 enable = 0;
    // In the unit's order: coefficients[0] is the last tap.
    std::array<float, MaxTaps> coefficients{};

    // The defaults with the coefficients their parameters design to at
    // `sampleRate`: what a unit holds after "Clear".
    static FirChannel designedDefaults(double sampleRate);

    // `out` holds Size bytes (HeaderSize for the header alone).
    void encode(uchar *out) const;
    void encodeHeader(uchar *out) const;
    QByteArray toBytes() const;
    QByteArray headerBytes() const;

    // Reads a record as it comes, field by field; the page checks what it
    // can show. The header-only form leaves the coefficients zero.
    static FirChannel decode(const uchar *in);
    static FirChannel decodeHeader(const uchar *in);

    // The record as the page shows it: a type outside 1..4 becomes band
    // pass (external when the external flag is set), taps are limited to
    // MaxTaps, a window outside 1..7 becomes "Rectangle", the beta a whole
    // number 0..10 (NaN: 10), frequencies 20..20000 Hz (NaN: the defaults)
    // and non-finite coefficients 0. Records from the unit or a preset file
    // are stored as they come and shown through this.
    FirChannel normalised() const;

    // Coefficients in design order (first tap first) in and out of the
    // reversed store; `count` above MaxTaps is limited, the rest is zeroed.
    void setDesignCoefficients(const float *designOrder, int count);
    void designCoefficients(float *out) const;

    // Byte for byte, as the page compares records.
    bool operator==(const FirChannel &other) const;
    bool operator!=(const FirChannel &other) const { return !(*this == other); }
};
