// Bitmap records, their storage and row access, drawing contexts over the
// GDI stand-in, and palette handles. A drawing context paints into a GDI
// bitmap that mirrors the record; releasing it writes the pixels back.

#include "platform/imaging/PelmcoreInternal.h"

#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace imaging::core::impl {
namespace {

std::atomic<int32_t> g_liveBitmaps{0};

struct OpenContext {
    BitmapRecord* record;
    gdi::HBITMAP bitmap;
    gdi::HGDIOBJ previous;
};

std::mutex g_mutex;
std::map<int32_t, OpenContext> g_contexts;
std::map<int32_t, std::vector<uint32_t>> g_palettes;
int32_t g_nextHandle = 0x5000;

bool holdsStorage(const BitmapRecord* r)
{
    return r && r->recordSize == int32_t(sizeof(BitmapRecord)) && r->storageTag == kStorageTag &&
           r->bits;
}

bool trueColour(const BitmapRecord* r) { return r->bitsPerPixel == 24 || r->bitsPerPixel == 32; }

int stride(const BitmapRecord* r) { return r->bitsPerPixel / 8; }

// Storage (blue, green, red[, alpha]) to and from COLORREF 0x00BBGGRR.
void storageToPixels(const BitmapRecord* r, uint32_t* pixels)
{
    const int step = stride(r);
    for (int32_t y = 0; y < r->height; ++y) {
        const uint8_t* src = r->bits + size_t(y) * size_t(r->bytesPerLine);
        uint32_t* dst = pixels + size_t(y) * size_t(r->width);
        for (int32_t x = 0; x < r->width; ++x, src += step)
            dst[x] = gdi::RGB(src[2], src[1], src[0]);
    }
}

void pixelsToStorage(const uint32_t* pixels, BitmapRecord* r)
{
    const int step = stride(r);
    for (int32_t y = 0; y < r->height; ++y) {
        uint8_t* dst = r->bits + size_t(y) * size_t(r->bytesPerLine);
        const uint32_t* src = pixels + size_t(y) * size_t(r->width);
        for (int32_t x = 0; x < r->width; ++x, dst += step) {
            dst[0] = gdi::GetBValue(src[x]);
            dst[1] = gdi::GetGValue(src[x]);
            dst[2] = gdi::GetRValue(src[x]);
        }
    }
}

}  // namespace

int32_t BW_STDCALL initRecord(BitmapRecord* r, int32_t width, int32_t height, int32_t bits)
{
    if (!r)
        return kBadArgument;
    std::memset(r, 0, sizeof(*r));
    r->recordSize = sizeof(BitmapRecord);
    r->width = width;
    r->height = height;
    r->bitsPerPixel = bits;
    r->planes = 1;
    r->bytesPerLine = bytesPerLineFor(width, height, bits);
    r->sizeBytes = r->bytesPerLine * (r->bytesPerLine ? height : 0);
    return r->bytesPerLine ? kOk : kBadArgument;
}

int32_t BW_STDCALL allocStorage(BitmapRecord* r, int32_t flags)
{
    if (!r || r->recordSize != int32_t(sizeof(BitmapRecord)) || r->storageTag == kStorageTag)
        return kBadArgument;
    // The geometry may have been edited since initialisation: check it again.
    const int32_t line = bytesPerLineFor(r->width, r->height, r->bitsPerPixel);
    if (line == 0 || line != r->bytesPerLine)
        return kBadArgument;
    r->sizeBytes = line * r->height;
    auto* bits = static_cast<uint8_t*>(allocate(uint32_t(r->sizeBytes)));
    if (!bits)
        return kNoMemory;
    if (flags & 1)
        std::memset(bits, 0, size_t(r->sizeBytes));
    r->bits = bits;
    r->storageFlags = flags;
    r->storageTag = kStorageTag;
    r->rowAccess = 0;
    ++g_liveBitmaps;
    return kOk;
}

int32_t BW_STDCALL freeStorage(BitmapRecord* r)
{
    if (!r)
        return kOk;
    if (r->context)
        releaseContext(r->context);
    if (r->storageTag == kStorageTag) {
        release(r->bits);
        r->bits = nullptr;
        r->storageTag = 0;
        r->rowAccess = 0;
        --g_liveBitmaps;
    }
    if (r->palette) {
        releaseHandle(r->palette);
        r->palette = 0;
    }
    return kOk;
}

int32_t BW_STDCALL beginRowAccess(BitmapRecord* r)
{
    if (!holdsStorage(r))
        return kBadArgument;
    ++r->rowAccess;
    return kOk;
}

int32_t BW_STDCALL endRowAccess(BitmapRecord* r)
{
    if (!holdsStorage(r) || r->rowAccess <= 0)
        return kBadArgument;
    --r->rowAccess;
    return kOk;
}

int32_t BW_STDCALL copyRow(BitmapRecord* r, void* buffer, int32_t row, int32_t bytes)
{
    if (!holdsStorage(r) || r->rowAccess <= 0 || !buffer || row < 0 || row >= r->height ||
        bytes < 0)
        return kBadArgument;
    const int32_t n = std::min(bytes, r->bytesPerLine);
    std::memcpy(buffer, r->bits + size_t(row) * size_t(r->bytesPerLine), size_t(n));
    return n;
}

