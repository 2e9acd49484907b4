#include "qhslider.h"

#include <QPainter>

#include "controlpixmaps.h"

QHSlider::QHSlider(QWidget *parent)
    : ScaledSlider(0, 100, parent)
{
}

QHSlider::~QHSlider() = default;

void QHSlider::setRange(int minimum, int maximum)
{
    range().setRange(minimum, maximum);
    range().clampValue();
    update();
}

void QHSlider::setDecimals(int decimals)
{
    range().setDecimals(decimals);
    update();
}

void QHSlider::setValue(float value)
{
    range().setValue(value);
    valueSet();
}

QSize QHSlider::sizeHint() const
{
    return QSize(280, 40);
}

QRectF QHSlider::handleRect() const
{
    const int maximum = range().maximum();
    const double x = maximum > 0 ? double(width() - m_handleWidth) * range().boundedValue() / maximum : 0.0;
    const bool atMinimum = range().value() == range().minimum();
    return QRectF(x, 7, atMinimum ? m_handleWidth - 0.5 : m_handleWidth, height() - 14);
}

int QHSlider::valueForX(int x) const
{
    const double handle = handleRect().width();
    const double span = width() - handle;
    if (span <= 0)
        return range().boundedValue();
    const int v = truncateToInt((x - handle / 2) * (double(range().maximum()) - range().minimum()) / span);
    return qBound(range().minimum(), v, qMax(range().minimum(), range().maximum()));
}

void QHSlider::paintEvent(QPaintEvent *)
{
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(DisabledOpacity);
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
    paintFocus(painter);
}
