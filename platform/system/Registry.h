#pragma once
// The registry store: Win32-like key and value calls over one JSON file per
// user ($BW_REGISTRY_FILE, else $XDG_CONFIG_HOME/barwright/registry.json),
// loaded on first use. Each change is saved at once, atomically, merged into
// the file as it is then, so programs sharing the store keep each other's.

#include "platform/system/ErrorCodes.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace sys {

using HKEY = int32_t;

// The seven predefined roots; their handles are never really closed.
inline constexpr HKEY HKEY_CLASSES_ROOT = static_cast<int32_t>(0x80000000u);
inline constexpr HKEY HKEY_CURRENT_USER = static_cast<int32_t>(0x80000001u);
inline constexpr HKEY HKEY_LOCAL_MACHINE = static_cast<int32_t>(0x80000002u);
inline constexpr HKEY HKEY_USERS = static_cast<int32_t>(0x80000003u);
inline constexpr HKEY HKEY_PERFORMANCE_DATA = static_cast<int32_t>(0x80000004u);
inline constexpr HKEY HKEY_CURRENT_CONFIG = static_cast<int32_t>(0x80000005u);
inline constexpr HKEY HKEY_DYN_DATA = static_cast<int32_t>(0x80000006u);

// Value types.
inline constexpr uint32_t REG_NONE = 0;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr uint32_t REG_BINARY = 3;
inline constexpr uint32_t REG_DWORD = 4;

// Access rights (accepted; the store does not enforce them).
inline constexpr uint32_t KEY_QUERY_VALUE = 0x0001;
inline constexpr uint32_t KEY_SET_VALUE = 0x0002;
inline constexpr uint32_t KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr uint32_t KEY_READ = 0x20019;
inline constexpr uint32_t KEY_ALL_ACCESS = 0xF003F;

inline constexpr uint32_t REG_OPTION_NON_VOLATILE = 0;
inline constexpr uint32_t REG_CREATED_NEW_KEY = 1;
inline constexpr uint32_t REG_OPENED_EXISTING_KEY = 2;

// 100-nanosecond intervals since 1601-01-01 (UTC), as the registry keeps them.
struct FILETIME {
    uint32_t dwLowDateTime = 0;
    uint32_t dwHighDateTime = 0;
};

struct SYSTEMTIME {
    uint16_t wYear = 0;
    uint16_t wMonth = 0;
    uint16_t wDayOfWeek = 0;
    uint16_t wDay = 0;
    uint16_t wHour = 0;
    uint16_t wMinute = 0;
    uint16_t wSecond = 0;
    uint16_t wMilliseconds = 0;
};

// Key names and value names compare without case; an empty value name is the
// key's default (unnamed) value. Sub-key paths may hold several parts joined
// by a backslash.
int32_t RegOpenKeyExA(HKEY hKey, const QString& lpSubKey, uint32_t ulOptions,
                      uint32_t samDesired, HKEY* phkResult);
int32_t RegCreateKeyExA(HKEY hKey, const QString& lpSubKey, uint32_t Reserved,
                        const QString& lpClass, uint32_t dwOptions, uint32_t samDesired,
                        const void* lpSecurityAttributes, HKEY* phkResult,
                        uint32_t* lpdwDisposition);
int32_t RegCloseKey(HKEY hKey);

// Enumerates sub-keys in name order. *lpcchName (and *lpcchClass) hold the
// buffer size in characters on entry (room for the terminating NUL counted)
// and the length written on return; a short buffer gives ERROR_MORE_DATA.
int32_t RegEnumKeyExA(HKEY hKey, uint32_t dwIndex, QString* lpName, uint32_t* lpcchName,
                      uint32_t* lpReserved, QString* lpClass, uint32_t* lpcchClass,
                      FILETIME* lpftLastWriteTime);

// Enumerates values in name order. lpData may be null (then only *lpcbData,
// the data size in bytes, is reported); otherwise *lpcbData is its capacity.
int32_t RegEnumValueA(HKEY hKey, uint32_t dwIndex, QString* lpValueName,
                      uint32_t* lpcchValueName, uint32_t* lpReserved, uint32_t* lpType,
                      QByteArray* lpData, uint32_t* lpcbData);

// lpData null asks for the size only. With a buffer, *lpcbData is its capacity;
// when the data do not fit, ERROR_MORE_DATA and *lpcbData := the size needed.
int32_t RegQueryValueExA(HKEY hKey, const QString& lpValueName, uint32_t* lpReserved,
                         uint32_t* lpType, QByteArray* lpData, uint32_t* lpcbData);

// Stores the first cbData bytes of lpData (REG_SZ text is kept as UTF-8 bytes).
int32_t RegSetValueExA(HKEY hKey, const QString& lpValueName, uint32_t Reserved,
                       uint32_t dwType, const QByteArray& lpData, uint32_t cbData);

// Deletes a sub-key that has no sub-keys of its own (as the Win32 call does).
int32_t RegDeleteKeyA(HKEY hKey, const QString& lpSubKey);
int32_t RegDeleteValueA(HKEY hKey, const QString& lpValueName);

// False for a time that does not fit a calendar date.
bool FileTimeToSystemTime(const FILETIME* lpFileTime, SYSTEMTIME* lpSystemTime);

// The file the store lives in (as resolved from the environment right now).
QString registryFilePath();

namespace testing {
// Forgets the loaded store and every open key, so that the next call loads
// the file named by the environment again (as a new process would).
void reloadRegistry();
}  // namespace testing

}  // namespace sys
