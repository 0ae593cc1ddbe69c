#pragma once
// The runtime's message box: the style bits and answers of the original
// (buttons, icon, default button), shown as a QMessageBox in a normal run and
// answered from forms::testing in a test run.

#include <QString>

#include <cstdint>
#include <exception>

namespace forms {

// Buttons (style & 7)
inline constexpr int32_t vbOKOnly = 0;
inline constexpr int32_t vbOKCancel = 1;
inline constexpr int32_t vbAbortRetryIgnore = 2;
inline constexpr int32_t vbYesNoCancel = 3;
inline constexpr int32_t vbYesNo = 4;
inline constexpr int32_t vbRetryCancel = 5;
// Icons (style & 0x70)
inline constexpr int32_t vbCritical = 16;
inline constexpr int32_t vbQuestion = 32;
inline constexpr int32_t vbExclamation = 48;
inline constexpr int32_t vbInformation = 64;
// Default button (style & 0x300)
inline constexpr int32_t vbDefaultButton1 = 0;
inline constexpr int32_t vbDefaultButton2 = 256;
inline constexpr int32_t vbDefaultButton3 = 512;
// Modality bits are accepted and ignored.
inline constexpr int32_t vbApplicationModal = 0;
inline constexpr int32_t vbSystemModal = 4096;

// Answers
inline constexpr int16_t vbOK = 1;
inline constexpr int16_t vbCancel = 2;
inline constexpr int16_t vbAbort = 3;
inline constexpr int16_t vbRetry = 4;
inline constexpr int16_t vbIgnore = 5;
inline constexpr int16_t vbYes = 6;
inline constexpr int16_t vbNo = 7;

// An empty title shows the application's title (App::Title).
int16_t MsgBox(const QString& prompt, int32_t buttons = vbOKOnly, const QString& title = {});

// The answer of the default button of a style (vbDefaultButtonN, first button
// when N is past the last one): what an unanswered box returns in a test.
int16_t defaultAnswer(int32_t buttons);

// How the runtime reports an error that reached it from an event handler:
// the description in an OK box with the critical icon under the App title.
void reportError(const std::exception_ptr& error);

}  // namespace forms
