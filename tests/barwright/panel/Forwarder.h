#pragma once
// A late-bound stand-in that passes named members on to a real object of the
// toolbar control, logging every property write in order and refusing the
// writes a test names (as a control raises an error for a value it refuses).

#include "platform/automation/Dispatch.h"
#include "platform/runtime/Error.h"

#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>

class Forwarder final : public com::Dispatch {
public:
    static std::shared_ptr<Forwarder> create(com::Object target, const QStringList& properties,
                                             const QStringList& methods = {})
    {
        std::shared_ptr<Forwarder> f(new Forwarder(std::move(target)));
        for (const QString& name : properties)
            f->forwardProperty(name);
        for (const QString& name : methods)
            f->forwardMethod(name);
        return f;
    }

    // Writes (property names) and method calls ("Name()"), in order.
    QStringList log;
    // Members that raise error 380 instead of reaching the target: the named
    // ones, and the calls refuseWhen picks (name, arguments).
    QSet<QString> refused;
    std::function<bool(const QString&, const com::Args&)> refuseWhen;
    // Getters answered by another object (a sub-object's own forwarder).
    QHash<QString, com::Object> replaced;

private:
    explicit Forwarder(com::Object target) : m_target(std::move(target)) {}

    [[noreturn]] static void refuse(const QString& name)
    {
        rt::raise(380, QStringLiteral("Forwarder"), name + QStringLiteral(" refused"));
    }

    bool isRefused(const QString& name, const com::Args& args) const
    {
        return refused.contains(name) || (refuseWhen && refuseWhen(name, args));
    }

    void forwardProperty(const QString& name)
    {
        defineProperty(name, com::DispidUnknown,
                       [this, name](com::Args& a) {
                           if (replaced.contains(name))
                               return replaced.value(name).toVariant();
                           return m_target.get(name, a);
                       },
                       [this, name](com::Args& a, const rt::Variant& v) {
                           log << name;
                           if (isRefused(name, a))
                               refuse(name);
                           m_target.let(name, v, a);
                       });
    }

    void forwardMethod(const QString& name)
    {
        defineMethod(name, com::DispidUnknown, [this, name](com::Args& a) {
            log << name + QStringLiteral("()");
            if (isRefused(name, a))
                refuse(name);
            return m_target.call(name, a);
        });
    }

    com::Object m_target;
};
