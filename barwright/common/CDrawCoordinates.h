#pragma once
// The coordinate members of the drawing engine: the canvas size in pixels,
// the transforms between canvas pixels and image pixels, clamping and
// normalising. The picture editor's engine and the toolset wizard's area
// engine both build on it; the image size is gPicWidth x gPicHeight.

#include "platform/gdi/Gdi.h"

#include <cstdint>

namespace forms {
class PictureBox;
}

class CDrawCoordinates {
public:
    int16_t XActualToCanvas(int16_t x) const;
    int16_t XCanvasToActual(int16_t x) const;
    bool XPixelInBitmap(int16_t x) const;
    bool YPixelInBitmap(int16_t y) const;
    int16_t YActualToCanvas(int16_t y) const;
    int16_t YCanvasToActual(int16_t y) const;

    int32_t CanvasWidth() const { return m_canvasWidth; }
    int32_t CanvasHeight() const { return m_canvasHeight; }

protected:
    CDrawCoordinates();   // canvas size W x H until bound
    ~CDrawCoordinates() = default;

    // The canvas control's inner size (twips) in pixels, halves to even;
    // nothing without a canvas.
    void CalcCanvasPixelSize(forms::PictureBox* canvas);
    int32_t ClampX(int32_t x) const;
    int32_t ClampY(int32_t y) const;
    void NormalizeRect(gdi::RECT& rect) const;
    int32_t W() const;
    int32_t H() const;

    int32_t m_canvasWidth = 0;
    int32_t m_canvasHeight = 0;
};
