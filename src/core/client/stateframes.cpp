#include "stateframes.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

#include "core/protocol/protocol.h"
#include "core/records/delayrecord.h"
#include "core/records/systemtext.h"
#include "core/records/wirefloat.h"
#include "core/state/parametercatalog.h"

namespace {

namespace P = Protocol;

constexpr int MaxSectionType = 2;
constexpr int MaxSlope = 5;
constexpr int MaxBandType = FilterChannel::AllPass90;
constexpr int MaxQIndex = QTableSize - 1;
constexpr int MinFilterHz = 20;
constexpr int MaxFilterHz = 20000;

P::Family protocolFamily(UnitFamily family)
{
    return family == UnitFamily::Sharc96k ? P::Family::Hz96k : P::Family::Hz48k;
}

// The order frames go out in: a link group is undone before its members
// get their values and made again after; locks go last, so that a lock a
// target state adds never stands in the way of the values before it.
enum Phase : int { Ungroup = 0, Values = 1, Regroup = 2, Locks = 3 };

void appendU8(QByteArray &bytes, int value)
{
    bytes.append(char(quint8(value)));
}

void appendF32(QByteArray &bytes, float value)
{
    uchar raw[4];
    WireFloat::write(raw, value);
    bytes.append(reinterpret_cast<const char *>(raw), 4);
}

template <typename Record>
void appendRecord(QByteArray &bytes, const Record &record, int size)
{
    const int at = bytes.size();
    bytes.resize(at + size);
    record.encode(reinterpret_cast<uchar *>(bytes.data()) + at);
}

quint16 filterHz(float value, quint16 previous)
{
    if (!std::isfinite(value))
        return previous;
    return quint16(WireFloat::truncateBounded(value, MinFilterHz, MaxFilterHz, previous));
}

// Input letter or output number to an index; -1 when it is neither.
int inputIndex(const QString &segment)
{
    return segment.size() == 1 && segment.at(0) >= QLatin1Char('A') && segment.at(0) <= QLatin1Char('D')
        ? segment.at(0).unicode() - 'A'
        : -1;
}

int oneBased(const QString &segment)
{
    bool ok = false;
    const int n = segment.toInt(&ok);
    return ok ? n - 1 : -1;
}

// The lock table page a security param stores.
int lockPage(quint8 param)
{
    namespace S = P::Security;
    switch (param) {
    case S::InLevel: return LockTable::InLevel;
    case S::Gate: return LockTable::Gate;
    case S::Feedback: return LockTable::Feedback;
    case S::InLimiter: return LockTable::InLimiter;
    case S::InDelay: return LockTable::InDelay;
    case S::Matrix: return LockTable::Matrix;
    case S::Generator: return LockTable::Generator;
    case S::OutLevel: return LockTable::OutLevel;
    case S::OutLimiter: return LockTable::OutLimiter;
    case S::OutDelay: return LockTable::OutDelay;
    case S::DynamicEq: return LockTable::Deq;
    case S::Fir: return LockTable::Fir;
    default: return -1;
    }
}

quint8 lockParamOfLeaf(const QString &leaf, bool input)
{
    namespace S = P::Security;
    if (leaf == QLatin1String("graph") || leaf == QLatin1String("hpf") || leaf == QLatin1String("lpf")
        || leaf == QLatin1String("peq"))
        return input ? S::InFilter : S::OutFilter;
    if (leaf == QLatin1String("level"))
        return input ? S::InLevel : S::OutLevel;
    if (leaf == QLatin1String("limiter"))
        return input ? S::InLimiter : S::OutLimiter;
    if (leaf == QLatin1String("delay"))
        return input ? S::InDelay : S::OutDelay;
    if (input && leaf == QLatin1String("gate"))
        return S::Gate;
    if (input && leaf == QLatin1String("feedback"))
        return S::Feedback;
    if (input && leaf == QLatin1String("deq"))
        return S::DynamicEq;
    if (!input && leaf == QLatin1String("matrix"))
        return S::Matrix;
    if (!input && leaf == QLatin1String("generator"))
        return S::Generator;
    if (!input && leaf == QLatin1String("fir"))
        return S::Fir;
    return 0;
}

StateFrames::Address moduleAddress(quint8 module, quint8 param, int channel = -1, int band = -1)
{
    StateFrames::Address a;
    a.cls = Frame::Module;
    a.module = module;
    a.param = param;
    a.channel = channel;
    a.band = band;
    return a;
}

StateFrames::Address systemAddress(quint8 module, quint8 param, int channel = -1)
{
    StateFrames::Address a;
    a.cls = Frame::System;
    a.module = module;
    a.param = param;
    a.channel = channel;
    return a;
}

// The address of a channel's own settings below "in.X" or "out.N".
StateFrames::Address channelAddress(const QStringList &s, bool input, int c)
{
    const QString &leaf = s.value(2);
    const quint8 level = input ? Frame::InLevel : Frame::OutLevel;
    if (leaf == QLatin1String("label"))
        return systemAddress(Frame::Labels, input ? P::Labels::Inputs : P::Labels::Outputs, c);
    if (leaf == QLatin1String("source") && input)
        return moduleAddress(Frame::InLevel, P::Level::Source, c / 2);
    if (leaf == QLatin1String("trim_db"))
        return moduleAddress(level, P::Level::Trim, c);
    if (leaf == QLatin1String("gain_db"))
        return moduleAddress(level, P::Level::Gain, c);
    if (leaf == QLatin1String("mute"))
        return moduleAddress(level, P::Level::Mute, c);
    if (leaf == QLatin1String("invert"))
        return moduleAddress(level, P::Level::Invert, c);
    if (leaf == QLatin1String("group"))
        return moduleAddress(level, P::Level::Group, c);
    if (leaf == QLatin1String("gate") && input)
        return moduleAddress(Frame::Gate, P::Gate::Record, c);
    if (leaf == QLatin1String("feedback") && input)
        return moduleAddress(Frame::Feedback, P::Feedback::Enable, c);
    const quint8 filter = input ? Frame::InFilter : Frame::OutFilter;
    if (leaf == QLatin1String("hpf"))
        return moduleAddress(filter, P::Filter::HighPass, c);
    if (leaf == QLatin1String("lpf"))
        return moduleAddress(filter, P::Filter::LowPass, c);
    if (leaf == QLatin1String("peq"))
        return moduleAddress(filter, P::Filter::Band, c, oneBased(s.value(3)));
    if (leaf == QLatin1String("deq") && input)
        return moduleAddress(Frame::DynamicEq, P::DynamicEq::Band, c, oneBased(s.value(3)));
    if (leaf == QLatin1String("limiter"))
        return moduleAddress(input ? Frame::InLimiter : Frame::OutLimiter, P::Limiter::Record, c);
    if (leaf == QLatin1String("delay_ms"))
        return moduleAddress(input ? Frame::InDelay : Frame::OutDelay, P::Delay::Milliseconds, c);
    if (leaf == QLatin1String("fir") && !input)
        return moduleAddress(Frame::Fir, P::Fir::Record, c);
    if (leaf == QLatin1String("lock")) {
        const quint8 param = lockParamOfLeaf(s.value(3), input);
        if (param != 0)
            return systemAddress(Frame::Security, param, c);
    }
    return {};
}

QByteArray key(quint8 cls, quint8 module, quint8 param, const uchar *address, int size)
{
    QByteArray k;
    k.reserve(3 + size);
    k.append(char(cls)).append(char(module)).append(char(param));
    k.append(reinterpret_cast<const char *>(address), size);
    return k;
}

// The payload that sets `a` to what `s` holds (the matrix: `inputs`, which
// all take the value of the first).
QByteArray setPayload(const UnitState &s, const StateFrames::Address &a, const QVector<int> &inputs = {})
{
    QByteArray out;
    const size_t c = size_t(qMax(a.channel, 0));
    const size_t b = size_t(qMax(a.band, 0));
    if (a.cls == Frame::System) {
        if (a.module == Frame::Status) {
            namespace S = P::Status;
            switch (a.param) {
            case S::Location: return SystemText::encode(s.location, S::TextSize);
            case S::Description: return SystemText::encode(s.description, S::TextSize);
            case S::PanelLock: appendU8(out, s.panelLock ? 1 : 0); return out;
            case S::LcdPage: appendU8(out, s.lcdPage); return out;
            case S::AllMute: appendU8(out, s.allMute ? 1 : 0); return out;
            default: return out;
            }
        }
        if (a.module == Frame::Labels) {
            appendU8(out, a.channel);
            const bool input = a.param == P::Labels::Inputs;
            out += SystemText::encode(input ? s.inputLabels[c] : s.outputLabels[c], P::Labels::LabelSize);
            return out;
        }
        if (a.module == Frame::Security) {
            appendU8(out, a.channel);
            if (a.param == P::Security::InFilter || a.param == P::Security::OutFilter) {
                const LockTable::FilterLocks &f =
                    a.param == P::Security::InFilter ? s.locks.inputFilters[c] : s.locks.outputFilters[c];
                appendU8(out, int(f.graph));
                appendU8(out, int(f.highPass));
                appendU8(out, int(f.lowPass));
                for (LockState band : f.bands)
                    appendU8(out, int(band));
            } else {
                appendU8(out, int(s.locks.at(LockTable::Page(lockPage(a.param)), a.channel)));
            }
            return out;
        }
        return out;
    }

    const bool input = a.module == Frame::InLevel || a.module == Frame::InFilter || a.module == Frame::InLimiter
        || a.module == Frame::InDelay;
    switch (a.module) {
    case Frame::InLevel:
    case Frame::OutLevel: {
        appendU8(out, a.channel);
        const LevelRecord &r = input ? s.dsp.inputLevels[c] : s.dsp.outputLevels[c];
        switch (a.param) {
        case P::Level::Gain: appendF32(out, r.gain); break;
        case P::Level::Mute: appendU8(out, r.mute ? 1 : 0); break;
        case P::Level::Invert: appendU8(out, r.invert ? 1 : 0); break;
        case P::Level::Group: appendU8(out, r.group); break;
        case P::Level::Trim: appendF32(out, input ? s.inputTrims[c] : s.outputTrims[c]); break;
        case P::Level::Source: appendU8(out, s.inputSources[c]); break;
        default: break;
        }
        return out;
    }
    case Frame::Gate:
        appendU8(out, a.channel);
        appendRecord(out, s.dsp.gates[c], GateRecord::WireSize);
        return out;
    case Frame::Feedback:
        appendU8(out, a.channel);
        appendU8(out, s.dsp.feedback[c] ? 1 : 0);
        return out;
    case Frame::InFilter:
    case Frame::OutFilter: {
        const FilterChannel &f = input ? s.dsp.inputFilters[c] : s.dsp.outputFilters[c];
        appendU8(out, a.channel);
        if (a.param == P::Filter::Band) {
            appendU8(out, a.band);
            appendU8(out, f.bandEnable[b] ? 1 : 0);
            appendU8(out, f.bandType[b]);
            appendF32(out, float(f.bandFreq[b]));
            appendF32(out, f.bandGain[b]);
            appendU8(out, f.bandQIndex[b]);
        } else {
            const bool high = a.param == P::Filter::HighPass;
            appendU8(out, (high ? f.hpEnable : f.lpEnable) ? 1 : 0);
            appendU8(out, high ? f.hpType : f.lpType);
            appendU8(out, high ? f.hpSlope : f.lpSlope);
            appendF32(out, float(high ? f.hpFreq : f.lpFreq));
        }
        return out;
    }
    case Frame::InLimiter:
    case Frame::OutLimiter:
        appendU8(out, a.channel);
        appendRecord(out, input ? s.dsp.inputLimiters[c] : s.dsp.outputLimiters[c], LimiterRecord::Size);
        return out;
    case Frame::InDelay:
    case Frame::OutDelay: {
        appendU8(out, a.channel);
        DelayRecord d;
        d.ms = input ? s.dsp.inputDelays[c] : s.dsp.outputDelays[c];
        appendRecord(out, d, DelayRecord::WireSize);
        return out;
    }
    case Frame::MatrixMixer: {
        appendU8(out, a.channel);
        const MixerOutput &row = s.dsp.mixer[c];
        for (int i : inputs)
            appendU8(out, i);
        const size_t first = size_t(inputs.value(0));
        appendU8(out, a.param == P::Mixer::Enable ? (row.enable[first] ? 1 : 0) : row.gain[first]);
        return out;
    }
    case Frame::SignalGenerator: {
        const GeneratorRecord &g = s.dsp.generator;
        switch (a.param) {
        case P::Generator::Output:
            appendU8(out, a.channel);
            appendU8(out, g.output[c] ? 1 : 0);
            break;
        case P::Generator::Frequency: appendF32(out, float(g.frequency)); break;
        case P::Generator::Source: appendU8(out, g.source); break;
        case P::Generator::Gain: appendF32(out, g.gain); break;
        case P::Generator::Mute: appendU8(out, g.mute ? 1 : 0); break;
        default: break;
        }
        return out;
    }
    case Frame::DynamicEq:
        appendU8(out, a.channel);
        appendU8(out, a.band);
        appendRecord(out, s.dsp.deq[c][b], DeqBand::Size);
        return out;
    case Frame::Fir:
        appendU8(out, a.channel);
        appendRecord(out, s.dsp.fir[c], FirChannel::Size);
        return out;
    default:
        return out;
    }
}

WireFrame setFrame(const UnitState &s, const StateFrames::Address &a, const QVector<int> &inputs = {})
{
    return WireFrame{a.cls, a.module, a.param, Frame::Set, setPayload(s, a, inputs)};
}

bool isLevelValue(quint8 param)
{
    return param == P::Level::Gain || param == P::Level::Mute || param == P::Level::Invert;
}

QByteArray levelValue(const UnitState &s, quint8 module, quint8 param, int c)
{
    return setPayload(s, moduleAddress(module, param, c));
}

} // namespace

