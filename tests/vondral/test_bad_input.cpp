// Damaged dumps and absurd requests: a negative status, no crash, nothing
// written out of bounds, and nothing left allocated or open (the fixture
// checks the kernel's counters and canaries after every test).

#include "tests/vondral/FilterTest.h"

#include "platform/imaging/Pelmdraw.h"

namespace vondral::testing {
namespace {

namespace draw = imaging::draw;

struct BadRaster {
    const char* name;
    RasterHeader header;
    size_t paletteBytes;
    size_t rowBytes;
    int32_t status;
};

RasterHeader header(uint32_t w, uint32_t h, uint32_t bits, uint32_t line, uint32_t entries = 0)
{
    RasterHeader r;
    r.width = w;
    r.height = h;
    r.bits = bits;
    r.bytesPerLine = line;
    r.paletteEntries = entries;
    return r;
}

class BadRasterTest : public FilterTest, public ::testing::WithParamInterface<BadRaster> {};

TEST_P(BadRasterTest, IsRefusedByInfoAndLoad)
{
    const BadRaster& c = GetParam();
    const auto file =
        write("bad.ras", rasterDump(c.header, Bytes(c.paletteBytes, 0), Bytes(c.rowBytes, 7)));
    FileInfoRecord info{};
    EXPECT_EQ(this->info(file, info), c.status);
    EXPECT_EQ(loadFile(file), c.status);
    EXPECT_TRUE(recorder.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Dumps, BadRasterTest, ::testing::Values(
    BadRaster{"RowsCutShort", header(4, 3, 24, 12), 0, 35, draw::kTruncated},
    BadRaster{"HeaderCutShort", header(4, 3, 24, 12), 0, 0, draw::kTruncated},
    BadRaster{"ZeroWidth", header(0, 3, 24, 0), 0, 36, draw::kBadHeader},
    BadRaster{"AbsurdWidth", header(0xFFFFFFFF, 3, 24, 12), 0, 36, draw::kBadHeader},
    BadRaster{"AbsurdHeight", header(4, 0x7FFFFFFF, 24, 12), 0, 36, draw::kBadHeader},
    BadRaster{"LineOverflowsThirtyOneBits", header(32768, 32768, 32, 131072), 0, 64,
              draw::kBadHeader},
    BadRaster{"LineWrapsThirtyTwoBits", header(0x40000000, 1, 32, 0), 0, 64, draw::kBadHeader},
    BadRaster{"LineDisagrees", header(4, 3, 24, 16), 0, 48, draw::kBadHeader},
    BadRaster{"LargeButMissingRows", header(8000, 8000, 24, 24000), 0, 100, draw::kTruncated},
    BadRaster{"OddDepth", header(4, 3, 16, 8), 0, 24, draw::kBadHeader},
    BadRaster{"IndexedWithoutPalette", header(4, 3, 8, 4, 0), 0, 12, draw::kBadHeader},
    BadRaster{"PaletteTooLarge", header(4, 3, 1, 4, 3), 12, 12, draw::kBadHeader},
    BadRaster{"PaletteCutShort", header(4, 3, 8, 4, 200), 40, 0, draw::kTruncated}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadVector {
    const char* name;
    Bytes content;
    int32_t status;
};

Bytes withCount(uint32_t count)
{
    Bytes b = vectorDump(10, 10, {});
    b[16] = uint8_t(count), b[17] = uint8_t(count >> 8), b[18] = uint8_t(count >> 16),
    b[19] = uint8_t(count >> 24);
    return b;
}

Bytes cut(Bytes b, size_t n)
{
    b.resize(b.size() - n);
    return b;
}

class BadVectorTest : public FilterTest, public ::testing::WithParamInterface<BadVector> {};

TEST_P(BadVectorTest, IsRefusedByInfoAndLoadInEitherMode)
{
    const auto file = write("bad.vec", GetParam().content);
    FileInfoRecord info{};
    EXPECT_EQ(this->info(file, info), GetParam().status);
    EXPECT_EQ(loadFile(file, 16, 16), GetParam().status);
    VectorObject object{};
    k.initObject(&object);
    load->vectorMode = 1;
    load->object = &object;
    EXPECT_EQ(loadFile(file, 16, 16), GetParam().status);
    EXPECT_EQ(k.primitiveCount(&object), 0);
    k.freeContents(&object);
    EXPECT_TRUE(recorder.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Dumps, BadVectorTest, ::testing::Values(
    BadVector{"HeaderCutShort", cut(vectorDump(10, 10, {}), 1), draw::kTruncated},
    BadVector{"PrimitiveCutShort",
              cut(vectorDump(10, 10, {prim(imaging::kLine, 0, 0, 1, 1)}), 1), draw::kTruncated},
    BadVector{"HugeCount", withCount(0xFFFFFFFF), draw::kBadHeader},
    BadVector{"CountBeyondTheFile", withCount(900000), draw::kTruncated},
    BadVector{"ZeroSize", vectorDump(0, 10, {}), draw::kBadHeader},
    BadVector{"AbsurdSize", vectorDump(10, 0x80000000, {}), draw::kBadHeader},
    BadVector{"UnknownKind", vectorDump(10, 10, {prim(9, 0, 0, 1, 1)}), draw::kBadHeader},
    BadVector{"FarCoordinate",
              vectorDump(10, 10, {prim(imaging::kLine, 0, 0, 2000000000, 1)}),
              draw::kBadHeader}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadRender {
    const char* name;
    int32_t width, height, status;
};

class BadRenderTest : public FilterTest, public ::testing::WithParamInterface<BadRender> {};

TEST_P(BadRenderTest, RenderingSizeTheKernelCannotHold)
{
    const auto file = write("a.vec", vectorDump(10, 10, {prim(imaging::kLine, 0, 0, 9, 9)}));
    EXPECT_EQ(loadFile(file, GetParam().width, GetParam().height), GetParam().status);
    EXPECT_TRUE(recorder.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, BadRenderTest, ::testing::Values(
    BadRender{"Zero", 0, 0, imaging::core::kBadArgument},
    BadRender{"Negative", -5, 10, imaging::core::kBadArgument},
    BadRender{"RowsOverflow", 0x7FFFFFFF, 2, imaging::core::kBadArgument},
    BadRender{"TooLargeToAllocate", 20000, 20000, imaging::core::kNoMemory}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FilterTest, MissingAndNamelessFilesCannotBeOpened)
{
    EXPECT_EQ(loadFile(path("missing.vec"), 10, 10), kCannotOpen);
    load->fileName = nullptr;
    EXPECT_EQ(fltLoad(load.get()), kCannotOpen);
    EXPECT_EQ(loadFile(path(""), 10, 10), kCannotOpen);  // a folder
    EXPECT_EQ(fltLoad(nullptr), kUnknown);
}

}  // namespace
}  // namespace vondral::testing
