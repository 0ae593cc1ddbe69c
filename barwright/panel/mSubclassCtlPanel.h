#pragma once
// The control panel's own window procedure: it keeps the panel from being
// dragged smaller than its designed size and takes itself out again when the
// window is destroyed. One panel per process.

#include "platform/forms/Window.h"

#include <cstdint>

namespace mSubclassCtlPanel {

inline int32_t gHwnd = 0;
inline forms::WNDPROC gPrevWndProc = nullptr;
inline forms::WNDPROC gOwnWndProc = nullptr;
inline int32_t gMinTrackWidth = 0;    // pixels
inline int32_t gMinTrackHeight = 0;

intptr_t SubclassWndProc(int32_t hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam);

// Records the window and installs SubclassWndProc in front of its procedure.
void Install(int32_t hwnd);

}  // namespace mSubclassCtlPanel
