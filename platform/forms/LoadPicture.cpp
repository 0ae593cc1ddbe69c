#include "platform/forms/LoadPicture.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/SaveFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

namespace forms {

Picture LoadPicture(const QString& fileName)
{
    if (fileName.isEmpty())
        return StdPicture::fromBitmap(0);
    if (!QFileInfo(fileName).isFile())
        rt::raise(rt::errc::FileNotFound, QStringLiteral("LoadPicture"),
                  QStringLiteral("File not found: %1").arg(fileName));
    QImageReader reader(fileName);
    reader.setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)));
    const QSize size = reader.size();
    if (size.isValid() && int64_t(size.width()) * size.height() > kMaxPicturePixels)
        rt::raise(rt::errc::InvalidPicture, QStringLiteral("LoadPicture"),
                  QStringLiteral("Invalid picture: %1 is too large (%2 x %3)")
                      .arg(fileName)
                      .arg(size.width())
                      .arg(size.height()));
    QImage img;
    if (!reader.read(&img) || img.isNull())
        rt::raise(rt::errc::InvalidPicture, QStringLiteral("LoadPicture"),
                  QStringLiteral("Invalid picture: %1 (%2)").arg(fileName, reader.errorString()));
    return StdPicture::fromImage(img);
}

void SavePicture(const Picture& picture, const QString& fileName)
{
    if (!picture || !picture->Handle())
        rt::raise(rt::errc::InvalidPicture, QStringLiteral("SavePicture"));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    QString error;
    if (!writer.write(picture->toImage()))
        error = writer.errorString();
    else
        rt::saveWholeFile(fileName, bytes, &error);
    if (!error.isEmpty())
        rt::raise(rt::errc::PathFileAccess, QStringLiteral("SavePicture"),
                  QStringLiteral("Path/File access error: %1 (%2)").arg(fileName, error));
}

}  // namespace forms
