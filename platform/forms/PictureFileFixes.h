#pragma once
// Where Qt's readers give other pixels than the file means: the channels of a
// bit-field bitmap narrower than 8 bits come shifted, not scaled (white
// 31,63,31 reads 248,252,248); a 24-bit icon comes without its AND mask.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace forms {

// Scales each colour channel narrower than 8 bits to the full range, so that
// its largest value is 255. Nothing for files other than such bitmaps.
void widenBitmapChannels(const QByteArray& bytes, QImage& image);

// Makes the pixels that the first icon's AND mask marks transparent, where
// Qt did not read the mask. An error text when the file ends within the mask.
QString applyIconMask(const QByteArray& bytes, QImage& image);

}  // namespace forms
