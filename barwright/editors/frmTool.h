#pragma once
// The tool dialog: edits one tool of the working copy, or defines a new one.
// The caller sets bEditMode and sTool, shows it modally and reads bCanceled
// and oTool; OK validates, writes the tool and spreads its look to every
// placed copy. The Pictures tab's editor lives in frmToolPictures.cpp.

#include "platform/automation/Dispatch.h"
#include "platform/forms/CheckBox.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "barwright/panel/ZentribarControl.h"
#include "platform/forms/CommonDialog.h"
#include "platform/forms/ListView.h"
#include "platform/forms/Menu.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/TabStrip.h"
#include "platform/forms/TextBox.h"
#include "platform/forms/Timer.h"

#include <array>
#include <functional>
#include <memory>

class CDraw;

namespace toolbar {
class Tool;
class Tools;
}  // namespace toolbar

class frmTool final : public forms::Form {
public:
    // ---- containers ------------------------------------------------------
    forms::TabStrip tabMain{this, "tabMain"};
    forms::Frame frGeneralTab{tabMain.page(0), "frGeneralTab"};
    forms::Frame frMain{&frGeneralTab, "frMain"};
    forms::Frame frDescriptionTab{tabMain.page(1), "frDescriptionTab"};
    forms::Frame frPicturesTab{tabMain.page(2), "frPicturesTab"};
    // Only 1 (state buttons), 4 (combo box) and 5 (edit) are used.
    forms::ControlArray<forms::Frame> frControls{&frMain, "frControls", 6};

    // ---- General tab: common fields --------------------------------------
    forms::Label lbType{&frMain, "lbType"};
    forms::ComboBox coType{&frMain, "coType", forms::vbComboDropdownList};
    forms::Label lbName{&frMain, "lbName"};
    forms::TextBox txtName{&frMain, "txtName"};
    forms::Label lbID{&frMain, "lbID"};
    forms::TextBox txtID{&frMain, "txtID"};
    forms::CheckBox chVisible{&frMain, "chVisible"};
    forms::CheckBox chEnabled{&frMain, "chEnabled"};
    forms::CheckBox chAutoWrap{&frMain, "chAutoWrap"};
    forms::CheckBox chCustomizable{&frMain, "chCustomizable"};
    forms::Label lbShortcutKey{&frMain, "lbShortcutKey"};
    forms::ComboBox coShortcutKey{&frMain, "coShortcutKey", forms::vbComboDropdownList};
    forms::PictureBox picForecolor{&frMain, "picForecolor"};
    forms::Label Label1{&frMain, "Label1"};
    forms::TextBox txtForecolor{&frMain, "txtForecolor"};
    forms::CommandButton cmdColors{&frMain, "cmdColors"};
    forms::Label lbForecolorSource{&frMain, "lbForecolorSource"};
    forms::ComboBox coForecolorSource{&frMain, "coForecolorSource",
                                      forms::vbComboDropdownList};
    forms::Label lbDisplayStyle{&frMain, "lbDisplayStyle"};
    forms::ComboBox coDisplayStyle{&frMain, "coDisplayStyle", forms::vbComboDropdownList};
    forms::Label lbMenuVisibility{&frMain, "lbMenuVisibility"};
    forms::ComboBox coMenuVisibility{&frMain, "coMenuVisibility", forms::vbComboDropdownList};
    forms::Label lbCategory{&frMain, "lbCategory"};
    forms::ComboBox coCategory{&frMain, "coCategory"};
    forms::Label lbTooltipText{&frMain, "lbTooltipText"};
    forms::TextBox txtTooltipText{&frMain, "txtTooltipText"};

    // ---- frControls(1): state buttons ------------------------------------
    forms::Label lbState{&frControls(1), "lbState"};
    forms::ComboBox coState{&frControls(1), "coState", forms::vbComboDropdownList};
    forms::Label lbStateGroupName{&frControls(1), "lbStateGroupName"};
    forms::ComboBox coStateGroupName{&frControls(1), "coStateGroupName"};
    forms::CheckBox chStateAllowAllUp{&frControls(1), "chStateAllowAllUp"};

