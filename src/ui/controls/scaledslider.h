#pragma once

#include <QWidget>

#include "scaledrange.h"

class QFocusEvent;
class QKeyEvent;
class QPainter;
class QMouseEvent;
class QWheelEvent;

// What the fader and the delay slider share: the scaled value, and the
// operator's ways of moving it. A drag moves the handle only when it starts
// on it; the wheel and the keys step (arrow keys one step, Page Up and Page
// Down ten), a tenth as far with Shift and ten times as far with Ctrl. A drag
// with Shift held moves the handle a tenth of the cursor's travel, and stays
// relative to the cursor until the button is released. Every operator move
// emits valueChanged; setters never do.
class ScaledSlider : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(ScaledSlider)

public:
    ~ScaledSlider() override;

    // Whole units per wheel notch or arrow key.
    void setStep(float step);
    // The operator's own change from outside the widget (a screen reader
    // through the value interface), in whole units: rounded like the
    // setters, pulled into the range, and reported with valueChanged when
    // it moved the value. Non-finite input is ignored.
    void setOperatorValue(float value);

    int value() const { return m_range.value(); }
    float valueInUnits() const { return m_range.valueInUnits(); }
    int minimum() const { return m_range.minimum(); }
    int maximum() const { return m_range.maximum(); }
    int decimals() const { return m_range.decimals(); }
    int scale() const { return m_range.scale(); }
    float step() const { return m_range.step(); }

    // The handle as drawn for the current value.
    virtual QRectF handleRect() const = 0;

signals:
    void valueChanged(float value);

protected:
    ScaledSlider(int minimum, int maximum, QWidget *parent);

    // The scaled value a drag puts the handle's centre at, for the cursor
    // at `pos`.
    virtual int valueForPosition(const QPoint &pos) const = 0;

    ScaledRange &range() { return m_range; }
    const ScaledRange &range() const { return m_range; }
    // After a setter: repaint and tell assistive tools, without emitting.
    void valueSet();
    // A ring around the handle while the control has the keyboard focus,
    // so a keyboard user sees which control the arrows move.
    void paintFocus(QPainter &painter) const;

    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void moved(ScaledRange::WheelResult result);

    ScaledRange m_range;
    bool m_dragging = false;
    bool m_fineDrag = false;
    int m_lastDragTarget = 0;
    double m_dragRemainder = 0.0;
};
