#pragma once
// The key state table: the form runtime records key and button presses here,
// and code asks GetKeyState as it would ask the system.

#include <cstdint>

namespace sys {

inline constexpr int32_t VK_LBUTTON = 0x01;
inline constexpr int32_t VK_RBUTTON = 0x02;
inline constexpr int32_t VK_MBUTTON = 0x04;
inline constexpr int32_t VK_SHIFT = 0x10;
inline constexpr int32_t VK_CONTROL = 0x11;
inline constexpr int32_t VK_MENU = 0x12;
inline constexpr int32_t VK_CAPITAL = 0x14;
inline constexpr int32_t VK_ESCAPE = 0x1B;

// High bit set (a negative value) while the key is down; bit 0 is the toggle
// state, flipped by every press. Keys outside 0..255 are never down.
int16_t GetKeyState(int32_t vk);
void setKeyState(int32_t vk, bool down);

}  // namespace sys
