#include "platform/forms/Window.h"

#include <QApplication>
#include <QHash>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPointingDevice>
#include <QRegularExpressionValidator>
#include <QWidget>

namespace forms {

namespace {

struct WindowInfo {
    QPointer<QWidget> widget;
    QHash<QString, int32_t> props;   // names without case, as the system keeps atoms
    int32_t style = 0;
    WNDPROC proc = nullptr;
};

QHash<int32_t, WindowInfo>& windows()
{
    static QHash<int32_t, WindowInfo> w;
    return w;
}

int32_t s_next = 0x00010010;
const char* const kHwndProperty = "bw_hwnd";

WindowInfo* infoOf(int32_t hwnd)
{
    auto it = windows().find(hwnd);
    if (it == windows().end() || !it->widget)
        return nullptr;
    return &*it;
}

// Sent button messages come from a mouse of their own: on the real mouse a
// sent press would stand as its last press (time and place), and the next
// real click would no longer complete a double-click.
const QPointingDevice* sentMouse()
{
    static QPointer<QPointingDevice> mouse;
    if (!mouse)
        mouse = new QPointingDevice(QStringLiteral("sent messages"), 0x5e47,
                                    QInputDevice::DeviceType::Mouse,
                                    QPointingDevice::PointerType::Generic,
                                    QInputDevice::Capability::Position, 1, 3, QString(),
                                    QPointingDeviceUniqueId(), qApp);
    return mouse;
}

intptr_t classProc(int32_t hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam)
{
    (void)wParam;
    QWidget* w = widgetOf(hwnd);
    if (!w)
        return 0;
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP) {
        const QPointF pos(double(int16_t(lParam & 0xFFFF)), double(int16_t(lParam >> 16)));
        QWidget* target = w->childAt(pos.toPoint());
        if (!target)
            target = w;
        const QPointF local = target->mapFrom(w, pos);
        const bool down = msg == WM_LBUTTONDOWN;
        QMouseEvent e(down ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, local,
                      target->mapToGlobal(local), Qt::LeftButton,
                      down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier, sentMouse());
        QApplication::sendEvent(target, &e);
    }
    return 0;
}

}  // namespace

int32_t hwndOf(QWidget* widget)
{
    if (!widget)
        return 0;
    const QVariant v = widget->property(kHwndProperty);
    if (v.isValid())
        return v.toInt();
    const int32_t h = s_next;
    s_next += 4;
    widget->setProperty(kHwndProperty, h);
    windows().insert(h, WindowInfo{widget, {}, 0, nullptr});
    QObject::connect(widget, &QObject::destroyed, [h] { windows().remove(h); });
    return h;
}

QWidget* widgetOf(int32_t hwnd)
{
    WindowInfo* i = infoOf(hwnd);
    return i ? i->widget.data() : nullptr;
}

bool IsWindow(int32_t hwnd)
{
    return widgetOf(hwnd) != nullptr;
}

bool SetPropA(int32_t hwnd, const QString& name, int32_t value)
{
    WindowInfo* i = infoOf(hwnd);
    if (!i)
        return false;
    i->props.insert(name.toUpper(), value);
    return true;
}

int32_t GetPropA(int32_t hwnd, const QString& name)
{
    WindowInfo* i = infoOf(hwnd);
    return i ? i->props.value(name.toUpper(), 0) : 0;
}

int32_t RemovePropA(int32_t hwnd, const QString& name)
{
    WindowInfo* i = infoOf(hwnd);
    return i ? i->props.take(name.toUpper()) : 0;
}

int32_t GetWindowLongA(int32_t hwnd, int32_t index)
{
    WindowInfo* i = infoOf(hwnd);
    return i && index == GWL_STYLE ? i->style : 0;
}

int32_t SetWindowLongA(int32_t hwnd, int32_t index, int32_t value)
{
    WindowInfo* i = infoOf(hwnd);
    if (!i || index != GWL_STYLE)
        return 0;
    const int32_t old = i->style;
    i->style = value;
    if (auto* edit = qobject_cast<QLineEdit*>(i->widget.data())) {
        if (value & ES_NUMBER)
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), edit));
        else if ((old & ES_NUMBER) && !(value & ES_NUMBER))
            edit->setValidator(nullptr);
    }
    return old;
}

WNDPROC ClassWindowProc()
{
    return &classProc;
}

WNDPROC GetWindowProc(int32_t hwnd)
{
    WindowInfo* i = infoOf(hwnd);
    if (!i)
        return nullptr;
    return i->proc ? i->proc : &classProc;
}

WNDPROC SetWindowProc(int32_t hwnd, WNDPROC proc)
{
    WindowInfo* i = infoOf(hwnd);
    if (!i)
        return nullptr;
    WNDPROC old = i->proc ? i->proc : &classProc;
    i->proc = proc == &classProc ? nullptr : proc;
    return old;
}

intptr_t CallWindowProcA(WNDPROC proc, int32_t hwnd, uint32_t msg, intptr_t wParam,
                         intptr_t lParam)
{
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

intptr_t SendMessageA(int32_t hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam)
{
    return CallWindowProcA(GetWindowProc(hwnd), hwnd, msg, wParam, lParam);
}

namespace detail {

void windowDestroyed(int32_t hwnd)
{
    WindowInfo* i = infoOf(hwnd);
    if (!i)
        return;
    if (i->proc)
        CallWindowProcA(i->proc, hwnd, WM_NCDESTROY, 0, 0);
    windows().remove(hwnd);
}

POINTAPI queryMinTrackSize(int32_t hwnd)
{
    WindowInfo* i = infoOf(hwnd);
    if (!i || !i->proc)
        return {};
    MINMAXINFO mmi;
    CallWindowProcA(i->proc, hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&mmi));
    return mmi.ptMinTrackSize;
}

}  // namespace detail
}  // namespace forms
