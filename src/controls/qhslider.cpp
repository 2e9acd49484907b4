#include "qhslider.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/controlaccessible.h"
#include "controls/wheeldelta.h"

QHSlider::QHSlider(QWidget *parent)
    : QWidget(parent)
{
    ControlAccessible::install();
}

QHSlider::~QHSlider() = default;

void QHSlider::setRange(int minimum, int maximum)
{
    m_range.setRange(minimum, maximum);
    m_range.clampValue();
    update();
}

void QHSlider::setDecimals(int decimals)
{
    m_range.setDecimals(decimals);
    update();
}

void QHSlider::setValue(float value)
{
    m_range.setValue(value);
    update();
    ControlAccessible::notifyValue(this, m_range.valueInUnits());
}

void QHSlider::setStep(float step)
{
    m_range.setStep(step);
}

QSize QHSlider::sizeHint() const
{
    return QSize(280, 40);
}

QRectF QHSlider::handleRect() const
{
    const int maximum = m_range.maximum();
    const double x = maximum > 0 ? double(width() - m_handleWidth) * m_range.boundedValue() / maximum : 0.0;
    const bool atMinimum = m_range.value() == m_range.minimum();
    return QRectF(x, 7, atMinimum ? m_handleWidth - 0.5 : m_handleWidth, height() - 14);
}

int QHSlider::valueForX(int x) const
{
    const double handle = handleRect().width();
    const double span = width() - handle;
    if (span <= 0)
        return m_range.boundedValue();
    const int v = truncateToInt((x - handle / 2) * (double(m_range.maximum()) - m_range.minimum()) / span);
    return qBound(m_range.minimum(), v, qMax(m_range.minimum(), m_range.maximum()));
}

void QHSlider::paintEvent(QPaintEvent *)
{
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.drawLine(QPointF(w - 20, h / 2), QPointF(20, h / 2));

    const QRectF r = handleRect();
    const QColor fill(173, 186, 199);
    painter.setPen(QPen(fill, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(r, 25, 25, Qt::RelativeSize);
    painter.setPen(QPen(Qt::black, 2));
    const qreal centre = r.x() + r.width() / 2;
    painter.drawLine(QPointF(centre, r.y() + 2), QPointF(centre, r.y() + r.height() - 2));
}

void QHSlider::valueMoved()
{
    update();
    ControlAccessible::notifyValue(this, m_range.valueInUnits());
    emit valueChanged(m_range.valueInUnits());
}

void QHSlider::mousePressEvent(QMouseEvent *event)
{
    if (handleRect().contains(QPointF(event->pos()))) {
        m_dragging = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void QHSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging) {
        event->ignore();
        return;
    }
    if (m_range.setScaledValue(valueForX(event->pos().x())))
        valueMoved();
    event->accept();
}

void QHSlider::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    event->accept();
}

void QHSlider::wheelEvent(QWheelEvent *event)
{
    event->accept();
    switch (m_range.wheel(wheelDelta(event))) {
    case ScaledRange::WheelResult::Moved:
        valueMoved();
        break;
    case ScaledRange::WheelResult::Clamped:
        update();
        break;
    case ScaledRange::WheelResult::None:
        break;
    }
}
