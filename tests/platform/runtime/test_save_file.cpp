// Saving a file whole or not at all: a failed write, a long path, a link, a
// folder that takes no new file, and what a killed save leaves.
#include "platform/runtime/SaveFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using bwtest::fileBytes;

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                  | QDir::NoDotAndDotDot);
}

struct FailingWrites {
    FailingWrites(int error, qint64 after) { rt::testing::failSaveWrites(error, after); }
    ~FailingWrites() { rt::testing::failSaveWrites(0); }
};

// Each case with an unnamed temporary file and with a named one, as on a
// file system that has no unnamed files.
class SaveFileBoth : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { rt::testing::useNamedTempFiles(GetParam()); }
    void TearDown() override { rt::testing::useNamedTempFiles(false); }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(SaveFile, SaveFileBoth, ::testing::Values(false, true),
                         [](const auto& info) {
                             return std::string(info.param ? "Named" : "Unnamed");
                         });

TEST_P(SaveFileBoth, AWriteThatFailsKeepsTheOldFileLeavesNothingAndSaysTheCause)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.json"));
    put(path, "old content");
    const QByteArray next(70000, 'n');   // larger than any buffer on the way
    for (const int error : {ENOSPC, EIO}) {
        SCOPED_TRACE(std::strerror(error));
        // Only the very last byte fails: everything before it was written.
        const FailingWrites failing(error, next.size() - 1);
        QString why;
        EXPECT_FALSE(rt::saveWholeFile(path, next, &why));
        EXPECT_EQ(why, QString::fromLocal8Bit(std::strerror(error)));
        EXPECT_EQ(fileBytes(path), "old content");
        EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("settings.json")});
    }
    // A save streamed in pieces fails at the piece that fails, and commit too.
    {
        const FailingWrites failing(ENOSPC, 5);
        rt::SaveFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write("12345"), 5);
        EXPECT_EQ(file.write("6"), -1);
        EXPECT_FALSE(file.commit());
        EXPECT_EQ(file.errorString(), QStringLiteral("No space left on device"));
    }
    EXPECT_EQ(fileBytes(path), "old content");
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("settings.json")});

    EXPECT_TRUE(rt::saveWholeFile(path, next));
    EXPECT_EQ(fileBytes(path), next);
}

TEST(SaveFile, TheKernelsOwnRefusalIsCaughtBeforeAnythingIsReplaced)
{
    // A file size limit makes the kernel refuse the write itself, as a full
    // disk does, without needing a file system to fill.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.qrv"));
    put(path, "old");
    QString why;
    bool saved = true;
    {
        bwtest::FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.set());
        saved = rt::saveWholeFile(path, QByteArray(4097, 'x'), &why);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(why, QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_EQ(fileBytes(path), "old");
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("big.qrv")});
}

TEST_P(SaveFileBoth, APathOfTheLongestValidLengthSaves)
{
    QTemporaryDir dir;
    // PATH_MAX counts the NUL: 4095 bytes is the longest path a call takes,
    // with a name of the longest a folder holds (255).
    const QString name = QString(251, QLatin1Char('n')) + QStringLiteral(".qrv");
    QString folder = dir.path();
    while (folder.size() + 1 + name.size() < 4095) {
        const int room = 4095 - int(folder.size()) - 1 - int(name.size()) - 1;
        folder += QLatin1Char('/') + QString(qBound(1, room, 200), QLatin1Char('d'));
    }
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QLatin1Char('/') + name;
    ASSERT_EQ(QFile::encodeName(path).size(), 4095);
    put(path, "old");
    QString why;
    EXPECT_TRUE(rt::saveWholeFile(path, "new", &why)) << why.toStdString();
    EXPECT_EQ(fileBytes(path), "new");
    EXPECT_EQ(entries(folder), QStringList{name});
}

