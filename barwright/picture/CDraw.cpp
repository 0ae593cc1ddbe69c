#include "barwright/picture/CDraw.h"

#include "barwright/picture/CursorResources.h"
#include "barwright/picture/frmImportImageOption.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/Clipboard.h"
#include "platform/forms/Label.h"
#include "platform/forms/MousePointer.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Conversions.h"
#include "platform/system/KeyState.h"

#include <algorithm>
#include <cstdlib>

using namespace mDrawParams;

namespace {

int32_t rectWidth(const gdi::RECT& r) { return r.right - r.left + 1; }
int32_t rectHeight(const gdi::RECT& r) { return r.bottom - r.top + 1; }

}  // namespace

CDraw::CDraw()
{
    gdi::SetRectEmpty(&m_selection);
}

CDraw::~CDraw()
{
    // Whatever a stroke left selected goes back before its DC is deleted.
    if (m_imageDC && m_savedPen)
        restoreTools(m_savedBrush != 0);
    freeMemoryDC(m_imageDC, m_imageBitmap);
    freeMemoryDC(m_backDC, m_backBitmap);
    EmptyCache();
    FreeSelectionCaches(true, true);
    releaseTransferBitmap();
    QClear(m_undo);
    QClear(m_redo);
    if (m_transferDC)
        gdi::DeleteDC(m_transferDC);
}

// ---- Public members --------------------------------------------------------

bool CDraw::CanRedo() const
{
    return m_redo[0] != 0;
}

bool CDraw::CanUndo() const
{
    return m_undo[0] != 0;
}

void CDraw::ClearImage()
{
    if (!m_imageDC)
        return;
    SaveImageToUndo(true);
    fillInclusive(m_imageDC, gdi::RECT{0, 0, W() - 1, H() - 1}, gMaskColor);
    ReleaseCurrentSelection();
    UpdateViews(true);
    m_modified = true;
}

bool CDraw::ConvertTo16Color(const rt::Variant&, int32_t, int32_t, bool)
{
    return false;
}

void CDraw::CopySelection()
{
    if (gdi::IsRectEmpty(&m_selection))
        return;
    const gdi::HBITMAP bmp = GetSelectionBitmap(false);
    if (bmp == 0)
        return;
    forms::Clipboard::Clear();
    forms::Clipboard::SetData(forms::StdPicture::fromBitmap(bmp), forms::vbCFBitmap);
}

void CDraw::ReleaseCurrentSelection()
{
    gdi::SetRectEmpty(&m_selection);
    FreeSelectionCaches(true, true);
    if (m_canvas && m_canvas->MousePointer() == forms::vbSizeAll)
        setCanvasPointer(false);
}

void CDraw::ResizeImage(bool stretch)
{
    if (!m_actual || !m_imageDC)
        return;
    ReleaseCurrentSelection();
    QClear(m_undo);
    QClear(m_redo);
    CalcCanvasPixelSize(m_canvas);

    int32_t oldW = 0, oldH = 0;
    gdi::GetBitmapSize(m_imageBitmap, &oldW, &oldH);
    const gdi::HBITMAP temp = CreateImageBitmap(actualDC(), oldW, oldH);
    const gdi::HDC tempDC = gdi::CreateCompatibleDC(actualDC());
    const gdi::HGDIOBJ tempInitial = gdi::SelectObject(tempDC, temp);
    gdi::BitBlt(tempDC, 0, 0, oldW, oldH, m_imageDC, 0, 0, gdi::SRCCOPY);

    gdi::SelectObject(m_imageDC, m_initialBitmap);
    gdi::DeleteObject(m_imageBitmap);
    m_imageBitmap = CreateImageBitmap(actualDC(), W(), H());
    gdi::SelectObject(m_imageDC, m_imageBitmap);
    fillInclusive(m_imageDC, gdi::RECT{0, 0, W() - 1, H() - 1}, gMaskColor);
    if (stretch)
        gdi::StretchBlt(m_imageDC, 0, 0, W(), H(), tempDC, 0, 0, oldW, oldH, gdi::SRCCOPY);
    else
        gdi::BitBlt(m_imageDC, 0, 0, oldW, oldH, tempDC, 0, 0, gdi::SRCCOPY);

    gdi::SelectObject(tempDC, tempInitial);
    gdi::DeleteObject(temp);
    gdi::DeleteDC(tempDC);
    if (m_backDC) {
        gdi::SelectObject(m_backDC, m_initialBitmap);
        gdi::DeleteObject(m_backBitmap);
        m_backBitmap = gdi::CreateCompatibleBitmap(m_backDC, m_canvasWidth, m_canvasHeight);
        gdi::SelectObject(m_backDC, m_backBitmap);
    }
    m_actual->setPicture(nullptr);
    m_modified = true;
    UpdateViews(false);
}