    // ---- frControls(4): combo box ----------------------------------------
    forms::Label Label7{&frControls(4), "Label7"};
    forms::ComboBox coComboStyle{&frControls(4), "coComboStyle", forms::vbComboDropdownList};
    forms::Label lbComboWidth{&frControls(4), "lbComboWidth"};
    forms::TextBox txtComboWidth{&frControls(4), "txtComboWidth"};
    forms::Label lbComboDefText{&frControls(4), "lbComboDefText"};
    forms::TextBox txtComboDefText{&frControls(4), "txtComboDefText"};
    forms::CheckBox chComboLocked{&frControls(4), "chComboLocked"};
    forms::CheckBox chComboSorted{&frControls(4), "chComboSorted"};
    forms::ListView lvComboItems{&frControls(4), "lvComboItems"};
    // The in-place editor of an item's text, laid over its row.
    forms::TextBox txtLabelEdit{&frControls(4), "txtLabelEdit"};
    forms::Label lblItemData{&frControls(4), "lblItemData"};
    forms::TextBox txtItemData{&frControls(4), "txtItemData"};
    forms::CommandButton cmdComboNew{&frControls(4), "cmdComboNew"};
    forms::CommandButton cmdComboRemoveAll{&frControls(4), "cmdComboRemoveAll"};
    forms::CommandButton cmdComboRemove{&frControls(4), "cmdComboRemove"};

    // ---- frControls(5): edit ---------------------------------------------
    forms::Label lbTextboxText{&frControls(5), "lbTextboxText"};
    forms::TextBox txtTextboxText{&frControls(5), "txtTextboxText"};
    forms::Label lbTextboxMaxLength{&frControls(5), "lbTextboxMaxLength"};
    forms::TextBox txtTextboxMaxLength{&frControls(5), "txtTextboxMaxLength"};
    forms::Label Label6{&frControls(5), "Label6"};
    forms::TextBox txtTextboxPasswordChar{&frControls(5), "txtTextboxPasswordChar"};
    forms::CheckBox chTextboxLocked{&frControls(5), "chTextboxLocked"};
    forms::Label Label5{&frControls(5), "Label5"};
    forms::TextBox txtTextboxWidth{&frControls(5), "txtTextboxWidth"};

    // ---- Description tab ---------------------------------------------------
    forms::TextBox txtDescription{&frDescriptionTab, "txtDescription", forms::MultiLineText};

    // ---- Pictures tab (its editor: frmToolPictures.cpp) ---------------------
    forms::Label lbImageSize{&frPicturesTab, "lbImageSize"};
    forms::ComboBox coImageSize{&frPicturesTab, "coImageSize", forms::vbComboDropdownList};
    ZentribarControl tbarMisc{&frPicturesTab, "tbarMisc"};
    forms::TabStrip tabPics{&frPicturesTab, "tabPics"};
    ZentribarControl tbarTools{&frPicturesTab, "tbarTools"};
    forms::ControlArray<forms::Label> lbPalette{&frPicturesTab, "lbPalette", 17};
    forms::CommandButton cmdGetCustomColor{&frPicturesTab, "cmdGetCustomColor"};
    forms::PictureBox picForecolorPreview{&frPicturesTab, "picForecolorPreview"};
    forms::PictureBox picBackcolorPreview{&frPicturesTab, "picBackcolorPreview"};
    forms::PictureBox picMaskColor{&frPicturesTab, "picMaskColor"};
    forms::CommandButton cmdChangeColor{&frPicturesTab, "cmdChangeColor"};
    forms::PictureBox picPreviewHolder{&frPicturesTab, "picPreviewHolder"};
    forms::PictureBox picPreview{&picPreviewHolder, "picPreview"};
    forms::ControlArray<forms::PictureBox> picActual{&frPicturesTab, "picActual", 4};
    forms::CommandButton cmdImage{&frPicturesTab, "cmdImage"};
    forms::CommandButton cmdGrabImage{&frPicturesTab, "cmdGrabImage"};
    // Made after the tab strip so that it lies above it.
    forms::PictureBox picCanvas{&frPicturesTab, "picCanvas"};
    forms::PictureBox picWork{this, "picWork"};
    forms::CommonDialog ComDlg{this, "ComDlg"};
    forms::Timer Timer1{this, "Timer1"};
    forms::Timer timerCoverup{this, "timerCoverup"};
    forms::Menu mnuImage{this, "mnuImage"};
    forms::Menu mnuImport{this, "mnuImport", &mnuImage};
    forms::Menu mnuExport{this, "mnuExport", &mnuImage};
    // Only its Y1 is used: the lower edge of the canvas area (twips).
    struct { float Y1 = 0; } lineMarker;

