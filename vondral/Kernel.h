#pragma once
// The kernel operations the filter calls, bound by ordinal from the two
// kernels' ordinal tables (the only kernel symbols the filter references).

#include "platform/imaging/Pelmcore.h"
#include "platform/imaging/Pelmdraw.h"

namespace vondral {

inline constexpr int32_t kReadFlags = 0x8000;   // binary, read-only
inline constexpr int32_t kReadMode = 0x100;
inline constexpr int32_t kWriteFlags = 0x8302;  // binary, read-write, create, truncate
inline constexpr int32_t kWriteMode = 0x80;

struct Kernel {
    // Pelmcore
    imaging::core::OpenFn open = nullptr;                   // 189
    imaging::core::HandleFn close = nullptr;                // 188
    imaging::core::ReadFn read = nullptr;                   // 190
    imaging::core::SeekFn seek = nullptr;                   // 191
    imaging::core::AllocateFn allocate = nullptr;           // 282
    imaging::core::FreeFn free = nullptr;                   // 283
    imaging::core::InitRecordFn initRecord = nullptr;       // 134
    imaging::core::AllocStorageFn allocStorage = nullptr;   // 101
    imaging::core::RecordFn freeStorage = nullptr;          // 125
    imaging::core::RecordFn contextOf = nullptr;            // 117
    imaging::core::HandleFn releaseContext = nullptr;       // 120
    imaging::core::EraseFn prepare = nullptr;               // 123
    imaging::core::RecordFn beginRows = nullptr;            // 100
    imaging::core::RecordFn endRows = nullptr;              // 141
    imaging::core::CopyRowFn copyRow = nullptr;             // 129
    imaging::core::HandleFn duplicate = nullptr;            // 122
    // Pelmdraw
    imaging::draw::ObjectFn initObject = nullptr;           // 100
    imaging::draw::ObjectFn freeContents = nullptr;         // 101
    imaging::draw::ObjectFn emptyObject = nullptr;          // 102
    imaging::draw::SetOriginFn setOrigin = nullptr;         // 107
    imaging::draw::RenderingSizeFn renderingSize = nullptr; // 122
    imaging::draw::SelectFn select = nullptr;               // 400
    imaging::draw::PaintFn paint = nullptr;                 // 2300
    imaging::draw::ReadVectorFn readVector = nullptr;       // 2502
    imaging::draw::WriteVectorFn writeVector = nullptr;     // 2503
    imaging::draw::ReadRasterFn readRaster = nullptr;       // 2504
    imaging::draw::WriteRasterFn writeRaster = nullptr;     // 2505

    bool complete = false;  // every ordinal above was found
};

// Bound once, at load (DllMain) or on first use.
const Kernel& kernel();

}  // namespace vondral
