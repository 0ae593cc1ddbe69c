#include "platform/forms/MsgBox.h"

#include "platform/forms/App.h"
#include "platform/forms/Control.h"
#include "platform/forms/TestingInternal.h"
#include "platform/runtime/Error.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <vector>

namespace forms {

namespace {

std::vector<int16_t> buttonsOf(int32_t style)
{
    switch (style & 7) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
    }
}

QMessageBox::StandardButton standardOf(int16_t answer)
{
    switch (answer) {
    case vbOK: return QMessageBox::Ok;
    case vbCancel: return QMessageBox::Cancel;
    case vbAbort: return QMessageBox::Abort;
    case vbRetry: return QMessageBox::Retry;
    case vbIgnore: return QMessageBox::Ignore;
    case vbYes: return QMessageBox::Yes;
    default: return QMessageBox::No;
    }
}

constexpr QChar kBreak(0x200B);   // zero width space: a place to wrap, unseen

// The prompt as shown: a long path has no blank to wrap at and would be cut
// off at the box's edge; it may wrap after a separator, and a long run
// without one every kRun characters.
QString wrappable(const QString& prompt)
{
    constexpr int kRun = 32;
    QString shown;
    shown.reserve(prompt.size() + prompt.size() / 8);
    int run = 0;
    for (const QChar c : prompt) {
        shown += c;
        if (c.isSpace()) {
            run = 0;
        } else if (c == u'/' || c == u'\\' || ++run == kRun) {
            shown += kBreak;
            run = 0;
        }
    }
    return shown;
}

// Ctrl+C copies the prompt as it was given.
class MessageBox final : public QMessageBox {
protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        QMessageBox::keyPressEvent(e);
        if (e->matches(QKeySequence::Copy))
            if (QClipboard* c = QGuiApplication::clipboard())
                c->setText(c->text().remove(kBreak));
    }
};

}  // namespace

int16_t defaultAnswer(int32_t style)
{
    const std::vector<int16_t> buttons = buttonsOf(style);
    const size_t n = size_t((style >> 8) & 3);
    return n < buttons.size() ? buttons[n] : buttons.front();
}

int16_t MsgBox(const QString& prompt, int32_t style, const QString& title)
{
    const QString shownTitle = title.isEmpty() ? App::Title() : title;
    if (testing::detail::active())
        return testing::detail::answerMsgBox(prompt, style, shownTitle);

    MessageBox box;
    box.setWindowTitle(shownTitle);
    box.setText(wrappable(prompt));
    switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    const std::vector<int16_t> answers = buttonsOf(style);
    std::vector<QAbstractButton*> buttons;
    for (int16_t a : answers)
        buttons.push_back(box.addButton(standardOf(a)));
    const int16_t def = defaultAnswer(style);
    for (size_t i = 0; i < answers.size(); ++i)
        if (answers[i] == def)
            box.setDefaultButton(static_cast<QPushButton*>(buttons[i]));
    // Esc answers Cancel where there is one, else the only button.
    for (size_t i = 0; i < answers.size(); ++i)
        if (answers[i] == vbCancel || answers.size() == 1)
            box.setEscapeButton(buttons[i]);
    // The window manager may leave the activation nowhere (the box's owner
    // closing too): the window that had it gets it back explicitly.
    const QPointer<QWidget> owner = QApplication::activeWindow();
    box.exec();
    if (owner && owner->isVisible())
        owner->activateWindow();
    for (size_t i = 0; i < answers.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return answers[i];
    return answers.size() == 1 ? answers[0] : vbCancel;
}

void reportError(const std::exception_ptr& error)
{
    const rt::Error e = rt::toError(error);
    QString text = e.description();
    if (text.isEmpty())
        text = QStringLiteral("Run-time error '%1'").arg(e.number());
    MsgBox(text, vbOKOnly | vbCritical, App::Title());
}

void runHandler(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (...) {
        const std::exception_ptr ex = std::current_exception();
        try {
            reportError(ex);
        } catch (...) {
            // A failing report must not escape into Qt either.
        }
    }
}

}  // namespace forms
