// The display: its depth and palette, the mapping of written colours to what
// the display can show, system colours and device capabilities.

#include "platform/gdi/GdiInternal.h"

#include <array>

namespace gdi {
namespace detail {
namespace {

struct Display {
    int32_t bits = 32;
    std::vector<PALETTEENTRY> palette;  // empty on true colour
    // Direct-mapped cache of the nearest-colour search.
    std::array<uint32_t, 4096> cacheKey{};
    std::array<uint32_t, 4096> cacheValue{};
    std::array<bool, 4096> cacheUsed{};
};

Display& display()
{
    static Display d;
    return d;
}

constexpr PALETTEENTRY pe(uint8_t r, uint8_t g, uint8_t b) { return {r, g, b, 0}; }

// The standard VGA colours, in the order of a 16-colour display.
const std::vector<PALETTEENTRY>& vgaColors()
{
    static const std::vector<PALETTEENTRY> colors = {
        pe(0, 0, 0),       pe(128, 0, 0),   pe(0, 128, 0),   pe(128, 128, 0),
        pe(0, 0, 128),     pe(128, 0, 128), pe(0, 128, 128), pe(192, 192, 192),
        pe(128, 128, 128), pe(255, 0, 0),   pe(0, 255, 0),   pe(255, 255, 0),
        pe(0, 0, 255),     pe(255, 0, 255), pe(0, 255, 255), pe(255, 255, 255)};
    return colors;
}

// 256 colours: the first ten static colours, a 6 x 6 x 6 colour cube (levels
// 0, 51, ..., 255) without the colours the static ones already hold, greys
// in steps of 8 to fill the rest, and the last ten static colours, as a
// palette display lays out its system palette. Every entry is distinct.
std::vector<PALETTEENTRY> palette256()
{
    const auto& st = staticColors();
    std::vector<PALETTEENTRY> middle;
    auto known = [&](const PALETTEENTRY& e) {
        auto same = [&](const PALETTEENTRY& o) {
            return o.peRed == e.peRed && o.peGreen == e.peGreen && o.peBlue == e.peBlue;
        };
        for (const auto& o : st)
            if (same(o)) return true;
        for (const auto& o : middle)
            if (same(o)) return true;
        return false;
    };
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) {
                const PALETTEENTRY e = pe(uint8_t(r * 51), uint8_t(g * 51), uint8_t(b * 51));
                if (!known(e)) middle.push_back(e);
            }
    for (int v = 8; v < 256 && middle.size() + st.size() < 256; v += 8) {
        const PALETTEENTRY e = pe(uint8_t(v), uint8_t(v), uint8_t(v));
        if (!known(e)) middle.push_back(e);
    }
    std::vector<PALETTEENTRY> p(st.begin(), st.begin() + 10);
    p.insert(p.end(), middle.begin(), middle.end());
    p.insert(p.end(), st.begin() + 10, st.end());
    return p;
}

uint32_t nearest(const std::vector<PALETTEENTRY>& pal, uint32_t c)
{
    const int r = int(GetRValue(c)), g = int(GetGValue(c)), b = int(GetBValue(c));
    int best = -1;
    uint32_t bestColor = 0;
    for (const auto& e : pal) {
        const int dr = r - e.peRed, dg = g - e.peGreen, db = b - e.peBlue;
        const int d = dr * dr + dg * dg + db * db;
        if (best < 0 || d < best) {
            best = d;
            bestColor = RGB(e.peRed, e.peGreen, e.peBlue);
            if (d == 0) break;
        }
    }
    return bestColor;
}

}  // namespace

const std::vector<PALETTEENTRY>& staticColors()
{
    static const std::vector<PALETTEENTRY> colors = {
        pe(0, 0, 0),       pe(128, 0, 0),     pe(0, 128, 0),     pe(128, 128, 0),
        pe(0, 0, 128),     pe(128, 0, 128),   pe(0, 128, 128),   pe(192, 192, 192),
        pe(192, 220, 192), pe(166, 202, 240), pe(255, 251, 240), pe(160, 160, 164),
        pe(128, 128, 128), pe(255, 0, 0),     pe(0, 255, 0),     pe(255, 255, 0),
        pe(0, 0, 255),     pe(255, 0, 255),   pe(0, 255, 255),   pe(255, 255, 255)};
    return colors;
}

int32_t displayBits() { return display().bits; }

COLORREF deviceColor(COLORREF c)
{
    c &= 0x00FFFFFFu;
    Display& d = display();
    if (d.palette.empty()) return c;
    const uint32_t slot = (c ^ (c >> 12)) & 4095u;
    if (d.cacheUsed[slot] && d.cacheKey[slot] == c) return d.cacheValue[slot];
    const uint32_t v = nearest(d.palette, c);
    d.cacheUsed[slot] = true;
    d.cacheKey[slot] = c;
    d.cacheValue[slot] = v;
    return v;
}

COLORREF plainColor(const Dc* dc, COLORREF c)
{
    if ((c >> 24) == 0x01) {  // an index into the DC's logical palette
        const std::vector<PALETTEENTRY>* pal = &staticColors();
        if (dc) {
            if (const Palette* p = Table::instance().palette(dc->palette)) pal = &p->entries;
        }
        const uint32_t i = c & 0xFFFFu;
        if (i >= pal->size()) return 0;
        const PALETTEENTRY& e = (*pal)[i];
        return RGB(e.peRed, e.peGreen, e.peBlue);
    }
    return c & 0x00FFFFFFu;
}

}  // namespace detail

