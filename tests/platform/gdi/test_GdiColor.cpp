// Display depth, colour mapping, device capabilities and system colours.

#include "tests/platform/gdi/GdiTestSupport.h"

#include <set>

using namespace gdi;

namespace {

const std::set<COLORREF>& standard16()
{
    static const std::set<COLORREF> s = {
        RGB(0, 0, 0),       RGB(0, 0, 128),     RGB(0, 128, 0),   RGB(0, 128, 128),
        RGB(128, 0, 0),     RGB(128, 0, 128),   RGB(128, 128, 0), RGB(192, 192, 192),
        RGB(128, 128, 128), RGB(0, 0, 255),     RGB(0, 255, 0),   RGB(0, 255, 255),
        RGB(255, 0, 0),     RGB(255, 0, 255),   RGB(255, 255, 0), RGB(255, 255, 255)};
    return s;
}

// A spread of colours over the whole cube, including odd values.
std::vector<COLORREF> sampleColors()
{
    std::vector<COLORREF> v;
    for (int r = 0; r < 256; r += 37)
        for (int g = 0; g < 256; g += 41)
            for (int b = 0; b < 256; b += 29) v.push_back(RGB(uint8_t(r), uint8_t(g), uint8_t(b)));
    v.push_back(RGB(97, 65, 33));
    v.push_back(RGB(255, 255, 255));
    return v;
}

}  // namespace

using GdiColor = GdiCanvas;

TEST_F(GdiColor, TrueColourReadsBackExactlyWithoutTheFlag)
{
    for (COLORREF c : sampleColors()) {
        EXPECT_EQ(SetPixel(dc, 1, 1, c | PaletteRelative), c);
        EXPECT_EQ(at(1, 1), c);
        EXPECT_TRUE(SetPixelV(dc, 2, 2, c));
        EXPECT_EQ(at(2, 2), c);
    }
    EXPECT_EQ(GetNearestColor(dc, PALETTERGB(97, 65, 33)), RGB(97, 65, 33));
}

TEST_F(GdiColor, SixteenColourDisplayStoresOnlyStandardColours)
{
    SetDisplayBitsPerPixel(4);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 4);
    EXPECT_EQ(GetDeviceCaps(dc, NUMCOLORS), 16);
    for (COLORREF c : sampleColors()) {
        const COLORREF stored = SetPixel(dc, 3, 3, c | PaletteRelative);
        EXPECT_EQ(at(3, 3), stored);
        EXPECT_TRUE(standard16().count(stored)) << std::hex << c << " -> " << stored;
        EXPECT_EQ(GetNearestColor(dc, c), stored);
    }
    for (COLORREF c : standard16()) EXPECT_EQ(SetPixel(dc, 0, 0, c | PaletteRelative), c);
    // Drawing calls map as well.
    {
        Selected brush(dc, CreateSolidBrush(RGB(97, 65, 33)));
        const RECT r{0, 0, 4, 4};
        FillRect(dc, &r, HBRUSH(GetCurrentObject(dc, OBJ_BRUSH)));
        EXPECT_TRUE(standard16().count(at(1, 1)));
    }
}

TEST_F(GdiColor, PaletteDisplayMapsToItsSystemPalette)
{
    SetDisplayBitsPerPixel(8);
    EXPECT_EQ(GetDeviceCaps(dc, SIZEPALETTE), 256);
    EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE, RC_PALETTE);
    PALETTEENTRY sys[256];
    ASSERT_EQ(GetSystemPaletteEntries(dc, 0, 256, sys), 256u);
    std::set<COLORREF> palette;
    for (const auto& e : sys) palette.insert(RGB(e.peRed, e.peGreen, e.peBlue));
    EXPECT_EQ(palette.size(), 256u) << "no duplicate entries";
    for (COLORREF c : sampleColors()) EXPECT_TRUE(palette.count(SetPixel(dc, 0, 0, c)));
    for (COLORREF c : standard16()) EXPECT_EQ(SetPixel(dc, 0, 0, c), c);
    EXPECT_EQ(SetPixel(dc, 0, 0, PALETTERGB(192, 220, 192)), RGB(192, 220, 192));
    SetDisplayBitsPerPixel(32);
    EXPECT_EQ(GetSystemPaletteEntries(dc, 0, 256, sys), 0u);
    EXPECT_EQ(GetDeviceCaps(dc, NUMCOLORS), -1);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
}

TEST(GdiSysColors, ClassicDefaultsAndTranslation)
{
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
    EXPECT_EQ(GetSysColor(25), 0u);

    struct Case {
        int64_t in;
        COLORREF out;
    };
    const Case cases[] = {
        {0x8000000F, RGB(192, 192, 192)},
        {-2147483633, RGB(192, 192, 192)},  // the same value as a signed Long
        {0x02214161, RGB(97, 65, 33)},
        {0x00FFFFFF, RGB(255, 255, 255)},
        {0x80000019, CLR_INVALID},
        {0x04000000, CLR_INVALID},
        {int64_t(1) << 40, CLR_INVALID},
    };
    for (const Case& c : cases) EXPECT_EQ(TranslateColor(c.in), c.out) << std::hex << c.in;

    const int32_t index = COLOR_BTNFACE;
    const COLORREF grey = RGB(200, 200, 200);
    ASSERT_TRUE(SetSysColors(1, &index, &grey));
    EXPECT_EQ(TranslateColor(SystemColor(COLOR_BTNFACE)), grey);
    ResetSysColors();
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
}