StateFrames::Address StateFrames::addressOf(UnitFamily family, const QString &path)
{
    if (!ParameterCatalog::of(family).find(path))
        return {};
    const QStringList s = path.split(QLatin1Char('.'));
    const QString &top = s.first();
    if (top == QLatin1String("unit")) {
        namespace S = P::Status;
        const QString &leaf = s.value(1);
        if (leaf == QLatin1String("location"))
            return systemAddress(Frame::Status, S::Location);
        if (leaf == QLatin1String("description"))
            return systemAddress(Frame::Status, S::Description);
        if (leaf == QLatin1String("panel_lock"))
            return systemAddress(Frame::Status, S::PanelLock);
        if (leaf == QLatin1String("lcd_page"))
            return systemAddress(Frame::Status, S::LcdPage);
        if (leaf == QLatin1String("all_mute"))
            return systemAddress(Frame::Status, S::AllMute);
        return {};
    }
    if (top == QLatin1String("in"))
        return channelAddress(s, true, inputIndex(s.value(1)));
    if (top == QLatin1String("out"))
        return channelAddress(s, false, oneBased(s.value(1)));
    if (top == QLatin1String("matrix")) {
        // matrix.out.N.in.X.enable / gain_db
        Address a = moduleAddress(Frame::MatrixMixer,
                                  s.value(5) == QLatin1String("enable") ? P::Mixer::Enable : P::Mixer::Gain,
                                  oneBased(s.value(2)));
        a.input = inputIndex(s.value(4));
        return a;
    }
    if (top == QLatin1String("generator")) {
        namespace G = P::Generator;
        const QString &leaf = s.value(1);
        if (leaf == QLatin1String("out"))
            return moduleAddress(Frame::SignalGenerator, G::Output, oneBased(s.value(2)));
        if (leaf == QLatin1String("source"))
            return moduleAddress(Frame::SignalGenerator, G::Source);
        if (leaf == QLatin1String("freq_hz"))
            return moduleAddress(Frame::SignalGenerator, G::Frequency);
        if (leaf == QLatin1String("gain_db"))
            return moduleAddress(Frame::SignalGenerator, G::Gain);
        if (leaf == QLatin1String("mute"))
            return moduleAddress(Frame::SignalGenerator, G::Mute);
    }
    return {};
}