void CDraw::Rotate()
{
    if (!m_imageDC)
        return;
    SaveImageToUndo(true);
    gdi::RECT area = m_selection;
    if (gdi::IsRectEmpty(&m_selection))
        area = gdi::RECT{0, 0, W() - 1, H() - 1};
    const int32_t w = rectWidth(area);
    const int32_t h = rectHeight(area);

    const gdi::HBITMAP rotated = CreateImageBitmap(actualDC(), h, w);
    const gdi::HDC dc = gdi::CreateCompatibleDC(actualDC());
    const gdi::HGDIOBJ initial = gdi::SelectObject(dc, rotated);
    for (int32_t x = 0; x < w; ++x) {
        for (int32_t y = 0; y < h; ++y) {
            const gdi::COLORREF c = m_floatDC ? gdi::GetPixel(m_floatDC, x, y)
                                              : gdi::GetPixel(m_imageDC, area.left + x,
                                                              area.top + y);
            gdi::SetPixelV(dc, h - 1 - y, x, PaletteColor(int32_t(c)));
        }
    }
    gdi::SelectObject(dc, initial);
    gdi::DeleteDC(dc);

    FreeSelectionCaches(false, true);
    CreateSelectionCaches(true, area, rotated);
    int32_t left = area.left;
    int32_t top = area.top;
    if (w != h) {
        left = area.left + w / 2 + w % 2 - h / 2 - h % 2;
        top = area.top + h / 2 + h % 2 - w / 2 - w % 2;
    }
    m_selection = gdi::RECT{left, top, left + h - 1, top + w - 1};
    composeFloating(left, top);
    UpdateViews(true);
    m_modified = true;   // before the owner hears of it, which may fail
    notify(4);
}

void CDraw::CutSelection(bool toClipboard)
{
    if (gdi::IsRectEmpty(&m_selection) || !m_imageDC)
        return;
    gdi::HBITMAP result = 0;
    if (m_floatDC) {
        SaveImageToUndo(true);
        result = gdi::CopyBitmap(m_floatBitmap);
        if (m_backgroundDC)
            gdi::BitBlt(m_imageDC, 0, 0, W(), H(), m_backgroundDC, 0, 0, gdi::SRCCOPY);
    } else {
        result = GetSelectionBitmap(true);
    }
    if (result == 0)
        return;
    if (toClipboard) {
        forms::Clipboard::Clear();
        forms::Clipboard::SetData(forms::StdPicture::fromBitmap(result), forms::vbCFBitmap);
    } else {
        gdi::DeleteObject(result);
    }
    ReleaseCurrentSelection();
    UpdateViews(true);
    m_modified = true;
}

void CDraw::EmptyCache()
{
    freeMemoryDC(m_cacheDC, m_cacheBitmap);
}

void CDraw::MakeDirty()
{
    m_modified = true;
}

void CDraw::MouseDown(int16_t Button, int16_t, int16_t X, int16_t Y)
{
    if (!m_imageDC)
        return;
    // A second press before the release (both buttons) ends the first stroke.
    if (m_mouseDown) {
        restoreTools(true);
        EmptyCache();
    }
    m_mouseDown = true;
    m_activeTool = gCurrentToolID;
    const int16_t x = XCanvasToActual(X);
    const int16_t y = YCanvasToActual(Y);
    const QString& tool = m_activeTool;

    if (tool == u"id_pencil") {
        SaveImageToUndo(true);
        const int32_t c = GetDrawColor(Button);
        m_savedPen = gdi::SelectObject(m_imageDC,
                                       gdi::CreatePen(gdi::PS_SOLID, 1, PaletteColor(c)));
        gdi::SetPixelV(m_imageDC, x, y, PaletteColor(c));
        m_lastX = x;
        m_lastY = y;
        m_modified = true;
    } else if (tool == u"id_pickup") {
        PickupColor(Button, x, y);
    } else if (tool == u"id_fill") {
        SaveImageToUndo(true);
        const int32_t c = GetDrawColor(Button);
        const gdi::HBRUSH brush = gdi::CreateSolidBrush(PaletteColor(c));
        const gdi::HGDIOBJ old = gdi::SelectObject(m_imageDC, brush);
        const gdi::COLORREF surface = gdi::GetPixel(m_imageDC, x, y);
        gdi::ExtFloodFill(m_imageDC, x, y, surface, gdi::FLOODFILLSURFACE);
        gdi::SelectObject(m_imageDC, old);
        gdi::DeleteObject(brush);
        m_modified = true;
    } else if (tool == u"id_dither") {
        SaveImageToUndo(true);
        DitherPixels(m_imageDC, x, y, GetDrawColor(Button));
        m_modified = true;
    } else if (tool == u"id_line") {
        SaveImageToUndo(true);
        m_startX = x;
        m_startY = y;
        ActualImageToCache();
        const int32_t c = GetDrawColor(Button);
        m_savedPen = gdi::SelectObject(m_imageDC,
                                       gdi::CreatePen(gdi::PS_SOLID, 1, PaletteColor(c)));
        gdi::SetPixelV(m_imageDC, x, y, PaletteColor(c));
        m_modified = true;
    } else if (isShapeTool()) {
        SaveImageToUndo(true);
        m_startX = x;
        m_startY = y;
        ActualImageToCache();
        selectShapeTools(Button);
        drawShape(x, y);
        m_modified = true;
    } else if (tool == u"id_select") {
        if (gdi::IsRectEmpty(&m_selection) || !IsPointInRect(m_selection, x, y)) {
            m_selection = gdi::RECT{x, y, x, y};
            FreeSelectionCaches(true, true);
        } else {
            SaveImageToUndo(true);
            m_grabX = int16_t(x - m_selection.left);
            m_grabY = int16_t(y - m_selection.top);
            const bool ctrl = ctrlDown();
            if (ctrl)
                FreeSelectionCaches(true, true);
            CreateSelectionCaches(!ctrl, m_selection, GetSelectionBitmap(false));
            m_moving = true;
        }
    }
    UpdateViews(true);
}

