// Pelmcore's bitmap records: geometry, storage, rows, contexts, palettes.

#include "tests/platform/imaging/KernelTest.h"

#include "platform/gdi/Gdi.h"

namespace imaging::testing {
namespace {

struct Geometry {
    int32_t width, height, bits, bytesPerLine;
};

class GeometryTest : public KernelTest, public ::testing::WithParamInterface<Geometry> {};

TEST_P(GeometryTest, BytesPerLineIsPaddedToFourOrZeroWhenUnusable)
{
    const Geometry& g = GetParam();
    BitmapRecord r;
    std::memset(&r, 0xEE, sizeof(r));
    EXPECT_EQ(k.initRecord(&r, g.width, g.height, g.bits), g.bytesPerLine ? 1 : -2);
    EXPECT_EQ(r.bytesPerLine, g.bytesPerLine);
    EXPECT_EQ(r.sizeBytes, g.bytesPerLine * g.height);
    EXPECT_EQ(r.bits, nullptr);
    EXPECT_EQ(r.palette, 0);
    if (!g.bytesPerLine) {
        EXPECT_EQ(k.allocStorage(&r, 1), -2);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, GeometryTest, ::testing::Values(
    Geometry{1, 1, 1, 4}, Geometry{33, 2, 1, 8}, Geometry{3, 2, 4, 4}, Geometry{5, 1, 8, 8},
    Geometry{400, 400, 24, 1200}, Geometry{401, 3, 24, 1204}, Geometry{7, 7, 32, 28},
    Geometry{0, 5, 24, 0}, Geometry{5, -1, 24, 0}, Geometry{5, 5, 16, 0},
    Geometry{0x7FFFFFFF, 1, 32, 0}, Geometry{70000, 70000, 24, 0}));

class BitmapTest : public KernelTest {};

TEST_F(BitmapTest, RowsNeedStorageAccessAndStayInBounds)
{
    BitmapRecord r{};
    ASSERT_EQ(k.initRecord(&r, 3, 2, 24), 1);
    uint8_t row[16] = {};
    EXPECT_EQ(k.beginRows(&r), -2);            // no storage yet
    ASSERT_EQ(k.allocStorage(&r, 1), 1);
    EXPECT_EQ(k.allocStorage(&r, 1), -2);      // held already
    EXPECT_EQ(k.copyRow(&r, row, 0, 12), -2);  // outside row access
    ASSERT_EQ(k.beginRows(&r), 1);
    const uint8_t pattern[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(k.putRow(&r, pattern, 1, 16), 12);  // cut to the line
    EXPECT_EQ(k.copyRow(&r, row, 1, 100), 12);
    EXPECT_EQ(row[11], 12);
    EXPECT_EQ(row[12], 0);
    EXPECT_EQ(k.copyRow(&r, row, 2, 12), -2);
    EXPECT_EQ(k.copyRow(&r, row, -1, 12), -2);
    EXPECT_EQ(k.copyRow(&r, nullptr, 0, 12), -2);
    EXPECT_EQ(k.endRows(&r), 1);
    EXPECT_EQ(k.endRows(&r), -2);              // unbalanced
    EXPECT_EQ(k.freeStorage(&r), 1);
    EXPECT_EQ(k.freeStorage(&r), 1);           // twice is harmless
    EXPECT_EQ(r.bits, nullptr);
}

TEST_F(BitmapTest, ContextPaintsIntoTheStorage)
{
    BitmapRecord r{};
    ASSERT_EQ(k.initRecord(&r, 10, 4, 24), 1);
    ASSERT_EQ(k.allocStorage(&r, 1), 1);
    const int32_t contexts = k.liveContexts();
    const int32_t dc = k.contextOf(&r);
    ASSERT_NE(dc, 0);
    EXPECT_EQ(r.context, dc);
    EXPECT_EQ(k.contextOf(&r), dc);  // one context per bitmap
    EXPECT_EQ(k.liveContexts(), contexts + 1);
    EXPECT_EQ(k.erase(&r, 0), 1);  // white paper
    gdi::SetPixel(dc, 2, 1, gdi::RGB(10, 20, 30));
    EXPECT_EQ(k.releaseContext(dc), 1);
    EXPECT_EQ(k.releaseContext(dc), -2);
    EXPECT_EQ(r.context, 0);
    ASSERT_EQ(k.beginRows(&r), 1);
    uint8_t row[32];
    k.copyRow(&r, row, 1, 32);
    EXPECT_EQ(row[6], 30);  // blue, green, red
    EXPECT_EQ(row[7], 20);
    EXPECT_EQ(row[8], 10);
    EXPECT_EQ(row[0], 255);
    k.endRows(&r);
    EXPECT_EQ(k.erase(&r, 0x01000000), 1);  // explicit black
    k.beginRows(&r);
    k.copyRow(&r, row, 1, 32);
    EXPECT_EQ(row[6], 0);
    k.endRows(&r);
    // Freeing with a context still open releases it too.
    EXPECT_NE(k.contextOf(&r), 0);
    k.freeStorage(&r);
}

TEST_F(BitmapTest, IndexedBitmapsHaveNoContext)
{
    BitmapRecord r{};
    ASSERT_EQ(k.initRecord(&r, 8, 8, 8), 1);
    ASSERT_EQ(k.allocStorage(&r, 0), 1);
    EXPECT_EQ(k.contextOf(&r), 0);
    EXPECT_EQ(k.erase(&r, 0), -2);
    k.freeStorage(&r);
}

TEST_F(BitmapTest, DuplicatedPaletteOutlivesItsOriginal)
{
    const uint32_t entries[3] = {0x010203, 0x040506, 0x070809};
    BitmapRecord r{};
    ASSERT_EQ(k.initRecord(&r, 2, 2, 4), 1);
    ASSERT_EQ(k.allocStorage(&r, 1), 1);
    r.palette = k.createPalette(entries, 3);
    ASSERT_NE(r.palette, 0);
    const int32_t copy = k.duplicateHandle(r.palette);
    ASSERT_NE(copy, 0);
    EXPECT_NE(copy, r.palette);
    k.freeStorage(&r);  // releases the record's own handle
    EXPECT_EQ(r.palette, 0);
    uint32_t out[3] = {};
    EXPECT_EQ(k.paletteOf(copy, out, 3), 3);
    EXPECT_EQ(out[2], 0x070809u);
    EXPECT_EQ(k.releaseHandle(copy), 1);
    EXPECT_EQ(k.releaseHandle(copy), -2);
    EXPECT_EQ(k.duplicateHandle(copy), 0);
    EXPECT_EQ(k.createPalette(entries, 0), 0);
    EXPECT_EQ(k.createPalette(entries, 257), 0);
}

}  // namespace
}  // namespace imaging::testing
