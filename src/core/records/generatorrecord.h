#pragma once

#include <QtGlobal>

#include <array>

// The test-signal generator (module 8): the page's mirror and the generator
// part of preset files. Source, frequency, gain and mute are global and
// travel without a channel byte (params 2 to 5); only the routing onto an
// output (param 1) carries the output as its channel byte.
struct GeneratorRecord
{
    enum Source : quint8 { PinkNoise = 0, Sine = 1, WhiteNoise = 2 };
    static constexpr int SourceCount = 3;
    static constexpr int OutputCount = 8;

    static constexpr quint16 DefaultFrequency = 1000;
    // What the operator may type; the unit's sine covers the audio band.
    static constexpr int MinFrequency = 20;
    static constexpr int MaxFrequency = 20000;
    static constexpr int MinGain = -70;
    static constexpr int MaxGain = 12;
    static constexpr int DefaultGain = -30;

    // Payload sizes of the params.
    static constexpr int RoutingSize = 1; // after the output byte
    static constexpr int FrequencySize = 4;
    static constexpr int SourceSize = 1;
    static constexpr int GainSize = 4;
    static constexpr int MuteSize = 1;

    bool mute = false;
    quint16 frequency = DefaultFrequency;
    quint8 source = Sine;
    float gain = DefaultGain;
    std::array<bool, OutputCount> output{};

    static void encodeFloat(uchar *out, float value);
    // False for NaN and infinities.
    static bool decodeFloat(const uchar *in, float *value);

    // The whole Hz a received or typed frequency is kept as.
    static quint16 wholeFrequency(double hz);
    static int boundGain(int dB);
};
