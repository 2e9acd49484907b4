#include "generatormodule.h"

#include <cmath>
#include <limits>

#include "core/link/frame.h"
#include "core/protocol/protocol.h"
#include "virtualunit.h"

namespace {

namespace G = Protocol::Generator;
using G::Frequency;
using G::Gain;
using G::Mute;
using G::Source;
constexpr quint8 Routing = G::Output;

// Level of each source at 0 dB gain, as an RMS meter shows it: a full-scale
// sine reads -3 dBFS, noise with its crest factor sits lower.
constexpr float SourceLevel[GeneratorRecord::SourceCount] = {-12.0f, -3.0f, -9.0f};

} // namespace

float GeneratorModule::feedLevel(int output) const
{
    if (output < 0 || output >= GeneratorRecord::OutputCount || !generator.output[size_t(output)] || generator.mute)
        return std::numeric_limits<float>::quiet_NaN();
    const int source = generator.source < GeneratorRecord::SourceCount ? int(generator.source) : int(GeneratorRecord::Sine);
    return generator.gain + SourceLevel[source];
}

void GeneratorModule::report(VirtualUnit &unit, quint8 param, int output)
{
    QByteArray r;
    switch (param) {
    case Routing:
        r.append(char(output)).append(char(generator.output[size_t(output)] ? 1 : 0));
        break;
    case Frequency:
        r.resize(Protocol::ReportSize<G::params, Frequency>);
        GeneratorRecord::encodeFloat(reinterpret_cast<uchar *>(r.data()), float(generator.frequency));
        break;
    case Source:
        r.append(char(generator.source));
        break;
    case Gain:
        r.resize(Protocol::ReportSize<G::params, Gain>);
        GeneratorRecord::encodeFloat(reinterpret_cast<uchar *>(r.data()), generator.gain);
        break;
    case Mute:
        r.append(char(generator.mute ? 1 : 0));
        break;
    default:
        return;
    }
    unit.sendReport(Frame::Module, Frame::SignalGenerator, param, r);
}

bool GeneratorModule::handle(VirtualUnit &unit, const UnitFrame &frame)
{
    if (frame.cls != Frame::Module || frame.module != Frame::SignalGenerator)
        return false;
    const QByteArray &p = frame.payload;
    const auto *bytes = reinterpret_cast<const uchar *>(p.constData());

    if (frame.param == Routing) {
        if (p.isEmpty() || quint8(p.at(0)) >= GeneratorRecord::OutputCount)
            return true;
        const int output = quint8(p.at(0));
        if (frame.op == Frame::Query && p.size() == Protocol::QuerySize<G::params, Routing>)
            report(unit, Routing, output);
        else if (frame.op == Frame::Set && p.size() == Protocol::SetSize<G::params, Routing>)
            generator.output[size_t(output)] = p.at(1) != 0;
        return true;
    }
    if (frame.op == Frame::Query) {
        if (p.isEmpty())
            report(unit, frame.param, 0);
        return true;
    }
    if (frame.op != Frame::Set)
        return true;
    float value = 0.0f;
    switch (frame.param) {
    case Frequency:
        if (p.size() == Protocol::SetSize<G::params, Frequency> && GeneratorRecord::decodeFloat(bytes, &value))
            generator.frequency = GeneratorRecord::wholeFrequency(double(value));
        break;
    case Source:
        if (p.size() == Protocol::SetSize<G::params, Source> && bytes[0] < GeneratorRecord::SourceCount)
            generator.source = bytes[0];
        break;
    case Gain:
        if (p.size() == Protocol::SetSize<G::params, Gain> && GeneratorRecord::decodeFloat(bytes, &value))
            generator.gain = qBound(float(GeneratorRecord::MinGain), value, float(GeneratorRecord::MaxGain));
        break;
    case Mute:
        if (p.size() == Protocol::SetSize<G::params, Mute>)
            generator.mute = bytes[0] != 0;
        break;
    default:
        break;
    }
    return true;
}
