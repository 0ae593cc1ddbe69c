// Drawing into a DC's bitmap: pixels, lines, rectangles, ellipses, brush
// fills, focus rectangles and flood fill. Everything is clipped to the bitmap
// and computed in 64-bit coordinates, and loops run over visible pixels only,
// so no argument can write out of bounds or spin over a huge off-screen shape.

#include "platform/gdi/GdiInternal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

namespace gdi {
namespace detail {

BrushPainter::BrushPainter(const Dc* dc, const Brush* brush) : brush_(brush)
{
    if (dc) {
        orgX_ = dc->brushOrg.x;
        orgY_ = dc->brushOrg.y;
        back_ = dc->bkColor;
        opaque_ = dc->bkMode != TRANSPARENT;
    }
    if (brush_ && brush_->kind == BrushKind::Pattern && brush_->pattern.empty()) brush_ = nullptr;
    if (brush_) solid_ = brush_->color;
}

namespace {

bool hatchBit(int32_t style, int32_t px, int32_t py)
{
    switch (style) {
    case HS_HORIZONTAL: return py == 3;
    case HS_VERTICAL: return px == 4;
    case HS_FDIAGONAL: return px == py;
    case HS_BDIAGONAL: return px + py == 7;
    case HS_CROSS: return py == 3 || px == 4;
    case HS_DIAGCROSS: return px == py || px + py == 7;
    default: return false;
    }
}

}  // namespace

bool BrushPainter::colorAt(int32_t x, int32_t y, uint32_t* color) const
{
    switch (brush_ ? brush_->kind : BrushKind::Null) {
    case BrushKind::Solid: *color = solid_; return true;
    case BrushKind::Hatch:
        if (hatchBit(brush_->hatch, floorMod(int64_t(x) - orgX_, 8),
                     floorMod(int64_t(y) - orgY_, 8))) {
            *color = solid_;
            return true;
        }
        *color = back_;
        return opaque_;
    case BrushKind::Pattern: {
        const int32_t px = floorMod(int64_t(x) - orgX_, brush_->patWidth);
        const int32_t py = floorMod(int64_t(y) - orgY_, brush_->patHeight);
        *color = brush_->pattern[size_t(py) * size_t(brush_->patWidth) + size_t(px)];
        return true;
    }
    case BrushKind::Null: return false;
    }
    return false;
}

}  // namespace detail

using namespace detail;

namespace {

// A DC's bitmap with the span writers every shape is built from.
struct Canvas {
    Surface s;
    const Dc* dc = nullptr;

    // Clips [x0, x1] (inclusive) on row y; false when nothing is left.
    bool clip(int64_t y, int64_t& x0, int64_t& x1) const
    {
        if (y < 0 || y >= s.height) return false;
        x0 = std::max<int64_t>(x0, 0);
        x1 = std::min<int64_t>(x1, int64_t(s.width) - 1);
        return x0 <= x1;
    }

    void colorSpan(int64_t y, int64_t x0, int64_t x1, uint32_t color, int32_t rop) const
    {
        if (!clip(y, x0, x1)) return;
        uint32_t* p = s.row(int32_t(y));
        if (rop == R2_COPYPEN) {
            const uint32_t c = deviceColor(color);
            std::fill(p + x0, p + x1 + 1, c);
            return;
        }
        for (int64_t x = x0; x <= x1; ++x) p[x] = deviceColor(rop2(rop, color, p[x]));
    }

    void brushSpan(int64_t y, int64_t x0, int64_t x1, const BrushPainter& brush,
                   int32_t rop) const
    {
        if (!brush.paints()) return;
        if (brush.isSolid()) {
            colorSpan(y, x0, x1, brush.solid(), rop);
            return;
        }
        if (!clip(y, x0, x1)) return;
        uint32_t* p = s.row(int32_t(y));
        uint32_t c = 0;
        for (int64_t x = x0; x <= x1; ++x) {
            if (brush.colorAt(int32_t(x), int32_t(y), &c)) p[x] = deviceColor(rop2(rop, c, p[x]));
        }
    }

