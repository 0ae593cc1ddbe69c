#pragma once
// Drawing parameters of the tool picture editor, shared by the engines of the
// tool dialog, the screen grab and the connection's start values, with the
// standard colours, palette, brushes and small GDI helpers they all use. The
// parameters, colour routines and API helpers the toolset wizard shares live
// in barwright/common.

#include "barwright/common/DrawingParameters.h"
#include "barwright/common/StandardColors.h"
#include "barwright/common/mAPIDecl.h"
#include "platform/gdi/Gdi.h"

#include <QString>

#include <array>
#include <cstdint>

namespace forms {
class PictureBox;
}

namespace mDrawParams {

// The 17-entry standard palette (Palette16Entries) as a GDI logical palette.
inline gdi::HPALETTE gPalette16 = 0;

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

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
};
inline constexpr uint16_t Palette16Version = 0x300;
const std::array<PaletteEntry, 17>& Palette16Entries();

void Create16ColorPalette();
void Draw3DBorder(forms::PictureBox& pic, bool sunken);
// The same frame on a DC whose drawable area is width x height pixels.
void Draw3DBorder(gdi::HDC dc, int32_t width, int32_t height, bool sunken);
int32_t GetDrawToolCode(const QString& key);
void CreateBackgroundBrushes();
// Frees the shared brushes, palette and colour probe of the picture editor.
void FreeDrawResources();
void ReplaceImageColor(gdi::HDC dc, int32_t oldColor, int32_t newColor);

}  // namespace mDrawParams
