#include "platform/automation/Dispatch.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

using namespace com;

namespace {

class Counter final : public Dispatch {
public:
    Counter()
    {
        defineProperty(QStringLiteral("Value"), 7,
                       [this](Args&) { return rt::Variant(m_value); },
                       [this](Args&, const rt::Variant& v) { m_value = v.toLong(); });
        defineProperty(QStringLiteral("ReadOnly"), DispidUnknown,
                       [](Args&) { return rt::Variant(QStringLiteral("fixed")); });
        defineMethod(QStringLiteral("Swap"), 9, [](Args& a) {
            std::swap(a.at(0), a.at(1));
            return rt::Variant();
        });
        defineMethod(QStringLiteral("Fail"), DispidUnknown, [](Args&) -> rt::Variant {
            rt::raise(1234, QStringLiteral("Counter"), QStringLiteral("own failure"));
        });
        defineProperty(QStringLiteral("Child"), DispidUnknown,
                       [this](Args&) { return m_child.toVariant(); },
                       [this](Args&, const rt::Variant& v) { m_child = Object::fromVariant(v); });
    }
    QString className() const override { return QStringLiteral("Counter"); }

private:
    int32_t m_value = 0;
    Object m_child;
};

int32_t errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const rt::Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(Dispatch, MembersByNameAndById)
{
    Object o(std::make_shared<Counter>());
    o.let(QStringLiteral("value"), rt::Variant(int16_t(5)));
    EXPECT_EQ(o.get(QStringLiteral("VALUE")).toLong(), 5);
    EXPECT_EQ(o.get(7).toLong(), 5);
    o.let(7, rt::Variant(int32_t(11)));
    EXPECT_EQ(o.get(QStringLiteral("Value")).toLong(), 11);
    EXPECT_EQ(o.ptr()->idOfName(QStringLiteral("swap")), 9);
    EXPECT_GT(o.ptr()->idOfName(QStringLiteral("ReadOnly")), 0x40000000 - 1);
    EXPECT_FALSE(o.ptr()->hasMember(QStringLiteral("Nope")));
    EXPECT_EQ(o.toVariant().typeName(), QStringLiteral("Counter"));
}

TEST(Dispatch, ByReferenceArgumentsComeBack)
{
    Object o(std::make_shared<Counter>());
    Args args{rt::Variant(QStringLiteral("left")), rt::Variant(int32_t(2))};
    o.call(QStringLiteral("Swap"), args);
    EXPECT_EQ(args[0].toLong(), 2);
    EXPECT_EQ(args[1].toString(), QStringLiteral("left"));
    o.call(9, args);
    EXPECT_EQ(args[0].toString(), QStringLiteral("left"));
}

TEST(Dispatch, ErrorsOfNothingUnknownMembersAndCallees)
{
    Object nothing;
    EXPECT_EQ(errorOf([&] { nothing.get(QStringLiteral("Value")); }), rt::errc::ObjectNotSet);
    EXPECT_EQ(errorOf([&] { nothing.call(1); }), rt::errc::ObjectNotSet);
    Object o(std::make_shared<Counter>());
    EXPECT_EQ(errorOf([&] { o.get(QStringLiteral("Missing")); }), rt::errc::NoSuchMember);
    EXPECT_EQ(errorOf([&] { o.get(12345); }), rt::errc::NoSuchMember);
    EXPECT_EQ(errorOf([&] { o.let(QStringLiteral("ReadOnly"), rt::Variant(1)); }),
              rt::errc::NoSuchMember);
    EXPECT_EQ(errorOf([&] { o.call(QStringLiteral("Fail")); }), 1234);
    EXPECT_EQ(errorOf([] { Object::fromVariant(rt::Variant(1)); }), rt::errc::TypeMismatch);
    EXPECT_EQ(errorOf([] { Object::fromVariant(rt::Variant(std::make_shared<rt::ObjectBase>())); }),
              rt::errc::TypeMismatch);
    EXPECT_TRUE(Object::fromVariant(rt::Variant::nothing()).isNothing());
}

TEST(Dispatch, ObjectsHeldByObjectsAndTheLastReferenceDuringACall)
{
    auto parent = std::make_shared<Counter>();
    auto child = std::make_shared<Counter>();
    Object p(parent);
    p.set(QStringLiteral("Child"), Object(child));
    EXPECT_EQ(Object::fromVariant(p.get(QStringLiteral("Child"))).ptr(), child);

    // A member that drops the caller's last reference must not pull the object away.
    auto self = std::make_shared<Counter>();
    std::weak_ptr<Counter> weak = self;
    Object holder(self);
    self.reset();
    Args none;
    EXPECT_NO_THROW(holder.ptr()->invoke(QStringLiteral("Value"), CallKind::PropertyGet, none));
    EXPECT_FALSE(weak.expired());
}