QVector<WireFrame> StateFrames::setFrames(const UnitState &current, const UnitState &target, const QStringList &paths,
                                          QStringList *unknown)
{
    const ParameterCatalog &catalog = ParameterCatalog::of(target.family());
    // Catalog order, whatever the order given: the generator's source
    // before its frequency, a FIR's type before its coefficients.
    QVector<int> order;
    for (const QString &path : paths) {
        const int index = catalog.indexOf(path);
        if (index < 0) {
            if (unknown)
                unknown->append(path);
        } else if (!order.contains(index)) {
            order.append(index);
        }
    }
    std::sort(order.begin(), order.end());

    struct Pending
    {
        int phase;
        int sequence;
        WireFrame frame;
    };
    QVector<Pending> out;
    QSet<QByteArray> sent;
    auto emitFrame = [&](int phase, const WireFrame &frame) {
        const QByteArray k = QByteArray::number(phase) + ':' + char(frame.cls) + char(frame.module)
            + char(frame.param) + frame.payload;
        if (sent.contains(k))
            return;
        sent.insert(k);
        out.append(Pending{phase, out.size(), frame});
    };

    // Levels are settled per module after the walk; matrix rows gather
    // their inputs first.
    struct LevelTouch
    {
        QVector<QPair<quint8, int>> values; // param, channel
        QVector<int> groups;
    };
    QHash<quint8, LevelTouch> levels;
    QHash<QByteArray, QVector<int>> mixerInputs;
    QVector<Address> mixerOrder;

    for (int index : order) {
        const Address a = addressOf(target.family(), catalog.parameters().at(index).path);
        if (!a.valid())
            continue;
        if (a.cls == Frame::Module && (a.module == Frame::InLevel || a.module == Frame::OutLevel)
            && (isLevelValue(a.param) || a.param == P::Level::Group)) {
            LevelTouch &t = levels[a.module];
            if (a.param == P::Level::Group)
                t.groups.append(a.channel);
            else
                t.values.append({a.param, a.channel});
            continue;
        }
        if (a.cls == Frame::Module && a.module == Frame::MatrixMixer) {
            const QByteArray k = key(a.cls, a.module, a.param, nullptr, 0) + char(a.channel);
            if (!mixerInputs.contains(k))
                mixerOrder.append(a);
            mixerInputs[k].append(a.input);
            continue;
        }
        emitFrame(a.cls == Frame::System && a.module == Frame::Security ? Locks : Values, setFrame(target, a));
    }

    // A cross-point set names the inputs it changes and one value for all
    // of them: one frame per output and value.
    for (const Address &a : mixerOrder) {
        const QVector<int> inputs = mixerInputs.value(key(a.cls, a.module, a.param, nullptr, 0) + char(a.channel));
        QMap<int, QVector<int>> byValue;
        const MixerOutput &row = target.dsp.mixer[size_t(a.channel)];
        for (int i : inputs) {
            const int value = a.param == P::Mixer::Enable ? int(row.enable[size_t(i)]) : int(row.gain[size_t(i)]);
            if (!byValue[value].contains(i))
                byValue[value].append(i);
        }
        for (const QVector<int> &group : byValue)
            emitFrame(Values, setFrame(target, a, group));
    }

    // The unit applies a gain, mute or invert set on a grouped channel to
    // its whole group. Where every member is to hold the same value, one
    // frame does it; otherwise the groups are undone first and made again
    // after the values.
    for (auto it = levels.cbegin(); it != levels.cend(); ++it) {
        const quint8 module = it.key();
        const LevelTouch &t = it.value();
        const bool input = module == Frame::InLevel;
        const int channels = input ? UnitState::Inputs : UnitState::Outputs;
        auto record = [&](const UnitState &s, int c) -> const LevelRecord & {
            return input ? s.dsp.inputLevels[size_t(c)] : s.dsp.outputLevels[size_t(c)];
        };
        bool regroup = false;
        for (int c : t.groups)
            regroup = regroup || record(current, c).group != record(target, c).group;
        QVector<WireFrame> values;
        for (const auto &v : t.values) {
            const int group = record(current, v.second).group;
            if (group == 0 || regroup) {
                values.append(setFrame(target, moduleAddress(module, v.first, v.second)));
                continue;
            }
            const QByteArray wanted = levelValue(target, module, v.first, v.second).mid(1);
            bool same = true;
            int first = -1;
            for (int m = 0; m < channels; ++m) {
                if (record(current, m).group != group)
                    continue;
                if (first < 0)
                    first = m;
                same = same && levelValue(target, module, v.first, m).mid(1) == wanted;
            }
            if (!same) {
                regroup = true;
                values.append(setFrame(target, moduleAddress(module, v.first, v.second)));
            } else {
                values.append(setFrame(target, moduleAddress(module, v.first, first)));
            }
        }
        if (regroup && !t.values.isEmpty()) {
            values.clear();
            for (int c = 0; c < channels; ++c) {
                if (record(current, c).group != 0) {
                    WireFrame undo = setFrame(current, moduleAddress(module, P::Level::Group, c));
                    undo.payload[1] = 0;
                    emitFrame(Ungroup, undo);
                }
            }
            for (const auto &v : t.values)
                emitFrame(Values, setFrame(target, moduleAddress(module, v.first, v.second)));
            for (int c = 0; c < channels; ++c) {
                if (record(target, c).group != 0 || t.groups.contains(c))
                    emitFrame(Regroup, setFrame(target, moduleAddress(module, P::Level::Group, c)));
            }
        } else {
            for (const WireFrame &f : values)
                emitFrame(Values, f);
            for (int c : t.groups)
                emitFrame(Regroup, setFrame(target, moduleAddress(module, P::Level::Group, c)));
        }
    }

    std::stable_sort(out.begin(), out.end(), [](const Pending &a, const Pending &b) {
        return a.phase != b.phase ? a.phase < b.phase : a.sequence < b.sequence;
    });
    QVector<WireFrame> frames;
    frames.reserve(out.size());
    for (const Pending &p : out)
        frames.append(p.frame);
    return frames;
}

