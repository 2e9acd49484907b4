// The unit's state as a value and the names of its parameters: the paths
// promised to users reach their record fields, values are limited as the
// pages limit them, mistakes get clear answers, diffs and JSON describe a
// state exactly, and the parameter table in docs/cli.md is current.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QtTest>

#include "core/state/parametercatalog.h"
#include "core/state/parametertable.h"
#include "core/state/statediff.h"
#include "core/state/statejson.h"
#include "core/state/unitstate.h"

namespace {

using Reader = QVariant (*)(const UnitState &);
using Limit = SetResult::Limit;

QString str(const char *text)
{
    return QString::fromUtf8(text);
}

QStringList list(std::initializer_list<const char *> texts)
{
    QStringList out;
    for (const char *text : texts)
        out.append(str(text));
    return out;
}

UnitFamily familyNamed(const QString &name)
{
    return name == QLatin1String("48k") ? UnitFamily::Sharc48k : UnitFamily::Sharc96k;
}

// A state an operator could have made: every parameter set to a random
// valid value through the catalog, some FIRs with external coefficients.
UnitState randomState(UnitFamily family, quint32 seed)
{
    QRandomGenerator random(seed);
    UnitState state(family);
    const ParameterCatalog &catalog = ParameterCatalog::of(family);
    for (const Parameter &p : catalog.parameters()) {
        QJsonValue value;
        switch (p.kind) {
        case Parameter::Kind::Number:
        case Parameter::Kind::Integer:
            value = p.rounding == Parameter::Rounding::Listed
                ? p.listed.at(random.bounded(p.listed.size()))
                : p.minimum + random.generateDouble() * (p.maximum - p.minimum);
            break;
        case Parameter::Kind::Bool:
            value = random.bounded(2) == 1;
            break;
        case Parameter::Kind::Choice:
            if (p.readOnly)
                continue;
            value = p.choices.at(random.bounded(p.choices.size()));
            break;
        case Parameter::Kind::Text: {
            QString text;
            for (int i = random.bounded(p.maxLength + 1); i > 0; --i)
                text += QChar(char16_t(32 + random.bounded(95)));
            value = text;
            break;
        }
        case Parameter::Kind::Coefficients:
            if (random.bounded(2) == 0)
                continue;
            QJsonArray values;
            for (int i = 1 + random.bounded(p.maxLength); i > 0; --i)
                values.append(random.generateDouble() * 2.0 - 1.0);
            const QString type = p.path.section(QLatin1Char('.'), 0, 2) + QStringLiteral(".type");
            ParameterCatalog::set(state, type, QStringLiteral("external"));
            value = values;
            break;
        }
        const SetResult result = ParameterCatalog::set(state, p.path, value);
        Q_ASSERT(result.ok());
    }
    return state;
}

} // namespace

Q_DECLARE_METATYPE(Reader)
Q_DECLARE_METATYPE(SetResult::Limit)

