// Pelmcore's guarded memory and file access.

#include "tests/platform/imaging/KernelTest.h"
#include "tests/support/FifoWatch.h"
#include "tests/support/FileSizeLimit.h"

#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST_F(FileTest, PipesAreRefusedWithoutWaiting)
{
    const std::string pipe = path("pipe.dump");
    ASSERT_TRUE(bwtest::makeFifo(pipe));
    bwtest::FifoWatch watch(pipe);
    EXPECT_LT(k.open(pipe.c_str(), 0x8000, 0x100), 0);   // reading
    EXPECT_LT(k.open(pipe.c_str(), 0x8002, 0x80), 0);    // reading and writing in place
    EXPECT_LT(k.open(pipe.c_str(), 0x8302, 0x80), 0);    // writing whole
    EXPECT_FALSE(watch.released()) << "opening the pipe blocked";
    struct stat st {};
    ASSERT_EQ(stat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

class WholeWriteTest : public KernelTest {
protected:
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        DIR* d = opendir(path("").c_str());
        while (dirent* e = d ? readdir(d) : nullptr) {
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                out.push_back(e->d_name);
        }
        if (d)
            closedir(d);
        std::sort(out.begin(), out.end());
        return out;
    }
    static std::string text(const Bytes& b) { return std::string(b.begin(), b.end()); }
};

TEST_F(WholeWriteTest, TheOldFileStaysUntilACompleteWriteIsClosed)
{
    const std::string name = write("image.dump", Bytes{'o', 'l', 'd'});
    ASSERT_EQ(chmod(name.c_str(), 0640), 0);
    const int32_t h = k.open(name.c_str(), 0x8302, 0x80);
    ASSERT_GE(h, 0);
    EXPECT_EQ(k.fileSize(h), 0);   // the new content starts empty
    EXPECT_EQ(k.write(h, "brand new", 9), 9);
    EXPECT_EQ(text(readAll(name)), "old");
    EXPECT_EQ(k.close(h), 0);
    EXPECT_EQ(text(readAll(name)), "brand new");
    struct stat st {};
    ASSERT_EQ(stat(name.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);   // the file keeps its permissions
    EXPECT_EQ(names(), std::vector<std::string>{"image.dump"});
}

TEST_F(WholeWriteTest, ADiscardedOrFailedWriteKeepsTheOldFile)
{
    const std::string name = write("image.dump", Bytes{'o', 'l', 'd'});
    int32_t h = k.open(name.c_str(), 0x8302, 0x80);
    ASSERT_GE(h, 0);
    EXPECT_EQ(k.write(h, "part", 4), 4);
    EXPECT_EQ(k.discard(h), 1);
    EXPECT_EQ(k.close(h), -1);
    EXPECT_EQ(text(readAll(name)), "old");
    EXPECT_EQ(names(), std::vector<std::string>{"image.dump"});

    // A write that fails half-way (here: a file-size limit) counts the same.
    h = k.open(name.c_str(), 0x8302, 0x80);
    ASSERT_GE(h, 0);
    const Bytes big(64, 'x');
    int32_t written = 0;
    {
        bwtest::FileSizeLimit limit(16);
        ASSERT_TRUE(limit.set());
        written = k.write(h, big.data(), int32_t(big.size()));
    }
    EXPECT_EQ(written, -1);
    EXPECT_EQ(k.close(h), -1);
    EXPECT_EQ(text(readAll(name)), "old");
    EXPECT_EQ(names(), std::vector<std::string>{"image.dump"});

    // Only a file opened to be written whole can be discarded.
    h = k.open(name.c_str(), 0x8000, 0x100);
    EXPECT_EQ(k.discard(h), core::kBadArgument);
    k.close(h);
}

TEST_F(WholeWriteTest, ALinkStaysALinkAndNewFilesFollowTheFlags)
{
    const std::string real = write("real.dump", Bytes{'o', 'l', 'd'});
    const std::string link = path("link.dump");
    ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
    int32_t h = k.open(link.c_str(), 0x8302, 0x80);
    ASSERT_GE(h, 0);
    EXPECT_EQ(k.write(h, "new", 3), 3);
    EXPECT_EQ(k.close(h), 0);
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(text(readAll(real)), "new");

    // Without create a missing file is not made; with exclusive an existing one is refused.
    EXPECT_LT(k.open(path("missing.dump").c_str(), 0x8202, 0x80), 0);
    EXPECT_LT(k.open(real.c_str(), 0x8702, 0x80), 0);
    h = k.open(path("fresh.dump").c_str(), 0x8702, 0x80);
    ASSERT_GE(h, 0);
    EXPECT_EQ(k.close(h), 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"fresh.dump", "link.dump", "real.dump"}));
}