using namespace detail;

namespace {

constexpr COLORREF kClassicSysColors[25] = {
    RGB(192, 192, 192),  // scroll bar
    RGB(0, 128, 128),    // desktop
    RGB(0, 0, 128),      // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(192, 192, 192),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(192, 192, 192),  // active border
    RGB(192, 192, 192),  // inactive border
    RGB(128, 128, 128),  // application workspace
    RGB(0, 0, 128),      // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(192, 192, 192),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(192, 192, 192),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(0, 0, 0),        // 3-D dark shadow
    RGB(192, 192, 192),  // 3-D light
    RGB(0, 0, 0),        // tooltip text
    RGB(255, 255, 225),  // tooltip background
};

COLORREF g_sysColors[25] = {};
bool g_sysInit = false;

void ensureSysColors()
{
    if (g_sysInit) return;
    for (int i = 0; i < 25; ++i) g_sysColors[i] = kClassicSysColors[i];
    g_sysInit = true;
}

}  // namespace

COLORREF GetSysColor(int32_t index)
{
    Lock lock(Table::instance().mutex);
    ensureSysColors();
    if (index < 0 || index > 24) return 0;
    return g_sysColors[index];
}

bool SetSysColors(int32_t count, const int32_t* indexes, const COLORREF* colors)
{
    Lock lock(Table::instance().mutex);
    ensureSysColors();
    if (count < 0 || (count > 0 && (!indexes || !colors))) return false;
    for (int32_t i = 0; i < count; ++i) {
        if (indexes[i] >= 0 && indexes[i] <= 24)
            g_sysColors[indexes[i]] = colors[i] & 0x00FFFFFFu;
    }
    return true;
}

void ResetSysColors()
{
    Lock lock(Table::instance().mutex);
    g_sysInit = false;
    ensureSysColors();
}

COLORREF TranslateColor(int64_t oleColor)
{
    if (oleColor < INT32_MIN || oleColor > int64_t(UINT32_MAX)) return CLR_INVALID;
    const auto c = uint32_t(oleColor);
    const uint32_t high = c >> 24;
    if (high == 0x80) {
        const uint32_t index = c & 0x00FFFFFFu;
        if (index > 24) return CLR_INVALID;
        return GetSysColor(int32_t(index));
    }
    if (high == 0x00 || high == 0x02) return c & 0x00FFFFFFu;
    if (high == 0x01) {
        const uint32_t index = c & 0xFFFFu;
        if (index >= staticColors().size()) return CLR_INVALID;
        const PALETTEENTRY& e = staticColors()[index];
        return RGB(e.peRed, e.peGreen, e.peBlue);
    }
    return CLR_INVALID;
}

void SetDisplayBitsPerPixel(int32_t bits)
{
    Lock lock(Table::instance().mutex);
    Display& d = display();
    if (bits == 4) {
        d.palette = vgaColors();
    } else if (bits == 8) {
        d.palette = palette256();
    } else if (bits == 32) {
        d.palette.clear();
    } else {
        return;
    }
    d.bits = bits;
    d.cacheUsed.fill(false);
}

int32_t DisplayBitsPerPixel()
{
    Lock lock(Table::instance().mutex);
    return display().bits;
}

COLORREF GetNearestColor(HDC dc, COLORREF color)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    const Dc* d = t.dc(dc);
    if (!d) return CLR_INVALID;
    return deviceColor(plainColor(d, color));
}

int32_t GetDeviceCaps(HDC dc, int32_t index)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    if (!t.dc(dc)) return 0;
    const int32_t bits = display().bits;
    const Bitmap* screen = t.bitmap(t.screenBitmap);
    switch (index) {
    case HORZRES: return screen ? screen->width : 0;
    case VERTRES: return screen ? screen->height : 0;
    case BITSPIXEL: return bits;
    case PLANES: return 1;
    case NUMCOLORS: return bits == 4 ? 16 : bits == 8 ? 20 : -1;
    case RASTERCAPS: return bits == 8 ? RC_PALETTE : 0;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case SIZEPALETTE: return bits == 8 ? 256 : 0;
    default: return 0;
    }
}

uint32_t GetSystemPaletteEntries(HDC dc, uint32_t start, uint32_t count, PALETTEENTRY* entries)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    if (!t.dc(dc)) return 0;
    const auto& pal = display().palette;
    if (display().bits != 8) return 0;
    const auto size = uint32_t(pal.size());
    if (!entries) return size;
    uint32_t n = 0;
    for (uint32_t i = start; i < size && n < count; ++i, ++n) entries[n] = pal[i];
    return n;
}

}  // namespace gdi
