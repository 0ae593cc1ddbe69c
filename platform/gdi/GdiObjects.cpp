// The handle table and the life cycle of GDI objects: bitmaps, device
// contexts, pens, brushes and palettes, selection into DCs, stock objects,
// the screen, and the DC state setters.

#include "platform/gdi/GdiInternal.h"

#include <new>
#include <type_traits>
#include <utility>

namespace gdi {
namespace detail {
namespace {

constexpr uint32_t kSlotBits = 20;
constexpr uint32_t kSlotMask = (1u << kSlotBits) - 1;
constexpr uint32_t kGenerationMask = 0x7FF;  // keeps handles positive
constexpr int64_t kMaxPixels = int64_t(1) << 26;
constexpr int32_t kMaxSide = 1 << 20;

std::unique_ptr<Bitmap> newBitmap(int32_t width, int32_t height, int32_t bits)
{
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return nullptr;
    if (int64_t(width) * int64_t(height) > kMaxPixels) return nullptr;
    auto b = std::make_unique<Bitmap>();
    b->width = width;
    b->height = height;
    b->bitsPixel = bits;
    try {
        b->pixels.assign(size_t(width) * size_t(height), 0u);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return b;
}

}  // namespace

Table& Table::instance()
{
    // Never destroyed: objects held by other statics (pictures on forms that
    // live for the process) may still delete their bitmaps during exit.
    static Table* const table = new Table;
    return *table;
}

Table::Table()
{
    entries_.resize(1);  // slot 0 is never used: handle 0 means no object
    auto stockEntry = [this](Kind kind, Entry&& e) {
        e.stock = true;
        return add(kind, std::move(e));
    };
    auto solidBrush = [&](COLORREF c) {
        Entry e;
        e.brush = std::make_unique<Brush>();
        e.brush->color = c;
        return stockEntry(Kind::Brush, std::move(e));
    };
    auto pen = [&](int32_t style, COLORREF c) {
        Entry e;
        e.pen = std::make_unique<Pen>();
        e.pen->style = style;
        e.pen->color = c;
        return stockEntry(Kind::Pen, std::move(e));
    };
    stock[WHITE_BRUSH] = solidBrush(RGB(255, 255, 255));
    stock[LTGRAY_BRUSH] = solidBrush(RGB(192, 192, 192));
    stock[GRAY_BRUSH] = solidBrush(RGB(128, 128, 128));
    stock[DKGRAY_BRUSH] = solidBrush(RGB(64, 64, 64));
    stock[BLACK_BRUSH] = solidBrush(RGB(0, 0, 0));
    {
        Entry e;
        e.brush = std::make_unique<Brush>();
        e.brush->kind = BrushKind::Null;
        stock[NULL_BRUSH] = stockEntry(Kind::Brush, std::move(e));
    }
    stock[WHITE_PEN] = pen(PS_SOLID, RGB(255, 255, 255));
    stock[BLACK_PEN] = pen(PS_SOLID, RGB(0, 0, 0));
    stock[NULL_PEN] = pen(PS_NULL, 0);
    {
        Entry e;
        e.palette = std::make_unique<Palette>();
        e.palette->entries = staticColors();
        stock[DEFAULT_PALETTE] = stockEntry(Kind::Palette, std::move(e));
    }
    {
        Entry e;
        e.bitmap = newBitmap(1, 1, 1);
        e.bitmap->readOnly = true;
        stockBitmap = stockEntry(Kind::Bitmap, std::move(e));
    }
    {
        Entry e;
        e.bitmap = newBitmap(1024, 768, 32);
        e.bitmap->screen = true;
        screenBitmap = stockEntry(Kind::Bitmap, std::move(e));
    }
}

int32_t Table::add(Kind kind, Entry&& entry)
{
    uint32_t slot;
    if (freeHead_ < freeSlots_.size()) {
        slot = freeSlots_[freeHead_++];
        if (freeHead_ > 1024 && freeHead_ * 2 > freeSlots_.size()) {
            freeSlots_.erase(freeSlots_.begin(), freeSlots_.begin() + ptrdiff_t(freeHead_));
            freeHead_ = 0;
        }
    } else {
        if (entries_.size() > kSlotMask) return 0;
        slot = uint32_t(entries_.size());
        entries_.emplace_back();
    }
    Entry& e = entries_[slot];
    const uint16_t generation = e.generation;
    e = std::move(entry);
    e.kind = kind;
    e.generation = generation;
    e.selectCount = 0;
    if (!e.stock) {
        switch (kind) {
        case Kind::Bitmap: ++live.bitmaps; break;
        case Kind::Dc:
            if (e.dc->desktop) ++live.desktopDcs; else ++live.dcs;
            break;
        case Kind::Pen: ++live.pens; break;
        case Kind::Brush: ++live.brushes; break;
        case Kind::Palette: ++live.palettes; break;
        case Kind::Free: break;
        }
    }
    return int32_t((uint32_t(generation) << kSlotBits) | slot);
}

Entry* Table::findAny(int32_t handle)
{
    if (handle <= 0) return nullptr;
    const uint32_t slot = uint32_t(handle) & kSlotMask;
    const uint32_t generation = uint32_t(handle) >> kSlotBits;
    if (slot == 0 || slot >= entries_.size()) return nullptr;
    Entry& e = entries_[slot];
    if (e.kind == Kind::Free || e.generation != generation) return nullptr;
    return &e;
}

Entry* Table::find(int32_t handle, Kind kind)
{
    Entry* e = findAny(handle);
    return e && e->kind == kind ? e : nullptr;
}

void Table::remove(int32_t handle)
{
    Entry* e = findAny(handle);
    if (!e) return;
    if (!e->stock) {
        switch (e->kind) {
        case Kind::Bitmap: --live.bitmaps; break;
        case Kind::Dc:
            if (e->dc->desktop) --live.desktopDcs; else --live.dcs;
            break;
        case Kind::Pen: --live.pens; break;
        case Kind::Brush: --live.brushes; break;
        case Kind::Palette: --live.palettes; break;
        case Kind::Free: break;
        }
    }
    uint16_t generation = uint16_t((e->generation + 1) & kGenerationMask);
    if (generation == 0) generation = 1;
    *e = Entry();
    e->generation = generation;
    freeSlots_.push_back(uint32_t(handle) & kSlotMask);
}

Bitmap* Table::bitmap(int32_t h)
{
    Entry* e = find(h, Kind::Bitmap);
    return e ? e->bitmap.get() : nullptr;
}
Dc* Table::dc(int32_t h)
{
    Entry* e = find(h, Kind::Dc);
    return e ? e->dc.get() : nullptr;
}
Pen* Table::pen(int32_t h)
{
    Entry* e = find(h, Kind::Pen);
    return e ? e->pen.get() : nullptr;
}
Brush* Table::brush(int32_t h)
{
    Entry* e = find(h, Kind::Brush);
    return e ? e->brush.get() : nullptr;
}
Palette* Table::palette(int32_t h)
{
    Entry* e = find(h, Kind::Palette);
    return e ? e->palette.get() : nullptr;
}

Surface surfaceOf(const Dc* dc)
{
    if (!dc) return {};
    Bitmap* b = Table::instance().bitmap(dc->bitmap);
    if (!b || b->readOnly) return {};
    return {b->pixels.data(), b->width, b->height};
}

Surface readSurfaceOf(const Dc* dc)
{
    if (!dc) return {};
    Bitmap* b = Table::instance().bitmap(dc->bitmap);
    if (!b) return {};
    return {b->pixels.data(), b->width, b->height};
}

}  // namespace detail

using namespace detail;

// ---- Bitmaps ----------------------------------------------------------------

HBITMAP CreateBitmap(int32_t width, int32_t height)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    Entry e;
    e.bitmap = newBitmap(width, height, 32);
    if (!e.bitmap) return 0;
    return t.add(Kind::Bitmap, std::move(e));
}

HBITMAP CreateCompatibleBitmap(HDC dc, int32_t width, int32_t height)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    if (dc != 0 && !t.dc(dc)) return 0;
    Entry e;
    e.bitmap = newBitmap(width, height, displayBits());
    if (!e.bitmap) return 0;
    return t.add(Kind::Bitmap, std::move(e));
}

