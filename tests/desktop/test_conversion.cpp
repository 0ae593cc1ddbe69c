// Conversion on a real desktop: typing into "Look in:", the File menu's
// access key, every way out ending the program, Esc closing the about box.
#include "DesktopFixture.h"

using namespace desktop;

namespace {

const QString kMain = QStringLiteral("^Quenbrix VB Control Conversion Utility$");
const QStringList kStartup{QStringLiteral("Software"), QStringLiteral("VB and VBA Program Settings"),
                           QStringLiteral("Marquell Conversion Utility"),
                           QStringLiteral("Startup")};

class ConversionDesktop : public DesktopTest {
protected:
    WindowId start()
    {
        const WindowId w = launch(programPath(QStringLiteral("conversion")), {}, kMain, &process);
        return w;
    }
    // Clicks into the "Look in:" box (the first empty text box under the
    // combo, in the column where both sit).
    void clickLookIn(WindowId w)
    {
        const QRect client = d->clientRect(w);
        QPoint box;
        ASSERT_TRUE(waitFor(
            [&] {
                box = whiteBoxAt(d->grab(client), 3080 / 15, 0, 10);
                return box.y() >= 0;
            },
            kAppear))
            << "no Look in box";
        d->click(client.topLeft() + box);
    }

    QProcess* process = nullptr;
};

TEST_F(ConversionDesktop, EveryTypedCharacterReachesLookInAndIsSaved)
{
    const WindowId w = start();
    ASSERT_NE(w, 0u);
    clickLookIn(w);
    const QString text = printableText();
    d->type(text);
    d->key(QStringLiteral("alt+f"));
    d->key(QStringLiteral("x"));
    expectEndsSoon(*process);
    EXPECT_EQ(storedValue(storePath(), kStartup, QStringLiteral("InitFolder")), text);
}

TEST_F(ConversionDesktop, AltFOpensTheFileMenuAndXExits)
{
    const WindowId w = start();
    ASSERT_NE(w, 0u);
    clickLookIn(w);
    d->type(QStringLiteral("abc"));   // the "&Find" button is enabled now
    const QRect client = d->clientRect(w);
    const QImage before = d->grab(client);
    d->key(QStringLiteral("alt+f"));
    // The File menu drops over the top-left corner of the window.
    ASSERT_TRUE(waitFor([&] { return d->grab(client) != before; }, kPatience)) << "no menu";
    d->key(QStringLiteral("x"));
    expectEndsSoon(*process);
    EXPECT_EQ(storedValue(storePath(), kStartup, QStringLiteral("InitFolder")), "abc");
}

TEST_F(ConversionDesktop, TheCloseBoxEndsTheProgram)
{
    const WindowId w = start();
    ASSERT_NE(w, 0u);
    d->clickCloseBox(w);   // the window manager closes the window
    expectEndsSoon(*process);
    EXPECT_EQ(storedValue(storePath(), kStartup, QStringLiteral("SubFolders")), "1");
}

TEST_F(ConversionDesktop, EscClosesTheAboutBox)
{
    ASSERT_NE(start(), 0u);
    d->key(QStringLiteral("alt+h"));
    d->key(QStringLiteral("a"));
    const QString about = QStringLiteral("About VB Control Conversion$");
    ASSERT_NE(appeared(about), 0u);
    d->key(QStringLiteral("Escape"));   // the focus is on its only button, OK
    EXPECT_TRUE(d->waitForNoWindow(about));
}

TEST(CommandLine, HelpAndAWrongArgumentAreAnsweredWithoutADisplay)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    p.setProcessEnvironment(env);
    for (const QString& program : {QStringLiteral("conversion"), QStringLiteral("pellumar"),
                                   QStringLiteral("barwright")}) {
        p.start(programPath(program), {QStringLiteral("--help")});
        ASSERT_TRUE(p.waitForFinished(kPatience)) << program.toStdString();
        EXPECT_EQ(p.exitCode(), 0) << program.toStdString();
        EXPECT_TRUE(p.readAllStandardOutput().startsWith("Usage: " + program.toLatin1()));
        p.start(programPath(program), {QStringLiteral("--bogus")});
        ASSERT_TRUE(p.waitForFinished(kPatience));
        EXPECT_EQ(p.exitCode(), 2) << program.toStdString();
        EXPECT_TRUE(p.readAllStandardError().contains("--bogus"));
    }
}

}  // namespace
