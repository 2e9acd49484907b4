#include "systemresponse.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "biquad.h"
#include "filterresponse.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int N = ResponseGridSize;

// cos and sin of w and 2w at every grid frequency for one sample rate,
// x = e^-jw = cos w - j sin w.
struct Phasors
{
    alignas(32) double cos1[N];
    alignas(32) double sin1[N];
    alignas(32) double cos2[N];
    alignas(32) double sin2[N];
    alignas(32) double cosHalf[N];
    alignas(32) double sinHalf[N];

    explicit Phasors(double sampleRate)
    {
        const ResponseCurve &grid = responseGrid();
        for (int i = 0; i < N; ++i) {
            // Cut to 0.1 Hz as the filter graphs do (a no-op on this grid).
            const double w = std::trunc(10.0 * grid[size_t(i)]) * Pi / (5.0 * sampleRate);
            cos1[i] = std::cos(w);
            sin1[i] = std::sin(w);
            cos2[i] = std::cos(2.0 * w);
            sin2[i] = std::sin(2.0 * w);
            cosHalf[i] = std::cos(0.5 * w);
            sinHalf[i] = std::sin(0.5 * w);
        }
    }
};

const Phasors &phasors(double sampleRate)
{
    static const Phasors model(FilterResponse::SampleRate);
    static const Phasors hz96(96000.0);
    static const Phasors hz48(48000.0);
    if (sampleRate == FilterResponse::SampleRate)
        return model;
    if (sampleRate == 48000.0)
        return hz48;
    if (sampleRate == 96000.0)
        return hz96;
    // Any other rate: built on each call, which only tests do.
    thread_local std::unique_ptr<Phasors> other;
    other = std::make_unique<Phasors>(sampleRate);
    return *other;
}

// The hot loops, built for AVX2 and FMA as well where the processor has them
// (picked at load time) and kept free of aliasing so they vectorise.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__)
#define ORVALIX_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define ORVALIX_VECTOR_CLONES
#endif

ORVALIX_VECTOR_CLONES
void multiplyStage(const double *coefficients, const double *__restrict cos1, const double *__restrict sin1,
                   const double *__restrict cos2, const double *__restrict sin2, double *__restrict nr,
                   double *__restrict ni, double *__restrict ndr, double *__restrict ndi, double *__restrict dr,
                   double *__restrict di, double *__restrict ddr, double *__restrict ddi)
{
    const double b0 = coefficients[0], b1 = coefficients[1], b2 = coefficients[2];
    const double a1 = coefficients[3], a2 = coefficients[4];
    for (int i = 0; i < N; ++i) {
        const double c1 = cos1[i], s1 = sin1[i], c2 = cos2[i], s2 = sin2[i];
        // x = c1 - j s1, x^2 = c2 - j s2
        const double ur = b1 * c1, ui = -b1 * s1, vr = b2 * c2, vi = -b2 * s2;
        const double qdr = ur + 2.0 * vr, qdi = ui + 2.0 * vi; // x d/dx of the stage numerator
        const double er = a1 * c1, ei = -a1 * s1, fr = a2 * c2, fi = -a2 * s2;
        const double pr = 1.0 + er + fr, pi = ei + fi;
        const double pdr = er + 2.0 * fr, pdi = ei + 2.0 * fi;
        const double sr = b0 + ur + vr, si = ui + vi;

        const double onr = nr[i], oni = ni[i], ondr = ndr[i], ondi = ndi[i];
        nr[i] = onr * sr - oni * si;
        ni[i] = onr * si + oni * sr;
        ndr[i] = ondr * sr - ondi * si + onr * qdr - oni * qdi;
        ndi[i] = ondr * si + ondi * sr + onr * qdi + oni * qdr;

        const double odr = dr[i], odi = di[i], oddr = ddr[i], oddi = ddi[i];
        dr[i] = odr * pr - odi * pi;
        di[i] = odr * pi + odi * pr;
        ddr[i] = oddr * pr - oddi * pi + odr * pdr - odi * pdi;
        ddi[i] = oddr * pi + oddi * pr + odr * pdi + odi * pdr;
    }
}

