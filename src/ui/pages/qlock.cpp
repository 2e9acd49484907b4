#include "qlock.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

QLock::QLock(const QString &caption, QWidget *parent)
    : QAbstractButton(parent)
{
    setText(caption);
    // Buttons do not shrink below their size hint by default; the grid of
    // 19 filter entries has to on narrow windows (the name is then elided).
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    updateToolTip();
}

QLock::~QLock() = default;

void QLock::setCaption(const QString &caption)
{
    setText(caption);
    updateToolTip();
}

void QLock::setState(uchar state)
{
    if (m_state == state)
        return;
    m_state = state;
    updateToolTip();
    update();
}

QString QLock::stateName(uchar state)
{
    switch (state) {
    case Free:
        return tr("Free");
    case ReadOnly:
        return tr("Read-only");
    default:
        return tr("Hidden");
    }
}

QColor QLock::stateColor(uchar state)
{
    switch (state) {
    case Free:
        return QColor(46, 125, 70);
    case ReadOnly:
        return QColor(176, 128, 32);
    default:
        return QColor(150, 45, 45);
    }
}

QSize QLock::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(stateName(ReadOnly)) + 12, fm.height() + 10);
}

QSize QLock::minimumSizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(fm.horizontalAdvance(QLatin1String("Free")) + 8, fm.height() + 6);
}

void QLock::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
    QColor fill = stateColor(m_state);
    QColor ink(228, 236, 238);
    if (!isEnabled()) {
        fill = QColor(60, 60, 60);
        ink = QColor(120, 120, 120);
    } else if (isDown()) {
        fill = fill.darker(130);
    } else if (underMouse()) {
        fill = fill.lighter(115);
    }
    QPainterPath path;
    path.addRoundedRect(box, 3, 3);
    painter.fillPath(path, fill);
    if (hasFocus()) {
        painter.setPen(QPen(QColor(21, 148, 192), 1.5));
        painter.drawPath(path);
    }
    painter.setPen(ink);
    const QRect inner = rect().adjusted(2, 1, -2, -1);
    const QString name = stateName(m_state);
    // Narrow cells first try a smaller type, then cut the name.
    QFont f = font();
    const bool pixels = f.pointSizeF() <= 0;
    const qreal size = pixels ? f.pixelSize() : f.pointSizeF();
    painter.setFont(f);
    for (qreal scale = 0.95; scale >= 0.75 && painter.fontMetrics().horizontalAdvance(name) >= inner.width();
         scale -= 0.05) {
        if (pixels)
            f.setPixelSize(qMax(6, qRound(size * scale)));
        else
            f.setPointSizeF(size * scale);
        painter.setFont(f);
    }
    painter.drawText(inner, Qt::AlignCenter, painter.fontMetrics().elidedText(name, Qt::ElideRight, inner.width()));
}

void QLock::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        updateToolTip();
    QAbstractButton::changeEvent(event);
}

void QLock::updateToolTip()
{
    const QString name = stateName(m_state);
    setToolTip(text().isEmpty() ? name : text() + QLatin1String(": ") + name);
    setAccessibleName(toolTip());
}
