// Handle table, selection rules, DC start state and live-object counts.

#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gdi;

namespace {

bool sameCounts(const LiveObjects& a, const LiveObjects& b)
{
    return a.bitmaps == b.bitmaps && a.dcs == b.dcs && a.pens == b.pens &&
           a.brushes == b.brushes && a.palettes == b.palettes && a.desktopDcs == b.desktopDcs;
}

}  // namespace

TEST(GdiObjects, LiveCountsReturnAfterCreateDeleteCycles)
{
    const LiveObjects before = CountLiveObjects();
    for (int round = 0; round < 50; ++round) {
        const HDC dc = CreateCompatibleDC(0);
        const HBITMAP bmp = CreateCompatibleBitmap(dc, 8, 8);
        const HPEN pen = CreatePen(PS_DOT, 1, RGB(1, 2, 3));
        const HBRUSH brush = CreateHatchBrush(HS_CROSS, RGB(4, 5, 6));
        const HBRUSH pattern = CreatePatternBrush(bmp);
        const PALETTEENTRY entries[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
        const HPALETTE pal = CreatePalette(entries, 2);
        const HDC screen = GetDC(0);
        const LiveObjects during = CountLiveObjects();
        EXPECT_EQ(during.bitmaps, before.bitmaps + 1);
        EXPECT_EQ(during.dcs, before.dcs + 1);
        EXPECT_EQ(during.pens, before.pens + 1);
        EXPECT_EQ(during.brushes, before.brushes + 2);
        EXPECT_EQ(during.palettes, before.palettes + 1);
        EXPECT_EQ(during.desktopDcs, before.desktopDcs + 1);

        const HGDIOBJ oldBmp = SelectObject(dc, bmp);
        const HGDIOBJ oldPen = SelectObject(dc, pen);
        const HGDIOBJ oldBrush = SelectObject(dc, brush);
        const HPALETTE oldPal = SelectPalette(dc, pal, false);
        SelectObject(dc, oldBmp);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        SelectPalette(dc, oldPal, false);
        EXPECT_TRUE(DeleteObject(bmp));
        EXPECT_TRUE(DeleteObject(pen));
        EXPECT_TRUE(DeleteObject(brush));
        EXPECT_TRUE(DeleteObject(pattern));
        EXPECT_TRUE(DeleteObject(pal));
        EXPECT_TRUE(DeleteDC(dc));
        EXPECT_EQ(ReleaseDC(0, screen), 1);
    }
    EXPECT_TRUE(sameCounts(CountLiveObjects(), before));
}

TEST(GdiObjects, SelectedObjectsCannotBeDeleted)
{
    const HDC dc = CreateCompatibleDC(0);
    const HDC other = CreateCompatibleDC(0);
    const HBITMAP bmp = CreateBitmap(4, 4);
    const HPEN pen = CreatePen(PS_SOLID, 1, 0);
    const HGDIOBJ initial = SelectObject(dc, bmp);
    const HGDIOBJ oldPen = SelectObject(dc, pen);

    EXPECT_FALSE(DeleteObject(bmp));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(SelectObject(other, bmp), 0) << "a bitmap lives in one DC at a time";
    EXPECT_EQ(GetCurrentObject(other, OBJ_BITMAP), GetCurrentObject(other, OBJ_BITMAP));

    SelectObject(dc, oldPen);
    EXPECT_TRUE(DeleteObject(pen));
    SelectObject(dc, initial);
    EXPECT_NE(SelectObject(other, bmp), 0) << "free again once deselected";
    // Deleting the DC releases its bitmap without putting anything back.
    EXPECT_TRUE(DeleteDC(other));
    EXPECT_TRUE(DeleteObject(bmp));
    EXPECT_FALSE(DeleteObject(bmp)) << "a second delete of the same handle fails";
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
}

TEST(GdiObjects, StaleHandlesDoNotReachNewObjects)
{
    const HBITMAP first = CreateBitmap(3, 3);
    ASSERT_TRUE(DeleteObject(first));
    std::vector<HBITMAP> later;
    for (int i = 0; i < 2000; ++i) later.push_back(CreateBitmap(1, 1));
    int32_t w = 0, h = 0;
    EXPECT_FALSE(GetBitmapSize(first, &w, &h));
    EXPECT_EQ(BitmapPixels(first), nullptr);
    for (HBITMAP b : later) {
        EXPECT_NE(b, first);
        DeleteObject(b);
    }
    // Small numbers are never handles (they stand for system-colour brushes).
    for (int32_t small = 0; small < 64; ++small) EXPECT_EQ(GetObjectType(small), 0);
}

TEST(GdiObjects, MemoryDcStartsInTheDocumentedState)
{
    const HDC dc = CreateCompatibleDC(0);
    const HBITMAP stock = GetCurrentObject(dc, OBJ_BITMAP);
    int32_t w = 0, h = 0;
    ASSERT_TRUE(GetBitmapSize(stock, &w, &h));
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
    EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
    // The shared stock bitmap is never changed through a DC.
    EXPECT_EQ(SetPixel(dc, 0, 0, RGB(9, 9, 9)), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 0, 0), 0u);
    // Stock objects survive a delete.
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), OBJ_PEN);
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(GdiObjects, DesktopDcDrawsOnTheScreenBitmap)
{
    SetScreenSize(64, 48);
    const HDC screen = GetDC(0);
    ASSERT_NE(screen, 0);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 64);
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), 48);
    SetPixel(screen, 63, 47, RGB(1, 2, 3));
    EXPECT_EQ(BitmapPixels(ScreenBitmap())[64 * 48 - 1], RGB(1, 2, 3));
    EXPECT_FALSE(DeleteObject(ScreenBitmap()));
    const HDC mem = CreateCompatibleDC(screen);
    EXPECT_EQ(SelectObject(mem, ScreenBitmap()), 0);
    EXPECT_EQ(GetDC(12345), 0);
    EXPECT_EQ(ReleaseDC(0, mem), 0) << "a memory DC is not released";
    EXPECT_TRUE(DeleteDC(mem));
    EXPECT_EQ(ReleaseDC(0, screen), 1);
    SetScreenSize(1024, 768);
}

