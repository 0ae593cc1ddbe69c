#pragma once
// The drawing engine behind one tool picture: the picture as a bitmap in a
// memory DC, the twelve drawing tools, a floating selection, undo and redo,
// the clipboard, and three views (zoomed canvas, actual size, framed preview).
// The coordinate transforms come from CDrawCoordinates.

#include "barwright/common/CDrawCoordinates.h"
#include "platform/automation/Dispatch.h"
#include "platform/gdi/Gdi.h"

#include <array>
#include <cstdint>

namespace forms {
class PictureBox;
class Label;
}  // namespace forms


class CDraw final : public CDrawCoordinates {
public:
    // 21 snapshots, slot 0 newest, 0 = empty.
    using Stack = std::array<gdi::HBITMAP, 21>;

    CDraw();
    ~CDraw();
    CDraw(const CDraw&) = delete;
    CDraw& operator=(const CDraw&) = delete;

    bool CanRedo() const;
    bool CanUndo() const;
    void ClearImage();
    bool ConvertTo16Color(const rt::Variant& dc, int32_t width, int32_t height, bool flag);
    void CopySelection();
    void ReleaseCurrentSelection();
    void ResizeImage(bool stretch);
    void Rotate();
    void CutSelection(bool toClipboard);
    void EmptyCache();
    void MakeDirty();
    void MouseDown(int16_t Button, int16_t Shift, int16_t X, int16_t Y);
    void MouseMove(int16_t Button, int16_t Shift, int16_t X, int16_t Y);
    void MouseUp(int16_t Button, int16_t Shift, int16_t X, int16_t Y);
    int16_t MoveTo(gdi::HDC dc, int32_t x, int32_t y);
    void NudgeImage(int16_t direction, int16_t amount);
    void PaintPreview();
    void Paste();
    void SetControls(forms::PictureBox* canvas, forms::PictureBox* actual,
                     forms::PictureBox* preview, forms::Label* colorLabel);
    void PaintCanvas();
    void QClear(Stack& stack);
    gdi::HBITMAP QPop(Stack& stack);
    void QPush(Stack& stack, gdi::HBITMAP bitmap);
    void Redo();
    void SaveImageToUndo(bool clearRedo);
    void Advise(const com::Object& owner);
    void RefreshActualPicture(bool repaintPreview, bool flag);
    void ActualImageToCache();
    void CacheToActualImage();
    void ChangeColor(int32_t oldColor, int32_t newColor);
    void ToolChanged();
    void Undo();
    bool IsDirty() const { return m_modified; }
    bool SelectionActive() const;
    void PicType(int16_t index) { m_picType = index; }

    // Inspection for the owner's tests and tools: the surfaces and the selection.
    gdi::HDC ImageDC() const { return m_imageDC; }
    gdi::HDC BackBufferDC() const { return m_backDC; }
    gdi::RECT Selection() const { return m_selection; }
    bool SelectionFloating() const { return m_floatDC != 0; }
    int UndoCount() const;
    int RedoCount() const;

private:
    void CreateSelectionCaches(bool fill, const gdi::RECT& rect, gdi::HBITMAP bitmap);
    void DitherPixels(gdi::HDC dc, int16_t x, int16_t y, int32_t color);
    void FreeSelectionCaches(bool freeBackground, bool freeFloating);
    void FillRectInclusive(gdi::HDC dc, const gdi::RECT& rect, gdi::HBRUSH brush);
    void DrawBox(gdi::HDC dc, int16_t x1, int16_t y1, int16_t x2, int16_t y2);
    void DrawCircle(gdi::HDC dc, int16_t x1, int16_t y1, int16_t x2, int16_t y2);
    void DrawSelectionFrame(gdi::HDC dc, gdi::RECT rect);
    int32_t GetDrawColor(int16_t Button) const;
    void NudgeDeltaX(int16_t direction, int16_t amount, int32_t& delta) const;
    void NudgeDeltaY(int16_t direction, int16_t amount, int32_t& delta) const;
    gdi::HBITMAP GetSelectionBitmap(bool clearSource);
    void PickupColor(int16_t Button, int16_t x, int16_t y);
    void WorkDCToActual();
    void UpdateViews(bool repaint);

    // Small steps shared by the members above.
    gdi::HDC newMemoryDC(gdi::HBITMAP bitmap);   // compatible with the actual-size box
    void freeMemoryDC(gdi::HDC& dc, gdi::HBITMAP& bitmap);
    void fillInclusive(gdi::HDC dc, const gdi::RECT& rect, int32_t color);
    void composeFloating(int32_t left, int32_t top);
    void lineBothWays(int16_t x, int16_t y);
    void drawShape(int16_t x, int16_t y);
    void selectShapeTools(int16_t Button);
    void restoreTools(bool restoreBrush);
    void releaseTransferBitmap();
    void notify(int16_t code);
    void setCanvasPointer(bool move);
    bool isShapeTool() const;
    bool ctrlDown() const;
    gdi::HDC actualDC() const;

    bool m_modified = false;
    bool m_mouseDown = false;
    gdi::HGDIOBJ m_initialBitmap = 0;
    gdi::HBITMAP m_imageBitmap = 0;
    gdi::HDC m_imageDC = 0;
    gdi::HBITMAP m_cacheBitmap = 0;
    gdi::HDC m_cacheDC = 0;
    int16_t m_startX = 0;
    int16_t m_startY = 0;
    gdi::HGDIOBJ m_savedPen = 0;
    gdi::HGDIOBJ m_savedBrush = 0;
    int32_t m_lastX = 0;
    int32_t m_lastY = 0;
    bool m_moving = false;
    gdi::RECT m_selection;
    int16_t m_grabX = 0;
    int16_t m_grabY = 0;
    gdi::HDC m_backgroundDC = 0;
    gdi::HBITMAP m_backgroundBitmap = 0;
    gdi::HDC m_floatDC = 0;
    gdi::HBITMAP m_floatBitmap = 0;
    gdi::HBITMAP m_backBitmap = 0;
    gdi::HDC m_backDC = 0;
    Stack m_undo{};
    Stack m_redo{};
    gdi::HDC m_transferDC = 0;
    com::Object m_owner;
    forms::PictureBox* m_canvas = nullptr;
    forms::PictureBox* m_actual = nullptr;
    forms::PictureBox* m_preview = nullptr;
    forms::Label* m_colorLabel = nullptr;
    int16_t m_picType = 0;
    // The tool a stroke began with: its pen, brush and snapshot are the ones
    // MouseMove and MouseUp work on, even when the tool changes mid-stroke.
    QString m_activeTool;
};
