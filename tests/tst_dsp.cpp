#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "core/dsp/biquad.h"
#include "core/dsp/filterresponse.h"
#include "core/dsp/firdesign.h"
#include "core/dsp/responsegrid.h"
#include "core/records/filterchannel.h"
#include "dspreference.h"

Q_DECLARE_METATYPE(FilterChannelParams)
Q_DECLARE_METATYPE(FirDesignParams)

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int Index1k = 239;

ResponseCurve shipped(const FilterChannelParams &p)
{
    ResponseCurve out;
    FilterResponse::compute(p, out);
    return out;
}

// Largest difference from the reference over the grid; infinity when either
// side is not finite.
double maxFilterDifference(const FilterChannelParams &p)
{
    const ResponseCurve fast = shipped(p);
    const std::vector<double> slow = DspReference::filterResponse(p);
    double worst = 0;
    for (int i = 0; i < ResponseGridSize; ++i) {
        if (!std::isfinite(fast[size_t(i)]) || !std::isfinite(slow[size_t(i)]))
            return std::numeric_limits<double>::infinity();
        worst = std::max(worst, std::fabs(fast[size_t(i)] - slow[size_t(i)]));
    }
    return worst;
}

FilterChannelParams flat()
{
    FilterChannelParams p;
    for (FilterBand &b : p.bands)
        b.bypass = true;
    return p;
}

FilterChannelParams section(bool lowPass, int type, int slope, float freq)
{
    FilterChannelParams p = flat();
    FilterSection &s = lowPass ? p.lowPass : p.highPass;
    s.bypass = false;
    s.type = type;
    s.slope = slope;
    s.freq = freq;
    return p;
}

FilterChannelParams band(int type, float freq, float gain, float q)
{
    FilterChannelParams p = flat();
    p.bands[0] = FilterBand{false, true, type, freq, gain, q};
    return p;
}

// Sixteen peaking bands spread over the range plus two eighth-order sections:
// the heaviest curve a page can ask for.
FilterChannelParams busiest()
{
    FilterChannelParams p;
    for (int b = 0; b < FilterMaxBands; ++b)
        p.bands[size_t(b)] = FilterBand{false, true, 0, defaultBandFrequencies[size_t(b)] * 1.5f,
                                        b % 2 ? 12.0f : -9.5f, 0.5f + b};
    p.highPass = FilterSection{false, true, 1, 5, 40.0f};
    p.lowPass = FilterSection{false, true, 2, 5, 12000.0f};
    return p;
}

FirDesignParams fir(int taps, int type, double low, double high, int window, double beta = 10.0,
                    double fs = 48000.0)
{
    FirDesignParams d;
    d.taps = taps;
    d.firType = type;
    d.lowFreq = low;
    d.highFreq = high;
    d.window = window;
    d.kaiserBeta = beta;
    d.sampleRate = fs;
    return d;
}

ResponseCurve firResponse(const std::vector<double> &h, double fs)
{
    ResponseCurve out;
    FirDesign::response(h.data(), int(h.size()), fs, out);
    return out;
}

int gridIndex(double hz)
{
    const ResponseCurve &g = responseGrid();
    return int(std::lower_bound(g.begin(), g.end(), hz) - g.begin());
}

} // namespace

class TestDsp : public QObject
{
    Q_OBJECT

private slots:
    void gridValues_data();
    void gridValues();
    void gridMatchesRounding();

    void filterMatchesReference_data();
    void filterMatchesReference();
    void peakingBandPeaksAtItsGain();
    void sectionAtCorner_data();
    void sectionAtCorner();
    void sectionStageCount_data();
    void sectionStageCount();
    void contributesNothing_data();
    void contributesNothing();
    void unsafeInputsStayFinite_data();
    void unsafeInputsStayFinite();
    void deepStagesDoNotUnderflow();

    void filterChannelDefaultsEncode();
    void filterChannelDecode();
    void filterChannelResponseParams();