void CDraw::MouseMove(int16_t Button, int16_t, int16_t X, int16_t Y)
{
    if (!m_imageDC)
        return;
    const int16_t x = XCanvasToActual(X);
    const int16_t y = YCanvasToActual(Y);
    if (!m_mouseDown) {
        if (gCurrentToolID == u"id_select" && !gdi::IsRectEmpty(&m_selection))
            setCanvasPointer(IsPointInRect(m_selection, x, y));
        return;
    }
    const QString& tool = m_activeTool;
    if (tool == u"id_pencil") {
        const int32_t c = GetDrawColor(Button);
        gdi::SetPixelV(m_imageDC, x, y, PaletteColor(c));
        if (std::abs(x - m_lastX) >= 2 || std::abs(y - m_lastY) >= 2) {
            MoveTo(m_imageDC, m_lastX, m_lastY);
            gdi::LineTo(m_imageDC, x, y);
        }
        m_lastX = x;
        m_lastY = y;
        m_modified = true;
    } else if (tool == u"id_pickup") {
        PickupColor(Button, x, y);
        m_modified = true;
    } else if (tool == u"id_dither") {
        if (ctrlDown()) {
            DitherPixels(m_imageDC, x, y, GetDrawColor(Button));
            m_modified = true;
        }
    } else if (tool == u"id_line") {
        CacheToActualImage();
        lineBothWays(x, y);
        m_modified = true;
    } else if (isShapeTool()) {
        CacheToActualImage();
        drawShape(x, y);
        m_modified = true;
    } else if (tool == u"id_select") {
        const int32_t cx = ClampX(x);
        const int32_t cy = ClampY(y);
        if (!m_moving) {
            m_selection.right = cx;
            m_selection.bottom = cy;
        } else {
            composeFloating(cx - m_grabX, cy - m_grabY);
            m_modified = true;
        }
    }
    UpdateViews(true);
}

void CDraw::MouseUp(int16_t Button, int16_t, int16_t X, int16_t Y)
{
    if (!m_imageDC || !m_mouseDown)
        return;
    m_mouseDown = false;
    const int16_t x = XCanvasToActual(X);
    const int16_t y = YCanvasToActual(Y);
    const QString& tool = m_activeTool;
    if (tool == u"id_pencil") {
        restoreTools(false);
    } else if (tool == u"id_pickup") {
        PickupColor(Button, x, y);
    } else if (tool == u"id_line") {
        CacheToActualImage();
        lineBothWays(x, y);
        EmptyCache();
        restoreTools(false);
        m_modified = true;
    } else if (isShapeTool()) {
        CacheToActualImage();
        drawShape(x, y);
        EmptyCache();
        restoreTools(true);
        m_modified = true;
    } else if (tool == u"id_select") {
        const int32_t cx = ClampX(x);
        const int32_t cy = ClampY(y);
        if (!m_moving) {
            m_selection.right = cx;
            m_selection.bottom = cy;
            NormalizeRect(m_selection);
        } else {
            const int32_t left = cx - m_grabX;
            const int32_t top = cy - m_grabY;
            composeFloating(left, top);
            m_moving = false;
            gdi::OffsetRect(&m_selection, left - m_selection.left, top - m_selection.top);
            m_modified = true;
        }
    }
    UpdateViews(true);
}

int16_t CDraw::MoveTo(gdi::HDC dc, int32_t x, int32_t y)
{
    return gdi::MoveToEx(dc, x, y, nullptr) ? 1 : 0;
}

