#include "pathframes.h"

#include "core/link/frame.h"
#include "core/protocol/protocol.h"
#include "core/records/systemtext.h"
#include "core/records/wirefloat.h"
#include "core/state/unitstate.h"

namespace {

QByteArray bytesOf(const uchar *bytes, int count)
{
    return QByteArray(reinterpret_cast<const char *>(bytes), count);
}

QByteArray floatBytes(float value)
{
    uchar bytes[4];
    WireFloat::write(bytes, value);
    return bytesOf(bytes, 4);
}

QByteArray channelByte(int channel)
{
    return QByteArray(1, char(channel));
}

// "A".."D" -> 0..3, "1".."8" -> 0..7; -1 otherwise.
int channelOf(const QString &segment, bool input)
{
    if (segment.size() != 1)
        return -1;
    const int c = input ? segment.at(0).unicode() - 'A' : segment.at(0).unicode() - '1';
    const int count = input ? UnitState::Inputs : UnitState::Outputs;
    return c >= 0 && c < count ? c : -1;
}

int numberOf(const QString &segment, int count)
{
    bool ok = false;
    const int n = segment.toInt(&ok);
    return ok && n >= 1 && n <= count ? n - 1 : -1;
}

PathFrame module(quint8 id, quint8 param, const QByteArray &payload)
{
    return PathFrame{Frame::Module, id, param, payload};
}

PathFrame levelFrame(quint8 id, int c, const LevelRecord &level, const QString &leaf)
{
    namespace L = Protocol::Level;
    if (leaf == QLatin1String("gain_db"))
        return module(id, L::Gain, channelByte(c) + floatBytes(level.gain));
    if (leaf == QLatin1String("mute"))
        return module(id, L::Mute, channelByte(c) + QByteArray(1, char(level.mute ? 1 : 0)));
    if (leaf == QLatin1String("invert"))
        return module(id, L::Invert, channelByte(c) + QByteArray(1, char(level.invert ? 1 : 0)));
    return module(id, L::Group, channelByte(c) + QByteArray(1, char(level.group)));
}

std::optional<PathFrame> filterFrame(quint8 id, int c, const FilterChannel &f, const QStringList &s)
{
    namespace F = Protocol::Filter;
    const QString &section = s.at(2);
    if (section == QLatin1String("hpf") || section == QLatin1String("lpf")) {
        const bool high = section == QLatin1String("hpf");
        uchar bytes[F::SectionSize];
        bytes[0] = high ? f.hpEnable : f.lpEnable;
        bytes[1] = high ? f.hpType : f.lpType;
        bytes[2] = high ? f.hpSlope : f.lpSlope;
        WireFloat::write(bytes + 3, float(high ? f.hpFreq : f.lpFreq));
        return module(id, high ? F::HighPass : F::LowPass, channelByte(c) + bytesOf(bytes, sizeof bytes));
    }
    const int b = s.size() > 3 ? numberOf(s.at(3), FilterChannel::BandCount) : -1;
    if (b < 0)
        return std::nullopt;
    const size_t i = size_t(b);
    uchar bytes[1 + F::BandSize];
    bytes[0] = uchar(b);
    bytes[1] = f.bandEnable[i];
    bytes[2] = f.bandType[i];
    WireFloat::write(bytes + 3, float(f.bandFreq[i]));
    WireFloat::write(bytes + 7, f.bandGain[i]);
    bytes[11] = f.bandQIndex[i];
    return module(id, F::Band, channelByte(c) + bytesOf(bytes, sizeof bytes));
}

std::optional<PathFrame> inputFrame(const UnitState &state, int c, const QStringList &s)
{
    const size_t i = size_t(c);
    const QString &part = s.at(2);
    const PresetImage &dsp = state.dsp;
    if (part == QLatin1String("label")) {
        return PathFrame{Frame::System, Frame::Labels, Protocol::Labels::Inputs,
                         channelByte(c) + SystemText::encode(state.inputLabels[i], Protocol::Labels::LabelSize)};
    }
    if (part == QLatin1String("gain_db") || part == QLatin1String("mute") || part == QLatin1String("invert")
        || part == QLatin1String("group"))
        return levelFrame(Frame::InLevel, c, dsp.inputLevels[i], part);
    if (part == QLatin1String("gate")) {
        uchar bytes[GateRecord::WireSize];
        dsp.gates[i].encode(bytes);
        return module(Frame::Gate, Protocol::Gate::Record, channelByte(c) + bytesOf(bytes, sizeof bytes));
    }
    if (part == QLatin1String("feedback"))
        return module(Frame::Feedback, Protocol::Feedback::Enable,
                      channelByte(c) + QByteArray(1, char(dsp.feedback[i] ? 1 : 0)));
    if (part == QLatin1String("hpf") || part == QLatin1String("lpf") || part == QLatin1String("peq"))
        return filterFrame(Frame::InFilter, c, dsp.inputFilters[i], s);
    if (part == QLatin1String("deq")) {
        const int b = s.size() > 3 ? numberOf(s.at(3), PresetImage::DeqBands) : -1;
        if (b < 0)
            return std::nullopt;
        uchar bytes[DeqBand::Size];
        dsp.deq[i][size_t(b)].encode(bytes);
        return module(Frame::DynamicEq, Protocol::DynamicEq::Band,
                      channelByte(c) + QByteArray(1, char(b)) + bytesOf(bytes, sizeof bytes));
    }
    if (part == QLatin1String("limiter")) {
        uchar bytes[LimiterRecord::Size];
        dsp.inputLimiters[i].encode(bytes);
        return module(Frame::InLimiter, Protocol::Limiter::Record, channelByte(c) + bytesOf(bytes, sizeof bytes));
    }
    if (part == QLatin1String("delay_ms") && UnitState::hasInputDelay(state.family())) {
        uchar bytes[DelayRecord::WireSize];
        DelayRecord{dsp.inputDelays[i]}.encode(bytes);
        return module(Frame::InDelay, Protocol::Delay::Milliseconds, channelByte(c) + bytesOf(bytes, sizeof bytes));
    }
    return std::nullopt;
}

std::optional<PathFrame> outputFrame(const UnitState &state, int o, const QStringList &s)
{
    const size_t i = size_t(o);
    const QString &part = s.at(2);
    const PresetImage &dsp = state.dsp;
    if (part == QLatin1String("label")) {
        return PathFrame{Frame::System, Frame::Labels, Protocol::Labels::Outputs,
                         channelByte(o) + SystemText::encode(state.outputLabels[i], Protocol::Labels::LabelSize)};
    }
    if (part == QLatin1String("gain_db") || part == QLatin1String("mute") || part == QLatin1String("invert")
        || part == QLatin1String("group"))
        return levelFrame(Frame::OutLevel, o, dsp.outputLevels[i], part);
    if (part == QLatin1String("hpf") || part == QLatin1String("lpf") || part == QLatin1String("peq"))
        return filterFrame(Frame::OutFilter, o, dsp.outputFilters[i], s);
    if (part == QLatin1String("limiter")) {
        uchar bytes[LimiterRecord::Size];
        dsp.outputLimiters[i].encode(bytes);
        return module(Frame::OutLimiter, Protocol::Limiter::Record, channelByte(o) + bytesOf(bytes, sizeof bytes));
    }
    if (part == QLatin1String("delay_ms")) {
        uchar bytes[DelayRecord::WireSize];
        DelayRecord{dsp.outputDelays[i]}.encode(bytes);
        return module(Frame::OutDelay, Protocol::Delay::Milliseconds, channelByte(o) + bytesOf(bytes, sizeof bytes));
    }
    if (part == QLatin1String("fir"))
        return module(Frame::Fir, Protocol::Fir::Record, channelByte(o) + dsp.fir[i].toBytes());
    return std::nullopt;
}

std::optional<PathFrame> generatorFrame(const GeneratorRecord &g, const QStringList &s)
{
    namespace G = Protocol::Generator;
    const QString &leaf = s.at(1);
    uchar bytes[4];
    if (leaf == QLatin1String("source"))
        return module(Frame::SignalGenerator, G::Source, QByteArray(1, char(g.source)));
    if (leaf == QLatin1String("freq_hz")) {
        GeneratorRecord::encodeFloat(bytes, float(g.frequency));
        return module(Frame::SignalGenerator, G::Frequency, bytesOf(bytes, GeneratorRecord::FrequencySize));
    }
    if (leaf == QLatin1String("gain_db")) {
        GeneratorRecord::encodeFloat(bytes, g.gain);
        return module(Frame::SignalGenerator, G::Gain, bytesOf(bytes, GeneratorRecord::GainSize));
    }
    if (leaf == QLatin1String("mute"))
        return module(Frame::SignalGenerator, G::Mute, QByteArray(1, char(g.mute ? 1 : 0)));
    if (leaf == QLatin1String("out") && s.size() == 4) {
        const int o = channelOf(s.at(2), false);
        if (o < 0)
            return std::nullopt;
        return module(Frame::SignalGenerator, G::Output,
                      channelByte(o) + QByteArray(1, char(g.output[size_t(o)] ? 1 : 0)));
    }
    return std::nullopt;
}

} // namespace

