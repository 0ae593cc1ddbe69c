#pragma once
// Shared base of the control's objects: a late-bound object whose typed
// getters and setters are published by name (and dispatch id) in one line
// each, plus the link through which an object reaches the control that
// raises its events.

#include "platform/automation/Dispatch.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Variant.h"

#include <QString>

#include <memory>
#include <type_traits>

namespace toolbar {

class MqZentribar;

// Every object of one configuration shares one link; when the configuration
// is replaced or the control goes away the link is cut, and the old objects
// keep working as plain data without events.
struct ControlLink {
    MqZentribar* control = nullptr;
};
using Link = std::shared_ptr<ControlLink>;

namespace detail {
template <class T>
T fromVariant(const rt::Variant& v)
{
    if constexpr (std::is_same_v<T, bool>)
        return v.toBool();
    else if constexpr (std::is_same_v<T, int16_t>)
        return v.toInteger();
    else if constexpr (std::is_same_v<T, int32_t>)
        return v.toLong();
    else if constexpr (std::is_same_v<T, QString>)
        return v.toString();
    else
        return v;
}
template <class>
struct GetterTraits;
template <class O, class R>
struct GetterTraits<R (O::*)() const> {
    using Obj = O;
    using Result = R;
};
}  // namespace detail

// The description every refused value carries: "<Class>.<Property>: <why>".
[[noreturn]] void refuse(const QString& where, const QString& why,
                         int32_t number = 380);

class ModelObject : public com::Dispatch {
public:
    // This object as a shared pointer of its own class (it must be owned by one).
    template <class Obj>
    std::shared_ptr<Obj> selfAs() const
    {
        return std::static_pointer_cast<Obj>(
            std::const_pointer_cast<com::Dispatch>(weak_from_this().lock()));
    }

protected:
    // Publishes a typed property: bind<&Obj::Get, &Obj::Set>(name[, dispid]).
    // The member pointers are template arguments so that each accessor only
    // captures `this` and needs no allocation: the control creates many
    // thousands of these objects when it loads a configuration.
    template <auto Get, auto Set = nullptr>
    void bind(const QString& name, int32_t dispid = com::DispidUnknown)
    {
        using Traits = detail::GetterTraits<decltype(Get)>;
        using Obj = typename Traits::Obj;
        using T = std::decay_t<typename Traits::Result>;
        auto* self = static_cast<Obj*>(this);
        Setter let;
        if constexpr (!std::is_same_v<decltype(Set), std::nullptr_t>) {
            let = [self](com::Args&, const rt::Variant& v) {
                (self->*Set)(detail::fromVariant<T>(v));
            };
        }
        defineProperty(name, dispid,
                       [self](com::Args&) { return rt::Variant((self->*Get)()); },
                       std::move(let));
    }
};

// Range check used by every setter of the model.
inline void checkRange(const QString& where, int32_t value, int32_t lo, int32_t hi)
{
    if (value < lo || value > hi)
        refuse(where, QStringLiteral("%1 is outside the range %2 to %3.")
                          .arg(value).arg(lo).arg(hi));
}

}  // namespace toolbar
