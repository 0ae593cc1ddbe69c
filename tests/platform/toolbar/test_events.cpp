// ConfigurationModified codes and ToolClick, as the utility's handlers read them.
#include "ToolbarTestSupport.h"

#include <gmock/gmock.h>

using namespace toolbar;
using toolbar::testing::EventLog;
using toolbar::testing::Recorded;
using ::testing::ElementsAre;

namespace {

class ToolbarEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        c->tools()->Add("ID_A");
        bar = c->toolbars()->Add("Main");
        bar->tools()->Add("ID_A");
    }
    std::shared_ptr<MqZentribar> c = std::make_shared<MqZentribar>();
    std::shared_ptr<Toolbar> bar;
};

TEST_F(ToolbarEvents, EachKindOfChangeHasItsCode)
{
    EventLog log(*c);
    bar->setVisible(false);
    bar->setVisible(true);
    c->toolbars()->Add("Second");
    c->tools()->Add("ID_B");
    bar->tools()->Add("ID_B");
    bar->setFont3D(2);
    c->tools()->Item(QStringLiteral("ID_B"))->setDescription("d");
    bar->tools()->Item(QStringLiteral("ID_B"))->setName("placed");
    c->setLargeIcons(true);
    bar->tools()->Remove(QStringLiteral("ID_B"));
    c->toolbars()->Remove(QStringLiteral("Second"));
    EXPECT_THAT(log.events,
                ElementsAre(Recorded{0, "Main", ""}, Recorded{3, "Main", ""},
                            Recorded{4, "Second", ""}, Recorded{4, "", "ID_B"},
                            Recorded{4, "Main", "ID_B"}, Recorded{6, "Main", ""},
                            Recorded{7, "", "ID_B"}, Recorded{7, "Main", "ID_B"},
                            Recorded{8, "", ""}, Recorded{5, "Main", "ID_B"},
                            Recorded{5, "Second", ""}));
}

TEST_F(ToolbarEvents, WritingTheSameValueRaisesNothing)
{
    EventLog log(*c);
    bar->setVisible(true);
    bar->setName(" Main ");
    c->tools()->Item(1)->setImageSize(16);
    c->setStyle(0);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(ToolbarEvents, HandlersCanBeDisconnectedAlsoWhileTheEventRuns)
{
    int first = 0, second = 0;
    int32_t id1 = 0;
    id1 = c->ConfigurationModified.connect([&](int32_t, com::Object, com::Object) {
        ++first;
        c->ConfigurationModified.disconnect(id1);
    });
    const int32_t id2 =
        c->ConfigurationModified.connect([&](int32_t, com::Object, com::Object) { ++second; });
    bar->setFont3D(1);
    bar->setFont3D(2);
    c->ConfigurationModified.disconnect(id2);
    bar->setFont3D(3);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
}

TEST_F(ToolbarEvents, ConfigModeClickSelectsInsteadOfClicking)
{
    EventLog log(*c);
    auto entry = bar->tools()->Item(1);
    c->clickTool(entry);
    EXPECT_THAT(log.clicks, ElementsAre("ID_A"));
    com::Object(c).call(dispid::SwitchConfigMode, {rt::Variant(ConfigModeAccessCode)});
    EXPECT_TRUE(c->configMode());
    log.clear();
    c->clickTool(entry);
    EXPECT_THAT(log.events, ElementsAre(Recorded{11, "Main", "ID_A"}));
    EXPECT_TRUE(log.clicks.empty());
    c->SwitchConfigMode(ConfigModeAccessCode);
    EXPECT_FALSE(c->configMode());
}

TEST_F(ToolbarEvents, CheckingAGroupedStateToolClicksItAndReleasesTheGroup)
{
    for (const char* id : {"id_pencil", "id_fill"}) {
        auto t = c->tools()->Add(id, mqStateButton);
        t->setStateGroupName("group1");
        t->setStateAllowAllUp(false);
    }
    EventLog log(*c);
    c->tools()->Item(QStringLiteral("id_pencil"))->setState(mqChecked);
    com::Object(c->tools()->Item(QStringLiteral("id_fill"))).let("State", int16_t(1));
    EXPECT_THAT(log.clicks, ElementsAre("id_pencil", "id_fill"));
    EXPECT_EQ(c->tools()->Item(QStringLiteral("id_pencil"))->State(), mqUnchecked);
    // A click on the checked tool of a group without all-up keeps it down.
    log.clear();
    c->clickTool(c->tools()->Item(QStringLiteral("id_fill")));
    EXPECT_EQ(c->tools()->Item(QStringLiteral("id_fill"))->State(), mqChecked);
    EXPECT_THAT(log.clicks, ElementsAre("id_fill"));
}

TEST_F(ToolbarEvents, StateSetToCheckedFromCodeClicksTheToolHoweverItIsReached)
{
    // The picture palettes make a tool current by checking it from code.
    for (const char* id : {"id_pencil", "id_select"}) {
        auto t = c->tools()->Add(id, mqStateButton);
        t->setStateGroupName("group1");
        bar->tools()->Add(id);
    }
    EventLog log(*c);
    const com::Object ctl(c);
    const com::Object tools = com::Object::fromVariant(ctl.get(dispid::Tools));
    com::Object::fromVariant(tools.call("Item", {rt::Variant("ID_PENCIL")}))
        .let("State", int16_t(1));
    // Through the toolbar's entry, by name only, as a Long.
    const com::Object main = com::Object::fromVariant(
        com::Object::fromVariant(ctl.get(dispid::Toolbars)).call("Item", {rt::Variant("Main")}));
    const com::Object entry = com::Object::fromVariant(
        com::Object::fromVariant(main.get("Tools")).call("Item", {rt::Variant("id_select")}));
    entry.let("State", int32_t(1));
    EXPECT_THAT(log.clicks, ElementsAre("id_pencil", "id_select"));
    EXPECT_EQ(c->tools()->Item(QStringLiteral("id_pencil"))->State(), mqUnchecked);
    // Going up, or staying where it is, is no click.
    log.clear();
    entry.let("State", int16_t(1));
    entry.let("State", int16_t(0));
    EXPECT_TRUE(log.clicks.empty());
}

TEST_F(ToolbarEvents, RedrawFalseHoldsRepaintsButNotEvents)
{
    int repaints = 0;
    c->ViewChanged.connect([&] { ++repaints; });
    EventLog log(*c);
    com::Object(c).let(dispid::Redraw, false);
    bar->setFont3D(1);
    c->tools()->Add("ID_B");
    EXPECT_EQ(repaints, 0);
    EXPECT_EQ(log.events.size(), 2u);
    com::Object(c).let(dispid::Redraw, true);
    EXPECT_EQ(repaints, 1);
}

TEST_F(ToolbarEvents, LoadingAConfigurationIsOneChange8)
{
    auto other = std::make_shared<MqZentribar>();
    other->tools()->Add("ID_X");
    EventLog log(*c);
    c->LoadConfigurationEx(rt::Variant(other->SaveConfigurationEx()));
    EXPECT_THAT(log.events, ElementsAre(Recorded{8, "", ""}));
    EXPECT_EQ(c->tools()->Item(1)->ID(), "ID_X");
}

}  // namespace
