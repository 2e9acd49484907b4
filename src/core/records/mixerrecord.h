#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>
#include <initializer_list>

// The four cross-points feeding one output of the matrix mixer (module 7):
// the page's mirror and the mixer part of preset files.
//
// Module 7 messages use the output as the channel byte. Reports carry the
// four enables (param 1) or the four gains as i8 (param 2) after it; sets
// list the inputs they change followed by one value for all of them, so one
// frame switches a single cross-point or a whole row.
struct MixerOutput
{
    static constexpr int InputCount = 4;
    static constexpr int ReportSize = InputCount; // after the output byte
    static constexpr int MinGain = -70;
    static constexpr int MaxGain = 12;

    std::array<bool, InputCount> enable{};
    std::array<qint8, InputCount> gain{};

    // `in` holds ReportSize bytes. Gains outside the range are pulled in.
    void decodeEnables(const uchar *in);
    void decodeGains(const uchar *in);
    void encodeEnables(uchar *out) const;
    void encodeGains(uchar *out) const;

    // The set payload after the output byte: the inputs, then the value.
    static QByteArray setPayload(std::initializer_list<quint8> inputs, quint8 value);
    static QByteArray allInputsPayload(quint8 value) { return setPayload({0, 1, 2, 3}, value); }

    static qint8 boundGain(int dB);

    bool operator==(const MixerOutput &other) const { return enable == other.enable && gain == other.gain; }
    bool operator!=(const MixerOutput &other) const { return !(*this == other); }
};