    void firLowPassRectangle();
    void firDesignMatchesReference_data();
    void firDesignMatchesReference();
    void firKaiserBetaZeroIsRectangle();
    void firTukeyTaper();
    void firWindowEnds_data();
    void firWindowEnds();
    void firBesselI0_data();
    void firBesselI0();
    void firPassAndStop_data();
    void firPassAndStop();
    void firArbitraryCoefficients();
    void firUnsafeInputs_data();
    void firUnsafeInputs();
};

void TestDsp::gridValues_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("hz");
    QTest::newRow("first") << 0 << 10.0;
    QTest::newRow("58") << 58 << 30.7;
    QTest::newRow("59 fixed") << 59 << 31.3;
    QTest::newRow("60") << 60 << 31.9;
    QTest::newRow("115") << 115 << 91.9;
    QTest::newRow("116 fixed") << 116 << 94.0;
    QTest::newRow("117 fixed") << 117 << 95.0;
    QTest::newRow("118 fixed") << 118 << 97.0;
    QTest::newRow("119 fixed") << 119 << 99.0;
    QTest::newRow("120") << 120 << 101.0;
    QTest::newRow("1 kHz") << 239 << 1000.0;
    QTest::newRow("240") << 240 << 1020.0;
    QTest::newRow("last") << 419 << 32000.0;
}

void TestDsp::gridValues()
{
    QFETCH(int, index);
    QFETCH(double, hz);
    QCOMPARE(responseGrid()[size_t(index)], hz);
}

void TestDsp::gridMatchesRounding()
{
    const ResponseCurve &g = responseGrid();
    for (int i = 0; i < ResponseGridSize; ++i) {
        QCOMPARE(g[size_t(i)], DspReference::computeGridFrequency(i));
        if (i > 0)
            QVERIFY2(g[size_t(i)] > g[size_t(i - 1)], qPrintable(QString::number(i)));
    }
}

void TestDsp::filterMatchesReference_data()
{
    QTest::addColumn<FilterChannelParams>("params");
    const char *side[] = {"hp", "lp"};
    for (int lp = 0; lp < 2; ++lp)
        for (int type = 0; type < 3; ++type)
            for (int slope = 0; slope < 6; ++slope)
                for (float f : {20.0f, 1000.0f, 20000.0f})
                    QTest::addRow("%s type %d slope %d %g Hz", side[lp], type, slope, double(f))
                        << section(lp == 1, type, slope, f);
    for (int type = 0; type < 3; ++type)
        for (float gain : {-20.0f, 6.0f, 20.0f})
            for (float q : {0.5f, 1.0f, 6.0f, 20.0f})
                for (float f : {20.0f, 1000.0f, 20000.0f})
                    QTest::addRow("band type %d %g dB Q %g %g Hz", type, double(gain), double(q), double(f))
                        << band(type, f, gain, q);
    QTest::newRow("defaults") << FilterChannelParams();
    QTest::newRow("busiest") << busiest();
    FilterChannelParams deep = busiest();
    deep.highPass.freq = 20000;
    deep.lowPass.freq = 20;
    for (FilterBand &b : deep.bands)
        b.gain = -20;
    QTest::newRow("crossed sections, all bands -20 dB") << deep;
}

void TestDsp::filterMatchesReference()
{
    QFETCH(FilterChannelParams, params);
    const double worst = maxFilterDifference(params);
    QVERIFY2(worst <= 0.001, qPrintable(QStringLiteral("max difference %1 dB").arg(worst)));
}

void TestDsp::peakingBandPeaksAtItsGain()
{
    const ResponseCurve r = shipped(band(0, 1000, 6, 1));
    const auto peak = std::max_element(r.begin(), r.end());
    QCOMPARE(int(peak - r.begin()), Index1k);
    QVERIFY(std::fabs(*peak - 6.0) < 0.01);
    QVERIFY(std::fabs(r.front()) < 0.05);
    QVERIFY(std::fabs(r.back()) < 0.2);
}

