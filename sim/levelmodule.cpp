#include "levelmodule.h"

#include <QtEndian>

#include <cmath>

#include "limitermodule.h"
#include "core/link/frame.h"
#include "core/protocol/protocol.h"
#include "core/records/wirefloat.h"
#include "generatormodule.h"
#include "mixermodule.h"
#include "systemmodule.h"
#include "virtualunit.h"

namespace {

namespace L = Protocol::Level;
using L::Gain;
using L::Group;
using L::Invert;
using L::Meters;
using L::Mute;
using L::Source;
using L::Trim;

template <quint8 P>
constexpr int SetSize = Protocol::SetSize<L::params, P>;
// Every per-channel param is queried with the channel alone.
constexpr int ChannelQuerySize = Protocol::QuerySize<L::params, L::Gain>;

constexpr double Pi = 3.14159265358979323846;
// Each input's programme: centre level, swing and period (ticks of 100 ms).
constexpr float ProgrammeCentre[LevelModule::Inputs] = {-18.0f, -22.0f, -26.0f, -30.0f};
constexpr float ProgrammeSwing[LevelModule::Inputs] = {8.0f, 10.0f, 6.0f, 12.0f};
constexpr int ProgrammePeriod[LevelModule::Inputs] = {37, 53, 29, 71};

int toMeter(double dB)
{
    if (!std::isfinite(dB) || dB <= LevelModule::Floor)
        return LevelModule::Floor;
    return int(std::lround(qMin(dB, double(LevelModule::Ceiling))));
}

QByteArray f32(float value)
{
    QByteArray bytes(4, '\0');
    WireFloat::write(reinterpret_cast<uchar *>(bytes.data()), value);
    return bytes;
}

} // namespace

LevelModule::LevelModule()
{
    restoreDefaults();
    for (int i = 0; i < Inputs; ++i)
        programme[size_t(i)] = ProgrammeCentre[i];
}

void LevelModule::restoreDefaults()
{
    inputs.fill(LevelRecord());
    outputs.fill(LevelRecord());
    inputTrim.fill(0.0f);
    outputTrim.fill(0.0f);
    sources.fill(0);
}

int LevelModule::inputMeter(int input) const
{
    if (input < 0 || input >= Inputs)
        return Floor;
    const LevelRecord &in = inputs[size_t(input)];
    if (in.mute)
        return Floor;
    return toMeter(double(programme[size_t(input)]) + double(in.gain) + double(inputTrim[size_t(input)]));
}

int LevelModule::outputMeter(const VirtualUnit &unit, int output) const
{
    if (output < 0 || output >= Outputs)
        return Floor;
    const LevelRecord &out = outputs[size_t(output)];
    if (out.mute)
        return Floor;
    const auto *limiters = unit.findModule<LimiterModule>();
    auto afterInputLimiter = [&](int input) {
        const int level = inputMeter(input);
        return limiters ? limiters->compress(true, input, level) : level;
    };
    double feed = Floor;
    if (const auto *mixer = unit.findModule<MixerModule>()) {
        const MixerOutput &row = mixer->outputs[size_t(output)];
        for (int i = 0; i < Inputs; ++i) {
            const int level = afterInputLimiter(i);
            if (row.enable[size_t(i)] && level > Floor)
                feed = qMax(feed, double(level) + row.gain[size_t(i)]);
        }
    } else {
        feed = afterInputLimiter(output % Inputs);
    }
    // The test-signal generator adds to what the matrix feeds the output.
    if (const auto *generator = unit.findModule<GeneratorModule>()) {
        const float level = generator->feedLevel(output);
        if (!std::isnan(level))
            feed = qMax(feed, double(level));
    }
    if (feed <= Floor)
        return Floor;
    return toMeter(feed + double(out.gain) + double(outputTrim[size_t(output)]));
}

void LevelModule::wander()
{
    for (int i = 0; i < Inputs; ++i) {
        const double phase = 2.0 * Pi * (m_ticks % ProgrammePeriod[i]) / ProgrammePeriod[i];
        // Two partials so the level does not look like a metronome.
        programme[size_t(i)] = ProgrammeCentre[i] + ProgrammeSwing[i] * float(0.7 * std::sin(phase)
                                                                               + 0.3 * std::sin(3.1 * phase + i));
    }
}

