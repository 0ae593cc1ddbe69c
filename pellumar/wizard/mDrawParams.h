#pragma once
// Pellumar's own share of the drawing module: the canvas grid brush it makes
// at window load and the resources it frees when the window closes. The
// parameters and colour routines themselves are shared with Barwright.

#include "barwright/common/DrawingParameters.h"
#include "barwright/common/StandardColors.h"

namespace mDrawParams {
// A namespace of its own, so these never meet the picture editor's
// procedures of the same names in one link.
inline namespace wizard {

// The 8 x 8 checker brush of the canvas grid, once (no hatch brush).
void CreateBackgroundBrushes();
// The checker and hatch brushes and the colour probe, each when it exists.
void FreeDrawResources();

}  // namespace wizard
}  // namespace mDrawParams