// One Horner step at every grid point: Q = Q x + P, P = P x + h, with
// x = c - j s.
ORVALIX_VECTOR_CLONES
void hornerTaps(const float *coefficients, int taps, const double *__restrict cos1, const double *__restrict sin1,
                double *__restrict pr, double *__restrict pi, double *__restrict qr, double *__restrict qi)
{
    for (int n = taps - 2; n >= 0; --n) {
        const double h = double(coefficients[n]);
        for (int i = 0; i < N; ++i) {
            const double c = cos1[i], s = -sin1[i];
            const double oqr = qr[i], oqi = qi[i], opr = pr[i], opi = pi[i];
            qr[i] = oqr * c - oqi * s + opr;
            qi[i] = oqr * s + oqi * c + opi;
            pr[i] = opr * c - opi * s + h;
            pi[i] = opr * s + opi * c;
        }
    }
}

// Clenshaw's recurrence for two series at once, sum a_k phi_k and sum
// b_k psi_k, whose terms both follow phi_k+1 = 2 cos w phi_k - phi_k-1.
// Leaves the recurrence's first two values (index 1 and 2) for each.
ORVALIX_VECTOR_CLONES
void clenshawPair(const double *a, const double *b, int last, const double *__restrict cos1,
                  double *__restrict a1, double *__restrict a2, double *__restrict b1, double *__restrict b2)
{
    for (int i = 0; i < N; ++i)
        a1[i] = a2[i] = b1[i] = b2[i] = 0.0;
    for (int k = last; k >= 1; --k) {
        const double ak = a[k], bk = b[k];
        for (int i = 0; i < N; ++i) {
            const double alpha = 2.0 * cos1[i];
            const double na = ak + alpha * a1[i] - a2[i];
            const double nb = bk + alpha * b1[i] - b2[i];
            a2[i] = a1[i];
            a1[i] = na;
            b2[i] = b1[i];
            b1[i] = nb;
        }
    }
}

// Any coefficients: Horner's scheme from the last tap, with the derivative
// by x alongside: P = sum h_n x^n, Q = dP/dx; then x dP/dx = x Q.
void generalFirResponse(const float *coefficients, int taps, double sampleRate, const Phasors &p,
                        ComplexResponse &out)
{
    alignas(32) double pr[N], pi[N], qr[N], qi[N];
    const double last = double(coefficients[taps - 1]);
    for (int i = 0; i < N; ++i) {
        pr[i] = last;
        pi[i] = qr[i] = qi[i] = 0.0;
    }
    hornerTaps(coefficients, taps, p.cos1, p.sin1, pr, pi, qr, qi);
    const double scale = 1.0 / sampleRate;
    for (int i = 0; i < N; ++i) {
        const size_t k = size_t(i);
        const double c = p.cos1[i], s = -p.sin1[i];
        // x Q, then dH/dOmega = -j x Q / fs
        const double xr = qr[i] * c - qi[i] * s, xi = qr[i] * s + qi[i] * c;
        out.re[k] = pr[i];
        out.im[k] = pi[i];
        out.dre[k] = xi * scale;
        out.dim[k] = -xr * scale;
    }
}

