#include "RegistryFixture.h"

#include "platform/runtime/SaveFile.h"
#include "platform/system/ProgramSettings.h"
#include "platform/system/RegistryFile.h"
#include "tests/support/FifoWatch.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QProcessEnvironment>
#include <gmock/gmock.h>

#include <cerrno>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace sys;

namespace {

using bwtest::fileBytes;

HKEY create(HKEY parent, const QString& path)
{
    HKEY h = 0;
    EXPECT_EQ(RegCreateKeyExA(parent, path, 0, {}, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    return h;
}

void setText(HKEY h, const QString& name, const QByteArray& text)
{
    ASSERT_EQ(RegSetValueExA(h, name, 0, REG_SZ, text, uint32_t(text.size())), ERROR_SUCCESS);
}

QByteArray query(HKEY h, const QString& name, int32_t* rc = nullptr)
{
    QByteArray data;
    uint32_t size = 1024;
    const int32_t r = RegQueryValueExA(h, name, nullptr, nullptr, &data, &size);
    if (rc)
        *rc = r;
    return data;
}

QStringList subkeys(HKEY h)
{
    QStringList names;
    for (uint32_t i = 0;; ++i) {
        QString name;
        uint32_t len = 256;
        const int32_t rc = RegEnumKeyExA(h, i, &name, &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        EXPECT_EQ(rc, ERROR_SUCCESS);
        names << name;
    }
    return names;
}

// Collects what the registry store reports through its logging category.
struct WarningCatcher {
    WarningCatcher()
    {
        s_messages.clear();
        m_previous = qInstallMessageHandler(&WarningCatcher::handler);
    }
    ~WarningCatcher() { qInstallMessageHandler(m_previous); }
    static void handler(QtMsgType type, const QMessageLogContext& ctx, const QString& msg)
    {
        if (type == QtWarningMsg && QByteArray(ctx.category) == "bw.system.registry")
            s_messages << msg;
    }
    static inline QStringList s_messages;
    QtMessageHandler m_previous;
};

}  // namespace

using Registry = RegistryFixture;

TEST_F(Registry, KeysAndValuesIgnoreCaseAndKeepTheirSpelling)
{
    const HKEY h = create(HKEY_CURRENT_USER, QStringLiteral("Software\\Acme\\Tool"));
    setText(h, QStringLiteral("Left"), "120");
    setText(h, {}, "default text");

    HKEY again = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, QStringLiteral("SOFTWARE\\acme\\TOOL"), 0,
                            KEY_READ, &again),
              ERROR_SUCCESS);
    EXPECT_EQ(query(again, QStringLiteral("LEFT")), "120");
    EXPECT_EQ(query(again, {}), "default text");

    HKEY acme = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, QStringLiteral("software\\ACME"), 0, KEY_READ,
                            &acme),
              ERROR_SUCCESS);
    EXPECT_THAT(subkeys(acme), ::testing::ElementsAre(QStringLiteral("Tool")));
    RegCloseKey(acme);
    RegCloseKey(again);
    RegCloseKey(h);
}

