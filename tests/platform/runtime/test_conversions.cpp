#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace rt;

namespace {

template <class F>
int32_t errorOf(F&& f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(Rounding, CIntAndCLngRoundHalvesToEven)
{
    const std::pair<double, int32_t> cases[] = {
        {0.5, 0},   {1.5, 2},   {2.5, 2},     {12.5, 12}, {13.5, 14}, {-0.5, 0},
        {-1.5, -2}, {-2.5, -2}, {2.4999, 2},  {2.5001, 3}, {-2.6, -3}, {32767.4, 32767},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(CInt(value), expected) << value;
        EXPECT_EQ(CLng(value), expected) << value;
    }
    EXPECT_EQ(Int(-2.5), -3);
    EXPECT_EQ(Fix(-2.5), -2);
}

TEST(Rounding, OutOfRangeIsOverflow)
{
    for (double v : {32767.5, -32768.6, 1e10, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(errorOf([&] { CInt(v); }), errc::Overflow) << v;
    EXPECT_EQ(CInt(-32768.5), -32768);
    EXPECT_EQ(CLng(2147483647.4), 2147483647);
    EXPECT_EQ(errorOf([] { CLng(2147483647.5); }), errc::Overflow);
    EXPECT_EQ(errorOf([] { CLng(-2147483649.0); }), errc::Overflow);
    EXPECT_EQ(errorOf([] { CLng(std::numeric_limits<double>::infinity()); }), errc::Overflow);
}

TEST(Val, ReadsTheLeadingNumber)
{
    const std::pair<const char*, double> cases[] = {
        {"12abc", 12},     {" 1 2 3", 123},  {"-3.5e2x", -350}, {".5", 0.5},
        {"1.5.3", 1.5},    {"abc", 0},       {"", 0},           {"-", 0},
        {"&HFF", 255},     {"&HFFFF", -1},   {"&H10000", 65536}, {"&o17", 15},
        {"1e", 1},         {"1,000", 1},     {"+7", 7},         {"&HFFFFFFFF", -1},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_DOUBLE_EQ(Val(QString::fromLatin1(text)), expected) << text;
}

TEST(Text, HexAndStr)
{
    EXPECT_EQ(Hex(int32_t(255)), QStringLiteral("FF"));
    EXPECT_EQ(Hex(int32_t(-1)), QStringLiteral("FFFFFFFF"));
    EXPECT_EQ(Hex(int16_t(-1)), QStringLiteral("FFFF"));
    EXPECT_EQ(Hex(int32_t(0)), QStringLiteral("0"));
    EXPECT_EQ(Hex(int32_t(0x80000005)), QStringLiteral("80000005"));

    const std::pair<double, const char*> strs[] = {
        {5, " 5"},       {-5, "-5"},      {0, " 0"},           {2.25, " 2.25"},
        {0.5, " .5"},    {-0.25, "-.25"}, {1e20, " 1E+20"},    {1.5e-5, " 1.5E-05"},
        {0.1 + 0.2, " .3"},
    };
    for (const auto& [value, text] : strs)
        EXPECT_EQ(Str(value), QString::fromLatin1(text)) << value;
    EXPECT_EQ(numberText(0.5), QStringLiteral("0.5"));
    EXPECT_EQ(numberText(123456789012345.0), QStringLiteral("123456789012345"));
}

TEST(Variant, TypeNames)
{
    const std::pair<Variant, const char*> cases[] = {
        {Variant(), "Empty"},
        {Variant::null(), "Null"},
        {Variant(true), "Boolean"},
        {Variant(int16_t(1)), "Integer"},
        {Variant(int32_t(1)), "Long"},
        {Variant(uint8_t(1)), "Byte"},
        {Variant(1.0f), "Single"},
        {Variant(1.0), "Double"},
        {Variant(QStringLiteral("x")), "String"},
        {Variant(QByteArray("ab")), "Byte()"},
        {Variant::nothing(), "Nothing"},
        {Variant(std::make_shared<ObjectBase>()), "Object"},
    };
    for (const auto& [v, name] : cases)
        EXPECT_EQ(v.typeName(), QString::fromLatin1(name));
}

TEST(Variant, Conversions)
{
    EXPECT_EQ(Variant(true).toInteger(), -1);
    EXPECT_EQ(Variant(QStringLiteral(" 12.5 ")).toInteger(), 12);
    EXPECT_EQ(Variant(QStringLiteral("&HFF")).toLong(), 255);
    EXPECT_EQ(Variant(QStringLiteral("true")).toBool(), true);
    EXPECT_EQ(Variant(QStringLiteral("0")).toBool(), false);
    EXPECT_EQ(Variant().toLong(), 0);
    EXPECT_EQ(Variant().toString(), QString());
    EXPECT_EQ(Variant(int16_t(-3)).toString(), QStringLiteral("-3"));
    EXPECT_EQ(Variant(2.5).toString(), QStringLiteral("2.5"));
    EXPECT_EQ(Variant(0.1f).toString(), QStringLiteral("0.1"));
    EXPECT_EQ(Variant(1.1f).toDouble(), double(1.1f));
    EXPECT_EQ(Variant(false).toString(), QStringLiteral("False"));
    EXPECT_EQ(Variant(uint8_t(200)).toInteger(), 200);
    EXPECT_EQ(Variant(254.5).toByte(), 254);
}

TEST(Variant, ConversionErrors)
{
    EXPECT_EQ(errorOf([] { Variant(QStringLiteral("abc")).toLong(); }), errc::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant(QStringLiteral("")).toDouble(); }), errc::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant::null().toString(); }), errc::InvalidUseOfNull);
    EXPECT_EQ(errorOf([] { Variant::null().toLong(); }), errc::InvalidUseOfNull);
    EXPECT_EQ(errorOf([] { Variant(int32_t(40000)).toInteger(); }), errc::Overflow);
    EXPECT_EQ(errorOf([] { Variant(int32_t(-1)).toByte(); }), errc::Overflow);
    EXPECT_EQ(errorOf([] { Variant(255.5).toByte(); }), errc::Overflow);
    EXPECT_EQ(errorOf([] { Variant(std::numeric_limits<double>::quiet_NaN()).toByte(); }),
              errc::Overflow);
    EXPECT_EQ(errorOf([] { Variant::nothing().toString(); }), errc::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant(1.0).toObject(); }), errc::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant(QByteArray("a")).toLong(); }), errc::TypeMismatch);
}
