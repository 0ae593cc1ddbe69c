#include "platform/toolbar/ShortcutText.h"

namespace toolbar {

QString shortcutText(int16_t key)
{
    if (key >= 1 && key <= 26)
        return QStringLiteral("Ctrl+") + QChar(u'A' + (key - 1));
    if (key >= 27 && key <= 74) {
        static const char* const kPrefixes[] = {"", "Ctrl+", "Shift+", "Shift+Ctrl+"};
        const int n = key - 27;
        return QLatin1String(kPrefixes[n / 12]) + QLatin1Char('F') + QString::number(n % 12 + 1);
    }
    static const char* const kEditKeys[] = {"Ctrl+Ins", "Shift+Ins", "Del", "Shift+Del",
                                            "Alt+Bksp"};
    if (key >= 75 && key <= 79)
        return QLatin1String(kEditKeys[key - 75]);
    return {};
}

}  // namespace toolbar
