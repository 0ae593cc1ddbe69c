#pragma once
// Command button: Caption, Default (Enter) and Cancel (Esc), Value (setting
// it True clicks the button from code), Picture. With the focus, Enter and
// Space press the button itself, and a dotted frame inside it shows so.

#include "platform/forms/Control.h"
#include "platform/forms/StdPicture.h"

class QPushButton;

namespace forms {

class CommandButton final : public Control {
public:
    using Control::Control;

    QString Caption();
    void setCaption(const QString& caption);
    bool Default() const { return m_default; }
    void setDefault(bool on);
    bool Cancel() const { return m_cancel; }
    void setCancel(bool on);
    bool Value() const { return false; }   // reads False once the click ran
    void setValue(bool on);                // True: Click runs (enabled or not)
    Picture picture() const { return m_picture; }
    void setPicture(Picture picture);

    // Clicks as the user would: only an enabled, visible button on an enabled form.
    void click();

    Event<> Click;

protected:
    QString accessCaption() override { return Caption(); }
    void pressAccessKey(QChar, bool unique) override { pressLikeAButton(*this, unique); }
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;
    // Enter presses the focused button itself; Esc still the Cancel button.
    bool wantsDialogKey(int16_t keyCode) override { return keyCode == 13; }

private:
    bool m_default = false;
    bool m_cancel = false;
    Picture m_picture;
};

}  // namespace forms
