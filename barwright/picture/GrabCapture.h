#pragma once
// What the screen grab needs from the window system beyond the form runtime:
// the cursor's screen position, mouse capture for a window, the finder
// pointer (cursor 1012), the state of a key or mouse button, and the
// form-level mouse events of a form's own surface.

#include "barwright/picture/CursorResources.h"
#include "platform/forms/MousePointer.h"
#include "platform/gdi/Gdi.h"

#include <QImage>

#include <cstdint>

class QWidget;

namespace forms {
class Form;
}

namespace GrabCapture {

inline constexpr int16_t vbCustom = forms::vbCustom;   // the screen's custom pointer
inline constexpr int32_t FinderCursorId = CursorResources::FinderCursor;

// The cursor's position in screen pixels.
gdi::POINT GetCursorPos();

// The window that receives every mouse event until released (0 for none).
void SetCapture(QWidget* window);
bool HasCapture(const QWidget* window);
void ReleaseCapture(const QWidget* window);

// On a real display, copies the screen into the desktop bitmap behind
// GetDC(0); without one (offscreen) the bitmap stays as painted.
void SyncDesktop();

// Custom pointer 99 with the finder cursor; the default pointer puts it away.
void SetFinderPointer();
void SetDefaultPointer();
// The cursor resource shown now: FinderCursorId while the finder is set, else 0.
int32_t CurrentCursorResource();

// True while the key (a virtual key code) or mouse button is down, whether
// the runtime recorded it or the window system reports it.
bool IsKeyDown(int32_t vk);

// Raises the form's MouseDown, MouseMove and MouseUp for presses on the form
// itself (and for whatever it receives while it holds the capture).
void ForwardFormMouse(forms::Form& form);

// The finder image: a cross-hair in a circle.
QImage FinderImage(int32_t side);

}  // namespace GrabCapture
