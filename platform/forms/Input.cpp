#include "platform/forms/Input.h"

#include "platform/forms/AccessKeys.h"
#include "platform/forms/ContextHelp.h"

#include "platform/forms/Control.h"
#include "platform/forms/Form.h"

#if __has_include("platform/system/KeyState.h")
#include "platform/system/KeyState.h"
#define BW_HAVE_KEYSTATE 1
#endif

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

namespace forms {

namespace {

// The US keyboard's key for a character typed with or without Shift: Windows
// reports the key, not the character, so '!' arrives as the key '1' and '"'
// as the OEM key 222.
int16_t keyOfCharacter(int key)
{
    switch (key) {
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 222;
    default: return 0;
    }
}

int16_t keypadKeyOf(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return int16_t(0x60 + (key - Qt::Key_0));   // VK_NUMPAD0..9
    switch (key) {
    case Qt::Key_Asterisk: return 0x6A;
    case Qt::Key_Plus: return 0x6B;
    case Qt::Key_Minus: return 0x6D;
    case Qt::Key_Period:
    case Qt::Key_Comma: return 0x6E;
    case Qt::Key_Slash: return 0x6F;
    default: return 0;
    }
}

// A character that no key of the layout gives (an accented letter typed
// through a compose key or sent by another program) arrives as VK_PACKET.
constexpr int16_t kPacketKey = 0xE7;

}  // namespace

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
    case Qt::Key_Clear: return 12;
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
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    default: break;
    }
    if (const int16_t vk = keyOfCharacter(key))
        return vk;
    if (key >= 0xA0 && key <= 0xFFFF)
        return kPacketKey;   // Qt names Latin-1 and other letters by their code
    return 0;
}

int16_t virtualKeyOf(const QKeyEvent* e)
{
    if (e->modifiers() & Qt::KeypadModifier) {
        if (const int16_t vk = keypadKeyOf(e->key()))
            return vk;
    }
    if (const int16_t vk = virtualKeyOf(e->key()))
        return vk;
    return e->text().isEmpty() ? int16_t(0) : kPacketKey;
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
    if (const int16_t vk = virtualKeyOf(e))
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

int16_t keyAsciiOf(const QKeyEvent* e)
{
    const QString text = e->text();
    if (text.isEmpty() || text[0] == u'\t' || e->key() == Qt::Key_Delete)
        return 0;   // Tab moves the focus; Delete types nothing
    if (!accessKeyRequested(e).isNull())
        return 0;   // an access key, not a character
    return int16_t(text[0].unicode());
}

void formOwnKeyPress(Form& form, const QKeyEvent* e)
{
    int16_t vk = virtualKeyOf(e);
    const int16_t shift = shiftOf(e->modifiers());
    if (vk) {
        form.KeyDown.fire(vk, shift);
        if (vk == 0 || !form.isLoaded())
            return;
        if (vk == kVkF1 && pressHelpKey(form, nullptr))
            return;
    }
    if (runAccessKey(form, accessKeyRequested(e)) || !form.isLoaded())
        return;
    if (int16_t ascii = keyAsciiOf(e)) {
        form.KeyPress.fire(ascii);
        if (ascii == 0 || !form.isLoaded())
            return;
    }
    if (vk == 13 || vk == 27)
        form.pressDialogButton(vk);
}

}  // namespace detail

namespace {

// A key the focused control's widget leaves alone travels on up to the
// parent widgets; the controls there (a frame, a tab strip) must not see it
// again. The control whose filter met the key first owns it.
struct KeyOwner {
    const QEvent* event = nullptr;
    QEvent::Type type = QEvent::None;
    QPointer<QObject> widget;
};
KeyOwner s_keyOwner;

void ownKey(QObject* widget, const QEvent* e)
{
    s_keyOwner = {e, e->type(), widget};
}

}  // namespace

bool detail::keyOwnedInside(const QObject* widget, const QEvent* e)
{
    if (e != s_keyOwner.event || e->type() != s_keyOwner.type || !s_keyOwner.widget)
        return false;
    for (const QObject* o = s_keyOwner.widget->parent(); o; o = o->parent())
        if (o == widget)
            return true;
    return false;
}

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
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            if (detail::keyOwnedInside(obj, ev))
                return false;
            auto* e = static_cast<QKeyEvent*>(ev);
            const bool taken =
                ev->type() == QEvent::KeyPress ? keyPress(obj, e) : keyRelease(e);
            // Set after the handlers: one of them may have run a modal form,
            // whose keys took the mark.
            ownKey(obj, ev);
            return taken;
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
    bool keyRelease(QKeyEvent* e)
    {
        detail::noteKey(e, false);
        if (e->isAutoRepeat())
            return false;
        int16_t vk = virtualKeyOf(e);
        if (!vk)
            return false;
        const int16_t shift = detail::shiftOf(e->modifiers());
        detail::formKeyUp(m_c->form(), vk, shift);
        if (m_c)
            m_c->KeyUp.fire(vk, shift);
        return false;
    }

    // Each step that runs a handler may unload the form (detaching this
    // filter); the key then goes no further.
    bool keyPress(QObject* obj, QKeyEvent* e)
    {
        detail::noteKey(e, true);
        if (m_resending)
            return false;
        Form& form = m_c->form();
        int16_t vk = virtualKeyOf(e);
        const int16_t shift = detail::shiftOf(e->modifiers());
        if (vk) {
            if (detail::formKeyDown(form, vk, shift) || !m_c)
                return true;
            m_c->KeyDown.fire(vk, shift);
            if (!m_c || vk == 0)
                return true;   // a handler took the key
            if (vk == detail::kVkF1 && detail::pressHelpKey(form, m_c))
                return true;
        }
        const QChar access = detail::accessKeyRequested(e);
        if (!access.isNull()) {
            if (!detail::runAccessKey(form, access))
                QApplication::beep();
            return true;
        }
        int16_t ascii = detail::keyAsciiOf(e);
        if (ascii == 0)
            return false;
        const int16_t typed = ascii;
        if (detail::formKeyPress(form, ascii) || !m_c)
            return true;
        m_c->KeyPress.fire(ascii);
        if (ascii == 0 || !m_c)
            return true;
        if (ascii != typed) {
            QKeyEvent again(QEvent::KeyPress, 0, e->modifiers(), QString(QChar(ascii)));
            ownKey(obj, &again);
            m_resending = true;
            QApplication::sendEvent(obj, &again);
            m_resending = false;
            return true;
        }
        if ((vk == 13 || vk == 27) && !m_c->wantsDialogKey(vk)) {
            if (form.pressDialogButton(vk))
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
