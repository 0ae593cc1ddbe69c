// Design-time editing of the control offscreen: where a drop lands between
// entries, which drops are refused, the change codes each edit raises, and
// the menus that open on a menu tool and take drops.
#include "ToolbarTestSupport.h"

#include "platform/toolbar/MenuPanel.h"
#include "platform/toolbar/ZentribarEditing.h"
#include "platform/toolbar/ZentribarWidget.h"

#include <QApplication>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

#include <gmock/gmock.h>

using namespace toolbar;
using toolbar::testing::errorOf;
using toolbar::testing::EventLog;
using toolbar::testing::Recorded;
using ::testing::ElementsAre;

namespace {

TEST(EditingDropIndex, ADropLandsBetweenTheTwoEntriesNearestIt)
{
    // Three entries of 20 pixels, one gap pixel apart; the third not shown.
    const EntryLine line{nullptr, false, QRect(0, 0, 100, 24),
                         {QRect(4, 2, 20, 20), QRect(25, 2, 20, 20), QRect()}};
    EXPECT_EQ(dropIndex(line, QPoint(0, 10)), 1);
    EXPECT_EQ(dropIndex(line, QPoint(13, 10)), 1);    // the first one's left half
    EXPECT_EQ(dropIndex(line, QPoint(14, 10)), 2);    // its middle: after it
    EXPECT_EQ(dropIndex(line, QPoint(34, 10)), 2);
    EXPECT_EQ(dropIndex(line, QPoint(35, 10)), 3);    // after the last one shown
    EXPECT_EQ(dropIndex(line, QPoint(99, 10)), 3);
    const EntryLine empty{nullptr, true, QRect(0, 0, 24, 40), {QRect()}};
    EXPECT_EQ(dropIndex(empty, QPoint(10, 30)), 2);

    // The mark sits in the gap: across the line, between the two entries.
    const QRect between = insertionMark(line, 2);
    EXPECT_LE(between.left(), 24);
    EXPECT_GE(between.right(), 24);
    EXPECT_EQ(between.height(), 20);
    EXPECT_GE(insertionMark(line, 3).left(), 44);
    const EntryLine down{nullptr, true, QRect(0, 0, 24, 100),
                         {QRect(2, 4, 20, 20), QRect(2, 25, 20, 20)}};
    EXPECT_EQ(dropIndex(down, QPoint(10, 13)), 1);
    EXPECT_EQ(dropIndex(down, QPoint(10, 14)), 2);
    EXPECT_EQ(insertionMark(down, 2).width(), 20);
    EXPECT_LE(insertionMark(down, 2).top(), 24);
}

class Editing : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* id : {"ID_Open", "ID_Save", "ID_Cut", "ID_Paste"})
            c->tools()->Add(QLatin1String(id))->setName(QLatin1String(id + 3));
        auto file = c->tools()->Add("ID_File", mqMenu);
        file->menu()->tools()->Add("ID_Cut");
        c->tools()->Add("ID_Recent", mqMenu)->menu()->tools()->Add("ID_Paste");
        file->menu()->tools()->Add("ID_Recent");
        auto top = c->toolbars()->Add("Top");
        top->tools()->Add("ID_Open");
        top->tools()->Add("ID_Save");
        top->tools()->Add("ID_File");
        c->toolbars()->Add("Left")->setPositionState1(int16_t(DockArea::Left));
        c->SwitchConfigMode(ConfigModeAccessCode);
        form.resize(400, 300);
        widget->resize(form.size());
        form.show();
    }

    // A drag of text entering at `at`, then dropped there: whether the
    // widget took it.
    bool dropText(QWidget* on, const QString& text, QPoint at)
    {
        QMimeData mime;
        mime.setText(text);
        // The enter makes the widget the drag's target, as the drag manager does.
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &move);
        if (!move.isAccepted())
            return false;
        marked = widget->editing().mark();
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &drop);
        return drop.isAccepted();
    }
    void click(QWidget* on, QPoint at)
    {
        QMouseEvent press(QEvent::MouseButtonPress, at, on->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, on->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(on, &release);
        QApplication::processEvents();
    }
    QStringList ids(const Tools& tools)
    {
        QStringList out;
        for (const auto& t : tools)
            out << (t->role() == Tool::Role::Separator ? QStringLiteral("|") : t->ID());
        return out;
    }
    Tools& top() { return *c->toolbars()->Item(QStringLiteral("Top"))->tools(); }

    std::shared_ptr<MqZentribar> c = std::make_shared<MqZentribar>();
    QWidget form;
    ZentribarWidget* widget = new ZentribarWidget(c, &form);
    QRect marked;
};

TEST_F(Editing, AToolIdDroppedBetweenTwoEntriesBecomesAnEntryThere)
{
    EventLog log(*c);
    const QRect open = widget->toolRect("Top", 1), save = widget->toolRect("Top", 2);
    ASSERT_TRUE(dropText(widget, QStringLiteral("id_cut"), QPoint(save.left() + 2, save.center().y())));
    EXPECT_EQ(ids(top()), QStringList({"ID_Open", "ID_Cut", "ID_Save", "ID_File"}));
    EXPECT_THAT(log.events, ElementsAre(Recorded{4, "Top", "ID_Cut"}));
    EXPECT_TRUE(marked.intersects(QRect(open.right(), open.top(), save.left() - open.right() + 1,
                                        1).adjusted(0, 0, 0, open.height())));
    EXPECT_TRUE(widget->editing().mark().isEmpty()) << "the mark stays after the drop";

    // An empty toolbar takes one too.
    const QRect left = widget->toolbarRect("Left");
    ASSERT_TRUE(dropText(widget, QStringLiteral("ID_Paste"), left.center()));
    EXPECT_EQ(ids(*c->toolbars()->Item(QStringLiteral("Left"))->tools()), QStringList{"ID_Paste"});
}

