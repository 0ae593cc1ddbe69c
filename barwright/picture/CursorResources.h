#pragma once
// The program's cursor resources: the drawing tools' cursors 1000 to 1011
// (numbered by mDrawParams::GetDrawToolCode) and the screen grab's finder
// 1012. Each is drawn here, 32 x 32, with its hot spot on the pixel the tool
// acts on: the centre of the cross-hair, the pencil's and the pipette's tip,
// the end of the paint running from the bucket.

#include "platform/forms/StdPicture.h"

#include <cstdint>

namespace CursorResources {

inline constexpr int32_t FirstDrawCursor = 1000;
inline constexpr int32_t LastDrawCursor = 1011;
inline constexpr int32_t FinderCursor = 1012;

// The cursor picture of the resource (the same picture on every call); an
// empty one for a number that is no cursor resource.
forms::Picture LoadResCursor(int32_t id);

}  // namespace CursorResources
