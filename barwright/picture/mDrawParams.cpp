#include "barwright/picture/mDrawParams.h"

#include "barwright/common/CheckerBrush.h"
#include "platform/forms/PictureBox.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"

#include <cstdlib>

namespace mDrawParams {

namespace {

// The palette keeps entries 7 and 8 in the other order.
constexpr std::array<PaletteEntry, 17> kPalette16 = {{
    {0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},     {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0},   {128, 128, 0, 0},   {128, 128, 128, 0},
    {192, 192, 192, 0}, {0, 0, 255, 0},     {0, 255, 0, 0},     {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0},   {255, 255, 255, 0},
    {33, 65, 97, 0},
}};

void drawLine(gdi::HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2, gdi::COLORREF c)
{
    const gdi::HPEN pen = gdi::CreatePen(gdi::PS_SOLID, 1, PaletteColor(int32_t(c)));
    const gdi::HGDIOBJ old = gdi::SelectObject(dc, pen);
    gdi::MoveToEx(dc, x1, y1, nullptr);
    gdi::LineTo(dc, x2, y2);
    gdi::SetPixelV(dc, x2, y2, PaletteColor(int32_t(c)));   // the end point belongs to it
    gdi::SelectObject(dc, old);
    gdi::DeleteObject(pen);
}

}  // namespace

const std::array<PaletteEntry, 17>& Palette16Entries()
{
    return kPalette16;
}

void Create16ColorPalette()
{
    if (gPalette16 != 0)
        return;
    std::array<gdi::PALETTEENTRY, kPalette16.size()> entries{};
    for (size_t i = 0; i < entries.size(); ++i) {
        const PaletteEntry& e = kPalette16[i];
        entries[i] = gdi::PALETTEENTRY{e.red, e.green, e.blue, e.flags};
    }
    gPalette16 = gdi::CreatePalette(entries.data(), int32_t(entries.size()));
}

void Draw3DBorder(gdi::HDC dc, int32_t width, int32_t height, bool sunken)
{
    const int32_t w = width - 1;
    const int32_t h = height - 1;
    const gdi::COLORREF shadow = gdi::GetSysColor(gdi::COLOR_BTNSHADOW);
    const gdi::COLORREF light = gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT);
    const gdi::COLORREF topLeft = sunken ? shadow : light;
    const gdi::COLORREF bottomRight = sunken ? light : shadow;
    drawLine(dc, 0, 0, w, 0, topLeft);
    drawLine(dc, 0, 0, 0, h, topLeft);
    drawLine(dc, 0, h, w, h, bottomRight);
    drawLine(dc, w, 0, w, h, bottomRight);
}

void Draw3DBorder(forms::PictureBox& pic, bool sunken)
{
    Draw3DBorder(pic.hDC(), rt::CLng(pic.ScaleWidth() / pic.unitsPerPixelX()),
                 rt::CLng(pic.ScaleHeight() / pic.unitsPerPixelY()), sunken);
}

int32_t GetDrawToolCode(const QString& key)
{
    static const std::array<const char*, 12> keys = {
        "id_select",  "id_pencil",         "id_pickup",    "id_fill",
        "id_line",    "id_dither",         "id_framebox",  "id_framefilledbox",
        "id_filledbox", "id_framecircle", "id_framefilledcircle", "id_filledcircle"};
    for (size_t i = 0; i < keys.size(); ++i) {
        if (key == QLatin1String(keys[i]))
            return ToolSelect + int32_t(i);
    }
    return ToolSelect;
}

void CreateBackgroundBrushes()
{
    if (gCheckerBrush == 0)
        gCheckerBrush = CreateCheckerBrush();
    if (gHatchBrush == 0) {
        gHatchBrush = gdi::CreateHatchBrush(
            gdi::HS_BDIAGONAL, PaletteColor(int32_t(gdi::GetSysColor(gdi::COLOR_BTNFACE))));
    }
}

void FreeDrawResources()
{
    if (gCheckerBrush != 0) {
        gdi::DeleteObject(gCheckerBrush);
        gCheckerBrush = 0;
    }
    if (gHatchBrush != 0) {
        gdi::DeleteObject(gHatchBrush);
        gHatchBrush = 0;
    }
    FreeColorProbe();
    if (gPalette16 != 0) {
        gdi::DeleteObject(gPalette16);
        gPalette16 = 0;
    }
}

void ReplaceImageColor(gdi::HDC dc, int32_t oldColor, int32_t newColor)
{
    for (int32_t x = 0; x < gPicWidth; ++x) {
        for (int32_t y = 0; y < gPicHeight; ++y) {
            if (int32_t(gdi::GetPixel(dc, x, y)) == oldColor)
                gdi::SetPixelV(dc, x, y, PaletteColor(newColor));
        }
    }
}

}  // namespace mDrawParams
