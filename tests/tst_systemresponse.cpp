#include <QtTest>

#include <cmath>
#include <functional>

#include "chainreference.h"
#include "core/dsp/firdesign.h"
#include "core/dsp/systemresponse.h"

Q_DECLARE_METATYPE(PresetImage)

using Edit = std::function<void(PresetImage &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

using ChainReference::Complex;
constexpr double Pi = 3.14159265358979323846;

double wrapDeg(double deg)
{
    deg = std::remainder(deg, 360.0);
    return deg <= -180.0 ? deg + 360.0 : deg;
}

// Input A to output 1 at 0 dB, nothing else routed.
PresetImage oneRoute()
{
    PresetImage s;
    s.mixer[0].enable[0] = true;
    return s;
}

void setFir(FirChannel &fir, const std::vector<float> &designOrder)
{
    fir.enable = 1;
    fir.taps = quint16(designOrder.size());
    fir.setDesignCoefficients(designOrder.data(), int(designOrder.size()));
}

// Every block in use, every input on every output at its own gain, delays
// short enough for the phase-difference group delay of the reference.
PresetImage busy(int firTaps, bool symmetricFir)
{
    PresetImage s;
    for (int c = 0; c < 12; ++c) {
        FilterChannel &f = c < 4 ? s.inputFilters[size_t(c)] : s.outputFilters[size_t(c - 4)];
        for (int b = 0; b < 16; ++b) {
            const size_t k = size_t(b);
            f.bandType[k] = quint8((b + c) % 5);
            f.bandFreq[k] = quint16(defaultBandFrequencies[k] * (1.0f + 0.07f * c));
            f.bandGain[k] = b % 2 ? 4.5f : -3.0f;
            f.bandQIndex[k] = quint8(10 + 2 * b);
        }
        f.hpEnable = f.lpEnable = 1;
        f.hpType = quint8(c % 3);
        f.lpType = quint8((c + 1) % 3);
        f.hpSlope = quint8(c % 6);
        f.lpSlope = quint8((c + 2) % 6);
        f.hpFreq = quint16(25 + 5 * c);
        f.lpFreq = quint16(12000 + 300 * c);
    }
    for (int i = 0; i < 4; ++i) {
        s.inputDelays[size_t(i)] = 0.37f * i;
        s.inputLevels[size_t(i)].gain = -2.0f * i;
        s.inputLevels[size_t(i)].invert = i == 2;
    }
    for (int o = 0; o < 8; ++o) {
        const size_t k = size_t(o);
        s.outputDelays[k] = 0.11f * o;
        s.outputLevels[k].gain = 1.0f - o;
        s.outputLevels[k].invert = o % 3 == 1;
        for (int i = 0; i < 4; ++i) {
            s.mixer[k].enable[size_t(i)] = (i + o) % 4 != 3;
            s.mixer[k].gain[size_t(i)] = qint8(-2 * i - o);
        }
        FirDesignParams d;
        d.taps = firTaps;
        d.firType = FirDesign::LowPass;
        d.lowFreq = 3000.0 + 1000.0 * o;
        d.window = FirDesign::Blackman;
        d.sampleRate = 96000.0;
        std::vector<double> h = FirDesign::design(d);
        std::vector<float> f(h.begin(), h.end());
        if (!symmetricFir)
            for (size_t n = 0; n < f.size(); ++n)
                f[n] *= float(std::exp(-double(n) / 60.0));
        setFir(s.fir[k], f);
    }
    return s;
}

} // namespace

class TestSystemResponse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void matchesDirectComputation_data();
    void matchesDirectComputation();
    void crossoverSumsFlat_data();
    void crossoverSumsFlat();
    void delayPolarityAndMatrix_data();
    void delayPolarityAndMatrix();
    void silentPaths_data();
    void silentPaths();
    void firLatency_data();
    void firLatency();
    void dynamicEqRange_data();
    void dynamicEqRange();
    void editsRedoOnlyWhatChanged_data();
    void editsRedoOnlyWhatChanged();
};