bool GetBitmapSize(HBITMAP bmp, int32_t* width, int32_t* height)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    const Bitmap* b = t.bitmap(bmp);
    if (!b) return false;
    if (width) *width = b->width;
    if (height) *height = b->height;
    return true;
}

int32_t GetBitmapBitsPixel(HBITMAP bmp)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    const Bitmap* b = t.bitmap(bmp);
    return b ? b->bitsPixel : 0;
}

uint32_t* BitmapPixels(HBITMAP bmp)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    Bitmap* b = t.bitmap(bmp);
    return b ? b->pixels.data() : nullptr;
}

HBITMAP CopyBitmap(HBITMAP bmp)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    const Bitmap* b = t.bitmap(bmp);
    if (!b) return 0;
    Entry e;
    e.bitmap = newBitmap(b->width, b->height, b->bitsPixel);
    if (!e.bitmap) return 0;
    e.bitmap->pixels = b->pixels;
    return t.add(Kind::Bitmap, std::move(e));
}

// ---- Device contexts --------------------------------------------------------

namespace {

HDC newDc(Table& t, bool desktop)
{
    Entry e;
    e.dc = std::make_unique<Dc>();
    Dc& d = *e.dc;
    d.desktop = desktop;
    d.bitmap = desktop ? t.screenBitmap : t.stockBitmap;
    d.pen = t.stock[BLACK_PEN];
    d.brush = t.stock[WHITE_BRUSH];
    d.palette = t.stock[DEFAULT_PALETTE];
    const HDC h = t.add(Kind::Dc, std::move(e));
    if (h == 0) return 0;
    for (int32_t held : {t.stock[BLACK_PEN], t.stock[WHITE_BRUSH], t.stock[DEFAULT_PALETTE]})
        ++t.findAny(held)->selectCount;
    return h;
}

void freeDc(Table& t, HDC h)
{
    Dc* d = t.dc(h);
    if (!d) return;
    if (Bitmap* b = t.bitmap(d->bitmap); b && b->selectedIn == h) b->selectedIn = 0;
    for (int32_t held : {d->pen, d->brush, d->palette}) {
        if (Entry* e = t.findAny(held); e && e->selectCount > 0) --e->selectCount;
    }
    t.remove(h);
}

}  // namespace

