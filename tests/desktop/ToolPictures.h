#pragma once
// Tool pictures for the configurations desktop tests write: one colour all
// over, so that a test finds the tool on the screen by that colour.

#include <QBuffer>
#include <QImage>
#include <QString>

namespace desktop {

inline const QRgb kMaskColour = qRgb(97, 65, 33);
// The colours of the tools the tests find on the screen.
inline const QRgb kRed = qRgb(255, 0, 0);
inline const QRgb kGreen = qRgb(0, 200, 0);
inline const QRgb kBlue = qRgb(0, 0, 255);
inline const QRgb kYellow = qRgb(255, 255, 0);
inline const QRgb kMagenta = qRgb(255, 0, 255);
inline const QRgb kOrange = qRgb(255, 128, 0);
inline const QRgb kCyan = qRgb(0, 255, 255);

// A 16 x 16 tool picture of one colour with its mask row, its first
// `maskColumns` columns in the mask colour, as the configuration file holds
// it (base64 of a PNG file).
inline QString picture(QRgb colour, int maskColumns = 0)
{
    QImage image(16, 17, QImage::Format_RGB32);
    image.fill(colour);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < maskColumns; ++x)
            image.setPixel(x, y, kMaskColour);
    for (int x = 0; x < 16; ++x)
        image.setPixel(x, 16, kMaskColour);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    return QString::fromLatin1(png.data().toBase64());
}

}  // namespace desktop