void LevelModule::tick(VirtualUnit &unit)
{
    ++m_ticks;
    if (!freezeProgramme)
        wander();
    // The calibration dialog's reset command reaches the system module;
    // levels and trims return to their defaults with it.
    if (unit.system().configResets != m_seenConfigResets) {
        m_seenConfigResets = unit.system().configResets;
        restoreDefaults();
    }
}

bool LevelModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::Module || (frame.module != Frame::InLevel && frame.module != Frame::OutLevel))
        return false;
    if (frame.op == Frame::Set)
        handleSet(frame.module, frame);
    else if (frame.op == Frame::Query)
        sendReport(unit, frame.module, frame);
    return true;
}

bool LevelModule::handleSet(quint8 module, const UnitFrame &frame)
{
    const bool input = module == Frame::InLevel;
    const int channels = input ? Inputs : Outputs;
    const QByteArray &p = frame.payload;
    if (p.isEmpty())
        return false;
    const int c = quint8(p.at(0));
    const uchar *value = reinterpret_cast<const uchar *>(p.constData()) + 1;
    LevelRecord *records = input ? inputs.data() : outputs.data();

    if (frame.param == Source) {
        if (!input || p.size() != SetSize<Source> || c >= int(sources.size()) || value[0] > 1)
            return false;
        sources[size_t(c)] = value[0];
        return true;
    }
    if (c >= channels)
        return false;

    // The channels a set applies to: the channel's whole link group.
    auto applyToGroup = [&](auto apply) {
        const quint8 group = records[c].group;
        for (int i = 0; i < channels; ++i) {
            if (i == c || (group != 0 && records[i].group == group))
                apply(records[i]);
        }
    };
    switch (frame.param) {
    case Mute:
        if (p.size() != SetSize<Mute>)
            return false;
        applyToGroup([&](LevelRecord &r) { r.mute = value[0] != 0; });
        return true;
    case Invert:
        if (p.size() != SetSize<Invert>)
            return false;
        applyToGroup([&](LevelRecord &r) { r.invert = value[0] != 0; });
        return true;
    case Gain: {
        if (p.size() != SetSize<Gain>)
            return false;
        const float gain = LevelRecord::clampGain(WireFloat::read(value));
        applyToGroup([&](LevelRecord &r) { r.gain = gain; });
        return true;
    }
    case Group:
        if (p.size() != SetSize<Group> || value[0] > (input ? LevelRecord::InputGroups : LevelRecord::OutputGroups))
            return false;
        records[c].group = value[0];
        return true;
    case Trim: {
        if (p.size() != SetSize<Trim>)
            return false;
        const float trim = LevelRecord::clampGain(WireFloat::read(value));
        (input ? inputTrim.data() : outputTrim.data())[c] = trim;
        return true;
    }
    default:
        return false;
    }
}

void LevelModule::sendReport(VirtualUnit &unit, quint8 module, const UnitFrame &frame)
{
    const bool input = module == Frame::InLevel;
    const int channels = input ? Inputs : Outputs;
    const QByteArray &p = frame.payload;
    if (frame.param == Meters) {
        QByteArray meters(channels, '\0');
        for (int c = 0; c < channels; ++c)
            meters[c] = char(qint8(input ? inputMeter(c) : outputMeter(unit, c)));
        unit.sendReport(Frame::Module, module, Meters, meters);
        return;
    }
    if (frame.param == Source) {
        if (input) {
            // Not QByteArray{a, b}: Qt 5 reads that as (size a, filled with b).
            QByteArray report(2, '\0');
            report[0] = char(sources[0]);
            report[1] = char(sources[1]);
            unit.sendReport(Frame::Module, module, Source, report);
        }
        return;
    }
    if (p.size() != ChannelQuerySize || quint8(p.at(0)) >= channels)
        return;
    const int c = quint8(p.at(0));
    const LevelRecord &r = (input ? inputs.data() : outputs.data())[c];
    QByteArray report(1, char(c));
    switch (frame.param) {
    case Mute: report += char(r.mute ? 1 : 0); break;
    case Gain: report += f32(r.gain); break;
    case Invert: report += char(r.invert ? 1 : 0); break;
    case Group: report += char(r.group); break;
    case Trim: report += f32((input ? inputTrim.data() : outputTrim.data())[c]); break;
    default: return;
    }
    unit.sendReport(Frame::Module, module, frame.param, report);
}
