#pragma once
// Check box: Value 0 cleared, 1 checked, 2 grayed. A change of Value, by the
// user or from code, fires Click.

#include "platform/forms/Control.h"

namespace forms {

inline constexpr int16_t vbUnchecked = 0;
inline constexpr int16_t vbChecked = 1;
inline constexpr int16_t vbGrayed = 2;

class CheckBox final : public Control {
public:
    using Control::Control;

    QString Caption();
    void setCaption(const QString& caption);
    int16_t Value();
    void setValue(int16_t value);   // 0, 1 or 2; else error 380
    // Clicks as the user would (enabled boxes only): cleared or grayed
    // becomes checked, checked becomes cleared.
    void click();

    Event<> Click;

protected:
    QString accessCaption() override { return Caption(); }
    void pressAccessKey(QChar, bool unique) override { pressLikeAButton(*this, unique); }
    QWidget* createWidget(QWidget* parent) override;
};

// Option button: Value True clears the other option buttons of the same
// container and fires Click.
class OptionButton final : public Control {
public:
    using Control::Control;

    QString Caption();
    void setCaption(const QString& caption);
    bool Value();
    void setValue(bool on);
    void click();

    Event<> Click;

protected:
    QString accessCaption() override { return Caption(); }
    void pressAccessKey(QChar, bool unique) override { pressLikeAButton(*this, unique); }
    QWidget* createWidget(QWidget* parent) override;
};

}  // namespace forms
