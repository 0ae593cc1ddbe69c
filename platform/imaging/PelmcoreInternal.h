#pragma once
// Pelmcore's operations as plain functions, for its own ordinal table and for
// the files of the kernel that share them. Not exported.

#include "platform/imaging/Pelmcore.h"

namespace imaging::core::impl {

// Memory
void* BW_STDCALL allocate(uint32_t bytes);
void BW_STDCALL release(void* p);
int32_t BW_STDCALL liveAllocations();
int32_t BW_STDCALL corruptBlocks();

// Files
int32_t BW_STDCALL open(const char* name, int32_t flags, int32_t mode);
int32_t BW_STDCALL close(int32_t handle);
int32_t BW_STDCALL discard(int32_t handle);
int32_t BW_STDCALL read(int32_t handle, void* buffer, int32_t count);
int32_t BW_STDCALL write(int32_t handle, const void* buffer, int32_t count);
int32_t BW_STDCALL seek(int32_t handle, int32_t offset, int32_t whence);
int32_t BW_STDCALL fileSize(int32_t handle);
int32_t BW_STDCALL openFiles();

// Bitmaps, rows and contexts
int32_t BW_STDCALL initRecord(BitmapRecord* r, int32_t width, int32_t height, int32_t bits);
int32_t BW_STDCALL allocStorage(BitmapRecord* r, int32_t flags);
int32_t BW_STDCALL freeStorage(BitmapRecord* r);
int32_t BW_STDCALL beginRowAccess(BitmapRecord* r);
int32_t BW_STDCALL endRowAccess(BitmapRecord* r);
int32_t BW_STDCALL copyRow(BitmapRecord* r, void* buffer, int32_t row, int32_t bytes);
int32_t BW_STDCALL putRow(BitmapRecord* r, const void* buffer, int32_t row, int32_t bytes);
int32_t BW_STDCALL contextOf(BitmapRecord* r);
int32_t BW_STDCALL releaseContext(int32_t context);
int32_t BW_STDCALL erase(BitmapRecord* r, uint32_t paper);
int32_t BW_STDCALL liveBitmaps();
int32_t BW_STDCALL liveContexts();

// Palette handles
int32_t BW_STDCALL createPalette(const uint32_t* entries, int32_t count);
int32_t BW_STDCALL duplicateHandle(int32_t handle);
int32_t BW_STDCALL releaseHandle(int32_t handle);
int32_t BW_STDCALL paletteOf(int32_t handle, uint32_t* out, int32_t max);
int32_t BW_STDCALL liveHandles();

}  // namespace imaging::core::impl
