#pragma once
// Windows metafiles as pictures: a placeable WMF (through libwmf) or an EMF
// (through libemf2svg), turned into SVG and drawn by Qt SVG at the natural
// size, the placeable header's or the EMF frame's, at 96 pixels per inch.
// The file is untrusted: its size, the size drawn, the memory the WMF player
// takes, the SVG text and the time spent are bounded.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace forms {

inline constexpr qint64 kMaxMetafileBytes = qint64(16) << 20;
inline constexpr int kMaxMetafileSide = 4096;   // pixels, either way

// The file starts like a placeable WMF or an EMF.
bool isMetafile(const QByteArray& bytes);

// The picture, transparent where nothing is drawn; a null image and the
// reason when the file cannot be read.
QImage readMetafile(const QByteArray& bytes, QString* error);

}  // namespace forms
