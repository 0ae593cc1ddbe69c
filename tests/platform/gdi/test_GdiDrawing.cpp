// Lines, shapes, brushes, focus rectangles and flood fill.

#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gdi;

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
}  // namespace

using GdiDrawing = GdiCanvas;

TEST_F(GdiDrawing, LineLeavesOutItsEndPoint)
{
    fill(kWhite);
    Selected pen(dc, CreatePen(PS_SOLID, 1, PALETTERGB(255, 0, 0)));
    MoveToEx(dc, 2, 3, nullptr);
    LineTo(dc, 10, 3);
    EXPECT_EQ(shape(kRed, 0, 3, 12, 4), "..########..\n");
    // Drawn back the other way, both ends are covered, as the line tool does.
    LineTo(dc, 2, 3);
    EXPECT_EQ(shape(kRed, 0, 3, 12, 4), "..#########.\n");

    fill(kWhite);
    MoveToEx(dc, 5, 5, nullptr);
    LineTo(dc, 5, 5);
    EXPECT_EQ(count(kRed), 0) << "a line to its own start draws nothing";
    POINT pos;
    GetCurrentPositionEx(dc, &pos);
    EXPECT_EQ(pos.x, 5);

    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 4, 4);
    EXPECT_EQ(shape(kRed, 0, 0, 5, 5), "#....\n.#...\n..#..\n...#.\n.....\n");
    MoveToEx(dc, 20, 0, nullptr);
    LineTo(dc, 20, 6);
    EXPECT_EQ(count(kRed), 4 + 6);
}

TEST_F(GdiDrawing, RopModesOfThePen)
{
    fill(RGB(0x12, 0x34, 0x56));
    Selected pen(dc, CreatePen(PS_SOLID, 1, RGB(0xFF, 0x00, 0x0F)));
    struct Case {
        int32_t mode;
        COLORREF expected;
    };
    const Case cases[] = {{R2_XORPEN, RGB(0xED, 0x34, 0x59)}, {R2_NOT, RGB(0xED, 0xCB, 0xA9)},
                          {R2_NOP, RGB(0x12, 0x34, 0x56)},    {R2_BLACK, 0},
                          {R2_WHITE, kWhite},                 {R2_COPYPEN, RGB(0xFF, 0, 0x0F)}};
    int32_t y = 0;
    for (const Case& c : cases) {
        SetROP2(dc, c.mode);
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, 3, y);
        EXPECT_EQ(at(1, y), c.expected) << "mode " << c.mode;
        ++y;
    }
    // XOR twice restores.
    SetROP2(dc, R2_XORPEN);
    Rectangle(dc, 4, 10, 12, 16);
    Rectangle(dc, 4, 10, 12, 16);
    // Five of the six lines changed their three pixels; the rectangles cancel out.
    EXPECT_EQ(count(RGB(0x12, 0x34, 0x56)), width * height - 5 * 3);
}

TEST_F(GdiDrawing, RectangleExcludesRightAndBottom)
{
    fill(kWhite);
    Selected pen(dc, CreatePen(PS_SOLID, 1, kRed));
    Selected brush(dc, CreateSolidBrush(kBlue));
    Rectangle(dc, 1, 1, 5, 7);  // the editor's box from (1, 1) to (4, 6)
    EXPECT_EQ(shape(kRed, 0, 0, 6, 8),
              "......\n.####.\n.#..#.\n.#..#.\n.#..#.\n.#..#.\n.####.\n......\n");
    EXPECT_EQ(shape(kBlue, 0, 0, 6, 8),
              "......\n......\n..##..\n..##..\n..##..\n..##..\n......\n......\n");
    // Corners given the other way round draw the same.
    fill(kWhite);
    Rectangle(dc, 5, 7, 1, 1);
    EXPECT_EQ(count(kRed), 16);

    // Without a pen the interior loses the right column and bottom row.
    fill(kWhite);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 1, 1, 5, 7);
    EXPECT_EQ(count(kBlue), 3 * 5);
    // A hollow brush leaves the inside alone.
    fill(kWhite);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 1, 1, 5, 7);
    EXPECT_EQ(count(kWhite), width * height - 16);
}