QVector<WireFrame> StateFrames::setFrames(const UnitState &current, const UnitState &target,
                                          const QVector<StateChange> &changes)
{
    QStringList paths;
    paths.reserve(changes.size());
    for (const StateChange &change : changes)
        paths.append(change.path);
    return setFrames(current, target, paths);
}

QVector<WireFrame> StateFrames::diffFrames(const UnitState &current, const UnitState &target)
{
    return setFrames(current, target, StateDiff::between(current, target));
}

QVector<WireFrame> StateFrames::stateQueries(UnitFamily family)
{
    const P::Family f = protocolFamily(family);
    QVector<WireFrame> queries;
    for (const P::Module &m : P::Modules) {
        if (m.cls == Frame::Firmware || !m.in(f))
            continue;
        for (const P::Param &p : m) {
            if (p.kind != P::Kind::Setting || !p.isQueried() || !p.in(f))
                continue;
            // The network settings belong to the unit's information, not to
            // what an operator sets on its DSP; the LCD page setting only
            // exists on the 96 kHz family.
            if (m.cls == Frame::System && m.id == Frame::Status
                && (p.id == P::Status::Network || (p.id == P::Status::LcdPage && !UnitState::hasLcdPage(family))))
                continue;
            if (p.scope == P::Scope::Unit || p.scope == P::Scope::AllChannels) {
                queries.append(WireFrame{quint8(m.cls), m.id, p.id, Frame::Query, {}});
                continue;
            }
            const int channels = m.channelCount(p, f);
            for (int c = 0; c < channels; ++c) {
                if (p.scope == P::Scope::Channel) {
                    queries.append(WireFrame{quint8(m.cls), m.id, p.id, Frame::Query, QByteArray(1, char(c))});
                    continue;
                }
                for (int b = 0; b < m.bands; ++b) {
                    QByteArray payload;
                    payload.append(char(c)).append(char(b));
                    queries.append(WireFrame{quint8(m.cls), m.id, p.id, Frame::Query, payload});
                }
            }
        }
    }
    return queries;
}

