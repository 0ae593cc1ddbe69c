#include "platform/forms/ImageList.h"

#include "platform/runtime/Error.h"

#include <QPixmap>

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
    m_indexValid = false;
    m_icons.clear();
    MaskColor = 0xC0C0C0;
    UseMaskColor = true;
    ImageWidth = 0;
    ImageHeight = 0;
}

void ImageList::renumber()
{
    m_indexValid = false;
    for (size_t i = 0; i < m_images.size(); ++i)
        m_images[i].Index = int32_t(i + 1);
}

const ListImage* ImageList::find(const QString& key) const
{
    if (!m_indexValid) {
        m_keyIndex.clear();
        for (size_t i = 0; i < m_images.size(); ++i)
            if (!m_keyIndex.contains(m_images[i].Key))
                m_keyIndex.insert(m_images[i].Key, i);
        m_indexValid = true;
    }
    const auto it = m_keyIndex.constFind(key);
    return it == m_keyIndex.cend() ? nullptr : &m_images[*it];
}

bool ImageList::exists(const QString& key) const
{
    return !key.isEmpty() && find(key);
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
    const bool append = at == m_images.size();
    const bool indexValid = m_indexValid;
    m_images.insert(m_images.begin() + ptrdiff_t(at), ListImage{key, picture, {}, 0});
    renumber();
    // Appending keeps the key index valid, so filling a list stays linear.
    if (append && indexValid) {
        if (!m_keyIndex.contains(key))
            m_keyIndex.insert(key, at);
        m_indexValid = true;
    }
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
    m_indexValid = false;
    m_icons.clear();
}

const ListImage& ImageList::Item(const QString& key) const
{
    if (const ListImage* i = find(key))
        return *i;
    notFound();
}

QIcon ImageList::icon(const ListImage& image) const
{
    if (!image.picture)
        return {};
    const int32_t mask = UseMaskColor ? MaskColor : -1;
    auto it = m_icons.find(image.picture.get());
    if (it != m_icons.end() && it->mask == mask)
        return it->icon;
    QImage img = image.picture->toImage().convertToFormat(QImage::Format_ARGB32);
    if (UseMaskColor) {
        const QRgb key = qRgb(MaskColor & 0xFF, (MaskColor >> 8) & 0xFF, (MaskColor >> 16) & 0xFF);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((line[x] | 0xFF000000) == key)
                    line[x] = 0;
        }
    }
    QIcon icon(QPixmap::fromImage(img));
    m_icons.insert(image.picture.get(), CachedIcon{image.picture, mask, icon});
    return icon;
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
