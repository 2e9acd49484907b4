#include "unitstate.h"

#include <cstring>

#include "core/records/delayrecord.h"

namespace {

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

template <size_t N>
bool sameBits(const std::array<float, N> &a, const std::array<float, N> &b)
{
    return std::memcmp(a.data(), b.data(), sizeof(float) * N) == 0;
}

bool sameLevel(const LevelRecord &a, const LevelRecord &b)
{
    return sameBits(a.gain, b.gain) && a.mute == b.mute && a.invert == b.invert && a.group == b.group;
}

bool sameLimiter(const LimiterRecord &a, const LimiterRecord &b)
{
    return a.enable == b.enable && sameBits(a.threshold, b.threshold) && a.ratio == b.ratio
        && a.attack == b.attack && a.decay == b.decay;
}

bool sameGenerator(const GeneratorRecord &a, const GeneratorRecord &b)
{
    return a.mute == b.mute && a.frequency == b.frequency && a.source == b.source && sameBits(a.gain, b.gain)
        && a.output == b.output;
}

template <typename T, size_t N, typename Same>
bool allSame(const std::array<T, N> &a, const std::array<T, N> &b, Same same)
{
    for (size_t i = 0; i < N; ++i) {
        if (!same(a[i], b[i]))
            return false;
    }
    return true;
}

// Every DSP record the family has.
bool sameDsp(const PresetImage &a, const PresetImage &b, bool withInputDelay)
{
    return a.gates == b.gates && allSame(a.inputLevels, b.inputLevels, sameLevel) && a.feedback == b.feedback
        && a.inputFilters == b.inputFilters && allSame(a.inputLimiters, b.inputLimiters, sameLimiter)
        && a.deq == b.deq && (!withInputDelay || sameBits(a.inputDelays, b.inputDelays)) && a.mixer == b.mixer
        && sameGenerator(a.generator, b.generator) && allSame(a.outputLevels, b.outputLevels, sameLevel)
        && a.fir == b.fir && a.outputFilters == b.outputFilters
        && allSame(a.outputLimiters, b.outputLimiters, sameLimiter) && sameBits(a.outputDelays, b.outputDelays);
}

} // namespace

UnitState::UnitState(UnitFamily family)
    : m_family(family)
{
    // A unit holds designed coefficients for its default FIR (what "Clear"
    // leaves), so a fresh state sends the same as a cleared unit.
    const FirChannel fir = FirChannel::designedDefaults(sampleRate(family));
    dsp.fir.fill(fir);
    for (int i = 0; i < Inputs; ++i)
        inputLabels[size_t(i)] = QStringLiteral("IN %1").arg(QChar(QLatin1Char('A').unicode() + i));
    for (int o = 0; o < Outputs; ++o)
        outputLabels[size_t(o)] = QStringLiteral("OUT %1").arg(o + 1);
}

UnitFamily UnitState::familyOfArmMajor(int major)
{
    return major == 1 ? UnitFamily::Sharc96k : UnitFamily::Sharc48k;
}

QString UnitState::familyName(UnitFamily family)
{
    return family == UnitFamily::Sharc96k ? QStringLiteral("96k") : QStringLiteral("48k");
}

PresetImage::Variant UnitState::presetVariant(UnitFamily family)
{
    return family == UnitFamily::Sharc96k ? PresetImage::Sharc96k : PresetImage::Sharc48k;
}

int UnitState::maxFirTaps(UnitFamily family)
{
    return family == UnitFamily::Sharc96k ? FirChannel::MaxTaps : FirChannel::MaxTaps / 2;
}

double UnitState::sampleRate(UnitFamily family)
{
    return family == UnitFamily::Sharc96k ? 96000.0 : 48000.0;
}

int UnitState::outputDelayMaxMs(UnitFamily family, int output)
{
    return DelayRecord::outputMaxMs(output, family == UnitFamily::Sharc48k);
}

double UnitState::outputDelayStepMs(UnitFamily family)
{
    return family == UnitFamily::Sharc48k ? 0.02 : 0.01;
}

bool UnitState::operator==(const UnitState &other) const
{
    if (m_family != other.m_family)
        return false;
    const bool familyOne = m_family == UnitFamily::Sharc96k;
    return sameDsp(dsp, other.dsp, hasInputDelay(m_family)) && inputSources == other.inputSources
        && sameBits(inputTrims, other.inputTrims) && sameBits(outputTrims, other.outputTrims)
        && inputLabels == other.inputLabels && outputLabels == other.outputLabels && location == other.location
        && description == other.description && panelLock == other.panelLock
        && (!hasLcdPage(m_family) || lcdPage == other.lcdPage) && allMute == other.allMute
        && locks.equals(other.locks, familyOne);
}
