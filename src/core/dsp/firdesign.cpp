#include "firdesign.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

// Frequencies evaluated side by side in the response: their phasor
// recurrences are independent, which keeps the pipeline full.
constexpr int ResponseBlock = 12;
static_assert(ResponseGridSize % ResponseBlock == 0, "the grid splits into whole blocks");

double safeBeta(double beta)
{
    if (std::isnan(beta))
        return 0.0;
    return std::min(std::fabs(beta), FirDesign::MaxKaiserBeta);
}

// The ideal response at offset x from the centre (x != 0).
double ideal(int type, double x, double wl, double wh, double fs)
{
    switch (type) {
    case FirDesign::LowPass:
        return std::sin(x * wl / fs) / (x * Pi);
    case FirDesign::HighPass:
        return (std::sin(x * Pi) - std::sin(x * wl / fs)) / (x * Pi);
    default:
        return (std::sin(x * wh / fs) - std::sin(x * wl / fs)) / (x * Pi);
    }
}

// The limit of ideal() at x = 0, for the centre tap of odd lengths.
double idealCentre(int type, double wl, double wh, double fs)
{
    switch (type) {
    case FirDesign::LowPass:
        return wl / (fs * Pi);
    case FirDesign::HighPass:
        return 1.0 - wl / (fs * Pi);
    default:
        return (wh - wl) / (fs * Pi);
    }
}

} // namespace

double FirDesign::besselI0(double x)
{
    double t = 1.0;
    double s = 1.0;
    for (int k = 1; k <= 25; ++k) {
        t = t * x / 2.0 / k;
        s += t * t;
        if (t * t < s * 1e-8)
            break;
    }
    return s;
}

double FirDesign::window(int window, int n, int taps, double kaiserBeta)
{
    if (taps < 2)
        return 1.0;
    const double span = taps - 1;
    const double c = std::cos(2.0 * Pi * n / span);
    switch (window) {
    case Rectangle:
        return 1.0;
    case Tukey: {
        const int a = (taps - 2) / 10;
        return n > a ? 1.0 : (1.0 - std::cos(Pi * n / (a + 1))) / 2.0;
    }
    case Triangular:
        return 1.0 - std::fabs(1.0 - 2.0 * n / span);
    case Hanning:
        return (1.0 - c) / 2.0;
    case Hamming:
        return 0.54 - 0.46 * c;
    case Blackman:
        return 0.42 - 0.5 * c + 0.08 * std::cos(4.0 * Pi * n / span);
    case Kaiser: {
        const double beta = safeBeta(kaiserBeta);
        const double r = 2.0 * n / span - 1.0;
        // n outside 0..taps-1 would take the root of a negative number.
        const double radicand = std::max(0.0, 1.0 - r * r);
        return besselI0(beta * std::sqrt(radicand)) / besselI0(beta);
    }
    default:
        return 1.0;
    }
}

bool FirDesign::isValid(const FirDesignParams &params)
{
    return params.firType >= LowPass && params.firType <= BandPass && params.sampleRate > 0.0
        && std::isfinite(params.sampleRate) && std::isfinite(params.lowFreq) && std::isfinite(params.highFreq);
}

int FirDesign::design(const FirDesignParams &params, double *out)
{
    const int taps = std::clamp(params.taps, 0, MaxTaps);
    if (!isValid(params)) {
        std::fill(out, out + taps, 0.0);
        return taps;
    }
    const double fs = params.sampleRate;
    const double wl = 2.0 * Pi * params.lowFreq;
    const double wh = 2.0 * Pi * params.highFreq;
    const double centre = (taps - 1) / 2.0;
    // The first half, mirrored: the coefficients are exactly symmetric.
    for (int i = 0; i < taps / 2; ++i) {
        const double value = ideal(params.firType, i - centre, wl, wh, fs)
                           * window(params.window, i, taps, params.kaiserBeta);
        out[i] = value;
        out[taps - 1 - i] = value;
    }
    if (taps % 2 == 1) {
        const int mid = taps / 2;
        out[mid] = idealCentre(params.firType, wl, wh, fs) * window(params.window, mid, taps, params.kaiserBeta);
    }
    return taps;
}

std::vector<double> FirDesign::design(const FirDesignParams &params)
{
    std::vector<double> coefficients(size_t(std::clamp(params.taps, 0, MaxTaps)));
    design(params, coefficients.data());
    return coefficients;
}

void FirDesign::response(const double *coefficients, int count, double sampleRate, ResponseCurve &out)
{
    if (count <= 0 || !(sampleRate > 0.0) || !std::isfinite(sampleRate)) {
        out.fill(ResponseFloorDb);
        return;
    }
    const ResponseCurve &grid = responseGrid();
    const double floorPower = std::pow(10.0, ResponseFloorDb / 10.0);

    // H(w) = sum h(k) e^-jwk. The phasor e^-jwk advances by one complex
    // multiplication per tap instead of a sine and cosine per tap; its
    // rounding error grows only linearly with k (about 1e-13 after 512 taps).
    for (int first = 0; first < ResponseGridSize; first += ResponseBlock) {
        double stepRe[ResponseBlock], stepIm[ResponseBlock];
        double zRe[ResponseBlock], zIm[ResponseBlock];
        double sumRe[ResponseBlock], sumIm[ResponseBlock];
        for (int j = 0; j < ResponseBlock; ++j) {
            const double w = 2.0 * Pi * grid[size_t(first + j)] / sampleRate;
            stepRe[j] = std::cos(w);
            stepIm[j] = -std::sin(w);
            zRe[j] = 1.0;
            zIm[j] = 0.0;
            sumRe[j] = 0.0;
            sumIm[j] = 0.0;
        }
        for (int k = 0; k < count; ++k) {
            const double h = coefficients[k];
            for (int j = 0; j < ResponseBlock; ++j) {
                sumRe[j] += h * zRe[j];
                sumIm[j] += h * zIm[j];
                const double re = zRe[j] * stepRe[j] - zIm[j] * stepIm[j];
                zIm[j] = zRe[j] * stepIm[j] + zIm[j] * stepRe[j];
                zRe[j] = re;
            }
        }
        for (int j = 0; j < ResponseBlock; ++j) {
            // Huge coefficients may overflow the power; keep it finite.
            const double power = std::min(sumRe[j] * sumRe[j] + sumIm[j] * sumIm[j], DBL_MAX);
            // NaN fails the comparison and lands on the floor as well.
            out[size_t(first + j)] = power > floorPower ? 10.0 * std::log10(power) : ResponseFloorDb;
        }
    }
}
