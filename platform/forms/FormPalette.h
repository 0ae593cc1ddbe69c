#pragma once
// Internal: the colours of the programs' windows. Disabled text is drawn in
// the system's grey text colour, which stays readable on the button face and
// on white; the style's own is too light on the button face that disabled
// fields take.

namespace forms::detail {
// Sets, once, the application palette's disabled text colours.
void useFormPalette();
}  // namespace forms::detail
