#include "firmodule.h"

#include <QtEndian>

#include "core/link/frame.h"
#include "virtualunit.h"

namespace {

enum Param : quint8 { RecordParam = 1, ClearParam = 2 };

} // namespace

FirModule::FirModule(int family)
    : m_maxTaps(family == 1 ? 512 : 256)
    , m_sampleRate(family == 1 ? 96000.0 : 48000.0)
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
        if (frame.param == RecordParam && p.size() == 1) {
            QByteArray out = p;
            out += records[size_t(channel)];
            unit.sendReport(Frame::Module, Frame::Fir, RecordParam, out);
        }
        return true;
    }
    if (frame.op != Frame::Set)
        return true;
    if (frame.param == RecordParam && p.size() == 1 + FirChannel::Size) {
        const quint16 taps = qFromLittleEndian<quint16>(p.constData() + 2);
        if (int(taps) <= m_maxTaps)
            records[size_t(channel)] = p.mid(1);
    } else if (frame.param == ClearParam && p.size() == 1) {
        records[size_t(channel)] = defaultRecord();
    }
    return true;
}