TEST_F(Editing, TextThatIsNoToolIdTheSameToolTwiceAndDropsOutsideConfigurationModeAreRefused)
{
    EventLog log(*c);
    const QPoint onTop = widget->toolRect("Top", 1).center();
    EXPECT_FALSE(dropText(widget, QStringLiteral("ID_Missing"), onTop));
    EXPECT_FALSE(dropText(widget, QStringLiteral("ID_Cut\nID_Save"), onTop));
    EXPECT_FALSE(dropText(widget, QStringLiteral("ID_Save"), onTop));   // there already
    EXPECT_FALSE(dropText(widget, QStringLiteral("ID_Cut"), QPoint(300, 250)));   // no toolbar
    c->SwitchConfigMode(ConfigModeAccessCode);
    EXPECT_FALSE(dropText(widget, QStringLiteral("ID_Cut"), onTop));
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(top().Count(), 3);
}

TEST_F(Editing, MovesKeepTheLookAndCopiesAndSeparatorsRaiseTheirCodes)
{
    EventLog log(*c);
    auto open = top().Item(1);
    open->setName("Opened");
    log.clear();
    // To the end of its own list: removed, then added after the last one.
    top().placeEntry(open->state(), 4, false);
    EXPECT_EQ(ids(top()), QStringList({"ID_Save", "ID_File", "ID_Open"}));
    top().placeEntry(open->state(), 3, false);   // where it is: nothing
    auto left = c->toolbars()->Item(QStringLiteral("Left"));
    left->tools()->placeEntry(open->state(), 1, true);
    EXPECT_EQ(left->tools()->Item(1)->Name(), "Opened");
    EXPECT_EQ(top().Count(), 3);
    EXPECT_THAT(log.events, ElementsAre(Recorded{5, "Top", "ID_Open"}, Recorded{4, "Top", "ID_Open"},
                                        Recorded{4, "Left", "ID_Open"}));
    EXPECT_EQ(errorOf([&] { top().placeEntry(open->state(), 1, true); }).number(), 457);

    log.clear();
    widget->editing().setGroupStart(top().Item(2), true);
    EXPECT_EQ(ids(top()), QStringList({"ID_Save", "|", "ID_File", "ID_Open"}));
    widget->editing().setGroupStart(top().Item(3), true);   // has one already
    widget->editing().setGroupStart(top().Item(1), true);   // nothing before the first
    widget->editing().setGroupStart(top().Item(3), false);
    EXPECT_EQ(ids(top()), QStringList({"ID_Save", "ID_File", "ID_Open"}));
    EXPECT_THAT(log.codes(), ElementsAre(4, 5));
}

TEST_F(Editing, AClickOnAMenuToolSelectsItAndOpensItsMenuWhichTakesDrops)
{
    EventLog log(*c);
    click(widget, widget->toolRect("Top", 3).center());
    EXPECT_THAT(log.events, ElementsAre(Recorded{11, "Top", "ID_File"}));
    ASSERT_EQ(widget->editing().openMenus().size(), 1u);
    MenuPanel* menu = widget->editing().openMenus()[0];
    EXPECT_FALSE(menu->isWindow()) << "a pop-up would close when a drag starts elsewhere";
    EXPECT_GT(menu->geometry().top(), widget->toolRect("Top", 3).bottom());

    // Dropped below "Cut": between it and the sub-menu.
    const QRect cut = menu->line().entries[0];
    ASSERT_TRUE(dropText(menu, QStringLiteral("ID_Save"), QPoint(cut.center().x(), cut.bottom())));
    const auto& entries = *c->tools()->Item(QStringLiteral("ID_File"))->menu()->tools();
    EXPECT_EQ(ids(entries), QStringList({"ID_Cut", "ID_Save", "ID_Recent"}));
    EXPECT_FALSE(dropText(menu, QStringLiteral("ID_File"), cut.center())) << "a menu inside itself";

    // The sub-menu opens beside its entry; a click on a tool there selects it.
    log.clear();
    QApplication::processEvents();   // the menu follows the change
    menu = widget->editing().openMenus()[0];
    click(menu, menu->line().entries[2].center());
    ASSERT_EQ(widget->editing().openMenus().size(), 2u);
    MenuPanel* sub = widget->editing().openMenus()[1];
    EXPECT_GT(sub->geometry().left(), menu->geometry().left());
    click(sub, sub->line().entries[0].center());
    EXPECT_THAT(log.events, ElementsAre(Recorded{11, "", "ID_Recent"}, Recorded{11, "", "ID_Paste"}));
    EXPECT_EQ(widget->editing().openMenus().size(), 2u) << "configuration mode keeps menus open";

    // The menu tool clicked again closes its menus.
    click(widget, widget->toolRect("Top", 3).center());
    EXPECT_TRUE(widget->editing().openMenus().empty());

    // Outside configuration mode it is a pop-up, and a click runs the tool.
    c->SwitchConfigMode(ConfigModeAccessCode);
    log.clear();
    click(widget, widget->toolRect("Top", 3).center());
    ASSERT_EQ(widget->editing().openMenus().size(), 1u);
    menu = widget->editing().openMenus()[0];
    EXPECT_TRUE(menu->isWindow());
    click(menu, menu->line().entries[0].center());
    EXPECT_THAT(log.clicks, ElementsAre("ID_File", "ID_Cut"));
    QApplication::processEvents();
    EXPECT_TRUE(widget->editing().openMenus().empty());
}

}  // namespace
