#include "barwright/editors/frmTool.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/connection/mGlobalsControls.h"
#include "barwright/connection/mRegistry.h"
#include "barwright/editors/CShortcuts.h"
#include "barwright/editors/EditorLinks.h"
#include "barwright/editors/frmColors.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Text.h"
#include "platform/toolbar/Tool.h"

#include <QDir>
#include <QGroupBox>
#include <QTreeWidget>

namespace {

const QString kApp = QStringLiteral("ConfigUtility");
const QString kSection = QStringLiteral("Tool");
const QString kTitle = QStringLiteral("Halvorbar");

constexpr int32_t kButtonText = int32_t(0x80000012);
constexpr int32_t kGrayText = int32_t(0x80000011);
constexpr int32_t kWindow = int32_t(0x80000005);
constexpr int32_t kButtonFace = int32_t(0x8000000F);
constexpr int32_t kWindowText = int32_t(0x80000008);

// Frames that only group controls show no border of their own (the frames
// of the tool types inside them keep theirs).
void makeBorderless(forms::Frame& frame)
{
    if (auto* box = qobject_cast<QGroupBox*>(frame.widget())) {
        box->setProperty("borderless", true);
        box->setStyleSheet(QStringLiteral(
            "QGroupBox[borderless=\"true\"] { border: 0; margin: 0; padding: 0; }"));
    }
}

}  // namespace

frmTool::frmTool()
{
    wireEvents();
}

