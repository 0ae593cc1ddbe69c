// fltLoad: vector drawings rendered into 24-bit rows, raster dumps handed on
// unchanged, row flags and order, callback results, and the caller's object.

#include "tests/vondral/FilterTest.h"

namespace vondral::testing {
namespace {

using imaging::kEllipse;
using imaging::kLine;
using imaging::kRectangle;

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlue = 0xFF0000;

class LoadTest : public FilterTest {
protected:
    // Left half a red filled rectangle, on white paper.
    std::string halfRed()
    {
        return write("half.vec",
                     vectorDump(100, 100, {prim(kRectangle, 0, 0, 50, 100, kRed, 1, kBlue)}));
    }
};

TEST_F(LoadTest, VectorRowsComeInOrderWithFlagsAndThePassedValues)
{
    ASSERT_EQ(loadFile(halfRed(), 40, 5), 1);
    ASSERT_EQ(recorder.calls.size(), 5u);
    for (int32_t i = 0; i < 5; ++i) {
        const RowCall& c = recorder.calls[size_t(i)];
        EXPECT_EQ(c.index, i);
        EXPECT_EQ(c.flags, 3 | (i == 0 ? 4 : 0) | (i == 4 ? 8 : 0));
        EXPECT_EQ(c.count, 1);
        EXPECT_EQ(c.user, load->user);
        EXPECT_EQ(c.cookie, 0x5A5A1234);
        EXPECT_EQ(c.destination, &destination);
    }
    EXPECT_EQ(destination.resolutionX, 3780);
    EXPECT_EQ(destination.resolutionY, 3781);
    EXPECT_EQ(destination.planes, 1);
}

TEST_F(LoadTest, OneRowIsBothFirstAndLast)
{
    ASSERT_EQ(loadFile(halfRed(), 8, 1), 1);
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].flags, 15);
}

TEST_F(LoadTest, TheDrawingIsScaledOntoTheRendering)
{
    ASSERT_EQ(loadFile(halfRed(), 200, 20), 1);
    const Bytes& row = recorder.calls[10].row;
    EXPECT_EQ(pixel(row, 50), kRed);     // inside the rectangle
    EXPECT_EQ(pixel(row, 150), kWhite);  // paper
    EXPECT_EQ(pixel(row, 0), kBlue);     // its outline
}

TEST_F(LoadTest, ObjectFlagPaintsOutlinesOnly)
{
    load->setObjectFlag = 1;
    ASSERT_EQ(loadFile(halfRed(), 200, 20), 1);
    EXPECT_EQ(pixel(recorder.calls[10].row, 50), kWhite);
    EXPECT_EQ(pixel(recorder.calls[10].row, 0), kBlue);
}

TEST_F(LoadTest, CallbackResultOtherThanOneEndsTheLoad)
{
    recorder.stopAt = 0;
    recorder.stopResult = 0;
    EXPECT_EQ(loadFile(halfRed(), 30, 30), 0);
    EXPECT_EQ(recorder.calls.size(), 1u);

    recorder = Recorder{};
    recorder.stopAt = 2;
    recorder.stopResult = -77;
    const RasterHeader h;
    EXPECT_EQ(loadFile(write("r.ras", rasterDump(h, {}, Bytes(36, 1)))), -77);
    EXPECT_EQ(recorder.calls.size(), 3u);
}

TEST_F(LoadTest, RasterDumpComesBackByteForByte)
{
    BitmapRecord saved{};
    makeBitmap(saved, 37, 11);
    saved.resolutionX = 1234;
    saved.resolutionY = 5678;
    const std::string file = path("saved.ras");
    auto save = std::make_unique<SaveRequest>();
    save->fileName = file.c_str();
    save->bitmap = &saved;
    ASSERT_EQ(fltSave(save.get()), 1);

    load->fileName = file.c_str();
    recorder.bytesPerRow = saved.bytesPerLine;
    ASSERT_EQ(fltLoad(load.get()), 1);
    ASSERT_EQ(recorder.calls.size(), 11u);
    Bytes expected(size_t(saved.bytesPerLine));
    k.beginRows(&saved);
    for (int32_t y = 0; y < 11; ++y) {
        k.copyRow(&saved, expected.data(), y, saved.bytesPerLine);
        EXPECT_EQ(recorder.calls[size_t(y)].row, expected) << "row " << y;
        EXPECT_EQ(recorder.calls[size_t(y)].flags, 3 | (y == 0 ? 4 : 0) | (y == 10 ? 8 : 0));
    }
    k.endRows(&saved);
    EXPECT_EQ(destination.resolutionX, 1234);
    EXPECT_EQ(destination.resolutionY, 5678);
    EXPECT_EQ(destination.planes, 1);
    EXPECT_EQ(destination.palette, 0);
    k.freeStorage(&saved);
}

