#include "limitermodule.h"

#include <cmath>

#include "levelmodule.h"
#include "core/link/frame.h"
#include "core/protocol/protocol.h"
#include "systemmodule.h"
#include "virtualunit.h"

namespace {

namespace L = Protocol::Limiter;

} // namespace

void LimiterModule::restoreDefaults()
{
    inputs.fill(LimiterRecord());
    outputs.fill(LimiterRecord());
}

int LimiterModule::compress(bool input, int channel, int level) const
{
    const int channels = input ? Inputs : Outputs;
    if (channel < 0 || channel >= channels || level <= LevelModule::Floor)
        return level;
    const LimiterRecord &r = input ? inputs[size_t(channel)] : outputs[size_t(channel)];
    const double threshold = double(r.threshold);
    if (!r.enable || level <= threshold)
        return level;
    const double out = r.ratio >= LimiterRecord::MaxRatio ? threshold : threshold + (level - threshold) / r.ratio;
    return int(std::lround(out));
}

void LimiterModule::tick(VirtualUnit &unit)
{
    if (unit.system().configResets != m_seenConfigResets) {
        m_seenConfigResets = unit.system().configResets;
        restoreDefaults();
    }
}

bool LimiterModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::Module || (frame.module != Frame::InLimiter && frame.module != Frame::OutLimiter))
        return false;
    const bool input = frame.module == Frame::InLimiter;
    const int channels = input ? Inputs : Outputs;
    LimiterRecord *records = input ? inputs.data() : outputs.data();
    const QByteArray &p = frame.payload;
    const uchar *bytes = reinterpret_cast<const uchar *>(p.constData());

    if (frame.param == L::Levels && frame.op == Frame::Query) {
        const auto *levels = unit.findModule<LevelModule>();
        QByteArray report(Protocol::ReportSize<L::params, L::Levels> * channels, '\0');
        for (int c = 0; c < channels; ++c) {
            int in = LevelModule::Floor;
            if (levels)
                in = input ? levels->inputMeter(c) : levels->outputMeter(unit, c);
            report[2 * c] = char(qint8(in));
            report[2 * c + 1] = char(qint8(compress(input, c, in)));
        }
        unit.sendReport(Frame::Module, frame.module, L::Levels, report);
        return true;
    }
    if (p.isEmpty() || bytes[0] >= channels)
        return true;
    const int c = bytes[0];
    switch (frame.param) {
    case L::Record:
        if (frame.op == Frame::Query && p.size() == Protocol::QuerySize<L::params, L::Record>) {
            QByteArray report(Protocol::ReportSize<L::params, L::Record>, '\0');
            report[0] = char(c);
            records[c].encode(reinterpret_cast<uchar *>(report.data()) + 1);
            unit.sendReport(Frame::Module, frame.module, L::Record, report);
        } else if (frame.op == Frame::Set && p.size() == Protocol::SetSize<L::params, L::Record>) {
            records[c] = LimiterRecord::decode(bytes + 1);
        }
        break;
    case L::Copy:
        // [channel, input mask, output mask] from either module: the first
        // mask always names inputs.
        if (frame.op == Frame::Set && p.size() == Protocol::SetSize<L::params, L::Copy>) {
            const LimiterRecord source = records[c];
            for (int i = 0; i < Inputs; ++i) {
                if (bytes[1] & (1u << i))
                    inputs[size_t(i)] = source;
            }
            for (int o = 0; o < Outputs; ++o) {
                if (bytes[2] & (1u << o))
                    outputs[size_t(o)] = source;
            }
        }
        break;
    case L::Reset:
        if (frame.op == Frame::Set && p.size() == Protocol::SetSize<L::params, L::Reset>)
            records[c] = LimiterRecord();
        break;
    default:
        break;
    }
    return true;
}
