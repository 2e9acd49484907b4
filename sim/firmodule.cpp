#include "firmodule.h"

#include <QtEndian>

#include "core/link/frame.h"
#include "core/protocol/protocol.h"
#include "virtualunit.h"

namespace {

namespace F = Protocol::Fir;

} // namespace

FirModule::FirModule(Protocol::Family family)
    : m_maxTaps(Protocol::familyInfo(family).firTaps)
    , m_sampleRate(Protocol::familyInfo(family).sampleRate)
{
    const QByteArray initial = defaultRecord();
    records.fill(initial);
}

QByteArray FirModule::defaultRecord() const
{
    return FirChannel::designedDefaults(m_sampleRate).toBytes();
}

bool FirModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::Module || frame.module != Frame::Fir)
        return false;
    const QByteArray &p = frame.payload;
    if (p.isEmpty() || quint8(p.at(0)) >= Outputs)
        return true;
    const int channel = quint8(p.at(0));

    if (frame.op == Frame::Query) {
        if (frame.param == F::Record && p.size() == Protocol::QuerySize<F::params, F::Record>) {
            QByteArray out = p;
            out += records[size_t(channel)];
            unit.sendReport(Frame::Module, Frame::Fir, F::Record, out);
        }
        return true;
    }
    if (frame.op != Frame::Set)
        return true;
    if (frame.param == F::Record && p.size() == Protocol::SetSize<F::params, F::Record>) {
        const quint16 taps = qFromLittleEndian<quint16>(p.constData() + 2);
        if (int(taps) <= m_maxTaps)
            records[size_t(channel)] = p.mid(1);
    } else if (frame.param == F::Clear && p.size() == Protocol::SetSize<F::params, F::Clear>) {
        records[size_t(channel)] = defaultRecord();
    }
    return true;
}
