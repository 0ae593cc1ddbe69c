#pragma once
// Every operation of both kernels, bound by ordinal: what a host of the
// kernels (the host program, tests, benchmarks) uses to make bitmaps and
// drawings, open files and read the leak counters.

#include "platform/imaging/Pelmcore.h"
#include "platform/imaging/Pelmdraw.h"

namespace imaging {

struct KernelClient {
    core::OpenFn open{};
    core::HandleFn close{};
    core::ReadFn read{};
    core::WriteFn write{};
    core::SeekFn seek{};
    core::HandleFn fileSize{};
    core::HandleFn discard{};
    core::AllocateFn allocate{};
    core::FreeFn free{};
    core::InitRecordFn initRecord{};
    core::AllocStorageFn allocStorage{};
    core::RecordFn freeStorage{};
    core::RecordFn beginRows{};
    core::RecordFn endRows{};
    core::CopyRowFn copyRow{};
    core::PutRowFn putRow{};
    core::RecordFn contextOf{};
    core::HandleFn releaseContext{};
    core::EraseFn erase{};
    core::CreatePaletteFn createPalette{};
    core::HandleFn duplicateHandle{};
    core::HandleFn releaseHandle{};
    core::PaletteOfFn paletteOf{};
    core::CounterFn liveAllocations{};
    core::CounterFn liveBitmaps{};
    core::CounterFn openFiles{};
    core::CounterFn corruptBlocks{};
    core::CounterFn liveContexts{};
    core::CounterFn liveHandles{};

    draw::ObjectFn initObject{};
    draw::ObjectFn freeContents{};
    draw::ObjectFn emptyObject{};
    draw::AddPrimitiveFn addPrimitive{};
    draw::SetNaturalSizeFn setNaturalSize{};
    draw::CountFn primitiveCount{};
    draw::GetPrimitiveFn getPrimitive{};
    draw::SetOriginFn setOrigin{};
    draw::RenderingSizeFn renderingSize{};
    draw::SelectFn select{};
    draw::PaintFn paint{};
    draw::ReadVectorFn readVector{};
    draw::WriteVectorFn writeVector{};
    draw::ReadRasterFn readRaster{};
    draw::WriteRasterFn writeRaster{};

    bool complete = false;

    static const KernelClient& get()
    {
        static const KernelClient bound = [] {
            KernelClient k;
            const OrdinalTable* c = PelmcoreOrdinals();
            const OrdinalTable* d = PelmdrawOrdinals();
            using namespace core;
            using namespace draw;
            bool ok = true;
            auto b = [&ok](const OrdinalTable* t, uint16_t n, auto& f) { ok &= bind(t, n, f); };
            b(c, Open, k.open), b(c, Close, k.close), b(c, Read, k.read), b(c, Write, k.write);
            b(c, Seek, k.seek), b(c, FileSize, k.fileSize), b(c, Discard, k.discard);
            b(c, Allocate, k.allocate);
            b(c, Free, k.free), b(c, InitRecord, k.initRecord);
            b(c, AllocStorage, k.allocStorage), b(c, FreeStorage, k.freeStorage);
            b(c, BeginRowAccess, k.beginRows), b(c, EndRowAccess, k.endRows);
            b(c, CopyRow, k.copyRow), b(c, PutRow, k.putRow), b(c, ContextOf, k.contextOf);
            b(c, ReleaseContext, k.releaseContext), b(c, Erase, k.erase);
            b(c, CreatePalette, k.createPalette), b(c, DuplicateHandle, k.duplicateHandle);
            b(c, ReleaseHandle, k.releaseHandle), b(c, PaletteOf, k.paletteOf);
            b(c, LiveAllocations, k.liveAllocations), b(c, LiveBitmaps, k.liveBitmaps);
            b(c, OpenFiles, k.openFiles), b(c, CorruptBlocks, k.corruptBlocks);
            b(c, LiveContexts, k.liveContexts), b(c, LiveHandles, k.liveHandles);
            b(d, InitObject, k.initObject), b(d, FreeContents, k.freeContents);
            b(d, EmptyObject, k.emptyObject), b(d, AddPrimitive, k.addPrimitive);
            b(d, SetNaturalSize, k.setNaturalSize), b(d, PrimitiveCount, k.primitiveCount);
            b(d, GetPrimitive, k.getPrimitive), b(d, SetOrigin, k.setOrigin);
            b(d, RenderingSize, k.renderingSize), b(d, Select, k.select), b(d, Paint, k.paint);
            b(d, ReadVectorDump, k.readVector), b(d, WriteVectorDump, k.writeVector);
            b(d, ReadRasterDump, k.readRaster), b(d, WriteRasterDump, k.writeRaster);
            k.complete = ok;
            return k;
        }();
        return bound;
    }
};

}  // namespace imaging
