#include "barwright/picture/frmGrabPreview.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/panel/frmCtlPanel.h"
#include "barwright/picture/GrabCapture.h"
#include "barwright/picture/frmNonStdColor.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Conversions.h"
#include "platform/system/KeyState.h"

#include <QWidget>

#include <cmath>

namespace {

// The panel's "Image Import Color Options".
constexpr int32_t OptionPrompt = 0;
constexpr int32_t Option16Color = 1;
constexpr int32_t OptionHighColor = 2;

int32_t pixels(float twips)
{
    return int32_t(std::lround(twips / forms::Screen::TwipsPerPixelX()));
}

float twips(int32_t pixels)
{
    return float(pixels) * forms::Screen::TwipsPerPixelX();
}

}  // namespace

frmGrabPreview::frmGrabPreview()
{
    const auto down = [this](int16_t, int16_t, float, float) { BeginGrab(); };
    const auto move = [this](int16_t, int16_t, float, float) { TrackGrab(); };
    const auto up = [this](int16_t, int16_t, float, float) { EndGrab(); };
    MouseDown = down;
    MouseMove = move;
    MouseUp = up;
    imgFinder.MouseDown = down;
    imgFinder.MouseMove = move;
    imgFinder.MouseUp = up;
    Label1.MouseDown = down;
    Label1.MouseMove = move;
    Label1.MouseUp = up;
    picPreview.MouseDown = down;
    picPreview.MouseMove = move;
    picPreview.MouseUp = up;
    picPreview.Paint = [this] { picPreview_Paint(); };
    cmdExit.Click = [this] { cmdExit_Click(); };
    Timer1.TimerEvent = [this] { Timer1_Timer(); };
}

void frmGrabPreview::Form_Design()
{
    setScaleMode(forms::vbPixels);
    setDesignSize(twips(204), twips(110));
    picPreview.Move(4, 4, 102, 102);
    imgFinder.Move(124, 4, 32, 32);
    imgFinder.setBorderStyle(0);
    imgFinder.setPicture(forms::StdPicture::fromImage(GrabCapture::FinderImage(32)));
    Label1.Move(112, 40, 88, 40);
    Label1.setWordWrap(true);
    Label1.setCaption(QStringLiteral("Click and drag tool to select an image."));
    cmdExit.Move(116, 82, 80, 24);
    cmdExit.setCaption(QStringLiteral("Exit"));
    Timer1.setEnabled(false);
}

void frmGrabPreview::Form_Load()
{
    bCanceled = true;
    m_grabbing = m_leftWindow = m_activated = false;
    // Not shown yet: the flag takes without hiding the window.
    window()->window()->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    GrabCapture::ForwardFormMouse(*this);
    mDrawParams::CreateBackgroundBrushes();   // the preview's grid
}

void frmGrabPreview::Form_Activate()
{
    if (m_activated)
        return;
    m_activated = true;
    const int16_t oldW = rt::CInt(picPreview.Width());
    const int16_t oldH = rt::CInt(picPreview.Height());
    SetPreviewPicSize();
    const int16_t newW = rt::CInt(picPreview.Width());
    const int16_t newH = rt::CInt(picPreview.Height());
    const int16_t w = rt::CInt(pixels(Width()) - (oldW - newW));
    const int16_t h = rt::CInt(pixels(Height()) - (oldH - newH));
    Move(Left(), Top(), twips(w), twips(h));
    cmdExit.SetFocus();
}

void frmGrabPreview::Form_Unload(int16_t& Cancel)
{
    (void)Cancel;
    // Unloaded in the middle of a grab (its owner went away): let go of all.
    if (m_grabbing) {
        m_grabbing = false;
        Timer1.setEnabled(false);
        GrabCapture::ReleaseCapture(hostWidget());
        GrabCapture::SetDefaultPointer();
    }
    FreeGrabResources();
}