void TestSystemResponse::matchesDirectComputation_data()
{
    QTest::addColumn<PresetImage>("state");
    QTest::addColumn<bool>("family96k");
    QTest::addColumn<int>("source");
    QTest::newRow("all inputs, linear-phase FIR, even taps") << busy(512, true) << true << -1;
    QTest::newRow("all inputs, linear-phase FIR, odd taps") << busy(301, true) << true << -1;
    QTest::newRow("all inputs, FIR from a file") << busy(200, false) << true << -1;
    QTest::newRow("input C alone") << busy(128, true) << true << 2;
    // The 48 kHz family: no input delay, the FIR's first 256 taps only.
    QTest::newRow("48 kHz, taps past 256 unused") << busy(400, false) << false << -1;
}

void TestSystemResponse::matchesDirectComputation()
{
    QFETCH(PresetImage, state);
    QFETCH(bool, family96k);
    QFETCH(int, source);
    SystemResponse response(family96k);
    response.setSource(source);
    response.setState(state);
    for (int o = 0; o < 8; ++o) {
        const std::vector<Complex> direct = ChainReference::output(state, o, source, family96k);
        const SystemResponse::Curves &c = response.output(o);
        double peak = 0;
        for (const Complex &h : direct)
            peak = std::max(peak, std::abs(h));
        QCOMPARE(c.audible, peak > 0);
        for (int i = 0; i < ResponseGridSize && peak > 0; ++i) {
            const size_t k = size_t(i);
            const double db = ChainReference::db(direct[k]);
            if (db < -150)
                continue;
            QVERIFY2(std::fabs(c.magnitudeDb[k] - db) < 1e-3, qPrintable(QStringLiteral("out %1 point %2").arg(o).arg(i)));
            if (std::abs(direct[k]) < 1e-3 * peak)
                continue; // phase and group delay of a deep notch say little
            QVERIFY(std::fabs(wrapDeg(c.phaseDeg[k] - std::arg(direct[k]) * 180 / Pi)) < 1e-3);
            const double gd = ChainReference::groupDelayMs(state, o, source, family96k, responseGrid()[k]);
            QVERIFY2(std::fabs(c.groupDelayMs[k] - gd) < 1e-3 + 1e-3 * std::fabs(gd),
                     qPrintable(QStringLiteral("out %1 point %2: %3 ms, direct %4 ms")
                                    .arg(o).arg(i).arg(c.groupDelayMs[k]).arg(gd)));
        }
    }
}

void TestSystemResponse::crossoverSumsFlat_data()
{
    QTest::addColumn<int>("freq");
    QTest::addColumn<int>("output");
    for (int f : {80, 1000, 4500})
        QTest::addRow("%d Hz", f) << f << 0;
    QTest::newRow("output delays equal") << 1000 << 1;
}

void TestSystemResponse::crossoverSumsFlat()
{
    QFETCH(int, freq);
    QFETCH(int, output);
    // Link-Riley 24 dB/oct: high-pass on one output, low-pass on the next,
    // both fed by input A.
    PresetImage s;
    const size_t hp = size_t(output), lp = size_t(output + 1);
    s.mixer[hp].enable[0] = s.mixer[lp].enable[0] = true;
    s.outputFilters[hp].hpEnable = 1;
    s.outputFilters[lp].lpEnable = 1;
    s.outputFilters[hp].hpType = s.outputFilters[lp].lpType = 2;
    s.outputFilters[hp].hpSlope = s.outputFilters[lp].lpSlope = 3;
    s.outputFilters[hp].hpFreq = s.outputFilters[lp].lpFreq = quint16(freq);
    s.outputDelays[hp] = s.outputDelays[lp] = 2.5f * output;
    SystemResponse response;
    response.setState(s);
    const SystemResponse::Curves sum = response.sum((1u << hp) | (1u << lp));
    for (int i = 0; i < ResponseGridSize; ++i)
        QVERIFY2(std::fabs(sum.magnitudeDb[size_t(i)]) < 0.1, qPrintable(QString::number(sum.magnitudeDb[size_t(i)])));
    // Each alone is 6 dB down at the crossover.
    const int at = int(std::round(239 + 36 * std::log2(freq / 1000.0)));
    QVERIFY(std::fabs(response.output(int(hp)).magnitudeDb[size_t(at)] + 6.0) < 0.3);
}