void TestDsp::sectionAtCorner_data()
{
    QTest::addColumn<bool>("lowPass");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("slope");
    QTest::addColumn<float>("freq");
    QTest::addColumn<double>("expectedDb");
    QTest::newRow("Butterworth 4 hp 1 kHz") << false << 1 << 3 << 1000.0f << -3.01;
    QTest::newRow("Butterworth 4 lp 1 kHz") << true << 1 << 3 << 1000.0f << -3.01;
    QTest::newRow("Butterworth 4 lp 4 kHz") << true << 1 << 3 << 4000.0f << -3.01;
    QTest::newRow("Butterworth 3 hp 500 Hz") << false << 1 << 2 << 500.0f << -3.01;
    QTest::newRow("Butterworth 2 lp 2 kHz") << true << 1 << 1 << 2000.0f << -3.01;
    QTest::newRow("first order hp 1 kHz") << false << 0 << 0 << 1000.0f << -3.01;
    QTest::newRow("Link-Riley 4 hp 1 kHz") << false << 2 << 3 << 1000.0f << -5.95; // two stages of Q 0.71
}

void TestDsp::sectionAtCorner()
{
    QFETCH(bool, lowPass);
    QFETCH(int, type);
    QFETCH(int, slope);
    QFETCH(float, freq);
    QFETCH(double, expectedDb);
    const ResponseCurve r = shipped(section(lowPass, type, slope, freq));
    const double atCorner = r[size_t(gridIndex(freq))];
    QVERIFY2(std::fabs(atCorner - expectedDb) < 0.02, qPrintable(QString::number(atCorner)));
}

void TestDsp::sectionStageCount_data()
{
    QTest::addColumn<int>("slope");
    QTest::addColumn<int>("secondOrder");
    QTest::addColumn<bool>("firstOrder");
    QTest::newRow("-6 dB/oct") << 0 << 0 << true;
    QTest::newRow("-12 dB/oct") << 1 << 1 << false;
    QTest::newRow("-18 dB/oct") << 2 << 1 << true;
    QTest::newRow("-24 dB/oct") << 3 << 2 << false;
    QTest::newRow("-36 dB/oct") << 4 << 3 << false;
    QTest::newRow("-48 dB/oct") << 5 << 4 << false;
}

void TestDsp::sectionStageCount()
{
    QFETCH(int, slope);
    QFETCH(int, secondOrder);
    QFETCH(bool, firstOrder);
    for (Biquad::Kind kind : {Biquad::HighPass, Biquad::LowPass}) {
        Biquad stages[FilterResponse::MaxSectionStages];
        const int count = FilterResponse::sectionStages(kind, 1, slope, 1000, stages);
        QCOMPARE(count, secondOrder + (firstOrder ? 1 : 0));
        for (int k = 0; k < count; ++k) {
            const bool isFirstOrder = stages[k].b2 == 0 && stages[k].a2 == 0;
            QCOMPARE(isFirstOrder, firstOrder && k == count - 1);
        }
    }
}

void TestDsp::contributesNothing_data()
{
    QTest::addColumn<FilterChannelParams>("params");
    FilterChannelParams p = section(false, 1, 5, 1000);
    p.highPass.bypass = true;
    QTest::newRow("hp bypassed") << p;
    p = section(false, 1, 5, 1000);
    p.highPass.shown = false;
    QTest::newRow("hp hidden") << p;
    p = section(true, 1, 5, 1000);
    p.lowPass.bypass = true;
    QTest::newRow("lp bypassed") << p;
    p = section(true, 1, 5, 1000);
    p.lowPass.shown = false;
    QTest::newRow("lp hidden") << p;
    QTest::newRow("section type 3") << section(false, 3, 2, 1000);
    QTest::newRow("section slope 6") << section(true, 0, 6, 1000);
    QTest::newRow("section slope -1") << section(true, 0, -1, 1000);
    p = band(0, 1000, 12, 2);
    p.bands[0].bypass = true;
    QTest::newRow("band bypassed") << p;
    p = band(0, 1000, 12, 2);
    p.bands[0].shown = false;
    QTest::newRow("band hidden") << p;
    QTest::newRow("band all-pass 180") << band(3, 1000, 12, 2);
    QTest::newRow("band all-pass 90") << band(4, 1000, 12, 2);
    QTest::newRow("band type -1") << band(-1, 1000, 12, 2);
    p = flat();
    p.bands[15] = FilterBand{false, true, 0, 1000, 12, 2};
    p.bandCount = 15;
    QTest::newRow("band beyond the count") << p;
}

