#include "barwright/common/CheckerBrush.h"

#include "barwright/common/DrawingParameters.h"

namespace mDrawParams {

gdi::HBRUSH CreateCheckerBrush()
{
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
    const gdi::HBRUSH brush = gdi::CreatePatternBrush(bmp);
    gdi::DeleteObject(bmp);
    gdi::DeleteDC(dc);
    gdi::ReleaseDC(0, desktop);
    return brush;
}

}  // namespace mDrawParams
