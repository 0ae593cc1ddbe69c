#pragma once
// The about box of the conversion program.

#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"

class AboutForm final : public forms::Form {
public:
    AboutForm();
    QString className() const override { return QStringLiteral("AboutForm"); }

    forms::Label AboutLabel{this, QStringLiteral("AboutLabel")};
    forms::Label BuildLabel{this, QStringLiteral("BuildLabel")};
    forms::CommandButton Command1{this, QStringLiteral("Command1")};

protected:
    void Form_Design() override;
    void Form_Load() override;
};
