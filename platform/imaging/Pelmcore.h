#pragma once
// Pelmcore, the stand-in raster kernel: files, guarded memory, bitmap records
// and their storage, drawing contexts over the GDI stand-in, row access and
// palette handles. Its only exported symbol is PelmcoreOrdinals(); callers
// bind each operation below by number (see Ordinals.h).

#include "platform/imaging/Ordinals.h"
#include "platform/imaging/Records.h"

#include <cstdint>

namespace imaging::core {

// ---- Ordinals --------------------------------------------------------------
enum Ordinal : uint16_t {
    BeginRowAccess = 100,   // int32 (BitmapRecord*)                     1, or -2 without storage
    AllocStorage = 101,     // int32 (BitmapRecord*, int32 flags)        1 or a status
    ContextOf = 117,        // int32 (BitmapRecord*)                     context or 0
    ReleaseContext = 120,   // int32 (int32 context)                     1, or -2 unknown
    DuplicateHandle = 122,  // int32 (int32 handle)                      new handle or 0
    Erase = 123,            // int32 (BitmapRecord*, uint32 paper)       1 or -2
    FreeStorage = 125,      // int32 (BitmapRecord*)                     1
    ReleaseHandle = 126,    // int32 (int32 handle)                      1, or -2 unknown
    CreatePalette = 127,    // int32 (const uint32* bgrx, int32 count)   handle or 0
    PaletteOf = 128,        // int32 (int32 handle, uint32* out, int32 max)  entries or -2
    CopyRow = 129,          // int32 (BitmapRecord*, void* buf, int32 row, int32 bytes)
    PutRow = 130,           // int32 (BitmapRecord*, const void* buf, int32 row, int32 bytes)
    InitRecord = 134,       // int32 (BitmapRecord*, int32 w, int32 h, int32 bits)  1 or -2
    EndRowAccess = 141,     // int32 (BitmapRecord*)                     1, or -2 unbalanced
    Close = 188,            // int32 (int32 handle)                      0, or -1 unknown or
                            //   not replaced (a file written whole, see Open)
    Open = 189,             // int32 (const char* name, int32 flags, int32 mode)  handle or -1;
                            //   regular files only; writing with truncation writes a new
                            //   file that replaces the old one at Close
    Read = 190,             // int32 (int32 handle, void* buf, int32 count)   bytes or -1
    Seek = 191,             // int32 (int32 handle, int32 offset, int32 whence)  position or -1
    Write = 192,            // int32 (int32 handle, const void* buf, int32 count)  bytes or -1
    FileSize = 193,         // int32 (int32 handle)                      bytes or -1
    Discard = 194,          // int32 (int32 handle)  a file written whole keeps its old
                            //   content at Close; 1, or -2 for any other handle
    Allocate = 282,         // void* (uint32 bytes)                      null on failure
    Free = 283,             // void  (void* p)
    LiveAllocations = 900,  // int32 ()  test counters, all zero when nothing is held
    LiveBitmaps = 901,      //   records holding storage
    OpenFiles = 902,
    CorruptBlocks = 903,    //   blocks whose canaries were found damaged (ever)
    LiveContexts = 904,
    LiveHandles = 905,
};

// ---- File flags and modes of Open -------------------------------------------
inline constexpr int32_t kReadOnly = 0x0000;
inline constexpr int32_t kWriteOnly = 0x0001;
inline constexpr int32_t kReadWrite = 0x0002;
inline constexpr int32_t kAppend = 0x0008;
inline constexpr int32_t kCreate = 0x0100;
inline constexpr int32_t kTruncate = 0x0200;
inline constexpr int32_t kExclusive = 0x0400;
inline constexpr int32_t kText = 0x4000;    // accepted, no translation
inline constexpr int32_t kBinary = 0x8000;
inline constexpr int32_t kModeWrite = 0x0080;  // a created file is writable
inline constexpr int32_t kModeRead = 0x0100;   // a created file is readable

// ---- Statuses ---------------------------------------------------------------
inline constexpr int32_t kOk = 1;
inline constexpr int32_t kNoMemory = -1;
inline constexpr int32_t kBadArgument = -2;

// Allocations above this size fail, as a 32-bit kernel's would long before.
inline constexpr uint32_t kMaxAllocation = 256u << 20;

// ---- Signatures, for binding ------------------------------------------------
using RecordFn = int32_t(BW_STDCALL*)(BitmapRecord*);
using AllocStorageFn = int32_t(BW_STDCALL*)(BitmapRecord*, int32_t);
using HandleFn = int32_t(BW_STDCALL*)(int32_t);
using EraseFn = int32_t(BW_STDCALL*)(BitmapRecord*, uint32_t);
using CreatePaletteFn = int32_t(BW_STDCALL*)(const uint32_t*, int32_t);
using PaletteOfFn = int32_t(BW_STDCALL*)(int32_t, uint32_t*, int32_t);
using CopyRowFn = int32_t(BW_STDCALL*)(BitmapRecord*, void*, int32_t, int32_t);
using PutRowFn = int32_t(BW_STDCALL*)(BitmapRecord*, const void*, int32_t, int32_t);
using InitRecordFn = int32_t(BW_STDCALL*)(BitmapRecord*, int32_t, int32_t, int32_t);
using OpenFn = int32_t(BW_STDCALL*)(const char*, int32_t, int32_t);
using ReadFn = int32_t(BW_STDCALL*)(int32_t, void*, int32_t);
using SeekFn = int32_t(BW_STDCALL*)(int32_t, int32_t, int32_t);
using WriteFn = int32_t(BW_STDCALL*)(int32_t, const void*, int32_t);
using AllocateFn = void*(BW_STDCALL*)(uint32_t);
using FreeFn = void(BW_STDCALL*)(void*);
using CounterFn = int32_t(BW_STDCALL*)();

}  // namespace imaging::core

extern "C" BW_EXPORT const imaging::OrdinalTable* BW_STDCALL PelmcoreOrdinals();
