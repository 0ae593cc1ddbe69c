// fltInfo: the marker decides the format; vector files report the rendering
// size of the request's sizing mode, raster files their bitmap's fields.

#include "tests/vondral/FilterTest.h"

namespace vondral::testing {
namespace {

using imaging::kRectangle;

class InfoTest : public FilterTest {};

TEST_F(InfoTest, VectorFileWithKeepModeReports400By400)
{
    FileInfoRecord info;
    std::memset(&info, 0xAB, sizeof(info));
    const auto file = write("a.vec", vectorDump(120, 80, {prim(kRectangle, 0, 0, 10, 10)}));
    ASSERT_EQ(this->info(file, info, 0, 0, 1), 1);
    EXPECT_EQ(info.format, FormatVectorDump);
    EXPECT_EQ(info.width, 400);
    EXPECT_EQ(info.height, 400);
    EXPECT_EQ(info.bitsPerPixel, 24);
    EXPECT_EQ(info.sizeBytes, 480000);
    EXPECT_STREQ(info.compression, "None");
    EXPECT_EQ(info.attribute3C, 0);
    EXPECT_EQ(info.attribute40, 1);
    EXPECT_EQ(info.resolutionX, 11811);
    EXPECT_EQ(info.resolutionY, 11812);
    // Fields of the record the filter does not own stay as they were.
    EXPECT_EQ(info.reserved04[0], 0xAB);
    EXPECT_EQ(uint8_t(info.compression[5]), 0xAB);
    EXPECT_EQ(info.reserved54[0], 0xAB);
}

struct SizingCase {
    const char* name;
    int32_t wantW, wantH, mode, width, height, size;
};

class InfoSizingTest : public FilterTest, public ::testing::WithParamInterface<SizingCase> {};

TEST_P(InfoSizingTest, ReportsTheKernelsRenderingSize)
{
    const SizingCase& c = GetParam();
    const auto file = write("a.vec", vectorDump(120, 80, {}));
    FileInfoRecord info{};
    ASSERT_EQ(this->info(file, info, c.wantW, c.wantH, c.mode), 1);
    EXPECT_EQ(info.width, c.width);
    EXPECT_EQ(info.height, c.height);
    EXPECT_EQ(info.sizeBytes, c.size);
}

// Row bytes: ((w x 24 + 31) >> 3) with the low two bits cleared.
INSTANTIATE_TEST_SUITE_P(Modes, InfoSizingTest, ::testing::Values(
    SizingCase{"KeepGiven", 33, 7, 1, 33, 7, 100 * 7},
    SizingCase{"Natural", 0, 0, 0, 120, 80, 360 * 80},
    SizingCase{"FitWidth", 60, 0, 2, 60, 40, 180 * 40},
    SizingCase{"FitBox", 300, 300, 4, 300, 200, 900 * 200},
    SizingCase{"OneByOne", 1, 1, 1, 1, 1, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InfoTest, RasterFileReportsItsBitmap)
{
    RasterHeader h;
    h.alpha = 1;
    h.bits = 32;
    h.bytesPerLine = 16;
    const auto file = write("a.ras", rasterDump(h, {}, Bytes(16 * 3, 9)));
    FileInfoRecord info{};
    ASSERT_EQ(this->info(file, info), 1);
    EXPECT_EQ(info.format, FormatRasterDump);
    EXPECT_EQ(info.width, 4);
    EXPECT_EQ(info.height, 3);
    EXPECT_EQ(info.bitsPerPixel, 32);
    EXPECT_EQ(info.sizeBytes, 48);
    EXPECT_STREQ(info.compression, "None");
    EXPECT_EQ(info.attribute3C, 1);
    EXPECT_EQ(info.attribute40, 1);
    EXPECT_EQ(info.resolutionX, 2835);
    EXPECT_EQ(info.resolutionY, 2836);
}

struct MarkerCase {
    const char* name;
    std::string content;
    int32_t status;
};

class MarkerTest : public FilterTest, public ::testing::WithParamInterface<MarkerCase> {};

TEST_P(MarkerTest, InfoAndLoadAgreeOnTheStatus)
{
    const auto file = write("m.dump", Bytes(GetParam().content.begin(), GetParam().content.end()));
    FileInfoRecord info{};
    EXPECT_EQ(this->info(file, info), GetParam().status);
    EXPECT_EQ(loadFile(file, 10, 10), GetParam().status);
    EXPECT_TRUE(recorder.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Markers, MarkerTest, ::testing::Values(
    MarkerCase{"Unknown", "PNGDUMP1 and some more bytes", -9},
    MarkerCase{"LowerCase", "vecdump2", -9},
    MarkerCase{"SevenBytes", "VECDUMP", -7},
    MarkerCase{"Empty", "", -7}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InfoTest, WhatFollowsTheVectorMarkerIsTheVectorReadersBusiness)
{
    // Whatever follows, the file is a vector file: the vector path is taken
    // (mode 1 without an object) and the vector reader judges the body.
    const auto file = write("v.dump", Bytes{'V', 'E', 'C', 'D', 'U', 'M', 'P', '2', 'x'});
    load->vectorMode = 1;
    EXPECT_EQ(loadFile(file, 10, 10), kNoObject);
    FileInfoRecord info{};
    EXPECT_EQ(this->info(file, info), imaging::draw::kTruncated);
}

TEST_F(InfoTest, BadRequestsGiveAStatus)
{
    EXPECT_EQ(fltInfo(nullptr), kUnknown);
    auto rq = std::make_unique<InfoRequest>();
    rq->file = 12345;  // never opened
    FileInfoRecord info{};
    rq->info = &info;
    EXPECT_EQ(fltInfo(rq.get()), kNoMarker);
    rq->info = nullptr;
    EXPECT_EQ(fltInfo(rq.get()), kUnknown);
}

TEST_F(InfoTest, SizesBeyondThirtyTwoBitsAreRefused)
{
    const auto file = write("a.vec", vectorDump(10, 10, {}));
    FileInfoRecord info{};
    EXPECT_EQ(this->info(file, info, 100000, 100000, 1), kNoMemory);
    EXPECT_EQ(this->info(file, info, 1, 1, 99), imaging::draw::kBadSizingMode);
}

}  // namespace
}  // namespace vondral::testing
