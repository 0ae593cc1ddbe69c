#include "platform/system/Process.h"

#include <unistd.h>

namespace sys {

namespace {
thread_local uint32_t t_lastError = 0;
}

int32_t CoGetCurrentProcess()
{
    return int32_t(::getpid());
}

uint32_t GetCurrentProcessId()
{
    return uint32_t(::getpid());
}

uint32_t GetLastError()
{
    return t_lastError;
}

void SetLastError(uint32_t code)
{
    t_lastError = code;
}

}  // namespace sys