void frmTool::wireEvents()
{
    coType.Click = [this] { coType_Click(); };
    coType.KeyDown = [this](int16_t& k, int16_t s) { coType_KeyDown(k, s); };
    coComboStyle.Click = [this] { coComboStyle_Click(); };
    coStateGroupName.Change = [this] { LoadGroupAllowAllUp(coStateGroupName.Text()); };
    coStateGroupName.Click = [this] { LoadGroupAllowAllUp(coStateGroupName.Text()); };
    chComboSorted.Click = [this] { chComboSorted_Click(); };
    cmdComboNew.Click = [this] { cmdComboNew_Click(); };
    cmdComboRemove.Click = [this] { cmdComboRemove_Click(); };
    cmdComboRemoveAll.Click = [this] { cmdComboRemoveAll_Click(); };
    lvComboItems.ItemClick = [this](forms::ListItem&) { EvalComboItemSelected(); };
    lvComboItems.Click = [this] { lvComboItems_Click(); };
    lvComboItems.DblClick = [this] { StartItemLabelEdit(); };
    txtLabelEdit.KeyDown = [this](int16_t& k, int16_t s) { txtLabelEdit_KeyDown(k, s); };
    txtLabelEdit.LostFocus = [this] { EndItemLabelEdit(true); };
    txtItemData.Change = [this] { txtItemData_Change(); };
    txtName.Change = [this] { txtName_Change(); };
    txtID.Change = [this] { txtID_Change(); };
    for (forms::TextBox* numeric : {&txtComboWidth, &txtTextboxMaxLength, &txtTextboxWidth})
        numeric->KeyPress = [](int16_t& k) { mGlobals::FilterNumericKey(k); };
    txtDescription.KeyDown = [this](int16_t& k, int16_t s) { txtDescription_KeyDown(k, s); };
    txtForecolor.LostFocus = [this] { txtForecolor_LostFocus(); };
    cmdColors.Click = [this] { cmdColors_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCxl.Click = [this] { cmdCxl_Click(); };
    tabMain.Click = [this](int16_t previous) { tabMain_Click(previous); };

    // Every field remembers itself as the one to come back to; text fields
    // also select their whole text.
    for (forms::TextBox* t :
         {&txtComboDefText, &txtComboWidth, &txtForecolor, &txtID, &txtItemData, &txtName,
          &txtTextboxMaxLength, &txtTextboxPasswordChar, &txtTextboxText, &txtTextboxWidth,
          &txtTooltipText})
        t->GotFocus = [this, t] { fieldGotFocus(*t, true); };
    coCategory.GotFocus = [this] { fieldGotFocus(coCategory, true); };
    for (forms::Control* c :
         std::initializer_list<forms::Control*>{&coType, &coDisplayStyle, &coForecolorSource,
                                                &coMenuVisibility, &coShortcutKey, &coState,
                                                &coStateGroupName, &coComboStyle, &chVisible,
                                                &chEnabled, &chAutoWrap, &chCustomizable,
                                                &chStateAllowAllUp, &chComboLocked,
                                                &chComboSorted, &chTextboxLocked,
                                                &lvComboItems, &txtDescription, &cmdColors})
        c->GotFocus = [this, c] { fieldGotFocus(*c, false); };
}

// ---- design -----------------------------------------------------------------

void frmTool::Form_Design()
{
    setCaption(QStringLiteral("Tool"));
    setDesignSize(7800, 6420);
    setHelpContextID(4000);   // the General tab is current at start

    tabMain.Move(90, 90, 7620, 5760);
    tabMain.setTabs(3);
    tabMain.setTabCaption(0, QStringLiteral("&General"));
    tabMain.setTabCaption(1, QStringLiteral("&Description"));
    tabMain.setTabCaption(2, QStringLiteral("&Pictures"));
    for (forms::Frame* f : {&frGeneralTab, &frDescriptionTab, &frPicturesTab}) {
        f->Move(60, 480, 7500, 5220);
        makeBorderless(*f);
    }
    frMain.Move(0, 0, 7500, 5220);
    makeBorderless(frMain);

    // Left column: type, name and ID above the frame of the type.
    lbType.setCaption(QStringLiteral("&Type:"));
    lbType.Move(90, 90, 1020, 255);
    coType.Move(1140, 45, 3150, 315);
    lbName.setCaption(QStringLiteral("&Name:"));
    lbName.Move(90, 465, 1020, 255);
    txtName.Move(1140, 420, 3150, 315);
    lbID.setCaption(QStringLiteral("&ID:"));
    lbID.Move(90, 840, 1020, 255);
    txtID.Move(1140, 795, 3150, 315);

    chVisible.setCaption(QStringLiteral("&Visible"));
    chVisible.Move(4440, 45, 1620, 255);
    chEnabled.setCaption(QStringLiteral("Ena&bled"));
    chEnabled.Move(4440, 315, 1620, 255);
    chAutoWrap.setCaption(QStringLiteral("Auto &Wrap"));
    chAutoWrap.Move(4440, 585, 1620, 255);
    chCustomizable.setCaption(QStringLiteral("Customi&zable"));
    chCustomizable.Move(4440, 855, 1620, 255);

    // Right column.
    lbShortcutKey.setCaption(QStringLiteral("Shortcut &Key:"));
    lbShortcutKey.Move(4440, 1170, 2970, 240);
    coShortcutKey.Move(4440, 1410, 2970, 315);
    picForecolor.Move(4440, 1800, 450, 285);
    Label1.setCaption(QStringLiteral("&Forecolor:"));
    Label1.Move(4965, 1830, 1140, 240);
    txtForecolor.Move(4440, 2115, 2445, 315);
    cmdColors.setCaption(QStringLiteral("..."));
    cmdColors.setToolTipText(QStringLiteral("Select Color"));
    cmdColors.Move(6930, 2115, 480, 315);
    lbForecolorSource.setCaption(QStringLiteral("Forecolor So&urce:"));
    lbForecolorSource.Move(4440, 2505, 2970, 240);
    coForecolorSource.Move(4440, 2745, 2970, 315);
    lbDisplayStyle.setCaption(QStringLiteral("Display St&yle:"));
    lbDisplayStyle.Move(4440, 3135, 2970, 240);
    coDisplayStyle.Move(4440, 3375, 2970, 315);
    lbMenuVisibility.setCaption(QStringLiteral("&Menu Visibility:"));
    lbMenuVisibility.Move(4440, 3765, 2970, 240);
    coMenuVisibility.Move(4440, 4005, 2970, 315);

    lbCategory.setCaption(QStringLiteral("&Category:"));
    lbCategory.Move(90, 4290, 1020, 255);
    coCategory.Move(1140, 4245, 3150, 315);
    lbTooltipText.setCaption(QStringLiteral("T&ooltip:"));
    lbTooltipText.Move(90, 4680, 1020, 255);
    txtTooltipText.Move(1140, 4635, 6270, 315);

    // The frames of the types; coType_Click places and shows one of them.
    for (int i = 0; i < frControls.Count(); ++i) {
        frControls(i).Move(90, 1140, 4230, 3030);
        frControls(i).setVisible(false);
    }
    frControls(1).setCaption(QStringLiteral("State Button"));
    frControls(4).setCaption(QStringLiteral("ComboBox"));
    frControls(5).setCaption(QStringLiteral("Edit"));

    lbState.setCaption(QStringLiteral("St&ate:"));
    lbState.Move(90, 345, 1050, 255);
    coState.Move(1170, 300, 2910, 315);
    lbStateGroupName.setCaption(QStringLiteral("G&roup:"));
    lbStateGroupName.Move(90, 735, 1050, 255);
    coStateGroupName.Move(1170, 690, 2910, 315);
    chStateAllowAllUp.setCaption(QStringLiteral("Allow A&ll Up"));
    chStateAllowAllUp.Move(1170, 1080, 2400, 255);

    Label7.setCaption(QStringLiteral("&Style:"));
    Label7.Move(90, 345, 1050, 255);
    coComboStyle.Move(1170, 300, 2970, 315);
    lbComboDefText.setCaption(QStringLiteral("Default:"));
    lbComboDefText.Move(90, 735, 1050, 255);
    txtComboDefText.Move(1170, 690, 2970, 315);
    lbComboWidth.setCaption(QStringLiteral("Widt&h:"));
    lbComboWidth.Move(90, 1125, 1050, 255);
    txtComboWidth.Move(1170, 1080, 630, 315);
    chComboLocked.setCaption(QStringLiteral("&Locked"));
    chComboLocked.Move(1950, 1110, 1000, 255);
    chComboSorted.setCaption(QStringLiteral("So&rted"));
    chComboSorted.Move(3000, 1110, 1100, 255);
    lvComboItems.Move(60, 1395, 1905, 1140);
    lvComboItems.setView(forms::lvwList);
    lvComboItems.setHideSelection(false);
    lvComboItems.setLabelEdit(1);   // edited through txtLabelEdit only
    txtLabelEdit.setVisible(false);
    lblItemData.setCaption(QStringLiteral("Item D&ata:"));
    lblItemData.Move(2025, 1440, 930, 255);
    txtItemData.Move(2985, 1395, 1155, 315);
    cmdComboNew.setCaption(QStringLiteral("N&ew"));
    cmdComboNew.Move(60, 2610, 735, 345);
    cmdComboRemoveAll.setCaption(QStringLiteral("Remove All"));
    cmdComboRemoveAll.Move(810, 2610, 1290, 345);
    cmdComboRemove.setCaption(QStringLiteral("Remove"));
    cmdComboRemove.Move(2100, 2610, 810, 345);

    lbTextboxText.setCaption(QStringLiteral("Te&xt:"));
    lbTextboxText.Move(90, 345, 1050, 255);
    txtTextboxText.Move(1170, 300, 2970, 315);
    lbTextboxMaxLength.setCaption(QStringLiteral("M&ax Length:"));
    lbTextboxMaxLength.Move(90, 735, 1050, 255);
    txtTextboxMaxLength.Move(1170, 690, 630, 315);
    Label6.setCaption(QStringLiteral("Passwo&rd Char:"));
    Label6.Move(1905, 735, 1500, 255);
    txtTextboxPasswordChar.Move(3435, 690, 390, 315);
    chTextboxLocked.setCaption(QStringLiteral("&Locked"));
    chTextboxLocked.Move(90, 1110, 1500, 255);
    Label5.setCaption(QStringLiteral("Widt&h:"));
    Label5.Move(1875, 1125, 990, 255);
    txtTextboxWidth.Move(2895, 1080, 630, 315);

    txtDescription.Move(90, 90, 7320, 4950);

    lbImageSize.setCaption(QStringLiteral("Image Si&ze:"));
    lbImageSize.Move(90, 90, 1050, 255);
    coImageSize.Move(1170, 45, 1200, 315);

    cmdOK.setCaption(QStringLiteral("OK"));
    cmdOK.setDefault(true);
    cmdOK.Move(5130, 5940, 1215, 375);
    cmdCxl.setCaption(QStringLiteral("Cancel"));
    cmdCxl.setCancel(true);
    cmdCxl.Move(6495, 5940, 1215, 375);
}

// ---- lifecycle --------------------------------------------------------------

void frmTool::Form_Load()
{
    forms::Screen::setMousePointer(forms::vbHourglass);
    bLoading = true;
    bCanceled = true;
    LoadComboStrings();
    bIDEdited = false;
    bSettingID = false;
    bLabelEditing = false;
    // A refused shortcut falls back to the one loaded: "(None)" for a new tool,
    // not the one of a tool edited in an earlier showing.
    iLoadedShortcut = 0;
    if (rt::Trim(sLastCategory).isEmpty())
        sLastCategory = QStringLiteral("General");
    InitDrawingStuff();
    InitScreenFields();
    if (bEditMode) {
        setCaption(QStringLiteral("Edit Tool"));
        LoadScreenFields();
    } else {
        setCaption(QStringLiteral("New Tool"));
        txtName.setText(sTool);
        setIDText(QStringLiteral("ID_") + sTool);
    }

    const float left = Left();
    const float top = Top();
    const float savedLeft = float(rt::Val(mRegistry::GetRegSetting(
        kApp, kSection, QStringLiteral("Left"), rt::numberText(left))));
    const float savedTop = float(rt::Val(mRegistry::GetRegSetting(
        kApp, kSection, QStringLiteral("Top"), rt::numberText(top))));
    Move(savedLeft, savedTop);
    mGlobals::KeepFormOnScreen(*this);

    if (sImageDir.isEmpty())
        sImageDir = mRegistry::GetRegSetting(kApp, kSection, QStringLiteral("ImageDir"),
                                             QDir::currentPath());
    tabMain.setTab(0);

    // The designed widths fit the original dialog font only.
    if (FontName() != QStringLiteral("MS Sans Serif")) {
        chAutoWrap.setLeft(4440);
        chAutoWrap.setWidth(1620);
        chCustomizable.setLeft(4440);
        Label6.setLeft(1905);
        Label6.setWidth(1500);
        Label1.setLeft(4965);
        Label1.setWidth(1140);
        lblItemData.setLeft(2025);
        lblItemData.setWidth(930);
        cmdComboNew.setLeft(60);
        cmdComboNew.setWidth(735);
        Label5.setLeft(1875);
        Label5.setWidth(990);
        cmdComboRemoveAll.setWidth(1290);
        cmdComboRemoveAll.setLeft(810);
        cmdComboRemove.setWidth(810);
        cmdComboRemove.setLeft(2100);
        Label7.setWidth(1050);
    }
    bLoading = false;
    forms::Screen::setMousePointer(forms::vbDefault);
}

void frmTool::Form_Unload(int16_t& Cancel)
{
    (void)Cancel;
    ReleasePictureEngines();
    m_editedItem = nullptr;
    ctlFocused = nullptr;
    mRegistry::SaveRegSetting(kApp, kSection, QStringLiteral("Left"), rt::numberText(Left()));
    mRegistry::SaveRegSetting(kApp, kSection, QStringLiteral("Top"), rt::numberText(Top()));
    mRegistry::SaveRegSetting(kApp, kSection, QStringLiteral("ImageDir"), sImageDir);
}

// ---- fields -----------------------------------------------------------------

void frmTool::LoadComboStrings()
{
    for (int16_t t = 0; t <= 7; ++t)
        coType.AddItem(mGlobals::ToolTypeName(t));
    for (const char* s : {"0 - Default Style", "1 - Text Only (Always)",
                          "2 - Text Only (In Menus)", "3 - Image and Text"})
        coDisplayStyle.AddItem(QLatin1String(s));
    coForecolorSource.AddItem(QStringLiteral("0 - Use Control"));
    coForecolorSource.AddItem(QStringLiteral("1 - Use Tool"));
    coComboStyle.AddItem(QStringLiteral("0 - Dropdown Combo"));
    coComboStyle.AddItem(QStringLiteral("1 - Dropdown List"));
    coState.AddItem(QStringLiteral("0 - Unchecked"));
    coState.AddItem(QStringLiteral("1 - Checked"));
    for (const rt::Variant& category : editors::PanelCategories())
        coCategory.AddItem(category.toString());
    coStateGroupName.AddItem(QStringLiteral("(None)"));
    for (const rt::Variant& group : editors::PanelGroups())
        coStateGroupName.AddItem(group.toString());
    if (!mGlobals::gShortcuts)
        mGlobals::gShortcuts = std::make_shared<CShortcuts>();
    mGlobals::gShortcuts->LoadShortcutCombo(coShortcutKey);
    for (int n = 16; n <= 32; ++n)
        coImageSize.AddItem(QStringLiteral("%1x%1").arg(n));
    coMenuVisibility.AddItem(QStringLiteral("0 - Always Visible On Menus"));
    coMenuVisibility.AddItem(QStringLiteral("1 - Visible If Recently Used"));
}

void frmTool::InitScreenFields()
{
    rt::ResumeNext rn;
    for (forms::ComboBox* c :
         {&coType, &coDisplayStyle, &coForecolorSource, &coShortcutKey, &coMenuVisibility})
        rn([&] { c->setListIndex(0); });
    rn([&] { txtName.setText({}); });
    rn([&] { setIDText({}); });
    rn([&] { coCategory.setListIndex(-1); });
    rn.clear();
    const bool known = rn([&] {
        editors::PanelCategories().Item(rt::UCase(sLastCategory));
    });
    rn([&] { coCategory.setText(known ? sLastCategory : QStringLiteral("General")); });
    rn([&] { txtTooltipText.setText({}); });
    rn([&] { txtForecolor.setText(QStringLiteral("&H80000008&")); });
    rn([&] { picForecolor.setBackColor(kWindowText); });
    rn([&] { chVisible.setValue(1); });
    rn([&] { chEnabled.setValue(1); });
    rn([&] { chAutoWrap.setValue(0); });
    rn([&] { chCustomizable.setValue(1); });
    rn([&] { txtDescription.setText({}); });
    rn([&] { coComboStyle.setListIndex(0); });
    rn([&] { txtComboDefText.setText({}); });
    rn([&] { lvComboItems.ListItems.Clear(); });
    rn([&] { txtItemData.setText({}); });
    rn([&] { EvalComboItemSelected(); });
    rn([&] { cmdComboRemoveAll.setEnabled(false); });
    rn([&] { cmdComboRemove.setEnabled(false); });
    rn([&] { chComboLocked.setValue(0); });
    rn([&] { chComboSorted.setValue(0); });
    rn([&] { txtComboWidth.setText(QStringLiteral("75")); });
    rn([&] { chStateAllowAllUp.setValue(1); });
    rn([&] { coState.setListIndex(0); });
    rn([&] { coStateGroupName.setListIndex(0); });
    rn([&] { txtTextboxText.setText({}); });
    rn([&] { txtTextboxMaxLength.setText(QStringLiteral("0")); });
    rn([&] { chTextboxLocked.setValue(0); });
    rn([&] { txtTextboxWidth.setText(QStringLiteral("75")); });
    rn([&] { txtTextboxPasswordChar.setText({}); });
}

void frmTool::LoadScreenFields()
{
    if (!bEditMode) {
        InitScreenFields();
        return;
    }
    rt::ResumeNext rn;
    std::shared_ptr<toolbar::Tool> tool;
    if (!rn([&] { tool = editors::WorkingCopy()->tools()->Item(sTool); }) || !tool) {
        forms::MsgBox(QStringLiteral("Error loading tool data for edit.  Reverting to add mode."),
                      forms::vbExclamation, kTitle);
        bEditMode = false;
        setCaption(QStringLiteral("New Tool"));
        InitScreenFields();
        return;
    }
    const toolbar::Tool& t = *tool;
    rn([&] { coType.setListIndex(t.Type()); });
    rn([&] { coDisplayStyle.setListIndex(t.DisplayStyle()); });
    rn([&] { coForecolorSource.setListIndex(t.ForecolorSource()); });
    rn([&] { coMenuVisibility.setListIndex(t.MenuVisibility()); });
    rn([&] { txtName.setText(t.Name()); });
    rn([&] { setIDText(t.ID()); });
    rn([&] { sLoadedID = rt::Trim(t.ID()); });
    rn([&] { coCategory.setText(t.Category()); });
    rn([&] { txtTooltipText.setText(t.TooltipText()); });
    rn([&] { txtForecolor.setText(mGlobals::FormatColorHex(t.Forecolor())); });
    rn([&] { picForecolor.setBackColor(t.Forecolor()); });
    rn([&] { coShortcutKey.setListIndex(t.ShortcutKey()); });
    rn([&] { iLoadedShortcut = t.ShortcutKey(); });
    rn([&] { chVisible.setValue(t.Visible() ? 1 : 0); });
    rn([&] { chEnabled.setValue(t.Enabled() ? 1 : 0); });
    rn([&] { chAutoWrap.setValue(t.AutoWrap() ? 1 : 0); });
    rn([&] { chCustomizable.setValue(t.Customizable() ? 1 : 0); });
    rn([&] { txtDescription.setText(t.Description()); });

    rn([&] {
        mDrawParams::gPicWidth = std::max<int16_t>(t.ImageSize(), 16);
        mDrawParams::gPicHeight = mDrawParams::gPicWidth;
    });
    rn([&] { coImageSize.setListIndex(mDrawParams::gPicWidth - 16); });
    LoadToolPictures(tool);

    int16_t type = 0;
    rn([&] { type = t.Type(); });
    if (type == toolbar::mqComboBox) {
        const auto combo = t.comboBox();
        rn([&] { coComboStyle.setListIndex(combo->Style()); });
        rn([&] { txtComboDefText.setText(combo->Text()); });
        rn([&] { chComboLocked.setValue(combo->Locked() ? 1 : 0); });
        rn([&] { chComboSorted.setValue(combo->Sorted() ? 1 : 0); });
        for (int16_t i = 0; i < combo->ListCount(); ++i)
            rn([&] {
                forms::ListItem& item = lvComboItems.ListItems.Add(0, {}, combo->List(i));
                item.setTag(rt::Trim(rt::CStr(rt::Variant(combo->ItemData(i)))));
            });
        rn([&] {
            const QString defText = rt::Trim(combo->Text());
            for (int32_t i = 1; i <= lvComboItems.ListItems.Count(); ++i) {
                forms::ListItem& item = lvComboItems.ListItems.Item(i);
                if (item.Text() == defText) {
                    lvComboItems.setSelectedItem(&item);
                    break;
                }
            }
        });
        rn([&] { EvalComboItemSelected(); });
        rn([&] { txtComboWidth.setText(rt::CStr(rt::Variant(t.Width()))); });
    } else if (type == toolbar::mqEdit) {
        const auto edit = t.edit();
        rn([&] { txtTextboxText.setText(edit->Text()); });
        rn([&] {
            if (edit->MaxLength() != 0)
                txtTextboxText.setText(rt::Left(txtTextboxText.Text(), edit->MaxLength()));
        });
        rn([&] { txtTextboxMaxLength.setText(rt::Trim(rt::Str(edit->MaxLength()))); });
        rn([&] { chTextboxLocked.setValue(edit->Locked() ? 1 : 0); });
        rn([&] { txtTextboxWidth.setText(rt::CStr(rt::Variant(t.Width()))); });
        rn([&] { txtTextboxPasswordChar.setText(edit->PasswordChar()); });
    } else if (type == toolbar::mqStateButton || type == toolbar::mqDropDownStateButton) {
        rn([&] { chStateAllowAllUp.setValue(t.StateAllowAllUp() ? 1 : 0); });
        rn([&] { coState.setListIndex(t.State()); });
        rn([&] {
            const QString group = rt::Trim(t.StateGroupName());
            coStateGroupName.setText(group.isEmpty() ? QStringLiteral("(None)") : group);
        });
    }
}

void frmTool::coType_Click()
{
    frControls(1).setVisible(false);
    frControls(4).setVisible(false);
    frControls(5).setVisible(false);
    const int32_t t = coType.ListIndex();
    if (t == 1 || (t >= 3 && t <= 5)) {
        forms::Frame& frame = frControls(t == 3 ? 1 : t);
        frame.Move(90, 1140);
        frame.setVisible(true);
    }
    if (t == toolbar::mqMenu) {
        chAutoWrap.setValue(1);
        chAutoWrap.setEnabled(false);
        lbTooltipText.setEnabled(false);
        txtTooltipText.setEnabled(false);
        txtTooltipText.setText({});
        lbShortcutKey.setEnabled(false);
        coShortcutKey.setEnabled(false);
        coShortcutKey.setListIndex(0);
    } else {
        chAutoWrap.setEnabled(true);
        tabMain.setTabEnabled(2, true);
        lbTooltipText.setEnabled(true);
        txtTooltipText.setEnabled(true);
        lbShortcutKey.setEnabled(true);
        coShortcutKey.setEnabled(true);
    }
}

void frmTool::LoadGroupAllowAllUp(const QString& groupName)
{
    const QString wanted = rt::UCase(groupName);
    rt::tryStatement([&] {
        for (const auto tool : *editors::WorkingCopy()->tools()) {
            const int16_t type = tool->Type();
            if ((type == toolbar::mqStateButton || type == toolbar::mqDropDownStateButton) &&
                rt::UCase(tool->StateGroupName()) == wanted) {
                chStateAllowAllUp.setValue(tool->StateAllowAllUp() ? 1 : 0);
                return;
            }
        }
    });
}

forms::ListItem* frmTool::GetSelectedComboListItem(forms::ListView& listView)
{
    for (int32_t i = 1; i <= listView.ListItems.Count(); ++i) {
        forms::ListItem& item = listView.ListItems.Item(i);
        if (item.Selected())
            return &item;
    }
    return nullptr;
}

void frmTool::EvalComboItemSelected()
{
    if (bSkipComboEval)
        return;
    rt::ResumeNext rn;
    forms::ListItem* item = nullptr;
    rn([&] { item = GetSelectedComboListItem(lvComboItems); });
    if (item) {
        rn([&] { txtItemData.setText(item->Tag()); });
        rn([&] { lblItemData.setEnabled(true); });
        rn([&] { lblItemData.setForeColor(kButtonText); });
        rn([&] { txtItemData.setEnabled(true); });
        rn([&] { txtItemData.setBackColor(kWindow); });
        rn([&] { txtComboDefText.setText(item->Text()); });
        rn([&] { cmdComboRemove.setEnabled(true); });
    } else {
        rn([&] { txtItemData.setText({}); });
        rn([&] { txtItemData.setEnabled(false); });
        rn([&] { txtItemData.setBackColor(kButtonFace); });
        rn([&] { lblItemData.setEnabled(false); });
        rn([&] { lblItemData.setForeColor(kGrayText); });
        rn([&] { cmdComboRemove.setEnabled(false); });
        if (!bLoading)
            rn([&] { txtComboDefText.setText({}); });
    }
    rn([&] { cmdComboRemoveAll.setEnabled(lvComboItems.ListItems.Count() >= 1); });
}

void frmTool::cmdComboNew_Click()
{
    EndItemLabelEdit(true);
    forms::ListItem& item = lvComboItems.ListItems.Add(0, {}, QStringLiteral("New Item"));
    lvComboItems.SetFocus();
    lvComboItems.setSelectedItem(&item);
    item.EnsureVisible();
    StartItemLabelEdit();
    EvalComboItemSelected();
}

void frmTool::cmdComboRemove_Click()
{
    EndItemLabelEdit(false);
    forms::ListItem* item = GetSelectedComboListItem(lvComboItems);
    if (!item)
        return;
    const int16_t answer = forms::MsgBox(
        QStringLiteral("Are you sure you want to remove list item '") + item->Text() +
            QStringLiteral("'?"),
        forms::vbYesNo | forms::vbQuestion, QStringLiteral("Confirm Remove Listitem"));
    if (answer == forms::vbNo)
        return;
    const int32_t i = item->Index();
    lvComboItems.ListItems.Remove(i);
    const int32_t count = lvComboItems.ListItems.Count();
    if (count >= i)
        lvComboItems.setSelectedItem(&lvComboItems.ListItems.Item(i));
    else if (count > 0)
        lvComboItems.setSelectedItem(&lvComboItems.ListItems.Item(count));
    EvalComboItemSelected();
    lvComboItems.SetFocus();
}

void frmTool::cmdComboRemoveAll_Click()
{
    EndItemLabelEdit(false);
    if (lvComboItems.ListItems.Count() == 0)
        return;
    const int16_t answer =
        forms::MsgBox(QStringLiteral("Are you sure you want to remove all list items?"),
                      forms::vbYesNo | forms::vbQuestion,
                      QStringLiteral("Confirm Remove All Listitems"));
    if (answer == forms::vbNo)
        return;
    lvComboItems.ListItems.Clear();
    EvalComboItemSelected();
}

void frmTool::chComboSorted_Click()
{
    if (!bLabelEditing)
        lvComboItems.setSorted(chComboSorted.Value() == forms::vbChecked);
}

void frmTool::lvComboItems_Click()
{
    bItemDataGuard = true;
    EvalComboItemSelected();
    bItemDataGuard = false;
}

void frmTool::txtItemData_Change()
{
    if (bItemDataGuard)
        return;
    if (forms::ListItem* item = GetSelectedComboListItem(lvComboItems))
        item->setTag(rt::Trim(txtItemData.Text()));
}

void frmTool::coComboStyle_Click()
{
    const bool list = coComboStyle.ListIndex() == 1;
    txtComboDefText.setEnabled(!list);
    txtComboDefText.setBackColor(list ? kButtonFace : kWindow);
}

// ---- in-place editing of a combo item ----------------------------------------

void frmTool::StartItemLabelEdit()
{
    EndItemLabelEdit(true);
    forms::ListItem* item = GetSelectedComboListItem(lvComboItems);
    if (!item)
        return;
    lvComboItems_BeforeLabelEdit();
    m_editedItem = item;
    QRect row;
    if (auto* tree = qobject_cast<QTreeWidget*>(lvComboItems.widget()))
        if (QTreeWidgetItem* w = tree->topLevelItem(item->Index() - 1)) {
            tree->scrollToItem(w);
            row = tree->visualItemRect(w);
            row.translate(tree->viewport()->mapTo(tree, QPoint(0, 0)));
        }
    const float x = lvComboItems.Left() + float(row.left() + 1) * 15.f;
    const float y = lvComboItems.Top() + float(row.top()) * 15.f;
    const float w = std::max(600.f, lvComboItems.Width() - float(row.left() + 3) * 15.f);
    txtLabelEdit.Move(x, y, w, std::max(285.f, float(row.height() + 4) * 15.f));
    txtLabelEdit.setText(item->Text());
    txtLabelEdit.setVisible(true);
    txtLabelEdit.ZOrder(0);
    txtLabelEdit.SetFocus();
    mGlobals::SelectAllText(txtLabelEdit);
}

void frmTool::EndItemLabelEdit(bool commit)
{
    if (!m_editedItem)
        return;
    forms::ListItem* item = m_editedItem;
    m_editedItem = nullptr;   // LostFocus of the editor comes back here
    bool cancel = !commit;
    const QString text = txtLabelEdit.Text();
    txtLabelEdit.setVisible(false);
    lvComboItems_AfterLabelEdit(cancel, text, *item);
}

void frmTool::lvComboItems_BeforeLabelEdit()
{
    bLabelEditing = true;
}

// The edited item takes the text (the selection may have moved meanwhile).
void frmTool::lvComboItems_AfterLabelEdit(bool& Cancel, const QString& NewString,
                                          forms::ListItem& item)
{
    bLabelEditing = false;
    const bool sorted = chComboSorted.Value() == forms::vbChecked;
    if (lvComboItems.Sorted() != sorted)
        lvComboItems.setSorted(sorted);
    if (Cancel)
        return;
    item.setText(NewString);
    EvalComboItemSelected();
}

void frmTool::txtLabelEdit_KeyDown(int16_t& KeyCode, int16_t Shift)
{
    (void)Shift;
    if (KeyCode == 13 || KeyCode == 27) {
        const bool commit = KeyCode == 13;
        KeyCode = 0;   // Enter and Esc end the edit, not the dialog
        EndItemLabelEdit(commit);
        lvComboItems.SetFocus();
    }
}

// ---- small field rules ----------------------------------------------------------

QString frmTool::StripBlanksAndAmpersands(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c != u' ' && c != u'&')
            out += c;
    return out;
}