HDC CreateCompatibleDC(HDC reference)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    if (reference != 0 && !t.dc(reference)) return 0;
    return newDc(t, false);
}

bool DeleteDC(HDC dc)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    if (!t.dc(dc)) return false;
    freeDc(t, dc);
    return true;
}

HDC GetDC(int32_t window)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    if (window != 0) return 0;
    return newDc(t, true);
}

int32_t ReleaseDC(int32_t window, HDC dc)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    (void)window;
    const Dc* d = t.dc(dc);
    if (!d || !d->desktop) return 0;
    freeDc(t, dc);
    return 1;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    Dc* d = t.dc(dc);
    Entry* e = t.findAny(obj);
    if (!d || !e) return 0;
    HGDIOBJ* slot = nullptr;
    switch (e->kind) {
    case Kind::Bitmap: {
        Bitmap* b = e->bitmap.get();
        if (d->desktop || b->screen) return 0;
        if (d->bitmap == obj) return obj;
        if (!b->readOnly && b->selectedIn != 0) return 0;
        const HBITMAP previous = d->bitmap;
        if (Bitmap* old = t.bitmap(previous); old && old->selectedIn == dc) old->selectedIn = 0;
        if (!b->readOnly) b->selectedIn = dc;
        d->bitmap = obj;
        return previous;
    }
    case Kind::Pen: slot = &d->pen; break;
    case Kind::Brush: slot = &d->brush; break;
    default: return 0;  // palettes go through SelectPalette
    }
    const HGDIOBJ previous = *slot;
    if (previous == obj) return obj;
    if (Entry* old = t.findAny(previous); old && old->selectCount > 0) --old->selectCount;
    ++e->selectCount;
    *slot = obj;
    return previous;
}