void TestSystemResponse::delayPolarityAndMatrix_data()
{
    QTest::addColumn<float>("inDelay");
    QTest::addColumn<float>("outDelay");
    QTest::addColumn<bool>("inInvert");
    QTest::addColumn<bool>("outInvert");
    QTest::addColumn<int>("matrixDb");
    QTest::newRow("1 ms output delay") << 0.0f << 1.0f << false << false << 0;
    QTest::newRow("1 ms input delay") << 1.0f << 0.0f << false << false << 0;
    QTest::newRow("long delays add") << 600.0f << 1400.0f << false << false << 0;
    QTest::newRow("output inverted") << 0.0f << 0.0f << false << true << 0;
    QTest::newRow("both inverted") << 0.0f << 0.0f << true << true << 0;
    QTest::newRow("matrix -6 dB") << 0.0f << 0.0f << false << false << -6;
    QTest::newRow("all at once") << 0.5f << 0.25f << true << false << -12;
}

void TestSystemResponse::delayPolarityAndMatrix()
{
    QFETCH(float, inDelay);
    QFETCH(float, outDelay);
    QFETCH(bool, inInvert);
    QFETCH(bool, outInvert);
    QFETCH(int, matrixDb);
    PresetImage s = oneRoute();
    // A peaking band on the output, so the curve has a shape to shift.
    s.outputFilters[0].bandGain[12] = 9.0f;
    s.inputDelays[0] = inDelay;
    s.outputDelays[0] = outDelay;
    s.inputLevels[0].invert = inInvert;
    s.outputLevels[0].invert = outInvert;
    s.mixer[0].gain[0] = qint8(matrixDb);
    SystemResponse response;
    response.setState(s);
    const SystemResponse::Curves &c = response.output(0);

    const double q = s.outputFilters[0].bandQ(12);
    const DspReference::Coefficients peak = DspReference::secondOrder(3, 1000, q, 9.0);
    const double delayMs = double(inDelay) + double(outDelay);
    QCOMPARE(c.latencyMs, delayMs);
    for (int i = 0; i < ResponseGridSize; ++i) {
        const size_t k = size_t(i);
        const double f = responseGrid()[k];
        const Complex band = ChainReference::stage(peak, f, 192000);
        const double wantDb = 20 * std::log10(std::abs(band)) + matrixDb;
        const double wantDeg = std::arg(band) * 180 / Pi - 360 * f * delayMs / 1000 + (inInvert != outInvert ? 180 : 0);
        QVERIFY(std::fabs(c.magnitudeDb[k] - wantDb) < 1e-9);
        QVERIFY2(std::fabs(wrapDeg(c.phaseDeg[k] - wantDeg)) < 1e-6, qPrintable(QString::number(f)));
        QVERIFY(c.phaseDeg[k] > -180.0 && c.phaseDeg[k] <= 180.0);
        const double d = f * 1e-4;
        const Complex ratio = ChainReference::stage(peak, f + d, 192000) / ChainReference::stage(peak, f - d, 192000);
        const double wantGd = delayMs - std::arg(ratio) / (2 * Pi * 2 * d) * 1000;
        QVERIFY2(std::fabs(c.groupDelayMs[k] - wantGd) < 1e-6 + 1e-4 * std::fabs(wantGd - delayMs),
                 qPrintable(QStringLiteral("%1 Hz: %2, direct %3").arg(f).arg(c.groupDelayMs[k]).arg(wantGd)));
    }
}