TEST_F(LoadTest, IndexedRasterHandsTheDestinationItsOwnPalette)
{
    RasterHeader h;
    h.bits = 8;
    h.bytesPerLine = 4;
    h.paletteEntries = 2;
    const Bytes palette{0, 0, 0, 0, 10, 20, 30, 0};
    ASSERT_EQ(loadFile(write("p.ras", rasterDump(h, palette, Bytes(12, 1)))), 1);
    ASSERT_NE(destination.palette, 0);
    EXPECT_EQ(destination.colorsUsed, 2);
    uint32_t entries[4] = {};
    EXPECT_EQ(k.paletteOf(destination.palette, entries, 4), 2);
    EXPECT_EQ(entries[1], 0x001E140Au);
    EXPECT_EQ(k.releaseHandle(destination.palette), 1);  // the destination's to free
}

TEST_F(LoadTest, WithoutDestinationNothingIsDelivered)
{
    load->destination = nullptr;
    EXPECT_EQ(loadFile(halfRed(), 10, 10), 1);
    EXPECT_EQ(loadFile(write("r.ras", rasterDump(RasterHeader{}, {}, Bytes(36, 1)))), 1);
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(LoadTest, DestinationWithoutCallbackIsRefused)
{
    load->callback = nullptr;
    EXPECT_EQ(loadFile(halfRed(), 10, 10), kUnknown);
}

class CallerObjectTest : public LoadTest {
protected:
    VectorObject object{};

    void SetUp() override
    {
        LoadTest::SetUp();
        ASSERT_EQ(k.initObject(&object), 1);
        object.tag = 0x1234;
        load->vectorMode = 1;
        load->object = &object;
    }

    void TearDown() override
    {
        k.freeContents(&object);
        LoadTest::TearDown();
    }
};

TEST_F(CallerObjectTest, KeepsTheDrawingAndGetsItsTagBack)
{
    load->destination = nullptr;
    const auto file = write("two.vec", vectorDump(30, 20, {prim(kLine, 0, 0, 5, 5),
                                                           prim(kEllipse, 1, 1, 9, 9)}));
    ASSERT_EQ(loadFile(file), 1);
    EXPECT_EQ(k.primitiveCount(&object), 2);
    EXPECT_EQ(int32_t(object.naturalWidth), 30);
    EXPECT_EQ(int32_t(object.tag), 0x1234);
}

TEST_F(CallerObjectTest, RenderingLeavesTheCallersObjectItsDrawing)
{
    ASSERT_EQ(loadFile(halfRed(), 20, 4), 1);
    EXPECT_EQ(recorder.calls.size(), 4u);
    EXPECT_EQ(pixel(recorder.calls[2].row, 5), kRed);
    EXPECT_EQ(k.primitiveCount(&object), 1);
    EXPECT_EQ(int32_t(object.tag), 0x1234);
    EXPECT_EQ(int32_t(object.viewRight), 20);
    EXPECT_EQ(int32_t(object.viewBottom), 4);
}

TEST_F(CallerObjectTest, FailedReadEmptiesTheObjectAndRestoresItsTag)
{
    VecPrimitive p = prim(kLine, 0, 0, 1, 1);
    ASSERT_EQ(k.addPrimitive(&object, &p), 1);
    Bytes damaged = vectorDump(10, 10, {prim(kLine, 0, 0, 1, 1)});
    damaged.resize(damaged.size() - 3);
    EXPECT_EQ(loadFile(write("bad.vec", damaged), 10, 10), imaging::draw::kTruncated);
    EXPECT_EQ(k.primitiveCount(&object), 0);
    EXPECT_EQ(int32_t(object.tag), 0x1234);
}

TEST_F(CallerObjectTest, ModesOtherThanZeroAndOne)
{
    load->object = nullptr;
    EXPECT_EQ(loadFile(halfRed(), 10, 10), kNoObject);
    load->vectorMode = 2;
    EXPECT_EQ(loadFile(halfRed(), 10, 10), kUnknown);
    // The marker comes first: a raster file ignores the vector mode.
    EXPECT_EQ(loadFile(write("r.ras", rasterDump(RasterHeader{}, {}, Bytes(36, 1)))), 1);
}

}  // namespace
}  // namespace vondral::testing
