// The kernels' two dump bodies (formats in Pelmdraw.h). Readers check every
// header field and that the file holds what the header promises before they
// allocate, so a damaged dump fails cleanly and leaves nothing allocated.
// A writer that fails tells the file so, and a file opened to be written
// whole then keeps its old content when it is closed.

#include "platform/imaging/PelmdrawInternal.h"

#include <cstring>

namespace imaging::draw::impl {
namespace {

constexpr char kVectorMarker[8] = {'V', 'E', 'C', 'D', 'U', 'M', 'P', '2'};
constexpr char kRasterMarker[8] = {'R', 'A', 'S', 'D', 'U', 'M', 'P', '1'};

struct VectorHeader {
    char marker[8];
    uint32_t width;
    uint32_t height;
    uint32_t count;
};
static_assert(sizeof(VectorHeader) == 20);

struct RasterHeader {
    char marker[8];
    uint32_t width;
    uint32_t height;
    uint32_t bits;
    uint32_t bytesPerLine;
    int32_t resolutionX;
    int32_t resolutionY;
    uint32_t hasAlpha;
    uint32_t planes;
    uint32_t paletteEntries;
};
static_assert(sizeof(RasterHeader) == 44);

// Bytes left between the current position and the end of the file, or -1.
int64_t remaining(int32_t file)
{
    const int32_t size = core().fileSize(file);
    const int32_t pos = core().seek(file, 0, 1);
    return size < 0 || pos < 0 ? -1 : int64_t(size) - pos;
}

bool readExactly(int32_t file, void* buffer, int32_t count)
{
    return core().read(file, buffer, count) == count;
}

bool writeExactly(int32_t file, const void* buffer, int32_t count)
{
    return core().write(file, buffer, count) == count;
}

int32_t checkRasterHeader(const RasterHeader& h)
{
    if (std::memcmp(h.marker, kRasterMarker, 8) != 0)
        return kBadMarker;
    if (h.width < 1 || h.width > kMaxSide || h.height < 1 || h.height > kMaxSide)
        return kBadHeader;
    const int32_t line =
        bytesPerLineFor(int32_t(h.width), int32_t(h.height), int32_t(h.bits));
    if (line == 0 || uint32_t(line) != h.bytesPerLine)
        return kBadHeader;
    if (h.hasAlpha > 1 || (h.hasAlpha && h.bits != 32) || h.planes != 1)
        return kBadHeader;
    const uint32_t maxEntries = h.bits <= 8 ? (1u << h.bits) : 0;
    if ((h.bits <= 8 && h.paletteEntries < 1) || h.paletteEntries > maxEntries)
        return kBadHeader;
    return core::kOk;
}

// A failed write must not replace the file it was writing.
int32_t finishWrite(int32_t file, int32_t status)
{
    if (status != core::kOk && core().complete)
        core().discard(file);
    return status;
}

int32_t writeVector(int32_t file, const VectorObject* o)
{
    // The count must stay within what the object's storage holds.
    if (!core().complete || !isObject(o) || o->count < 0 || o->count > o->capacity ||
        (o->count && !o->primitives))
        return core::kBadArgument;
    if (uint32_t(o->count) > kMaxPrimitives)
        return kBadHeader;
    if (o->naturalWidth < 1 || uint32_t(o->naturalWidth) > kMaxNatural ||
        o->naturalHeight < 1 || uint32_t(o->naturalHeight) > kMaxNatural)
        return kBadHeader;
    VectorHeader h{};
    std::memcpy(h.marker, kVectorMarker, 8);
    h.width = uint32_t(o->naturalWidth);
    h.height = uint32_t(o->naturalHeight);
    h.count = uint32_t(o->count);
    if (!writeExactly(file, &h, sizeof(h)))
        return kWriteFailed;
    const int32_t bytes = o->count * int32_t(sizeof(VecPrimitive));
    if (bytes && !writeExactly(file, o->primitives, bytes))
        return kWriteFailed;
    return core::kOk;
}

int32_t writeRaster(int32_t file, const BitmapRecord* r)
{
    if (!core().complete || !r || r->storageTag != kStorageTag || !r->bits)
        return core::kBadArgument;
    RasterHeader h{};
    std::memcpy(h.marker, kRasterMarker, 8);
    h.width = uint32_t(r->width);
    h.height = uint32_t(r->height);
    h.bits = uint32_t(r->bitsPerPixel);
    h.bytesPerLine = uint32_t(r->bytesPerLine);
    h.resolutionX = r->resolutionX;
    h.resolutionY = r->resolutionY;
    h.hasAlpha = uint32_t(r->hasAlpha);
    h.planes = 1;
    // Indexed bitmaps without a palette are written with a grey ramp.
    uint32_t palette[256] = {};
    if (r->bitsPerPixel >= 1 && r->bitsPerPixel <= 8) {
        const int32_t max = 1 << r->bitsPerPixel;
        int32_t n = r->palette ? core().paletteOf(r->palette, palette, max) : 0;
        if (n < 1) {
            n = max;
            for (int32_t i = 0; i < n; ++i) {
                const uint32_t g = uint32_t(i * 255 / (n - 1));
                palette[i] = g | (g << 8) | (g << 16);
            }
        }
        h.paletteEntries = uint32_t(n > max ? max : n);
    }
    if (checkRasterHeader(h) != core::kOk)
        return kBadHeader;
    if (!writeExactly(file, &h, sizeof(h)) ||
        (h.paletteEntries && !writeExactly(file, palette, int32_t(h.paletteEntries * 4))) ||
        !writeExactly(file, r->bits, r->bytesPerLine * r->height))
        return kWriteFailed;
    return core::kOk;
}

}  // namespace

int32_t BW_STDCALL readVectorDump(int32_t file, VectorObject* o)
{
    if (!core().complete || !isObject(o))
        return core::kBadArgument;
    if (o->tag != kVectorDumpTag)
        return kNotPrepared;
    freeContents(o);
    VectorHeader h{};
    if (!readExactly(file, &h, sizeof(h)))
        return kTruncated;
    if (std::memcmp(h.marker, kVectorMarker, 8) != 0)
        return kBadMarker;
    if (h.width < 1 || h.width > kMaxNatural || h.height < 1 || h.height > kMaxNatural ||
        h.count > kMaxPrimitives)
        return kBadHeader;
    const int64_t bytes = int64_t(h.count) * int64_t(sizeof(VecPrimitive));
    if (remaining(file) < bytes)
        return kTruncated;
    VecPrimitive* prims = nullptr;
    if (h.count) {
        prims = static_cast<VecPrimitive*>(core().allocate(uint32_t(bytes)));
        if (!prims)
            return core::kNoMemory;
        if (!readExactly(file, prims, int32_t(bytes))) {
            core().free(prims);
            return kTruncated;
        }
        for (uint32_t i = 0; i < h.count; ++i) {
            if (!validPrimitive(prims[i])) {
                core().free(prims);
                return kBadHeader;
            }
        }
    }
    o->primitives = prims;
    o->count = int32_t(h.count);
    o->capacity = int32_t(h.count);
    o->naturalWidth = int32_t(h.width);
    o->naturalHeight = int32_t(h.height);
    return core::kOk;
}

int32_t BW_STDCALL writeVectorDump(int32_t file, const VectorObject* o)
{
    return finishWrite(file, writeVector(file, o));
}

int32_t BW_STDCALL readRasterDump(int32_t file, BitmapRecord* r)
{
    if (!core().complete || !r)
        return core::kBadArgument;
    RasterHeader h{};
    if (!readExactly(file, &h, sizeof(h)))
        return kTruncated;
    if (int32_t status = checkRasterHeader(h); status != core::kOk)
        return status;
    const int64_t paletteBytes = int64_t(h.paletteEntries) * 4;
    const int64_t rowBytes = int64_t(h.bytesPerLine) * h.height;
    if (remaining(file) < paletteBytes + rowBytes)
        return kTruncated;
    uint32_t palette[256];
    if (h.paletteEntries && !readExactly(file, palette, int32_t(paletteBytes)))
        return kTruncated;
    if (int32_t status = core().initRecord(r, int32_t(h.width), int32_t(h.height),
                                           int32_t(h.bits));
        status != core::kOk)
        return status;
    if (int32_t status = core().allocStorage(r, 0); status != core::kOk)
        return status;
    if (!readExactly(file, r->bits, int32_t(rowBytes))) {
        core().freeStorage(r);
        return kTruncated;
    }
    if (h.paletteEntries) {
        r->palette = core().createPalette(palette, int32_t(h.paletteEntries));
        if (!r->palette) {
            core().freeStorage(r);
            return core::kNoMemory;
        }
        r->colorsUsed = int32_t(h.paletteEntries);
    }
    r->resolutionX = h.resolutionX;
    r->resolutionY = h.resolutionY;
    r->hasAlpha = int32_t(h.hasAlpha);
    r->planes = int32_t(h.planes);
    return core::kOk;
}

int32_t BW_STDCALL writeRasterDump(int32_t file, const BitmapRecord* r)
{
    return finishWrite(file, writeRaster(file, r));
}

}  // namespace imaging::draw::impl