void TestDsp::contributesNothing()
{
    QFETCH(FilterChannelParams, params);
    const ResponseCurve r = shipped(params);
    for (double db : r)
        QCOMPARE(db, 0.0);
}

void TestDsp::unsafeInputsStayFinite_data()
{
    QTest::addColumn<FilterChannelParams>("params");
    QTest::addColumn<FilterChannelParams>("sameAs");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float nyquist = float(FilterResponse::SampleRate / 2);
    const float top = float(Biquad::MaxFrequencyRatio * FilterResponse::SampleRate);
    QTest::newRow("band Q 0") << band(0, 1000, 6, 0) << band(0, 1000, 6, float(Biquad::MinQ));
    QTest::newRow("band Q -3") << band(0, 1000, 6, -3) << band(0, 1000, 6, float(Biquad::MinQ));
    QTest::newRow("shelf Q NaN") << band(1, 1000, 6, nan) << band(1, 1000, 6, float(Biquad::MinQ));
    QTest::newRow("band Q inf") << band(2, 1000, 6, inf) << band(2, 1000, 6, float(Biquad::MaxQ));
    QTest::newRow("band 0 Hz") << band(0, 0, 6, 1) << band(0, float(Biquad::MinFrequency), 6, 1);
    QTest::newRow("band NaN Hz") << band(0, nan, 6, 1) << band(0, float(Biquad::MinFrequency), 6, 1);
    QTest::newRow("band at Nyquist") << band(0, nyquist, 6, 1) << band(0, top, 6, 1);
    QTest::newRow("band gain inf") << band(0, 1000, inf, 1) << band(0, 1000, float(Biquad::MaxGainDb), 1);
    QTest::newRow("band gain NaN") << band(0, 1000, nan, 1) << band(0, 1000, 0, 1);
    QTest::newRow("first-order hp at 0 Hz")
        << section(false, 0, 0, 0) << section(false, 0, 0, float(Biquad::MinFrequency));
    QTest::newRow("first-order lp at Nyquist") << section(true, 0, 0, nyquist) << section(true, 0, 0, top);
    QTest::newRow("eighth-order hp above Nyquist") << section(false, 1, 5, 150000) << section(false, 1, 5, top);
    QTest::newRow("eighth-order lp at -5 Hz")
        << section(true, 1, 5, -5) << section(true, 1, 5, float(Biquad::MinFrequency));
}

void TestDsp::unsafeInputsStayFinite()
{
    QFETCH(FilterChannelParams, params);
    QFETCH(FilterChannelParams, sameAs);
    const ResponseCurve r = shipped(params);
    const ResponseCurve expected = shipped(sameAs);
    for (int i = 0; i < ResponseGridSize; ++i) {
        QVERIFY2(std::isfinite(r[size_t(i)]), qPrintable(QString::number(i)));
        QCOMPARE(r[size_t(i)], expected[size_t(i)]);
    }
}

void TestDsp::deepStagesDoNotUnderflow()
{
    // 26 stages of about -200 dB each at the bottom of the grid multiply to
    // far below the double range; the curve must still be their sum.
    const Biquad deep = Biquad::secondOrder(Biquad::HighPass, 90000, 0.5, 0, FilterResponse::SampleRate);
    ResponseCurve one;
    FilterResponse::stageResponse(deep, one);
    QVERIFY(one[0] < -150);
    std::vector<Biquad> stages(FilterResponse::MaxStages, deep);
    ResponseCurve all;
    FilterResponse::sum(stages.data(), int(stages.size()), all);
    for (int i = 0; i < ResponseGridSize; ++i)
        QVERIFY2(std::fabs(all[size_t(i)] - one[size_t(i)] * FilterResponse::MaxStages) < 1e-6,
                 qPrintable(QString::number(i)));
}

