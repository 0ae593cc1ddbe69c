#pragma once
// One open registry key: open, create, enumerate, read and write string and
// byte values, delete; keeps the Win32 code of its last operation and a
// readable path of the key.

#include "platform/runtime/Variant.h"
#include "platform/system/Registry.h"

#include <QString>

#include <cstdint>
#include <memory>

class CReg final {
public:
    CReg();    // HKEY_CLASSES_ROOT
    ~CReg();   // closes the key handle
    CReg(const CReg&) = delete;
    CReg& operator=(const CReg&) = delete;

    // Win32 code of the last operation; -1 for an unsupported value type.
    int32_t GetLastError() const { return m_lastError; }
    // Takes over the handle; the path is the given text, or "?".
    void SetKey(sys::HKEY hKey, const rt::Variant& path = {});
    // 0 CLASSES_ROOT, 1 CURRENT_CONFIG, 2 CURRENT_USER, 3 DYN_DATA,
    // 4 LOCAL_MACHINE, 5 PERFORMANCE_DATA, 6 USERS; other indexes change nothing.
    void SetPredefinedKey(int16_t index);
    // The parent and access mask count only when given as Longs; else this
    // key and access 15. Null when the key cannot be opened or created.
    std::shared_ptr<CReg> OpenKey(const QString& name, const rt::Variant& parent = {},
                                  const rt::Variant& access = {});
    std::shared_ptr<CReg> CreateKey(const QString& name, const rt::Variant& parent = {},
                                    const rt::Variant& access = {});
    // Keys and values share one enumeration counter.
    void ResetKeyEnum() { m_enumIndex = 0; }
    void ResetValueEnum() { m_enumIndex = 0; }
    // lastWrite receives "y/m/d h:m:s.ms" (numbers without leading zeros).
    bool GetNextKey(QString& name, QString* keyClass = nullptr, QString* lastWrite = nullptr);
    bool GetNextValue(QString& name, QString* value = nullptr);
    // type "String" gives the text, "Byte()" a byte array; others the empty text.
    rt::Variant GetValue(const QString& name = {}, const QString& type = QStringLiteral("String"));
    // A String or a Byte array (stored as hex text "0A FF "); other types are refused.
    bool SetValue(const QString& name, const rt::Variant& value);
    bool DeleteKey(const QString& name);
    bool DeleteValue(const QString& name);
    QString Path() const { return m_path; }

    sys::HKEY hKey() const { return m_hKey; }

private:
    std::shared_ptr<CReg> subKey(const QString& name, sys::HKEY hKey);
    void closeKey();

    sys::HKEY m_hKey = sys::HKEY_CLASSES_ROOT;
    uint32_t m_enumIndex = 0;
    int32_t m_lastError = 0;
    QString m_path = QStringLiteral("HKEY_CLASSES_ROOT");
};
