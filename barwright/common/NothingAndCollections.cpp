#include "barwright/common/NothingAndCollections.h"

#include "platform/runtime/Error.h"

namespace mGlobals {

void ClearCollection(rt::Collection& collection)
{
    while (collection.Count() > 0)
        collection.Remove(collection.Count());
}

void ClearCollection(const com::Object& collection)
{
    while (collection.get(QStringLiteral("Count")).toLong() > 0)
        collection.call(QStringLiteral("Remove"), {collection.get(QStringLiteral("Count"))});
}

bool ExistsInCollection(const rt::Collection& collection, const rt::Variant& key)
{
    try {
        collection.Item(key);
        return true;
    } catch (const rt::Error&) {
        return false;
    }
}

bool ExistsInCollection(const com::Object& collection, const rt::Variant& key)
{
    return rt::tryStatement([&] { collection.get(QStringLiteral("Item"), {key}); }) == 0;
}

bool IsNothing(const rt::Variant& value)
{
    return value.isNothing() || value.isEmpty() || value.isNull();
}

bool IsNothing(const com::Object& value)
{
    return value.isNothing();
}

bool IsNotNothing(const rt::Variant& value)
{
    return !IsNothing(value);
}

bool IsNotNothing(const com::Object& value)
{
    return !IsNothing(value);
}

}  // namespace mGlobals