bool DeleteObject(HGDIOBJ obj)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    Entry* e = t.findAny(obj);
    if (!e || e->kind == Kind::Dc) return false;
    if (e->stock) return e->kind != Kind::Bitmap || !e->bitmap->screen;
    if (e->kind == Kind::Bitmap) {
        if (e->bitmap->selectedIn != 0) return false;
    } else if (e->selectCount > 0) {
        return false;
    }
    t.remove(obj);
    return true;
}

HGDIOBJ GetCurrentObject(HDC dc, int32_t kind)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    const Dc* d = t.dc(dc);
    if (!d) return 0;
    switch (kind) {
    case OBJ_PEN: return d->pen;
    case OBJ_BRUSH: return d->brush;
    case OBJ_BITMAP: return d->bitmap;
    case OBJ_PAL: return d->palette;
    default: return 0;
    }
}

int32_t GetObjectType(HGDIOBJ obj)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    const Entry* e = t.findAny(obj);
    if (!e) return 0;
    switch (e->kind) {
    case Kind::Bitmap: return OBJ_BITMAP;
    case Kind::Dc: return e->dc->desktop ? OBJ_DC : OBJ_MEMDC;
    case Kind::Pen: return OBJ_PEN;
    case Kind::Brush: return OBJ_BRUSH;
    case Kind::Palette: return OBJ_PAL;
    case Kind::Free: return 0;
    }
    return 0;
}

// ---- Pens, brushes and palettes ---------------------------------------------

HPEN CreatePen(int32_t style, int32_t width, COLORREF color)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    if (style != PS_SOLID && style != PS_DASH && style != PS_DOT && style != PS_NULL &&
        style != PS_INSIDEFRAME)
        return 0;
    Entry e;
    e.pen = std::make_unique<Pen>();
    e.pen->style = style;
    // Wide pens are capped so a stroke's footprint stays bounded.
    e.pen->width = width < 1 ? 1 : width > 4096 ? 4096 : width;
    e.pen->color = plainColor(nullptr, color);
    return t.add(Kind::Pen, std::move(e));
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    Entry e;
    e.brush = std::make_unique<Brush>();
    e.brush->color = plainColor(nullptr, color);
    return t.add(Kind::Brush, std::move(e));
}

HBRUSH CreateHatchBrush(int32_t style, COLORREF color)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    if (style < HS_HORIZONTAL || style > HS_DIAGCROSS) return 0;
    Entry e;
    e.brush = std::make_unique<Brush>();
    e.brush->kind = BrushKind::Hatch;
    e.brush->hatch = style;
    e.brush->color = plainColor(nullptr, color);
    return t.add(Kind::Brush, std::move(e));
}

HBRUSH CreatePatternBrush(HBITMAP bmp)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    const Bitmap* b = t.bitmap(bmp);
    if (!b) return 0;
    Entry e;
    e.brush = std::make_unique<Brush>();
    e.brush->kind = BrushKind::Pattern;
    e.brush->patWidth = b->width;
    e.brush->patHeight = b->height;
    try {
        e.brush->pattern = b->pixels;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return t.add(Kind::Brush, std::move(e));
}

HGDIOBJ GetStockObject(int32_t which)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    if (which < 0 || which >= 16) return 0;
    return t.stock[which];
}

HPALETTE CreatePalette(const PALETTEENTRY* entries, int32_t count)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    if (!entries || count < 1 || count > 256) return 0;
    Entry e;
    e.palette = std::make_unique<Palette>();
    e.palette->entries.assign(entries, entries + count);
    return t.add(Kind::Palette, std::move(e));
}

HPALETTE SelectPalette(HDC dc, HPALETTE pal, bool forceBackground)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    (void)forceBackground;
    Dc* d = t.dc(dc);
    Entry* e = t.find(pal, Kind::Palette);
    if (!d || !e) return 0;
    const HPALETTE previous = d->palette;
    if (previous == pal) return pal;
    if (Entry* old = t.findAny(previous); old && old->selectCount > 0) --old->selectCount;
    ++e->selectCount;
    d->palette = pal;
    return previous;
}

uint32_t RealizePalette(HDC dc)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    return t.dc(dc) ? 0 : CLR_INVALID;
}

