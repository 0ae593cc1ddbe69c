// The shortcut-key combo: 80 names in ShortcutKey order, refilled, not doubled.
#include "barwright/editors/CShortcuts.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/Form.h"

#include <gmock/gmock.h>

namespace {

class frmKeys final : public forms::Form {
public:
    forms::ComboBox coShortcutKey{this, "coShortcutKey", forms::vbComboDropdownList};
};

TEST(ShortcutsTest, ComboHoldsTheEightyNamesInKeyOrder)
{
    frmKeys form;
    form.coShortcutKey.AddItem(QStringLiteral("left over"));
    const CShortcuts shortcuts;
    shortcuts.LoadShortcutCombo(form.coShortcutKey);
    shortcuts.LoadShortcutCombo(form.coShortcutKey);

    ASSERT_EQ(form.coShortcutKey.ListCount(), 80);
    const std::pair<int, const char*> expected[] = {
        {0, "(None)"},          {1, "Ctrl+A"},         {26, "Ctrl+Z"},
        {27, "F1"},             {38, "F12"},           {39, "Ctrl+F1"},
        {50, "Ctrl+F12"},       {51, "Shift+F1"},      {62, "Shift+F12"},
        {63, "Shift+Ctrl+F1"},  {74, "Shift+Ctrl+F12"}, {75, "Ctrl+Ins"},
        {76, "Shift+Ins"},      {77, "Del"},           {78, "Shift+Del"},
        {79, "Alt+Bksp"}};
    for (const auto& [index, name] : expected)
        EXPECT_EQ(form.coShortcutKey.List(index), QLatin1String(name)) << "item " << index;
    form.Unload();
}

}  // namespace
