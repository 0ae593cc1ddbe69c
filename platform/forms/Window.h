#pragma once
// Window-handle stand-ins: every loaded form and control has an hWnd (a
// number that stays the same while its window exists), window properties
// (SetPropA/GetPropA), a window style word and a replaceable window
// procedure, which the runtime consults for WM_GETMINMAXINFO and calls with
// WM_NCDESTROY when the window goes away.

#include <QString>

#include <cstdint>

class QWidget;

namespace forms {

using WNDPROC = intptr_t (*)(int32_t hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam);

inline constexpr uint32_t WM_GETMINMAXINFO = 0x24;
inline constexpr uint32_t WM_NCDESTROY = 0x82;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x201;
inline constexpr uint32_t WM_LBUTTONUP = 0x202;
inline constexpr int32_t GWL_WNDPROC = -4;
inline constexpr int32_t GWL_STYLE = -16;
inline constexpr int32_t ES_NUMBER = 0x2000;
inline constexpr uint32_t MK_LBUTTON = 1;

struct POINTAPI {
    int32_t x = 0;
    int32_t y = 0;
};
// 40 bytes, as the window procedure copies it.
struct MINMAXINFO {
    POINTAPI ptReserved;
    POINTAPI ptMaxSize;
    POINTAPI ptMaxPosition;
    POINTAPI ptMinTrackSize;
    POINTAPI ptMaxTrackSize;
};
static_assert(sizeof(MINMAXINFO) == 40);

// The handle of a widget (allocated on first request); 0 for null.
int32_t hwndOf(QWidget* widget);
QWidget* widgetOf(int32_t hwnd);   // null once the window is gone
bool IsWindow(int32_t hwnd);

bool SetPropA(int32_t hwnd, const QString& name, int32_t value);
int32_t GetPropA(int32_t hwnd, const QString& name);   // 0 when not set
int32_t RemovePropA(int32_t hwnd, const QString& name);

// GWL_STYLE only (ES_NUMBER on a text box makes it accept digits only).
int32_t GetWindowLongA(int32_t hwnd, int32_t index);
int32_t SetWindowLongA(int32_t hwnd, int32_t index, int32_t value);
// GWL_WNDPROC: the window's procedure (the class procedure until replaced).
WNDPROC GetWindowProc(int32_t hwnd);
WNDPROC SetWindowProc(int32_t hwnd, WNDPROC proc);   // returns the previous one
WNDPROC ClassWindowProc();                          // the runtime's own
intptr_t CallWindowProcA(WNDPROC proc, int32_t hwnd, uint32_t msg, intptr_t wParam,
                         intptr_t lParam);
// Sends to the window's current procedure; WM_LBUTTONDOWN/UP become a mouse
// press/release on the widget at the position (x + y * 65536, pixels).
intptr_t SendMessageA(int32_t hwnd, uint32_t msg, intptr_t wParam, intptr_t lParam);

namespace detail {
// Called by the runtime when a window is destroyed (WM_NCDESTROY, cleanup).
void windowDestroyed(int32_t hwnd);
// The minimum track size the window procedure chain answers (0, 0: none).
POINTAPI queryMinTrackSize(int32_t hwnd);
}  // namespace detail

}  // namespace forms
