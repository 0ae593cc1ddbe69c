#include "pellumar/wizard/mDrawParams.h"

#include "platform/gdi/Gdi.h"

namespace mDrawParams {
inline namespace wizard {

void CreateBackgroundBrushes()
{
    if (gCheckerBrush != 0)
        return;
    const gdi::HDC desktop = gdi::GetDC(0);
    const gdi::HDC dc = gdi::CreateCompatibleDC(desktop);
    const gdi::HBITMAP bmp = gdi::CreateCompatibleBitmap(desktop, 8, 8);
    const gdi::HGDIOBJ initial = gdi::SelectObject(dc, bmp);
    const gdi::COLORREF face = gdi::GetSysColor(gdi::COLOR_BTNFACE);
    const gdi::COLORREF shadow = gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x)
            gdi::SetPixelV(dc, x, y, PaletteColor(int32_t((x + y) % 2 ? shadow : face)));
    }
    gdi::SelectObject(dc, initial);
    gCheckerBrush = gdi::CreatePatternBrush(bmp);
    gdi::DeleteObject(bmp);
    gdi::DeleteDC(dc);
    gdi::ReleaseDC(0, desktop);
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
