#pragma once
// The colour chooser behind a colour field: the 16 standard colours and the
// 25 system colours. A click writes the choice into the caller's colour text
// box and swatch and hides the chooser, which stays loaded for the run.

#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/Label.h"
#include "platform/forms/ListView.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/TabStrip.h"
#include "platform/forms/TextBox.h"
#include "platform/forms/Timer.h"

class frmColors final : public forms::Form {
public:
    forms::TabStrip tabMain{this, "tabMain"};
    forms::ControlArray<forms::Label> lbPalette{tabMain.page(0), "lbPalette", 16};
    forms::ListView lvSysColors{tabMain.page(1), "lvSysColors"};
    forms::ImageList imlstColors{this, "imlstColors"};
    forms::PictureBox picWork{this, "picWork"};
    forms::Timer Timer1{this, "Timer1"};
    forms::CommandButton cmdOK{this, "cmdOK"};
    forms::CommandButton cmdCxl{this, "cmdCxl"};

    // Set by the caller before each showing.
    forms::PictureBox* SourceControlPic = nullptr;
    forms::TextBox* SourceControlText = nullptr;

    frmColors();
    static frmColors& get() { return forms::instance<frmColors>(); }
    QString className() const override { return QStringLiteral("frmColors"); }

    // Moves the window to (left, top) in screen pixels, keeping its size.
    void placeAt(int32_t left, int32_t top);

private:
    void Form_Design() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int16_t& Cancel) override;
    void Timer1_Timer();
    void lbPalette_Click(int index);
    void lvSysColors_Click();
    void lvSysColors_KeyPress(int16_t& KeyAscii);
    void tabMain_Click();
    void cmdOK_Click();
    void ChooseSystemColor();
    bool SystemRowChosen();
    QString MakeColorIconKey(int32_t colour);
    void LoadSystemColors();

    bool m_activated = false;
    bool m_selecting = false;   // the chooser selects a row itself: not a choice
};