QVector<WireFrame> StateFrames::queriesFor(UnitFamily family, const QStringList &paths)
{
    QVector<WireFrame> queries;
    QSet<QByteArray> seen;
    for (const QString &path : paths) {
        const Address a = addressOf(family, path);
        if (!a.valid())
            continue;
        const P::Param *p = P::param(a.cls, a.module, a.param);
        if (!p || !p->isQueried())
            continue;
        WireFrame q{a.cls, a.module, a.param, Frame::Query, {}};
        if (p->scope == P::Scope::Channel)
            q.payload.append(char(a.channel));
        else if (p->scope == P::Scope::Band)
            q.payload.append(char(a.channel)).append(char(a.band));
        const QByteArray k = queryKey(q);
        if (!seen.contains(k)) {
            seen.insert(k);
            queries.append(q);
        }
    }
    return queries;
}

QByteArray StateFrames::queryKey(const WireFrame &query)
{
    const P::Param *p = P::param(query.cls, query.module, query.param);
    const int size = p ? qMin(p->queryAddressSize(), int(query.payload.size())) : 0;
    return key(query.cls, query.module, query.param, reinterpret_cast<const uchar *>(query.payload.constData()),
               size);
}

QByteArray StateFrames::reportKey(quint8 cls, quint8 module, quint8 param, const uchar *payload, int length)
{
    const P::Param *p = P::param(cls, module, param);
    if (!p || !p->isQueried())
        return {};
    const int size = p->reportAddressSize();
    if (length < size)
        return {};
    return key(cls, module, param, payload, size);
}