void frmGrabPreview::SetPreviewPicSize()
{
    const int32_t W = mDrawParams::gPicWidth;
    const int32_t H = mDrawParams::gPicHeight;
    if (W < 1 || H < 1)
        return;
    const int32_t w = int32_t(std::lround(picPreview.Width()));
    const int32_t h = int32_t(std::lround(picPreview.Height()));
    const int32_t rw = (w - 4) % W;
    const int32_t rh = (h - 4) % H;
    if (rw < 1 && rh < 1)
        return;
    picPreview.setWidth(float(w - rw + 1));
    picPreview.setHeight(float(h - rh + 1));
}

void frmGrabPreview::BeginGrab()
{
    if (m_grabbing)
        return;   // a second button pressed during the drag
    const float t = picPreview.Top();
    picPreview.setTop(0);
    Move(Left(), Top(), Width(), Height() - twips(int32_t(std::lround(t))));
    SaveWindowRect();
    GrabCapture::SetFinderPointer();

    GrabCapture::SyncDesktop();
    m_desktopDC = gdi::GetDC(0);
    m_memDC = gdi::CreateCompatibleDC(m_desktopDC);
    m_memBitmap = CreateImageBitmap(m_desktopDC, mDrawParams::gPicWidth,
                                    mDrawParams::gPicHeight);
    m_initialBitmap = gdi::SelectObject(m_memDC, m_memBitmap);
    m_grabbing = true;
    GrabCapture::SetCapture(hostWidget());
    CopyScreenBlock();

    Timer1.setInterval(100);
    Timer1.setEnabled(true);
}

void frmGrabPreview::TrackGrab()
{
    if (!m_grabbing)
        return;
    const gdi::POINT pt = GrabCapture::GetCursorPos();
    if (!IsPointInRect(m_windowRect, pt.x, pt.y)) {
        m_leftWindow = true;
    } else if (m_leftWindow) {
        // Out of the cursor's way: alternate between the top and bottom edge.
        if (pixels(Top()) == 0)
            setTop(forms::Screen::Height() - Height());
        else
            setTop(0);
        SaveWindowRect();
        GrabCapture::SyncDesktop();   // what the window covered shows now
    }
    // The block is taken here too, so the grab never depends on a repaint.
    CopyScreenBlock();
    picPreview.Refresh();
}

void frmGrabPreview::EndGrab()
{
    if (!m_grabbing)
        return;   // a release that no press on this window began
    m_grabbing = false;
    Timer1.setEnabled(false);
    // The question below must be able to take the mouse.
    GrabCapture::ReleaseCapture(hostWidget());

    if (ctlDest) {
        gdi::BitBlt(ctlDest->hDC(), 0, 0, mDrawParams::gPicWidth, mDrawParams::gPicHeight,
                    m_memDC, 0, 0, gdi::SRCCOPY);
        HandleImportOption();
        if (GrabCapture::IsKeyDown(sys::VK_CONTROL))
            ReplaceButtonFace();
    }

    FreeGrabResources();
    bCanceled = false;
    ctlDest = nullptr;
    GrabCapture::SetDefaultPointer();
    Unload();
}

void frmGrabPreview::HandleImportOption()
{
    const int32_t W = mDrawParams::gPicWidth;
    const int32_t H = mDrawParams::gPicHeight;
    forms::ComboBox& option = frmCtlPanel::get().coImageImportOption;
    switch (option.ListIndex()) {
    case Option16Color:
        ConvertTo16Color(ctlDest->hDC(), W, H);
        break;
    case OptionHighColor:
        break;
    case OptionPrompt:
        if (!CheckGreaterThan16Color(ctlDest->hDC(), W, H))
            break;
        frmNonStdColor::get().Show(forms::vbModal, this);
        if (mGlobals::gConvertNonStd) {
            if (!mGlobals::gShowNonStdColorMsg)
                option.setListIndex(Option16Color);
            ConvertTo16Color(ctlDest->hDC(), W, H);
        } else if (!mGlobals::gShowNonStdColorMsg) {
            option.setListIndex(OptionHighColor);
        }
        break;
    default:
        break;
    }
}

void frmGrabPreview::ReplaceButtonFace()
{
    const int32_t face = mDrawParams::GetNearestDisplayColor(
        int32_t(gdi::GetSysColor(gdi::COLOR_BTNFACE)));
    mDrawParams::ReplaceImageColor(ctlDest->hDC(), face, mDrawParams::gMaskColor);
}

