// The kernel's host program runs the filter from its file, as a user would:
// a vector dump becomes a PPM image, a PPM becomes a raster dump and back.

#include "tests/vondral/FilterTest.h"
#include "tests/support/FifoWatch.h"

#include <chrono>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vondral::testing {
namespace {

class HostTest : public FilterTest {
protected:
    // Runs pelmhost with the filter; under an emulator the child needs it too.
    // What it says on failure is kept in `said`.
    int host(const std::string& args,
             const std::string& filter = BW_X86_LIB_DIR "/libvondral.so")
    {
        const char* runner = std::getenv("BW_X86_RUNNER");
        const std::string cmd = std::string(runner ? runner : "") + " " BW_X86_BIN_DIR
                                "/pelmhost " + filter + " " + args + " >/dev/null 2>" +
                                path("said.txt");
        const int status = std::system(cmd.c_str());
        const Bytes text = readAll(path("said.txt"));
        said.assign(text.begin(), text.end());
        return status;
    }

    // Runs pelmhost and expects it to fail within two seconds, naming `file`.
    void refusesAtOnce(const std::string& args, const std::string& file)
    {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_NE(host(args), 0) << args;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << args;
        EXPECT_NE(said.find("pelmhost: " + file + ": "), std::string::npos) << said;
    }

    std::string rasterFile()
    {
        return write("r.ras", rasterDump(RasterHeader{}, {}, Bytes(36, 7)));
    }

    std::string ppmFile()
    {
        const std::string header = "P6\n2 2\n255\n";
        Bytes ppm(header.begin(), header.end());
        ppm.resize(ppm.size() + 12, 9);
        return write("in.ppm", ppm);
    }

    std::string said;
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

TEST_F(HostTest, PipesAtEveryDoorAreRefusedAtOnceInWords)
{
    const std::string pipe = path("pipe");
    ASSERT_TRUE(bwtest::makeFifo(pipe));
    const std::string ras = rasterFile(), ppm = ppmFile();
    {
        bwtest::FifoWatch watch(pipe, std::chrono::seconds(30));
        refusesAtOnce("info " + pipe, pipe);
        refusesAtOnce("load " + pipe + " " + path("out.ppm"), pipe);
        refusesAtOnce("load " + ras + " " + pipe, pipe);
        refusesAtOnce("save-raster " + pipe + " " + path("out.ras"), pipe);
        refusesAtOnce("save-raster " + ppm + " " + pipe, pipe);
        EXPECT_NE(host("info " + ras, pipe), 0);   // the filter itself
        EXPECT_NE(said.find("pelmhost: " + pipe + ": "), std::string::npos) << said;
        EXPECT_FALSE(watch.released()) << "a door blocked on the pipe";
    }
    EXPECT_NE(said.find("it is not a regular file"), std::string::npos) << said;
    refusesAtOnce("load " + ras + " " + path(""), path(""));
    EXPECT_NE(said.find("it is a folder"), std::string::npos) << said;
    struct stat st {};
    ASSERT_EQ(stat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_FALSE(access(path("out.ppm").c_str(), F_OK) == 0 ||
                 access(path("out.ras").c_str(), F_OK) == 0);
}

TEST_F(HostTest, FailuresAreSaidInWordsWithTheFile)
{
    refusesAtOnce("info " + path("missing.ras"), path("missing.ras"));
    EXPECT_NE(said.find("No such file"), std::string::npos) << said;
    const Bytes whole = readAll(rasterFile());
    const std::string cut = write("cut.ras", Bytes(whole.begin(), whole.end() - 5));
    refusesAtOnce("load " + cut + " " + path("out.ppm"), cut);
    EXPECT_NE(said.find("cut short"), std::string::npos) << said;
    const std::string junk = write("junk.ras", Bytes(64, 'j'));
    refusesAtOnce("info " + junk, junk);
    EXPECT_NE(said.find("not a vector or raster dump"), std::string::npos) << said;
    EXPECT_EQ(said.find("status"), std::string::npos) << said;
}

TEST_F(HostTest, HeadersPromisingHugeImagesAreRefusedBeforeAllocating)
{
    const std::string header = "P6\n32768 32768\n255\n";
    Bytes ppm(header.begin(), header.end());
    ppm.resize(ppm.size() + 300, 1);
    const std::string in = write("in.ppm", ppm);
    refusesAtOnce("save-raster " + in + " " + path("out.ras"), in);
    EXPECT_NE(said.find("cut short"), std::string::npos) << said;
    const std::string wide = write("wide.vec", vectorDump(30000, 20000, {prim(imaging::kLine,
                                                                              0, 0, 9, 9)}));
    refusesAtOnce("load " + wide + " " + path("out.ppm") + " 0 0 0", wide);   // natural size
    EXPECT_NE(said.find("30000 x 20000 pixels is too large"), std::string::npos) << said;
}

TEST_F(HostTest, AHugeFileAtEveryDoorIsAnsweredAtOnceWithLittleMemory)
{
    // Sparse files of 2 GB: one of zeros, and one that starts like the
    // largest image each input may be.
    auto huge = [this](const std::string& name, const std::string& start) {
        const std::string file = write(name, Bytes(start.begin(), start.end()));
        EXPECT_EQ(truncate(file.c_str(), off_t(1) << 31), 0);
        return file;
    };
    const std::string zeros = huge("zeros", "");
    const std::string dump = huge("big.ras", "RASDUMP1");
    const std::string image = huge("big.ppm", "P6\n9000 9000\n255\n");
    for (const std::string& in : {zeros, dump}) {
        refusesAtOnce("info " + in, in);
        refusesAtOnce("load " + in + " " + path("out.ppm"), in);
    }
    EXPECT_NE(said.find("2147483648 bytes"), std::string::npos) << said;
    for (const std::string& in : {zeros, image})
        refusesAtOnce("save-raster " + in + " " + path("out.ras"), in);

    // As outputs they are replaced like any file.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(host("load " + rasterFile() + " " + zeros), 0) << said;
    EXPECT_EQ(host("save-raster " + ppmFile() + " " + dump), 0) << said;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    struct stat st {};
    ASSERT_EQ(stat(zeros.c_str(), &st), 0);
    EXPECT_LT(st.st_size, 100);

    rusage usage {};
    ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 64 * 1024) << "kilobytes at most in one run";
}

TEST(DllMainTest, AlwaysSucceeds)
{
    for (uint32_t reason : {0u, 1u, 2u, 3u})
        EXPECT_EQ(DllMain(nullptr, reason, nullptr), 1);
}

}  // namespace
}  // namespace vondral::testing
