#pragma once
// The base of everything a Variant can hold as an object reference. The
// automation layer derives its late-bound objects from it.

#include <QString>

#include <memory>

namespace rt {

class ObjectBase {
public:
    virtual ~ObjectBase() = default;
    // What TypeName reports for a reference to this object.
    virtual QString className() const { return QStringLiteral("Object"); }
};

using ObjectRef = std::shared_ptr<ObjectBase>;

}  // namespace rt