TEST_F(Registry, ResultCodesFollowTheWin32Calls)
{
    HKEY h = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, QStringLiteral("Missing"), 0, KEY_READ, &h),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(h, 0);

    h = create(HKEY_CURRENT_USER, QStringLiteral("Codes"));
    int32_t rc = 0;
    query(h, QStringLiteral("none"), &rc);
    EXPECT_EQ(rc, ERROR_FILE_NOT_FOUND);

    setText(h, QStringLiteral("v"), "abcdef");
    QByteArray data;
    uint32_t size = 3;
    EXPECT_EQ(RegQueryValueExA(h, QStringLiteral("v"), nullptr, nullptr, &data, &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u);
    size = 0;
    EXPECT_EQ(RegQueryValueExA(h, QStringLiteral("v"), nullptr, nullptr, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 6u);

    QString name;
    uint32_t len = 256;
    uint32_t type = 0;
    EXPECT_EQ(RegEnumValueA(h, 0, &name, &len, nullptr, &type, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(name, QStringLiteral("v"));
    EXPECT_EQ(type, REG_SZ);
    len = 256;
    EXPECT_EQ(RegEnumValueA(h, 1, &name, &len, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);

    const HKEY child = create(h, QStringLiteral("LongerName"));
    len = 4;   // room for three characters and the NUL
    EXPECT_EQ(RegEnumKeyExA(h, 0, &name, &len, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    create(child, QStringLiteral("Grandchild"));
    EXPECT_EQ(RegDeleteKeyA(h, QStringLiteral("LongerName")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyA(child, QStringLiteral("Grandchild")), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(h, QStringLiteral("LongerName")), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(child, QStringLiteral("x"), 0, REG_SZ, "1", 1), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteValueA(h, QStringLiteral("v")), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(h, QStringLiteral("v")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(12345), ERROR_INVALID_HANDLE);
}

TEST_F(Registry, LastWriteTimeIsACalendarTime)
{
    const HKEY h = create(HKEY_CURRENT_USER, QStringLiteral("Timed\\Child"));
    HKEY parent = 0;
    RegOpenKeyExA(HKEY_CURRENT_USER, QStringLiteral("Timed"), 0, KEY_READ, &parent);
    QString name;
    uint32_t len = 256;
    FILETIME ft;
    ASSERT_EQ(RegEnumKeyExA(parent, 0, &name, &len, nullptr, nullptr, nullptr, &ft),
              ERROR_SUCCESS);
    SYSTEMTIME st;
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
    EXPECT_EQ(st.wYear, QDateTime::currentDateTimeUtc().date().year());
    const FILETIME bad{0, 0x80000000u};
    EXPECT_FALSE(FileTimeToSystemTime(&bad, &st));
    RegCloseKey(parent);
    RegCloseKey(h);
}

TEST_F(Registry, BinaryAndNumberValuesSurviveAReload)
{
    const HKEY h = create(HKEY_LOCAL_MACHINE, QStringLiteral("Data"));
    const QByteArray bytes("\x00\x01\xff\x7f", 4);
    ASSERT_EQ(RegSetValueExA(h, QStringLiteral("bin"), 0, REG_BINARY, bytes, 4), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(h, QStringLiteral("num"), 0, REG_DWORD,
                             QByteArray("\x2a\x00\x00\x00", 4), 4),
              ERROR_SUCCESS);
    setText(h, QStringLiteral("text"), "Grüße, \"quoted\"");
    RegCloseKey(h);

    sys::testing::reloadRegistry();
    HKEY again = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, QStringLiteral("Data"), 0, KEY_READ, &again),
              ERROR_SUCCESS);
    uint32_t type = 0;
    QByteArray data;
    uint32_t size = 64;
    ASSERT_EQ(RegQueryValueExA(again, QStringLiteral("bin"), nullptr, &type, &data, &size), 0);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(data, bytes);
    EXPECT_EQ(query(again, QStringLiteral("num")), QByteArray("\x2a\x00\x00\x00", 4));
    EXPECT_EQ(QString::fromUtf8(query(again, QStringLiteral("text"))),
              QStringLiteral("Grüße, \"quoted\""));
    RegCloseKey(again);
}

TEST_F(Registry, AStoreWrittenByOneProcessIsReadByTheNext)
{
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BW_REGISTRY_FILE"), storeFile);
    probe.setProcessEnvironment(env);

    probe.start(QStringLiteral(BW_SYSTEM_PROBE),
                {QStringLiteral("reg-set"), QStringLiteral("Software\\Probe"),
                 QStringLiteral("Greeting"), QStringLiteral("from the probe")});
    ASSERT_TRUE(probe.waitForFinished(10000));
    ASSERT_EQ(probe.exitCode(), 0);
    sys::testing::reloadRegistry();   // this process starts after the probe
    EXPECT_EQ(sys::GetSetting(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"),
                              QStringLiteral("none")),
              QStringLiteral("none"));
    HKEY h = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, QStringLiteral("Software\\Probe"), 0, KEY_READ,
                            &h),
              ERROR_SUCCESS);
    EXPECT_EQ(query(h, QStringLiteral("greeting")), "from the probe");

    setText(h, QStringLiteral("Answer"), "from the test");
    RegCloseKey(h);
    probe.start(QStringLiteral(BW_SYSTEM_PROBE),
                {QStringLiteral("reg-get"), QStringLiteral("Software\\Probe"),
                 QStringLiteral("Answer")});
    ASSERT_TRUE(probe.waitForFinished(10000));
    EXPECT_EQ(probe.exitCode(), 0);
    EXPECT_EQ(probe.readAllStandardOutput().trimmed(), "from the test");
}

TEST_F(Registry, ADamagedStoreIsReportedOnceAndKeptAside)
{
    const QByteArray garbage = "{\"format\": \"barwright-registry\", \"version\": 1, \"roo";
    {
        QFile f(storeFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(garbage);
    }
    WarningCatcher catcher;
    sys::testing::reloadRegistry();
    // Reads fall back to defaults and leave the file alone.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(GetSetting(QStringLiteral("App"), QStringLiteral("Sec"), QStringLiteral("Key"),
                             QStringLiteral("dflt")),
                  QStringLiteral("dflt"));
    }
    ASSERT_EQ(WarningCatcher::s_messages.size(), 1);
    EXPECT_THAT(WarningCatcher::s_messages[0].toStdString(),
                ::testing::AllOf(::testing::HasSubstr(storeFile.toStdString()),
                                 ::testing::HasSubstr("not valid JSON")));
    EXPECT_EQ(fileBytes(storeFile), garbage);

    // The first save moves the damaged file aside and writes a sound store.
    SaveSetting(QStringLiteral("App"), QStringLiteral("Sec"), QStringLiteral("Key"),
                QStringLiteral("new"));
    QFile aside(storeFile + QStringLiteral(".damaged"));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), garbage);
    sys::testing::reloadRegistry();
    EXPECT_EQ(GetSetting(QStringLiteral("App"), QStringLiteral("Sec"), QStringLiteral("Key")),
              QStringLiteral("new"));
    EXPECT_EQ(WarningCatcher::s_messages.size(), 1);
}

