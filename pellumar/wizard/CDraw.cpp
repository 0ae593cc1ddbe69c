#include "pellumar/wizard/CDraw.h"

#include "barwright/common/DrawingParameters.h"
#include "barwright/common/StandardColors.h"
#include "barwright/common/mAPIDecl.h"
#include "pellumar/wizard/frmTooltip.h"
#include "platform/forms/PictureBox.h"
#include "platform/runtime/Conversions.h"

#include <QPoint>
#include <QWidget>

#include <cstdlib>

using namespace mDrawParams;

namespace pellumar {

CDraw::CDraw()
{
    gdi::SetRectEmpty(&m_selection);
}

CDraw::~CDraw()
{
    if (m_imageDC) {
        gdi::SelectObject(m_imageDC, m_imageInitial);
        gdi::DeleteObject(m_imageBitmap);
        gdi::DeleteDC(m_imageDC);
    }
    if (m_canvasDC) {
        gdi::SelectObject(m_canvasDC, m_canvasInitial);
        gdi::DeleteObject(m_canvasBitmap);
        gdi::DeleteDC(m_canvasDC);
    }
    m_canvas = nullptr;
    m_actual = nullptr;
}

bool CDraw::ConvertTo16Color(gdi::HDC hdc, int32_t picWidth, int32_t picHeight, bool showMsg)
{
    (void)showMsg;
    bool changed = false;
    for (int32_t x = 0; x < picWidth; ++x) {
        for (int32_t y = 0; y < picHeight; ++y) {
            const int32_t c = int32_t(gdi::GetPixel(hdc, x, y));
            if (c == gMaskColor)
                continue;
            const int32_t closest = GetClosest16Color(c);
            if (closest != c) {
                gdi::SetPixelV(hdc, x, y, PaletteColor(closest));
                changed = true;
            }
        }
    }
    return changed;
}

void CDraw::ReleaseCurrentSelection()
{
    gdi::SetRectEmpty(&m_selection);
}

void CDraw::MouseDown(int16_t Button, int16_t Shift, int16_t X, int16_t Y)
{
    (void)Button;
    (void)Shift;
    m_mouseDown = true;
    const int32_t x = XCanvasToActual(X);
    const int32_t y = YCanvasToActual(Y);
    m_selection = gdi::RECT{x, y, x, y};
    m_selecting = true;
    frmTooltip& tip = frmTooltip::get();
    tip.SelectionWidth = int16_t(m_selection.right - m_selection.left + 1);
    tip.SelectionHeight = int16_t(m_selection.bottom - m_selection.top + 1);
    moveTooltip(X, Y, true);
    RefreshViews(true);
}

void CDraw::MouseMove(int16_t Button, int16_t Shift, int16_t X, int16_t Y)
{
    (void)Button;
    (void)Shift;
    if (!m_mouseDown)
        return;
    m_selection.right = ClampX(XCanvasToActual(X));
    m_selection.bottom = ClampY(YCanvasToActual(Y));
    frmTooltip& tip = frmTooltip::get();
    tip.SelectionWidth = int16_t(std::abs(m_selection.right - m_selection.left) + 1);
    tip.SelectionHeight = int16_t(std::abs(m_selection.bottom - m_selection.top) + 1);
    moveTooltip(X, Y, false);
    RefreshViews(true);
}

void CDraw::MouseUp(int16_t Button, int16_t Shift, int16_t X, int16_t Y)
{
    (void)Button;
    (void)Shift;
    if (!m_mouseDown)
        return;
    m_mouseDown = false;
    m_selection.right = ClampX(XCanvasToActual(X));
    m_selection.bottom = ClampY(YCanvasToActual(Y));
    NormalizeRect(m_selection);
    m_selecting = false;
    frmTooltip::get().Unload();
    RefreshViews(true);
}

void CDraw::SetControls(forms::PictureBox* ctlCanvas, forms::PictureBox* ctlActual)
{
    m_canvas = ctlCanvas;
    m_actual = ctlActual;
    CalcCanvasPixelSize(m_canvas);
}

void CDraw::PaintCanvas()
{
    if (!m_canvas || !m_canvasDC || !m_imageDC || W() <= 0 || H() <= 0)
        return;
    gdi::StretchBlt(m_canvasDC, 0, 0, m_canvasWidth, m_canvasHeight, m_imageDC, 0, 0, W(), H(),
                    gdi::SRCCOPY);
    const int32_t zx = rt::CInt(double(m_canvasWidth) / W());
    const int32_t zy = rt::CInt(double(m_canvasHeight) / H());
    // A canvas smaller than the cell has no grid to draw.
    if (zx > 0) {
        for (int32_t x = 0; x <= m_canvasWidth + 2 * zx; x += 2 * zx) {
            const gdi::RECT r{x, 0, x + zx + 1, m_canvasHeight};
            gdi::FrameRect(m_canvasDC, &r, gCheckerBrush);
        }
    }
    if (zy > 0) {
        for (int32_t y = 0; y <= m_canvasHeight + 2 * zy; y += 2 * zy) {
            const gdi::RECT r{0, y, m_canvasWidth, y + zy + 1};
            gdi::FrameRect(m_canvasDC, &r, gCheckerBrush);
        }
    }
    gdi::RECT sel = m_selection;
    NormalizeRect(sel);
    if (!gdi::IsRectEmpty(&sel)) {
        DrawSelectionFrame(m_canvasDC,
                           gdi::RECT{XActualToCanvas(int16_t(sel.left)),
                                     YActualToCanvas(int16_t(sel.top)),
                                     XActualToCanvas(int16_t(sel.right + 1)),
                                     YActualToCanvas(int16_t(sel.bottom + 1))},
                           zx);
    }
    gdi::BitBlt(m_canvas->hDC(), 0, 0, m_canvasWidth, m_canvasHeight, m_canvasDC, 0, 0,
                gdi::SRCCOPY);
}

void CDraw::RefreshActualPicture(bool Show16ColorMsg)
{
    if (!m_actual || W() <= 0 || H() <= 0)
        return;
    if (!m_imageDC) {
        m_imageDC = gdi::CreateCompatibleDC(m_actual->hDC());
        m_imageBitmap = CreateImageBitmap(m_actual->hDC(), W(), H());
        m_imageInitial = gdi::SelectObject(m_imageDC, m_imageBitmap);
        const gdi::HDC canvasRef = m_canvas ? m_canvas->hDC() : m_actual->hDC();
        m_canvasDC = gdi::CreateCompatibleDC(canvasRef);
        m_canvasBitmap = CreateImageBitmap(canvasRef, std::max(1, m_canvasWidth),
                                           std::max(1, m_canvasHeight));
        m_canvasInitial = gdi::SelectObject(m_canvasDC, m_canvasBitmap);
    }
    gdi::BitBlt(m_imageDC, 0, 0, W(), H() + 1, m_actual->hDC(), 0, 0, gdi::SRCCOPY);
    if (ConvertTo16Color(m_imageDC, W(), H(), Show16ColorMsg))
        RefreshViews(true);
    PaintCanvas();
}

void CDraw::SelectAll()
{
    m_selection = gdi::RECT{0, 0, W() - 1, H() - 1};
    RefreshViews(true);
}

void CDraw::GetSelection(int32_t& l, int32_t& t, int32_t& r, int32_t& b) const
{
    l = m_selection.left;
    t = m_selection.top;
    r = m_selection.right;
    b = m_selection.bottom;
}

void CDraw::SetMaskColorFromPixel(int16_t X, int16_t Y)
{
    const int16_t x = XCanvasToActual(X);
    const int16_t y = YCanvasToActual(Y);
    // Outside the cell there is no pixel: the mask colour stays as it is.
    if (!m_imageDC || !XPixelInBitmap(x) || !YPixelInBitmap(y))
        return;
    gMaskColor = int32_t(gdi::GetPixel(m_imageDC, x, y));
}

// ---- Private members -------------------------------------------------------

void CDraw::DrawSelectionFrame(gdi::HDC dc, gdi::RECT rect, int32_t steps)
{
    for (int32_t i = 0; i < steps; ++i) {
        gdi::InflateRect(&rect, -1, -1);
        gdi::DrawFocusRect(dc, &rect);
    }
}

void CDraw::RefreshViews(bool bCanvas)
{
    if (m_actual && m_imageDC)
        gdi::BitBlt(m_actual->hDC(), 0, 0, W(), H(), m_imageDC, 0, 0, gdi::SRCCOPY);
    if (bCanvas && m_canvas) {
        PaintCanvas();
        m_canvas->Refresh();
    }
}

void CDraw::moveTooltip(int16_t X, int16_t Y, bool firstShow)
{
    if (!m_canvas || !m_canvas->existingWidget())
        return;   // no screen point: the tip stays where it is
    // X and Y are in the drawing area, which lies inside the canvas border.
    const QPoint screen = m_canvas->hostWidget()->mapToGlobal(QPoint(X, Y));
    frmTooltip& tip = frmTooltip::get();
    tip.Move(float(screen.x() + 6) * 15.f, float(screen.y() + 6) * 15.f);
    tip.ZOrder(0);
    if (firstShow) {
        tip.Show(0, &m_canvas->form());
        m_canvas->SetFocus();
    } else {
        tip.Repaint();
    }
}

}  // namespace pellumar
