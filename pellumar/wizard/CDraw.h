#pragma once
// The wizard's reduced drawing engine: one per image area step. It shows the
// first tool's cell of the strip enlarged on a canvas with a grid, reduced to
// the 16 standard colours, lets the user drag out the inner area to keep, and
// picks the mask colour with a right click. No drawing tools, undo or clipboard.

#include "barwright/common/CDrawCoordinates.h"
#include "platform/gdi/Gdi.h"

#include <cstdint>

namespace forms {
class PictureBox;
}

namespace pellumar {

class CDraw final : public CDrawCoordinates {
public:
    CDraw();
    ~CDraw();
    CDraw(const CDraw&) = delete;
    CDraw& operator=(const CDraw&) = delete;

    bool ConvertTo16Color(gdi::HDC hdc, int32_t picWidth, int32_t picHeight, bool showMsg);
    void ReleaseCurrentSelection();
    void MouseDown(int16_t Button, int16_t Shift, int16_t X, int16_t Y);
    void MouseMove(int16_t Button, int16_t Shift, int16_t X, int16_t Y);
    void MouseUp(int16_t Button, int16_t Shift, int16_t X, int16_t Y);
    void SetControls(forms::PictureBox* ctlCanvas, forms::PictureBox* ctlActual);
    void PaintCanvas();
    void RefreshActualPicture(bool Show16ColorMsg);
    bool IsDirty() const { return m_modified; }
    void SelectAll();
    void GetSelection(int32_t& l, int32_t& t, int32_t& r, int32_t& b) const;
    void SetMaskColorFromPixel(int16_t X, int16_t Y);

    gdi::HDC ImageDC() const { return m_imageDC; }   // for tests: the reduced cell
    bool Selecting() const { return m_selecting; }

private:
    void DrawSelectionFrame(gdi::HDC dc, gdi::RECT rect, int32_t steps);
    void RefreshViews(bool bCanvas);
    void moveTooltip(int16_t X, int16_t Y, bool firstShow);

    bool m_modified = false;
    bool m_mouseDown = false;
    bool m_selecting = false;
    forms::PictureBox* m_canvas = nullptr;
    forms::PictureBox* m_actual = nullptr;
    gdi::HBITMAP m_imageBitmap = 0;
    gdi::HDC m_imageDC = 0;
    gdi::HGDIOBJ m_imageInitial = 0;
    gdi::HBITMAP m_canvasBitmap = 0;
    gdi::HDC m_canvasDC = 0;
    gdi::HGDIOBJ m_canvasInitial = 0;
    gdi::RECT m_selection{};
};

}  // namespace pellumar
