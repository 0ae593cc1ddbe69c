#pragma once
// Internal to the item views (tree view, list view): their mouse events
// arrive at the viewport, so the views report them themselves, in the
// container's units, with the runtime's button and shift values.

#include "platform/forms/Control.h"

#include <QMouseEvent>

namespace forms::detail {

inline int16_t shiftOfMouse(const QMouseEvent* e)
{
    int16_t shift = 0;
    if (e->modifiers() & Qt::ShiftModifier)
        shift |= vbShiftMask;
    if (e->modifiers() & Qt::ControlModifier)
        shift |= vbCtrlMask;
    if (e->modifiers() & Qt::AltModifier)
        shift |= vbAltMask;
    return shift;
}

inline int16_t buttonsOfMouse(Qt::MouseButtons buttons)
{
    int16_t b = 0;
    if (buttons & Qt::LeftButton)
        b |= vbLeftButton;
    if (buttons & Qt::RightButton)
        b |= vbRightButton;
    if (buttons & Qt::MiddleButton)
        b |= vbMiddleButton;
    return b;
}

inline void fireMouse(const Event<int16_t, int16_t, float, float>& ev, const QMouseEvent* e,
                      Qt::MouseButtons buttons, double unitsX, double unitsY)
{
    ev.fire(buttonsOfMouse(buttons), shiftOfMouse(e), float(e->position().x() * unitsX),
            float(e->position().y() * unitsY));
}

}  // namespace forms::detail
