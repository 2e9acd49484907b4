#include "scaledslider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

#include "controlaccessible.h"
#include "stepmodifiers.h"
#include "wheeldelta.h"

ScaledSlider::ScaledSlider(int minimum, int maximum, QWidget *parent)
    : QWidget(parent)
    , m_range(minimum, maximum)
{
    ControlAccessible::install();
    // Tab reaches it; a click does not take the focus from a field being
    // edited beside it.
    setFocusPolicy(Qt::TabFocus);
}

ScaledSlider::~ScaledSlider() = default;

void ScaledSlider::setStep(float step)
{
    m_range.setStep(step);
}

void ScaledSlider::setOperatorValue(float value)
{
    if (!std::isfinite(value))
        return;
    const int scaled = roundHalfUp(static_cast<double>(value) * m_range.scale());
    if (m_range.setScaledValue(qBound(m_range.minimum(), scaled, m_range.maximum())))
        moved(ScaledRange::WheelResult::Moved);
}

void ScaledSlider::valueSet()
{
    update();
    ControlAccessible::notifyValue(this, m_range.valueInUnits());
}

void ScaledSlider::paintFocus(QPainter &painter) const
{
    if (!hasFocus())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(21, 148, 192), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(handleRect().adjusted(-1.5, -1.5, 1.5, 1.5), 3, 3);
    painter.restore();
}

void ScaledSlider::focusInEvent(QFocusEvent *event)
{
    update();
    QWidget::focusInEvent(event);
}

void ScaledSlider::focusOutEvent(QFocusEvent *event)
{
    update();
    QWidget::focusOutEvent(event);
}

void ScaledSlider::moved(ScaledRange::WheelResult result)
{
    switch (result) {
    case ScaledRange::WheelResult::Moved:
        update();
        ControlAccessible::notifyValue(this, m_range.valueInUnits());
        emit valueChanged(m_range.valueInUnits());
        break;
    case ScaledRange::WheelResult::Clamped:
        update();
        break;
    case ScaledRange::WheelResult::None:
        break;
    }
}

void ScaledSlider::mousePressEvent(QMouseEvent *event)
{
    if (handleRect().contains(QPointF(event->pos()))) {
        m_dragging = true;
        m_fineDrag = false;
        m_lastDragTarget = valueForPosition(event->pos());
        m_dragRemainder = 0.0;
        event->accept();
    } else {
        event->ignore();
    }
}

void ScaledSlider::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging) {
        event->ignore();
        return;
    }
    const int target = valueForPosition(event->pos());
    const double factor = stepFactor(event->modifiers());
    m_fineDrag = m_fineDrag || factor < 1.0;
    if (m_fineDrag) {
        // Relative to the cursor, so letting go of Shift mid-drag does not
        // make the handle jump to it.
        m_dragRemainder += (target - m_lastDragTarget) * qMin(factor, 1.0);
        m_lastDragTarget = target;
        const int whole = truncateToInt(m_dragRemainder);
        m_dragRemainder -= whole;
        const int value = qBound(m_range.minimum(), m_range.value() + whole, m_range.maximum());
        if (whole != 0 && m_range.setScaledValue(value))
            moved(ScaledRange::WheelResult::Moved);
    } else {
        m_lastDragTarget = target;
        if (m_range.setScaledValue(target))
            moved(ScaledRange::WheelResult::Moved);
    }
    event->accept();
}

void ScaledSlider::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    event->accept();
}

void ScaledSlider::wheelEvent(QWheelEvent *event)
{
    event->accept();
    moved(m_range.wheel(wheelDelta(event), stepFactor(event->modifiers())));
}

void ScaledSlider::keyPressEvent(QKeyEvent *event)
{
    int steps = 0;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        steps = 1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
        steps = -1;
        break;
    case Qt::Key_PageUp:
        steps = 10;
        break;
    case Qt::Key_PageDown:
        steps = -10;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    moved(m_range.stepBy(steps, stepFactor(event->modifiers())));
}
