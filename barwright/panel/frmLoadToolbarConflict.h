#pragma once
// "Confirm Toolbar Replace": asked by the toolbar copy before a toolbar of the
// working copy is replaced by the file's toolbar of the same name, showing
// both toolbars' styles and tool entries. The caller sets ToolBarName,
// OldTbar and NewTBar, shows it modally, reads ReturnCode (1 Yes, 2 Yes To
// All, 3 No, 4 No To All, 5 Cancel; closing the window answers 5) and
// unloads it.

#include "platform/automation/Dispatch.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/Label.h"
#include "platform/forms/ListView.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/TextBox.h"

#include <cstdint>

class frmLoadToolbarConflict final : public forms::Form {
public:
    forms::Label lbMain{this, QStringLiteral("lbMain")};
    forms::Label lbReplace{this, QStringLiteral("lbReplace")};
    forms::Label lbOldStyle{this, QStringLiteral("lbOldStyle")};
    forms::TextBox txtOldStyle{this, QStringLiteral("txtOldStyle")};
    forms::Label lbOldTools{this, QStringLiteral("lbOldTools")};
    forms::ListView lvOld{this, QStringLiteral("lvOld")};
    forms::Label lbWithThis{this, QStringLiteral("lbWithThis")};
    forms::Label lbNewStyle{this, QStringLiteral("lbNewStyle")};
    forms::TextBox txtNewStyle{this, QStringLiteral("txtNewStyle")};
    forms::Label lbNewTools{this, QStringLiteral("lbNewTools")};
    forms::ListView lvNew{this, QStringLiteral("lvNew")};
    forms::ImageList imlstOld{this, QStringLiteral("imlstOld")};
    forms::ImageList imlstNew{this, QStringLiteral("imlstNew")};
    forms::ImageList ImageListWork{this, QStringLiteral("ImageListWork")};
    forms::PictureBox picWork{this, QStringLiteral("picWork")};
    forms::CommandButton cmdYes{this, QStringLiteral("cmdYes")};
    forms::CommandButton cmdYesAll{this, QStringLiteral("cmdYesAll")};
    forms::CommandButton CmdNo{this, QStringLiteral("CmdNo")};
    forms::CommandButton cmdNoAll{this, QStringLiteral("cmdNoAll")};
    forms::CommandButton cmdCxl{this, QStringLiteral("cmdCxl")};

    QString ToolBarName;
    com::Object NewTBar;
    com::Object OldTbar;
    int32_t ReturnCode = 0;

    frmLoadToolbarConflict();
    static frmLoadToolbarConflict& get() { return forms::instance<frmLoadToolbarConflict>(); }
    QString className() const override { return QStringLiteral("frmLoadToolbarConflict"); }

    // One row per entry of tbar's Tools (separators too): the ID with its
    // picture from ctlImlst, then Name and Category; "<No Tools>" when empty.
    void LoadListviewWithTools(forms::ListView& ctlList, forms::ImageList& ctlImlst,
                               const com::Object& tbar);

private:
    void Form_Design() override;
    void Form_Load() override;
    void Form_Unload(int16_t& Cancel) override;
    void answer(int32_t code);
};
