#pragma once

#include <QColor>
#include <QPixmap>
#include <QVector>
#include "scaledslider.h"

// A vertical gain fader with a dB scale. The travel has two linear pieces:
// maximum down to 0 dB over the top third, 0 dB down to minimum over the
// rest, so the useful range around unity gain gets most of the throw. Only
// a drag that starts on the handle moves it. setValue never emits.
class QFader : public ScaledSlider
{
    Q_OBJECT
    Q_DISABLE_COPY(QFader)

public:
    struct ScaleMark
    {
        int y;
        QString label;
        int labelLeft;
        int labelRight;
    };

    explicit QFader(QWidget *parent = nullptr);
    ~QFader() override;

    // Whole dB; the value is not clamped.
    void setRange(int minimum, int maximum);
    void setDecimals(int decimals);
    // dB, rounded half up to the scaled unit. Emits nothing.
    void setValue(float value);
    void setScaleColour(const QColor &colour);

    QColor scaleColour() const { return m_scaleColour; }
    int handleHeight() const { return m_handleHeight; }

    // Handle top for a scaled value, with the current height.
    double handleTopFor(int value) const;
    QRectF handleRect() const override;
    // The scaled value a drag puts the handle's centre at, for cursor row y.
    int valueForY(int y) const;
    // Ticks and labels of the scale for the current size and range.
    QVector<ScaleMark> scaleMarks() const;

    QSize sizeHint() const override;

protected:
    int valueForPosition(const QPoint &pos) const override { return valueForY(pos.y()); }
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void invalidateScale();
    void renderScale();

    int m_upperShareNum = 1;
    int m_upperShareDen = 3;
    int m_handleHeight = 43;
    QColor m_scaleColour{171, 171, 171};
    // Groove, ticks and labels change only with size, range and colour.
    QPixmap m_scaleCache;
    bool m_scaleValid = false;
};
