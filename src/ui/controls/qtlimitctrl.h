#pragma once

#include <QPen>
#include <QPixmap>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QWidget>

#include <array>

// The limiter's static transfer curve: input level across, output level up,
// both from -120 to +20 dB in 256 steps. Above the threshold the output
// rises by 1/ratio per step (flat from a ratio of 100); disabled it is the
// 1:1 line. A picture only: the unit's real knee and timing are its own.
class qtLimitCtrl : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY(qtLimitCtrl)

public:
    static constexpr int StepCount = 256;
    // Ratios from here on draw as a hard limiter.
    static constexpr double LimiterRatio = 100.0;

    explicit qtLimitCtrl(QWidget *parent = nullptr);
    ~qtLimitCtrl() override;

    // Each recomputes the curve and repaints.
    void setThreshold(double threshold);
    void setRatio(double ratio);
    void setBypass(bool bypass);

    double threshold() const { return m_threshold; }
    double ratio() const { return m_ratio; }
    bool bypass() const { return m_bypass; }
    double axisMin() const { return m_axisMin; }
    double axisMax() const { return m_axisMax; }
    // First step at or above the threshold (kept from before while no step
    // is: disabled, or a threshold above the axis).
    int kneeIndex() const { return m_kneeIndex; }
    // Output level of step i, in steps.
    double curveAt(int step) const;
    // The threshold as a fractional step index.
    double thresholdStep() const;

    // Geometry for the current size.
    QRect plotRect() const;
    QPoint stepPoint(int step) const;
    // Bottom-left, knee, step 255, bottom-right.
    QPolygon curvePolygon() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void recompute();
    void renderGrid();

    std::array<double, StepCount> m_curve{};
    double m_ratio = 2.0;
    double m_threshold = -50.0;
    double m_axisMax = 20.0;
    double m_axisMin = -120.0;
    int m_kneeIndex = 0;
    bool m_bypass = false;
    QPen m_gridPen;
    QPen m_curvePen;
    QPen m_textPen;
    // Frame, grid, labels and diagonal change only with the size.
    QPixmap m_grid;
};
