// The toolbar list, and the tool tree in its flat and grouped form: nodes,
// keys, texts, pictures, order, expansion, and the category and state-group
// collections the tool dialog reads.
#include "PanelFixture.h"

#include "platform/runtime/Collection.h"

#include <QImage>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct ToolSpec {
    QString id;
    QString category;
    int16_t type = toolbar::mqButton;
    QString group = {};
    bool picture = false;
    QString name = {};
};

forms::Picture toolPicture()
{
    QImage image(16, 17, QImage::Format_RGB32);
    image.fill(0xFF00FF00);
    image.setPixel(3, 3, 0xFF000080);
    return forms::StdPicture::fromImage(image);
}

QStringList itemsOf(const rt::Collection& c)
{
    QStringList out;
    for (const rt::Variant& v : c)
        out << v.toString();
    return out;
}

QStringList childKeys(forms::Node* first)
{
    QStringList out;
    for (forms::Node* n = first; n; n = n->Next())
        out << n->Key();
    return out;
}

class ToolTreeTest : public PanelTest {
protected:
    void startEmpty() { start(QString()); }
    void addTools(const std::vector<ToolSpec>& specs)
    {
        for (const ToolSpec& s : specs) {
            auto tool = workingCopy().tools()->Add(s.id, s.type);
            tool->setCategory(s.category);
            tool->setStateGroupName(s.group);
            tool->setName(s.name);
            if (s.picture)
                tool->setPicture(toolbar::PictureState::Normal, toolPicture());
        }
    }
    void fill(bool grouped) { panel().LoadToolsIntoTreeview(grouped, panel().tvTools); }
    static forms::TreeView& tree() { return panel().tvTools; }
    static QStringList rootKeys()
    {
        for (int32_t i = 1; i <= tree().Nodes.Count(); ++i)
            if (!tree().Nodes.Item(i).Parent())
                return childKeys(tree().Nodes.Item(i).FirstSibling());
        return {};
    }
};

TEST_F(ToolTreeTest, ToolbarListMirrorsTheToolbarsWithoutCurrentEntry)
{
    startEmpty();
    workingCopy().toolbars()->Add(QStringLiteral("Main"));
    workingCopy().toolbars()->Add(QStringLiteral("Hidden"))->setVisible(false);
    workingCopy().toolbars()->Add(QStringLiteral("Menu"), 1);
    panel().LoadToolbarsIntoListbox(panel().liTBars);
    forms::ListBox& list = panel().liTBars;
    ASSERT_EQ(list.ListCount(), 3);
    EXPECT_EQ(list.ListIndex(), -1);
    const bool checked[] = {true, false, true};
    for (int32_t i = 0; i < 3; ++i)
        EXPECT_EQ(list.Selected(i), checked[i]) << list.List(i).toStdString();
    EXPECT_EQ(list.List(1), QStringLiteral("Hidden"));
}

TEST_F(ToolTreeTest, EmptyWorkingCopyGivesEmptyTreeAndOnlyGeneral)
{
    startEmpty();
    for (bool grouped : {false, true}) {
        SCOPED_TRACE(grouped);
        fill(grouped);
        EXPECT_EQ(tree().Nodes.Count(), 0);
        EXPECT_THAT(itemsOf(panel().cCategories), ElementsAre("General"));
        EXPECT_TRUE(panel().cCategories.contains(QStringLiteral("GENERAL")));
        EXPECT_THAT(itemsOf(panel().cGroups), IsEmpty());
    }
}

TEST_F(ToolTreeTest, CategoriesDifferingInCaseShareOneNode)
{
    startEmpty();
    addTools({{"Cut", "Edit"}, {"Paste", "edit"}, {"Open", "File"}, {"Copy", "EDIT"}});
    panel().tabMain.setTab(1);
    fill(true);
    EXPECT_THAT(rootKeys(), ElementsAre("@CATEGORY@EDIT", "@CATEGORY@FILE"));
    forms::Node& edit = tree().Nodes.Item(QStringLiteral("@CATEGORY@EDIT"));
    EXPECT_EQ(edit.Text(), QStringLiteral("Edit"));   // the first tool's spelling
    EXPECT_EQ(edit.Image().toString(), QStringLiteral("##RYX##Category"));
    EXPECT_THAT(childKeys(edit.Child()), ElementsAre("Copy", "Cut", "Paste"));
    EXPECT_THAT(itemsOf(panel().cCategories), ElementsAre("Edit", "File", "General"));
    EXPECT_FALSE(frmCtlPanel::IsToolNode(&edit));
    EXPECT_TRUE(frmCtlPanel::IsToolNode(&tree().Nodes.Item(QStringLiteral("Cut"))));
    EXPECT_FALSE(frmCtlPanel::IsToolNode(static_cast<forms::Node*>(nullptr)));

    // The flat form: the same collection, tools sorted by text at the root.
    fill(false);
    EXPECT_THAT(rootKeys(), ElementsAre("Copy", "Cut", "Open", "Paste"));
    EXPECT_THAT(itemsOf(panel().cCategories), ElementsAre("Edit", "File", "General"));
    EXPECT_EQ(tree().Style(), forms::tvwPictureText);
    EXPECT_EQ(tree().LineStyle(), forms::tvwTreeLines);
}

