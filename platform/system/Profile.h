#pragma once
// Profile (INI) files with the Windows rules: sections and keys without case,
// the first of duplicate entries wins, values trimmed, cut at 255 characters,
// and one pair of enclosing quotes removed. Files are rewritten atomically.
// A file is read as UTF-8, or as Windows-1252 when it is not valid UTF-8; a
// write that Windows-1252 cannot hold, or that would make the file read as
// UTF-8, stores the whole file as UTF-8, so no other entry reads differently.

#include <QString>

#include <cstdint>

namespace sys {

// Real profiles are kilobytes: a larger file is not read at all (its entries
// read as missing and it is not written), so that a wrong file costs nothing.
inline constexpr qint64 kMaxProfileBytes = qint64(4) << 20;

// Why the file cannot be a profile because of its size, naming the file and
// the size; empty when it is not too large (or cannot be looked at).
QString ProfileSizeProblem(const QString& fileName);

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
