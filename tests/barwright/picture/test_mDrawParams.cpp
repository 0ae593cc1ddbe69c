// The drawing parameters' colour rules, brushes and helpers.
#include "barwright/picture/mDrawParams.h"
#include "platform/runtime/Error.h"

#include <gmock/gmock.h>

using namespace mDrawParams;

namespace {

class DrawParamsTest : public ::testing::Test {
protected:
    void SetUp() override { FreeDrawResources(); }
    void TearDown() override
    {
        gdi::SetDisplayBitsPerPixel(32);
        FreeDrawResources();
    }
};

TEST_F(DrawParamsTest, ToolCodesFollowTheKeysAndDefaultToSelect)
{
    const std::pair<const char*, int32_t> rows[] = {
        {"id_select", 1000},        {"id_pencil", 1001},      {"id_pickup", 1002},
        {"id_fill", 1003},          {"id_line", 1004},        {"id_dither", 1005},
        {"id_framebox", 1006},      {"id_framefilledbox", 1007}, {"id_filledbox", 1008},
        {"id_framecircle", 1009},   {"id_framefilledcircle", 1010},
        {"id_filledcircle", 1011},  {"", 1000},               {"id_rotate", 1000},
        {"ID_PENCIL", 1000}};
    for (const auto& [key, code] : rows)
        EXPECT_EQ(GetDrawToolCode(QString::fromLatin1(key)), code) << key;
}

TEST_F(DrawParamsTest, SplitColorHexReadsPairsOfTheSixDigitText)
{
    int16_t a = 0, b = 0, c = 0;
    SplitColorHex(0xFF, a, b, c);
    EXPECT_EQ((std::array{a, b, c}), (std::array<int16_t, 3>{0, 0, 255}));
    SplitColorHex(0x102030, a, b, c);
    EXPECT_EQ((std::array{a, b, c}), (std::array<int16_t, 3>{16, 32, 48}));
}

TEST_F(DrawParamsTest, ClosestStandardColourScoresComponentsAndPrefersTheLowerIndex)
{
    EXPECT_EQ(GetClosest16Color(int32_t(gdi::RGB(200, 200, 200))),
              int32_t(gdi::RGB(192, 192, 192)));
    EXPECT_EQ(GetClosest16Color(int32_t(gdi::RGB(64, 0, 0))), 0);
    EXPECT_EQ(GetClosest16Color(int32_t(gdi::RGB(0, 0, 128))), int32_t(gdi::RGB(0, 0, 128)));
    EXPECT_EQ(GetClosest16Color(int32_t(gdi::RGB(250, 10, 240))),
              int32_t(gdi::RGB(255, 0, 255)));
}

TEST_F(DrawParamsTest, StandardColoursAreIndexedZeroToFifteen)
{
    EXPECT_EQ(Get16Color(7), int32_t(gdi::RGB(192, 192, 192)));
    EXPECT_EQ(Get16Color(8), int32_t(gdi::RGB(128, 128, 128)));
    EXPECT_TRUE(Is16Color(int32_t(gdi::RGB(0, 128, 128))));
    EXPECT_FALSE(Is16Color(int32_t(gdi::RGB(97, 65, 33))));
    for (int16_t bad : {int16_t(-1), int16_t(16)}) {
        try {
            Get16Color(bad);
            ADD_FAILURE() << bad;
        } catch (const rt::Error& e) {
            EXPECT_EQ(e.number(), rt::errc::SubscriptOutOfRange);
        }
    }
    EXPECT_EQ(Palette16Entries()[7].red, 128);
    EXPECT_EQ(Palette16Entries()[16].blue, 97);
}

TEST_F(DrawParamsTest, SixteenColourDisplayRendersOnlyStandardColours)
{
    EXPECT_EQ(GetNearestDisplayColor(int32_t(gdi::RGB(97, 65, 33))),
              int32_t(gdi::RGB(97, 65, 33)));
    FreeDrawResources();
    gdi::SetDisplayBitsPerPixel(4);
    for (int32_t c : {int32_t(gdi::RGB(97, 65, 33)), int32_t(gdi::RGB(200, 10, 10)),
                      int32_t(gdi::RGB(250, 250, 240))})
        EXPECT_TRUE(Is16Color(GetNearestDisplayColor(c))) << c;
}

TEST_F(DrawParamsTest, BrushesAreMadeOnceAndFreedWithTheProbe)
{
    const gdi::LiveObjects before = gdi::CountLiveObjects();
    CreateBackgroundBrushes();
    const gdi::HBRUSH checker = gCheckerBrush;
    const gdi::HBRUSH hatch = gHatchBrush;
    CreateBackgroundBrushes();
    EXPECT_EQ(gCheckerBrush, checker);
    EXPECT_EQ(gHatchBrush, hatch);
    GetNearestDisplayColor(0);
    Create16ColorPalette();
    const gdi::HPALETTE palette = gPalette16;
    Create16ColorPalette();
    EXPECT_EQ(gPalette16, palette);
    EXPECT_EQ(gdi::CountLiveObjects().brushes, before.brushes + 2);
    EXPECT_EQ(gdi::CountLiveObjects().palettes, before.palettes + 1);
    FreeDrawResources();
    EXPECT_EQ(gCheckerBrush, 0);
    EXPECT_EQ(gHatchBrush, 0);
    EXPECT_EQ(gPalette16, 0);
    const gdi::LiveObjects after = gdi::CountLiveObjects();
    EXPECT_EQ(after.brushes, before.brushes);
    EXPECT_EQ(after.bitmaps, before.bitmaps);
    EXPECT_EQ(after.dcs, before.dcs);
    EXPECT_EQ(after.palettes, before.palettes);
}

TEST_F(DrawParamsTest, StandardPaletteIsARealPaletteOfSeventeenEntries)
{
    Create16ColorPalette();
    ASSERT_NE(gPalette16, 0);
    std::array<gdi::PALETTEENTRY, 20> entries{};
    ASSERT_EQ(gdi::GetPaletteEntries(gPalette16, 0, 20, entries.data()), 17u);
    const auto rgb = [](const gdi::PALETTEENTRY& e) {
        return std::array<int, 4>{e.peRed, e.peGreen, e.peBlue, e.peFlags};
    };
    EXPECT_EQ(rgb(entries[7]), (std::array<int, 4>{128, 128, 128, 0}));
    EXPECT_EQ(rgb(entries[8]), (std::array<int, 4>{192, 192, 192, 0}));
    EXPECT_EQ(rgb(entries[16]), (std::array<int, 4>{33, 65, 97, 0}));
}

TEST_F(DrawParamsTest, ThreeDBorderLightsTheTopLeftOfARaisedFrame)
{
    const gdi::HDC dc = gdi::CreateCompatibleDC(0);
    const gdi::HBITMAP bmp = gdi::CreateBitmap(10, 8);
    const gdi::HGDIOBJ initial = gdi::SelectObject(dc, bmp);
    const int32_t light = int32_t(gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
    const int32_t shadow = int32_t(gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
    for (bool sunken : {false, true}) {
        Draw3DBorder(dc, 10, 8, sunken);
        const int32_t tl = sunken ? shadow : light;
        const int32_t br = sunken ? light : shadow;
        EXPECT_EQ(int32_t(gdi::GetPixel(dc, 5, 0)), tl);
        EXPECT_EQ(int32_t(gdi::GetPixel(dc, 0, 4)), tl);
        EXPECT_EQ(int32_t(gdi::GetPixel(dc, 5, 7)), br);
        EXPECT_EQ(int32_t(gdi::GetPixel(dc, 9, 4)), br);
        EXPECT_EQ(int32_t(gdi::GetPixel(dc, 9, 7)), br);
        EXPECT_EQ(gdi::GetPixel(dc, 5, 4), 0u);
    }
    gdi::SelectObject(dc, initial);
    gdi::DeleteObject(bmp);
    gdi::DeleteDC(dc);
}

TEST_F(DrawParamsTest, ReplaceImageColorStaysInsideThePicture)
{
    gPicWidth = 16;
    gPicHeight = 16;
    const gdi::HDC dc = gdi::CreateCompatibleDC(0);
    const gdi::HBITMAP bmp = gdi::CreateBitmap(16, 17);   // black, with the mask row
    const gdi::HGDIOBJ initial = gdi::SelectObject(dc, bmp);
    gdi::SetPixelV(dc, 3, 3, 0xFF);
    ReplaceImageColor(dc, 0, 0xFFFFFF);
    EXPECT_EQ(gdi::GetPixel(dc, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(gdi::GetPixel(dc, 3, 3), 0xFFu);
    EXPECT_EQ(gdi::GetPixel(dc, 0, 16), 0u);
    gdi::SelectObject(dc, initial);
    gdi::DeleteObject(bmp);
    gdi::DeleteDC(dc);
}

TEST(PointInRect, IncludesRightAndBottomButNotEmptyRectangles)
{
    EXPECT_TRUE(IsPointInRect(gdi::RECT{2, 2, 5, 5}, 5, 5));
    EXPECT_TRUE(IsPointInRect(gdi::RECT{2, 2, 5, 5}, 2, 2));
    EXPECT_FALSE(IsPointInRect(gdi::RECT{2, 2, 5, 5}, 6, 5));
    EXPECT_FALSE(IsPointInRect(gdi::RECT{2, 2, 2, 5}, 2, 3));   // one pixel wide: empty
}

}  // namespace
