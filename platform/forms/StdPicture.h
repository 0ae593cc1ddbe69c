#pragma once
// The picture object of the original runtime: a late-bound object over one
// GDI bitmap that it owns. Handle is the bitmap handle (0 for an empty
// picture); Width and Height are in HiMetric units, as the original reports.

#include "platform/automation/Dispatch.h"
#include "platform/gdi/Gdi.h"

#include <QImage>

#include <memory>

namespace forms {

class StdPicture final : public com::Dispatch {
public:
    // Takes ownership of the bitmap (0 makes an empty picture).
    static std::shared_ptr<StdPicture> fromBitmap(gdi::HBITMAP bitmap);
    // A new bitmap with the image's pixels (alpha ignored); null image: empty.
    static std::shared_ptr<StdPicture> fromImage(const QImage& image);
    ~StdPicture() override;
    StdPicture(const StdPicture&) = delete;
    StdPicture& operator=(const StdPicture&) = delete;

    QString className() const override { return QStringLiteral("StdPicture"); }

    gdi::HBITMAP Handle() const { return m_bitmap; }
    int32_t widthPixels() const;
    int32_t heightPixels() const;
    int32_t Width() const;    // HiMetric
    int32_t Height() const;   // HiMetric
    int16_t Type() const { return m_bitmap ? 1 : 0; }   // 1 bitmap, 0 none
    QImage toImage() const;   // null for an empty picture

private:
    explicit StdPicture(gdi::HBITMAP bitmap);
    gdi::HBITMAP m_bitmap = 0;
};

using Picture = std::shared_ptr<StdPicture>;

// Pixel conversions between GDI bitmaps and Qt images (RGB32).
QImage bitmapToImage(gdi::HBITMAP bitmap);
gdi::HBITMAP imageToBitmap(const QImage& image);   // 0 for a null image

}  // namespace forms
