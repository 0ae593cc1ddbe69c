#pragma once
// "Confirm Tool Replace": asked by CToolCopier before a tool of the working
// copy is replaced by the tool of the same ID from a configuration file. The
// caller sets ToolID, OldTool and NewTool, shows it modally, reads ReturnCode
// (1 Yes, 2 Yes To All, 3 No, 4 No To All, 5 Cancel) and unloads it.

#include "platform/automation/Dispatch.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/TextBox.h"

#include <cstdint>

class frmLoadToolConflict final : public forms::Form {
public:
    forms::Label lbMain{this, QStringLiteral("lbMain")};
    forms::Label lbReplace{this, QStringLiteral("lbReplace")};
    forms::PictureBox picOld{this, QStringLiteral("picOld")};
    forms::Label lbOldType{this, QStringLiteral("lbOldType")};
    forms::TextBox txtOldType{this, QStringLiteral("txtOldType")};
    forms::Label lbOldCategory{this, QStringLiteral("lbOldCategory")};
    forms::TextBox txtOldCategory{this, QStringLiteral("txtOldCategory")};
    forms::Label lbOldDesc{this, QStringLiteral("lbOldDesc")};
    forms::TextBox txtOldDesc{this, QStringLiteral("txtOldDesc")};
    forms::Label lbWithThis{this, QStringLiteral("lbWithThis")};
    forms::PictureBox picNew{this, QStringLiteral("picNew")};
    forms::Label lbNewType{this, QStringLiteral("lbNewType")};
    forms::TextBox txtNewType{this, QStringLiteral("txtNewType")};
    forms::Label lbNewCategory{this, QStringLiteral("lbNewCategory")};
    forms::TextBox txtNewCategory{this, QStringLiteral("txtNewCategory")};
    forms::Label lbNewDesc{this, QStringLiteral("lbNewDesc")};
    forms::TextBox txtNewDesc{this, QStringLiteral("txtNewDesc")};
    forms::PictureBox picWork{this, QStringLiteral("picWork")};
    forms::CommandButton cmdYes{this, QStringLiteral("cmdYes")};
    forms::CommandButton cmdYesAll{this, QStringLiteral("cmdYesAll")};
    forms::CommandButton CmdNo{this, QStringLiteral("CmdNo")};
    forms::CommandButton cmdNoAll{this, QStringLiteral("cmdNoAll")};
    forms::CommandButton cmdCxl{this, QStringLiteral("cmdCxl")};

    QString ToolID;
    com::Object NewTool;
    com::Object OldTool;
    int32_t ReturnCode = 0;

    frmLoadToolConflict();
    static frmLoadToolConflict& get() { return forms::instance<frmLoadToolConflict>(); }
    QString className() const override { return QStringLiteral("frmLoadToolConflict"); }

private:
    void Form_Design() override;
    void Form_Load() override;
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;
    void Form_Unload(int16_t& Cancel) override;
    void answer(int32_t code);
    void cmdCxl_Click();
    bool confirmCancel();
    void showTool(const com::Object& tool, forms::TextBox& type, forms::TextBox& category,
                  forms::TextBox& description, forms::PictureBox& pic);
    void ShowToolPicture(forms::PictureBox& pic, const com::Object& tool);
};