void TestDsp::filterChannelDefaultsEncode()
{
    const QByteArray expected = QByteArray::fromHex(
        "01010101010101010101010101010101"  // band enable
        "00000000000000000000000000000000"  // band type
        "2b2b2b2b2b2b2b2b2b2b2b2b2b2b2b2b"  // Q index 43
        "28003c0050006400c8002c019001f401"  // 40 60 80 100 200 300 400 500 Hz
        "5802bc0220038403e803d007b80ba00f"  // 600 700 800 900 1000 2000 3000 4000 Hz
        "0000000000000000000000000000000000000000000000000000000000000000"
        "0000000000000000000000000000000000000000000000000000000000000000" // gains
        "0000140000000000"                  // hp type, slope, 20 Hz, enable; lp type, slope, gap
        "204e0000");                        // lp 20000 Hz, enable, reserved
    QCOMPARE(expected.size(), FilterChannel::Size);
    uchar bytes[FilterChannel::Size];
    std::memset(bytes, 0xAA, sizeof bytes);
    FilterChannel().encode(bytes);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(bytes), FilterChannel::Size), expected);
}

void TestDsp::filterChannelDecode()
{
    QByteArray raw(FilterChannel::Size, '\0');
    raw[3] = 1;                                       // band 4 enabled
    raw[16 + 3] = 2;                                  // high shelf
    raw[32 + 3] = 64;                                 // Q index
    raw.replace(48 + 6, 2, QByteArray::fromHex("204e")); // band 4 at 20000 Hz
    raw.replace(80 + 12, 4, QByteArray::fromHex("0000a0c1")); // band 4 gain -20.0
    raw.replace(144, 5, QByteArray::fromHex("0205e80301")); // hp Link-Riley, -48, 1000 Hz, on
    raw.replace(149, 7, QByteArray::fromHex("0104ff14000177")); // lp Butterworth, -36, gap, 20 Hz, on, reserved
    const FilterChannel c = FilterChannel::decode(reinterpret_cast<const uchar *>(raw.constData()));
    QCOMPARE(c.bandEnable[3], quint8(1));
    QCOMPARE(c.bandEnable[0], quint8(0));
    QCOMPARE(c.bandType[3], quint8(FilterChannel::HighShelf));
    QCOMPARE(c.bandQIndex[3], quint8(64));
    QCOMPARE(c.bandFreq[3], quint16(20000));
    QCOMPARE(c.bandGain[3], -20.0f);
    QCOMPARE(c.hpType, quint8(2));
    QCOMPARE(c.hpSlope, quint8(5));
    QCOMPARE(c.hpFreq, quint16(1000));
    QCOMPARE(c.hpEnable, quint8(1));
    QCOMPARE(c.lpType, quint8(1));
    QCOMPARE(c.lpSlope, quint8(4));
    QCOMPARE(c.lpFreq, quint16(20));
    QCOMPARE(c.lpEnable, quint8(1));

    // Back to the same bytes, with the gap and the reserved byte cleared.
    QByteArray expected = raw;
    expected[151] = 0;
    expected[155] = 0;
    uchar again[FilterChannel::Size];
    c.encode(again);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(again), FilterChannel::Size), expected);
    QVERIFY(FilterChannel::decode(again) == c);
    QVERIFY(c != FilterChannel());
}

