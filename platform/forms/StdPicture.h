#pragma once
// The picture object of the original runtime: a late-bound object over one
// GDI bitmap that it owns. Handle is the bitmap handle (0 for an empty
// picture); Width and Height are in HiMetric units, as the original reports.
// A cursor picture (what a cursor resource loads, Type 3) holds its image with
// transparency and its hot spot instead; it serves as a MouseIcon.
// A bitmap picture made from an image with transparent parts keeps which
// pixels are transparent: drawn into a picture box they leave its
// background, as the original draws a transparent GIF or an icon.

#include "platform/automation/Dispatch.h"
#include "platform/gdi/Gdi.h"

#include <QImage>
#include <QPoint>

#include <memory>

namespace forms {

class StdPicture final : public com::Dispatch {
public:
    // Takes ownership of the bitmap (0 makes an empty picture).
    static std::shared_ptr<StdPicture> fromBitmap(gdi::HBITMAP bitmap);
    // A new bitmap with the image's colours at full opacity; null image:
    // empty. A pixel less than half opaque is transparent.
    static std::shared_ptr<StdPicture> fromImage(const QImage& image);
    // A cursor: the image's alpha is its transparency; hotSpot is the pixel
    // the pointer acts on.
    static std::shared_ptr<StdPicture> fromCursor(const QImage& image, QPoint hotSpot);
    ~StdPicture() override;
    StdPicture(const StdPicture&) = delete;
    StdPicture& operator=(const StdPicture&) = delete;

    QString className() const override { return QStringLiteral("StdPicture"); }

    gdi::HBITMAP Handle() const { return m_bitmap; }
    int32_t widthPixels() const;
    int32_t heightPixels() const;
    int32_t Width() const;    // HiMetric
    int32_t Height() const;   // HiMetric
    // 1 bitmap, 3 cursor (an icon type), 0 none
    int16_t Type() const { return m_bitmap ? 1 : isCursor() ? 3 : 0; }
    QImage toImage() const;   // null for an empty picture; colours only
    bool hasTransparency() const { return !m_transparent.isNull(); }
    bool isTransparent(int32_t x, int32_t y) const;
    bool isCursor() const { return !m_cursor.isNull(); }
    QImage cursorImage() const { return m_cursor; }   // ARGB; null unless a cursor
    QPoint hotSpot() const { return m_hotSpot; }

private:
    explicit StdPicture(gdi::HBITMAP bitmap);
    gdi::HBITMAP m_bitmap = 0;
    QImage m_cursor;
    QPoint m_hotSpot;
    QImage m_transparent;   // Grayscale8, non-zero where transparent; null when opaque
};

using Picture = std::shared_ptr<StdPicture>;

// The picture with its transparent pixels in the colour (a COLORREF) and no
// transparency left; an opaque or empty picture is returned as it is.
Picture layOver(const Picture& picture, gdi::COLORREF background);

// Pixel conversions between GDI bitmaps and Qt images (RGB32).
QImage bitmapToImage(gdi::HBITMAP bitmap);
gdi::HBITMAP imageToBitmap(const QImage& image);   // 0 for a null image

}  // namespace forms
