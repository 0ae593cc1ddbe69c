#pragma once
// The Screen object: twips per pixel (15), the desktop size in twips, and
// the application-wide mouse pointer (11 hourglass, 0 default).

#include <cstdint>

namespace forms {

inline constexpr int16_t vbDefault = 0;
inline constexpr int16_t vbArrow = 1;
inline constexpr int16_t vbHourglass = 11;

class Screen {
public:
    static float TwipsPerPixelX() { return 15.f; }
    static float TwipsPerPixelY() { return 15.f; }
    static float Width();    // twips
    static float Height();
    static int16_t MousePointer();
    static void setMousePointer(int16_t pointer);
};

}  // namespace forms
