#include "platform/forms/FocusMark.h"

#include <QPainter>
#include <QWidget>

namespace forms::detail {

void paintFocusMark(QWidget* widget, const QRect& rect)
{
    if (!widget->hasFocus())
        return;
    QPainter p(widget);
    p.setPen(QPen(widget->palette().color(widget->foregroundRole()), 1, Qt::DotLine));
    p.drawRect(rect);
}

}  // namespace forms::detail
