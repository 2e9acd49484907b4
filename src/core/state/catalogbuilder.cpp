#include "catalogbuilder.h"

#include <type_traits>

#include "core/files/firfiles.h"
#include "core/records/delayrecord.h"

namespace {

using Kind = Parameter::Kind;
using Rounding = Parameter::Rounding;
using Effect = Parameter::Effect;

// `ref` is a generic lambda giving the field of a state, const or not.
template <typename Ref>
void bindValue(Parameter &p, Ref ref)
{
    p.raw = [ref](const UnitState &s) { return double(ref(s)); };
    p.number = p.raw;
    p.setNumber = [ref](UnitState &s, double value) {
        using Field = std::decay_t<decltype(ref(s))>;
        ref(s) = static_cast<Field>(value);
    };
}

// A choice (or a flag stored the other way round) held as codes; the
// value offered is the index of the code. A code the list does not know
// (a corrupt record) reads as `fallback`, what the page shows for it.
template <typename Ref>
void bindCodes(Parameter &p, Ref ref, const QVector<int> &codes, int fallback)
{
    p.raw = [ref](const UnitState &s) { return double(int(ref(s))); };
    p.number = [ref, codes, fallback](const UnitState &s) {
        const int index = codes.indexOf(int(ref(s)));
        return double(index < 0 ? fallback : index);
    };
    p.setNumber = [ref, codes](UnitState &s, double index) {
        using Field = std::decay_t<decltype(ref(s))>;
        ref(s) = static_cast<Field>(codes.at(int(index)));
    };
}

template <typename Ref>
void bindText(Parameter &p, Ref ref)
{
    p.text = [ref](const UnitState &s) { return ref(s); };
    p.setText = [ref](UnitState &s, const QString &text) { ref(s) = text; };
}

QVector<int> codesFrom(int first, int count)
{
    QVector<int> codes;
    for (int i = 0; i < count; ++i)
        codes.append(first + i);
    return codes;
}

void makeNumber(Parameter &p, double minimum, double maximum, double step, int decimals, const char *unit)
{
    p.minimum = minimum;
    p.maximum = maximum;
    p.step = step;
    p.decimals = decimals;
    p.rounding = step > 0.0 ? Rounding::Nearest : Rounding::None;
    p.unit = QString::fromLatin1(unit);
}

void makeInteger(Parameter &p, int minimum, int maximum, const char *unit, Rounding rounding = Rounding::Truncate)
{
    p.minimum = minimum;
    p.maximum = maximum;
    p.step = 1.0;
    p.rounding = rounding;
    p.unit = QString::fromLatin1(unit);
}

// The level fader's range: -70 to +12 dB in tenths.
void makeGain(Parameter &p)
{
    makeNumber(p, double(LevelRecord::MinGain), double(LevelRecord::MaxGain), 0.1, 1, "dB");
}

// Filter frequencies are whole Hz from 20 to 20000 on every page.
constexpr int MinFreq = 20;
constexpr int MaxFreq = 20000;
// The filter pages' band gain.
constexpr double MaxBandGain = 20.0;

const QStringList SectionTypes{QStringLiteral("bessel"), QStringLiteral("butterworth"), QStringLiteral("link-riley")};
// The slopes without their minus sign, so that a command line does not take
// them for options.
const QStringList Slopes{QStringLiteral("6db/oct"),  QStringLiteral("12db/oct"), QStringLiteral("18db/oct"),
                         QStringLiteral("24db/oct"), QStringLiteral("36db/oct"), QStringLiteral("48db/oct")};
const QStringList BandTypes{QStringLiteral("peq"), QStringLiteral("lowshelf"), QStringLiteral("highshelf"),
                            QStringLiteral("allpass180"), QStringLiteral("allpass90")};
const QStringList LockStates{QStringLiteral("free"), QStringLiteral("read-only"), QStringLiteral("hidden")};

} // namespace

CatalogBuilder::CatalogBuilder(UnitFamily family)
    : m_family(family)
{
}

QString CatalogBuilder::inputName(int input)
{
    return QString(QChar(QLatin1Char('A').unicode() + input));
}

QString CatalogBuilder::outputName(int output)
{
    return QString::number(output + 1);
}

Parameter &CatalogBuilder::add(const Name &name, Parameter::Kind kind, const QString &description)
{
    Parameter p;
    p.path = name.path;
    p.segments = name.path.split(QLatin1Char('.'));
    p.pattern = name.pattern;
    p.kind = kind;
    p.description = description;
    m_parameters.append(p);
    return m_parameters.last();
}

