#pragma once
// "Get Path": picks the folder the main window searches.

#include "platform/forms/CommandButton.h"
#include "platform/forms/DirListBox.h"
#include "platform/forms/DriveListBox.h"
#include "platform/forms/Form.h"

class PathForm final : public forms::Form {
public:
    PathForm();
    QString className() const override { return QStringLiteral("PathForm"); }

    forms::DriveListBox Drive1{this, QStringLiteral("Drive1")};
    forms::DirListBox Dir1{this, QStringLiteral("Dir1")};
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
