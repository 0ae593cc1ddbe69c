#pragma once
// Milliseconds since the system started, wrapping at 2^32 like the original.

#include <cstdint>

namespace sys {

uint32_t GetTickCount();

}  // namespace sys
