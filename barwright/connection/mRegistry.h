#pragma once
// Per-user settings of Barwright's windows, one string value per key below
// HKEY_CURRENT_USER\Software\Marquell.ZentribarPlus\Version2\<app>\<section>.

#include <QString>

namespace mRegistry {

// The stored text, or `defaultValue` on any failure. Creates missing keys.
QString GetRegSetting(const QString& app, const QString& section, const QString& key,
                      const QString& defaultValue = {});
// False when an error was raised on the way or the store did not keep the value.
bool SaveRegSetting(const QString& app, const QString& section, const QString& key,
                    const QString& value);

}  // namespace mRegistry