    forms::CommandButton cmdOK{this, "cmdOK"};
    forms::CommandButton cmdCxl{this, "cmdCxl"};

    // ---- the calling protocol ----------------------------------------------
    bool bEditMode = false;
    QString sTool;
    bool bCanceled = true;
    com::Object oTool;

    frmTool();
    static frmTool& get() { return forms::instance<frmTool>(); }
    QString className() const override { return QStringLiteral("frmTool"); }

    void InitDrawingStuff();   // the picture editor's start state (Pictures tab)
    void LoadComboStrings();
    void LoadScreenFields();
    void EvalComboItemSelected();
    void InitScreenFields();

    // The Pictures tab's hooks: the tool's stored pictures into the editor
    // (edit mode, after the fields), the edited pictures into the tool (OK,
    // after the common properties), its first showing, and the release of its
    // engines at unload. Defined in frmToolPictures.cpp.
    void LoadToolPictures(const std::shared_ptr<toolbar::Tool>& tool);
    void StoreToolPictures(const std::shared_ptr<toolbar::Tool>& tool);
    void ShowPicturesTab();
    void ReleasePictureEngines();

    // ---- the picture editor (frmToolPictures*.cpp, frmToolPalette.cpp) ----
    int32_t GetMaskColor(forms::PictureBox& pic);
    // Engine notifications: 2/3 a colour was picked up, 4 a floating
    // selection appeared, 5 the picture size changed.
    void Notify(int16_t iNotifyCode);
    void SetCanvasSize();
    void SetPreviewSizeAndPosition(forms::PictureBox& pic);
    void SetActualSize(forms::PictureBox& pic);
    void ReplacePictureColor(forms::PictureBox& pic, int32_t oldColor, int32_t newColor);
    void ScanPictureColors(forms::PictureBox& pic, bool& hasMask, bool& hasOther);
    void MarkPictureMaskPixel(gdi::HDC hDC);
    // Engine of state picture i (null until the tab was first shown).
    CDraw* engine(int i) const { return m_engines.at(size_t(i)).get(); }
    CDraw* currentEngine();
    void ExecuteMiscTool(const QString& toolId);
    bool IsMiscToolEnabled(const QString& toolId);
    bool IsFocusOnPictureNavigation();
    void Form_KeyDown(int16_t& KeyCode, int16_t Shift);
    void tbarTools_ToolClick(const QString& toolId);
    // The canvas area recorded at load (twips).
    int16_t canvasAreaWidth() const { return m_canvasAreaWidth; }

private:
    void Form_Design() override;
    void Form_Load() override;
    void Form_Unload(int16_t& Cancel) override;
    void wireEvents();

    // OK path (frmToolSave.cpp)
    void cmdOK_Click();
    bool ValidateFields();
    void FailValidation(forms::Control& field, bool selectText);
    uint8_t ComputeChangeFlags(const toolbar::Tool& tool);
    void WriteTool(const std::shared_ptr<toolbar::Tool>& tool);
    void WriteCategory(const std::shared_ptr<toolbar::Tool>& tool);
    void WriteTypeProperties(const std::shared_ptr<toolbar::Tool>& tool);
    void CommitPendingItemEdit();
    bool FindToolUsingShortcut(int32_t shortcut, QString& toolId, QString& ownerId);
    void PropagateToolChanges(const std::shared_ptr<toolbar::Tool>& source, uint8_t flags);
    void PropagateToolChangesInTools(const toolbar::Tools& tools,
                                     const std::shared_ptr<toolbar::Tool>& source,
                                     uint8_t flags, int depth = 0);
    static int16_t WidthOfText(const QString& text);

