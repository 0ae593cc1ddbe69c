#pragma once
// "Load Tools From Configuration": lists the tool definitions of another
// configuration file (loaded into the hidden tbarWork) and copies the
// selected ones into the working copy, asking before an existing ID is
// replaced. The caller sets ConfigFileName, shows it modally and reads
// bCanceled: True after Cancel or a file that could not be loaded, False
// after OK (also when a replace question's Cancel stopped the copy).

#include "barwright/panel/CopyDialogButtons.h"
#include "barwright/panel/ZentribarControl.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/Label.h"
#include "platform/forms/ListView.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/TextBox.h"

class frmLoadTools final : public forms::Form {
public:
    ZentribarControl tbarWork{this, QStringLiteral("tbarWork")};
    forms::Label lbLoadingLit{this, QStringLiteral("lbLoadingLit")};
    forms::TextBox txtLoadingFrom{this, QStringLiteral("txtLoadingFrom")};
    forms::Label Label1{this, QStringLiteral("Label1")};
    forms::ListView lvTools{this, QStringLiteral("lvTools")};
    forms::ImageList ImageList1{this, QStringLiteral("ImageList1")};
    forms::ImageList ImageList2{this, QStringLiteral("ImageList2")};
    forms::PictureBox picWork{this, QStringLiteral("picWork")};
    forms::CommandButton cmdOK{this, QStringLiteral("cmdOK")};
    forms::CommandButton cmdCxl{this, QStringLiteral("cmdCxl")};
    forms::CommandButton cmdSelectAll{this, QStringLiteral("cmdSelectAll")};
    forms::CommandButton cmdClearAll{this, QStringLiteral("cmdClearAll")};

    QString ConfigFileName;
    bool bCanceled = true;

    frmLoadTools();
    static frmLoadTools& get() { return forms::instance<frmLoadTools>(); }
    QString className() const override { return QStringLiteral("frmLoadTools"); }

    // True when at least one item of ctlList is selected.
    static bool ItemSelected(forms::ListView& ctlList);
    // One item per tool definition of tbarWork, in its Tools order.
    void LoadListviewWithTools();

private:
    CopyDialogButtons buttons() { return {cmdOK, cmdCxl, cmdSelectAll, cmdClearAll}; }
    void Form_Design() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int16_t& Cancel) override;
    bool LoadConfiguration();
    bool LoadSelectedTools();
    void SetCmdBtnsEnabledStatus();
    void selectAll(bool on);
    void cmdOK_Click();
    void cmdCxl_Click();

    bool bLoaded = false;
};
