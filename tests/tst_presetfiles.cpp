// Offline preset files: the two layouts byte by byte against a reader written
// here from the layout tables, widening and truncation, the 48 kHz delay
// clamp, and the function pages' save and load (family switch, nothing
// sent, write failures reported).

#include <QStackedWidget>
#include <QTcpSocket>
#include <QtEndian>
#include <QtTest>

#include <cstring>
#include <functional>
#include <vector>

#include "core/link/link.h"
#include "core/presets/presetimage.h"
#include "testsupport.h"
#include "ui/modules/deqwidget.h"
#include "ui/modules/firwidget.h"
#include "ui/modules/qindelay.h"
#include "ui/modules/qinlimiter.h"
#include "ui/modules/qoutdelay.h"
#include "ui/pages/funcwidget.h"
#include "ui/pages/presetpages.h"
#include "ui/pages/qpreset.h"
#include "ui/pages/qsecurity.h"
#include "virtualunit.h"

namespace {

// A state with a value of its own in every field, each inside the range its
// page keeps, so it also survives a trip through the pages.
PresetImage distinctState()
{
    PresetImage s;
    for (int c = 0; c < 4; ++c) {
        const size_t i = size_t(c);
        s.gates[i].enable = c % 2 == 0;
        s.gates[i].threshold = qint8(-10 - c);
        s.gates[i].attack = quint16(100 + c);
        s.gates[i].decay = quint16(200 + c);
        s.inputLevels[i].gain = -10.5f - float(c);
        s.inputLevels[i].mute = c % 2 == 1;
        s.inputLevels[i].invert = c % 2 == 0;
        s.feedback[i] = c % 3 == 0;
        s.inputLimiters[i].enable = c % 2 == 1;
        s.inputLimiters[i].threshold = -20.5f - float(c);
        s.inputLimiters[i].ratio = quint8(3 + c);
        s.inputLimiters[i].attack = quint16(10 + c);
        s.inputLimiters[i].decay = quint16(50 + c);
        for (int b = 0; b < 3; ++b) {
            DeqBand &d = s.deq[i][size_t(b)];
            d.bypass = quint8((c + b) % 2);
            d.type = quint8((c + b) % 3);
            d.freq = 150.0f + 100.0f * float(b) + float(c);
            d.gain = 1.5f + float(b);
            d.q = 2.0f + 0.25f * float(c);
            d.threshold = -10.0f - float(c);
            d.attack = 5.0f + float(b);
            d.release = 20.0f + float(c);
            d.ratio = 2.0f + float(b);
            d.mode = quint8(1 + c % 2);
        }
        s.inputDelays[i] = 10.25f + float(c);
    }
    auto fillFilter = [](FilterChannel &f, int c) {
        f.hpEnable = quint8(c % 2);
        f.hpType = quint8(c % 3);
        f.hpSlope = quint8(c % 6);
        f.hpFreq = quint16(30 + c);
        f.lpEnable = quint8(1 - c % 2);
        f.lpType = quint8((c + 1) % 3);
        f.lpSlope = quint8((c + 2) % 6);
        f.lpFreq = quint16(15000 + c);
        for (int b = 0; b < 16; ++b) {
            const size_t j = size_t(b);
            f.bandEnable[j] = quint8((b + c) % 2);
            f.bandType[j] = quint8((b + c) % 5);
            f.bandFreq[j] = quint16(100 + 10 * b + 200 * c);
            f.bandGain[j] = -5.5f + 0.5f * float(b) + float(c);
            f.bandQIndex[j] = quint8((3 * b + c) % 65);
        }
    };
    for (int c = 0; c < 4; ++c)
        fillFilter(s.inputFilters[size_t(c)], c);
    s.generator.mute = true;
    s.generator.frequency = 1234;
    s.generator.gain = -17.0f;
    s.generator.source = GeneratorRecord::WhiteNoise;
    for (int o = 0; o < 8; ++o) {
        const size_t i = size_t(o);
        for (int in = 0; in < 4; ++in) {
            s.mixer[i].gain[size_t(in)] = qint8(-(o * 4 + in));
            s.mixer[i].enable[size_t(in)] = (o + in) % 2 == 1;
        }
        s.generator.output[i] = o % 3 == 0;
        s.outputLevels[i].gain = -3.5f - float(o);
        s.outputLevels[i].mute = o % 2 == 0;
        s.outputLevels[i].invert = o % 3 == 1;
        FirChannel &fir = s.fir[i];
        fir.external = 0;
        fir.taps = quint16(256 + 16 * o);
        fir.firType = quint8(1 + o % 3);
        fir.lowFreq = 300.0f + float(o);
        fir.highFreq = 6000.0f + float(o);
        fir.window = quint8(1 + o % 7);
        fir.kaiserBeta = float(o);
        fir.enable = quint8(o % 2);
        for (int k = 0; k < FirChannel::MaxTaps; ++k)
            fir.coefficients[size_t(k)] = k < fir.taps ? float(o * 1000 + k) * 1e-4f : 0.0f;
        fillFilter(s.outputFilters[i], 4 + o);
        s.outputLimiters[i].enable = o % 2 == 0;
        s.outputLimiters[i].threshold = -30.5f - float(o);
        s.outputLimiters[i].ratio = quint8(10 + o);
        s.outputLimiters[i].attack = quint16(20 + o);
        s.outputLimiters[i].decay = quint16(60 + o);
        s.outputDelays[i] = 100.5f + 30.0f * float(o);
    }
    return s;
}

// Reads a file the way the layout tables describe it, independently of the
// packer, and remembers which bytes it has looked at.
class LayoutReader
{
public:
    explicit LayoutReader(const QByteArray &data)
        : m_data(data)
        , m_seen(size_t(data.size()), 0)
    {
    }

