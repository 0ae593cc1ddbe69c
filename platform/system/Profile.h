#pragma once
// Profile (INI) files with the Windows rules: sections and keys without case,
// the first of duplicate entries wins, values trimmed, cut at 255 characters,
// and one pair of enclosing quotes removed. Files are rewritten atomically.

#include <QString>

#include <cstdint>

namespace sys {

// The value (or the default, trailing blanks removed) written into the
// buffer as text, NUL, NUL padding to nSize; returns the number of characters
// copied, at most nSize - 1. A null section lists the section names, a null
// key the keys of the section, each followed by a NUL.
uint32_t GetPrivateProfileStringA(const QString& lpAppName, const QString& lpKeyName,
                                  const QString& lpDefault, QString& lpReturnedString,
                                  uint32_t nSize, const QString& lpFileName);

// A null key deletes the section; a null value deletes the key. Creates the
// file when missing. False when the file cannot be written.
bool WritePrivateProfileStringA(const QString& lpAppName, const QString& lpKeyName,
                                const QString& lpString, const QString& lpFileName);

// The leading decimal number of the value; the default when the key is missing.
int32_t GetPrivateProfileIntA(const QString& lpAppName, const QString& lpKeyName,
                              int32_t nDefault, const QString& lpFileName);

}  // namespace sys