void TestSystemResponse::silentPaths_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<int>("source");
    QTest::newRow("input muted") << Edit([](PresetImage &s) { s.inputLevels[0].mute = true; }) << -1;
    QTest::newRow("output muted") << Edit([](PresetImage &s) { s.outputLevels[0].mute = true; }) << -1;
    QTest::newRow("cross-point off") << Edit([](PresetImage &s) { s.mixer[0].enable[0] = false; }) << -1;
    QTest::newRow("only another input routed")
        << Edit([](PresetImage &s) { s.mixer[0].enable = {false, true, false, false}; }) << 0;
    QTest::newRow("FIR of zeros") << Edit([](PresetImage &s) { setFir(s.fir[0], std::vector<float>(64, 0.0f)); }) << -1;
}

void TestSystemResponse::silentPaths()
{
    QFETCH(Edit, edit);
    QFETCH(int, source);
    PresetImage s = oneRoute();
    s.outputDelays[0] = 3.0f;
    edit(s);
    SystemResponse response;
    response.setSource(source);
    response.setState(s);
    const SystemResponse::Curves &c = response.output(0);
    QVERIFY(!c.audible);
    for (int i = 0; i < ResponseGridSize; ++i)
        QCOMPARE(c.magnitudeDb[size_t(i)], SystemResponse::SilentDb);
    // Silent outputs add nothing to a sum.
    QVERIFY(!response.sum(0xff).audible);
}

void TestSystemResponse::firLatency_data()
{
    QTest::addColumn<bool>("family96k");
    QTest::addColumn<int>("taps");
    QTest::addColumn<int>("k");
    QTest::newRow("96k, first tap") << true << 512 << 0;
    QTest::newRow("96k, tap 1") << true << 512 << 1;
    QTest::newRow("96k, tap 300") << true << 512 << 300;
    QTest::newRow("96k, last tap") << true << 512 << 511;
    QTest::newRow("96k, centre of 9 taps (symmetric)") << true << 9 << 4;
    QTest::newRow("48k, tap 37") << false << 256 << 37;
}

void TestSystemResponse::firLatency()
{
    QFETCH(bool, family96k);
    QFETCH(int, taps);
    QFETCH(int, k);
    PresetImage s = oneRoute();
    std::vector<float> h(size_t(taps), 0.0f);
    h[size_t(k)] = 1.0f;
    setFir(s.fir[0], h);
    s.outputDelays[0] = 2.0f;
    SystemResponse response(family96k);
    response.setState(s);
    const double rate = family96k ? 96000.0 : 48000.0;
    const double want = 1000.0 * k / rate;
    const SystemResponse::Curves &c = response.output(0);
    QVERIFY(std::fabs(c.latencyMs - (want + 2.0)) < 1e-9);
    for (int i = 0; i < ResponseGridSize; ++i) {
        QVERIFY(std::fabs(c.magnitudeDb[size_t(i)]) < 1e-9);
        QVERIFY(std::fabs(c.groupDelayMs[size_t(i)] - (want + 2.0)) < 1e-9);
    }
}

void TestSystemResponse::dynamicEqRange_data()
{
    QTest::addColumn<bool>("family96k");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("highDb"); // at the band's frequency, above the curve
    QTest::addColumn<double>("lowDb");
    QTest::newRow("boost below") << true << int(DeqBand::BoostBelow) << 6.0 << 0.0;
    QTest::newRow("cut above") << true << int(DeqBand::CutAbove) << 0.0 << -6.0;
    QTest::newRow("48k has no dynamic EQ") << false << int(DeqBand::BoostBelow) << 0.0 << 0.0;
}

