#pragma once
// "Converted Files": the projects the last conversions rewrote. OK takes
// them off the main window's list.

#include "platform/forms/ComboBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"

class ResultsForm final : public forms::Form {
public:
    ResultsForm();
    QString className() const override { return QStringLiteral("ResultsForm"); }

    forms::ListBox List1{this, QStringLiteral("List1")};
    forms::CommandButton cmdOK{this, QStringLiteral("cmdOK")};

protected:
    void Form_Design() override;
    void Form_Load() override;

private:
    void cmdOK_Click();
};
