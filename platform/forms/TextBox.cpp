#include "platform/forms/TextBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>

namespace forms {

QWidget* TextBox::createWidget(QWidget* parent)
{
    if (m_multiLine) {
        auto* e = new QPlainTextEdit(parent);
        e->setTabChangesFocus(true);   // Tab moves on here too; it types no TAB
        QObject::connect(e, &QPlainTextEdit::textChanged, [this] { raise(Change); });
        return e;
    }
    auto* e = new QLineEdit(parent);
    QObject::connect(e, &QLineEdit::textChanged, [this] { raise(Change); });
    return e;
}

QLineEdit* TextBox::line()
{
    return m_multiLine ? nullptr : static_cast<QLineEdit*>(widget());
}

QPlainTextEdit* TextBox::multi()
{
    return m_multiLine ? static_cast<QPlainTextEdit*>(widget()) : nullptr;
}

QString TextBox::Text()
{
    if (auto* e = line())
        return e->text();
    if (auto* m = multi())
        return m->toPlainText();
    return {};
}

void TextBox::setText(const QString& text)
{
    if (auto* e = line()) {
        // MaxLength does not limit text set from code in a single-line box
        // of the original; Qt would cut it, so lift the limit for the set.
        const int max = e->maxLength();
        e->setMaxLength(std::max<int>(max, int(text.size())));
        e->setText(text);
        e->setMaxLength(max);
    } else if (auto* m = multi()) {
        if (m->toPlainText() != text)
            m->setPlainText(text);
    }
}

int32_t TextBox::SelStart()
{
    if (auto* e = line())
        return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    if (auto* m = multi())
        return m->textCursor().selectionStart();
    return 0;
}

void TextBox::setSelStart(int32_t start)
{
    const int32_t len = int32_t(Text().size());
    start = std::clamp(start, 0, len);
    if (auto* e = line()) {
        e->deselect();
        e->setCursorPosition(start);
    } else if (auto* m = multi()) {
        QTextCursor c = m->textCursor();
        c.setPosition(start);
        m->setTextCursor(c);
    }
}

int32_t TextBox::SelLength()
{
    if (auto* e = line())
        return int32_t(e->selectedText().size());
    if (auto* m = multi()) {
        const QTextCursor c = m->textCursor();
        return c.selectionEnd() - c.selectionStart();
    }
    return 0;
}

void TextBox::setSelLength(int32_t length)
{
    const int32_t start = SelStart();
    const int32_t len = int32_t(Text().size());
    length = std::clamp(length, 0, len - start);
    if (auto* e = line()) {
        e->setSelection(start, length);
    } else if (auto* m = multi()) {
        QTextCursor c = m->textCursor();
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        m->setTextCursor(c);
    }
}

QString TextBox::SelText()
{
    if (auto* e = line())
        return e->selectedText();
    if (auto* m = multi())
        return m->textCursor().selectedText().replace(QChar(0x2029), u'\n');
    return {};
}

void TextBox::setSelText(const QString& text)
{
    if (auto* e = line())
        e->insert(text);
    else if (auto* m = multi())
        m->insertPlainText(text);
}

int32_t TextBox::MaxLength()
{
    auto* e = line();
    if (!e)
        return 0;
    return e->maxLength() >= 32767 ? 0 : e->maxLength();
}

void TextBox::setMaxLength(int32_t length)
{
    if (auto* e = line())
        e->setMaxLength(length <= 0 ? 32767 : length);
}

bool TextBox::Locked()
{
    if (auto* e = line())
        return e->isReadOnly();
    if (auto* m = multi())
        return m->isReadOnly();
    return false;
}

void TextBox::setLocked(bool on)
{
    if (auto* e = line())
        e->setReadOnly(on);
    else if (auto* m = multi())
        m->setReadOnly(on);
}

QString TextBox::PasswordChar()
{
    auto* e = line();
    return e && e->echoMode() == QLineEdit::Password ? QStringLiteral("*") : QString();
}

void TextBox::setPasswordChar(const QString& ch)
{
    if (auto* e = line())
        e->setEchoMode(ch.isEmpty() ? QLineEdit::Normal : QLineEdit::Password);
}

void TextBox::setAlignment(int16_t alignment)
{
    m_alignment = alignment;
    if (auto* e = line())
        e->setAlignment(alignment == 1 ? Qt::AlignRight
                        : alignment == 2 ? Qt::AlignHCenter
                                         : Qt::AlignLeft);
}

void TextBox::type(const QString& text)
{
    QWidget* w = widget();
    if (!w)
        return;
    for (const QChar ch : text) {
        int key = ch.toUpper().unicode();
        if (ch == u'\b')
            key = Qt::Key_Backspace;
        else if (ch == u'\r' || ch == u'\n')
            key = Qt::Key_Return;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &release);
    }
}

}  // namespace forms
