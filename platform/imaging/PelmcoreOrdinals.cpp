// Pelmcore's ordinal table, the kernel's one exported symbol.

#include "platform/imaging/PelmcoreInternal.h"

#include <iterator>

extern "C" const imaging::OrdinalTable* BW_STDCALL PelmcoreOrdinals()
{
    using namespace imaging::core;
    using imaging::entry;
    namespace impl = imaging::core::impl;
    // Built on first use, so a peer may bind while libraries still initialise.
    static const imaging::OrdinalEntry kEntries[] = {
        entry(BeginRowAccess, impl::beginRowAccess),
        entry(AllocStorage, impl::allocStorage),
        entry(ContextOf, impl::contextOf),
        entry(ReleaseContext, impl::releaseContext),
        entry(DuplicateHandle, impl::duplicateHandle),
        entry(Erase, impl::erase),
        entry(FreeStorage, impl::freeStorage),
        entry(ReleaseHandle, impl::releaseHandle),
        entry(CreatePalette, impl::createPalette),
        entry(PaletteOf, impl::paletteOf),
        entry(CopyRow, impl::copyRow),
        entry(PutRow, impl::putRow),
        entry(InitRecord, impl::initRecord),
        entry(EndRowAccess, impl::endRowAccess),
        entry(Close, impl::close),
        entry(Open, impl::open),
        entry(Read, impl::read),
        entry(Seek, impl::seek),
        entry(Write, impl::write),
        entry(FileSize, impl::fileSize),
        entry(Discard, impl::discard),
        entry(Allocate, impl::allocate),
        entry(Free, impl::release),
        entry(LiveAllocations, impl::liveAllocations),
        entry(LiveBitmaps, impl::liveBitmaps),
        entry(OpenFiles, impl::openFiles),
        entry(CorruptBlocks, impl::corruptBlocks),
        entry(LiveContexts, impl::liveContexts),
        entry(LiveHandles, impl::liveHandles),
    };
    static const imaging::OrdinalTable kTable{uint32_t(std::size(kEntries)), kEntries};
    return &kTable;
}
