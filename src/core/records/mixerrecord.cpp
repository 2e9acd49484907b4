#include "mixerrecord.h"

static_assert(MixerOutput::ReportSize == 4, "mixer report layout");

void MixerOutput::decodeEnables(const uchar *in)
{
    for (int i = 0; i < InputCount; ++i)
        enable[size_t(i)] = in[i] != 0;
}

void MixerOutput::decodeGains(const uchar *in)
{
    for (int i = 0; i < InputCount; ++i)
        gain[size_t(i)] = boundGain(qint8(in[i]));
}

void MixerOutput::encodeEnables(uchar *out) const
{
    for (int i = 0; i < InputCount; ++i)
        out[i] = enable[size_t(i)] ? 1 : 0;
}

void MixerOutput::encodeGains(uchar *out) const
{
    for (int i = 0; i < InputCount; ++i)
        out[i] = uchar(gain[size_t(i)]);
}

QByteArray MixerOutput::setPayload(std::initializer_list<quint8> inputs, quint8 value)
{
    QByteArray bytes;
    bytes.reserve(int(inputs.size()) + 1);
    for (quint8 input : inputs)
        bytes.append(char(input));
    bytes.append(char(value));
    return bytes;
}

qint8 MixerOutput::boundGain(int dB)
{
    return qint8(qBound(MinGain, dB, MaxGain));
}