// Linear phase (h_n = h_taps-1-n, as every designed FIR): the response is
// e^-jwc A(w) about the centre c = (taps - 1) / 2 with A real, a cosine
// series in w (half-integer multiples for an even tap count), and
// dH/dw = e^-jwc (-j c A + A'), A' a sine series. Both by Clenshaw's
// recurrence: a quarter of the general case's work.
void symmetricFirResponse(const float *coefficients, int taps, double sampleRate, const Phasors &p,
                          ComplexResponse &out)
{
    const bool odd = taps % 2 == 1;
    const int half = taps / 2; // odd: the centre tap; even: the first tap past the centre
    const double centre = (taps - 1) / 2.0;
    double cosTerms[FirChannel::MaxTaps / 2 + 1];
    double sinTerms[FirChannel::MaxTaps / 2 + 1];
    int last;
    if (odd) {
        cosTerms[0] = double(coefficients[half]);
        sinTerms[0] = 0.0;
        last = half;
        for (int m = 1; m <= last; ++m) {
            cosTerms[m] = 2.0 * double(coefficients[half + m]);
            sinTerms[m] = -2.0 * m * double(coefficients[half + m]);
        }
    } else {
        last = half - 1;
        for (int m = 0; m <= last; ++m) {
            cosTerms[m] = 2.0 * double(coefficients[half + m]);
            sinTerms[m] = -2.0 * (m + 0.5) * double(coefficients[half + m]);
        }
    }
    alignas(32) double c1[N], c2[N], s1[N], s2[N];
    clenshawPair(cosTerms, sinTerms, last, p.cos1, c1, c2, s1, s2);

    const ResponseCurve &grid = responseGrid();
    const double scale = 1.0 / sampleRate;
    for (int i = 0; i < N; ++i) {
        const size_t k = size_t(i);
        double a, da;
        if (odd) {
            // phi_0 = 1, phi_1 = cos w; psi_0 = 0, psi_1 = sin w
            a = cosTerms[0] + c1[i] * p.cos1[i] - c2[i];
            da = s1[i] * p.sin1[i];
        } else {
            // phi_0 = cos w/2, phi_1 = cos 3w/2; psi_0 = sin w/2, psi_1 = sin 3w/2
            const double ch = p.cosHalf[i], sh = p.sinHalf[i];
            const double c3 = ch * (2.0 * p.cos1[i] - 1.0), s3 = sh * (2.0 * p.cos1[i] + 1.0);
            a = cosTerms[0] * ch + c1[i] * c3 - c2[i] * ch;
            da = sinTerms[0] * sh + s1[i] * s3 - s2[i] * sh;
        }
        const double w = std::trunc(10.0 * grid[k]) * Pi / (5.0 * sampleRate);
        const double er = std::cos(w * centre), ei = -std::sin(w * centre);
        out.re[k] = er * a;
        out.im[k] = ei * a;
        // e^-jwc (da - j c a)
        out.dre[k] = (er * da + ei * centre * a) * scale;
        out.dim[k] = (ei * da - er * centre * a) * scale;
    }
}

// A product of first- and second-order stages, numerator and denominator
// kept apart so the loop has no division: each polynomial P(x) travels with
// P'(x) = x dP/dx = sum k p_k x^k, whose product rule is that of a
// derivative.
struct StageProduct
{
    alignas(32) double nr[N], ni[N], ndr[N], ndi[N];
    alignas(32) double dr[N], di[N], ddr[N], ddi[N];

    StageProduct()
    {
        for (int i = 0; i < N; ++i) {
            nr[i] = dr[i] = 1.0;
            ni[i] = ndr[i] = ndi[i] = di[i] = ddr[i] = ddi[i] = 0.0;
        }
    }

    void multiply(const Biquad &s, const Phasors &p)
    {
        const double coefficients[5] = {s.b0, s.b1, s.b2, s.a1, s.a2};
        multiplyStage(coefficients, p.cos1, p.sin1, p.cos2, p.sin2, nr, ni, ndr, ndi, dr, di, ddr, ddi);
    }

    // H = N / D and dH/dOmega = -j (N' D - N D') / (D^2 fs).
    void finish(double sampleRate, ComplexResponse &out) const
    {
        const double scale = 1.0 / sampleRate;
        for (int i = 0; i < N; ++i) {
            const double m = 1.0 / (dr[i] * dr[i] + di[i] * di[i]);
            // 1 / D = conj(D) m
            const double ir = dr[i] * m, ii = -di[i] * m;
            const double hr = nr[i] * ir - ni[i] * ii, hi = nr[i] * ii + ni[i] * ir;
            // H' = (N' - H D') / D
            const double tr = ndr[i] - (hr * ddr[i] - hi * ddi[i]);
            const double ti = ndi[i] - (hr * ddi[i] + hi * ddr[i]);
            const double gr = tr * ir - ti * ii, gi = tr * ii + ti * ir;
            out.re[size_t(i)] = hr;
            out.im[size_t(i)] = hi;
            // -j (gr + j gi) = gi - j gr
            out.dre[size_t(i)] = gi * scale;
            out.dim[size_t(i)] = -gr * scale;
        }
    }
};