TEST_F(ToolTreeTest, StateGroupsEnterByTypeOnlyInTheFlatForm)
{
    startEmpty();
    addTools({{"Bold", "Font", toolbar::mqStateButton, " Style "},
              {"Align", "Font", toolbar::mqDropDownStateButton, "Align"},
              {"Plain", "Font", toolbar::mqButton, "Loose"},
              {"Italic", "Font", toolbar::mqStateButton, "Style"}});
    struct Case {
        bool grouped;
        QStringList groups;
    };
    for (const Case& c : {Case{false, {"Style"}}, Case{true, {"Style", "Align", "Loose"}}}) {
        SCOPED_TRACE(c.grouped);
        fill(c.grouped);
        EXPECT_EQ(itemsOf(panel().cGroups), c.groups);
    }
}

TEST_F(ToolTreeTest, OnlyASingleCategoryIsExpanded)
{
    startEmpty();
    addTools({{"Cut", "Edit"}, {"Copy", "Edit"}});
    fill(true);
    EXPECT_TRUE(tree().Nodes.Item(QStringLiteral("@CATEGORY@EDIT")).Expanded());
    EXPECT_EQ(tree().Style(), forms::tvwTreelinesPlusMinusPictureText);
    EXPECT_EQ(tree().LineStyle(), forms::tvwRootLines);

    addTools({{"Open", "File"}});
    fill(true);
    EXPECT_FALSE(tree().Nodes.Item(QStringLiteral("@CATEGORY@EDIT")).Expanded());
    EXPECT_FALSE(tree().Nodes.Item(QStringLiteral("@CATEGORY@FILE")).Expanded());
}

TEST_F(ToolTreeTest, NodeTextsAndPicturesFollowTheTools)
{
    startEmpty();
    addTools({{"Save", "", toolbar::mqButton, {}, true, " Save File "},
              {"Plain", "", toolbar::mqButton, {}, false, "  "}});
    panel().tabMain.setTab(1);   // the Tools tab loads the pictures and the tree
    ASSERT_TRUE(panel().toolTreeLoaded());
    ASSERT_TRUE(panel().toolPicturesLoaded());
    for (bool grouped : {false, true}) {
        SCOPED_TRACE(grouped);
        fill(grouped);
        forms::Node& save = tree().Nodes.Item(QStringLiteral("Save"));
        EXPECT_EQ(save.Text(), QStringLiteral("Save  [Save File]"));
        EXPECT_EQ(save.Image().toString(), QStringLiteral("Save"));
        forms::Node& plain = tree().Nodes.Item(QStringLiteral("Plain"));
        EXPECT_EQ(plain.Text(), QStringLiteral("Plain"));
        EXPECT_TRUE(plain.Image().isEmpty());
    }
    // An empty category has its own node with empty text.
    EXPECT_EQ(tree().Nodes.Item(QStringLiteral("@CATEGORY@")).Text(), QString());
    EXPECT_TRUE(panel().imlstTools.exists(QStringLiteral("Save")));
    EXPECT_FALSE(panel().imlstTools.exists(QStringLiteral("Plain")));
    EXPECT_TRUE(panel().imlstTools.exists(QStringLiteral("##RYX##Category")));
}

// A picture the image list could not take leaves its tool in the tree,
// shown without picture, instead of dropping the tool.
TEST_F(ToolTreeTest, ToolWhosePictureIsNotInTheListStillGetsItsNode)
{
    startEmpty();
    addTools({{"Save", "Main", toolbar::mqButton, {}, true}});
    fill(false);   // before the Tools tab put any picture into the list
    ASSERT_TRUE(tree().Nodes.exists(QStringLiteral("Save")));
    EXPECT_TRUE(tree().Nodes.Item(QStringLiteral("Save")).Image().isEmpty());
}

TEST_F(ToolTreeTest, TabSwitchMovesCommandsHelpAndTreeFlag)
{
    startEmpty();
    forms::Control* frames[] = {&panel().frCmdsToolbars, &panel().frCmdsTools,
                                &panel().frOptions};
    struct Case {
        int16_t tab;
        int16_t previous;
        int32_t help;
        bool treeFlag;
    };
    for (const Case& c : {Case{1, 0, 2100, true}, Case{2, 1, 2200, false},
                          Case{0, 2, 2000, false}, Case{1, 0, 2100, true}}) {
        SCOPED_TRACE(c.tab);
        panel().tabMain.setTab(c.tab);
        EXPECT_EQ(panel().HelpContextID(), c.help);
        EXPECT_TRUE(frames[c.tab]->Enabled());
        EXPECT_FALSE(frames[c.previous]->Enabled());
        EXPECT_EQ(panel().treeContainerFlag(), c.treeFlag);
    }
}

TEST_F(ToolTreeTest, ClearToolImagesKeepsTheCategoryPicture)
{
    startEmpty();
    addTools({{"A", "X", toolbar::mqButton, {}, true}, {"B", "X", toolbar::mqButton, {}, true}});
    panel().tabMain.setTab(1);
    ASSERT_EQ(panel().imlstTools.Count(), 3);
    workingCopy().tools()->Remove(rt::Variant(QStringLiteral("A")));
    panel().ReloadAllLists();
    EXPECT_EQ(panel().imlstTools.Count(), 2);
    EXPECT_EQ(panel().imlstTools.Item(1).Key, QStringLiteral("##RYX##Category"));
    EXPECT_EQ(panel().imlstTools.Item(2).Key, QStringLiteral("B"));
    EXPECT_FALSE(tree().Nodes.exists(QStringLiteral("A")));
}

}  // namespace