std::optional<PathFrame> PathFrames::frameFor(const UnitState &state, const QString &path)
{
    const QStringList s = path.split(QLatin1Char('.'));
    if (s.size() < 2 || s.contains(QLatin1String("lock")))
        return std::nullopt;
    const QString &top = s.at(0);
    if (top == QLatin1String("unit")) {
        namespace S = Protocol::Status;
        if (s.at(1) == QLatin1String("location"))
            return PathFrame{Frame::System, Frame::Status, S::Location, SystemText::encode(state.location, S::TextSize)};
        if (s.at(1) == QLatin1String("description"))
            return PathFrame{Frame::System, Frame::Status, S::Description,
                             SystemText::encode(state.description, S::TextSize)};
        if (s.at(1) == QLatin1String("all_mute"))
            return PathFrame{Frame::System, Frame::Status, S::AllMute, QByteArray(1, char(state.allMute ? 1 : 0))};
        return std::nullopt;
    }
    if (top == QLatin1String("generator"))
        return generatorFrame(state.dsp.generator, s);
    if (top == QLatin1String("matrix")) {
        // matrix.out.<o>.in.<x>.enable | gain_db
        if (s.size() != 6)
            return std::nullopt;
        const int o = channelOf(s.at(2), false);
        const int x = channelOf(s.at(4), true);
        if (o < 0 || x < 0)
            return std::nullopt;
        const MixerOutput &mix = state.dsp.mixer[size_t(o)];
        const bool enable = s.at(5) == QLatin1String("enable");
        const quint8 value = enable ? quint8(mix.enable[size_t(x)] ? 1 : 0) : quint8(mix.gain[size_t(x)]);
        return module(Frame::MatrixMixer, enable ? Protocol::Mixer::Enable : Protocol::Mixer::Gain,
                      channelByte(o) + MixerOutput::setPayload({quint8(x)}, value));
    }
    if (s.size() < 3)
        return std::nullopt;
    if (top == QLatin1String("in")) {
        const int c = channelOf(s.at(1), true);
        return c < 0 ? std::nullopt : inputFrame(state, c, s);
    }
    if (top == QLatin1String("out")) {
        const int o = channelOf(s.at(1), false);
        return o < 0 ? std::nullopt : outputFrame(state, o, s);
    }
    return std::nullopt;
}

QVector<PathFrame> PathFrames::framesFor(const UnitState &state, const QStringList &paths, QStringList *skipped)
{
    QVector<PathFrame> frames;
    for (const QString &path : paths) {
        const std::optional<PathFrame> frame = frameFor(state, path);
        if (!frame) {
            if (skipped)
                skipped->append(path);
            continue;
        }
        // Several paths of one record (a limiter's threshold and ratio) make
        // the same frame; the unit needs it once.
        if (!frames.contains(*frame))
            frames.append(*frame);
    }
    return frames;
}

bool PathFrames::carries(quint8 cls, quint8 module, const QString &path)
{
    // A path's frame depends on its place only, so any state will do.
    static const UnitState probe;
    const std::optional<PathFrame> frame = frameFor(probe, path);
    return frame && frame->cls == cls && frame->module == module;
}
