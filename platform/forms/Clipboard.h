#pragma once
// The Clipboard object over QClipboard: text, and bitmaps as pictures.
// Formats: 1 text, 2 bitmap, 8 device-independent bitmap (a bitmap on the
// clipboard answers to both 2 and 8).

#include "platform/forms/ClipboardFormats.h"
#include "platform/forms/StdPicture.h"

#include <QString>

namespace forms {

class Clipboard {
public:
    static void Clear();
    static void SetText(const QString& text, int16_t format = vbCFText);
    static QString GetText(int16_t format = vbCFText);
    static void SetData(const Picture& picture, int16_t format = vbCFBitmap);
    // An empty picture when the clipboard holds no image.
    static Picture GetData(int16_t format = vbCFBitmap);
    static bool GetFormat(int16_t format);
};

}  // namespace forms
