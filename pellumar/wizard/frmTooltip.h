#pragma once
// The little window beside the pointer while an image area is dragged out:
// "Selection Size: " and the size in pixels.

#include "platform/forms/Form.h"
#include "platform/forms/Label.h"

#include <cstdint>

class frmTooltip final : public forms::Form {
public:
    forms::Label lblSize{this, "lblSize"};
    int16_t SelectionWidth = 0;
    int16_t SelectionHeight = 0;

    static frmTooltip& get() { return forms::instance<frmTooltip>(); }
    // The text for the current size.
    QString Text() const;
    void Repaint();

private:
    void Form_Design() override;
    void Form_Load() override;
    void Form_Activate() override { Repaint(); }
};
