#pragma once
// The preview window: hosts the working copy tbarPreview, which every editor
// of the utility changes, shows a placeholder while it has no toolbar and a
// banner in the free area, and passes the working copy's change events on
// to the control panel. It owns the panel.

#include "barwright/panel/ZentribarControl.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/PictureBox.h"

class frmPreview final : public forms::Form {
public:
    ZentribarControl tbarPreview{this, "tbarPreview"};
    forms::PictureBox picDummyToolbar{this, "picDummyToolbar"};
    forms::Label lbNoToolbars{&picDummyToolbar, "lbNoToolbars"};
    forms::PictureBox imgBanner{this, "imgBanner"};

    frmPreview();
    static frmPreview& get() { return forms::instance<frmPreview>(); }
    QString className() const override { return QStringLiteral("frmPreview"); }

    // Fits the working copy to the window and centres the banner in the area
    // the placeholder leaves free.
    void LayoutBanner();

private:
    void Form_Design() override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override;
    void Form_Unload(int16_t& Cancel) override;
    void tbarPreview_ConfigurationModified(int32_t Change, com::Object Toolbar,
                                           com::Object Tool);
};
