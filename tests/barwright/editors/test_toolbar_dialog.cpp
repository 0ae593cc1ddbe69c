// The toolbar dialog: defaults of a new toolbar, the name checks, one menu
// bar per control, and the menu-bar style's forced options.
#include "EditorsFixture.h"

#include "barwright/editors/frmTBar.h"
#include "platform/forms/MsgBox.h"
#include "platform/toolbar/Toolbar.h"

using ::testing::ElementsAre;

namespace {

class ToolbarDialogTest : public EditorsTest {
protected:
    static frmTBar& dialog() { return frmTBar::get(); }

    void runToolbar(bool edit, const QString& name, std::function<void(frmTBar&)> play)
    {
        dialog().bEditMode = edit;
        dialog().sToolbarName = name;
        runModal(dialog(), std::move(play));
        oTbar = dialog().oTbar.as<toolbar::Toolbar>();
        canceled = dialog().bCanceled;
        Unload(dialog());   // as the panel does after each use
    }
    std::shared_ptr<toolbar::Toolbar> oTbar;
    bool canceled = true;
};

TEST_F(ToolbarDialogTest, NewToolbarGetsTheDefaultsAndATrimmedName)
{
    runToolbar(false, QStringLiteral("ToolBar1"), [](frmTBar& d) {
        EXPECT_EQ(d.Caption(), "New Toolbar");
        EXPECT_EQ(d.txtName.Text(), "ToolBar1");
        d.txtName.setText(QStringLiteral("  Main  "));
        d.cmdOK.click();
    });
    ASSERT_FALSE(canceled);
    auto bar = control->toolbars()->Item(QStringLiteral("Main"));
    EXPECT_EQ(oTbar, bar);
    EXPECT_EQ(bar->Name(), "Main");
    EXPECT_EQ(bar->Style(), 0);
    EXPECT_EQ(bar->DockingFlags(), 31);
    EXPECT_EQ(bar->Font3D(), 0);
    EXPECT_EQ(bar->CaptionAlignment(), 3);
    EXPECT_TRUE(bar->AllowCustomize() && bar->AllowHiding() && bar->Visible() &&
                bar->DisplayGrabHandles() && bar->DisplayMoreToolsButton() &&
                bar->Configured());
}

TEST_F(ToolbarDialogTest, EmptyOrTakenNameIsRefusedAndNothingWritten)
{
    control->toolbars()->Add(QStringLiteral("Main"));
    runToolbar(false, QStringLiteral("ToolBar1"), [](frmTBar& d) {
        for (const char* name : {"   ", "mAIN"}) {
            d.txtName.setText(QLatin1String(name));
            forms::testing::answerNextMsgBox(forms::vbOK);
            d.cmdOK.click();
            EXPECT_TRUE(d.Visible());
            EXPECT_TRUE(focused(d.txtName));
        }
        d.cmdCxl.click();
    });
    EXPECT_THAT(shownTexts(),
                ElementsAre("Please supply a name for this toolbar.",
                            "A toolbar with the Name 'mAIN' already exists.  Please enter a "
                            "different Name for this toolbar."));
    for (const auto& box : forms::testing::shownMsgBoxes()) {
        EXPECT_EQ(box.buttons, forms::vbExclamation);
        EXPECT_EQ(box.title, "Halvorbar");
    }
    EXPECT_TRUE(canceled);
    EXPECT_EQ(control->toolbars()->Count(), 1);
}

TEST_F(ToolbarDialogTest, SecondMenuBarIsNotOffered)
{
    control->toolbars()->Add(QStringLiteral("Menu"), 1);
    runToolbar(false, QStringLiteral("ToolBar1"), [](frmTBar& d) {
        EXPECT_FALSE(d.opStyle(1).Enabled());
        EXPECT_TRUE(d.opStyle(0).Value());
        d.cmdCxl.click();
    });
    // Editing the menu bar itself shows its style, both options locked, and
    // writes its forced options back unchanged; a case-only rename passes.
    control->toolbars()->Item(QStringLiteral("Menu"))->setAllowHiding(false);
    runToolbar(true, QStringLiteral("Menu"), [](frmTBar& d) {
        EXPECT_EQ(d.Caption(), "Edit Toolbar");
        EXPECT_TRUE(d.opStyle(1).Value());
        EXPECT_FALSE(d.opStyle(0).Enabled());
        EXPECT_FALSE(d.opStyle(1).Enabled());
        EXPECT_FALSE(d.chVisible.Enabled());
        EXPECT_FALSE(d.chStretch.Enabled());
        d.txtName.setText(QStringLiteral("MENU"));
        d.cmdOK.click();
    });
    ASSERT_FALSE(canceled);
    auto menu = control->toolbars()->Item(QStringLiteral("menu"));
    EXPECT_EQ(menu->Name(), "MENU");
    EXPECT_EQ(menu->Style(), 1);
    EXPECT_FALSE(menu->AllowHiding());
    EXPECT_TRUE(forms::testing::shownMsgBoxes().empty());
}

TEST_F(ToolbarDialogTest, MenuBarStyleForcesOptionsAndStandardRestoresThem)
{
    runToolbar(false, QStringLiteral("ToolBar1"), [](frmTBar& d) {
        d.chAllowHiding.setValue(0);
        d.chStretch.setValue(1);
        d.opStyle(1).click();
        EXPECT_EQ(d.chVisible.Value(), 1);
        EXPECT_EQ(d.chAllowHiding.Value(), 0);
        EXPECT_EQ(d.chDisplayMoreToolsButton.Value(), 0);
        EXPECT_EQ(d.chStretch.Value(), 1);
        d.chStretch.setValue(0);   // disabled for the user; code may still write it
        d.opStyle(0).click();
        EXPECT_EQ(d.chAllowHiding.Value(), 0);
        EXPECT_EQ(d.chDisplayMoreToolsButton.Value(), 1);
        EXPECT_EQ(d.chStretch.Value(), 1);
        d.opStyle(1).click();
        d.chAllowDockLeft.setValue(0);
        d.chPositionLocked.setValue(forms::vbGrayed);   // a greyed box counts as set
        d.cmdOK.click();
    });
    ASSERT_FALSE(canceled);
    EXPECT_EQ(oTbar->Style(), 1);
    EXPECT_FALSE(oTbar->DisplayMoreToolsButton());
    EXPECT_EQ(oTbar->DockingFlags(), 1 + 2 + 8 + 16 + 32 + 64);
}

TEST_F(ToolbarDialogTest, MissingToolbarRevertsToCreateMode)
{
    forms::testing::answerNextMsgBox(forms::vbOK);
    runToolbar(true, QStringLiteral("Gone"), [](frmTBar& d) {
        EXPECT_EQ(d.Caption(), "New Toolbar");
        d.txtName.setText(QStringLiteral("Fresh"));
        d.cmdOK.click();
    });
    EXPECT_THAT(shownTexts(),
                ElementsAre("Error loading toolbar data for edit.  Reverting to add mode."));
    EXPECT_FALSE(canceled);
    EXPECT_EQ(control->toolbars()->Item(QStringLiteral("Fresh")), oTbar);
}

TEST_F(ToolbarDialogTest, AmpersandsAreKeptOutOfTheName)
{
    runToolbar(false, QStringLiteral("ToolBar1"), [](frmTBar& d) {
        d.txtName.setText({});
        d.txtName.type(QStringLiteral("A&B"));
        EXPECT_EQ(d.txtName.Text(), "AB");
        d.txtName.setText(QStringLiteral("C&D"));   // pasted
        EXPECT_EQ(d.txtName.Text(), "CD");
        d.cmdCxl.click();
    });
}

}  // namespace
