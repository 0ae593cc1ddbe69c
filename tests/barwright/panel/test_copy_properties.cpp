// Copying toolbars and tools between two toolbar controls: the order of the
// writes, what is left out, combo items with their data, menu entries with
// their separators, and writes the destination refuses.
#include "Forwarder.h"

#include "barwright/panel/CopyProperties.h"
#include "platform/toolbar/MqZentribar.h"

#include <gmock/gmock.h>

#include <QImage>

using namespace toolbar;
using mGlobals::CopyToolbarProperties;
using mGlobals::CopyToolProperties;

namespace {

const QStringList kToolbarWrites{
    "AllowCustomize", "AllowHiding", "CaptionAlignment", "DisplayGrabHandles",
    "PositionState1", "PositionState2", "PositionState3", "DockingFlags",
    "PositionState4", "PositionState5", "PositionState6", "PositionState7",
    "Font3D", "Configured", "Visible", "DisplayMoreToolsButton", "DisplayGrabHandles"};

const QStringList kToolProperties{
    "DisplayStyle", "Forecolor", "ForecolorSource", "Name", "Type", "AutoWrap", "Category",
    "ComboBox", "Width", "Description", "Edit", "Enabled", "StateGroupName",
    "StateAllowAllUp", "Menu", "PictureNormal", "PicturePressed", "PictureDisabled",
    "PictureDisabledPressed", "ImageSize", "ShortcutKey", "State", "Tag", "TooltipText",
    "UseMaskColor", "Visible", "MenuVisibility", "Customizable", "ID", "Index"};

QStringList toolbarProperties()
{
    QSet<QString> names(kToolbarWrites.begin(), kToolbarWrites.end());
    return QStringList(names.begin(), names.end());
}

forms::Picture picture(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return forms::StdPicture::fromImage(image);
}

// Entries of a Tools collection as "ID" or "|" for a separator.
QStringList entries(const Tools& tools)
{
    QStringList out;
    for (const auto& t : tools)
        out << (t->Type() == mqSeparator ? QStringLiteral("|") : t->ID());
    return out;
}

class CopyPropertiesTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(rt::Err().Number, 0) << "the copy left an error"; }

    std::shared_ptr<MqZentribar> from = std::make_shared<MqZentribar>();
    std::shared_ptr<MqZentribar> to = std::make_shared<MqZentribar>();
};

std::shared_ptr<Toolbar> fullySetToolbar(MqZentribar& control)
{
    auto bar = control.toolbars()->Add(QStringLiteral("Edit"));
    bar->setAllowCustomize(false);
    bar->setAllowHiding(false);
    bar->setCaptionAlignment(1);
    bar->setDisplayGrabHandles(false);
    bar->setPositionState1(int16_t(DockArea::Floating));
    bar->setPositionState2(2);
    bar->setPositionState(3, 17);
    bar->setDockingFlags(mqFloating | mqDockTop);
    bar->setPositionState(4, 300);
    bar->setPositionState(5, 200);
    bar->setPositionState(6, 150);
    bar->setPositionState(7, -9);
    bar->setFont3D(2);
    bar->setVisible(false);
    bar->setDisplayMoreToolsButton(false);
    return bar;
}

void expectSameToolbarSettings(const Toolbar& a, const Toolbar& b)
{
    EXPECT_EQ(a.AllowCustomize(), b.AllowCustomize());
    EXPECT_EQ(a.AllowHiding(), b.AllowHiding());
    EXPECT_EQ(a.CaptionAlignment(), b.CaptionAlignment());
    EXPECT_EQ(a.DisplayGrabHandles(), b.DisplayGrabHandles());
    EXPECT_EQ(a.DockingFlags(), b.DockingFlags());
    EXPECT_EQ(a.Visible(), b.Visible());
    EXPECT_EQ(a.DisplayMoreToolsButton(), b.DisplayMoreToolsButton());
    for (int n = 1; n <= 7; ++n)
        EXPECT_EQ(a.positionState(n), b.positionState(n)) << "PositionState" << n;
}

