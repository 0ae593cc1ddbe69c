// Binding the kernels: look every ordinal up in the tables the two kernels
// export; a missing ordinal leaves the binding incomplete and every entry
// point then fails with -1 instead of calling through a null pointer.

#include "vondral/Kernel.h"

namespace vondral {

const Kernel& kernel()
{
    static const Kernel bound = [] {
        namespace core = imaging::core;
        namespace draw = imaging::draw;
        using imaging::bind;
        Kernel k;
        const imaging::OrdinalTable* c = PelmcoreOrdinals();
        const imaging::OrdinalTable* d = PelmdrawOrdinals();
        const bool coreBound =
            bind(c, core::Open, k.open) && bind(c, core::Close, k.close) &&
            bind(c, core::Read, k.read) && bind(c, core::Seek, k.seek) &&
            bind(c, core::Allocate, k.allocate) && bind(c, core::Free, k.free) &&
            bind(c, core::InitRecord, k.initRecord) &&
            bind(c, core::AllocStorage, k.allocStorage) &&
            bind(c, core::FreeStorage, k.freeStorage) && bind(c, core::ContextOf, k.contextOf) &&
            bind(c, core::ReleaseContext, k.releaseContext) && bind(c, core::Erase, k.prepare) &&
            bind(c, core::BeginRowAccess, k.beginRows) &&
            bind(c, core::EndRowAccess, k.endRows) && bind(c, core::CopyRow, k.copyRow) &&
            bind(c, core::DuplicateHandle, k.duplicate);
        const bool drawBound =
            bind(d, draw::InitObject, k.initObject) &&
            bind(d, draw::FreeContents, k.freeContents) &&
            bind(d, draw::EmptyObject, k.emptyObject) && bind(d, draw::SetOrigin, k.setOrigin) &&
            bind(d, draw::RenderingSize, k.renderingSize) && bind(d, draw::Select, k.select) &&
            bind(d, draw::Paint, k.paint) && bind(d, draw::ReadVectorDump, k.readVector) &&
            bind(d, draw::WriteVectorDump, k.writeVector) &&
            bind(d, draw::ReadRasterDump, k.readRaster) &&
            bind(d, draw::WriteRasterDump, k.writeRaster);
        k.complete = coreBound && drawBound;
        return k;
    }();
    return bound;
}

}  // namespace vondral