Biquad firstOrderAllPass(double freq, double sampleRate)
{
    const double t = std::tan(Pi * Biquad::safeFrequency(freq, sampleRate) / sampleRate);
    const double a = (t - 1.0) / (t + 1.0);
    Biquad s;
    s.b0 = a;
    s.b1 = 1.0;
    s.b2 = 0.0;
    s.a1 = a;
    s.a2 = 0.0;
    return s;
}

double dbOf(double re, double im)
{
    const double p = re * re + im * im;
    return p > 0.0 ? std::max(10.0 * std::log10(p), SystemResponse::SilentDb) : SystemResponse::SilentDb;
}

double levelFactor(const LevelRecord &level)
{
    if (level.mute)
        return 0.0;
    const double g = std::pow(10.0, double(LevelRecord::clampGain(level.gain)) / 20.0);
    return level.invert ? -g : g;
}

bool sameLevel(const LevelRecord &a, const LevelRecord &b)
{
    return a.mute == b.mute && a.invert == b.invert && std::memcmp(&a.gain, &b.gain, sizeof a.gain) == 0;
}

bool sameFloat(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool deqActive(const std::array<DeqBand, PresetImage::DeqBands> &bands)
{
    for (const DeqBand &b : bands) {
        if (b.bypass == 0 && b.gain != 0.0f)
            return true;
    }
    return false;
}

// A delay in ms as the records may hold it: finite and not negative.
double safeDelayMs(float ms)
{
    return std::isfinite(ms) && ms > 0.0f ? double(ms) : 0.0;
}

} // namespace

void ComplexResponse::setUnity()
{
    re.fill(1.0);
    im.fill(0.0);
    dre.fill(0.0);
    dim.fill(0.0);
}

void ComplexResponse::setZero()
{
    re.fill(0.0);
    im.fill(0.0);
    dre.fill(0.0);
    dim.fill(0.0);
}

void ComplexResponse::multiply(const ComplexResponse &o)
{
    for (int i = 0; i < N; ++i) {
        const size_t k = size_t(i);
        const double ar = re[k], ai = im[k], adr = dre[k], adi = dim[k];
        const double br = o.re[k], bi = o.im[k], bdr = o.dre[k], bdi = o.dim[k];
        re[k] = ar * br - ai * bi;
        im[k] = ar * bi + ai * br;
        dre[k] = adr * br - adi * bi + ar * bdr - ai * bdi;
        dim[k] = adr * bi + adi * br + ar * bdi + ai * bdr;
    }
}

void ComplexResponse::scale(double gain)
{
    for (int i = 0; i < N; ++i) {
        const size_t k = size_t(i);
        re[k] *= gain;
        im[k] *= gain;
        dre[k] *= gain;
        dim[k] *= gain;
    }
}

void ComplexResponse::addScaled(const ComplexResponse &o, double gain)
{
    for (int i = 0; i < N; ++i) {
        const size_t k = size_t(i);
        re[k] += gain * o.re[k];
        im[k] += gain * o.im[k];
        dre[k] += gain * o.dre[k];
        dim[k] += gain * o.dim[k];
    }
}

SystemResponse::SystemResponse(bool family96k)
{
    setFamily(family96k);
}

void SystemResponse::setFamily(bool family96k)
{
    m_family96k = family96k;
    m_firRate = family96k ? 96000.0 : 48000.0;
    m_firTaps = family96k ? 512 : 256;
    invalidate();
}

void SystemResponse::setSource(int source)
{
    const int s = source >= 0 && source < Inputs ? source : AllInputs;
    if (s == m_source)
        return;
    m_source = s;
    if (!m_valid)
        return;
    m_work = Work();
    for (int o = 0; o < Outputs; ++o)
        combineOutput(o);
}

void SystemResponse::invalidate()
{
    m_valid = false;
}

