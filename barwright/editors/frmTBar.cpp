#include "barwright/editors/frmTBar.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/connection/mGlobalsControls.h"
#include "barwright/connection/mRegistry.h"
#include "barwright/editors/EditorLinks.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Text.h"
#include "platform/toolbar/Toolbar.h"

namespace {

const QString kApp = QStringLiteral("ConfigUtility");
const QString kSection = QStringLiteral("Toolbar");
const QString kTitle = QStringLiteral("Halvorbar");

}  // namespace

frmTBar::frmTBar()
{
    for (int16_t i = 0; i < opStyle.Count(); ++i)
        opStyle(i).Click = [this, i] { opStyle_Click(i); };
    txtName.Change = [this] { txtName_Change(); };
    txtName.KeyPress = [this](int16_t& k) { txtName_KeyPress(k); };
    txtName.GotFocus = [this] { mGlobals::SelectAllText(txtName); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCxl.Click = [this] { Hide(); };
}

void frmTBar::Form_Design()
{
    setCaption(QStringLiteral("Toolbar"));
    setDesignSize(6900, 5160);
    tabMain.Move(90, 90, 6720, 4440);
    tabMain.setTabs(1);
    tabMain.setTabCaption(0, QStringLiteral("General"));

    lbName.setCaption(QStringLiteral("&Name"));
    lbName.Move(210, 570, 900, 255);
    txtName.Move(1140, 525, 5430, 315);

    frStyle.setCaption(QStringLiteral("Style"));
    frStyle.Move(210, 990, 3210, 1080);
    opStyle(0).setCaption(QStringLiteral("&Standard"));
    opStyle(0).Move(180, 330, 2640, 285);
    opStyle(1).setCaption(QStringLiteral("&Menu Bar"));
    opStyle(1).Move(180, 660, 2640, 285);

    lbFont3D.setCaption(QStringLiteral("&Font3D"));
    lbFont3D.Move(3540, 1005, 3030, 255);
    coFont3D.Move(3540, 1245, 3030, 315);
    lbCaptionAlignment.setCaption(QStringLiteral("&Caption Alignment"));
    lbCaptionAlignment.Move(3540, 1620, 3030, 255);
    coCaptionAlignment.Move(3540, 1860, 3030, 315);

    frOptions.setCaption(QStringLiteral("Options"));
    frOptions.Move(210, 2250, 3210, 2160);
    const std::pair<forms::CheckBox*, const char*> options[] = {
        {&chAllowCustomize, "Allow Customi&ze"},
        {&chAllowHiding, "Allow &Hiding"},
        {&chVisible, "&Visible"},
        {&chDisplayGrabHandles, "Display &Grab Handles"},
        {&chDisplayMoreToolsButton, "Display 'More &Tools' button"}};
    float y = 300;
    for (const auto& [box, caption] : options) {
        box->setCaption(QLatin1String(caption));
        box->Move(180, y, 2940, 285);
        y += 345;
    }

    frDocking.setCaption(QStringLiteral("Docking"));
    frDocking.Move(3540, 2250, 3030, 2160);
    const std::pair<forms::CheckBox*, const char*> docking[] = {
        {&chAllowDockTop, "Allow Dock To&p"},
        {&chAllowDockBottom, "Allow Doc&k Bottom"},
        {&chAllowDockLeft, "Allow Dock &Left"},
        {&chAllowDockRight, "Allow Dock &Right"},
        {&chAllowFloating, "Allo&w Floating"},
        {&chStretch, "Stretch When &Docked"},
        {&chPositionLocked, "Position L&ocked"}};
    y = 270;
    for (const auto& [box, caption] : docking) {
        box->setCaption(QLatin1String(caption));
        box->Move(180, y, 2760, 255);
        y += 255;
    }

    cmdOK.setCaption(QStringLiteral("OK"));
    cmdOK.setDefault(true);
    cmdOK.Move(4170, 4680, 1215, 375);
    cmdCxl.setCaption(QStringLiteral("Cancel"));
    cmdCxl.setCancel(true);
    cmdCxl.Move(5595, 4680, 1215, 375);
}

void frmTBar::Form_Load()
{
    bCanceled = true;
    for (const char* s : {"0 - None", "1 - RaisedLight", "2 - RaisedHeavy", "3 - InsetLight",
                          "4 - InsetHeavy", "5 - DropShadow"})
        coFont3D.AddItem(QLatin1String(s));
    for (const char* s : {"0 - Top Of Image", "1 - Bottom Of Image", "2 - Left Of Image",
                          "3 - Right Of Image"})
        coCaptionAlignment.AddItem(QLatin1String(s));
    coFont3D.setListIndex(0);
    UpdateMenuBarOption();
    if (bEditMode) {
        setCaption(QStringLiteral("Edit Toolbar"));
        LoadScreenFields();
        // The style of an existing toolbar cannot change.
        opStyle(0).setEnabled(false);
        opStyle(1).setEnabled(false);
    } else {
        setCaption(QStringLiteral("New Toolbar"));
        InitScreenFields();
        txtName.setText(sToolbarName);
    }
    iSavedAllowHiding = 1;
    iSavedMoreTools = 1;
    iSavedStretch = 0;

    const float savedLeft = float(rt::Val(mRegistry::GetRegSetting(
        kApp, kSection, QStringLiteral("Left"), rt::numberText(Left()))));
    const float savedTop = float(rt::Val(mRegistry::GetRegSetting(
        kApp, kSection, QStringLiteral("Top"), rt::numberText(Top()))));
    Move(savedLeft, savedTop);
    mGlobals::KeepFormOnScreen(*this);
}

void frmTBar::Form_Unload(int16_t& Cancel)
{
    (void)Cancel;
    mRegistry::SaveRegSetting(kApp, kSection, QStringLiteral("Left"), rt::numberText(Left()));
    mRegistry::SaveRegSetting(kApp, kSection, QStringLiteral("Top"), rt::numberText(Top()));
}

// A control has at most one menu bar.
void frmTBar::UpdateMenuBarOption()
{
    rt::tryStatement([&] {
        for (const auto& bar : editors::WorkingCopy()->toolbars()->items()) {
            if (bar->Style() == 1 && !(bEditMode && bar->Name() == sToolbarName)) {
                opStyle(1).setEnabled(false);
                return;
            }
        }
    });
}

void frmTBar::InitScreenFields()
{
    txtName.setText({});
    opStyle(0).setValue(true);
    coFont3D.setListIndex(0);
    coCaptionAlignment.setListIndex(3);
    for (forms::CheckBox* box :
         {&chAllowCustomize, &chAllowHiding, &chVisible, &chDisplayGrabHandles,
          &chDisplayMoreToolsButton, &chAllowDockLeft, &chAllowDockRight, &chAllowDockTop,
          &chAllowDockBottom, &chAllowFloating})
        box->setValue(1);
    chStretch.setValue(0);
    chPositionLocked.setValue(0);
}

void frmTBar::LoadScreenFields()
{
    if (!bEditMode) {
        InitScreenFields();
        return;
    }
    rt::ResumeNext rn;
    std::shared_ptr<toolbar::Toolbar> bar;
    if (!rn([&] { bar = editors::WorkingCopy()->toolbars()->Item(sToolbarName); }) || !bar) {
        forms::MsgBox(
            QStringLiteral("Error loading toolbar data for edit.  Reverting to add mode."),
            forms::vbExclamation, kTitle);
        bEditMode = false;
        setCaption(QStringLiteral("New Toolbar"));
        InitScreenFields();
        return;
    }
    const toolbar::Toolbar& b = *bar;
    rn([&] { txtName.setText(b.Name()); });
    rn([&] { sLoadedName = rt::Trim(b.Name()); });
    rn([&] { opStyle(b.Style() == 1 ? 1 : 0).setValue(true); });
    rn([&] { coFont3D.setListIndex(b.Font3D()); });
    rn([&] { coCaptionAlignment.setListIndex(b.CaptionAlignment()); });
    rn([&] { chAllowCustomize.setValue(b.AllowCustomize() ? 1 : 0); });
    rn([&] { chAllowHiding.setValue(b.AllowHiding() ? 1 : 0); });
    rn([&] { chVisible.setValue(b.Visible() ? 1 : 0); });
    rn([&] { chDisplayGrabHandles.setValue(b.DisplayGrabHandles() ? 1 : 0); });
    rn([&] { chDisplayMoreToolsButton.setValue(b.DisplayMoreToolsButton() ? 1 : 0); });
    const std::pair<forms::CheckBox*, int32_t> bits[] = {
        {&chAllowDockLeft, toolbar::mqDockLeft},     {&chAllowDockTop, toolbar::mqDockTop},
        {&chAllowDockRight, toolbar::mqDockRight},   {&chAllowDockBottom, toolbar::mqDockBottom},
        {&chAllowFloating, toolbar::mqFloating},     {&chStretch, toolbar::mqStretch},
        {&chPositionLocked, toolbar::mqLocked}};
    for (const auto& flag : bits)
        rn([&] { flag.first->setValue((b.DockingFlags() & flag.second) ? 1 : 0); });
}

void frmTBar::RefuseName()
{
    forms::MsgBox(mGlobals::gMsg, forms::vbExclamation, kTitle);
    rt::ResumeNext rn;
    rn([&] { mGlobals::SelectAllText(txtName); });
    rn([&] { txtName.SetFocus(); });
}

void frmTBar::cmdOK_Click()
{
    txtName.setText(rt::Trim(txtName.Text()));
    const QString name = txtName.Text();
    if (name.isEmpty()) {
        mGlobals::gMsg = QStringLiteral("Please supply a name for this toolbar.");
        RefuseName();
        return;
    }
    if (!bEditMode || rt::UCase(rt::Trim(name)) != rt::UCase(sLoadedName)) {
        const bool taken = rt::tryStatement([&] {
                               (void)editors::WorkingCopy()->toolbars()->Item(name)->Name();
                           }) == 0;
        if (taken) {
            mGlobals::gMsg = QStringLiteral("A toolbar with the Name '") + name +
                             QStringLiteral("' already exists.  Please enter a different Name "
                                            "for this toolbar.");
            RefuseName();
            return;
        }
    }

    std::shared_ptr<toolbar::MqZentribar> control;
    std::shared_ptr<toolbar::Toolbar> bar;
    const int32_t failed = rt::tryStatement([&] {
        control = editors::WorkingCopy();
        bar = bEditMode ? control->toolbars()->Item(sToolbarName)
                        : control->toolbars()->Add(name, iStyle);
    });
    if (failed != 0 || !bar) {
        forms::MsgBox(rt::Err().Description, forms::vbOKOnly, kTitle);
        oTbar = com::Object();
        return;
    }
    oTbar = com::Object(bar);

    toolbar::Toolbar& b = *bar;
    rt::ResumeNext rn;
    rn([&] { control->setRedraw(false); });
    rn([&] { b.setName(name); });
    rn([&] { b.setFont3D(coFont3D.ListIndex()); });
    rn([&] { b.setCaptionAlignment(coCaptionAlignment.ListIndex()); });
    rn([&] { b.setAllowCustomize(chAllowCustomize.Value() != 0); });
    rn([&] { b.setAllowHiding(chAllowHiding.Value() != 0); });
    rn([&] { b.setConfigured(true); });
    rn([&] { b.setVisible(chVisible.Value() != 0); });
    rn([&] { b.setDisplayGrabHandles(chDisplayGrabHandles.Value() != 0); });
    rn([&] { b.setDisplayMoreToolsButton(chDisplayMoreToolsButton.Value() != 0); });
    rn([&] {
        int32_t flags = 0;
        const std::pair<forms::CheckBox*, int32_t> bits[] = {
            {&chAllowDockLeft, toolbar::mqDockLeft},   {&chAllowDockRight, toolbar::mqDockRight},
            {&chAllowDockTop, toolbar::mqDockTop},     {&chAllowDockBottom, toolbar::mqDockBottom},
            {&chAllowFloating, toolbar::mqFloating},   {&chStretch, toolbar::mqStretch},
            {&chPositionLocked, toolbar::mqLocked}};
        for (const auto& [box, bit] : bits)
            if (box->Value() != 0)
                flags += bit;
        b.setDockingFlags(flags);
    });
    rn([&] { control->setRedraw(true); });
    bCanceled = false;
    Hide();
}

// A menu bar is always visible, cannot be hidden, has no more-tools button and
// stretches when docked; going back restores the developer's choices.
void frmTBar::opStyle_Click(int16_t index)
{
    iStyle = index;
    if (index == 1) {
        chVisible.setEnabled(false);
        chVisible.setValue(1);
        iSavedAllowHiding = chAllowHiding.Value();
        chAllowHiding.setEnabled(false);
        chAllowHiding.setValue(0);
        iSavedMoreTools = chDisplayMoreToolsButton.Value();
        chDisplayMoreToolsButton.setEnabled(false);
        chDisplayMoreToolsButton.setValue(0);
        iSavedStretch = chStretch.Value();
        chStretch.setEnabled(false);
        chStretch.setValue(1);
    } else {
        chVisible.setEnabled(true);
        chAllowHiding.setEnabled(true);
        chAllowHiding.setValue(iSavedAllowHiding);
        chDisplayMoreToolsButton.setEnabled(true);
        chDisplayMoreToolsButton.setValue(iSavedMoreTools);
        chStretch.setEnabled(true);
        chStretch.setValue(iSavedStretch);
    }
}

bool frmTBar::NameMayHoldAmpersands()
{
    return FontName() == QStringLiteral("MS Sans Serif");
}

void frmTBar::txtName_KeyPress(int16_t& KeyAscii)
{
    if (KeyAscii == 38 && !NameMayHoldAmpersands())
        KeyAscii = 0;
}

void frmTBar::txtName_Change()
{
    if (NameMayHoldAmpersands())
        return;
    const QString text = txtName.Text();
    if (text.contains(u'&'))
        txtName.setText(mGlobals::StripChar(text, QStringLiteral("&")));
}