StateFrames::Fold StateFrames::fold(UnitState &state, quint8 cls, quint8 module, quint8 param, quint8 op,
                                    const uchar *payload, int length)
{
    const P::Family f = protocolFamily(state.family());
    const P::Module *m = P::module(cls, module);
    const P::Param *p = P::param(m, param);
    if (!m || !p || p->kind != P::Kind::Setting || !m->in(f) || !p->in(f) || cls == Frame::Firmware)
        return Fold::Other;
    if (cls == Frame::System && module == Frame::Status
        && (param == P::Status::Network || (param == P::Status::LcdPage && !UnitState::hasLcdPage(state.family()))))
        return Fold::Other;
    const int channels = m->channelCount(*p, f);
    if (op != Frame::Report || !p->reportLength(channels).fits(length))
        return Fold::Malformed;
    const int address = p->reportAddressSize();
    const int c = address > 0 ? payload[0] : 0;
    const int b = address > 1 ? payload[1] : 0;
    if ((address > 0 && c >= channels) || (address > 1 && b >= m->bands))
        return Fold::Malformed;
    const uchar *v = payload + address;
    const size_t ci = size_t(c);
    const size_t bi = size_t(b);

    if (cls == Frame::System) {
        if (module == Frame::Status) {
            namespace S = P::Status;
            switch (param) {
            case S::Location: state.location = SystemText::text(v, length); break;
            case S::Description: state.description = SystemText::text(v, length); break;
            case S::PanelLock: state.panelLock = v[0] != 0; break;
            case S::LcdPage: state.lcdPage = qint8(v[0]); break;
            case S::AllMute: state.allMute = v[0] != 0; break;
            default: return Fold::Other;
            }
            return Fold::Applied;
        }
        if (module == Frame::Labels) {
            for (int i = 0; i < channels; ++i) {
                const QString label = SystemText::text(v + i * P::Labels::LabelSize, P::Labels::LabelSize);
                if (param == P::Labels::Inputs)
                    state.inputLabels[size_t(i)] = label;
                else
                    state.outputLabels[size_t(i)] = label;
            }
            return Fold::Applied;
        }
        if (module == Frame::Security) {
            if (param == P::Security::InFilter || param == P::Security::OutFilter) {
                LockTable::FilterLocks &fl =
                    param == P::Security::InFilter ? state.locks.inputFilters[ci] : state.locks.outputFilters[ci];
                fl.graph = LockTable::fromByte(v[0]);
                fl.highPass = LockTable::fromByte(v[1]);
                fl.lowPass = LockTable::fromByte(v[2]);
                for (size_t k = 0; k < fl.bands.size(); ++k)
                    fl.bands[k] = LockTable::fromByte(v[3 + k]);
                return Fold::Applied;
            }
            const int page = lockPage(param);
            if (page < 0)
                return Fold::Other;
            for (int i = 0; i < channels; ++i)
                state.locks.at(LockTable::Page(page), i) = LockTable::fromByte(v[i]);
            return Fold::Applied;
        }
        return Fold::Other;
    }

    const bool input = module == Frame::InLevel || module == Frame::InFilter || module == Frame::InLimiter
        || module == Frame::InDelay;
    switch (module) {
    case Frame::InLevel:
    case Frame::OutLevel: {
        LevelRecord &r = input ? state.dsp.inputLevels[ci] : state.dsp.outputLevels[ci];
        switch (param) {
        case P::Level::Gain: r.gain = LevelRecord::clampGain(WireFloat::read(v)); break;
        case P::Level::Mute: r.mute = v[0] != 0; break;
        case P::Level::Invert: r.invert = v[0] != 0; break;
        case P::Level::Group: r.group = v[0]; break;
        case P::Level::Trim:
            (input ? state.inputTrims[ci] : state.outputTrims[ci]) = LevelRecord::clampGain(WireFloat::read(v));
            break;
        case P::Level::Source:
            for (int i = 0; i < channels; ++i)
                state.inputSources[size_t(i)] = v[i] ? UnitState::Aes : UnitState::Analog;
            break;
        default: return Fold::Other;
        }
        return Fold::Applied;
    }
    case Frame::Gate:
        state.dsp.gates[ci] = GateRecord::decode(v);
        return Fold::Applied;
    case Frame::Feedback:
        state.dsp.feedback[ci] = v[0] != 0;
        return Fold::Applied;
    case Frame::InFilter:
    case Frame::OutFilter: {
        // A section or band the page could not show (unknown type, slope or
        // Q index, a frequency that is not a number) keeps what it held, as
        // the page keeps it.
        FilterChannel &fc = input ? state.dsp.inputFilters[ci] : state.dsp.outputFilters[ci];
        if (param == P::Filter::Band) {
            const float gain = WireFloat::read(v + 6);
            const float hz = WireFloat::read(v + 2);
            if (v[1] <= MaxBandType && v[10] <= MaxQIndex && std::isfinite(gain) && std::isfinite(hz)) {
                fc.bandEnable[bi] = v[0] ? 1 : 0;
                fc.bandType[bi] = v[1];
                fc.bandFreq[bi] = filterHz(hz, fc.bandFreq[bi]);
                fc.bandGain[bi] = gain;
                fc.bandQIndex[bi] = v[10];
            }
        } else {
            const bool high = param == P::Filter::HighPass;
            const float hz = WireFloat::read(v + 3);
            if (v[1] <= MaxSectionType && v[2] <= MaxSlope && std::isfinite(hz)) {
                (high ? fc.hpEnable : fc.lpEnable) = v[0] ? 1 : 0;
                (high ? fc.hpType : fc.lpType) = v[1];
                (high ? fc.hpSlope : fc.lpSlope) = v[2];
                quint16 &freq = high ? fc.hpFreq : fc.lpFreq;
                freq = filterHz(hz, freq);
            }
        }
        return Fold::Applied;
    }
    case Frame::InLimiter:
    case Frame::OutLimiter:
        (input ? state.dsp.inputLimiters[ci] : state.dsp.outputLimiters[ci]) = LimiterRecord::decode(v);
        return Fold::Applied;
    case Frame::InDelay:
    case Frame::OutDelay: {
        DelayRecord d;
        if (d.decode(v))
            (input ? state.dsp.inputDelays[ci] : state.dsp.outputDelays[ci]) = d.ms;
        return Fold::Applied;
    }
    case Frame::MatrixMixer:
        if (param == P::Mixer::Enable)
            state.dsp.mixer[ci].decodeEnables(v);
        else
            state.dsp.mixer[ci].decodeGains(v);
        return Fold::Applied;
    case Frame::SignalGenerator: {
        GeneratorRecord &g = state.dsp.generator;
        float value = 0.0f;
        switch (param) {
        case P::Generator::Output: g.output[ci] = v[0] != 0; break;
        case P::Generator::Frequency:
            if (GeneratorRecord::decodeFloat(v, &value))
                g.frequency = GeneratorRecord::wholeFrequency(double(value));
            break;
        case P::Generator::Source:
            if (v[0] < GeneratorRecord::SourceCount)
                g.source = v[0];
            break;
        case P::Generator::Gain:
            if (GeneratorRecord::decodeFloat(v, &value))
                g.gain = value;
            break;
        case P::Generator::Mute: g.mute = v[0] != 0; break;
        default: return Fold::Other;
        }
        return Fold::Applied;
    }
    case Frame::DynamicEq:
        state.dsp.deq[ci][bi] = DeqBand::decode(v, b);
        return Fold::Applied;
    case Frame::Fir:
        state.dsp.fir[ci] = FirChannel::decode(v);
        return Fold::Applied;
    default:
        return Fold::Other;
    }
}