TEST(GdiObjects, BadSizesAndHandlesAreRefused)
{
    EXPECT_EQ(CreateBitmap(0, 5), 0);
    EXPECT_EQ(CreateBitmap(5, -1), 0);
    EXPECT_EQ(CreateBitmap(INT32_MAX, INT32_MAX), 0);
    EXPECT_EQ(CreateCompatibleBitmap(777, 4, 4), 0);
    EXPECT_EQ(CreateCompatibleDC(777), 0);
    EXPECT_EQ(CreatePen(99, 1, 0), 0);
    EXPECT_EQ(CreateHatchBrush(6, 0), 0);
    EXPECT_EQ(CreatePatternBrush(0), 0);
    EXPECT_EQ(CreatePalette(nullptr, 3), 0);
    EXPECT_EQ(SelectObject(0, GetStockObject(BLACK_PEN)), 0);
    EXPECT_FALSE(DeleteObject(0));
    EXPECT_FALSE(DeleteObject(-5));
    EXPECT_EQ(GetPixel(0, 0, 0), CLR_INVALID);
    EXPECT_FALSE(LineTo(0, 1, 1));
}

TEST(GdiObjects, PaletteEntriesAreCopiedUpToTheEnd)
{
    PALETTEENTRY got[255] = {};
    const uint32_t n = GetPaletteEntries(GetStockObject(DEFAULT_PALETTE), 0, 255, got);
    EXPECT_EQ(n, 20u);
    EXPECT_EQ(got[8].peRed, 192);
    EXPECT_EQ(got[8].peGreen, 220);
    EXPECT_EQ(got[20].peRed, 0) << "entries past the end stay untouched";
}

TEST(GdiRects, EmptinessAndSetOperations)
{
    RECT a{0, 0, 10, 10}, b{5, 5, 20, 20}, r{};
    EXPECT_TRUE(IntersectRect(&r, &a, &b));
    const RECT overlap{5, 5, 10, 10};
    EXPECT_TRUE(EqualRect(&r, &overlap));
    EXPECT_TRUE(UnionRect(&r, &a, &b));
    EXPECT_EQ(r.right, 20);
    const RECT thin{3, 3, 3, 9};  // one inclusive pixel wide in the editor's terms
    EXPECT_TRUE(IsRectEmpty(&thin));
    EXPECT_TRUE(UnionRect(&r, &thin, &a));
    EXPECT_TRUE(EqualRect(&r, &a)) << "an empty rectangle takes no part in a union";
    EXPECT_FALSE(PtInRect(&a, {10, 5})) << "right edge excluded";
    EXPECT_TRUE(PtInRect(&a, {9, 9}));
    RECT big{INT32_MAX - 1, 0, INT32_MAX, 1};
    OffsetRect(&big, 100, 0);
    EXPECT_EQ(big.right, INT32_MAX) << "saturates instead of overflowing";
    EXPECT_FALSE(IntersectRect(&r, &a, &thin));
    EXPECT_TRUE(IsRectEmpty(&r));
}
