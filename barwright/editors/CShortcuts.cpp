#include "barwright/editors/CShortcuts.h"

#include "platform/forms/ComboBox.h"

CShortcuts::CShortcuts()
{
    size_t i = 0;
    m_names[i++] = QStringLiteral("(None)");
    for (char16_t letter = u'A'; letter <= u'Z'; ++letter)
        m_names[i++] = QStringLiteral("Ctrl+") + QChar(letter);
    for (const QString& prefix : {QString(), QStringLiteral("Ctrl+"), QStringLiteral("Shift+"),
                                 QStringLiteral("Shift+Ctrl+")}) {
        for (int n = 1; n <= 12; ++n)
            m_names[i++] = prefix + QLatin1Char('F') + QString::number(n);
    }
    for (const char* name : {"Ctrl+Ins", "Shift+Ins", "Del", "Shift+Del", "Alt+Bksp"})
        m_names[i++] = QLatin1String(name);
    Q_ASSERT(i == m_names.size());
}

void CShortcuts::LoadShortcutCombo(forms::ComboBox& combo) const
{
    combo.Clear();
    for (const QString& name : m_names)
        combo.AddItem(name);
}
