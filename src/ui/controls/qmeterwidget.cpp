#include "qmeterwidget.h"

#include <QPainter>

#include "controlaccessible.h"

namespace {

const QRgb litNormal = qRgb(0, 255, 0);
const QRgb unlitNormal = qRgb(38, 90, 41);
const QRgb litWarning = qRgb(255, 255, 0);
const QRgb unlitWarning = qRgb(84, 87, 39);
const QRgb dark = qRgb(42, 42, 42);

} // namespace

QMeterWidget::QMeterWidget(QWidget *parent)
    : QWidget(parent)
{
    ControlAccessible::install();
    // Every paint covers the whole widget.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QMeterWidget::~QMeterWidget() = default;

void QMeterWidget::setSegmentCount(int count)
{
    m_segmentCount = count;
    update();
}

void QMeterWidget::setMinimum(int minimum)
{
    m_minimum = minimum;
    clampValue();
    update();
}

void QMeterWidget::setMaximum(int maximum)
{
    m_maximum = maximum;
    clampValue();
    update();
}

void QMeterWidget::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    clampValue();
    update();
}

void QMeterWidget::clampValue()
{
    if (m_value > m_maximum)
        m_value = m_maximum;
    if (m_value < m_minimum)
        m_value = m_minimum;
}

void QMeterWidget::setValue(int value)
{
    if (value > m_maximum)
        value = m_maximum;
    if (value < m_minimum)
        value = m_minimum;
    if (value == m_value)
        return;
    m_value = value;
    update();
}

void QMeterWidget::setTopDown(bool topDown)
{
    m_topDown = topDown;
    update();
}

void QMeterWidget::setDark(bool dark)
{
    if (dark == m_dark)
        return;
    m_dark = dark;
    update();
}

void QMeterWidget::setWarnLevel(int level)
{
    m_warnLevel = level;
    update();
}

QSize QMeterWidget::sizeHint() const
{
    return QSize(24, 220);
}

double QMeterWidget::levelToSegments(int level) const
{
    const double span = double(m_maximum) - m_minimum;
    if (span <= 0)
        return 0.0;
    return m_segmentCount * (double(level) - m_minimum) / span;
}

QColor QMeterWidget::segmentColour(int index) const
{
    if (m_dark)
        return QColor(dark);
    const bool lit = index < levelToSegments(m_value);
    const bool warning = index >= levelToSegments(m_warnLevel);
    if (warning)
        return QColor(lit ? litWarning : unlitWarning);
    return QColor(lit ? litNormal : unlitNormal);
}

double QMeterWidget::segmentHeight() const
{
    if (m_segmentCount <= 0)
        return 0.0;
    return double(height() - 1 - m_segmentCount) / m_segmentCount;
}

double QMeterWidget::segmentTop(int index) const
{
    const double m = segmentHeight();
    if (m_topDown)
        return 0.0 + index * (m + 1);
    return (height() - 1) - m + index * -(m + 1);
}

void QMeterWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const double m = segmentHeight();
    if (m <= 0)
        return;
    const int w = width();
    const double lit = levelToSegments(m_value);
    const double warnFrom = levelToSegments(m_warnLevel);
    const double first = m_topDown ? 0.0 : (height() - 1) - m;
    const double advance = m_topDown ? m + 1 : -(m + 1);
    for (int i = 0; i < m_segmentCount; ++i) {
        const double top = first + i * advance;
        QRgb colour;
        if (m_dark)
            colour = dark;
        else if (i >= warnFrom)
            colour = i < lit ? litWarning : unlitWarning;
        else
            colour = i < lit ? litNormal : unlitNormal;
        painter.fillRect(QRectF(0, top, w, m), QColor(colour));
    }
}
