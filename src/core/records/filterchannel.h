#pragma once

#include <QtGlobal>

#include <array>

#include "core/dsp/filterresponse.h"

// The Q values a band can take; bands carry an index into this table on the
// wire, in records and on the knob.
constexpr int QTableSize = 65;
extern const std::array<float, QTableSize> qTable;

// The filter state of one channel (high-pass, low-pass, sixteen bands): the
// page's mirror, and the per-channel filter record of preset files. Inputs
// and outputs share the layout, so records copy across unchanged.
struct FilterChannel
{
    static constexpr int Size = 156;
    static constexpr int BandCount = FilterMaxBands;
    static constexpr quint8 DefaultQIndex = 43; // Q 6.00
    // Shelves are drawn with this Q whatever their Q index says.
    static constexpr float ShelfQ = 0.67f;

    enum BandType : quint8 { Peq = 0, LowShelf = 1, HighShelf = 2, AllPass180 = 3, AllPass90 = 4 };

    std::array<quint8, BandCount> bandEnable;
    std::array<quint8, BandCount> bandType;
    std::array<quint8, BandCount> bandQIndex;
    std::array<quint16, BandCount> bandFreq;
    std::array<float, BandCount> bandGain;
    quint8 hpType = 0;
    quint8 hpSlope = 0;
    quint16 hpFreq = 20;
    quint8 hpEnable = 0;
    quint8 lpType = 0;
    quint8 lpSlope = 0;
    quint16 lpFreq = 20000;
    quint8 lpEnable = 0;

    FilterChannel();

    // `out` and `in` hold Size bytes. Bytes 151 (alignment gap) and 155
    // (reserved) are written as 0 and ignored when read.
    void encode(uchar *out) const;
    static FilterChannel decode(const uchar *in);

    // The Q the response is drawn with for `band`.
    float bandQ(int band) const;

    // The record as the response computation sees it.
    FilterChannelParams responseParams() const;

    bool operator==(const FilterChannel &other) const;
    bool operator!=(const FilterChannel &other) const { return !(*this == other); }
};