void CDraw::NudgeImage(int16_t direction, int16_t amount)
{
    if (!m_imageDC)
        return;
    int32_t dx = 0, dy = 0;
    NudgeDeltaX(direction, amount, dx);
    NudgeDeltaY(direction, amount, dy);
    SaveImageToUndo(true);
    if (gdi::IsRectEmpty(&m_selection)) {
        m_selection = gdi::RECT{0, 0, W() - 1, H() - 1};
        FreeSelectionCaches(true, true);
    }
    CreateSelectionCaches(!ctrlDown(), m_selection, GetSelectionBitmap(false));
    gdi::OffsetRect(&m_selection, dx, dy);
    composeFloating(m_selection.left, m_selection.top);
    UpdateViews(true);
    m_modified = true;
    notify(4);
}

void CDraw::PaintPreview()
{
    if (!m_canvas || !m_preview || !m_imageDC)
        return;
    m_preview->setBackColor(int32_t(0x80000000u | gdi::COLOR_BTNFACE));
    const gdi::HDC dc = m_preview->hDC();
    gdi::BitBlt(dc, 5, 5, W(), H(), m_imageDC, 0, 0, gdi::SRCCOPY);
    const gdi::COLORREF face = PaletteColor(int32_t(gdi::GetSysColor(gdi::COLOR_BTNFACE)));
    for (int32_t x = 0; x < W(); ++x) {
        for (int32_t y = 0; y < H(); ++y) {
            if (int32_t(gdi::GetPixel(dc, x + 5, y + 5)) == gMaskColor)
                gdi::SetPixelV(dc, x + 5, y + 5, face);
        }
    }
    Draw3DBorder(*m_preview, m_picType == 1 || m_picType == 3);
}

void CDraw::Paste()
{
    if (!m_imageDC)
        return;
    if (!forms::Clipboard::GetFormat(forms::vbCFBitmap) &&
        !forms::Clipboard::GetFormat(forms::vbCFDIB))
        return;
    // A picture another program put there may have transparent parts: they
    // come in as the mask colour.
    const forms::Picture clip = forms::layOver(forms::Clipboard::GetData(forms::vbCFBitmap),
                                               gdi::COLORREF(gMaskColor));
    if (!clip || clip->Handle() == 0)
        return;
    // The clipboard keeps its own bitmap; the source DC only reads it.
    const gdi::HDC src = gdi::CreateCompatibleDC(actualDC());
    const gdi::HGDIOBJ srcInitial = gdi::SelectObject(src, clip->Handle());
    auto freeSource = [&] {
        gdi::SelectObject(src, srcInitial);
        gdi::DeleteDC(src);
    };
    int32_t bw = 0, bh = 0;
    gdi::GetBitmapSize(clip->Handle(), &bw, &bh);

    gdi::HBITMAP pasted = 0;
    int32_t w = bw, h = bh;
    auto newBitmap = [&](int32_t width, int32_t height, auto&& draw) {
        const gdi::HBITMAP bmp = CreateImageBitmap(actualDC(), width, height);
        const gdi::HDC dc = gdi::CreateCompatibleDC(actualDC());
        const gdi::HGDIOBJ initial = gdi::SelectObject(dc, bmp);
        draw(dc);
        gdi::SelectObject(dc, initial);
        gdi::DeleteDC(dc);
        return bmp;
    };
    if (bw > W() || bh > H()) {
        frmImportImageOption& dlg = forms::instance<frmImportImageOption>();
        dlg.picWork.setPicture(forms::StdPicture::fromBitmap(gdi::CopyBitmap(clip->Handle())));
        dlg.Show(forms::vbModal);
        if (dlg.bCanceled) {
            dlg.Unload();
            freeSource();
            return;
        }
        const bool clipIt = dlg.bClip;
        const bool centred = dlg.bClipCentered;
        const int32_t resize = dlg.lResizeSize;
        dlg.Unload();
        if (resize > 0) {
            gPicWidth = resize;
            gPicHeight = resize;
            try {
                notify(5);
            } catch (...) {
                freeSource();
                throw;
            }
        }
        w = std::min(bw, W());
        h = std::min(bh, H());
        if (clipIt) {
            const int32_t x0 = centred && bw > W() ? rt::CInt((bw - W()) / 2.0) : 0;
            const int32_t y0 = centred && bh > H() ? rt::CInt((bh - H()) / 2.0) : 0;
            pasted = newBitmap(w, h, [&](gdi::HDC dc) {
                gdi::BitBlt(dc, 0, 0, w, h, src, x0, y0, gdi::SRCCOPY);
            });
        } else {
            pasted = newBitmap(w, h, [&](gdi::HDC dc) {
                gdi::StretchBlt(dc, 0, 0, w, h, src, 0, 0, bw, bh, gdi::SRCCOPY);
            });
        }
    } else {
        pasted = newBitmap(w, h, [&](gdi::HDC dc) {
            gdi::BitBlt(dc, 0, 0, w, h, src, 0, 0, gdi::SRCCOPY);
        });
    }
    SaveImageToUndo(true);
    freeSource();
    ConvertTo16Color(rt::Variant(int32_t(m_imageDC)), W(), H(), false);
    FreeSelectionCaches(true, true);
    gdi::RECT none;
    CreateSelectionCaches(false, none, pasted);
    gdi::BitBlt(m_imageDC, 0, 0, w, h, m_floatDC, 0, 0, gdi::SRCCOPY);
    m_selection = gdi::RECT{0, 0, w - 1, h - 1};
    m_modified = true;
    UpdateViews(true);
    notify(4);
}

