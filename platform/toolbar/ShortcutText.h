#pragma once
// The names of the control's shortcut keys: a tool's ShortcutKey (0 to 79)
// indexes a fixed table of key combinations, 0 meaning none.

#include <QString>

#include <cstdint>

namespace toolbar {

// "Ctrl+O", "Shift+Ctrl+F12", "Alt+Bksp"; empty for 0 and outside the table.
QString shortcutText(int16_t key);

}  // namespace toolbar
