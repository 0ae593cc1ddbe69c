// Rectangle helpers with the Win32 rules: right and bottom are outside the
// rectangle, and an empty rectangle takes no part in unions or hit tests.

#include "platform/gdi/Gdi.h"

#include <algorithm>

namespace gdi {
namespace {

// Arithmetic on coordinates saturates instead of overflowing.
int32_t clamp32(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

bool SetRect(RECT* r, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (!r) return false;
    *r = {left, top, right, bottom};
    return true;
}

bool SetRectEmpty(RECT* r)
{
    if (!r) return false;
    *r = {};
    return true;
}

bool IsRectEmpty(const RECT* r)
{
    return !r || r->right <= r->left || r->bottom <= r->top;
}

bool CopyRect(RECT* dst, const RECT* src)
{
    if (!dst || !src) return false;
    *dst = *src;
    return true;
}

bool InflateRect(RECT* r, int32_t dx, int32_t dy)
{
    if (!r) return false;
    r->left = clamp32(int64_t(r->left) - dx);
    r->top = clamp32(int64_t(r->top) - dy);
    r->right = clamp32(int64_t(r->right) + dx);
    r->bottom = clamp32(int64_t(r->bottom) + dy);
    return true;
}

bool OffsetRect(RECT* r, int32_t dx, int32_t dy)
{
    if (!r) return false;
    r->left = clamp32(int64_t(r->left) + dx);
    r->top = clamp32(int64_t(r->top) + dy);
    r->right = clamp32(int64_t(r->right) + dx);
    r->bottom = clamp32(int64_t(r->bottom) + dy);
    return true;
}

bool PtInRect(const RECT* r, POINT p)
{
    return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}

bool IntersectRect(RECT* dst, const RECT* a, const RECT* b)
{
    if (!dst || !a || !b) return false;
    const RECT r{std::max(a->left, b->left), std::max(a->top, b->top),
                 std::min(a->right, b->right), std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        *dst = {};
        return false;
    }
    *dst = r;
    return true;
}

bool UnionRect(RECT* dst, const RECT* a, const RECT* b)
{
    if (!dst || !a || !b) return false;
    const bool emptyA = IsRectEmpty(a), emptyB = IsRectEmpty(b);
    if (emptyA && emptyB) {
        *dst = {};
        return false;
    }
    if (emptyA) {
        *dst = *b;
    } else if (emptyB) {
        *dst = *a;
    } else {
        *dst = {std::min(a->left, b->left), std::min(a->top, b->top),
                std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
    }
    return true;
}

bool EqualRect(const RECT* a, const RECT* b)
{
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right &&
           a->bottom == b->bottom;
}

}  // namespace gdi
