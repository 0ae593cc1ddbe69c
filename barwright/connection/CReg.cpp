#include "barwright/connection/CReg.h"

#include "platform/forms/MsgBox.h"
#include "platform/runtime/Conversions.h"

#include <array>

namespace {

constexpr uint32_t kNameChars = 255;
constexpr uint32_t kDataBytes = 512;
constexpr uint32_t kDefaultAccess = 15;   // query, set, create sub-key, enumerate

struct Root {
    sys::HKEY key;
    const char* path;
};
constexpr std::array<Root, 7> kRoots = {{
    {sys::HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
    {sys::HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
    {sys::HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {sys::HKEY_DYN_DATA, "HKEY_DYN_DATA"},
    {sys::HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {sys::HKEY_PERFORMANCE_DATA, "HKEY_PERFORMANCE_DATA"},
    {sys::HKEY_USERS, "HKEY_USERS"},
}};

// The text before the first NUL of registry data.
QString textOf(const QByteArray& data)
{
    const qsizetype nul = data.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? data : data.left(nul));
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

}  // namespace

CReg::CReg() = default;

CReg::~CReg()
{
    closeKey();
}

void CReg::closeKey()
{
    sys::RegCloseKey(m_hKey);   // a no-op for the predefined roots
}

void CReg::SetKey(sys::HKEY hKey, const rt::Variant& path)
{
    if (hKey != m_hKey)
        closeKey();   // the handle this object held would otherwise stay open
    m_hKey = hKey;
    m_path = path.isString() ? path.toString() : QStringLiteral("?");
}

void CReg::SetPredefinedKey(int16_t index)
{
    if (index < 0 || index >= int16_t(kRoots.size()))
        return;
    const Root& root = kRoots[size_t(index)];
    if (root.key != m_hKey)
        closeKey();
    m_hKey = root.key;
    m_path = QString::fromLatin1(root.path);
}

std::shared_ptr<CReg> CReg::subKey(const QString& name, sys::HKEY hKey)
{
    auto reg = std::make_shared<CReg>();
    reg->m_hKey = hKey;
    reg->m_path = m_path + QLatin1Char('\\') + name;
    return reg;
}

std::shared_ptr<CReg> CReg::OpenKey(const QString& name, const rt::Variant& parent,
                                    const rt::Variant& access)
{
    m_lastError = 0;
    const sys::HKEY hParent = parent.type() == rt::VarType::Long ? parent.toLong() : m_hKey;
    const uint32_t mask =
        access.type() == rt::VarType::Long ? uint32_t(access.toLong()) : kDefaultAccess;
    sys::HKEY h = 0;
    const int32_t rc = sys::RegOpenKeyExA(hParent, name, 0, mask, &h);
    if (rc != sys::ERROR_SUCCESS) {
        m_lastError = rc;
        return nullptr;
    }
    return subKey(name, h);
}

std::shared_ptr<CReg> CReg::CreateKey(const QString& name, const rt::Variant& parent,
                                      const rt::Variant&)
{
    m_lastError = 0;
    const sys::HKEY hParent = parent.type() == rt::VarType::Long ? parent.toLong() : m_hKey;
    sys::HKEY h = 0;
    uint32_t disposition = 0;
    const int32_t rc = sys::RegCreateKeyExA(hParent, name, 0, {}, sys::REG_OPTION_NON_VOLATILE,
                                            sys::KEY_ALL_ACCESS, nullptr, &h, &disposition);
    if (rc != sys::ERROR_SUCCESS) {
        m_lastError = rc;
        return nullptr;
    }
    return subKey(name, h);
}

bool CReg::GetNextKey(QString& name, QString* keyClass, QString* lastWrite)
{
    m_lastError = 0;
    QString foundName;
    QString foundClass;
    uint32_t nameLen = kNameChars;
    uint32_t classLen = kNameChars;
    sys::FILETIME written;
    const int32_t rc = sys::RegEnumKeyExA(m_hKey, m_enumIndex, &foundName, &nameLen, nullptr,
                                          &foundClass, &classLen, &written);
    ++m_enumIndex;
    if (rc != sys::ERROR_SUCCESS) {
        m_lastError = rc;
        return false;
    }
    name = foundName;
    if (keyClass)
        *keyClass = foundClass;
    if (lastWrite) {
        sys::SYSTEMTIME t;
        if (!sys::FileTimeToSystemTime(&written, &t)) {
            m_lastError = 0;
            return false;
        }
        *lastWrite = QStringLiteral("%1/%2/%3 %4:%5:%6.%7")
                         .arg(t.wYear)
                         .arg(t.wMonth)
                         .arg(t.wDay)
                         .arg(t.wHour)
                         .arg(t.wMinute)
                         .arg(t.wSecond)
                         .arg(t.wMilliseconds);
    }
    return true;
}

bool CReg::GetNextValue(QString& name, QString* value)
{
    m_lastError = 0;
    QString foundName;
    uint32_t nameLen = kNameChars;
    uint32_t type = 0;
    QByteArray data;
    uint32_t dataLen = kDataBytes;
    const int32_t rc = sys::RegEnumValueA(m_hKey, m_enumIndex, &foundName, &nameLen, nullptr,
                                          &type, value ? &data : nullptr,
                                          value ? &dataLen : nullptr);
    ++m_enumIndex;
    if (rc != sys::ERROR_SUCCESS) {
        m_lastError = rc;
        return false;
    }
    name = foundName;
    if (value)
        *value = textOf(data);
    return true;
}

rt::Variant CReg::GetValue(const QString& name, const QString& type)
{
    m_lastError = 0;
    uint32_t size = 0;
    uint32_t valueType = 0;
    int32_t rc = sys::RegQueryValueExA(m_hKey, name, nullptr, &valueType, nullptr, &size);
    if (rc != sys::ERROR_SUCCESS) {
        m_lastError = rc;
        return QString();
    }
    const bool asText = type == QLatin1String("String");
    const bool asBytes = type == QLatin1String("Byte()");
    if (!asText && !asBytes)
        return QString();
    QByteArray data;
    uint32_t capacity = size + 2;
    rc = sys::RegQueryValueExA(m_hKey, name, nullptr, &valueType, &data, &capacity);
    if (rc != sys::ERROR_SUCCESS) {
        m_lastError = rc;
        return QString();
    }
    const QString text = textOf(data);
    if (asText)
        return text;
    // Two hex digits and a blank per byte, as SetValue writes them.
    const int32_t upper = rt::CLng((double(size) - 4.0) / 3.0);
    QByteArray bytes(qsizetype(std::max(upper + 1, 0)), '\0');
    for (qsizetype i = 0; i < bytes.size() && 3 * i + 1 < text.size(); ++i) {
        const int hi = hexDigit(text[3 * i]);
        const int lo = hexDigit(text[3 * i + 1]);
        if (hi < 0 || lo < 0)
            break;   // not the written form: keep what was read so far
        bytes[i] = char(hi * 16 + lo);
    }
    return bytes;
}

bool CReg::SetValue(const QString& name, const rt::Variant& value)
{
    const QString type = value.typeName();
    QString text;
    if (type == QLatin1String("String")) {
        text = value.toString();
    } else if (type == QLatin1String("Byte()")) {
        for (const char b : value.toBytes())
            text += rt::Hex(int32_t(uint8_t(b))).rightJustified(2, QLatin1Char('0'))
                    + QLatin1Char(' ');
    } else {
        forms::MsgBox(QStringLiteral("Unsupported type in CReg.SetValue"), forms::vbOKOnly);
        m_lastError = -1;
        return false;
    }
    const QByteArray data = text.toUtf8();
    m_lastError =
        sys::RegSetValueExA(m_hKey, name, 0, sys::REG_SZ, data, uint32_t(data.size()));
    return m_lastError == 0;
}

bool CReg::DeleteKey(const QString& name)
{
    m_lastError = sys::RegDeleteKeyA(m_hKey, name);
    return m_lastError == 0;
}

bool CReg::DeleteValue(const QString& name)
{
    m_lastError = sys::RegDeleteValueA(m_hKey, name);
    return m_lastError == 0;
}
