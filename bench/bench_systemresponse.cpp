// Times the whole-chain response of a busy unit: all four inputs routed to
// all eight outputs, every filter with both sections and sixteen bands, the
// dynamic EQ active, a 512-tap FIR on every output. Prints a full compute
// and a recompute after one band edit against the direct computation of the
// tests in the same run, and the largest difference between the two.

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "chainreference.h"
#include "core/dsp/firdesign.h"
#include "core/dsp/systemresponse.h"

namespace {

PresetImage busiest(bool symmetricFir)
{
    PresetImage s;
    auto fill = [](FilterChannel &c, int seed) {
        for (int b = 0; b < 16; ++b) {
            const size_t k = size_t(b);
            c.bandEnable[k] = 1;
            c.bandType[k] = quint8(b == 15 ? FilterChannel::AllPass180 : b % 3);
            c.bandFreq[k] = quint16(defaultBandFrequencies[k] * (1.1f + 0.05f * seed));
            c.bandGain[k] = b % 2 ? 6.0f : -4.5f;
            c.bandQIndex[k] = quint8(20 + b);
        }
        c.hpEnable = c.lpEnable = 1;
        c.hpType = c.lpType = 2;
        c.hpSlope = c.lpSlope = 3;
        c.hpFreq = quint16(30 + seed);
        c.lpFreq = quint16(16000 - 100 * seed);
    };
    for (int i = 0; i < 4; ++i) {
        fill(s.inputFilters[size_t(i)], i);
        s.inputDelays[size_t(i)] = 1.5f * i;
        s.inputLevels[size_t(i)].gain = -1.0f * i;
        s.deq[size_t(i)][0].bypass = 0;
        s.deq[size_t(i)][0].gain = 6.0f;
        s.deq[size_t(i)][1].bypass = 0;
        s.deq[size_t(i)][1].gain = 4.0f;
        s.deq[size_t(i)][1].mode = DeqBand::CutAbove;
    }
    for (int o = 0; o < 8; ++o) {
        const size_t k = size_t(o);
        fill(s.outputFilters[k], 4 + o);
        s.outputDelays[k] = 0.25f * o;
        s.outputLevels[k].invert = o % 2;
        for (int i = 0; i < 4; ++i) {
            s.mixer[k].enable[size_t(i)] = true;
            s.mixer[k].gain[size_t(i)] = qint8(-3 * i);
        }
        FirDesignParams design;
        design.taps = 512;
        design.firType = FirDesign::LowPass;
        design.lowFreq = 2000.0 + 500.0 * o;
        design.window = FirDesign::Hamming;
        design.sampleRate = 96000.0;
        std::vector<double> h = FirDesign::design(design);
        std::vector<float> f(h.begin(), h.end());
        if (!symmetricFir) // a minimum-phase-like skew, as a coefficient file may hold
            for (size_t n = 0; n < f.size(); ++n)
                f[n] *= float(std::exp(-double(n) / 200.0));
        s.fir[k].enable = 1;
        s.fir[k].taps = 512;
        s.fir[k].setDesignCoefficients(f.data(), int(f.size()));
    }
    return s;
}

double threadCpuMicroseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

struct Timing
{
    double wallUs = 1e30;
    double cpuUs = 1e30; // this thread's processor time: what a shared, busy machine does not inflate
};

// Best per-call times over several rounds.
template <typename F>
Timing best(int rounds, int calls, F &&f)
{
    Timing t;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const double cpu = threadCpuMicroseconds();
        for (int k = 0; k < calls; ++k)
            f(k);
        t.cpuUs = std::min(t.cpuUs, (threadCpuMicroseconds() - cpu) / calls);
        t.wallUs = std::min(t.wallUs, timer.nsecsElapsed() / 1e3 / calls);
    }
    return t;
}

void run(const char *title, bool symmetricFir)
{
    PresetImage state = busiest(symmetricFir);
    SystemResponse response(true);
    double sink = 0;

    const Timing full = best(7, 20, [&](int) {
        response.setFamily(true); // forgets every cached block
        response.setState(state);
        sink += response.output(0).magnitudeDb[100];
    });
    const Timing edit = best(7, 200, [&](int k) {
        state.inputFilters[1].bandGain[5] = k % 2 ? 3.0f : 2.5f;
        response.setState(state);
        sink += response.output(0).magnitudeDb[100];
    });
    const SystemResponse::Work work = response.lastWork();

    std::vector<std::vector<ChainReference::Complex>> direct(8);
    const Timing direct_ = best(2, 1, [&](int) {
        for (int o = 0; o < 8; ++o)
            direct[size_t(o)] = ChainReference::output(state, o, -1, true);
    });

    double worstDb = 0;
    for (int o = 0; o < 8; ++o) {
        for (int i = 0; i < ResponseGridSize; ++i)
            worstDb = std::max(worstDb, std::fabs(response.output(o).magnitudeDb[size_t(i)]
                                                  - ChainReference::db(direct[size_t(o)][size_t(i)])));
    }

    std::printf("%s\n", title);
    std::printf("                                          wall (us)   cpu (us)\n");
    std::printf("  full compute, 8 outputs from 4 inputs: %9.1f  %9.1f   (target < 2000 us)\n", full.wallUs,
                full.cpuUs);
    std::printf("  recompute after one band edit:         %9.1f  %9.1f   (%d filter, %d FIR, %d outputs redone)\n",
                edit.wallUs, edit.cpuUs, work.filters, work.firs, work.outputs);
    std::printf("  direct computation:                    %9.1f  %9.1f\n", direct_.wallUs, direct_.cpuUs);
    std::printf("  ratio direct / full:                   %9.1f  %9.1f x (target >= 10 x)\n",
                direct_.wallUs / full.wallUs, direct_.cpuUs / full.cpuUs);
    std::printf("  ratio direct / edit:                   %9.1f  %9.1f x\n", direct_.wallUs / edit.wallUs,
                direct_.cpuUs / edit.cpuUs);
    std::printf("  largest magnitude difference:          %9.2g dB (target <= 0.001 dB)\n", worstDb);
    if (sink == 12345.678)
        std::printf(" \n");
}

} // namespace

int main()
{
    run("System response, 16 bands per filter, designed 512-tap FIRs (symmetric):", true);
    run("System response, 16 bands per filter, 512-tap FIRs from a coefficient file (not symmetric):", false);
    return 0;
}