namespace {

// A writer on a file system without unnamed files: its temporary file has a
// name from the start, and it holds the lock that marks it as running.
[[noreturn]] void holdNamedTemp(const std::string& folder, int ready)
{
    const std::string temp = folder + ".pelm-" + std::to_string(getpid()) + "-0.tmp";
    const int fd = open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0 || flock(fd, LOCK_EX) != 0 || ::write(fd, "part", 4) != 4)
        _exit(1);
    (void)::write(ready, "r", 1);
    for (;;)
        pause();
}

// Saves the file whole, over and over, until it is killed.
[[noreturn]] void saveForEver(const KernelClient& k, const std::string& name)
{
    const Bytes chunk(64 << 10, 'x');
    for (;;) {
        const int32_t h = k.open(name.c_str(), 0x8302, 0x80);
        for (int i = 0; i < 8; ++i)
            k.write(h, chunk.data(), int32_t(chunk.size()));
        k.close(h);
    }
}

}  // namespace

TEST_F(WholeWriteTest, SavesKilledWhileWritingLeaveNothingAfterTheNextSave)
{
    const std::string name = write("image.dump", Bytes{'o', 'l', 'd'});
    // Starts a writer that keeps a named temporary file; once it holds it.
    auto startNamed = [this] {
        int ready[2];
        if (pipe(ready) != 0)
            return pid_t(-1);
        const pid_t child = fork();
        if (child == 0)
            holdNamedTemp(path(""), ready[1]);
        char c = 0;
        const bool held = child > 0 && read(ready[0], &c, 1) == 1;
        close(ready[0]);
        close(ready[1]);
        return held ? child : pid_t(-1);
    };
    for (int i = 0; i < 100; ++i) {
        pid_t child = 0;
        if (i % 10 == 9) {
            child = startNamed();
        } else if ((child = fork()) == 0) {
            saveForEver(k, name);
        } else {
            usleep(useconds_t(500 + (i * 397) % 4000));   // kills land at every stage
        }
        ASSERT_GT(child, 0);
        kill(child, SIGKILL);
        ASSERT_EQ(waitpid(child, nullptr, 0), child);
    }
    // A writer that still runs keeps its file.
    const pid_t living = startNamed();
    ASSERT_GT(living, 0);
    const std::string livingTemp = ".pelm-" + std::to_string(living) + "-0.tmp";

    EXPECT_GT(names().size(), 2u);   // the named ones of killed writers at least
    int32_t h = k.open(name.c_str(), 0x8302, 0x80);
    ASSERT_GE(h, 0);
    EXPECT_EQ(k.write(h, "whole", 5), 5);
    EXPECT_EQ(k.close(h), 0);
    EXPECT_EQ(text(readAll(name)), "whole");
    EXPECT_EQ(names(), (std::vector<std::string>{livingTemp, "image.dump"}));

    kill(living, SIGKILL);
    ASSERT_EQ(waitpid(living, nullptr, 0), living);
    h = k.open(name.c_str(), 0x8302, 0x80);
    ASSERT_GE(h, 0);
    EXPECT_EQ(k.close(h), 0);
    EXPECT_EQ(names(), std::vector<std::string>{"image.dump"});
}

TEST_F(WholeWriteTest, ASpecialFileIsNeverOpenedToBeReplaced)
{
    // A pipe with a reader would accept a writer at once: it must not get one.
    const std::string pipe = path("pipe.dump");
    ASSERT_TRUE(bwtest::makeFifo(pipe));
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, pipe.c_str(), IN_CLOSE_WRITE), 0);
    EXPECT_LT(k.open(pipe.c_str(), 0x8302, 0x80), 0);
    char events[256];
    EXPECT_LT(read(watch, events, sizeof events), 0) << "the pipe was opened for writing";
    close(watch);
    close(reader);
    EXPECT_LT(k.open(path("").c_str(), 0x8302, 0x80), 0);   // a folder
    EXPECT_EQ(names(), std::vector<std::string>{"pipe.dump"});
}

}  // namespace
}  // namespace imaging::testing
