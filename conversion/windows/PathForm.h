#pragma once
// "Get Path": picks the folder the main window searches.

#include "conversion/windows/PathLists.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"

class PathForm final : public forms::Form {
public:
    PathForm();
    QString className() const override { return QStringLiteral("PathForm"); }

    conv::DriveListBox Drive1{this, QStringLiteral("Drive1")};
    conv::DirListBox Dir1{this, QStringLiteral("Dir1")};
    forms::CommandButton cmdOK{this, QStringLiteral("cmdOK")};
    forms::CommandButton cmdCancel{this, QStringLiteral("cmdCancel")};

protected:
    void Form_Design() override;
    void Form_Load() override;

private:
    void Drive1_Change();
    void cmdOK_Click();
    void cmdCancel_Click();
};
