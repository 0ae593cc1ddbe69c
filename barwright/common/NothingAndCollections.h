#pragma once
// The nothing tests and collection helpers of mGlobals, shared by Barwright's
// windows and the toolset wizard: both runtime collections and late-bound
// collections of the toolbar control.

#include "platform/automation/Dispatch.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Variant.h"

namespace mGlobals {

// Removes by position, last item first.
void ClearCollection(rt::Collection& collection);
void ClearCollection(const com::Object& collection);
// True when fetching the item by that key raises no error.
bool ExistsInCollection(const rt::Collection& collection, const rt::Variant& key);
bool ExistsInCollection(const com::Object& collection, const rt::Variant& key);

// Nothing, Empty or Null.
bool IsNothing(const rt::Variant& value);
bool IsNothing(const com::Object& value);
bool IsNotNothing(const rt::Variant& value);
bool IsNotNothing(const com::Object& value);

}  // namespace mGlobals
