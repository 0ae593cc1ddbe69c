// The toolbar commands of the control panel: new, edit and delete through
// the toolbar dialog and the delete question, showing and hiding by the
// entries' checks, the Del key and the right click on the list.
#include "PanelFixture.h"

#include "barwright/editors/frmTBar.h"
#include "platform/forms/MsgBox.h"

#include <QListWidget>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class ToolbarCommandsTest : public PanelTest {
protected:
    // An empty configuration with these toolbars, shown in the list.
    void startWith(const std::vector<std::pair<QString, int16_t>>& bars)
    {
        start(QString());
        for (const auto& [name, style] : bars)
            workingCopy().toolbars()->Add(name, style);
        panel().LoadToolbarsIntoListbox(panel().liTBars);
        panel().MakeDirty(false);
    }
    static QStringList entries()
    {
        QStringList out;
        for (int32_t i = 0; i < panel().liTBars.ListCount(); ++i)
            out << panel().liTBars.List(i) + (panel().liTBars.Selected(i) ? "+" : "-");
        return out;
    }
};

TEST_F(ToolbarCommandsTest, NewToolbarTakesTheFirstFreeNameAndIsListedChecked)
{
    startWith({{"ToolBar1", 0}, {"ToolBar3", 0}});
    EXPECT_EQ(panel().GetNewToolbarName(), QStringLiteral("ToolBar2"));

    forms::testing::answerNextModal<frmTBar>([](frmTBar& f) {
        EXPECT_FALSE(f.bEditMode);
        EXPECT_EQ(f.txtName.Text(), QStringLiteral("ToolBar2"));
        f.cmdOK.click();
    });
    panel().cmdNewTBar.click();
    EXPECT_THAT(entries(), ElementsAre("ToolBar1+", "ToolBar3+", "ToolBar2+"));
    EXPECT_TRUE(panel().IsDirty());
    EXPECT_NE(workingCopy().toolbars()->Item(QStringLiteral("ToolBar2")), nullptr);
    EXPECT_FALSE(frmTBar::get().isLoaded());
}

TEST_F(ToolbarCommandsTest, CancelledDialogsChangeNothing)
{
    startWith({{"Main", 0}});
    forms::testing::answerNextModal<frmTBar>([](frmTBar& f) { f.cmdCxl.click(); });
    panel().cmdNewTBar.click();
    panel().liTBars.setListIndex(0);
    forms::testing::answerNextModal<frmTBar>([](frmTBar& f) {
        f.txtName.setText(QStringLiteral("Other"));
        f.cmdCxl.click();
    });
    panel().cmdEditTBar.click();

    EXPECT_THAT(entries(), ElementsAre("Main+"));
    EXPECT_FALSE(panel().IsDirty());
    EXPECT_TRUE(workingCopy().containerFlag());
}

TEST_F(ToolbarCommandsTest, EditRenamesAndHidesTheEntryWithTheContainerFlagOffMeanwhile)
{
    startWith({{"Main", 0}, {"Spare", 0}});
    panel().liTBars.setListIndex(1);
    bool flagDuringDialog = true;
    forms::testing::answerNextModal<frmTBar>([&](frmTBar& f) {
        flagDuringDialog = workingCopy().containerFlag();
        EXPECT_TRUE(f.bEditMode);
        EXPECT_EQ(f.sToolbarName, QStringLiteral("Spare"));
        f.txtName.setText(QStringLiteral("Drawing"));
        f.chVisible.setValue(forms::vbUnchecked);
        f.cmdOK.click();
    });
    panel().cmdEditTBar.click();

    EXPECT_FALSE(flagDuringDialog);
    EXPECT_TRUE(workingCopy().containerFlag());
    EXPECT_THAT(entries(), ElementsAre("Main+", "Drawing-"));
    EXPECT_FALSE(workingCopy().toolbars()->Item(QStringLiteral("Drawing"))->Visible());
    EXPECT_TRUE(panel().IsDirty());
}

