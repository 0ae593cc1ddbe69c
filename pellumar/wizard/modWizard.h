#pragma once
// Small text and settings helpers of the wizard: the last occurrence of a
// part in a text, and the wizard's own settings file beside the program.

#include <QString>

namespace modWizard {

// 1-based start of the last occurrence of part in text (case-sensitive),
// or -1 when there is none.
int32_t InStrLast(const QString& text, const QString& part);

// Pellumar.ini beside the program, unless a test pointed it elsewhere.
QString SettingsFile();
void setSettingsFile(const QString& path);   // "" = beside the program

// Section "Settings", key "ToolsetDirectory": "" when absent or unreadable.
QString ReadToolsetDirectory();
// Failures (a read-only folder, say) are not reported.
void SaveToolsetDirectory(const QString& folder);

}  // namespace modWizard