uint32_t GetPaletteEntries(HPALETTE pal, uint32_t start, uint32_t count, PALETTEENTRY* entries)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    const Palette* p = t.palette(pal);
    if (!p) return 0;
    const auto size = uint32_t(p->entries.size());
    if (!entries) return size;
    uint32_t n = 0;
    for (uint32_t i = start; i < size && n < count; ++i, ++n) entries[n] = p->entries[i];
    return n;
}

// ---- DC state ---------------------------------------------------------------

namespace {

// Each call reads or swaps one field of a DC under the table's lock; a handle
// that is no DC reads as `none` and changes nothing.
template <class T>
T getField(HDC dc, T Dc::*field, std::type_identity_t<T> none)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    const Dc* d = t.dc(dc);
    return d ? d->*field : none;
}

// A mode outside lo..hi is refused as an unknown DC is: 0, nothing changed.
int32_t swapMode(HDC dc, int32_t Dc::*field, int32_t mode, int32_t lo, int32_t hi)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    Dc* d = t.dc(dc);
    if (!d || mode < lo || mode > hi) return 0;
    return std::exchange(d->*field, mode);
}

COLORREF swapColor(HDC dc, COLORREF Dc::*field, COLORREF color)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    Dc* d = t.dc(dc);
    if (!d) return CLR_INVALID;
    return std::exchange(d->*field, plainColor(d, color));
}

bool swapPoint(HDC dc, POINT Dc::*field, int32_t x, int32_t y, POINT* old)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    Dc* d = t.dc(dc);
    if (!d) return false;
    if (old) *old = d->*field;
    d->*field = {x, y};
    return true;
}

bool getPoint(HDC dc, POINT Dc::*field, POINT* out)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    const Dc* d = t.dc(dc);
    if (!d || !out) return false;
    *out = d->*field;
    return true;
}

}  // namespace

bool SetBrushOrgEx(HDC dc, int32_t x, int32_t y, POINT* old)
{
    return swapPoint(dc, &Dc::brushOrg, x, y, old);
}

bool GetBrushOrgEx(HDC dc, POINT* org) { return getPoint(dc, &Dc::brushOrg, org); }

COLORREF SetBkColor(HDC dc, COLORREF color) { return swapColor(dc, &Dc::bkColor, color); }

COLORREF GetBkColor(HDC dc) { return getField(dc, &Dc::bkColor, CLR_INVALID); }

int32_t SetBkMode(HDC dc, int32_t mode)
{
    return swapMode(dc, &Dc::bkMode, mode, TRANSPARENT, OPAQUE);
}

int32_t GetBkMode(HDC dc) { return getField(dc, &Dc::bkMode, 0); }

COLORREF SetTextColor(HDC dc, COLORREF color) { return swapColor(dc, &Dc::textColor, color); }

COLORREF GetTextColor(HDC dc) { return getField(dc, &Dc::textColor, CLR_INVALID); }

int32_t SetROP2(HDC dc, int32_t mode) { return swapMode(dc, &Dc::rop2, mode, 1, 16); }

int32_t GetROP2(HDC dc) { return getField(dc, &Dc::rop2, 0); }

int32_t SetStretchBltMode(HDC dc, int32_t mode)
{
    return swapMode(dc, &Dc::stretchMode, mode, 1, 4);
}

bool MoveToEx(HDC dc, int32_t x, int32_t y, POINT* old)
{
    return swapPoint(dc, &Dc::pos, x, y, old);
}

bool GetCurrentPositionEx(HDC dc, POINT* pos) { return getPoint(dc, &Dc::pos, pos); }

// ---- The screen and bookkeeping ---------------------------------------------

void SetScreenSize(int32_t width, int32_t height)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    Bitmap* screen = t.bitmap(t.screenBitmap);
    auto fresh = newBitmap(width, height, 32);
    if (!screen || !fresh) return;
    screen->width = fresh->width;
    screen->height = fresh->height;
    screen->pixels = std::move(fresh->pixels);
}

HBITMAP ScreenBitmap()
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    return t.screenBitmap;
}

LiveObjects CountLiveObjects()
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    return t.live;
}

}  // namespace gdi
