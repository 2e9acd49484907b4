#pragma once

#include "scaledslider.h"

// A horizontal slider (the delay pages' time control) with a range starting
// at 0. Only a drag that starts on the handle moves it. setValue never
// emits; setRange pulls the value into the new range.
class QHSlider : public ScaledSlider
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

    int handleWidth() const { return m_handleWidth; }

    QRectF handleRect() const override;
    // The scaled value a drag puts the handle's centre at, for cursor column x.
    int valueForX(int x) const;

    QSize sizeHint() const override;

protected:
    int valueForPosition(const QPoint &pos) const override { return valueForX(pos.x()); }
    void paintEvent(QPaintEvent *event) override;

private:
    int m_handleWidth = 22;
};
