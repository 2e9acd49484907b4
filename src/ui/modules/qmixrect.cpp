#include "qmixrect.h"

#include <QMouseEvent>

QMixRect::QMixRect(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::ClickFocus);
    setCurrent(false);
}

QMixRect::~QMixRect() = default;

void QMixRect::setCurrent(bool current)
{
    m_current = current;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, current ? QColor(102, 224, 255) : QColor(Qt::transparent));
    setPalette(palette);
    setAutoFillBackground(true);
    update();
}

void QMixRect::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    event->accept();
    Q_EMIT Clicked();
}
