#pragma once
// The kernel's interface to the image filters it loads: the request records
// of the three entry points, the records they fill, the row callback and the
// statuses. 32-bit little-endian fields at fixed byte offsets, pointers of 32
// bits; fields a filter does not use are reserved bytes it never touches.

#include "platform/imaging/Ordinals.h"
#include "platform/imaging/Records.h"

#include <cstddef>
#include <cstdint>

namespace imaging::filter {

// Statuses of every entry point; other values are kernel results passed on.
inline constexpr int32_t kSuccess = 1;
inline constexpr int32_t kNoMemory = -1;       // or no drawing context
inline constexpr int32_t kNoMarker = -7;       // seek failed or fewer than 8 bytes
inline constexpr int32_t kUnknown = -9;        // marker, vector mode, nothing to save
inline constexpr int32_t kNoObject = -13;      // vector mode 1 without an object
inline constexpr int32_t kCannotOpen = -14;

inline constexpr int32_t FormatVectorDump = 144;
inline constexpr int32_t FormatRasterDump = 154;

// Row flags handed to the callback.
inline constexpr int32_t kRowFlags = 3;
inline constexpr int32_t kFirstRow = 4;
inline constexpr int32_t kLastRow = 8;

struct FileInfoRecord {
    int32_t format;             // +0x00 144 or 154
    uint8_t reserved04[0x14 - 0x04];
    int32_t width;              // +0x14
    int32_t height;             // +0x18
    int32_t bitsPerPixel;       // +0x1C
    uint8_t reserved20[0x24 - 0x20];
    int32_t sizeBytes;          // +0x24
    char compression[0x3C - 0x28];  // +0x28 "None"
    int32_t attribute3C;        // +0x3C bitmap +0x2C, 0 for a vector file
    int32_t attribute40;        // +0x40 bitmap +0x30, 1 for a vector file
    uint8_t reserved44[0x4C - 0x44];
    int32_t resolutionX;        // +0x4C
    int32_t resolutionY;        // +0x50
    uint8_t reserved54[0x60 - 0x54];
};
static_assert(sizeof(FileInfoRecord) == 0x60);
static_assert(offsetof(FileInfoRecord, width) == 0x14);
static_assert(offsetof(FileInfoRecord, bitsPerPixel) == 0x1C);
static_assert(offsetof(FileInfoRecord, sizeBytes) == 0x24);
static_assert(offsetof(FileInfoRecord, compression) == 0x28);
static_assert(offsetof(FileInfoRecord, attribute3C) == 0x3C);
static_assert(offsetof(FileInfoRecord, attribute40) == 0x40);
static_assert(offsetof(FileInfoRecord, resolutionX) == 0x4C);
static_assert(offsetof(FileInfoRecord, resolutionY) == 0x50);

struct InfoRequest {
    uint8_t reserved00[0x04];
    int32_t file;               // +0x04 kernel file handle, open
    FileInfoRecord* info;       // +0x08
    uint8_t reserved0C[0x40 - 0x0C];
    int32_t wantedWidth;        // +0x40 below 1: 400
    int32_t wantedHeight;       // +0x44 below 1: 400
    int32_t sizingMode;         // +0x48 1 keeps the wanted size
    uint8_t reserved4C[0x100 - 0x4C];
    int32_t resolutionX;        // +0x100 reported for a vector file
    int32_t resolutionY;        // +0x104
};
static_assert(sizeof(InfoRequest) == 0x108);
static_assert(offsetof(InfoRequest, file) == 0x04);
static_assert(offsetof(InfoRequest, info) == 0x08);
static_assert(offsetof(InfoRequest, wantedWidth) == 0x40);
static_assert(offsetof(InfoRequest, sizingMode) == 0x48);
static_assert(offsetof(InfoRequest, resolutionX) == 0x100);
static_assert(offsetof(InfoRequest, resolutionY) == 0x104);

// Called once per row; 1 asks for the next row, anything else stops.
using RowCallback = int32_t(BW_STDCALL*)(int32_t user, BitmapRecord* destination,
                                         const uint8_t* row, int32_t flags, int32_t index,
                                         int32_t rowCount, int32_t cookie);

struct LoadRequest {
    const char* fileName;       // +0x00
    BitmapRecord* destination;  // +0x04 may be null
    RowCallback callback;       // +0x08
    int32_t cookie;             // +0x0C last argument of every callback call
    uint8_t reserved10[0x54 - 0x10];
    int32_t renderWidth;        // +0x54
    int32_t renderHeight;       // +0x58
    int32_t user;               // +0x5C first argument of every callback call
    uint8_t reserved60[0x78 - 0x60];
    int32_t setObjectFlag;      // +0x78 1: the object's +0x13D := 1 before painting
    VectorObject* object;       // +0x7C the caller's object (mode 1)
    uint8_t reserved80[0x4BC - 0x80];
    int32_t vectorMode;         // +0x4BC 0 temporary object, 1 the caller's
    uint8_t reserved4C0[0x59C - 0x4C0];
    int32_t resolutionX;        // +0x59C given to the destination after rendering
    int32_t resolutionY;        // +0x5A0
};
static_assert(sizeof(LoadRequest) == 0x5A4);
static_assert(offsetof(LoadRequest, destination) == 0x04);
static_assert(offsetof(LoadRequest, callback) == 0x08);
static_assert(offsetof(LoadRequest, cookie) == 0x0C);
static_assert(offsetof(LoadRequest, renderWidth) == 0x54);
static_assert(offsetof(LoadRequest, renderHeight) == 0x58);
static_assert(offsetof(LoadRequest, user) == 0x5C);
static_assert(offsetof(LoadRequest, setObjectFlag) == 0x78);
static_assert(offsetof(LoadRequest, object) == 0x7C);
static_assert(offsetof(LoadRequest, vectorMode) == 0x4BC);
static_assert(offsetof(LoadRequest, resolutionX) == 0x59C);
static_assert(offsetof(LoadRequest, resolutionY) == 0x5A0);

// Packed: the object pointer sits at an unaligned offset.
#pragma pack(push, 1)
struct SaveRequest {
    const char* fileName;       // +0x00
    BitmapRecord* bitmap;       // +0x04 may be null
    uint8_t reserved08[0x6C2 - 0x08];
    VectorObject* object;       // +0x6C2 may be null; wins over the bitmap
};
static_assert(sizeof(SaveRequest) == 0x6C6);
static_assert(offsetof(SaveRequest, bitmap) == 0x04);
static_assert(offsetof(SaveRequest, object) == 0x6C2);

#pragma pack(pop)

// The entry points a filter exports (fltInfo, fltLoad, fltSave), found by name.
using InfoFn = int32_t(BW_STDCALL*)(InfoRequest* request);
using LoadFn = int32_t(BW_STDCALL*)(LoadRequest* request);
using SaveFn = int32_t(BW_STDCALL*)(SaveRequest* request);

}  // namespace imaging::filter