void CDraw::SetControls(forms::PictureBox* canvas, forms::PictureBox* actual,
                        forms::PictureBox* preview, forms::Label* colorLabel)
{
    m_canvas = canvas;
    m_actual = actual;
    m_preview = preview;
    m_colorLabel = colorLabel;
    CalcCanvasPixelSize(m_canvas);
}

void CDraw::PaintCanvas()
{
    if (!m_canvas || !m_backDC || !m_imageDC)
        return;
    gdi::StretchBlt(m_backDC, 0, 0, m_canvasWidth, m_canvasHeight, m_imageDC, 0, 0, W(), H(),
                    gdi::SRCCOPY);
    const gdi::COLORREF oldBk = gdi::SetBkColor(m_backDC, 0xFFFFFF);
    const int32_t cw = rt::CInt(double(m_canvasWidth) / W());
    const int32_t ch = rt::CInt(double(m_canvasHeight) / H());
    for (int32_t x = 0; x < W(); ++x) {
        for (int32_t y = 0; y < H(); ++y) {
            if (int32_t(gdi::GetPixel(m_imageDC, x, y)) == gMaskColor) {
                FillRectInclusive(m_backDC, gdi::RECT{x * cw, y * ch, x * cw + cw, y * ch + ch},
                                  gHatchBrush);
            }
        }
    }
    gdi::SetBkColor(m_backDC, oldBk);
    // A canvas narrower than the picture has no cells to frame.
    if (cw > 0) {
        for (int32_t i = 0; i <= m_canvasWidth + 2 * cw; i += 2 * cw) {
            const gdi::RECT r{i, 0, i + cw + 1, m_canvasHeight};
            gdi::FrameRect(m_backDC, &r, gCheckerBrush);
        }
    }
    if (ch > 0) {
        for (int32_t j = 0; j <= m_canvasHeight + 2 * ch; j += 2 * ch) {
            const gdi::RECT r{0, j, m_canvasWidth, j + ch + 1};
            gdi::FrameRect(m_backDC, &r, gCheckerBrush);
        }
    }
    gdi::RECT sel = m_selection;
    NormalizeRect(sel);
    if (gCurrentToolID == u"id_select" && !m_moving && !gdi::IsRectEmpty(&sel)) {
        DrawSelectionFrame(m_backDC,
                           gdi::RECT{XActualToCanvas(int16_t(sel.left)),
                                     YActualToCanvas(int16_t(sel.top)),
                                     XActualToCanvas(int16_t(sel.right + 1)),
                                     YActualToCanvas(int16_t(sel.bottom + 1))});
    }
    gdi::BitBlt(m_canvas->hDC(), 0, 0, m_canvasWidth, m_canvasHeight, m_backDC, 0, 0,
                gdi::SRCCOPY);
}

void CDraw::QClear(Stack& stack)
{
    releaseTransferBitmap();
    while (stack[0] != 0)
        gdi::DeleteObject(QPop(stack));
}

gdi::HBITMAP CDraw::QPop(Stack& stack)
{
    const gdi::HBITMAP top = stack[0];
    std::move(stack.begin() + 1, stack.end(), stack.begin());
    stack.back() = 0;
    return top;
}

void CDraw::QPush(Stack& stack, gdi::HBITMAP bitmap)
{
    if (stack.back() != 0) {
        // The oldest snapshot may still sit in the transfer DC.
        if (m_transferDC && gdi::GetCurrentObject(m_transferDC, gdi::OBJ_BITMAP) == stack.back())
            releaseTransferBitmap();
        gdi::DeleteObject(stack.back());
    }
    std::move_backward(stack.begin(), stack.end() - 1, stack.end());
    stack[0] = bitmap;
}

void CDraw::Redo()
{
    if (m_redo[0] == 0)
        return;
    m_modified = true;
    ReleaseCurrentSelection();
    SaveImageToUndo(false);
    gdi::SelectObject(m_transferDC, m_redo[0]);
    WorkDCToActual();
    releaseTransferBitmap();
    gdi::DeleteObject(QPop(m_redo));
}