QVector<Parameter> CatalogBuilder::build()
{
    m_parameters.clear();
    addUnit();
    for (int c = 0; c < UnitState::Inputs; ++c)
        addInput(c);
    addMatrix();
    addGenerator();
    for (int o = 0; o < UnitState::Outputs; ++o)
        addOutput(o);
    return m_parameters;
}

void CatalogBuilder::addUnit()
{
    const Name unit{QStringLiteral("unit"), QStringLiteral("unit")};

    Parameter &family = add(unit / QStringLiteral("family"), Kind::Choice,
                            QStringLiteral("Unit family, fixed for a state: 96k for ARM firmware V1.x (input delays, "
                                           "512-tap FIR), 48k for the others"));
    family.choices = QStringList{UnitState::familyName(UnitFamily::Sharc48k), UnitState::familyName(UnitFamily::Sharc96k)};
    family.readOnly = true;
    family.raw = [](const UnitState &s) { return double(int(s.family())); };
    family.number = family.raw;
    family.setNumber = [](UnitState &, double) {};

    Parameter &location = add(unit / QStringLiteral("location"), Kind::Text,
                              QStringLiteral("Where the unit stands, as its display and the overview show it"));
    location.maxLength = UnitState::TextSize;
    bindText(location, [](auto &s) -> auto & { return s.location; });

    Parameter &description = add(unit / QStringLiteral("description"), Kind::Text,
                                 QStringLiteral("What the unit does, as its display and the overview show it"));
    description.maxLength = UnitState::TextSize;
    bindText(description, [](auto &s) -> auto & { return s.description; });

    bindValue(add(unit / QStringLiteral("panel_lock"), Kind::Bool, QStringLiteral("Front-panel lock")),
              [](auto &s) -> auto & { return s.panelLock; });

    if (UnitState::hasLcdPage(m_family)) {
        Parameter &lcd = add(unit / QStringLiteral("lcd_page"), Kind::Choice,
                             QStringLiteral("What the unit's display shows; polling cycles through the pages "
                                            "(ARM firmware V1.4.26 and later)"));
        lcd.choices = QStringList{QStringLiteral("polling"),     QStringLiteral("model"),  QStringLiteral("ip"),
                       QStringLiteral("location"),    QStringLiteral("description"), QStringLiteral("preset"),
                       QStringLiteral("run-time")};
        bindCodes(lcd, [](auto &s) -> auto & { return s.lcdPage; }, codesFrom(UnitState::LcdPolling, 7), 0);
    }

    bindValue(add(unit / QStringLiteral("all_mute"), Kind::Bool, QStringLiteral("Mutes the whole unit")),
              [](auto &s) -> auto & { return s.allMute; });
}

void CatalogBuilder::addLevel(const Name &channel, bool inputSide, int index)
{
    const size_t i = size_t(index);
    auto level = [inputSide, i](auto &s) -> auto & {
        return inputSide ? s.dsp.inputLevels[i] : s.dsp.outputLevels[i];
    };
    auto setUp = [&](Parameter &p) -> Parameter & {
        p.channel = index;
        p.inputSide = inputSide;
        return p;
    };

    Parameter &trim = setUp(add(channel / QStringLiteral("trim_db"), Kind::Number,
                                QStringLiteral("Calibration trim, applied beside the gain")));
    makeGain(trim);
    if (inputSide)
        bindValue(trim, [i](auto &s) -> auto & { return s.inputTrims[i]; });
    else
        bindValue(trim, [i](auto &s) -> auto & { return s.outputTrims[i]; });

    Parameter &gain = setUp(add(channel / QStringLiteral("gain_db"), Kind::Number, QStringLiteral("Gain")));
    makeGain(gain);
    gain.effect = Effect::LevelGroup;
    bindValue(gain, [level](auto &s) -> auto & { return level(s).gain; });

    Parameter &mute = setUp(add(channel / QStringLiteral("mute"), Kind::Bool, QStringLiteral("Muted")));
    mute.effect = Effect::LevelGroup;
    bindValue(mute, [level](auto &s) -> auto & { return level(s).mute; });

    Parameter &invert = setUp(add(channel / QStringLiteral("invert"), Kind::Bool, QStringLiteral("Polarity inverted")));
    invert.effect = Effect::LevelGroup;
    bindValue(invert, [level](auto &s) -> auto & { return level(s).invert; });

    Parameter &group = setUp(add(channel / QStringLiteral("group"), Kind::Integer,
                                 QStringLiteral("Link group, 0 for none: a gain, mute or invert set on a grouped "
                                                "channel applies to its whole group")));
    makeInteger(group, 0, inputSide ? LevelRecord::InputGroups : LevelRecord::OutputGroups, "");
    bindValue(group, [level](auto &s) -> auto & { return level(s).group; });
}

