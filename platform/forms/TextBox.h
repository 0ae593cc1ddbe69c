#pragma once
// Text box: Text (a change, from code or typed, fires Change), the selection
// (SelStart, SelLength, SelText), MaxLength, Locked, PasswordChar.
// MultiLine is fixed at construction, as it is a design-time property.

#include "platform/forms/Control.h"

class QLineEdit;
class QPlainTextEdit;

namespace forms {

inline constexpr int SingleLineText = 0;
inline constexpr int MultiLineText = 1;

class TextBox final : public Control {
public:
    // options: SingleLineText or MultiLineText
    TextBox(Container* parent, QString name, int options = SingleLineText)
        : Control(parent, std::move(name)), m_multiLine(options & MultiLineText)
    {
    }

    QString Text();
    void setText(const QString& text);
    int32_t SelStart();
    void setSelStart(int32_t start);   // keeps no selection, as the original
    int32_t SelLength();
    void setSelLength(int32_t length);
    QString SelText();
    void setSelText(const QString& text);   // replaces the selection
    int32_t MaxLength();
    void setMaxLength(int32_t length);      // 0: no limit
    bool Locked();
    void setLocked(bool on);
    QString PasswordChar();
    void setPasswordChar(const QString& ch);
    bool MultiLine() const { return m_multiLine; }
    int16_t Alignment() const { return m_alignment; }
    void setAlignment(int16_t alignment);

    // Types text as the user would: each character through KeyDown/KeyPress/
    // KeyUp and the edit (so KeyPress filters apply).
    void type(const QString& text);

    Event<> Change;

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override { m_alignment = 0; }
    bool wantsDialogKey(int16_t keyCode) override { return m_multiLine && keyCode == 13; }

private:
    QLineEdit* line();
    QPlainTextEdit* multi();
    bool m_multiLine;
    int16_t m_alignment = 0;
};

}  // namespace forms
