#include "platform/system/Events.h"
#include "platform/system/Process.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace sys;

namespace {

QString uniqueName(const char* what)
{
    return QStringLiteral("bw test %1 %2").arg(QLatin1String(what)).arg(::getpid());
}

}  // namespace

TEST(Events, ManualResetStaysSignalledUntilReset)
{
    const HANDLE h = CreateEventA(nullptr, true, false, uniqueName("manual"));
    ASSERT_NE(h, 0);
    EXPECT_EQ(GetLastError(), uint32_t(ERROR_SUCCESS));
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(SetEvent(h));
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ResetEvent(h));
    EXPECT_EQ(WaitForSingleObject(h, 20), WAIT_TIMEOUT);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
}

TEST(Events, AutoResetReleasesOneWait)
{
    const HANDLE h = CreateEventA(nullptr, false, true, {});
    ASSERT_NE(h, 0);
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_TIMEOUT);
    CloseHandle(h);
}

TEST(Events, NamesAreSharedAndGoWithTheLastHandle)
{
    const QString name = uniqueName("shared / name");
    EXPECT_EQ(OpenEventA(SYNCHRONIZE, false, name), 0);
    EXPECT_EQ(GetLastError(), uint32_t(ERROR_FILE_NOT_FOUND));

    const HANDLE a = CreateEventA(nullptr, true, false, name);
    const HANDLE b = CreateEventA(nullptr, false, true, name);   // opens the same one
    EXPECT_EQ(GetLastError(), uint32_t(ERROR_ALREADY_EXISTS));
    const HANDLE c = OpenEventA(SYNCHRONIZE, false, name);
    ASSERT_NE(c, 0);
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_TIMEOUT);   // the creator's state counts
    SetEvent(a);
    EXPECT_EQ(WaitForSingleObject(c, 0), WAIT_OBJECT_0);
    CloseHandle(a);
    CloseHandle(b);
    CloseHandle(c);
    EXPECT_EQ(OpenEventA(SYNCHRONIZE, false, name), 0);
}

TEST(Events, AnotherProcessWaitsByNameAndIsReleased)
{
    const QString name = QStringLiteral("RYX Close") + QString::number(CoGetCurrentProcess());
    const HANDLE h = CreateEventA(nullptr, true, false, name);
    ASSERT_NE(h, 0);
    QProcess probe;
    probe.start(QStringLiteral(BW_SYSTEM_PROBE),
                {QStringLiteral("wait-event"), name, QStringLiteral("20000")});
    ASSERT_TRUE(probe.waitForReadyRead(10000));
    EXPECT_EQ(probe.readLine().trimmed(), "opened");
    EXPECT_FALSE(probe.waitForFinished(200));   // still waiting
    SetEvent(h);
    CloseHandle(h);
    ASSERT_TRUE(probe.waitForFinished(10000));
    EXPECT_EQ(probe.exitCode(), 0);
    EXPECT_EQ(probe.readAll().trimmed(), "signalled");
}

namespace {

// A second process that creates or opens the event (signalling it when asked)
// and is then killed with SIGKILL, so it never closes its handle.
void holdAndKill(const QString& name, bool signal)
{
    QProcess holder;
    holder.start(QStringLiteral(BW_SYSTEM_PROBE),
                 {QStringLiteral("hold-event"), name, signal ? QStringLiteral("1")
                                                             : QStringLiteral("0")});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readLine().trimmed(), "held");
    holder.kill();
    ASSERT_TRUE(holder.waitForFinished(10000));
    EXPECT_EQ(holder.exitStatus(), QProcess::CrashExit);
}

}  // namespace

TEST(Events, AnEventHeldOnlyByAKilledProcessIsGone)
{
    const QString name = uniqueName("killed holder");
    holdAndKill(name, true);
    EXPECT_EQ(OpenEventA(SYNCHRONIZE, false, name), 0);
    EXPECT_EQ(GetLastError(), uint32_t(ERROR_FILE_NOT_FOUND));

    holdAndKill(name, true);
    const HANDLE h = CreateEventA(nullptr, true, false, name);   // a new one, not signalled
    ASSERT_NE(h, 0);
    EXPECT_EQ(GetLastError(), uint32_t(ERROR_SUCCESS));
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_TIMEOUT);
    CloseHandle(h);
}

TEST(Events, KilledHoldersLeaveNothingAfterTheNextProgramOpensAnyEvent)
{
    // Names without escapes, so that the shared-memory files are easy to find.
    const QString kept = QStringLiteral("/dev/shm/bw-event-bw-test-kept-%1").arg(::getpid());
    const QString left = QStringLiteral("/dev/shm/bw-event-bw-test-killed-%1").arg(::getpid());
    const HANDLE living = CreateEventA(nullptr, true, false, kept.mid(18));
    ASSERT_NE(living, 0);
    holdAndKill(left.mid(18), true);   // its event stays until some program opens one

    QProcess next;   // a program opening an event of another name
    next.start(QStringLiteral(BW_SYSTEM_PROBE), {QStringLiteral("wait-event"),
                                                 uniqueName("unrelated"), QStringLiteral("0")});
    ASSERT_TRUE(next.waitForFinished(10000));
    EXPECT_FALSE(QFile::exists(left));
    EXPECT_TRUE(QFile::exists(kept));
    CloseHandle(living);
    EXPECT_FALSE(QFile::exists(kept));
}

TEST(Events, ALivingHolderKeepsTheEventWhenAnotherIsKilled)
{
    const QString name = uniqueName("one holder left");
    const HANDLE h = CreateEventA(nullptr, true, false, name);
    ASSERT_NE(h, 0);
    holdAndKill(name, true);   // opens ours and signals it
    const HANDLE again = OpenEventA(SYNCHRONIZE, false, name);
    ASSERT_NE(again, 0);
    EXPECT_EQ(WaitForSingleObject(again, 0), WAIT_OBJECT_0);
    CloseHandle(again);
    CloseHandle(h);
    EXPECT_EQ(OpenEventA(SYNCHRONIZE, false, name), 0);   // the dead one held nothing
}

TEST(Events, ANameLeftUninitialisedIsReplaced)
{
    // What a creator killed between making the shared memory and filling it
    // leaves behind (shared-memory names are the event names, escaped).
    const QString name = QStringLiteral("bw-test-unfinished-%1").arg(::getpid());
    const QByteArray shm = "/bw-event-" + name.toLatin1();
    const int fd = shm_open(shm.constData(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 16), 0);
    ::close(fd);
    const HANDLE h = CreateEventA(nullptr, true, true, name);
    ASSERT_NE(h, 0);
    EXPECT_EQ(GetLastError(), uint32_t(ERROR_SUCCESS));
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
    CloseHandle(h);
    EXPECT_EQ(shm_open(shm.constData(), O_RDONLY, 0), -1);   // gone with its last handle
}

TEST(Process, NumberIsTheSystemProcessId)
{
    EXPECT_EQ(CoGetCurrentProcess(), int32_t(::getpid()));
}