void frmGrabPreview::SaveWindowRect()
{
    const int32_t left = pixels(Left());
    const int32_t top = pixels(Top());
    gdi::SetRect(&m_windowRect, left, top, left + pixels(Width()), top + pixels(Height()));
}

void frmGrabPreview::CopyScreenBlock()
{
    if (!m_grabbing)
        return;
    const gdi::POINT pt = GrabCapture::GetCursorPos();
    gdi::BitBlt(m_memDC, 0, 0, mDrawParams::gPicWidth, mDrawParams::gPicHeight, m_desktopDC,
                pt.x + 1, pt.y + 1, gdi::SRCCOPY);
}

void frmGrabPreview::FreeGrabResources()
{
    if (m_desktopDC)
        gdi::ReleaseDC(0, m_desktopDC);
    if (m_memDC) {
        gdi::SelectObject(m_memDC, m_initialBitmap);
        gdi::DeleteDC(m_memDC);
    }
    if (m_memBitmap)
        gdi::DeleteObject(m_memBitmap);
    m_desktopDC = m_memDC = 0;
    m_memBitmap = 0;
    m_initialBitmap = 0;
}

void frmGrabPreview::picPreview_Paint()
{
    const int32_t W = mDrawParams::gPicWidth;
    const int32_t H = mDrawParams::gPicHeight;
    const int16_t pw = rt::CInt(picPreview.Width() - 5);
    const int16_t ph = rt::CInt(picPreview.Height() - 5);
    const gdi::HDC dc = picPreview.hDC();
    if (m_grabbing) {
        CopyScreenBlock();
        gdi::StretchBlt(dc, 0, 0, pw, ph, m_memDC, 0, 0, W, H, gdi::SRCCOPY);
    }
    const int16_t cw = rt::CInt(double(pw) / W);
    const int16_t ch = rt::CInt(double(ph) / H);
    if (cw < 1 || ch < 1)
        return;   // a preview smaller than the picture has no grid to draw
    for (int32_t i = 0; i <= pw + 2 * cw; i += 2 * cw) {
        const gdi::RECT r{i, 0, i + cw + 1, ph};
        gdi::FrameRect(dc, &r, mDrawParams::gCheckerBrush);
    }
    for (int32_t j = 0; j <= ph + 2 * ch; j += 2 * ch) {
        const gdi::RECT r{0, j, pw, j + ch + 1};
        gdi::FrameRect(dc, &r, mDrawParams::gCheckerBrush);
    }
}

void frmGrabPreview::cmdExit_Click()
{
    if (m_grabbing)
        return;
    bCanceled = true;
    Unload();
}

void frmGrabPreview::Timer1_Timer()
{
    QWidget* host = hostWidget();
    if (m_grabbing && GrabCapture::IsKeyDown(sys::VK_LBUTTON)
        && !GrabCapture::HasCapture(host)) {
        GrabCapture::SetCapture(host);
        GrabCapture::SetFinderPointer();
    }
}

bool frmGrabPreview::CheckGreaterThan16Color(gdi::HDC dc, int32_t width, int32_t height)
{
    bool found = false;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const gdi::COLORREF px = gdi::GetPixel(dc, x, y);
            const int32_t c = int32_t(px);
            if (px != gdi::CLR_INVALID && c != mDrawParams::gMaskColor
                && mDrawParams::GetClosest16Color(c) != c)
                found = true;
        }
    return found;
}

void frmGrabPreview::ConvertTo16Color(gdi::HDC dc, int32_t width, int32_t height)
{
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const gdi::COLORREF px = gdi::GetPixel(dc, x, y);
            const int32_t c = int32_t(px);
            if (px == gdi::CLR_INVALID || c == mDrawParams::gMaskColor)
                continue;   // outside the DC's bitmap, or transparent
            const int32_t closest = mDrawParams::GetClosest16Color(c);
            if (closest != c)
                gdi::SetPixelV(dc, x, y, mDrawParams::PaletteColor(closest));
        }
}
