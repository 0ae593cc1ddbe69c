#include "barwright/editors/CShortcuts.h"

#include "platform/forms/ComboBox.h"
#include "platform/toolbar/ShortcutKeys.h"

CShortcuts::CShortcuts()
{
    // The control defines its keys; the table holds their names in its order.
    for (int16_t i = 0; i < Count; ++i)
        m_names[size_t(i)] = toolbar::shortcutKeyName(i);
}

void CShortcuts::LoadShortcutCombo(forms::ComboBox& combo) const
{
    combo.Clear();
    for (const QString& name : m_names)
        combo.AddItem(name);
}
