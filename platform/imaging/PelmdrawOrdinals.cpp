// Pelmdraw's ordinal table, the kernel's one exported symbol.

#include "platform/imaging/PelmdrawInternal.h"

#include <iterator>

extern "C" const imaging::OrdinalTable* BW_STDCALL PelmdrawOrdinals()
{
    using namespace imaging::draw;
    using imaging::entry;
    // Built on first use, so a peer may bind while libraries still initialise.
    static const imaging::OrdinalEntry kEntries[] = {
        entry(InitObject, impl::initObject),
        entry(FreeContents, impl::freeContents),
        entry(EmptyObject, impl::emptyObject),
        entry(AddPrimitive, impl::addPrimitive),
        entry(SetNaturalSize, impl::setNaturalSize),
        entry(PrimitiveCount, impl::primitiveCount),
        entry(GetPrimitive, impl::getPrimitive),
        entry(SetOrigin, impl::setOrigin),
        entry(RenderingSize, impl::renderingSize),
        entry(Select, impl::select),
        entry(Paint, impl::paint),
        entry(ReadVectorDump, impl::readVectorDump),
        entry(WriteVectorDump, impl::writeVectorDump),
        entry(ReadRasterDump, impl::readRasterDump),
        entry(WriteRasterDump, impl::writeRasterDump),
    };
    static const imaging::OrdinalTable kTable{uint32_t(std::size(kEntries)), kEntries};
    return &kTable;
}