TEST_P(SaveFileBoth, ThroughALinkTheFileItNamesIsSavedAndTheLinkStays)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("real")));
    const QString real = dir.filePath(QStringLiteral("real/store.json"));
    const QString link = dir.filePath(QStringLiteral("link.json"));
    put(real, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("real/store.json"), link));   // relative
    EXPECT_TRUE(rt::saveWholeFile(link, "new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(fileBytes(real), "new");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u) << "the saved file keeps its permissions";
    EXPECT_EQ(entries(dir.filePath(QStringLiteral("real"))),
              QStringList{QStringLiteral("store.json")});
}

TEST(SaveFile, AFolderThatTakesNoNewFileIsNamedAsTheCause)
{
    // A writable file in a folder that takes no new file: the folder is
    // said to be the cause. Root may write anywhere, so the save runs as
    // nobody in a child of this process.
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("closed"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/config.qrv");
    put(path, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    int answer[2];
    ASSERT_EQ(::pipe(answer), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        if (::access(QFile::encodeName(path).constData(), W_OK) != 0)
            ::_exit(3);   // the temporary folder is out of nobody's reach
        QString why;
        const bool saved = rt::saveWholeFile(path, "new", &why);
        const QByteArray said = why.toUtf8();
        (void)!::write(answer[1], said.constData(), size_t(said.size()));
        ::_exit(saved ? 1 : 0);
    }
    ::close(answer[1]);
    QByteArray said;
    char buffer[512];
    for (ssize_t n; (n = ::read(answer[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    ::close(answer[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 2) << "could not become nobody";
    if (WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "the temporary folder cannot be reached by nobody";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "saved where no file can be made";
    EXPECT_EQ(QString::fromUtf8(said),
              QStringLiteral("the folder %1 does not let a new file be made in it "
                             "(Permission denied)")
                  .arg(folder));
    EXPECT_EQ(fileBytes(path), "old");
}

TEST(SaveFile, WhatAKilledSaveLeftGoesWithTheNextSaveAndALiveOneStays)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("registry.json"));
    put(path, "old");
    // A save killed between naming its file and the rename leaves it named;
    // a save still writing holds its lock.
    const QString dead = dir.filePath(QStringLiteral(".~save.k1lled00"));
    const QString live = dir.filePath(QStringLiteral(".~save.wr1t1ng0"));
    const QString other = dir.filePath(QStringLiteral(".~save.Not0urs1"));   // not one of ours
    put(dead, "a whole store");
    put(live, "being written");
    put(other, "someone else's");
    const int liveFd = ::open(QFile::encodeName(live).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(liveFd, 0);
    ASSERT_EQ(::flock(liveFd, LOCK_EX), 0);

    EXPECT_TRUE(rt::saveWholeFile(path, "new"));
    EXPECT_FALSE(QFile::exists(dead));
    EXPECT_TRUE(QFile::exists(live));
    EXPECT_TRUE(QFile::exists(other));
    ::close(liveFd);   // the writer was killed after all
    EXPECT_TRUE(rt::saveWholeFile(path, "newer"));
    EXPECT_EQ(entries(dir.path()),
              (QStringList{QStringLiteral(".~save.Not0urs1"), QStringLiteral("registry.json")}));
    EXPECT_EQ(fileBytes(path), "newer");
}

TEST_P(SaveFileBoth, SavesKilledAtAnyMomentLeaveTheOldOrNewFileAndNothingAfterTheNextSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("store.json"));
    const QByteArray a(64 * 1024, 'a');
    const QByteArray b(64 * 1024, 'b');
    put(path, a);
    for (int round = 0; round < 40; ++round) {
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(started[0]);
            for (int n = 0;; ++n) {
                rt::saveWholeFile(path, n % 2 ? a : b);
                if (n == 0)
                    (void)!::write(started[1], "s", 1);
            }
        }
        ::close(started[1]);
        char c = 0;
        ASSERT_EQ(::read(started[0], &c, 1), 1);   // saving: kill it somewhere inside
        ::close(started[0]);
        ::usleep(useconds_t(round * 37 % 500));   // only varies the moment of the kill
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        const QByteArray now = fileBytes(path);
        ASSERT_TRUE(now == a || now == b) << "round " << round;
        // At most this round's own file: the round before's went with its saves.
        ASSERT_LE(entries(dir.path()).size(), 2) << "round " << round;
    }
    EXPECT_TRUE(rt::saveWholeFile(path, "next"));
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("store.json")});
}