void TestDsp::filterChannelResponseParams()
{
    QCOMPARE(int(qTable.size()), 65);
    QCOMPARE(qTable[0], 0.5f);
    QCOMPARE(qTable[12], 1.0f);
    QCOMPARE(qTable[43], 6.0f);
    QCOMPARE(qTable[64], 20.0f);

    FilterChannel c;
    c.bandType[1] = FilterChannel::LowShelf;
    c.bandQIndex[1] = 12;
    c.bandType[2] = FilterChannel::HighShelf;
    c.bandQIndex[2] = 0;
    c.bandQIndex[3] = 12;
    c.bandQIndex[4] = 200; // beyond the table
    c.bandEnable[5] = 0;
    c.bandGain[6] = -4.5f;
    c.hpEnable = 7;
    c.hpSlope = 3;
    const FilterChannelParams p = c.responseParams();
    QCOMPARE(p.bands[0].q, 6.0f);
    QCOMPARE(p.bands[1].q, 0.67f); // shelves draw with 0.67 whatever the index
    QCOMPARE(p.bands[2].q, 0.67f);
    QCOMPARE(p.bands[3].q, 1.0f);
    QCOMPARE(p.bands[4].q, 20.0f);
    QVERIFY(p.bands[5].bypass);
    QVERIFY(!p.bands[6].bypass);
    QCOMPARE(p.bands[6].gain, -4.5f);
    QCOMPARE(p.bands[15].freq, 4000.0f);
    QVERIFY(!p.highPass.bypass);
    QCOMPARE(p.highPass.slope, 3);
    QVERIFY(p.lowPass.bypass);
    QCOMPARE(p.lowPass.freq, 20000.0f);
}

void TestDsp::firLowPassRectangle()
{
    const std::vector<double> h = FirDesign::design(fir(256, FirDesign::LowPass, 1000, 0, FirDesign::Rectangle));
    QCOMPARE(int(h.size()), 256);
    QCOMPARE(h[127], h[128]);
    QCOMPARE(h[127], std::sin(0.5 * 2 * Pi * 1000 / 48000) / (0.5 * Pi));
    const ResponseCurve r = firResponse(h, 48000);
    // Not normalised: the rectangular window's ripple leaves the pass band
    // a little above 0 dB.
    QVERIFY2(std::fabs(r[0]) < 0.25, qPrintable(QString::number(r[0])));
}

void TestDsp::firDesignMatchesReference_data()
{
    QTest::addColumn<FirDesignParams>("params");
    for (int taps : {256, 512})
        for (int type = 1; type <= 3; ++type)
            for (int window = 1; window <= 7; ++window) {
                const double fs = taps == 512 ? 96000 : 48000;
                QTest::addRow("%d taps type %d window %d", taps, type, window)
                    << fir(taps, type, 500, 5000, window, 8.0, fs);
            }
    QTest::newRow("low pass at 20 Hz, Kaiser 10") << fir(512, 1, 20, 0, 7, 10, 96000);
    QTest::newRow("band pass 20 Hz .. 20 kHz") << fir(256, 3, 20, 20000, 4);
    QTest::newRow("high pass 10 kHz, Blackman") << fir(64, 2, 10000, 0, 6);
}

void TestDsp::firDesignMatchesReference()
{
    QFETCH(FirDesignParams, params);
    const std::vector<double> h = FirDesign::design(params);
    const std::vector<double> ref = DspReference::firDesign(params.taps, params.firType, params.lowFreq,
                                                            params.highFreq, params.window, params.kaiserBeta,
                                                            params.sampleRate);
    QCOMPARE(h.size(), ref.size());
    for (size_t k = 0; k < h.size(); ++k) {
        QVERIFY2(std::fabs(h[k] - ref[k]) <= 1e-15, qPrintable(QString::number(k)));
        QCOMPARE(h[k], h[h.size() - 1 - k]);
    }

    const ResponseCurve r = firResponse(h, params.sampleRate);
    const std::vector<double> rr = DspReference::firResponse(ref, params.sampleRate);
    for (int i = 0; i < ResponseGridSize; ++i) {
        // Below -200 dB both sides are dominated by rounding noise.
        if (rr[size_t(i)] < -200)
            continue;
        QVERIFY2(std::fabs(r[size_t(i)] - rr[size_t(i)]) <= 0.01,
                 qPrintable(QStringLiteral("%1: %2 vs %3").arg(i).arg(r[size_t(i)]).arg(rr[size_t(i)])));
    }
}

void TestDsp::firKaiserBetaZeroIsRectangle()
{
    for (int type = 1; type <= 3; ++type)
        QCOMPARE(FirDesign::design(fir(256, type, 700, 3000, FirDesign::Kaiser, 0)),
                 FirDesign::design(fir(256, type, 700, 3000, FirDesign::Rectangle)));
}