void CatalogBuilder::addInput(int input)
{
    const size_t i = size_t(input);
    const Name channel = Name{QStringLiteral("in"), QStringLiteral("in")}.indexed(inputName(input), QStringLiteral("<A-D>"));

    Parameter &label = add(channel / QStringLiteral("label"), Kind::Text, QStringLiteral("Channel label"));
    label.maxLength = UnitState::TextSize;
    bindText(label, [i](auto &s) -> auto & { return s.inputLabels[i]; });

    // One source per pair; the first input of the pair names it.
    if (input % 2 == 0) {
        const Name pair = Name{QStringLiteral("in"), QStringLiteral("in")}.indexed(inputName(input),
                                                                                   QStringLiteral("<A,C>"));
        Parameter &source = add(pair / QStringLiteral("source"), Kind::Choice,
                                QStringLiteral("Source of the input pair (IN A with IN B, IN C with IN D)"));
        source.choices = QStringList{QStringLiteral("analog"), QStringLiteral("aes")};
        const size_t p = i / 2;
        bindCodes(source, [p](auto &s) -> auto & { return s.inputSources[p]; }, codesFrom(0, 2), 0);
    }

    addLevel(channel, true, input);

    const Name gate = channel / QStringLiteral("gate");
    auto gateRecord = [i](auto &s) -> auto & { return s.dsp.gates[i]; };
    bindValue(add(gate / QStringLiteral("enable"), Kind::Bool, QStringLiteral("Noise gate on")),
              [gateRecord](auto &s) -> auto & { return gateRecord(s).enable; });
    Parameter &threshold = add(gate / QStringLiteral("threshold_db"), Kind::Integer,
                               QStringLiteral("Level the gate opens at"));
    makeInteger(threshold, GateRecord::MinThreshold, GateRecord::MaxThreshold, "dB");
    bindValue(threshold, [gateRecord](auto &s) -> auto & { return gateRecord(s).threshold; });
    Parameter &attack = add(gate / QStringLiteral("attack_ms"), Kind::Integer, QStringLiteral("Gate attack time"));
    makeInteger(attack, GateRecord::MinAttack, GateRecord::MaxAttack, "ms");
    bindValue(attack, [gateRecord](auto &s) -> auto & { return gateRecord(s).attack; });
    Parameter &decay = add(gate / QStringLiteral("decay_ms"), Kind::Integer, QStringLiteral("Gate release time"));
    makeInteger(decay, GateRecord::MinDecay, GateRecord::MaxDecay, "ms");
    bindValue(decay, [gateRecord](auto &s) -> auto & { return gateRecord(s).decay; });

    bindValue(add(channel / QStringLiteral("feedback") / QStringLiteral("enable"), Kind::Bool,
                  QStringLiteral("Feedback suppressor on")),
              [i](auto &s) -> auto & { return s.dsp.feedback[i]; });

    addFilter(channel, true, input);

    for (int b = 0; b < DeqBand::BandsPerChannel; ++b) {
        const Name band = (channel / QStringLiteral("deq")).indexed(QString::number(b + 1), QStringLiteral("<1-3>"));
        auto rec = [i, b](auto &s) -> auto & { return s.dsp.deq[i][size_t(b)]; };

        Parameter &enable = add(band / QStringLiteral("enable"), Kind::Bool, QStringLiteral("Dynamic EQ band on"));
        bindCodes(enable, [rec](auto &s) -> auto & { return rec(s).bypass; }, {1, 0}, 0);

        Parameter &mode = add(band / QStringLiteral("mode"), Kind::Choice,
                              QStringLiteral("Boost while the level is below the threshold, or cut while above"));
        mode.choices = QStringList{QStringLiteral("boost-below"), QStringLiteral("cut-above")};
        bindCodes(mode, [rec](auto &s) -> auto & { return rec(s).mode; }, {DeqBand::BoostBelow, DeqBand::CutAbove}, 0);

        Parameter &type = add(band / QStringLiteral("type"), Kind::Choice, QStringLiteral("Band shape"));
        type.choices = BandTypes.mid(0, 3);
        bindCodes(type, [rec](auto &s) -> auto & { return rec(s).type; }, codesFrom(0, 3), 0);

        Parameter &freq = add(band / QStringLiteral("freq_hz"), Kind::Integer, QStringLiteral("Band frequency"));
        makeInteger(freq, int(DeqBand::MinFreq), int(DeqBand::MaxFreq), "Hz");
        bindValue(freq, [rec](auto &s) -> auto & { return rec(s).freq; });

        Parameter &gain = add(band / QStringLiteral("gain_db"), Kind::Number,
                              QStringLiteral("Largest boost or cut, as the mode says"));
        makeNumber(gain, 0.0, double(DeqBand::MaxGain), 0.1, 1, "dB");
        bindValue(gain, [rec](auto &s) -> auto & { return rec(s).gain; });

        Parameter &q = add(band / QStringLiteral("q"), Kind::Number,
                           QStringLiteral("Quality factor (shelves are drawn with Q 0.71 whatever it says)"));
        makeNumber(q, double(DeqBand::MinQ), double(DeqBand::MaxQ), 0.01, 2, "");
        bindValue(q, [rec](auto &s) -> auto & { return rec(s).q; });

        Parameter &thr = add(band / QStringLiteral("threshold_db"), Kind::Number,
                             QStringLiteral("Level the band acts at"));
        makeNumber(thr, double(DeqBand::MinThreshold), double(DeqBand::MaxThreshold), 0.1, 1, "dB");
        bindValue(thr, [rec](auto &s) -> auto & { return rec(s).threshold; });

        Parameter &ratio = add(band / QStringLiteral("ratio"), Kind::Number, QStringLiteral("Ratio of the gain change"));
        makeNumber(ratio, double(DeqBand::MinRatio), double(DeqBand::MaxRatio), 0.1, 1, "");
        bindValue(ratio, [rec](auto &s) -> auto & { return rec(s).ratio; });

        // The page's time knobs round to whole milliseconds.
        Parameter &att = add(band / QStringLiteral("attack_ms"), Kind::Integer, QStringLiteral("Attack time"));
        makeInteger(att, int(DeqBand::MinTime), int(DeqBand::MaxTime), "ms", Rounding::Nearest);
        bindValue(att, [rec](auto &s) -> auto & { return rec(s).attack; });

        Parameter &rel = add(band / QStringLiteral("decay_ms"), Kind::Integer, QStringLiteral("Release time"));
        makeInteger(rel, int(DeqBand::MinTime), int(DeqBand::MaxTime), "ms", Rounding::Nearest);
        bindValue(rel, [rec](auto &s) -> auto & { return rec(s).release; });
    }

    addLimiter(channel, true, input);

    if (UnitState::hasInputDelay(m_family)) {
        Parameter &delay = add(channel / QStringLiteral("delay_ms"), Kind::Number, QStringLiteral("Delay"));
        makeNumber(delay, 0.0, DelayRecord::InputMaxMs, 0.01, 2, "ms");
        bindValue(delay, [i](auto &s) -> auto & { return s.dsp.inputDelays[i]; });
    }

    addInputLocks(channel / QStringLiteral("lock"), input);
}

