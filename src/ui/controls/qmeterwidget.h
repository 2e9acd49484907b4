#pragma once

#include <QColor>
#include <QWidget>

// A segmented bar meter for levels and gain reduction. It shows the last
// value set (no peak hold, no fall-back) and repaints only when that value
// changes, since twelve of them are fed many times a second.
class QMeterWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(QMeterWidget)

public:
    explicit QMeterWidget(QWidget *parent = nullptr);
    ~QMeterWidget() override;

    void setSegmentCount(int count);
    // The range setters pull the value into the new range.
    void setMinimum(int minimum);
    void setMaximum(int maximum);
    void setRange(int minimum, int maximum);
    // Clamped to the range; an unchanged value does not repaint.
    void setValue(int value);
    // true: segment 0 at the top and the bar grows downward.
    void setTopDown(bool topDown);
    // Level from which segments use the warning colours.
    void setWarnLevel(int level);
    // A dark meter has nothing to show (no unit): every segment is unlit
    // grey, so silence and "no reading" never look alike.
    void setDark(bool dark);
    bool isDark() const { return m_dark; }

    int segmentCount() const { return m_segmentCount; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int value() const { return m_value; }
    int warnLevel() const { return m_warnLevel; }
    bool isTopDown() const { return m_topDown; }

    // Colour segment i is drawn in for the current value.
    QColor segmentColour(int index) const;
    // Top row of segment i and the segment height, for the current size.
    double segmentTop(int index) const;
    double segmentHeight() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double levelToSegments(int level) const;
    void clampValue();

    int m_segmentCount = 26;
    int m_warnLevel = 0;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_value = 0;
    bool m_topDown = false;
    bool m_dark = false;
};
