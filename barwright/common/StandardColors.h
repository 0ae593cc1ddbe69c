#pragma once
// The colour routines of mDrawParams: the 16 standard colours as the display
// renders them (through a one-pixel colour probe), their components, and the
// closest-standard-colour rule. Shared by the picture editor, the screen grab
// and the toolset wizard.

#include <cstdint>

namespace mDrawParams {

// Standard colour `index` as the display renders it; error 9 outside 0..15.
int32_t Get16Color(int16_t index);
// Standard colour `index` as defined, whatever the display; error 9 outside 0..15.
int32_t StandardColor(int16_t index);
// The colour as the current display depth shows it.
int32_t GetNearestDisplayColor(int32_t color);
// Hex digits of the colour padded to 6: (blue, green, red) of a plain colour.
void SplitColorHex(int32_t color, int16_t& c1, int16_t& c2, int16_t& c3);
void Get16ColorComponents(int16_t index, int16_t& c1, int16_t& c2, int16_t& c3);
bool Is16Color(int32_t color);
int32_t GetClosest16Color(int32_t color);
// Deletes the colour probe and forgets the rendered colours, which belong to
// the display the probe saw.
void FreeColorProbe();

}  // namespace mDrawParams
