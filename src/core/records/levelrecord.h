#pragma once

#include <QtGlobal>

// One channel of a level module (input level, module 1; output level,
// module 9): the page's mirror of the unit. On the wire every field travels
// in its own message; encode()/decode() give the 6-byte record of preset
// files (gain f32, mute u8, invert u8), which has no room for the group.
struct LevelRecord
{
    static constexpr int FileSize = 6;
    static constexpr float MinGain = -70.0f;
    static constexpr float MaxGain = 12.0f;
    // Groups: 0 is "no group"; the input page offers 2 groups, the output page 4.
    static constexpr quint8 InputGroups = 2;
    static constexpr quint8 OutputGroups = 4;

    float gain = 0.0f;
    bool mute = false;
    bool invert = false;
    quint8 group = 0;

    // `out` and `in` hold FileSize bytes.
    void encode(uchar *out) const;
    static LevelRecord decode(const uchar *in);

    // Limits a gain to the fader's range; NaN gives 0 dB.
    static float clampGain(float gain);

    bool operator==(const LevelRecord &other) const;
    bool operator!=(const LevelRecord &other) const { return !(*this == other); }
};
