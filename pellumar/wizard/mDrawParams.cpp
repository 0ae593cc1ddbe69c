#include "pellumar/wizard/mDrawParams.h"

#include "barwright/common/CheckerBrush.h"
#include "platform/gdi/Gdi.h"

namespace mDrawParams {
inline namespace wizard {

void CreateBackgroundBrushes()
{
    if (gCheckerBrush != 0)
        return;
    gCheckerBrush = CreateCheckerBrush();
}

void FreeDrawResources()
{
    if (gCheckerBrush != 0) {
        gdi::DeleteObject(gCheckerBrush);
        gCheckerBrush = 0;
    }
    FreeColorProbe();
    if (gHatchBrush != 0) {
        gdi::DeleteObject(gHatchBrush);
        gHatchBrush = 0;
    }
}

}  // namespace wizard
}  // namespace mDrawParams