TEST_F(Registry, ForeignOrMalformedStoresAreDamagedToo)
{
    const QList<QByteArray> cases = {
        "[1, 2, 3]",
        R"({"format": "something-else", "version": 1, "roots": {}})",
        R"({"format": "barwright-registry", "version": 99, "roots": {}})",
        R"({"format": "barwright-registry", "version": 1, "roots": [{"name": "A"}]})",
        R"({"format": "barwright-registry", "version": 1})",
        R"({"format": "barwright-registry", "version": 1,
            "roots": {"HKEY_CURRENT_USER": {"name": "HKEY_CURRENT_USER",
              "values": [{"name": "v", "type": 3, "base64": "***"}]}}})",
        R"({"format": "barwright-registry", "version": 1,
            "roots": {"HKEY_CURRENT_USER": {"name": "x", "keys": [{"name": "A"},
              {"name": "a"}]}}})",
    };
    for (const QByteArray& content : cases) {
        SCOPED_TRACE(content.toStdString());
        QFile f(storeFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        WarningCatcher catcher;
        sys::testing::reloadRegistry();
        HKEY h = 0;
        EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, QStringLiteral("a"), 0, KEY_READ, &h),
                  ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(WarningCatcher::s_messages.size(), 1);
    }
}

TEST_F(Registry, APipeInPlaceOfTheStoreIsNotWaitedOn)
{
    ASSERT_TRUE(bwtest::makeFifo(storeFile.toStdString()));
    WarningCatcher catcher;
    {
        bwtest::FifoWatch watch(storeFile.toStdString());
        sys::testing::reloadRegistry();
        EXPECT_EQ(GetSetting(QStringLiteral("App"), QStringLiteral("Sec"), QStringLiteral("Key"),
                             QStringLiteral("dflt")),
                  QStringLiteral("dflt"));
        EXPECT_FALSE(watch.released()) << "reading the pipe blocked";
    }
    ASSERT_EQ(WarningCatcher::s_messages.size(), 1);
    EXPECT_THAT(WarningCatcher::s_messages[0].toStdString(),
                ::testing::HasSubstr("not a regular file"));
}

TEST_F(Registry, AStoreThatIsNoRegularFileIsNeverReplaced)
{
    const bool root = ::geteuid() == 0;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    const QString folder = dir.filePath(QStringLiteral("folder"));
    const QString device = dir.filePath(QStringLiteral("null"));
    const QString link = dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(bwtest::makeFifo(fifo.toStdString()));
    ASSERT_TRUE(QDir().mkdir(folder));
    QStringList paths = {fifo, folder};
    if (root) {
        // A copy of /dev/null, so that a fault moves nothing of the system's.
        ASSERT_EQ(::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666,
                          ::makedev(1, 3)),
                  0);
        ASSERT_TRUE(QFile::link(device, link));
        paths << device << link;
    }
    const auto listing = [this] {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::System)
            .join(u' ')
            .toStdString();
    };
    const std::string entries = listing();
    bwtest::FifoWatch watch(fifo.toStdString());
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        struct stat before {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
        qputenv("BW_REGISTRY_FILE", QFile::encodeName(path));
        WarningCatcher catcher;
        sys::testing::reloadRegistry();
        EXPECT_EQ(GetSetting(QStringLiteral("App"), QStringLiteral("Sec"), QStringLiteral("Key"),
                             QStringLiteral("dflt")),
                  QStringLiteral("dflt"));
        HKEY h = 0;
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, QStringLiteral("Saved"), 0, {}, 0,
                                  KEY_ALL_ACCESS, nullptr, &h, nullptr),
                  ERROR_CANTWRITE);
        EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, QStringLiteral("Again"), 0, {}, 0,
                                  KEY_ALL_ACCESS, nullptr, &h, nullptr),
                  ERROR_CANTWRITE);

        struct stat after {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_rdev, before.st_rdev);
        EXPECT_EQ(listing(), entries);
        ASSERT_EQ(WarningCatcher::s_messages.size(), 1);
        EXPECT_THAT(WarningCatcher::s_messages[0].toStdString(),
                    ::testing::AllOf(::testing::HasSubstr(path.toStdString()),
                                     ::testing::HasSubstr("not a regular file"),
                                     ::testing::Not(::testing::HasSubstr("damaged"))));
    }
    EXPECT_FALSE(watch.released()) << "the pipe was waited on";
    if (!root)
        GTEST_SKIP() << "a device in place of the store needs root to be made";
}

