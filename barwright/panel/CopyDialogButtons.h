#pragma once
// The command column of the two copy dialogs: OK, Cancel, Select All and
// Clear All, stacked at the given tops.

#include "platform/forms/CommandButton.h"

#include <array>

struct CopyDialogButtons {
    forms::CommandButton& ok;
    forms::CommandButton& cancel;
    forms::CommandButton& selectAll;
    forms::CommandButton& clearAll;

    // Captions, places, Enter and Esc; OK and Clear All start disabled, since
    // nothing is selected yet.
    void design(float left, const std::array<float, 4>& tops, float width, float height) const;
    // Moves the column, keeping each button's top and height.
    void align(float left, float width) const;
};