void CatalogBuilder::addFilter(const Name &channel, bool inputSide, int index)
{
    const size_t i = size_t(index);
    auto filter = [inputSide, i](auto &s) -> auto & {
        return inputSide ? s.dsp.inputFilters[i] : s.dsp.outputFilters[i];
    };

    for (const bool high : {true, false}) {
        const Name section = channel / (high ? QStringLiteral("hpf") : QStringLiteral("lpf"));
        const QString what = high ? QStringLiteral("High-pass") : QStringLiteral("Low-pass");
        bindValue(add(section / QStringLiteral("enable"), Kind::Bool, what + QStringLiteral(" filter on")),
                  [filter, high](auto &s) -> auto & { return high ? filter(s).hpEnable : filter(s).lpEnable; });

        Parameter &type = add(section / QStringLiteral("type"), Kind::Choice, what + QStringLiteral(" filter type"));
        type.choices = SectionTypes;
        bindCodes(type, [filter, high](auto &s) -> auto & { return high ? filter(s).hpType : filter(s).lpType; },
                  codesFrom(0, 3), 0);

        Parameter &slope = add(section / QStringLiteral("slope"), Kind::Choice, what + QStringLiteral(" filter slope"));
        slope.choices = Slopes;
        bindCodes(slope, [filter, high](auto &s) -> auto & { return high ? filter(s).hpSlope : filter(s).lpSlope; },
                  codesFrom(0, 6), 0);

        Parameter &freq = add(section / QStringLiteral("freq_hz"), Kind::Integer,
                              what + QStringLiteral(" corner frequency"));
        makeInteger(freq, MinFreq, MaxFreq, "Hz");
        bindValue(freq, [filter, high](auto &s) -> auto & { return high ? filter(s).hpFreq : filter(s).lpFreq; });
    }

    for (int b = 0; b < FilterChannel::BandCount; ++b) {
        const size_t k = size_t(b);
        const Name band = (channel / QStringLiteral("peq")).indexed(QString::number(b + 1), QStringLiteral("<1-16>"));

        bindValue(add(band / QStringLiteral("enable"), Kind::Bool, QStringLiteral("Parametric band on")),
                  [filter, k](auto &s) -> auto & { return filter(s).bandEnable[k]; });

        Parameter &type = add(band / QStringLiteral("type"), Kind::Choice, QStringLiteral("Band shape"));
        type.choices = BandTypes;
        bindCodes(type, [filter, k](auto &s) -> auto & { return filter(s).bandType[k]; }, codesFrom(0, 5), 0);

        Parameter &freq = add(band / QStringLiteral("freq_hz"), Kind::Integer, QStringLiteral("Band frequency"));
        makeInteger(freq, MinFreq, MaxFreq, "Hz");
        bindValue(freq, [filter, k](auto &s) -> auto & { return filter(s).bandFreq[k]; });

        Parameter &gain = add(band / QStringLiteral("gain_db"), Kind::Number, QStringLiteral("Band gain"));
        makeNumber(gain, -MaxBandGain, MaxBandGain, 0.1, 1, "dB");
        bindValue(gain, [filter, k](auto &s) -> auto & { return filter(s).bandGain[k]; });

        // The band keeps an index into the Q table; the value is offered.
        Parameter &q = add(band / QStringLiteral("q"), Kind::Number,
                           QStringLiteral("Quality factor (shelves are drawn with Q 0.67 whatever it says)"));
        q.decimals = 2;
        q.rounding = Rounding::Listed;
        for (float value : qTable)
            q.listed.append(double(value));
        q.minimum = q.listed.first();
        q.maximum = q.listed.last();
        q.listName = QStringLiteral("the Q table");
        q.raw = [filter, k](const UnitState &s) { return double(filter(s).bandQIndex[k]); };
        q.number = [filter, k](const UnitState &s) {
            return double(qTable[qMin<size_t>(filter(s).bandQIndex[k], qTable.size() - 1)]);
        };
        q.setNumber = [filter, k](UnitState &s, double value) {
            quint8 index = 0;
            for (size_t n = 0; n < qTable.size(); ++n) {
                if (qAbs(double(qTable[n]) - value) < qAbs(double(qTable[index]) - value))
                    index = quint8(n);
            }
            filter(s).bandQIndex[k] = index;
        };
    }
}

