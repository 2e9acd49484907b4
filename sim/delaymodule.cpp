#include "delaymodule.h"

#include <cmath>

#include "core/link/frame.h"
#include "core/protocol/protocol.h"
#include "core/records/delayrecord.h"
#include "virtualunit.h"

namespace {

namespace D = Protocol::Delay;

} // namespace

DelayModule::DelayModule(Protocol::Family family)
    : m_family(family)
{
}

bool DelayModule::hasInputDelay() const
{
    return Protocol::module(Frame::InDelay)->in(m_family);
}

float DelayModule::stored(int output, float ms) const
{
    if (!std::isfinite(ms))
        return 0.0f;
    const bool reduced = Protocol::familyInfo(m_family).reducedOutputDelay;
    const int maxMs = output < 0 ? DelayRecord::InputMaxMs : DelayRecord::outputMaxMs(output, reduced);
    double value = qBound(0.0, double(ms), double(maxMs));
    if (reduced && output >= 0)
        value = qMin(DelayRecord::snapToEvenHundredths(value), double(maxMs));
    return float(value);
}

bool DelayModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::Module || (frame.module != Frame::InDelay && frame.module != Frame::OutDelay))
        return false;
    const bool input = frame.module == Frame::InDelay;
    if ((input && !hasInputDelay()) || frame.param != D::Milliseconds || frame.payload.isEmpty())
        return true;
    const QByteArray &p = frame.payload;
    const int channel = quint8(p.at(0));
    if (channel >= (input ? Inputs : Outputs))
        return true;
    float &delay = input ? inputs[size_t(channel)] : outputs[size_t(channel)];
    if (frame.op == Frame::Query && p.size() == Protocol::QuerySize<D::params, D::Milliseconds>) {
        QByteArray report(Protocol::ReportSize<D::params, D::Milliseconds>, '\0');
        report[0] = char(channel);
        DelayRecord{delay}.encode(reinterpret_cast<uchar *>(report.data()) + 1);
        unit.sendReport(Frame::Module, frame.module, D::Milliseconds, report);
    } else if (frame.op == Frame::Set && p.size() == Protocol::SetSize<D::params, D::Milliseconds>) {
        DelayRecord record;
        if (record.decode(reinterpret_cast<const uchar *>(p.constData()) + 1))
            delay = stored(input ? -1 : channel, record.ms);
    }
    return true;
}
