#pragma once

#include <vector>

#include "responsegrid.h"

// Parameters of a windowed-sinc FIR design, with the FIR page's defaults.
struct FirDesignParams
{
    int taps = 256;
    int firType = 3;          // FirDesign::Type
    double lowFreq = 500.0;   // Hz; the corner of low and high pass
    double highFreq = 5000.0; // Hz; the upper corner of band pass
    int window = 1;           // FirDesign::Window
    double kaiserBeta = 10.0;
    double sampleRate = 48000.0;
};

// Linear-phase FIR filters by the windowed-sinc method, and the magnitude
// response of any coefficient set at the grid frequencies.
class FirDesign
{
public:
    static constexpr int MaxTaps = 512;
    // Where the response of a (near) zero transfer function is drawn, rather
    // than -inf.
    static constexpr double ResponseFloorDb = -300.0;
    static constexpr double MaxKaiserBeta = 100.0;

    enum Type { LowPass = 1, HighPass = 2, BandPass = 3 };
    enum Window { Rectangle = 1, Tukey = 2, Triangular = 3, Hanning = 4, Hamming = 5, Blackman = 6, Kaiser = 7 };

    // Modified Bessel function of the first kind, order 0, by its power
    // series: terms are added until one falls below 1e-8 of the sum (in the
    // squared terms), and never more than 25 beyond the first.
    static double besselI0(double x);

    // Window value at tap n of `taps`. Unknown window codes and windows of
    // fewer than two taps give 1. The Kaiser beta is taken as |beta|, at most
    // MaxKaiserBeta (NaN counts as 0): beyond that the series overflows.
    static double window(int window, int n, int taps, double kaiserBeta);

    // False for parameters the design cannot use: a type other than 1..3,
    // a sample rate that is not positive, or a frequency that is not finite.
    static bool isValid(const FirDesignParams &params);

    // Writes min(max(taps, 0), MaxTaps) symmetric coefficients to `out` and
    // returns that count. The coefficients are not normalised. Invalid
    // parameters give zeros (an output that passes nothing rather than NaN).
    // Odd tap counts get the sinc's limit at the centre tap.
    static int design(const FirDesignParams &params, double *out);
    static std::vector<double> design(const FirDesignParams &params);

    // 20 log10 |H| at every grid frequency for `count` coefficients at
    // `sampleRate`, never below ResponseFloorDb (no coefficients, all zeros,
    // NaN coefficients or an unusable sample rate all give the floor).
    static void response(const double *coefficients, int count, double sampleRate, ResponseCurve &out);
};
