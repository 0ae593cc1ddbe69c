#pragma once
// The process-wide drawing parameters that the picture editor and the toolset
// wizard's area engines share: the picture size, mask and drawing colours,
// the current drawing tool and the canvas brushes.

#include "platform/gdi/Gdi.h"

#include <QString>

#include <cstdint>

namespace mDrawParams {

inline int32_t gMaskColor = -1;
inline int32_t gForeColor = -1;   // left colour
inline int32_t gBackColor = -1;   // right colour
inline QString gCurrentToolID;
inline QString gPreviousToolID;
inline int32_t gPicWidth = 16;
inline int32_t gPicHeight = 16;

inline gdi::HBRUSH gCheckerBrush = 0;   // 8 x 8 checker of the canvas grid
inline gdi::HBRUSH gHatchBrush = 0;     // marks mask pixels on the canvas

// A colour as handed to GDI pixel, pen and brush calls.
inline constexpr gdi::COLORREF PaletteColor(int32_t color)
{
    return gdi::COLORREF(color) | gdi::PaletteRelative;
}

}  // namespace mDrawParams
