#pragma once
// Internal: what the runtime asks of the test hooks.

#include <QString>

#include <cstdint>
#include <optional>

namespace forms {
class Form;
}

namespace forms::testing::detail {

bool active();   // the hooks answer instead of the user
// A message box in a test: records it and returns the queued answer, or
// records a failure and returns defaultAnswer(buttons).
int16_t answerMsgBox(const QString& text, int32_t buttons, const QString& title);
// A modal Show in a test: runs the queued answer (or records a failure) and
// hides the form when it is still shown afterwards.
void answerModal(Form& form);
// File dialog: true with the queued name, false for cancel (also when
// nothing was queued: then a failure is recorded).
bool answerFileDialog(const QString& title, QString& name);
std::optional<int32_t> answerColorDialog();
void recordHelp(const QString& file, int32_t command, int32_t context, const QString& topic);

}  // namespace forms::testing::detail
