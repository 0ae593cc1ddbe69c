#include "platform/system/Events.h"
#include "platform/system/Process.h"

#include <QProcess>
#include <gtest/gtest.h>

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

TEST(Process, NumberIsTheSystemProcessId)
{
    EXPECT_EQ(CoGetCurrentProcess(), int32_t(::getpid()));
}
