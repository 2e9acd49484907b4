#include "scaledrange.h"

#include <QtGlobal>

#include <cmath>
#include <limits>

namespace {

constexpr int notch = 120;
constexpr int maxDecimals = 6;

int power10(int exponent)
{
    int result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}

int limitToInt(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    return static_cast<int>(qBound(lowest, value, highest));
}

} // namespace

int roundHalfUp(double value)
{
    return limitToInt(std::floor(value + 0.5));
}

int truncateToInt(double value)
{
    return limitToInt(std::trunc(value));
}

ScaledRange::ScaledRange(int minimum, int maximum)
    : m_minimum(minimum)
    , m_maximum(maximum)
{
}

float ScaledRange::valueInUnits() const
{
    return static_cast<float>(static_cast<double>(m_value) / m_scale);
}

void ScaledRange::setRange(int minimum, int maximum)
{
    m_minimum = limitToInt(static_cast<double>(minimum) * m_scale);
    m_maximum = limitToInt(static_cast<double>(maximum) * m_scale);
}

void ScaledRange::setDecimals(int decimals)
{
    decimals = qBound(0, decimals, maxDecimals);
    if (decimals == m_decimals)
        return;
    const double factor = std::pow(10.0, decimals - m_decimals);
    m_minimum = roundHalfUp(m_minimum * factor);
    m_maximum = roundHalfUp(m_maximum * factor);
    m_value = roundHalfUp(m_value * factor);
    m_decimals = decimals;
    m_scale = power10(decimals);
}

void ScaledRange::setValue(float value)
{
    if (!std::isfinite(value))
        return;
    m_value = roundHalfUp(static_cast<double>(value) * m_scale);
    m_fineRemainder = 0.0;
}

void ScaledRange::setStep(float step)
{
    if (!std::isfinite(step))
        return;
    m_step = static_cast<float>(m_scale) * step;
}

bool ScaledRange::setScaledValue(int value)
{
    m_fineRemainder = 0.0;
    if (value == m_value)
        return false;
    m_value = value;
    return true;
}

void ScaledRange::clampValue()
{
    m_value = boundedValue();
}

int ScaledRange::boundedValue() const
{
    if (m_value > m_maximum)
        return m_maximum;
    if (m_value < m_minimum)
        return m_minimum;
    return m_value;
}

ScaledRange::WheelResult ScaledRange::wheel(int delta, double factor)
{
    // Deltas below one notch come from high-resolution wheels and touchpads;
    // they are collected until a whole notch has turned, in the direction
    // they were turned. A change of direction starts over.
    if ((delta > 0 && m_wheelRemainder < 0) || (delta < 0 && m_wheelRemainder > 0))
        m_wheelRemainder = 0;
    m_wheelRemainder = qBound(-100 * notch, m_wheelRemainder + qBound(-100 * notch, delta, 100 * notch), 100 * notch);
    const int notches = m_wheelRemainder / notch;
    if (notches == 0)
        return WheelResult::None;
    m_wheelRemainder -= notches * notch;
    return stepBy(notches, factor);
}

ScaledRange::WheelResult ScaledRange::stepBy(int steps, double factor)
{
    if (!(factor > 0.0) || !std::isfinite(factor))
        factor = 1.0;
    if (steps > 0 && m_value >= m_maximum) {
        m_value = m_maximum;
        return WheelResult::Clamped;
    }
    if (steps < 0 && m_value <= m_minimum) {
        m_value = m_minimum;
        return WheelResult::Clamped;
    }
    if (steps == 0)
        return WheelResult::None;
    const double move = steps * static_cast<double>(m_step) * factor;
    int target;
    if (factor >= 1.0 || std::abs(move) >= 1.0) {
        m_fineRemainder = 0.0;
        target = roundHalfUp(m_value + move);
    } else {
        // A fine step below the scaled unit: kept until whole units add up,
        // in the direction being turned.
        if ((move > 0.0) != (m_fineRemainder > 0.0))
            m_fineRemainder = 0.0;
        m_fineRemainder += move;
        // A hair of tolerance: ten tenths make one unit despite binary
        // fractions.
        const int whole = truncateToInt(m_fineRemainder + (move > 0.0 ? 1e-9 : -1e-9));
        if (whole == 0)
            return WheelResult::None;
        m_fineRemainder -= whole;
        target = m_value + whole;
    }
    m_value = qBound(m_minimum, target, m_maximum);
    return WheelResult::Moved;
}
