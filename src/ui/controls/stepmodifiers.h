#pragma once

#include <Qt>

// How far one notch, arrow key or pixel of drag moves a control: Shift for
// fine steps (a tenth), Ctrl for coarse ones (ten times); both together
// cancel out.
inline double stepFactor(Qt::KeyboardModifiers modifiers)
{
    double factor = 1.0;
    if (modifiers & Qt::ShiftModifier)
        factor *= 0.1;
    if (modifiers & Qt::ControlModifier)
        factor *= 10.0;
    return factor;
}
