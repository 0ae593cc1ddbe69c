#include "platform/forms/StdPicture.h"

namespace forms {

namespace {
// 96 pixels per inch, 2540 HiMetric units per inch.
int32_t toHiMetric(int32_t pixels)
{
    return int32_t((int64_t(pixels) * 2540 + 48) / 96);
}
}  // namespace

StdPicture::StdPicture(gdi::HBITMAP bitmap) : m_bitmap(bitmap)
{
    defineProperty(QStringLiteral("Handle"), 0, [this](com::Args&) {
        return rt::Variant(int32_t(m_bitmap));
    });
    defineProperty(QStringLiteral("Width"), 4, [this](com::Args&) {
        return rt::Variant(Width());
    });
    defineProperty(QStringLiteral("Height"), 5, [this](com::Args&) {
        return rt::Variant(Height());
    });
    defineProperty(QStringLiteral("Type"), 3, [this](com::Args&) {
        return rt::Variant(Type());
    });
}

std::shared_ptr<StdPicture> StdPicture::fromBitmap(gdi::HBITMAP bitmap)
{
    return std::shared_ptr<StdPicture>(new StdPicture(bitmap));
}

std::shared_ptr<StdPicture> StdPicture::fromImage(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return fromBitmap(imageToBitmap(image));
    // Unpremultiplied, so a half-transparent pixel keeps its own colour.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QImage transparent(argb.size(), QImage::Format_Grayscale8);
    transparent.fill(0);
    bool any = false;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        uchar* mark = transparent.scanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) < 128) {
                mark[x] = 1;
                any = true;
            }
        }
    }
    auto picture = fromBitmap(imageToBitmap(argb));
    if (any && picture->m_bitmap)
        picture->m_transparent = std::move(transparent);
    return picture;
}

bool StdPicture::isTransparent(int32_t x, int32_t y) const
{
    return !m_transparent.isNull() && m_transparent.valid(x, y)
           && m_transparent.constScanLine(y)[x] != 0;
}

Picture layOver(const Picture& picture, gdi::COLORREF background)
{
    if (!picture || !picture->hasTransparency())
        return picture;
    QImage image = picture->toImage();
    const QRgb fill = qRgb(gdi::GetRValue(background), gdi::GetGValue(background),
                           gdi::GetBValue(background));
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (picture->isTransparent(x, y))
                line[x] = fill;
    }
    return StdPicture::fromImage(image);
}

std::shared_ptr<StdPicture> StdPicture::fromCursor(const QImage& image, QPoint hotSpot)
{
    auto picture = std::shared_ptr<StdPicture>(new StdPicture(0));
    picture->m_cursor = image.convertToFormat(QImage::Format_ARGB32);
    picture->m_hotSpot = hotSpot;
    return picture;
}

StdPicture::~StdPicture()
{
    if (m_bitmap)
        gdi::DeleteObject(m_bitmap);
}

int32_t StdPicture::widthPixels() const
{
    if (isCursor())
        return m_cursor.width();
    int32_t w = 0, h = 0;
    return gdi::GetBitmapSize(m_bitmap, &w, &h) ? w : 0;
}

int32_t StdPicture::heightPixels() const
{
    if (isCursor())
        return m_cursor.height();
    int32_t w = 0, h = 0;
    return gdi::GetBitmapSize(m_bitmap, &w, &h) ? h : 0;
}

int32_t StdPicture::Width() const
{
    return toHiMetric(widthPixels());
}

int32_t StdPicture::Height() const
{
    return toHiMetric(heightPixels());
}

QImage StdPicture::toImage() const
{
    if (isCursor())
        return m_cursor.convertToFormat(QImage::Format_RGB32);
    return bitmapToImage(m_bitmap);
}

QImage bitmapToImage(gdi::HBITMAP bitmap)
{
    int32_t w = 0, h = 0;
    const uint32_t* px = gdi::BitmapPixels(bitmap);
    if (!px || !gdi::GetBitmapSize(bitmap, &w, &h))
        return {};
    QImage img(w, h, QImage::Format_RGB32);
    for (int32_t y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t c = px[size_t(y) * size_t(w) + size_t(x)];
            line[x] = qRgb(gdi::GetRValue(c), gdi::GetGValue(c), gdi::GetBValue(c));
        }
    }
    return img;
}

gdi::HBITMAP imageToBitmap(const QImage& image)
{
    if (image.isNull())
        return 0;
    // Straight colours: RGB32 of a premultiplied image would darken them.
    const QImage src = image.hasAlphaChannel()
                           ? image.convertToFormat(QImage::Format_ARGB32)
                           : image.convertToFormat(QImage::Format_RGB32);
    const gdi::HBITMAP bmp = gdi::CreateBitmap(src.width(), src.height());
    uint32_t* px = gdi::BitmapPixels(bmp);
    if (!px)
        return 0;
    for (int y = 0; y < src.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < src.width(); ++x)
            px[size_t(y) * size_t(src.width()) + size_t(x)] =
                gdi::RGB(uint8_t(qRed(line[x])), uint8_t(qGreen(line[x])),
                         uint8_t(qBlue(line[x])));
    }
    return bmp;
}

}  // namespace forms
