// The tool dialog through its protocol: new and edited tools reach the
// working copy and every placed copy; each refused field comes back with its
// message; Cancel writes nothing.
#include "EditorsFixture.h"

#include "barwright/editors/frmTool.h"
#include "platform/forms/MsgBox.h"
#include "platform/toolbar/Toolbar.h"

#include <QApplication>
#include <QKeyEvent>

using ::testing::ElementsAre;

namespace {

class ToolDialogTest : public EditorsTest {
protected:
    static frmTool& dialog() { return frmTool::get(); }

    void runTool(bool edit, const QString& tool, std::function<void(frmTool&)> play)
    {
        dialog().bEditMode = edit;
        dialog().sTool = tool;
        runModal(dialog(), std::move(play));
    }

    std::shared_ptr<toolbar::Tool> tool(const QString& id) { return control->tools()->Item(id); }

    // ID_Open on two toolbars and inside a menu; ID_Taken holds shortcut 4.
    void placeTools()
    {
        auto open = control->tools()->Add(QStringLiteral("ID_Open"));
        open->setName(QStringLiteral("Open"));
        auto taken = control->tools()->Add(QStringLiteral("ID_Taken"));
        taken->setShortcutKey(4);
        auto menu = control->tools()->Add(QStringLiteral("ID_File"), toolbar::mqMenu);
        menu->menu()->tools()->Add(QStringLiteral("ID_Open"));
        for (const char* name : {"Main", "Second"})
            control->toolbars()->Add(QLatin1String(name))->tools()->Add(QStringLiteral("ID_Open"));
    }
    std::vector<std::shared_ptr<toolbar::Tool>> placedCopies()
    {
        return {control->toolbars()->Item(QStringLiteral("Main"))->tools()->Item(1),
                control->toolbars()->Item(QStringLiteral("Second"))->tools()->Item(1),
                tool(QStringLiteral("ID_File"))->menu()->tools()->Item(1)};
    }
};

TEST_F(ToolDialogTest, NewComboToolArrivesWithItsListAndDerivedID)
{
    runTool(false, QStringLiteral("Tool1"), [](frmTool& d) {
        EXPECT_EQ(d.Caption(), "New Tool");
        EXPECT_EQ(d.txtID.Text(), "ID_Tool1");
        d.txtName.setText(QStringLiteral("Open & Save File"));
        EXPECT_EQ(d.txtID.Text(), "ID_OpenSaveFile");
        d.coType.setListIndex(toolbar::mqComboBox);
        EXPECT_TRUE(d.frControls(4).Visible());
        EXPECT_FALSE(d.frControls(1).Visible());
        d.coCategory.setText(QStringLiteral("  Files "));
        d.cmdComboNew.click();
        d.txtLabelEdit.setText(QStringLiteral("Alpha"));
        d.cmdComboNew.click();   // ends the first edit, starts one on "New Item"
        d.txtLabelEdit.setText(QStringLiteral("Beta"));
        d.txtItemData.setText(QStringLiteral(" 42 "));
        d.coComboStyle.setListIndex(1);
        d.txtComboWidth.setText(QStringLiteral("0"));
        d.cmdOK.click();         // the pending edit of "Beta" is taken first
    });

    ASSERT_FALSE(dialog().bCanceled);
    auto t = tool(QStringLiteral("ID_OpenSaveFile"));
    EXPECT_EQ(dialog().oTool.as<toolbar::Tool>()->state(), t->state());
    EXPECT_EQ(t->Name(), "Open & Save File");
    EXPECT_EQ(t->Type(), toolbar::mqComboBox);
    EXPECT_EQ(t->Category(), "Files");
    EXPECT_EQ(t->Width(), 1);
    const auto combo = t->comboBox();
    ASSERT_EQ(combo->ListCount(), 2);
    EXPECT_EQ(combo->List(0), "Alpha");
    EXPECT_EQ(combo->List(1), "Beta");
    EXPECT_EQ(combo->ItemData(1), 42);
    EXPECT_EQ(combo->Style(), 1);
    EXPECT_EQ(combo->Text(), "Beta");   // the default text follows the edited item
    EXPECT_EQ(combo->ListIndex(), 1);
    EXPECT_TRUE(categories.contains(QStringLiteral("FILES")));
    EXPECT_TRUE(control->Redraw());
}

TEST_F(ToolDialogTest, CategoryKeepsItsRegisteredSpellingAndIsProposedNext)
{
    categories.Add(rt::Variant(QStringLiteral("Tools")), QStringLiteral("TOOLS"));
    runTool(false, QStringLiteral("Tool1"), [](frmTool& d) {
        d.coCategory.setText(QStringLiteral("tOOLS"));
        d.cmdOK.click();
    });
    EXPECT_EQ(tool(QStringLiteral("ID_Tool1"))->Category(), "Tools");
    Unload(dialog());
    runTool(false, QStringLiteral("Tool2"), [](frmTool& d) {
        EXPECT_EQ(d.coCategory.Text(), "Tools");
        d.coCategory.setText(QStringLiteral("   "));   // blank: the last one saved
        d.cmdOK.click();
    });
    EXPECT_EQ(tool(QStringLiteral("ID_Tool2"))->Category(), "Tools");
    EXPECT_EQ(categories.Count(), 2);
}

TEST_F(ToolDialogTest, TypedIDStopsFollowingTheName)
{
    runTool(false, QStringLiteral("Tool1"), [](frmTool& d) {
        d.txtID.setText(QStringLiteral("ID_Mine"));
        d.txtName.setText(QStringLiteral("Other Name"));
        EXPECT_EQ(d.txtID.Text(), "ID_Mine");
        d.cmdCxl.click();
    });
    EXPECT_TRUE(dialog().bCanceled);
    EXPECT_EQ(control->tools()->Count(), 0);
}

TEST_F(ToolDialogTest, EditSpreadsTheLookToEveryPlacedCopy)
{
    placeTools();
    runTool(true, QStringLiteral("ID_Open"), [](frmTool& d) {
        EXPECT_EQ(d.Caption(), "Edit Tool");
        EXPECT_EQ(d.txtName.Text(), "Open");
        d.txtName.setText(QStringLiteral("  Open File  "));
        EXPECT_EQ(d.txtID.Text(), "ID_Open");   // no following in edit mode
        d.coDisplayStyle.setListIndex(3);
        d.cmdOK.click();
    });
    ASSERT_FALSE(dialog().bCanceled);
    EXPECT_EQ(tool(QStringLiteral("ID_Open"))->Name(), "Open File");
    for (const auto& copy : placedCopies()) {
        EXPECT_EQ(copy->Name(), "Open File");
        EXPECT_EQ(copy->DisplayStyle(), 3);
    }
}

TEST_F(ToolDialogTest, UnchangedLookLeavesPlacedCopiesAlone)
{
    placeTools();
    for (const auto& copy : placedCopies())
        copy->setName(QStringLiteral("Own Name"));
    runTool(true, QStringLiteral("ID_Open"), [](frmTool& d) {
        d.txtDescription.setText(QStringLiteral("Opens a file"));
        d.cmdOK.click();
    });
    EXPECT_EQ(tool(QStringLiteral("ID_Open"))->Description(), "Opens a file");
    for (const auto& copy : placedCopies())
        EXPECT_EQ(copy->Name(), "Own Name");
}

TEST_F(ToolDialogTest, CancelWritesNothing)
{
    placeTools();
    runTool(true, QStringLiteral("ID_Open"), [](frmTool& d) {
        d.txtName.setText(QStringLiteral("Changed"));
        d.txtID.setText(QStringLiteral("ID_Changed"));
        d.cmdCxl.click();
    });
    EXPECT_TRUE(dialog().bCanceled);
    EXPECT_EQ(tool(QStringLiteral("ID_Open"))->Name(), "Open");
    EXPECT_EQ(control->tools()->Count(), 3);
}

struct Refusal {
    const char* id;
    int shortcut;
    const char* message;
    bool onShortcut;
};

class ToolValidationTest : public ToolDialogTest,
                           public ::testing::WithParamInterface<Refusal> {};

TEST_P(ToolValidationTest, RefusedFieldComesBackAndNothingIsWritten)
{
    placeTools();
    const Refusal r = GetParam();
    runTool(false, QStringLiteral("Tool1"), [&](frmTool& d) {
        d.txtID.setText(QString::fromUtf8(r.id));
        d.coShortcutKey.setListIndex(r.shortcut);
        d.tabMain.setTab(1);
        forms::testing::answerNextMsgBox(forms::vbOK);
        d.cmdOK.click();
        EXPECT_TRUE(d.Visible());
        EXPECT_EQ(d.tabMain.Tab(), 0);
        if (r.onShortcut) {
            EXPECT_EQ(d.coShortcutKey.ListIndex(), 0);   // back to the loaded "(None)"
            EXPECT_TRUE(focused(d.coShortcutKey));
        } else {
            EXPECT_TRUE(focused(d.txtID));
            EXPECT_EQ(d.txtID.SelLength(), d.txtID.Text().size());
        }
        d.cmdCxl.click();
    });
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    const auto& box = forms::testing::shownMsgBoxes().front();
    EXPECT_EQ(box.text, QString::fromUtf8(r.message));
    EXPECT_EQ(box.buttons, forms::vbExclamation);
    EXPECT_EQ(box.title, "Halvorbar");
    EXPECT_TRUE(dialog().bCanceled);
    EXPECT_EQ(control->tools()->Count(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    InOrder, ToolValidationTest,
    ::testing::Values(
        Refusal{"   ", 4, "Please supply an ID for this tool.", false},
        Refusal{" 1abc", 4,
                "The initial character of a Tool ID cannot be numeric.  "
                "Please enter a different ID for this tool.",
                false},
        Refusal{"SePaRaToR", 4,
                "The tool ID 'separator' is a special ID reserved for separator tools.  "
                "Please enter a different ID for this tool.",
                false},
        Refusal{"id_taken", 4,
                "A tool with the ID 'id_taken' already exists.  "
                "Please enter a different ID for this tool.",
                false},
        Refusal{"ID_New", 4,
                "The shortcut key 'Ctrl+D' is being used by tool 'ID_Taken'.  "
                "Please select a different shortcut key.",
                true}));

TEST_F(ToolDialogTest, RefusedShortcutOfNewToolFallsBackToNoneAfterAnEdit)
{
    placeTools();
    runTool(true, QStringLiteral("ID_Taken"), [](frmTool& d) { d.cmdOK.click(); });
    ASSERT_FALSE(dialog().bCanceled);
    Unload(dialog());
    runTool(false, QStringLiteral("Tool1"), [](frmTool& d) {
        d.coShortcutKey.setListIndex(4);
        forms::testing::answerNextMsgBox(forms::vbOK);
        d.cmdOK.click();
        EXPECT_EQ(d.coShortcutKey.ListIndex(), 0);
        d.cmdCxl.click();
    });
    EXPECT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
}

TEST_F(ToolDialogTest, AcceptedIDsAndCaseOnlyRename)
{
    placeTools();
    for (const char* id : {"separator1", "_123"}) {
        runTool(false, QStringLiteral("Tool1"), [&](frmTool& d) {
            d.txtID.setText(QLatin1String(id));
            d.cmdOK.click();
        });
        EXPECT_FALSE(dialog().bCanceled) << id;
        Unload(dialog());
    }
    runTool(true, QStringLiteral("ID_Open"), [](frmTool& d) {
        d.txtID.setText(QStringLiteral("id_OPEN"));
        d.cmdOK.click();
    });
    EXPECT_FALSE(dialog().bCanceled);
    EXPECT_EQ(tool(QStringLiteral("id_open"))->ID(), "id_OPEN");
    Unload(dialog());
    runTool(true, QStringLiteral("ID_Taken"), [](frmTool& d) {
        EXPECT_EQ(d.coShortcutKey.ListIndex(), 4);   // its own shortcut is no conflict
        d.cmdOK.click();
    });
    EXPECT_FALSE(dialog().bCanceled);
    EXPECT_TRUE(forms::testing::shownMsgBoxes().empty());
}

TEST_F(ToolDialogTest, EditToolRoundTripsItsTypeProperties)
{
    auto edit = control->tools()->Add(QStringLiteral("ID_Find"), toolbar::mqEdit);
    edit->edit()->setMaxLength(3);
    edit->edit()->setText(QStringLiteral("abc"));
    auto state = control->tools()->Add(QStringLiteral("ID_Bold"), toolbar::mqStateButton);
    state->setStateGroupName(QStringLiteral("Fmt"));
    state->setStateAllowAllUp(false);

    runTool(true, QStringLiteral("ID_Find"), [](frmTool& d) {
        EXPECT_TRUE(d.frControls(5).Visible());
        EXPECT_EQ(d.txtTextboxText.Text(), "abc");
        d.txtTextboxText.setText(QStringLiteral("abcdef"));
        d.txtTextboxPasswordChar.setText(QStringLiteral(" "));
        d.txtTextboxWidth.setText(QStringLiteral("120"));
        d.cmdOK.click();
    });
    EXPECT_EQ(edit->edit()->Text(), "abc");
    EXPECT_EQ(edit->edit()->PasswordChar(), "");
    EXPECT_EQ(edit->Width(), 120);
    Unload(dialog());

    runTool(false, QStringLiteral("Italic"), [](frmTool& d) {
        d.coType.setListIndex(toolbar::mqDropDownStateButton);
        EXPECT_TRUE(d.frControls(1).Visible());
        EXPECT_EQ(d.chStateAllowAllUp.Value(), 1);
        d.coStateGroupName.setText(QStringLiteral("fmt"));   // the group's setting follows
        EXPECT_EQ(d.chStateAllowAllUp.Value(), 0);
        d.coState.setListIndex(1);
        d.cmdOK.click();
    });
    auto italic = tool(QStringLiteral("ID_Italic"));
    EXPECT_EQ(italic->StateGroupName(), "fmt");
    EXPECT_EQ(italic->State(), 1);
    EXPECT_FALSE(italic->StateAllowAllUp());
    EXPECT_TRUE(groups.contains(QStringLiteral("fmt")));
}

TEST_F(ToolDialogTest, MenuTypeClearsTooltipAndShortcut)
{
    runTool(false, QStringLiteral("Tool1"), [](frmTool& d) {
        d.txtTooltipText.setText(QStringLiteral("tip"));
        d.coShortcutKey.setListIndex(7);
        d.coType.setListIndex(toolbar::mqMenu);
        EXPECT_EQ(d.chAutoWrap.Value(), 1);
        EXPECT_FALSE(d.txtTooltipText.Enabled());
        EXPECT_EQ(d.coShortcutKey.ListIndex(), 0);
        d.coType.setListIndex(toolbar::mqButton);
        EXPECT_TRUE(d.coShortcutKey.Enabled());
        EXPECT_EQ(d.txtTooltipText.Text(), "");
        d.cmdCxl.click();
    });
}

TEST_F(ToolDialogTest, KeysFollowTheFieldRules)
{
    runTool(false, QStringLiteral("Tool1"), [](frmTool& d) {
        d.txtComboWidth.setText({});
        d.txtComboWidth.type(QStringLiteral("1-2a.5"));
        EXPECT_EQ(d.txtComboWidth.Text(), "12.5");
        auto ctrlTab = [](forms::Control& c) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::ControlModifier);
            QApplication::sendEvent(c.widget(), &press);
        };
        ctrlTab(d.coType);
        EXPECT_EQ(d.tabMain.Tab(), 1);
        ctrlTab(d.txtDescription);
        EXPECT_EQ(d.tabMain.Tab(), 2);
        EXPECT_EQ(d.txtDescription.Text(), "");   // the key itself went nowhere
        d.cmdCxl.click();
    });
}

TEST_F(ToolDialogTest, MissingToolRevertsToAddMode)
{
    forms::testing::answerNextMsgBox(forms::vbOK);
    runTool(true, QStringLiteral("ID_Gone"), [](frmTool& d) {
        EXPECT_EQ(d.Caption(), "New Tool");
        EXPECT_FALSE(d.bEditMode);
        d.txtID.setText(QStringLiteral("ID_Back"));
        d.cmdOK.click();
    });
    EXPECT_THAT(shownTexts(),
                ElementsAre("Error loading tool data for edit.  Reverting to add mode."));
    EXPECT_FALSE(dialog().bCanceled);
    EXPECT_EQ(tool(QStringLiteral("ID_Back"))->ID(), "ID_Back");
}

TEST_F(ToolDialogTest, RemovingComboItemsAsksAndReselects)
{
    runTool(false, QStringLiteral("Tool1"), [](frmTool& d) {
        d.coType.setListIndex(toolbar::mqComboBox);
        for (const char* text : {"a", "b"}) {
            d.cmdComboNew.click();
            d.txtLabelEdit.setText(QLatin1String(text));
            d.txtLabelEdit.type(QStringLiteral("\r"));   // Enter ends the edit
        }
        EXPECT_FALSE(d.txtLabelEdit.Visible());
        d.lvComboItems.clickItem(d.lvComboItems.ListItems.Item(2));
        forms::testing::answerNextMsgBox(forms::vbYes);
        d.cmdComboRemove.click();
        ASSERT_EQ(d.lvComboItems.ListItems.Count(), 1);
        EXPECT_TRUE(d.lvComboItems.ListItems.Item(1).Selected());
        forms::testing::answerNextMsgBox(forms::vbYes);
        d.cmdComboRemove.click();
        EXPECT_FALSE(d.cmdComboRemove.Enabled());
        EXPECT_FALSE(d.cmdComboRemoveAll.Enabled());
        d.cmdCxl.click();
    });
    const auto& shown = forms::testing::shownMsgBoxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Are you sure you want to remove list item 'b'?");
    EXPECT_EQ(shown[0].title, "Confirm Remove Listitem");
    EXPECT_EQ(shown[0].buttons, forms::vbYesNo | forms::vbQuestion);
}

}  // namespace
