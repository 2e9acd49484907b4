#pragma once

#include <QtGlobal>

// The noise gate of one input: the page's mirror, the body of the module-2
// param-2 messages and the gate part of preset files.
//
// On the wire (13 bytes after the channel byte) every value is a float:
// enable u8, threshold f32, attack f32, decay f32. The unit keeps whole
// numbers, so received values are truncated toward zero and pulled into the
// ranges below.
struct GateRecord
{
    static constexpr int WireSize = 13;

    static constexpr int MinThreshold = -120;
    static constexpr int MaxThreshold = 0;
    static constexpr int DefaultThreshold = -65;
    static constexpr int MinAttack = 1;
    static constexpr int MaxAttack = 1000;
    static constexpr int MinDecay = 20;
    static constexpr int MaxDecay = 1000;

    bool enable = false;
    qint8 threshold = DefaultThreshold;
    quint16 attack = MinAttack;
    quint16 decay = MinDecay;

    // `out` and `in` hold WireSize bytes.
    void encode(uchar *out) const;
    static GateRecord decode(const uchar *in);

    // Operator entries are pulled into range the same way.
    static qint8 boundThreshold(int dB);
    static quint16 boundAttack(int ms);
    static quint16 boundDecay(int ms);

    bool operator==(const GateRecord &other) const;
    bool operator!=(const GateRecord &other) const { return !(*this == other); }
};
