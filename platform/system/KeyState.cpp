#include "platform/system/KeyState.h"

#include <array>
#include <atomic>

namespace sys {

namespace {

struct KeyEntry {
    std::atomic<bool> down{false};
    std::atomic<bool> toggled{false};
};

std::array<KeyEntry, 256>& table()
{
    static std::array<KeyEntry, 256> keys;
    return keys;
}

}  // namespace

int16_t GetKeyState(int32_t vk)
{
    if (vk < 0 || vk > 255)
        return 0;
    const KeyEntry& k = table()[size_t(vk)];
    uint16_t state = k.down ? 0xFF80u : 0u;
    if (k.toggled)
        state |= 1u;
    return int16_t(state);
}

void setKeyState(int32_t vk, bool down)
{
    if (vk < 0 || vk > 255)
        return;
    KeyEntry& k = table()[size_t(vk)];
    if (down && !k.down)
        k.toggled = !k.toggled;
    k.down = down;
}

}  // namespace sys
