#pragma once
// Internal: the font of the programs' windows. The forms' sizes are designed
// in twips for the original system font (8 points at 96 dpi); a desktop's
// default is larger and would cut captions the forms size to fit.

namespace forms::detail {
// Sets, once, the application font: the desktop's family at 11 pixels.
void useFormFont();
}  // namespace forms::detail