void SystemResponse::filterResponse(const FilterChannel &channel, ComplexResponse &out)
{
    const double rate = FilterResponse::SampleRate;
    const Phasors &p = phasors(rate);
    Biquad stages[FilterResponse::MaxStages];
    int count = FilterResponse::channelStages(channel.responseParams(), stages);
    StageProduct product;
    for (int s = 0; s < count; ++s)
        product.multiply(stages[s], p);
    // The all-pass bands: flat, so the graphs leave them out, but they turn
    // the phase (180 degrees at their frequency for the second-order kind,
    // 90 for the first-order kind).
    for (int b = 0; b < FilterChannel::BandCount; ++b) {
        const size_t k = size_t(b);
        if (channel.bandEnable[k] == 0)
            continue;
        if (channel.bandType[k] == FilterChannel::AllPass180)
            product.multiply(Biquad::secondOrder(Biquad::AllPass, channel.bandFreq[k], channel.bandQ(b), 0.0, rate),
                             p);
        else if (channel.bandType[k] == FilterChannel::AllPass90)
            product.multiply(firstOrderAllPass(channel.bandFreq[k], rate), p);
    }
    product.finish(rate, out);
}

void SystemResponse::deqResponse(const std::array<DeqBand, PresetImage::DeqBands> &bands, bool boost,
                                 ComplexResponse &out)
{
    const double rate = FilterResponse::SampleRate;
    const Phasors &p = phasors(rate);
    StageProduct product;
    for (const DeqBand &band : bands) {
        const float gain = band.signedGain();
        if (band.bypass != 0 || gain == 0.0f || (gain > 0.0f) != boost)
            continue;
        Biquad stage;
        if (FilterResponse::bandStage(band.type, band.freq, gain, band.drawnQ(), &stage))
            product.multiply(stage, p);
    }
    product.finish(rate, out);
}

void SystemResponse::firResponse(const FirChannel &record, int maxTaps, double sampleRate, ComplexResponse &out)
{
    if (record.enable == 0 || !(sampleRate > 0.0)) {
        out.setUnity();
        return;
    }
    const FirChannel fir = record.normalised();
    const int taps = std::min({int(fir.taps), maxTaps, FirChannel::MaxTaps});
    if (taps <= 0) {
        out.setZero();
        return;
    }
    float coefficients[FirChannel::MaxTaps];
    fir.designCoefficients(coefficients);

    const Phasors &p = phasors(sampleRate);
    bool symmetric = true;
    for (int n = 0; n < taps / 2 && symmetric; ++n)
        symmetric = coefficients[n] == coefficients[taps - 1 - n];
    if (symmetric)
        symmetricFirResponse(coefficients, taps, sampleRate, p, out);
    else
        generalFirResponse(coefficients, taps, sampleRate, p, out);
}

void SystemResponse::delayResponse(double ms, ComplexResponse &out)
{
    const ResponseCurve &grid = responseGrid();
    const double d = ms / 1000.0;
    for (int i = 0; i < N; ++i) {
        const size_t k = size_t(i);
        const double phase = 2.0 * Pi * grid[k] * d;
        const double re = std::cos(phase), im = -std::sin(phase);
        out.re[k] = re;
        out.im[k] = im;
        // -j d H
        out.dre[k] = d * im;
        out.dim[k] = -d * re;
    }
}

double SystemResponse::latencyMsOf(const ComplexResponse &h)
{
    int best = 0;
    double bestPower = -1.0;
    for (int i = 0; i < N; ++i) {
        const size_t k = size_t(i);
        const double power = h.re[k] * h.re[k] + h.im[k] * h.im[k];
        if (power > bestPower) {
            bestPower = power;
            best = i;
        }
    }
    if (!(bestPower > 0.0))
        return 0.0;
    const size_t k = size_t(best);
    return -(h.dim[k] * h.re[k] - h.dre[k] * h.im[k]) / bestPower * 1000.0;
}