TEST_F(GdiDrawing, EllipseStaysInItsBoxAndIsSymmetric)
{
    const std::pair<int32_t, int32_t> sizes[] = {{1, 1},  {2, 2},  {3, 3}, {5, 9},
                                                 {16, 16}, {17, 8}, {30, 31}};
    for (const auto& [w, h] : sizes) {
        fill(kWhite);
        Selected pen(dc, CreatePen(PS_SOLID, 1, kRed));
        Selected brush(dc, CreateSolidBrush(kBlue));
        Ellipse(dc, 1, 0, 1 + w, h);
        int32_t minX = 99, maxX = -1, minY = 99, maxY = -1;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                if (at(x, y) == kWhite) continue;
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
                EXPECT_EQ(at(1 + (w - 1) - (x - 1), y), at(x, y)) << w << "x" << h;
                EXPECT_EQ(at(x, (h - 1) - y), at(x, y)) << w << "x" << h;
            }
        EXPECT_EQ(minX, 1);
        EXPECT_EQ(maxX, w) << "touches the right edge, which is excluded";
        EXPECT_EQ(minY, 0);
        EXPECT_EQ(maxY, h - 1);
    }
    fill(kWhite);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Ellipse(dc, 0, 0, 3, 3);
    EXPECT_EQ(shape(RGB(0, 0, 0), 0, 0, 3, 3), ".#.\n###\n.#.\n");
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    // A large circle has an outline in the pen colour around a brush interior.
    fill(kWhite);
    Selected pen(dc, CreatePen(PS_SOLID, 1, kRed));
    Selected brush(dc, CreateSolidBrush(kBlue));
    Ellipse(dc, 0, 0, 16, 16);
    EXPECT_EQ(at(8, 8), kBlue);
    EXPECT_EQ(at(0, 8), kRed);
    EXPECT_EQ(at(15, 7), kRed);
    EXPECT_EQ(at(8, 0), kRed);
    EXPECT_EQ(at(0, 0), kWhite);
}

TEST_F(GdiDrawing, FloodFillStopsAtTheBorderColour)
{
    fill(kWhite);
    Selected pen(dc, CreatePen(PS_SOLID, 1, kRed));
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 2, 2, 10, 10);
    Selected brush(dc, CreateSolidBrush(kBlue));
    EXPECT_TRUE(ExtFloodFill(dc, 5, 5, PALETTERGB(255, 0, 0), FLOODFILLBORDER));
    EXPECT_EQ(count(kBlue), 6 * 6);
    EXPECT_EQ(count(kRed), 28);
    EXPECT_FALSE(ExtFloodFill(dc, 2, 2, kRed, FLOODFILLBORDER)) << "seed on the border";
    EXPECT_FALSE(ExtFloodFill(dc, -1, 5, kRed, FLOODFILLBORDER));
    EXPECT_FALSE(ExtFloodFill(dc, 5, height, kRed, FLOODFILLSURFACE));
}

TEST_F(GdiDrawing, SurfaceFillIsFourConnected)
{
    fill(kWhite);
    // A diagonal wall: 4-connected filling cannot pass between its pixels.
    for (int32_t i = 0; i < width; ++i) SetPixel(dc, i, i, kRed);
    Selected brush(dc, CreateSolidBrush(kBlue));
    EXPECT_TRUE(ExtFloodFill(dc, width - 1, 0, PALETTERGB(255, 255, 255), FLOODFILLSURFACE));
    EXPECT_EQ(count(kBlue), width * (width - 1) / 2);
    EXPECT_EQ(at(0, width - 1), kWhite);
    EXPECT_FALSE(ExtFloodFill(dc, 0, 5, kRed, FLOODFILLSURFACE)) << "seed not the surface";
    // Filling a surface with its own colour ends.
    Selected same(dc, CreateSolidBrush(kWhite));
    EXPECT_TRUE(ExtFloodFill(dc, 0, width - 1, kWhite, FLOODFILLSURFACE));
}

TEST_F(GdiDrawing, HugeFloodFillRunsWithoutRecursion)
{
    makeCanvas(4000, 4000);
    Selected brush(dc, CreateSolidBrush(kRed));
    // A comb of walls makes a long serpentine region.
    for (int32_t x = 2; x < width; x += 4) {
        const int32_t y0 = (x / 4) % 2 ? 0 : 1;
        for (int32_t y = y0; y < y0 + height - 1; ++y)
            BitmapPixels(bmp)[size_t(y) * 4000 + x] = kBlue;
    }
    EXPECT_TRUE(ExtFloodFill(dc, 0, 0, 0, FLOODFILLSURFACE));
    EXPECT_EQ(at(width - 1, height - 1), kRed);
    EXPECT_EQ(count(0), 0);
}

TEST_F(GdiDrawing, PatternBrushTilesFromTheBrushOrigin)
{
    const HBITMAP tile = CreateBitmap(2, 2);
    uint32_t* t = BitmapPixels(tile);
    t[0] = kRed;  // (0, 0)
    t[1] = t[2] = t[3] = kBlue;
    const HBRUSH brush = CreatePatternBrush(tile);
    ASSERT_TRUE(DeleteObject(tile)) << "the brush keeps its own copy";
    const RECT r{1, 1, 7, 5};
    FillRect(dc, &r, brush);
    EXPECT_EQ(shape(kRed, 0, 0, 8, 6),
              "........\n........\n..#.#.#.\n........\n..#.#.#.\n........\n");
    POINT old;
    SetBrushOrgEx(dc, 1, 1, &old);
    EXPECT_EQ(old.x, 0);
    FillRect(dc, &r, brush);
    EXPECT_EQ(shape(kRed, 0, 0, 8, 6),
              "........\n.#.#.#..\n........\n.#.#.#..\n........\n........\n");
    EXPECT_TRUE(DeleteObject(brush));
}