    void pixel(int64_t x, int64_t y, uint32_t color, int32_t rop) const
    {
        if (x < 0 || y < 0 || x >= s.width || y >= s.height) return;
        uint32_t& p = s.row(int32_t(y))[x];
        p = deviceColor(rop2(rop, color, p));
    }
};

struct Interval {
    int64_t lo = 0;
    int64_t hi = -1;
    bool empty() const { return hi < lo; }
};

// Paints a (inclusive) minus b (a sub-interval or empty) as up to two spans.
template <typename Paint>
void paintDifference(Interval a, Interval b, Paint paint)
{
    if (a.empty()) return;
    if (b.empty() || b.hi < a.lo || b.lo > a.hi) {
        paint(a.lo, a.hi);
        return;
    }
    if (a.lo < b.lo) paint(a.lo, b.lo - 1);
    if (b.hi < a.hi) paint(b.hi + 1, a.hi);
}

// A box with right and bottom excluded, in 64-bit coordinates.
struct Box {
    int64_t l, t, r, b;
    bool empty() const { return r <= l || b <= t; }
    Box shrunk(int64_t n) const { return {l + n, t + n, r - n, b - n}; }
};

Box normalized(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return {std::min<int64_t>(left, right), std::min<int64_t>(top, bottom),
            std::max<int64_t>(left, right), std::max<int64_t>(top, bottom)};
}

// The pixels of row y inside the ellipse inscribed in the box. The shape is
// the set of pixel centres within an ellipse whose radii are half a pixel
// less than half the box: symmetric about both axes, a 2 x 2 box gives a
// full square and a 3 x 3 box a plus, and the edge pixels touch the box.
Interval ellipseRow(const Box& box, int64_t y)
{
    if (box.empty() || y < box.t || y >= box.b) return {};
    const int64_t w = box.r - box.l, h = box.b - box.t;
    const int64_t dy2 = 2 * y - (box.t + box.b - 1);  // twice the offset of the centre
    const int64_t W2 = 2 * w - 1, H2 = 2 * h - 1;
    // Inside when (2dx2)^2 H2^2 + (2dy2)^2 W2^2 <= W2^2 H2^2.
    const bool exact = w <= 8000 && h <= 8000;
    auto inside = [&](int64_t j) {  // pixel j from the left edge
        const int64_t X = 2 * ((w - 1) - 2 * j), Y = 2 * dy2;
        if (exact) return X * X * H2 * H2 + Y * Y * W2 * W2 <= W2 * W2 * H2 * H2;
        const double xr = double(X) / double(W2), yr = double(Y) / double(H2);
        return xr * xr + yr * yr <= 1.0;
    };
    const int64_t mid = (w - 1) / 2;
    if (!inside(mid)) return {};
    // Estimate the first inside pixel, then settle it exactly.
    const double yr = double(2 * dy2) / double(H2);
    const double reach = double(W2) * std::sqrt(std::max(0.0, 1.0 - yr * yr));  // max |X|
    int64_t j = int64_t(std::floor((double(2 * (w - 1)) - reach) / 4.0));
    j = std::clamp<int64_t>(j, 0, mid);
    while (j > 0 && inside(j - 1)) --j;
    while (j < mid && !inside(j)) ++j;
    return {box.l + j, box.r - 1 - j};
}

// Line with the Win32 rule: every pixel from the start point up to, but not
// including, the end point.
class LineDrawer {
public:
    LineDrawer(const Canvas& canvas, const Pen& pen, const Dc& dc)
        : c_(canvas), pen_(pen), dc_(dc)
    {
    }

