#include "qfader.h"

#include <QEvent>
#include <QPainter>

#include "controlpixmaps.h"

namespace {

constexpr int handleLeft = 12;
constexpr int handleWidth = 20;

} // namespace

QFader::QFader(QWidget *parent)
    : ScaledSlider(-70, 12, parent)
{
}

QFader::~QFader() = default;

void QFader::setRange(int minimum, int maximum)
{
    range().setRange(minimum, maximum);
    invalidateScale();
}

void QFader::setDecimals(int decimals)
{
    range().setDecimals(decimals);
    invalidateScale();
}

void QFader::setValue(float value)
{
    range().setValue(value);
    valueSet();
}

void QFader::setScaleColour(const QColor &colour)
{
    m_scaleColour = colour;
    invalidateScale();
}

QSize QFader::sizeHint() const
{
    return QSize(55, 230);
}

double QFader::handleTopFor(int value) const
{
    const int minimum = range().minimum();
    const int maximum = range().maximum();
    // A value beyond the range (a wild report) is drawn at the end of the
    // travel instead of outside the widget.
    value = qBound(qMin(minimum, maximum), value, qMax(minimum, maximum));
    const double h = height();
    const double travel = h - m_handleHeight;
    if (maximum > 0 && minimum < 0) {
        const double zeroY = travel * m_upperShareNum / m_upperShareDen;
        if (value < 0)
            return zeroY + double(value) / minimum * (h - zeroY - m_handleHeight);
        return zeroY * (maximum - value) / maximum;
    }
    if (maximum <= 0 && minimum < 0)
        return double(value) / minimum * travel;
    if (maximum > minimum)
        return travel * (maximum - value) / (maximum - minimum);
    return 0.0;
}

QRectF QFader::handleRect() const
{
    const bool atMinimum = range().value() == range().minimum();
    // Half a pixel less at the bottom end keeps the handle's lower edge
    // inside the widget.
    return QRectF(handleLeft, handleTopFor(range().value()), handleWidth,
                  atMinimum ? m_handleHeight - 0.5 : m_handleHeight);
}

int QFader::valueForY(int y) const
{
    const int minimum = range().minimum();
    const int maximum = range().maximum();
    const double h = height();
    const double e = handleRect().height() / 2;
    const double travel = h - m_handleHeight;
    if (maximum > 0 && minimum < 0) {
        const double zeroC = e + travel * m_upperShareNum / m_upperShareDen;
        if (y > zeroC) {
            const double span = h - e - zeroC;
            if (span <= 0)
                return minimum;
            return qMax(truncateToInt((y - zeroC) * minimum / span), minimum);
        }
        const double span = zeroC - e;
        if (span <= 0)
            return maximum;
        return qMin(truncateToInt(maximum - maximum * (y - e) / span), maximum);
    }
    if (travel <= 0 || maximum <= minimum)
        return range().boundedValue();
    // Ranges that do not straddle 0 dB are one linear piece: the inverse of
    // handleTopFor, where the original answered 0 (possibly outside the
    // range) for them.
    double v;
    if (maximum <= 0 && minimum < 0)
        v = (y - e) * minimum / travel;
    else
        v = maximum - (y - e) * (maximum - minimum) / travel;
    return qBound(minimum, truncateToInt(v), maximum);
}

QVector<QFader::ScaleMark> QFader::scaleMarks() const
{
    QVector<ScaleMark> marks;
    const int w = width();
    const int h = height();
    const int scale = range().scale();
    const int minimum = range().minimum();
    const int maximum = range().maximum();
    // Tick rows are whole pixels; each step truncates.
    int y = m_handleHeight / 2;
    if (maximum > 0 && minimum < 0) {
        const double travel = h - m_handleHeight;
        const double upperStep = travel * m_upperShareNum / m_upperShareDen / 4;
        const int maxDb = maximum / scale;
        for (int i = 0; i < 4; ++i) {
            marks.append({y, QString::number(maxDb - roundHalfUp(i * maxDb * 0.25)), w - 12, w - 3});
            y = truncateToInt(y + upperStep);
        }
    }
    marks.append({y, QStringLiteral("0"), w - 12, w - 3});
    const double lowerStep = double((h - m_handleHeight / 2) - y) / 7;
    const int minDb = -(minimum / scale);
    for (int k = 1; k <= 7; ++k) {
        y = truncateToInt(y + lowerStep);
        marks.append({y, QString::number(-roundHalfUp(double(k) * minDb / 7)), w - 16, w - 1});
    }
    return marks;
}

void QFader::invalidateScale()
{
    m_scaleValid = false;
    update();
}

void QFader::renderScale()
{
    const qreal ratio = devicePixelRatioF();
    m_scaleCache = QPixmap(size() * ratio);
    m_scaleCache.setDevicePixelRatio(ratio);
    m_scaleCache.fill(Qt::transparent);
    m_scaleValid = true;
    if (width() <= 0 || height() <= 0)
        return;

    const int w = width();
    const int h = height();
    QPainter painter(&m_scaleCache);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(6);
    font.setWeight(QFont::Normal);
    painter.setFont(font);
    painter.setRenderHint(QPainter::Antialiasing);

    painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(QPointF(w / 2 - 5, 3), QPointF(w / 2 - 5, h - 3));

    const QPen tickPen(m_scaleColour, 2, Qt::SolidLine, Qt::RoundCap);
    for (const ScaleMark &mark : scaleMarks()) {
        painter.setPen(tickPen);
        painter.drawLine(6, mark.y, 16, mark.y);
        painter.drawLine(w - 28, mark.y, w - 18, mark.y);
        painter.setPen(m_scaleColour);
        painter.drawText(QRect(mark.labelLeft, roundHalfUp(mark.y - 6.0), mark.labelRight - mark.labelLeft, 12),
                         Qt::AlignRight | Qt::AlignVCenter, mark.label);
    }
}

void QFader::paintEvent(QPaintEvent *)
{
    if (!m_scaleValid || m_scaleCache.devicePixelRatio() != devicePixelRatioF())
        renderScale();

    QPainter painter(this);
    if (!isEnabled())
        painter.setOpacity(DisabledOpacity);
    painter.drawPixmap(0, 0, m_scaleCache);

    const QRectF r = handleRect();
    const int left = roundHalfUp(r.x());
    const int top = roundHalfUp(r.y());
    const QRect target(left, top, roundHalfUp(r.x() + r.width()) - left, roundHalfUp(r.y() + r.height()) - top);
    const QPixmap &handle = ControlPixmaps::instance().faderHandle(target.size(), devicePixelRatioF());
    painter.drawPixmap(target.topLeft(), handle);
    paintFocus(painter);
}

void QFader::resizeEvent(QResizeEvent *event)
{
    invalidateScale();
    QWidget::resizeEvent(event);
}

void QFader::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        invalidateScale();
    QWidget::changeEvent(event);
}
