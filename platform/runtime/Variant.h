#pragma once
// The Variant value type: Empty, Null, Boolean, Integer, Long, Single, Double,
// String, Object (possibly Nothing) or Byte array, with the original
// runtime's conversions between them.

#include "platform/runtime/Object.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <variant>

namespace rt {

enum class VarType : int16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    String = 8,
    Object = 9,
    Boolean = 11,
    Byte = 17,
    ByteArray = 0x2000 | 17,
};

struct NullValue {
    bool operator==(const NullValue&) const = default;
};

class Variant {
public:
    Variant() = default;                 // Empty
    Variant(NullValue) : m_v(NullValue{}) {}
    Variant(bool b) : m_v(b) {}
    Variant(int16_t i) : m_v(i) {}
    Variant(int32_t l) : m_v(l) {}
    Variant(uint8_t b) : m_v(b) {}
    Variant(float f) : m_v(f) {}
    Variant(double d) : m_v(d) {}
    Variant(const QString& s) : m_v(s) {}
    Variant(QString&& s) : m_v(std::move(s)) {}
    Variant(const char16_t* s) : m_v(QString::fromUtf16(s)) {}
    Variant(const char* s) : m_v(QString::fromUtf8(s)) {}
    Variant(QByteArray bytes) : m_v(std::move(bytes)) {}
    Variant(ObjectRef object) : m_v(std::move(object)) {}
    template <class T>
        requires std::is_base_of_v<ObjectBase, T>
    Variant(std::shared_ptr<T> object) : m_v(ObjectRef(std::move(object)))
    {
    }
    Variant(std::nullptr_t) : m_v(ObjectRef()) {}   // Nothing

    static Variant null() { return Variant(NullValue{}); }
    static Variant nothing() { return Variant(ObjectRef()); }

    VarType type() const;
    // TypeName: "Empty", "Null", "Boolean", "Integer", "Long", "Single",
    // "Double", "String", "Byte", "Byte()", the object's class name or "Nothing".
    QString typeName() const;

    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_v); }
    bool isNull() const { return std::holds_alternative<NullValue>(m_v); }
    bool isObject() const { return std::holds_alternative<ObjectRef>(m_v); }
    bool isNothing() const { return isObject() && !std::get<ObjectRef>(m_v); }
    bool isString() const { return std::holds_alternative<QString>(m_v); }
    bool isByteArray() const { return std::holds_alternative<QByteArray>(m_v); }
    bool isNumeric() const;  // a number or Boolean (IsNumeric of a text is not this)

    // Conversions raise error 13 (type mismatch), 6 (overflow) or 94 (Null).
    bool toBool() const;
    int16_t toInteger() const;   // CInt
    int32_t toLong() const;      // CLng
    uint8_t toByte() const;
    float toSingle() const;
    double toDouble() const;
    QString toString() const;    // CStr
    QByteArray toBytes() const;
    ObjectRef toObject() const;  // error 13 unless an object (Nothing gives null)

    template <class T>
    std::shared_ptr<T> as() const
    {
        if (auto p = std::get_if<ObjectRef>(&m_v))
            return std::dynamic_pointer_cast<T>(*p);
        return nullptr;
    }

    // Strict equality of type and value (not the runtime's "=" operator).
    bool operator==(const Variant& other) const { return m_v == other.m_v; }

private:
    std::variant<std::monostate, NullValue, bool, int16_t, int32_t, uint8_t, float, double,
                 QString, ObjectRef, QByteArray>
        m_v;
};

}  // namespace rt
