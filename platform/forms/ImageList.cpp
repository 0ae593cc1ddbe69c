#include "platform/forms/ImageList.h"

#include "platform/runtime/Error.h"

namespace forms {

namespace {
[[noreturn]] void notFound()
{
    rt::raise(35601, QStringLiteral("ImageList"), QStringLiteral("Element not found"));
}
}  // namespace

void ImageList::resetState()
{
    m_images.clear();
    MaskColor = 0xC0C0C0;
    UseMaskColor = true;
    ImageWidth = 0;
    ImageHeight = 0;
}

void ImageList::renumber()
{
    for (size_t i = 0; i < m_images.size(); ++i)
        m_images[i].Index = int32_t(i + 1);
}

bool ImageList::exists(const QString& key) const
{
    for (const ListImage& i : m_images)
        if (!key.isEmpty() && i.Key == key)
            return true;
    return false;
}

int32_t ImageList::Add(int32_t index, const QString& key, const Picture& picture)
{
    if (!picture || !picture->Handle())
        rt::raise(rt::errc::InvalidPicture, QStringLiteral("ImageList"));
    if (exists(key))
        rt::raise(35602, QStringLiteral("ImageList"), QStringLiteral("Key is not unique in collection"));
    if (m_images.empty()) {
        ImageWidth = picture->widthPixels();
        ImageHeight = picture->heightPixels();
    }
    const size_t at = index >= 1 && size_t(index) <= m_images.size() ? size_t(index - 1)
                                                                      : m_images.size();
    m_images.insert(m_images.begin() + ptrdiff_t(at), ListImage{key, picture, {}, 0});
    renumber();
    return int32_t(at + 1);
}

void ImageList::Remove(const QString& key)
{
    for (auto it = m_images.begin(); it != m_images.end(); ++it)
        if (it->Key == key) {
            m_images.erase(it);
            renumber();
            return;
        }
    notFound();
}

void ImageList::Remove(int32_t index)
{
    if (index < 1 || size_t(index) > m_images.size())
        notFound();
    m_images.erase(m_images.begin() + (index - 1));
    renumber();
}

void ImageList::Clear()
{
    m_images.clear();
}

const ListImage& ImageList::Item(const QString& key) const
{
    for (const ListImage& i : m_images)
        if (i.Key == key)
            return i;
    notFound();
}

const ListImage& ImageList::Item(int32_t index) const
{
    if (index < 1 || size_t(index) > m_images.size())
        notFound();
    return m_images[size_t(index - 1)];
}

Picture ImageList::Overlay(const QString& key1, const QString& key2) const
{
    const QImage base = Item(key1).picture->toImage();
    const QImage top = Item(key2).picture->toImage();
    QImage out = base.convertToFormat(QImage::Format_RGB32);
    const QRgb mask = qRgb(MaskColor & 0xFF, (MaskColor >> 8) & 0xFF, (MaskColor >> 16) & 0xFF);
    for (int y = 0; y < std::min(out.height(), top.height()); ++y)
        for (int x = 0; x < std::min(out.width(), top.width()); ++x) {
            const QRgb p = top.pixel(x, y) | 0xFF000000;
            if (!UseMaskColor || p != (mask | 0xFF000000))
                out.setPixel(x, y, p);
        }
    return StdPicture::fromImage(out);
}

}  // namespace forms
