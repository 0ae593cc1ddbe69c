#include "barwright/common/StandardColors.h"

#include "barwright/common/DrawingParameters.h"
#include "platform/gdi/Gdi.h"
#include "platform/runtime/Error.h"

#include <QString>

#include <array>
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

}  // namespace

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

int32_t StandardColor(int16_t index)
{
    checkIndex(index);
    return int32_t(kStandardColors[size_t(index)]);
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

void FreeColorProbe()
{
    if (g_probe.dc != 0) {
        gdi::SelectObject(g_probe.dc, g_probe.initialBitmap);
        gdi::DeleteObject(g_probe.bitmap);
        gdi::DeleteDC(g_probe.dc);
        g_probe = Probe{};
    }
    g_colorsFilled = false;
    g_componentsFilled = false;
}

}  // namespace mDrawParams
