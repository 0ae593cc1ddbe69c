#pragma once
// Test hooks of the form runtime: queued answers for message boxes, file and
// colour dialogs and modal forms, and a record of every message box shown.
// Free of GoogleTest: what went unanswered is collected in failures(), which
// a test fixture checks after each test.
//
//     forms::testing::enable();                     // in SetUp (clears everything)
//     forms::testing::answerNextMsgBox(forms::vbYes);
//     forms::testing::answerNextModal<frmTool>([](frmTool& f) { f.cmdOK.click(); });
//     ...
//     EXPECT_THAT(forms::testing::failures(), IsEmpty());   // in TearDown

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

namespace forms {
class Form;
}

namespace forms::testing {

struct ShownMsgBox {
    QString text;
    int32_t buttons = 0;   // the whole style value
    QString title;         // as shown (an empty title shows App::Title)
    int16_t answer = 0;    // what the box returned
};

// Turns the hooks on and clears every queue, record and failure. While the
// hooks are on nothing blocks: message boxes, dialogs and modal forms take the
// queued answers. On the offscreen platform the hooks act even when not
// enabled, so a forgotten enable() fails instead of hanging.
void enable();
void disable();
bool enabled();   // enable() was called (or the platform is offscreen)
void reset();     // clears queues, records and failures; keeps enabled()

// ---- Message boxes ------------------------------------------------------
void answerNextMsgBox(int16_t answer);
const std::vector<ShownMsgBox>& shownMsgBoxes();
void clearShown();
int pendingMsgBoxAnswers();

// ---- File dialogs (CommonDialog ShowOpen/ShowSave) ----------------------
// The next dialog returns this full path (FileName); FileTitle is derived.
void answerNextFileDialog(const QString& fileName);
// The next dialog is cancelled (error 32755 when CancelError is set).
void cancelNextFileDialog();
// ---- Colour dialog (CommonDialog ShowColor) -----------------------------
void answerNextColorDialog(int32_t colorRef);
void cancelNextColorDialog();

// ---- Modal forms --------------------------------------------------------
// Runs when the next form is shown modally, after its Load and Activate; it
// plays the user: sets fields, clicks buttons, hides or unloads the form.
// A form still shown after the answer is hidden and a failure recorded.
using ModalAnswer = std::function<void(Form&)>;
void answerNextModal(ModalAnswer answer);
// The typed form: the answer expects form F; another form is a failure.
template <class F, class Fn>
void answerNextModal(Fn&& answer);
int pendingModalAnswers();
// Class names of the forms shown modally, in order.
const QStringList& shownModalForms();

// ---- Help ----------------------------------------------------------------
struct ShownHelp {
    QString helpFile;
    int32_t command = 0;
    int32_t context = 0;
    QString topicTitle;   // the topic the help window showed ("" when none)
};
const std::vector<ShownHelp>& shownHelp();

// ---- Access keys -----------------------------------------------------------
// The access keys that several visible controls of the form's shown window
// have (a disabled control counts: it may be enabled any time), each as
// "k: name name" (an array element as name(i)), in key order.
QStringList sharedAccessKeys(Form& form);

// The visible controls of the form that cut their caption, by name: a
// label's or a frame's text, a button's, a check or option box's (wrapped
// as it draws it), or a tab strip whose tabs do not all fit.
QStringList cutCaptions(Form& form);

// ---- Failures ------------------------------------------------------------
// A message box, dialog or modal form that nobody answered, an answer left
// for the wrong form, an error reported by the runtime: one line each.
const QStringList& failures();
QStringList takeFailures();
void addFailure(const QString& what);

// ---- Window frames ----------------------------------------------------------
// The frame (pixels per side) a window not shown yet counts with, as if the
// windows shown so far had it: a window manager whose frame is not known yet
// (0) or differs from the one assumed.
void assumeWindowFrame(int left, int top, int right, int bottom);

// ---- Running the event loop ---------------------------------------------
// Processes events (timers included) until pred() holds or timeoutMs passed;
// returns pred()'s last value.
bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 2000);
void processEvents(int forMs = 0);

}  // namespace forms::testing

// ---- implementation of the typed modal answer --------------------------------
#include "platform/forms/Form.h"

namespace forms::testing {
template <class F, class Fn>
void answerNextModal(Fn&& answer)
{
    answerNextModal(ModalAnswer([fn = std::function<void(F&)>(std::forward<Fn>(answer))](
                                    Form& form) {
        if (auto* f = dynamic_cast<F*>(&form))
            fn(*f);
        else
            addFailure(QStringLiteral("modal answer for another form: %1 was shown")
                           .arg(form.className()));
    }));
}
}  // namespace forms::testing
