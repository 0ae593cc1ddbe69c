#pragma once
// The process number and the thread's last Win32 error code.

#include "platform/system/ErrorCodes.h"

#include <cstdint>

namespace sys {

// The number of this process (the same one another process sees).
int32_t CoGetCurrentProcess();
uint32_t GetCurrentProcessId();

// The code the last failing (or opening) call of this thread left.
uint32_t GetLastError();
void SetLastError(uint32_t code);

}  // namespace sys