    void draw(int64_t x0, int64_t y0, int64_t x1, int64_t y1) const
    {
        if (pen_.style == PS_NULL) return;
        const int64_t dx = x1 - x0, dy = y1 - y0;
        if (dx == 0 && dy == 0) return;
        const int64_t adx = std::llabs(dx), ady = std::llabs(dy);
        const bool xMajor = adx >= ady;
        const int64_t n = xMajor ? adx : ady;  // points 0 .. n-1
        const int64_t major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
        const int64_t sMaj = (xMajor ? dx : dy) < 0 ? -1 : 1;
        const int64_t sMin = (xMajor ? dy : dx) < 0 ? -1 : 1;
        const int64_t aMaj = n, aMin = xMajor ? ady : adx;
        const int32_t width = pen_.width;
        const int64_t margin = width > 1 ? width : 0;
        const int64_t limit = (xMajor ? c_.s.width : c_.s.height) - 1;
        // Steps whose major coordinate is visible (with a margin for wide pens).
        int64_t lo, hi;
        if (sMaj > 0) {
            lo = -margin - major0;
            hi = limit + margin - major0;
        } else {
            lo = major0 - limit - margin;
            hi = major0 + margin;
        }
        lo = std::max<int64_t>(lo, 0);
        hi = std::min<int64_t>(hi, n - 1);
        if (lo > hi) return;
        const bool exact = aMaj < (int64_t(1) << 30) && aMin < (int64_t(1) << 30);
        auto minorAt = [&](int64_t i) {
            if (exact) return minor0 + sMin * ((2 * i * aMin + aMaj) / (2 * aMaj));
            return minor0 +
                   sMin * int64_t(std::floor((double(i) * double(aMin) + double(aMaj) / 2) /
                                             double(aMaj)));
        };
        if (width > 1) {
            wide(lo, hi, xMajor, major0, sMaj, minorAt);
            return;
        }
        const int32_t on = pen_.style == PS_DASH ? 18 : 3;
        const int32_t period = pen_.style == PS_DASH ? 24 : 6;
        const bool styled = pen_.style == PS_DASH || pen_.style == PS_DOT;
        for (int64_t i = lo; i <= hi; ++i) {
            const int64_t a = major0 + sMaj * i, b = minorAt(i);
            const int64_t x = xMajor ? a : b, y = xMajor ? b : a;
            if (styled && i % period >= on) {
                if (dc_.bkMode != TRANSPARENT) c_.pixel(x, y, dc_.bkColor, dc_.rop2);
                continue;
            }
            c_.pixel(x, y, pen_.color, dc_.rop2);
        }
    }

private:
    // A wide pen paints the union of round dots along the line; that union is
    // convex, so each row is one span, and each pixel is painted once.
    template <typename MinorAt>
    void wide(int64_t lo, int64_t hi, bool xMajor, int64_t major0, int64_t sMaj,
              MinorAt minorAt) const
    {
        const int32_t w = pen_.width;
        const int64_t off0 = -(w / 2), off1 = off0 + w - 1;
        const int64_t H = c_.s.height;
        std::vector<int64_t> rowLo(size_t(H), INT64_MAX), rowHi(size_t(H), INT64_MIN);
        // Half-widths of the dot per row offset.
        std::vector<int64_t> half(size_t(w), -1);
        for (int64_t oy = off0; oy <= off1; ++oy) {
            for (int64_t ox = off0; ox <= off1; ++ox) {
                const int64_t ex = 2 * ox - (off0 + off1), ey = 2 * oy - (off0 + off1);
                if (ex * ex + ey * ey <= int64_t(w) * w) {
                    half[size_t(oy - off0)] = std::max(half[size_t(oy - off0)], ox);
                }
            }
        }
        for (int64_t i = lo; i <= hi; ++i) {
            const int64_t a = major0 + sMaj * i, b = minorAt(i);
            const int64_t cx = xMajor ? a : b, cy = xMajor ? b : a;
            for (int64_t oy = off0; oy <= off1; ++oy) {
                const int64_t y = cy + oy;
                const int64_t right = half[size_t(oy - off0)];
                if (y < 0 || y >= H || right < 0) continue;
                const int64_t left = (off0 + off1) - right;  // mirrored about the centre
                rowLo[size_t(y)] = std::min(rowLo[size_t(y)], cx + left);
                rowHi[size_t(y)] = std::max(rowHi[size_t(y)], cx + right);
            }
        }
        for (int64_t y = 0; y < H; ++y) {
            if (rowLo[size_t(y)] <= rowHi[size_t(y)])
                c_.colorSpan(y, rowLo[size_t(y)], rowHi[size_t(y)], pen_.color, dc_.rop2);
        }
    }

