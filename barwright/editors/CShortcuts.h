#pragma once
// The names of the toolbar control's 80 shortcut keys. A tool's ShortcutKey
// indexes this table (0 is "(None)"), so a combo box filled from it has list
// index = ShortcutKey.

#include "platform/toolbar/ShortcutKeys.h"

#include <QString>

#include <array>
#include <cstdint>

namespace forms {
class ComboBox;
}

class CShortcuts final {
public:
    static constexpr int16_t Count = toolbar::ShortcutKeyCount;

    CShortcuts();   // fills the table in index order

    // Empties the combo box, then adds the 80 names at the end in index order.
    void LoadShortcutCombo(forms::ComboBox& combo) const;

private:
    std::array<QString, Count> m_names;
};