void CatalogBuilder::addLimiter(const Name &channel, bool inputSide, int index)
{
    const size_t i = size_t(index);
    auto rec = [inputSide, i](auto &s) -> auto & {
        return inputSide ? s.dsp.inputLimiters[i] : s.dsp.outputLimiters[i];
    };
    const Name limiter = channel / QStringLiteral("limiter");

    bindValue(add(limiter / QStringLiteral("enable"), Kind::Bool, QStringLiteral("Compressor/limiter on")),
              [rec](auto &s) -> auto & { return rec(s).enable; });

    // The page's field takes the threshold as typed (its knob steps in tenths).
    Parameter &threshold = add(limiter / QStringLiteral("threshold_db"), Kind::Number,
                               QStringLiteral("Level compression starts at"));
    makeNumber(threshold, double(LimiterRecord::MinThreshold), double(LimiterRecord::MaxThreshold), 0.0, 1, "dB");
    bindValue(threshold, [rec](auto &s) -> auto & { return rec(s).threshold; });

    Parameter &ratio = add(limiter / QStringLiteral("ratio"), Kind::Integer,
                           QStringLiteral("Compression ratio n:1; 100 limits"));
    makeInteger(ratio, LimiterRecord::MinRatio, LimiterRecord::MaxRatio, "");
    bindValue(ratio, [rec](auto &s) -> auto & { return rec(s).ratio; });

    Parameter &attack = add(limiter / QStringLiteral("attack_ms"), Kind::Integer, QStringLiteral("Attack time"));
    makeInteger(attack, LimiterRecord::MinAttack, LimiterRecord::MaxAttack, "ms");
    bindValue(attack, [rec](auto &s) -> auto & { return rec(s).attack; });

    Parameter &decay = add(limiter / QStringLiteral("decay_ms"), Kind::Integer, QStringLiteral("Release time"));
    makeInteger(decay, LimiterRecord::MinDecay, LimiterRecord::MaxDecay, "ms");
    bindValue(decay, [rec](auto &s) -> auto & { return rec(s).decay; });
}

