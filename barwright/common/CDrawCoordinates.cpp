#include "barwright/common/CDrawCoordinates.h"

#include "barwright/common/DrawingParameters.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Conversions.h"

#include <utility>

using namespace mDrawParams;

CDrawCoordinates::CDrawCoordinates()
    : m_canvasWidth(gPicWidth), m_canvasHeight(gPicHeight)
{
}

int16_t CDrawCoordinates::XActualToCanvas(int16_t x) const
{
    return rt::CInt(double(m_canvasWidth) / W() * x);
}

int16_t CDrawCoordinates::XCanvasToActual(int16_t x) const
{
    if (m_canvasWidth <= 0)   // a collapsed canvas maps nothing
        return 0;
    return int16_t(rt::Int(x / (double(m_canvasWidth) / W())));
}

bool CDrawCoordinates::XPixelInBitmap(int16_t x) const
{
    return x >= 0 && x < W();
}

bool CDrawCoordinates::YPixelInBitmap(int16_t y) const
{
    return y >= 0 && y < H();
}

int16_t CDrawCoordinates::YActualToCanvas(int16_t y) const
{
    return rt::CInt(double(m_canvasHeight) / H() * y);
}

int16_t CDrawCoordinates::YCanvasToActual(int16_t y) const
{
    if (m_canvasHeight <= 0)
        return 0;
    return int16_t(rt::Int(y / (double(m_canvasHeight) / H())));
}

void CDrawCoordinates::CalcCanvasPixelSize(forms::PictureBox* canvas)
{
    if (!canvas)
        return;
    m_canvasWidth = rt::CLng(canvas->ScaleWidth() / forms::Screen::TwipsPerPixelX());
    m_canvasHeight = rt::CLng(canvas->ScaleHeight() / forms::Screen::TwipsPerPixelY());
}

int32_t CDrawCoordinates::ClampX(int32_t x) const
{
    return x < 0 ? 0 : (x < W() ? x : W() - 1);
}

int32_t CDrawCoordinates::ClampY(int32_t y) const
{
    return y < 0 ? 0 : (y < H() ? y : H() - 1);
}

void CDrawCoordinates::NormalizeRect(gdi::RECT& rect) const
{
    if (rect.top > rect.bottom)
        std::swap(rect.top, rect.bottom);
    if (rect.left > rect.right)
        std::swap(rect.left, rect.right);
}

int32_t CDrawCoordinates::W() const
{
    return gPicWidth;
}

int32_t CDrawCoordinates::H() const
{
    return gPicHeight;
}
