#include "platform/forms/LoadPicture.h"

#include "platform/forms/Metafile.h"
#include "platform/forms/PictureFileChecks.h"
#include "platform/forms/PictureFileFixes.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/SaveFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

namespace forms {

namespace {

[[noreturn]] void invalid(const QString& fileName, const QString& why)
{
    rt::raise(rt::errc::InvalidPicture, QStringLiteral("LoadPicture"),
              QStringLiteral("Invalid picture: %1 (%2)").arg(fileName, why));
}

// The whole file, refused unread when it is larger than any picture taken.
QByteArray readPictureFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        invalid(fileName, file.errorString());
    if (file.size() > kMaxPictureFileBytes)
        invalid(fileName, QStringLiteral("The file is too large (%1 bytes)").arg(file.size()));
    // Never more than the size said and one byte: a file that grows while it
    // is read cannot grow the buffer with it.
    QByteArray bytes = file.read(file.size() + 1);
    if (file.error() != QFileDevice::NoError)
        invalid(fileName, file.errorString());
    if (bytes.size() > kMaxPictureFileBytes)
        invalid(fileName, QStringLiteral("The file is too large"));
    return bytes;
}

QImage readRaster(const QString& fileName, const QByteArray& bytes)
{
    if (const QString problem = truncationProblem(bytes); !problem.isEmpty())
        invalid(fileName, problem);
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    // The extension is a hint only: the content decides.
    QImageReader reader(&buffer, QFileInfo(fileName).suffix().toLower().toLatin1());
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
        invalid(fileName, reader.errorString());
    widenBitmapChannels(bytes, img);
    if (const QString problem = applyIconMask(bytes, img); !problem.isEmpty())
        invalid(fileName, problem);
    return img;
}

}  // namespace

Picture LoadPicture(const QString& fileName)
{
    if (fileName.isEmpty())
        return StdPicture::fromBitmap(0);
    if (!QFileInfo(fileName).isFile())
        rt::raise(rt::errc::FileNotFound, QStringLiteral("LoadPicture"),
                  QStringLiteral("File not found: %1").arg(fileName));
    const QByteArray bytes = readPictureFile(fileName);
    if (!isMetafile(bytes))
        return StdPicture::fromImage(readRaster(fileName, bytes));
    QString error;
    const QImage img = readMetafile(bytes, &error);
    if (img.isNull())
        invalid(fileName, error);
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
    bool saved = writer.write(picture->toImage());
    if (!saved)
        error = writer.errorString();
    else
        saved = rt::saveWholeFile(fileName, bytes, &error);
    if (!saved)
        rt::raise(rt::errc::PathFileAccess, QStringLiteral("SavePicture"),
                  QStringLiteral("Path/File access error: %1 (%2)").arg(fileName, error));
}

}  // namespace forms
