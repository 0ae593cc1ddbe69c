#include "platform/toolbar/ShortcutKeys.h"

#include <array>

namespace toolbar {

namespace {

std::array<QString, ShortcutKeyCount> makeNames()
{
    std::array<QString, ShortcutKeyCount> names;
    size_t i = 0;
    names[i++] = QStringLiteral("(None)");
    for (char16_t letter = u'A'; letter <= u'Z'; ++letter)
        names[i++] = QStringLiteral("Ctrl+") + QChar(letter);
    for (const QString& prefix : {QString(), QStringLiteral("Ctrl+"), QStringLiteral("Shift+"),
                                 QStringLiteral("Shift+Ctrl+")}) {
        for (int n = 1; n <= 12; ++n)
            names[i++] = prefix + QLatin1Char('F') + QString::number(n);
    }
    for (const char* name : {"Ctrl+Ins", "Shift+Ins", "Del", "Shift+Del", "Alt+Bksp"})
        names[i++] = QLatin1String(name);
    Q_ASSERT(i == names.size());
    return names;
}

}  // namespace

QString shortcutKeyName(int16_t key)
{
    static const std::array<QString, ShortcutKeyCount> names = makeNames();
    return key >= 0 && key < ShortcutKeyCount ? names[size_t(key)] : QString();
}

}  // namespace toolbar
