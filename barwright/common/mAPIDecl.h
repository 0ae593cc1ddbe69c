#pragma once
// The two small helpers of the API declarations module: a bitmap compatible
// with a DC, and the inclusive point-in-rectangle test of the picture code.

#include "platform/gdi/Gdi.h"

#include <cstdint>

gdi::HBITMAP CreateImageBitmap(gdi::HDC dc, int32_t width, int32_t height);
// Inclusive test: right and bottom belong to the rectangle; False when empty.
bool IsPointInRect(const gdi::RECT& rect, int32_t x, int32_t y);
