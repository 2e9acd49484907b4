#include "mixermodule.h"

#include "core/link/frame.h"
#include "core/protocol/protocol.h"
#include "virtualunit.h"

namespace {

namespace M = Protocol::Mixer;
constexpr Protocol::Length SetLength = Protocol::find(M::params, M::Enable).set.length;

} // namespace

bool MixerModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::Module || frame.module != Frame::MatrixMixer)
        return false;
    const QByteArray &p = frame.payload;
    if ((frame.param != M::Enable && frame.param != M::Gain) || p.isEmpty() || quint8(p.at(0)) >= Outputs)
        return true;
    const int output = quint8(p.at(0));
    MixerOutput &mix = outputs[size_t(output)];

    if (frame.op == Frame::Query && p.size() == Protocol::QuerySize<M::params, M::Enable>) {
        QByteArray report(Protocol::ReportSize<M::params, M::Enable>, '\0');
        report[0] = char(output);
        uchar *values = reinterpret_cast<uchar *>(report.data()) + 1;
        if (frame.param == M::Enable)
            mix.encodeEnables(values);
        else
            mix.encodeGains(values);
        unit.sendReport(Frame::Module, Frame::MatrixMixer, frame.param, report);
        return true;
    }
    // [output, input 1 .. input k, value] with 1 <= k <= 4.
    if (frame.op != Frame::Set || !SetLength.fits(p.size()))
        return true;
    const int count = p.size() - 2;
    for (int k = 0; k < count; ++k) {
        if (quint8(p.at(1 + k)) >= MixerOutput::InputCount)
            return true;
    }
    const quint8 value = quint8(p.at(p.size() - 1));
    for (int k = 0; k < count; ++k) {
        const size_t input = quint8(p.at(1 + k));
        if (frame.param == M::Enable)
            mix.enable[input] = value != 0;
        else
            mix.gain[input] = MixerOutput::boundGain(qint8(value));
    }
    return true;
}
