// Painting a vector object into a drawing context with the GDI stand-in:
// natural coordinates are mapped onto the view rectangle and shifted by the
// origin; the selected primitive gets a focus frame.

#include "platform/imaging/PelmdrawInternal.h"

#include "platform/gdi/Gdi.h"

#include <algorithm>

namespace imaging::draw::impl {
namespace {

// Far-off points are pulled in to the 16-bit range a GDI device works in.
int32_t clampCoordinate(int64_t v) { return int32_t(std::clamp<int64_t>(v, -32768, 32767)); }

struct Mapping {
    int64_t left, top, viewWidth, viewHeight, naturalWidth, naturalHeight, originX, originY;
    bool fit;

    int32_t x(int32_t v) const
    {
        const int64_t scaled = fit ? v * viewWidth / naturalWidth : v;
        return clampCoordinate(left + scaled + originX);
    }
    int32_t y(int32_t v) const
    {
        const int64_t scaled = fit ? v * viewHeight / naturalHeight : v;
        return clampCoordinate(top + scaled + originY);
    }
};

void paintOne(gdi::HDC dc, const VecPrimitive& p, const Mapping& m, bool outlineOnly)
{
    gdi::HPEN pen = gdi::CreatePen(gdi::PS_SOLID, p.penWidth, p.penColor & 0xFFFFFF);
    const bool fill = p.filled && !outlineOnly && p.kind != kLine;
    gdi::HBRUSH brush = fill ? gdi::CreateSolidBrush(p.fillColor & 0xFFFFFF) : 0;
    gdi::HGDIOBJ oldPen = gdi::SelectObject(dc, pen);
    gdi::HGDIOBJ oldBrush =
        gdi::SelectObject(dc, brush ? brush : gdi::GetStockObject(gdi::NULL_BRUSH));
    const int32_t x1 = m.x(p.x1), y1 = m.y(p.y1), x2 = m.x(p.x2), y2 = m.y(p.y2);
    switch (p.kind) {
    case kLine:
        gdi::MoveToEx(dc, x1, y1, nullptr);
        gdi::LineTo(dc, x2, y2);
        break;
    case kRectangle:
        gdi::Rectangle(dc, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2),
                       std::max(y1, y2));
        break;
    case kEllipse:
        gdi::Ellipse(dc, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2),
                     std::max(y1, y2));
        break;
    default:
        break;
    }
    gdi::SelectObject(dc, oldPen);
    gdi::SelectObject(dc, oldBrush);
    gdi::DeleteObject(pen);
    if (brush)
        gdi::DeleteObject(brush);
}

}  // namespace

int32_t BW_STDCALL paint(int32_t context, VectorObject* o, int32_t flags)
{
    if (!isObject(o) || context == 0)
        return core::kBadArgument;
    Mapping m{o->viewLeft,     o->viewTop,       int64_t(o->viewRight) - o->viewLeft,
              int64_t(o->viewBottom) - o->viewTop, o->naturalWidth, o->naturalHeight,
              o->originX,      o->originY,       (flags & kPaintFitView) != 0};
    if (m.fit && (m.naturalWidth < 1 || m.naturalHeight < 1 || m.viewWidth < 1 ||
                  m.viewHeight < 1))
        return core::kOk;  // nothing to scale onto
    for (int32_t i = 0; i < o->count; ++i) {
        const VecPrimitive& p = o->primitives[i];
        paintOne(context, p, m, o->outlineOnly == 1);
        if (o->selection == i + 1) {
            gdi::RECT r;
            gdi::SetRect(&r, std::min(m.x(p.x1), m.x(p.x2)), std::min(m.y(p.y1), m.y(p.y2)),
                         std::max(m.x(p.x1), m.x(p.x2)) + 1, std::max(m.y(p.y1), m.y(p.y2)) + 1);
            gdi::DrawFocusRect(context, &r);
        }
    }
    return core::kOk;
}

}  // namespace imaging::draw::impl