bool StateFrames::isLockPath(const QString &path)
{
    const QStringList s = path.split(QLatin1Char('.'));
    return s.size() > 3 && (s.first() == QLatin1String("in") || s.first() == QLatin1String("out"))
        && s.at(2) == QLatin1String("lock");
}

LockState StateFrames::lockOf(const UnitState &state, const QString &path)
{
    const QStringList s = path.split(QLatin1Char('.'));
    if (isLockPath(path) || s.size() < 3)
        return LockState::Free;
    const QString &top = s.first();
    const QString &leaf = s.at(2);
    auto page = [&](LockTable::Page pg, int channel) {
        return channel >= 0 && channel < LockTable::channelCount(pg) ? state.locks.at(pg, channel) : LockState::Free;
    };
    // The stricter of two locks.
    auto worst = [](LockState a, LockState b) { return quint8(a) >= quint8(b) ? a : b; };
    auto filterLock = [&](const LockTable::FilterLocks &f) {
        LockState entry = LockState::Free;
        if (leaf == QLatin1String("hpf"))
            entry = f.highPass;
        else if (leaf == QLatin1String("lpf"))
            entry = f.lowPass;
        else {
            const int band = oneBased(s.value(3));
            if (band >= 0 && band < LockTable::FilterLocks::Bands)
                entry = f.bands[size_t(band)];
        }
        return worst(f.graph, entry);
    };
    const bool isFilter = leaf == QLatin1String("hpf") || leaf == QLatin1String("lpf") || leaf == QLatin1String("peq");
    const bool isLevel = leaf == QLatin1String("gain_db") || leaf == QLatin1String("mute")
        || leaf == QLatin1String("invert") || leaf == QLatin1String("group");
    if (top == QLatin1String("in")) {
        const int c = inputIndex(s.at(1));
        if (c < 0)
            return LockState::Free;
        if (isLevel)
            return page(LockTable::InLevel, c);
        if (leaf == QLatin1String("gate"))
            return page(LockTable::Gate, c);
        if (leaf == QLatin1String("feedback"))
            return page(LockTable::Feedback, c);
        if (isFilter)
            return filterLock(state.locks.inputFilters[size_t(c)]);
        if (leaf == QLatin1String("deq"))
            return UnitState::hasFamilyOneLocks(state.family()) ? page(LockTable::Deq, c) : LockState::Free;
        if (leaf == QLatin1String("limiter"))
            return page(LockTable::InLimiter, c);
        if (leaf == QLatin1String("delay_ms"))
            return UnitState::hasFamilyOneLocks(state.family()) ? page(LockTable::InDelay, c) : LockState::Free;
        return LockState::Free;
    }
    if (top == QLatin1String("out")) {
        const int o = oneBased(s.at(1));
        if (o < 0 || o >= UnitState::Outputs)
            return LockState::Free;
        if (isLevel)
            return page(LockTable::OutLevel, o);
        if (isFilter)
            return filterLock(state.locks.outputFilters[size_t(o)]);
        if (leaf == QLatin1String("fir"))
            return UnitState::hasFamilyOneLocks(state.family()) ? page(LockTable::Fir, o) : LockState::Free;
        if (leaf == QLatin1String("limiter"))
            return page(LockTable::OutLimiter, o);
        if (leaf == QLatin1String("delay_ms"))
            return page(LockTable::OutDelay, o);
        return LockState::Free;
    }
    if (top == QLatin1String("matrix"))
        return page(LockTable::Matrix, oneBased(s.value(2)));
    if (top == QLatin1String("generator") && s.value(1) == QLatin1String("out"))
        return page(LockTable::Generator, oneBased(s.value(2)));
    return LockState::Free;
}
