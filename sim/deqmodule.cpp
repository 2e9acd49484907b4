#include "deqmodule.h"

#include "core/link/frame.h"
#include "core/protocol/protocol.h"
#include "virtualunit.h"

namespace {

namespace D = Protocol::DynamicEq;

} // namespace

DeqModule::DeqModule()
{
    for (int c = 0; c < Inputs; ++c)
        resetChannel(c);
}

void DeqModule::resetChannel(int channel)
{
    for (int b = 0; b < Bands; ++b)
        bands[size_t(channel)][size_t(b)] = DeqBand::defaults(b);
}

bool DeqModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::Module || frame.module != Frame::DynamicEq)
        return false;
    const QByteArray &p = frame.payload;
    if (p.isEmpty() || quint8(p.at(0)) >= Inputs)
        return true;
    const int channel = quint8(p.at(0));
    const auto *bytes = reinterpret_cast<const uchar *>(p.constData());

    if (frame.op == Frame::Query) {
        if (frame.param == D::Band && p.size() == Protocol::QuerySize<D::params, D::Band> && bytes[1] < Bands) {
            QByteArray out(Protocol::ReportSize<D::params, D::Band>, '\0');
            out[0] = char(channel);
            out[1] = char(bytes[1]);
            bands[size_t(channel)][bytes[1]].encode(reinterpret_cast<uchar *>(out.data()) + 2);
            unit.sendReport(Frame::Module, Frame::DynamicEq, D::Band, out);
        }
        return true;
    }
    if (frame.op != Frame::Set)
        return true;
    switch (frame.param) {
    case D::Band:
        if (p.size() == Protocol::SetSize<D::params, D::Band> && bytes[1] < Bands)
            bands[size_t(channel)][bytes[1]] = DeqBand::decode(bytes + 2, bytes[1]);
        break;
    case D::Copy:
        if (p.size() == Protocol::SetSize<D::params, D::Copy>) {
            for (int c = 0; c < Inputs; ++c) {
                if (c != channel && (bytes[1] & (1u << c)))
                    bands[size_t(c)] = bands[size_t(channel)];
            }
        }
        break;
    case D::Reset:
        if (p.size() == Protocol::SetSize<D::params, D::Reset>)
            resetChannel(channel);
        break;
    default:
        break;
    }
    return true;
}
