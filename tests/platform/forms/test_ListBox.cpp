// List boxes: what code and real mouse clicks on the list's viewport raise,
// for plain lists and lists with check boxes.
#include "platform/forms/ComboBox.h"
#include "platform/forms/Form.h"
#include "platform/forms/Testing.h"

#include <gmock/gmock.h>

#include <QListWidget>
#include <QScrollBar>
#include <QTest>

using namespace forms;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class frmList final : public Form {
public:
    ListBox liPlain{this, "liPlain"};
    ListBox liChecks{this, "liChecks", vbListBoxCheckbox};
    QStringList events;

    frmList()
    {
        wire(liPlain, QStringLiteral("plain"));
        wire(liChecks, QStringLiteral("checks"));
        liChecks.ItemCheck = [this](int16_t item) {
            events << QStringLiteral("checks ItemCheck %1 %2")
                          .arg(item)
                          .arg(liChecks.Selected(item));
        };
    }

private:
    static QString mouse(const QString& what, int16_t b, int16_t s, float x, float y)
    {
        return QStringLiteral("%1 %2 %3 %4 %5").arg(what).arg(b).arg(s).arg(x).arg(y);
    }
    void wire(ListBox& l, const QString& name)
    {
        l.Click = [this, &l, name] {
            events << QStringLiteral("%1 Click %2").arg(name).arg(l.ListIndex());
        };
        l.MouseDown = [this, name](int16_t b, int16_t s, float x, float y) {
            events << mouse(name + QStringLiteral(" MouseDown"), b, s, x, y);
        };
        l.MouseUp = [this, name](int16_t b, int16_t s, float x, float y) {
            events << mouse(name + QStringLiteral(" MouseUp"), b, s, x, y);
        };
    }
    void Form_Design() override
    {
        setDesignSize(6000, 3000);
        liPlain.Move(0, 0, 2400, 2400);
        liChecks.Move(3000, 0, 2400, 2400);
        for (const char* s : {"Main", "Format", "Tools"}) {
            liPlain.AddItem(QString::fromLatin1(s));
            liChecks.AddItem(QString::fromLatin1(s));
        }
    }
};

frmList& form() { return instance<frmList>(); }

QWidget* viewportOf(ListBox& l)
{
    return static_cast<QListWidget*>(l.widget())->viewport();
}

// The centre of an entry, in viewport pixels.
QPoint entryAt(ListBox& l, int row)
{
    auto* w = static_cast<QListWidget*>(l.widget());
    return w->visualItemRect(w->item(row)).center();
}

class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        forms::testing::enable();
        form().Show();
        form().events.clear();
    }
    void TearDown() override
    {
        form().Unload();
        EXPECT_THAT(forms::testing::takeFailures(), IsEmpty());
    }
};

TEST_F(ListBoxTest, RightClickOnTheViewportRaisesMouseDownAndMouseUp)
{
    const QPoint at = entryAt(form().liPlain, 1);
    QTest::mouseClick(viewportOf(form().liPlain), Qt::RightButton, Qt::ShiftModifier, at);
    ASSERT_EQ(form().events.size(), 3) << form().events.join(u'|').toStdString();
    // Twips of the form: 15 per pixel.
    const QString xy = QStringLiteral("%1 %2").arg(at.x() * 15).arg(at.y() * 15);
    EXPECT_EQ(form().events.front(), "plain MouseDown 2 1 " + xy);
    EXPECT_EQ(form().events.back(), "plain MouseUp 2 1 " + xy);
}

TEST_F(ListBoxTest, LeftClickOrdersMouseDownClickMouseUp)
{
    QTest::mouseClick(viewportOf(form().liPlain), Qt::LeftButton, {}, entryAt(form().liPlain, 2));
    ASSERT_EQ(form().events.size(), 3);
    EXPECT_THAT(form().events[0].section(u' ', 0, 2), "plain MouseDown 1");
    EXPECT_EQ(form().events[1], "plain Click 2");
    EXPECT_THAT(form().events[2].section(u' ', 0, 2), "plain MouseUp 1");
}

TEST_F(ListBoxTest, SelectedOnACheckListMakesTheEntryCurrent)
{
    ListBox& l = form().liChecks;
    l.setSelected(1, true);    // moves ListIndex: ItemCheck, then Click
    l.setSelected(1, false);   // stays on it: ItemCheck and Click all the same
    l.setSelected(1, false);   // no change: nothing
    l.setSelected(0, true);
    EXPECT_EQ(l.ListIndex(), 0);
    EXPECT_THAT(form().events,
                ElementsAre("checks ItemCheck 1 1", "checks Click 1", "checks ItemCheck 1 0",
                            "checks Click 1", "checks ItemCheck 0 1", "checks Click 0"));
}

TEST_F(ListBoxTest, ACheckListOfOneEntryClicksAtEveryChangeByCode)
{
    ListBox& l = form().liChecks;
    l.Clear();
    l.AddItem(QStringLiteral("Only"));
    form().events.clear();
    for (bool on : {true, false, true})
        l.setSelected(0, on);
    EXPECT_THAT(form().events,
                ElementsAre("checks ItemCheck 0 1", "checks Click 0", "checks ItemCheck 0 0",
                            "checks Click 0", "checks ItemCheck 0 1", "checks Click 0"));
}

TEST_F(ListBoxTest, TheLongestEntryCanBeScrolledIntoViewAfterShortOnes)
{
    auto* w = static_cast<QListWidget*>(form().liPlain.widget());
    const QString longest = QStringLiteral("/a/rather/long/folder/path/").repeated(8) + "End.vbp";
    const int textWidth = w->fontMetrics().horizontalAdvance(longest);
    const auto reachesTheEnd = [&](int row) {
        forms::testing::processEvents(20);
        EXPECT_GE(w->horizontalScrollBar()->maximum() + w->viewport()->width(), textWidth);
        EXPECT_GE(w->visualItemRect(w->item(row)).width(), textWidth);
    };
    form().liPlain.AddItem(longest);
    form().liPlain.AddItem(QStringLiteral("x"));
    reachesTheEnd(3);
    form().liPlain.Clear();
    form().liPlain.AddItem(QStringLiteral("x"));
    forms::testing::processEvents(20);
    form().liPlain.AddItem(longest);
    reachesTheEnd(1);
    form().liPlain.Clear();
    form().liPlain.AddItem(QStringLiteral("x"));
    form().liPlain.AddItem(QStringLiteral("y"));
    forms::testing::processEvents(20);
    form().liPlain.setList(0, longest);
    reachesTheEnd(0);
}

TEST_F(ListBoxTest, SelectedOnAPlainListClicksOnlyOnAChange)
{
    ListBox& l = form().liPlain;
    l.setSelected(2, true);
    l.setSelected(2, true);
    l.setSelected(2, false);
    EXPECT_EQ(l.ListIndex(), -1);
    EXPECT_THAT(form().events, ElementsAre("plain Click 2", "plain Click -1"));
}

}  // namespace

TEST_F(ListBoxTest, AnEntryCheckedByCodeIsBroughtIntoViewOnceTheChecksPause)
{
    ListBox& l = form().liChecks;
    for (int i = 0; i < 200; ++i)
        l.AddItem(QStringLiteral("Entry %1").arg(i));
    for (int i = 0; i < l.ListCount(); ++i)
        l.setSelected(i, true);
    forms::testing::processEvents(150);
    auto* w = static_cast<QListWidget*>(l.widget());
    EXPECT_EQ(l.ListIndex(), l.ListCount() - 1);
    EXPECT_TRUE(w->viewport()->rect().contains(w->visualItemRect(w->currentItem())));
}
