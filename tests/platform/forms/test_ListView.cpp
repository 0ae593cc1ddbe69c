// The list view as the copy dialogs use it (columns, sub-items, sorting by a
// header, selection and checks), and the progress bar.
#include "platform/forms/Form.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/ListView.h"
#include "platform/forms/ProgressBar.h"
#include "platform/forms/Testing.h"
#include "platform/runtime/Error.h"

#include <gmock/gmock.h>

#include <QTest>
#include <QTreeWidget>

using namespace forms;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class frmLV final : public Form {
public:
    ListView lvTools{this, "lvTools"};
    ImageList ImageList1{this, "ImageList1"};
    ProgressBar pb{this, "pb"};
    QStringList events;

    frmLV()
    {
        lvTools.ItemClick = [this](ListItem& i) { events << "ItemClick " + i.Text(); };
        lvTools.ColumnClick = [this](ColumnHeader& c) {
            lvTools.setSortKey(int16_t(c.Index() - 1));
            events << "ColumnClick " + c.Text();
        };
        lvTools.ItemCheck = [this](ListItem& i) { events << "ItemCheck " + i.Text(); };
    }

private:
    void Form_Design() override
    {
        lvTools.setView(lvwReport);
        lvTools.ColumnHeaders.Add(0, {}, "ID", 1200);
        lvTools.ColumnHeaders.Add(0, {}, "Name", 1200);
        lvTools.ColumnHeaders.Add(0, "cat", "Category", 1200);
        QImage img(16, 16, QImage::Format_RGB32);
        img.fill(Qt::blue);
        ImageList1.Add(0, "ID_Save", StdPicture::fromImage(img));
        lvTools.setSmallIcons(&ImageList1);
    }
};

frmLV& form() { return instance<frmLV>(); }

int32_t errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const rt::Error& e) {
        return e.number();
    }
    return 0;
}

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        forms::testing::enable();
        form().events.clear();
    }
    void TearDown() override
    {
        for (Form* f : Form::loadedForms())
            f->Unload();
        EXPECT_THAT(forms::testing::takeFailures(), IsEmpty());
    }
    ListItemCollection& items() { return form().lvTools.ListItems; }
    void addTool(const QString& id, const QString& name, const QString& cat)
    {
        ListItem& i = items().Add(0, id, id, {}, id == "ID_Save" ? "ID_Save" : rt::Variant());
        i.setSubItems(1, name);
        i.setSubItems(2, cat);
    }
    QStringList order(int column = 0)
    {
        QStringList out;
        for (int32_t i = 1; i <= items().Count(); ++i)
            out << (column ? items().Item(i).SubItems(column) : items().Item(i).Text());
        return out;
    }
};

TEST_F(ListViewTest, ItemsKeepSubItemsAndKeys)
{
    addTool("ID_Save", "Save", "File");
    addTool("ID_Cut", "Cut", "edit");
    EXPECT_EQ(items().Item("ID_Cut").SubItems(2), "edit");
    EXPECT_EQ(items().Item(1).Key(), "ID_Save");
    EXPECT_EQ(items().Item("ID_Save").SmallIcon().toString(), "ID_Save");
    EXPECT_EQ(errorOf([&] { items().Add(0, "ID_Cut", "again"); }), 35602);
    EXPECT_EQ(errorOf([&] { items().Item("ID_Paste"); }), 35601);
    EXPECT_EQ(errorOf([&] { items().Item(3); }), 35600);
    EXPECT_EQ(errorOf([&] { items().Item(1).setSubItems(3, "x"); }), 380);
    EXPECT_EQ(errorOf([&] { items().Add(0, "x", "x", {}, "ID_None"); }), 35601);
    EXPECT_EQ(items().Count(), 2);
    items().Add(1, {}, "<No Tools>");   // at a position, without a key
    EXPECT_THAT(order(), ElementsAre("<No Tools>", "ID_Save", "ID_Cut"));
    items().Remove("ID_Save");
    EXPECT_EQ(items().Item("ID_Cut").Index(), 2);
    items().Clear();
    EXPECT_EQ(items().Count(), 0);
    EXPECT_EQ(form().lvTools.ColumnHeaders.Item("cat").Index(), 3);
}

TEST_F(ListViewTest, HeaderClickSortsByThatColumn)
{
    ListView& lv = form().lvTools;
    addTool("ID_b", "zeta", "Main");
    addTool("ID_A", "alpha", "edit");
    addTool("ID_c", "Mid", "Edit2");
    lv.setSorted(true);
    EXPECT_THAT(order(), ElementsAre("ID_A", "ID_b", "ID_c"));
    lv.clickColumn(2);
    EXPECT_THAT(order(1), ElementsAre("alpha", "Mid", "zeta"));
    lv.setSortOrder(lvwDescending);
    EXPECT_THAT(order(1), ElementsAre("zeta", "Mid", "alpha"));
    addTool("ID_d", "nu", "x");   // sub-item set after adding: sorts by the text then
    lv.setSortKey(0);
    EXPECT_THAT(order(), ElementsAre("ID_d", "ID_c", "ID_b", "ID_A"));
    items().Add(0, "ID_bb", "ID_bb");   // added into a sorted list: at its place
    EXPECT_THAT(order(), ElementsAre("ID_d", "ID_c", "ID_bb", "ID_b", "ID_A"));
    EXPECT_THAT(form().events, ElementsAre("ColumnClick Name"));
    // The first row has no picture, another one has: both as high as a picture.
    addTool("ID_Save", "save", "z");
    lv.setSortOrder(lvwAscending);
    auto* w = static_cast<QTreeWidget*>(lv.widget());
    const int first = w->visualItemRect(w->topLevelItem(0)).height();
    EXPECT_EQ(items().Item("ID_Save").Index(), 6);
    EXPECT_GE(first, 16);
    EXPECT_EQ(first, w->visualItemRect(w->topLevelItem(5)).height());
}

