#pragma once
// Drawing parameters of the tool picture editor, shared by the engines of the
// tool dialog, the screen grab and the connection's start values, with the
// standard colours, palette, brushes and small GDI helpers they all use.

#include "platform/gdi/Gdi.h"

#include <QString>

#include <array>
#include <cstdint>

namespace forms {
class PictureBox;
}

namespace mDrawParams {

inline int32_t gMaskColor = -1;
inline int32_t gForeColor = -1;   // left colour
inline int32_t gBackColor = -1;   // right colour
inline QString gCurrentToolID;
inline QString gPreviousToolID;
inline int16_t gPicWidth = 16;
inline int16_t gPicHeight = 16;

inline gdi::HBRUSH gCheckerBrush = 0;   // 8 x 8 checker of the canvas grid
inline gdi::HBRUSH gHatchBrush = 0;     // marks mask pixels on the canvas
// The 17-entry standard palette. The GDI stand-in has no palette objects, so
// this is a token for the module's own logical palette (Palette16Entries).
inline int32_t gPalette16 = 0;

// Drawing-tool codes; also the numbers of the drawing cursors.
inline constexpr int32_t ToolSelect = 1000;
inline constexpr int32_t ToolPencil = 1001;
inline constexpr int32_t ToolPickup = 1002;
inline constexpr int32_t ToolFill = 1003;
inline constexpr int32_t ToolLine = 1004;
inline constexpr int32_t ToolDither = 1005;
inline constexpr int32_t ToolFrameBox = 1006;
inline constexpr int32_t ToolFrameFilledBox = 1007;
inline constexpr int32_t ToolFilledBox = 1008;
inline constexpr int32_t ToolFrameCircle = 1009;
inline constexpr int32_t ToolFrameFilledCircle = 1010;
inline constexpr int32_t ToolFilledCircle = 1011;

// A colour as handed to GDI pixel, pen and brush calls.
inline constexpr gdi::COLORREF PaletteColor(int32_t color)
{
    return gdi::COLORREF(color) | gdi::PaletteRelative;
}

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
};
inline constexpr uint16_t Palette16Version = 0x300;
const std::array<PaletteEntry, 17>& Palette16Entries();

// Standard colour `index` as the display renders it; error 9 outside 0..15.
int32_t Get16Color(int16_t index);
void Create16ColorPalette();
void Draw3DBorder(forms::PictureBox& pic, bool sunken);
// The same frame on a DC whose drawable area is width x height pixels.
void Draw3DBorder(gdi::HDC dc, int32_t width, int32_t height, bool sunken);
int32_t GetDrawToolCode(const QString& key);
int32_t GetNearestDisplayColor(int32_t color);
void SplitColorHex(int32_t color, int16_t& c1, int16_t& c2, int16_t& c3);
void Get16ColorComponents(int16_t index, int16_t& c1, int16_t& c2, int16_t& c3);
bool Is16Color(int32_t color);
int32_t GetClosest16Color(int32_t color);
void CreateBackgroundBrushes();
// Frees the shared brushes, palette and colour probe of the picture editor.
void FreeDrawResources();
void ReplaceImageColor(gdi::HDC dc, int32_t oldColor, int32_t newColor);

}  // namespace mDrawParams

// Helpers of the API declarations module, used by the engine and the grabber.
gdi::HBITMAP CreateImageBitmap(gdi::HDC dc, int32_t width, int32_t height);
// Inclusive test: right and bottom belong to the rectangle; False when empty.
bool IsPointInRect(const gdi::RECT& rect, int32_t x, int32_t y);