TEST_F(GdiDrawing, HatchGapsFollowTheBackgroundMode)
{
    fill(RGB(1, 1, 1));
    const HBRUSH hatch = CreateHatchBrush(HS_BDIAGONAL, RGB(192, 192, 192));
    const RECT r{0, 0, 8, 8};
    SetBkColor(dc, kWhite);
    FillRect(dc, &r, hatch);
    EXPECT_EQ(count(RGB(192, 192, 192)), 8);
    EXPECT_EQ(count(kWhite), 56);
    EXPECT_EQ(at(0, 7), RGB(192, 192, 192)) << "rises from bottom-left to top-right";
    EXPECT_EQ(at(7, 0), RGB(192, 192, 192));
    fill(RGB(1, 1, 1));
    SetBkMode(dc, TRANSPARENT);
    FillRect(dc, &r, hatch);
    EXPECT_EQ(count(RGB(1, 1, 1)), width * height - 8);
    EXPECT_TRUE(DeleteObject(hatch));
    // A system colour index + 1 works as a brush.
    const RECT one{0, 0, 1, 1};
    FillRect(dc, &one, HBRUSH(COLOR_BTNSHADOW + 1));
    EXPECT_EQ(at(0, 0), RGB(128, 128, 128));
}

TEST_F(GdiDrawing, FrameAndFocusRectangles)
{
    fill(kWhite);
    const RECT r{2, 2, 8, 6};
    FrameRect(dc, &r, HBRUSH(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(count(0), 2 * 6 + 2 * 2);
    fill(RGB(10, 20, 30));
    std::vector<uint32_t> before(BitmapPixels(bmp), BitmapPixels(bmp) + width * height);
    // Four nested frames, as the selection frame draws them.
    RECT f{3, 3, 20, 15};
    for (int i = 0; i < 4; ++i) {
        DrawFocusRect(dc, &f);
        InflateRect(&f, -1, -1);
    }
    EXPECT_EQ(at(3, 3), RGB(245, 235, 225));
    EXPECT_EQ(at(4, 3), RGB(10, 20, 30)) << "dotted: every other pixel";
    EXPECT_GT(count(RGB(245, 235, 225)), 0);
    SetRect(&f, 3, 3, 20, 15);
    for (int i = 0; i < 4; ++i) {
        DrawFocusRect(dc, &f);
        InflateRect(&f, -1, -1);
    }
    EXPECT_TRUE(std::equal(before.begin(), before.end(), BitmapPixels(bmp)));
    // Degenerate frames (one row or column) are also undone by a second call.
    const RECT line{0, 20, 9, 21};
    DrawFocusRect(dc, &line);
    DrawFocusRect(dc, &line);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), BitmapPixels(bmp)));
}

TEST_F(GdiDrawing, DashedAndWidePens)
{
    fill(kWhite);
    {
        Selected pen(dc, CreatePen(PS_DOT, 1, kRed));
        SetBkMode(dc, TRANSPARENT);
        MoveToEx(dc, 0, 0, nullptr);
        LineTo(dc, 12, 0);
        EXPECT_EQ(shape(kRed, 0, 0, 12, 1), "###...###...\n");
    }
    {
        Selected pen(dc, CreatePen(PS_SOLID, 3, kBlue));
        MoveToEx(dc, 5, 10, nullptr);
        LineTo(dc, 15, 10);
        EXPECT_EQ(at(10, 9), kBlue);
        EXPECT_EQ(at(10, 11), kBlue);
        EXPECT_EQ(at(10, 12), kWhite);
    }
    {
        fill(kWhite);
        Selected pen(dc, CreatePen(PS_INSIDEFRAME, 3, kBlue));
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, 0, 0, 10, 10);
        EXPECT_EQ(count(kBlue), 100 - 16);
    }
}

TEST_F(GdiDrawing, OutOfRangeArgumentsAreSafe)
{
    fill(kWhite);
    Selected pen(dc, CreatePen(PS_SOLID, 5, kRed));
    const int32_t big = INT32_MAX, small = INT32_MIN;
    EXPECT_EQ(SetPixel(dc, big, small, kRed), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, -1, 0), CLR_INVALID);
    MoveToEx(dc, small, small, nullptr);
    LineTo(dc, big, big);  // crosses the bitmap diagonally
    EXPECT_EQ(at(16, 16), kRed);
    MoveToEx(dc, small, 3, nullptr);
    LineTo(dc, big, 3);
    Rectangle(dc, small, small, big, big);
    Ellipse(dc, small, small, big, big);
    Ellipse(dc, -100000, 5, 100000, 20);
    const RECT huge{small, small, big, big};
    FillRect(dc, &huge, HBRUSH(GetStockObject(GRAY_BRUSH)));
    FrameRect(dc, &huge, HBRUSH(GetStockObject(GRAY_BRUSH)));
    DrawFocusRect(dc, &huge);
    PatBlt(dc, small, small, big, big, PATINVERT);
    PatBlt(dc, 5, 5, small, small, BLACKNESS);
    EXPECT_FALSE(FillRect(dc, nullptr, HBRUSH(GetStockObject(GRAY_BRUSH))));
    const POINT pts[3] = {{small, 0}, {big, big}, {0, small}};
    EXPECT_TRUE(Polyline(dc, pts, 3));
    EXPECT_FALSE(Polyline(dc, nullptr, 3));
}
