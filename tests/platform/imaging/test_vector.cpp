// Pelmdraw: vector objects, rendering sizes, painting and the dump bodies.

#include "tests/platform/imaging/KernelTest.h"

namespace imaging::testing {
namespace {

class VectorTest : public KernelTest {
protected:
    VectorObject object{};

    void SetUp() override
    {
        KernelTest::SetUp();
        object.tag = 0x7777;
        ASSERT_EQ(k.initObject(&object), 1);
    }
    void TearDown() override
    {
        k.freeContents(&object);
        KernelTest::TearDown();
    }
};

TEST_F(VectorTest, InitKeepsTheTagAndPrimitivesGrow)
{
    EXPECT_EQ(int32_t(object.tag), 0x7777);
    for (int32_t i = 0; i < 40; ++i) {
        VecPrimitive p = prim(kLine, i, 0, i, 5);
        ASSERT_EQ(k.addPrimitive(&object, &p), 1);
    }
    VecPrimitive bad = prim(kLine, 0, 0, 1, 1);
    bad.penWidth = 0;
    EXPECT_EQ(k.addPrimitive(&object, &bad), -2);
    EXPECT_EQ(k.primitiveCount(&object), 40);
    VecPrimitive out{};
    ASSERT_EQ(k.getPrimitive(&object, 39, &out), 1);
    EXPECT_EQ(out.x1, 39);
    EXPECT_EQ(k.getPrimitive(&object, 40, &out), -2);
    EXPECT_EQ(k.emptyObject(&object), 1);
    EXPECT_EQ(k.primitiveCount(&object), 0);
    VectorObject stranger{};
    EXPECT_EQ(k.freeContents(&stranger), -2);  // never initialised
}

struct Sizing {
    const char* name;
    int32_t mode, wantW, wantH, status, width, height;
};

class SizingTest : public VectorTest, public ::testing::WithParamInterface<Sizing> {};

TEST_P(SizingTest, ForANaturalSizeOf200By100)
{
    ASSERT_EQ(k.setNaturalSize(&object, 200, 100), 1);
    const Sizing& s = GetParam();
    int32_t w = s.wantW, h = s.wantH;
    EXPECT_EQ(k.renderingSize(&object, s.mode, &w, &h), s.status);
    if (s.status == 1) {
        EXPECT_EQ(w, s.width);
        EXPECT_EQ(h, s.height);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, SizingTest, ::testing::Values(
    Sizing{"Natural", 0, 5, 5, 1, 200, 100},
    Sizing{"Keep", 1, 30, 70, 1, 30, 70},
    Sizing{"FitWidth", 2, 50, 999, 1, 50, 25},
    Sizing{"FitHeight", 3, 999, 50, 1, 100, 50},
    Sizing{"FitBoxWide", 4, 400, 100, 1, 200, 100},
    Sizing{"FitBoxTall", 4, 100, 400, 1, 100, 50},
    Sizing{"TinyStaysOne", 2, 1, 1, 1, 1, 1},
    Sizing{"WidthBeyond32Bits", 3, 1, 0x7FFFFFFF, draw::kBadHeader, 0, 0},
    Sizing{"UnknownMode", 9, 10, 10, draw::kBadSizingMode, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VectorTest, NoNaturalSizeNoRenderingSize)
{
    int32_t w = 10, h = 10;
    EXPECT_EQ(k.renderingSize(&object, 0, &w, &h), draw::kNoNaturalSize);
    EXPECT_EQ(k.renderingSize(&object, 0, nullptr, &h), -2);
}

TEST_F(VectorTest, PaintHonoursOriginAndSelection)
{
    // Scaled 2 across and 1.5 down (3 x 1.5 rounds down): the rectangle
    // covers x 3..8 and y 2..5 after the origin's shift.
    ASSERT_EQ(k.setNaturalSize(&object, 10, 6), 1);
    VecPrimitive p = prim(kRectangle, 0, 0, 3, 3, 0x0000FF, 1, 0x0000FF);
    ASSERT_EQ(k.addPrimitive(&object, &p), 1);
    BitmapRecord r{};
    ASSERT_EQ(k.initRecord(&r, 20, 9, 24), 1);
    ASSERT_EQ(k.allocStorage(&r, 1), 1);
    const int32_t dc = k.contextOf(&r);
    k.erase(&r, 0);
    object.viewRight = 20;
    object.viewBottom = 9;
    const int32_t origin[2] = {3, 2};
    ASSERT_EQ(k.setOrigin(&object, origin), 1);
    ASSERT_EQ(k.paint(dc, &object, draw::kPaintFitView), 1);
    EXPECT_EQ(k.paint(0, &object, 1), -2);
    k.releaseContext(dc);
    const auto redAt = [&](int32_t x, int32_t y) {
        uint8_t row[64];
        k.beginRows(&r);
        k.copyRow(&r, row, y, 64);
        k.endRows(&r);
        return row[x * 3 + 2] == 255 && row[x * 3 + 1] == 0;
    };
    EXPECT_FALSE(redAt(2, 3));
    EXPECT_TRUE(redAt(3, 3));
    EXPECT_TRUE(redAt(8, 3));
    EXPECT_FALSE(redAt(9, 3));
    EXPECT_FALSE(redAt(4, 1));
    EXPECT_TRUE(redAt(4, 2));
    EXPECT_TRUE(redAt(4, 5));
    EXPECT_FALSE(redAt(4, 6));
    k.freeStorage(&r);
}

class DumpTest : public KernelTest {};

TEST_F(DumpTest, RasterDumpRoundTripsEveryDepth)
{
    for (int32_t bits : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bits);
        BitmapRecord a{};
        ASSERT_EQ(k.initRecord(&a, 13, 5, bits), 1);
        ASSERT_EQ(k.allocStorage(&a, 1), 1);
        for (int32_t i = 0; i < a.sizeBytes; ++i)
            a.bits[i] = uint8_t(i * 31 + bits);
        a.resolutionX = 100 + bits;
        a.hasAlpha = bits == 32;
        const std::string name = path("d.ras");
        int32_t h = k.open(name.c_str(), 0x8302, 0x80);
        ASSERT_EQ(k.writeRaster(h, &a), 1);
        k.close(h);
        BitmapRecord b{};
        h = k.open(name.c_str(), 0x8000, 0x100);
        ASSERT_EQ(k.readRaster(h, &b), 1);
        k.close(h);
        EXPECT_EQ(b.width, 13);
        EXPECT_EQ(b.bitsPerPixel, bits);
        EXPECT_EQ(b.resolutionX, 100 + bits);
        EXPECT_EQ(b.hasAlpha, bits == 32 ? 1 : 0);
        EXPECT_EQ(b.colorsUsed, bits <= 8 ? 1 << bits : 0);  // a grey ramp was written
        ASSERT_EQ(b.sizeBytes, a.sizeBytes);
        EXPECT_EQ(std::memcmp(a.bits, b.bits, size_t(a.sizeBytes)), 0);
        k.freeStorage(&a);
        k.freeStorage(&b);
    }
}

TEST_F(DumpTest, VectorReaderNeedsAPreparedObject)
{
    const auto file = write("v.vec", vectorDump(5, 5, {prim(kLine, 0, 0, 4, 4)}));
    VectorObject o{};
    k.initObject(&o);
    const int32_t h = k.open(file.c_str(), 0x8000, 0x100);
    EXPECT_EQ(k.readVector(h, &o), draw::kNotPrepared);
    o.tag = kVectorDumpTag;
    EXPECT_EQ(k.readVector(h, &o), 1);
    EXPECT_EQ(k.primitiveCount(&o), 1);
    k.close(h);
    k.freeContents(&o);
}

TEST_F(DumpTest, WritersRefuseWhatReadersWouldRefuse)
{
    const int32_t h = k.open(path("w").c_str(), 0x8302, 0x80);
    VectorObject o{};
    k.initObject(&o);
    EXPECT_EQ(k.writeVector(h, &o), draw::kBadHeader);  // no natural size
    EXPECT_EQ(k.writeVector(h, nullptr), -2);
    BitmapRecord r{};
    EXPECT_EQ(k.writeRaster(h, &r), -2);
    EXPECT_EQ(k.writeVector(-1, nullptr), -2);
    k.setNaturalSize(&o, 3, 3);
    EXPECT_EQ(k.writeVector(9999, &o), draw::kWriteFailed);  // not a kernel file

    // Records a peer edited after the kernel made them: nothing is read beyond
    // the storage, and an absurd depth is a refusal, not a shift out of range.
    VecPrimitive p = prim(kLine, 0, 0, 1, 1);
    ASSERT_EQ(k.addPrimitive(&o, &p), 1);
    o.count = o.capacity + 1;
    EXPECT_EQ(k.writeVector(h, &o), -2);
    o.count = 1;
    ASSERT_EQ(k.initRecord(&r, 4, 4, 8), 1);
    ASSERT_EQ(k.allocStorage(&r, 1), 1);
    for (int32_t bits : {-3, 0, 64}) {
        r.bitsPerPixel = bits;
        EXPECT_EQ(k.writeRaster(h, &r), draw::kBadHeader) << bits;
    }
    k.freeStorage(&r);
    k.freeContents(&o);
    k.close(h);
}

}  // namespace
}  // namespace imaging::testing
