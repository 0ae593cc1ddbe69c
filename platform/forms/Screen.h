#pragma once
// The Screen object: twips per pixel (15), the desktop size in twips, and
// the application-wide mouse pointer, shown over every window (11 hourglass,
// 99 the MouseIcon, 0 the windows' own pointers).

#include "platform/forms/MousePointer.h"

#include <cstdint>

namespace forms {

class Screen {
public:
    static float TwipsPerPixelX() { return 15.f; }
    static float TwipsPerPixelY() { return 15.f; }
    static float Width();    // twips
    static float Height();
    static int16_t MousePointer();
    static void setMousePointer(int16_t pointer);
    static Picture MouseIcon();
    static void setMouseIcon(Picture icon);
};

}  // namespace forms
