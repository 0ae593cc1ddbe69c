#pragma once
// The kernels' binary records, shared with the filters they load: 32-bit
// little-endian fields at fixed byte offsets, pointers of 32 bits. Built for
// i386 only; the static_asserts pin every offset a peer relies on.

#include <cstddef>
#include <cstdint>

static_assert(sizeof(void*) == 4, "the imaging records hold 32-bit pointers");

namespace imaging {

// A kernel bitmap: geometry, storage and attributes. Rows are stored top row
// first, each `bytesPerLine` long (a multiple of 4).
struct BitmapRecord {
    int32_t recordSize;     // +0x00 156 once initialised (Pelmcore 134)
    uint8_t* bits;          // +0x04 storage (Pelmcore 101/125)
    int32_t width;          // +0x08
    int32_t height;         // +0x0C
    int32_t bitsPerPixel;   // +0x10 1, 4, 8, 24 or 32
    int32_t bytesPerLine;   // +0x14 0 when the geometry is unusable
    int32_t rowAccess;      // +0x18 nesting of begin/end row access
    int32_t gdiBitmap;      // +0x1C GDI bitmap behind an open drawing context
    int32_t context;        // +0x20 open drawing context, 0 = none
    int32_t colorsUsed;     // +0x24 palette entries in use (bits <= 8)
    int32_t palette;        // +0x28 kernel palette handle, 0 = none
    int32_t hasAlpha;       // +0x2C 1: the fourth byte of 32-bit pixels is alpha
    int32_t planes;         // +0x30 image planes, 1
    int32_t storageFlags;   // +0x34 flags given to Pelmcore 101
    int32_t sizeBytes;      // +0x38 bytesPerLine x height
    int32_t storageTag;     // +0x3C kStorageTag while storage is allocated
    int32_t reserved40;     // +0x40
    int32_t resolutionX;    // +0x44 pixels per metre
    int32_t resolutionY;    // +0x48
    uint8_t reserved4C[0x9C - 0x4C];
};

inline constexpr int32_t kStorageTag = 0x4F545342;  // "BSTO"

static_assert(sizeof(BitmapRecord) == 156);
static_assert(offsetof(BitmapRecord, width) == 0x08);
static_assert(offsetof(BitmapRecord, height) == 0x0C);
static_assert(offsetof(BitmapRecord, bitsPerPixel) == 0x10);
static_assert(offsetof(BitmapRecord, bytesPerLine) == 0x14);
static_assert(offsetof(BitmapRecord, colorsUsed) == 0x24);
static_assert(offsetof(BitmapRecord, palette) == 0x28);
static_assert(offsetof(BitmapRecord, hasAlpha) == 0x2C);
static_assert(offsetof(BitmapRecord, planes) == 0x30);
static_assert(offsetof(BitmapRecord, sizeBytes) == 0x38);
static_assert(offsetof(BitmapRecord, resolutionX) == 0x44);
static_assert(offsetof(BitmapRecord, resolutionY) == 0x48);

// One primitive of a vector drawing, in the drawing's natural coordinates.
struct VecPrimitive {
    uint8_t kind;           // kLine, kRectangle, kEllipse
    uint8_t filled;         // 1: closed shapes are filled with fillColor
    uint16_t penWidth;      // 1 to 64
    uint32_t penColor;      // 0x00BBGGRR
    uint32_t fillColor;     // 0x00BBGGRR
    int32_t x1, y1, x2, y2;
};
static_assert(sizeof(VecPrimitive) == 28);

inline constexpr uint8_t kLine = 1;
inline constexpr uint8_t kRectangle = 2;
inline constexpr uint8_t kEllipse = 3;

// Packed from here on: the vector object has fields at unaligned offsets, so
// it has an alignment of 1 (bind no references to its fields).
#pragma pack(push, 1)

// The vector kernel's drawing object, 765 bytes, owned by whoever allocated
// it. Pelmdraw 100 initialises every field but the tag.
struct VectorObject {
    uint32_t magic;             // +0x000 kVectorMagic once initialised
    VecPrimitive* primitives;   // +0x004 kernel allocation
    int32_t count;              // +0x008
    int32_t capacity;           // +0x00C
    int32_t viewLeft;           // +0x010 view rectangle the drawing is painted into
    int32_t viewTop;            // +0x014
    int32_t viewRight;          // +0x018
    int32_t viewBottom;         // +0x01C
    int32_t originX;            // +0x020 offset added to every painted point
    int32_t originY;            // +0x024
    int32_t naturalWidth;       // +0x028
    int32_t naturalHeight;      // +0x02C
    int32_t selection;          // +0x030 highlighted primitive (1-based), 0 = none
    uint8_t reserved034[0x13D - 0x034];
    int32_t outlineOnly;        // +0x13D 1: closed shapes are painted unfilled
    uint8_t reserved141[0x2ED - 0x141];
    int32_t tag;                // +0x2ED dump revision the object accepts
    uint8_t reserved2F1[0x2FD - 0x2F1];
};

inline constexpr uint32_t kVectorMagic = 0x31424F56;  // "VOB1"
inline constexpr int32_t kVectorDumpTag = 0x2002;

static_assert(sizeof(VectorObject) == 765);
static_assert(offsetof(VectorObject, viewLeft) == 0x10);
static_assert(offsetof(VectorObject, viewBottom) == 0x1C);
static_assert(offsetof(VectorObject, outlineOnly) == 0x13D);
static_assert(offsetof(VectorObject, tag) == 0x2ED);

#pragma pack(pop)

// ((width x bits + 31) / 32) x 4, or 0 when the geometry is unusable: a side
// below 1, a depth other than 1, 4, 8, 24, 32, or a size beyond 31 bits.
inline int32_t bytesPerLineFor(int32_t width, int32_t height, int32_t bits)
{
    const bool depth = bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
    if (width < 1 || height < 1 || !depth)
        return 0;
    const int64_t line = ((int64_t(width) * bits + 31) / 32) * 4;
    if (line > INT32_MAX || line * height > INT32_MAX)
        return 0;
    return int32_t(line);
}

}  // namespace imaging