void CDraw::SaveImageToUndo(bool clearRedo)
{
    if (!m_imageDC)
        return;
    if (clearRedo)
        QClear(m_redo);
    const gdi::HBITMAP bmp = CreateImageBitmap(actualDC(), W(), H());
    gdi::SelectObject(m_transferDC, bmp);
    QPush(m_undo, bmp);
    gdi::BitBlt(m_transferDC, 0, 0, W(), H(), m_imageDC, 0, 0, gdi::SRCCOPY);
}

void CDraw::Advise(const com::Object& owner)
{
    m_owner = owner;
}

void CDraw::RefreshActualPicture(bool repaintPreview, bool flag)
{
    if (!m_actual)
        return;
    if (m_imageBitmap == 0) {
        m_imageDC = gdi::CreateCompatibleDC(actualDC());
        m_imageBitmap = CreateImageBitmap(actualDC(), W(), H());
        m_initialBitmap = gdi::SelectObject(m_imageDC, m_imageBitmap);
        const gdi::HDC canvasDC = m_canvas ? m_canvas->hDC() : actualDC();
        m_backDC = gdi::CreateCompatibleDC(canvasDC);
        m_backBitmap = gdi::CreateCompatibleBitmap(canvasDC, m_canvasWidth, m_canvasHeight);
        gdi::SelectObject(m_backDC, m_backBitmap);
        m_transferDC = gdi::CreateCompatibleDC(actualDC());
    }
    gdi::BitBlt(m_imageDC, 0, 0, W(), H() + 1, actualDC(), 0, 0, gdi::SRCCOPY);
    if (ConvertTo16Color(rt::Variant(int32_t(m_imageDC)), W(), H(), flag))
        UpdateViews(true);
    PaintCanvas();
    if (repaintPreview)
        PaintPreview();
}

void CDraw::ActualImageToCache()
{
    EmptyCache();
    m_cacheBitmap = CreateImageBitmap(actualDC(), W(), H());
    m_cacheDC = newMemoryDC(m_cacheBitmap);
    gdi::BitBlt(m_cacheDC, 0, 0, W(), H(), m_imageDC, 0, 0, gdi::SRCCOPY);
}

void CDraw::CacheToActualImage()
{
    if (m_cacheDC)
        gdi::BitBlt(m_imageDC, 0, 0, W(), H(), m_cacheDC, 0, 0, gdi::SRCCOPY);
}

void CDraw::ChangeColor(int32_t oldColor, int32_t newColor)
{
    if (!m_imageDC)
        return;
    SaveImageToUndo(true);
    ReplaceImageColor(m_imageDC, oldColor, newColor);
    UpdateViews(true);
    m_modified = true;
}

void CDraw::ToolChanged()
{
    if (gCurrentToolID != u"id_select")
        ReleaseCurrentSelection();
}

void CDraw::Undo()
{
    if (m_undo[0] == 0)
        return;
    m_modified = true;
    ReleaseCurrentSelection();
    const gdi::HBITMAP copy = CreateImageBitmap(actualDC(), W(), H());
    gdi::SelectObject(m_transferDC, copy);
    gdi::BitBlt(m_transferDC, 0, 0, W(), H(), m_imageDC, 0, 0, gdi::SRCCOPY);
    releaseTransferBitmap();
    QPush(m_redo, copy);
    gdi::SelectObject(m_transferDC, m_undo[0]);
    WorkDCToActual();
    releaseTransferBitmap();
    gdi::DeleteObject(QPop(m_undo));
}

bool CDraw::SelectionActive() const
{
    return !gdi::IsRectEmpty(&m_selection);
}

int CDraw::UndoCount() const
{
    return int(std::count_if(m_undo.begin(), m_undo.end(), [](auto b) { return b != 0; }));
}

int CDraw::RedoCount() const
{
    return int(std::count_if(m_redo.begin(), m_redo.end(), [](auto b) { return b != 0; }));
}

// ---- Private members -------------------------------------------------------

void CDraw::CreateSelectionCaches(bool fill, const gdi::RECT& rect, gdi::HBITMAP bitmap)
{
    if (!m_backgroundDC) {
        m_backgroundBitmap = CreateImageBitmap(actualDC(), W(), H());
        m_backgroundDC = newMemoryDC(m_backgroundBitmap);
        gdi::BitBlt(m_backgroundDC, 0, 0, W(), H(), m_imageDC, 0, 0, gdi::SRCCOPY);
        if (fill)
            fillInclusive(m_backgroundDC, rect, gBackColor);
    }
    if (bitmap == 0)
        return;
    if (m_floatDC) {
        gdi::DeleteObject(bitmap);
        return;
    }
    m_floatBitmap = bitmap;
    m_floatDC = newMemoryDC(bitmap);
}

