#pragma once

#include <QWidget>

#include "controls/scaledrange.h"

// A horizontal slider (the delay pages' time control) with a range starting
// at 0. Only a drag that starts on the handle moves it. setValue never
// emits; setRange pulls the value into the new range.
class QHSlider : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(QHSlider)

public:
    explicit QHSlider(QWidget *parent = nullptr);
    ~QHSlider() override;

    // Whole units; the value is pulled into the new range.
    void setRange(int minimum, int maximum);
    void setDecimals(int decimals);
    // Whole units, rounded half up to the scaled unit. Emits nothing.
    void setValue(float value);
    void setStep(float step);

    int value() const { return m_range.value(); }
    float valueInUnits() const { return m_range.valueInUnits(); }
    int minimum() const { return m_range.minimum(); }
    int maximum() const { return m_range.maximum(); }
    int decimals() const { return m_range.decimals(); }
    int scale() const { return m_range.scale(); }
    float step() const { return m_range.step(); }
    int handleWidth() const { return m_handleWidth; }

    QRectF handleRect() const;
    // The scaled value a drag puts the handle's centre at, for cursor column x.
    int valueForX(int x) const;

    QSize sizeHint() const override;

signals:
    void valueChanged(float value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void valueMoved();

    bool m_dragging = false;
    int m_handleWidth = 22;
    ScaledRange m_range{0, 100};
};