void TestDsp::firTukeyTaper()
{
    QCOMPARE(FirDesign::window(FirDesign::Tukey, 0, 256, 0), 0.0);
    for (int n = 1; n <= 25; ++n)
        QVERIFY2(FirDesign::window(FirDesign::Tukey, n, 256, 0) < 1.0, qPrintable(QString::number(n)));
    for (int n = 26; n < 256; ++n)
        QCOMPARE(FirDesign::window(FirDesign::Tukey, n, 256, 0), 1.0);
    // The taper is mirrored by the design.
    const std::vector<double> t = FirDesign::design(fir(256, 1, 1000, 0, FirDesign::Tukey));
    const std::vector<double> r = FirDesign::design(fir(256, 1, 1000, 0, FirDesign::Rectangle));
    QCOMPARE(t[255 - 26], r[255 - 26]);
    QVERIFY(t[255 - 25] != r[255 - 25]);
}

void TestDsp::firWindowEnds_data()
{
    QTest::addColumn<int>("window");
    QTest::addColumn<double>("atEnd");
    QTest::addColumn<double>("atCentre"); // tap 128 of 257
    QTest::newRow("Rectangle") << 1 << 1.0 << 1.0;
    QTest::newRow("Triangular") << 3 << 0.0 << 1.0;
    QTest::newRow("Hanning") << 4 << 0.0 << 1.0;
    QTest::newRow("Hamming") << 5 << 0.08 << 1.0;
    QTest::newRow("Blackman") << 6 << 0.0 << 1.0;
    QTest::newRow("Kaiser beta 5") << 7 << 1.0 / DspReference::besselI0(5) << 1.0;
    QTest::newRow("unknown code") << 9 << 1.0 << 1.0;
}

void TestDsp::firWindowEnds()
{
    QFETCH(int, window);
    QFETCH(double, atEnd);
    QFETCH(double, atCentre);
    QVERIFY(std::fabs(FirDesign::window(window, 0, 257, 5) - atEnd) < 1e-12);
    QVERIFY(std::fabs(FirDesign::window(window, 256, 257, 5) - atEnd) < 1e-12);
    QVERIFY(std::fabs(FirDesign::window(window, 128, 257, 5) - atCentre) < 1e-12);
}

void TestDsp::firBesselI0_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("relative");
    QTest::newRow("0") << 0.0 << 1.0 << 0.0;
    QTest::newRow("1") << 1.0 << 1.2660658777520082 << 1e-8;
    QTest::newRow("-1") << -1.0 << 1.2660658777520082 << 1e-8;
    QTest::newRow("5") << 5.0 << 27.239871823604442 << 1e-8;
    QTest::newRow("10") << 10.0 << 2815.716628466254 << 1e-8;
    // At 100 the series is cut after 25 terms beyond the first, far below
    // the true 1.07e42: the design has always used the truncated value.
    QTest::newRow("100 truncated") << 100.0 << [] {
        double t = 1, s = 1;
        for (int k = 1; k <= 25; ++k) {
            t *= 50.0 / k;
            s += t * t;
        }
        return s;
    }() << 1e-14;
}

void TestDsp::firBesselI0()
{
    QFETCH(double, x);
    QFETCH(double, expected);
    QFETCH(double, relative);
    const double v = FirDesign::besselI0(x);
    QVERIFY2(std::fabs(v - expected) <= relative * expected, qPrintable(QString::number(v, 'g', 17)));
}

void TestDsp::firPassAndStop_data()
{
    QTest::addColumn<FirDesignParams>("params");
    QTest::addColumn<double>("passHz");
    QTest::addColumn<QList<double>>("stopHz");
    QTest::newRow("low pass 2 kHz Hamming") << fir(256, 1, 2000, 0, 5) << 100.0 << QList<double>{5000, 15000};
    QTest::newRow("high pass 1 kHz Hamming") << fir(256, 2, 1000, 0, 5) << 10000.0 << QList<double>{10, 200};
    QTest::newRow("band pass 500..5000 Blackman")
        << fir(256, 3, 500, 5000, 6) << 1500.0 << QList<double>{50, 15000};
    QTest::newRow("band pass 96 kHz 512 Kaiser")
        << fir(512, 3, 2000, 8000, 7, 8, 96000) << 4000.0 << QList<double>{20, 1000, 12000};
}