void SystemResponse::curvesOf(const ComplexResponse &h, Curves &out)
{
    out.audible = false;
    for (int i = 0; i < N; ++i) {
        const size_t k = size_t(i);
        const double power = h.re[k] * h.re[k] + h.im[k] * h.im[k];
        if (power > 0.0) {
            out.audible = true;
            out.magnitudeDb[k] = std::max(10.0 * std::log10(power), SilentDb);
            double phase = std::atan2(h.im[k], h.re[k]) * (180.0 / Pi);
            if (phase <= -180.0)
                phase += 360.0;
            out.phaseDeg[k] = phase;
            out.groupDelayMs[k] = -(h.dim[k] * h.re[k] - h.dre[k] * h.im[k]) / power * 1000.0;
        } else {
            out.magnitudeDb[k] = SilentDb;
            out.phaseDeg[k] = 0.0;
            out.groupDelayMs[k] = 0.0;
        }
    }
    out.deqLowDb = out.magnitudeDb;
    out.deqHighDb = out.magnitudeDb;
}

void SystemResponse::setState(const PresetImage &image)
{
    m_work = Work();
    const bool all = !m_valid;
    std::array<bool, Inputs> inputChanged{};
    std::array<bool, Outputs> outputChanged{};

    for (int in = 0; in < Inputs; ++in) {
        const size_t i = size_t(in);
        bool chain = false;
        if (all || image.inputFilters[i] != m_image.inputFilters[i]) {
            filterResponse(image.inputFilters[i], m_inFilter[i]);
            ++m_work.filters;
            chain = true;
        }
        const float delay = m_family96k ? image.inputDelays[i] : 0.0f;
        if (all || !sameFloat(delay, m_family96k ? m_image.inputDelays[i] : 0.0f)) {
            delayResponse(safeDelayMs(delay), m_inDelay[i]);
            ++m_work.delays;
            chain = true;
        }
        if (all || image.deq[i] != m_image.deq[i]) {
            if (m_family96k && deqActive(image.deq[i])) {
                deqResponse(image.deq[i], true, m_deqBoost[i]);
                deqResponse(image.deq[i], false, m_deqCut[i]);
                ++m_work.deqs;
            } else {
                m_deqBoost[i].setUnity();
                m_deqCut[i].setUnity();
            }
            chain = true;
        }
        if (chain) {
            ComplexResponse &nominal = m_inChain[i][0];
            nominal = m_inFilter[i];
            nominal.multiply(m_inDelay[i]);
            m_inChain[i][1] = nominal;
            m_inChain[i][1].multiply(m_deqBoost[i]);
            m_inChain[i][2] = nominal;
            m_inChain[i][2].multiply(m_deqCut[i]);
        }
        inputChanged[i] = chain || all || !sameLevel(image.inputLevels[i], m_image.inputLevels[i]);
    }

    for (int out = 0; out < Outputs; ++out) {
        const size_t o = size_t(out);
        bool chain = false;
        if (all || image.outputFilters[o] != m_image.outputFilters[o]) {
            filterResponse(image.outputFilters[o], m_outFilter[o]);
            ++m_work.filters;
            chain = true;
        }
        if (all || image.fir[o] != m_image.fir[o]) {
            firResponse(image.fir[o], m_firTaps, m_firRate, m_fir[o]);
            m_firLatencyMs[o] = image.fir[o].enable != 0 ? latencyMsOf(m_fir[o]) : 0.0;
            ++m_work.firs;
            chain = true;
        }
        if (all || !sameFloat(image.outputDelays[o], m_image.outputDelays[o])) {
            delayResponse(safeDelayMs(image.outputDelays[o]), m_outDelay[o]);
            ++m_work.delays;
            chain = true;
        }
        if (chain) {
            m_outChain[o] = m_outFilter[o];
            m_outChain[o].multiply(m_fir[o]);
            m_outChain[o].multiply(m_outDelay[o]);
        }
        bool changed = chain || all || !sameLevel(image.outputLevels[o], m_image.outputLevels[o])
            || image.mixer[o] != m_image.mixer[o];
        for (int in = 0; in < Inputs && !changed; ++in) {
            const size_t i = size_t(in);
            changed = inputChanged[i] && (image.mixer[o].enable[i] || m_image.mixer[o].enable[i]);
        }
        outputChanged[o] = changed;
    }

    m_image = image;
    m_valid = true;
    for (int out = 0; out < Outputs; ++out) {
        if (outputChanged[size_t(out)])
            combineOutput(out);
    }
}

