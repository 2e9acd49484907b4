#pragma once

// Plain, direct implementations of the filter-response and FIR formulas:
// per-point complex arithmetic, a sine and cosine per tap and frequency, no
// tables shared with the shipped code. Tests and benchmarks use them as the
// oracle for the optimised code in src/core/dsp.

#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/dsp/filterresponse.h"

namespace DspReference {

constexpr double Pi = 3.14159265358979323846;
constexpr int GridSize = 420;

// 1000 * 2^((i - 239) / 36), rounded to three significant digits by printf,
// with the grid's five fixed exceptions.
inline double computeGridFrequency(int i)
{
    switch (i) {
    case 59: return 31.3;
    case 116: return 94;
    case 117: return 95;
    case 118: return 97;
    case 119: return 99;
    default: break;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", 1000.0 * std::pow(2.0, (i - 239) / 36.0));
    return std::strtod(text, nullptr);
}

// Computed once, so that timing the reference measures its arithmetic and
// not printf.
inline double gridFrequency(int i)
{
    static const std::vector<double> grid = [] {
        std::vector<double> g(GridSize);
        for (int k = 0; k < GridSize; ++k)
            g[size_t(k)] = computeGridFrequency(k);
        return g;
    }();
    return grid[size_t(i)];
}

struct Coefficients
{
    double b0, b1, b2, a1, a2;
};

inline Coefficients firstOrder(bool lowPass, double f)
{
    const double w = 2 * Pi * f;
    const double k = w / std::tan(Pi * f / 192000.0);
    if (lowPass)
        return {w / (w + k), w / (w + k), 0, (w - k) / (w + k), 0};
    return {k / (w + k), -k / (w + k), 0, (w - k) / (w + k), 0};
}

// kind: 0 all-pass, 1 high-pass, 2 low-pass, 3 peaking, 4 low shelf, 5 high shelf
inline Coefficients secondOrder(int kind, double f, double q, double gain)
{
    const double w0 = 2 * Pi * f / 192000.0;
    const double alpha = std::sin(w0) / (2 * q);
    const double A = std::pow(10.0, gain / 40.0);
    const double c = std::cos(w0);
    const double sA = std::sqrt(A);
    double b0 = 0, b1 = 0, b2 = 0, a0 = 1, a1 = 0, a2 = 0;
    switch (kind) {
    case 0: b0 = 1 - alpha; b1 = -2 * c; b2 = 1 + alpha; a0 = 1 + alpha; a1 = -2 * c; a2 = 1 - alpha; break;
    case 1: b0 = (1 + c) / 2; b1 = -(1 + c); b2 = (1 + c) / 2; a0 = 1 + alpha; a1 = -2 * c; a2 = 1 - alpha; break;
    case 2: b0 = (1 - c) / 2; b1 = 1 - c; b2 = (1 - c) / 2; a0 = 1 + alpha; a1 = -2 * c; a2 = 1 - alpha; break;
    case 3:
        b0 = 1 + alpha * A; b1 = -2 * c; b2 = 1 - alpha * A;
        a0 = 1 + alpha / A; a1 = -2 * c; a2 = 1 - alpha / A;
        break;
    case 4:
        b0 = A * ((A + 1) - (A - 1) * c + 2 * sA * alpha);
        b1 = 2 * A * ((A - 1) - (A + 1) * c);
        b2 = A * ((A + 1) - (A - 1) * c - 2 * sA * alpha);
        a0 = (A + 1) + (A - 1) * c + 2 * sA * alpha;
        a1 = -2 * ((A - 1) + (A + 1) * c);
        a2 = (A + 1) + (A - 1) * c - 2 * sA * alpha;
        break;
    case 5:
        b0 = A * ((A + 1) + (A - 1) * c + 2 * sA * alpha);
        b1 = -2 * A * ((A - 1) + (A + 1) * c);
        b2 = A * ((A + 1) + (A - 1) * c - 2 * sA * alpha);
        a0 = (A + 1) - (A - 1) * c + 2 * sA * alpha;
        a1 = 2 * ((A - 1) - (A + 1) * c);
        a2 = (A + 1) - (A - 1) * c - 2 * sA * alpha;
        break;
    }
    return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

// Adds one stage's 20 log10 |H| at every grid point to acc.
inline void addStage(const Coefficients &s, std::vector<double> &acc)
{
    for (int i = 0; i < GridSize; ++i) {
        const double w = std::trunc(10 * gridFrequency(i)) * Pi / 960000.0;
        const std::complex<double> z1 = std::polar(1.0, -w);
        const std::complex<double> z2 = std::polar(1.0, -2 * w);
        const std::complex<double> h = (s.b0 + s.b1 * z1 + s.b2 * z2) / (1.0 + s.a1 * z1 + s.a2 * z2);
        const float h2 = float(std::norm(h));
        acc[size_t(i)] += 20 * std::log10(std::sqrt(double(h2)));
    }
}

inline const float *stageQ(int type, int order)
{
    static const float table[3][9][4] = {
        {{}, {}, {0.5773f}, {0.6910f}, {0.5219f, 0.8055f}, {}, {0.5103f, 0.6112f, 1.0234f}, {},
         {0.5060f, 1.2258f, 0.7109f, 0.5596f}},
        {{}, {}, {0.7071f}, {1.0f}, {0.5412f, 1.3065f}, {}, {0.5177f, 0.7071f, 1.9320f}, {},
         {0.5098f, 0.6013f, 0.8999f, 2.5628f}},
        {{}, {}, {0.5f}, {0.6f}, {0.71f, 0.71f}, {}, {0.5f, 1.0f, 1.0f}, {}, {0.54f, 1.34f, 0.54f, 1.34f}},
    };
    return table[type][order];
}

inline void addSection(bool lowPass, const FilterSection &section, std::vector<double> &acc)
{
    static const int orders[6] = {1, 2, 3, 4, 6, 8};
    const int n = orders[section.slope];
    for (int k = 0; k < n / 2; ++k)
        addStage(secondOrder(lowPass ? 2 : 1, section.freq, stageQ(section.type, n)[k], 0), acc);
    if (n == 1 || n == 3)
        addStage(firstOrder(lowPass, section.freq), acc);
}

// The recompute: sections, then bands, summed in dB.
inline std::vector<double> filterResponse(const FilterChannelParams &p)
{
    std::vector<double> acc(GridSize, 0.0);
    if (!p.highPass.bypass && p.highPass.shown)
        addSection(false, p.highPass, acc);
    if (!p.lowPass.bypass && p.lowPass.shown)
        addSection(true, p.lowPass, acc);
    for (int b = 0; b < p.bandCount && b < 16; ++b) {
        const FilterBand &band = p.bands[size_t(b)];
        if (!band.bypass && band.shown && band.type >= 0 && band.type <= 2)
            addStage(secondOrder(band.type + 3, band.freq, band.q, band.gain), acc);
    }
    return acc;
}

inline double besselI0(double x)
{
    double t = 1, s = 1;
    for (int k = 1; k <= 25; ++k) {
        t = t * x / 2 / k;
        s = s + t * t;
        if (t * t < s * 1e-8)
            break;
    }
    return s;
}

inline double firWindow(int window, int n, int M, double beta)
{
    const double c = std::cos(2 * Pi * n / (M - 1));
    switch (window) {
    case 2: {
        const int a = (M - 2) / 10;
        return n > a ? 1 : (1 - std::cos(Pi * n / (a + 1))) / 2;
    }
    case 3: return 1 - std::fabs(1 - 2.0 * n / (M - 1));
    case 4: return (1 - c) / 2;
    case 5: return 0.54 - 0.46 * c;
    case 6: return 0.42 - 0.5 * c + 0.08 * std::cos(4 * Pi * n / (M - 1));
    case 7: {
        const double r = 2.0 * n / (M - 1) - 1;
        return besselI0(beta * std::sqrt(1 - r * r)) / besselI0(beta);
    }
    default: return 1;
    }
}

// Even tap counts only, as the formulas are written.
inline std::vector<double> firDesign(int taps, int type, double lowFreq, double highFreq, int window, double beta,
                                     double fs)
{
    std::vector<double> h(size_t(taps), 0.0);
    const int N = taps - 1;
    const double L = N / 2.0;
    const double wl = 2 * Pi * lowFreq, wh = 2 * Pi * highFreq;
    for (int i = 0; i <= (N - 1) / 2; ++i) {
        const double x = i - L;
        double d;
        if (type == 1)
            d = std::sin(x * wl / fs) / (x * Pi);
        else if (type == 2)
            d = (std::sin(x * Pi) - std::sin(x * wl / fs)) / (x * Pi);
        else
            d = (std::sin(x * wh / fs) - std::sin(x * wl / fs)) / (x * Pi);
        h[size_t(i)] = h[size_t(N - i)] = d * firWindow(window, i, taps, beta);
    }
    return h;
}

inline std::vector<double> firResponse(const std::vector<double> &h, double fs)
{
    std::vector<double> out(GridSize);
    for (int i = 0; i < GridSize; ++i) {
        const double w = 2 * Pi * gridFrequency(i) / fs;
        double re = h.empty() ? 0 : h[0], im = 0;
        for (size_t k = 1; k < h.size(); ++k) {
            re += h[k] * std::cos(w * double(k));
            im -= h[k] * std::sin(w * double(k));
        }
        out[size_t(i)] = 20 * std::log10(std::sqrt(re * re + im * im));
    }
    return out;
}

} // namespace DspReference
