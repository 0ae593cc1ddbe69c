#include "platform/forms/MousePointer.h"

#include "platform/runtime/Error.h"

#include <QPixmap>
#include <QWidget>

namespace forms {

namespace {

bool known(int16_t pointer)
{
    return (pointer >= vbDefault && pointer <= vbSizeAll) || pointer == vbCustom;
}

QCursor customCursor(const StdPicture& icon)
{
    if (icon.isCursor()) {
        const QPoint hot = icon.hotSpot();
        return QCursor(QPixmap::fromImage(icon.cursorImage()), hot.x(), hot.y());
    }
    // A plain picture acts at its centre, as an icon does.
    return QCursor(QPixmap::fromImage(icon.toImage()));
}

}  // namespace

void checkMousePointer(int16_t pointer)
{
    if (!known(pointer))
        rt::raise(380, QStringLiteral("MousePointer"), QStringLiteral("Invalid property value"));
}

std::optional<QCursor> cursorOf(int16_t pointer, const Picture& icon)
{
    switch (pointer) {
    case vbArrow: return QCursor(Qt::ArrowCursor);
    case vbCrosshair: return QCursor(Qt::CrossCursor);
    case vbIbeam: return QCursor(Qt::IBeamCursor);
    case vbIconPointer: return QCursor(Qt::ArrowCursor);   // no such shape here
    case vbSizePointer:
    case vbSizeAll: return QCursor(Qt::SizeAllCursor);
    case vbSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case vbSizeNS: return QCursor(Qt::SizeVerCursor);
    case vbSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case vbSizeWE: return QCursor(Qt::SizeHorCursor);
    case vbUpArrow: return QCursor(Qt::UpArrowCursor);
    case vbHourglass: return QCursor(Qt::WaitCursor);
    case vbNoDrop: return QCursor(Qt::ForbiddenCursor);
    case vbArrowHourglass: return QCursor(Qt::BusyCursor);
    case vbArrowQuestion: return QCursor(Qt::WhatsThisCursor);
    case vbCustom:
        if (icon && icon->widthPixels() > 0)
            return customCursor(*icon);
        return std::nullopt;
    default: return std::nullopt;
    }
}

void applyMousePointer(QWidget* widget, int16_t pointer, const Picture& icon)
{
    if (!widget)
        return;
    if (const std::optional<QCursor> cursor = cursorOf(pointer, icon))
        widget->setCursor(*cursor);
    else
        widget->unsetCursor();
}

}  // namespace forms
