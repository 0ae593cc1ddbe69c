#include "barwright/picture/mDrawParams.h"

namespace mDrawParams {

void FreeDrawResources()
{
    // The shared brushes and palette are added with the drawing engine.
}

}  // namespace mDrawParams
