#pragma once
// The window helpers of mGlobals shared by every window of the utility:
// keep a window on the screen, select a field's text, write Enabled and
// Visible only on a change, and apply a typed colour text to its swatch.

#include "platform/forms/Form.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/TextBox.h"

namespace mGlobals {

// Moves the window so that it lies on the screen; a window larger than the
// screen ends flush with the right or bottom edge. Its size is unchanged.
void KeepFormOnScreen(forms::Form& window);

// Selects the whole text of a text field (text box, combo box) when it is
// not empty.
template <class TextControl>
void SelectAllText(TextControl& control)
{
    const QString text = control.Text();
    if (text.isEmpty())
        return;
    control.setSelStart(0);
    control.setSelLength(int32_t(text.size()));
}

// Write only on a change, so unchanged states cause no flicker or events.
template <class C>
void SetEnabled(C& control, bool value)
{
    if (control.Enabled() != value)
        control.setEnabled(value);
}

template <class C>
void SetVisible(C& control, bool value)
{
    if (control.Visible() != value)
        control.setVisible(value);
}

// Valid colour text: the swatch takes the colour and the box the normalised
// text. Otherwise the box shows the swatch's current colour again.
void ApplyColorText(forms::TextBox& colorText, forms::PictureBox& swatch);

}  // namespace mGlobals
