#include "platform/automation/Dispatch.h"

#include "platform/runtime/Error.h"

namespace com {

void Dispatch::defineProperty(const QString& name, int32_t dispid, Getter get, Setter let)
{
    if (dispid == DispidUnknown)
        dispid = m_nextPrivateId++;
    m_members.insert(dispid, Member{name, std::move(get), std::move(let), {}});
    m_ids.insert(name.toCaseFolded(), dispid);
}

void Dispatch::defineMethod(const QString& name, int32_t dispid, Method call)
{
    if (dispid == DispidUnknown)
        dispid = m_nextPrivateId++;
    m_members.insert(dispid, Member{name, {}, {}, std::move(call)});
    m_ids.insert(name.toCaseFolded(), dispid);
}

int32_t Dispatch::idOfName(const QString& name) const
{
    return m_ids.value(name.toCaseFolded(), DispidUnknown);
}

rt::Variant Dispatch::invoke(const QString& name, CallKind kind, Args& args)
{
    const int32_t id = idOfName(name);
    if (id == DispidUnknown)
        rt::raise(rt::errc::NoSuchMember, className());
    return invokeMember(m_members[id], kind, args);
}

rt::Variant Dispatch::invoke(int32_t dispid, CallKind kind, Args& args)
{
    const auto it = m_members.constFind(dispid);
    if (it == m_members.cend())
        rt::raise(rt::errc::NoSuchMember, className());
    return invokeMember(*it, kind, args);
}

rt::Variant Dispatch::invokeMember(const Member& m, CallKind kind, Args& args)
{
    // Keep the object alive while its member runs, even if the call drops
    // the caller's last reference.
    const auto self = weak_from_this().lock();
    switch (kind) {
    case CallKind::Method:
    case CallKind::PropertyGet:
        if (m.get)
            return m.get(args);
        if (m.call)
            return m.call(args);
        break;
    case CallKind::PropertyLet:
    case CallKind::PropertySet:
        if (m.let && !args.empty()) {
            const rt::Variant value = args.back();
            args.pop_back();
            m.let(args, value);
            return {};
        }
        break;
    }
    rt::raise(rt::errc::NoSuchMember, className());
}

Object Object::fromVariant(const rt::Variant& v)
{
    const rt::ObjectRef o = v.toObject();
    if (!o)
        return {};
    auto d = std::dynamic_pointer_cast<Dispatch>(o);
    if (!d)
        rt::raise(rt::errc::TypeMismatch);
    return Object(std::move(d));
}

Dispatch& Object::target() const
{
    if (!m_p)
        rt::raise(rt::errc::ObjectNotSet);
    return *m_p;
}

rt::Variant Object::get(const QString& name, Args args) const
{
    return target().invoke(name, CallKind::PropertyGet, args);
}

void Object::let(const QString& name, const rt::Variant& value, Args args) const
{
    args.push_back(value);
    target().invoke(name, CallKind::PropertyLet, args);
}

void Object::set(const QString& name, const Object& value, Args args) const
{
    args.push_back(value.toVariant());
    target().invoke(name, CallKind::PropertySet, args);
}

rt::Variant Object::call(const QString& name, Args& args) const
{
    return target().invoke(name, CallKind::Method, args);
}

rt::Variant Object::call(const QString& name, Args&& args) const
{
    return target().invoke(name, CallKind::Method, args);
}

rt::Variant Object::get(int32_t dispid, Args args) const
{
    return target().invoke(dispid, CallKind::PropertyGet, args);
}

void Object::let(int32_t dispid, const rt::Variant& value, Args args) const
{
    args.push_back(value);
    target().invoke(dispid, CallKind::PropertyLet, args);
}

rt::Variant Object::call(int32_t dispid, Args& args) const
{
    return target().invoke(dispid, CallKind::Method, args);
}

rt::Variant Object::call(int32_t dispid, Args&& args) const
{
    return target().invoke(dispid, CallKind::Method, args);
}

}  // namespace com