int32_t BW_STDCALL putRow(BitmapRecord* r, const void* buffer, int32_t row, int32_t bytes)
{
    if (!holdsStorage(r) || r->rowAccess <= 0 || !buffer || row < 0 || row >= r->height ||
        bytes < 0)
        return kBadArgument;
    const int32_t n = std::min(bytes, r->bytesPerLine);
    std::memcpy(r->bits + size_t(row) * size_t(r->bytesPerLine), buffer, size_t(n));
    return n;
}

int32_t BW_STDCALL contextOf(BitmapRecord* r)
{
    if (!holdsStorage(r) || !trueColour(r))
        return 0;
    if (r->context)
        return r->context;
    gdi::HBITMAP bmp = gdi::CreateBitmap(r->width, r->height);
    uint32_t* pixels = bmp ? gdi::BitmapPixels(bmp) : nullptr;
    gdi::HDC dc = pixels ? gdi::CreateCompatibleDC(0) : 0;
    if (!dc) {
        if (bmp)
            gdi::DeleteObject(bmp);
        return 0;
    }
    storageToPixels(r, pixels);
    gdi::HGDIOBJ previous = gdi::SelectObject(dc, bmp);
    r->context = dc;
    r->gdiBitmap = bmp;
    std::lock_guard lock(g_mutex);
    g_contexts[dc] = OpenContext{r, bmp, previous};
    return dc;
}

int32_t BW_STDCALL releaseContext(int32_t context)
{
    OpenContext open{};
    {
        std::lock_guard lock(g_mutex);
        auto it = g_contexts.find(context);
        if (it == g_contexts.end())
            return kBadArgument;
        open = it->second;
        g_contexts.erase(it);
    }
    BitmapRecord* r = open.record;
    if (const uint32_t* pixels = gdi::BitmapPixels(open.bitmap); pixels && holdsStorage(r))
        pixelsToStorage(pixels, r);
    if (open.previous)
        gdi::SelectObject(context, open.previous);
    gdi::DeleteDC(context);
    gdi::DeleteObject(open.bitmap);
    r->context = 0;
    r->gdiBitmap = 0;
    return kOk;
}

int32_t BW_STDCALL erase(BitmapRecord* r, uint32_t paper)
{
    if (!holdsStorage(r) || !trueColour(r))
        return kBadArgument;
    // 0 is white paper; an explicit colour carries bit 24 (0x01BBGGRR).
    const gdi::COLORREF c = (paper & 0x01000000) ? (paper & 0xFFFFFF) : gdi::RGB(255, 255, 255);
    const int step = stride(r);
    for (int32_t y = 0; y < r->height; ++y) {
        uint8_t* p = r->bits + size_t(y) * size_t(r->bytesPerLine);
        for (int32_t x = 0; x < r->width; ++x, p += step) {
            p[0] = gdi::GetBValue(c);
            p[1] = gdi::GetGValue(c);
            p[2] = gdi::GetRValue(c);
        }
    }
    if (r->context) {
        if (uint32_t* pixels = gdi::BitmapPixels(r->gdiBitmap))
            std::fill(pixels, pixels + size_t(r->width) * size_t(r->height), c);
    }
    return kOk;
}

int32_t BW_STDCALL liveBitmaps() { return g_liveBitmaps; }

int32_t BW_STDCALL liveContexts()
{
    std::lock_guard lock(g_mutex);
    return int32_t(g_contexts.size());
}

int32_t BW_STDCALL createPalette(const uint32_t* entries, int32_t count)
{
    if (!entries || count < 1 || count > 256)
        return 0;
    std::lock_guard lock(g_mutex);
    const int32_t h = g_nextHandle++;
    g_palettes[h].assign(entries, entries + count);
    return h;
}

int32_t BW_STDCALL duplicateHandle(int32_t handle)
{
    std::lock_guard lock(g_mutex);
    auto it = g_palettes.find(handle);
    if (it == g_palettes.end())
        return 0;
    const int32_t h = g_nextHandle++;
    std::vector<uint32_t> copy = it->second;
    g_palettes[h] = std::move(copy);
    return h;
}

int32_t BW_STDCALL releaseHandle(int32_t handle)
{
    std::lock_guard lock(g_mutex);
    return g_palettes.erase(handle) ? kOk : kBadArgument;
}

int32_t BW_STDCALL paletteOf(int32_t handle, uint32_t* out, int32_t max)
{
    std::lock_guard lock(g_mutex);
    auto it = g_palettes.find(handle);
    if (it == g_palettes.end() || max < 0 || (!out && max > 0))
        return kBadArgument;
    const int32_t n = std::min<int32_t>(max, int32_t(it->second.size()));
    std::copy_n(it->second.begin(), n, out);
    return int32_t(it->second.size());
}

int32_t BW_STDCALL liveHandles()
{
    std::lock_guard lock(g_mutex);
    return int32_t(g_palettes.size());
}

}  // namespace imaging::core::impl
