// Keys and focus on a real desktop: a shortcut acts once whatever control
// has the focus, an access key to a tab puts the focus on that tab, Tab
// moves on from the description box, the activation comes back to the owner
// after a message box and a dialog, the dialogs show their focus from the
// start, and Return presses the focused button.
#include "BarwrightFixture.h"

#include <algorithm>

using namespace desktop;

namespace {

// The drawn (not transparent) pixels of a picture whose mask colour is its
// bottom-left pixel.
int drawnPixels(const QImage& picture)
{
    const QRgb mask = picture.pixel(0, picture.height() - 1);
    int n = 0;
    for (int y = 0; y + 1 < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            n += picture.pixel(x, y) != mask;
    return n;
}

TEST_F(BarwrightDesktop, CtrlZWithTheFocusOnAButtonUndoesOneStep)
{
    ASSERT_NE(newTool(), 0u);
    d->key(QStringLiteral("alt+n"));
    d->type(QStringLiteral("Undo"));
    const WindowId dialog = d->waitForWindow(kNewTool);
    const QRect client = d->clientRect(dialog);
    const QImage general = d->grab(client);
    d->key(QStringLiteral("alt+p"));
    ASSERT_TRUE(waitFor([&] { return d->grab(client) != general; }, kPatience));
    // Seven single pixels with the pencil, two cells apart across the canvas.
    const QPoint centre = client.topLeft() + QPoint((210 + 2520) / 15, (1050 + 2520) / 15);
    constexpr int kPixels = 7;
    for (int i = 0; i < kPixels; ++i)
        d->click(centre + QPoint((i - kPixels / 2) * 32, 0));
    // The "Change" button takes the focus without its click: pressed, then
    // released off it.
    const QPoint change = client.topLeft() + QPoint((6360 + 645) / 15, (2595 + 210) / 15);
    d->moveMouse(change);
    d->press();
    d->moveMouse(change + QPoint(0, 120));
    d->release();
    d->key(QStringLiteral("ctrl+z"));

    // Return would press the focused button: OK is clicked.
    d->click(client.topLeft() + QPoint((5130 + 607) / 15, (5940 + 187) / 15));
    const QJsonObject tool = applyAndRead(QStringLiteral("ID_Undo"));
    ASSERT_FALSE(tool.isEmpty());
    const QImage picture = normalPicture(tool);
    ASSERT_FALSE(picture.isNull()) << "no Normal picture";
    EXPECT_EQ(drawnPixels(picture), kPixels - 1);
}

TEST_F(BarwrightDesktop, TextTypedAfterAltDReachesTheDescriptionAndTabMovesOn)
{
    ASSERT_NE(newTool(), 0u);
    d->key(QStringLiteral("alt+n"));
    d->type(QStringLiteral("Described"));
    d->key(QStringLiteral("alt+d"));   // the Description tab puts the focus in its box
    d->type(QStringLiteral("hello"));
    d->key(QStringLiteral("Tab"));     // on to OK: no TAB in the text
    d->type(QStringLiteral("y"));
    const QJsonObject tool = okAndApply(QStringLiteral("ID_Described"));
    ASSERT_FALSE(tool.isEmpty());
    EXPECT_EQ(tool[QStringLiteral("Description")].toString(), QStringLiteral("hello"));
}

TEST_F(BarwrightDesktop, TextTypedAfterAltGGoesToTheGeneralTabNotTheHiddenDescription)
{
    ASSERT_NE(newTool(), 0u);
    d->key(QStringLiteral("alt+n"));
    d->type(QStringLiteral("Back"));
    d->key(QStringLiteral("alt+d"));
    d->type(QStringLiteral("abc "));
    // The remembered field, the description box, is not on this tab: the
    // type list takes the focus, and "5" chooses "5 - Edit".
    d->key(QStringLiteral("alt+g"));
    d->type(QStringLiteral("5"));
    const QJsonObject tool = okAndApply(QStringLiteral("ID_Back"));
    ASSERT_FALSE(tool.isEmpty());
    EXPECT_EQ(tool[QStringLiteral("Description")].toString(), QStringLiteral("abc "));
    EXPECT_EQ(tool[QStringLiteral("Type")].toInt(), 5);
}

// The tab strip at the top of a dialog shows the focus mark on its current
// tab at once: a click into a field takes the focus off it, and the mark's
// dark dots go.
void expectsFocusMarkAtOpen(Desktop& d, WindowId dialog, QPoint field)
{
    const QRect client = d.clientRect(dialog);
    const QRect strip(client.topLeft(), QSize(client.width(), 24));
    const QImage atOpen = d.grab(strip);
    d.click(client.topLeft() + field);
    QImage after;
    EXPECT_TRUE(waitFor(
        [&] {
            after = d.grab(strip);
            return after != atOpen;
        },
        kPatience))
        << "no focus mark on the tab strip at open";
    int marked = 0;
    for (int y = 0; y < atOpen.height(); ++y)
        for (int x = 0; x < atOpen.width(); ++x)
            marked += qGray(atOpen.pixel(x, y)) < 96 && qGray(after.pixel(x, y)) > 160;
    EXPECT_GT(marked, 20) << "the mark is too faint";
}

TEST_F(BarwrightDesktop, TheToolAndToolbarDialogsShowTheirFocusAtOpen)
{
    const WindowId tool = newTool();
    ASSERT_NE(tool, 0u);
    expectsFocusMarkAtOpen(*d, tool, QPoint(190, 75));   // Name
    d->key(QStringLiteral("Escape"));
    ASSERT_TRUE(d->waitForNoWindow(kNewTool));

    d->activate(panel);
    d->key(QStringLiteral("alt+t"));
    d->key(QStringLiteral("alt+n"));
    const WindowId toolbar = appeared(QStringLiteral("^New Toolbar$"));
    ASSERT_NE(toolbar, 0u);
    expectsFocusMarkAtOpen(*d, toolbar, QPoint(260, 50));   // Name
}

TEST_F(BarwrightDesktop, ReturnOnTheGrabWindowsExitClosesIt)
{
    const WindowId dialog = newToolOnPictures();
    ASSERT_NE(dialog, 0u);
    d->key(QStringLiteral("alt+b"));   // "Gra&b...": the grab window, Exit focused
    WindowId grabber = 0;
    ASSERT_TRUE(waitFor(
        [&] {
            grabber = d->focusedTopLevel();
            return grabber && grabber != dialog && grabber != panel;
        },
        kAppear))
        << "no grab window";
    const auto shown = [&] {
        const std::vector<WindowId> all = d->windows(QString());
        return std::find(all.begin(), all.end(), grabber) != all.end();
    };
    d->key(QStringLiteral("Return"));
    EXPECT_TRUE(waitFor([&] { return !shown(); }, kPatience)) << "the grab window stays";
    EXPECT_TRUE(waitFor([&] { return d->focusedTopLevel() == dialog; }, kPatience));
}

TEST_F(BarwrightDesktop, TheActivationComesBackAfterAMessageBoxAndTheDialog)
{
    const WindowId dialog = newTool();
    ASSERT_NE(dialog, 0u);
    // OK with an ID that starts with a digit: the dialog tells so in a
    // message box of its own, then selects the ID.
    d->key(QStringLiteral("alt+i"));
    d->type(QStringLiteral("9"));
    d->key(QStringLiteral("Return"));
    const WindowId message = d->waitForWindow(QStringLiteral("^Halvorbar$"));
    ASSERT_NE(message, 0u);
    ASSERT_TRUE(d->waitForActive(message));
    d->key(QStringLiteral("Return"));
    ASSERT_TRUE(d->waitForNoWindow(QStringLiteral("^Halvorbar$")));
    // The dialog is active again, its ID box focused: the ID typed reaches it.
    ASSERT_TRUE(d->waitForActive(dialog));
    d->type(QStringLiteral("Back"));
    d->key(QStringLiteral("Return"));
    ASSERT_TRUE(d->waitForNoWindow(kNewTool));
    // The panel is active again: its Apply key works without a click.
    ASSERT_TRUE(d->waitForActive(panel));
    d->key(QStringLiteral("alt+a"));
    EXPECT_TRUE(waitFor(
        [&] { return !toolById(readConfiguration(config), QStringLiteral("Back")).isEmpty(); },
        kPatience));
}

}  // namespace
