#include "platform/runtime/Variant.h"

#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"

namespace rt {

namespace {
template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Compilers without C++20's aggregate deduction (clang before 17) need it spelled out.
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;
}  // namespace

VarType Variant::type() const
{
    return std::visit(Overloaded{
                          [](std::monostate) { return VarType::Empty; },
                          [](NullValue) { return VarType::Null; },
                          [](bool) { return VarType::Boolean; },
                          [](int16_t) { return VarType::Integer; },
                          [](int32_t) { return VarType::Long; },
                          [](uint8_t) { return VarType::Byte; },
                          [](float) { return VarType::Single; },
                          [](double) { return VarType::Double; },
                          [](const QString&) { return VarType::String; },
                          [](const ObjectRef&) { return VarType::Object; },
                          [](const QByteArray&) { return VarType::ByteArray; },
                      },
                      m_v);
}

QString Variant::typeName() const
{
    switch (type()) {
    case VarType::Empty: return QStringLiteral("Empty");
    case VarType::Null: return QStringLiteral("Null");
    case VarType::Boolean: return QStringLiteral("Boolean");
    case VarType::Integer: return QStringLiteral("Integer");
    case VarType::Long: return QStringLiteral("Long");
    case VarType::Byte: return QStringLiteral("Byte");
    case VarType::Single: return QStringLiteral("Single");
    case VarType::Double: return QStringLiteral("Double");
    case VarType::String: return QStringLiteral("String");
    case VarType::ByteArray: return QStringLiteral("Byte()");
    case VarType::Object: {
        const auto& obj = std::get<ObjectRef>(m_v);
        return obj ? obj->className() : QStringLiteral("Nothing");
    }
    }
    return {};
}

bool Variant::isNumeric() const
{
    switch (type()) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Byte:
    case VarType::Single:
    case VarType::Double:
        return true;
    default:
        return false;
    }
}

double Variant::toDouble() const
{
    return std::visit(Overloaded{
                          [](std::monostate) { return 0.0; },
                          [](NullValue) -> double { raise(errc::InvalidUseOfNull); },
                          [](bool b) { return b ? -1.0 : 0.0; },
                          [](int16_t i) { return double(i); },
                          [](int32_t l) { return double(l); },
                          [](uint8_t b) { return double(b); },
                          [](float f) { return double(f); },
                          [](double d) { return d; },
                          [](const QString& s) {
                              double d = 0;
                              if (!parseNumber(s, d))
                                  raise(errc::TypeMismatch);
                              return d;
                          },
                          [](const ObjectRef&) -> double { raise(errc::TypeMismatch); },
                          [](const QByteArray&) -> double { raise(errc::TypeMismatch); },
                      },
                      m_v);
}

bool Variant::toBool() const
{
    if (auto b = std::get_if<bool>(&m_v))
        return *b;
    if (auto s = std::get_if<QString>(&m_v)) {
        if (s->compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (s->compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return toDouble() != 0.0;
}

int16_t Variant::toInteger() const
{
    if (auto i = std::get_if<int16_t>(&m_v))
        return *i;
    return CInt(toDouble());
}

int32_t Variant::toLong() const
{
    if (auto l = std::get_if<int32_t>(&m_v))
        return *l;
    return CLng(toDouble());
}

uint8_t Variant::toByte() const
{
    const double d = roundHalfEven(toDouble());
    if (!(d >= 0 && d <= 255))   // NaN too: converting it to uint8_t is undefined
        raise(errc::Overflow);
    return uint8_t(d);
}

float Variant::toSingle() const
{
    return float(toDouble());
}

QString Variant::toString() const
{
    return std::visit(Overloaded{
                          [](std::monostate) { return QString(); },
                          [](NullValue) -> QString { raise(errc::InvalidUseOfNull); },
                          [](bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); },
                          [](int16_t i) { return QString::number(i); },
                          [](int32_t l) { return QString::number(l); },
                          [](uint8_t b) { return QString::number(b); },
                          // A Single shows its own 7 digits, not those of the double.
                          [](float f) {
                              return numberText(QString::number(double(f), 'g', 7).toDouble());
                          },
                          [](double d) { return numberText(d); },
                          [](const QString& s) { return s; },
                          [](const ObjectRef&) -> QString { raise(errc::TypeMismatch); },
                          // A byte array converts to text byte for byte, as in the original.
                          [](const QByteArray& b) { return QString::fromLatin1(b); },
                      },
                      m_v);
}

QByteArray Variant::toBytes() const
{
    if (auto b = std::get_if<QByteArray>(&m_v))
        return *b;
    if (auto s = std::get_if<QString>(&m_v))
        return s->toLatin1();
    if (isEmpty())
        return {};
    raise(errc::TypeMismatch);
}

ObjectRef Variant::toObject() const
{
    if (auto o = std::get_if<ObjectRef>(&m_v))
        return *o;
    raise(errc::TypeMismatch);
}

}  // namespace rt
