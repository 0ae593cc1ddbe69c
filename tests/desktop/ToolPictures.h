#pragma once
// Tool pictures for the configurations desktop tests write: one colour all
// over, so that a test finds the tool on the screen by that colour.

#include <QBuffer>
#include <QImage>
#include <QString>

namespace desktop {

// A 16 x 16 tool picture of one colour with its mask row, as the
// configuration file holds it (base64 of a PNG file).
inline QString picture(QRgb colour)
{
    QImage image(16, 17, QImage::Format_RGB32);
    image.fill(colour);
    for (int x = 0; x < 16; ++x)
        image.setPixel(x, 16, qRgb(97, 65, 33));
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    return QString::fromLatin1(png.data().toBase64());
}

}  // namespace desktop
