#pragma once
// The checker brush that the picture editors paint behind transparent pixels:
// an 8 x 8 pattern of button face and button shadow.

#include "platform/gdi/Gdi.h"

namespace mDrawParams {

// A new pattern brush; the caller deletes it.
gdi::HBRUSH CreateCheckerBrush();

}  // namespace mDrawParams
