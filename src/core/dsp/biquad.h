#pragma once

// One stage of a filter chain:
//   H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2)
// A first-order stage is a biquad with b2 = a2 = 0.
struct Biquad
{
    enum Kind {
        AllPass = 0,
        HighPass = 1,
        LowPass = 2,
        Peaking = 3,
        LowShelf = 4,
        HighShelf = 5,
    };

    double b0 = 1.0;
    double b1 = 0.0;
    double b2 = 0.0;
    double a1 = 0.0;
    double a2 = 0.0;

    // Bilinear transform with pre-warping at `freq`; kind HighPass or
    // LowPass (any other kind gives a high-pass). Both factories return a
    // pass-through stage for a sample rate that is not positive.
    static Biquad firstOrder(Kind kind, double freq, double sampleRate);

    // Second-order stage after the Audio EQ Cookbook formulas, normalised by
    // a0. Gain is in dB and only matters for the peaking and shelf kinds.
    static Biquad secondOrder(Kind kind, double freq, double q, double gainDb, double sampleRate);

    // The limits the factories apply before they compute anything. Outside
    // them the formulas divide by zero (Q 0, frequency 0 or Nyquist) or turn
    // into aliases; operators only reach them through corrupt records.
    static double safeFrequency(double freq, double sampleRate);
    static double safeQ(double q);
    static double safeGainDb(double gainDb);

    static constexpr double MinFrequency = 1.0;       // Hz
    static constexpr double MaxFrequencyRatio = 0.49; // of the sample rate
    static constexpr double MinQ = 0.01;
    static constexpr double MaxQ = 100.0;
    static constexpr double MaxGainDb = 120.0;
};
