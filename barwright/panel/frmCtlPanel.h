#pragma once
// The control panel, the utility's main window: the Toolbars, Tools and
// Options tabs over the working copy, the main commands (Import, Export, OK,
// Cancel, Apply, Help), the exchange of the configuration with the client
// control, the dirty flag, and the exit. Owned by the preview window.

#include "platform/automation/Dispatch.h"
#include "platform/forms/CheckBox.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/CommonDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/Label.h"
#include "platform/forms/Menu.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/TabStrip.h"
#include "platform/forms/TextBox.h"
#include "platform/forms/Timer.h"
#include "platform/forms/TreeView.h"
#include "platform/runtime/Collection.h"

#include <array>
#include <memory>

class CImagelist;

class frmCtlPanel final : public forms::Form {
public:
    // ---- tabs ------------------------------------------------------------
    forms::TabStrip tabMain{this, "tabMain"};

    // Toolbars tab
    forms::ListBox liTBars{tabMain.page(0), "liTBars", forms::vbListBoxCheckbox};
    forms::Frame frCmdsToolbars{tabMain.page(0), "frCmdsToolbars"};
    forms::CommandButton cmdNewTBar{&frCmdsToolbars, "cmdNewTBar"};
    forms::CommandButton cmdEditTBar{&frCmdsToolbars, "cmdEditTBar"};
    forms::CommandButton cmdDeleteTBar{&frCmdsToolbars, "cmdDeleteTBar"};
    forms::CommandButton cmdLoadTBar{&frCmdsToolbars, "cmdLoadTBar"};

    // Tools tab
    forms::TreeView tvTools{tabMain.page(1), "tvTools"};
    forms::CheckBox chDisplayByCategory{tabMain.page(1), "chDisplayByCategory"};
    forms::Frame frCmdsTools{tabMain.page(1), "frCmdsTools"};
    forms::CommandButton cmdNewTool{&frCmdsTools, "cmdNewTool"};
    forms::CommandButton cmdEditTool{&frCmdsTools, "cmdEditTool"};
    forms::CommandButton cmdDeleteTool{&frCmdsTools, "cmdDeleteTool"};
    forms::CommandButton cmdLoadTool{&frCmdsTools, "cmdLoadTool"};

    // Options tab
    forms::Frame frOptions{tabMain.page(2), "frOptions"};
    forms::CheckBox chLargeIcons{&frOptions, "chLargeIcons"};
    forms::CheckBox chShowTooltips{&frOptions, "chShowTooltips"};
    forms::CheckBox chShowShortcuts{&frOptions, "chShowShortcuts"};
    forms::CheckBox chActiveColors{&frOptions, "chActiveColors"};
    forms::Label lbFontSource{&frOptions, "lbFontSource"};
    forms::ComboBox coFontSource{&frOptions, "coFontSource", forms::vbComboDropdownList};
    forms::Label lbMenuAnimations{&frOptions, "lbMenuAnimations"};
    forms::ComboBox coMenuAnimations{&frOptions, "coMenuAnimations",
                                     forms::vbComboDropdownList};
    forms::Label lbPersonalizedMenus{&frOptions, "lbPersonalizedMenus"};
    forms::ComboBox coPersonalizedMenus{&frOptions, "coPersonalizedMenus",
                                        forms::vbComboDropdownList};
    forms::Label lbStyle{&frOptions, "lbStyle"};
    forms::ComboBox coStyle{&frOptions, "coStyle", forms::vbComboDropdownList};
    forms::Label lbFloatingTBFadeDelay{&frOptions, "lbFloatingTBFadeDelay"};
    forms::TextBox txtFloatingTBFadeDelay{&frOptions, "txtFloatingTBFadeDelay"};
    forms::Label lbImageImportOption{&frOptions, "lbImageImportOption"};
    forms::ComboBox coImageImportOption{&frOptions, "coImageImportOption",
                                        forms::vbComboDropdownList};

    // ---- main commands ---------------------------------------------------
    forms::Frame frCmdsMain{this, "frCmdsMain"};
    forms::CommandButton cmdOK{&frCmdsMain, "cmdOK"};
    forms::CommandButton cmdCxl{&frCmdsMain, "cmdCxl"};
    forms::CommandButton cmdApply{&frCmdsMain, "cmdApply"};
    forms::CommandButton cmdImport{&frCmdsMain, "cmdImport"};
    forms::CommandButton cmdExport{&frCmdsMain, "cmdExport"};
    forms::CommandButton cmdHelp{&frCmdsMain, "cmdHelp"};

