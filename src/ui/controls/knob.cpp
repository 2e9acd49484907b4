#include "knob.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "controlaccessible.h"
#include "controlpixmaps.h"
#include "stepmodifiers.h"
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
    if (isLogarithmic()) {
        const double span = std::log(double(m_maximum) / double(m_minimum));
        m_position = float(std::log(double(m_value) / double(m_minimum)) / span);
    } else
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

void Knob::setLogarithmic(bool logarithmic)
{
    m_logarithmic = logarithmic;
    setValue(m_value);
}

void Knob::setResolution(float resolution)
{
    if (std::isfinite(resolution) && resolution >= 0.0f)
        m_resolution = resolution;
}

float Knob::valueAtPosition(double position) const
{
    if (!isLogarithmic())
        return float(double(m_minimum) + position * double(m_maximum - m_minimum));
    position = qBound(0.0, position, 1.0);
    return float(double(m_minimum) * std::pow(double(m_maximum) / double(m_minimum), position));
}

void Knob::stepBy(double notches)
{
    if (!isLogarithmic()) {
        operatorChange(m_value + float(notches) * m_step);
        return;
    }
    const double before = double(m_value);
    double after = before * std::exp2(notches * OctavesPerNotch);
    // Near the bottom of the range a fine step may fall below what the page
    // keeps; it moves by the resolution instead, so every notch counts.
    if (notches != 0.0 && std::abs(after - before) < double(m_resolution))
        after = before + (notches > 0.0 ? 1.0 : -1.0) * double(m_resolution);
    operatorChange(float(after));
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
    // A locked knob is shown faded, like the disabled buttons beside it.
    if (!isEnabled())
        painter.setOpacity(DisabledOpacity);
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
    m_dragPosition = double(m_position);
    event->accept();
}

void Knob::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::NoButton) {
        event->ignore();
        return;
    }
    const float x = event->pos().x();
    const float y = event->pos().y();
    const float sensitivity = m_sensitivity * float(stepFactor(event->modifiers()));
    const float dx = x - m_lastX;
    const float dy = y - m_lastY;
    m_lastX = x;
    m_lastY = y;
    if (isLogarithmic()) {
        // The indicator's position is the log of the value: equal travel,
        // equal ratio, so each decade gets the same share of the sweep.
        m_dragPosition = qBound(0.0, m_dragPosition + double(sensitivity) * double(dx - dy), 1.0);
        operatorChange(valueAtPosition(m_dragPosition));
    } else {
        const float range = m_maximum - m_minimum;
        operatorChange(m_value + range * sensitivity * dx - range * sensitivity * dy);
    }
    event->accept();
}

void Knob::wheelEvent(QWheelEvent *event)
{
    // Integer notches only: a partial notch leaves the value alone but is
    // still reported, as the pages expect one report per wheel event.
    const int notches = wheelDelta(event) / notch;
    stepBy(notches * stepFactor(event->modifiers()));
    event->accept();
}

void Knob::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        stepBy(stepFactor(event->modifiers()));
        event->accept();
        break;
    case Qt::Key_Down:
    case Qt::Key_Left:
        stepBy(-stepFactor(event->modifiers()));
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