void CDraw::DitherPixels(gdi::HDC dc, int16_t x, int16_t y, int32_t color)
{
    for (int16_t i = int16_t(x - 1); i <= x + 1; ++i) {
        for (int16_t j = int16_t(y - 1); j <= y + 1; ++j) {
            if ((i + j) % 2 == 0 && XPixelInBitmap(i) && YPixelInBitmap(j))
                gdi::SetPixelV(dc, i, j, PaletteColor(color));
        }
    }
}

void CDraw::FreeSelectionCaches(bool freeBackground, bool freeFloating)
{
    if (freeBackground)
        freeMemoryDC(m_backgroundDC, m_backgroundBitmap);
    if (freeFloating)
        freeMemoryDC(m_floatDC, m_floatBitmap);
}

void CDraw::FillRectInclusive(gdi::HDC dc, const gdi::RECT& rect, gdi::HBRUSH brush)
{
    const gdi::RECT r{rect.left, rect.top, rect.right + 1, rect.bottom + 1};
    gdi::FillRect(dc, &r, brush);
}

void CDraw::DrawBox(gdi::HDC dc, int16_t x1, int16_t y1, int16_t x2, int16_t y2)
{
    gdi::Rectangle(dc, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1,
                   std::max(y1, y2) + 1);
}

void CDraw::DrawCircle(gdi::HDC dc, int16_t x1, int16_t y1, int16_t x2, int16_t y2)
{
    gdi::Ellipse(dc, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1,
                 std::max(y1, y2) + 1);
}

void CDraw::DrawSelectionFrame(gdi::HDC dc, gdi::RECT rect)
{
    for (int i = 0; i < 4; ++i) {
        gdi::InflateRect(&rect, -1, -1);
        gdi::DrawFocusRect(dc, &rect);
    }
}

int32_t CDraw::GetDrawColor(int16_t Button) const
{
    if (sys::GetKeyState(sys::VK_SHIFT) < 0)
        return gMaskColor;
    return Button == 1 ? gForeColor : gBackColor;
}

void CDraw::NudgeDeltaX(int16_t direction, int16_t amount, int32_t& delta) const
{
    delta = direction == 2 ? -amount : (direction == 3 ? amount : 0);
}

void CDraw::NudgeDeltaY(int16_t direction, int16_t amount, int32_t& delta) const
{
    delta = direction == 0 ? -amount : (direction == 1 ? amount : 0);
}

gdi::HBITMAP CDraw::GetSelectionBitmap(bool clearSource)
{
    if (gdi::IsRectEmpty(&m_selection))
        return 0;
    const int32_t w = rectWidth(m_selection);
    const int32_t h = rectHeight(m_selection);
    gdi::HBITMAP bmp = CreateImageBitmap(actualDC(), w, h);
    const gdi::HDC dc = gdi::CreateCompatibleDC(actualDC());
    const gdi::HGDIOBJ initial = gdi::SelectObject(dc, bmp);
    const bool copied =
        gdi::BitBlt(dc, 0, 0, w, h, m_imageDC, m_selection.left, m_selection.top, gdi::SRCCOPY);
    gdi::SelectObject(dc, initial);
    gdi::DeleteDC(dc);
    if (clearSource) {
        SaveImageToUndo(true);
        fillInclusive(m_imageDC, m_selection, gBackColor);
    }
    if (!copied && bmp) {
        gdi::DeleteObject(bmp);
        bmp = 0;
    }
    return bmp;
}

void CDraw::PickupColor(int16_t Button, int16_t x, int16_t y)
{
    if (!XPixelInBitmap(x) || !YPixelInBitmap(y))
        return;
    const int32_t c = int32_t(gdi::GetPixel(m_imageDC, x, y));
    if (Button == 1)
        gForeColor = c;
    else
        gBackColor = c;
    if (m_colorLabel)
        m_colorLabel->setBackColor(c);
    notify(Button == 1 ? 2 : 3);
}

void CDraw::WorkDCToActual()
{
    gdi::BitBlt(m_imageDC, 0, 0, W(), H(), m_transferDC, 0, 0, gdi::SRCCOPY);
    UpdateViews(true);
}

void CDraw::UpdateViews(bool repaint)
{
    if (m_actual)
        gdi::BitBlt(actualDC(), 0, 0, W(), H(), m_imageDC, 0, 0, gdi::SRCCOPY);
    if (repaint && m_canvas) {
        PaintCanvas();
        m_canvas->Refresh();
    }
    if (repaint && m_preview) {
        PaintPreview();
        m_preview->Refresh();
    }
}

// ---- Small steps -----------------------------------------------------------

