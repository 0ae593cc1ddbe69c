#include "RegistryFixture.h"

#include "platform/runtime/Error.h"
#include "platform/system/Clock.h"
#include "platform/system/KeyState.h"
#include "platform/system/ProgramSettings.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

using namespace sys;

using ProgramSettings = RegistryFixture;

namespace {

const QString kSettings = QStringLiteral("Software\\VB and VBA Program Settings\\");

// The registry test probe, on the fixture's store.
void startProbe(QProcess& probe, const QString& store, const QStringList& args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BW_REGISTRY_FILE"), store);
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral(BW_SYSTEM_PROBE), args);
}

}  // namespace

TEST_F(ProgramSettings, RoundTripUnderTheProgramSettingsKey)
{
    const QString app = QStringLiteral("Marquell Conversion Utility");
    EXPECT_EQ(GetSetting(app, QStringLiteral("Startup"), QStringLiteral("Product"),
                         QStringLiteral("0")),
              QStringLiteral("0"));
    SaveSetting(app, QStringLiteral("Startup"), QStringLiteral("Product"), QStringLiteral("3"));
    SaveSetting(app, QStringLiteral("Startup"), QStringLiteral("InitFolder"),
                QStringLiteral("/home/dev/projects"));
    EXPECT_EQ(GetSetting(app, QStringLiteral("STARTUP"), QStringLiteral("product")),
              QStringLiteral("3"));

    HKEY h = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER,
                            QStringLiteral("Software\\VB and VBA Program Settings\\") + app
                                + QStringLiteral("\\Startup"),
                            0, KEY_READ, &h),
              ERROR_SUCCESS);
    RegCloseKey(h);

    DeleteSetting(app, QStringLiteral("Startup"), QStringLiteral("Product"));
    EXPECT_EQ(GetSetting(app, QStringLiteral("Startup"), QStringLiteral("Product"),
                         QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(GetSetting(app, QStringLiteral("Startup"), QStringLiteral("InitFolder")),
              QStringLiteral("/home/dev/projects"));
    DeleteSetting(app);
    EXPECT_EQ(GetSetting(app, QStringLiteral("Startup"), QStringLiteral("InitFolder")),
              QString());
}

TEST_F(ProgramSettings, BadNamesAndMissingEntriesRaiseError5)
{
    const auto number = [](auto&& f) {
        try {
            f();
        } catch (const rt::Error& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(number([] { SaveSetting({}, QStringLiteral("s"), QStringLiteral("k"), {}); }), 5);
    EXPECT_EQ(number([] {
                  SaveSetting(QStringLiteral("a\\b"), QStringLiteral("s"), QStringLiteral("k"),
                              {});
              }),
              5);
    EXPECT_EQ(number([] { DeleteSetting(QStringLiteral("NoSuchApp")); }), 5);
    EXPECT_EQ(number([] {
                  DeleteSetting(QStringLiteral("NoSuchApp"), QStringLiteral("s"),
                                QStringLiteral("k"));
              }),
              5);
}

TEST_F(ProgramSettings, ASaveKeepsWhatAnotherProgramSavedSinceThisOneStarted)
{
    const QString conversion = QStringLiteral("Marquell Conversion Utility");
    const QString utility = QStringLiteral("ConfigUtility");
    const QString panel = QStringLiteral("ControlPanel");
    SaveSetting(conversion, QStringLiteral("Startup"), QStringLiteral("InitFolder"),
                QStringLiteral("/old"));
    SaveSetting(utility, panel, QStringLiteral("Left"), QStringLiteral("10"));
    SaveSetting(utility, panel, QStringLiteral("Stale"), QStringLiteral("x"));
    sys::testing::reloadRegistry();   // this program starts
    EXPECT_EQ(GetSetting(utility, panel, QStringLiteral("Left")), QStringLiteral("10"));

    // Another program saves a setting of its own and ends.
    QProcess probe;
    startProbe(probe, storeFile,
               {QStringLiteral("reg-set"), kSettings + conversion + QStringLiteral("\\Startup"),
                QStringLiteral("InitFolder"), QStringLiteral("/new")});
    ASSERT_TRUE(probe.waitForFinished(10000));
    ASSERT_EQ(probe.exitCode(), 0);

    // This one saves and deletes settings of its own at its end.
    SaveSetting(utility, panel, QStringLiteral("Left"), QStringLiteral("20"));
    DeleteSetting(utility, panel, QStringLiteral("Stale"));
    sys::testing::reloadRegistry();
    EXPECT_EQ(GetSetting(conversion, QStringLiteral("Startup"), QStringLiteral("InitFolder")),
              QStringLiteral("/new"));
    EXPECT_EQ(GetSetting(utility, panel, QStringLiteral("Left")), QStringLiteral("20"));
    EXPECT_EQ(GetSetting(utility, panel, QStringLiteral("Stale"), QStringLiteral("gone")),
              QStringLiteral("gone"));
}

TEST_F(ProgramSettings, TwoProgramsSavingAtOnceBothKeepTheirs)
{
    constexpr int kRounds = 200;
    const QString section = kSettings + QStringLiteral("Probe\\Rounds");
    // One names the store through a link, the other by its real name.
    const QString link = dir.filePath(QStringLiteral("link.json"));
    ASSERT_TRUE(QFile::link(storeFile, link));
    QProcess first;
    QProcess second;
    startProbe(first, link,
               {QStringLiteral("reg-fill"), section, QStringLiteral("a"),
                QString::number(kRounds)});
    startProbe(second, storeFile,
               {QStringLiteral("reg-fill"), section, QStringLiteral("b"),
                QString::number(kRounds)});
    ASSERT_TRUE(first.waitForFinished(60000));
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(first.exitCode(), 0) << "a program lost what it saved in the round before";
    EXPECT_EQ(second.exitCode(), 0) << "a program lost what it saved in the round before";

    sys::testing::reloadRegistry();
    int kept = 0;
    for (int n = 0; n < kRounds; ++n) {
        for (const QString& prefix : {QStringLiteral("a"), QStringLiteral("b")}) {
            kept += GetSetting(QStringLiteral("Probe"), QStringLiteral("Rounds"),
                               prefix + QString::number(n))
                    == QString::number(n);
        }
    }
    EXPECT_EQ(kept, 2 * kRounds);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST(KeyState, DownSetsTheHighBitAndPressesToggle)
{
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    setKeyState(VK_SHIFT, true);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 1, 1);
    setKeyState(VK_SHIFT, true);   // auto-repeat does not toggle again
    setKeyState(VK_SHIFT, false);
    EXPECT_EQ(GetKeyState(VK_SHIFT), 1);
    setKeyState(VK_SHIFT, true);
    setKeyState(VK_SHIFT, false);
    EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
    EXPECT_EQ(GetKeyState(-1), 0);
    EXPECT_EQ(GetKeyState(1000), 0);
}

TEST(Clock, TickCountAdvances)
{
    const uint32_t a = GetTickCount();
    QThread::msleep(20);
    EXPECT_GE(GetTickCount() - a, 15u);
}
