// The tool commands of the control panel: new, edit and delete through the
// tool dialog with the tree kept up to date node by node, the usage
// question, the deferred menu commands and the drag of a tool's ID.
#include "PanelFixture.h"

#include "barwright/editors/frmTool.h"
#include "platform/forms/MsgBox.h"

#include <QTreeWidget>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct ToolSpec {
    QString id;
    QString category;
};

class ToolCommandsTest : public PanelTest {
protected:
    // An empty configuration with these tools; the Tools tab shown.
    void startWith(const std::vector<ToolSpec>& tools, bool grouped = true)
    {
        start(QString());
        for (const ToolSpec& t : tools)
            workingCopy().tools()->Add(t.id)->setCategory(t.category);
        panel().chDisplayByCategory.setValue(grouped ? forms::vbChecked : forms::vbUnchecked);
        panel().ReloadAllLists();
        panel().tabMain.setTab(1);
        panel().MakeDirty(false);
    }
    static forms::TreeView& tree() { return panel().tvTools; }
    static void select(const QString& key) { tree().clickNode(tree().Nodes.Item(key)); }
    static QString parentKey(const QString& key)
    {
        forms::Node* parent = tree().Nodes.Item(key).Parent();
        return parent ? parent->Key() : QString();
    }
    static QStringList categories()
    {
        QStringList out;
        for (const rt::Variant& v : panel().cCategories)
            out << v.toString();
        return out;
    }
};

TEST_F(ToolCommandsTest, NewToolIsProposedFreeAndLandsUnderItsCategory)
{
    startWith({{"ID_Tool1", "File"}, {"ID_Tool2", "File"}});
    EXPECT_EQ(panel().GetNewToolName(), QStringLiteral("Tool3"));

    forms::testing::answerNextModal<frmTool>([](frmTool& f) {
        EXPECT_FALSE(f.bEditMode);
        EXPECT_EQ(f.txtID.Text(), QStringLiteral("ID_Tool3"));
        f.coCategory.setText(QStringLiteral("Edit"));
        f.cmdOK.click();
    });
    panel().cmdNewTool.click();

    ASSERT_TRUE(tree().Nodes.exists(QStringLiteral("ID_Tool3")));
    EXPECT_EQ(parentKey(QStringLiteral("ID_Tool3")), QStringLiteral("@CATEGORY@EDIT"));
    EXPECT_EQ(tree().Nodes.Item(QStringLiteral("@CATEGORY@EDIT")).Text(), QStringLiteral("Edit"));
    EXPECT_EQ(tree().SelectedItem()->Key(), QStringLiteral("ID_Tool3"));
    EXPECT_EQ(tree().SelectedItem()->Text(), QStringLiteral("ID_Tool3  [Tool3]"));
    EXPECT_TRUE(panel().IsDirty());
    EXPECT_FALSE(frmTool::get().isLoaded());
}

TEST_F(ToolCommandsTest, CancelledDialogChangesNothing)
{
    startWith({{"ID_Open", "File"}});
    select(QStringLiteral("ID_Open"));
    forms::testing::answerNextModal<frmTool>([](frmTool& f) { f.cmdCxl.click(); });
    panel().cmdNewTool.click();
    forms::testing::answerNextModal<frmTool>([](frmTool& f) {
        f.txtName.setText(QStringLiteral("Changed"));
        f.cmdCxl.click();
    });
    tree().doubleClickNode(tree().Nodes.Item(QStringLiteral("ID_Open")));   // edits
    EXPECT_EQ(tree().Nodes.Count(), 2);
    EXPECT_EQ(tree().Nodes.Item(QStringLiteral("ID_Open")).Text(), QStringLiteral("ID_Open"));
    EXPECT_FALSE(panel().IsDirty());
    EXPECT_THAT(forms::testing::shownModalForms(), ElementsAre("frmTool", "frmTool"));
}

TEST_F(ToolCommandsTest, EditMovesTheNodeToItsNewCategoryAndDropsTheEmptyOne)
{
    startWith({{"ID_Open", "File"}, {"ID_Cut", "Edit"}});
    select(QStringLiteral("ID_Open"));
    forms::testing::answerNextModal<frmTool>([](frmTool& f) {
        EXPECT_TRUE(f.bEditMode);
        EXPECT_EQ(f.sTool, QStringLiteral("ID_Open"));
        f.txtName.setText(QStringLiteral("Open File"));
        f.coCategory.setText(QStringLiteral("Documents"));
        f.cmdOK.click();
    });
    panel().cmdEditTool.click();

    forms::Node& node = tree().Nodes.Item(QStringLiteral("ID_Open"));
    EXPECT_EQ(node.Text(), QStringLiteral("ID_Open  [Open File]"));
    EXPECT_EQ(parentKey(QStringLiteral("ID_Open")), QStringLiteral("@CATEGORY@DOCUMENTS"));
    EXPECT_FALSE(tree().Nodes.exists(QStringLiteral("@CATEGORY@FILE")));
    EXPECT_FALSE(panel().cCategories.contains(QStringLiteral("FILE")));
    EXPECT_TRUE(panel().IsDirty());
}