    quint8 u8(int at)
    {
        mark(at, 1);
        return quint8(m_data.at(at));
    }
    qint8 i8(int at) { return qint8(u8(at)); }
    float f32(int at)
    {
        mark(at, 4);
        const quint32 bits = qFromLittleEndian<quint32>(m_data.constData() + at);
        float value;
        std::memcpy(&value, &bits, 4);
        return value;
    }
    QByteArray bytes(int at, int count)
    {
        mark(at, count);
        return m_data.mid(at, count);
    }
    // Every byte read exactly once.
    bool coveredOnce() const
    {
        for (int seen : m_seen) {
            if (seen != 1)
                return false;
        }
        return true;
    }

private:
    void mark(int at, int count)
    {
        for (int k = at; k < at + count && k < int(m_seen.size()); ++k)
            ++m_seen[size_t(k)];
    }

    QByteArray m_data;
    std::vector<int> m_seen;
};

// Compares a file with the state it should hold; `full` for the 96 kHz
// layout. Offsets as the layout tables give them.
void checkLayout(const QByteArray &file, const PresetImage &s, bool full)
{
    QCOMPARE(file.size(), full ? 19642 : 2726);
    LayoutReader r(file);
    for (int c = 0; c < 4; ++c) {
        const size_t i = size_t(c);
        const int gate = 0 + 13 * c;
        QCOMPARE(r.u8(gate), quint8(s.gates[i].enable ? 1 : 0));
        QCOMPARE(r.f32(gate + 1), float(s.gates[i].threshold));
        QCOMPARE(r.f32(gate + 5), float(s.gates[i].attack));
        QCOMPARE(r.f32(gate + 9), float(s.gates[i].decay));
        const int level = 52 + 6 * c;
        QCOMPARE(r.f32(level), s.inputLevels[i].gain);
        QCOMPARE(r.u8(level + 4), quint8(s.inputLevels[i].mute));
        QCOMPARE(r.u8(level + 5), quint8(s.inputLevels[i].invert));
        QCOMPARE(r.u8(76 + c), quint8(s.feedback[i]));
        const FilterChannel &f = s.inputFilters[i];
        const int head = 80 + 14 * c;
        QCOMPARE(r.u8(head), f.hpEnable);
        QCOMPARE(r.u8(head + 1), f.hpType);
        QCOMPARE(r.u8(head + 2), f.hpSlope);
        QCOMPARE(r.f32(head + 3), float(f.hpFreq));
        QCOMPARE(r.u8(head + 7), f.lpEnable);
        QCOMPARE(r.u8(head + 8), f.lpType);
        QCOMPARE(r.u8(head + 9), f.lpSlope);
        QCOMPARE(r.f32(head + 10), float(f.lpFreq));
        for (int b = 0; b < 16; ++b) {
            const int band = 136 + 11 * (16 * c + b);
            QCOMPARE(r.u8(band), f.bandEnable[size_t(b)]);
            QCOMPARE(r.u8(band + 1), f.bandType[size_t(b)]);
            QCOMPARE(r.f32(band + 2), float(f.bandFreq[size_t(b)]));
            QCOMPARE(r.f32(band + 6), f.bandGain[size_t(b)]);
            QCOMPARE(r.u8(band + 10), f.bandQIndex[size_t(b)]);
        }
        const LimiterRecord &l = s.inputLimiters[i];
        const int limiter = 840 + 17 * c;
        QCOMPARE(r.u8(limiter), quint8(l.enable));
        QCOMPARE(r.f32(limiter + 1), l.threshold);
        QCOMPARE(r.f32(limiter + 5), float(l.ratio));
        QCOMPARE(r.f32(limiter + 9), float(l.attack));
        QCOMPARE(r.f32(limiter + 13), float(l.decay));
        if (full) {
            for (int b = 0; b < 3; ++b) {
                const DeqBand &d = s.deq[i][size_t(b)];
                const int at = 908 + 31 * (3 * c + b);
                QCOMPARE(r.u8(at), d.bypass);
                QCOMPARE(r.u8(at + 1), d.type);
                QCOMPARE(r.f32(at + 2), d.freq);
                QCOMPARE(r.f32(at + 6), d.gain);
                QCOMPARE(r.f32(at + 10), d.q);
                QCOMPARE(r.f32(at + 14), d.threshold);
                QCOMPARE(r.f32(at + 18), d.attack);
                QCOMPARE(r.f32(at + 22), d.release);
                QCOMPARE(r.f32(at + 26), d.ratio);
                QCOMPARE(r.u8(at + 30), d.mode);
            }
            QCOMPARE(r.f32(1280 + 4 * c), s.inputDelays[i]);
        }
    }
    const int mixer = full ? 1296 : 908;
    const int generator = full ? 1368 : 980;
    const int outLevel = full ? 1378 : 990;
    const int outHead = full ? 17954 : 1038;
    const int outBands = full ? 18066 : 1150;
    const int outLimiter = full ? 19474 : 2558;
    const int outDelay = full ? 19610 : 2694;

    QCOMPARE(r.u8(generator), quint8(s.generator.mute));
    QCOMPARE(r.f32(generator + 1), float(s.generator.frequency));
    QCOMPARE(r.f32(generator + 5), s.generator.gain);
    QCOMPARE(r.u8(generator + 9), s.generator.source);
    for (int o = 0; o < 8; ++o) {
        const size_t i = size_t(o);
        const int row = mixer + 9 * o;
        for (int in = 0; in < 4; ++in) {
            QCOMPARE(r.i8(row + in), s.mixer[i].gain[size_t(in)]);
            QCOMPARE(r.u8(row + 4 + in), quint8(s.mixer[i].enable[size_t(in)]));
        }
        QCOMPARE(r.u8(row + 8), quint8(s.generator.output[i]));
        const int level = outLevel + 6 * o;
        QCOMPARE(r.f32(level), s.outputLevels[i].gain);
        QCOMPARE(r.u8(level + 4), quint8(s.outputLevels[i].mute));
        QCOMPARE(r.u8(level + 5), quint8(s.outputLevels[i].invert));
        if (full) {
            const FirChannel &fir = s.fir[i];
            const int at = 1426 + 2066 * o;
            QCOMPARE(r.u8(at), fir.external);
            QCOMPARE(qFromLittleEndian<quint16>(r.bytes(at + 1, 2).constData()), fir.taps);
            QCOMPARE(r.u8(at + 3), fir.firType);
            QCOMPARE(r.f32(at + 4), fir.lowFreq);
            QCOMPARE(r.f32(at + 8), fir.highFreq);
            QCOMPARE(r.u8(at + 12), fir.window);
            QCOMPARE(r.f32(at + 13), fir.kaiserBeta);
            QCOMPARE(r.u8(at + 17), fir.enable);
            for (int k = 0; k < 512; ++k)
                QCOMPARE(r.f32(at + 18 + 4 * k), fir.coefficients[size_t(k)]);
        }
        const FilterChannel &f = s.outputFilters[i];
        const int head = outHead + 14 * o;
        QCOMPARE(r.u8(head), f.hpEnable);
        QCOMPARE(r.u8(head + 1), f.hpType);
        QCOMPARE(r.u8(head + 2), f.hpSlope);
        QCOMPARE(r.f32(head + 3), float(f.hpFreq));
        QCOMPARE(r.u8(head + 7), f.lpEnable);
        QCOMPARE(r.u8(head + 8), f.lpType);
        QCOMPARE(r.u8(head + 9), f.lpSlope);
        QCOMPARE(r.f32(head + 10), float(f.lpFreq));
        for (int b = 0; b < 16; ++b) {
            const int band = outBands + 11 * (16 * o + b);
            QCOMPARE(r.u8(band), f.bandEnable[size_t(b)]);
            QCOMPARE(r.u8(band + 1), f.bandType[size_t(b)]);
            QCOMPARE(r.f32(band + 2), float(f.bandFreq[size_t(b)]));
            QCOMPARE(r.f32(band + 6), f.bandGain[size_t(b)]);
            QCOMPARE(r.u8(band + 10), f.bandQIndex[size_t(b)]);
        }
        const LimiterRecord &l = s.outputLimiters[i];
        const int limiter = outLimiter + 17 * o;
        QCOMPARE(r.u8(limiter), quint8(l.enable));
        QCOMPARE(r.f32(limiter + 1), l.threshold);
        QCOMPARE(r.f32(limiter + 5), float(l.ratio));
        QCOMPARE(r.f32(limiter + 9), float(l.attack));
        QCOMPARE(r.f32(limiter + 13), float(l.decay));
        const float delay = s.outputDelays[i];
        const float stored = full ? delay : qMin(delay, o < 4 ? 218.0f : 148.0f);
        QCOMPARE(r.f32(outDelay + 4 * o), stored);
    }
    QVERIFY2(r.coveredOnce(), "the reader did not account for every byte exactly once");
}

QByteArray f32Bytes(float value)
{
    QByteArray bytes(4, '\0');
    quint32 bits;
    std::memcpy(&bits, &value, 4);
    qToLittleEndian<quint32>(bits, bytes.data());
    return bytes;
}

void putF32(QByteArray &data, int at, float value)
{
    data.replace(at, 4, f32Bytes(value));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The pages' state in the 96 kHz layout, which holds every block.
QByteArray pagesImage(const FuncWidget &pages)
{
    return PresetPages::capture(pages).pack96k();
}

} // namespace

class TestPresetFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void goldenLayout_data()
    {
        QTest::addColumn<bool>("full");
        QTest::newRow("SHARC21488_48K") << false;
        QTest::newRow("SHARC21489_96K") << true;
    }
    void goldenLayout()
    {
        QFETCH(bool, full);
        const PresetImage state = distinctState();
        checkLayout(full ? state.pack96k() : state.pack48k(), state, full);
    }

