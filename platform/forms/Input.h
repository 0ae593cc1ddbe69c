#pragma once
// Internal: how key, mouse and focus events of Qt widgets become the
// runtime's KeyDown/KeyPress/KeyUp, MouseDown/Move/Up and GotFocus/LostFocus.

#include <Qt>

#include <cstdint>

class QWidget;
class QKeyEvent;
class QEvent;
class QObject;

namespace forms {
class Control;
class Form;

namespace detail {
void attachInput(Control* control, QWidget* widget);
// Stops widget's events from reaching control (safe inside one of them).
void detachInput(Control* control, QWidget* widget);
// True when a key event reaching widget came up from a control inside it,
// which has handled it already.
bool keyOwnedInside(const QObject* widget, const QEvent* event);
int16_t shiftOf(Qt::KeyboardModifiers modifiers);
int16_t buttonOf(Qt::MouseButtons buttons);
// Feeds the system key-state table (GetKeyState) from a key event.
void noteKey(const QKeyEvent* event, bool down);
// The form-level part of a key press: KeyPreview handlers, default and
// cancel buttons. Returns true when the key was swallowed.
bool formKeyDown(Form& form, int16_t& keyCode, int16_t shift);
// The KeyAscii of a key press, or 0 when it types no character (Tab, Delete,
// an access key, a key without text).
int16_t keyAsciiOf(const QKeyEvent* event);
// A key press on the form's window itself: KeyDown, access key, KeyPress,
// then the default or cancel button.
void formOwnKeyPress(Form& form, const QKeyEvent* event);
bool formKeyPress(Form& form, int16_t& keyAscii);
void formKeyUp(Form& form, int16_t& keyCode, int16_t shift);
}  // namespace detail
}  // namespace forms
