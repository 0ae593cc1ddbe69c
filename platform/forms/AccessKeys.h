#pragma once
// Access keys: Alt with the letter that follows a single "&" in a caption.
// A form's menu bar answers first, then its controls in tab order, starting
// after the focus. Qt's own mnemonic shortcuts are kept from firing inside
// form windows, so one rule decides and a menu wins over a button.

#include <QChar>
#include <QString>

class QKeyEvent;
class QWidget;

namespace forms {
class Form;

namespace detail {
// The access key of a caption, folded to lower case; null when it has none.
// "&&" is a literal ampersand.
QChar accessKeyOf(const QString& caption);
// The access key an Alt key press asks for; null when the press is no such
// request (no Alt, Ctrl or Meta with it, no character).
QChar accessKeyRequested(const QKeyEvent* event);
// Runs the access key on the form; false when nothing on it has the key.
bool runAccessKey(Form& form, QChar key);
// Gives the focus to the first control after `from` in tab order that can
// take it (what a label's or a frame's access key does).
void focusNextAfter(QWidget* from);
// Installs, once, the filter that keeps Qt's mnemonics out of form windows.
void installAccessKeyOverride();
}  // namespace detail
}  // namespace forms