    void roundTripThroughTheImage_data()
    {
        goldenLayout_data();
    }
    void roundTripThroughTheImage()
    {
        QFETCH(bool, full);
        PresetImage state = distinctState();
        for (float &ms : state.outputDelays)
            ms = qMin(ms, 140.0f); // inside both ranges
        PresetImage loaded;
        PresetImage::Variant variant = PresetImage::Sharc48k;
        QVERIFY(loaded.unpack(full ? state.pack96k() : state.pack48k(), &variant));
        QCOMPARE(variant, full ? PresetImage::Sharc96k : PresetImage::Sharc48k);
        if (!full) {
            // What the 48 kHz image does not carry stays as it was.
            const QByteArray defaults = PresetImage().pack96k();
            const QByteArray kept = loaded.pack96k();
            QCOMPARE(kept.mid(908, 372 + 16), defaults.mid(908, 372 + 16));
            QCOMPARE(kept.mid(1426, 8 * 2066), defaults.mid(1426, 8 * 2066));
            loaded.deq = state.deq;
            loaded.fir = state.fir;
            loaded.inputDelays = state.inputDelays;
        }
        QCOMPARE(loaded.pack96k(), state.pack96k());
    }

    void outputDelaysClampedOn48k_data()
    {
        QTest::addColumn<int>("output");
        QTest::addColumn<float>("delay");
        QTest::addColumn<float>("stored48k");
        QTest::newRow("OUT 2 500 ms") << 1 << 500.0f << 218.0f;
        QTest::newRow("OUT 6 200 ms") << 5 << 200.0f << 148.0f;
        QTest::newRow("OUT 1 100 ms") << 0 << 100.0f << 100.0f;
        QTest::newRow("OUT 4 at the limit") << 3 << 218.0f << 218.0f;
        QTest::newRow("OUT 5 just above") << 4 << 148.5f << 148.0f;
        QTest::newRow("OUT 8 2000 ms") << 7 << 2000.0f << 148.0f;
    }
    void outputDelaysClampedOn48k()
    {
        QFETCH(int, output);
        QFETCH(float, delay);
        QFETCH(float, stored48k);
        PresetImage state;
        state.outputDelays[size_t(output)] = delay;
        QCOMPARE(state.pack48k().mid(2694 + 4 * output, 4), f32Bytes(stored48k));
        // The 96 kHz image keeps the full range.
        QCOMPARE(state.pack96k().mid(19610 + 4 * output, 4), f32Bytes(delay));
    }

