#pragma once
// The control's configuration document (.qrv files and the value of
// SaveConfigurationEx): a versioned JSON document, described in FORMAT.md.
// Writing is atomic; reading is all-or-nothing into a fresh control.

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace toolbar {
class MqZentribar;
}

namespace toolbar::qrv {

inline constexpr int32_t FormatVersion = 1;
inline constexpr const char* FormatName = "Zentribar configuration";
// Larger documents are refused unread.
inline constexpr int64_t MaxDocumentBytes = 64 * 1024 * 1024;
// The error number of a document that cannot be read ("Invalid file format").
inline constexpr int32_t InvalidFormat = 321;

QByteArray writeDocument(const MqZentribar& control);
// Fills `into`, which must be a new control; raises InvalidFormat with a
// description naming `origin` and what is wrong.
void readDocument(MqZentribar& into, const QByteArray& document, const QString& origin);

// Whole or not at all: the old file stays until the new one is complete.
void writeFile(const MqZentribar& control, const QString& path);
void readFile(MqZentribar& into, const QString& path);

}  // namespace toolbar::qrv
