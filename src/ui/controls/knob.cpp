#include "knob.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "controlaccessible.h"
#include "controlpixmaps.h"
#include "wheeldelta.h"

namespace {

constexpr int knobPixels[] = {50, 70, 100};
constexpr int notch = 120;

} // namespace

Knob::Knob(QWidget *parent)
    : QWidget(parent)
{
    ControlAccessible::install();
    setFocusPolicy(Qt::WheelFocus);
}

Knob::~Knob() = default;

void Knob::setValue(float value)
{
    // A non-finite value (a corrupt report) would poison every later step.
    if (!std::isfinite(value))
        return;
    if (value > m_maximum)
        value = m_maximum;
    if (value < m_minimum)
        value = m_minimum;
    m_value = value;
    const float range = m_maximum - m_minimum;
    m_position = range > 0.0f ? (m_value - m_minimum) / range : 0.0f;
    update();
    ControlAccessible::notifyValue(this, m_value);
}

void Knob::setMinimum(float minimum)
{
    m_minimum = minimum;
    update();
}

void Knob::setMaximum(float maximum)
{
    m_maximum = maximum;
    update();
}

void Knob::setSize(int size)
{
    if (size > 2 || size < 0)
        return;
    m_size = size;
    setFixedSize(knobPixels[size], knobPixels[size]);
    update();
}

void Knob::setStep(float step)
{
    m_step = step;
}

QSize Knob::sizeHint() const
{
    return QSize(knobPixels[m_size], knobPixels[m_size]);
}

QSize Knob::minimumSizeHint() const
{
    return sizeHint();
}

void Knob::setOperatorValue(float value)
{
    const float before = m_value;
    setValue(value);
    if (m_value != before)
        emit valueChanged(m_value);
}

void Knob::operatorChange(float value)
{
    setValue(value);
    emit valueChanged(m_value);
}

void Knob::paintEvent(QPaintEvent *)
{
    ControlPixmaps &pixmaps = ControlPixmaps::instance();
    const QPixmap &base = pixmaps.knobBase(m_size);
    const QPixmap &indicator = pixmaps.knobIndicator(m_size);
    const QSize baseSize = base.isNull() ? sizeHint() : base.size() / base.devicePixelRatio();

    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(0, 0, base);

    if (m_keyboardFocus && hasFocus()) {
        // Keyboard users need to see which knob the arrows will turn.
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(21, 148, 192), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(1, 1, baseSize.width() - 2, baseSize.height() - 2));
        painter.restore();
    }

    painter.translate(baseSize.width() / 2, baseSize.height() / 2);
    painter.rotate(angle());
    painter.drawPixmap(-baseSize.width() / 2, -baseSize.height() / 2, indicator);
}

void Knob::mousePressEvent(QMouseEvent *event)
{
    m_lastX = event->pos().x();
    m_lastY = event->pos().y();
    event->accept();
}

void Knob::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::NoButton) {
        event->ignore();
        return;
    }
    const float range = m_maximum - m_minimum;
    const float x = event->pos().x();
    const float y = event->pos().y();
    const float value = m_value + range * m_sensitivity * (x - m_lastX) - range * m_sensitivity * (y - m_lastY);
    m_lastX = x;
    m_lastY = y;
    operatorChange(value);
    event->accept();
}

void Knob::wheelEvent(QWheelEvent *event)
{
    // Integer notches only: a partial notch leaves the value alone but is
    // still reported, as the pages expect one report per wheel event.
    const int notches = wheelDelta(event) / notch;
    operatorChange(m_value + notches * m_step);
    event->accept();
}

void Knob::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        operatorChange(m_value + m_step);
        event->accept();
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
        operatorChange(m_value - m_step);
        event->accept();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void Knob::focusInEvent(QFocusEvent *event)
{
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason
        || event->reason() == Qt::ShortcutFocusReason;
    update();
    QWidget::focusInEvent(event);
}

void Knob::focusOutEvent(QFocusEvent *event)
{
    m_keyboardFocus = false;
    update();
    QWidget::focusOutEvent(event);
}
