#pragma once
// Mouse pointers of forms, controls and the screen: MousePointer numbers the
// standard shapes; 99 (custom) shows the MouseIcon, a cursor picture with its
// hot spot. Each maps to the Qt cursor of that shape.

#include "platform/forms/StdPicture.h"

#include <QCursor>

#include <cstdint>
#include <optional>

class QWidget;

namespace forms {

inline constexpr int16_t vbDefault = 0;
inline constexpr int16_t vbArrow = 1;
inline constexpr int16_t vbCrosshair = 2;
inline constexpr int16_t vbIbeam = 3;
inline constexpr int16_t vbIconPointer = 4;
inline constexpr int16_t vbSizePointer = 5;
inline constexpr int16_t vbSizeNESW = 6;
inline constexpr int16_t vbSizeNS = 7;
inline constexpr int16_t vbSizeNWSE = 8;
inline constexpr int16_t vbSizeWE = 9;
inline constexpr int16_t vbUpArrow = 10;
inline constexpr int16_t vbHourglass = 11;
inline constexpr int16_t vbNoDrop = 12;
inline constexpr int16_t vbArrowHourglass = 13;
inline constexpr int16_t vbArrowQuestion = 14;
inline constexpr int16_t vbSizeAll = 15;
inline constexpr int16_t vbCustom = 99;

// Raises error 380 (invalid property value) for a number that is no pointer.
void checkMousePointer(int16_t pointer);
// The cursor a pointer shows; none for the default (0, and 99 without an
// icon, which shows the default as the original does).
std::optional<QCursor> cursorOf(int16_t pointer, const Picture& icon);
// Shows the pointer over the widget (the default: whatever its parent shows).
void applyMousePointer(QWidget* widget, int16_t pointer, const Picture& icon);

}  // namespace forms