TEST_F(ListViewTest, SelectionAndChecksInCodeAreQuiet)
{
    ListView& lv = form().lvTools;
    lv.setMultiSelect(true);
    lv.setCheckboxes(true);
    addTool("ID_1", "one", "");
    addTool("ID_2", "two", "");
    addTool("ID_3", "three", "");
    for (int32_t i = 1; i <= 3; ++i)
        items().Item(i).setSelected(true);
    items().Item(2).setSelected(false);
    items().Item(3).setChecked(true);
    EXPECT_TRUE(items().Item(1).Selected());
    EXPECT_FALSE(items().Item(2).Selected());
    EXPECT_TRUE(items().Item(3).Checked());
    EXPECT_THAT(form().events, IsEmpty());

    lv.clickItem(items().Item(2));   // a plain click selects that item alone
    lv.toggleCheck(items().Item(1));
    EXPECT_EQ(lv.SelectedItem(), &items().Item(2));
    EXPECT_FALSE(items().Item(1).Selected());
    EXPECT_TRUE(items().Item(1).Checked());
    EXPECT_THAT(form().events, ElementsAre("ItemClick ID_2", "ItemCheck ID_1"));
}

TEST_F(ListViewTest, ARightPressSelectsAndReportsBeforeMouseUp)
{
    ListView& lv = form().lvTools;
    addTool("ID_1", "one", "");
    addTool("ID_2", "two", "");
    lv.clickItem(items().Item(1));
    form().events.clear();
    lv.MouseUp = [&](int16_t button, int16_t, float, float) {
        form().events
            << QStringLiteral("MouseUp %1 sel %2").arg(button).arg(lv.SelectedItem()->Text());
    };
    form().Show();
    auto* w = static_cast<QTreeWidget*>(lv.widget());
    QTest::mouseClick(w->viewport(), Qt::RightButton, {},
                      w->visualItemRect(w->topLevelItem(1)).center());
    lv.MouseUp = std::function<void(int16_t, int16_t, float, float)>();
    EXPECT_THAT(form().events, ElementsAre("ItemClick ID_2", "MouseUp 2 sel ID_2"));
}

TEST_F(ListViewTest, AColumnInsertedInTheMiddleMovesLaterSubItems)
{
    addTool("ID_1", "one", "File");
    form().lvTools.ColumnHeaders.Add(2, "state", "State");
    ListItem& i = items().Item("ID_1");
    EXPECT_EQ(i.SubItems(1), "");
    EXPECT_EQ(i.SubItems(2), "one");
    EXPECT_EQ(i.SubItems(3), "File");
    EXPECT_EQ(form().lvTools.ColumnHeaders.Item("cat").Index(), 4);
    form().lvTools.ColumnHeaders.Remove(2);
    EXPECT_EQ(i.SubItems(1), "one");
    EXPECT_EQ(i.SubItems(2), "File");
}

TEST_F(ListViewTest, ImageListKeysStayRightAfterInsertsAndRemovals)
{
    ImageList& il = form().ImageList1;
    QImage img(16, 16, QImage::Format_RGB32);
    for (const char* k : {"a", "b", "c"}) {
        img.fill(QColor(k[0], 0, 0));
        il.Add(0, k, StdPicture::fromImage(img));
    }
    img.fill(Qt::green);
    il.Add(1, "first", StdPicture::fromImage(img));   // in front: positions move
    il.Remove("b");
    EXPECT_EQ(il.Item("first").Index, 1);
    EXPECT_EQ(il.Item("c").Index, il.Count());
    EXPECT_EQ(il.Item("c").picture->toImage().pixelColor(0, 0), QColor('c', 0, 0));
    EXPECT_FALSE(il.exists("b"));
    EXPECT_EQ(errorOf([&] { il.Add(0, "a", StdPicture::fromImage(img)); }), 35602);
    // One cached icon per picture; a replaced picture gets its own.
    const QIcon before = il.icon(il.Item("a"));
    EXPECT_EQ(il.icon(il.Item("a")).cacheKey(), before.cacheKey());
    il.Remove("a");
    il.Add(0, "a", StdPicture::fromImage(img));
    EXPECT_NE(il.icon(il.Item("a")).cacheKey(), before.cacheKey());
}

TEST_F(ListViewTest, ProgressBarKeepsValueInRange)
{
    ProgressBar& pb = form().pb;
    pb.setMax(20);
    pb.setValue(15);
    EXPECT_EQ(errorOf([&] { pb.setValue(21); }), 380);
    EXPECT_EQ(errorOf([&] { pb.setMin(20); }), 380);
    pb.setMax(10);   // the value follows a lower maximum
    EXPECT_EQ(pb.Value(), 10.f);
}

}  // namespace
