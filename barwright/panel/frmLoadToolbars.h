#pragma once
// "Load Toolbars From Configuration": lists the toolbars of another
// configuration file (loaded into the hidden tbarWork) and copies the
// selected ones, with the tools they hold, into the working copy: one menu
// bar per control, a question before a toolbar of the same name is replaced,
// tool questions through one CToolCopier, separators put back last. The
// caller sets ConfigFileName, shows it modally and reads bCanceled: True
// after Cancel or a file that could not be loaded, False after OK (also when
// a Cancel answer stopped the copy half-way; what was copied stays).

#include "barwright/panel/CopyDialogButtons.h"
#include "barwright/panel/ZentribarControl.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/TextBox.h"

class frmLoadToolbars final : public forms::Form {
public:
    ZentribarControl tbarWork{this, QStringLiteral("tbarWork")};
    forms::Label lbLoadingLit{this, QStringLiteral("lbLoadingLit")};
    forms::TextBox txtLoadingFrom{this, QStringLiteral("txtLoadingFrom")};
    forms::Label Label1{this, QStringLiteral("Label1")};
    forms::ListBox liToolbars{this, QStringLiteral("liToolbars"), forms::vbListBoxStandard,
                              forms::vbMultiSelectExtended};
    forms::CommandButton cmdOK{this, QStringLiteral("cmdOK")};
    forms::CommandButton cmdCxl{this, QStringLiteral("cmdCxl")};
    forms::CommandButton cmdSelectAll{this, QStringLiteral("cmdSelectAll")};
    forms::CommandButton cmdClearAll{this, QStringLiteral("cmdClearAll")};

    QString ConfigFileName;
    bool bCanceled = true;

    frmLoadToolbars();
    static frmLoadToolbars& get() { return forms::instance<frmLoadToolbars>(); }
    QString className() const override { return QStringLiteral("frmLoadToolbars"); }

private:
    CopyDialogButtons buttons() { return {cmdOK, cmdCxl, cmdSelectAll, cmdClearAll}; }
    void Form_Design() override;
    void Form_Load() override;
    void Form_Activate() override;
    bool LoadConfiguration();
    bool LoadSelectedToolbars();
    void liToolbars_Click();
    void selectAll(bool on);
    void cmdOK_Click();
    void cmdCxl_Click();

    bool bLoaded = false;
};
