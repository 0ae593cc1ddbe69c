#pragma once
// Image list: keyed pictures (keys with case; a missing key raises 35601, a
// duplicate 35602), MaskColor/UseMaskColor, and Overlay, which draws one
// image over another with the mask colour transparent.

#include "platform/forms/Control.h"
#include "platform/forms/StdPicture.h"

#include <QHash>
#include <QIcon>

#include <vector>

namespace forms {

struct ListImage {
    QString Key;
    Picture picture;
    QString Tag;
    int32_t Index = 0;   // 1-based
};

class ImageList final : public Control {
public:
    using Control::Control;

    int32_t MaskColor = 0xC0C0C0;
    bool UseMaskColor = true;
    int32_t ImageWidth = 0;    // pixels; 0 until the first image is added
    int32_t ImageHeight = 0;

    // index 0 or past the end appends; returns the 1-based index.
    int32_t Add(int32_t index, const QString& key, const Picture& picture);
    void Remove(const QString& key);
    void Remove(int32_t index);
    void Clear();
    int32_t Count() const { return int32_t(m_images.size()); }
    const ListImage& Item(const QString& key) const;
    const ListImage& Item(int32_t index) const;
    bool exists(const QString& key) const;
    // The first image with the second drawn over it (its mask colour transparent).
    Picture Overlay(const QString& key1, const QString& key2) const;
    // The image as an icon for item views (mask colour transparent when
    // UseMaskColor); cached per picture, so thousands of items share one.
    QIcon icon(const ListImage& image) const;

protected:
    QWidget* createWidget(QWidget*) override { return nullptr; }
    void resetState() override;

private:
    void renumber();
    const ListImage* find(const QString& key) const;
    std::vector<ListImage> m_images;
    // Key -> position, rebuilt after a change (lookups stay O(1) for big trees).
    mutable QHash<QString, size_t> m_keyIndex;
    mutable bool m_indexValid = false;
    struct CachedIcon {
        Picture picture;   // keeps the address the cache is keyed by alive
        int32_t mask = 0;
        QIcon icon;
    };
    mutable QHash<const StdPicture*, CachedIcon> m_icons;
};

}  // namespace forms
