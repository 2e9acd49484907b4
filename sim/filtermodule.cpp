#include "filtermodule.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

#include "core/link/frame.h"
#include "core/protocol/protocol.h"
#include "virtualunit.h"

namespace {

namespace F = Protocol::Filter;
using F::Band;
using F::Copy;
using F::HighPass;
using F::LowPass;
using F::Reset;

constexpr int SectionReportSize = Protocol::ReportSize<F::params, HighPass>;
constexpr int BandReportSize = Protocol::ReportSize<F::params, Band>;
constexpr int SectionSetSize = Protocol::SetSize<F::params, HighPass>;
constexpr int BandSetSize = Protocol::SetSize<F::params, Band>;

void writeFloat(char *p, float v)
{
    quint32 bits;
    std::memcpy(&bits, &v, sizeof bits);
    qToLittleEndian<quint32>(bits, p);
}

float readFloat(const char *p)
{
    const quint32 bits = qFromLittleEndian<quint32>(p);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// The unit keeps whole hertz within the range its filters accept.
quint16 storedFrequency(float value)
{
    return quint16(std::trunc(qBound(20.0f, value, 20000.0f)));
}

} // namespace

FilterChannel *FilterModule::record(quint8 module, int channel)
{
    if (module == Frame::InFilter && channel >= 0 && channel < Inputs)
        return &inputs[size_t(channel)];
    if (module == Frame::OutFilter && channel >= 0 && channel < Outputs)
        return &outputs[size_t(channel)];
    return nullptr;
}

bool FilterModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::Module || (frame.module != Frame::InFilter && frame.module != Frame::OutFilter))
        return false;
    const QByteArray &p = frame.payload;
    if (p.isEmpty())
        return true;
    const quint8 channel = quint8(p.at(0));
    FilterChannel *r = record(frame.module, channel);
    if (!r)
        return true;

    if (frame.op == Frame::Query) {
        if (frame.param == HighPass || frame.param == LowPass) {
            if (p.size() == Protocol::QuerySize<F::params, HighPass>)
                report(unit, frame.module, frame.param, *r, channel, -1);
        } else if (frame.param == Band) {
            if (p.size() == Protocol::QuerySize<F::params, Band> && quint8(p.at(1)) < FilterChannel::BandCount)
                report(unit, frame.module, frame.param, *r, channel, quint8(p.at(1)));
        }
        return true;
    }
    if (frame.op != Frame::Set)
        return true;
    switch (frame.param) {
    case HighPass:
    case LowPass:
    case Band:
        set(frame.module, frame.param, p);
        break;
    case Copy:
        copy(p, frame.module);
        break;
    case Reset:
        if (p.size() == Protocol::SetSize<F::params, Reset>)
            *r = FilterChannel();
        break;
    default:
        break;
    }
    return true;
}

void FilterModule::report(VirtualUnit &unit, quint8 module, quint8 param, const FilterChannel &r, quint8 channel,
                          int band)
{
    QByteArray out;
    if (param == HighPass || param == LowPass) {
        const bool high = param == HighPass;
        out.resize(SectionReportSize);
        out[0] = char(channel);
        out[1] = char(high ? r.hpEnable : r.lpEnable);
        out[2] = char(high ? r.hpType : r.lpType);
        out[3] = char(high ? r.hpSlope : r.lpSlope);
        writeFloat(out.data() + 4, float(high ? r.hpFreq : r.lpFreq));
    } else {
        const size_t b = size_t(band);
        out.resize(BandReportSize);
        out[0] = char(channel);
        out[1] = char(band);
        out[2] = char(r.bandEnable[b]);
        out[3] = char(r.bandType[b]);
        writeFloat(out.data() + 4, float(r.bandFreq[b]));
        writeFloat(out.data() + 8, r.bandGain[b]);
        out[12] = char(r.bandQIndex[b]);
    }
    unit.sendReport(Frame::Module, module, param, out);
}

void FilterModule::set(quint8 module, quint8 param, const QByteArray &p)
{
    FilterChannel *r = record(module, quint8(p.at(0)));
    if (param == HighPass || param == LowPass) {
        if (p.size() != SectionSetSize || quint8(p.at(2)) > 2 || quint8(p.at(3)) > 5
            || !std::isfinite(readFloat(p.constData() + 4)))
            return;
        const quint8 enable = p.at(1) ? 1 : 0;
        const quint16 freq = storedFrequency(readFloat(p.constData() + 4));
        if (param == HighPass) {
            r->hpEnable = enable;
            r->hpType = quint8(p.at(2));
            r->hpSlope = quint8(p.at(3));
            r->hpFreq = freq;
        } else {
            r->lpEnable = enable;
            r->lpType = quint8(p.at(2));
            r->lpSlope = quint8(p.at(3));
            r->lpFreq = freq;
        }
        return;
    }
    const quint8 band = p.size() > 1 ? quint8(p.at(1)) : 0;
    const float gain = p.size() == BandSetSize ? readFloat(p.constData() + 8) : 0.0f;
    if (p.size() != BandSetSize || band >= FilterChannel::BandCount || quint8(p.at(3)) > 4 || quint8(p.at(12)) > 64
        || !std::isfinite(gain) || !std::isfinite(readFloat(p.constData() + 4)))
        return;
    r->bandEnable[band] = p.at(2) ? 1 : 0;
    r->bandType[band] = quint8(p.at(3));
    r->bandFreq[band] = storedFrequency(readFloat(p.constData() + 4));
    r->bandGain[band] = qBound(-20.0f, gain, 20.0f);
    r->bandQIndex[band] = quint8(p.at(12));
}

void FilterModule::copy(const QByteArray &p, quint8 module)
{
    if (p.size() != Protocol::SetSize<F::params, Copy>)
        return;
    const FilterChannel source = *record(module, quint8(p.at(0)));
    const quint8 inputMask = quint8(p.at(1));
    const quint8 outputMask = quint8(p.at(2));
    for (int i = 0; i < Inputs; ++i) {
        if (inputMask & (1u << i))
            inputs[size_t(i)] = source;
    }
    for (int i = 0; i < Outputs; ++i) {
        if (outputMask & (1u << i))
            outputs[size_t(i)] = source;
    }
}