    // ---- windowless and hidden parts ---------------------------------------
    forms::Timer Timer1{this, "Timer1"};   // routes the close box to Cancel
    forms::Timer Timer2{this, "Timer2"};   // deferred tool menu commands
    forms::ImageList imlstTools{this, "imlstTools"};
    forms::ImageList ImageListWork{this, "ImageListWork"};
    forms::PictureBox picWork{this, "picWork"};
    forms::PictureBox imgCursorCopy{this, "imgCursorCopy"};
    forms::PictureBox imgCursorNodrop{this, "imgCursorNodrop"};
    forms::CommonDialog ComDlg{this, "ComDlg"};

    // ---- pop-up menus ----------------------------------------------------
    forms::Menu mnu_Tbar{this, "mnu_Tbar"};
    forms::Menu mnu_newTbar{this, "mnu_newTbar", &mnu_Tbar};
    forms::Menu mnu_editTbar{this, "mnu_editTbar", &mnu_Tbar};
    forms::Menu mnu_deleteTbar{this, "mnu_deleteTbar", &mnu_Tbar};
    forms::Menu mnu_Sep1{this, "mnu_Sep1", &mnu_Tbar};
    forms::Menu mnu_LoadTbar{this, "mnu_LoadTbar", &mnu_Tbar};
    forms::Menu mnu_Tool{this, "mnu_Tool"};
    forms::Menu mnu_newTool{this, "mnu_newTool", &mnu_Tool};
    forms::Menu mnu_editTool{this, "mnu_editTool", &mnu_Tool};
    forms::Menu mnu_deleteTool{this, "mnu_deleteTool", &mnu_Tool};
    forms::Menu mnu_Sep2{this, "mnu_Sep2", &mnu_Tool};
    forms::Menu mnu_LoadTool{this, "mnu_LoadTool", &mnu_Tool};
    forms::Menu mnu_Sep3{this, "mnu_Sep3", &mnu_Tool};
    forms::Menu mnu_CopyToolIDs{this, "mnu_CopyToolIDs", &mnu_Tool};

    // Category names keyed by their upper case, and state-group names; read
    // by the tool dialog.
    rt::Collection cCategories;
    rt::Collection cGroups;

    frmCtlPanel();
    ~frmCtlPanel() override;
    static frmCtlPanel& get() { return forms::instance<frmCtlPanel>(); }
    QString className() const override { return QStringLiteral("frmCtlPanel"); }

    // ---- the working copy exchange and change tracking -------------------
    void ToolBarModified(int32_t Change, com::Object Toolbar, com::Object Tool);
    bool IsDirty() const { return m_dirty; }
    void MakeDirty(bool bDirty);
    bool LoadControlProperties(const com::Object& ctlFrom, const com::Object& ctlTo);
    bool SaveControlProperties(const com::Object& ctlFrom, const com::Object& ctlTo,
                               bool bImmediate = false);

    // ---- fields and command states ---------------------------------------
    void LoadScreenFields();
    void SetCmdBtnsEnabledStatus();
    void LoadToolbarsIntoListbox(forms::ListBox& list);
    static QString FormatToolDisplayString(const QString& ID, const QString& Name);
    static bool IsToolNode(const QString& key);

    // The close box of the panel or of the preview: cancelled now, Cancel
    // pressed 50 ms later.
    void routeCloseToCancel();

    // What the panel knows beside its controls (for the program and tests).
    bool applied() const { return m_applied; }
    bool workingCopyVisibleAtLoad() const { return m_wcVisibleAtLoad; }
    const QString& importExportDir() const { return m_importExportDir; }
    // The working copy (frmPreview.tbarPreview), late-bound.
    static com::Object workingCopy();

private:
    void Form_Design() override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;
    void Form_Unload(int16_t& Cancel) override;

    void designToolbarsTab();
    void designToolsTab();
    void designOptionsTab();
    void designMainCommands();
    void prepareCategoryPicture();
    void layoutTabCommandFrame(forms::Frame& frame,
                               const std::array<forms::CommandButton*, 4>& buttons);
    // The New, Edit, Delete and Load buttons under a tab's list.
    void designListCommands(forms::Frame& frame,
                            const std::array<forms::CommandButton*, 4>& buttons,
                            const std::array<QString, 4>& tips);
    void ApplyChanges(bool bImmediate);
    void ExitPanel();

    void cmdApply_Click();
    void cmdOK_Click();
    void cmdCxl_Click();
    void Timer1_Timer();
    void optionCheck_Click(forms::CheckBox& box, int32_t dispid, bool ignoreErrors);
    void optionCombo_Click(forms::ComboBox& box, int32_t dispid);
    void txtFloatingTBFadeDelay_Change();
    void chDisplayByCategory_Click();

