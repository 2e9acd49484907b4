#include "mixermodule.h"

#include "core/link/frame.h"
#include "virtualunit.h"

namespace {

constexpr quint8 EnableParam = 1;
constexpr quint8 GainParam = 2;

} // namespace

bool MixerModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::Module || frame.module != Frame::MatrixMixer)
        return false;
    const QByteArray &p = frame.payload;
    if ((frame.param != EnableParam && frame.param != GainParam) || p.isEmpty() || quint8(p.at(0)) >= Outputs)
        return true;
    const int output = quint8(p.at(0));
    MixerOutput &mix = outputs[size_t(output)];

    if (frame.op == Frame::Query && p.size() == 1) {
        QByteArray report(1 + MixerOutput::ReportSize, '\0');
        report[0] = char(output);
        uchar *values = reinterpret_cast<uchar *>(report.data()) + 1;
        if (frame.param == EnableParam)
            mix.encodeEnables(values);
        else
            mix.encodeGains(values);
        unit.sendReport(Frame::Module, Frame::MatrixMixer, frame.param, report);
        return true;
    }
    // [output, input 1 .. input k, value] with 1 <= k <= 4.
    if (frame.op != Frame::Set || p.size() < 3 || p.size() > 2 + MixerOutput::InputCount)
        return true;
    const int count = p.size() - 2;
    for (int k = 0; k < count; ++k) {
        if (quint8(p.at(1 + k)) >= MixerOutput::InputCount)
            return true;
    }
    const quint8 value = quint8(p.at(p.size() - 1));
    for (int k = 0; k < count; ++k) {
        const size_t input = quint8(p.at(1 + k));
        if (frame.param == EnableParam)
            mix.enable[input] = value != 0;
        else
            mix.gain[input] = MixerOutput::boundGain(qint8(value));
    }
    return true;
}
