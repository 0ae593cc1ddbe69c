#pragma once
// Clipboard format numbers, shared by the Clipboard and the drag data object.

#include <cstdint>

namespace forms {

inline constexpr int16_t vbCFText = 1;
inline constexpr int16_t vbCFBitmap = 2;
inline constexpr int16_t vbCFDIB = 8;

}  // namespace forms