gdi::HDC CDraw::newMemoryDC(gdi::HBITMAP bitmap)
{
    const gdi::HDC dc = gdi::CreateCompatibleDC(actualDC());
    const gdi::HGDIOBJ initial = gdi::SelectObject(dc, bitmap);
    if (!m_initialBitmap)
        m_initialBitmap = initial;
    return dc;
}

void CDraw::freeMemoryDC(gdi::HDC& dc, gdi::HBITMAP& bitmap)
{
    if (dc) {
        gdi::SelectObject(dc, m_initialBitmap);
        gdi::DeleteDC(dc);
        dc = 0;
    }
    if (bitmap) {
        gdi::DeleteObject(bitmap);
        bitmap = 0;
    }
}

void CDraw::fillInclusive(gdi::HDC dc, const gdi::RECT& rect, int32_t color)
{
    const gdi::HBRUSH brush = gdi::CreateSolidBrush(PaletteColor(color));
    FillRectInclusive(dc, rect, brush);
    gdi::DeleteObject(brush);
}

void CDraw::composeFloating(int32_t left, int32_t top)
{
    if (m_backgroundDC)
        gdi::BitBlt(m_imageDC, 0, 0, W(), H(), m_backgroundDC, 0, 0, gdi::SRCCOPY);
    if (m_floatDC) {
        gdi::BitBlt(m_imageDC, left, top, rectWidth(m_selection), rectHeight(m_selection),
                    m_floatDC, 0, 0, gdi::SRCCOPY);
    }
}

void CDraw::lineBothWays(int16_t x, int16_t y)
{
    MoveTo(m_imageDC, m_startX, m_startY);
    gdi::LineTo(m_imageDC, x, y);
    MoveTo(m_imageDC, x, y);
    gdi::LineTo(m_imageDC, m_startX, m_startY);
}

void CDraw::drawShape(int16_t x, int16_t y)
{
    if (m_activeTool.contains(u"circle"))
        DrawCircle(m_imageDC, m_startX, m_startY, x, y);
    else
        DrawBox(m_imageDC, m_startX, m_startY, x, y);
}

void CDraw::selectShapeTools(int16_t Button)
{
    const int32_t left = Button == 1 ? gForeColor : gBackColor;
    const int32_t right = Button == 1 ? gBackColor : gForeColor;
    const bool framed = m_activeTool == u"id_framebox" || m_activeTool == u"id_framecircle";
    const bool frameFilled =
        m_activeTool == u"id_framefilledbox" || m_activeTool == u"id_framefilledcircle";
    const gdi::HPEN pen =
        gdi::CreatePen(gdi::PS_SOLID, 1, PaletteColor(frameFilled ? right : left));
    const gdi::HBRUSH brush = framed ? gdi::GetStockObject(gdi::NULL_BRUSH)
                                     : gdi::CreateSolidBrush(PaletteColor(left));
    m_savedPen = gdi::SelectObject(m_imageDC, pen);
    m_savedBrush = gdi::SelectObject(m_imageDC, brush);
}

void CDraw::restoreTools(bool restoreBrush)
{
    if (m_savedPen) {
        gdi::DeleteObject(gdi::SelectObject(m_imageDC, m_savedPen));
        m_savedPen = 0;
    }
    if (restoreBrush && m_savedBrush) {
        const gdi::HGDIOBJ brush = gdi::SelectObject(m_imageDC, m_savedBrush);
        if (brush != gdi::GetStockObject(gdi::NULL_BRUSH))
            gdi::DeleteObject(brush);
        m_savedBrush = 0;
    }
}

void CDraw::releaseTransferBitmap()
{
    if (m_transferDC && m_initialBitmap)
        gdi::SelectObject(m_transferDC, m_initialBitmap);
}

void CDraw::notify(int16_t code)
{
    m_owner.call(QStringLiteral("Notify"), {rt::Variant(code)});
}

// The move pointer inside the selection, the select tool's cursor outside.
void CDraw::setCanvasPointer(bool move)
{
    if (!m_canvas)
        return;
    if (move) {
        m_canvas->setMousePointer(forms::vbSizeAll);
        return;
    }
    const forms::Picture cursor = CursorResources::LoadResCursor(ToolSelect);
    if (m_canvas->MouseIcon() != cursor)
        m_canvas->setMouseIcon(cursor);
    m_canvas->setMousePointer(forms::vbCustom);
}

bool CDraw::isShapeTool() const
{
    const int32_t code = GetDrawToolCode(m_activeTool);
    return code >= ToolFrameBox && code <= ToolFilledCircle;
}

bool CDraw::ctrlDown() const
{
    return sys::GetKeyState(sys::VK_CONTROL) < 0;
}

gdi::HDC CDraw::actualDC() const
{
    return m_actual ? m_actual->hDC() : 0;
}