class TestParameters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void promisedNamesReachTheirFields_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<Reader>("field");
        QTest::addColumn<QVariant>("expected");

        auto row = [](const char *path, const QJsonValue &value, Reader field, const QVariant &expected) {
            QTest::newRow(path) << QString::fromLatin1(path) << value << field << expected;
        };
        // Promised to users.
        row("in.A.gain_db", -6.5, [](const UnitState &s) { return QVariant(s.dsp.inputLevels[0].gain); }, -6.5f);
        row("in.A.mute", true, [](const UnitState &s) { return QVariant(s.dsp.inputLevels[0].mute); }, true);
        row("in.A.invert", true, [](const UnitState &s) { return QVariant(s.dsp.inputLevels[0].invert); }, true);
        row("in.A.gate.threshold_db", -40,
            [](const UnitState &s) { return QVariant(int(s.dsp.gates[0].threshold)); }, -40);
        row("in.A.peq.4.freq_hz", 1234,
            [](const UnitState &s) { return QVariant(int(s.dsp.inputFilters[0].bandFreq[3])); }, 1234);
        row("out.3.gain_db", -3.5, [](const UnitState &s) { return QVariant(s.dsp.outputLevels[2].gain); }, -3.5f);
        row("out.3.mute", true, [](const UnitState &s) { return QVariant(s.dsp.outputLevels[2].mute); }, true);
        row("out.3.delay_ms", 12.34, [](const UnitState &s) { return QVariant(s.dsp.outputDelays[2]); }, 12.34f);
        row("out.3.limiter.threshold_db", -10.5,
            [](const UnitState &s) { return QVariant(s.dsp.outputLimiters[2].threshold); }, -10.5f);
        row("matrix.out.3.in.A.gain_db", -12,
            [](const UnitState &s) { return QVariant(int(s.dsp.mixer[2].gain[0])); }, -12);
        row("generator.freq_hz", 440,
            [](const UnitState &s) { return QVariant(int(s.dsp.generator.frequency)); }, 440);
        // Chosen alongside them.
        row("in.B.hpf.slope", QStringLiteral("24db/oct"),
            [](const UnitState &s) { return QVariant(int(s.dsp.inputFilters[1].hpSlope)); }, 3);
        row("in.A.deq.2.threshold_db", -20.5,
            [](const UnitState &s) { return QVariant(s.dsp.deq[0][1].threshold); }, -20.5f);
        row("in.A.deq.3.enable", true, [](const UnitState &s) { return QVariant(int(s.dsp.deq[0][2].bypass)); }, 0);
        row("in.D.peq.16.q", 0.67,
            [](const UnitState &s) { return QVariant(int(s.dsp.inputFilters[3].bandQIndex[15])); }, 5);
        row("out.5.fir.taps", 200, [](const UnitState &s) { return QVariant(int(s.dsp.fir[4].taps)); }, 200);
        row("out.5.fir.window", QStringLiteral("kaiser"),
            [](const UnitState &s) { return QVariant(int(s.dsp.fir[4].window)); }, 7);
        row("matrix.out.3.in.A.enable", true,
            [](const UnitState &s) { return QVariant(s.dsp.mixer[2].enable[0]); }, true);
        row("generator.out.8.enable", true,
            [](const UnitState &s) { return QVariant(s.dsp.generator.output[7]); }, true);
        row("in.C.source", QStringLiteral("aes"), [](const UnitState &s) { return QVariant(int(s.inputSources[1])); }, 1);
        row("in.A.group", 2, [](const UnitState &s) { return QVariant(int(s.dsp.inputLevels[0].group)); }, 2);
        row("out.2.trim_db", -1.5, [](const UnitState &s) { return QVariant(s.outputTrims[1]); }, -1.5f);
        row("in.A.label", QStringLiteral("Vocal"), [](const UnitState &s) { return QVariant(s.inputLabels[0]); },
            QStringLiteral("Vocal"));
        row("unit.lcd_page", QStringLiteral("polling"), [](const UnitState &s) { return QVariant(int(s.lcdPage)); }, -1);
        row("in.A.lock.gate", QStringLiteral("read-only"),
            [](const UnitState &s) { return QVariant(int(s.locks.at(LockTable::Gate, 0))); }, 1);
        row("out.7.lock.peq.16", QStringLiteral("hidden"),
            [](const UnitState &s) { return QVariant(int(s.locks.outputFilters[6].bands[15])); }, 2);
        row("in.B.delay_ms", 999.99, [](const UnitState &s) { return QVariant(s.dsp.inputDelays[1]); }, 999.99f);
    }

    void promisedNamesReachTheirFields()
    {
        QFETCH(QString, path);
        QFETCH(QJsonValue, value);
        QFETCH(Reader, field);
        QFETCH(QVariant, expected);
        UnitState state;
        state.lcdPage = 3;
        const SetResult result = ParameterCatalog::set(state, path, value);
        QVERIFY2(result.outcome == SetResult::Outcome::Set, qPrintable(result.message));
        QVERIFY(result.changed);
        QCOMPARE(field(state), expected);
        QCOMPARE(ParameterCatalog::get(state, path), value);
    }

    void limitsAndSteps_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QJsonValue>("stored");
        QTest::addColumn<Limit>("limit");

        auto row = [](const char *name, const char *family, const char *path, const QJsonValue &value,
                      const QJsonValue &stored, Limit limit) {
            QTest::newRow(name) << QString::fromLatin1(family) << QString::fromLatin1(path) << value << stored << limit;
        };
        // Level fader and field: -70 to +12 dB in tenths.
        row("gain above", "96k", "out.3.gain_db", 20, 12, Limit::Maximum);
        row("gain below", "96k", "in.A.gain_db", -80, -70, Limit::Minimum);
        row("gain between tenths", "96k", "in.A.gain_db", 5.55, 5.6, Limit::Step);
        row("gain on a tenth", "96k", "in.A.gain_db", -6.1, -6.1, Limit::None);
        row("trim above", "48k", "in.B.trim_db", 13, 12, Limit::Maximum);
        row("group beyond the input's two", "96k", "in.A.group", 3, 2, Limit::Maximum);
        row("output group 4", "96k", "out.1.group", 4, 4, Limit::None);
        // Gate: whole dB and ms, received values truncated toward zero.
        row("gate threshold above 0", "96k", "in.A.gate.threshold_db", 5, 0, Limit::Maximum);
        row("gate threshold -130", "96k", "in.A.gate.threshold_db", -130, -120, Limit::Minimum);
        row("gate threshold -64.7", "96k", "in.A.gate.threshold_db", -64.7, -64, Limit::Step);
        row("gate attack 0", "96k", "in.A.gate.attack_ms", 0, 1, Limit::Minimum);
        row("gate decay 10", "96k", "in.A.gate.decay_ms", 10, 20, Limit::Minimum);
        // Limiter: the threshold field takes what is typed; ratio and times whole.
        row("limiter threshold -150", "96k", "out.1.limiter.threshold_db", -150, -120, Limit::Minimum);
        row("limiter threshold as typed", "96k", "out.1.limiter.threshold_db", -12.34, -12.34, Limit::None);
        row("limiter ratio 0", "96k", "in.A.limiter.ratio", 0, 1, Limit::Minimum);
        row("limiter ratio 200", "96k", "in.A.limiter.ratio", 200, 100, Limit::Maximum);
        row("limiter decay 3", "96k", "in.A.limiter.decay_ms", 3, 5, Limit::Minimum);
        // Matrix and generator.
        row("cross-point 20", "96k", "matrix.out.1.in.B.gain_db", 20, 12, Limit::Maximum);
        row("cross-point -80", "96k", "matrix.out.1.in.B.gain_db", -80, -70, Limit::Minimum);
        row("generator gain 5.5 rounds", "96k", "generator.gain_db", 5.5, 6, Limit::Step);
        row("generator gain -75", "96k", "generator.gain_db", -75, -70, Limit::Minimum);
        row("generator 1000.5 Hz", "96k", "generator.freq_hz", 1000.5, 1000, Limit::Step);
        // Filters: whole Hz 20..20000, band gain in tenths, Q from the table.
        row("high-pass 10 Hz", "96k", "in.A.hpf.freq_hz", 10, 20, Limit::Minimum);
        row("low-pass 20001 Hz", "96k", "out.8.lpf.freq_hz", 20001, 20000, Limit::Maximum);
        row("band gain 25", "96k", "in.A.peq.1.gain_db", 25, 20, Limit::Maximum);
        row("band gain -3.14", "96k", "in.A.peq.1.gain_db", -3.14, -3.1, Limit::Step);
        row("Q between table values", "96k", "out.2.peq.9.q", 6.1, 6, Limit::Step);
        row("Q above the table", "96k", "out.2.peq.9.q", 100, 20, Limit::Maximum);
        row("Q 0.1", "96k", "out.2.peq.9.q", 0.1, 0.5, Limit::Minimum);
        // Dynamic EQ: the knobs' units (0.1, 0.01, 1 ms).
        row("DEQ ratio 200", "96k", "in.C.deq.1.ratio", 200, 100, Limit::Maximum);
        row("DEQ Q 0.1", "96k", "in.C.deq.1.q", 0.1, 0.27, Limit::Minimum);
        row("DEQ threshold -20.04", "96k", "in.C.deq.1.threshold_db", -20.04, -20, Limit::Step);
        row("DEQ gain 13", "96k", "in.C.deq.1.gain_db", 13, 12, Limit::Maximum);
        row("DEQ attack 10.6", "96k", "in.C.deq.1.attack_ms", 10.6, 11, Limit::Step);
        row("DEQ frequency 99.9", "96k", "in.C.deq.1.freq_hz", 99.9, 99, Limit::Step);
        // Delays: hundredths; 48 kHz units in even hundredths and shorter.
        row("96k delay 12.347", "96k", "out.3.delay_ms", 12.347, 12.35, Limit::Step);
        row("96k delay 2500", "96k", "out.5.delay_ms", 2500, 2000, Limit::Maximum);
        row("input delay 1500", "96k", "in.A.delay_ms", 1500, 1000, Limit::Maximum);
        row("48k delay 12.35", "48k", "out.3.delay_ms", 12.35, 12.36, Limit::Step);
        row("48k delay 12.34", "48k", "out.3.delay_ms", 12.34, 12.34, Limit::None);
        row("48k output 2 at 500", "48k", "out.2.delay_ms", 500, 218, Limit::Maximum);
        row("48k output 6 at 200", "48k", "out.6.delay_ms", 200, 148, Limit::Maximum);
        // FIR: offered tap counts, the family's maximum, whole Hz.
        row("taps 255", "96k", "out.1.fir.taps", 255, 256, Limit::Step);
        row("taps 600", "96k", "out.1.fir.taps", 600, 512, Limit::Maximum);
        row("48k taps 300", "48k", "out.1.fir.taps", 300, 256, Limit::Maximum);
        row("FIR 10 Hz", "96k", "out.1.fir.low_freq_hz", 10, 20, Limit::Minimum);
        row("Kaiser beta 12", "96k", "out.1.fir.kaiser_beta", 12, 10, Limit::Maximum);
        // Texts: what fits the unit's 16 bytes.
        row("label too long", "96k", "out.1.label", QStringLiteral("abcdefghijklmnopqrs"),
            QStringLiteral("abcdefghijklmnop"), Limit::Length);
        row("location", "96k", "unit.location", QStringLiteral("Main hall"), QStringLiteral("Main hall"), Limit::None);
    }

    void limitsAndSteps()
    {
        QFETCH(QString, family);
        QFETCH(QString, path);
        QFETCH(QJsonValue, value);
        QFETCH(QJsonValue, stored);
        QFETCH(Limit, limit);
        UnitState state(familyNamed(family));
        const SetResult result = ParameterCatalog::set(state, path, value);
        QVERIFY2(result.ok(), qPrintable(result.message));
        QCOMPARE(result.limit, limit);
        QCOMPARE(result.outcome, limit == Limit::None ? SetResult::Outcome::Set : SetResult::Outcome::Adjusted);
        QCOMPARE(result.message.isEmpty(), limit == Limit::None);
        QCOMPARE(ParameterCatalog::get(state, path), stored);
        QCOMPARE(result.value, stored);
    }

    void messagesSayWhatHappened_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");

        auto row = [](const char *name, const char *family, const char *path, const char *text, const char *message) {
            QTest::newRow(name) << str(family) << str(path) << str(text) << str(message);
        };
        row("above", "96k", "out.3.gain_db", "20",
            "out.3.gain_db: 20 is above the maximum 12.0 dB; set to 12.0");
        row("unit suffix", "96k", "out.3.gain_db", "-80 dB",
            "out.3.gain_db: -80 is below the minimum -70.0 dB; set to -70.0");
        row("tenths", "96k", "in.A.gain_db", "5.55",
            "in.A.gain_db: 5.55 is between the steps of 0.1 dB; set to 5.6");
        row("whole", "96k", "in.A.gate.threshold_db", "-12.5",
            "in.A.gate.threshold_db: -12.5 is not a whole number; set to -12");
        row("even hundredths", "48k", "out.3.delay_ms", "12.35",
            "out.3.delay_ms: 12.35 is not on the 0.02 ms steps of a 48 kHz unit; " "set to 12.36");
        row("Q table", "96k", "in.A.peq.1.q", "6.1",
            "in.A.peq.1.q: 6.1 is not one of the Q table; set to 6.00");
        row("unknown choice", "96k", "in.A.hpf.type", "chebyshev",
            "in.A.hpf.type: \"chebyshev\" is not one of bessel, butterworth, link-riley");
        row("not a number", "96k", "in.A.gain_db", "loud",
            "in.A.gain_db: \"loud\" is not a number (-70.0 to 12.0 dB, steps of 0.1)");
        row("not a flag", "96k", "in.A.mute", "maybe",
            "in.A.mute: \"maybe\" is neither on nor off");
        row("control character", "96k", "in.A.label", "a\nb",
            "in.A.label: takes printable text only");
        row("family", "96k", "unit.family", "48k",
            "unit.family: \"48k\" cannot be set; a state is made for one unit family");
        row("designed FIR", "96k", "out.5.fir.coefficients", "0.5, 0.25",
            "out.5.fir.coefficients: a designed FIR has 256 taps; set " "out.5.fir.type to external to load 2 coefficients");
        row("unknown path", "96k", "in.A.gain", "1",
            "unknown parameter \"in.A.gain\"; did you mean in.A.gain_db?");
        row("other family", "48k", "in.A.delay_ms", "1",
            "in.A.delay_ms: 48 kHz units have no such setting; it is one of 96 kHz units");
    }

    void messagesSayWhatHappened()
    {
        QFETCH(QString, family);
        QFETCH(QString, path);
        QFETCH(QString, text);
        QFETCH(QString, message);
        UnitState state(familyNamed(family));
        const UnitState before = state;
        const SetResult result = ParameterCatalog::setFromText(state, path, text);
        QCOMPARE(result.message, message);
        if (!result.ok())
            QVERIFY(state == before);
    }

    void unknownPathsSuggestNearest_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("nearest");
        QTest::newRow("unit left off") << str("in.A.gain") << str("in.A.gain_db");
        QTest::newRow("lower-case input") << str("in.a.gain_db") << str("in.A.gain_db");
        QTest::newRow("transposed") << str("out.3.dealy_ms") << str("out.3.delay_ms");
        QTest::newRow("cross-point") << str("matrix.out.3.in.A.gain") << str("matrix.out.3.in.A.gain_db");
        QTest::newRow("group") << str("in.A.gate") << str("in.A.gate.enable");
        QTest::newRow("frequency") << str("generator.freq") << str("generator.freq_hz");
        QTest::newRow("nothing near") << str("volume") << str("");
    }

    void unknownPathsSuggestNearest()
    {
        QFETCH(QString, typed);
        QFETCH(QString, nearest);
        UnitState state;
        const SetResult result = ParameterCatalog::set(state, typed, 1);
        QVERIFY(!result.ok());
        QCOMPARE(result.suggestions.value(0), nearest);
        QVERIFY(result.suggestions.size() <= 5);
    }

    void diffLinesInSignalOrder()
    {
        UnitState before;
        UnitState after = before;
        // Set out of order on purpose: the diff follows the signal.
        for (const auto &pv : QVector<QPair<const char *, QJsonValue>>{
                 {"out.3.delay_ms", 12.34},
                 {"generator.freq_hz", 440},
                 {"in.A.gain_db", -6},
                 {"matrix.out.3.in.A.enable", true},
                 {"in.A.hpf.type", QStringLiteral("butterworth")},
                 {"out.1.label", QStringLiteral("Sub")},
             })
            QVERIFY(ParameterCatalog::set(after, QString::fromLatin1(pv.first), pv.second).ok());
        QCOMPARE(StateDiff::lines(StateDiff::between(before, after)),
                 QStringList({QStringLiteral("in.A.gain_db: 0.0 -> -6.0"),
                              QStringLiteral("in.A.hpf.type: bessel -> butterworth"),
                              QStringLiteral("matrix.out.3.in.A.enable: off -> on"),
                              QStringLiteral("generator.freq_hz: 1000 -> 440"),
                              QStringLiteral("out.1.label: \"OUT 1\" -> \"Sub\""),
                              QStringLiteral("out.3.delay_ms: 0.00 -> 12.34")}));
        QVERIFY(StateDiff::between(after, after).isEmpty());
    }

    void effectsFollowTheUnit_data()
    {
        QTest::addColumn<QStringList>("setup"); // path=value, set first
        QTest::addColumn<QString>("path");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QStringList>("followers");
        QTest::addColumn<QStringList>("diff");

        auto row = [](const char *name, std::initializer_list<const char *> setup, const char *path,
                      const QJsonValue &value, std::initializer_list<const char *> followers,
                      std::initializer_list<const char *> diff) {
            QTest::newRow(name) << list(setup) << str(path) << value << list(followers) << list(diff);
        };
        row("link group", {"in.A.group=1", "in.C.group=1", "in.D.group=2"}, "in.A.gain_db", -6, {"in.C.gain_db"},
            {"in.A.gain_db: 0.0 -> -6.0", "in.C.gain_db: 0.0 -> -6.0"});
        row("no group", {}, "out.2.mute", true, {}, {"out.2.mute: off -> on"});
        row("sine at 1000 Hz", {"generator.source=pinknoise", "generator.freq_hz=440"}, "generator.source",
            QStringLiteral("sine"), {"generator.freq_hz"},
            {"generator.source: pinknoise -> sine", "generator.freq_hz: 440 -> 1000"});
        row("sine frequency given too", {"generator.source=pinknoise", "generator.freq_hz=440"}, "generator.source",
            QStringLiteral("whitenoise"), {}, {"generator.source: pinknoise -> whitenoise"});
        row("design anew", {}, "out.4.fir.low_freq_hz", 800, {"out.4.fir.coefficients"},
            {"out.4.fir.low_freq_hz: 500 -> 800", "out.4.fir.coefficients: 256 values -> 256 values (changed)"});
        row("unused corner", {"out.4.fir.type=low-pass"}, "out.4.fir.high_freq_hz", 9000, {},
            {"out.4.fir.high_freq_hz: 5000 -> 9000"});
        row("external taps", {"out.4.fir.type=external"}, "out.4.fir.taps", 100, {"out.4.fir.coefficients"},
            {"out.4.fir.taps: 256 -> 100", "out.4.fir.coefficients: 256 values -> 100 values"});
        row("back to a design", {"out.4.fir.type=external", "out.4.fir.taps=103"}, "out.4.fir.type",
            QStringLiteral("low-pass"), {"out.4.fir.taps", "out.4.fir.coefficients"},
            {"out.4.fir.type: external -> low-pass", "out.4.fir.taps: 103 -> 100",
             "out.4.fir.coefficients: 103 values -> 100 values"});
        row("external coefficients", {"out.4.fir.type=external"}, "out.4.fir.coefficients",
            QJsonArray{0.5, -0.25, 1}, {"out.4.fir.taps"},
            {"out.4.fir.taps: 256 -> 3", "out.4.fir.coefficients: 256 values -> 3 values"});
    }

    void effectsFollowTheUnit()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, path);
        QFETCH(QJsonValue, value);
        QFETCH(QStringList, followers);
        QFETCH(QStringList, diff);
        UnitState before;
        for (const QString &assignment : qAsConst(setup))
            QVERIFY(ParameterCatalog::setFromText(before, assignment.section(QLatin1Char('='), 0, 0),
                                                  assignment.section(QLatin1Char('='), 1))
                        .ok());
        UnitState after = before;
        const SetResult result = ParameterCatalog::set(after, path, value);
        QVERIFY2(result.ok(), qPrintable(result.message));
        QCOMPARE(result.followers, followers);
        QCOMPARE(StateDiff::lines(StateDiff::between(before, after)), diff);
    }

    void designedCoefficientsMatchTheDesign()
    {
        // What a unit holds after "Clear", at the family's sample rate.
        QVERIFY(UnitState(UnitFamily::Sharc48k).dsp.fir[0] == FirChannel::designedDefaults(48000.0));
        QVERIFY(UnitState(UnitFamily::Sharc96k).dsp.fir[7] == FirChannel::designedDefaults(96000.0));
        // A design set by name gives what the page would send.
        UnitState state(UnitFamily::Sharc48k);
        QVERIFY(ParameterCatalog::set(state, QStringLiteral("out.1.fir.taps"), 50).ok());
        QVERIFY(ParameterCatalog::set(state, QStringLiteral("out.1.fir.taps"), 256).ok());
        QVERIFY(state.dsp.fir[0] == FirChannel::designedDefaults(48000.0));
    }

    void jsonRoundTripIsExact_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u}) {
            QTest::newRow(qPrintable(QStringLiteral("48k %1").arg(seed))) << "48k" << seed;
            QTest::newRow(qPrintable(QStringLiteral("96k %1").arg(seed))) << "96k" << seed;
        }
    }

    void jsonRoundTripIsExact()
    {
        QFETCH(QString, family);
        QFETCH(quint32, seed);
        const UnitState original = randomState(familyNamed(family), seed);
        const QByteArray text = QJsonDocument(StateJson::write(original)).toJson();
        const QJsonObject read = QJsonDocument::fromJson(text).object();
        QCOMPARE(StateJson::familyOf(read, UnitFamily::Sharc96k), original.family());

        UnitState copy(StateJson::familyOf(read, UnitFamily::Sharc96k));
        const QVector<SetResult> results = StateJson::read(read, &copy);
        QVERIFY(ParameterCatalog::allOk(results));
        QVERIFY2(copy == original, qPrintable(StateDiff::lines(StateDiff::between(original, copy)).join(QLatin1Char('\n'))));
        QVERIFY(StateDiff::between(original, copy).isEmpty());
        // Read onto the state it came from, nothing changes.
        for (const SetResult &r : StateJson::read(read, &copy))
            QVERIFY2(!r.changed && r.outcome == SetResult::Outcome::Set, qPrintable(r.path + r.message));
    }

    void jsonNumbersAreShortAndPartsSelectable()
    {
        UnitState state;
        ParameterCatalog::set(state, QStringLiteral("out.3.limiter.threshold_db"), -6.1);
        const QJsonObject part = StateJson::write(state, QStringLiteral("out.3.limiter"));
        const QJsonObject limiter = part[QStringLiteral("out")][QStringLiteral("3")][QStringLiteral("limiter")].toObject();
        QCOMPARE(part.keys(), QStringList{QStringLiteral("out")});
        QCOMPARE(limiter.keys(),
                 list({"attack_ms", "decay_ms", "enable", "ratio", "threshold_db"}));
        QVERIFY(QJsonDocument(part).toJson(QJsonDocument::Compact).contains("\"threshold_db\":-6.1"));

        QString error;
        QVERIFY(StateJson::write(state, QStringLiteral("out.3.limit"), &error).isEmpty());
        QVERIFY(error.contains(QLatin1String("did you mean out.3.limiter")));

        // Flat and nested mixed; all or nothing.
        const QJsonObject mixed = QJsonDocument::fromJson(
            R"({"in.A.gain_db": -6, "out": {"3": {"mute": true, "lock.level": "hidden"}}})").object();
        QVERIFY(ParameterCatalog::allOk(StateJson::read(mixed, &state)));
        QCOMPARE(state.dsp.inputLevels[0].gain, -6.0f);
        QVERIFY(state.dsp.outputLevels[2].mute);
        QCOMPARE(state.locks.at(LockTable::OutLevel, 2), LockState::Hidden);
        const UnitState kept = state;
        const QJsonObject bad = QJsonDocument::fromJson(R"({"in.A.gain_db": 3, "in.A.mute": "perhaps"})").object();
        QVERIFY(!ParameterCatalog::allOk(StateJson::read(bad, &state)));
        QVERIFY(state == kept);
    }

    void hostileInputGetsAnAnswer()
    {
        // Sizes no operator types; each must be answered, not ground through.
        UnitState state;
        const QString huge(1000000, QLatin1Char('x'));
        SetResult label = ParameterCatalog::set(state, QStringLiteral("in.A.label"), huge);
        QCOMPARE(label.limit, Limit::Length);
        QCOMPARE(state.inputLabels[0], QString(16, QLatin1Char('x')));
        QVERIFY(!ParameterCatalog::set(state, huge, 1).ok());
        QVector<PathValue> unknown;
        for (int i = 0; i < 20000; ++i)
            unknown.append({QStringLiteral("in.A.gain_dbx%1").arg(i), 1});
        const QVector<SetResult> results = ParameterCatalog::apply(state, unknown);
        QVERIFY(!ParameterCatalog::allOk(results));
        QVERIFY(!results.first().suggestions.isEmpty());
        QVERIFY(results.last().suggestions.isEmpty());
        QJsonArray tooMany;
        for (int i = 0; i < 100000; ++i)
            tooMany.append(0.0);
        ParameterCatalog::set(state, QStringLiteral("out.1.fir.type"), QStringLiteral("external"));
        QVERIFY(!ParameterCatalog::set(state, QStringLiteral("out.1.fir.coefficients"), tooMany).ok());
    }

    void familiesDiffer()
    {
        const ParameterCatalog &full = ParameterCatalog::of(UnitFamily::Sharc96k);
        const ParameterCatalog &small = ParameterCatalog::of(UnitFamily::Sharc48k);
        QStringList only96;
        int s = 0;
        for (const Parameter &p : full.parameters()) {
            if (s < small.size() && small.parameters().at(s).path == p.path)
                ++s;
            else
                only96.append(p.path);
        }
        QCOMPARE(s, small.size()); // the 48 kHz catalog is the 96 kHz one, less some paths, in order
        QCOMPARE(only96.size(), 1 + 4 * 3 + 8);
        QVERIFY(only96.contains(QStringLiteral("unit.lcd_page")));
        QVERIFY(only96.contains(QStringLiteral("in.D.delay_ms")));
        QVERIFY(only96.contains(QStringLiteral("in.A.lock.deq")));
        QVERIFY(only96.contains(QStringLiteral("out.8.lock.fir")));

        QCOMPARE(full.find(QStringLiteral("out.5.delay_ms"))->maximum, 2000.0);
        QCOMPARE(small.find(QStringLiteral("out.4.delay_ms"))->maximum, 218.0);
        QCOMPARE(small.find(QStringLiteral("out.5.delay_ms"))->maximum, 148.0);
        QCOMPARE(full.find(QStringLiteral("out.1.fir.taps"))->maximum, 512.0);
        QCOMPARE(small.find(QStringLiteral("out.1.fir.taps"))->maximum, 256.0);

        QCOMPARE(StateDiff::lines(StateDiff::between(UnitState(UnitFamily::Sharc48k), UnitState())).mid(0, 2),
                 list({"unit.family: 48k -> 96k", "unit.lcd_page: - -> polling"}));
    }

    void pathsFollowTheNamingRules()
    {
        for (UnitFamily family : {UnitFamily::Sharc48k, UnitFamily::Sharc96k}) {
            const ParameterCatalog &catalog = ParameterCatalog::of(family);
            QSet<QString> seen;
            for (const Parameter &p : catalog.parameters()) {
                QVERIFY2(!seen.contains(p.path), qPrintable(p.path));
                seen.insert(p.path);
                QCOMPARE(catalog.find(p.path), &p);
                // Lower case, but for the input letters.
                const QString lower = p.path.section(QLatin1Char('.'), 0, 0) == QLatin1String("in")
                                          || p.path.contains(QLatin1String(".in."))
                                      ? QString(p.path).replace(QRegularExpression(QStringLiteral("(^in|\\.in)\\.[A-D]")),
                                                                QStringLiteral("\\1.x"))
                                      : p.path;
                QVERIFY2(lower == lower.toLower(), qPrintable(p.path));
                const QString leaf = p.path.section(QLatin1Char('.'), -1);
                const QString suffix = p.unit.isEmpty() ? QString() : QLatin1Char('_') + p.unit.toLower();
                QVERIFY2(suffix.isEmpty() ? !leaf.contains(QRegularExpression(QStringLiteral("_(db|hz|ms)$")))
                                          : leaf.endsWith(suffix),
                         qPrintable(p.path));
                QVERIFY2(!p.description.isEmpty(), qPrintable(p.path));
            }
            // No path is a group of another, so the nested JSON has room for
            // every one; and the members of a group are neighbours.
            QSet<QString> closed;
            QStringList open;
            for (const Parameter &p : catalog.parameters()) {
                QVERIFY2(catalog.under(p.path).size() == 1, qPrintable(p.path));
                QStringList groups;
                for (int n = 1; n < p.segments.size(); ++n)
                    groups.append(p.segments.mid(0, n).join(QLatin1Char('.')));
                for (const QString &group : qAsConst(open)) {
                    if (!groups.contains(group))
                        closed.insert(group);
                }
                for (const QString &group : qAsConst(groups))
                    QVERIFY2(!closed.contains(group), qPrintable(p.path));
                open = groups;
            }
        }
    }

    void docsTableIsCurrent()
    {
        QFile file(QStringLiteral(ORVALIX_SOURCE_DIR "/docs/cli.md"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString document = QString::fromUtf8(file.readAll());
        file.close();
        const QString table = ParameterTable::markdown();
        if (ParameterTable::extract(document) == table)
            return;
        if (qEnvironmentVariableIsSet("ORVALIX_UPDATE_DOCS")) {
            QVERIFY(ParameterTable::replaceIn(&document));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(document.toUtf8());
            return;
        }
        QFAIL("docs/cli.md: the parameter table is out of date. Regenerate it with "
              "ORVALIX_UPDATE_DOCS=1 build/tests/tst_parameters docsTableIsCurrent");
    }
};

QTEST_GUILESS_MAIN(TestParameters)
#include "tst_parameters.moc"
