#include "barwright/common/mAPIDecl.h"

gdi::HBITMAP CreateImageBitmap(gdi::HDC dc, int32_t width, int32_t height)
{
    return gdi::CreateCompatibleBitmap(dc, width, height);
}

bool IsPointInRect(const gdi::RECT& rect, int32_t x, int32_t y)
{
    if (gdi::IsRectEmpty(&rect))
        return false;
    return rect.left <= x && x <= rect.right && rect.top <= y && y <= rect.bottom;
}
