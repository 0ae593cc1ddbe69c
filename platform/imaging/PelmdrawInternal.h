#pragma once
// Pelmdraw's operations as plain functions, and the Pelmcore operations it
// uses, bound by ordinal like any other peer of the raster kernel.

#include "platform/imaging/Pelmcore.h"
#include "platform/imaging/Pelmdraw.h"

namespace imaging::draw::impl {

struct Core {
    core::AllocateFn allocate = nullptr;
    core::FreeFn free = nullptr;
    core::ReadFn read = nullptr;
    core::WriteFn write = nullptr;
    core::SeekFn seek = nullptr;
    core::HandleFn fileSize = nullptr;
    core::HandleFn discard = nullptr;
    core::InitRecordFn initRecord = nullptr;
    core::AllocStorageFn allocStorage = nullptr;
    core::RecordFn freeStorage = nullptr;
    core::CreatePaletteFn createPalette = nullptr;
    core::PaletteOfFn paletteOf = nullptr;
    bool complete = false;
};

// Pelmcore's operations, bound on first use.
const Core& core();

int32_t BW_STDCALL initObject(VectorObject* o);
int32_t BW_STDCALL freeContents(VectorObject* o);
int32_t BW_STDCALL emptyObject(VectorObject* o);
int32_t BW_STDCALL addPrimitive(VectorObject* o, const VecPrimitive* p);
int32_t BW_STDCALL setNaturalSize(VectorObject* o, int32_t width, int32_t height);
int32_t BW_STDCALL primitiveCount(const VectorObject* o);
int32_t BW_STDCALL getPrimitive(const VectorObject* o, int32_t index, VecPrimitive* out);
int32_t BW_STDCALL setOrigin(VectorObject* o, const int32_t* point);
int32_t BW_STDCALL renderingSize(VectorObject* o, int32_t mode, int32_t* width, int32_t* height);
int32_t BW_STDCALL select(VectorObject* o, int32_t primitive);
int32_t BW_STDCALL paint(int32_t context, VectorObject* o, int32_t flags);
int32_t BW_STDCALL readVectorDump(int32_t file, VectorObject* o);
int32_t BW_STDCALL writeVectorDump(int32_t file, const VectorObject* o);
int32_t BW_STDCALL readRasterDump(int32_t file, BitmapRecord* r);
int32_t BW_STDCALL writeRasterDump(int32_t file, const BitmapRecord* r);

bool isObject(const VectorObject* o);
bool validPrimitive(const VecPrimitive& p);

}  // namespace imaging::draw::impl
