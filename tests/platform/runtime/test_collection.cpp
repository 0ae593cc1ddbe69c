#include "platform/runtime/Collection.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

using namespace rt;

namespace {

int32_t errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

QStringList values(const Collection& c)
{
    QStringList out;
    for (const Variant& v : c)
        out << v.toString();
    return out;
}

}  // namespace

TEST(Collection, KeysIgnoreCaseAndPositionsAreOneBased)
{
    Collection c;
    c.Add(QStringLiteral("a"), QStringLiteral("First"));
    c.Add(QStringLiteral("b"));
    c.Add(QStringLiteral("c"), QStringLiteral("Third"));
    EXPECT_EQ(c.Item(QStringLiteral("FIRST")).toString(), QStringLiteral("a"));
    EXPECT_EQ(c.Item(1).toString(), QStringLiteral("a"));
    EXPECT_EQ(c.Item(Variant(2.0)).toString(), QStringLiteral("b"));
    EXPECT_EQ(c.Item(Variant(QStringLiteral("third"))).toString(), QStringLiteral("c"));
    EXPECT_EQ(errorOf([&] { c.Item(QStringLiteral("missing")); }), errc::InvalidCall);
    EXPECT_EQ(errorOf([&] { c.Item(0); }), errc::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { c.Item(4); }), errc::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { c.Add(QStringLiteral("d"), QStringLiteral("first")); }),
              errc::DuplicateKey);
    EXPECT_EQ(c.Count(), 3);
}

TEST(Collection, BeforeAfterAndRemoveKeepKeysRight)
{
    Collection c;
    c.Add(QStringLiteral("a"), QStringLiteral("A"));
    c.Add(QStringLiteral("c"), QStringLiteral("C"));
    c.Add(QStringLiteral("b"), QStringLiteral("B"), Variant(QStringLiteral("C")));
    c.Add(QStringLiteral("z"), QStringLiteral("Z"), std::nullopt, Variant(int32_t(3)));
    c.Add(QStringLiteral("0"), QStringLiteral("Zero"), Variant(int32_t(1)));
    EXPECT_EQ(values(c), (QStringList{"0", "a", "b", "c", "z"}));
    EXPECT_EQ(c.Item(QStringLiteral("c")).toString(), QStringLiteral("c"));
    EXPECT_EQ(c.Item(QStringLiteral("z")).toString(), QStringLiteral("z"));

    c.Remove(QStringLiteral("A"));
    c.Remove(1);
    EXPECT_EQ(values(c), (QStringList{"b", "c", "z"}));
    EXPECT_EQ(c.Item(QStringLiteral("Z")).toString(), QStringLiteral("z"));
    EXPECT_FALSE(c.contains(QStringLiteral("a")));
    c.Add(QStringLiteral("a again"), QStringLiteral("a"));   // a removed key is free again
    EXPECT_EQ(c.Item(4).toString(), QStringLiteral("a again"));
    EXPECT_EQ(errorOf([&] { c.Remove(QStringLiteral("gone")); }), errc::InvalidCall);
    EXPECT_EQ(errorOf([&] {
                  c.Add(QStringLiteral("x"), std::nullopt, Variant(int32_t(1)), Variant(int32_t(1)));
              }),
              errc::InvalidCall);
    EXPECT_EQ(errorOf([&] { c.Item(Variant::null()); }), errc::TypeMismatch);
    c.clear();
    EXPECT_EQ(c.Count(), 0);
    EXPECT_FALSE(c.contains(QStringLiteral("b")));
}
