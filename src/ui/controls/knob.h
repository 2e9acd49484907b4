#pragma once

#include <QWidget>

// A rotary control drawn from two images, a fixed base and an indicator that
// turns through 240 degrees. Dragging right or up raises the value, the wheel
// and the arrow keys move it by the step; Shift makes every move a tenth as
// large, Ctrl ten times as large. A logarithmic knob (frequencies) turns by
// ratios instead: equal travel is an equal ratio, a notch 1/24 octave.
// setValue never emits; valueChanged reports the operator's changes only.
class Knob : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(Knob)

public:
    explicit Knob(QWidget *parent = nullptr);
    ~Knob() override;

    // Clamps to [minimum, maximum] and repaints. Emits nothing.
    void setValue(float value);
    // The operator's own change from outside the widget (a screen reader
    // through the value interface): clamped like setValue, and reported
    // with valueChanged when it moved the value. Non-finite input is ignored.
    void setOperatorValue(float value);
    // Store and repaint only: owners call setValue afterwards.
    void setMinimum(float minimum);
    void setMaximum(float maximum);
    // 0: 50 x 50, 1: 70 x 70, 2: 100 x 100 pixels; larger numbers are ignored.
    void setSize(int size);
    void setStep(float step);
    // Needs a positive minimum; a knob whose range does not allow it stays
    // linear.
    void setLogarithmic(bool logarithmic);
    // The smallest change a notch or key makes on a logarithmic knob, so a
    // fine step near the bottom of the range still moves a value that the
    // page keeps in whole units.
    void setResolution(float resolution);

    static constexpr double OctavesPerNotch = 1.0 / 24.0;

    float value() const { return m_value; }
    float minimum() const { return m_minimum; }
    float maximum() const { return m_maximum; }
    float position() const { return m_position; }
    float step() const { return m_step; }
    int size() const { return m_size; }
    bool isLogarithmic() const { return m_logarithmic && m_minimum > 0.0f && m_maximum > m_minimum; }
    // Indicator angle in degrees, clockwise from top.
    qreal angle() const { return 240.0 * static_cast<qreal>(m_position) - 120.0; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void valueChanged(float value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void operatorChange(float value);
    // `notches` whole steps (fractions with Shift) up or down.
    void stepBy(double notches);
    float valueAtPosition(double position) const;

    float m_minimum = 0.0f;
    float m_maximum = 1.0f;
    float m_value = 0.0f;
    float m_position = 0.0f;
    float m_sensitivity = 0.005f;
    float m_lastX = 0.0f;
    float m_lastY = 0.0f;
    // Where a logarithmic drag has got to: kept apart from the value, which
    // a page may round to whole hertz after every move, so that slow drags
    // (a pixel at a time) still add up.
    double m_dragPosition = 0.0;
    int m_size = 1;
    float m_step = 1.0f;
    float m_resolution = 0.0f;
    bool m_logarithmic = false;
    bool m_keyboardFocus = false;
};
