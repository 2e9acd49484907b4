#pragma once

#include <array>

#include "core/presets/presetimage.h"
#include "responsegrid.h"

// A complex response on the grid with its derivative by angular frequency
// (d H / d Omega, Omega in rad/s, so the derivative is in seconds). Keeping
// the derivative rather than a group delay lets paths be summed: the group
// delay of a sum is -Im(sum dH / sum H), which no per-path delay gives.
struct ComplexResponse
{
    alignas(32) ResponseCurve re;
    alignas(32) ResponseCurve im;
    alignas(32) ResponseCurve dre;
    alignas(32) ResponseCurve dim;

    void setUnity();
    void setZero();
    // this = this * other, by the product rule for the derivative.
    void multiply(const ComplexResponse &other);
    void scale(double gain);
    // this += gain * other.
    void addScaled(const ComplexResponse &other, double gain);
};

// What the whole signal chain of a unit does from its inputs to each output,
// from the records alone: input level, polarity and mute, input filter,
// dynamic EQ (as the range it can move the curve through), input delay, the
// matrix cross-point, output level, polarity and mute, FIR, output filter
// and output delay. Limiters, gate and feedback suppressor depend on the
// signal level and are left out.
//
// The filters use the stages the filter graphs draw (FilterResponse, at its
// model rate), plus the all-pass bands, which the graphs leave out because
// they do not change the magnitude. The FIR runs at the unit's own rate.
//
// setState() compares the new records with the ones it last saw and
// recomputes only the blocks whose records changed: an edit of a band
// redoes that channel's filter and the outputs it reaches, never a FIR.
class SystemResponse
{
public:
    static constexpr int Inputs = PresetImage::Inputs;
    static constexpr int Outputs = PresetImage::Outputs;
    static constexpr int AllInputs = -1;
    // Magnitude drawn for a path that carries nothing.
    static constexpr double SilentDb = -300.0;

    struct Curves
    {
        bool audible = false; // false: muted or unrouted, every curve at SilentDb / 0
        ResponseCurve magnitudeDb{};
        ResponseCurve phaseDeg{}; // wrapped to (-180, 180]
        ResponseCurve groupDelayMs{};
        // The dynamic EQ's reach: the lowest and highest magnitude between
        // no action and full action of its bands.
        ResponseCurve deqLowDb{};
        ResponseCurve deqHighDb{};
        // Delays plus the FIR's group delay; the longest of the routed
        // inputs when the source is all inputs. 0 when not audible.
        double latencyMs = 0.0;
    };

    // How many blocks the last setState() recomputed, for tests and the
    // benchmark: filters, dynamic EQs, FIRs, delay phasors, outputs.
    struct Work
    {
        int filters = 0;
        int deqs = 0;
        int firs = 0;
        int delays = 0;
        int outputs = 0;
    };

    explicit SystemResponse(bool family96k = true);

    // The 96 kHz family has input delays, the dynamic EQ and 512-tap FIRs at
    // 96 kHz; the 48 kHz family has none of the first two and 256 taps.
    void setFamily(bool family96k);
    bool family96k() const { return m_family96k; }
    double firSampleRate() const { return m_firRate; }

    // Input 0..3, or AllInputs: every input carries the same signal and the
    // routed paths add up.
    void setSource(int source);
    int source() const { return m_source; }

    void setState(const PresetImage &image);
    const Work &lastWork() const { return m_work; }

    const Curves &output(int output) const { return m_curves[size_t(output)]; }
    const ComplexResponse &outputResponse(int output) const { return m_outputs[size_t(output)]; }
    // The acoustic sum of the outputs whose bit is set in `mask`; its
    // latency is the longest of theirs.
    Curves sum(unsigned mask) const;

    // The curves of a complex response (the dynamic EQ range is left equal
    // to the magnitude).
    static void curvesOf(const ComplexResponse &h, Curves &out);

    // Block responses, public so tests and the benchmark can check them one
    // by one. `sampleRate` is the filters' model rate.
    static void filterResponse(const FilterChannel &channel, ComplexResponse &out);
    static void firResponse(const FirChannel &fir, int maxTaps, double sampleRate, ComplexResponse &out);
    static void delayResponse(double ms, ComplexResponse &out);
    // The product of the dynamic-EQ bands of one input at full action whose
    // gain is positive (`boost`) or negative (not `boost`).
    static void deqResponse(const std::array<DeqBand, PresetImage::DeqBands> &bands, bool boost,
                            ComplexResponse &out);
    // The group delay (ms) at the grid point of the response's largest
    // magnitude: the latency of a FIR.
    static double latencyMsOf(const ComplexResponse &h);

private:
    void invalidate();
    void combineOutput(int output);

    bool m_family96k = true;
    double m_firRate = 96000.0;
    int m_firTaps = 512;
    int m_source = AllInputs;
    bool m_valid = false;
    PresetImage m_image;
    Work m_work;

    // Per input: filter x delay, and with the dynamic EQ's boost or cut at
    // full action.
    std::array<ComplexResponse, Inputs> m_inFilter;
    std::array<ComplexResponse, Inputs> m_inDelay;
    std::array<ComplexResponse, Inputs> m_deqBoost;
    std::array<ComplexResponse, Inputs> m_deqCut;
    std::array<std::array<ComplexResponse, 3>, Inputs> m_inChain;
    std::array<ComplexResponse, Outputs> m_outFilter;
    std::array<ComplexResponse, Outputs> m_fir;
    std::array<double, Outputs> m_firLatencyMs{};
    std::array<ComplexResponse, Outputs> m_outDelay;
    // Per output: level x FIR x filter x delay.
    std::array<ComplexResponse, Outputs> m_outChain;
    std::array<ComplexResponse, Outputs> m_outputs;
    // The outputs with the dynamic EQ's boost or cut at full action.
    std::array<ComplexResponse, Outputs> m_outBoost;
    std::array<ComplexResponse, Outputs> m_outCut;
    std::array<Curves, Outputs> m_curves;
};
