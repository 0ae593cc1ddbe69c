// The object model: collections, keys, positions, validation and late binding.
#include "ToolbarTestSupport.h"

#include <gmock/gmock.h>

using namespace toolbar;
using ::testing::HasSubstr;
using toolbar::testing::errorOf;

namespace {

TEST(ToolbarModel, MissingKeysAndBadIndexesRaise)
{
    auto c = std::make_shared<MqZentribar>();
    c->tools()->Add("ID_A");
    c->toolbars()->Add("Main")->tools()->Add("id_a");
    com::Object ctl(c);

    const auto missingTool = errorOf([&] { c->tools()->Item(QStringLiteral("ID_B")); });
    EXPECT_EQ(missingTool.number(), 5);
    EXPECT_THAT(missingTool.description().toStdString(), HasSubstr("'ID_B'"));
    EXPECT_EQ(errorOf([&] { c->toolbars()->Item(QStringLiteral("Other")); }).number(), 5);
    EXPECT_EQ(errorOf([&] { c->tools()->Item(2); }).number(), 9);
    EXPECT_EQ(errorOf([&] { c->toolbars()->Item(QStringLiteral("Main"))->tools()->Item(
                                QStringLiteral("ID_X")); }).number(), 5);
    // Late-bound, through the dispatch ids the utility uses.
    const com::Object tools = com::Object::fromVariant(ctl.get(dispid::Tools));
    EXPECT_EQ(errorOf([&] { tools.call("Item", {rt::Variant("nope")}); }).number(), 5);
    // Keys are without case; trimmed like the utility trims them.
    EXPECT_EQ(c->tools()->Item(QStringLiteral("  id_A ")).get(), c->tools()->Item(1).get());
    const com::Object bars = com::Object::fromVariant(ctl.get(dispid::Toolbars));
    EXPECT_EQ(com::Object::fromVariant(bars.call("Item", {rt::Variant("MAIN")})).get("Name"),
              rt::Variant("Main"));
}

TEST(ToolbarModel, ControlPropertiesAnswerByNameAndByDispatchId)
{
    auto c = std::make_shared<MqZentribar>();
    const com::Object ctl(c);
    const std::pair<const char*, int32_t> ids[] = {
        {"Redraw", dispid::Redraw},         {"Visible", dispid::Visible},
        {"ActiveColors", dispid::ActiveColors}, {"ShowShortcuts", dispid::ShowShortcuts},
        {"ShowTooltips", dispid::ShowTooltips}, {"LargeIcons", dispid::LargeIcons},
        {"FontSource", dispid::FontSource}, {"MenuAnimations", dispid::MenuAnimations},
        {"PersonalizedMenus", dispid::PersonalizedMenus}, {"Style", dispid::Style},
        {"FloatingTBFadeDelay", dispid::FloatingTBFadeDelay},
    };
    for (const auto& [name, id] : ids) {
        const rt::Variant v = ctl.get(id);
        const rt::Variant changed = v.type() == rt::VarType::Boolean ? rt::Variant(!v.toBool())
                                    : v.type() == rt::VarType::Integer
                                        ? rt::Variant(int16_t(v.toInteger() + 1))
                                        : rt::Variant(v.toLong() + 1);
        ctl.let(id, changed);
        EXPECT_EQ(ctl.get(name), changed) << name;
    }
    // The container's extender flag, switched off around the toolbar dialog.
    EXPECT_EQ(ctl.get(dispid::ContainerFlag), rt::Variant(true));
    ctl.let(dispid::ContainerFlag, false);
    EXPECT_FALSE(c->containerFlag());
}

TEST(ToolbarModel, AddRemoveCountClear)
{
    auto c = std::make_shared<MqZentribar>();
    const com::Object tools = com::Object::fromVariant(com::Object(c).get("Tools"));
    const com::Object t = com::Object::fromVariant(
        tools.call("Add", {rt::Variant("ID_A"), rt::Variant(int16_t(4))}));
    EXPECT_EQ(t.get("Type"), rt::Variant(int16_t(4)));
    tools.call("Add", {rt::Variant("ID_B")});
    EXPECT_EQ(tools.get("Count"), rt::Variant(int32_t(2)));
    EXPECT_EQ(errorOf([&] { tools.call("Add", {rt::Variant("id_b")}); }).number(), 457);
    tools.call("Remove", {rt::Variant("id_a")});
    EXPECT_EQ(c->tools()->Item(1)->ID(), "ID_B");
    EXPECT_EQ(c->tools()->Item(1)->Index(), 1);
    tools.call("Clear");
    EXPECT_EQ(c->tools()->Count(), 0);
}

TEST(ToolbarModel, SeparatorsGoInWherePositionedAndKeepTheRestInOrder)
{
    auto c = std::make_shared<MqZentribar>();
    for (const char* id : {"A", "B", "C"})
        c->tools()->Add(id);
    auto bar = c->toolbars()->Add("Main");
    for (const char* id : {"A", "B", "C"})
        bar->tools()->Add(id);
    bar->tools()->Add("separator", mqSeparator, 2);
    bar->tools()->Add("separator", mqSeparator, 4);
    QStringList order;
    for (const auto& t : *bar->tools())
        order << (t->Type() == mqSeparator ? QStringLiteral("|") : t->ID());
    EXPECT_EQ(order.join(""), "A|B|C");
    EXPECT_EQ(bar->tools()->Item(QStringLiteral("C"))->Index(), 5);
}

TEST(ToolbarModel, ALoopThatInsertsSeparatorsVisitsEveryToolOnce)
{
    auto c = std::make_shared<MqZentribar>();
    auto bar = c->toolbars()->Add("Main");
    for (const char* id : {"A", "B", "C"}) {
        c->tools()->Add(id);
        bar->tools()->Add(id);
    }
    QStringList visited;
    for (const auto& t : *bar->tools()) {
        visited << t->ID();
        if (t->Index() > 1)
            bar->tools()->Add("separator", mqSeparator, t->Index());
    }
    EXPECT_EQ(visited.join(""), "ABC");
    EXPECT_EQ(bar->tools()->Count(), 5);
    EXPECT_EQ(bar->tools()->Item(QStringLiteral("C"))->Index(), 5);
}

TEST(ToolbarModel, EntriesShareTheDefinitionButKeepTheirOwnLook)
{
    auto c = std::make_shared<MqZentribar>();
    auto def = c->tools()->Add("ID_A", mqEdit);
    def->setName("Alpha");
    auto entry = c->toolbars()->Add("Main")->tools()->Add("ID_A");
    EXPECT_EQ(entry->Name(), "Alpha");
    entry->setName("Alpha here");
    entry->setCategory("Shared");
    EXPECT_EQ(def->Name(), "Alpha");
    EXPECT_EQ(def->Category(), "Shared");
    // A renamed ID is the new key everywhere.
    def->setID("ID_Z");
    EXPECT_EQ(c->tools()->Item(QStringLiteral("id_z")), def);
    EXPECT_EQ(c->toolbars()->Item(1)->tools()->Item(QStringLiteral("ID_Z")), entry);
    EXPECT_EQ(errorOf([&] { c->tools()->Item(QStringLiteral("ID_A")); }).number(), 5);
}

TEST(ToolbarModel, RemovingADefinitionTakesItsEntriesAlong)
{
    auto c = std::make_shared<MqZentribar>();
    c->tools()->Add("ID_A");
    c->tools()->Add("ID_B");
    auto menu = c->tools()->Add("ID_M", mqMenu);
    menu->menu()->tools()->Add("ID_A");
    menu->menu()->tools()->Add("ID_B");
    auto bar = c->toolbars()->Add("Main");
    bar->tools()->Add("ID_A");
    bar->tools()->Add("ID_B");
    c->tools()->Remove(QStringLiteral("ID_A"));
    EXPECT_EQ(bar->tools()->Count(), 1);
    EXPECT_EQ(menu->menu()->tools()->Count(), 1);
    EXPECT_EQ(bar->tools()->Item(1)->ID(), "ID_B");
}

TEST(ToolbarModel, EntriesMustReferToADefinedToolOncePerList)
{
    auto c = std::make_shared<MqZentribar>();
    auto bar = c->toolbars()->Add("Main");
    EXPECT_EQ(errorOf([&] { bar->tools()->Add("ID_Missing"); }).number(), 5);
    c->tools()->Add("ID_A");
    bar->tools()->Add("ID_A");
    EXPECT_EQ(errorOf([&] { bar->tools()->Add("id_a"); }).number(), 457);
}

TEST(ToolbarModel, AMenuCannotContainItselfEvenThroughAnother)
{
    auto c = std::make_shared<MqZentribar>();
    auto m1 = c->tools()->Add("M1", mqMenu);
    auto m2 = c->tools()->Add("M2", mqMenu);
    m1->menu()->tools()->Add("M2");
    EXPECT_EQ(errorOf([&] { m1->menu()->tools()->Add("M1"); }).number(), 380);
    EXPECT_EQ(errorOf([&] { m2->menu()->tools()->Add("M1"); }).number(), 380);
    EXPECT_EQ(m2->menu()->tools()->Count(), 0);
}

struct Refusal {
    const char* name;
    std::function<void(MqZentribar&)> write;
    const char* mentions;
};

class ToolbarRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(ToolbarRefusals, TheControlRefusesWithAClearDescriptionAndKeepsTheValue)
{
    auto c = std::make_shared<MqZentribar>();
    c->tools()->Add("ID_A");
    c->toolbars()->Add("Menu", 1);
    c->toolbars()->Add("Main");
    const QByteArray before = c->SaveConfigurationEx();
    const rt::Error e = errorOf([&] { GetParam().write(*c); });
    EXPECT_NE(e.number(), 0);
    EXPECT_THAT(e.description().toStdString(), HasSubstr(GetParam().mentions));
    EXPECT_EQ(c->SaveConfigurationEx(), before);
}

com::Object toolA(MqZentribar& c)
{
    return com::Object(c.tools()->Item(QStringLiteral("ID_A")));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ToolbarRefusals,
    ::testing::Values(
        Refusal{"ImageSizeBelow16", [](MqZentribar& c) { toolA(c).let("ImageSize", int16_t(15)); },
                "ImageSize"},
        Refusal{"ImageSizeAbove32", [](MqZentribar& c) { toolA(c).let("ImageSize", int16_t(33)); },
                "16 to 32"},
        Refusal{"TypeAbove8", [](MqZentribar& c) { toolA(c).let("Type", int16_t(9)); }, "Type"},
        Refusal{"ShortcutAbove79",
                [](MqZentribar& c) { toolA(c).let("ShortcutKey", int16_t(80)); }, "ShortcutKey"},
        Refusal{"SecondMenuBar", [](MqZentribar& c) { c.toolbars()->Add("Other", 1); },
                "already has a menu bar ('Menu')"},
        Refusal{"DuplicateToolbarName",
                [](MqZentribar& c) { c.toolbars()->Item(2)->setName("MENU"); }, "already exists"},
        Refusal{"ReservedId", [](MqZentribar& c) { c.tools()->Add("Separator"); }, "reserved"},
        Refusal{"DockingFlags",
                [](MqZentribar& c) { c.toolbars()->Item(2)->setDockingFlags(128); },
                "DockingFlags"},
        Refusal{"NotAPicture",
                [](MqZentribar& c) { toolA(c).let("PictureNormal", rt::Variant("x")); },
                "not a picture"},
        Refusal{"BadBitmapHandle",
                [](MqZentribar& c) { toolA(c).let("PictureNormalHandle", int32_t(987654)); },
                "not a bitmap handle"},
        Refusal{"ConfigModeCode",
                [](MqZentribar& c) {
                    com::Object(c.selfAs<MqZentribar>()).call(dispid::SwitchConfigMode,
                                                              {rt::Variant(int16_t(1))});
                },
                "access code"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolbarModel, PicturesTakeObjectsNothingAndCopiesOfHandedBitmaps)
{
    auto c = std::make_shared<MqZentribar>();
    com::Object t(c->tools()->Add("ID_A"));
    auto pic = toolbar::testing::makePicture(16, qRgb(1, 2, 3), qRgb(9, 9, 9));
    t.let("PicturePressed", rt::Variant(pic));
    EXPECT_EQ(t.get("PicturePressed").as<forms::StdPicture>(), pic);   // by reference
    t.let("PictureNormalHandle", rt::Variant(int32_t(pic->Handle())));
    const auto normal = t.get("PictureNormal").as<forms::StdPicture>();
    ASSERT_TRUE(normal);
    EXPECT_NE(normal->Handle(), pic->Handle());   // the control keeps its own copy
    EXPECT_EQ(normal->toImage(), pic->toImage());
    t.let("PictureNormal", rt::Variant::nothing());
    EXPECT_TRUE(t.get("PictureNormal").isNothing());
    EXPECT_EQ(t.get("PictureNormalHandle"), rt::Variant(int32_t(0)));
}

TEST(ToolbarModel, ComboBoxKeepsItemDataWithItsItemWhenSorted)
{
    auto c = std::make_shared<MqZentribar>();
    com::Object combo =
        com::Object::fromVariant(com::Object(c->tools()->Add("ID_C", mqComboBox)).get("ComboBox"));
    for (const char* s : {"pear", "Apple", "fig"}) {
        combo.call("AddItem", {rt::Variant(s)});
        combo.let("ItemData", rt::Variant(int32_t(QString(s).size())),
                  {combo.get("NewIndex")});
    }
    combo.let("Sorted", true);
    EXPECT_EQ(combo.get("List", {rt::Variant(int16_t(0))}), rt::Variant("Apple"));
    EXPECT_EQ(combo.get("ItemData", {rt::Variant(int16_t(0))}), rt::Variant(int32_t(5)));
    combo.call("AddItem", {rt::Variant("banana")});
    EXPECT_EQ(combo.get("NewIndex"), rt::Variant(int16_t(1)));
    EXPECT_EQ(combo.get("ListCount"), rt::Variant(int16_t(4)));
    EXPECT_EQ(errorOf([&] { combo.get("ItemData", {rt::Variant(int16_t(4))}); }).number(), 381);
}

TEST(ToolbarModel, SortingKeepsTheSelectionOnItsOwnItemAmongEqualTexts)
{
    auto c = std::make_shared<MqZentribar>();
    const auto combo = c->tools()->Add("ID_C", mqComboBox)->comboBox();
    for (const auto& [text, data] : {std::pair{"b", 1}, std::pair{"a", 2}, std::pair{"b", 3}}) {
        combo->AddItem(text);
        combo->setItemData(combo->NewIndex(), data);
    }
    combo->setListIndex(2);   // the second "b"
    combo->setSorted(true);
    EXPECT_EQ(combo->ListIndex(), 2);
    EXPECT_EQ(combo->ItemData(combo->ListIndex()), 3);
}

TEST(ToolbarModel, ObjectsOfAReplacedConfigurationStayUsableAsPlainData)
{
    auto c = std::make_shared<MqZentribar>();
    auto old = c->tools()->Add("ID_Old");
    c->loadDocument(std::make_shared<MqZentribar>()->SaveConfigurationEx());
    EXPECT_EQ(c->tools()->Count(), 0);
    toolbar::testing::EventLog log(*c);
    old->setName("still works");
    EXPECT_EQ(old->Name(), "still works");
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(old->Index(), 0);
}

}  // namespace
