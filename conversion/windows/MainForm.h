#pragma once
// The main window of the conversion program: pick a conversion, search
// folders for projects that use its source product, check the ones to
// convert and convert them.

#include "platform/forms/CheckBox.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/CommonDialog.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/Menu.h"
#include "platform/forms/TextBox.h"
#include "platform/runtime/Collection.h"

#include <QSet>
#include <QString>

class MainForm final : public forms::Form {
public:
    MainForm();
    QString className() const override { return QStringLiteral("MainForm"); }

    forms::ControlArray<forms::Frame> Frame1{this, QStringLiteral("Frame1"), 1};
    forms::Label Label4{this, QStringLiteral("Label4")};
    forms::ComboBox cboProduct{this, QStringLiteral("cboProduct"), forms::vbComboDropdownList};
    forms::Label Label1{this, QStringLiteral("Label1")};
    forms::TextBox txtPath{this, QStringLiteral("txtPath")};
    forms::CommandButton cmdBrowse{this, QStringLiteral("cmdBrowse")};
    forms::CheckBox chkSubFolders{this, QStringLiteral("chkSubFolders")};
    forms::CommandButton cmdFind{this, QStringLiteral("cmdFind")};
    forms::Label Label3{this, QStringLiteral("Label3")};
    forms::ListBox List1{this, QStringLiteral("List1"), forms::vbListBoxCheckbox};
    forms::Label Label2{this, QStringLiteral("Label2")};
    forms::CommandButton cmdConvert{this, QStringLiteral("cmdConvert")};
    forms::CommonDialog CommonDialog1{this, QStringLiteral("CommonDialog1")};

    forms::Menu mFile{this, QStringLiteral("mFile")};
    forms::Menu mFileOpen{this, QStringLiteral("mFileOpen"), &mFile};
    forms::Menu mFileExit{this, QStringLiteral("mFileExit"), &mFile};
    forms::Menu mAction{this, QStringLiteral("mAction")};
    forms::Menu mActionFind{this, QStringLiteral("mActionFind"), &mAction};
    forms::Menu mActionConvert{this, QStringLiteral("mActionConvert"), &mAction};
    forms::Menu mActionSep{this, QStringLiteral("mActionSep"), &mAction};
    forms::Menu mActionCheckAll{this, QStringLiteral("mActionCheckAll"), &mAction};
    forms::Menu mActionUncheckAll{this, QStringLiteral("mActionUncheckAll"), &mAction};
    forms::Menu mActionClear{this, QStringLiteral("mActionClear"), &mAction};
    forms::Menu mHelp{this, QStringLiteral("mHelp")};
    forms::Menu mHelpAbout{this, QStringLiteral("mHelpAbout"), &mHelp};

    // Search flags: a running search ends when either changes.
    bool bContinueFind = true;
    bool bStopFind = false;
    // List1 indexes of the converted projects, shown by the results window.
    rt::Collection cConverted;

    void GetSettings();
    void SaveSettings();
    void ClearListBox();
    void ResetFindOperation();
    void CheckAllItems(bool bCheckAll);
    void TraverseDir(QString sDirPath, bool bSubDirs);
    static QString TrimTrailingBackslash(const QString& s);
    bool IsAlreadyInList(const QString& sFilename, const QString& sFolder);
    bool isSearching() const { return m_searching; }

protected:
    void Form_Design() override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;
    void Form_Unload(int16_t& Cancel) override;

private:
    void Form_KeyDown(int16_t& KeyCode, int16_t Shift);
    void cboProduct_Click();
    void txtPath_Change();
    void cmdFind_Click();
    void cmdConvert_Click();
    void cmdBrowse_Click();
    void List1_Click();
    void mFileOpen_Click();
    void mFileExit_Click();
    void mActionCheckAll_Click();
    void mActionUncheckAll_Click();
    void mActionClear_Click();
    void mHelpAbout_Click();
    void SetConvertEnabled(bool on);
    bool IsListed(const QString& path);
    void AddProject(const QString& path);

    bool m_searching = false;
    // The projects listed, each by its canonical path, for the list of
    // m_listedCount entries (rebuilt when the list changed in between).
    QSet<QString> m_listed;
    int32_t m_listedCount = 0;
    bool m_closedDuringSearch = false;
};
