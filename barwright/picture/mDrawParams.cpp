#include "barwright/picture/mDrawParams.h"

#include "platform/forms/PictureBox.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"

#include <cstdlib>

namespace mDrawParams {

namespace {

constexpr std::array<gdi::COLORREF, 16> kStandardColors = {
    gdi::RGB(0, 0, 0),       gdi::RGB(0, 0, 128),     gdi::RGB(0, 128, 0),
    gdi::RGB(0, 128, 128),   gdi::RGB(128, 0, 0),     gdi::RGB(128, 0, 128),
    gdi::RGB(128, 128, 0),   gdi::RGB(192, 192, 192), gdi::RGB(128, 128, 128),
    gdi::RGB(0, 0, 255),     gdi::RGB(0, 255, 0),     gdi::RGB(0, 255, 255),
    gdi::RGB(255, 0, 0),     gdi::RGB(255, 0, 255),   gdi::RGB(255, 255, 0),
    gdi::RGB(255, 255, 255),
};

// The palette keeps entries 7 and 8 in the other order.
constexpr std::array<PaletteEntry, 17> kPalette16 = {{
    {0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},     {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0},   {128, 128, 0, 0},   {128, 128, 128, 0},
    {192, 192, 192, 0}, {0, 0, 255, 0},     {0, 255, 0, 0},     {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0},   {255, 255, 255, 0},
    {33, 65, 97, 0},
}};

struct Probe {
    gdi::HDC dc = 0;
    gdi::HBITMAP bitmap = 0;
    gdi::HGDIOBJ initialBitmap = 0;
};
Probe g_probe;

std::array<int32_t, 16> g_colors{};
bool g_colorsFilled = false;
std::array<std::array<int16_t, 3>, 16> g_components{};
bool g_componentsFilled = false;

void checkIndex(int16_t index)
{
    if (index < 0 || index > 15)
        rt::raise(rt::errc::SubscriptOutOfRange);
}

int16_t componentScore(int16_t a, int16_t b)
{
    const int d = std::abs(a - b);
    if (d < 32)
        return 3;
    if (d < 64)
        return 2;
    if (d < 128)
        return 1;
    return 0;
}

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

int32_t Get16Color(int16_t index)
{
    checkIndex(index);
    if (!g_colorsFilled) {
        for (size_t i = 0; i < g_colors.size(); ++i)
            g_colors[i] = GetNearestDisplayColor(int32_t(kStandardColors[i]));
        g_colorsFilled = true;
    }
    return g_colors[size_t(index)];
}

void Create16ColorPalette()
{
    if (gPalette16 == 0)
        gPalette16 = 1;
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

int32_t GetNearestDisplayColor(int32_t color)
{
    if (g_probe.dc == 0) {
        const gdi::HDC desktop = gdi::GetDC(0);
        g_probe.dc = gdi::CreateCompatibleDC(desktop);
        g_probe.bitmap = gdi::CreateCompatibleBitmap(desktop, 1, 1);
        g_probe.initialBitmap = gdi::SelectObject(g_probe.dc, g_probe.bitmap);
        gdi::ReleaseDC(0, desktop);
    }
    gdi::SetPixelV(g_probe.dc, 0, 0, PaletteColor(color));
    return int32_t(gdi::GetPixel(g_probe.dc, 0, 0));
}

void SplitColorHex(int32_t color, int16_t& c1, int16_t& c2, int16_t& c3)
{
    const QString s = QString::number(uint32_t(color), 16).rightJustified(6, u'0');
    c1 = int16_t(s.mid(0, 2).toInt(nullptr, 16));
    c2 = int16_t(s.mid(2, 2).toInt(nullptr, 16));
    c3 = int16_t(s.mid(4, 2).toInt(nullptr, 16));
}

void Get16ColorComponents(int16_t index, int16_t& c1, int16_t& c2, int16_t& c3)
{
    checkIndex(index);
    if (!g_componentsFilled) {
        for (int16_t i = 0; i < 16; ++i) {
            auto& c = g_components[size_t(i)];
            SplitColorHex(Get16Color(i), c[0], c[1], c[2]);
        }
        g_componentsFilled = true;
    }
    const auto& c = g_components[size_t(index)];
    c1 = c[0];
    c2 = c[1];
    c3 = c[2];
}

bool Is16Color(int32_t color)
{
    for (int16_t i = 0; i < 16; ++i) {
        if (Get16Color(i) == color)
            return true;
    }
    return false;
}

int32_t GetClosest16Color(int32_t color)
{
    int16_t c1 = 0, c2 = 0, c3 = 0;
    SplitColorHex(color, c1, c2, c3);
    int16_t bestScore = 0;
    int32_t best = 0;
    for (int16_t i = 0; i < 16; ++i) {
        const int32_t candidate = Get16Color(i);
        if (candidate == color)
            return color;
        int16_t d1 = 0, d2 = 0, d3 = 0;
        Get16ColorComponents(i, d1, d2, d3);
        const int16_t score =
            int16_t(componentScore(c1, d1) + componentScore(c2, d2) + componentScore(c3, d3));
        if (score > bestScore) {
            bestScore = score;
            best = candidate;
        }
    }
    return best;
}

void CreateBackgroundBrushes()
{
    if (gCheckerBrush == 0) {
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
    if (g_probe.dc != 0) {
        gdi::SelectObject(g_probe.dc, g_probe.initialBitmap);
        gdi::DeleteObject(g_probe.bitmap);
        gdi::DeleteDC(g_probe.dc);
        g_probe = Probe{};
    }
    gPalette16 = 0;
    // The rendered colours belong to the display the probe saw.
    g_colorsFilled = false;
    g_componentsFilled = false;
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
