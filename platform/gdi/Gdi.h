#pragma once
// The GDI stand-in: bitmaps as 32-bit pixel arrays and device contexts that
// draw into them, following the Win32 rules the system's code relies on
// (line end points and rectangle right/bottom edges excluded, palette-relative
// colours accepted, pixel reads return exactly the colour written on a true-
// colour display). Plain C++ with no Qt, so the imaging kernels can build it
// for 32-bit x86 as well. Handles are 32-bit numbers, as the original code
// keeps them in Longs; 0 is "no object".

#include <cstdint>

namespace gdi {

using COLORREF = uint32_t;     // 0x00BBGGRR, optionally with the palette flag
using HGDIOBJ = int32_t;
using HBITMAP = int32_t;
using HDC = int32_t;
using HPEN = int32_t;
using HBRUSH = int32_t;
using HPALETTE = int32_t;

inline constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b)
{
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
inline constexpr uint8_t GetRValue(COLORREF c) { return uint8_t(c); }
inline constexpr uint8_t GetGValue(COLORREF c) { return uint8_t(c >> 8); }
inline constexpr uint8_t GetBValue(COLORREF c) { return uint8_t(c >> 16); }

inline constexpr COLORREF PaletteRelative = 0x02000000;
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Colour forms the system's code hands around: a palette-relative RGB (what
// every pixel write, pen and brush of the picture editor gets), the plain
// RGB without the flag, and the 0x800000nn system-colour form of the
// runtime's colour properties.
inline constexpr COLORREF PALETTERGB(uint8_t r, uint8_t g, uint8_t b)
{
    return RGB(r, g, b) | PaletteRelative;
}
inline constexpr COLORREF StripPaletteFlag(COLORREF c) { return c & 0x00FFFFFF; }
inline constexpr uint32_t SystemColorFlag = 0x80000000u;
inline constexpr uint32_t SystemColor(int32_t index) { return SystemColorFlag | uint32_t(index); }

struct POINT {
    int32_t x = 0;
    int32_t y = 0;
};

struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// ---- Rectangles ----------------------------------------------------------
bool SetRect(RECT* r, int32_t left, int32_t top, int32_t right, int32_t bottom);
bool SetRectEmpty(RECT* r);
bool IsRectEmpty(const RECT* r);            // right <= left or bottom <= top
bool CopyRect(RECT* dst, const RECT* src);
bool InflateRect(RECT* r, int32_t dx, int32_t dy);
bool OffsetRect(RECT* r, int32_t dx, int32_t dy);
bool PtInRect(const RECT* r, POINT p);      // right and bottom excluded
bool IntersectRect(RECT* dst, const RECT* a, const RECT* b);
bool UnionRect(RECT* dst, const RECT* a, const RECT* b);
bool EqualRect(const RECT* a, const RECT* b);

// ---- Bitmaps -------------------------------------------------------------
// A new bitmap is black (0). Width and height must be positive; else 0.
HBITMAP CreateBitmap(int32_t width, int32_t height);
HBITMAP CreateCompatibleBitmap(HDC dc, int32_t width, int32_t height);
bool GetBitmapSize(HBITMAP bmp, int32_t* width, int32_t* height);
// Row-major COLORREF pixels (no flag bits), width * height of them; null for
// a bad handle. Valid until the bitmap is deleted.
uint32_t* BitmapPixels(HBITMAP bmp);
// A copy of the bitmap, or 0.
HBITMAP CopyBitmap(HBITMAP bmp);
// The colour depth a bitmap was made for: 32 for CreateBitmap; the display's
// depth at creation for CreateCompatibleBitmap (never monochrome, even for a
// memory DC that still holds its stock bitmap). 0 for a bad handle.
int32_t GetBitmapBitsPixel(HBITMAP bmp);

// ---- Device contexts -----------------------------------------------------
// A memory DC starts with a 1 x 1 stock bitmap, a black 1-pixel solid pen, a
// white solid brush, background white, opaque mode, ROP2 copy-pen.
HDC CreateCompatibleDC(HDC reference);      // reference may be 0
bool DeleteDC(HDC dc);
// GetDC(0): a new DC over the screen bitmap (see SetScreenSize), in the
// start state of a memory DC; ReleaseDC frees it. No other window has a DC
// here (0).
HDC GetDC(int32_t window);
int32_t ReleaseDC(int32_t window, HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj);  // returns the previous object of that kind
bool DeleteObject(HGDIOBJ obj);             // fails while selected into a DC
HGDIOBJ GetCurrentObject(HDC dc, int32_t kind);
inline constexpr int32_t OBJ_PEN = 1;
inline constexpr int32_t OBJ_BRUSH = 2;
inline constexpr int32_t OBJ_DC = 3;
inline constexpr int32_t OBJ_PAL = 5;
inline constexpr int32_t OBJ_BITMAP = 7;
inline constexpr int32_t OBJ_MEMDC = 10;
// OBJ_PEN, OBJ_BRUSH, OBJ_PAL, OBJ_BITMAP, OBJ_DC (desktop DC), OBJ_MEMDC; 0
// for anything else.
int32_t GetObjectType(HGDIOBJ obj);

// ---- Pens and brushes ----------------------------------------------------
inline constexpr int32_t PS_SOLID = 0;
inline constexpr int32_t PS_DASH = 1;
inline constexpr int32_t PS_DOT = 2;
inline constexpr int32_t PS_NULL = 5;
inline constexpr int32_t PS_INSIDEFRAME = 6;
HPEN CreatePen(int32_t style, int32_t width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
inline constexpr int32_t HS_HORIZONTAL = 0;
inline constexpr int32_t HS_VERTICAL = 1;
inline constexpr int32_t HS_FDIAGONAL = 2;
inline constexpr int32_t HS_BDIAGONAL = 3;
inline constexpr int32_t HS_CROSS = 4;
inline constexpr int32_t HS_DIAGCROSS = 5;
// Hatch lines in the colour; gaps in the DC's background colour when opaque.
HBRUSH CreateHatchBrush(int32_t style, COLORREF color);
// Tiles the bitmap (copied at creation) from the brush origin.
HBRUSH CreatePatternBrush(HBITMAP bmp);
inline constexpr int32_t WHITE_BRUSH = 0;
inline constexpr int32_t LTGRAY_BRUSH = 1;
inline constexpr int32_t GRAY_BRUSH = 2;
inline constexpr int32_t DKGRAY_BRUSH = 3;
inline constexpr int32_t BLACK_BRUSH = 4;
inline constexpr int32_t NULL_BRUSH = 5;
inline constexpr int32_t HOLLOW_BRUSH = NULL_BRUSH;
inline constexpr int32_t WHITE_PEN = 6;
inline constexpr int32_t BLACK_PEN = 7;
inline constexpr int32_t NULL_PEN = 8;
inline constexpr int32_t DEFAULT_PALETTE = 15;
HGDIOBJ GetStockObject(int32_t which);      // never needs deleting
bool SetBrushOrgEx(HDC dc, int32_t x, int32_t y, POINT* old);
bool GetBrushOrgEx(HDC dc, POINT* org);

// ---- Palettes --------------------------------------------------------------
// Logical palettes are kept for the code that selects and reads them; they do
// not change how colours are written (the display depth alone decides that).
// A DC starts with DEFAULT_PALETTE: the 20 static colours of a palette display.
struct PALETTEENTRY {
    uint8_t peRed = 0;
    uint8_t peGreen = 0;
    uint8_t peBlue = 0;
    uint8_t peFlags = 0;
};
// 1 to 256 entries; else 0.
HPALETTE CreatePalette(const PALETTEENTRY* entries, int32_t count);
HPALETTE SelectPalette(HDC dc, HPALETTE pal, bool forceBackground);  // previous, or 0
uint32_t RealizePalette(HDC dc);
// Copies up to count entries from start; returns how many were copied (entries
// past the palette's end are left untouched). With entries null: the size.
uint32_t GetPaletteEntries(HPALETTE pal, uint32_t start, uint32_t count, PALETTEENTRY* entries);
// The display's palette (256 entries on an 8-bit display, none otherwise).
uint32_t GetSystemPaletteEntries(HDC dc, uint32_t start, uint32_t count,
                                 PALETTEENTRY* entries);

// ---- DC state ------------------------------------------------------------
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
inline constexpr int32_t TRANSPARENT = 1;
inline constexpr int32_t OPAQUE = 2;
int32_t SetBkMode(HDC dc, int32_t mode);
COLORREF SetTextColor(HDC dc, COLORREF color);
inline constexpr int32_t R2_BLACK = 1;
inline constexpr int32_t R2_NOT = 6;
inline constexpr int32_t R2_XORPEN = 7;
inline constexpr int32_t R2_NOP = 11;
inline constexpr int32_t R2_COPYPEN = 13;
inline constexpr int32_t R2_WHITE = 16;
int32_t SetROP2(HDC dc, int32_t mode);
int32_t GetBkMode(HDC dc);
COLORREF GetTextColor(HDC dc);
int32_t GetROP2(HDC dc);

// ---- Drawing -------------------------------------------------------------
COLORREF SetPixel(HDC dc, int32_t x, int32_t y, COLORREF color);  // returns the colour set
bool SetPixelV(HDC dc, int32_t x, int32_t y, COLORREF color);
COLORREF GetPixel(HDC dc, int32_t x, int32_t y);  // CLR_INVALID outside the bitmap
bool MoveToEx(HDC dc, int32_t x, int32_t y, POINT* old);
bool LineTo(HDC dc, int32_t x, int32_t y);         // end point not drawn
bool GetCurrentPositionEx(HDC dc, POINT* pos);
bool Polyline(HDC dc, const POINT* points, int32_t count);  // last point not drawn
bool Rectangle(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
bool Ellipse(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
// The brush may also be a system colour index + 1, as in a window class.
int32_t FillRect(HDC dc, const RECT* r, HBRUSH brush);
int32_t FrameRect(HDC dc, const RECT* r, HBRUSH brush);
bool DrawFocusRect(HDC dc, const RECT* r);        // XOR dotted frame
bool PatBlt(HDC dc, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop);
inline constexpr uint32_t FLOODFILLBORDER = 0;
inline constexpr uint32_t FLOODFILLSURFACE = 1;
bool ExtFloodFill(HDC dc, int32_t x, int32_t y, COLORREF color, uint32_t type);

// ---- Blits ---------------------------------------------------------------
inline constexpr uint32_t SRCCOPY = 0x00CC0020;
inline constexpr uint32_t SRCPAINT = 0x00EE0086;
inline constexpr uint32_t SRCAND = 0x008800C6;
inline constexpr uint32_t SRCINVERT = 0x00660046;
inline constexpr uint32_t SRCERASE = 0x00440328;
inline constexpr uint32_t NOTSRCCOPY = 0x00330008;
inline constexpr uint32_t NOTSRCERASE = 0x001100A6;
inline constexpr uint32_t MERGECOPY = 0x00C000CA;
inline constexpr uint32_t MERGEPAINT = 0x00BB0226;
inline constexpr uint32_t PATCOPY = 0x00F00021;
inline constexpr uint32_t PATPAINT = 0x00FB0A09;
inline constexpr uint32_t PATINVERT = 0x005A0049;
inline constexpr uint32_t DSTINVERT = 0x00550009;
inline constexpr uint32_t BLACKNESS = 0x00000042;
inline constexpr uint32_t WHITENESS = 0x00FF0062;
bool BitBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy,
            uint32_t rop);
// Nearest-neighbour; negative widths or heights mirror.
bool StretchBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx,
                int32_t sy, int32_t sw, int32_t sh, uint32_t rop);
inline constexpr int32_t BLACKONWHITE = 1;
inline constexpr int32_t COLORONCOLOR = 3;
int32_t SetStretchBltMode(HDC dc, int32_t mode);

// ---- System colours and the display ---------------------------------------
inline constexpr int32_t COLOR_SCROLLBAR = 0;
inline constexpr int32_t COLOR_BACKGROUND = 1;
inline constexpr int32_t COLOR_WINDOW = 5;
inline constexpr int32_t COLOR_WINDOWTEXT = 8;
inline constexpr int32_t COLOR_BTNFACE = 15;
inline constexpr int32_t COLOR_BTNSHADOW = 16;
inline constexpr int32_t COLOR_GRAYTEXT = 17;
inline constexpr int32_t COLOR_BTNTEXT = 18;
inline constexpr int32_t COLOR_3DDKSHADOW = 21;
inline constexpr int32_t COLOR_3DLIGHT = 22;
inline constexpr int32_t COLOR_BTNHIGHLIGHT = 20;
inline constexpr int32_t COLOR_INFOBK = 24;
COLORREF GetSysColor(int32_t index);        // indexes 0 to 24
// Changes system colours (as a user's colour scheme would); for tests.
bool SetSysColors(int32_t count, const int32_t* indexes, const COLORREF* colors);
// Puts back the classic defaults.
void ResetSysColors();
// Resolves a colour as the original runtime's colour properties do: a value
// 0x800000nn is system colour nn; the palette flag is dropped.
COLORREF TranslateColor(int64_t oleColor);

inline constexpr int32_t HORZRES = 8;
inline constexpr int32_t VERTRES = 10;
inline constexpr int32_t BITSPIXEL = 12;
inline constexpr int32_t PLANES = 14;
inline constexpr int32_t NUMCOLORS = 24;
inline constexpr int32_t RASTERCAPS = 38;
inline constexpr int32_t RC_PALETTE = 0x0100;
inline constexpr int32_t LOGPIXELSX = 88;
inline constexpr int32_t LOGPIXELSY = 90;
inline constexpr int32_t SIZEPALETTE = 104;
int32_t GetDeviceCaps(HDC dc, int32_t index);
// The colour a write of `color` would store on this display.
COLORREF GetNearestColor(HDC dc, COLORREF color);

// Display depth: 32 (true colour, default), 8 (256 colours) or 4 (16 colours).
// On 4 and 8 every colour written into a bitmap is mapped to the nearest
// palette entry; on 32 colours are stored as given.
void SetDisplayBitsPerPixel(int32_t bits);
int32_t DisplayBitsPerPixel();
// The screen (desktop) bitmap behind GetDC(0); starts at 1024 x 768.
void SetScreenSize(int32_t width, int32_t height);
HBITMAP ScreenBitmap();

// ---- Bookkeeping for tests -----------------------------------------------
struct LiveObjects {
    int32_t bitmaps = 0;   // stock and screen bitmaps not counted
    int32_t dcs = 0;       // the desktop DC not counted
    int32_t pens = 0;
    int32_t brushes = 0;
    int32_t palettes = 0;  // stock palette not counted
    int32_t desktopDcs = 0;  // GetDC(0) results not yet released
};
LiveObjects CountLiveObjects();

}  // namespace gdi
