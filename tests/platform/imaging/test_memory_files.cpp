// Pelmcore's guarded memory and file access.

#include "tests/platform/imaging/KernelTest.h"

#include <sys/stat.h>

namespace imaging::testing {
namespace {

class MemoryTest : public KernelTest {};

TEST_F(MemoryTest, CanariesCatchWritesOutsideABlock)
{
    const int32_t corrupt = k.corruptBlocks();
    const int32_t live = k.liveAllocations();
    auto* tail = static_cast<uint8_t*>(k.allocate(10));
    auto* head = static_cast<uint8_t*>(k.allocate(10));
    ASSERT_TRUE(tail && head);
    EXPECT_EQ(k.liveAllocations(), live + 2);
    tail[10] = 0;   // one past the end
    head[-1] = 0;   // one before the start
    ::testing::internal::CaptureStderr();
    k.free(tail);
    k.free(head);
    const std::string report = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(k.corruptBlocks(), corrupt + 2);
    EXPECT_NE(report.find("past its end"), std::string::npos);
    EXPECT_NE(report.find("before its start"), std::string::npos);
    // The fixture's own check must not fail on what this test did on purpose.
    resetCorruptBaseline();
}

TEST_F(MemoryTest, LimitsAndNull)
{
    EXPECT_EQ(k.allocate(core::kMaxAllocation + 1), nullptr);
    EXPECT_EQ(k.allocate(0xFFFFFFFF), nullptr);
    void* empty = k.allocate(0);
    EXPECT_NE(empty, nullptr);
    k.free(empty);
    k.free(nullptr);
}

class FileTest : public KernelTest {};

TEST_F(FileTest, WriteModeCreatesTruncatesAndReadsBack)
{
    const std::string name = path("f.bin");
    int32_t h = k.open(name.c_str(), 0x8302, 0x80);
    ASSERT_GE(h, 0);
    EXPECT_EQ(k.write(h, "hello world", 11), 11);
    EXPECT_EQ(k.seek(h, 0, 0), 0);
    char buf[16] = {};
    EXPECT_EQ(k.read(h, buf, 16), 11);
    EXPECT_EQ(k.fileSize(h), 11);
    EXPECT_EQ(k.seek(h, -3, 2), 8);
    EXPECT_EQ(k.close(h), 0);

    h = k.open(name.c_str(), 0x8302, 0x80);  // truncates
    EXPECT_EQ(k.fileSize(h), 0);
    k.close(h);
    struct stat st {};
    ASSERT_EQ(stat(name.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
}

TEST_F(FileTest, ReadModeNeverWritesOrCreates)
{
    EXPECT_LT(k.open(path("missing").c_str(), 0x8000, 0x100), 0);
    write("r.bin", Bytes{1, 2, 3});
    const int32_t h = k.open(path("r.bin").c_str(), 0x8000, 0x100);
    ASSERT_GE(h, 0);
    EXPECT_LT(k.write(h, "x", 1), 0);
    EXPECT_LT(k.seek(h, -1, 0), 0);
    EXPECT_LT(k.seek(h, 0, 7), 0);
    k.close(h);
    // A file created with read mode only is read-only.
    const int32_t ro = k.open(path("ro.bin").c_str(), 0x8102, 0x100);
    ASSERT_GE(ro, 0);
    k.close(ro);
    struct stat st {};
    ASSERT_EQ(stat(path("ro.bin").c_str(), &st), 0);
    EXPECT_FALSE(st.st_mode & S_IWUSR);
}

TEST_F(FileTest, ForeignHandlesAndBadNamesAreRefused)
{
    EXPECT_LT(k.open(nullptr, 0x8000, 0x100), 0);
    EXPECT_LT(k.open("", 0x8000, 0x100), 0);
    EXPECT_LT(k.open(path("").c_str(), 0x8000, 0x100), 0);          // a folder
    EXPECT_LT(k.open(path("x").c_str(), 0x10000, 0x100), 0);        // unknown flag
    EXPECT_EQ(k.close(0), -1);   // standard input was never the kernel's
    EXPECT_EQ(k.read(1, nullptr, 0), -1);
    write("r.bin", Bytes{1});
    const int32_t h = k.open(path("r.bin").c_str(), 0x8000, 0x100);
    EXPECT_LT(k.read(h, nullptr, 4), 0);
    EXPECT_EQ(k.close(h), 0);
    EXPECT_EQ(k.close(h), -1);   // twice
}

}  // namespace
}  // namespace imaging::testing
