// The kernel's host program runs the filter from its file, as a user would:
// a vector dump becomes a PPM image, a PPM becomes a raster dump and back.

#include "tests/vondral/FilterTest.h"
#include "tests/support/FifoWatch.h"

#include <cstdlib>

namespace vondral::testing {
namespace {

class HostTest : public FilterTest {
protected:
    // Runs pelmhost with the filter; under an emulator the child needs it too.
    int host(const std::string& args)
    {
        const char* runner = std::getenv("BW_X86_RUNNER");
        const std::string cmd = std::string(runner ? runner : "") + " " BW_X86_BIN_DIR
                                "/pelmhost " BW_X86_LIB_DIR "/libvondral.so " + args +
                                " >/dev/null 2>&1";
        return std::system(cmd.c_str());
    }
};

TEST_F(HostTest, RendersAVectorDumpIntoAnImageFile)
{
    const auto dump = write("d.vec", vectorDump(20, 10, {prim(imaging::kRectangle, 0, 0, 20, 10,
                                                             0x00FF00, 1, 0x00FF00)}));
    ASSERT_EQ(host("load " + dump + " " + path("d.ppm") + " 30 0 2"), 0);
    const Bytes ppm = readAll(path("d.ppm"));
    const std::string header = "P6\n30 15\n255\n";
    ASSERT_EQ(ppm.size(), header.size() + 30u * 15u * 3u);
    EXPECT_EQ(std::string(ppm.begin(), ppm.begin() + long(header.size())), header);
    const size_t middle = header.size() + (7u * 30u + 15u) * 3u;
    EXPECT_EQ(ppm[middle], 0);       // red
    EXPECT_EQ(ppm[middle + 1], 255); // green
}

TEST_F(HostTest, ImageSavedAsRasterDumpLoadsBackTheSame)
{
    const std::string header = "P6\n3 2\n255\n";
    Bytes ppm(header.begin(), header.end());
    for (int i = 0; i < 18; ++i)
        ppm.push_back(uint8_t(i * 14));
    const auto in = write("in.ppm", ppm);
    ASSERT_EQ(host("save-raster " + in + " " + path("r.ras")), 0);
    ASSERT_EQ(host("load " + path("r.ras") + " " + path("out.ppm")), 0);
    EXPECT_EQ(readAll(path("out.ppm")), ppm);
    EXPECT_NE(host("load " + path("missing.ras") + " " + path("x.ppm")), 0);
}

TEST_F(HostTest, APipeGivenAsTheDumpIsRefusedAtOnce)
{
    const std::string pipe = path("pipe.vec");
    ASSERT_TRUE(bwtest::makeFifo(pipe));
    bwtest::FifoWatch watch(pipe, std::chrono::seconds(30));
    EXPECT_NE(host("info " + pipe), 0);
    EXPECT_NE(host("load " + pipe + " " + path("out.ppm")), 0);
    EXPECT_FALSE(watch.released()) << "reading the pipe blocked";
}

TEST(DllMainTest, AlwaysSucceeds)
{
    for (uint32_t reason : {0u, 1u, 2u, 3u})
        EXPECT_EQ(DllMain(nullptr, reason, nullptr), 1);
}

}  // namespace
}  // namespace vondral::testing
