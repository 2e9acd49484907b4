#pragma once

#include <QWheelEvent>

// The wheel's delta along its dominant axis (120 per notch), the way the
// old single-axis QWheelEvent::delta() reported it.
inline int wheelDelta(const QWheelEvent *event)
{
    const QPoint angle = event->angleDelta();
    return qAbs(angle.x()) > qAbs(angle.y()) ? angle.x() : angle.y();
}