void CatalogBuilder::addMatrix()
{
    const Name matrix{QStringLiteral("matrix"), QStringLiteral("matrix")};
    for (int o = 0; o < UnitState::Outputs; ++o) {
        const Name out = (matrix / QStringLiteral("out")).indexed(outputName(o), QStringLiteral("<1-8>"));
        for (int c = 0; c < UnitState::Inputs; ++c) {
            const Name point = (out / QStringLiteral("in")).indexed(inputName(c), QStringLiteral("<A-D>"));
            const size_t oi = size_t(o);
            const size_t ci = size_t(c);
            bindValue(add(point / QStringLiteral("enable"), Kind::Bool, QStringLiteral("The input feeds the output")),
                      [oi, ci](auto &s) -> auto & { return s.dsp.mixer[oi].enable[ci]; });
            Parameter &gain = add(point / QStringLiteral("gain_db"), Kind::Integer, QStringLiteral("Cross-point gain"));
            makeInteger(gain, MixerOutput::MinGain, MixerOutput::MaxGain, "dB");
            bindValue(gain, [oi, ci](auto &s) -> auto & { return s.dsp.mixer[oi].gain[ci]; });
        }
    }
}

void CatalogBuilder::addGenerator()
{
    const Name generator{QStringLiteral("generator"), QStringLiteral("generator")};

    Parameter &source = add(generator / QStringLiteral("source"), Kind::Choice,
                            QStringLiteral("Test signal; the sine starts at 1000 Hz, as the unit starts it"));
    source.choices = QStringList{QStringLiteral("pinknoise"), QStringLiteral("sine"), QStringLiteral("whitenoise")};
    source.effect = Effect::GeneratorSource;
    bindCodes(source, [](auto &s) -> auto & { return s.dsp.generator.source; }, codesFrom(0, 3), 1);

    Parameter &freq = add(generator / QStringLiteral("freq_hz"), Kind::Integer, QStringLiteral("Sine frequency"));
    makeInteger(freq, GeneratorRecord::MinFrequency, GeneratorRecord::MaxFrequency, "Hz");
    bindValue(freq, [](auto &s) -> auto & { return s.dsp.generator.frequency; });

    // The page works in whole dB and rounds a typed 5.5 to the nearest.
    Parameter &gain = add(generator / QStringLiteral("gain_db"), Kind::Integer, QStringLiteral("Generator level"));
    makeInteger(gain, GeneratorRecord::MinGain, GeneratorRecord::MaxGain, "dB", Rounding::Nearest);
    bindValue(gain, [](auto &s) -> auto & { return s.dsp.generator.gain; });

    bindValue(add(generator / QStringLiteral("mute"), Kind::Bool, QStringLiteral("Generator muted")),
              [](auto &s) -> auto & { return s.dsp.generator.mute; });

    for (int o = 0; o < UnitState::Outputs; ++o) {
        const Name out = (generator / QStringLiteral("out")).indexed(outputName(o), QStringLiteral("<1-8>"));
        const size_t oi = size_t(o);
        bindValue(add(out / QStringLiteral("enable"), Kind::Bool, QStringLiteral("The generator feeds the output")),
                  [oi](auto &s) -> auto & { return s.dsp.generator.output[oi]; });
    }
}