    void wholeNumbersWidenAndTruncate_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<float>("onFile");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("loaded");
        QTest::newRow("gate threshold -65") << 1 << -65.0f << "threshold" << -65;
        QTest::newRow("gate threshold -64.7") << 1 << -64.7f << "threshold" << -64;
        QTest::newRow("gate attack 12.9") << 5 << 12.9f << "attack" << 12;
        QTest::newRow("limiter ratio 3.99") << 840 + 5 << 3.99f << "ratio" << 3;
        QTest::newRow("limiter decay 99.5") << 840 + 13 << 99.5f << "decay" << 99;
        QTest::newRow("high-pass 1000.9 Hz") << 80 + 3 << 1000.9f << "hpFreq" << 1000;
        QTest::newRow("band 1 at 440.6 Hz") << 136 + 2 << 440.6f << "bandFreq" << 440;
        QTest::newRow("generator 997.9 Hz") << 980 + 1 << 997.9f << "frequency" << 997;
    }
    void wholeNumbersWidenAndTruncate()
    {
        QFETCH(int, offset);
        QFETCH(float, onFile);
        QFETCH(QString, field);
        QFETCH(int, loaded);
        QByteArray file = PresetImage().pack48k();
        putF32(file, offset, onFile);
        PresetImage image;
        QVERIFY(image.unpack(file));
        const QHash<QString, int> values{
            {QStringLiteral("threshold"), image.gates[0].threshold},
            {QStringLiteral("attack"), image.gates[0].attack},
            {QStringLiteral("ratio"), image.inputLimiters[0].ratio},
            {QStringLiteral("decay"), image.inputLimiters[0].decay},
            {QStringLiteral("hpFreq"), image.inputFilters[0].hpFreq},
            {QStringLiteral("bandFreq"), image.inputFilters[0].bandFreq[0]},
            {QStringLiteral("frequency"), image.generator.frequency},
        };
        QCOMPARE(values.value(field), loaded);
    }

    void gateThresholdStoredAsFloat()
    {
        PresetImage state;
        state.gates[2].threshold = -65;
        const QByteArray file = state.pack48k();
        QCOMPARE(file.mid(2 * 13 + 1, 4), f32Bytes(-65.0f));
        PresetImage loaded;
        loaded.gates[2].threshold = 0;
        QVERIFY(loaded.unpack(file));
        QCOMPARE(int(loaded.gates[2].threshold), -65);
    }

    void unpackTakesValuesAsRepliesWould()
    {
        PresetImage base;
        base.inputFilters[1].hpFreq = 123;
        base.inputFilters[1].bandGain[4] = 7.5f;
        base.inputLevels[0].group = 2;
        base.outputLevels[7].group = 4;
        QByteArray file = PresetImage().pack48k();
        file[80 + 14 + 1] = char(7);                  // IN B high-pass type 7: no such type
        putF32(file, 136 + 11 * (16 + 4) + 6, qQNaN()); // IN B band 5 gain: not a number
        file[52 + 4] = char(5);                       // IN A mute: any non-zero is on
        PresetImage image = base;
        QVERIFY(image.unpack(file));
        QCOMPARE(int(image.inputFilters[1].hpFreq), 123);
        QCOMPARE(image.inputFilters[1].bandGain[4], 7.5f);
        QCOMPARE(int(image.inputFilters[1].lpFreq), 20000); // the low-pass section came through
        QVERIFY(image.inputLevels[0].mute);
        // The file has no link groups.
        QCOMPARE(int(image.inputLevels[0].group), 2);
        QCOMPARE(int(image.outputLevels[7].group), 4);
    }

    void otherSizesRefused_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("one short of 48K") << 2725;
        QTest::newRow("one over 48K") << 2727;
        QTest::newRow("one short of 96K") << 19641;
    }
    void otherSizesRefused()
    {
        QFETCH(int, size);
        PresetImage image = distinctState();
        const QByteArray before = image.pack96k();
        QVERIFY(!image.unpack(QByteArray(size, '\x01')));
        QCOMPARE(image.pack96k(), before);
    }

    // Through the function pages.

    void savingWritesThePagesState_data()
    {
        goldenLayout_data();
    }
    void savingWritesThePagesState()
    {
        QFETCH(bool, full);
        ScratchDir dir;
        ScriptedPrompt prompt;
        FuncWidget pages(nullptr, &prompt);
        pages.setFamily(true);
        const PresetImage state = distinctState();
        PresetPages::apply(pages, state, PresetImage::Sharc96k);
        const QString path = dir.filePath(QStringLiteral("state.pst1"));
        pages.savePreset2PC(full ? 1 : 0, path);
        checkLayout(readFile(path), state, full);
        QCOMPARE(prompt.asked.size(), 1); // only the confirmation
        QCOMPARE(prompt.asked.at(0).icon, Prompt::Icon::Information);
    }

    void loadingShowsTheFileOnEveryPage_data()
    {
        goldenLayout_data();
    }
    void loadingShowsTheFileOnEveryPage()
    {
        QFETCH(bool, full);
        ScriptedPrompt prompt;
        FuncWidget pages(nullptr, &prompt);
        PresetImage state = distinctState();
        for (float &ms : state.outputDelays)
            ms = qMin(ms, 140.0f);
        const QByteArray file = full ? state.pack96k() : state.pack48k();
        pages.importPresetFromPC(full ? 1 : 0, file);
        QCOMPARE(pages.hasInputDelayPage(), full);
        QCOMPARE(PresetPages::capture(pages).pack(full ? PresetImage::Sharc96k : PresetImage::Sharc48k), file);
        QVERIFY(prompt.asked.isEmpty());
    }

    void save96kFrom48kPageSet()
    {
        ScratchDir dir;
        ScriptedPrompt prompt;
        FuncWidget pages(nullptr, &prompt);
        pages.setFamily(false);
        QVERIFY(!pages.hasInputDelayPage());
        DeqBand band = DeqBand::defaults(1);
        band.gain = 6.5f;
        pages.deq()->setBand(2, 1, band);
        const QString path = dir.filePath(QStringLiteral("96k.pst1"));
        pages.savePreset2PC(1, path);
        const QByteArray file = readFile(path);
        QCOMPARE(file.size(), 19642);
        QCOMPARE(file.mid(908 + 31 * (3 * 2 + 1), 31), QByteArray(reinterpret_cast<const char *>(band.bytes().data()), 31));
        QCOMPARE(file.mid(1426, 2066), pages.fir()->record(0).toBytes());
    }

    void loading96kFrom48kSetSwitchesThePages()
    {
        ScriptedPrompt prompt;
        FuncWidget pages(nullptr, &prompt);
        pages.setFamily(false);
        pages.setCurrentIndex(pages.stack()->indexOf(pages.preset()));
        QVERIFY(!pages.security()->isRowShown(8));
        PresetImage state = distinctState();
        state.outputDelays[1] = 500.0f;
        pages.importPresetFromPC(1, state.pack96k());
        QVERIFY(pages.hasInputDelayPage());
        QCOMPARE(pages.stack()->widget(4), static_cast<QWidget *>(pages.inLimiter()));
        QCOMPARE(pages.stack()->widget(5), static_cast<QWidget *>(pages.inDelay()));
        for (quint8 row : {quint8(8), quint8(16), quint8(17)})
            QVERIFY(pages.security()->isRowShown(row));
        QCOMPARE(pages.fir()->maxTaps(), 512);
        QCOMPARE(pages.fir()->sampleRate(), 96000);
        QVERIFY(!pages.outDelay()->isReducedRange());
        // Loaded with the full output range in place.
        QCOMPARE(pages.outDelay()->delay(1), 500.0f);
        QCOMPARE(pages.inDelay()->delay(3), state.inputDelays[3]);
        QCOMPARE(pages.fir()->record(6).toBytes(), state.fir[6].toBytes());
    }

    void loading48kFrom96kSetSwitchesBack()
    {
        ScriptedPrompt prompt;
        FuncWidget pages(nullptr, &prompt);
        pages.setFamily(true);
        DeqBand band = DeqBand::defaults(0);
        band.threshold = -33.0f;
        pages.deq()->setBand(1, 0, band);
        pages.importPresetFromPC(0, distinctState().pack48k());
        QVERIFY(!pages.hasInputDelayPage());
        QVERIFY(pages.outDelay()->isReducedRange());
        QCOMPARE(pages.fir()->maxTaps(), 256);
        for (quint8 row : {quint8(8), quint8(16), quint8(17)})
            QVERIFY(!pages.security()->isRowShown(row));
        // The 48 kHz image has no dynamic EQ: the page keeps its bands.
        QCOMPARE(pages.deq()->band(1, 0), band);
        // 220.5 ms on OUT 5 was stored as 148 and is shown within range.
        QCOMPARE(pages.outDelay()->delay(4), 148.0f);
    }

    void loadingSendsNothing()
    {
        ScratchDir dir;
        VirtualUnit::Options options;
        options.address = uniqueLoopback();
        options.port = 0;
        VirtualUnit unit(options);
        QVERIFY(unit.start());
        ScriptedPrompt prompt;
        Link link;
        link.setControlPort(unit.port());
        QTcpSocket socket;
        FuncWidget pages(&link, &prompt);
        for (int i = 0; i < pages.stack()->count(); ++i) {
            if (auto *page = qobject_cast<ModulePage *>(pages.stack()->widget(i)))
                page->timer()->stop();
        }
        link.setCurrentSocket(&socket, 1, options.address.toIPv4Address());
        QVERIFY(waitUntil([&] { return unit.hasClient(); }));
        unit.clearReceived();
        pages.importPresetFromPC(1, distinctState().pack96k());
        pages.savePreset2PC(0, dir.filePath(QStringLiteral("x.pst1")));
        link.sendFrame(2, 0x7E, 0x7E, 0, nullptr, 0);
        QVERIFY(waitUntil([&] { return !unit.receivedMatching(2, 0x7E, 0x7E).isEmpty(); }));
        // The settings page keeps polling on its own timer; only queries may
        // have gone out, never a set.
        QList<UnitFrame> sent;
        for (const UnitFrame &frame : unit.received()) {
            if (frame.op != 0)
                sent << frame;
        }
        QVERIFY2(sent.isEmpty(), qPrintable(QStringLiteral("%1 frames sent").arg(sent.size())));
        link.setCurrentSocket(nullptr, 0, 0);
    }

    // Either way the operator is told: the file is whole, or it is not there.
    void offlineSaveSaysHowItWent_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("size"); // 0: not written
        QTest::newRow("saved, 48 kHz layout") << "state.pst1" << 2726;
        QTest::newRow("missing folder") << "missing/folder/state.pst1" << 0;
    }
    void offlineSaveSaysHowItWent()
    {
        QFETCH(QString, file);
        QFETCH(int, size);
        ScratchDir dir;
        ScriptedPrompt prompt;
        FuncWidget pages(nullptr, &prompt);
        const QString path = dir.filePath(file);
        pages.savePreset2PC(0, path);
        QCOMPARE(prompt.asked.size(), 1);
        QCOMPARE(prompt.asked.at(0).icon, size ? Prompt::Icon::Information : Prompt::Icon::Critical);
        QVERIFY(prompt.asked.at(0).text.contains(QDir::toNativeSeparators(path)));
        if (size)
            QCOMPARE(prompt.asked.at(0).text,
                     QStringLiteral("The settings were saved to %1.").arg(QDir::toNativeSeparators(path)));
        QCOMPARE(QFileInfo(path).exists() ? int(QFileInfo(path).size()) : 0, size);
    }

    void mismatchedTypeIsAFormatError()
    {
        ScriptedPrompt prompt;
        FuncWidget pages(nullptr, &prompt);
        const QByteArray before = pagesImage(pages);
        pages.importPresetFromPC(1, distinctState().pack48k());
        QCOMPARE(prompt.asked.size(), 1);
        QVERIFY(prompt.asked.at(0).text.startsWith(QLatin1String("preset file format error!\n")));
        QCOMPARE(pagesImage(pages), before);
    }
};

QTEST_MAIN(TestPresetFiles)
#include "tst_presetfiles.moc"
