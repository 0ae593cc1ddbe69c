// Reading, freeing and writing the vector object behind a VectorRef.

#include "vondral/VectorRef.h"

#include "vondral/Kernel.h"

namespace vondral {

void vecInitRef(VectorRef& ref)
{
    if (ref.owned)
        ref.object = nullptr;
}

int32_t vecReadDump(VectorRef& ref, int32_t file)
{
    const Kernel& k = kernel();
    if (ref.owned) {
        ref.object = static_cast<VectorObject*>(k.allocate(sizeof(VectorObject)));
        if (!ref.object)
            return kNoMemory;
    }
    ref.object->tag = imaging::kVectorDumpTag;
    if (ref.owned)
        k.initObject(ref.object);
    k.emptyObject(ref.object);
    return k.readVector(file, ref.object);
}

void vecFreeRef(VectorRef& ref)
{
    if (!ref.object)
        return;
    const Kernel& k = kernel();
    k.freeContents(ref.object);
    if (ref.owned) {
        k.free(ref.object);
        ref.object = nullptr;
    }
}

int32_t vecWriteDump(const VectorObject* object, const char* name)
{
    const Kernel& k = kernel();
    const int32_t file = k.open(name, kWriteFlags, kWriteMode);
    if (file < 0)
        return kCannotOpen;
    const int32_t status = k.writeVector(file, object);
    k.close(file);
    return status;
}

}  // namespace vondral