void SystemResponse::combineOutput(int out)
{
    const size_t o = size_t(out);
    ++m_work.outputs;
    Curves &curves = m_curves[o];
    ComplexResponse &h = m_outputs[o];
    const double outGain = levelFactor(m_image.outputLevels[o]);
    const MixerOutput &row = m_image.mixer[o];

    bool any = false;
    bool withDeq = false;
    double latency = 0.0;
    ComplexResponse boost, cut;
    h.setZero();
    for (int in = 0; in < Inputs; ++in) {
        const size_t i = size_t(in);
        if (m_source != AllInputs && m_source != in)
            continue;
        const double inGain = levelFactor(m_image.inputLevels[i]);
        if (!row.enable[i] || inGain == 0.0 || outGain == 0.0)
            continue;
        const double gain = inGain * std::pow(10.0, double(MixerOutput::boundGain(row.gain[i])) / 20.0);
        if (!any) {
            boost.setZero();
            cut.setZero();
        }
        any = true;
        h.addScaled(m_inChain[i][0], gain);
        boost.addScaled(m_inChain[i][1], gain);
        cut.addScaled(m_inChain[i][2], gain);
        withDeq = withDeq || (m_family96k && deqActive(m_image.deq[i]));
        const double inDelay = m_family96k ? safeDelayMs(m_image.inputDelays[i]) : 0.0;
        latency = std::max(latency, inDelay + safeDelayMs(m_image.outputDelays[o]) + m_firLatencyMs[o]);
    }

    if (!any) {
        curvesOf(h, curves);
        curves.latencyMs = 0.0;
        m_outBoost[o] = h;
        m_outCut[o] = h;
        return;
    }
    h.multiply(m_outChain[o]);
    h.scale(outGain);
    curvesOf(h, curves);
    curves.latencyMs = latency;
    if (!withDeq) {
        m_outBoost[o] = h;
        m_outCut[o] = h;
        return;
    }
    boost.multiply(m_outChain[o]);
    boost.scale(outGain);
    cut.multiply(m_outChain[o]);
    cut.scale(outGain);
    for (int i = 0; i < N; ++i) {
        const size_t k = size_t(i);
        const double up = dbOf(boost.re[k], boost.im[k]);
        const double down = dbOf(cut.re[k], cut.im[k]);
        curves.deqLowDb[k] = std::min({curves.magnitudeDb[k], up, down});
        curves.deqHighDb[k] = std::max({curves.magnitudeDb[k], up, down});
    }
    m_outBoost[o] = boost;
    m_outCut[o] = cut;
}

SystemResponse::Curves SystemResponse::sum(unsigned mask) const
{
    ComplexResponse h, boost, cut;
    h.setZero();
    boost.setZero();
    cut.setZero();
    double latency = 0.0;
    for (int out = 0; out < Outputs; ++out) {
        const size_t o = size_t(out);
        if (!(mask & (1u << out)) || !m_curves[o].audible)
            continue;
        h.addScaled(m_outputs[o], 1.0);
        boost.addScaled(m_outBoost[o], 1.0);
        cut.addScaled(m_outCut[o], 1.0);
        latency = std::max(latency, m_curves[o].latencyMs);
    }
    Curves curves;
    curvesOf(h, curves);
    curves.latencyMs = curves.audible ? latency : 0.0;
    for (int i = 0; i < N; ++i) {
        const size_t k = size_t(i);
        const double up = dbOf(boost.re[k], boost.im[k]);
        const double down = dbOf(cut.re[k], cut.im[k]);
        curves.deqLowDb[k] = std::min({curves.magnitudeDb[k], up, down});
        curves.deqHighDb[k] = std::max({curves.magnitudeDb[k], up, down});
    }
    return curves;
}
