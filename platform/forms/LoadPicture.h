#pragma once
// LoadPicture and SavePicture: bmp, gif, jpg, ico, cur, png and the other
// formats of QImageReader under an allocation limit, and placeable WMF and
// EMF metafiles at their natural size. Transparent parts stay transparent.
// A missing file raises error 53; a damaged, truncated, foreign or oversized
// image raises 481 (Invalid picture) with a description that says why.

#include "platform/forms/StdPicture.h"

#include <QString>

namespace forms {

// An empty name gives an empty picture (Handle 0).
Picture LoadPicture(const QString& fileName = {});
// Writes a bitmap (.bmp) file whatever the extension, as the original does.
// Error 481 for an empty picture, 75 when the file cannot be written.
void SavePicture(const Picture& picture, const QString& fileName);

// Images bigger than this many pixels are refused (before decoding).
inline constexpr int64_t kMaxPicturePixels = 64LL * 1024 * 1024;
// Files larger than the largest such picture can be are not read at all.
inline constexpr int64_t kMaxPictureFileBytes = kMaxPicturePixels * 4 + (1LL << 20);

}  // namespace forms
