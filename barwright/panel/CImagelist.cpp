#include "barwright/panel/CImagelist.h"

#include "platform/forms/ImageList.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/StdPicture.h"
#include "platform/gdi/Gdi.h"
#include "platform/runtime/Error.h"

#include <QImage>

#include <algorithm>

namespace {

constexpr int32_t kKeyInUse = 35602;
const QString kBase = QStringLiteral("1");
const QString kTop = QStringLiteral("2");

QRgb rgbOf(int32_t colorRef)
{
    return qRgb(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

// A picture here holds no alpha: a transparent pixel is one of the target
// list's mask colour. So the picture is drawn over a backdrop of that colour,
// and the few picture pixels that happen to be that colour (but are not the
// picture's own mask colour) are nudged one step so they stay opaque.
forms::Picture keepOpaque(const forms::Picture& picture, gdi::COLORREF toolMask,
                          gdi::COLORREF listMask)
{
    if (toolMask == listMask)
        return picture;
    int32_t width = 0;
    int32_t height = 0;
    const uint32_t* px = gdi::BitmapPixels(picture->Handle());
    if (!px || !gdi::GetBitmapSize(picture->Handle(), &width, &height))
        return picture;
    const uint32_t* end = px + size_t(width) * size_t(height);
    if (std::find(px, end, listMask) == end)
        return picture;   // the usual case: nothing to nudge, no copy
    QImage image = picture->toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb clash = rgbOf(int32_t(listMask));
    // One shade off, but never onto the picture's own mask colour, which
    // would make the pixel transparent all the same.
    QRgb nudged = clash ^ 1;
    if (nudged == rgbOf(int32_t(toolMask)))
        nudged = clash ^ 2;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] | 0xFF000000) == clash)
                line[x] = nudged;
    }
    return forms::StdPicture::fromImage(image);
}

forms::Picture backdrop(int32_t width, int32_t height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return forms::StdPicture::fromImage(image);
}

}  // namespace

CImagelist::~CImagelist()
{
    Cleanup();
}

void CImagelist::SetControls(forms::ImageList& target, forms::ImageList& work,
                             forms::PictureBox& workBox)
{
    m_target = &target;
    m_work = &work;
    m_workBox = &workBox;
    // The box must be as large as any picture so its bottom-left pixel is
    // the picture's and not the box's background.
    rt::tryStatement([&] {
        workBox.setBorderStyle(0);
        workBox.setAutoSize(true);
        workBox.setScaleMode(forms::vbPixels);
    });
}

void CImagelist::Cleanup()
{
    m_target = nullptr;
    m_work = nullptr;
    m_workBox = nullptr;
    m_backdrop.reset();
}

bool CImagelist::AddToolPicture(const com::Object& tool)
{
    if (!m_target || !m_work || !m_workBox)
        return false;
    QString id;
    forms::Picture picture;
    rt::tryStatement([&] { id = tool.get(QStringLiteral("ID")).toString(); });
    rt::tryStatement([&] {
        picture = com::Object::fromVariant(tool.get(QStringLiteral("PictureNormal")))
                      .as<forms::StdPicture>();
    });
    return AddToolPicture(id, picture);
}

bool CImagelist::AddToolPicture(const QString& id, const forms::Picture& picture)
{
    if (!m_target || !m_work || !m_workBox)
        return false;
    if (!picture || !picture->Handle()) {
        if (m_target->exists(id))
            rt::tryStatement([&] { m_target->Remove(id); });
        return false;
    }

    int32_t width = 0;
    int32_t height = 0;
    gdi::GetBitmapSize(picture->Handle(), &width, &height);
    rt::tryStatement([&] { m_workBox->setPicture(picture); });

    // The mask row's colour: the bottom-left pixel.
    gdi::COLORREF mask = gdi::CLR_INVALID;
    rt::tryStatement([&] { mask = gdi::GetPixel(m_workBox->hDC(), 0, height - 1); });
    if (mask == gdi::CLR_INVALID) {
        // No window for the box (or a picture it could not hold): read the
        // picture's own pixel rather than take a wrong colour.
        if (const uint32_t* px = gdi::BitmapPixels(picture->Handle()); px && height > 0)
            mask = px[size_t(height - 1) * size_t(width)];
    }
    mask &= 0xFFFFFF;

    const QRgb listMask = rgbOf(m_target->MaskColor);
    if (!m_backdrop || m_backdrop->widthPixels() != width ||
        m_backdrop->heightPixels() != height || m_backdropColour != listMask) {
        m_backdrop = backdrop(width, height, listMask);
        m_backdropColour = listMask;
    }
    const forms::Picture top =
        keepOpaque(picture, mask, gdi::COLORREF(m_target->MaskColor) & 0xFFFFFF);

    forms::Picture composite;
    auto overlay = [&] {
        m_work->MaskColor = int32_t(mask);
        m_work->UseMaskColor = true;
        m_work->Clear();
        m_work->Add(0, kBase, m_backdrop);
        m_work->Add(0, kTop, top);
        composite = m_work->Overlay(kBase, kTop);
    };
    rt::tryStatement(overlay);
    if (rt::tryStatement([&] { m_target->Add(0, id, composite); }) == kKeyInUse) {
        rt::tryStatement([&] { m_target->Remove(id); });
        rt::tryStatement(overlay);
        rt::tryStatement([&] { m_target->Add(0, id, composite); });
    }
    rt::tryStatement([&] { m_work->Clear(); });
    return true;
}
