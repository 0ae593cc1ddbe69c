#include "platform/system/Clock.h"

#include <ctime>

namespace sys {

uint32_t GetTickCount()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const uint64_t ms = uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
    return uint32_t(ms);   // wraps after 49.7 days, as the original does
}

}  // namespace sys
