#pragma once
// Drawing parameters of the tool picture editor, shared by the engines of the
// tool dialog, the screen grab and the connection's start values.

#include "platform/gdi/Gdi.h"

#include <QString>

#include <cstdint>

namespace mDrawParams {

inline int32_t gMaskColor = -1;
inline int32_t gForeColor = -1;   // left colour
inline int32_t gBackColor = -1;   // right colour
inline QString gCurrentToolID;
inline QString gPreviousToolID;
inline int16_t gPicWidth = 16;
inline int16_t gPicHeight = 16;

// Frees the shared brushes, palette and colour probe of the picture editor.
void FreeDrawResources();

}  // namespace mDrawParams
