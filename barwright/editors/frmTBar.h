#pragma once
// The toolbar dialog: creates a toolbar of the working copy or edits one.
// The caller sets bEditMode and sToolbarName, shows it modally, reads
// bCanceled and oTbar, and unloads it.

#include "platform/automation/Dispatch.h"
#include "platform/forms/CheckBox.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/TabStrip.h"
#include "platform/forms/TextBox.h"

class frmTBar final : public forms::Form {
public:
    forms::TabStrip tabMain{this, "tabMain"};
    forms::Label lbName{tabMain.page(0), "lbName"};
    forms::TextBox txtName{tabMain.page(0), "txtName"};
    forms::Frame frStyle{tabMain.page(0), "frStyle"};
    forms::ControlArray<forms::OptionButton> opStyle{&frStyle, "opStyle", 2};
    forms::Label lbFont3D{tabMain.page(0), "lbFont3D"};
    forms::ComboBox coFont3D{tabMain.page(0), "coFont3D", forms::vbComboDropdownList};
    forms::Label lbCaptionAlignment{tabMain.page(0), "lbCaptionAlignment"};
    forms::ComboBox coCaptionAlignment{tabMain.page(0), "coCaptionAlignment",
                                       forms::vbComboDropdownList};
    forms::Frame frOptions{tabMain.page(0), "frOptions"};
    forms::CheckBox chAllowCustomize{&frOptions, "chAllowCustomize"};
    forms::CheckBox chAllowHiding{&frOptions, "chAllowHiding"};
    forms::CheckBox chVisible{&frOptions, "chVisible"};
    forms::CheckBox chDisplayGrabHandles{&frOptions, "chDisplayGrabHandles"};
    forms::CheckBox chDisplayMoreToolsButton{&frOptions, "chDisplayMoreToolsButton"};
    forms::Frame frDocking{tabMain.page(0), "frDocking"};
    forms::CheckBox chAllowDockTop{&frDocking, "chAllowDockTop"};
    forms::CheckBox chAllowDockBottom{&frDocking, "chAllowDockBottom"};
    forms::CheckBox chAllowDockLeft{&frDocking, "chAllowDockLeft"};
    forms::CheckBox chAllowDockRight{&frDocking, "chAllowDockRight"};
    forms::CheckBox chAllowFloating{&frDocking, "chAllowFloating"};
    forms::CheckBox chStretch{&frDocking, "chStretch"};
    forms::CheckBox chPositionLocked{&frDocking, "chPositionLocked"};
    forms::CommandButton cmdOK{this, "cmdOK"};
    forms::CommandButton cmdCxl{this, "cmdCxl"};

    // ---- the calling protocol ----------------------------------------------
    bool bEditMode = false;
    QString sToolbarName;
    bool bCanceled = true;
    com::Object oTbar;

    frmTBar();
    static frmTBar& get() { return forms::instance<frmTBar>(); }
    QString className() const override { return QStringLiteral("frmTBar"); }

    void InitScreenFields();
    void LoadScreenFields();

private:
    void Form_Design() override;
    void Form_Load() override;
    void Form_Unload(int16_t& Cancel) override;
    void UpdateMenuBarOption();
    void cmdOK_Click();
    void opStyle_Click(int16_t index);
    void txtName_Change();
    void txtName_KeyPress(int16_t& KeyAscii);
    bool NameMayHoldAmpersands();
    void RefuseName();

    int16_t iStyle = 0;
    QString sLoadedName;
    int16_t iSavedAllowHiding = 1;
    int16_t iSavedMoreTools = 1;
    int16_t iSavedStretch = 0;
};