void TestDsp::firPassAndStop()
{
    QFETCH(FirDesignParams, params);
    QFETCH(double, passHz);
    QFETCH(QList<double>, stopHz);
    const ResponseCurve r = firResponse(FirDesign::design(params), params.sampleRate);
    QVERIFY2(std::fabs(r[size_t(gridIndex(passHz))]) < 0.2, qPrintable(QString::number(r[size_t(gridIndex(passHz))])));
    for (double hz : stopHz)
        QVERIFY2(r[size_t(gridIndex(hz))] < -40, qPrintable(QString::number(hz)));
}

void TestDsp::firArbitraryCoefficients()
{
    // Coefficients from a file need not be symmetric or designed at all.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> value(-1, 1);
    for (int count : {1, 2, 3, 300, 512}) {
        std::vector<double> h(static_cast<size_t>(count));
        for (double &v : h)
            v = value(rng);
        for (double fs : {48000.0, 96000.0}) {
            const ResponseCurve r = firResponse(h, fs);
            const std::vector<double> rr = DspReference::firResponse(h, fs);
            for (int i = 0; i < ResponseGridSize; ++i)
                QVERIFY2(std::fabs(r[size_t(i)] - rr[size_t(i)]) <= 0.01 || rr[size_t(i)] < -200,
                         qPrintable(QStringLiteral("%1 taps, point %2").arg(count).arg(i)));
        }
    }
}

void TestDsp::firUnsafeInputs_data()
{
    QTest::addColumn<FirDesignParams>("params");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("allZero");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("zero taps") << fir(0, 1, 1000, 0, 1) << 0 << true;
    QTest::newRow("negative taps") << fir(-4, 1, 1000, 0, 1) << 0 << true;
    QTest::newRow("600 taps") << fir(600, 1, 1000, 0, 4) << 512 << false;
    QTest::newRow("one tap") << fir(1, 1, 1000, 0, 7) << 1 << false;
    QTest::newRow("255 taps") << fir(255, 3, 1000, 4000, 5) << 255 << false;
    QTest::newRow("type 0") << fir(256, 0, 1000, 0, 1) << 256 << true;
    QTest::newRow("type 4") << fir(256, 4, 1000, 0, 1) << 256 << true;
    QTest::newRow("sample rate 0") << fir(256, 1, 1000, 0, 1, 10, 0) << 256 << true;
    QTest::newRow("NaN frequency") << fir(256, 3, nan, 1000, 1) << 256 << true;
    QTest::newRow("Kaiser beta NaN") << fir(256, 1, 1000, 0, 7, nan) << 256 << false;
    QTest::newRow("Kaiser beta 1e300") << fir(256, 1, 1000, 0, 7, 1e300) << 256 << false;
    QTest::newRow("corner above Nyquist") << fir(256, 2, 30000, 0, 6) << 256 << false;
}

void TestDsp::firUnsafeInputs()
{
    QFETCH(FirDesignParams, params);
    QFETCH(int, count);
    QFETCH(bool, allZero);
    const std::vector<double> h = FirDesign::design(params);
    QCOMPARE(int(h.size()), count);
    for (size_t k = 0; k < h.size(); ++k) {
        QVERIFY(std::isfinite(h[k]));
        QCOMPARE(h[k], h[h.size() - 1 - k]);
        if (allZero)
            QCOMPARE(h[k], 0.0);
    }
    const ResponseCurve r = firResponse(h, params.sampleRate);
    for (double db : r) {
        QVERIFY(std::isfinite(db));
        if (allZero)
            QCOMPARE(db, FirDesign::ResponseFloorDb);
    }
}

QTEST_APPLESS_MAIN(TestDsp)
#include "tst_dsp.moc"