void TestSystemResponse::dynamicEqRange()
{
    QFETCH(bool, family96k);
    QFETCH(int, mode);
    QFETCH(double, highDb);
    QFETCH(double, lowDb);
    PresetImage s = oneRoute();
    s.outputLevels[0].gain = -4.0f;
    DeqBand &band = s.deq[0][1];
    band.bypass = 0;
    band.freq = 1000.0f;
    band.gain = 6.0f;
    band.mode = quint8(mode);
    SystemResponse response(family96k);
    response.setState(s);
    const SystemResponse::Curves &c = response.output(0);
    // The curve itself is the dynamic EQ at rest.
    QVERIFY(std::fabs(c.magnitudeDb[239] + 4.0) < 1e-9);
    QVERIFY(std::fabs(c.deqHighDb[239] - c.magnitudeDb[239] - highDb) < 1e-6);
    QVERIFY(std::fabs(c.deqLowDb[239] - c.magnitudeDb[239] - lowDb) < 1e-6);
    QVERIFY(std::fabs(c.deqHighDb[0] - c.magnitudeDb[0]) < 0.05); // 10 Hz: out of the band's reach
    const SystemResponse::Curves sum = response.sum(1);
    QVERIFY(std::fabs(sum.deqHighDb[239] - c.deqHighDb[239]) < 1e-9);
}

void TestSystemResponse::editsRedoOnlyWhatChanged_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<int>("filters");
    QTest::addColumn<int>("firs");
    QTest::addColumn<int>("delays");
    QTest::addColumn<int>("outputs");
    // In busy(), input A reaches outputs 1, 2, 3, 5, 6, 7 (not 4 and 8).
    QTest::newRow("input band") << Edit([](PresetImage &s) { s.inputFilters[0].bandGain[3] = 7.5f; }) << 1 << 0 << 0 << 6;
    QTest::newRow("output band") << Edit([](PresetImage &s) { s.outputFilters[4].bandFreq[3] = 123; }) << 1 << 0 << 0 << 1;
    QTest::newRow("FIR coefficient") << Edit([](PresetImage &s) { s.fir[2].coefficients[7] += 0.01f; }) << 0 << 1 << 0 << 1;
    QTest::newRow("output delay") << Edit([](PresetImage &s) { s.outputDelays[6] = 12.5f; }) << 0 << 0 << 1 << 1;
    QTest::newRow("input level") << Edit([](PresetImage &s) { s.inputLevels[0].gain = -9.0f; }) << 0 << 0 << 0 << 6;
    QTest::newRow("cross-point") << Edit([](PresetImage &s) { s.mixer[3].enable[0] = true; }) << 0 << 0 << 0 << 1;
    QTest::newRow("limiter: nothing") << Edit([](PresetImage &s) { s.outputLimiters[0].threshold = -20.0f; }) << 0 << 0 << 0 << 0;
}

void TestSystemResponse::editsRedoOnlyWhatChanged()
{
    QFETCH(Edit, edit);
    QFETCH(int, filters);
    QFETCH(int, firs);
    QFETCH(int, delays);
    QFETCH(int, outputs);
    PresetImage s = busy(512, true);
    SystemResponse response;
    response.setState(s);
    edit(s);
    response.setState(s);
    QCOMPARE(response.lastWork().filters, filters);
    QCOMPARE(response.lastWork().firs, firs);
    QCOMPARE(response.lastWork().delays, delays);
    QCOMPARE(response.lastWork().outputs, outputs);
    // The same curves as a compute from nothing.
    SystemResponse fresh;
    fresh.setState(s);
    for (int o = 0; o < 8; ++o) {
        QCOMPARE(response.output(o).magnitudeDb, fresh.output(o).magnitudeDb);
        QCOMPARE(response.output(o).groupDelayMs, fresh.output(o).groupDelayMs);
        QCOMPARE(response.output(o).latencyMs, fresh.output(o).latencyMs);
    }
}

QTEST_GUILESS_MAIN(TestSystemResponse)
#include "tst_systemresponse.moc"
