// The colour chooser behind the tool dialog's colour button: the tab of the
// field's colour at the first showing, palette and system choices written as
// colour text and swatch, and the choice arriving in the tool on OK.
#include "EditorsFixture.h"

#include "barwright/editors/frmColors.h"
#include "barwright/editors/frmTool.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/toolbar/Tool.h"

namespace {

class ColorsTest : public EditorsTest {
protected:
    // Opens the chooser from the tool dialog's colour button with `play`.
    static void choose(frmTool& d, std::function<void(frmColors&)> play)
    {
        forms::testing::answerNextModal<frmColors>(
            [play = std::move(play)](frmColors& c) {
                ASSERT_TRUE(forms::testing::waitUntil([&] { return c.tabMain.Left() >= 0; }));
                play(c);
            });
        d.cmdColors.click();
    }
};

TEST_F(ColorsTest, ChoicesReachTheFieldAndTheTool)
{
    frmTool& tool = frmTool::get();
    tool.bEditMode = false;
    tool.sTool = QStringLiteral("Tool1");
    forms::testing::answerNextModal<frmTool>([](frmTool& d) {
        EXPECT_EQ(d.txtForecolor.Text(), "&H80000008&");
        choose(d, [](frmColors& c) {
            // The field's system colour opens the System tab on its row.
            EXPECT_EQ(c.tabMain.Tab(), 1);
            ASSERT_NE(c.lvSysColors.SelectedItem(), nullptr);
            EXPECT_EQ(c.lvSysColors.SelectedItem()->Text(), "Window Text");
            EXPECT_EQ(c.lvSysColors.ListItems.Count(), 25);
            c.lvSysColors.clickItem(c.lvSysColors.ListItems.Item(25));
        });
        EXPECT_EQ(d.txtForecolor.Text(), "&H80000018&");
        EXPECT_EQ(d.picForecolor.BackColor(), int32_t(0x80000018));

        choose(d, [](frmColors& c) {
            c.tabMain.setTab(0);
            c.cmdOK.click();   // OK chooses nothing on the palette
            EXPECT_TRUE(c.Visible());
            c.lbPalette(12).click();
        });
        EXPECT_EQ(d.txtForecolor.Text(), "&H000000FF&");
        EXPECT_EQ(d.picForecolor.BackColor(), 0xFF);

        // Later showings keep the tab of the last use.
        choose(d, [](frmColors& c) {
            EXPECT_EQ(c.tabMain.Tab(), 0);
            c.tabMain.setTab(1);
            c.lvSysColors.setSelectedItem(&c.lvSysColors.ListItems.Item(1));
            c.cmdOK.click();
        });
        EXPECT_EQ(d.txtForecolor.Text(), "&H80000000&");
        d.cmdOK.click();
    });
    tool.Show(forms::vbModal);
    ASSERT_FALSE(tool.bCanceled);
    EXPECT_EQ(tool.oTool.as<toolbar::Tool>()->Forecolor(), int32_t(0x80000000));
}

TEST_F(ColorsTest, SystemColoursOfOneValueShareASwatch)
{
    frmColors& c = frmColors::get();
    c.Load();
    const int32_t rows = c.lvSysColors.ListItems.Count();
    ASSERT_EQ(rows, 25);
    QStringList keys;
    for (int32_t i = 1; i <= rows; ++i) {
        const QString key = c.lvSysColors.ListItems.Item(i).SmallIcon().toString();
        EXPECT_TRUE(key.startsWith(u"@@")) << i;
        if (!keys.contains(key))
            keys << key;
    }
    EXPECT_EQ(c.imlstColors.Count(), keys.size());
    EXPECT_EQ(c.lbPalette(12).BackColor(), 0xFF);
}

TEST_F(ColorsTest, ChooserStaysLoadedAndKeepsItsTabAcrossToolEdits)
{
    frmTool& tool = frmTool::get();
    auto edit = [&](std::function<void(frmColors&)> play) {
        tool.bEditMode = false;
        tool.sTool = QStringLiteral("Tool1");
        runModal<frmTool>(tool, [&](frmTool& d) {
            choose(d, play);
            d.cmdCxl.click();
        });
        tool.Unload();   // as the panel does after every edit
    };
    edit([](frmColors& c) {
        EXPECT_EQ(c.tabMain.Tab(), 1);   // the new tool's system colour
        c.tabMain.setTab(0);
        c.lbPalette(3).click();
    });
    ASSERT_TRUE(frmColors::get().isLoaded());
    edit([](frmColors& c) {
        // Not loaded again: the tab of the last use, not the field's colour.
        EXPECT_EQ(c.tabMain.Tab(), 0);
        EXPECT_EQ(c.lvSysColors.ListItems.Count(), 25);
        c.cmdCxl.click();
    });
}

TEST_F(ColorsTest, PaletteCellsAreTheStandardColours)
{
    frmColors& c = frmColors::get();
    c.Load();
    for (int16_t i = 0; i < 16; ++i)
        EXPECT_EQ(c.lbPalette(i).BackColor(), mDrawParams::StandardColor(i)) << i;
    EXPECT_EQ(c.lbPalette(7).BackColor(), int32_t(gdi::RGB(192, 192, 192)));
    EXPECT_EQ(c.lbPalette(8).BackColor(), int32_t(gdi::RGB(128, 128, 128)));
    // The same cells as the tool dialog's drawing palette.
    runModal<frmTool>(frmTool::get(), [&](frmTool& d) {
        for (int16_t i = 0; i < 16; ++i)
            EXPECT_EQ(d.lbPalette(i).BackColor(), c.lbPalette(i).BackColor()) << i;
        d.cmdCxl.click();
    });
}

}  // namespace