void CatalogBuilder::addFir(const Name &channel, int output)
{
    const size_t o = size_t(output);
    const Name fir = channel / QStringLiteral("fir");
    auto rec = [o](auto &s) -> auto & { return s.dsp.fir[o]; };
    auto setUp = [&](Parameter &p, Effect effect) -> Parameter & {
        p.channel = output;
        p.effect = effect;
        return p;
    };

    bindValue(setUp(add(fir / QStringLiteral("enable"), Kind::Bool, QStringLiteral("FIR filter on")), Effect::None),
              [rec](auto &s) -> auto & { return rec(s).enable; });

    // Designed low, high or band pass, or coefficients from elsewhere; the
    // record keeps both an external flag and a type byte.
    Parameter &type = setUp(add(fir / QStringLiteral("type"), Kind::Choice,
                                QStringLiteral("Designed low, high or band pass, or external coefficients")),
                            Effect::FirType);
    type.choices = QStringList{QStringLiteral("low-pass"), QStringLiteral("high-pass"), QStringLiteral("band-pass"),
                    QStringLiteral("external")};
    type.raw = [rec](const UnitState &s) { return double(rec(s).external * 256 + rec(s).firType); };
    type.number = [rec](const UnitState &s) {
        const FirChannel &f = rec(s);
        if (f.external)
            return 3.0;
        return f.firType >= FirChannel::LowPass && f.firType <= FirChannel::BandPass ? double(f.firType - 1) : 2.0;
    };
    type.setNumber = [rec](UnitState &s, double index) {
        FirChannel &f = rec(s);
        f.external = index == 3.0 ? 1 : 0;
        f.firType = f.external ? quint8(FirChannel::External) : quint8(index + 1.0);
    };

    const int maxTaps = UnitState::maxFirTaps(m_family);
    Parameter &taps = setUp(add(fir / QStringLiteral("taps"), Kind::Integer,
                                QStringLiteral("Taps of a design; for external coefficients, how many are in use")),
                            Effect::FirTaps);
    taps.rounding = Rounding::Listed;
    for (int n : FirFiles::designTapCounts(maxTaps))
        taps.listed.append(n);
    taps.minimum = taps.listed.first();
    taps.maximum = taps.listed.last();
    taps.step = 1.0;
    taps.listName = QStringLiteral("the offered tap counts");
    taps.maxLength = maxTaps;
    bindValue(taps, [rec](auto &s) -> auto & { return rec(s).taps; });

    Parameter &low = setUp(add(fir / QStringLiteral("low_freq_hz"), Kind::Integer,
                               QStringLiteral("Corner of low and high pass, lower corner of band pass")),
                           Effect::FirDesign);
    makeInteger(low, int(FirChannel::MinFreq), int(FirChannel::MaxFreq), "Hz");
    bindValue(low, [rec](auto &s) -> auto & { return rec(s).lowFreq; });

    Parameter &high = setUp(add(fir / QStringLiteral("high_freq_hz"), Kind::Integer,
                                QStringLiteral("Upper corner of band pass")),
                            Effect::FirDesign);
    makeInteger(high, int(FirChannel::MinFreq), int(FirChannel::MaxFreq), "Hz");
    bindValue(high, [rec](auto &s) -> auto & { return rec(s).highFreq; });

    Parameter &window = setUp(add(fir / QStringLiteral("window"), Kind::Choice, QStringLiteral("Design window")),
                              Effect::FirDesign);
    window.choices = QStringList{QStringLiteral("rectangle"), QStringLiteral("tukey"),   QStringLiteral("triangular"),
                      QStringLiteral("hanning"),   QStringLiteral("hamming"), QStringLiteral("blackman"),
                      QStringLiteral("kaiser")};
    bindCodes(window, [rec](auto &s) -> auto & { return rec(s).window; },
              codesFrom(FirChannel::MinWindow, FirChannel::MaxWindow), 0);

    Parameter &beta = setUp(add(fir / QStringLiteral("kaiser_beta"), Kind::Integer,
                                QStringLiteral("Beta of the Kaiser window")),
                            Effect::FirDesign);
    makeInteger(beta, 0, FirChannel::MaxKaiserBeta, "");
    bindValue(beta, [rec](auto &s) -> auto & { return rec(s).kaiserBeta; });

    Parameter &coefficients = setUp(add(fir / QStringLiteral("coefficients"), Kind::Coefficients,
                                        QStringLiteral("Coefficients, first tap first: a design's, or external ones")),
                                    Effect::FirCoefficients);
    coefficients.maxLength = maxTaps;
    coefficients.minimum = -double(FirFiles::MaxCoefficient);
    coefficients.maximum = double(FirFiles::MaxCoefficient);
}

void CatalogBuilder::addOutput(int output)
{
    const size_t o = size_t(output);
    const Name channel =
        Name{QStringLiteral("out"), QStringLiteral("out")}.indexed(outputName(output), QStringLiteral("<1-8>"));

    Parameter &label = add(channel / QStringLiteral("label"), Kind::Text, QStringLiteral("Channel label"));
    label.maxLength = UnitState::TextSize;
    bindText(label, [o](auto &s) -> auto & { return s.outputLabels[o]; });

    addLevel(channel, false, output);
    addFir(channel, output);
    addFilter(channel, false, output);
    addLimiter(channel, false, output);

    Parameter &delay = add(channel / QStringLiteral("delay_ms"), Kind::Number, QStringLiteral("Delay"));
    makeNumber(delay, 0.0, UnitState::outputDelayMaxMs(m_family, output), 0.01, 2, "ms");
    if (m_family == UnitFamily::Sharc48k) {
        // A 48 kHz unit takes its shorter output delays in even hundredths.
        delay.rounding = Rounding::EvenHundredths;
        delay.step = UnitState::outputDelayStepMs(m_family);
    }
    bindValue(delay, [o](auto &s) -> auto & { return s.dsp.outputDelays[o]; });

    addOutputLocks(channel / QStringLiteral("lock"), output);
}