TEST_F(CopyPropertiesTest, ToolbarIsWrittenInOrderAndMarkedConfigured)
{
    const auto src = fullySetToolbar(*from);
    ASSERT_FALSE(src->Configured());
    const auto dst = to->toolbars()->Add(QStringLiteral("Edit"));
    const auto spy = Forwarder::create(dst, toolbarProperties());

    CopyToolbarProperties(src, spy);

    // The grab handles go in twice, the second time with the same value.
    EXPECT_EQ(spy->log, kToolbarWrites);
    EXPECT_TRUE(dst->Configured());
    EXPECT_FALSE(dst->DisplayGrabHandles());
    EXPECT_EQ(dst->Font3D(), 2);
    expectSameToolbarSettings(*src, *dst);
    EXPECT_EQ(dst->Name(), QStringLiteral("Edit"));
    EXPECT_TRUE((src->tools()->Count() == 0));
}

TEST_F(CopyPropertiesTest, ToolbarWritesTheDestinationRefusesAreSkipped)
{
    const auto src = fullySetToolbar(*from);
    const auto dst = to->toolbars()->Add(QStringLiteral("Other"));
    const int32_t dockingBefore = dst->DockingFlags();
    const auto spy = Forwarder::create(dst, toolbarProperties());
    spy->refused = {QStringLiteral("DockingFlags"), QStringLiteral("PositionState1")};

    CopyToolbarProperties(src, spy);

    EXPECT_EQ(spy->log, kToolbarWrites);   // every later step still ran
    EXPECT_EQ(dst->DockingFlags(), dockingBefore);
    EXPECT_EQ(dst->PositionState1(), 0);
    EXPECT_EQ(dst->positionState(7), -9);
    EXPECT_EQ(dst->Font3D(), 2);
    EXPECT_FALSE(dst->Visible());
    EXPECT_TRUE(dst->Configured());
}

// ---- Tools -------------------------------------------------------------------

struct OrderRow {
    const char* name;
    int16_t type;
    QStringList extra;   // what the type adds, and after which write
    const char* after;
};

class ToolWriteOrder : public CopyPropertiesTest,
                       public ::testing::WithParamInterface<OrderRow> {};

TEST_P(ToolWriteOrder, FollowsTheFixedOrder)
{
    const OrderRow& row = GetParam();
    const auto src = from->tools()->Add(QStringLiteral("ID_T"), row.type);
    const auto dst = to->tools()->Add(QStringLiteral("ID_T"));
    const auto spy = Forwarder::create(dst, kToolProperties);

    CopyToolProperties(false, src, spy);

    QStringList expected{"DisplayStyle", "Forecolor", "ForecolorSource", "Name", "Type",
                         "AutoWrap", "Category", "Description", "Enabled", "StateGroupName",
                         "StateAllowAllUp", "PictureNormal", "PicturePressed",
                         "PictureDisabled", "PictureDisabledPressed", "ImageSize",
                         "ShortcutKey", "State", "Tag", "TooltipText", "UseMaskColor",
                         "Visible", "MenuVisibility", "Customizable"};
    if (row.after)
        expected.insert(expected.indexOf(QLatin1String(row.after)) + 1, row.extra.first());
    EXPECT_EQ(spy->log, expected);
    EXPECT_EQ(dst->Type(), row.type);
}

