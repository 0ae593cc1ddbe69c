#pragma once
// The filter's reference to a vector object: either one it allocated and
// frees itself (owned) or the caller's, which it only reads into and empties.

#include "vondral/Exports.h"

namespace vondral {

struct VectorRef {
    int32_t owned = 0;
    VectorObject* object = nullptr;
};

// An owned reference gets a null object; a borrowed one keeps the caller's.
void vecInitRef(VectorRef& ref);
// Reads a vector dump from `file` into the reference's object (allocating it
// when owned); status 1 or the failure.
int32_t vecReadDump(VectorRef& ref, int32_t file);
// Frees the object's contents, and the object itself when owned.
void vecFreeRef(VectorRef& ref);
// Writes `object` as a vector dump to the file `name`.
int32_t vecWriteDump(const VectorObject* object, const char* name);

}  // namespace vondral