void CatalogBuilder::addInputLocks(const Name &locks, int input)
{
    auto lock = [&](const QString &leaf, LockTable::Page page, const QString &what) {
        Parameter &p = add(locks / leaf, Kind::Choice, QStringLiteral("Security lock of the %1 page").arg(what));
        p.choices = LockStates;
        bindCodes(p, [page, input](auto &s) -> auto & { return s.locks.pages[size_t(page)][size_t(input)]; },
                  codesFrom(0, 3), 2);
    };
    lock(QStringLiteral("level"), LockTable::InLevel, QStringLiteral("input level"));
    lock(QStringLiteral("gate"), LockTable::Gate, QStringLiteral("gate"));
    lock(QStringLiteral("feedback"), LockTable::Feedback, QStringLiteral("feedback"));
    addFilterLocks(locks, true, input);
    if (UnitState::hasFamilyOneLocks(m_family))
        lock(QStringLiteral("deq"), LockTable::Deq, QStringLiteral("dynamic EQ"));
    lock(QStringLiteral("limiter"), LockTable::InLimiter, QStringLiteral("input limiter"));
    if (UnitState::hasFamilyOneLocks(m_family))
        lock(QStringLiteral("delay"), LockTable::InDelay, QStringLiteral("input delay"));
}

void CatalogBuilder::addOutputLocks(const Name &locks, int output)
{
    auto lock = [&](const QString &leaf, LockTable::Page page, const QString &what) {
        Parameter &p = add(locks / leaf, Kind::Choice, QStringLiteral("Security lock of the %1 page").arg(what));
        p.choices = LockStates;
        bindCodes(p, [page, output](auto &s) -> auto & { return s.locks.pages[size_t(page)][size_t(output)]; },
                  codesFrom(0, 3), 2);
    };
    lock(QStringLiteral("matrix"), LockTable::Matrix, QStringLiteral("matrix"));
    lock(QStringLiteral("generator"), LockTable::Generator, QStringLiteral("signal generator"));
    lock(QStringLiteral("level"), LockTable::OutLevel, QStringLiteral("output level"));
    if (UnitState::hasFamilyOneLocks(m_family))
        lock(QStringLiteral("fir"), LockTable::Fir, QStringLiteral("FIR"));
    addFilterLocks(locks, false, output);
    lock(QStringLiteral("limiter"), LockTable::OutLimiter, QStringLiteral("output limiter"));
    lock(QStringLiteral("delay"), LockTable::OutDelay, QStringLiteral("output delay"));
}

void CatalogBuilder::addFilterLocks(const Name &locks, bool inputSide, int index)
{
    const size_t i = size_t(index);
    auto entry = [inputSide, i](auto &s) -> auto & {
        return inputSide ? s.locks.inputFilters[i] : s.locks.outputFilters[i];
    };
    const QString page = inputSide ? QStringLiteral("input filter page") : QStringLiteral("output filter page");
    auto add3 = [&](const Name &name, const QString &what, auto field) {
        Parameter &p = add(name, Kind::Choice, QStringLiteral("Security lock of the %1 of the %2").arg(what, page));
        p.choices = LockStates;
        bindCodes(p, field, codesFrom(0, 3), 2);
    };
    add3(locks / QStringLiteral("graph"), QStringLiteral("graph"),
         [entry](auto &s) -> auto & { return entry(s).graph; });
    add3(locks / QStringLiteral("hpf"), QStringLiteral("high-pass filter"),
         [entry](auto &s) -> auto & { return entry(s).highPass; });
    add3(locks / QStringLiteral("lpf"), QStringLiteral("low-pass filter"),
         [entry](auto &s) -> auto & { return entry(s).lowPass; });
    for (int b = 0; b < LockTable::FilterLocks::Bands; ++b) {
        const size_t k = size_t(b);
        add3((locks / QStringLiteral("peq")).indexed(QString::number(b + 1), QStringLiteral("<1-16>")),
             QStringLiteral("parametric band"), [entry, k](auto &s) -> auto & { return entry(s).bands[k]; });
    }
}
