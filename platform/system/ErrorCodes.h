#pragma once
// Win32 result codes shared by the registry calls (their return value) and
// the other calls (the thread's last error).

#include <cstdint>

namespace sys {

inline constexpr int32_t ERROR_SUCCESS = 0;
inline constexpr int32_t ERROR_FILE_NOT_FOUND = 2;       // missing key, value or object
inline constexpr int32_t ERROR_PATH_NOT_FOUND = 3;
inline constexpr int32_t ERROR_ACCESS_DENIED = 5;
inline constexpr int32_t ERROR_INVALID_HANDLE = 6;
inline constexpr int32_t ERROR_FILE_EXISTS = 80;
inline constexpr int32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr int32_t ERROR_ALREADY_EXISTS = 183;
inline constexpr int32_t ERROR_MORE_DATA = 234;          // buffer too small
inline constexpr int32_t ERROR_NO_MORE_ITEMS = 259;
inline constexpr int32_t ERROR_REGISTRY_QUOTA_LIMIT = 613;  // the store would grow too large
inline constexpr int32_t ERROR_CANTWRITE = 1013;         // the store file could not be saved
inline constexpr int32_t ERROR_KEY_DELETED = 1018;       // handle of a deleted key

}  // namespace sys
