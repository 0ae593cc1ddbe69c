#pragma once
// Internal: the mark of the control with the focus, a dotted frame. The
// style's own mark is faint on tabs and on buttons the same as the default
// button's outline.

class QRect;
class QWidget;

namespace forms::detail {
// Draws the mark at rect (widget pixels) when the widget has the focus.
void paintFocusMark(QWidget* widget, const QRect& rect);
}  // namespace forms::detail