TEST_F(ToolbarCommandsTest, DeleteAsksFirstAndLeavesTheFirstEntryCurrent)
{
    startWith({{"Main", 0}, {"Spare", 1}});
    panel().liTBars.setListIndex(1);

    forms::testing::answerNextMsgBox(forms::vbNo);
    panel().cmdDeleteTBar.click();
    EXPECT_THAT(entries(), ElementsAre("Main+", "Spare+"));
    EXPECT_FALSE(panel().IsDirty());

    forms::testing::answerNextMsgBox(forms::vbYes);
    int16_t del = 46;
    panel().liTBars.KeyUp.fire(del, 0);   // Del presses the delete button
    EXPECT_THAT(entries(), ElementsAre("Main+"));
    EXPECT_EQ(panel().liTBars.ListIndex(), 0);
    EXPECT_EQ(workingCopy().toolbars()->Count(), 1);
    EXPECT_TRUE(panel().IsDirty());
    const auto& boxes = forms::testing::shownMsgBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, QStringLiteral("Are you sure you want to delete toolbar 'Spare'?"));
    EXPECT_EQ(boxes[1].title, QStringLiteral("Confirm Delete Toolbar"));
    EXPECT_EQ(boxes[1].buttons, 36);

    // The last one: the list ends empty.
    forms::testing::answerNextMsgBox(forms::vbYes);
    panel().cmdDeleteTBar.click();
    EXPECT_THAT(entries(), IsEmpty());
    forms::testing::clearShown();
    panel().liTBars.KeyUp.fire(del, 0);   // nothing current: no question
    EXPECT_THAT(forms::testing::shownMsgBoxes(), IsEmpty());
}

TEST_F(ToolbarCommandsTest, ChecksHideStandardToolbarsButNeverAMenuBar)
{
    startWith({{"Main", 0}, {"Menu", 1}});
    panel().liTBars.toggleCheck(0);
    EXPECT_FALSE(workingCopy().toolbars()->Item(QStringLiteral("Main"))->Visible());
    panel().liTBars.toggleCheck(0);
    EXPECT_TRUE(workingCopy().toolbars()->Item(QStringLiteral("Main"))->Visible());

    panel().liTBars.toggleCheck(1);
    EXPECT_THAT(entries(), ElementsAre("Main+", "Menu+"));
    EXPECT_TRUE(workingCopy().toolbars()->Item(QStringLiteral("Menu"))->Visible());
}

TEST_F(ToolbarCommandsTest, RightClickOnACheckBoxMakesTheEntryCurrentAndKeepsTheChecks)
{
    startWith({{"Main", 0}, {"Spare", 0}, {"Third", 0}});
    panel().liTBars.setSelected(2, false);
    panel().liTBars.setListIndex(0);
    panel().MakeDirty(false);
    auto* list = qobject_cast<QListWidget*>(panel().liTBars.widget());
    ASSERT_NE(list, nullptr);
    const QRect row = list->visualItemRect(list->item(1));
    const double units = panel().liTBars.container()->unitsPerPixelX();
    // Over the check box at the row's left end.
    panel().liTBars.MouseUp.fire(forms::vbRightButton, 0, float((row.left() + 8) * units),
                                 float(row.center().y() * units));

    EXPECT_EQ(panel().liTBars.ListIndex(), 1);
    EXPECT_THAT(entries(), ElementsAre("Main+", "Spare+", "Third-"));
    EXPECT_TRUE(workingCopy().toolbars()->Item(QStringLiteral("Spare"))->Visible());
    EXPECT_FALSE(panel().IsDirty());
    EXPECT_EQ(panel().mnu_editTbar.Caption(), QStringLiteral("&Edit Toolbar 'Spare'..."));
    EXPECT_EQ(panel().mnu_deleteTbar.Caption(), QStringLiteral("&Delete Toolbar 'Spare'..."));
}

}  // namespace
