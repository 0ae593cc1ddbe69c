#pragma once
// The byte encodings of profile files: UTF-8, or the Western Windows code
// page (Windows-1252) for a file that is not valid UTF-8, as the files made
// on those systems are.

#include <QByteArray>
#include <QString>

#include <optional>

namespace sys {

// The text of a valid UTF-8 file; nothing when the bytes are not UTF-8.
std::optional<QString> decodeUtf8(const QByteArray& bytes);

// Windows-1252: the five bytes the code page leaves unassigned read as the
// control characters of the same number, as the system's conversion does.
QString decodeWindows1252(const QByteArray& bytes);

// The bytes of the text in Windows-1252; nothing when a character has no
// byte there.
std::optional<QByteArray> encodeWindows1252(const QString& text);

// A single-byte file stays Windows-1252 only while it can hold the text and
// would still be read as Windows-1252; else the whole file becomes UTF-8,
// which holds every character and reads back every entry as before.
QByteArray encodeProfile(const QString& text, bool singleByte);

}  // namespace sys
