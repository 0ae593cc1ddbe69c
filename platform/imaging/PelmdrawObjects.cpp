// Vector objects: primitives in kernel memory, natural size, view, origin,
// selection, and the rendering size of each sizing mode.

#include "platform/imaging/PelmdrawInternal.h"

#include <cstring>

namespace imaging::draw::impl {

const Core& core()
{
    static const Core bound = [] {
        Core c;
        const OrdinalTable* t = PelmcoreOrdinals();
        c.complete = bind(t, core::Allocate, c.allocate) && bind(t, core::Free, c.free) &&
                     bind(t, core::Read, c.read) && bind(t, core::Write, c.write) &&
                     bind(t, core::Seek, c.seek) && bind(t, core::FileSize, c.fileSize) &&
                     bind(t, core::Discard, c.discard) &&
                     bind(t, core::InitRecord, c.initRecord) &&
                     bind(t, core::AllocStorage, c.allocStorage) &&
                     bind(t, core::FreeStorage, c.freeStorage) &&
                     bind(t, core::CreatePalette, c.createPalette) &&
                     bind(t, core::PaletteOf, c.paletteOf);
        return c;
    }();
    return bound;
}

bool isObject(const VectorObject* o) { return o && o->magic == kVectorMagic; }

bool validPrimitive(const VecPrimitive& p)
{
    auto inRange = [](int32_t v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; };
    return p.kind >= kLine && p.kind <= kEllipse && p.filled <= 1 && p.penWidth >= 1 &&
           p.penWidth <= 64 && inRange(p.x1) && inRange(p.y1) && inRange(p.x2) &&
           inRange(p.y2);
}

int32_t BW_STDCALL initObject(VectorObject* o)
{
    if (!o)
        return core::kBadArgument;
    const int32_t tag = o->tag;
    std::memset(o, 0, sizeof(*o));
    o->tag = tag;
    o->magic = kVectorMagic;
    return core::kOk;
}

int32_t BW_STDCALL freeContents(VectorObject* o)
{
    if (!isObject(o))
        return core::kBadArgument;
    if (o->primitives)
        core().free(o->primitives);
    o->primitives = nullptr;
    o->count = 0;
    o->capacity = 0;
    o->naturalWidth = 0;
    o->naturalHeight = 0;
    o->selection = 0;
    return core::kOk;
}

int32_t BW_STDCALL emptyObject(VectorObject* o)
{
    if (!isObject(o))
        return core::kBadArgument;
    o->count = 0;
    o->naturalWidth = 0;
    o->naturalHeight = 0;
    o->selection = 0;
    return core::kOk;
}

int32_t BW_STDCALL addPrimitive(VectorObject* o, const VecPrimitive* p)
{
    if (!isObject(o) || !p || !validPrimitive(*p))
        return core::kBadArgument;
    if (uint32_t(o->count) >= kMaxPrimitives)
        return kBadHeader;
    if (o->count == o->capacity) {
        const int32_t capacity = o->capacity ? o->capacity * 2 : 16;
        auto* grown = static_cast<VecPrimitive*>(
            core().allocate(uint32_t(capacity) * uint32_t(sizeof(VecPrimitive))));
        if (!grown)
            return core::kNoMemory;
        if (o->count)
            std::memcpy(grown, o->primitives, size_t(o->count) * sizeof(VecPrimitive));
        core().free(o->primitives);
        o->primitives = grown;
        o->capacity = capacity;
    }
    o->primitives[o->count++] = *p;
    return core::kOk;
}

int32_t BW_STDCALL setNaturalSize(VectorObject* o, int32_t width, int32_t height)
{
    if (!isObject(o) || width < 1 || height < 1 || uint32_t(width) > kMaxNatural ||
        uint32_t(height) > kMaxNatural)
        return core::kBadArgument;
    o->naturalWidth = width;
    o->naturalHeight = height;
    return core::kOk;
}

int32_t BW_STDCALL primitiveCount(const VectorObject* o)
{
    return isObject(o) ? o->count : core::kBadArgument;
}

int32_t BW_STDCALL getPrimitive(const VectorObject* o, int32_t index, VecPrimitive* out)
{
    if (!isObject(o) || !out || index < 0 || index >= o->count)
        return core::kBadArgument;
    *out = o->primitives[index];
    return core::kOk;
}

int32_t BW_STDCALL setOrigin(VectorObject* o, const int32_t* point)
{
    if (!isObject(o) || !point)
        return core::kBadArgument;
    o->originX = point[0];
    o->originY = point[1];
    return core::kOk;
}

int32_t BW_STDCALL renderingSize(VectorObject* o, int32_t mode, int32_t* width, int32_t* height)
{
    if (!isObject(o) || !width || !height)
        return core::kBadArgument;
    const int64_t nw = o->naturalWidth;
    const int64_t nh = o->naturalHeight;
    if (nw < 1 || nh < 1)
        return kNoNaturalSize;
    int64_t w = *width < 1 ? nw : *width;
    int64_t h = *height < 1 ? nh : *height;
    switch (mode) {
    case kNaturalSize:
        w = nw;
        h = nh;
        break;
    case kKeepSize:
        break;
    case kFitWidth:
        h = (w * nh + nw / 2) / nw;
        break;
    case kFitHeight:
        w = (h * nw + nh / 2) / nh;
        break;
    case kFitBox:
        if (w * nh <= h * nw)
            h = (w * nh + nw / 2) / nw;
        else
            w = (h * nw + nh / 2) / nh;
        break;
    default:
        return kBadSizingMode;
    }
    w = w < 1 ? 1 : w;
    h = h < 1 ? 1 : h;
    if (w > INT32_MAX || h > INT32_MAX)
        return kBadHeader;
    *width = int32_t(w);
    *height = int32_t(h);
    return core::kOk;
}

int32_t BW_STDCALL select(VectorObject* o, int32_t primitive)
{
    if (!isObject(o) || primitive < 0 || primitive > o->count)
        return core::kBadArgument;
    o->selection = primitive;
    return core::kOk;
}

}  // namespace imaging::draw::impl
