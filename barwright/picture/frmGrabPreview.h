#pragma once
// The screen grab window: the developer presses the mouse on it, drags the
// finder anywhere on the desktop while a magnified preview follows, and
// releases; the W x H block below and right of the hot spot goes into the
// caller's picture box, non-standard colours handled by the panel's option.
//
// Caller: set ctlDest (sized to W x H pixels), Show(vbModal), read bCanceled.

#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/Timer.h"
#include "platform/gdi/Gdi.h"

#include <cstdint>

class frmGrabPreview final : public forms::Form {
public:
    frmGrabPreview();
    static frmGrabPreview& get() { return forms::instance<frmGrabPreview>(); }
    QString className() const override { return QStringLiteral("frmGrabPreview"); }

    forms::PictureBox picPreview{this, QStringLiteral("picPreview")};
    forms::PictureBox imgFinder{this, QStringLiteral("imgFinder")};
    forms::Label Label1{this, QStringLiteral("Label1")};
    forms::CommandButton cmdExit{this, QStringLiteral("cmdExit")};
    forms::Timer Timer1{this, QStringLiteral("Timer1")};

    // Receives the grabbed pixels; only used, never owned. Cleared by a grab.
    forms::PictureBox* ctlDest = nullptr;
    bool bCanceled = true;

    // Whether any pixel of the width x height area that is not the mask
    // colour differs from its closest standard colour.
    static bool CheckGreaterThan16Color(gdi::HDC dc, int32_t width, int32_t height);
    // Sets each such pixel to its closest standard colour.
    static void ConvertTo16Color(gdi::HDC dc, int32_t width, int32_t height);
    // Fits the preview's inside to whole picture pixels plus the closing grid line.
    void SetPreviewPicSize();

    bool isGrabbing() const { return m_grabbing; }

private:
    void Form_Design() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int16_t& Cancel) override;
    void BeginGrab();
    void TrackGrab();
    void EndGrab();
    void SaveWindowRect();
    void CopyScreenBlock();
    void HandleImportOption();
    void ReplaceButtonFace();
    void FreeGrabResources();
    void picPreview_Paint();
    void cmdExit_Click();
    void Timer1_Timer();

    bool m_grabbing = false;
    bool m_leftWindow = false;
    bool m_activated = false;
    gdi::RECT m_windowRect;   // screen pixels
    gdi::HDC m_desktopDC = 0;
    gdi::HDC m_memDC = 0;
    gdi::HBITMAP m_memBitmap = 0;
    gdi::HGDIOBJ m_initialBitmap = 0;
};
