#include "ToolbarTestSupport.h"

#include "platform/toolbar/ZentribarWidget.h"

namespace toolbar::testing {

namespace {

struct Setting {
    const char* name;
    rt::Variant value;
};

// Late-bound names with values away from every default. The Tag needs all 17
// digits of a double to come back whole from a file.
std::vector<Setting> toolSettings()
{
    return {
        {"Name", "&Open File"},          {"Category", "File"},
        {"Description", "Opens a file"}, {"TooltipText", "Open"},
        {"ShortcutKey", int16_t(15)},    {"StateGroupName", "grp"},
        {"StateAllowAllUp", false},      {"Forecolor", int32_t(0x00FF0080)},
        {"ForecolorSource", int16_t(1)}, {"DisplayStyle", int16_t(3)},
        {"MenuVisibility", int16_t(1)},  {"Width", int16_t(120)},
        {"AutoWrap", true},              {"Customizable", false},
        {"Enabled", false},              {"Visible", false},
        {"Tag", 0.1 + 0.2},              {"ImageSize", int16_t(24)},
        {"UseMaskColor", false},         {"State", int16_t(1)},
    };
}

std::vector<Setting> toolbarSettings()
{
    return {
        {"Visible", false},          {"AllowCustomize", false},
        {"AllowHiding", false},      {"CaptionAlignment", int32_t(1)},
        {"DisplayGrabHandles", false}, {"DisplayMoreToolsButton", false},
        {"DockingFlags", int32_t(2 | 16 | 64)}, {"Font3D", int32_t(4)},
        {"Configured", true},        {"PositionState1", int16_t(4)},
        {"PositionState2", int16_t(2)}, {"PositionState3", int32_t(-70000)},
        {"PositionState4", int32_t(40)}, {"PositionState5", int32_t(50)},
        {"PositionState6", int32_t(160)}, {"PositionState7", int32_t(123456)},
    };
}

std::vector<Setting> controlSettings()
{
    return {
        {"Visible", false},          {"ActiveColors", false},   {"FontSource", int32_t(1)},
        {"MenuAnimations", int32_t(5)}, {"ShowShortcuts", true}, {"ShowTooltips", false},
        {"LargeIcons", true},        {"PersonalizedMenus", int32_t(2)}, {"Style", int32_t(2)},
        {"FloatingTBFadeDelay", int16_t(750)},
    };
}

}  // namespace

void buildEverything(MqZentribar& c)
{
    com::Object ctl(c.selfAs<MqZentribar>());
    for (const auto& s : controlSettings())
        ctl.let(s.name, s.value);

    auto tools = c.tools();
    auto open = tools->Add("ID_Open", mqStateButton);
    com::Object o(open);
    for (const auto& s : toolSettings())
        o.let(s.name, s.value);
    open->setPicture(PictureState::Normal, makePicture(24, qRgb(0, 0, 255), qRgb(97, 65, 33)));
    open->setPicture(PictureState::Pressed, makePicture(24, qRgb(0, 128, 0), qRgb(97, 65, 33)));
    open->setPicture(PictureState::Disabled,
                     makePicture(24, qRgb(128, 128, 128), qRgb(97, 65, 33)));
    open->setPicture(PictureState::DisabledPressed, open->picture(PictureState::Normal));

    auto combo = tools->Add("ID_Zoom", mqComboBox);
    combo->comboBox()->AddItem("100%");
    combo->comboBox()->setItemData(combo->comboBox()->NewIndex(), 100);
    combo->comboBox()->AddItem("50%");
    combo->comboBox()->setItemData(combo->comboBox()->NewIndex(), -50);
    combo->comboBox()->setStyle(1);
    combo->comboBox()->setLocked(true);
    combo->comboBox()->setListIndex(1);
    combo->comboBox()->setText("50%");
    combo->setTag(rt::Variant(QStringLiteral("zoom")));

    auto edit = tools->Add("ID_Find", mqEdit);
    edit->edit()->setLocked(true);
    edit->edit()->setMaxLength(3);
    edit->edit()->setText("abc");
    edit->edit()->setPasswordChar("*");
    edit->setTag(int32_t(-7));

    auto menu = tools->Add("ID_FileMenu", mqMenu);
    menu->menu()->tools()->Add("ID_Open");
    menu->menu()->tools()->Add("separator", mqSeparator);
    auto entry = menu->menu()->tools()->Add("ID_Find");
    entry->setName("Find in menu");

    auto mainBar = c.toolbars()->Add("Main", 0);
    com::Object b(mainBar);
    for (const auto& s : toolbarSettings())
        b.let(s.name, s.value);
    mainBar->tools()->Add("ID_Open");
    mainBar->tools()->Add("ID_Zoom");
    mainBar->tools()->Add("Separator", mqSeparator, 2);
    auto placed = mainBar->tools()->Item(QStringLiteral("ID_Zoom"));
    placed->setWidth(90);
    placed->setDisplayStyle(2);
    auto menuBar = c.toolbars()->Add("Menu", 1);
    menuBar->tools()->Add("ID_FileMenu");
}

void expectEverything(const MqZentribar& c)
{
    com::Object ctl(c.selfAs<MqZentribar>());
    for (const auto& s : controlSettings())
        EXPECT_EQ(ctl.get(s.name), s.value) << "control." << s.name;

    ASSERT_EQ(c.tools()->Count(), 4);
    auto open = c.tools()->Item(QStringLiteral("id_open"));
    com::Object o(open);
    for (const auto& s : toolSettings())
        EXPECT_EQ(o.get(s.name), s.value) << "tool." << s.name;
    EXPECT_EQ(open->Type(), mqStateButton);
    const QImage normal = open->picture(PictureState::Normal)->toImage();
    EXPECT_EQ(normal.size(), QSize(24, 25));
    EXPECT_EQ(normal.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(normal.pixel(0, 24), qRgb(97, 65, 33));
    EXPECT_EQ(open->picture(PictureState::Pressed)->toImage().pixel(5, 5), qRgb(0, 128, 0));
    EXPECT_EQ(open->picture(PictureState::Disabled)->toImage().pixel(5, 5),
              qRgb(128, 128, 128));
    // One picture object serving two states stays one object.
    EXPECT_EQ(open->picture(PictureState::DisabledPressed), open->picture(PictureState::Normal));

    auto combo = c.tools()->Item(QStringLiteral("ID_Zoom"))->comboBox();
    ASSERT_EQ(combo->ListCount(), 2);
    EXPECT_EQ(combo->List(0), "100%");
    EXPECT_EQ(combo->ItemData(0), 100);
    EXPECT_EQ(combo->List(1), "50%");
    EXPECT_EQ(combo->ItemData(1), -50);
    EXPECT_EQ(combo->Style(), 1);
    EXPECT_TRUE(combo->Locked());
    EXPECT_EQ(combo->ListIndex(), 1);
    EXPECT_EQ(combo->Text(), "50%");
    EXPECT_EQ(c.tools()->Item(QStringLiteral("ID_Zoom"))->Tag(), rt::Variant("zoom"));

    auto find = c.tools()->Item(QStringLiteral("ID_Find"));
    EXPECT_TRUE(find->edit()->Locked());
    EXPECT_EQ(find->edit()->MaxLength(), 3);
    EXPECT_EQ(find->edit()->Text(), "abc");
    EXPECT_EQ(find->edit()->PasswordChar(), "*");
    EXPECT_EQ(find->Tag(), rt::Variant(int32_t(-7)));

    auto menuTools = c.tools()->Item(QStringLiteral("ID_FileMenu"))->menu()->tools();
    ASSERT_EQ(menuTools->Count(), 3);
    EXPECT_EQ(menuTools->Item(1)->ID(), "ID_Open");
    EXPECT_EQ(menuTools->Item(2)->Type(), mqSeparator);
    EXPECT_EQ(menuTools->Item(3)->Name(), "Find in menu");

    auto mainBar = c.toolbars()->Item(QStringLiteral("MAIN"));
    com::Object b(mainBar);
    for (const auto& s : toolbarSettings())
        EXPECT_EQ(b.get(s.name), s.value) << "toolbar." << s.name;
    ASSERT_EQ(mainBar->tools()->Count(), 3);
    EXPECT_EQ(mainBar->tools()->Item(1)->ID(), "ID_Open");
    EXPECT_EQ(mainBar->tools()->Item(2)->Type(), mqSeparator);
    EXPECT_EQ(mainBar->tools()->Item(3)->Width(), 90);
    EXPECT_EQ(mainBar->tools()->Item(3)->DisplayStyle(), 2);
    EXPECT_EQ(c.tools()->Item(QStringLiteral("ID_Zoom"))->Width(), 75);   // definition's own
    EXPECT_EQ(c.toolbars()->Item(QStringLiteral("Menu"))->Style(), 1);
}

}  // namespace toolbar::testing
