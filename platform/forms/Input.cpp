#include "platform/forms/Input.h"

#include "platform/forms/Control.h"
#include "platform/forms/Form.h"

#if __has_include("platform/system/KeyState.h")
#include "platform/system/KeyState.h"
#define BW_HAVE_KEYSTATE 1
#endif

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace forms {

int16_t virtualKeyOf(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return int16_t(key);   // 'A'..'Z' share the codes
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return int16_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return int16_t(0x70 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    default: return 0;
    }
}

namespace detail {

int16_t shiftOf(Qt::KeyboardModifiers m)
{
    int16_t s = 0;
    if (m & Qt::ShiftModifier)
        s |= vbShiftMask;
    if (m & Qt::ControlModifier)
        s |= vbCtrlMask;
    if (m & Qt::AltModifier)
        s |= vbAltMask;
    return s;
}

int16_t buttonOf(Qt::MouseButtons b)
{
    int16_t r = 0;
    if (b & Qt::LeftButton)
        r |= vbLeftButton;
    if (b & Qt::RightButton)
        r |= vbRightButton;
    if (b & Qt::MiddleButton)
        r |= vbMiddleButton;
    return r;
}

void noteKey(const QKeyEvent* e, bool down)
{
#ifdef BW_HAVE_KEYSTATE
    if (const int16_t vk = virtualKeyOf(e->key()))
        sys::setKeyState(vk, down);
    const Qt::KeyboardModifiers m = e->modifiers();
    sys::setKeyState(16, m & Qt::ShiftModifier);
    sys::setKeyState(17, m & Qt::ControlModifier);
    sys::setKeyState(18, m & Qt::AltModifier);
#else
    (void)e;
    (void)down;
#endif
}

}  // namespace detail

// One per widget of a control; translates Qt's events. Detached when the
// control lets go of its widget (unload, destruction): a window is deleted
// later, and what it sends meanwhile (a focus-out as it dies) must not reach
// the control, which may wrap a new widget or be gone.
class ControlFilter final : public QObject {
public:
    ControlFilter(Control* c, QWidget* w) : QObject(w), m_c(c) {}

    Control* control() const { return m_c; }
    void detach() { m_c = nullptr; }

    bool eventFilter(QObject* obj, QEvent* ev) override
    {
        if (!m_c)
            return false;
        switch (ev->type()) {
        case QEvent::KeyPress: return keyPress(obj, static_cast<QKeyEvent*>(ev));
        case QEvent::KeyRelease: {
            auto* e = static_cast<QKeyEvent*>(ev);
            detail::noteKey(e, false);
            if (e->isAutoRepeat())
                return false;
            int16_t vk = virtualKeyOf(e->key());
            const int16_t shift = detail::shiftOf(e->modifiers());
            detail::formKeyUp(m_c->form(), vk, shift);
            if (vk && m_c)
                m_c->KeyUp.fire(vk, shift);
            return vk == 0;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(ev);
            const float x = float(e->position().x() * m_c->mouseUnitsX());
            const float y = float(e->position().y() * m_c->mouseUnitsY());
            const int16_t shift = detail::shiftOf(e->modifiers());
            if (ev->type() == QEvent::MouseButtonPress)
                m_c->MouseDown.fire(detail::buttonOf(e->button()), shift, x, y);
            else if (ev->type() == QEvent::MouseButtonRelease)
                m_c->MouseUp.fire(detail::buttonOf(e->button()), shift, x, y);
            else
                m_c->MouseMove.fire(detail::buttonOf(e->buttons()), shift, x, y);
            return false;
        }
        case QEvent::FocusIn:
            m_c->GotFocus.fire();
            return false;
        case QEvent::FocusOut:
            m_c->LostFocus.fire();
            return false;
        default: return false;
        }
    }

private:
    // Each step that runs a handler may unload the form (detaching this
    // filter); the key then goes no further.
    bool keyPress(QObject* obj, QKeyEvent* e)
    {
        detail::noteKey(e, true);
        if (m_resending)
            return false;
        int16_t vk = virtualKeyOf(e->key());
        const int16_t shift = detail::shiftOf(e->modifiers());
        if (detail::formKeyDown(m_c->form(), vk, shift) || !m_c)
            return true;
        if (vk)
            m_c->KeyDown.fire(vk, shift);
        if (!m_c || (vk == 0 && e->key() != 0))
            return true;
        const QString text = e->text();
        if (text.isEmpty() || text[0] == u'\t')
            return false;
        int16_t ascii = int16_t(text[0].unicode());
        const int16_t typed = ascii;
        if (detail::formKeyPress(m_c->form(), ascii) || !m_c)
            return true;
        m_c->KeyPress.fire(ascii);
        if (ascii == 0 || !m_c)
            return true;
        if (ascii != typed) {
            QKeyEvent again(QEvent::KeyPress, 0, e->modifiers(), QString(QChar(ascii)));
            m_resending = true;
            QApplication::sendEvent(obj, &again);
            m_resending = false;
            return true;
        }
        if ((vk == 13 || vk == 27) && !m_c->wantsDialogKey(vk)) {
            if (m_c->form().pressDialogButton(vk))
                return true;
        }
        return false;
    }

    Control* m_c;
    bool m_resending = false;
};

namespace detail {

void attachInput(Control* control, QWidget* widget)
{
    widget->installEventFilter(new ControlFilter(control, widget));
}

void detachInput(Control* control, QWidget* widget)
{
    if (!widget)
        return;
    const auto filters = widget->findChildren<QObject*>(Qt::FindDirectChildrenOnly);
    for (QObject* o : filters) {
        auto* f = dynamic_cast<ControlFilter*>(o);
        if (f && f->control() == control) {
            widget->removeEventFilter(f);
            f->detach();   // may be running right now; it dies with the widget
        }
    }
}

bool formKeyDown(Form& form, int16_t& keyCode, int16_t shift)
{
    if (!form.KeyPreview())
        return false;
    form.KeyDown.fire(keyCode, shift);
    return keyCode == 0;
}

bool formKeyPress(Form& form, int16_t& keyAscii)
{
    if (!form.KeyPreview())
        return false;
    form.KeyPress.fire(keyAscii);
    return keyAscii == 0;
}

void formKeyUp(Form& form, int16_t& keyCode, int16_t shift)
{
    if (form.KeyPreview())
        form.KeyUp.fire(keyCode, shift);
}

}  // namespace detail
}  // namespace forms
