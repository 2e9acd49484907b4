#include "dragscrollarea.h"

#include <QMouseEvent>
#include <QScrollBar>

namespace {

// Moves up to this many pixels in both directions are jitter, not a drag.
constexpr int dragThreshold = 9;

} // namespace

DragScrollArea::DragScrollArea(QWidget *parent)
    : QScrollArea(parent)
{
    setWidgetResizable(true);
    // The content widget is a child of the viewport: watch for it arriving.
    viewport()->installEventFilter(this);
}

DragScrollArea::~DragScrollArea() = default;

bool DragScrollArea::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == viewport()) {
        if (event->type() == QEvent::ChildAdded) {
            QObject *child = static_cast<QChildEvent *>(event)->child();
            if (child->isWidgetType())
                child->installEventFilter(this);
        } else if (event->type() == QEvent::ChildRemoved) {
            static_cast<QChildEvent *>(event)->child()->removeEventFilter(this);
        }
        return QScrollArea::eventFilter(watched, event);
    }
    if (watched == widget() && handleMouse(event))
        return true;
    return QScrollArea::eventFilter(watched, event);
}

bool DragScrollArea::viewportEvent(QEvent *event)
{
    if (handleMouse(event))
        return true;
    return QScrollArea::viewportEvent(event);
}

// Events on the area itself outside the viewport come from its frame or,
// propagated, from its scroll bars: those keep the scroll area's handling.
bool DragScrollArea::handleMouse(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        // A new press starts a new gesture, even if the release of the last
        // one never reached the area (taken by a child); passed on as usual.
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            m_pressed = false;
        return false;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!(mouse->buttons() & Qt::LeftButton))
            return false;
        const QPoint global = mouse->globalPos();
        if (!m_pressed) {
            m_pressed = true;
            m_dragging = false;
            m_lastX = global.x();
            m_lastY = global.y();
            event->accept();
            return true;
        }
        const int dx = global.x() - m_lastX;
        const int dy = global.y() - m_lastY;
        if (!m_dragging && qAbs(dx) <= dragThreshold && qAbs(dy) <= dragThreshold)
            return false;
        m_dragging = true;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - dx);
        verticalScrollBar()->setValue(verticalScrollBar()->value() - dy);
        m_lastX = global.x();
        m_lastY = global.y();
        event->accept();
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!m_pressed)
            return false;
        m_pressed = false;
        event->accept();
        return true;
    default:
        return false;
    }
}
