#pragma once
// The per-user program settings store of the original runtime (GetSetting,
// SaveSetting, DeleteSetting), kept in the registry under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>.

#include <QString>

namespace sys {

// The value, or `defaultValue` when the key, section or application is missing.
QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue = {});

// Creates the application and section keys as needed. Raises error 5 for an
// empty application, section or key name.
void SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value);

// Deletes one key, a whole section (key empty) or the whole application
// (section and key empty). Raises error 5 when what is named does not exist.
void DeleteSetting(const QString& appName, const QString& section = {},
                   const QString& key = {});

}  // namespace sys
