#pragma once
// Named Win32-like events that another process can open by name and wait on,
// kept in POSIX shared memory (a process-shared mutex, condition and flag).

#include <QString>

#include <cstdint>

namespace sys {

using HANDLE = int32_t;   // 0 = none

inline constexpr uint32_t INFINITE = 0xFFFFFFFFu;
inline constexpr uint32_t WAIT_OBJECT_0 = 0;
inline constexpr uint32_t WAIT_TIMEOUT = 0x102;
inline constexpr uint32_t WAIT_FAILED = 0xFFFFFFFFu;

inline constexpr uint32_t EVENT_MODIFY_STATE = 0x0002;
inline constexpr uint32_t SYNCHRONIZE = 0x00100000;
inline constexpr uint32_t EVENT_ALL_ACCESS = 0x1F0003;

// Creates the event, or opens it when one of that name exists (then the last
// error is ERROR_ALREADY_EXISTS and the given states are ignored). An empty
// name makes an event private to this process. Returns 0 on failure.
HANDLE CreateEventA(const void* lpEventAttributes, bool bManualReset, bool bInitialState,
                    const QString& lpName);
// Opens an existing named event; 0 (last error ERROR_FILE_NOT_FOUND) when none.
HANDLE OpenEventA(uint32_t dwDesiredAccess, bool bInheritHandle, const QString& lpName);
bool SetEvent(HANDLE hEvent);
bool ResetEvent(HANDLE hEvent);
// WAIT_OBJECT_0 when signalled, WAIT_TIMEOUT, or WAIT_FAILED for a bad handle.
uint32_t WaitForSingleObject(HANDLE hHandle, uint32_t dwMilliseconds);
// The named object goes away when its last handle in any process is closed;
// the handles of a process that died without closing them do not count.
bool CloseHandle(HANDLE hObject);

}  // namespace sys
