#include "qtlimitctrl.h"

#include <QPainter>

#include <cmath>

namespace {

const QColor Background(34, 34, 34);
const QColor CurveFill(64, 64, 64);
constexpr int PlotLeft = 25;
constexpr int PlotTop = 10;
constexpr int GridDivisions = 5;

} // namespace

qtLimitCtrl::qtLimitCtrl(QWidget *parent)
    : QWidget(parent)
    , m_gridPen(QColor(128, 128, 128), 1, Qt::SolidLine)
    , m_curvePen(QColor(229, 229, 229), 1, Qt::SolidLine)
    , m_textPen(QColor(128, 128, 128), 1, Qt::SolidLine)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int i = 0; i < StepCount; ++i)
        m_curve[size_t(i)] = i;
    recompute();
}

qtLimitCtrl::~qtLimitCtrl() = default;

QSize qtLimitCtrl::sizeHint() const
{
    return QSize(250, 250);
}

void qtLimitCtrl::setThreshold(double threshold)
{
    m_threshold = threshold;
    recompute();
    update();
}

void qtLimitCtrl::setRatio(double ratio)
{
    m_ratio = ratio;
    recompute();
    update();
}

void qtLimitCtrl::setBypass(bool bypass)
{
    m_bypass = bypass;
    recompute();
    update();
}

double qtLimitCtrl::thresholdStep() const
{
    const double span = m_axisMax - m_axisMin;
    return (m_threshold - m_axisMin) / (span / StepCount);
}

void qtLimitCtrl::recompute()
{
    const double knee = thresholdStep();
    // A ratio below 1 would expand; the page never sends one, and a bad
    // value must not divide by zero.
    const double ratio = m_ratio >= 1.0 ? m_ratio : 1.0;
    bool kneeFound = false;
    for (int i = 0; i < StepCount; ++i) {
        double &out = m_curve[size_t(i)];
        if (!m_bypass && knee <= i) {
            out = ratio >= LimiterRatio ? knee : knee + (i - knee) / ratio;
            if (!kneeFound) {
                m_kneeIndex = i;
                kneeFound = true;
            }
        } else {
            out = i;
        }
    }
}

double qtLimitCtrl::curveAt(int step) const
{
    return step >= 0 && step < StepCount ? m_curve[size_t(step)] : 0.0;
}

QRect qtLimitCtrl::plotRect() const
{
    return QRect(PlotLeft, PlotTop, width() - 35, height() - 35);
}

QPoint qtLimitCtrl::stepPoint(int step) const
{
    const QRect plot = plotRect();
    const int bottom = plot.y() + plot.height();
    return QPoint(plot.x() + qRound(double(step) * plot.width() / StepCount),
                  bottom - qRound(curveAt(step) * plot.height() / StepCount));
}

QPolygon qtLimitCtrl::curvePolygon() const
{
    const QRect plot = plotRect();
    const int bottom = plot.y() + plot.height();
    const QPoint bottomLeft(plot.x(), bottom);
    QPolygon polygon;
    polygon << bottomLeft << (m_kneeIndex > 0 ? stepPoint(m_kneeIndex) : bottomLeft) << stepPoint(StepCount - 1)
            << QPoint(plot.x() + plot.width(), bottom);
    return polygon;
}

void qtLimitCtrl::resizeEvent(QResizeEvent *event)
{
    m_grid = QPixmap();
    QWidget::resizeEvent(event);
}

void qtLimitCtrl::renderGrid()
{
    const qreal ratio = devicePixelRatioF();
    m_grid = QPixmap(size() * ratio);
    m_grid.setDevicePixelRatio(ratio);
    m_grid.fill(Qt::transparent);

    QPainter painter(&m_grid);
    QFont labelFont = font();
    labelFont.setPointSize(7);
    painter.setFont(labelFont);

    const QRect plot = plotRect();
    const int bottom = plot.y() + plot.height();
    const int right = plot.x() + plot.width();
    const int gridStepX = qRound(plot.width() / double(GridDivisions));
    const int gridStepY = qRound(plot.height() / double(GridDivisions));
    const int axisStep = qRound(std::abs(m_axisMax - m_axisMin) / GridDivisions);

    painter.setPen(m_gridPen);
    painter.drawRect(plot);

    painter.setPen(m_textPen);
    painter.drawText(2, plot.y() + 10, QString::number(qRound(m_axisMax)));
    for (int k = 1; k <= GridDivisions; ++k) {
        const int y = plot.y() + k * gridStepY;
        painter.setPen(m_gridPen);
        painter.drawLine(plot.x(), y, right, y);
        painter.setPen(m_textPen);
        painter.drawText(2, plot.y() + 10 + k * gridStepY - 5, QString::number(qRound(m_axisMax) - k * axisStep));
    }
    for (int k = 1; k <= GridDivisions; ++k) {
        const int x = plot.x() + k * gridStepX;
        painter.setPen(m_gridPen);
        painter.drawLine(x, plot.y(), x, bottom);
        painter.setPen(m_textPen);
        painter.drawText(x - 10, qRound(plot.y() + plot.height() + 3.0) + 10,
                         QString::number(qRound(m_axisMin) + k * axisStep));
    }
    painter.setPen(m_gridPen);
    painter.drawLine(plot.x(), bottom, right, plot.y());
}

void qtLimitCtrl::paintEvent(QPaintEvent *)
{
    if (m_grid.isNull())
        renderGrid();
    QPainter painter(this);
    painter.fillRect(rect(), Background);
    painter.setPen(m_curvePen);
    painter.setBrush(CurveFill);
    painter.drawPolygon(curvePolygon());
    painter.drawPixmap(0, 0, m_grid);
}
