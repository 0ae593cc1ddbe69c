#pragma once
// Internal: F1 opens the application's help file at the topic of the control
// that has the focus, or of its form when the control names none.

#include <cstdint>

namespace forms {
class Control;
class Form;

namespace detail {
inline constexpr int16_t kVkF1 = 0x70;

// Shows the topic for F1 pressed on focused (null: on the form itself).
// False when there is nothing to show: no help file, or context id 0.
bool pressHelpKey(Form& form, const Control* focused);
}  // namespace detail
}  // namespace forms
