// Block transfers: PatBlt, BitBlt and nearest-neighbour StretchBlt with the
// ternary raster operations. Rows are processed as plain arrays; the common
// operations have their own loops and the rest go through the truth table.

#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace gdi {

using namespace detail;

namespace {

constexpr uint32_t kMask = 0x00FFFFFFu;

uint32_t ropIndex(uint32_t rop) { return (rop >> 16) & 0xFFu; }
bool usesSource(uint32_t index) { return ((index & 0x33u) << 2) != (index & 0xCCu); }
bool usesPattern(uint32_t index) { return ((index & 0x0Fu) << 4) != (index & 0xF0u); }

// Applies one raster operation to rows of destination pixels.
class RopRunner {
public:
    RopRunner(uint32_t rop, const BrushPainter& brush)
        : index_(ropIndex(rop)), brush_(brush), pattern_(usesPattern(index_)),
          quantize_(displayBits() != 32)
    {
    }

    // d: n destination pixels starting at device (x0, y); s: n source pixels
    // (unused when the operation has no source).
    void row(uint32_t* d, const uint32_t* s, int32_t n, int64_t x0, int64_t y) const
    {
        if (pattern_) {
            if (!brush_.paints()) return;
            if (!brush_.isSolid()) {
                patternRow(d, s, n, x0, y);
                return;
            }
        }
        const uint32_t pat = brush_.isSolid() ? brush_.solid() : 0;
        switch (index_) {
        case 0xCC: for (int32_t i = 0; i < n; ++i) d[i] = s[i] & kMask; break;   // SRCCOPY
        case 0x88: for (int32_t i = 0; i < n; ++i) d[i] &= s[i] & kMask; break;  // SRCAND
        case 0xEE: for (int32_t i = 0; i < n; ++i) d[i] |= s[i] & kMask; break;  // SRCPAINT
        case 0x66: for (int32_t i = 0; i < n; ++i) d[i] ^= s[i] & kMask; break;  // SRCINVERT
        case 0x33: for (int32_t i = 0; i < n; ++i) d[i] = ~s[i] & kMask; break;  // NOTSRCCOPY
        case 0x44: for (int32_t i = 0; i < n; ++i) d[i] = s[i] & ~d[i] & kMask; break;
        case 0x11: for (int32_t i = 0; i < n; ++i) d[i] = ~(s[i] | d[i]) & kMask; break;
        case 0xBB: for (int32_t i = 0; i < n; ++i) d[i] = (~s[i] | d[i]) & kMask; break;
        case 0x55: for (int32_t i = 0; i < n; ++i) d[i] = ~d[i] & kMask; break;  // DSTINVERT
        case 0x00: std::fill(d, d + n, 0u); break;                                // BLACKNESS
        case 0xFF: std::fill(d, d + n, kMask); break;                             // WHITENESS
        case 0xF0: std::fill(d, d + n, pat); break;                               // PATCOPY
        case 0x5A: for (int32_t i = 0; i < n; ++i) d[i] ^= pat; break;            // PATINVERT
        case 0xC0: for (int32_t i = 0; i < n; ++i) d[i] = pat & s[i]; break;      // MERGECOPY
        default:
            for (int32_t i = 0; i < n; ++i) d[i] = rop3(index_, pat, s ? s[i] : 0, d[i]);
            break;
        }
        if (quantize_) {
            for (int32_t i = 0; i < n; ++i) d[i] = deviceColor(d[i]);
        }
    }

private:
    void patternRow(uint32_t* d, const uint32_t* s, int32_t n, int64_t x0, int64_t y) const
    {
        uint32_t p = 0;
        for (int32_t i = 0; i < n; ++i) {
            if (!brush_.colorAt(int32_t(x0 + i), int32_t(y), &p)) continue;
            d[i] = deviceColor(rop3(index_, p, s ? s[i] & kMask : 0, d[i]));
        }
    }

    uint32_t index_;
    const BrushPainter& brush_;
    bool pattern_;
    bool quantize_;
};

struct Span1D {
    int64_t lo = 0;  // first visible destination coordinate
    int64_t hi = -1;  // last, inclusive
};

// Destination coordinates [pos, pos + len) (len > 0) clipped to [0, limit).
Span1D clipRange(int64_t pos, int64_t len, int64_t limit)
{
    return {std::max<int64_t>(pos, 0), std::min<int64_t>(pos + len, limit) - 1};
}

}  // namespace

bool PatBlt(HDC dc, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    Dc* d = t.dc(dc);
    if (!d) return false;
    const uint32_t index = ropIndex(rop);
    if (usesSource(index)) return false;
    const Surface s = surfaceOf(d);
    if (!s.valid() || w == 0 || h == 0) return true;
    const int64_t x0 = std::min<int64_t>(x, int64_t(x) + w);
    const int64_t y0 = std::min<int64_t>(y, int64_t(y) + h);
    const Span1D cols = clipRange(x0, w < 0 ? -int64_t(w) : w, s.width);
    const Span1D rows = clipRange(y0, h < 0 ? -int64_t(h) : h, s.height);
    if (cols.hi < cols.lo || rows.hi < rows.lo) return true;
    const BrushPainter brush(d, t.brush(d->brush));
    const RopRunner runner(rop, brush);
    const auto n = int32_t(cols.hi - cols.lo + 1);
    for (int64_t row = rows.lo; row <= rows.hi; ++row)
        runner.row(s.row(int32_t(row)) + cols.lo, nullptr, n, cols.lo, row);
    return true;
}

