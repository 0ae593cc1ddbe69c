#pragma once
// Late-bound objects: members called by name or by dispatch id, with property
// get, let and set, methods, and by-reference arguments. A class exposes its
// members by defining them once in its constructor.

#include "platform/runtime/Variant.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace com {

enum class CallKind { Method, PropertyGet, PropertyLet, PropertySet };

// Arguments in call order. The callee may write into them: that is how
// by-reference arguments come back to the caller.
using Args = std::vector<rt::Variant>;

inline constexpr int32_t DispidUnknown = -1;

class Dispatch : public rt::ObjectBase, public std::enable_shared_from_this<Dispatch> {
public:
    using Getter = std::function<rt::Variant(Args&)>;
    using Setter = std::function<void(Args&, const rt::Variant&)>;
    using Method = std::function<rt::Variant(Args&)>;

    // Unknown names and ids raise error 438; a callee's own error passes through.
    rt::Variant invoke(const QString& name, CallKind kind, Args& args);
    rt::Variant invoke(int32_t dispid, CallKind kind, Args& args);
    int32_t idOfName(const QString& name) const;
    bool hasMember(const QString& name) const { return idOfName(name) != DispidUnknown; }

protected:
    // A dispatch id of DispidUnknown gets a private one above 0x40000000.
    void defineProperty(const QString& name, int32_t dispid, Getter get, Setter let = {});
    void defineMethod(const QString& name, int32_t dispid, Method call);

private:
    struct Member {
        QString name;
        Getter get;
        Setter let;
        Method call;
    };
    rt::Variant invokeMember(const Member& m, CallKind kind, Args& args);

    QHash<int32_t, Member> m_members;
    QHash<QString, int32_t> m_ids;   // case-folded name -> dispatch id
    int32_t m_nextPrivateId = 0x40000000;
};

// A late-bound reference, like an "Object" variable of the original: it may
// be Nothing, and calls through Nothing raise error 91.
class Object {
public:
    Object() = default;
    Object(std::shared_ptr<Dispatch> p) : m_p(std::move(p)) {}
    template <class T>
        requires std::is_base_of_v<Dispatch, T>
    Object(std::shared_ptr<T> p) : m_p(std::static_pointer_cast<Dispatch>(std::move(p)))
    {
    }
    // Error 13 when the value holds no object, or one that is not late-bound.
    static Object fromVariant(const rt::Variant& v);

    bool isNothing() const { return !m_p; }
    const std::shared_ptr<Dispatch>& ptr() const { return m_p; }
    template <class T>
    std::shared_ptr<T> as() const
    {
        return std::dynamic_pointer_cast<T>(m_p);
    }
    rt::Variant toVariant() const { return rt::Variant(rt::ObjectRef(m_p)); }
    bool operator==(const Object& o) const { return m_p == o.m_p; }

    rt::Variant get(const QString& name, Args args = {}) const;
    void let(const QString& name, const rt::Variant& value, Args args = {}) const;
    void set(const QString& name, const Object& value, Args args = {}) const;
    rt::Variant call(const QString& name, Args& args) const;
    rt::Variant call(const QString& name, Args&& args = {}) const;

    rt::Variant get(int32_t dispid, Args args = {}) const;
    void let(int32_t dispid, const rt::Variant& value, Args args = {}) const;
    rt::Variant call(int32_t dispid, Args& args) const;
    rt::Variant call(int32_t dispid, Args&& args = {}) const;

private:
    Dispatch& target() const;   // error 91 on Nothing
    std::shared_ptr<Dispatch> m_p;
};

}  // namespace com