void frmTool::txtName_Change()
{
    if (bEditMode || bIDEdited)
        return;
    bSettingID = true;
    txtID.setText(QStringLiteral("ID_") + StripBlanksAndAmpersands(txtName.Text()));
    bSettingID = false;
}

void frmTool::setIDText(const QString& text)
{
    const bool was = bSettingID;
    bSettingID = true;
    txtID.setText(text);
    bSettingID = was;
}

void frmTool::txtID_Change()
{
    if (!bSettingID)
        bIDEdited = true;
}

void frmTool::coType_KeyDown(int16_t& KeyCode, int16_t Shift)
{
    if (KeyCode == 9 && (Shift & forms::vbCtrlMask)) {
        tabMain.SetFocus();
        tabMain.setTab(1);
    }
}

void frmTool::txtDescription_KeyDown(int16_t& KeyCode, int16_t Shift)
{
    if (KeyCode == 9 && (Shift & forms::vbCtrlMask)) {
        KeyCode = 0;
        tabMain.SetFocus();
        tabMain.setTab(2);
    }
}

void frmTool::txtForecolor_LostFocus()
{
    mGlobals::ApplyColorText(txtForecolor, picForecolor);
}

void frmTool::fieldGotFocus(forms::Control& field, bool selectText)
{
    ctlFocused = &field;
    if (!selectText)
        return;
    if (auto* t = dynamic_cast<forms::TextBox*>(&field))
        mGlobals::SelectAllText(*t);
    else if (auto* c = dynamic_cast<forms::ComboBox*>(&field))
        mGlobals::SelectAllText(*c);
}

