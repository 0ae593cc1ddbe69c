#include "barwright/picture/GrabCapture.h"

#include "barwright/picture/CursorResources.h"
#include "platform/forms/Form.h"
#include "platform/forms/Input.h"
#include "platform/forms/Screen.h"
#include "platform/system/KeyState.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace GrabCapture {

namespace {

// Sits on the form's client widget; the runtime gives forms no mouse events
// of their own, and a captured mouse reports to that widget.
class FormMouseFilter final : public QObject {
public:
    static constexpr const char* Name = "bwFormMouseFilter";
    FormMouseFilter(forms::Form& form, QWidget* widget) : QObject(widget), m_form(&form)
    {
        setObjectName(QLatin1String(Name));
    }

    bool eventFilter(QObject* obj, QEvent* ev) override
    {
        const QEvent::Type t = ev->type();
        if (t != QEvent::MouseButtonPress && t != QEvent::MouseButtonRelease
            && t != QEvent::MouseMove)
            return false;
        auto* e = static_cast<QMouseEvent*>(ev);
        auto* host = static_cast<QWidget*>(obj);
        // What a control ignored bubbles up here; only the form's own surface
        // and a captured mouse are the form's.
        const QPoint at = e->position().toPoint();
        if (QWidget::mouseGrabber() != host && host->childAt(at))
            return false;
        const float x = float(at.x() * m_form->unitsPerPixelX());
        const float y = float(at.y() * m_form->unitsPerPixelY());
        const int16_t shift = forms::detail::shiftOf(e->modifiers());
        if (t == QEvent::MouseButtonPress)
            m_form->MouseDown.fire(forms::detail::buttonOf(e->button()), shift, x, y);
        else if (t == QEvent::MouseButtonRelease)
            m_form->MouseUp.fire(forms::detail::buttonOf(e->button()), shift, x, y);
        else
            m_form->MouseMove.fire(forms::detail::buttonOf(e->buttons()), shift, x, y);
        return false;
    }

private:
    forms::Form* m_form;
};

}  // namespace

gdi::POINT GetCursorPos()
{
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void SetCapture(QWidget* window)
{
    if (window)
        window->grabMouse();
}

bool HasCapture(const QWidget* window)
{
    return window && QWidget::mouseGrabber() == window;
}

void ReleaseCapture(const QWidget* window)
{
    if (QWidget* g = QWidget::mouseGrabber(); g && g == window)
        g->releaseMouse();
}

void SetFinderPointer()
{
    forms::Screen::setMouseIcon(CursorResources::LoadResCursor(FinderCursorId));
    forms::Screen::setMousePointer(vbCustom);
}

void SyncDesktop()
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;   // no real screen: the desktop bitmap is what was painted
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QImage shot = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    if (shot.isNull())
        return;
    int32_t w = 0, h = 0;
    gdi::GetBitmapSize(gdi::ScreenBitmap(), &w, &h);
    if (w != shot.width() || h != shot.height())
        gdi::SetScreenSize(shot.width(), shot.height());
    uint32_t* px = gdi::BitmapPixels(gdi::ScreenBitmap());
    if (!px)
        return;
    for (int y = 0; y < shot.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x)
            px[size_t(y) * size_t(shot.width()) + size_t(x)] =
                gdi::RGB(uint8_t(qRed(row[x])), uint8_t(qGreen(row[x])), uint8_t(qBlue(row[x])));
    }
}

void SetDefaultPointer()
{
    forms::Screen::setMousePointer(forms::vbDefault);
}

int32_t CurrentCursorResource()
{
    const bool finder = forms::Screen::MousePointer() == vbCustom
                        && forms::Screen::MouseIcon()
                               == CursorResources::LoadResCursor(FinderCursorId);
    return finder ? FinderCursorId : 0;
}

bool IsKeyDown(int32_t vk)
{
    if (sys::GetKeyState(vk) < 0)
        return true;
    switch (vk) {
    case sys::VK_LBUTTON: return QGuiApplication::mouseButtons() & Qt::LeftButton;
    case sys::VK_CONTROL:
        return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
    default: return false;
    }
}

void ForwardFormMouse(forms::Form& form)
{
    QWidget* host = form.hostWidget();
    // Found by name: the filter has no meta-object of its own to cast to.
    if (host && !host->findChild<QObject*>(QLatin1String(FormMouseFilter::Name),
                                           Qt::FindDirectChildrenOnly))
        host->installEventFilter(new FormMouseFilter(form, host));
}

QImage FinderImage(int32_t side)
{
    QImage img(side, side, QImage::Format_RGB32);
    img.fill(QColor(192, 192, 192));
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 1));
    const int c = side / 2;
    const int r = side / 2 - 3;
    p.drawEllipse(QPoint(c, c), r, r);
    p.drawLine(c, 1, c, side - 2);
    p.drawLine(1, c, side - 2, c);
    return img;
}

}  // namespace GrabCapture
