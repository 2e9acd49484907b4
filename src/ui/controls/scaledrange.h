#pragma once

// The value model shared by the fader and the slider: gains and times are
// held as whole numbers of 10^-decimals units (one decimal: tenths of a dB),
// so the unit's values survive a round trip through the control unchanged.
class ScaledRange
{
public:
    ScaledRange(int minimum, int maximum);

    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int decimals() const { return m_decimals; }
    float step() const { return m_step; }
    // 10^decimals: scaled units per whole unit.
    int scale() const { return m_scale; }
    // The value in whole units (dB, ms), as reported to the owner.
    float valueInUnits() const;

    // Range in whole units; the value is left alone.
    void setRange(int minimum, int maximum);
    // Rescales range and value from the previous number of decimals, so the
    // order of setRange, setValue and setDecimals does not matter and a
    // repeated call changes nothing.
    void setDecimals(int decimals);
    // Whole units in, rounded half up to the scaled unit. Non-finite input
    // is ignored.
    void setValue(float value);
    void setStep(float step);

    // Stores an already scaled value; true when it differs from the old one.
    bool setScaledValue(int value);
    // Pulls the value into [minimum, maximum].
    void clampValue();
    // The value limited to the range, for drawing.
    int boundedValue() const;

    enum class WheelResult { None, Clamped, Moved };
    // One wheel event with the given delta (120 per notch). Moved: the value
    // changed and is to be reported; Clamped: it was pinned to the end it
    // was pushed against and nothing is reported; None: no whole notch yet.
    // `factor` scales the step (0.1 with Shift, 10 with Ctrl).
    WheelResult wheel(int delta, double factor = 1.0);
    // Whole steps up (positive) or down, with the same results as the wheel.
    // Fine steps smaller than the scaled unit are collected until they make
    // one, so ten fine notches move as far as one ordinary notch.
    WheelResult stepBy(int steps, double factor = 1.0);

private:
    int m_value = 0;
    int m_minimum;
    int m_maximum;
    int m_decimals = 0;
    int m_scale = 1;
    float m_step = 1.0f;
    int m_wheelRemainder = 0;
    double m_fineRemainder = 0.0;
};

// Rounds to nearest, halves upward (2.5 gives 3, -2.5 gives -2), limited to
// the int range so a wild value never turns into undefined behaviour.
int roundHalfUp(double value);
// Truncates toward zero, limited to the int range.
int truncateToInt(double value);