TEST_F(Registry, AHugeStoreIsRefusedAtOnceWithoutBeingRead)
{
    constexpr qint64 kSize = qint64(2) << 30;
    {
        QFile f(storeFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(kSize));   // sparse: costs no disk
    }
    struct rusage before {};
    ::getrusage(RUSAGE_SELF, &before);
    QElapsedTimer clock;
    clock.start();
    WarningCatcher catcher;
    sys::testing::reloadRegistry();
    EXPECT_EQ(GetSetting(QStringLiteral("App"), QStringLiteral("Sec"), QStringLiteral("Key"),
                         QStringLiteral("dflt")),
              QStringLiteral("dflt"));
    // Kept aside at the first save, as any store that is not one.
    SaveSetting(QStringLiteral("App"), QStringLiteral("Sec"), QStringLiteral("Key"),
                QStringLiteral("new"));
    EXPECT_LT(clock.elapsed(), 2000);
    struct rusage after {};
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes more at the peak";

    ASSERT_EQ(WarningCatcher::s_messages.size(), 1);
    EXPECT_THAT(WarningCatcher::s_messages[0].toStdString(),
                ::testing::AllOf(::testing::HasSubstr(storeFile.toStdString()),
                                 ::testing::HasSubstr("too large"),
                                 ::testing::HasSubstr(std::to_string(kSize))));
    EXPECT_EQ(QFileInfo(storeFile + QStringLiteral(".damaged")).size(), kSize);
    sys::testing::reloadRegistry();
    EXPECT_EQ(GetSetting(QStringLiteral("App"), QStringLiteral("Sec"), QStringLiteral("Key")),
              QStringLiteral("new"));
}

TEST_F(Registry, AStoreThatCannotBeReadIsSaidSoAndKept)
{
    const HKEY h = create(HKEY_CURRENT_USER, QStringLiteral("Software\\Probe"));
    setText(h, QStringLiteral("Kept"), "yes");
    RegCloseKey(h);
    QFile file(storeFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    file.close();
    // Write-only: a writer that may replace the store must still not save
    // over what it could not read.
    ASSERT_TRUE(file.setPermissions(QFile::WriteOwner));

    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BW_REGISTRY_FILE"), storeFile);
    probe.setProcessEnvironment(env);
    // Run from the test's own folder: the build folder may lie where nobody
    // cannot enter (a checkout under root's home).
    const QString program = dir.filePath(QStringLiteral("probe"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(BW_SYSTEM_PROBE), program));
    constexpr uid_t kNobody = 65534;
    constexpr int kNoUser = 99;
    if (::geteuid() == 0) {
        // Root reads any file: the probe runs as nobody, who owns the store.
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
        ASSERT_EQ(::chown(QFile::encodeName(storeFile).constData(), kNobody, kNobody), 0);
        probe.setChildProcessModifier([] {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(kNoUser);
        });
    }
    const auto run = [&](const QStringList& args) {
        probe.start(program, args);
        EXPECT_TRUE(probe.waitForFinished(10000));
        return probe.exitCode();
    };
    const int read = run({QStringLiteral("reg-get"), QStringLiteral("Software\\Probe"),
                          QStringLiteral("Kept")});
    if (read == 0 || read == kNoUser)
        GTEST_SKIP() << "the store can still be read";
    EXPECT_EQ(read, 2);
    const auto saysUnreadable = ::testing::AllOf(
        ::testing::HasSubstr(storeFile.toStdString()), ::testing::HasSubstr("cannot be read"),
        ::testing::Not(::testing::HasSubstr("damaged")));
    EXPECT_THAT(probe.readAllStandardError().toStdString(), saysUnreadable);
    EXPECT_EQ(run({QStringLiteral("reg-set"), QStringLiteral("Software\\Probe"),
                   QStringLiteral("Other"), QStringLiteral("x")}),
              2);
    EXPECT_THAT(probe.readAllStandardError().toStdString(), saysUnreadable);

    EXPECT_FALSE(QFile::exists(storeFile + QStringLiteral(".damaged")));
    ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), content);
}