TEST_F(ToolCommandsTest, DeleteOfAToolOnToolbarsTellsTheCountAndNoKeepsIt)
{
    startWith({{"ID_Save", "File"}, {"ID_Open", "File"}});
    for (const char* name : {"Main", "Second"})
        workingCopy().toolbars()->Add(QString::fromLatin1(name))->tools()->Add(
            QStringLiteral("ID_Save"));
    panel().MakeDirty(false);
    select(QStringLiteral("ID_Save"));

    forms::testing::answerNextMsgBox(forms::vbNo);
    panel().cmdDeleteTool.click();
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    const auto& box = forms::testing::shownMsgBoxes()[0];
    EXPECT_EQ(box.text,
              QStringLiteral("Tool 'ID_Save' is currently being used on 2 toolbar(s).\r\n\r\n"
                             "Are you sure you want to delete 'ID_Save'?\r\n\r\n"));
    EXPECT_EQ(box.title, QStringLiteral("Confirm Delete Tool"));
    EXPECT_EQ(box.buttons, 36);
    EXPECT_TRUE(tree().Nodes.exists(QStringLiteral("ID_Save")));
    EXPECT_NE(workingCopy().tools()->Item(QStringLiteral("ID_Save")), nullptr);
    EXPECT_FALSE(panel().IsDirty());

    // A tool used nowhere gets the bare question; Yes removes only its node.
    select(QStringLiteral("ID_Open"));
    forms::testing::clearShown();
    forms::testing::answerNextMsgBox(forms::vbYes);
    int16_t del = 46;
    tree().KeyUp.fire(del, 0);
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    EXPECT_EQ(forms::testing::shownMsgBoxes()[0].text,
              QStringLiteral("Are you sure you want to delete 'ID_Open'?\r\n\r\n"));
    EXPECT_FALSE(tree().Nodes.exists(QStringLiteral("ID_Open")));
    EXPECT_TRUE(tree().Nodes.exists(QStringLiteral("@CATEGORY@FILE")));
    EXPECT_TRUE(panel().IsDirty());
}

TEST_F(ToolCommandsTest, DeletingACategorysLastToolRemovesItsNodeButGeneralStaysKnown)
{
    startWith({{"ID_Cut", "Edit"}, {"ID_Misc", "General"}});
    for (const QString& id : {QStringLiteral("ID_Cut"), QStringLiteral("ID_Misc")}) {
        select(id);
        forms::testing::answerNextMsgBox(forms::vbYes);
        panel().cmdDeleteTool.click();
    }
    EXPECT_EQ(tree().Nodes.Count(), 0);
    EXPECT_THAT(categories(), ElementsAre("General"));
    EXPECT_EQ(workingCopy().tools()->Count(), 0);
}

TEST_F(ToolCommandsTest, MenuEditOpensTheDialogAfterTheTimerAndDeleteActsAtOnce)
{
    startWith({{"ID_Open", "File"}, {"ID_Save", "File"}});
    select(QStringLiteral("ID_Open"));
    panel().PopupMenu(panel().mnu_Tool);
    EXPECT_EQ(panel().mnu_editTool.Caption(), QStringLiteral("&Edit Tool 'ID_Open'..."));

    forms::testing::answerNextModal<frmTool>([](frmTool& f) { f.cmdCxl.click(); });
    panel().mnu_editTool.click();
    EXPECT_THAT(forms::testing::shownModalForms(), IsEmpty());   // not yet
    EXPECT_TRUE(forms::testing::waitUntil(
        [] { return !forms::testing::shownModalForms().isEmpty(); }));
    EXPECT_FALSE(panel().Timer2.Enabled());

    forms::testing::answerNextMsgBox(forms::vbYes);
    panel().mnu_deleteTool.click();
    EXPECT_FALSE(tree().Nodes.exists(QStringLiteral("ID_Open")));
}

TEST_F(ToolCommandsTest, RightClickSelectsTheNodeUnderTheMouseAndNamesItInTheMenu)
{
    startWith({{"ID_Open", "File"}, {"ID_Save", "File"}});
    select(QStringLiteral("ID_Open"));
    auto* widget = qobject_cast<QTreeWidget*>(tree().widget());
    ASSERT_NE(widget, nullptr);
    const QRect row = widget->visualItemRect(widget->topLevelItem(0)->child(1));
    ASSERT_FALSE(row.isEmpty());
    const double units = tree().container()->unitsPerPixelX();
    // On the node's text: beside it no node is hit.
    tree().MouseUp.fire(forms::vbRightButton, 0, float((row.left() + 4) * units),
                        float(row.center().y() * units));
    EXPECT_EQ(tree().SelectedItem()->Key(), QStringLiteral("ID_Save"));
    EXPECT_EQ(panel().mnu_deleteTool.Caption(), QStringLiteral("&Delete Tool 'ID_Save'..."));
}

TEST_F(ToolCommandsTest, OnlyAToolNodeIsDraggedOutAsItsID)
{
    startWith({{"ID_Open", "File"}});
    select(QStringLiteral("@CATEGORY@FILE"));
    EXPECT_EQ(tree().startDrag(), QString());
    select(QStringLiteral("ID_Open"));
    EXPECT_EQ(tree().startDrag(), QStringLiteral("ID_Open"));
}

}  // namespace