    const Canvas& c_;
    const Pen& pen_;
    const Dc& dc_;
};

// The DC, its drawing surface and its pen and brush, under the table lock.
struct Context {
    Dc* dc = nullptr;
    Canvas canvas;
    const Pen* pen = nullptr;
    const Brush* brush = nullptr;
};

bool context(HDC h, Context* ctx)
{
    Table& t = Table::instance();
    ctx->dc = t.dc(h);
    if (!ctx->dc) return false;
    ctx->canvas.s = surfaceOf(ctx->dc);
    ctx->canvas.dc = ctx->dc;
    ctx->pen = t.pen(ctx->dc->pen);
    ctx->brush = t.brush(ctx->dc->brush);
    return true;
}

const Pen& nullPen()
{
    static const Pen pen{PS_NULL, 1, 0};
    return pen;
}

// Pen outline geometry shared by rectangles and ellipses: the outer box the
// pen covers, and its width.
Box outerBox(const Box& box, const Pen& pen)
{
    if (pen.style == PS_INSIDEFRAME || pen.width <= 1) return box;
    const int64_t w = pen.width, before = w / 2;
    return {box.l - before, box.t - before, box.r - 1 - before + w, box.b - 1 - before + w};
}

}  // namespace

// ---- Pixels -----------------------------------------------------------------

COLORREF SetPixel(HDC dc, int32_t x, int32_t y, COLORREF color)
{
    Lock lock(Table::instance().mutex);
    Context c;
    if (!context(dc, &c)) return CLR_INVALID;
    const Surface& s = c.canvas.s;
    if (!s.valid() || x < 0 || y < 0 || x >= s.width || y >= s.height) return CLR_INVALID;
    const uint32_t stored = deviceColor(plainColor(c.dc, color));
    s.row(y)[x] = stored;
    return stored;
}

bool SetPixelV(HDC dc, int32_t x, int32_t y, COLORREF color)
{
    return SetPixel(dc, x, y, color) != CLR_INVALID;
}

COLORREF GetPixel(HDC dc, int32_t x, int32_t y)
{
    Table& t = Table::instance();
    Lock lock(t.mutex);
    const Surface s = readSurfaceOf(t.dc(dc));
    if (!s.valid() || x < 0 || y < 0 || x >= s.width || y >= s.height) return CLR_INVALID;
    return s.row(y)[x];
}

// ---- Lines ------------------------------------------------------------------

bool LineTo(HDC dc, int32_t x, int32_t y)
{
    Lock lock(Table::instance().mutex);
    Context c;
    if (!context(dc, &c)) return false;
    const POINT from = c.dc->pos;
    c.dc->pos = {x, y};
    if (c.canvas.s.valid()) {
        const Pen& pen = c.pen ? *c.pen : nullPen();
        LineDrawer(c.canvas, pen, *c.dc).draw(from.x, from.y, x, y);
    }
    return true;
}

bool Polyline(HDC dc, const POINT* points, int32_t count)
{
    Lock lock(Table::instance().mutex);
    Context c;
    if (!context(dc, &c) || !points || count < 2) return false;
    if (!c.canvas.s.valid()) return true;
    const Pen& pen = c.pen ? *c.pen : nullPen();
    const LineDrawer line(c.canvas, pen, *c.dc);
    for (int32_t i = 0; i + 1 < count; ++i)
        line.draw(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
    return true;
}

// ---- Rectangles and ellipses ------------------------------------------------

bool Rectangle(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    Lock lock(Table::instance().mutex);
    Context c;
    if (!context(dc, &c)) return false;
    if (!c.canvas.s.valid()) return true;
    const Canvas& cv = c.canvas;
    const Pen& pen = c.pen ? *c.pen : nullPen();
    const BrushPainter brush(c.dc, c.brush);
    const int32_t rop = c.dc->rop2;
    const Box box = normalized(left, top, right, bottom);
    const int64_t H = cv.s.height;
    if (pen.style == PS_NULL) {
        // Without a pen the filled area loses the right column and bottom row.
        const Box in{box.l, box.t, box.r - 1, box.b - 1};
        if (in.empty()) return true;
        for (int64_t y = std::max<int64_t>(in.t, 0); y < std::min(in.b, H); ++y)
            cv.brushSpan(y, in.l, in.r - 1, brush, rop);
        return true;
    }
    const Box outer = outerBox(box, pen);
    if (outer.empty()) return true;
    const Box inner = outer.shrunk(pen.width);
    const bool styled = pen.width == 1 && (pen.style == PS_DASH || pen.style == PS_DOT);
    for (int64_t y = std::max<int64_t>(outer.t, 0); y < std::min(outer.b, H); ++y) {
        const bool innerRow = !inner.empty() && y >= inner.t && y < inner.b;
        const Interval in = innerRow ? Interval{inner.l, inner.r - 1} : Interval{};
        if (!in.empty()) cv.brushSpan(y, in.lo, in.hi, brush, rop);
        if (!styled) {
            paintDifference({outer.l, outer.r - 1}, in, [&](int64_t a, int64_t b) {
                cv.colorSpan(y, a, b, pen.color, rop);
            });
        }
    }
    if (styled) {
        const LineDrawer line(cv, pen, *c.dc);
        const int64_t r = outer.r - 1, b = outer.b - 1;
        if (r == outer.l || b == outer.t) {
            for (int64_t y = std::max<int64_t>(outer.t, 0); y <= std::min(b, H - 1); ++y)
                cv.colorSpan(y, outer.l, r, pen.color, rop);
        } else {
            line.draw(outer.l, outer.t, r, outer.t);
            line.draw(r, outer.t, r, b);
            line.draw(r, b, outer.l, b);
            line.draw(outer.l, b, outer.l, outer.t);
        }
    }
    return true;
}

bool Ellipse(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    Lock lock(Table::instance().mutex);
    Context c;
    if (!context(dc, &c)) return false;
    if (!c.canvas.s.valid()) return true;
    const Canvas& cv = c.canvas;
    const Pen& pen = c.pen ? *c.pen : nullPen();
    const BrushPainter brush(c.dc, c.brush);
    const int32_t rop = c.dc->rop2;
    const Box box = normalized(left, top, right, bottom);
    const int64_t H = cv.s.height;
    if (pen.style == PS_NULL) {
        const Box in{box.l, box.t, box.r - 1, box.b - 1};
        for (int64_t y = std::max<int64_t>(in.t, 0); y < std::min(in.b, H); ++y) {
            const Interval row = ellipseRow(in, y);
            if (!row.empty()) cv.brushSpan(y, row.lo, row.hi, brush, rop);
        }
        return true;
    }
    // Dashed and dotted outlines are drawn solid.
    const Box outer = outerBox(box, pen);
    if (outer.empty()) return true;
    const Box inner = outer.shrunk(pen.width);
    for (int64_t y = std::max<int64_t>(outer.t, 0); y < std::min(outer.b, H); ++y) {
        const Interval row = ellipseRow(outer, y);
        if (row.empty()) continue;
        Interval in;
        if (pen.width == 1) {
            // The outline is every shape pixel with a 4-neighbour outside.
            const Interval up = ellipseRow(outer, y - 1), down = ellipseRow(outer, y + 1);
            in.lo = row.lo + 1;
            in.hi = row.hi - 1;
            if (up.empty() || down.empty()) {
                in = {};
            } else {
                in.lo = std::max({in.lo, up.lo, down.lo});
                in.hi = std::min({in.hi, up.hi, down.hi});
            }
        } else {
            in = ellipseRow(inner, y);
        }
        if (!in.empty()) cv.brushSpan(y, in.lo, in.hi, brush, rop);
        paintDifference(row, in, [&](int64_t a, int64_t b) {
            cv.colorSpan(y, a, b, pen.color, rop);
        });
    }
    return true;
}

// ---- Brush fills ------------------------------------------------------------

namespace {

// Fills [box) with the brush, ignoring the DC's mix mode (as pattern copies do).
void fillBox(const Canvas& cv, const Box& box, const BrushPainter& brush)
{
    if (box.empty()) return;
    for (int64_t y = std::max<int64_t>(box.t, 0); y < std::min<int64_t>(box.b, cv.s.height); ++y)
        cv.brushSpan(y, box.l, box.r - 1, brush, R2_COPYPEN);
}

// A brush handle, or a system colour index + 1 standing for one.
const Brush* brushOrSysColor(HBRUSH h, Brush* scratch)
{
    if (h >= 1 && h <= 25) {
        scratch->kind = BrushKind::Solid;
        scratch->color = GetSysColor(h - 1);
        return scratch;
    }
    return Table::instance().brush(h);
}

}  // namespace

int32_t FillRect(HDC dc, const RECT* r, HBRUSH brush)
{
    Lock lock(Table::instance().mutex);
    Context c;
    Brush scratch;
    if (!context(dc, &c) || !r) return 0;
    const Brush* b = brushOrSysColor(brush, &scratch);
    if (!b) return 0;
    if (c.canvas.s.valid()) fillBox(c.canvas, {r->left, r->top, r->right, r->bottom},
                                    BrushPainter(c.dc, b));
    return 1;
}

int32_t FrameRect(HDC dc, const RECT* r, HBRUSH brush)
{
    Lock lock(Table::instance().mutex);
    Context c;
    Brush scratch;
    if (!context(dc, &c) || !r) return 0;
    const Brush* b = brushOrSysColor(brush, &scratch);
    if (!b) return 0;
    const Box box{r->left, r->top, r->right, r->bottom};
    if (box.empty() || !c.canvas.s.valid()) return 1;
    const BrushPainter painter(c.dc, b);
    const Box inner = box.shrunk(1);
    for (int64_t y = std::max<int64_t>(box.t, 0); y < std::min<int64_t>(box.b, c.canvas.s.height);
         ++y) {
        const bool innerRow = !inner.empty() && y >= inner.t && y < inner.b;
        paintDifference({box.l, box.r - 1}, innerRow ? Interval{inner.l, inner.r - 1} : Interval{},
                        [&](int64_t a, int64_t e) {
                            c.canvas.brushSpan(y, a, e, painter, R2_COPYPEN);
                        });
    }
    return 1;
}

bool DrawFocusRect(HDC dc, const RECT* r)
{
    Lock lock(Table::instance().mutex);
    Context c;
    if (!context(dc, &c) || !r) return false;
    const Box box{r->left, r->top, r->right, r->bottom};
    const Surface& s = c.canvas.s;
    if (box.empty() || !s.valid()) return true;
    // Every other pixel of the frame is inverted exactly (not mapped to the
    // display palette), so a second call always restores the picture.
    const Box inner = box.shrunk(1);
    for (int64_t y = std::max<int64_t>(box.t, 0); y < std::min<int64_t>(box.b, s.height); ++y) {
        const bool innerRow = !inner.empty() && y >= inner.t && y < inner.b;
        paintDifference({box.l, box.r - 1}, innerRow ? Interval{inner.l, inner.r - 1} : Interval{},
                        [&](int64_t a, int64_t e) {
                            int64_t x0 = a, x1 = e;
                            if (!c.canvas.clip(y, x0, x1)) return;
                            uint32_t* p = s.row(int32_t(y));
                            for (int64_t x = x0 + ((x0 + y) & 1); x <= x1; x += 2)
                                p[x] ^= 0x00FFFFFFu;
                        });
    }
    return true;
}

// ---- Flood fill -------------------------------------------------------------

bool ExtFloodFill(HDC dc, int32_t x, int32_t y, COLORREF color, uint32_t type)
{
    Lock lock(Table::instance().mutex);
    Context c;
    if (!context(dc, &c)) return false;
    const Surface& s = c.canvas.s;
    if (!s.valid() || x < 0 || y < 0 || x >= s.width || y >= s.height) return false;
    if (type != FLOODFILLBORDER && type != FLOODFILLSURFACE) return false;
    const uint32_t target = deviceColor(plainColor(c.dc, color));
    const bool surface = type == FLOODFILLSURFACE;
    auto match = [&](uint32_t p) { return surface ? p == target : p != target; };
    if (!match(s.row(y)[x])) return false;

    // Scanline fill with an explicit stack; the area is marked first and
    // painted afterwards, so a brush that paints the matched colour cannot
    // make the fill run on.
    const int32_t W = s.width, Hh = s.height;
    std::vector<uint8_t> seen;
    struct Span {
        int32_t y, x0, x1;
    };
    std::vector<Span> spans;
    std::vector<POINT> stack;
    try {
        seen.assign(size_t(W) * size_t(Hh), 0);
        stack.push_back({x, y});
        while (!stack.empty()) {
            const POINT p = stack.back();
            stack.pop_back();
            const size_t rowBase = size_t(p.y) * size_t(W);
            const uint32_t* row = s.row(p.y);
            if (seen[rowBase + size_t(p.x)] || !match(row[p.x])) continue;
            int32_t x0 = p.x, x1 = p.x;
            while (x0 > 0 && !seen[rowBase + size_t(x0 - 1)] && match(row[x0 - 1])) --x0;
            while (x1 < W - 1 && !seen[rowBase + size_t(x1 + 1)] && match(row[x1 + 1])) ++x1;
            std::fill(seen.begin() + ptrdiff_t(rowBase + size_t(x0)),
                      seen.begin() + ptrdiff_t(rowBase + size_t(x1) + 1), uint8_t(1));
            spans.push_back({p.y, x0, x1});
            for (const int32_t ny : {p.y - 1, p.y + 1}) {
                if (ny < 0 || ny >= Hh) continue;
                const size_t nBase = size_t(ny) * size_t(W);
                const uint32_t* nrow = s.row(ny);
                bool inRun = false;
                for (int32_t nx = x0; nx <= x1; ++nx) {
                    const bool ok = !seen[nBase + size_t(nx)] && match(nrow[nx]);
                    if (ok && !inRun) stack.push_back({nx, ny});
                    inRun = ok;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    const BrushPainter brush(c.dc, c.brush);
    for (const Span& sp : spans) c.canvas.brushSpan(sp.y, sp.x0, sp.x1, brush, R2_COPYPEN);
    return true;
}

}  // namespace gdi