INSTANTIATE_TEST_SUITE_P(
    ByType, ToolWriteOrder,
    ::testing::Values(OrderRow{"Button", mqButton, {}, nullptr},
                      OrderRow{"ComboWidthAfterCategory", mqComboBox, {"Width"}, "Category"},
                      OrderRow{"EditWidthAfterDescription", mqEdit, {"Width"}, "Description"},
                      OrderRow{"Label", mqLabel, {}, nullptr},
                      OrderRow{"Menu", mqMenu, {}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CopyPropertiesTest, WholeEditToolArrivesButItsPasswordCharacter)
{
    const auto src = from->tools()->Add(QStringLiteral("ID_Find"), mqEdit);
    src->setName(QStringLiteral("Find"));
    src->setDisplayStyle(2);
    src->setForecolor(0x000000FF);
    src->setForecolorSource(1);
    src->setAutoWrap(true);
    src->setCategory(QStringLiteral("Search"));
    src->setDescription(QStringLiteral("Finds text"));
    src->edit()->setLocked(true);
    src->edit()->setMaxLength(5);
    src->edit()->setText(QStringLiteral("abc"));
    src->edit()->setPasswordChar(QStringLiteral("*"));
    src->setWidth(120);
    src->setEnabled(false);
    src->setStateGroupName(QStringLiteral("G"));
    src->setStateAllowAllUp(false);
    src->setPicture(PictureState::Normal, picture(16, 17, qRgb(1, 2, 3)));
    src->setImageSize(24);
    src->setShortcutKey(79);
    src->setState(mqChecked);
    src->setTag(rt::Variant(2.5));
    src->setTooltipText(QStringLiteral("Find it"));
    src->setUseMaskColor(false);
    src->setVisible(false);
    src->setMenuVisibility(1);
    src->setCustomizable(false);

    const auto dst = to->tools()->Add(QStringLiteral("ID_Find"));
    dst->setPicture(PictureState::Pressed, picture(16, 17, qRgb(9, 9, 9)));

    CopyToolProperties(false, src, dst);

    EXPECT_EQ(dst->Name(), QStringLiteral("Find"));
    EXPECT_EQ(dst->DisplayStyle(), 2);
    EXPECT_EQ(dst->Forecolor(), 0x000000FF);
    EXPECT_EQ(dst->ForecolorSource(), 1);
    EXPECT_EQ(dst->Type(), mqEdit);
    EXPECT_TRUE(dst->AutoWrap());
    EXPECT_EQ(dst->Category(), QStringLiteral("Search"));
    EXPECT_EQ(dst->Description(), QStringLiteral("Finds text"));
    EXPECT_TRUE(dst->edit()->Locked());
    EXPECT_EQ(dst->edit()->MaxLength(), 5);
    EXPECT_EQ(dst->edit()->Text(), QStringLiteral("abc"));
    EXPECT_EQ(dst->edit()->PasswordChar(), QString());
    EXPECT_EQ(dst->Width(), 120);
    EXPECT_FALSE(dst->Enabled());
    EXPECT_EQ(dst->StateGroupName(), QStringLiteral("G"));
    EXPECT_FALSE(dst->StateAllowAllUp());
    ASSERT_TRUE(dst->picture(PictureState::Normal));
    EXPECT_EQ(dst->picture(PictureState::Normal)->toImage().pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_FALSE(dst->picture(PictureState::Pressed)) << "an absent picture is copied too";
    EXPECT_EQ(dst->ImageSize(), 24);
    EXPECT_EQ(dst->ShortcutKey(), 79);
    EXPECT_EQ(dst->State(), mqChecked);
    EXPECT_EQ(dst->Tag(), rt::Variant(2.5));
    EXPECT_EQ(dst->TooltipText(), QStringLiteral("Find it"));
    EXPECT_FALSE(dst->UseMaskColor());
    EXPECT_FALSE(dst->Visible());
    EXPECT_EQ(dst->MenuVisibility(), 1);
    EXPECT_FALSE(dst->Customizable());
    EXPECT_EQ(dst->ID(), QStringLiteral("ID_Find"));
}

TEST_F(CopyPropertiesTest, ComboItemsKeepTheirDataByPosition)
{
    const auto src = from->tools()->Add(QStringLiteral("ID_Zoom"), mqComboBox);
    const auto sc = src->comboBox();
    for (const auto& [text, data] : {std::pair{"Zeta", 7}, {"Alpha", -3}, {"Mid", 99}}) {
        sc->AddItem(QLatin1String(text));
        sc->setItemData(sc->NewIndex(), data);
    }
    sc->setLocked(true);
    sc->setStyle(1);
    sc->setListIndex(2);
    src->setWidth(140);
    using Items = std::vector<ToolComboBox::Item>;

    // An empty destination gets the source's list as it is.
    const auto plain = to->tools()->Add(QStringLiteral("ID_Zoom"));
    CopyToolProperties(false, src, plain);
    EXPECT_EQ(plain->comboBox()->items(), sc->items());
    EXPECT_TRUE(plain->comboBox()->Locked());
    EXPECT_FALSE(plain->comboBox()->Sorted());
    EXPECT_EQ(plain->comboBox()->Style(), 1);
    EXPECT_EQ(plain->comboBox()->Text(), QStringLiteral("Mid"));
    EXPECT_EQ(plain->comboBox()->ListIndex(), -1);
    EXPECT_EQ(plain->Width(), 140);

    // A sorted destination keeps its own items and files each new one in
    // text order; each item still carries its own data.
    const auto sorted = to->tools()->Add(QStringLiteral("ID_Sorted"), mqComboBox);
    sorted->comboBox()->setSorted(true);
    sorted->comboBox()->AddItem(QStringLiteral("Beta"));
    sorted->comboBox()->setItemData(0, 5);
    CopyToolProperties(false, src, sorted);
    EXPECT_EQ(sorted->comboBox()->items(),
              (Items{{"Alpha", -3}, {"Beta", 5}, {"Mid", 99}, {"Zeta", 7}}));
}

TEST_F(CopyPropertiesTest, ItemDataOfAnItemThatCouldNotBeAddedGoesNowhere)
{
    const auto src = from->tools()->Add(QStringLiteral("ID_Zoom"), mqComboBox);
    for (const auto& [text, data] : {std::pair{"One", 1}, {"Two", 2}, {"Three", 3}}) {
        src->comboBox()->AddItem(QLatin1String(text));
        src->comboBox()->setItemData(src->comboBox()->NewIndex(), data);
    }
    const auto dst = to->tools()->Add(QStringLiteral("ID_Zoom"));
    dst->comboBox()->AddItem(QStringLiteral("Existing"));
    dst->comboBox()->setItemData(0, 42);
    const auto combo = Forwarder::create(dst->comboBox(),
                                         {"ItemData", "NewIndex", "Locked", "Sorted", "Style",
                                          "Text", "ListCount", "List"},
                                         {"AddItem"});
    combo->refuseWhen = [](const QString& name, const com::Args& args) {
        return name == u"AddItem" && args.at(0).toString() == u"Two";
    };
    const auto spy = Forwarder::create(dst, kToolProperties);
    spy->replaced.insert(QStringLiteral("ComboBox"), combo);

    CopyToolProperties(false, src, spy);

    // "Two" is missing; its data did not land on the item added before it.
    EXPECT_EQ(dst->comboBox()->items(),
              (std::vector<ToolComboBox::Item>{{"Existing", 42}, {"One", 1}, {"Three", 3}}));
}

TEST_F(CopyPropertiesTest, MenuEntriesArriveWithTheirSeparators)
{
    for (auto* control : {from.get(), to.get()}) {
        for (const char* id : {"A", "B", "C"})
            control->tools()->Add(QLatin1String(id));
    }
    const auto src = from->tools()->Add(QStringLiteral("M"), mqMenu);
    const auto menu = src->menu()->tools();
    menu->Add(QStringLiteral("A"));
    menu->Add(QStringLiteral("separator"), mqSeparator);
    menu->Add(QStringLiteral("B"));
    menu->Add(QStringLiteral("separator"), mqSeparator);
    menu->Add(QStringLiteral("C"));
    const auto dst = to->tools()->Add(QStringLiteral("M"));

    CopyToolProperties(false, src, dst);

    EXPECT_EQ(dst->Type(), mqMenu);
    EXPECT_EQ(entries(*dst->menu()->tools()), (QStringList{"A", "|", "B", "|", "C"}));
    EXPECT_EQ(entries(*menu), (QStringList{"A", "|", "B", "|", "C"}));
}

TEST_F(CopyPropertiesTest, MenuEntryTheDestinationDoesNotKnowIsLeftOut)
{
    for (const char* id : {"A", "X", "C"})
        from->tools()->Add(QLatin1String(id));
    for (const char* id : {"A", "C"})
        to->tools()->Add(QLatin1String(id));
    const auto src = from->tools()->Add(QStringLiteral("M"), mqMenu);
    for (const char* id : {"A", "X", "C"})
        src->menu()->tools()->Add(QLatin1String(id));
    const auto dst = to->tools()->Add(QStringLiteral("M"));
    dst->setTooltipText(QStringLiteral("old"));

    CopyToolProperties(false, src, dst);

    EXPECT_EQ(entries(*dst->menu()->tools()), (QStringList{"A", "C"}));
    EXPECT_EQ(dst->TooltipText(), QString()) << "the steps after the menu still ran";
}

TEST_F(CopyPropertiesTest, InstanceOnlyCopiesTheEntryLookAndNothingElse)
{
    const auto def = from->tools()->Add(QStringLiteral("ID_Zoom"), mqComboBox);
    def->setCategory(QStringLiteral("View"));
    def->comboBox()->AddItem(QStringLiteral("100%"));
    def->setWidth(90);
    const auto srcBar = from->toolbars()->Add(QStringLiteral("Main"));
    const auto src = srcBar->tools()->Add(QStringLiteral("ID_Zoom"));
    src->setName(QStringLiteral("Zoom here"));
    src->setDisplayStyle(3);
    src->setForecolor(0x00112233);
    src->setForecolorSource(1);
    src->setWidth(200);

    to->tools()->Add(QStringLiteral("ID_Zoom"));
    const auto dstBar = to->toolbars()->Add(QStringLiteral("Main"));
    const auto dst = dstBar->tools()->Add(QStringLiteral("ID_Zoom"));
    const auto spy = Forwarder::create(dst, kToolProperties);

    CopyToolProperties(true, src, spy);

    EXPECT_EQ(spy->log, (QStringList{"DisplayStyle", "Forecolor", "ForecolorSource", "Name"}));
    EXPECT_EQ(dst->Name(), QStringLiteral("Zoom here"));
    EXPECT_EQ(dst->DisplayStyle(), 3);
    EXPECT_EQ(dst->Forecolor(), 0x00112233);
    EXPECT_EQ(dst->ForecolorSource(), 1);
    EXPECT_EQ(dst->Width(), 75);
    EXPECT_EQ(dst->Type(), mqButton);
    EXPECT_EQ(dst->Category(), QString());
    EXPECT_EQ(dst->comboBox()->ListCount(), 0);
}

TEST_F(CopyPropertiesTest, ToolWritesTheDestinationRefusesAreSkipped)
{
    const auto src = from->tools()->Add(QStringLiteral("ID_T"), mqStateButton);
    src->setName(QStringLiteral("Bold"));
    src->setCategory(QStringLiteral("Format"));
    src->setImageSize(20);
    src->setShortcutKey(2);
    src->setCustomizable(false);
    const auto dst = to->tools()->Add(QStringLiteral("ID_T"));
    const auto spy = Forwarder::create(dst, kToolProperties);
    spy->refused = {QStringLiteral("Category"), QStringLiteral("ImageSize")};

    CopyToolProperties(false, src, spy);

    EXPECT_EQ(dst->Category(), QString());
    EXPECT_EQ(dst->ImageSize(), 16);
    EXPECT_EQ(dst->Name(), QStringLiteral("Bold"));
    EXPECT_EQ(dst->Type(), mqStateButton);
    EXPECT_EQ(dst->ShortcutKey(), 2);
    EXPECT_FALSE(dst->Customizable());
}

}  // namespace
