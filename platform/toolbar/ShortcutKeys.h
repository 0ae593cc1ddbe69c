#pragma once
// The control's 80 shortcut keys by name: a tool's ShortcutKey indexes them,
// 0 is "(None)". Menus show the name beside the tool when ShowShortcuts is on.

#include <QString>

#include <cstdint>

namespace toolbar {

inline constexpr int16_t ShortcutKeyCount = 80;

// The key's name ("Ctrl+A", "F1", "Shift+Ctrl+F12", "Alt+Bksp"); empty
// outside 0 to 79.
QString shortcutKeyName(int16_t key);

}  // namespace toolbar
