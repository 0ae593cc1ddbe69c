#include "RegistryFixture.h"

#include "platform/runtime/Error.h"
#include "platform/system/Clock.h"
#include "platform/system/KeyState.h"
#include "platform/system/ProgramSettings.h"

#include <QThread>

using namespace sys;

using ProgramSettings = RegistryFixture;

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
