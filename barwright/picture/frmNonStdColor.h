#pragma once
// The question asked after a screen grab that holds colours outside the 16
// standard ones: convert them to the closest standard colour (Yes) or keep
// them (No); the check box keeps the answer for the rest of the run.

#include "platform/forms/CheckBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/PictureBox.h"

#include <cstdint>

class frmNonStdColor final : public forms::Form {
public:
    frmNonStdColor();
    static frmNonStdColor& get() { return forms::instance<frmNonStdColor>(); }
    QString className() const override { return QStringLiteral("frmNonStdColor"); }

    forms::PictureBox Image1{this, QStringLiteral("Image1")};
    forms::Label Label1{this, QStringLiteral("Label1")};
    forms::Label Label2{this, QStringLiteral("Label2")};
    forms::Label Label3{this, QStringLiteral("Label3")};
    forms::CheckBox chDontShowMessage{this, QStringLiteral("chDontShowMessage")};
    forms::CommandButton cmdOK{this, QStringLiteral("cmdOK")};
    forms::CommandButton CmdNo{this, QStringLiteral("CmdNo")};

private:
    void Form_Design() override;
    void Form_Load() override;
    void Form_Unload(int16_t& Cancel) override;
    void cmdOK_Click();
    void CmdNo_Click();

    int16_t m_savedPointer = 0;
};