TEST_F(Registry, ASaveThatFailsKeepsTheStoreLeavesNothingAndSaysWhy)
{
    const HKEY h = create(HKEY_CURRENT_USER, QStringLiteral("Software\\Probe"));
    setText(h, QStringLiteral("Kept"), "yes");
    const QByteArray before = fileBytes(storeFile);
    WarningCatcher catcher;
    {
        // The disk fills at the last byte of the new store.
        rt::testing::failSaveWrites(ENOSPC, before.size());
        const QByteArray more = "more";
        EXPECT_EQ(RegSetValueExA(h, QStringLiteral("More"), 0, REG_SZ, more, 4), ERROR_CANTWRITE);
        rt::testing::failSaveWrites(0);
    }
    ASSERT_EQ(WarningCatcher::s_messages.size(), 1);
    EXPECT_THAT(WarningCatcher::s_messages[0].toStdString(),
                ::testing::AllOf(::testing::HasSubstr(storeFile.toStdString()),
                                 ::testing::HasSubstr("No space left on device")));
    EXPECT_EQ(fileBytes(storeFile), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("registry.json"), QStringLiteral("registry.json.lock")}));

    // The change waits for the next save, which keeps both.
    setText(h, QStringLiteral("Other"), "x");
    RegCloseKey(h);
    sys::testing::reloadRegistry();
    const HKEY again = create(HKEY_CURRENT_USER, QStringLiteral("Software\\Probe"));
    EXPECT_EQ(query(again, QStringLiteral("Kept")), "yes");
    EXPECT_EQ(query(again, QStringLiteral("More")), "more");
    RegCloseKey(again);
}

TEST_F(Registry, AWriteThatWouldTakeTheStorePastWhatIsReadIsRefused)
{
    const HKEY h = create(HKEY_CURRENT_USER, QStringLiteral("Software\\Probe"));
    setText(h, QStringLiteral("Big"), "x");
    const qint64 overhead = QFileInfo(storeFile).size() - 1;
    // Exactly the size a store can have is accepted and read back ...
    const QByteArray fits(kMaxRegistryStoreBytes - overhead, 'x');
    setText(h, QStringLiteral("Big"), fits);
    ASSERT_EQ(QFileInfo(storeFile).size(), kMaxRegistryStoreBytes);
    // ... one byte more is refused, on disk and in this program alike.
    const QByteArray tooBig = fits + 'y';
    EXPECT_EQ(RegSetValueExA(h, QStringLiteral("Big"), 0, REG_SZ, tooBig,
                             uint32_t(tooBig.size())),
              ERROR_REGISTRY_QUOTA_LIMIT);
    int32_t rc = 0;
    uint32_t size = uint32_t(tooBig.size());
    QByteArray data;
    EXPECT_EQ(RegQueryValueExA(h, QStringLiteral("Big"), nullptr, nullptr, &data, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(data, fits);
    EXPECT_EQ(QFileInfo(storeFile).size(), kMaxRegistryStoreBytes);
    // A new value is refused as well, and smaller writes go on.
    EXPECT_EQ(RegSetValueExA(h, QStringLiteral("New"), 0, REG_SZ, "v", 1),
              ERROR_REGISTRY_QUOTA_LIMIT);
    query(h, QStringLiteral("New"), &rc);
    EXPECT_EQ(rc, ERROR_FILE_NOT_FOUND);
    setText(h, QStringLiteral("Big"), "small");
    setText(h, QStringLiteral("New"), "v");
    RegCloseKey(h);

    sys::testing::reloadRegistry();
    const HKEY again = create(HKEY_CURRENT_USER, QStringLiteral("Software\\Probe"));
    EXPECT_EQ(query(again, QStringLiteral("Big")), "small");
    EXPECT_EQ(query(again, QStringLiteral("New")), "v");
    RegCloseKey(again);
}
