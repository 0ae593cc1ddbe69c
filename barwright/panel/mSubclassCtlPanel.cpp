#include "barwright/panel/mSubclassCtlPanel.h"

#include <cstring>

namespace mSubclassCtlPanel {

intptr_t SubclassWndProc(int32_t hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam)
{
    (void)hwnd;   // always the recorded panel window
    switch (msg) {
    case forms::WM_GETMINMAXINFO: {
        forms::CallWindowProcA(gPrevWndProc, gHwnd, msg, wParam, lParam);
        forms::MINMAXINFO info;
        std::memcpy(&info, reinterpret_cast<const void*>(lParam), sizeof info);
        info.ptMinTrackSize.x = gMinTrackWidth;
        info.ptMinTrackSize.y = gMinTrackHeight;
        std::memcpy(reinterpret_cast<void*>(lParam), &info, sizeof info);
        return 0;
    }
    case forms::WM_NCDESTROY:
        // Another procedure installed after ours must not be cut off with it.
        if (forms::GetWindowProc(gHwnd) == gOwnWndProc)
            forms::SetWindowProc(gHwnd, gPrevWndProc);
        else
            forms::SetWindowProc(gHwnd, forms::ClassWindowProc());
        return 0;
    default:
        return forms::CallWindowProcA(gPrevWndProc, gHwnd, msg, wParam, lParam);
    }
}

void Install(int32_t hwnd)
{
    gHwnd = hwnd;
    gPrevWndProc = forms::SetWindowProc(hwnd, &SubclassWndProc);
    gOwnWndProc = forms::GetWindowProc(hwnd);
}

}  // namespace mSubclassCtlPanel
