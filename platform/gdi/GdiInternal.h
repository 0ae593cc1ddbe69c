#pragma once
// Internals shared by the GDI stand-in's source files: the handle table, the
// object kinds it holds and the colour mapping of the display. Not for users
// of the layer; every public entry point takes the table lock and then works
// on these structures directly.

#include "platform/gdi/Gdi.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace gdi::detail {

enum class Kind : uint8_t { Free, Bitmap, Dc, Pen, Brush, Palette };

struct Bitmap {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPixel = 32;
    std::vector<uint32_t> pixels;
    HDC selectedIn = 0;     // the DC holding it, 0 when free
    bool readOnly = false;  // the shared 1 x 1 stock bitmap
    bool screen = false;
};

struct Pen {
    int32_t style = PS_SOLID;
    int32_t width = 1;
    COLORREF color = 0;
};

enum class BrushKind : uint8_t { Solid, Hatch, Pattern, Null };

struct Brush {
    BrushKind kind = BrushKind::Solid;
    COLORREF color = 0;
    int32_t hatch = 0;
    int32_t patWidth = 0;
    int32_t patHeight = 0;
    std::vector<uint32_t> pattern;
};

struct Palette {
    std::vector<PALETTEENTRY> entries;
};

struct Dc {
    HBITMAP bitmap = 0;
    HPEN pen = 0;
    HBRUSH brush = 0;
    HPALETTE palette = 0;
    COLORREF bkColor = RGB(255, 255, 255);
    int32_t bkMode = OPAQUE;
    COLORREF textColor = 0;
    int32_t rop2 = R2_COPYPEN;
    int32_t stretchMode = BLACKONWHITE;
    POINT pos;
    POINT brushOrg;
    bool desktop = false;
};

struct Entry {
    Kind kind = Kind::Free;
    uint16_t generation = 1;
    bool stock = false;
    int32_t selectCount = 0;  // pens, brushes and palettes held by DCs
    std::unique_ptr<Bitmap> bitmap;
    std::unique_ptr<Dc> dc;
    std::unique_ptr<Pen> pen;
    std::unique_ptr<Brush> brush;
    std::unique_ptr<Palette> palette;
};

// The one table of GDI objects. A handle is (generation << 20) | slot, so a
// handle kept after its object was deleted does not reach a later object in
// the same slot, and every real handle is above the small numbers that stand
// for system-colour brushes.
class Table {
public:
    static Table& instance();

    std::recursive_mutex mutex;

    int32_t add(Kind kind, Entry&& entry);
    Entry* find(int32_t handle, Kind kind);
    Entry* findAny(int32_t handle);
    void remove(int32_t handle);

    Bitmap* bitmap(int32_t h);
    Dc* dc(int32_t h);
    Pen* pen(int32_t h);
    Brush* brush(int32_t h);
    Palette* palette(int32_t h);

    int32_t stock[16] = {};
    HBITMAP stockBitmap = 0;
    HBITMAP screenBitmap = 0;
    LiveObjects live;

private:
    Table();
    std::vector<Entry> entries_;
    std::vector<uint32_t> freeSlots_;  // reused oldest first
    size_t freeHead_ = 0;
};

using Lock = std::lock_guard<std::recursive_mutex>;

// ---- Colours of the display -------------------------------------------------
int32_t displayBits();
// The colour a write stores: the flag dropped and, on a palette display, the
// nearest palette colour.
COLORREF deviceColor(COLORREF c);
// Flag and index forms resolved to a plain RGB (a PALETTEINDEX against the
// DC's palette).
COLORREF plainColor(const Dc* dc, COLORREF c);
const std::vector<PALETTEENTRY>& staticColors();  // the 20 of DEFAULT_PALETTE

// ---- Drawing targets ----------------------------------------------------------
// The pixels a DC writes to; null pixels when it has nothing writable.
struct Surface {
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    bool valid() const { return pixels != nullptr; }
    uint32_t* row(int32_t y) const { return pixels + size_t(y) * size_t(width); }
};
Surface surfaceOf(const Dc* dc);
// Read-only view (the stock bitmap included).
Surface readSurfaceOf(const Dc* dc);

// Result of one of the 16 binary raster operations (R2_*) on 24-bit colours.
inline uint32_t rop2(int32_t mode, uint32_t pen, uint32_t dst)
{
    const uint32_t t = uint32_t(mode - 1) & 15u;
    uint32_t r = 0;
    if (t & 1u) r |= ~pen & ~dst;
    if (t & 2u) r |= ~pen & dst;
    if (t & 4u) r |= pen & ~dst;
    if (t & 8u) r |= pen & dst;
    return r & 0x00FFFFFFu;
}

// Result of a ternary raster operation (its index byte) on 24-bit colours.
inline uint32_t rop3(uint32_t index, uint32_t pat, uint32_t src, uint32_t dst)
{
    uint32_t r = 0;
    for (uint32_t i = 0; i < 8; ++i) {
        if (!(index & (1u << i))) continue;
        r |= ((i & 4u) ? pat : ~pat) & ((i & 2u) ? src : ~src) & ((i & 1u) ? dst : ~dst);
    }
    return r & 0x00FFFFFFu;
}

// A brush as it paints at one device pixel.
class BrushPainter {
public:
    BrushPainter(const Dc* dc, const Brush* brush);
    bool paints() const { return brush_ != nullptr && brush_->kind != BrushKind::Null; }
    // False where a transparent hatch leaves the pixel alone.
    bool colorAt(int32_t x, int32_t y, uint32_t* color) const;
    bool isSolid() const { return brush_ != nullptr && brush_->kind == BrushKind::Solid; }
    uint32_t solid() const { return solid_; }

private:
    const Brush* brush_;
    int32_t orgX_ = 0;
    int32_t orgY_ = 0;
    uint32_t solid_ = 0;
    uint32_t back_ = 0;
    bool opaque_ = true;
};

inline int32_t floorMod(int64_t a, int32_t m)
{
    int64_t r = a % m;
    return int32_t(r < 0 ? r + m : r);
}

}  // namespace gdi::detail