    // Layout reference (inner size in pixels at the last layout).
    int32_t m_refWidth = 0;
    int32_t m_refHeight = 0;
    QString m_importExportDir;
    bool m_dirty = false;
    bool m_applied = false;
    bool m_wcVisibleAtLoad = true;
    bool m_toolPicturesLoaded = false;
    bool m_toolTreeLoaded = false;
    bool m_listRecheckGuard = false;
    bool m_listClickGuard = false;
    bool m_treeClickGuard = false;
    // The position state of the toolbar a drag began on (change 9).
    bool m_snapshotPending = false;
    bool m_refusingFadeDelay = false;   // the fade delay box is being put back
    std::array<int32_t, 7> m_snapshot{};

    // ---- toolbar and tool commands (frmCtlPanelToolbarCmds.cpp,
    //      frmCtlPanelToolCmds.cpp) ------------------------------------------
public:
    // First free proposed name ("ToolBar<n>", "Tool<n>" for the ID "ID_Tool<n>"),
    // n from 1 to 500; "" when all are taken.
    QString GetNewToolbarName();
    QString GetNewToolName();

private:
    void cmdNewTBar_Click();
    void cmdEditTBar_Click();
    void cmdDeleteTBar_Click();
    void liTBars_ItemCheck(int16_t Item);
    void liTBars_KeyUp(int16_t& KeyCode, int16_t Shift);
    void liTBars_MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void mnu_Tbar_Click();

    void cmdNewTool_Click();
    void cmdEditTool_Click();
    void cmdDeleteTool_Click();
    void tvTools_DblClick();
    void tvTools_KeyUp(int16_t& KeyCode, int16_t Shift);
    void tvTools_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void tvTools_MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void mnu_Tool_Click();
    void startDeferredToolCommand(const QString& tag);
    void Timer2_Timer();
    void mnu_CopyToolIDs_Click();
    void tvTools_OLEStartDrag(forms::DataObject& Data, int32_t& AllowedEffects);
    void tvTools_OLEGiveFeedback(int32_t& Effect, bool& DefaultCursors);
    void tvTools_OLECompleteDrag(int32_t Effect);
    // A left button release and press sent to a list or tree at a point of
    // its mouse events, as the user's click would make the item current.
    static void sendLeftButtonUpDown(forms::Control& view, float X, float Y);
    bool wireToolbarCommands();   // frmCtlPanelToolbarCmds.cpp
    bool wireToolCommands();      // frmCtlPanelToolCmds.cpp

    [[maybe_unused]] bool m_toolbarCommandsWired = wireToolbarCommands();
    [[maybe_unused]] bool m_toolCommandsWired = wireToolCommands();
    // ---- end of toolbar and tool commands ------------------------------------

    // ---- lists and files (frmCtlPanelLists.cpp, frmCtlPanelFiles.cpp) ------
public:
    // Help context ids of the three tabs.
    static constexpr int32_t kHelpToolbars = 2000;
    static constexpr int32_t kHelpTools = 2100;
    static constexpr int32_t kHelpOptions = 2200;

    static bool IsToolNode(const forms::Node* node);   // false for no node
    // Refills the tree, cCategories and cGroups from the working copy.
    void LoadToolsIntoTreeview(bool bGroupByCategory, forms::TreeView& tree);
    // An open dialog for a configuration file: the path, or "" when cancelled.
    QString GetConfigFileName(const QString& title);
    void ReloadAllLists();

    // For the program and tests.
    bool toolPicturesLoaded() const { return m_toolPicturesLoaded; }
    bool toolTreeLoaded() const { return m_toolTreeLoaded; }
    bool treeContainerFlag() const { return m_treeContainerFlag; }
    const CImagelist* toolPictureList() const { return m_toolPictureList.get(); }

private:
    void ClearToolImages();
    void LoadToolsPage();
    void tabMain_Click(int16_t PreviousTab);
    void liTBars_Click();
    void tvTools_Collapse();
    void tvTools_NodeClick();
    void cmdImport_Click();
    void cmdExport_Click();
    void cmdHelp_Click();
    void cmdLoadTBar_Click();
    void cmdLoadTool_Click();
    bool wireListsAndFiles();   // hooks the handlers above to their controls

    std::unique_ptr<CImagelist> m_toolPictureList;   // made on first use
    bool m_treeContainerFlag = false;
    // Last member: runs once every control above exists.
    [[maybe_unused]] bool m_listsAndFilesWired = wireListsAndFiles();
    // ---- end of lists and files ------------------------------------------
};