void frmTool::cmdColors_Click()
{
    frmColors& chooser = frmColors::get();
    chooser.Load();
    // Bottom-right corner of the chooser at the button's top-right corner.
    QWidget* button = cmdColors.widget();
    const QPoint topLeft = button->mapToGlobal(QPoint(0, 0));
    const int32_t right = topLeft.x() + button->width();
    const int32_t left = rt::CLng(right - chooser.Width() / forms::Screen::TwipsPerPixelX());
    const int32_t top =
        rt::CLng(topLeft.y() - chooser.Height() / forms::Screen::TwipsPerPixelY());
    chooser.placeAt(left, top);
    chooser.SourceControlPic = &picForecolor;
    chooser.SourceControlText = &txtForecolor;
    chooser.Show(forms::vbModal, this);
}

void frmTool::cmdCxl_Click()
{
    EndItemLabelEdit(false);
    Hide();
}

void frmTool::tabMain_Click(int16_t PreviousTab)
{
    switch (tabMain.Tab()) {
    case 2:
        frPicturesTab.setEnabled(true);
        ShowPicturesTab();
        setHelpContextID(4200);
        break;
    case 1:
        txtDescription.SetFocus();
        setHelpContextID(4100);
        break;
    default:
        frGeneralTab.setEnabled(true);
        // The field remembered only when it is on this tab (not the
        // description box, nor a field of a property frame now hidden).
        if (ctlFocused && ctlFocused->canFocus())
            ctlFocused->SetFocus();
        else
            coType.SetFocus();
        setHelpContextID(4000);
        break;
    }
    if (PreviousTab == 0)
        frGeneralTab.setEnabled(false);
    else if (PreviousTab == 2)
        frPicturesTab.setEnabled(false);
}