    // Fields
    void LoadGroupAllowAllUp(const QString& groupName);
    forms::ListItem* GetSelectedComboListItem(forms::ListView& listView);
    void coType_Click();
    void coComboStyle_Click();
    void chComboSorted_Click();
    void cmdComboNew_Click();
    void cmdComboRemove_Click();
    void cmdComboRemoveAll_Click();
    void lvComboItems_Click();
    void txtItemData_Change();
    void txtName_Change();
    void txtID_Change();
    void setIDText(const QString& text);   // the dialog's own write, not typed
    void coType_KeyDown(int16_t& KeyCode, int16_t Shift);
    void txtDescription_KeyDown(int16_t& KeyCode, int16_t Shift);
    void txtForecolor_LostFocus();
    void cmdColors_Click();
    void cmdCxl_Click();
    void tabMain_Click(int16_t PreviousTab);
    void fieldGotFocus(forms::Control& field, bool selectText);

    // In-place editing of a combo item's text.
    void StartItemLabelEdit();
    void EndItemLabelEdit(bool commit);
    void lvComboItems_BeforeLabelEdit();
    void lvComboItems_AfterLabelEdit(bool& Cancel, const QString& NewString,
                                     forms::ListItem& item);
    void txtLabelEdit_KeyDown(int16_t& KeyCode, int16_t Shift);

    static QString StripBlanksAndAmpersands(const QString& text);

    QString sLastCategory;
    QString sImageDir;
    QString sLoadedID;
    int32_t iLoadedShortcut = 0;
    bool bIDEdited = false;
    bool bSettingID = false;
    bool bLoading = false;
    bool bLabelEditing = false;
    bool bItemDataGuard = false;
    bool bSkipComboEval = false;
    forms::Control* ctlFocused = nullptr;
    forms::ListItem* m_editedItem = nullptr;   // item under the in-place editor

    // ---- picture editor ---------------------------------------------------
    void DesignPicturesTab();
    void WirePicturesTab();
    void BuildPalettes();
    void SetPaletteToolTips();
    void CheckDrawingTool(const QString& key);
    void AdaptPicturesToMaskColor();
    void ResizePictureBoxes();
    void CenterCanvas();
    void FillTransparentPattern(forms::PictureBox& pic, gdi::RECT rect);
    void PaintChangeColorButton();
    void UpdateSwatch(forms::PictureBox& swatch, int32_t color);
    void PaintSwatchIfMask(forms::PictureBox& swatch);
    void ShowColorDialog(int32_t start, const std::function<void(int32_t)>& store);
    void RepaintCurrentViews();
    void AfterPictureReplaced(bool refreshPreview);
    QString ShownStateName();
    void tabPics_Click();
    void picCanvas_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void picCanvas_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void picCanvas_MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void picPreview_MouseDown(int16_t Button);
    void lbPalette_MouseDown(int16_t Index, int16_t Button);
    void picMaskColor_MouseDown(int16_t Button);
    void cmdGetCustomColor_Click();
    void cmdChangeColor_Click();
    void coImageSize_Click();
    void cmdImage_Click();
    void mnuExport_Click();
    void mnuImport_Click();
    void cmdGrabImage_Click();
    void tbarMisc_ToolClick(const QString& toolId);
    void Timer1_Timer();
    void timerCoverup_Timer();

    struct EngineDeleter {
        void operator()(CDraw* engine) const;   // CDraw stays incomplete here
    };
    std::array<std::unique_ptr<CDraw, EngineDeleter>, 4> m_engines;
    std::shared_ptr<com::Dispatch> m_engineOwner;   // answers the engines' Notify
    bool m_picturesInitialised = false;
    bool m_canvasBusy = false;
    int16_t m_canvasAreaWidth = 0;
    int16_t m_canvasAreaHeight = 0;
    uint32_t m_lastKeyTime = 0;
    int16_t m_lastKeyCode = 0;
    int16_t m_lastKeyShift = 0;
};