bool StretchBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx,
                int32_t sy, int32_t sw, int32_t sh, uint32_t rop)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    Dc* d = t.dc(dst);
    if (!d) return false;
    const uint32_t index = ropIndex(rop);
    const bool needSource = usesSource(index);
    const Dc* sd = t.dc(src);
    if (needSource && !sd) return false;
    if (!needSource) {  // with no source the stretch is a pattern fill
        return PatBlt(dst, x, y, w, h, rop);
    }
    const Surface ds = surfaceOf(d);
    const Surface ss = readSurfaceOf(sd);
    if (!ds.valid() || !ss.valid() || w == 0 || h == 0 || sw == 0 || sh == 0) return true;

    // Destination step i runs from the start point in the direction of the
    // size: x + i, or x - 1 - i for a negative size (the rectangle's right
    // edge stays excluded); it takes source step floor(i * |sw| / |w|), laid
    // out the same way, so opposite signs mirror.
    const uint64_t aw = uint64_t(w < 0 ? -int64_t(w) : w), ah = uint64_t(h < 0 ? -int64_t(h) : h);
    const uint64_t asw = uint64_t(sw < 0 ? -int64_t(sw) : sw);
    const uint64_t ash = uint64_t(sh < 0 ? -int64_t(sh) : sh);
    auto destAt = [](int64_t start, int32_t size, uint64_t i) {
        return size > 0 ? start + int64_t(i) : start - 1 - int64_t(i);
    };
    // Source coordinate for destination coordinate c, or -1 when outside.
    auto mapAxis = [&](int64_t c, int64_t start, int32_t size, uint64_t a, int64_t sstart,
                       int32_t ssize, uint64_t sa, int32_t slimit) -> int64_t {
        const int64_t i = size > 0 ? c - start : start - 1 - c;
        if (i < 0 || uint64_t(i) >= a) return -1;
        const uint64_t j = a == sa ? uint64_t(i) : uint64_t(i) * sa / a;
        const int64_t sc = destAt(sstart, ssize, j);
        return sc >= 0 && sc < slimit ? sc : -1;
    };
    const int64_t x0 = std::min<int64_t>(x, int64_t(x) + w);
    const int64_t y0 = std::min<int64_t>(y, int64_t(y) + h);
    const Span1D cols = clipRange(x0, int64_t(aw), ds.width);
    const Span1D rows = clipRange(y0, int64_t(ah), ds.height);
    if (cols.hi < cols.lo || rows.hi < rows.lo) return true;

    std::vector<int32_t> xmap;
    std::vector<uint32_t> srcRow;
    std::vector<uint32_t> srcCopy;
    try {
        // Columns whose source lies in the bitmap form one run (the mapping is
        // monotonic); find it and the source column of each.
        for (int64_t c = cols.lo; c <= cols.hi; ++c) {
            const int64_t sc = mapAxis(c, x, w, aw, sx, sw, asw, ss.width);
            if (sc >= 0) {
                if (xmap.empty()) xmap.reserve(size_t(cols.hi - c + 1));
                xmap.push_back(int32_t(sc));
            } else if (!xmap.empty()) {
                break;
            }
        }
        if (xmap.empty()) return true;
        srcRow.resize(xmap.size());
        if (ss.pixels == ds.pixels) srcCopy.assign(ss.pixels, ss.pixels + size_t(ss.width) *
                                                                              size_t(ss.height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    int64_t firstCol = cols.lo;
    while (mapAxis(firstCol, x, w, aw, sx, sw, asw, ss.width) < 0) ++firstCol;
    const uint32_t* source = srcCopy.empty() ? ss.pixels : srcCopy.data();
    const bool straight = xmap.size() == 1 || xmap[1] == xmap[0] + 1;
    const bool identity = straight && int64_t(xmap.back()) - xmap.front() + 1 ==
                                          int64_t(xmap.size());

    const BrushPainter brush(d, t.brush(d->brush));
    const RopRunner runner(rop, brush);
    const auto n = int32_t(xmap.size());
    // A plain copy repeats the row above when both come from one source row.
    const bool plainCopy = index == 0xCC && displayBits() == 32;
    int64_t lastRow = -2, lastSource = -1;
    for (int64_t row = rows.lo; row <= rows.hi; ++row) {
        const int64_t srow = mapAxis(row, y, h, ah, sy, sh, ash, ss.height);
        if (srow < 0) continue;
        if (plainCopy && srow == lastSource && row == lastRow + 1 && srcCopy.empty()) {
            std::memcpy(ds.row(int32_t(row)) + firstCol, ds.row(int32_t(lastRow)) + firstCol,
                        size_t(n) * sizeof(uint32_t));
            lastRow = row;
            continue;
        }
        lastRow = row;
        lastSource = srow;
        const uint32_t* sp = source + size_t(srow) * size_t(ss.width);
        const uint32_t* rowSource;
        if (identity) {
            rowSource = sp + xmap.front();
        } else {
            for (int32_t k = 0; k < n; ++k) srcRow[size_t(k)] = sp[xmap[size_t(k)]];
            rowSource = srcRow.data();
        }
        runner.row(ds.row(int32_t(row)) + firstCol, rowSource, n, firstCol, row);
    }
    return true;
}

bool BitBlt(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src, int32_t sx, int32_t sy,
            uint32_t rop)
{
    if (w <= 0 || h <= 0) {
        Lock lock(Table::instance().mutex);
        return Table::instance().dc(dst) != nullptr;
    }
    return StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

}  // namespace gdi
