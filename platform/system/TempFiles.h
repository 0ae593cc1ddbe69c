#pragma once
// The temporary folder and unique temporary file names. Results are written
// into the caller's buffer as the Win32 calls do: the text, a NUL, and NUL
// padding up to the buffer's length.

#include <QString>

#include <cstdint>

namespace sys {

inline constexpr uint32_t MAX_PATH = 260;

// The temporary folder with a trailing "/"; returns its length, or the size
// needed (with the NUL) when nBufferLength is too small (buffer unchanged).
uint32_t GetTempPathA(uint32_t nBufferLength, QString& lpBuffer);

// "<path>/<first three characters of prefix><hex number>.TMP". With uUnique 0
// a free number is chosen and the file is created empty and exclusively; any
// other uUnique only forms the name. Returns the number used, 0 on failure.
// A file created here stays claimed by this process until it ends.
uint32_t GetTempFileNameA(const QString& lpPathName, const QString& lpPrefixString,
                          uint32_t uUnique, QString& lpTempFileName);

// Removes the "<prefix><hex number>.TMP" files of the temporary folder that
// GetTempFileNameA created for processes that have ended (a program killed
// before it removed them). Every program calls it as it starts.
void RemoveDeadTempFiles(const QString& lpPrefixString);

}  // namespace sys
