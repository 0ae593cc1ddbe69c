#pragma once
// Pelmdraw, the stand-in vector kernel: drawing objects of simple primitives,
// rendering sizes, painting into a Pelmcore drawing context, and the two dump
// bodies. Its only exported symbol is PelmdrawOrdinals().
//
// Vector dump (little-endian), read and written from offset 0:
//   +0   char[8]  "VECDUMP2"
//   +8   uint32   natural width, 1..65535
//   +12  uint32   natural height, 1..65535
//   +16  uint32   primitive count, 0..kMaxPrimitives
//   +20  count x 28 bytes, each a VecPrimitive (Records.h): kind 1..3, filled
//        0 or 1, pen width 1..64, pen and fill colours 0x00BBGGRR, x1 y1 x2
//        y2 within +-kMaxCoordinate of the natural extent's origin.
// Raster dump (little-endian):
//   +0   char[8]  "RASDUMP1"
//   +8   uint32   width, 1..kMaxSide       +12  uint32 height, 1..kMaxSide
//   +16  uint32   bits per pixel: 1, 4, 8, 24 or 32
//   +20  uint32   bytes per line, exactly ((width x bits + 31) / 32) x 4
//   +24  int32    resolution x             +28  int32 resolution y
//   +32  uint32   alpha flag (0, or 1 with 32 bits)   +36 uint32 planes (1)
//   +40  uint32   palette entries: 0 above 8 bits, else 1..2^bits
//   +44  entries x 4 bytes (blue, green, red, 0)
//   then height rows of bytes-per-line bytes, top row first.
// Bytes after the last row are ignored. A reader that fails leaves nothing
// allocated and the record or object empty.

#include "platform/imaging/Ordinals.h"
#include "platform/imaging/Pelmcore.h"
#include "platform/imaging/Records.h"

#include <cstdint>

namespace imaging::draw {

enum Ordinal : uint16_t {
    InitObject = 100,       // int32 (VectorObject*)        every field but the tag
    FreeContents = 101,     // int32 (VectorObject*)        frees the primitives
    EmptyObject = 102,      // int32 (VectorObject*)        no primitives, no size
    AddPrimitive = 103,     // int32 (VectorObject*, const VecPrimitive*)
    SetNaturalSize = 104,   // int32 (VectorObject*, int32 w, int32 h)
    PrimitiveCount = 105,   // int32 (const VectorObject*)
    GetPrimitive = 106,     // int32 (const VectorObject*, int32 index, VecPrimitive*)
    SetOrigin = 107,        // int32 (VectorObject*, const int32 point[2])
    RenderingSize = 122,    // int32 (VectorObject*, int32 mode, int32* w, int32* h)
    Select = 400,           // int32 (VectorObject*, int32 primitive)  0 = none
    Paint = 2300,           // int32 (int32 context, VectorObject*, int32 flags)
    ReadVectorDump = 2502,  // int32 (int32 file, VectorObject*)  needs tag 0x2002
    WriteVectorDump = 2503, // int32 (int32 file, const VectorObject*)
    ReadRasterDump = 2504,  // int32 (int32 file, BitmapRecord*)  initialises, allocates
    WriteRasterDump = 2505, // int32 (int32 file, const BitmapRecord*)
};

// Sizing modes of RenderingSize; the wanted size comes in through w and h.
inline constexpr int32_t kNaturalSize = 0;
inline constexpr int32_t kKeepSize = 1;
inline constexpr int32_t kFitWidth = 2;     // height follows the aspect
inline constexpr int32_t kFitHeight = 3;    // width follows the aspect
inline constexpr int32_t kFitBox = 4;       // largest size inside w x h

// Paint flags.
inline constexpr int32_t kPaintFitView = 1;  // scale the natural extent to the view

// Statuses (1 success; Pelmcore's -1 no memory, -2 bad argument).
inline constexpr int32_t kTruncated = -20;
inline constexpr int32_t kBadMarker = -21;
inline constexpr int32_t kBadHeader = -22;
inline constexpr int32_t kNotPrepared = -23;
inline constexpr int32_t kWriteFailed = -24;
inline constexpr int32_t kNoNaturalSize = -25;
inline constexpr int32_t kBadSizingMode = -26;

inline constexpr uint32_t kMaxPrimitives = 1000000;
inline constexpr int32_t kMaxCoordinate = 1000000;
inline constexpr uint32_t kMaxNatural = 65535;
inline constexpr uint32_t kMaxSide = 32768;

// The largest dump a reader can take: a raster header, a full palette and
// rows of the largest storage the kernel allocates (a vector dump's largest
// body is smaller). A larger file is no dump and need not be read.
inline constexpr uint32_t kMaxDumpBytes = 44 + 256 * 4 + core::kMaxAllocation;
static_assert(20 + uint64_t(kMaxPrimitives) * sizeof(VecPrimitive) <= kMaxDumpBytes);

using ObjectFn = int32_t(BW_STDCALL*)(VectorObject*);
using AddPrimitiveFn = int32_t(BW_STDCALL*)(VectorObject*, const VecPrimitive*);
using SetNaturalSizeFn = int32_t(BW_STDCALL*)(VectorObject*, int32_t, int32_t);
using CountFn = int32_t(BW_STDCALL*)(const VectorObject*);
using GetPrimitiveFn = int32_t(BW_STDCALL*)(const VectorObject*, int32_t, VecPrimitive*);
using SetOriginFn = int32_t(BW_STDCALL*)(VectorObject*, const int32_t*);
using RenderingSizeFn = int32_t(BW_STDCALL*)(VectorObject*, int32_t, int32_t*, int32_t*);
using SelectFn = int32_t(BW_STDCALL*)(VectorObject*, int32_t);
using PaintFn = int32_t(BW_STDCALL*)(int32_t, VectorObject*, int32_t);
using ReadVectorFn = int32_t(BW_STDCALL*)(int32_t, VectorObject*);
using WriteVectorFn = int32_t(BW_STDCALL*)(int32_t, const VectorObject*);
using ReadRasterFn = int32_t(BW_STDCALL*)(int32_t, BitmapRecord*);
using WriteRasterFn = int32_t(BW_STDCALL*)(int32_t, const BitmapRecord*);

}  // namespace imaging::draw

extern "C" BW_EXPORT const imaging::OrdinalTable* BW_STDCALL PelmdrawOrdinals();
