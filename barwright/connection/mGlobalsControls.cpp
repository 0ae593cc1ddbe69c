#include "barwright/connection/mGlobalsControls.h"

#include "barwright/connection/mGlobals.h"
#include "platform/forms/Screen.h"

#include <cmath>

namespace mGlobals {

void KeepFormOnScreen(forms::Form& window)
{
    float left = std::nearbyint(window.Left());
    float top = std::nearbyint(window.Top());
    bool moved = false;
    if (left < 0) {
        left = 0;
        moved = true;
    }
    if (top < 0) {
        top = 0;
        moved = true;
    }
    const float width = window.Width();
    const float height = window.Height();
    if (left + width > forms::Screen::Width()) {
        left = forms::Screen::Width() - width;
        moved = true;
    }
    if (top + height > forms::Screen::Height()) {
        top = forms::Screen::Height() - height;
        moved = true;
    }
    if (moved)
        window.Move(left, top);
}

void ApplyColorText(forms::TextBox& colorText, forms::PictureBox& swatch)
{
    QString text = colorText.Text();
    int32_t colour = 0;
    if (ParseColorText(text, colour)) {
        swatch.setBackColor(colour);
        colorText.setText(text);
    } else {
        colorText.setText(FormatColorHex(swatch.BackColor()));
    }
}

}  // namespace mGlobals
